#include <gtest/gtest.h>

#include <memory>

#include "app/Camera.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainShader.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::terrain::Terrain;

const std::vector<nox::Light> lamps{{{70, 29, -15}, {0.94f, 0.73f, 0.016f}, {1, 0.005f, 0.001f}},
                                    {{65, 29.47f, -65}, {0.94f, 0.73f, 0.016f}, {1, 0.005f, 0.001f}}};

class TerrainTest : public testing::Test {
protected:
    static void SetUpTestSuite() { terrain = std::make_unique<Terrain>(glm::vec3(-500, 0, -500)); }
    static void TearDownTestSuite() { terrain.reset(); }

    void SetUp() override {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    }

    void TearDown() override {
        glUseProgram(0);
        glDisable(GL_CLIP_DISTANCE0);
        nox::getCamera() = nox::Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static void draw(const glm::vec4& clipPlane = glm::vec4(0), const std::vector<nox::Light>& lights = lamps) {
        nox::terrain::TerrainShader& shader = nox::terrain::getTerrainShader();
        glUseProgram(shader.program);
        glUniform4fv(shader.clipPlane, 1, &clipPlane[0]);
        nox::terrain::renderTerrain(*terrain, lights);
        glUseProgram(0);
    }

    static int centreBrightness() {
        const nox::test::Image image = nox::test::readBackBuffer();
        const std::uint8_t* p = image.pixel(image.width / 2, image.height / 2);
        return p[0] + p[1] + p[2];
    }

    static bool centreIsBackground() {
        const nox::test::Image image = nox::test::readBackBuffer();
        const std::uint8_t* p = image.pixel(image.width / 2, image.height / 2);
        return p[0] == 255 && p[1] == 0 && p[2] == 255;
    }

    static std::unique_ptr<Terrain> terrain;
};

std::unique_ptr<Terrain> TerrainTest::terrain;

TEST_F(TerrainTest, UploadsPositionsNormalsAndIndicesIntoOneVertexArray) {
    ASSERT_EQ(terrain->vbos.size(), 3u);
    EXPECT_EQ(terrain->vertexCount, 6000000);
    EXPECT_EQ(terrain->heights.randomDraws(), 65 * 65);
    glBindVertexArray(terrain->vao);
    GLint elements = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
    GLint normals = 0;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &normals);
    glBindVertexArray(0);
    EXPECT_EQ(elements, static_cast<GLint>(terrain->vbos[2]));
    EXPECT_EQ(normals, static_cast<GLint>(terrain->vbos[1]));
    GLint bytes = 0;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, terrain->vbos[2]);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &bytes);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    EXPECT_EQ(bytes, 24000000);
    EXPECT_NEAR(terrain->getHeightOfTerrain(81, -2), 20.9570f, 1e-4f);
}

TEST_F(TerrainTest, DrawingLeavesBackFaceCullingOnWhateverItWas) {
    nox::getCamera().position = {90, 60, -40};
    nox::getCamera().rotation = {-90, 0, 0};
    for (GLenum culled : {GL_FRONT, GL_BACK}) {
        glDisable(GL_CULL_FACE);
        glCullFace(culled);
        draw();
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        GLint face = 0;
        glGetIntegerv(GL_CULL_FACE_MODE, &face);
        EXPECT_EQ(face, GL_BACK);
    }
    EXPECT_FALSE(centreIsBackground());
}

TEST_F(TerrainTest, TheGroundIsVisibleFromBelow) {
    glEnable(GL_CULL_FACE);
    nox::getCamera().position = {90, -30, -40};
    nox::getCamera().rotation = {90, 0, 0};  // looking straight up at the plateau's underside
    draw();
    EXPECT_FALSE(centreIsBackground());
}

TEST_F(TerrainTest, TheClipPlaneCutsAwayGroundAboveTheWater) {
    nox::getCamera().position = {90, 60, -40};
    nox::getCamera().rotation = {-90, 0, 0};  // straight down at the plateau, 21 high
    glEnable(GL_CLIP_DISTANCE0);
    draw(glm::vec4(0, -1, 0, 20.2f));  // keeps what lies below 20.2
    EXPECT_TRUE(centreIsBackground());
    draw(glm::vec4(0, 1, 0, -20.2f));  // keeps what lies above
    EXPECT_FALSE(centreIsBackground());
}

// Each street light lights a pool of snow below it: seen from straight above
// a lamp, the ground is much brighter with the lamps than with dark ones.
TEST_F(TerrainTest, EachLampLightsThePoolOfSnowBelowIt) {
    std::vector<nox::Light> unlit = lamps;
    for (nox::Light& lamp : unlit) lamp.colour = glm::vec3(0.0f);
    for (const nox::Light& lamp : lamps) {
        nox::getCamera().position = lamp.position + glm::vec3(0, 15, 0);
        nox::getCamera().rotation = {-90, 0, 0};
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw(nox::terrain::keepEverything);
        const int lit = centreBrightness();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw(nox::terrain::keepEverything, unlit);
        const int dark = centreBrightness();
        EXPECT_GT(lit, dark + 150) << "below the lamp at x " << lamp.position.x << ": " << lit << " against " << dark;
    }
}

}  // namespace
