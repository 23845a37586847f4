#pragma once

#include <cstdint>

namespace nox::terrain {

// The classic linear congruential rand(): 15-bit values 0 ... 32767. The
// terrain owns its own so the landscape is the same on every platform, whose
// C libraries differ in range and sequence.
class TerrainRandom {
public:
    static constexpr int maxValue = 32767;

    explicit TerrainRandom(std::uint32_t seed) : state(seed) {}

    int next() {
        state = state * multiplier + increment;
        return static_cast<int>((state >> 16) & maxValue);
    }

private:
    static constexpr std::uint32_t multiplier = 214013u;
    static constexpr std::uint32_t increment = 2531011u;

    std::uint32_t state;
};

}  // namespace nox::terrain
