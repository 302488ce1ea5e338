// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// board_model.cpp: the starting cell table and the palette.
#include "game_state.h"

namespace {

// The board as it is first shown: index, left, top, width, height (twips), shown, colour.
// Cells 1..49 are the 7 x 7 grid row by row; the 33 holes of the cross are 615 twips square
// on a 600-twip pitch, so neighbours overlap by 15. The 16 hidden corner cells sit where
// they always have, which is not quite on that grid: they never take part in a jump.
// Cell 0 lies outside the grid and stays empty for good (see findMiddleCell).
constexpr std::array<BoardCell, cellCount> startingPlateau{{
    {0, 5400, 0, 495, 495, false, emptyOrange},
    {1, 960, 720, 495, 495, false, offBoardColour},
    {2, 1440, 720, 495, 495, false, offBoardColour},
    {3, 2040, 600, 615, 615, true, pegBlue},
    {4, 2640, 600, 615, 615, true, pegBlue},
    {5, 3240, 600, 615, 615, true, pegBlue},
    {6, 3960, 720, 495, 495, false, offBoardColour},
    {7, 4440, 720, 495, 495, false, offBoardColour},
    {8, 960, 1200, 495, 495, false, offBoardColour},
    {9, 1440, 1200, 495, 495, false, offBoardColour},
    {10, 2040, 1200, 615, 615, true, pegBlue},
    {11, 2640, 1200, 615, 615, true, pegBlue},
    {12, 3240, 1200, 615, 615, true, pegBlue},
    {13, 3960, 1200, 495, 495, false, offBoardColour},
    {14, 4440, 1200, 495, 495, false, offBoardColour},
    {15, 840, 1800, 615, 615, true, pegBlue},
    {16, 1440, 1800, 615, 615, true, pegBlue},
    {17, 2040, 1800, 615, 615, true, pegBlue},
    {18, 2640, 1800, 615, 615, true, pegBlue},
    {19, 3240, 1800, 615, 615, true, pegBlue},
    {20, 3840, 1800, 615, 615, true, pegBlue},
    {21, 4440, 1800, 615, 615, true, pegBlue},
    {22, 840, 2400, 615, 615, true, pegBlue},
    {23, 1440, 2400, 615, 615, true, pegBlue},
    {24, 2040, 2400, 615, 615, true, pegBlue},
    {25, 2640, 2400, 615, 615, true, emptyOrange},
    {26, 3240, 2400, 615, 615, true, pegBlue},
    {27, 3840, 2400, 615, 615, true, pegBlue},
    {28, 4440, 2400, 615, 615, true, pegBlue},
    {29, 840, 3000, 615, 615, true, pegBlue},
    {30, 1440, 3000, 615, 615, true, pegBlue},
    {31, 2040, 3000, 615, 615, true, pegBlue},
    {32, 2640, 3000, 615, 615, true, pegBlue},
    {33, 3240, 3000, 615, 615, true, pegBlue},
    {34, 3840, 3000, 615, 615, true, pegBlue},
    {35, 4440, 3000, 615, 615, true, pegBlue},
    {36, 960, 3720, 495, 495, false, offBoardColour},
    {37, 1440, 3720, 495, 495, false, offBoardColour},
    {38, 2040, 3600, 615, 615, true, pegBlue},
    {39, 2640, 3600, 615, 615, true, pegBlue},
    {40, 3240, 3600, 615, 615, true, pegBlue},
    {41, 3960, 3720, 495, 495, false, offBoardColour},
    {42, 4440, 3720, 495, 495, false, offBoardColour},
    {43, 960, 4200, 495, 495, false, offBoardColour},
    {44, 1440, 4200, 495, 495, false, offBoardColour},
    {45, 2040, 4200, 615, 615, true, pegBlue},
    {46, 2640, 4200, 615, 615, true, pegBlue},
    {47, 3240, 4200, 615, 615, true, pegBlue},
    {48, 3960, 4200, 495, 495, false, offBoardColour},
    {49, 4440, 4200, 495, 495, false, offBoardColour},
}};

} // namespace

GameState::GameState() : plateau(startingPlateau) {}

void GameState::setPalette() {
    palette.selectedColour = selectedMagenta;
    palette.pegColour = pegBlue;
    palette.emptyColour = emptyOrange;
}
