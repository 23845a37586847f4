#pragma once

#include <cstdint>

namespace nox::studio {

// A small deterministic generator (SplitMix64). The standard library's
// distributions are implementation-defined, so every draw goes through here to
// keep the generated files byte-identical across runs and toolchains.
class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    float uniform() { return static_cast<float>(next() >> 40) * (1.0f / 16777216.0f); }

    // Uniform in [low, high).
    float range(float low, float high) { return low + (high - low) * uniform(); }

    // Uniform integer in [0, count).
    int below(int count) { return static_cast<int>(next() % static_cast<std::uint64_t>(count)); }

private:
    std::uint64_t state;
};

}  // namespace nox::studio
