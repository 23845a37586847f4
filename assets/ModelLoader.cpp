#include "assets/ModelLoader.h"

#include <iostream>

#include <assimp/material.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "assets/MeshGeometry.h"
#include "assets/Texture.h"

namespace nox::assimp {

void ModelLoader::loadModel(std::vector<ModelMesh*>& meshesOut, const std::string& path) {
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, importFlags);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) {
        std::cout << "ERROR::ASSIMP:: " << importer.GetErrorString() << std::endl;
        return;
    }
    const size_t slash = path.find_last_of('/');
    directory = slash == std::string::npos ? path : path.substr(0, slash);
    const size_t meshesBefore = meshesOut.size();
    processNode(meshesOut, scene->mRootNode, scene);
    // The importer accepts a file in which it found nothing, such as one
    // overwritten with other data; without this line the model would just be
    // missing from the scene.
    if (meshesOut.size() == meshesBefore) std::cout << "Model has no meshes: " << path << std::endl;
}

void ModelLoader::processNode(std::vector<ModelMesh*>& meshesOut, const aiNode* node, const aiScene* scene) {
    for (unsigned k = 0; k < node->mNumMeshes; ++k) {
        meshesOut.push_back(processMesh(scene->mMeshes[node->mMeshes[k]], scene));
    }
    for (unsigned child = 0; child < node->mNumChildren; ++child) processNode(meshesOut, node->mChildren[child], scene);
}

ModelMesh* ModelLoader::processMesh(const aiMesh* mesh, const aiScene* scene) {
    const MeshGeometry geometry(*mesh);
    if (geometry.outOfRangeFaces > 0) {
        std::cout << "Model mesh \"" << mesh->mName.C_Str() << "\" in " << directory << ": skipped "
                  << geometry.outOfRangeFaces << " faces with vertex indices beyond its " << mesh->mNumVertices
                  << " vertices" << std::endl;
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
    result->addIndexBuffer(geometry.indices.data(), static_cast<int>(geometry.indices.size()));
    result->addAttribute(0, 3, geometry.positions.data(), static_cast<int>(geometry.positions.size()));
    result->addAttribute(1, 2, geometry.texCoords.data(), static_cast<int>(geometry.texCoords.size()));
    result->addAttribute(2, 3, geometry.normals.data(), static_cast<int>(geometry.normals.size()));
    result->vertexCount = static_cast<GLint>(geometry.indices.size());
    result->textures = std::move(found);
    result->boundsLow = geometry.boundsLow;
    result->boundsHigh = geometry.boundsHigh;
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
            texture->id = TextureObject(loadTexture(name.C_Str(), directory));
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
