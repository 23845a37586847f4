#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::Camera;

std::vector<GLubyte> textureBytes(GLuint texture) {
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<GLubyte> bytes(static_cast<size_t>(width) * height * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

struct Frame {
    std::vector<GLubyte> refraction;
    std::vector<GLubyte> reflection;
    std::vector<GLubyte> picture;
};

size_t differingBytes(const std::vector<GLubyte>& a, const std::vector<GLubyte>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

class TerrainCullingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        loop = new nox::FrameLoop;
        loop->iterate(0.0);  // loads the models
        loop->setManualMode(true);
        nox::deltaTime = 0.0;  // the water holds still between the two renders
    }
    static void TearDownTestSuite() {
        delete loop;
        loop = nullptr;
    }
    void TearDown() override {
        scene().terrain.singleDraw = false;
        nox::getCamera() = Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static nox::Scene& scene() { return loop->sceneObjects(); }

    static Frame render(bool singleDraw) {
        scene().terrain.singleDraw = singleDraw;
        scene().render();
        return {textureBytes(scene().refractionTarget.colourAttachments[0]),
                textureBytes(scene().reflectionTarget.colourAttachments[0]),
                textureBytes(scene().sceneTarget.colourAttachments[0])};
    }

    // Every pass draws the same pixels from the chunks that may be seen as
    // from the whole terrain.
    static void expectSamePictures(const glm::vec3& position, const glm::vec3& rotation) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        const Frame whole = render(true);
        const Frame culled = render(false);
        EXPECT_EQ(differingBytes(whole.refraction, culled.refraction), 0u) << "refraction";
        EXPECT_EQ(differingBytes(whole.reflection, culled.reflection), 0u) << "reflection";
        EXPECT_EQ(differingBytes(whole.picture, culled.picture), 0u) << "scene";
    }

    static nox::FrameLoop* loop;
};

nox::FrameLoop* TerrainCullingTest::loop = nullptr;

TEST_F(TerrainCullingTest, FlightMomentsLookTheSame) {
    for (int key : {2, 6, 10, 13}) {
        SCOPED_TRACE("key frame " + std::to_string(key));
        const nox::Pose& pose = loop->path().keys[static_cast<size_t>(key)];
        expectSamePictures({pose[0], pose[1], pose[2]}, {pose[3], pose[4], pose[5]});
    }
}

TEST_F(TerrainCullingTest, ALowCameraOverTheWaterLooksTheSame) {
    // The mirrored camera sits just under the surface, looking up at the shore.
    expectSamePictures({10.0f, 20.6f, 60.0f}, {2.0f, 0.0f, 0.0f});
}

TEST_F(TerrainCullingTest, LookingStraightDownLooksTheSame) {
    expectSamePictures({0.0f, 80.0f, 0.0f}, {-90.0f, 0.0f, 0.0f});
}

TEST_F(TerrainCullingTest, LookingAtTheHorizonLooksTheSame) {
    expectSamePictures({100.0f, 30.0f, 100.0f}, {0.0f, 45.0f, 0.0f});
}

}  // namespace
