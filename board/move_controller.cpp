// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// move_controller.cpp: what a click on a hole and the reset button do to the board.
#include "game_state.h"

#include <cstdlib>

MoveOutcome GameState::clickCell(std::int16_t index) {
    const Colour clicked = colourOf(index);

    if (!pegSelected) {
        if (clicked == palette.emptyColour) {
            return MoveOutcome::Nothing;
        }
        sourceCell = index;
        setColour(index, palette.selectedColour);
        pegSelected = !pegSelected;
        return MoveOutcome::Selected;
    }

    targetCell = index;
    if (clicked == palette.pegColour) {
        // Another peg: the selection stays; the player puts this one back first.
        return MoveOutcome::Nothing;
    }
    if (clicked == palette.selectedColour) {
        setColour(index, palette.pegColour);
        pegSelected = !pegSelected;
        return MoveOutcome::Deselected;
    }

    const int distance = std::abs(sourceCell - targetCell);
    if (distance != 2 && distance != 14) {
        return MoveOutcome::Nothing;
    }
    findMiddleCell();
    if (colourOf(middleCell) == palette.emptyColour) {
        // Nothing to jump, or middleCell is the always-empty cell 0 for a move off the cross.
        // The peg stays selected so the player can try another hole at once.
        return MoveOutcome::Nothing;
    }
    setColour(middleCell, palette.emptyColour);
    setColour(sourceCell, palette.emptyColour);
    setColour(targetCell, palette.pegColour);
    pegSelected = !pegSelected;
    return MoveOutcome::Jumped;
}

// Cells 1..47 are rewritten in one sweep, so the hidden corner cells among them turn to
// pegs too (never seen, and counted away by the tally); 0, 48 and 49 keep their colours.
void GameState::resetBoard() {
    constexpr std::int16_t centre = 25;
    for (std::int16_t i = 1; i <= 47; ++i) {
        setColour(i, i == centre ? palette.emptyColour : palette.pegColour);
    }
    pegSelected = false;
    pegCountText = "32";
}
