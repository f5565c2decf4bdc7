// The installation check: every file the game needs, in a fixed order, the first missing one
// named. The cell images are loaded on the way.
#include "install_check.h"
#include "installed_files.h"
#include "userint.h"

int colourBitmaps[7];

struct InstalledFile {
    const char *path;
    const char *missingMessage;
};

static const InstalledFile cellImages[7] = {
    {IMAGE_FILE("blank"), "Missing image file 1."},
    {IMAGE_FILE("red"), "Missing image file 2."},
    {IMAGE_FILE("green"), "Missing image file 3."},
    {IMAGE_FILE("blue"), "Missing image file 4."},
    {IMAGE_FILE("cyan"), "Missing image file 5."},
    {IMAGE_FILE("yellow"), "Missing image file 6."},
    {IMAGE_FILE("magenta"), "Missing image file 7."},
};

static const InstalledFile otherFiles[10] = {
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

int FileExists(const char *pathName, int *sizeOut) {
    // A missing file is an expected answer here, not a library error worth reporting.
    int breakWasOn = GetBreakOnLibraryErrors();
    DisableBreakOnLibraryErrors();
    long size = -1;
    int status = CVI_GetFileSize(pathName, &size);
    if (breakWasOn) {
        EnableBreakOnLibraryErrors();
    } else {
        DisableBreakOnLibraryErrors();
    }
    if (sizeOut != nullptr) {
        *sizeOut = status == 0 ? static_cast<int>(size) : -1;
    }
    switch (status) {
    case 0:
        return 1;
    case -1:
        return 0;
    case -4:
        return -12;
    default:
        return -93;
    }
}

int checkFileIntegrity(void) {
    for (int i = 0; i < 7; i++) {
        if (GetBitmapFromFile(cellImages[i].path, &colourBitmaps[i]) < 0) {
            MessagePopup("Error", cellImages[i].missingMessage);
            return 0;
        }
    }
    for (const InstalledFile &file : otherFiles) {
        if (FileExists(file.path, nullptr) != 1) {
            MessagePopup("Error", file.missingMessage);
            return 0;
        }
    }
    return 1;
}
