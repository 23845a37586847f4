#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace nox {

// The pixels of one image file as stb_image decodes it: 8 bits per channel,
// the file's own channel count, rows top first and tightly packed. Needs no GL,
// so it can be fed any bytes through a memory stream.
class DecodedImage {
public:
    // The smallest GL_MAX_TEXTURE_SIZE that the OpenGL versions this renderer
    // needs guarantee. A larger side could not be uploaded anyway, and a forged
    // header must not decide how much memory the decoder reserves.
    static constexpr int maxSide = 16384;

    // Reads the header first and decodes only an image whose sides both lie
    // within maxSide, and no JPEG whose Huffman tables the decoder would
    // overrun. A null file decodes nothing.
    explicit DecodedImage(std::FILE* file);
    // The same from the file at `path`; a file that cannot be opened decodes
    // nothing.
    static std::unique_ptr<DecodedImage> fromFile(const std::string& path);
    ~DecodedImage();

    DecodedImage(const DecodedImage&) = delete;
    DecodedImage& operator=(const DecodedImage&) = delete;

    // False for a JPEG with a Huffman table of more than 256 symbols, which
    // the decoder would write past; true for anything else. The stream is put
    // back where it was.
    static bool huffmanTablesFit(std::FILE* file);

    bool decoded() const { return pixels != nullptr; }
    // The header claims a side beyond maxSide; width and height hold the claim.
    bool oversized() const { return width > maxSide || height > maxSide; }

    // The rows copied onto a stride that is a multiple of `alignment` bytes, as
    // GL reads them with that unpack alignment.
    std::vector<unsigned char> rowsAlignedTo(int alignment) const;
    // Whether each row already starts on such a boundary.
    bool rowsAligned(int alignment) const;

    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int channels = 0;
};

}  // namespace nox
