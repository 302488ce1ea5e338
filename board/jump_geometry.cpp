// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// jump_geometry.cpp: which peg a two-hole move jumps, if the move stays on the cross.
#include "game_state.h"

namespace {

// Positions in twips of the rows and columns that bound each direction of jump.
constexpr int topOfRow2 = 1200;
constexpr int leftOfColumn2 = 1440;
constexpr int topOfCentreRow = 2400;
constexpr int leftOfCentreColumn = 2640;
constexpr int topOfRow6 = 3600;
constexpr int leftOfColumn6 = 3840;

} // namespace

// The decision rests on where the source hole lies on screen, not on its index: a peg in the
// two left-hand columns of the cross can only jump right, one in the middle band rows 3..5
// may jump both ways, and so on. Together with the +-2/+-14 index arithmetic this keeps every
// jump inside the cross and stops a horizontal jump wrapping into the next grid row.
// middleCell falls back to 0, the cell that is always empty, so the controller's
// "a peg must lie in between" test refuses the move without a separate check.
void GameState::findMiddleCell() {
    const int l = left(sourceCell);
    const int t = top(sourceCell);
    const bool inMiddleRows = t > topOfRow2 && t < topOfRow6;
    const bool inMiddleColumns = l > leftOfColumn2 && l < leftOfColumn6;

    middleCell = 0;
    if (l < leftOfCentreColumn || (l < leftOfColumn6 && inMiddleRows)) {
        if (sourceCell + 2 == targetCell) {
            middleCell = static_cast<std::int16_t>(sourceCell + 1);
        }
    }
    if (l > leftOfCentreColumn || (l > leftOfColumn2 && inMiddleRows)) {
        if (sourceCell - 2 == targetCell) {
            middleCell = static_cast<std::int16_t>(sourceCell - 1);
        }
    }
    if (t > topOfCentreRow || (inMiddleColumns && t > topOfRow2)) {
        if (sourceCell - 14 == targetCell) {
            middleCell = static_cast<std::int16_t>(sourceCell - 7);
        }
    }
    if (t < topOfCentreRow || (inMiddleColumns && t < topOfRow6)) {
        if (sourceCell + 14 == targetCell) {
            middleCell = static_cast<std::int16_t>(sourceCell + 7);
        }
    }
}
