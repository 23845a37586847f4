#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/Mesh.h"
#include "shaders/Shader.h"
#include "shaders/ShaderFunctions.h"
#include "tests/support/GlFunctionHook.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::main::readShaderFile;
using nox::test::GlFunctionHook;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char* const vertexSource = R"(#version 330 core
in vec3 position;
in vec4 colour;
out vec4 passColour;
uniform mat4 transform;
void main() {
    passColour = colour;
    gl_Position = transform * vec4(position, 1.0);
}
)";

const char* const fragmentSource = R"(#version 330 core
in vec4 passColour;
out vec4 outColour;
uniform vec4 tint;
void main() {
    outColour = passColour * tint;
}
)";

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "noxvale_shader_" + name;
}

std::string writeFile(const std::string& name, const std::string& text) {
    std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Writes stem.vert and stem.frag (either may be left out) and returns the stem.
std::string writeStages(const std::string& stem, const char* vertex, const char* fragment) {
    std::remove(tempPath(stem + ".vert").c_str());
    std::remove(tempPath(stem + ".frag").c_str());
    if (vertex) writeFile(stem + ".vert", vertex);
    if (fragment) writeFile(stem + ".frag", fragment);
    return tempPath(stem);
}

// A shader built by the full protocol, binding "colour" to an index the linker
// would not choose by itself.
class TintShader : public nox::main::Shader {
public:
    static constexpr GLuint colourIndex = 5;

    explicit TintShader(const std::string& stem) : Shader(stem) {
        bindAttributes();
        linkProgram();
        getAllUniformLocations();
    }

    GLint location_transform = -1;
    GLint location_tint = -1;
    GLint location_unused = 0;

protected:
    void bindAttributes() override {
        bindAttribute(0, "position");
        bindAttribute(colourIndex, "colour");
    }

    void getAllUniformLocations() override {
        location_transform = getUniformLocation("transform");
        location_tint = getUniformLocation("tint");
        location_unused = getUniformLocation("notInTheProgram");
    }
};

// Something with its own vtable and data in front of the Shader sub-object.
struct FirstBase {
    virtual ~FirstBase() = default;
    virtual int id() const { return 7; }
    double payload[3] = {1, 2, 3};
};

class SecondBaseShader : public FirstBase, public TintShader {
public:
    using TintShader::TintShader;
};

class ShaderTest : public testing::Test {
protected:
    // A shader that fails to build makes GL report the failure too (and an
    // unlinked program answers uniform queries with an error); those tests
    // drain the errors they expect.
    void TearDown() override { EXPECT_EQ(nox::test::glErrorReport(), ""); }

    static void forgetExpectedGlErrors() { nox::test::glErrorReport(); }
};

TEST(ReadShaderFile, AppendsANewlineToEveryReadIncludingTheLastEmptyOne) {
    EXPECT_EQ(readShaderFile(writeFile("ends.txt", "a\nb\n")), "a\nb\n\n");
    EXPECT_EQ(readShaderFile(writeFile("open.txt", "a\nb")), "a\nb\n");
    EXPECT_EQ(readShaderFile(writeFile("empty.txt", "")), "\n");
    EXPECT_EQ(readShaderFile(writeFile("blank.txt", "\n\n")), "\n\n\n");
}

TEST(ReadShaderFile, AMissingFileIsReportedWithItsFullPath) {
    const std::string path = tempPath("does/not/exist.vert");
    CaptureStderr();
    EXPECT_EQ(readShaderFile(path), "");
    EXPECT_EQ(GetCapturedStderr(), "Unable to load shader: " + path + "\n");
}

// An included file's lines are numbered as source string 1, the rest of the
// including file's lines keep their own numbers.
TEST(ReadShaderSource, SplicesIncludedFilesInPlaceAndReportsOnesThatAreMissing) {
    writeFile("shared.glsl", "float shared() { return 1.0; }");
    const std::string stage =
        writeFile("including.frag", "#version 430 core\n#include \"noxvale_shader_shared.glsl\"\nvoid main() {}");
    EXPECT_EQ(nox::main::readShaderSource(stage),
              "#version 430 core\n#line 1 1\nfloat shared() { return 1.0; }\n#line 3 0\nvoid main() {}\n");

    const std::string broken = writeFile("broken.frag", "#include \"absent.glsl\"\nvoid main() {}\n");
    CaptureStderr();
    EXPECT_EQ(nox::main::readShaderSource(broken), "#line 1 1\n#line 2 0\nvoid main() {}\n\n");
    EXPECT_EQ(GetCapturedStderr(), "Unable to load shader: " + testing::TempDir() + "absent.glsl\n");
}

TEST_F(ShaderTest, TheProtocolBindsAttributesBeforeLinkingAndFetchesUniformsAfter) {
    CaptureStderr();
    TintShader shader(writeStages("good", vertexSource, fragmentSource));
    EXPECT_EQ(GetCapturedStderr(), "");

    GLint linked = 0;
    glGetProgramiv(shader.program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
    EXPECT_EQ(glGetAttribLocation(shader.program, "position"), 0);
    EXPECT_EQ(glGetAttribLocation(shader.program, "colour"), static_cast<GLint>(TintShader::colourIndex));
    EXPECT_GE(shader.location_transform, 0);
    EXPECT_GE(shader.location_tint, 0);
    EXPECT_EQ(shader.location_unused, -1);

    GLint shaderCount = 0;
    GLuint attached[2] = {};
    glGetAttachedShaders(shader.program, 2, &shaderCount, attached);
    ASSERT_EQ(shaderCount, 2);
    EXPECT_EQ(attached[0], shader.shaders[0]);
    EXPECT_EQ(attached[1], shader.shaders[1]);
    GLint type = 0;
    glGetShaderiv(shader.shaders[0], GL_SHADER_TYPE, &type);
    EXPECT_EQ(type, GL_VERTEX_SHADER);
    glGetShaderiv(shader.shaders[1], GL_SHADER_TYPE, &type);
    EXPECT_EQ(type, GL_FRAGMENT_SHADER);

    // Setting the unused location is a silent no-op.
    glUseProgram(shader.program);
    glUniform1f(shader.location_unused, 1.0f);
    glUseProgram(0);
}

// Drivers that accept an empty stage and refuse the link instead, or that
// validate lazily, modelled on this one by what it answers.
void APIENTRY compilingEveryStage(GLuint shader, GLenum status, GLint* value) {
    GlFunctionHook<__glewGetShaderiv>::original(shader, status, value);
    if (status == GL_COMPILE_STATUS) *value = GL_TRUE;
}
void APIENTRY validatingLazily(GLuint program, GLenum status, GLint* value) {
    GlFunctionHook<__glewGetProgramiv>::original(program, status, value);
    if (status == GL_VALIDATE_STATUS) *value = GL_TRUE;
}

TEST_F(ShaderTest, AMissingStageIsReportedAndBothStagesStayAttached) {
    const std::string stem = writeStages("novert", nullptr, fragmentSource);
    // A driver may refuse the empty stage when it compiles it, or accept it
    // and fail the link; either way a failure is printed.
    for (const bool compileAccepted : {false, true}) {
        std::optional<GlFunctionHook<__glewGetShaderiv>> acceptingDriver;
        if (compileAccepted) acceptingDriver.emplace(compilingEveryStage);
        CaptureStderr();
        TintShader shader(stem);
        const std::string printed = GetCapturedStderr();

        const std::string missing = "Unable to load shader: " + stem + ".vert\n";
        ASSERT_GE(printed.size(), missing.size());
        EXPECT_EQ(printed.substr(0, missing.size()), missing);
        EXPECT_EQ(printed.find("Error compiling shader!: '") != std::string::npos, !compileAccepted) << printed;
        EXPECT_NE(printed.find("Error linking shader program: '"), std::string::npos) << printed;

        GLint compiled = 0;
        glGetShaderiv(shader.shaders[1], GL_COMPILE_STATUS, &compiled);
        EXPECT_EQ(compiled, GL_TRUE);
        GLint shaderCount = 0;
        glGetProgramiv(shader.program, GL_ATTACHED_SHADERS, &shaderCount);
        EXPECT_EQ(shaderCount, 2);
        EXPECT_EQ(shader.location_tint, -1);  // nothing linked
        forgetExpectedGlErrors();
    }
}

// Without a usable program a draw would fall back to fixed-function drawing
// and paint its untransformed geometry over the picture.
TEST_F(ShaderTest, AProgramThatFailedToLinkCanBeUsedAndDrawsNothing) {
    const std::string stem = writeStages("inert", vertexSource, "#version 330 core\nvoid main() { oops }\n");
    CaptureStderr();
    TintShader shader(stem);
    GetCapturedStderr();
    forgetExpectedGlErrors();  // the compiler's own report of the failure

    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glUseProgram(shader.program);
    glUniform4f(shader.location_tint, 1.0f, 1.0f, 1.0f, 1.0f);
    nox::drawPositionArrays(nox::getQuadMesh().share());
    glUseProgram(0);
    EXPECT_EQ(nox::test::glErrorReport(), "");
    const nox::test::Image image = nox::test::readBackBuffer();
    const std::uint8_t* centre = image.pixel(image.width / 2, image.height / 2);
    EXPECT_EQ(std::vector<int>(centre, centre + 3), (std::vector<int>{51, 102, 153}));

    GLint shaderCount = 0;
    glGetProgramiv(shader.program, GL_ATTACHED_SHADERS, &shaderCount);
    EXPECT_EQ(shaderCount, 2);  // its own stages, for its destructor to release
}

TEST_F(ShaderTest, ACompileErrorPrintsTheInfoLogBetweenQuotes) {
    const std::string stem = writeStages("broken", vertexSource, "#version 330 core\nvoid main() { oops }\n");
    CaptureStderr();
    TintShader shader(stem);
    const std::string printed = GetCapturedStderr();

    char log[1024] = {};
    glGetShaderInfoLog(shader.shaders[1], sizeof log, nullptr, log);
    ASSERT_STRNE(log, "");
    const std::string expected = std::string("Error compiling shader!: '") + log + "'\n";
    EXPECT_EQ(printed.substr(0, expected.size()), expected);
    forgetExpectedGlErrors();
}

TEST_F(ShaderTest, AProgramThatCannotRunIsReportedAfterItsLinkOrRefusedAtTheDraw) {
    // Two sampler types on the same (default) unit link, but cannot run.
    const char* fragment = R"(#version 330 core
in vec4 passColour;
out vec4 outColour;
uniform vec4 tint;
uniform sampler2D flatTexture;
uniform samplerCube skyTexture;
void main() {
    outColour = passColour * tint + texture(flatTexture, vec2(0.5)) + texture(skyTexture, vec3(1.0));
}
)";
    const std::string stem = writeStages("invalid", vertexSource, fragment);
    for (const bool validatedLazily : {false, true}) {
        std::optional<GlFunctionHook<__glewGetProgramiv>> lazyDriver;
        if (validatedLazily) lazyDriver.emplace(validatingLazily);
        CaptureStderr();
        TintShader shader(stem);
        const std::string printed = GetCapturedStderr();
        lazyDriver.reset();
        EXPECT_EQ(printed.find("Error linking"), std::string::npos);
        if (!validatedLazily) {
            EXPECT_EQ(printed.rfind("Invalid shader program: '", 0), 0u) << printed;
            EXPECT_EQ(printed.back(), '\n');
            continue;
        }
        // Passed by validation, the program is still refused where it draws.
        EXPECT_EQ(printed, "");
        glUseProgram(shader.program);
        nox::drawPositionArrays(nox::getQuadMesh().share());
        glUseProgram(0);
        EXPECT_NE(nox::test::glErrorReport(), "") << "a program that cannot run was neither reported nor refused";
    }
}

TEST_F(ShaderTest, WorksAsASecondBaseAndReleasesEverythingThroughEitherBase) {
    const std::string stem = writeStages("second", vertexSource, fragmentSource);
    auto shader = std::make_unique<SecondBaseShader>(stem);
    nox::main::Shader* asShader = shader.get();
    ASSERT_NE(static_cast<void*>(asShader), static_cast<void*>(shader.get()));
    EXPECT_EQ(shader->id(), 7);
    EXPECT_EQ(shader->payload[2], 3.0);
    EXPECT_EQ(glGetAttribLocation(asShader->program, "colour"), static_cast<GLint>(TintShader::colourIndex));
    EXPECT_GE(shader->location_tint, 0);

    const GLuint program = asShader->program;
    const GLuint vertex = asShader->shaders[0];
    const GLuint fragment = asShader->shaders[1];
    glUseProgram(program);
    std::unique_ptr<FirstBase> owner(shader.release());
    owner.reset();
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_EQ(glIsProgram(program), GL_FALSE);
    EXPECT_EQ(glIsShader(vertex), GL_FALSE);
    EXPECT_EQ(glIsShader(fragment), GL_FALSE);
}

}  // namespace
