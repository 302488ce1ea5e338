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

// The decision rests on where the source hole lies on screen, not on its index. A peg may jump
// right from columns 1 to 3, and from columns 4 and 5 in rows 3 to 5, where the cross is seven
// holes wide; left, from columns 5 to 7, and from columns 3 and 4 in rows 3 to 5. So in rows 3
// to 5 a peg in columns 3 to 5 may jump both ways, one in column 1 or 2 only right, one in column
// 6 or 7 only left. Likewise up from rows 5 to 7, and from rows 3 and 4 in columns 3 to 5; down
// from rows 1 to 3, and from rows 4 and 5 in columns 3 to 5. Together with the +-2/+-14 index
// arithmetic this keeps every jump inside the cross and stops a horizontal jump wrapping into the
// next row.
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
