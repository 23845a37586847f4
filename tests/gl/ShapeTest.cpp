#include <gtest/gtest.h>

#include <utility>

#include "app/Camera.h"
#include "app/Scene.h"
#include "app/Transform.h"
#include "shapes/ShapeShader.h"
#include "shapes/ShapeTextureShader.h"
#include "shapes/Skybox.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::shapes::Shape;

GLboolean isOn(GLenum capability) {
    return glIsEnabled(capability);
}

GLboolean depthMask() {
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    return mask;
}

class ShapeTest : public testing::Test {
protected:
    void SetUp() override {
        nox::getCamera() = nox::Camera{};
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void TearDown() override {
        glUseProgram(0);
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static std::array<int, 3> centrePixel() {
        const nox::test::Image image = nox::test::readBackBuffer();
        const std::uint8_t* p = image.pixel(image.width / 2, image.height / 2);
        return {p[0], p[1], p[2]};
    }

    static void useTextureShader(const glm::vec4& colourScale) {
        nox::shapes::ShapeTextureShader& shader = nox::shapes::getShapeTextureShader();
        glUseProgram(shader.program);
        glUniform4fv(shader.outColorScale, 1, &colourScale[0]);
        glUniform4f(shader.lightColorScale, 0, 0, 0, 1);
        shader.loadViewMatrix();
    }

    // A 1 x 1 texture of one colour, owned by the caller.
    static GLuint solidTexture(const std::array<unsigned char, 4>& rgba) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        return texture;
    }

    Shape quadAhead{nox::getQuadMesh(), glm::vec3(0, 0, -2), glm::vec3(0), glm::vec3(1)};
};

TEST_F(ShapeTest, DrawingWithoutDepthTurnsDepthTestAndWritesBackOn) {
    nox::shapes::ShapeShader& shader = nox::shapes::getShapeShader();
    glUseProgram(shader.program);
    shader.loadViewMatrix();
    glUniform4f(shader.color, 1, 0, 0, 1);
    for (bool startOn : {false, true}) {
        startOn ? glEnable(GL_DEPTH_TEST) : glDisable(GL_DEPTH_TEST);
        glDepthMask(startOn ? GL_TRUE : GL_FALSE);
        nox::shapes::renderShapeWithoutDepth(quadAhead);
        EXPECT_TRUE(isOn(GL_DEPTH_TEST));
        EXPECT_TRUE(depthMask());
    }
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, static_cast<GLint>(shader.program));  // left in use
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{255, 0, 0}));
}

TEST_F(ShapeTest, ADepthTestedShapeHidesBehindNearerGeometry) {
    nox::shapes::ShapeShader& shader = nox::shapes::getShapeShader();
    glUseProgram(shader.program);
    shader.loadViewMatrix();
    glDisable(GL_DEPTH_TEST);
    glUniform4f(shader.color, 0, 1, 0, 1);
    nox::shapes::renderShape(quadAhead);
    EXPECT_TRUE(isOn(GL_DEPTH_TEST));
    Shape cubeBehind(nox::getCubeMesh(), glm::vec3(0, 0, -10), glm::vec3(0), glm::vec3(1));
    glUniform4f(shader.color, 0, 0, 1, 1);
    nox::shapes::renderShape(cubeBehind);
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{0, 255, 0}));
    nox::shapes::renderShapeWithoutDepth(cubeBehind);
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{0, 0, 255}));
}

// The sky's edge-clamping sampler must not stay on unit 0, where every later
// draw would sample its textures through it.
TEST_F(ShapeTest, TexturedDrawsAlwaysLeaveBlendingOffDepthTestOnAndNoSampler) {
    useTextureShader(glm::vec4(1));
    nox::shapes::Skybox& skybox = nox::shapes::getSkybox();
    glActiveTexture(GL_TEXTURE0);
    for (unsigned index : {0u, 5u, 6u, 7u}) {
        glEnable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        skybox.renderTexturedShape(quadAhead, index);
        EXPECT_FALSE(isOn(GL_BLEND)) << index;
        EXPECT_TRUE(isOn(GL_DEPTH_TEST)) << index;
        GLint sampler = -1;
        glGetIntegerv(GL_SAMPLER_BINDING, &sampler);
        EXPECT_EQ(sampler, 0) << index;
    }
}

TEST_F(ShapeTest, AnIndexAboveTheMoonUsesThePlainMatrixAndTheBoundTexture) {
    const GLuint red = solidTexture({255, 0, 0, 255});
    useTextureShader(glm::vec4(1));
    nox::shapes::Skybox& skybox = nox::shapes::getSkybox();
    glBindTexture(GL_TEXTURE_2D, red);
    skybox.renderTexturedShape(quadAhead, 7);
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{255, 0, 0}));

    // Laid flat, the quad is edge-on to the camera and covers nothing: no
    // billboard turns it round.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Shape flat(nox::getQuadMesh(), glm::vec3(0, 0, -2), glm::vec3(90, 0, 0), glm::vec3(1));
    skybox.renderTexturedShape(flat, 7);
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{0, 0, 0}));
    glDeleteTextures(1, &red);
}

TEST_F(ShapeTest, TheMoonIsCutOutByItsAlphaWhateverBlendFunctionWasLeft) {
    nox::TextureObject clear(solidTexture({255, 255, 255, 0}));
    nox::shapes::Skybox& skybox = nox::shapes::getSkybox();
    std::swap(skybox.textures[nox::shapes::Skybox::moonIndex], clear);

    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glBlendFunc(GL_ONE, GL_ZERO);
    useTextureShader(glm::vec4(1));
    Shape moonQuad(nox::getQuadMesh(), glm::vec3(0, 0, -2), glm::vec3(90, 0, 0), glm::vec3(1));
    skybox.renderTexturedShape(moonQuad, nox::shapes::Skybox::moonIndex);
    EXPECT_EQ(centrePixel(), (std::array<int, 3>{0, 0, 255}));

    std::swap(skybox.textures[nox::shapes::Skybox::moonIndex], clear);
}

TEST_F(ShapeTest, TheBillboardFacesTheCameraFromEveryDirection) {
    const Shape moon(nox::getQuadMesh(), glm::vec3(-450, 362, -345), glm::vec3(90, 0, 0), glm::vec3(50));
    const glm::vec3 rotations[] = {{0, 0, 0}, {-14, -52, 0}, {30, 200, 10}, {-80, 437.4f, -25}, {89, 90, 45}};
    for (const glm::vec3& rotation : rotations) {
        nox::getCamera().position = glm::vec3(20, 30, -40);
        nox::getCamera().rotation = rotation;
        const glm::mat4 view = nox::getViewMatrix();
        const glm::mat4 model = nox::shapes::billboardMatrix(moon, view);
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) EXPECT_EQ(model[c][r], view[r][c] * 50.0f);
        }
        // In view space the quad is upright, unrotated and scaled by 50.
        const glm::mat4 inView = view * model;
        for (int c = 0; c < 3; ++c) {
            for (int r = 0; r < 3; ++r) EXPECT_NEAR(inView[c][r], c == r ? 50.0f : 0.0f, 1e-3f);
        }
        EXPECT_EQ(glm::vec3(model[3]), moon.position);
    }
}

TEST(SceneLayout, QuadsAndLightCubesStandWhereTheSceneNeedsThem) {
    nox::Scene scene;
    const glm::mat4 front = scene.quads[0].modelMatrix();
    // The front face lies in the plane z = -500 and faces the origin.
    const glm::vec4 corner = front * glm::vec4(1, 1, 0, 1);
    EXPECT_NEAR(corner.z, -500.0f, 1e-3f);
    EXPECT_NEAR(std::abs(corner.x), 500.0f, 1e-3f);
    const unsigned expected[] = {4, 2, 1, 0, 3, 5, 6};
    for (int quad = 0; quad < 7; ++quad) EXPECT_EQ(nox::skyTextureIndex(quad), expected[quad]);
    EXPECT_EQ(scene.quads[6].position, glm::vec3(-450, 362, -345));
    EXPECT_EQ(scene.quads[6].scale, glm::vec3(50));
    EXPECT_EQ(scene.quads[4].rotation, glm::vec3(90, 0, 180));
    EXPECT_EQ(scene.lightCube1.position, glm::vec3(70, 29, -15));
    EXPECT_EQ(scene.lightCube2.position, glm::vec3(65, 29.47f, -65));
    EXPECT_EQ(scene.lightCube2.scale, glm::vec3(0.3f));
    EXPECT_EQ(scene.lightCube1.vao, nox::getCubeMesh().vao);
    EXPECT_EQ(scene.quads[3].vao, nox::getQuadMesh().vao);

    // Every face's centre lies 500 units out along its own axis, and the six
    // together cover the six directions.
    glm::vec3 sum(0);
    for (int face = 0; face < nox::Scene::skyFaceCount; ++face) {
        const glm::vec3 centre(scene.quads[face].modelMatrix() * glm::vec4(0, 0, 0, 1));
        EXPECT_NEAR(glm::length(centre), 500.0f, 1e-3f);
        sum += centre;
    }
    EXPECT_NEAR(glm::length(sum), 0.0f, 1e-3f);
}

}  // namespace

namespace {

// Frames of the real sky and moon, drawn as the scene pass draws them.
class SkyFrame : public testing::Test {
protected:
    void SetUp() override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
    void TearDown() override {
        nox::getCamera() = nox::Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static nox::test::Image render(const glm::vec3& position, const glm::vec3& rotation) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        static const nox::SkyQuads quads = nox::placeSkyQuads();  // needs the context: built on first use
        nox::renderSky(quads);
        return nox::test::readBackBuffer();
    }

    static float luma(const std::uint8_t* p) { return 0.2126f * p[0] + 0.7152f * p[1] + 0.0722f * p[2]; }
};

TEST_F(SkyFrame, TheMoonShowsWhereTheProjectionPutsIt) {
    const glm::vec3 moon(-450, 362, -345);
    for (const auto& [position, rotation] :
         {std::pair{glm::vec3(0, 30, 0), glm::vec3(28, 44, 0)}, std::pair{glm::vec3(60, 25, -40), glm::vec3(20, 40, 5)},
          std::pair{glm::vec3(-100, 60, 80), glm::vec3(35, 62, 0)}}) {
        const nox::test::Image image = render(position, rotation);
        const glm::vec4 clip = nox::projection * nox::getViewMatrix() * glm::vec4(moon, 1.0f);
        const glm::vec2 expected((clip.x / clip.w * 0.5f + 0.5f) * image.width,
                                 (clip.y / clip.w * 0.5f + 0.5f) * image.height);
        // The disc's extent: bright runs wider than any star, maria included.
        constexpr float discLuma = 100.0f;
        constexpr int widerThanAStar = 12;
        glm::ivec2 low(image.width, image.height);
        glm::ivec2 high(-1, -1);
        for (int y = 0; y < image.height; ++y) {
            int run = 0;
            for (int x = 0; x < image.width; ++x) {
                run = luma(image.pixel(x, y)) > discLuma ? run + 1 : 0;
                if (run >= widerThanAStar) {
                    low = glm::min(low, glm::ivec2(x - run + 1, y));
                    high = glm::max(high, glm::ivec2(x, y));
                }
            }
        }
        ASSERT_GT(high.x - low.x, 50) << "no moon disc";
        const glm::vec2 centre = (glm::vec2(low) + glm::vec2(high) + 1.0f) * 0.5f;
        EXPECT_NEAR(centre.x, expected.x, 3.0f);
        EXPECT_NEAR(centre.y, expected.y, 3.0f);
    }
}

// Looking straight along an edge of the box puts the edge between the two
// middle columns. Across it the picture may change as much as it changes over
// one texel inside a face (two columns here), but no more: a seam adds a step.
TEST_F(SkyFrame, FacesMeetWithoutASeam) {
    struct Edge {
        const char* name;
        glm::vec3 rotation;
        bool vertical;  // the edge runs up the screen (else across it)
    };
    const Edge edges[] = {{"front-right", {20, -45, 0}, true},
                          {"front-left", {30, 45, 0}, true},
                          {"back-right", {15, -135, 0}, true},
                          {"front-top", {45, 0, 0}, false},
                          {"right-top", {45, -90, 0}, false}};
    for (const Edge& edge : edges) {
        const nox::test::Image image = render(glm::vec3(0), edge.rotation);
        constexpr int starCap = 12;
        const int middle = (edge.vertical ? image.width : image.height) / 2 - 1;
        const int length = edge.vertical ? image.height : image.width;
        // Mean change per line between the line at `from` and the one `gap` further.
        const auto step = [&](int from, int gap) {
            float total = 0.0f;
            for (int i = 0; i < length; ++i) {
                const std::uint8_t* p = edge.vertical ? image.pixel(from, i) : image.pixel(i, from);
                const std::uint8_t* q = edge.vertical ? image.pixel(from + gap, i) : image.pixel(i, from + gap);
                int change = 0;
                for (int c = 0; c < 3; ++c) change += std::abs(p[c] - q[c]);
                // A star on the line changes far more than any seam; capping
                // each line keeps a few stars from deciding the outcome.
                total += static_cast<float>(std::min(change, starCap));
            }
            return total / static_cast<float>(length);
        };
        const float across = step(middle, 1);
        const float overATexel =
            (step(middle - 8, 2) + step(middle - 5, 2) + step(middle + 4, 2) + step(middle + 7, 2)) / 4.0f;
        EXPECT_LT(across, overATexel) << edge.name << ": " << across << " vs " << overATexel;
    }
}

}  // namespace
