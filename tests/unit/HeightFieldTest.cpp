#include <gtest/gtest.h>

#include <cmath>

#include "terrain/HeightField.h"
#include "terrain/TerrainGeometry.h"
#include "terrain/TerrainRandom.h"

namespace {

using nox::terrain::HeightField;
using nox::terrain::TerrainGeometry;

constexpr float terrainX = -500.0f;  // where the scene places the terrain
constexpr float terrainZ = -500.0f;

// The landscape as the program builds it: the whole grid evaluated once.
class BuiltHeightField : public testing::Test {
protected:
    static void SetUpTestSuite() {
        field = new HeightField;
        geometry = new TerrainGeometry(nox::terrain::buildTerrainGeometry(*field));
    }
    static void TearDownTestSuite() {
        delete geometry;
        delete field;
    }

    static float worldHeight(float x, float z) { return field->getInterpolatedHeight(x - terrainX, z - terrainZ); }

    static HeightField* field;
    static TerrainGeometry* geometry;
};

HeightField* BuiltHeightField::field = nullptr;
TerrainGeometry* BuiltHeightField::geometry = nullptr;

TEST(TerrainRandom, IsTheClassicFifteenBitSequence) {
    nox::terrain::TerrainRandom random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    nox::terrain::TerrainRandom seeded(2);
    for (int i = 0; i < 100000; ++i) {
        const int value = seeded.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST_F(BuiltHeightField, DrawsExactlyOneRandomValuePerCellItTouches) {
    EXPECT_EQ(field->randomDraws(), 65 * 65);
    int computed = 0;
    for (int a = 0; a < HeightField::cellCount; ++a) {
        for (int b = 0; b < HeightField::cellCount; ++b) {
            const bool drawn = field->noiseCache[a * HeightField::cellCount + b] != -1.0f;
            computed += drawn;
            if (drawn) {
                EXPECT_TRUE(a <= 64 && b <= 64) << a << ", " << b;
            }
        }
    }
    EXPECT_EQ(computed, 65 * 65);
}

TEST_F(BuiltHeightField, ReproducesTheReferenceLandscape) {
    EXPECT_NEAR(worldHeight(0, 0), 2.7010f, 1e-4f);
    EXPECT_NEAR(worldHeight(81, -2), 20.9570f, 1e-4f);
    EXPECT_NEAR(worldHeight(65, -5), 20.3103f, 1e-4f);
    EXPECT_NEAR(worldHeight(65, -65), 20.8603f, 1e-4f);
    EXPECT_NEAR(worldHeight(100, 25), 25.7079f, 1e-4f);
    EXPECT_NEAR(worldHeight(4, -102), 22.8633f, 1e-4f);
    EXPECT_FLOAT_EQ(worldHeight(90, -40), 21.0f);  // the plateau
}

TEST_F(BuiltHeightField, TheSameSeedBuildsTheSameLandscapeBitForBit) {
    HeightField again;
    const TerrainGeometry rebuilt = nox::terrain::buildTerrainGeometry(again);
    EXPECT_EQ(rebuilt.positions, geometry->positions);
    EXPECT_EQ(rebuilt.normals, geometry->normals);
    EXPECT_EQ(again.noiseCache, field->noiseCache);
}

// The builder evaluates heights from precomputed tables; they must agree bit
// for bit with evaluating every vertex on its own, in vertex order.
TEST_F(BuiltHeightField, MatchesPerVertexEvaluationBitForBit) {
    HeightField direct;
    for (int x = 0; x < 1001; ++x) {
        for (int z = 0; z < 1001; ++z) {
            const float h = direct.getInterpolatedHeight(static_cast<float>(x), static_cast<float>(z));
            ASSERT_EQ(h, geometry->positions[(static_cast<size_t>(x) * 1001 + z) * 3 + 1]) << x << ", " << z;
        }
    }
    EXPECT_EQ(direct.noiseCache, field->noiseCache);  // same draws into the same cells
    for (int x = 0; x < 1001; x += 7) {
        for (int z : {0, 1, 333, 999, 1000}) {
            const float fx = static_cast<float>(x);
            const float fz = static_cast<float>(z);
            const float dx = direct.getInterpolatedHeight(fx - 1, fz) - direct.getInterpolatedHeight(fx + 1, fz);
            const float dz = direct.getInterpolatedHeight(fx, fz - 1) - direct.getInterpolatedHeight(fx, fz + 1);
            const float inverse = 1.0f / static_cast<float>(std::sqrt(static_cast<double>(dx * dx + 4.0f + dz * dz)));
            const float* n = &geometry->normals[(static_cast<size_t>(x) * 1001 + z) * 3];
            ASSERT_EQ(n[0], dx * inverse) << x << ", " << z;
            ASSERT_EQ(n[1], 2.0f * inverse);
            ASSERT_EQ(n[2], dz * inverse);
        }
    }
}

TEST_F(BuiltHeightField, HeightsStayInRangeAndIntegerQueriesMatchTheVertices) {
    const std::vector<float>& p = geometry->positions;
    for (size_t i = 1; i < p.size(); i += 3) {
        ASSERT_GE(p[i], 0.0f);
        ASSERT_LE(p[i], 40.0f);
    }
    for (int x : {0, 1, 17, 500, 999, 1000}) {
        for (int z : {0, 3, 16, 640, 1000}) {
            const size_t vertex = static_cast<size_t>(x) * 1001 + z;
            EXPECT_EQ(p[vertex * 3], static_cast<float>(x));
            EXPECT_EQ(p[vertex * 3 + 2], static_cast<float>(z));
            EXPECT_EQ(field->getInterpolatedHeight(static_cast<float>(x), static_cast<float>(z)), p[vertex * 3 + 1]);
        }
    }
}

TEST_F(BuiltHeightField, OffTheGridTheGroundMirrorsAndThenFallsToZero) {
    // Truncation toward zero: just below the low edge the first cell repeats,
    // mirrored, because the cosine weight is even in the fraction.
    for (float d : {0.5f, 3.0f, 11.0f}) {
        EXPECT_FLOAT_EQ(field->getInterpolatedHeight(-d, 100.0f), field->getInterpolatedHeight(d, 100.0f)) << d;
        EXPECT_FLOAT_EQ(field->getInterpolatedHeight(100.0f, -d), field->getInterpolatedHeight(100.0f, d)) << d;
    }
    EXPECT_EQ(field->getInterpolatedHeight(-100.0f, -100.0f), 0.0f);
    EXPECT_EQ(field->getInterpolatedHeight(-60.0f, 300.0f), 0.0f);
    EXPECT_GT(field->getInterpolatedHeight(-40.0f, 300.0f), 0.0f);  // still reaches cell 0
    const int draws = field->randomDraws();
    EXPECT_EQ(field->getNoise(-1, 5), 0.0f);
    EXPECT_EQ(field->getNoise(1001, 5), 0.0f);
    EXPECT_EQ(field->randomDraws(), draws);  // nothing drawn for cells off the grid
}

TEST_F(BuiltHeightField, CellsOffTheGridCountAsZeroInTheSmoothing) {
    const float edge = field->getSmoothNoise(0, 20);
    float inside = 0.0f;
    for (int da = 0; da <= 1; ++da) {
        for (int db = -1; db <= 1; ++db) {
            const float weight = (db == 0 ? (da == 0 ? 0.25f : 0.125f) : (da == 0 ? 0.125f : 0.0625f));
            inside += weight * field->getNoise(da, 20 + db);
        }
    }
    EXPECT_FLOAT_EQ(edge, inside);
}

TEST_F(BuiltHeightField, NormalsAreUnitLengthAndFaceUp) {
    const std::vector<float>& n = geometry->normals;
    for (size_t i = 0; i < n.size(); i += 3) {
        const float length = std::sqrt(n[i] * n[i] + n[i + 1] * n[i + 1] + n[i + 2] * n[i + 2]);
        ASSERT_NEAR(length, 1.0f, 1e-5f) << i / 3;
        ASSERT_GT(n[i + 1], 0.0f);
    }
    // On the flat plateau the normal is straight up.
    const size_t plateau = static_cast<size_t>(590) * 1001 + 460;
    EXPECT_FLOAT_EQ(n[plateau * 3 + 1], 1.0f);
}

TEST_F(BuiltHeightField, IndicesFormTwoTrianglesPerSquare) {
    const std::vector<GLuint>& indices = geometry->indices;
    ASSERT_EQ(indices.size(), 6000000u);
    const std::vector<GLuint> first(indices.begin(), indices.begin() + 6);
    EXPECT_EQ(first, (std::vector<GLuint>{0, 1, 1001, 1, 1002, 1001}));
    const std::vector<GLuint> last(indices.end() - 6, indices.end());
    const GLuint k = 1000 * 1001 + 999;
    EXPECT_EQ(last, (std::vector<GLuint>{k - 1001, k - 1000, k, k - 1000, k + 1, k}));
    for (GLuint index : indices) ASSERT_LT(index, 1001u * 1001u);
}

}  // namespace
