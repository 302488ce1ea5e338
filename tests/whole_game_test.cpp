// whole_game_test.cpp: a full solved game, played with clicks from the standard start.
#include "record_file.h"
#include "test_support.h"

#include <utility>

class WholeGame : public InTempDir {};

TEST_F(WholeGame, KnownSolutionLeavesOnePegInTheCentreAndSetsRecordOne) {
    // 31 jumps, each written as (peg clicked, hole clicked).
    const std::pair<std::int16_t, std::int16_t> solution[] = {
        {11, 25}, {16, 18}, {3, 17},  {5, 3},   {18, 16}, {15, 17}, {19, 5},  {21, 19},
        {24, 10}, {3, 17},  {22, 24}, {24, 10}, {26, 24}, {28, 26}, {26, 12}, {5, 19},
        {31, 17}, {10, 24}, {29, 31}, {32, 30}, {40, 26}, {35, 33}, {45, 31}, {24, 38},
        {47, 45}, {45, 31}, {30, 32}, {32, 34}, {19, 33}, {34, 32}, {39, 25}};

    GameState game = readyGame();
    game.loadRecord();
    int pegs = 32;
    for (const auto& [peg, hole] : solution) {
        ASSERT_EQ(game.clickCell(peg), MoveOutcome::Selected) << peg;
        game.runTally();
        ASSERT_EQ(game.clickCell(hole), MoveOutcome::Jumped) << peg << " -> " << hole;
        game.runTally();
        --pegs;
        ASSERT_EQ(game.pegCountText, std::to_string(pegs));
        ASSERT_EQ(game.recordText, std::to_string(pegs));
    }

    EXPECT_EQ(boardPicture(game), "  ...  \n"
                                  "  ...  \n"
                                  ".......\n"
                                  "...o...\n"
                                  ".......\n"
                                  "  ...  \n"
                                  "  ...  \n");
    EXPECT_EQ(game.pegCountText, "1");
    EXPECT_EQ(game.record, 1);
    EXPECT_EQ(game.recordText, "1");
    EXPECT_EQ(readFileBytes(recordFileName), "1\r\n");
}
