#pragma once

#include <vector>

#include "terrain/TerrainRandom.h"

namespace nox::terrain {

// The landscape's shape: a coarse grid of seeded random values, one per 16 x 16
// vertices, pressed into a basin around the middle (the lake bed) and a flat
// plateau beside it, smoothed over 3 x 3 cells and cosine-interpolated.
// Values are drawn lazily, so the order of first touches decides the landscape.
class HeightField {
public:
    static constexpr int cellCount = 1001;         // cells per side, 0 ... 1000
    static constexpr float vertexSpacing = 16.0f;  // vertices per cell
    static constexpr float heightScale = 40.0f;
    static constexpr unsigned seed = 2;

    HeightField();

    // Base value of one cell, drawn and cached on first touch; 0 off the grid.
    float getNoise(int a, int b);
    // Weighted 3 x 3 average of base values, touching them in a fixed order.
    float getSmoothNoise(int a, int b);
    // Height at local vertex coordinates; cells are found by truncation.
    float getInterpolatedHeight(float x, float z);

    int randomDraws() const { return draws; }

    // The two halves of getInterpolatedHeight, for callers that evaluate many
    // heights from precomputed smoothed values and must get the same bits.
    struct CellWeight {
        int cell;      // truncated toward zero
        float weight;  // cosine weight of the fraction
    };
    static CellWeight cellWeight(float coordinate);
    static float blend(float s00, float s10, float s01, float s11, float wu, float wv);

    std::vector<float> noiseCache;  // [a * cellCount + b]; notComputed until drawn

private:
    static constexpr float notComputed = -1.0f;

    TerrainRandom random;
    int draws = 0;
};

}  // namespace nox::terrain
