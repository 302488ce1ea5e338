// jump_geometry_test.cpp: exactly the jumps that stay on the cross find a jumped peg.
#include "test_support.h"

#include <set>
#include <utility>

namespace {

int middleFor(int source, int target) {
    GameState game = readyGame();
    game.sourceCell = static_cast<std::int16_t>(source);
    game.targetCell = static_cast<std::int16_t>(target);
    game.middleCell = 33; // must be overwritten, never left from an earlier move
    game.findMiddleCell();
    return game.middleCell;
}

std::set<int> range(int from, int to) {
    std::set<int> cells;
    for (int i = from; i <= to; ++i) {
        cells.insert(i);
    }
    return cells;
}

std::set<int> unite(std::initializer_list<std::set<int>> parts) {
    std::set<int> all;
    for (const auto& part : parts) {
        all.insert(part.begin(), part.end());
    }
    return all;
}

} // namespace

TEST(JumpGeometry, FromEveryHoleOnlyJumpsAlongTheCrossFindAPeg) {
    int legal = 0;
    for (int source = 1; source <= 49; ++source) {
        if (!isHole(source)) {
            continue;
        }
        for (int target = 0; target <= 49; ++target) {
            const int expected = expectedMiddle(source, target);
            EXPECT_EQ(middleFor(source, target), expected)
                << "source " << source << ", target " << target;
            legal += expected != 0;
        }
    }
    EXPECT_EQ(legal, 76);
}

TEST(JumpGeometry, EachDirectionHasItsNineteenSources) {
    const std::set<int> right =
        unite({{3, 10}, range(15, 19), range(22, 26), range(29, 33), {38, 45}});
    const std::set<int> left =
        unite({{5, 12}, range(17, 21), range(24, 28), range(31, 35), {40, 47}});
    const std::set<int> up =
        unite({{17, 18, 19, 24, 25, 26}, range(29, 35), {38, 39, 40, 45, 46, 47}});
    const std::set<int> down =
        unite({{3, 4, 5, 10, 11, 12}, range(15, 21), {24, 25, 26, 31, 32, 33}});

    const std::pair<int, const std::set<int>*> directions[] = {
        {+2, &right}, {-2, &left}, {-14, &up}, {+14, &down}};
    for (const auto& [step, sources] : directions) {
        EXPECT_EQ(sources->size(), 19u);
        for (int source = 1; source <= 49; ++source) {
            if (!isHole(source)) {
                continue;
            }
            const int middle = middleFor(source, source + step);
            if (sources->count(source)) {
                EXPECT_EQ(middle, source + step / 2) << "source " << source << " step " << step;
            } else {
                EXPECT_EQ(middle, 0) << "source " << source << " step " << step;
            }
        }
    }
}

TEST(JumpGeometry, EdgesOfTheCrossStopTheJump) {
    EXPECT_EQ(middleFor(25, 27), 26);
    EXPECT_EQ(middleFor(25, 23), 24);
    EXPECT_EQ(middleFor(25, 11), 18);
    EXPECT_EQ(middleFor(25, 39), 32);
    EXPECT_EQ(middleFor(19, 21), 20);
    EXPECT_EQ(middleFor(20, 22), 0) << "would wrap from row 3 into row 4";
    EXPECT_EQ(middleFor(16, 14), 0);
    EXPECT_EQ(middleFor(11, 13), 0);
    EXPECT_EQ(middleFor(39, 25), 32);
    EXPECT_EQ(middleFor(39, 41), 0);
    EXPECT_EQ(middleFor(15, 29), 22);
    EXPECT_EQ(middleFor(29, 15), 22);
    EXPECT_EQ(middleFor(15, 1), 0);
    EXPECT_EQ(middleFor(25, 26), 0);
    EXPECT_EQ(middleFor(25, 32), 0);
    EXPECT_EQ(middleFor(25, 25), 0);
}

// A hidden corner cell is never a source in play; called directly, the position rules apply
// to it like to any other cell.
TEST(JumpGeometry, CornerSourcesFollowTheirScreenPosition) {
    EXPECT_EQ(middleFor(1, 3), 2);
    EXPECT_EQ(middleFor(1, 15), 8);
    EXPECT_EQ(middleFor(49, 47), 48);
    EXPECT_EQ(middleFor(49, 35), 42);
    EXPECT_EQ(middleFor(7, 5), 6);
    EXPECT_EQ(middleFor(6, 8), 0) << "right of column 6: no jump to the right, so no wrap";
}
