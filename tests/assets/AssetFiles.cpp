#include "AssetFiles.h"

#include <stb/stb_image.h>

namespace nox::test {

Picture loadPicture(const std::filesystem::path& path) {
    Picture p;
    unsigned char* pixels = stbi_load(path.c_str(), &p.width, &p.height, &p.channels, 0);
    if (pixels) {
        p.data.assign(pixels, pixels + static_cast<std::size_t>(p.width) * p.height * p.channels);
        stbi_image_free(pixels);
    }
    return p;
}

}  // namespace nox::test
