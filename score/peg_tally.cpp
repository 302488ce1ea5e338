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
        record = pegs;
        const SaveResult saved = saveRecord(record);
        // The game goes on with the new record shown; the old file stays as it was.
        if (!saved.ok) {
            std::fprintf(stderr,
                         "Trebalune : impossible d'enregistrer le record dans « %s » : %s\n",
                         recordFileName, saved.reason.c_str());
        }
        recordText = decimalText(record);
    }
}
