#include "assets/DecodedImage.h"

#include <algorithm>
#include <cstring>

#include <stb/stb_image.h>

namespace nox {

namespace {

constexpr int jpegMarker = 0xFF;
constexpr int startOfImage = 0xD8;
constexpr int endOfImage = 0xD9;
constexpr int huffmanTables = 0xC4;
constexpr int huffmanCodeLengths = 16;
constexpr int mostHuffmanSymbols = 256;

bool isRestartMarker(int marker) {
    return marker >= 0xD0 && marker <= 0xD7;
}

int readBigEndian16(std::FILE* file) {
    const int high = std::fgetc(file);
    const int low = std::fgetc(file);
    return high == EOF || low == EOF ? -1 : (high << 8) | low;
}

}  // namespace

// The JPEG decoder of the stb_image we build with (2.27) trusts a Huffman
// table's code counts: counts adding up to more than 256 symbols make it write
// past the end of the table, into the rest of its state and beyond. Walks the
// file's segments and, inside the compressed data, the bytes up to the next
// marker.
bool DecodedImage::huffmanTablesFit(std::FILE* file) {
    const long start = std::ftell(file);
    bool fit = true;
    const int first = std::fgetc(file);
    const int second = std::fgetc(file);
    if (first == jpegMarker && second == startOfImage) {
        for (int byte = std::fgetc(file); byte != EOF && fit; byte = std::fgetc(file)) {
            if (byte != jpegMarker) continue;  // compressed data
            int marker = std::fgetc(file);
            while (marker == jpegMarker) marker = std::fgetc(file);
            if (marker == EOF || marker == endOfImage) break;
            if (marker == 0 || marker == startOfImage || isRestartMarker(marker)) continue;
            int remaining = readBigEndian16(file) - 2;
            if (marker != huffmanTables) {
                if (remaining > 0) std::fseek(file, remaining, SEEK_CUR);
                continue;
            }
            while (remaining > 0 && fit) {
                std::fgetc(file);  // table class and number
                int symbols = 0;
                for (int length = 0; length < huffmanCodeLengths; ++length) symbols += std::max(std::fgetc(file), 0);
                fit = symbols <= mostHuffmanSymbols;
                std::fseek(file, symbols, SEEK_CUR);
                remaining -= 1 + huffmanCodeLengths + symbols;
            }
        }
    }
    std::clearerr(file);
    std::fseek(file, start, SEEK_SET);
    return fit;
}

DecodedImage::DecodedImage(std::FILE* file) {
    if (file == nullptr || !huffmanTablesFit(file)) return;
    if (stbi_info_from_file(file, &width, &height, &channels) == 0 || oversized()) return;
    pixels = stbi_load_from_file(file, &width, &height, &channels, 0);
}

std::unique_ptr<DecodedImage> DecodedImage::fromFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    auto image = std::make_unique<DecodedImage>(file);
    if (file != nullptr) std::fclose(file);
    return image;
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
