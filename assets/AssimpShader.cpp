#include "assets/AssimpShader.h"

#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "assets/Texture.h"
#include "shaders/ShaderFunctions.h"

namespace nox::assimp {

namespace {
GLint samplerFor(const AssimpShader& shader, const std::string& type) {
    if (type == "texture_diffuse") return shader.textureDiffuse;
    if (type == "texture_specular") return shader.textureSpecular;
    if (type == "texture_normal") return shader.textureNormal;
    return -1;
}

// What a mesh without a diffuse, specular or normal map samples instead: the
// light's own colour, no shine and the unperturbed surface. Without them its
// sampler would read whatever an earlier mesh left on that unit, such as
// another model's normal map.
class NeutralMaps {
public:
    NeutralMaps()
        : white(createSolidTexture(255, 255, 255)),
          noSpecular(createSolidTexture(0, 0, 0)),
          flatNormal(createSolidTexture(128, 128, 255)) {}

    // Made during the first draw, in the middle of binding a mesh's maps:
    // createSolidTexture leaves the active unit's binding alone.
    const TextureObject white;
    const TextureObject noSpecular;
    const TextureObject flatNormal;
};

const NeutralMaps& getNeutralMaps() {
    static const NeutralMaps maps;
    return maps;
}

bool hasMap(const ModelMesh& mesh, const std::string& type) {
    for (const MaterialTexture* texture : mesh.textures) {
        if (texture->type == type) return true;
    }
    return false;
}

// Binds a neutral map on the next free unit for a kind the mesh lacks.
void bindNeutralMap(GLint sampler, GLuint texture, GLint& nextUnit) {
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(nextUnit));
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform1i(sampler, nextUnit);
    ++nextUnit;
}
}  // namespace

AssimpShader::AssimpShader() : Shader("../res/shader/assimpShader") {
    buildProgram();
    loadProjection(projectionMatrix);
}

void AssimpShader::bindAttributes() {
    bindAttribute(0, "position");
    bindAttribute(1, "textureCoords");
    bindAttribute(2, "normals");
}

void AssimpShader::getAllUniformLocations() {
    transformationMatrix = getUniformLocation("transformationMatrix");
    viewMatrix = getUniformLocation("viewMatrix");
    projectionMatrix = getUniformLocation("projectionMatrix");
    textureDiffuse = getUniformLocation("textureDiffuse");
    textureSpecular = getUniformLocation("textureSpecular");
    textureNormal = getUniformLocation("textureNormal");
    shininess = getUniformLocation("shininess");
    transparency = getUniformLocation("transparency");
    shininessStrength = getUniformLocation("shininessStrength");
    clipPlane = getUniformLocation("clipPlane");
    for (int i = 0; i < lightCount; ++i) {
        lightPosition[i] = getUniformLocation(main::uniformArrayName("lightPosition[", i).c_str());
        lightColor[i] = getUniformLocation(main::uniformArrayName("lightColor[", i).c_str());
        attenuation[i] = getUniformLocation(main::uniformArrayName("attenuation[", i).c_str());
    }
}

void AssimpShader::loadViewMatrix() {
    glUniformMatrix4fv(viewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
}

AssimpShader& getAssimpShader() {
    static AssimpShader shader;
    return shader;
}

void renderModel(const ModelInstance& instance) {
    const AssimpShader& shader = getAssimpShader();
    glEnable(GL_DEPTH_TEST);
    if (instance.transparent) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
    }
    glUniformMatrix4fv(shader.transformationMatrix, 1, GL_FALSE, glm::value_ptr(instance.modelMatrix));
    glUniform1f(shader.shininess, instance.shininess);
    glUniform1f(shader.shininessStrength, instance.shininessStrength);
    glUniform1i(shader.transparency, instance.transparent ? 1 : 0);
    for (const ModelMesh* mesh : instance.meshes) {
        for (size_t unit = 0; unit < mesh->textures.size(); ++unit) {
            const MaterialTexture& texture = *mesh->textures[unit];
            glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
            if (texture.type == "texture_height") continue;  // takes its unit, unused
            glUniform1i(samplerFor(shader, texture.type), static_cast<GLint>(unit));
            glBindTexture(GL_TEXTURE_2D, texture.id);
        }
        GLint nextUnit = static_cast<GLint>(mesh->textures.size());
        if (!hasMap(*mesh, "texture_diffuse")) {
            bindNeutralMap(shader.textureDiffuse, getNeutralMaps().white, nextUnit);
        }
        if (!hasMap(*mesh, "texture_specular")) {
            bindNeutralMap(shader.textureSpecular, getNeutralMaps().noSpecular, nextUnit);
        }
        if (!hasMap(*mesh, "texture_normal")) {
            bindNeutralMap(shader.textureNormal, getNeutralMaps().flatNormal, nextUnit);
        }
        glBindVertexArray(mesh->vao);
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        glEnableVertexAttribArray(2);
        glDrawElements(GL_TRIANGLES, mesh->vertexCount, GL_UNSIGNED_INT, nullptr);
        glDisableVertexAttribArray(2);
        glDisableVertexAttribArray(1);
        glDisableVertexAttribArray(0);
        glBindVertexArray(0);
    }
}

}  // namespace nox::assimp
