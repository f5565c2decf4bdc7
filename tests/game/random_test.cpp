// The piece generator: Wichmann-Hill values, its range rules and awkward seeds.
#include "game_fixture.h"

#include <cmath>
#include <set>

#include "pieces.h"

namespace {

using RandomTest = GameTest;

// Wichmann-Hill (AS 183) written out from its definition, to check the game's generator by.
struct ReferenceGenerator {
    int s1, s2, s3;
    explicit ReferenceGenerator(int seed) {
        s1 = seed & 0x3FFF;
        s2 = (s1 * 8191) & 0x3FFF;
        s3 = (s2 * 8191) & 0x3FFF;
    }
    double next() {
        s1 = (171 * s1) % 30269;
        s2 = (172 * s2) % 30307;
        s3 = (170 * s3) % 30323;
        double x = s1 * (1.0 / 30269) + s2 * (1.0 / 30307) + s3 * (1.0 / 30323);
        return x - std::floor(x);
    }
};

TEST_F(RandomTest, KnownSeedsGiveTheWichmannHillValues) {
    for (int seed : {1, 12345, 1700000123, -1}) {
        SetRandomSeed(seed);
        ReferenceGenerator reference(seed);
        for (int i = 0; i < 200; i++) {
            ASSERT_DOUBLE_EQ(Random(0.0, 1.0), reference.next()) << "seed " << seed << " #" << i;
        }
    }
}

TEST_F(RandomTest, ScalesTheDrawIntoTheRange) {
    SetRandomSeed(99);
    ReferenceGenerator reference(99);
    EXPECT_DOUBLE_EQ(Random(3.0, 5.0), 3.0 + 2.0 * reference.next());
    EXPECT_DOUBLE_EQ(Random(2.0, 2.0), 2.0);
    reference.next(); // an empty but not reversed range still draws
    EXPECT_DOUBLE_EQ(Random(0.0, 7.0), 7.0 * reference.next());
}

TEST_F(RandomTest, AnEmptyRangeReturnsTheMinimumWithoutADraw) {
    SetRandomSeed(777);
    ReferenceGenerator reference(777);
    EXPECT_EQ(Random(5.0, 2.0), 5.0);
    EXPECT_EQ(Random(5.0, 2.0), 5.0);
    // The generator is where it was: the next draw is the seed's first.
    EXPECT_DOUBLE_EQ(Random(0.0, 1.0), reference.next());
}

TEST_F(RandomTest, ColoursAreOneToSixNeverSeven) {
    SetRandomSeed(20240601);
    int counts[8] = {};
    const int draws = 60000;
    for (int i = 0; i < draws; i++) {
        int value = static_cast<int>(Random(1.0, 7.0));
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 6);
        counts[value]++;
    }
    for (int value = 1; value <= 6; value++) {
        EXPECT_NEAR(counts[value], draws / 6, draws / 60) << "value " << value;
    }
}

TEST_F(RandomTest, ASeedWithItsLowFourteenBitsZeroStillGivesAUniformSequence) {
    std::set<std::vector<double>> sequences;
    for (int seed : {16384, 16384 * 3, 0x40000000, -16384}) {
        SetRandomSeed(seed);
        std::vector<double> values;
        int buckets[10] = {};
        for (int i = 0; i < 2000; i++) {
            double u = Random(0.0, 1.0);
            ASSERT_GE(u, 0.0) << "seed " << seed;
            ASSERT_LT(u, 1.0) << "seed " << seed;
            values.push_back(u);
            buckets[static_cast<int>(u * 10)]++;
        }
        EXPECT_GT(std::set<double>(values.begin(), values.end()).size(), 1990u) << "seed " << seed;
        for (int b = 0; b < 10; b++) {
            EXPECT_NEAR(buckets[b], 200, 60) << "seed " << seed << " bucket " << b;
        }
        sequences.insert(values);
    }
    // Calendar seconds 16384 apart must not all replay one sequence.
    EXPECT_EQ(sequences.size(), 4u);
}

} // namespace
