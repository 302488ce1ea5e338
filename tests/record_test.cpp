// SPDX-FileCopyrightText: 2026 The Trebalune developers
// SPDX-License-Identifier: GPL-3.0-or-later
// record_test.cpp: "record.txt" as the game reads, rewrites and keeps it.
#include "game_state.h"
#include "record_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>

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

GameState startedGame() {
    GameState game;
    game.setPalette();
    game.loadRecord();
    return game;
}

// Clicks on the cells given, tally included, and what the game said on standard error; the
// game starts with the jump from 11 to 25, and 32 to 18 can follow.
std::string play(GameState& game, std::initializer_list<std::int16_t> cells = {11, 25}) {
    ::testing::internal::CaptureStderr();
    for (const std::int16_t cell : cells) {
        game.clickCell(cell);
        game.runTally();
    }
    return ::testing::internal::GetCapturedStderr();
}

} // namespace

// What "record.txt" held when the game asked for its new record to reach the disk, and what that
// fails with (0 for nothing), as on a full disk.
std::string atSync = "no sync";
int syncError = 0;
extern "C" int fsync(int fd) {
    atSync = readFile("record.txt");
    errno = syncError;
    return syncError != 0 ? -1 : reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"))(fd);
}

// The fuzz target (tests/fuzz) reads every form of the first field; here, what only the file shows:
// of its first 256 bytes, read whole, a field that ends there counts, one cut off there does not.
TEST_F(RecordFile, OnlyTheFirstBytesAreReadAndAnUnreadableFileCountsAsThirtyTwo) {
    const std::string pad(253, ' ');
    const std::pair<std::string, int> files[] = {{pad + " 12", 12}, {pad + "  12", 32}};
    for (const auto& [bytes, expected] : files) {
        writeFile("record.txt", bytes);
        const GameState game = startedGame();
        EXPECT_EQ(game.record, expected) << bytes.size() << " bytes";
    }
    ::mkfifo("record.txt.pipe", 0600);
    fs::rename("record.txt.pipe", "record.txt");
    EXPECT_EQ(startedGame().record, 32); // a pipe opened for a blocking read would hang here
}

// On a full disk the record in play goes on, each failure is told on standard error, and nothing
// is left behind; once there is room again, the next record is kept.
TEST_F(RecordFile, ASaveReachesTheDiskBeforeReplacingTheOldAndAFullDiskKeepsItWhole) {
    writeFile("record.txt", "40,old\r\nmore\r\n");
    GameState game = startedGame();
    syncError = ENOSPC;
    const std::string full = "Trebalune : impossible d'enregistrer le record dans « record.txt » : "
                             "plus de place sur le disque\n";
    EXPECT_EQ(play(game), full + full) << "32 at the pick, 31 at the jump";
    EXPECT_EQ(game.recordText, "31");
    EXPECT_EQ(readFile("record.txt"), "40,old\r\nmore\r\n");
    EXPECT_FALSE(fs::exists("record.txt.tmp"));
    syncError = 0;
    EXPECT_EQ(play(game, {32, 18}), "");
    EXPECT_EQ(atSync, "40,old\r\nmore\r\n");
    EXPECT_EQ(readFile("record.txt"), "30\r\n");
}

// A save waits for the lock and clears a temporary file a killed game left.
TEST_F(RecordFile, GamesSharingAFolderTakeTurnsAndKeepTheBestRecord) {
    GameState game = startedGame(); // with no record yet, at 32
    writeFile("record.txt", "9\r\n");
    writeFile("record.txt.tmp", "left by a killed game");
    const int otherGame = ::open("record.txt.lock", O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(::flock(otherGame, LOCK_SH), 0);
    std::thread saving([] { EXPECT_TRUE(saveRecord(5).ok); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(readFile("record.txt"), "9\r\n") << "saved while another game held the lock";
    ::close(otherGame);
    saving.join();
    EXPECT_EQ(readFile("record.txt"), "5\r\n");
    EXPECT_FALSE(fs::exists("record.txt.tmp"));
    EXPECT_EQ(play(game), "");
    EXPECT_EQ(game.recordText, "5");
}

// In a folder others can write to, a lock or temporary name someone planted is left alone.
TEST_F(RecordFile, NoOtherFileIsEverOverwrittenOrFollowed) {
    writeFile("record.txt", "mes notes\n");
    writeFile("record.txt.illisible", "older notes");
    GameState game = startedGame();
    EXPECT_EQ(play(game), "Trebalune : « record.txt » ne contient pas de record ; il est "
                          "gardé sous le nom « record.txt.illisible-2 »\n");
    EXPECT_EQ(readFile("record.txt.illisible-2"), "mes notes\n");
    writeFile("record.txt", ""); // an empty one is simply written
    EXPECT_EQ(saveRecord(30).setAside, "");

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
}
