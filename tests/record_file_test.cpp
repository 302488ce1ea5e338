// record_file_test.cpp: reading, writing and keeping the record in "record.txt".
#include "record_file.h"
#include "test_support.h"

#include <csignal>
#include <random>
#include <regex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<std::int16_t> parseWhole(std::string_view text) {
    return parseRecord(text, true);
}

// Files other than record.txt left in the working directory, e.g. temporary files.
std::vector<std::string> strayFiles() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::current_path())) {
        if (entry.path().filename() != recordFileName) {
            names.push_back(entry.path().filename().string());
        }
    }
    return names;
}

} // namespace

class RecordFile : public InTempDir {};

TEST_F(RecordFile, MissingFileFallsBackToThirtyTwo) {
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.record, 32);
    EXPECT_EQ(game.recordText, "32");
    EXPECT_FALSE(fs::exists(recordFileName)) << "loading never creates the file";
}

TEST_F(RecordFile, StoredRecordIsReadAndShown) {
    writeFileBytes(recordFileName, "7\r\n");
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.record, 7);
    EXPECT_EQ(game.recordText, "7");
}

TEST_F(RecordFile, UnreadableFilesFallBackToThirtyTwo) {
    for (const std::string& bad : std::initializer_list<std::string>{
             "", "32768\r\n", "-32769\r\n", "99999999999999999999\r\n", "abc\r\n",
             std::string("\0\0\0", 3), "   \r\n  \r\n"}) {
        writeFileBytes(recordFileName, bad);
        GameState game = readyGame();
        game.recordText = "32";
        game.loadRecord();
        EXPECT_EQ(game.record, 32) << "file holding \"" << bad << "\"";
        EXPECT_EQ(game.recordText, "32") << "file holding \"" << bad << "\"";
    }
}

TEST_F(RecordFile, NonRegularFilesInItsPlaceFallBackWithoutHanging) {
    ASSERT_TRUE(fs::create_directory(recordFileName));
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.record, 32);
    fs::remove(recordFileName);

    ASSERT_EQ(::mkfifo(recordFileName, 0600), 0);
    game.loadRecord(); // a blocking open would wait forever for a writer
    EXPECT_EQ(game.record, 32);
}

TEST_F(RecordFile, OnlyTheStartOfAHugeFileIsRead) {
    writeFileBytes(recordFileName, "9\r\n" + std::string(50 << 20, 'x'));
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.record, 9);

    writeFileBytes(recordFileName, std::string(50 << 20, ' '));
    game.loadRecord();
    EXPECT_EQ(game.record, 32);

    // A number that only starts beyond the bytes read is not looked for.
    writeFileBytes(recordFileName, std::string(recordReadLimit, ' ') + "5\r\n");
    game.loadRecord();
    EXPECT_EQ(game.record, 32);
    // Digits cut off by the bound are not taken as a shorter number.
    writeFileBytes(recordFileName, std::string(recordReadLimit - 1, ' ') + "12\r\n");
    game.loadRecord();
    EXPECT_EQ(game.record, 32);
}

TEST(RecordParsing, WellFormedFieldsAreTakenAsTheyStand) {
    EXPECT_EQ(parseWhole("5\r\n"), 5);
    EXPECT_EQ(parseWhole("17\r\n"), 17);
    EXPECT_EQ(parseWhole("5"), 5);
    EXPECT_EQ(parseWhole("5\n"), 5);
    EXPECT_EQ(parseWhole("5\r"), 5);
    EXPECT_EQ(parseWhole("5,6\r\n"), 5);
    EXPECT_EQ(parseWhole("   5\r\n"), 5);
    EXPECT_EQ(parseWhole("-3\r\n"), -3) << "a negative record is kept as it stands";
    EXPECT_EQ(parseWhole("32767"), 32767);
    EXPECT_EQ(parseWhole("-32768"), -32768);
    EXPECT_EQ(parseWhole("0\r\n"), 0);
    EXPECT_EQ(parseWhole("5\r\nwhatever follows\r\n"), 5);
    EXPECT_EQ(parseWhole("5"), parseRecord("5\r\n", false)) << "the line end completes a cut read";
    EXPECT_EQ(parseRecord("5", false), std::nullopt) << "more digits may follow beyond the cut";
}

TEST(RecordParsing, HandEditedFilesReadAsThePlayerMeantThem) {
    EXPECT_EQ(parseWhole("\t5\r\n"), 5);
    EXPECT_EQ(parseWhole("\r\n\r\n5\r\n"), 5);
    EXPECT_EQ(parseWhole("\n \t\n 5"), 5);
    EXPECT_EQ(parseWhole("\xEF\xBB\xBF"
                         "5\r\n"),
              5);
    EXPECT_EQ(parseWhole("+5\r\n"), 5);
    EXPECT_EQ(parseWhole("007\r\n"), 7);
    EXPECT_EQ(parseWhole("-0\r\n"), 0);
    EXPECT_EQ(parseWhole("5  \r\n"), 5);
    EXPECT_EQ(parseWhole("5\t,9"), 5);
}

TEST(RecordParsing, FieldsThatAreNotOneWholeNumberAreRefused) {
    for (const std::string_view bad : {"",
                                       "   ",
                                       " \r\n\t\n",
                                       "abc",
                                       "5a",
                                       "a5",
                                       "5.5",
                                       "5 5",
                                       "-",
                                       "+",
                                       "--5",
                                       "+-5",
                                       "- 5",
                                       ",5",
                                       "5e2",
                                       "0x10",
                                       "32768",
                                       "-32769",
                                       "100000",
                                       "\xEF\xBB\xBF",
                                       "\xEF\xBB",
                                       "\xEF\xBB"
                                       "5"}) {
        EXPECT_EQ(parseWhole(bad), std::nullopt) << "\"" << bad << "\"";
    }
    EXPECT_EQ(parseWhole(std::string_view("5\0", 2)), std::nullopt);
    EXPECT_EQ(parseWhole(std::string_view("\0"
                                          "5",
                                          2)),
              std::nullopt);
}

TEST_F(RecordFile, SavedRecordIsTheNumberAndCrLfExactly) {
    ASSERT_TRUE(saveRecord(12).ok);
    EXPECT_EQ(readFileBytes(recordFileName), "12\r\n");
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.record, 12);

    writeFileBytes(recordFileName, "12345678,old\r\nmore\r\n");
    ASSERT_TRUE(saveRecord(5).ok);
    EXPECT_EQ(readFileBytes(recordFileName), "5\r\n") << "earlier content replaced";
    ASSERT_TRUE(saveRecord(-4).ok);
    EXPECT_EQ(readFileBytes(recordFileName), "-4\r\n");
    game.loadRecord();
    EXPECT_EQ(game.record, -4);
    EXPECT_TRUE(strayFiles().empty()) << "no temporary file left behind";
}

TEST_F(RecordFile, FailedSaveIsReportedAndLeavesNothingBehind) {
    ASSERT_TRUE(fs::create_directory(recordFileName));
    const SaveResult result = saveRecord(7);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "c'est un répertoire");
    EXPECT_TRUE(fs::is_directory(recordFileName));
    EXPECT_TRUE(strayFiles().empty());
}

// A copy of the game killed while it rewrites the record must leave a whole record behind.
TEST_F(RecordFile, KillingTheGameMidSaveNeverTearsTheRecord) {
    writeFileBytes(recordFileName, "1\r\n");
    const std::regex wholeRecord("(1|7|12345)\r\n");
    const unsigned seed = 7;
    std::mt19937 random(seed);
    std::printf("kill timing seed %u\n", seed);

    for (int round = 0; round < 200; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                if (!saveRecord(i % 2 ? 12345 : 7).ok) {
                    ::_exit(1);
                }
            }
        }
        ::usleep(random() % 3000);
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status))
            << "the saving process failed on its own in round " << round;
        const std::string bytes = readFileBytes(recordFileName);
        ASSERT_TRUE(std::regex_match(bytes, wholeRecord))
            << "round " << round << ": \"" << bytes << "\"";
    }
}

class PegTally : public InTempDir {};

TEST_F(PegTally, SelectingOnTheStartingBoardCountsButSetsNoRecord) {
    GameState game = readyGame();
    game.loadRecord();
    ASSERT_EQ(game.clickCell(11), MoveOutcome::Selected);
    game.runTally();
    EXPECT_EQ(game.cellTally, 48) << "the selected peg and the 16 corner cells count";
    EXPECT_EQ(game.pegCountText, "32");
    EXPECT_EQ(game.record, 32);
    EXPECT_FALSE(fs::exists(recordFileName));
}

TEST_F(PegTally, FirstJumpSetsAndSavesANewRecord) {
    GameState game = readyGame();
    game.loadRecord();
    game.clickCell(11);
    game.runTally();
    ASSERT_EQ(game.clickCell(25), MoveOutcome::Jumped);
    game.runTally();
    EXPECT_EQ(game.pegCountText, "31");
    EXPECT_EQ(game.record, 31);
    EXPECT_EQ(game.recordText, "31");
    EXPECT_EQ(readFileBytes(recordFileName), "31\r\n");
}

TEST_F(PegTally, EqualingTheRecordWritesNothing) {
    writeFileBytes(recordFileName, "31,as left by hand\r\n");
    GameState game = readyGame();
    game.loadRecord();
    game.clickCell(11);
    game.runTally();
    game.clickCell(25);
    game.runTally();
    EXPECT_EQ(game.pegCountText, "31");
    EXPECT_EQ(game.record, 31);
    EXPECT_EQ(game.recordText, "31");
    EXPECT_EQ(readFileBytes(recordFileName), "31,as left by hand\r\n");
}

TEST_F(PegTally, AfterAResetTheCountIsThirtyTwoAgain) {
    GameState game = readyGame();
    game.loadRecord();
    game.clickCell(11);
    game.clickCell(25);
    game.runTally();
    game.resetBoard();
    EXPECT_EQ(game.pegCountText, "32");
    game.clickCell(18);
    game.runTally();
    EXPECT_EQ(game.cellTally, 48)
        << "32 pegs, 14 corner cells turned to pegs, 2 still off the board";
    EXPECT_EQ(game.pegCountText, "32");
    EXPECT_EQ(game.record, 31);
}

TEST_F(PegTally, ARecordAboveThirtyTwoFallsAtTheFirstSelection) {
    writeFileBytes(recordFileName, "40\r\n");
    GameState game = readyGame();
    game.loadRecord();
    EXPECT_EQ(game.recordText, "40");
    game.clickCell(11);
    game.runTally();
    EXPECT_EQ(game.record, 32);
    EXPECT_EQ(game.recordText, "32");
    EXPECT_EQ(readFileBytes(recordFileName), "32\r\n");
}

TEST_F(PegTally, UnwritableRecordKeepsTheGameGoingAndSaysWhyOnce) {
    ASSERT_TRUE(fs::create_directory(recordFileName));
    GameState game = readyGame();
    game.loadRecord();
    game.clickCell(11);
    game.runTally();
    ::testing::internal::CaptureStderr();
    game.clickCell(25);
    game.runTally();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(game.pegCountText, "31");
    EXPECT_EQ(game.record, 31);
    EXPECT_EQ(game.recordText, "31");
    EXPECT_TRUE(fs::is_directory(recordFileName));
    EXPECT_EQ(said, "Trebalune : impossible d'enregistrer le record dans « record.txt » : "
                    "c'est un répertoire\n");
    EXPECT_TRUE(strayFiles().empty());
}
