#include "assets/ModelLoader.h"

#include <iostream>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>

#include "assets/Texture.h"

namespace nox::assimp {

namespace {

constexpr unsigned importFlags = aiProcess_JoinIdenticalVertices | aiProcess_Triangulate | aiProcess_FlipUVs;
constexpr unsigned triangleCorners = 3;

// Area-weighted face normals summed per vertex, for meshes that come without.
std::vector<float> generateNormals(const aiMesh* mesh, const std::vector<GLuint>& indices) {
    std::vector<glm::vec3> sums(mesh->mNumVertices, glm::vec3(0.0f));
    const auto vertex = [mesh](GLuint i) { return glm::vec3(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z); };
    for (size_t t = 0; t + 2 < indices.size(); t += triangleCorners) {
        const glm::vec3 faceNormal =
            glm::cross(vertex(indices[t + 1]) - vertex(indices[t]), vertex(indices[t + 2]) - vertex(indices[t]));
        for (size_t corner = 0; corner < triangleCorners; ++corner) sums[indices[t + corner]] += faceNormal;
    }
    std::vector<float> normals;
    normals.reserve(sums.size() * 3);
    for (const glm::vec3& sum : sums) {
        const float length = glm::length(sum);
        const glm::vec3 n = length > 0.0f ? sum / length : glm::vec3(0.0f, 1.0f, 0.0f);
        normals.insert(normals.end(), {n.x, n.y, n.z});
    }
    return normals;
}

}  // namespace

ModelLoader::~ModelLoader() {
    for (const std::unique_ptr<MaterialTexture>& texture : texturesLoaded) glDeleteTextures(1, &texture->id);
}

void ModelLoader::loadModel(std::vector<ModelMesh*>& meshesOut, const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, importFlags);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) {
        std::cout << "ERROR::ASSIMP:: " << importer.GetErrorString() << std::endl;
        return;
    }
    const size_t slash = path.find_last_of('/');
    directory = slash == std::string::npos ? path : path.substr(0, slash);
    processNode(meshesOut, scene->mRootNode, scene);
}

void ModelLoader::processNode(std::vector<ModelMesh*>& meshesOut, const aiNode* node, const aiScene* scene) {
    for (unsigned k = 0; k < node->mNumMeshes; ++k) {
        meshesOut.push_back(processMesh(scene->mMeshes[node->mMeshes[k]], scene));
    }
    for (unsigned child = 0; child < node->mNumChildren; ++child) processNode(meshesOut, node->mChildren[child], scene);
}

ModelMesh* ModelLoader::processMesh(const aiMesh* mesh, const aiScene* scene) {
    const unsigned n = mesh->mNumVertices;
    std::vector<float> positions;
    std::vector<float> texCoords;
    positions.reserve(n * 3);
    texCoords.reserve(n * 2);
    const bool hasTexCoords = mesh->mTextureCoords[0] != nullptr;
    for (unsigned i = 0; i < n; ++i) {
        positions.insert(positions.end(), {mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z});
        if (hasTexCoords) {
            texCoords.insert(texCoords.end(), {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y});
        } else {
            texCoords.insert(texCoords.end(), {0.0f, 0.0f});
        }
    }

    // Only triangles are drawn: point and line faces would leave corners unset.
    std::vector<GLuint> indices;
    indices.reserve(static_cast<size_t>(mesh->mNumFaces) * triangleCorners);
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != triangleCorners) continue;
        indices.insert(indices.end(), face.mIndices, face.mIndices + triangleCorners);
    }

    std::vector<float> normals;
    if (mesh->mNormals != nullptr) {
        normals.reserve(n * 3);
        for (unsigned i = 0; i < n; ++i) {
            normals.insert(normals.end(), {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z});
        }
    } else {
        normals = generateNormals(mesh, indices);
    }

    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    std::vector<MaterialTexture*> found;
    const std::pair<aiTextureType, const char*> kinds[] = {{aiTextureType_DIFFUSE, "texture_diffuse"},
                                                           {aiTextureType_SPECULAR, "texture_specular"},
                                                           {aiTextureType_HEIGHT, "texture_normal"},
                                                           {aiTextureType_AMBIENT, "texture_height"}};
    for (const auto& [type, name] : kinds) {
        const std::vector<MaterialTexture*> maps = loadMaterialTextures(material, type, name);
        found.insert(found.end(), maps.begin(), maps.end());
    }

    auto result = std::make_unique<ModelMesh>();
    result->addIndexBuffer(indices.data(), static_cast<int>(indices.size()));
    result->addAttribute(0, 3, positions.data(), static_cast<int>(positions.size()));
    result->addAttribute(1, 2, texCoords.data(), static_cast<int>(texCoords.size()));
    result->addAttribute(2, 3, normals.data(), static_cast<int>(normals.size()));
    result->vertexCount = static_cast<GLint>(indices.size());
    result->textures = std::move(found);
    if (n > 0) {
        result->boundsLow = result->boundsHigh = glm::vec3(positions[0], positions[1], positions[2]);
        for (size_t i = 0; i < positions.size(); i += 3) {
            const glm::vec3 p(positions[i], positions[i + 1], positions[i + 2]);
            result->boundsLow = glm::min(result->boundsLow, p);
            result->boundsHigh = glm::max(result->boundsHigh, p);
        }
    }
    meshes.push_back(std::move(result));
    return meshes.back().get();
}

std::vector<MaterialTexture*> ModelLoader::loadMaterialTextures(const aiMaterial* material, int textureType,
                                                                const std::string& typeName) {
    std::vector<MaterialTexture*> result;
    const auto type = static_cast<aiTextureType>(textureType);
    for (unsigned i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString name;
        aiGetMaterialTexture(material, type, i, &name);
        // Keyed by where the file actually is: two models may both name a
        // "bark.png" of their own.
        const std::string loadedFrom = directory + "/" + name.C_Str();
        MaterialTexture* cached = nullptr;
        for (const std::unique_ptr<MaterialTexture>& texture : texturesLoaded) {
            if (texture->loadedFrom == loadedFrom) {
                cached = texture.get();
                break;
            }
        }
        if (cached == nullptr) {
            auto texture = std::make_unique<MaterialTexture>();
            texture->id = loadTexture(name.C_Str(), directory);
            texture->type = typeName;
            texture->path = name.C_Str();
            texture->loadedFrom = loadedFrom;
            cached = texture.get();
            texturesLoaded.push_back(std::move(texture));
        }
        result.push_back(cached);
    }
    return result;
}

ModelLoader& getModelLoader() {
    static ModelLoader loader;
    return loader;
}

}  // namespace nox::assimp
