// The records file: defaults, the range rules on reading, damaged contents, the written form
// and writes that cannot happen; and the two record displays.
#include "game_fixture.h"

#include <cstdio>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "game_state.h"
#include "records_file.h"
#include "stakko.h"

namespace {

using RecordsTest = GameTest;

bool exists(const char *path) {
    struct stat info;
    return stat(path, &info) == 0;
}

int folderEntries() {
    int count = 0;
    DIR *folder = opendir(".");
    while (dirent *entry = readdir(folder)) {
        std::string name = entry->d_name;
        count += name != "." && name != "..";
    }
    closedir(folder);
    return count;
}

struct Records {
    int height, width, score;
    float speed;
};

void setRecords(const Records &values) {
    panelHeight = values.height;
    panelWidth = values.width;
    highScore = values.score;
    highSpeed = values.speed;
}

void expectRecords(const Records &expected, const std::string &what) {
    EXPECT_EQ(panelHeight, expected.height) << what;
    EXPECT_EQ(panelWidth, expected.width) << what;
    EXPECT_EQ(highScore, expected.score) << what;
    EXPECT_FLOAT_EQ(highSpeed, expected.speed) << what;
}

TEST_F(RecordsTest, WithoutAFileTheDefaultsApplyAndNoFileIsCreated) {
    setRecords({555, 444, 33, 2.5f});
    readCFGFile();
    expectRecords({792, 461, 0, 9999.0f}, "no file");
    EXPECT_FALSE(exists(recordsFileName));
    EXPECT_TRUE(fake::ui.log.empty());
}

TEST_F(RecordsTest, AFolderInPlaceOfTheFileReadsAsNoFile) {
    ASSERT_EQ(mkdir(recordsFileName, 0700), 0);
    setRecords({0, 0, 33, 2.5f});
    readCFGFile();
    expectRecords({792, 461, 0, 9999.0f}, "a folder");
}

TEST_F(RecordsTest, ReadingBringsEveryFieldIntoRange) {
    const struct {
        const char *contents;
        Records before, after;
    } cases[] = {
        {"50\n5000\n-3\n-1.5\n", {555, 444, 33, 2.5f}, {100, 3000, 0, 9999.0f}},
        {"99\n3001\n10000\n10000.5\n", {555, 444, 33, 2.5f}, {100, 3000, 9999, 9999.0f}},
        {"100\n3000\n0\n0.0\n", {555, 444, 33, 2.5f}, {100, 3000, 0, 0.0f}},
        {"3000\n100\n9999\n9999.0\n", {555, 444, 33, 2.5f}, {3000, 100, 9999, 9999.0f}},
        // An empty file keeps the values from before the read, brought into range.
        {"", {0, 0, 0, 9999.0f}, {100, 100, 0, 9999.0f}},
        {"", {555, 4000, 12, 2.5f}, {555, 3000, 12, 2.5f}},
        {"800\n500\n", {555, 444, 33, 2.5f}, {800, 500, 33, 2.5f}},
        {"abc\n600\n7\n1.0\n", {555, 444, 33, 2.5f}, {555, 444, 33, 2.5f}},
        {"640\n380\nlots\n1.5\n", {555, 444, 33, 2.5f}, {640, 380, 33, 2.5f}},
        {"700\r\n400\r\n25\r\n3.5\r\n", {555, 444, 33, 2.5f}, {700, 400, 25, 3.5f}},
        {"700\n400\n25\n3.5\n", {555, 444, 33, 2.5f}, {700, 400, 25, 3.5f}},
        {"700 400\n\n25   3.5", {555, 444, 33, 2.5f}, {700, 400, 25, 3.5f}},
        // A speed that is no number at all is out of range too.
        {"700\n400\n25\nnan\n", {555, 444, 33, 2.5f}, {700, 400, 25, 9999.0f}},
        {"700\n400\n25\n-inf\n", {555, 444, 33, 2.5f}, {700, 400, 25, 9999.0f}},
    };
    for (const auto &test : cases) {
        writeRecordsFile(test.contents);
        setRecords(test.before);
        readCFGFile();
        expectRecords(test.after, std::string("file \"") + test.contents + "\"");
    }
}

TEST_F(RecordsTest, AWriteHoldsFourLinesAsTheValuesStand) {
    setRecords({792, 461, 12000, 3.41875f});
    writeCFGFile();
    EXPECT_EQ(readRecordsFile(), "792\n461\n12000\n3.418750\n");
    readCFGFile();
    EXPECT_EQ(highScore, 9999);

    setRecords({5, 6000, 0, 9999.0f});
    writeCFGFile();
    EXPECT_EQ(readRecordsFile(), "5\n6000\n0\n9999.000000\n");
    EXPECT_TRUE(fake::ui.log.empty());
}

TEST_F(RecordsTest, TheDisplaysShowTheRecordsInTheirFormats) {
    panelHandle = 1;
    const struct {
        int score;
        float speed;
        const char *scoreText, *speedText;
    } cases[] = {
        {1250, 3.41875f, "1250", "3.42"},
        {0, 9999.0f, "0", "9999.00"},
        {9999, 0.0f, "9999", "0.00"},
    };
    for (const auto &test : cases) {
        fake::ui.log.clear();
        highScore = test.score;
        highSpeed = test.speed;
        displayHighScore();
        displayHighSpeed();
        EXPECT_EQ(fake::ui.log, (std::vector<std::string>{
                                    std::string("ResetTextBox(1, 13, ") + test.scoreText + ")",
                                    std::string("ResetTextBox(1, 12, ") + test.speedText + ")"}));
    }
}

TEST_F(RecordsTest, AWriteThatCannotHappenLeavesTheOldFileAndSaysNothing) {
    const std::string old = "640\n380\n700\n5.250000\n";
    writeRecordsFile(old);
    // The new contents are written beside the file first; a folder in that place stops them.
    const std::string sideFile = std::string(recordsFileName) + ".new";
    ASSERT_EQ(mkdir(sideFile.c_str(), 0700), 0);
    setRecords({900, 500, 800, 1.0f});
    writeCFGFile();
    ASSERT_EQ(rmdir(sideFile.c_str()), 0);
    EXPECT_EQ(readRecordsFile(), old);
    EXPECT_TRUE(fake::ui.log.empty());
    // The values in memory stay as set; the next read brings back the file.
    expectRecords({900, 500, 800, 1.0f}, "after the failed write");
    readCFGFile();
    expectRecords({640, 380, 700, 5.25f}, "read after the failed write");
}

TEST_F(RecordsTest, AWriteOverAFolderOfTheSameNameChangesNothing) {
    ASSERT_EQ(mkdir(recordsFileName, 0700), 0);
    setRecords({900, 500, 800, 1.0f});
    writeCFGFile();
    struct stat info;
    ASSERT_EQ(stat(recordsFileName, &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(rmdir(recordsFileName), 0); // still empty
    EXPECT_EQ(folderEntries(), 0) << "a side file was left behind";
    EXPECT_TRUE(fake::ui.log.empty());
}

} // namespace
