// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// peg_tally.cpp: the pegs-left figure and the record, kept move by move.
#include "game_state.h"
#include "record_file.h"

#include <cstdio>

namespace {
// Hidden corner cells are never empty (off-board colour, or pegs after a reset), so the
// count of non-empty cells always includes all 16 of them.
constexpr std::int16_t cornerCells = 16;
} // namespace

void GameState::runTally() {
    cellTally = 0;
    for (std::int16_t i = 1; i <= 49; ++i) {
        if (colourOf(i) != palette.emptyColour) {
            ++cellTally;
        }
    }
    const auto pegs = static_cast<std::int16_t>(cellTally - cornerCells);
    pegCountText = decimalText(pegs);

    if (pegs < record) {
        const SaveResult saved = saveRecord(pegs);
        if (!saved.setAside.empty()) {
            std::fprintf(stderr,
                         "Trebalune : « %s » ne contient pas de record ; il est gardé sous le nom "
                         "« %s »\n",
                         recordFileName, saved.setAside.c_str());
        }
        // A save that fails leaves the old file as it was and the game goes on with the new
        // record. One that finds a lower record stored by another game in this folder shows
        // that one: the window always shows the best record the file keeps.
        if (!saved.ok) {
            std::fprintf(stderr,
                         "Trebalune : impossible d'enregistrer le record dans « %s » : %s\n",
                         recordFileName, saved.reason.c_str());
        }
        record = saved.record;
        recordText = decimalText(record);
    }
}
