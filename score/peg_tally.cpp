// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// peg_tally.cpp: the pegs-left figure and the record, kept move by move.
#include "game_state.h"
#include "record_file.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// Hidden corner cells are never empty (off-board colour, or pegs after a reset), so the
// count of non-empty cells always includes all 16 of them.
constexpr std::int16_t cornerCells = 16;

// The folder the game was started in, where it keeps its record.
std::filesystem::path gameFolder() {
    std::error_code unknown;
    return std::filesystem::current_path(unknown);
}

std::string quoted(const std::filesystem::path& path) {
    return "« " + path.string() + " »";
}

// Started from the menu, the game works in a folder of its own, or in /sys when that folder
// cannot be made (see the desktop entry). The player knows that folder, not /sys.
std::string whyNotKept(const std::string& reason) {
    if (gameFolder() != "/sys") {
        return " dans " + quoted(gameFolder() / recordFileName) + " : " + reason;
    }
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const std::filesystem::path folder =
        data && *data ? data : std::filesystem::path(home ? home : "") / ".local/share";
    return " : le dossier du jeu " + quoted(folder / "trebalune") + " n'a pas pu être créé";
}

RecordNotice notKept(std::int16_t pegs, const std::string& reason) {
    return {"Record non enregistré",
            "Le record de " + decimalText(pegs) + " pion(s) n'a pas pu être enregistré" +
                whyNotKept(reason) + ". Il sera perdu à la fermeture du jeu."};
}

RecordNotice keptAgain(std::int16_t pegs) {
    return {"Record enregistré", "Le record de " + decimalText(pegs) +
                                     " pion(s) est de nouveau enregistré dans " +
                                     quoted(gameFolder() / recordFileName) + "."};
}

RecordNotice setAside(const std::string& name) {
    return {"Fichier record.txt mis de côté",
            quoted(gameFolder() / recordFileName) + " ne contenait pas de record. Il n'est pas " +
                "effacé : il est maintenant " + quoted(gameFolder() / name) + "."};
}

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
            recordNotices.push_back(setAside(saved.setAside));
        }
        // A save that fails leaves the old file as it was and the game goes on with the new
        // record. One that finds a lower record stored by another game in this folder shows
        // that one: the window always shows the best record the file keeps.
        if (!saved.ok) {
            std::fprintf(stderr,
                         "Trebalune : impossible d'enregistrer le record dans « %s » : %s\n",
                         recordFileName, saved.reason.c_str());
        }
        // Every failure goes to standard error; the player is told when records stop being
        // kept, not at every move, and again when they are kept once more.
        if (saved.ok != recordKept) {
            recordKept = saved.ok;
            recordNotices.push_back(saved.ok ? keptAgain(saved.record)
                                             : notKept(pegs, saved.reason));
        }
        record = saved.record;
        recordText = decimalText(record);
    }
}
