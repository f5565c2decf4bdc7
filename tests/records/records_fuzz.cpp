// Any bytes as the records file: the reader must give values that the panel and the record
// displays can take, and what the writer then stores must read back unchanged.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "records_file.h"

int panelHandle;
int ResetTextBox(int, int, const char *) { return 0; }

static void check(bool holds, const char *what) {
    if (!holds) {
        fprintf(stderr, "%s: height %d, width %d, score %d, speed %f\n", what, panelHeight,
                panelWidth, highScore, double(highSpeed));
        abort();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fopen(recordsFileName, "wb");
    fwrite(data, 1, size, file);
    fclose(file);
    readCFGFile();
    check(panelHeight >= 100 && panelHeight <= 3000 && panelWidth >= 100 && panelWidth <= 3000,
          "panel size out of 100..3000");
    check(highScore >= 0 && highScore <= 9999, "score record out of 0..9999");
    check(highSpeed >= 0.0f && highSpeed <= 9999.0f, "speed record out of 0..9999 or no number");
    const int height = panelHeight, width = panelWidth, score = highScore;
    const float speed = highSpeed;
    writeCFGFile();
    panelHeight = panelWidth = highScore = -1; // a field that fails to read back shows
    highSpeed = -1.0f;
    readCFGFile();
    // The file keeps the speed to six decimals: the round trip may lose only what is beyond.
    check(panelHeight == height && panelWidth == width && highScore == score &&
              std::fabs(highSpeed - speed) <= 1e-6f,
          "records changed in a write and read");
    return 0;
}
