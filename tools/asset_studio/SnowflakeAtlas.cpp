#include "SnowflakeAtlas.h"

#include <cmath>
#include <vector>

#include "Atlas.h"
#include "Image.h"
#include "ImageWriter.h"
#include "Random.h"

namespace nox::studio {

namespace {

constexpr int frameSize = 64;
constexpr float maxReach = 27.0f;  // texels from the centre: a black margin stays
constexpr std::uint64_t flakeSeed = 1885;
constexpr float pi = 3.14159265f;

struct Stroke {
    glm::vec2 a;
    glm::vec2 b;
    float radius;
};

float distanceToStroke(glm::vec2 p, const Stroke& s) {
    const glm::vec2 ab = s.b - s.a;
    const float t = glm::clamp(glm::dot(p - s.a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (s.a + ab * t)) - s.radius;
}

// A six-fold dendrite: main arms with pairs of side branches at 60 degrees.
std::vector<Stroke> crystalStrokes(Random& rng) {
    const float armLength = rng.range(15.0f, maxReach - 2.0f);
    const float thickness = rng.range(0.8f, 1.5f);
    const int branchPairs = 1 + rng.below(4);
    const float turn = rng.range(0.0f, pi / 3.0f);
    std::vector<float> positions;
    std::vector<float> lengths;
    for (int b = 0; b < branchPairs; ++b) {
        const float at = rng.range(0.3f, 0.85f);
        positions.push_back(at);
        lengths.push_back(armLength * (1.0f - at) * rng.range(0.5f, 0.9f));
    }
    std::vector<Stroke> strokes;
    for (int arm = 0; arm < 6; ++arm) {
        const float angle = turn + arm * pi / 3.0f;
        const glm::vec2 dir(std::cos(angle), std::sin(angle));
        strokes.push_back({glm::vec2(0.0f), dir * armLength, thickness});
        for (int b = 0; b < branchPairs; ++b) {
            const glm::vec2 root = dir * (armLength * positions[b]);
            for (float side : {-1.0f, 1.0f}) {
                const float branchAngle = angle + side * pi / 3.0f;
                const glm::vec2 tip = root + glm::vec2(std::cos(branchAngle), std::sin(branchAngle)) * lengths[b];
                strokes.push_back({root, tip, thickness * 0.8f});
            }
        }
    }
    return strokes;
}

}  // namespace

void writeSnowflakeAtlas(const std::filesystem::path& texturesDir) {
    Random rng(flakeSeed);
    Image atlas(frameSize * atlasRows, frameSize * atlasRows);
    for (int frame = 0; frame < atlasFrames; ++frame) {
        const int ox = (frame % atlasRows) * frameSize;
        const int oy = (frame / atlasRows) * frameSize;
        const float brightness = rng.range(0.65f, 1.0f);
        const glm::vec3 tint = glm::mix(glm::vec3(1.0f), glm::vec3(0.85f, 0.92f, 1.0f), rng.uniform());
        // One flake in three is a clump seen out of focus: a soft disc.
        const bool blurred = rng.below(3) == 0;
        const float blobRadius = rng.range(8.0f, 20.0f);
        const std::vector<Stroke> strokes = blurred ? std::vector<Stroke>{} : crystalStrokes(rng);
        const float plate = rng.range(1.5f, 5.0f);  // hexagonal centre plate
        const float softness = blurred ? blobRadius * 0.6f : rng.range(0.9f, 1.6f);
        for (int py = 0; py < frameSize; ++py) {
            for (int px = 0; px < frameSize; ++px) {
                const glm::vec2 p(px + 0.5f - frameSize * 0.5f, py + 0.5f - frameSize * 0.5f);
                float d;
                if (blurred) {
                    d = glm::length(p) - blobRadius * 0.4f;
                } else {
                    d = glm::length(p) - plate;
                    for (const Stroke& s : strokes) d = std::min(d, distanceToStroke(p, s));
                }
                const float coverage = glm::smoothstep(softness, -softness, d);
                const float margin = glm::smoothstep(maxReach + 4.0f, maxReach, glm::length(p));
                const float value = coverage * margin * brightness;
                atlas.at(ox + px, oy + py) = glm::vec4(tint * value, value);
            }
        }
    }
    writePng(texturesDir / "particleSnow.png", atlas, 4);
}

}  // namespace nox::studio
