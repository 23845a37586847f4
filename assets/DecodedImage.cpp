#include "assets/DecodedImage.h"

#include <cstring>

#include <stb/stb_image.h>

namespace nox {

DecodedImage::DecodedImage(std::FILE* file) {
    if (file == nullptr) return;
    if (stbi_info_from_file(file, &width, &height, &channels) == 0 || oversized()) return;
    pixels = stbi_load_from_file(file, &width, &height, &channels, 0);
}

DecodedImage::~DecodedImage() {
    stbi_image_free(pixels);
}

bool DecodedImage::rowsAligned(int alignment) const {
    return (static_cast<size_t>(width) * channels) % alignment == 0;
}

std::vector<unsigned char> DecodedImage::rowsAlignedTo(int alignment) const {
    const size_t rowBytes = static_cast<size_t>(width) * channels;
    const size_t stride = (rowBytes + alignment - 1) / alignment * alignment;
    std::vector<unsigned char> aligned(stride * height, 0);
    for (size_t row = 0; row < static_cast<size_t>(height); ++row) {
        std::memcpy(&aligned[row * stride], pixels + row * rowBytes, rowBytes);
    }
    return aligned;
}

}  // namespace nox
