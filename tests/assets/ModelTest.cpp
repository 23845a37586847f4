#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>
#include <glm/glm.hpp>

#include "AssetFiles.h"

namespace {

namespace fs = std::filesystem;

// Size limits in model units, from the scales at which the scene stands each model.
struct ModelExpectation {
    const char* path;  // below res/models
    float minHeight;
    float maxHeight;
    float maxFootprint;  // the longer horizontal extent
    float minFootprint;
};

const ModelExpectation models[] = {
    {"campfire/campfire.obj", 0.3f, 0.8f, 1.8f, 1.3f},
    {"lamp/street light.obj", 3.0f, 3.8f, 0.8f, 0.3f},
    {"boat/boat.obj", 0.5f, 1.3f, 5.0f, 4.0f},
    // Trees: height x scale within 10-20 at 20-32, 10-16 and 4-7.
    {"trees/tree1.obj", 10.0f / 20.0f, 20.0f / 32.0f, 0.6f, 0.2f},
    {"trees/tree2.obj", 10.0f / 10.0f, 20.0f / 16.0f, 0.9f, 0.3f},
    {"trees/tree3.obj", 10.0f / 4.0f, 20.0f / 7.0f, 1.8f, 0.6f},
    {"cottage/cottage_obj.obj", 9.0f, 11.0f, 12.0f, 7.0f},
    {"farmhouse/farmhouse_obj.obj", 22.0f, 28.0f, 40.0f, 20.0f},
};

void PrintTo(const ModelExpectation& model, std::ostream* out) {
    *out << model.path;
}

struct Imported {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
};

// The renderer's import: these flags and no others.
void import(Imported& out, const fs::path& path) {
    out.scene = out.importer.ReadFile(path.string(),
                                      aiProcess_JoinIdenticalVertices | aiProcess_Triangulate | aiProcess_FlipUVs);
}

struct Bounds {
    glm::vec3 low{1e9f};
    glm::vec3 high{-1e9f};
};

Bounds bounds(const aiScene* scene) {
    Bounds b;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        for (unsigned i = 0; i < scene->mMeshes[m]->mNumVertices; ++i) {
            const aiVector3D& v = scene->mMeshes[m]->mVertices[i];
            b.low = glm::min(b.low, glm::vec3(v.x, v.y, v.z));
            b.high = glm::max(b.high, glm::vec3(v.x, v.y, v.z));
        }
    }
    return b;
}

class Models : public testing::TestWithParam<ModelExpectation> {};

TEST_P(Models, ImportCompleteWithNormalsCoordinatesAndTextures) {
    const fs::path path = nox::test::resourceDir() / "models" / GetParam().path;
    Imported model;
    import(model, path);
    ASSERT_NE(model.scene, nullptr) << model.importer.GetErrorString();
    EXPECT_EQ(model.scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE, 0u);
    ASSERT_NE(model.scene->mRootNode, nullptr);
    ASSERT_GT(model.scene->mNumMeshes, 0u);
    for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = model.scene->mMeshes[m];
        EXPECT_TRUE(mesh->HasNormals()) << mesh->mName.C_Str();
        EXPECT_TRUE(mesh->HasTextureCoords(0)) << mesh->mName.C_Str();
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) ASSERT_EQ(mesh->mFaces[f].mNumIndices, 3u);
        // Every mesh has a diffuse map: the renderer would otherwise sample
        // whatever texture the previous mesh left bound.
        const aiMaterial* material = model.scene->mMaterials[mesh->mMaterialIndex];
        EXPECT_EQ(material->GetTextureCount(aiTextureType_DIFFUSE), 1u) << mesh->mName.C_Str();
    }
    for (unsigned k = 0; k < model.scene->mNumMaterials; ++k) {
        for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_SPECULAR, aiTextureType_HEIGHT}) {
            for (unsigned t = 0; t < model.scene->mMaterials[k]->GetTextureCount(type); ++t) {
                aiString name;
                model.scene->mMaterials[k]->GetTexture(type, t, &name);
                const std::string file = name.C_Str();
                EXPECT_EQ(file.find(' '), std::string::npos) << file;
                const nox::test::Picture p = nox::test::loadPicture(path.parent_path() / file);
                EXPECT_FALSE(p.data.empty()) << file;
            }
        }
    }
}

TEST_P(Models, StandOnTheGroundCentredAndWithinTheirSizes) {
    Imported model;
    import(model, nox::test::resourceDir() / "models" / GetParam().path);
    ASSERT_NE(model.scene, nullptr);
    const Bounds b = bounds(model.scene);
    const glm::vec3 extent = b.high - b.low;
    EXPECT_NEAR(b.low.y, 0.0f, 1e-3f);
    EXPECT_NEAR(b.low.x + b.high.x, 0.0f, 0.02f * extent.x);
    EXPECT_NEAR(b.low.z + b.high.z, 0.0f, 0.02f * extent.z);
    EXPECT_GE(extent.y, GetParam().minHeight);
    EXPECT_LE(extent.y, GetParam().maxHeight);
    EXPECT_LE(std::max(extent.x, extent.z), GetParam().maxFootprint);
    EXPECT_GE(std::max(extent.x, extent.z), GetParam().minFootprint);
}

// Back-face culling keeps a triangle only if its winding turns toward the
// viewer; the shading normals must agree with that side.
TEST_P(Models, TrianglesFaceTheWayTheirNormalsPoint) {
    Imported model;
    import(model, nox::test::resourceDir() / "models" / GetParam().path);
    ASSERT_NE(model.scene, nullptr);
    for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = model.scene->mMeshes[m];
        int against = 0;
        int faces = 0;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* idx = mesh->mFaces[f].mIndices;
            auto p = [&](int k) {
                return glm::vec3(mesh->mVertices[idx[k]].x, mesh->mVertices[idx[k]].y, mesh->mVertices[idx[k]].z);
            };
            const glm::vec3 n = glm::cross(p(1) - p(0), p(2) - p(0));
            if (glm::length(n) < 1e-8f) continue;
            glm::vec3 shading(0.0f);
            for (int k = 0; k < 3; ++k)
                shading += glm::vec3(mesh->mNormals[idx[k]].x, mesh->mNormals[idx[k]].y, mesh->mNormals[idx[k]].z);
            ++faces;
            if (glm::dot(n, shading) < 0.0f) ++against;
        }
        EXPECT_EQ(against, 0) << GetParam().path << " " << mesh->mName.C_Str() << ": " << against << " of " << faces;
    }
}

INSTANTIATE_TEST_SUITE_P(Scene, Models, testing::ValuesIn(models),
                         [](const testing::TestParamInfo<ModelExpectation>& info) {
                             std::string name = fs::path(info.param.path).stem().string();
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

// Every picture has one name: a file name used in two model directories
// would invite mixing them up wherever textures are looked up by name.
TEST(ModelTextures, NamesAreDistinctAcrossModelDirectories) {
    std::map<std::string, std::set<std::string>> directoriesByName;
    for (const ModelExpectation& expected : models) {
        const fs::path path = nox::test::resourceDir() / "models" / expected.path;
        Imported model;
        import(model, path);
        ASSERT_NE(model.scene, nullptr);
        for (unsigned k = 0; k < model.scene->mNumMaterials; ++k) {
            for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_SPECULAR, aiTextureType_HEIGHT}) {
                for (unsigned t = 0; t < model.scene->mMaterials[k]->GetTextureCount(type); ++t) {
                    aiString name;
                    model.scene->mMaterials[k]->GetTexture(type, t, &name);
                    directoriesByName[name.C_Str()].insert(path.parent_path().filename().string());
                }
            }
        }
    }
    for (const auto& [name, directories] : directoriesByName) EXPECT_EQ(directories.size(), 1u) << name;
}

TEST(ModelTextures, NormalMapsReachTheRendererAsHeightMaps) {
    Imported model;
    import(model, nox::test::resourceDir() / "models" / "cottage" / "cottage_obj.obj");
    ASSERT_NE(model.scene, nullptr);
    unsigned withNormalMap = 0;
    for (unsigned k = 0; k < model.scene->mNumMaterials; ++k) {
        withNormalMap += model.scene->mMaterials[k]->GetTextureCount(aiTextureType_HEIGHT);
    }
    EXPECT_GE(withNormalMap, 5u);
}

// The scene hangs the lamp's point light 2.9 above the base at scale 3; the
// glass around it is see-through.
TEST(StreetLight, GlassSurroundsTheLightAndIsTranslucent) {
    Imported model;
    import(model, nox::test::resourceDir() / "models" / "lamp" / "street light.obj");
    ASSERT_NE(model.scene, nullptr);
    bool found = false;
    for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = model.scene->mMeshes[m];
        const aiMaterial* material = model.scene->mMaterials[mesh->mMaterialIndex];
        aiString name;
        material->Get(AI_MATKEY_NAME, name);
        if (std::string(name.C_Str()) != "lamp_glass") continue;
        found = true;
        float low = 1e9f, high = -1e9f;
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            low = std::min(low, mesh->mVertices[i].y);
            high = std::max(high, mesh->mVertices[i].y);
        }
        EXPECT_NEAR((low + high) * 0.5f, 2.9f, 0.05f);
        float opacity = 1.0f;
        material->Get(AI_MATKEY_OPACITY, opacity);
        EXPECT_LT(opacity, 1.0f);
    }
    EXPECT_TRUE(found);
}

}  // namespace

namespace {

// Alpha below one makes a texel glow at night; only windows and the lamp's
// glass and bulb may do it, and every other model picture must stay opaque.
TEST(ModelTextures, OnlyWindowsAndLampLightsGlow) {
    const std::filesystem::path models = nox::test::resourceDir() / "models";
    const std::vector<std::string> selfLit = {"cottage_window.png", "farmhouse_window.png", "lamp_glass.png",
                                              "lamp_bulb.png"};
    int checked = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(models)) {
        if (entry.path().extension() != ".png") continue;
        const nox::test::Picture picture = nox::test::loadPicture(entry.path());
        int minimumAlpha = 255;
        if (picture.channels == 4) {
            for (int y = 0; y < picture.height; ++y) {
                for (int x = 0; x < picture.width; ++x) minimumAlpha = std::min(minimumAlpha, picture.at(x, y, 3));
            }
        }
        const std::string name = entry.path().filename().string();
        const bool glows = std::find(selfLit.begin(), selfLit.end(), name) != selfLit.end();
        if (glows) {
            EXPECT_LT(minimumAlpha, 128) << name;
            EXPECT_GT(minimumAlpha, 12) << name << " would be cut away on the transparent lamp";
        } else {
            EXPECT_EQ(minimumAlpha, 255) << name;
        }
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

}  // namespace
