#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gpu_particles/ParticleSystem.h"

namespace {

using nox::gpu_particles::particleCapacity;
using nox::gpu_particles::takeSpawnCount;

constexpr double fireRate = 1.0;
constexpr double snowRate = 10000.0;
constexpr int capacity = 200000;

TEST(SpawnCount, AZeroFrameSpawnsNothingAndKeepsTheOwedFraction) {
    double accumulator = 0.75;
    EXPECT_EQ(takeSpawnCount(accumulator, 0.0f, snowRate, capacity), 0);
    EXPECT_EQ(accumulator, 0.75);
}

TEST(SpawnCount, ALongFrameSpawnsEverythingOwedAtOnce) {
    double accumulator = 0.0;
    EXPECT_EQ(takeSpawnCount(accumulator, 0.5f, snowRate, capacity), 5000);
    EXPECT_EQ(accumulator, 0.0);
}

TEST(SpawnCount, TheFireSpawnsWhenTheFrameTimeReachesTheNextWholeSecond) {
    double accumulator = 0.0;
    EXPECT_EQ(takeSpawnCount(accumulator, 0.75f, fireRate, capacity), 0);
    EXPECT_EQ(takeSpawnCount(accumulator, 0.125f, fireRate, capacity), 0);
    EXPECT_EQ(takeSpawnCount(accumulator, 0.125f, fireRate, capacity), 1);  // exactly 1 s
    EXPECT_EQ(accumulator, 0.0);
    EXPECT_EQ(takeSpawnCount(accumulator, 0.5f, fireRate, capacity), 0);
    EXPECT_EQ(takeSpawnCount(accumulator, 2.75f, fireRate, capacity), 3);  // 3.25 s owed
    EXPECT_EQ(accumulator, 0.25);
}

// Frame times in 1/1024 s steps are exact in float and double, so any drift
// would come from the accounting itself.
TEST(SpawnCount, ManyUnevenFramesSpawnExactlyRateTimesTotalTime) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> ticks(0, 200);
    for (double rate : {fireRate, snowRate}) {
        double accumulator = 0.0;
        double totalTime = 0.0;
        long long spawned = 0;
        for (int frame = 0; frame < 5000; ++frame) {
            const float frameTime = static_cast<float>(ticks(random)) / 1024.0f;
            totalTime += frameTime;
            spawned += takeSpawnCount(accumulator, frameTime, rate, capacity);
            ASSERT_GE(accumulator, 0.0);
            ASSERT_LT(accumulator, 1.0);
        }
        EXPECT_EQ(spawned, static_cast<long long>(std::trunc(rate * totalTime))) << "rate " << rate;
    }
}

TEST(SpawnCount, AFrameLongerThanTheCapacityCanHoldSpawnsTheCapacityAndForgetsTheRest) {
    double accumulator = 0.5;
    EXPECT_EQ(takeSpawnCount(accumulator, 1.0e6f, snowRate, capacity), capacity);  // 10^10 owed
    EXPECT_EQ(accumulator, 0.5);
    EXPECT_EQ(takeSpawnCount(accumulator, 0.5f, snowRate, capacity), 5000);
}

// The velocity views hold one entry past the particles, so the limit must
// exceed the capacity; the smallest limit that GL allows cuts it.
TEST(ParticleCapacity, IsCutOnlyWhereTheTexelViewsAreTooShort) {
    EXPECT_EQ(particleCapacity(capacity, 1 << 27), capacity);
    EXPECT_EQ(particleCapacity(capacity, capacity + 1), capacity);
    EXPECT_EQ(particleCapacity(capacity, capacity), capacity - 1);
    EXPECT_EQ(particleCapacity(capacity, 65536), 65535);
    EXPECT_EQ(particleCapacity(capacity, 0), 0);
}

}  // namespace
