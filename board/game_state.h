// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// game_state.h: the whole state of a game of Trebalune, held as cell colours.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// A cell's state is its colour: 0x00BBGGRR, red in the low byte.
using Colour = std::uint32_t;

inline constexpr Colour selectedMagenta = 0x00FF00FF;
inline constexpr Colour pegBlue = 0x00FF0000;
inline constexpr Colour emptyOrange = 0x0080C0FF;
// Only ever the starting colour of the hidden corner cells. No rule looks for it, but the tally
// relies on it not being the empty colour: the corner cells count as 16 full cells.
inline constexpr Colour offBoardColour = 0x00C0E0FF;

struct Palette {
    Colour selectedColour = 0;
    Colour pegColour = 0;
    Colour emptyColour = 0;
};

// One entry of the cell table. Geometry is in twips (1/1440 inch) and never changes;
// the colour is the only thing a move writes.
struct BoardCell {
    std::int16_t index;
    std::int16_t left;
    std::int16_t top;
    std::int16_t width;
    std::int16_t height;
    bool shown;
    Colour colour;
};

inline constexpr std::int16_t cellCount = 50;
inline constexpr std::int16_t startingPegs = 32;

enum class MoveOutcome { Nothing, Selected, Deselected, Jumped };

// News of the record file for the player, in French: a few words as a title, then the sentence
// that says which record or file it is about, where it is, and what became of it.
struct RecordNotice {
    std::string summary;
    std::string body;
};

// Cells 1..49 form a 7 x 7 grid in row-major order; rows and columns count from 1.
constexpr std::int16_t cellIndex(int row, int column) {
    return static_cast<std::int16_t>(7 * (row - 1) + column);
}
constexpr int rowOf(std::int16_t index) {
    return (index - 1) / 7 + 1;
}
constexpr int columnOf(std::int16_t index) {
    return (index - 1) % 7 + 1;
}

// The one game of a run. The rules read and write cell colours and nothing else:
// a peg, an empty hole and the selected peg differ only by the palette colour they hold.
class GameState {
public:
    GameState();

    // Stores the three colours the rules compare against; no move may run before it.
    void setPalette();

    Colour colourOf(std::int16_t index) const { return plateau[index].colour; }
    // The only mutation of a cell; the window repaints changed cells afterwards.
    void setColour(std::int16_t index, Colour colour) { plateau[index].colour = colour; }
    std::int16_t left(std::int16_t index) const { return plateau[index].left; }
    std::int16_t top(std::int16_t index) const { return plateau[index].top; }

    // Sets middleCell to the peg jumped by the move sourceCell -> targetCell, or to 0 when
    // that move would leave the cross or wrap into another row.
    void findMiddleCell();
    // A click on shown cell `index`; the outcome tells the caller whether to run the tally.
    MoveOutcome clickCell(std::int16_t index);
    // Sets the 32 pegs up again; the record is not touched.
    void resetBoard();

    // Defined in the score library: the record file and the peg tally.
    void loadRecord();
    void runTally();

    std::array<BoardCell, cellCount> plateau;
    Palette palette;
    bool pegSelected = false;
    std::int16_t sourceCell = 0;
    std::int16_t targetCell = 0;
    std::int16_t middleCell = 0;
    std::int16_t cellTally = 0;
    std::int16_t record = 0;
    std::string pegCountText = "32";
    std::string recordText = "32";
    // Whether the last new record reached "record.txt", and what the player is to be told of
    // the file since the window last looked: the window passes it on and empties it.
    bool recordKept = true;
    std::vector<RecordNotice> recordNotices;
};
