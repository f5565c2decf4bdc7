// The records file: defaults, the range rules on reading, damaged contents, the written form
// and writes that cannot happen.
#include "game_fixture.h"

namespace fs = std::filesystem;
using RecordsTest = GameTest;

// Panel height and width, score record, speed record.
using Records = std::tuple<int, int, int, float>;
static Records records() {
    return {panelHeight, panelWidth, highScore, highSpeed};
}
static void setRecords(const Records &values) {
    std::tie(panelHeight, panelWidth, highScore, highSpeed) = values;
}

static long folderEntries() {
    return std::distance(fs::directory_iterator("."), fs::directory_iterator());
}

TEST_F(RecordsTest, WithoutAFileOrWithAFolderInItsPlaceTheDefaultsApply) {
    for (bool folder : {false, true}) {
        ASSERT_TRUE(!folder || fs::create_directory(recordsFileName));
        setRecords({555, 444, 33, 2.5f});
        readCFGFile();
        EXPECT_EQ(records(), (Records{792, 461, 0, 9999.0f})) << (folder ? "a folder" : "no file");
        EXPECT_EQ(folderEntries(), folder ? 1 : 0) << "a file was created";
    }
    EXPECT_TRUE(fake::ui.log.empty());
}

TEST_F(RecordsTest, ReadingBringsEveryFieldIntoRange) {
    const Records before = {555, 444, 33, 2.5f};
    const std::pair<const char *, Records> cases[] = {
        {"50\n5000\n-3\n-1.5\n", {100, 3000, 0, 9999.0f}},
        {"99\n3001\n10000\n10000.5\n", {100, 3000, 9999, 9999.0f}},
        {"100\n3000\n0\n0.0\n", {100, 3000, 0, 0.0f}},
        {"3000\n100\n9999\n9999.0\n", {3000, 100, 9999, 9999.0f}},
        // Fields that cannot be read keep the values from before.
        {"800\n500\n", {800, 500, 33, 2.5f}},
        {"abc\n600\n7\n1.0\n", before},
        {"640\n380\nlots\n1.5\n", {640, 380, 33, 2.5f}},
        {"700\r\n400\r\n25\r\n3.5\r\n", {700, 400, 25, 3.5f}},
        {"700\n400\n25\nnan\n", {700, 400, 25, 9999.0f}},
    };
    for (const auto &[contents, after] : cases) {
        writeRecordsFile(contents);
        setRecords(before);
        readCFGFile();
        EXPECT_EQ(records(), after) << "file \"" << contents << "\"";
    }
    // Kept values are brought into range too.
    writeRecordsFile("");
    setRecords({0, 4000, 12, 2.5f});
    readCFGFile();
    EXPECT_EQ(records(), (Records{100, 3000, 12, 2.5f})) << "empty file";
}

TEST_F(RecordsTest, AWriteHoldsFourLinesAndOneThatCannotHappenLeavesTheOldFile) {
    setRecords({640, 380, 12000, 3.41875f});
    writeCFGFile();
    const std::string old = "640\n380\n12000\n3.418750\n";
    EXPECT_EQ(readRecordsFile(), old);
    readCFGFile();
    EXPECT_EQ(highScore, 9999);
    // The new contents are written beside the file first; a folder in that place stops them.
    const std::string sideFile = std::string(recordsFileName) + ".new";
    ASSERT_TRUE(fs::create_directory(sideFile));
    setRecords({900, 500, 800, 1.0f});
    writeCFGFile();
    ASSERT_TRUE(fs::remove(sideFile));
    EXPECT_EQ(readRecordsFile(), old);
    // Over a folder of the records file's own name nothing changes and no side file is left.
    fs::rename(recordsFileName, "kept");
    ASSERT_TRUE(fs::create_directory(recordsFileName));
    writeCFGFile();
    EXPECT_TRUE(fs::is_empty(recordsFileName));
    EXPECT_EQ(folderEntries(), 2);
    EXPECT_TRUE(fake::ui.log.empty());
}
