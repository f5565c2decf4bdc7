// The piece generator: Wichmann-Hill (Applied Statistics algorithm AS 183).
#include <cmath>
#include <ctime>

#include "pieces.h"

static int s1, s2, s3;
static int seedValue;
static int seedWaiting;

// A seed whose low 14 bits are all 0 would leave every component at 0, where the generator
// only ever returns 0; such a seed takes its state from its higher bits instead, never 0.
static int firstComponent(int seed) {
    int low = seed & 0x3FFF;
    if (low != 0) {
        return low;
    }
    unsigned int high = static_cast<unsigned int>(seed) >> 14;
    return static_cast<int>(high % 0x3FFF) + 1;
}

static double uniformDraw(void) {
    if (seedWaiting) {
        seedWaiting = 0;
        s1 = firstComponent(seedValue);
        s2 = (s1 * 8191) & 0x3FFF;
        s3 = (s2 * 8191) & 0x3FFF;
    }
    s1 = (171 * s1) % 30269;
    s2 = (172 * s2) % 30307;
    s3 = (170 * s3) % 30323;
    const double r1 = 1.0 / 30269, r2 = 1.0 / 30307, r3 = 1.0 / 30323;
    double x = s1 * r1 + s2 * r2 + s3 * r3;
    double u = x - std::floor(x);
    if (u < 0) {
        u = u + 1.0;
    }
    return u;
}

double Random(double minimum, double maximum) {
    double range = maximum - minimum;
    if (range < 0) {
        return minimum;
    }
    return minimum + range * uniformDraw();
}

void SetRandomSeed(int seed) {
    while (seed == 0) {
        seed = static_cast<int>(clock());
    }
    seedValue = seed;
    seedWaiting = 1;
}
