// The records file: panel size, score record and speed record, four text lines.
#include <cerrno>
#include <cstdio>

#include "game_state.h"
#include "records_file.h"
#include "stakko.h"

#ifdef _WIN32
int replaceFile(const char *from, const char *to); // replace_file_win32.cpp
#else
// Puts a whole new file in place of the old one at once.
static int replaceFile(const char *from, const char *to) {
    return rename(from, to);
}
#endif

int panelHeight;
int panelWidth;
int highScore;
float highSpeed = 9999.0f;

const char *const recordsFileName = "_KIVOSTAKKOGAME.CFG";

static int clamp(int value, int lowest, int highest) {
    return value < lowest ? lowest : value > highest ? highest : value;
}

// A folder of the records file's name opens on some systems but cannot be read: a stream that
// fails at its first character counts as a file that cannot be opened.
static FILE *openRecordsFile(void) {
    FILE *file = fopen(recordsFileName, "rt");
    if (file == NULL) {
        return NULL;
    }
    int first = fgetc(file);
    if (first == EOF && ferror(file)) {
        fclose(file);
        return NULL;
    }
    ungetc(first, file);
    return file;
}

void readCFGFile(void) {
    FILE *file = openRecordsFile();
    if (file == NULL) {
        panelHeight = 792;
        panelWidth = 461;
        highScore = 0;
        highSpeed = 9999.0f;
        return;
    }
    // A field that cannot be scanned keeps its earlier value; every field is then brought into
    // range. The scans' results are deliberately not looked at.
    (void)fscanf(file, "%d\n", &panelHeight);
    panelHeight = clamp(panelHeight, 100, 3000);
    (void)fscanf(file, "%d\n", &panelWidth);
    panelWidth = clamp(panelWidth, 100, 3000);
    (void)fscanf(file, "%d\n", &highScore);
    highScore = clamp(highScore, 0, 9999);
    (void)fscanf(file, "%f\n", &highSpeed);
    // Written so that a speed that is no number (NaN) goes the way of one below 0.0.
    if (!(highSpeed >= 0.0f)) {
        highSpeed = 9999.0f;
    }
    if (highSpeed > 9999.0f) {
        highSpeed = 9999.0f;
    }
    fclose(file);
}

// The new contents go to a side file first and replace the records file only once written
// whole, so that a full disk never leaves a truncated records file behind.
void writeCFGFile(void) {
    static const char *const partFileName = "_KIVOSTAKKOGAME.CFG.new";
    // A records file that exists but cannot be written to keeps its contents.
    FILE *existing = fopen(recordsFileName, "r+");
    if (existing != NULL) {
        fclose(existing);
    } else if (errno != ENOENT) {
        return;
    }
    FILE *file = fopen(partFileName, "wt");
    if (file == NULL) {
        return;
    }
    fprintf(file, "%d\n", panelHeight);
    fprintf(file, "%d\n", panelWidth);
    fprintf(file, "%d\n", highScore);
    fprintf(file, "%f\n", static_cast<double>(highSpeed));
    int failed = ferror(file);
    if (fclose(file) == 0 && !failed) {
        replaceFile(partFileName, recordsFileName);
    }
    remove(partFileName); // still there only when it could not be put in place
}

void displayHighScore(void) {
    char buffer[260];
    snprintf(buffer, sizeof buffer, "%d", highScore);
    ResetTextBox(panelHandle, PANEL_HIGHSCORE, buffer);
}

void displayHighSpeed(void) {
    char buffer[260];
    snprintf(buffer, sizeof buffer, "%.2f", static_cast<double>(highSpeed));
    ResetTextBox(panelHandle, PANEL_HIGHSPEED, buffer);
}
