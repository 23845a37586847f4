#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <stb/stb_image_write.h>

#include "app/Camera.h"
#include "assets/DecodedImage.h"
#include "assets/GlObject.h"
#include "assets/ImagePrefetch.h"
#include "assets/Texture.h"
#include "shapes/ShapeTextureShader.h"
#include "shapes/Skybox.h"
#include "tests/support/GlTestSupport.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

const std::string directory = testing::TempDir() + "noxvale_textures";

std::string writePng(const std::string& name, int width, int height, int channels, std::vector<unsigned char> pixels) {
    std::system(("mkdir -p " + directory).c_str());
    stbi_write_png((directory + "/" + name).c_str(), width, height, channels, pixels.data(), width * channels);
    return name;
}

// Pixels with every byte different, so a skewed row shows.
std::vector<unsigned char> ramp(int width, int height, int channels) {
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(17 + i * 7);
    return pixels;
}

GLint levelParameter(int level, GLenum name) {
    GLint value = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
    return value;
}

GLint parameter(GLenum name) {
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

class TextureTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(nox::test::glErrorReport(), ""); }

    // Draws a screen-filling quad with the texture bound through the sky
    // shader at full scale and returns the centre pixel.
    static std::array<int, 3> sample(GLuint texture) {
        nox::getCamera() = nox::Camera{};
        nox::shapes::Skybox& skybox = nox::shapes::getSkybox();  // loads its own textures first
        nox::shapes::Shape quad(nox::getQuadMesh(), glm::vec3(0, 0, -1), glm::vec3(0), glm::vec3(1));
        nox::shapes::ShapeTextureShader& shader = nox::shapes::getShapeTextureShader();
        glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0, 0, 0, 1);
        glUseProgram(shader.program);
        glUniform4f(shader.outColorScale, 1, 1, 1, 1);
        glUniform4f(shader.lightColorScale, 0, 0, 0, 1);
        shader.loadViewMatrix();
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, texture);
        skybox.renderTexturedShape(quad, 7);
        glUseProgram(0);
        const nox::test::Image image = nox::test::readBackBuffer();
        const std::uint8_t* p = image.pixel(image.width / 2, image.height / 2);
        return {p[0], p[1], p[2]};
    }
};

TEST_F(TextureTest, ChannelCountsChooseTheFormatWithFullMipChainAndParameters) {
    const struct {
        int channels;
        GLenum format;
    } cases[] = {{1, GL_RED}, {2, GL_RG}, {3, GL_RGB}, {4, GL_RGBA}};
    for (const auto& c : cases) {
        const std::string name =
            writePng("c" + std::to_string(c.channels) + ".png", 16, 8, c.channels, ramp(16, 8, c.channels));
        const GLuint texture = nox::loadTexture(name.c_str(), directory);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(texture)) << "left bound";
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_INTERNAL_FORMAT), static_cast<GLint>(c.format)) << c.channels;
        EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 16);
        EXPECT_EQ(levelParameter(4, GL_TEXTURE_WIDTH), 1);  // 16, 8, 4, 2, 1
        EXPECT_EQ(levelParameter(4, GL_TEXTURE_HEIGHT), 1);
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
        EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
        EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        GLfloat bias = 0;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, &bias);
        EXPECT_FLOAT_EQ(bias, -0.4f);
        glDeleteTextures(1, &texture);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(TextureTest, RowsThatAreNotAMultipleOfFourBytesUploadUnskewed) {
    for (const auto& [width, channels] : {std::pair{5, 3}, std::pair{3, 1}, std::pair{7, 2}}) {
        const std::vector<unsigned char> pixels = ramp(width, 3, channels);
        const std::string name = writePng("odd" + std::to_string(width) + ".png", width, 3, channels, pixels);
        const GLuint texture = nox::loadTexture(name.c_str(), directory);
        std::vector<unsigned char> readBack(pixels.size());
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        const GLenum format = channels == 3 ? GL_RGB : channels == 2 ? GL_RG : GL_RED;
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, readBack.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        EXPECT_EQ(readBack, pixels) << width << " x 3, " << channels << " channels";
        glDeleteTextures(1, &texture);
    }
}

TEST_F(TextureTest, TheTopRowOfTheFileIsTextureRowZero) {
    std::vector<unsigned char> pixels(2 * 2 * 3, 0);
    pixels[0] = 255;  // top-left red
    const std::string name = writePng("top.png", 2, 2, 3, pixels);
    const GLuint texture = nox::loadTexture(name.c_str(), directory);
    std::vector<unsigned char> readBack(pixels.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, readBack.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(readBack[0], 255);
    glDeleteTextures(1, &texture);
}

TEST_F(TextureTest, AMissingOrCorruptFilePrintsTheBareNameAndSamplesBlack) {
    std::ofstream(directory + "/corrupt.png") << "not a picture";
    for (const char* name : {"absent.png", "corrupt.png"}) {
        CaptureStdout();
        const GLuint texture = nox::loadTexture(name, directory);
        EXPECT_EQ(GetCapturedStdout(), std::string("Texture failed to load at path: ") + name + "\n");
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(sample(texture), (std::array<int, 3>{0, 0, 0})) << name;
        glDeleteTextures(1, &texture);
    }
}

// A forged header must not decide how much the decoder reserves; the bound is
// the largest side every GL this renderer runs on accepts.
TEST_F(TextureTest, SidesUpToTheLimitLoadAndALongerSideIsRefusedUndecoded) {
    const int limit = nox::DecodedImage::maxSide;
    const std::string wide = writePng("wide.png", limit, 1, 1, std::vector<unsigned char>(limit, 90));
    const std::string tall = writePng("tall.png", 1, limit + 1, 1, std::vector<unsigned char>(limit + 1, 90));

    CaptureStdout();
    const GLuint loaded = nox::loadTexture(wide.c_str(), directory);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), limit);

    CaptureStdout();
    const GLuint refused = nox::loadTexture(tall.c_str(), directory);
    EXPECT_EQ(GetCapturedStdout(),
              "Texture too large: tall.png claims 1 x 16385 pixels, at most 16384 on a side\n"
              "Texture failed to load at path: tall.png\n");
    EXPECT_EQ(sample(refused), (std::array<int, 3>{0, 0, 0}));
    glDeleteTextures(1, &loaded);
    glDeleteTextures(1, &refused);
}

TEST_F(TextureTest, ALoadedPictureIsWhatTheQuadShows) {
    std::vector<unsigned char> pixels(4 * 4 * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = 200;
        pixels[i + 1] = 120;
        pixels[i + 2] = 40;
    }
    const std::string name = writePng("plain.png", 4, 4, 3, pixels);
    const GLuint texture = nox::loadTexture(name.c_str(), directory);
    const std::array<int, 3> seen = sample(texture);
    EXPECT_NEAR(seen[0], 200, 2);
    EXPECT_NEAR(seen[1], 120, 2);
    EXPECT_NEAR(seen[2], 40, 2);
    glDeleteTextures(1, &texture);
}

// While a prefetch lives the loader takes its pixels from it, and still
// reports a file that does not decode in its own words.
TEST_F(TextureTest, APrefetchedPictureIsTakenAndABrokenOneStillReported) {
    const std::string name = writePng("fetched.png", 2, 2, 3, std::vector<unsigned char>(12, 160));
    std::ofstream(directory + "/corrupt.png") << "not a picture";
    nox::ImagePrefetch prefetch(directory);
    CaptureStdout();
    const GLuint fetched = nox::loadTexture(name.c_str(), directory);
    const GLuint corrupt = nox::loadTexture("corrupt.png", directory);
    EXPECT_EQ(GetCapturedStdout(), "Texture failed to load at path: corrupt.png\n");
    EXPECT_FALSE(prefetch.take(directory + "/" + name)) << "the loader decoded the file again";
    EXPECT_NEAR(sample(fetched)[1], 160, 2);
    glDeleteTextures(1, &fetched);
    glDeleteTextures(1, &corrupt);
}

// A name has one owner at a time: moving hands it on and leaves nothing
// behind to delete twice; the last owner deletes it.
TEST(GlObject, MovingHandsTheNameOnAndTheLastOwnerDeletesIt) {
    nox::TextureObject first(nox::gl::generateTexture());
    const GLuint name = first;
    glBindTexture(GL_TEXTURE_2D, name);  // a name becomes a texture once bound
    glBindTexture(GL_TEXTURE_2D, 0);
    {
        nox::TextureObject second(std::move(first));
        EXPECT_EQ(first.id(), 0u);  // NOLINT(bugprone-use-after-move): what moving leaves behind
        EXPECT_EQ(second.id(), name);
        nox::TextureObject third;
        third = std::move(second);
        EXPECT_EQ(second.id(), 0u);  // NOLINT(bugprone-use-after-move): likewise
        EXPECT_TRUE(glIsTexture(third));
    }
    EXPECT_FALSE(glIsTexture(name));
}

}  // namespace
