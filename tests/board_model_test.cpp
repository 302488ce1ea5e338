// board_model_test.cpp: the starting cell table, the palette and the grid arithmetic.
#include "test_support.h"

#include <map>

namespace {

bool onCross(int row, int column) {
    return (column >= 3 && column <= 5) || (row >= 3 && row <= 5);
}

} // namespace

TEST(BoardModel, StartingTableHasTheCrossGeometryAndColours) {
    const GameState game;
    // Hidden corner cells keep their own historical positions, off the holes' grid.
    const std::map<int, int> cornerLeft{{1, 960}, {2, 1440}, {6, 3960}, {7, 4440}};
    const std::map<int, int> cornerTop{{1, 720}, {2, 1200}, {6, 3720}, {7, 4200}};

    for (std::int16_t i = 1; i <= 49; ++i) {
        SCOPED_TRACE("cell " + std::to_string(i));
        const BoardCell& cell = game.plateau[i];
        const int row = rowOf(i);
        const int column = columnOf(i);
        EXPECT_EQ(cell.index, i);
        if (onCross(row, column)) {
            EXPECT_TRUE(cell.shown);
            EXPECT_EQ(cell.left, 840 + 600 * (column - 1));
            EXPECT_EQ(cell.top, 600 + 600 * (row - 1));
            EXPECT_EQ(cell.width, 615);
            EXPECT_EQ(cell.height, 615);
            EXPECT_EQ(cell.colour, i == 25 ? emptyOrange : pegBlue);
        } else {
            EXPECT_FALSE(cell.shown);
            EXPECT_EQ(cell.left, cornerLeft.at(column));
            EXPECT_EQ(cell.top, cornerTop.at(row));
            EXPECT_EQ(cell.width, 495);
            EXPECT_EQ(cell.height, 495);
            EXPECT_EQ(cell.colour, offBoardColour);
        }
        EXPECT_EQ(game.left(i), cell.left);
        EXPECT_EQ(game.top(i), cell.top);
    }

    const BoardCell& noJump = game.plateau[0];
    EXPECT_EQ(noJump.index, 0);
    EXPECT_FALSE(noJump.shown);
    EXPECT_EQ(noJump.left, 5400);
    EXPECT_EQ(noJump.top, 0);
    EXPECT_EQ(noJump.width, 495);
    EXPECT_EQ(noJump.height, 495);
    EXPECT_EQ(noJump.colour, emptyOrange);
}

TEST(BoardModel, StartingBoardHas32PegsAroundAnEmptyCentre) {
    const GameState game = readyGame();
    EXPECT_EQ(boardPicture(game), "  ooo  \n"
                                  "  ooo  \n"
                                  "ooooooo\n"
                                  "ooo.ooo\n"
                                  "ooooooo\n"
                                  "  ooo  \n"
                                  "  ooo  \n");
    int pegs = 0;
    int shownEmpty = 0;
    int notEmpty = 0;
    for (std::int16_t i = 1; i <= 49; ++i) {
        pegs += game.colourOf(i) == game.palette.pegColour;
        shownEmpty += game.plateau[i].shown && game.colourOf(i) == game.palette.emptyColour;
        notEmpty += game.colourOf(i) != game.palette.emptyColour;
        EXPECT_NE(game.colourOf(i), game.palette.selectedColour);
    }
    EXPECT_EQ(pegs, 32);
    EXPECT_EQ(shownEmpty, 1);
    EXPECT_EQ(notEmpty, 48) << "32 pegs and the 16 corner cells";
}

TEST(BoardModel, PaletteAndCountersStartAsTheWindowExpects) {
    GameState game;
    EXPECT_EQ(game.palette.selectedColour, 0u);
    EXPECT_EQ(game.palette.pegColour, 0u);
    EXPECT_EQ(game.palette.emptyColour, 0u);
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(game.sourceCell, 0);
    EXPECT_EQ(game.targetCell, 0);
    EXPECT_EQ(game.middleCell, 0);
    EXPECT_EQ(game.cellTally, 0);
    EXPECT_EQ(game.record, 0);
    EXPECT_EQ(game.pegCountText, "32");
    EXPECT_EQ(game.recordText, "32");

    game.setPalette();
    EXPECT_EQ(game.palette.selectedColour, 0x00FF00FFu);
    EXPECT_EQ(game.palette.pegColour, 0x00FF0000u);
    EXPECT_EQ(game.palette.emptyColour, 0x0080C0FFu);
}

TEST(BoardModel, IndicesMapToRowsAndColumns) {
    EXPECT_EQ(rowOf(25), 4);
    EXPECT_EQ(columnOf(25), 4);
    EXPECT_EQ(rowOf(47), 7);
    EXPECT_EQ(columnOf(47), 5);
    EXPECT_EQ(rowOf(15), 3);
    EXPECT_EQ(columnOf(15), 1);
    EXPECT_EQ(rowOf(7), 1);
    EXPECT_EQ(columnOf(7), 7);
    for (std::int16_t i = 1; i <= 49; ++i) {
        EXPECT_EQ(cellIndex(rowOf(i), columnOf(i)), i);
    }
}
