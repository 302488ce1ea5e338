// full_disk_test.cpp: a record that cannot be saved for lack of space keeps the old one whole.
#include "record_file.h"
#include "test_support.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace fs = std::filesystem;

class FullDisk : public InTempDir {
protected:
    void SetUp() override {
        InTempDir::SetUp();
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root to mount a small tmpfs; skipped";
        }
        fs::create_directory("disk");
        if (::mount("tmpfs", "disk", "tmpfs", 0, "size=16k") != 0) {
            GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); skipped";
        }
        mounted = true;
        fs::current_path("disk");
    }
    void TearDown() override {
        if (mounted) {
            fs::current_path(directory);
            ::umount2("disk", MNT_DETACH);
        }
        InTempDir::TearDown();
    }
    // Writes a filler file until the disk is full.
    static void fillTheDisk() {
        std::FILE* filler = std::fopen("filler", "wb");
        ASSERT_NE(filler, nullptr);
        std::setvbuf(filler, nullptr, _IONBF, 0);
        const std::string block(512, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
        }
        std::fclose(filler);
    }
    bool mounted = false;
};

TEST_F(FullDisk, NewRecordStaysInPlayAndTheOldFileStaysWhole) {
    ASSERT_TRUE(saveRecord(40).ok);
    GameState game = readyGame();
    game.loadRecord();
    ASSERT_EQ(game.record, 40);
    fillTheDisk();

    ::testing::internal::CaptureStderr();
    game.clickCell(11);
    game.runTally();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(game.record, 32);
    EXPECT_EQ(game.recordText, "32");
    EXPECT_EQ(readFileBytes(recordFileName), "40\r\n");
    EXPECT_EQ(said, "Trebalune : impossible d'enregistrer le record dans « record.txt » : "
                    "plus de place sur le disque\n");

    // Once there is room again, the next record is saved as usual.
    fs::remove("filler");
    game.clickCell(25);
    game.runTally();
    EXPECT_EQ(readFileBytes(recordFileName), "31\r\n");
    for (const auto& entry : fs::directory_iterator(".")) {
        EXPECT_EQ(entry.path().filename(), recordFileName) << "left behind";
    }
}
