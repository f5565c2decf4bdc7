// The installation check: the fixed list in its order, the first missing file named, the cell
// images loaded on the way; and the file-existence test under it.
#include "game_fixture.h"

#include <set>

#include "install_check.h"
#include "installed_files.h"

namespace {

using InstallCheckTest = GameTest;

struct Entry {
    const char *path;
    const char *message;
};

const Entry entries[17] = {
    {IMAGE_FILE("blank"), "Missing image file 1."},
    {IMAGE_FILE("red"), "Missing image file 2."},
    {IMAGE_FILE("green"), "Missing image file 3."},
    {IMAGE_FILE("blue"), "Missing image file 4."},
    {IMAGE_FILE("cyan"), "Missing image file 5."},
    {IMAGE_FILE("yellow"), "Missing image file 6."},
    {IMAGE_FILE("magenta"), "Missing image file 7."},
    {GAME_OVER_SOUND, "Missing sound file 1."},
    {FULL_ROW_SOUND, "Missing sound file 2."},
    {SCORE_RECORD_SOUND, "Missing sound file 3."},
    {SPEED_RECORD_SOUND, "Missing sound file 4."},
    {PROGRAM_FILE, "Missing EXE file."},
    {"stakko.uir", "Missing UIR file."},
    {RUNTIME_STYLE_FILE, "Missing DLL file 1."},
    {RUNTIME_FONT_FILE, "Missing DLL file 2."},
    {RUNTIME_BOLD_FONT_FILE, "Missing DLL file 3."},
    {RUNTIME_RESOURCE_FILE, "Missing CVI file 1."},
};

std::string errorPopup(const char *message) {
    return std::string("MessagePopup(Error, ") + message + ")";
}

TEST_F(InstallCheckTest, WithEveryFileInPlaceTheSevenImagesAreLoaded) {
    EXPECT_EQ(checkFileIntegrity(), 1);
    EXPECT_TRUE(popups().empty());
    std::set<int> ids(colourBitmaps, colourBitmaps + 7);
    EXPECT_EQ(ids.size(), 7u);
    for (int colour = 0; colour < 7; colour++) {
        EXPECT_EQ(fake::ui.bitmapFiles[colourBitmaps[colour]], entries[colour].path);
    }
}

TEST_F(InstallCheckTest, EveryEntryIsNamedByItsOwnMessageAndEndsTheCheck) {
    for (int missing = 0; missing < 17; missing++) {
        fake::reset();
        fake::installAllFiles();
        fake::ui.presentFiles.erase(entries[missing].path);
        EXPECT_EQ(checkFileIntegrity(), 0) << entries[missing].path;
        EXPECT_EQ(popups(), std::vector<std::string>{errorPopup(entries[missing].message)});
        // Every entry before the missing one was tested in order, none after it.
        std::vector<std::string> tested, expected;
        for (const std::string &call : fake::ui.log) {
            if (call.rfind("GetBitmapFromFile(", 0) == 0 ||
                call.rfind("CVI_GetFileSize(", 0) == 0) {
                tested.push_back(call.substr(call.find('(') + 1, call.size() - call.find('(') - 2));
            }
        }
        for (int i = 0; i <= missing; i++) {
            expected.push_back(entries[i].path);
        }
        EXPECT_EQ(tested, expected) << entries[missing].path;
    }
}

TEST_F(InstallCheckTest, AMissingImageStopsAfterLoadingTheImagesBeforeIt) {
    for (int i = 0; i < 7; i++) {
        colourBitmaps[i] = 11 + i;
    }
    fake::ui.presentFiles.erase(IMAGE_FILE("green"));
    EXPECT_EQ(checkFileIntegrity(), 0);
    EXPECT_EQ(popups(), std::vector<std::string>{errorPopup("Missing image file 3.")});
    EXPECT_EQ(fake::ui.bitmapFiles[colourBitmaps[0]], IMAGE_FILE("blank"));
    EXPECT_EQ(fake::ui.bitmapFiles[colourBitmaps[1]], IMAGE_FILE("red"));
    for (int i = 2; i < 7; i++) {
        EXPECT_EQ(colourBitmaps[i], 11 + i);
    }
    EXPECT_TRUE(fake::callsStartingWith("CVI_GetFileSize").empty());
}

TEST_F(InstallCheckTest, AnImageThatCannotBeReadCountsAsMissing) {
    fake::ui.unreadableImages.insert(IMAGE_FILE("blue"));
    EXPECT_EQ(checkFileIntegrity(), 0);
    EXPECT_EQ(popups(), std::vector<std::string>{errorPopup("Missing image file 4.")});
}

TEST_F(InstallCheckTest, OnlyTheFirstOfTwoMissingFilesIsNamed) {
    fake::ui.presentFiles.erase("stakko.uir");
    fake::ui.presentFiles.erase(RUNTIME_STYLE_FILE);
    EXPECT_EQ(checkFileIntegrity(), 0);
    EXPECT_EQ(popups(), std::vector<std::string>{errorPopup("Missing UIR file.")});
    EXPECT_EQ(fake::find(std::string("CVI_GetFileSize(") + RUNTIME_STYLE_FILE + ")"), -1);
}

TEST_F(InstallCheckTest, AFileSizeQueryThatFailsOtherwiseCountsAsMissing) {
    fake::ui.fileSizeErrors[FULL_ROW_SOUND] = -4;
    EXPECT_EQ(checkFileIntegrity(), 0);
    EXPECT_EQ(popups(), std::vector<std::string>{errorPopup("Missing sound file 2.")});
}

TEST_F(InstallCheckTest, FileExistsTurnsTheRunTimeCodesIntoItsResults) {
    const struct {
        int code; // CVI_GetFileSize's answer; 0 means the file is there
        int result, size;
    } cases[] = {{0, 1, 1234}, {-1, 0, -1}, {-4, -12, -1}, {-7, -93, -1}, {3, -93, -1}};
    for (const auto &test : cases) {
        fake::ui.fileSizeErrors.clear();
        if (test.code != 0) {
            fake::ui.fileSizeErrors["stakko.uir"] = test.code;
        }
        int size = 77;
        EXPECT_EQ(FileExists("stakko.uir", &size), test.result) << test.code;
        EXPECT_EQ(size, test.size) << test.code;
        EXPECT_EQ(FileExists("stakko.uir", nullptr), test.result) << test.code;
    }
}

TEST_F(InstallCheckTest, FileExistsQueriesWithBreakOnErrorsOffAndPutsItBack) {
    for (int before : {1, 0}) {
        fake::ui.log.clear();
        fake::ui.breakOnLibraryErrors = before;
        FileExists("nowhere.txt", nullptr);
        EXPECT_EQ(fake::ui.log,
                  (std::vector<std::string>{
                      "DisableBreakOnLibraryErrors()", "CVI_GetFileSize(nowhere.txt)",
                      before ? "EnableBreakOnLibraryErrors()" : "DisableBreakOnLibraryErrors()"}))
            << before;
        EXPECT_EQ(fake::ui.breakOnLibraryErrors, before);
    }
}

} // namespace
