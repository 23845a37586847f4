#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "AssetFiles.h"
#include "SkyFaces.h"
#include "app/Transform.h"

namespace {

using nox::test::loadPicture;
using nox::test::Picture;

// The sky quads exactly as the scene places them, transformed by the
// renderer's own model matrix.
struct Quad {
    const char* file;
    glm::vec3 translation;
    glm::vec3 rotation;
};
const std::array<Quad, 6> quads = {{
    {"front.png", {0, 0, -500}, {0, 0, 180}},
    {"back.png", {0, 0, 500}, {0, -180, 180}},
    {"right.png", {500, 0, 0}, {180, 90, 0}},
    {"left.png", {-500, 0, 0}, {0, -90, 180}},
    {"bottom.png", {0, -500, 0}, {90, 0, 180}},
    {"top.png", {0, 500, 0}, {90, 0, 0}},
}};

glm::mat4 quadMatrix(const Quad& q) {
    return nox::createModelMatrix(q.translation, q.rotation, glm::vec3(500.0f));
}

// Texel (i, j) lies at texture coordinate ((i + 0.5) / W, (j + 0.5) / H) and
// the shader derives that coordinate from the quad position as
// (x / 2 + 1/2, 1/2 - y / 2).
glm::vec3 rendererDirection(const Quad& q, float i, float j, int size) {
    const float x = 2.0f * (i + 0.5f) / size - 1.0f;
    const float y = 1.0f - 2.0f * (j + 0.5f) / size;
    return glm::normalize(glm::vec3(quadMatrix(q) * glm::vec4(x, y, 0.0f, 1.0f)));
}

void expectDirection(glm::vec3 actual, glm::vec3 expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, 1e-3f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-3f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-3f) << what;
}

TEST(SkyMapping, FaceCentresLookAlongTheAxes) {
    constexpr int size = nox::studio::skyFaceSize;
    const glm::vec3 axes[6] = {{0, 0, -1}, {0, 0, 1}, {1, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    for (int f = 0; f < 6; ++f) {
        // The centre of the image lies between the four middle texels.
        expectDirection(rendererDirection(quads[f], 0.5f * size - 0.5f, 0.5f * size - 0.5f, size), axes[f],
                        quads[f].file);
    }
}

TEST(SkyMapping, TopRowOfTheSideFacesIsBelowTheHorizon) {
    // The side quads are turned upside down (180 degrees about z), so the first
    // image row is drawn at the bottom of the box.
    constexpr int size = nox::studio::skyFaceSize;
    for (int f = 0; f < 4; ++f) {
        EXPECT_LT(rendererDirection(quads[f], size / 2.0f, 0.0f, size).y, -0.6f) << quads[f].file;
        EXPECT_GT(rendererDirection(quads[f], size / 2.0f, size - 1.0f, size).y, 0.6f) << quads[f].file;
    }
    // The top face's first row is toward +z, the bottom face's too.
    EXPECT_GT(rendererDirection(quads[5], size / 2.0f, 0.0f, size).z, 0.6f);
    EXPECT_GT(rendererDirection(quads[4], size / 2.0f, 0.0f, size).z, 0.6f);
}

TEST(SkyMapping, GeneratorUsesTheRenderersPlacement) {
    constexpr int size = nox::studio::skyFaceSize;
    const auto& faces = nox::studio::skyFaces();
    for (int f = 0; f < 6; ++f) {
        ASSERT_STREQ(faces[f].fileName, quads[f].file);
        const glm::mat4 m = nox::studio::faceMatrix(faces[f]);
        for (float t : {0.0f, 100.0f, 511.5f, 1023.0f}) {
            expectDirection(nox::studio::texelDirection(m, t, 1023.0f - t * 0.5f, size),
                            rendererDirection(quads[f], t, 1023.0f - t * 0.5f, size), quads[f].file);
        }
    }
}

// Where the renderer shows direction d: the face it hits and that face's texel.
struct Hit {
    int face;
    int i;
    int j;
};

Hit locate(glm::vec3 d, int size) {
    int best = 0;
    float bestDot = -2.0f;
    for (int f = 0; f < 6; ++f) {
        const float k = glm::dot(d, glm::normalize(quads[f].translation));
        if (k > bestDot) {
            bestDot = k;
            best = f;
        }
    }
    const glm::vec4 local = glm::inverse(quadMatrix(quads[best])) * glm::vec4(d * (500.0f / bestDot), 1.0f);
    const int i = static_cast<int>(std::floor((local.x + 1.0f) * 0.5f * size));
    const int j = static_cast<int>(std::floor((1.0f - local.y) * 0.5f * size));
    return {best, std::clamp(i, 0, size - 1), std::clamp(j, 0, size - 1)};
}

int difference(const Picture& a, int ai, int aj, const Picture& b, int bi, int bj) {
    int sum = 0;
    for (int c = 0; c < 3; ++c) sum += std::abs(a.at(ai, aj, c) - b.at(bi, bj, c));
    return sum;
}

// Along every edge, a texel and the texel just across the edge on the
// neighbouring face differ no more than a texel and its neighbour inside the
// face do. A face written mirrored or turned would put unrelated sky side by
// side there.
TEST(SkyImages, FacesMeetWithoutSeams) {
    std::array<Picture, 6> pictures;
    for (int f = 0; f < 6; ++f) {
        pictures[f] = loadPicture(nox::test::resourceDir() / "textures" / quads[f].file);
        ASSERT_EQ(pictures[f].width, nox::studio::skyFaceSize) << quads[f].file;
    }
    const int size = pictures[0].width;
    for (int f = 0; f < 6; ++f) {
        double across = 0.0;
        double inside = 0.0;
        int count = 0;
        for (int side = 0; side < 4; ++side) {
            for (int t = 0; t < size; ++t) {
                // Edge texel, the texel one step inward, and the point one step outward.
                const int i = side == 0 ? 0 : side == 1 ? size - 1 : t;
                const int j = side == 2 ? 0 : side == 3 ? size - 1 : t;
                const int di = side == 0 ? -1 : side == 1 ? 1 : 0;
                const int dj = side == 2 ? -1 : side == 3 ? 1 : 0;
                const glm::vec3 beyond =
                    rendererDirection(quads[f], static_cast<float>(i + di), static_cast<float>(j + dj), size);
                const Hit hit = locate(beyond, size);
                ASSERT_NE(hit.face, f);
                across += difference(pictures[f], i, j, pictures[hit.face], hit.i, hit.j);
                inside += difference(pictures[f], i, j, pictures[f], i - di, j - dj);
                ++count;
            }
        }
        EXPECT_LE(across / count, 1.5 * inside / count + 1.5) << quads[f].file;
    }
}

TEST(SkyImages, DarkerBelowTheHorizonThanOverhead) {
    const Picture top = loadPicture(nox::test::resourceDir() / "textures" / "top.png");
    const Picture bottom = loadPicture(nox::test::resourceDir() / "textures" / "bottom.png");
    auto median = [](const Picture& p) {
        std::vector<int> blue;
        for (int y = 0; y < p.height; y += 7) {
            for (int x = 0; x < p.width; x += 7) blue.push_back(p.at(x, y, 2));
        }
        std::nth_element(blue.begin(), blue.begin() + blue.size() / 2, blue.end());
        return blue[blue.size() / 2];
    };
    EXPECT_GT(median(top), median(bottom) + 20);
}

}  // namespace
