// move_controller_test.cpp: clicks on holes and the reset button.
#include "test_support.h"

TEST(MoveController, ClickingTheEmptyCentreFirstDoesNothing) {
    GameState game = readyGame();
    const std::string before = boardPicture(game);
    EXPECT_EQ(game.clickCell(25), MoveOutcome::Nothing);
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(boardPicture(game), before);
}

TEST(MoveController, ClickingAPegSelectsIt) {
    GameState game = readyGame();
    EXPECT_EQ(game.clickCell(11), MoveOutcome::Selected);
    EXPECT_TRUE(game.pegSelected);
    EXPECT_EQ(game.sourceCell, 11);
    EXPECT_EQ(game.colourOf(11), selectedMagenta);
}

TEST(MoveController, JumpingIntoTheCentreEmptiesSourceAndJumpedHole) {
    GameState game = readyGame();
    game.clickCell(11);
    EXPECT_EQ(game.clickCell(25), MoveOutcome::Jumped);
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(game.targetCell, 25);
    EXPECT_EQ(game.middleCell, 18);
    EXPECT_EQ(boardPicture(game), "  ooo  \n"
                                  "  o.o  \n"
                                  "ooo.ooo\n"
                                  "ooooooo\n"
                                  "ooooooo\n"
                                  "  ooo  \n"
                                  "  ooo  \n");
}

TEST(MoveController, ClickingAnotherPegKeepsTheSelection) {
    GameState game = readyGame();
    game.clickCell(11);
    EXPECT_EQ(game.clickCell(10), MoveOutcome::Nothing);
    EXPECT_TRUE(game.pegSelected);
    EXPECT_EQ(game.sourceCell, 11);
    EXPECT_EQ(game.targetCell, 10) << "the clicked cell is recorded whatever follows";
    EXPECT_EQ(game.colourOf(11), selectedMagenta);
    EXPECT_EQ(game.colourOf(10), pegBlue);
}

TEST(MoveController, ClickingTheSelectedPegPutsItBack) {
    GameState game = readyGame();
    const std::string before = boardPicture(game);
    game.clickCell(11);
    game.clickCell(10);
    EXPECT_EQ(game.clickCell(11), MoveOutcome::Deselected);
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(boardPicture(game), before);
    EXPECT_EQ(game.clickCell(11), MoveOutcome::Selected) << "and it can be selected again";
}

TEST(MoveController, EmptyHoleOutOfReachIsRefusedAndTheSelectionStays) {
    GameState game = readyGame();
    game.clickCell(4);
    EXPECT_EQ(game.clickCell(25), MoveOutcome::Nothing) << "distance 21";
    EXPECT_TRUE(game.pegSelected);
    EXPECT_EQ(game.colourOf(4), selectedMagenta);
    EXPECT_EQ(game.colourOf(25), emptyOrange);
}

TEST(MoveController, JumpOverAnEmptyHoleIsRefused) {
    GameState game = readyGame();
    // Empty 24 and 26 around the empty centre: 23 -> 25 then has nothing to jump over.
    game.setColour(24, emptyOrange);
    game.setColour(26, emptyOrange);
    game.clickCell(23);
    const std::string before = boardPicture(game);
    EXPECT_EQ(game.clickCell(25), MoveOutcome::Nothing);
    EXPECT_EQ(game.middleCell, 24);
    EXPECT_TRUE(game.pegSelected);
    EXPECT_EQ(boardPicture(game), before);
}

TEST(MoveController, JumpThatWouldWrapAcrossARowEndIsRefused) {
    GameState game = readyGame();
    game.setColour(22, emptyOrange);
    game.clickCell(20);
    const std::string before = boardPicture(game);
    EXPECT_EQ(game.clickCell(22), MoveOutcome::Nothing);
    EXPECT_EQ(game.middleCell, 0);
    EXPECT_EQ(game.colourOf(21), pegBlue);
    EXPECT_EQ(boardPicture(game), before);
    EXPECT_EQ(game.colourOf(0), emptyOrange) << "the no-jump cell is never written";
}

TEST(MoveController, ResetWhileHoldingAPegClearsTheSelection) {
    GameState game = readyGame();
    game.clickCell(11);
    game.clickCell(25); // 11 and 18 empty, 25 a peg
    game.clickCell(25); // select the centre
    game.pegCountText = "31";
    game.record = 31;
    game.recordText = "31";
    game.sourceCell = 25;
    game.targetCell = 7;
    game.middleCell = 9;

    game.resetBoard();
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(game.pegCountText, "32");
    EXPECT_EQ(game.colourOf(25), emptyOrange) << "the selected centre is emptied";
    EXPECT_EQ(game.record, 31);
    EXPECT_EQ(game.recordText, "31");
    EXPECT_EQ(game.sourceCell, 25);
    EXPECT_EQ(game.targetCell, 7);
    EXPECT_EQ(game.middleCell, 9);
    EXPECT_EQ(boardPicture(game), "##ooo##\n"
                                  "##ooo##\n"
                                  "ooooooo\n"
                                  "ooo.ooo\n"
                                  "ooooooo\n"
                                  "##ooo##\n"
                                  "##ooo  \n");
}

TEST(MoveController, ResetRewritesCellsOneTo47Only) {
    GameState game = readyGame();
    game.clickCell(32); // a selected peg that is not the centre
    game.setColour(48, 0x00123456);
    game.resetBoard();
    EXPECT_EQ(game.colourOf(32), pegBlue);
    EXPECT_EQ(game.colourOf(0), emptyOrange);
    EXPECT_EQ(game.colourOf(48), 0x00123456u);
    EXPECT_EQ(game.colourOf(49), offBoardColour);
    for (std::int16_t i = 1; i <= 47; ++i) {
        EXPECT_EQ(game.colourOf(i), i == 25 ? emptyOrange : pegBlue) << i;
    }
}

TEST(MoveController, ResetAssignsTheSelectionRatherThanTogglingIt) {
    GameState game = readyGame();
    game.resetBoard();
    EXPECT_FALSE(game.pegSelected);
    game.resetBoard();
    EXPECT_FALSE(game.pegSelected);
    EXPECT_EQ(game.clickCell(25), MoveOutcome::Nothing) << "idle after reset: the centre is empty";
    EXPECT_EQ(game.clickCell(11), MoveOutcome::Selected);
}
