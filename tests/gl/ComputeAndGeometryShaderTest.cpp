#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "shaders/ComputeShader.h"
#include "shaders/GeometryShader.h"
#include "tests/support/GlFunctionHook.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::test::GlFunctionHook;
using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char* const computeSource = R"(#version 430 core
layout(local_size_x = 1) in;
uniform float fill;
layout(std430, binding = 0) buffer Values { float values[]; };
void main() { values[0] = fill; }
)";

// Writes each stage file and returns the stem.
std::string writeStages(const std::string& name, const std::vector<std::pair<const char*, const char*>>& stages) {
    std::string stem = testing::TempDir() + "noxvale_stages_" + name;
    for (const auto& [extension, source] : stages) std::ofstream(stem + extension) << source;
    return stem;
}

class FillShader : public nox::main::ComputeShader {
public:
    explicit FillShader(const std::string& stem) : ComputeShader(stem) {
        linkProgram();
        getAllUniformLocations();
    }

    GLint fill = -1;

protected:
    void getAllUniformLocations() override { fill = getUniformLocation("fill"); }
};

class PointShader : public nox::main::GeometryShader {
public:
    explicit PointShader(const std::string& stem) : GeometryShader(stem) { buildProgram(); }

protected:
    void bindAttributes() override { bindAttribute(0, "position"); }
    void getAllUniformLocations() override {}
};

std::vector<GLuint>& detachedStages() {
    static std::vector<GLuint> stages;
    return stages;
}

using DetachHook = GlFunctionHook<__glewDetachShader>;
void GLAPIENTRY recordDetach(GLuint program, GLuint stage) {
    detachedStages().push_back(stage);
    DetachHook::original(program, stage);
}

GLuint GLAPIENTRY refuseShader(GLenum) {
    return 0;
}

std::vector<GLuint> attachedStages(GLuint program) {
    GLuint stages[4] = {};
    GLsizei count = 0;
    glGetAttachedShaders(program, 4, &count, stages);
    return std::vector<GLuint>(stages, stages + count);
}

// Destroys the program and returns the stages in the order it detached them.
template <typename Program>
std::vector<GLuint> destroy(std::unique_ptr<Program>& program) {
    detachedStages().clear();
    DetachHook hook(recordDetach);
    program.reset();
    return detachedStages();
}

class ShaderBaseTest : public testing::Test {
protected:
    // A failing stage makes GL report errors too; those tests drain them.
    void TearDown() override { EXPECT_EQ(nox::test::glErrorReport(), ""); }
};

TEST_F(ShaderBaseTest, AComputeProgramBuildsItsOneStageAndReleasesEverything) {
    CaptureStderr();
    auto shader = std::make_unique<FillShader>(writeStages("fill", {{".comp", computeSource}}));
    EXPECT_EQ(GetCapturedStderr(), "");
    const GLuint program = shader->program;
    const GLuint stage = shader->shader;
    EXPECT_EQ(attachedStages(program), std::vector<GLuint>{stage});
    GLint type = 0;
    glGetShaderiv(stage, GL_SHADER_TYPE, &type);
    EXPECT_EQ(type, GL_COMPUTE_SHADER);
    EXPECT_GE(shader->fill, 0);

    glUseProgram(program);
    EXPECT_EQ(destroy(shader), std::vector<GLuint>{stage});
    GLint current = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, 0);
    EXPECT_FALSE(glIsProgram(program));
    EXPECT_FALSE(glIsShader(stage));
}

TEST_F(ShaderBaseTest, AFailingComputeStageIsStillAttachedLinkedAndValidatedEachPrintingItsMessage) {
    CaptureStderr();
    FillShader shader(writeStages("broken", {{".comp", "#version 430 core\nvoid main() { oops }\n"}}));
    const std::string printed = GetCapturedStderr();

    char log[1024] = {};
    glGetShaderInfoLog(shader.shader, sizeof log, nullptr, log);
    const std::string compileMessage = std::string("Error compiling shader!: '") + log + "'\n";
    ASSERT_EQ(printed.rfind(compileMessage, 0), 0u) << printed;
    const size_t link = printed.find("Error linking shader program: '", compileMessage.size());
    ASSERT_NE(link, std::string::npos) << printed;
    EXPECT_NE(printed.find("Invalid shader program: '", link), std::string::npos) << printed;
    EXPECT_EQ(attachedStages(shader.program), std::vector<GLuint>{shader.shader});
    nox::test::glErrorReport();
}

TEST_F(ShaderBaseTest, AComputeStageThatCannotBeCreatedIsNamedByItsType) {
    const std::string stem = writeStages("refused", {{".comp", computeSource}});
    CaptureStderr();
    {
        GlFunctionHook<__glewCreateShader> hook(refuseShader);
        FillShader shader(stem);
    }
    // Object 0 still goes through compiling and its status check.
    EXPECT_EQ(GetCapturedStderr().rfind("Error compiling shader type 37305\nError compiling shader!: '", 0), 0u);
    nox::test::glErrorReport();
}

TEST_F(ShaderBaseTest, AGeometryProgramAttachesAndDetachesVertexGeometryFragmentInOrder) {
    const std::string stem = writeStages(
        "points", {{".vert",
                    "#version 430 core\nlayout(location = 0) in vec4 position;\n"
                    "void main() { gl_Position = position; }\n"},
                   {".geom",
                    "#version 430 core\nlayout(points) in;\nlayout(points, max_vertices = 1) out;\n"
                    "void main() { gl_Position = gl_in[0].gl_Position; EmitVertex(); }\n"},
                   {".frag", "#version 430 core\nout vec4 colour;\nvoid main() { colour = vec4(1.0); }\n"}});
    CaptureStderr();
    auto shader = std::make_unique<PointShader>(stem);
    EXPECT_EQ(GetCapturedStderr(), "");
    const std::vector<GLuint> stages(shader->shaders, shader->shaders + 3);
    EXPECT_EQ(attachedStages(shader->program), stages);
    const GLenum types[3] = {GL_VERTEX_SHADER, GL_GEOMETRY_SHADER, GL_FRAGMENT_SHADER};
    for (int i = 0; i < 3; ++i) {
        GLint type = 0;
        glGetShaderiv(stages[i], GL_SHADER_TYPE, &type);
        EXPECT_EQ(static_cast<GLenum>(type), types[i]);
    }
    EXPECT_EQ(destroy(shader), stages);
}

}  // namespace
