#pragma once

#include <memory>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <assimp/postprocess.h>
#include <glm/glm.hpp>

#include "assets/GlObject.h"
#include "assets/Mesh.h"

struct aiMaterial;
struct aiMesh;
struct aiNode;
struct aiScene;

namespace nox::assimp {

struct MaterialTexture {
    TextureObject id;
    std::string type;        // "texture_diffuse", "texture_specular", "texture_normal" or "texture_height"
    std::string path;        // the file name as the material gives it
    std::string loadedFrom;  // directory + "/" + path: what the cache is keyed by
};

// One imported mesh: positions at 0, texture coordinates at 1, normals at 2,
// and indices. Its textures are shared with the loader's cache.
struct ModelMesh : Mesh {
    std::vector<MaterialTexture*> textures;  // diffuse, specular, normal, height
    glm::vec3 boundsLow{0.0f};               // the box around every vertex, in the model's frame
    glm::vec3 boundsHigh{0.0f};
};

// Imports Wavefront models with their material textures. It owns every mesh
// and texture it creates, for the whole run, and loads each texture file once.
class ModelLoader {
public:
    // The importer's work on every file, and nothing more.
    static constexpr unsigned importFlags = aiProcess_JoinIdenticalVertices | aiProcess_Triangulate | aiProcess_FlipUVs;

    ModelLoader() = default;

    ModelLoader(const ModelLoader&) = delete;
    ModelLoader& operator=(const ModelLoader&) = delete;

    // Appends the file's meshes, depth first. A file that cannot be imported
    // prints "ERROR::ASSIMP:: " + the importer's reason and appends nothing;
    // one in which the importer finds no mesh prints "Model has no meshes: " +
    // path. All on standard output.
    void loadModel(std::vector<ModelMesh*>& meshesOut, const std::string& path);

    void processNode(std::vector<ModelMesh*>& meshesOut, const aiNode* node, const aiScene* scene);
    // Uploads the mesh's triangles (see MeshGeometry). Triangles with a vertex
    // index beyond the mesh are left out and counted in one line on standard
    // output.
    ModelMesh* processMesh(const aiMesh* mesh, const aiScene* scene);
    std::vector<MaterialTexture*> loadMaterialTextures(const aiMaterial* material, int textureType,
                                                       const std::string& typeName);

    std::string directory;                                         // of the file being loaded
    std::vector<std::unique_ptr<MaterialTexture>> texturesLoaded;  // every texture so far, searched first

private:
    std::vector<std::unique_ptr<ModelMesh>> meshes;
};

ModelLoader& getModelLoader();

}  // namespace nox::assimp
