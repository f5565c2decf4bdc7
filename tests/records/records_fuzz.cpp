// Any bytes as the records file: the reader gives values that the panel and the record
// displays can take, and what the writer then stores reads back the same. Aborts otherwise.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "records_file.h"

int panelHandle;
int ResetTextBox(int, int, const char *) {
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FILE *file = fopen(recordsFileName, "wb");
    fwrite(data, 1, size, file);
    fclose(file);
    readCFGFile();
    const int height = panelHeight, width = panelWidth, score = highScore;
    const float speed = highSpeed; // a NaN fails both of its comparisons below
    if (height < 100 || height > 3000 || width < 100 || width > 3000 || score < 0 || score > 9999 ||
        !(speed >= 0.0f && speed <= 9999.0f))
        abort();
    writeCFGFile();
    panelHeight = panelWidth = highScore = -1; // a field that is not read back shows
    highSpeed = -1.0f;
    readCFGFile();
    // The file holds six decimals of the speed: only what lies beyond them may go.
    if (panelHeight != height || panelWidth != width || highScore != score ||
        highSpeed > speed + 1e-6f || highSpeed < speed - 1e-6f)
        abort();
    return 0;
}
