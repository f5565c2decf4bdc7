// Writers of the records file killed at random moments, a thousand times: the file must always
// hold one whole set of records, the last one written or the one before, never a part of one.
#include <csignal>
#include <cstdio>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "records_file.h"

int panelHandle;
int ResetTextBox(int, int, const char *) { return 0; }

// The records of the k-th write, every field telling k, and the text they are stored as.
static std::string records(int k) {
    panelHeight = 100 + k % 2900, panelWidth = 3000 - k % 2900, highScore = k,
    highSpeed = k % 80000 / 8.0f; // exact in a float
    char text[80];
    snprintf(text, sizeof text, "%d\n%d\n%d\n%f\n", panelHeight, panelWidth, k, k % 80000 / 8.0);
    return text;
}

static std::string stored() {
    std::string text(200, '\0');
    FILE *file = fopen(recordsFileName, "rb");
    text.resize(file ? fread(&text[0], 1, text.size(), file) : 0);
    return file && fclose(file) == 0 ? text : "no file";
}

int main() {
    char folder[] = "/tmp/stakko-records-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 2;
    records(0);
    writeCFGFile();
    std::mt19937 random(7);
    for (int round = 0; round < 1000; ++round) {
        const std::string before = stored();
        const pid_t writer = fork();
        for (int k = round * 100000 + 1; writer == 0; ++k) { // a new set in every round
            records(k);
            writeCFGFile();
        }
        // Killed only once it has written: from then on it is always in the middle of a write.
        for (int waited = 0; stored() == before && waited < 20000; ++waited)
            usleep(100);
        usleep(std::uniform_int_distribution<>(0, 500)(random));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const std::string now = stored();
        int k = -1;
        if (now == before || sscanf(now.c_str(), "%*d %*d %d", &k) != 1 || now != records(k)) {
            fprintf(stderr, "round %d: the records file holds\n%s\n", round, now.c_str());
            return 1;
        }
    }
    remove(recordsFileName);
    remove("_KIVOSTAKKOGAME.CFG.new");
    rmdir(folder);
    return 0;
}
