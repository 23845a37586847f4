#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <assimp/material.h>
#include <assimp/scene.h>
#include <stb/stb_image_write.h>

#include "app/Camera.h"
#include "app/CameraPath.h"
#include "app/ScenePopulation.h"
#include "app/Transform.h"
#include "app/Window.h"
#include "assets/AssimpShader.h"
#include "assets/ModelLoader.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainShader.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::assimp::MaterialTexture;
using nox::assimp::ModelLoader;
using nox::assimp::ModelMesh;
using nox::test::bufferFloats;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

const std::string fixtures = testing::TempDir() + "noxvale_models";

void writeText(const std::string& path, const std::string& text) {
    std::system(("mkdir -p '" + path.substr(0, path.find_last_of('/')) + "'").c_str());
    std::ofstream(path) << text;
}

void writeSolidPng(const std::string& path, unsigned char r, unsigned char g, unsigned char b) {
    std::system(("mkdir -p '" + path.substr(0, path.find_last_of('/')) + "'").c_str());
    const unsigned char pixels[4 * 3] = {r, g, b, r, g, b, r, g, b, r, g, b};
    stbi_write_png(path.c_str(), 2, 2, 3, pixels, 6);
}

const char* const triangleWithEverything = R"(mtllib m.mtl
v 0 0 0
v 1 0 0
v 0 1 0
vt 0 0
vt 1 0
vt 0 1
vn 0 0 1
usemtl all
f 1/1/1 2/2/1 3/3/1
)";

std::vector<GLuint> elementData(const ModelMesh& mesh) {
    std::vector<GLuint> data(static_cast<size_t>(mesh.vertexCount));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, mesh.vbos[0]);
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(data.size() * sizeof(GLuint)), data.data());
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return data;
}

// Buffers in creation order: indices, positions, texture coordinates, normals.
constexpr int texCoordBuffer = 2;
constexpr int normalBuffer = 3;

class ModelTest : public testing::Test {
protected:
    void TearDown() override {
        glUseProgram(0);
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    ModelLoader loader;
};

TEST_F(ModelTest, MapsComeInTypeOrderWhateverTheMaterialSays) {
    writeText(fixtures + "/all/m.obj", triangleWithEverything);
    writeText(fixtures + "/all/m.mtl",
              "newmtl all\nmap_Ka ambient.png\nmap_bump bump.png\nmap_Ks shine.png\nmap_Kd diffuse.png\n");
    for (const char* name : {"ambient.png", "bump.png", "shine.png", "diffuse.png"}) {
        writeSolidPng(fixtures + "/all/" + name, 10, 20, 30);
    }
    std::vector<ModelMesh*> meshes;
    loader.loadModel(meshes, fixtures + "/all/m.obj");
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(loader.directory, fixtures + "/all");
    const ModelMesh& mesh = *meshes[0];
    ASSERT_EQ(mesh.textures.size(), 4u);
    EXPECT_EQ(mesh.textures[0]->type, "texture_diffuse");
    EXPECT_EQ(mesh.textures[1]->type, "texture_specular");
    EXPECT_EQ(mesh.textures[2]->type, "texture_normal");
    EXPECT_EQ(mesh.textures[3]->type, "texture_height");
    EXPECT_EQ(mesh.textures[0]->path, "diffuse.png");
    EXPECT_EQ(mesh.vertexCount, 3);
    EXPECT_EQ(mesh.vbos.size(), 4u);
    // Flipped vertically on import.
    EXPECT_EQ(bufferFloats(mesh.vbos[texCoordBuffer]), (std::vector<float>{0, 1, 1, 1, 0, 0}));

    // Drawing: each map on its own unit, the height map's unit left alone.
    GLuint sentinel = 0;
    glGenTextures(1, &sentinel);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, sentinel);
    nox::assimp::AssimpShader& shader = nox::assimp::getAssimpShader();
    glUseProgram(shader.program);
    nox::assimp::ModelInstance instance;
    instance.meshes = meshes;
    nox::assimp::renderModel(instance);
    for (int unit = 0; unit < 4; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(unit == 3 ? sentinel : mesh.textures[unit]->id)) << "unit " << unit;
    }
    GLint value = -1;
    glGetUniformiv(shader.program, shader.textureSpecular, &value);
    EXPECT_EQ(value, 1);
    glGetUniformiv(shader.program, shader.textureNormal, &value);
    EXPECT_EQ(value, 2);
    glActiveTexture(GL_TEXTURE0);
    glDeleteTextures(1, &sentinel);
}

// Glass and foliage cut-outs are seen from both sides: a transparent model's
// faces that turn away from the camera are drawn, an opaque model's are not.
TEST_F(ModelTest, ATransparentModelShowsTheFacesTurnedAwayFromTheCamera) {
    writeText(fixtures + "/pane/m.obj",
              "mtllib m.mtl\nv -1 -1 0\nv 0 1 0\nv 1 -1 0\nvt 0 0\nvt 1 0\nvt 0 1\nvn 0 0 -1\n"
              "usemtl glass\nf 1/1/1 2/2/1 3/3/1\n");  // clockwise as the camera sees it
    writeText(fixtures + "/pane/m.mtl", "newmtl glass\nmap_Kd white.png\n");
    writeSolidPng(fixtures + "/pane/white.png", 255, 255, 255);
    nox::assimp::ModelInstance instance;
    loader.loadModel(instance.meshes, fixtures + "/pane/m.obj");
    instance.position = {0, 0, -4};  // straight ahead of the camera at the origin
    instance.updateModelMatrix();
    nox::getCamera() = nox::Camera{};

    nox::assimp::AssimpShader& shader = nox::assimp::getAssimpShader();
    glUseProgram(shader.program);
    shader.loadViewMatrix();
    glUniform4fv(shader.clipPlane, 1, &nox::terrain::keepEverything[0]);
    for (const bool transparent : {true, false}) {
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        instance.transparent = transparent;
        nox::assimp::renderModel(instance);
        const nox::test::Image image = nox::test::readBackBuffer();
        const std::uint8_t* centre = image.pixel(image.width / 2, image.height / 2);
        const bool background = centre[0] == 255 && centre[1] == 0 && centre[2] == 255;
        EXPECT_EQ(background, !transparent) << (transparent ? "transparent" : "opaque");
    }
}

TEST_F(ModelTest, TwoDiffuseMapsAreBothBoundAndTheSamplerEndsAtTheLast) {
    writeSolidPng(fixtures + "/two/a.png", 255, 0, 0);
    writeSolidPng(fixtures + "/two/b.png", 0, 255, 0);
    aiMaterial material;
    aiString first("a.png");
    aiString second("b.png");
    material.AddProperty(&first, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 0));
    material.AddProperty(&second, AI_MATKEY_TEXTURE(aiTextureType_DIFFUSE, 1));
    loader.directory = fixtures + "/two";
    const std::vector<MaterialTexture*> maps =
        loader.loadMaterialTextures(&material, aiTextureType_DIFFUSE, "texture_diffuse");
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[1]->path, "b.png");

    ModelMesh mesh;
    mesh.textures = maps;
    nox::assimp::ModelInstance instance;
    instance.meshes = {&mesh};
    nox::assimp::AssimpShader& shader = nox::assimp::getAssimpShader();
    glUseProgram(shader.program);
    nox::assimp::renderModel(instance);
    for (int unit = 0; unit < 2; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(bound, static_cast<GLint>(maps[unit]->id));
    }
    glActiveTexture(GL_TEXTURE0);
    GLint value = -1;
    glGetUniformiv(shader.program, shader.textureDiffuse, &value);
    EXPECT_EQ(value, 1);
}

// A mesh that lacks a map must not sample what an earlier mesh left bound.
TEST_F(ModelTest, AMeshWithoutSomeMapsGetsNeutralOnes) {
    writeText(fixtures + "/shiny/m.obj", triangleWithEverything);
    writeText(fixtures + "/shiny/m.mtl", "newmtl all\nmap_Kd d.png\nmap_Ks s.png\nmap_bump n.png\n");
    for (const char* name : {"d.png", "s.png", "n.png"}) writeSolidPng(fixtures + "/shiny/" + name, 255, 0, 0);
    writeText(fixtures + "/plain/m.obj", triangleWithEverything);
    writeText(fixtures + "/plain/m.mtl", "newmtl all\nmap_Kd diffuse.png\n");
    writeSolidPng(fixtures + "/plain/diffuse.png", 90, 90, 90);
    writeText(fixtures + "/bare/m.obj", triangleWithEverything);
    writeText(fixtures + "/bare/m.mtl", "newmtl all\n");
    std::vector<ModelMesh*> shiny, plain, bare;
    loader.loadModel(shiny, fixtures + "/shiny/m.obj");
    loader.loadModel(plain, fixtures + "/plain/m.obj");
    loader.loadModel(bare, fixtures + "/bare/m.obj");
    ASSERT_EQ(plain[0]->textures.size(), 1u);
    ASSERT_EQ(bare[0]->textures.size(), 0u);

    nox::assimp::AssimpShader& shader = nox::assimp::getAssimpShader();
    glUseProgram(shader.program);
    const auto texel = [&](GLint sampler) {
        GLint unit = -1;
        glGetUniformiv(shader.program, sampler, &unit);
        glActiveTexture(GL_TEXTURE0 + unit);
        std::array<unsigned char, 4> rgba{};
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glActiveTexture(GL_TEXTURE0);
        return std::make_pair(unit, rgba);
    };
    nox::assimp::ModelInstance instance;
    instance.meshes = {shiny[0], plain[0]};
    nox::assimp::renderModel(instance);
    const auto [specularUnit, specular] = texel(shader.textureSpecular);
    const auto [normalUnit, normal] = texel(shader.textureNormal);
    EXPECT_GE(specularUnit, 1);  // past the mesh's own diffuse map
    EXPECT_GE(normalUnit, 1);
    EXPECT_NE(specularUnit, normalUnit);
    EXPECT_EQ(specular, (std::array<unsigned char, 4>{0, 0, 0, 255}));
    EXPECT_EQ(normal, (std::array<unsigned char, 4>{128, 128, 255, 255}));

    // Without a diffuse map the surface keeps the light's own colour.
    instance.meshes = {shiny[0], bare[0]};
    nox::assimp::renderModel(instance);
    const auto [diffuseUnit, diffuse] = texel(shader.textureDiffuse);
    EXPECT_NE(diffuseUnit, texel(shader.textureSpecular).first);
    EXPECT_NE(diffuseUnit, texel(shader.textureNormal).first);
    EXPECT_EQ(diffuse, (std::array<unsigned char, 4>{255, 255, 255, 255}));
}

TEST_F(ModelTest, TheCacheLoadsEachFileOnceAndTellsSameNamesInOtherFoldersApart) {
    for (const char* folder : {"/barkA", "/barkB"}) {
        writeText(fixtures + folder + "/m.obj", triangleWithEverything);
        writeText(fixtures + folder + "/m.mtl", "newmtl all\nmap_Kd bark.png\n");
    }
    writeSolidPng(fixtures + "/barkA/bark.png", 200, 0, 0);
    writeSolidPng(fixtures + "/barkB/bark.png", 0, 0, 200);
    std::vector<ModelMesh*> a;
    std::vector<ModelMesh*> b;
    std::vector<ModelMesh*> again;
    loader.loadModel(a, fixtures + "/barkA/m.obj");
    loader.loadModel(b, fixtures + "/barkB/m.obj");
    loader.loadModel(again, fixtures + "/barkA/m.obj");
    ASSERT_EQ(loader.texturesLoaded.size(), 2u);
    EXPECT_NE(a[0]->textures[0], b[0]->textures[0]);
    EXPECT_EQ(a[0]->textures[0], again[0]->textures[0]);

    std::vector<unsigned char> pixel(3 * 4);
    glBindTexture(GL_TEXTURE_2D, b[0]->textures[0]->id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, pixel.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    EXPECT_EQ(pixel[2], 200);  // the blue bark of the second folder
}

TEST_F(ModelTest, MissingCoordinatesBecomeZeroAndMissingNormalsAreGenerated) {
    writeText(fixtures + "/bare/m.obj", "v 0 0 0\nv 2 0 0\nv 0 0 -2\nf 1 2 3\n");
    std::vector<ModelMesh*> meshes;
    loader.loadModel(meshes, fixtures + "/bare/m.obj");
    ASSERT_EQ(meshes.size(), 1u);
    EXPECT_EQ(bufferFloats(meshes[0]->vbos[texCoordBuffer]), std::vector<float>(6, 0.0f));
    const std::vector<float> normals = bufferFloats(meshes[0]->vbos[normalBuffer]);
    ASSERT_EQ(normals.size(), 9u);
    for (int v = 0; v < 3; ++v) {
        EXPECT_NEAR(normals[v * 3 + 0], 0.0f, 1e-6f);
        EXPECT_NEAR(normals[v * 3 + 1], 1.0f, 1e-6f);  // the counter-clockwise face looks up
        EXPECT_NEAR(normals[v * 3 + 2], 0.0f, 1e-6f);
    }
}

TEST_F(ModelTest, LineAndPointFacesAreSkippedInsteadOfLeavingGarbageIndices) {
    writeText(fixtures + "/lines/m.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 5 5 5\nl 1 4\np 4\nf 1 2 3\nl 2 3\n");
    std::vector<ModelMesh*> meshes;
    loader.loadModel(meshes, fixtures + "/lines/m.obj");
    ASSERT_FALSE(meshes.empty());
    int triangles = 0;
    for (const ModelMesh* mesh : meshes) {
        EXPECT_EQ(mesh->vertexCount % 3, 0);
        const std::vector<GLuint> indices = elementData(*mesh);
        const size_t vertices = bufferFloats(mesh->vbos[1]).size() / 3;
        for (GLuint index : indices) EXPECT_LT(index, vertices);
        triangles += mesh->vertexCount / 3;
    }
    EXPECT_EQ(triangles, 1);
}

// The OBJ importer refuses such indices itself, but it does not check every
// structure it hands over (no validation step is asked for), so the loader
// does not trust them.
TEST_F(ModelTest, TrianglesNamingAVertexBeyondTheMeshAreReportedAndNeverUploaded) {
    aiScene scene;
    scene.mNumMaterials = 1;
    scene.mMaterials = new aiMaterial* [1] { new aiMaterial };
    aiMesh mesh;
    mesh.mName = "hull";
    mesh.mNumVertices = 3;
    mesh.mVertices = new aiVector3D[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    const unsigned corners[][3] = {{0, 1, 3}, {0, 1, 2}, {7, 0, 1}};
    mesh.mNumFaces = 3;
    mesh.mFaces = new aiFace[3];
    for (unsigned f = 0; f < 3; ++f) {
        mesh.mFaces[f].mNumIndices = 3;
        mesh.mFaces[f].mIndices = new unsigned[3]{corners[f][0], corners[f][1], corners[f][2]};
    }
    loader.directory = "../res/models/boat";
    CaptureStdout();
    const ModelMesh* uploaded = loader.processMesh(&mesh, &scene);
    EXPECT_EQ(GetCapturedStdout(),
              "Model mesh \"hull\" in ../res/models/boat: skipped 2 faces with vertex indices beyond its 3 vertices\n");
    EXPECT_EQ(uploaded->vertexCount, 3);
    EXPECT_EQ(elementData(*uploaded), (std::vector<GLuint>{0, 1, 2}));
}

// Any bytes import as some scene; a file without a single mesh is not quietly
// left out of the picture.
TEST_F(ModelTest, AFileWithoutAnyMeshIsReported) {
    writeText(fixtures + "/noise/m.obj",
              "\x89PNG\r\n\x1a\n: a picture where the model should be, not one vertex in it\n");
    std::vector<ModelMesh*> meshes;
    CaptureStdout();
    loader.loadModel(meshes, fixtures + "/noise/m.obj");
    EXPECT_EQ(GetCapturedStdout(), "Model has no meshes: " + fixtures + "/noise/m.obj\n");
    EXPECT_TRUE(meshes.empty());
}

TEST_F(ModelTest, AMissingFileIsReportedAndAppendsNothing) {
    std::vector<ModelMesh*> meshes;
    loader.directory = "unchanged";
    CaptureStdout();
    loader.loadModel(meshes, fixtures + "/nowhere/m.obj");
    const std::string printed = GetCapturedStdout();
    EXPECT_EQ(printed.rfind("ERROR::ASSIMP:: ", 0), 0u);
    EXPECT_NE(printed.find("nowhere"), std::string::npos);
    EXPECT_EQ(printed.back(), '\n');
    EXPECT_TRUE(meshes.empty());
    EXPECT_EQ(loader.directory, "unchanged");
}

TEST_F(ModelTest, APathWithoutASlashIsItsOwnDirectory) {
    writeText(fixtures + "/here/plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir((fixtures + "/here").c_str()), 0);
    std::vector<ModelMesh*> meshes;
    loader.loadModel(meshes, "plain.obj");
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(meshes.size(), 1u);
    EXPECT_EQ(loader.directory, "plain.obj");
}

TEST(ScenePopulation, PlacesTheThirtyThreeInstancesOnTheGroundOnceAndForAll) {
    nox::terrain::Terrain terrain(glm::vec3(-500, 0, -500));
    const size_t texturesBefore = nox::assimp::getModelLoader().texturesLoaded.size();
    nox::assimp::ModelInstance* instances = terrain.getModelInstances();
    const size_t texturesAfter = nox::assimp::getModelLoader().texturesLoaded.size();
    EXPECT_EQ(terrain.getModelInstances(), instances);
    EXPECT_EQ(nox::assimp::getModelLoader().texturesLoaded.size(), texturesAfter);  // nothing loaded again
    EXPECT_GE(texturesAfter, texturesBefore);

    EXPECT_NEAR(instances[1].position.y, 22.2000f, 1e-4f);
    EXPECT_EQ(instances[1].rotation, glm::vec3(0, 35, -10));
    EXPECT_NEAR(instances[31].position.y, 20.3103f, 1e-4f);
    EXPECT_EQ(instances[31].position.x, 70.0f);
    EXPECT_EQ(instances[31].position.z, -15.0f);
    EXPECT_EQ(instances[28].position.y, terrain.getHeightOfTerrain(4, -102));
    EXPECT_EQ(instances[5].position.z, nox::activeDisplay.tree5Z);
    EXPECT_TRUE(instances[31].transparent);
    EXPECT_FLOAT_EQ(instances[32].shininess, 10.0f);
    EXPECT_FLOAT_EQ(instances[0].shininessStrength, 0.1f);
    for (int i = 0; i < nox::modelInstanceCount; ++i) {
        const nox::assimp::ModelInstance& instance = instances[i];
        EXPECT_EQ(instance.modelMatrix, nox::createModelMatrix(instance.position, instance.rotation, instance.scale))
            << i;
    }
    // Instances of one file share its meshes.
    EXPECT_EQ(instances[2].meshes, instances[5].meshes);
    EXPECT_EQ(instances[31].meshes, instances[32].meshes);
    EXPECT_EQ(instances[31].scale, glm::vec3(3));
    EXPECT_EQ(instances[29].scale, glm::vec3(0.7f));
}

// The scene's models as a viewer would judge their places: standing on the
// snow, out of the lake, out of each other and out of the camera's way, trees
// of a tree's size, and a lamp around each light.
class ScenePlaces : public testing::Test {
protected:
    static constexpr int campfire = 0;
    static constexpr int boat = 1;
    static constexpr int firstTree = 2;
    static constexpr int lastTree = 28;
    static constexpr int cottage = 29;
    static constexpr int farmhouse = 30;
    static constexpr int firstLamp = nox::firstStreetLightInstance;

    struct Box {
        glm::vec3 low{1e9f};
        glm::vec3 high{-1e9f};
        bool holds(const glm::vec3& p) const {
            return glm::all(glm::greaterThan(p, low)) && glm::all(glm::lessThan(p, high));
        }
        bool coversGround(const glm::vec3& p) const {
            return p.x > low.x && p.x < high.x && p.z > low.z && p.z < high.z;
        }
        float distanceTo(const glm::vec3& p) const {
            return glm::length(glm::max(glm::max(low - p, p - high), glm::vec3(0.0f)));
        }
    };

    static void SetUpTestSuite() {
        terrain = new nox::terrain::Terrain(glm::vec3(-500, 0, -500));
        instances = terrain->getModelInstances();
    }
    static void TearDownTestSuite() { delete terrain; }

    // Around every vertex of the instance, in the world.
    static Box worldBox(const nox::assimp::ModelInstance& instance) {
        Box box;
        for (const ModelMesh* mesh : instance.meshes) {
            for (int corner = 0; corner < 8; ++corner) {
                const glm::vec3 local((corner & 1) ? mesh->boundsHigh.x : mesh->boundsLow.x,
                                      (corner & 2) ? mesh->boundsHigh.y : mesh->boundsLow.y,
                                      (corner & 4) ? mesh->boundsHigh.z : mesh->boundsLow.z);
                const glm::vec3 world(instance.modelMatrix * glm::vec4(local, 1.0f));
                box.low = glm::min(box.low, world);
                box.high = glm::max(box.high, world);
            }
        }
        return box;
    }

    static float groundBelow(const nox::assimp::ModelInstance& instance) {
        return terrain->getHeightOfTerrain(instance.position.x, instance.position.z);
    }

    static nox::terrain::Terrain* terrain;
    static nox::assimp::ModelInstance* instances;
};

nox::terrain::Terrain* ScenePlaces::terrain = nullptr;
nox::assimp::ModelInstance* ScenePlaces::instances = nullptr;

// The street lights stand a little aside from where their ground is taken,
// and the boat rests on its keel a little above the shore.
TEST_F(ScenePlaces, EveryModelStandsOnTheSnowOutsideTheLake) {
    constexpr float waterHeight = 20.0f;
    for (int i = 0; i < nox::modelInstanceCount; ++i) {
        const float ground = groundBelow(instances[i]);
        const float lift = worldBox(instances[i]).low.y - ground;
        if (i == boat) {
            EXPECT_GE(lift, 0.0f);
            EXPECT_LE(lift, 1.5f);
        } else {
            EXPECT_NEAR(lift, 0.0f, 0.75f) << "instance " << i;
        }
        EXPECT_GT(ground, waterHeight + 0.5f) << "instance " << i << " stands in the lake";
    }
}

// The camera brushes through the needles of one tree, but never through a
// house, a lamp, the boat or the fire.
TEST_F(ScenePlaces, NothingStandsInAHouseOrInTheWayOfTheFlight) {
    for (int house : {cottage, farmhouse}) {
        const Box box = worldBox(instances[house]);
        for (int i = 0; i < nox::modelInstanceCount; ++i) {
            if (i == house) continue;
            EXPECT_FALSE(box.coversGround(instances[i].position)) << "instance " << i << " in " << house;
        }
    }
    for (int i = 0; i < nox::modelInstanceCount; ++i) {
        for (int j = i + 1; j < nox::modelInstanceCount; ++j) {
            const glm::vec2 apart(instances[i].position.x - instances[j].position.x,
                                  instances[i].position.z - instances[j].position.z);
            EXPECT_GE(glm::length(apart), 4.0f) << "instances " << i << " and " << j;
        }
    }
    nox::CameraPath path;
    nox::deltaTime = 0.1;
    for (int step = 0; step < 1500; ++step) {
        const nox::Pose pose = path.evaluate();
        const glm::vec3 camera(pose[0], pose[1], pose[2]);
        for (int solid : {campfire, boat, cottage, farmhouse, firstLamp, firstLamp + 1}) {
            EXPECT_GT(worldBox(instances[solid]).distanceTo(camera), 1.0f)
                << "instance " << solid << " at " << step * 0.1 << " s";
        }
    }
    nox::deltaTime = 0.0;
}

TEST_F(ScenePlaces, TreesAreTreeSized) {
    for (int i = firstTree; i <= lastTree; ++i) {
        const Box box = worldBox(instances[i]);
        EXPECT_GT(box.high.y - box.low.y, 8.0f) << "instance " << i;   // above the houses' eaves
        EXPECT_LT(box.high.y - box.low.y, 25.0f) << "instance " << i;  // no giants
    }
}

// The light cubes of the scene sit where the lamps' heads glow.
TEST_F(ScenePlaces, EachLightShinesFromALampsHead) {
    const glm::vec3 lights[] = {{70, 29, -15}, {65, 29.47f, -65}};
    for (int lamp = 0; lamp < 2; ++lamp) {
        const Box box = worldBox(instances[firstLamp + lamp]);
        EXPECT_TRUE(box.holds(lights[lamp])) << "lamp " << lamp;
        EXPECT_GT(lights[lamp].y, box.high.y - 0.25f * (box.high.y - box.low.y)) << "lamp " << lamp;
    }
}

}  // namespace
