#include "terrain/HeightField.h"

#include <cmath>

namespace nox::terrain {

namespace {

// The basin sits in the middle of the grid (world origin), the plateau at
// world (90, -40). Distances are in cells.
constexpr float basinCentreA = 31.25f;
constexpr float basinCentreB = 31.25f;
constexpr float basinScale = 3.125f;
constexpr float basinOffset = 1.5625f;
constexpr float plateauCentreA = 36.875f;
constexpr float plateauCentreB = 28.75f;
constexpr float plateauRadius = 3.75f;
constexpr float plateauRimWidth = 0.0625f;
constexpr float plateauValue = 0.525f;

constexpr double pi = 3.14159265358979323846;

// |sqrt(db^2 + da^2)|: the square in float, the root in double.
float cellDistance(int a, int b, float centreA, float centreB) {
    const float db = static_cast<float>(b) - centreB;
    const float da = static_cast<float>(a) - centreA;
    return std::fabs(static_cast<float>(std::sqrt(static_cast<double>(db * db + da * da))));
}

float tanhAsDouble(float p) {
    const double e = std::exp(1.0);
    return static_cast<float>((std::pow(e, p) - std::pow(e, -p)) / (std::pow(e, -p) + std::pow(e, p)));
}

float cosineWeight(float fraction) {
    const float angle = static_cast<float>(fraction * pi);
    return (1.0f - std::cos(angle)) * 0.5f;
}

}  // namespace

HeightField::HeightField() : noiseCache(static_cast<size_t>(cellCount) * cellCount, notComputed), random(seed) {}

float HeightField::getNoise(int a, int b) {
    if (a < 0 || a >= cellCount || b < 0 || b >= cellCount) return 0.0f;
    float& cached = noiseCache[static_cast<size_t>(a) * cellCount + b];
    if (cached != notComputed) return cached;

    const int r = random.next();
    ++draws;
    const float p = cellDistance(a, b, basinCentreA, basinCentreB) / basinScale - basinOffset;
    const float t = tanhAsDouble(p);
    const float randomFactor = static_cast<float>(r) / static_cast<float>(TerrainRandom::maxValue) * 0.5f + 0.5f;
    const float base = (t + 1.0f) * 0.5f * randomFactor;

    const float rim = cellDistance(a, b, plateauCentreA, plateauCentreB) - plateauRadius;
    float plateau = 0.0f;
    if (rim < 0.0f) {
        plateau = 1.0f;
    } else if (rim < plateauRimWidth) {
        plateau = 1.0f - rim * 16.0f;
    }
    cached = (1.0f - plateau) * base + plateauValue * plateau;
    return cached;
}

float HeightField::getSmoothNoise(int a, int b) {
    const float corners =
        getNoise(a - 1, b + 1) + getNoise(a - 1, b - 1) + getNoise(a + 1, b - 1) + getNoise(a + 1, b + 1);
    const float edges = getNoise(a, b + 1) + getNoise(a, b - 1) + getNoise(a - 1, b) + getNoise(a + 1, b);
    const float centre = getNoise(a, b);
    return edges * 0.125f + centre * 0.25f + corners * 0.0625f;
}

HeightField::CellWeight HeightField::cellWeight(float coordinate) {
    const float u = coordinate * (1.0f / vertexSpacing);
    const int cell = static_cast<int>(u);  // toward zero: mirrors the first cell below 0
    return {cell, cosineWeight(u - static_cast<float>(cell))};
}

float HeightField::blend(float s00, float s10, float s01, float s11, float wu, float wv) {
    return ((s00 * (1.0f - wu) + s10 * wu) * (1.0f - wv) + (s01 * (1.0f - wu) + s11 * wu) * wv) * heightScale;
}

float HeightField::getInterpolatedHeight(float x, float z) {
    const CellWeight u = cellWeight(x);
    const CellWeight v = cellWeight(z);
    const float s00 = getSmoothNoise(u.cell, v.cell);
    const float s10 = getSmoothNoise(u.cell + 1, v.cell);
    const float s01 = getSmoothNoise(u.cell, v.cell + 1);
    const float s11 = getSmoothNoise(u.cell + 1, v.cell + 1);
    return blend(s00, s10, s01, s11, u.weight, v.weight);
}

}  // namespace nox::terrain
