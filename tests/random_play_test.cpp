// random_play_test.cpp: long random games checked move by move against a tiny model.
#include "record_file.h"
#include "test_support.h"

#include <bitset>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

// The board as the player sees it: which holes hold a peg, and which peg is picked up.
// It knows nothing of colours, screen positions or the no-jump cell.
struct Model {
    std::bitset<50> peg;
    int selected = 0;

    Model() { reset(); }

    void reset() {
        peg.reset();
        for (int i = 1; i <= 49; ++i) {
            peg[i] = isHole(i) && i != 25;
        }
        selected = 0;
    }

    MoveOutcome click(int i) {
        if (selected == 0) {
            if (!peg[i]) {
                return MoveOutcome::Nothing;
            }
            selected = i;
            return MoveOutcome::Selected;
        }
        if (i == selected) {
            selected = 0;
            return MoveOutcome::Deselected;
        }
        if (peg[i]) {
            return MoveOutcome::Nothing;
        }
        const int middle = expectedMiddle(selected, i);
        if (middle == 0 || !peg[middle]) {
            return MoveOutcome::Nothing;
        }
        peg[selected] = false;
        peg[middle] = false;
        peg[i] = true;
        selected = 0;
        return MoveOutcome::Jumped;
    }
};

std::vector<std::int16_t> shownCells() {
    std::vector<std::int16_t> cells;
    for (std::int16_t i = 1; i <= 49; ++i) {
        if (isHole(i)) {
            cells.push_back(i);
        }
    }
    return cells;
}

// The colour rules the game keeps at every moment, whatever was clicked.
void expectBoardInvariants(const GameState& game) {
    int selectedCells = 0;
    for (std::int16_t i = 1; i <= 49; ++i) {
        const Colour c = game.colourOf(i);
        if (c == selectedMagenta) {
            ++selectedCells;
            EXPECT_EQ(i, game.sourceCell);
        }
        if (game.plateau[i].shown) {
            EXPECT_TRUE(c == pegBlue || c == emptyOrange || c == selectedMagenta) << i;
        } else {
            EXPECT_TRUE(c == pegBlue || c == offBoardColour) << i;
        }
    }
    EXPECT_EQ(selectedCells, game.pegSelected ? 1 : 0);
    EXPECT_EQ(game.colourOf(0), emptyOrange);
}

unsigned seedFromEnvironment() {
    const char* text = std::getenv("TREBALUNE_SEED");
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 20261206u;
}

} // namespace

class RandomPlay : public InTempDir {};

TEST_F(RandomPlay, ThousandsOfRandomClickSequencesAgreeWithTheModel) {
    const unsigned seed = seedFromEnvironment();
    std::printf("random play seed %u (set TREBALUNE_SEED to replay)\n", seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::vector<std::int16_t> cells = shownCells();
    const std::pair<int, int> reach[] = {{0, 2}, {0, -2}, {2, 0}, {-2, 0}};

    int bestEver = startingPegs;
    for (int sequence = 0; sequence < 2000 && !HasFailure(); ++sequence) {
        GameState game = readyGame();
        game.loadRecord();
        ASSERT_EQ(game.record, bestEver);
        Model model;
        std::string expectedCount = "32";

        for (int event = 0; event < 300 && !HasFailure(); ++event) {
            const unsigned roll = random() % 1000;
            if (roll < 3) {
                game.resetBoard();
                model.reset();
                expectedCount = "32";
            } else {
                std::int16_t cell = cells[random() % cells.size()];
                if (model.selected != 0 && roll >= 700 && roll < 800) {
                    cell = static_cast<std::int16_t>(model.selected); // put it back
                } else if (model.selected != 0 && roll < 700) {
                    // Aim two holes away from the held peg half the time, so games go deep.
                    const auto [dr, dc] = reach[random() % 4];
                    const int row = rowOf(static_cast<std::int16_t>(model.selected)) + dr;
                    const int column = columnOf(static_cast<std::int16_t>(model.selected)) + dc;
                    if (row >= 1 && row <= 7 && column >= 1 && column <= 7 &&
                        isHole(cellIndex(row, column))) {
                        cell = cellIndex(row, column);
                    }
                }
                const MoveOutcome expected = model.click(cell);
                const MoveOutcome outcome = game.clickCell(cell);
                ASSERT_EQ(outcome, expected)
                    << "sequence " << sequence << " event " << event << " cell " << cell << "\n"
                    << boardPicture(game);
                if (outcome == MoveOutcome::Selected || outcome == MoveOutcome::Jumped) {
                    game.runTally();
                    const int pegs = static_cast<int>(model.peg.count());
                    expectedCount = std::to_string(pegs);
                    bestEver = std::min(bestEver, pegs);
                }
            }

            for (std::int16_t i = 1; i <= 49; ++i) {
                if (!isHole(i)) {
                    continue;
                }
                const Colour expectedColour = i == model.selected ? selectedMagenta
                                              : model.peg[i]      ? pegBlue
                                                                  : emptyOrange;
                ASSERT_EQ(game.colourOf(i), expectedColour)
                    << "sequence " << sequence << " event " << event << " cell " << i;
            }
            ASSERT_EQ(game.pegSelected, model.selected != 0);
            ASSERT_EQ(game.pegCountText, expectedCount);
            ASSERT_EQ(game.record, bestEver);
            expectBoardInvariants(game);
        }
    }
    if (bestEver < startingPegs) {
        EXPECT_EQ(readFileBytes(recordFileName), std::to_string(bestEver) + "\r\n");
    }
    EXPECT_LT(bestEver, 20) << "random play should get well into the game";
}
