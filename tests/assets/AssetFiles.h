#pragma once

// Shared by the asset tests: where the build put the generated tree, and the
// files the renderer reads from it.
#include <filesystem>
#include <string>
#include <vector>

namespace nox::test {

inline std::filesystem::path resourceDir() {
    return NOXVALE_RES_DIR;
}

struct ImageFile {
    std::string path;  // below res/textures
    int channels;
};

inline const std::vector<ImageFile>& imageFiles() {
    static const std::vector<ImageFile> files = {
        {"left.png", 3},           {"right.png", 3},          {"back.png", 3},
        {"bottom.png", 3},         {"front.png", 3},          {"top.png", 3},
        {"moon.png", 4},           {"snow.jpg", 3},           {"waterDUDV.png", 3},
        {"normal.png", 3},         {"fireAtlas.png", 4},      {"particleSnow.png", 4},
        {"lensflares/lf1.png", 4}, {"lensflares/lf2.png", 4}, {"lensflares/lf3.png", 4},
        {"lensflares/lf4.png", 4}, {"lensflares/lf5.png", 4}, {"lensflares/lf6.png", 4},
        {"lensflares/lf7.png", 4},
    };
    return files;
}

// A decoded image, as the renderer's loader sees it (no flip, own channel count).
struct Picture {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::vector<unsigned char> data;

    int at(int x, int y, int c) const { return data[(static_cast<std::size_t>(y) * width + x) * channels + c]; }
};

Picture loadPicture(const std::filesystem::path& path);

}  // namespace nox::test
