// Writers of the records file killed at random moments, a thousand times: the file must hold
// one whole set of records every time, the last one written or the one before, never a part.
#include <csignal>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "records_file.h"

int panelHandle;
int ResetTextBox(int, int, const char *) {
    return 0;
}

// Sets the records of the k-th write, every field telling k; returns the text they make.
static std::string records(int k) {
    panelHeight = 100 + k % 2900, panelWidth = 3000 - k % 2900, highScore = k;
    highSpeed = k % 80000 / 8.0f; // exact in a float
    char text[80];
    snprintf(text, sizeof text, "%d\n%d\n%d\n%f\n", panelHeight, panelWidth, k, double(highSpeed));
    return text;
}

static std::string stored() {
    std::ifstream file(recordsFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

int main() {
    std::mt19937 random(7);
    for (int round = 0, k = 0; round < 1000; ++round, k = round * 100000) {
        const std::string before = stored();
        const pid_t writer = fork();
        while (writer == 0) // a new set of records at every write of every round
            records(k++), writeCFGFile();
        // Killed only once it has written: from then on it is always in the middle of a write.
        for (int waited = 0; stored() == before && waited < 20000; ++waited)
            usleep(100);
        usleep(std::uniform_int_distribution<>(0, 500)(random));
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        const std::string now = stored();
        if (now == before || sscanf(now.c_str(), "%*d %*d %d", &k) != 1 || now != records(k)) {
            fprintf(stderr, "round %d: the records file holds\n%s\n", round, now.c_str());
            return 1;
        }
    }
    return 0;
}
