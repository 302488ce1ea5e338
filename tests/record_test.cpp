// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_test.cpp: "record.txt" as the game reads, rewrites and keeps it.
#include "game_state.h"
#include "record_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string readFile(const char* path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

void writeFile(const char* path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Each test runs in a fresh empty working directory, so "record.txt" is always its own.
class RecordFile : public ::testing::Test {
    void SetUp() override {
        std::string name = fs::temp_directory_path() / "trebalune-XXXXXX";
        fs::current_path(::mkdtemp(name.data()));
    }
    void TearDown() override {
        const auto here = fs::current_path();
        fs::current_path("/");
        fs::remove_all(here);
    }
};

GameState readyGame() {
    GameState game;
    game.setPalette();
    return game;
}

// The first jump of a game, tally included, and what the game said on standard error.
std::string firstJump(GameState& game) {
    ::testing::internal::CaptureStderr();
    for (const std::int16_t cell : {11, 25}) {
        game.clickCell(cell);
        game.runTally();
    }
    return ::testing::internal::GetCapturedStderr();
}

// What lies in the working directory besides the record and its lock, in order.
std::string others() {
    std::string names;
    for (const fs::path& name : std::set<fs::path>(fs::directory_iterator("."), {})) {
        const bool ours = name == "./record.txt" || name == "./record.txt.lock";
        names += ours ? "" : name.string().substr(2) + " ";
    }
    return names;
}

} // namespace

// What "record.txt" held when the game asked for its new record to reach the disk.
std::string atSync = "no sync";
extern "C" int fsync(int fd) {
    atSync = readFile("record.txt");
    return reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"))(fd);
}

TEST_F(RecordFile, EachFormReadsAsAPlayerMeansItAndAnythingElseAsThirtyTwo) {
    const std::string pad(253, ' '), zero(1, '\0');
    // clang-format off
    const std::pair<std::string, int> forms[] = {
        {"7\r\n", 7}, {"17", 17}, {"5\n", 5}, {"5\r", 5}, {"5,6\r\n", 5}, {"  5\r\n", 5},
        {"-3\r\n", -3}, {"32767", 32767}, {"-32768", -32768}, {"007", 7}, {"-0", 0}, {"\t5", 5},
        {"\r\n\n5", 5}, {"\xEF\xBB\xBF" "5", 5}, {"+5", 5}, {"5 \t\r\n", 5}, {"5\t,9", 5},
        {"5\r\nnotes", 5}, {"9\r\n" + std::string(1 << 20, 'x'), 9},
        // 256 bytes are read: a field that ends within them counts, one cut off does not.
        {pad + "12\r", 12}, {pad + " 12", 12}, {pad + "  12", 32}, {pad + "   5", 32},
        {"", 32}, {" \r\n\t", 32}, {std::string(1 << 20, ' '), 32}, {"abc", 32}, {"5a", 32},
        {"5.5", 32}, {"5 5", 32}, {"-", 32}, {"--5", 32}, {"- 5", 32}, {",5", 32}, {"0x10", 32},
        {"32768", 32}, {"-32769", 32}, {"99999999999", 32}, {"\xEF\xBB" "5", 32},
        {"5" + zero, 32}, {zero + "5", 32}};
    // clang-format on
    for (const auto& [bytes, expected] : forms) {
        writeFile("record.txt", bytes);
        GameState game = readyGame();
        game.loadRecord();
        EXPECT_EQ(game.record, expected) << '"' << bytes.substr(0, 300) << '"';
        EXPECT_EQ(game.recordText, std::to_string(expected)) << '"' << bytes.substr(0, 300) << '"';
    }
    ::mkfifo("record.txt.pipe", 0600);
    fs::rename("record.txt.pipe", "record.txt");
    GameState game = readyGame();
    game.loadRecord(); // a pipe opened for a blocking read would hang here
    EXPECT_EQ(game.record, 32);
}

// The new record reaches the disk under another name before it takes the record's place.
TEST_F(RecordFile, ASaveWritesTheNumberAndCrLfDurablyBeforeReplacingTheOld) {
    writeFile("record.txt", "40,old\r\nmore\r\n");
    EXPECT_TRUE(saveRecord(5).ok);
    EXPECT_EQ(atSync, "40,old\r\nmore\r\n");
    EXPECT_TRUE(saveRecord(-4).ok);
    EXPECT_EQ(atSync, "5\r\n");
    EXPECT_EQ(readFile("record.txt"), "-4\r\n");
    EXPECT_EQ(others(), "");
}

// Four games in one folder save ever lower records of their own, interleaved, and are killed at
// random moments: the file always holds a whole record that never gets worse, with at most one
// temporary file beside it, which the next save clears.
TEST_F(RecordFile, GamesSharingAFolderOrKilledMidSaveNeverLoseTheBestRecord) {
    std::mt19937 random(7);
    int stored = 32767;
    for (int round = 0; round <= 40; ++round) { // the last round runs to its end
        pid_t games[4];
        for (int game = 0; game < 4; ++game) {
            if ((games[game] = ::fork()) == 0) {
                for (int value = 30000 - 700 * round - game; value > 0; value -= 4) {
                    saveRecord(static_cast<std::int16_t>(value));
                }
                ::_exit(0);
            }
        }
        for (int poll = random() % 40;
             poll > 0 || (round == 40 && ::waitpid(-1, nullptr, WNOHANG) != -1); --poll) {
            if (!fs::exists("record.txt")) {
                continue;
            }
            const std::string bytes = readFile("record.txt");
            const int now = std::atoi(bytes.c_str());
            ASSERT_EQ(std::to_string(now) + "\r\n", bytes);
            ASSERT_LE(now, stored);
            stored = now;
        }
        for (const pid_t game : games) {
            ASSERT_GT(game, 0) << "a game could not start"; // and never kill(-1)
            ::kill(game, SIGKILL);
            ::waitpid(game, nullptr, 0);
        }
        ASSERT_TRUE(others() == "" || others() == "record.txt.tmp ") << others();
    }
    EXPECT_EQ(readFile("record.txt"), "1\r\n");
    GameState game = readyGame(); // started before them all, at 32: it shows the better record
    game.record = 32;
    EXPECT_EQ(firstJump(game), "");
    EXPECT_EQ(game.recordText, "1");
    EXPECT_EQ(others(), "");
}

// A record.txt that holds no record is set aside, never overwritten; in a folder others can
// write to, a lock or temporary name someone planted is never followed, written or removed.
TEST_F(RecordFile, NoOtherFileIsEverOverwrittenOrFollowed) {
    writeFile("record.txt", "mes notes\n");
    writeFile("record.txt.illisible", "older notes");
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(firstJump(game), "Trebalune : « record.txt » ne contient pas de record ; il est "
                               "gardé sous le nom « record.txt.illisible-2 »\n");
    EXPECT_EQ(readFile("record.txt.illisible-2"), "mes notes\n");
    EXPECT_EQ(readFile("record.txt.illisible"), "older notes");
    writeFile("record.txt", ""); // an empty one is simply written
    EXPECT_EQ(saveRecord(30).setAside, "");
    EXPECT_EQ(readFile("record.txt"), "30\r\n");

    for (const std::string name : {"record.txt.lock", "record.txt.tmp"}) {
        fs::remove(name);
        fs::create_symlink("record.txt.illisible", name);
        EXPECT_EQ(saveRecord(5).reason, "« " + name + " » est un lien symbolique");
        fs::remove(name);
        writeFile(name.c_str(), "");
        if (::geteuid() == 0 && ::chown(name.c_str(), 65534, 65534) == 0) {
            EXPECT_EQ(saveRecord(5).reason, "« " + name + " » appartient à un autre utilisateur");
        }
        fs::remove(name);
    }
    EXPECT_EQ(readFile("record.txt.illisible"), "older notes");
    EXPECT_EQ(readFile("record.txt"), "30\r\n");
    fs::remove("record.txt"), fs::create_directory("record.txt");
    EXPECT_EQ(saveRecord(5).reason, "c'est un répertoire");
}

// As root, a full 16 KiB file system: the record in play goes on, the file keeps the old one
// whole, the player is told why, and once there is room the next save goes through.
TEST_F(RecordFile, AFullDiskKeepsTheOldRecordWhole) {
    if (::geteuid() != 0 || !fs::create_directory("disk") ||
        ::mount("tmpfs", "disk", "tmpfs", 0, "size=16k") != 0) {
        GTEST_SKIP() << "needs root to mount a small tmpfs";
    }
    fs::current_path("disk");
    writeFile("record.txt", "40\r\n");
    writeFile("filler", std::string(1 << 20, 'x')); // stops where the disk is full
    GameState game = readyGame();
    game.loadRecord();
    const std::string full = "Trebalune : impossible d'enregistrer le record dans « record.txt » : "
                             "plus de place sur le disque\n";
    EXPECT_EQ(firstJump(game), full + full) << "32 at the pick, 31 at the jump";
    EXPECT_EQ(game.recordText, "31");
    EXPECT_EQ(readFile("record.txt"), "40\r\n");
    EXPECT_EQ(others(), "filler ");

    fs::remove("filler");
    EXPECT_TRUE(saveRecord(3).ok);
    EXPECT_EQ(readFile("record.txt"), "3\r\n");
    fs::current_path("..");
    ::umount2("disk", MNT_DETACH);
}
