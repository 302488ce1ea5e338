// rules_test.cpp: the jumps, the moves and the tally, against a small model of the game.
#include "test_support.h"

#include <bitset>
#include <random>

namespace {

// The cross as a player sees it: the middle three rows and the middle three columns.
bool isHole(int i) {
    const int row = (i - 1) / 7, column = (i - 1) % 7;
    return i >= 1 && i <= 49 && ((column >= 2 && column <= 4) || (row >= 2 && row <= 4));
}

// The hole between s and t when they lie two apart in a row or a column of the cross, or 0.
int jumpedHole(int s, int t) {
    const int rows = std::abs((t - 1) / 7 - (s - 1) / 7),
              columns = std::abs((t - 1) % 7 - (s - 1) % 7);
    const bool inLine = rows + columns == 2 && rows * columns == 0;
    return isHole(s) && isHole(t) && inLine && isHole((s + t) / 2) ? (s + t) / 2 : 0;
}

} // namespace

TEST(Rules, JumpsFromEveryHoleAreExactlyThoseAlongTheCross) {
    for (std::int16_t source = 1; source <= 49; ++source) {
        for (std::int16_t target = 0; target <= 49 && isHole(source); ++target) {
            GameState game = readyGame();
            game.sourceCell = source;
            game.targetCell = target;
            game.middleCell = 33; // left from an earlier move: must not survive
            game.findMiddleCell();
            EXPECT_EQ(game.middleCell, jumpedHole(source, target)) << source << " -> " << target;
        }
    }
}

class RandomPlay : public InTempDir {};

// Games of random clicks on the holes, aimed two holes from the held peg often enough to go
// deep, with a few resets. After every event all 50 cells, the counters and the record are what
// the model says, and every game starts from the record the earlier ones left in the file.
TEST_F(RandomPlay, EveryCellCounterAndRecordFollowsTheModelMoveByMove) {
    const unsigned seed =
        std::getenv("TREBALUNE_SEED") ? std::stoul(std::getenv("TREBALUNE_SEED")) : 7;
    std::printf("seed %u (TREBALUNE_SEED replays another)\n", seed);
    std::mt19937 random(seed);
    int best = 32;
    for (int round = 0; round < 1500 && !HasFailure(); ++round) {
        GameState game = readyGame();
        game.loadRecord();
        std::bitset<50> peg, start;
        for (int i = 1; i <= 49; ++i) {
            start[i] = isHole(i) && i != 25;
        }
        peg = start;
        int held = 0;
        bool wasReset = false;
        for (int event = 0; event < 300 && !HasFailure(); ++event) {
            const unsigned roll = random() % 1000;
            int cell = 1 + static_cast<int>(random() % 49);
            const int aim = held + std::array{2, -2, 14, -14}[random() % 4];
            if (held && roll < 850) {
                cell = roll < 800 && isHole(aim) ? aim : held;
            }
            while (!held && roll >= 100 && !(isHole(cell) && peg[cell])) {
                cell = 1 + static_cast<int>(random() % 49); // mostly pick up a peg
            }
            const int middle = held ? jumpedHole(held, cell) : 0;
            MoveOutcome expected = MoveOutcome::Nothing;
            if (roll < 3) {
                game.resetBoard();
                peg = start;
                held = 0;
                wasReset = true;
            } else if (isHole(cell)) { // the window hands over shown holes only
                if (!held && peg[cell]) {
                    held = cell;
                    expected = MoveOutcome::Selected;
                } else if (held == cell) {
                    held = 0;
                    expected = MoveOutcome::Deselected;
                } else if (held && !peg[cell] && middle && peg[middle]) {
                    peg[held] = peg[middle] = false;
                    peg[cell] = true;
                    held = 0;
                    expected = MoveOutcome::Jumped;
                }
                ASSERT_EQ(game.clickCell(static_cast<std::int16_t>(cell)), expected)
                    << round << " " << event;
            }
            if (expected == MoveOutcome::Selected || expected == MoveOutcome::Jumped) {
                game.runTally();
                best = std::min(best, static_cast<int>(peg.count()));
            }
            for (std::int16_t i = 0; i < cellCount; ++i) {
                const Colour hidden = wasReset && i <= 47 ? pegBlue : offBoardColour;
                const Colour shown = i == held ? selectedMagenta : peg[i] ? pegBlue : emptyOrange;
                ASSERT_EQ(game.colourOf(i), i == 0 ? emptyOrange : isHole(i) ? shown : hidden) << i;
            }
            ASSERT_EQ(game.pegSelected, held != 0);
            ASSERT_EQ(held ? game.sourceCell : 0, held);
            ASSERT_EQ(game.pegCountText, std::to_string(peg.count()));
            ASSERT_EQ(game.recordText, std::to_string(best));
            ASSERT_EQ(game.record, best);
        }
    }
    EXPECT_LT(best, 20) << "the random games should get well into the board";
    EXPECT_EQ(readFile("record.txt"), std::to_string(best) + "\r\n");
}
