// Renders a Wavefront model to a PNG for inspection: two views (front left and
// back right) with a small z-buffered software rasteriser, Lambert lighting and
// the diffuse textures, back faces culled so that a face wound the wrong way
// shows as a hole. The model is imported with the flags the renderer uses.
//   model_preview <model.obj> <out.png>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <stb/stb_image.h>
#include <stb/stb_image_write.h>
#include <assimp/Importer.hpp>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace {

constexpr int viewSize = 480;

struct Texture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    // Row 0 of the file is at t = 0, as the renderer uploads it.
    glm::vec3 sample(glm::vec2 uv) const {
        if (rgb.empty()) return glm::vec3(1.0f, 0.0f, 1.0f);
        const float s = uv.x - std::floor(uv.x);
        const float t = uv.y - std::floor(uv.y);
        const int x = std::min(static_cast<int>(s * width), width - 1);
        const int y = std::min(static_cast<int>(t * height), height - 1);
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return glm::vec3(p[0], p[1], p[2]) / 255.0f;
    }
};

Texture loadTexture(const std::filesystem::path& path) {
    Texture t;
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &t.width, &t.height, &channels, 3);
    if (!data) {
        std::fprintf(stderr, "missing texture %s\n", path.c_str());
        return t;
    }
    t.rgb.assign(data, data + static_cast<std::size_t>(t.width) * t.height * 3);
    stbi_image_free(data);
    return t;
}

struct Canvas {
    std::vector<glm::vec3> colour;
    std::vector<float> depth;
};

struct ScreenVertex {
    glm::vec3 screen;  // x, y in pixels, z depth
    float invW;
    glm::vec2 uv;
    glm::vec3 normal;
};

float edge(glm::vec2 a, glm::vec2 b, glm::vec2 p) {
    return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
}

void drawTriangle(Canvas& canvas, const ScreenVertex v[3], const Texture& texture, bool cull, glm::vec3 light) {
    const glm::vec2 a(v[0].screen), b(v[1].screen), c(v[2].screen);
    const float area = edge(a, b, c);
    if (std::abs(area) < 1e-8f) return;
    // Screen y points down, so a front face has negative area here.
    if (cull && area > 0.0f) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
    const int x1 = std::min(viewSize - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
    const int y1 = std::min(viewSize - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const glm::vec2 p(x + 0.5f, y + 0.5f);
            float w0 = edge(b, c, p) / area;
            float w1 = edge(c, a, p) / area;
            float w2 = edge(a, b, p) / area;
            if (w0 < 0 || w1 < 0 || w2 < 0) continue;
            const float z = w0 * v[0].screen.z + w1 * v[1].screen.z + w2 * v[2].screen.z;
            const std::size_t k = static_cast<std::size_t>(y) * viewSize + x;
            if (z >= canvas.depth[k]) continue;
            canvas.depth[k] = z;
            // Perspective-correct attributes.
            const float q0 = w0 * v[0].invW, q1 = w1 * v[1].invW, q2 = w2 * v[2].invW;
            const float sum = q0 + q1 + q2;
            const glm::vec2 uv = (v[0].uv * q0 + v[1].uv * q1 + v[2].uv * q2) / sum;
            glm::vec3 n = glm::normalize(v[0].normal * q0 + v[1].normal * q1 + v[2].normal * q2);
            if (!cull && glm::dot(n, light) < 0.0f && area > 0.0f) n = -n;  // two-sided glass
            const float lambert = std::max(0.0f, glm::dot(n, light));
            canvas.colour[k] = texture.sample(uv) * (0.35f + 0.75f * lambert);
        }
    }
}

void renderView(const aiScene* scene, const std::vector<Texture>& textures, const std::vector<bool>& twoSided,
                glm::vec3 direction, Canvas& canvas) {
    glm::vec3 low(1e9f), high(-1e9f);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            const glm::vec3 p(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
            low = glm::min(low, p);
            high = glm::max(high, p);
        }
    }
    const glm::vec3 centre = (low + high) * 0.5f;
    const float radius = glm::length(high - low) * 0.5f;
    const glm::vec3 eye = centre + glm::normalize(direction) * radius * 3.2f;
    const glm::mat4 view = glm::lookAt(eye, centre, glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(glm::radians(38.0f), 1.0f, radius * 0.1f, radius * 10.0f);
    const glm::mat4 viewProjection = projection * view;
    const glm::vec3 light = glm::normalize(glm::vec3(-0.4f, 0.8f, 0.5f) + glm::normalize(direction) * 0.3f);

    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        std::vector<ScreenVertex> projected(mesh->mNumVertices);
        for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
            const glm::vec4 clip =
                viewProjection * glm::vec4(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z, 1.0f);
            ScreenVertex& s = projected[i];
            s.invW = 1.0f / clip.w;
            s.screen = glm::vec3((clip.x * s.invW * 0.5f + 0.5f) * viewSize, (0.5f - clip.y * s.invW * 0.5f) * viewSize,
                                 clip.z * s.invW);
            s.uv = mesh->HasTextureCoords(0) ? glm::vec2(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y)
                                             : glm::vec2(0.0f);
            s.normal = mesh->HasNormals() ? glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z)
                                          : glm::vec3(0, 1, 0);
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            if (face.mNumIndices != 3) continue;
            const ScreenVertex tri[3] = {projected[face.mIndices[0]], projected[face.mIndices[1]],
                                         projected[face.mIndices[2]]};
            drawTriangle(canvas, tri, textures[mesh->mMaterialIndex], !twoSided[mesh->mMaterialIndex], light);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: model_preview <model.obj> <out.png>\n");
        return 2;
    }
    const std::filesystem::path modelPath(argv[1]);
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(
        modelPath.string(), aiProcess_JoinIdenticalVertices | aiProcess_Triangulate | aiProcess_FlipUVs);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::fprintf(stderr, "cannot import %s: %s\n", argv[1], importer.GetErrorString());
        return 1;
    }
    std::vector<Texture> textures;
    std::vector<bool> twoSided;
    for (unsigned i = 0; i < scene->mNumMaterials; ++i) {
        aiString name;
        Texture t;
        if (scene->mMaterials[i]->GetTexture(aiTextureType_DIFFUSE, 0, &name) == AI_SUCCESS) {
            t = loadTexture(modelPath.parent_path() / name.C_Str());
        }
        textures.push_back(std::move(t));
        float opacity = 1.0f;
        scene->mMaterials[i]->Get(AI_MATKEY_OPACITY, opacity);
        twoSided.push_back(opacity < 1.0f);
    }

    const glm::vec3 directions[2] = {{-0.8f, 0.45f, 1.0f}, {1.0f, 0.6f, -0.9f}};
    std::vector<unsigned char> image(static_cast<std::size_t>(viewSize) * 2 * viewSize * 3);
    for (int v = 0; v < 2; ++v) {
        Canvas canvas{
            std::vector<glm::vec3>(static_cast<std::size_t>(viewSize) * viewSize, glm::vec3(0.12f, 0.14f, 0.2f)),
            std::vector<float>(static_cast<std::size_t>(viewSize) * viewSize, 1e9f)};
        renderView(scene, textures, twoSided, directions[v], canvas);
        for (int y = 0; y < viewSize; ++y) {
            for (int x = 0; x < viewSize; ++x) {
                const glm::vec3 c = glm::clamp(canvas.colour[static_cast<std::size_t>(y) * viewSize + x], 0.0f, 1.0f);
                unsigned char* p = &image[(static_cast<std::size_t>(y) * viewSize * 2 + v * viewSize + x) * 3];
                // Clamped above, so adding a half rounds.
                for (int k = 0; k < 3; ++k)
                    p[k] = static_cast<unsigned char>(c[k] * 255.0f + 0.5f);  // NOLINT(bugprone-incorrect-roundings)
            }
        }
    }
    if (!stbi_write_png(argv[2], viewSize * 2, viewSize, 3, image.data(), viewSize * 2 * 3)) return 1;
    return 0;
}
