// The installation check: the fixed list in its order, the first missing file named, the cell
// images loaded on the way; and the file-existence test under it.
#include "game_fixture.h"

#include "installed_files.h"

using InstallCheckTest = GameTest;

static const std::pair<const char *, const char *> entries[17] = {
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
    {RUNTIME_RESOURCE_FILE, "Missing CVI file 1."}};

// The files that the check looked at, in order.
static Log filesTested() {
    Log tested;
    for (const std::string &call : fake::ui.log) {
        if (call.rfind("GetBitmapFromFile(", 0) == 0 || call.rfind("CVI_GetFileSize(", 0) == 0) {
            tested.push_back(call.substr(call.find('(') + 1, call.size() - call.find('(') - 2));
        }
    }
    return tested;
}

TEST_F(InstallCheckTest, EveryFileIsCheckedInOrderAndTheFirstMissingOneNamed) {
    EXPECT_EQ(checkFileIntegrity(), 1);
    EXPECT_TRUE(popups().empty());
    EXPECT_EQ(filesTested().size(), 17u);
    EXPECT_EQ(std::set<int>(colourBitmaps, colourBitmaps + 7).size(), 7u); // the images loaded
    for (int colour = 0; colour < 7; colour++) {
        EXPECT_EQ(fake::ui.bitmapFiles[colourBitmaps[colour]], entries[colour].first);
    }
    for (int missing = 0; missing < 17; missing++) {
        const auto &[path, message] = entries[missing];
        for (int damage = 0; damage < 3; damage++) { // absent, two files absent, unreadable
            fake::reset();
            fake::ui.presentFiles.erase(path);
            if (damage == 1 && missing < 16) {
                fake::ui.presentFiles.erase(entries[missing + 1].first);
            } else if (damage == 2) {
                fake::ui.presentFiles.insert(path);
                fake::ui.unreadableImages.insert(path); // no image at all
                fake::ui.fileSizeErrors[path] = -4;     // any other failure
            }
            SCOPED_TRACE(std::string(path) + ", damage " + std::to_string(damage));
            EXPECT_EQ(checkFileIntegrity(), 0);
            EXPECT_EQ(popups(), Log{std::string("MessagePopup(Error, ") + message + ")"});
            Log expected;
            for (int i = 0; i <= missing; i++) {
                expected.push_back(entries[i].first);
            }
            EXPECT_EQ(filesTested(), expected);
        }
    }
}

TEST_F(InstallCheckTest, FileExistsAsksWithBreakOnErrorsOffAndTurnsTheAnswerIntoItsResult) {
    // CVI_GetFileSize's answer (0: the file is there), the result, the size given back.
    const std::tuple<int, int, int> cases[] = {
        {0, 1, 1234}, {-1, 0, -1}, {-4, -12, -1}, {-7, -93, -1}, {3, -93, -1}};
    for (const auto &[code, result, size] : cases) {
        for (int breakWasOn : {1, 0}) {
            fake::reset();
            fake::ui.breakOnLibraryErrors = breakWasOn;
            if (code != 0) {
                fake::ui.fileSizeErrors["stakko.uir"] = code;
            }
            int sizeOut = 77;
            EXPECT_EQ(FileExists("stakko.uir", breakWasOn ? &sizeOut : nullptr), result) << code;
            EXPECT_EQ(sizeOut, breakWasOn ? size : 77) << code;
            EXPECT_EQ(fake::ui.log,
                      (Log{"DisableBreakOnLibraryErrors()", "CVI_GetFileSize(stakko.uir)",
                           breakWasOn ? "EnableBreakOnLibraryErrors()"
                                      : "DisableBreakOnLibraryErrors()"}));
            EXPECT_EQ(fake::ui.breakOnLibraryErrors, breakWasOn);
        }
    }
}
