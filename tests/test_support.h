// test_support.h: shared helpers for the game's tests.
#pragma once

#include "game_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// Whether grid cell `index` is one of the 33 holes of the cross, from its row and column.
inline bool isHole(int index) {
    if (index < 1 || index > 49) {
        return false;
    }
    const int row = rowOf(static_cast<std::int16_t>(index));
    const int column = columnOf(static_cast<std::int16_t>(index));
    return (column >= 3 && column <= 5) || (row >= 3 && row <= 5);
}

// The hole jumped by a move from `source` to `target`, worked out from rows and columns
// (three holes in a line), independently of the game's screen-position rules; 0 if none.
inline int expectedMiddle(int source, int target) {
    if (!isHole(source) || !isHole(target)) {
        return 0;
    }
    const auto s = static_cast<std::int16_t>(source);
    const auto t = static_cast<std::int16_t>(target);
    const int rowGap = std::abs(rowOf(s) - rowOf(t));
    const int columnGap = std::abs(columnOf(s) - columnOf(t));
    const bool inLine = (rowGap == 0 && columnGap == 2) || (rowGap == 2 && columnGap == 0);
    const int middle = (source + target) / 2;
    return inLine && isHole(middle) ? middle : 0;
}

// A game ready for clicks, as the window has it after start-up (before the record is read).
inline GameState readyGame() {
    GameState game;
    game.setPalette();
    return game;
}

// The 7 x 7 grid as text, one row per line: 'o' a peg, '.' an empty hole, '*' the selected peg,
// ' ' a hidden corner cell still off the board, '#' a hidden cell holding a peg (after a reset),
// '?' any other colour.
inline std::string boardPicture(const GameState& game) {
    std::string picture;
    for (int row = 1; row <= 7; ++row) {
        for (int column = 1; column <= 7; ++column) {
            const std::int16_t i = cellIndex(row, column);
            const Colour c = game.colourOf(i);
            const bool shown = game.plateau[i].shown;
            char mark = '?';
            if (c == pegBlue) {
                mark = shown ? 'o' : '#';
            } else if (c == emptyOrange && shown) {
                mark = '.';
            } else if (c == selectedMagenta && shown) {
                mark = '*';
            } else if (c == offBoardColour && !shown) {
                mark = ' ';
            }
            picture += mark;
        }
        picture += '\n';
    }
    return picture;
}

inline std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Runs each test in a fresh empty working directory, so "record.txt" is always the test's own.
class InTempDir : public ::testing::Test {
protected:
    void SetUp() override {
        previous = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "trebalune-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        directory = pattern;
        std::filesystem::current_path(directory);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::error_code ignored;
        std::filesystem::permissions(directory, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(directory, ignored);
    }
    std::filesystem::path previous;
    std::filesystem::path directory;
};
