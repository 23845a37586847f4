#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "assets/Mesh.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::Mesh;
using nox::test::bufferFloats;

class MeshTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(nox::test::glErrorReport(), ""); }
};

GLint attributeBuffer(GLuint vao, GLuint index) {
    glBindVertexArray(vao);
    GLint buffer = 0;
    glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
    glBindVertexArray(0);
    return buffer;
}

TEST_F(MeshTest, BuffersAreKeptInCreationOrderAndReleasedWithTheMesh) {
    const float positions[] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    const float normals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1};
    const GLuint indices[] = {0, 1, 2};
    std::vector<GLuint> names;
    GLuint vao = 0;
    {
        Mesh mesh;
        vao = mesh.vao;
        mesh.addAttribute(0, 3, positions, 9);
        mesh.addIndexBuffer(indices, 3);
        mesh.addAttribute(2, 3, normals, 9);
        ASSERT_EQ(mesh.vbos.size(), 3u);
        EXPECT_EQ(attributeBuffer(vao, 0), static_cast<GLint>(mesh.vbos[0]));
        EXPECT_EQ(attributeBuffer(vao, 2), static_cast<GLint>(mesh.vbos[2]));
        EXPECT_EQ(bufferFloats(mesh.vbos[2]), std::vector<float>(std::begin(normals), std::end(normals)));

        // The element buffer stays recorded in the vertex array.
        glBindVertexArray(vao);
        GLint elements = 0;
        glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elements);
        glBindVertexArray(0);
        EXPECT_EQ(elements, static_cast<GLint>(mesh.vbos[1]));

        // Uploads leave the arrays disabled: enabling them is the draw's job.
        glBindVertexArray(vao);
        GLint enabled = 1;
        glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glBindVertexArray(0);
        EXPECT_EQ(enabled, GL_FALSE);
        names.assign(mesh.vbos.begin(), mesh.vbos.end());
    }
    EXPECT_EQ(glIsVertexArray(vao), GL_FALSE);
    for (GLuint name : names) EXPECT_EQ(glIsBuffer(name), GL_FALSE);
}

TEST_F(MeshTest, TheSameIndexTwiceKeepsBothBuffersAndTheLaterWins) {
    const float first[] = {1, 2, 3, 4};
    const float second[] = {5, 6, 7, 8, 9, 10};
    std::vector<GLuint> names;
    {
        Mesh mesh;
        mesh.addAttribute(1, 2, first, 4);
        mesh.addAttribute(1, 3, second, 6);
        ASSERT_EQ(mesh.vbos.size(), 2u);
        EXPECT_EQ(attributeBuffer(mesh.vao, 1), static_cast<GLint>(mesh.vbos[1]));
        names.assign(mesh.vbos.begin(), mesh.vbos.end());
    }
    for (GLuint name : names) EXPECT_EQ(glIsBuffer(name), GL_FALSE);
}

TEST_F(MeshTest, AnEmptyMeshReleasesOnlyItsVertexArray) {
    GLuint unrelated = 0;
    glGenBuffers(1, &unrelated);
    glBindBuffer(GL_ARRAY_BUFFER, unrelated);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    GLuint vao = 0;
    {
        Mesh mesh;
        vao = mesh.vao;
        EXPECT_TRUE(mesh.vbos.empty());
        EXPECT_EQ(glIsVertexArray(vao), GL_FALSE);  // a name only, until first bound
    }
    EXPECT_EQ(glIsBuffer(unrelated), GL_TRUE);
    glDeleteBuffers(1, &unrelated);
}

TEST_F(MeshTest, MovingHandsOverOwnershipAndSharingOwnsNothing) {
    const float positions[] = {0, 0, 1, 0, 0, 1};
    Mesh source;
    source.addAttribute(0, 2, positions, 6);
    source.vertexCount = 3;
    const GLuint vao = source.vao;
    const GLuint buffer = source.vbos[0];

    {
        const nox::SharedMesh copy = source.share();
        EXPECT_EQ(copy.vao, vao);
        EXPECT_EQ(copy.vbos, std::vector<GLuint>(source.vbos.begin(), source.vbos.end()));
        EXPECT_EQ(copy.vertexCount, 3);
    }
    EXPECT_EQ(glIsBuffer(buffer), GL_TRUE);  // the copy released nothing

    {
        Mesh moved(std::move(source));
        EXPECT_EQ(moved.vao, vao);
        EXPECT_EQ(source.vao, 0u);  // NOLINT(bugprone-use-after-move): what moving leaves behind
        EXPECT_TRUE(source.vbos.empty());
        Mesh assigned;
        const GLuint replaced = assigned.vao;
        glBindVertexArray(replaced);
        glBindVertexArray(0);
        assigned = std::move(moved);
        EXPECT_EQ(glIsVertexArray(replaced), GL_FALSE);  // the old contents went
        EXPECT_EQ(glIsBuffer(buffer), GL_TRUE);
    }
    EXPECT_EQ(glIsBuffer(buffer), GL_FALSE);
    EXPECT_EQ(glIsVertexArray(vao), GL_FALSE);
}

TEST_F(MeshTest, TheSharedCubeAndQuadHoldTheirFixedTables) {
    const Mesh& cube = nox::getCubeMesh();
    EXPECT_EQ(&cube, &nox::getCubeMesh());
    EXPECT_EQ(cube.vertexCount, 36);
    ASSERT_EQ(cube.vbos.size(), 1u);
    const std::vector<float> corners = bufferFloats(cube.vbos[0]);
    ASSERT_EQ(corners.size(), 108u);
    const std::vector<float> firstTriangle(corners.begin(), corners.begin() + 9);
    EXPECT_EQ(firstTriangle, (std::vector<float>{-1, -1, -1, -1, -1, 1, -1, 1, 1}));
    const std::vector<float> lastTriangle(corners.end() - 9, corners.end());
    EXPECT_EQ(lastTriangle, (std::vector<float>{1, 1, 1, -1, 1, 1, 1, -1, 1}));
    for (float c : corners) EXPECT_EQ(std::abs(c), 1.0f);

    const Mesh& quad = nox::getQuadMesh();
    EXPECT_EQ(quad.vertexCount, 6);
    ASSERT_EQ(quad.vbos.size(), 1u);
    EXPECT_EQ(bufferFloats(quad.vbos[0]), (std::vector<float>{-1, 1, -1, -1, 1, 1, 1, 1, -1, -1, 1, -1}));
    GLint components = 0;
    glBindVertexArray(quad.vao);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_SIZE, &components);
    glBindVertexArray(0);
    EXPECT_EQ(components, 2);
}

}  // namespace
