#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "assets/DecodedImage.h"

namespace {

using nox::DecodedImage;

// A JPEG that is only the start of an image, one Huffman table of `symbols`
// symbols (all of code length 16) and the end. With more than 256 symbols the
// JPEG decoder of stb_image 2.27 writes past its table: fuzzing found it.
std::string jpegWithHuffmanTable(int symbols) {
    std::string bytes = "\xFF\xD8\xFF\xC4";
    const int length = 2 + 1 + 16 + symbols;
    bytes += static_cast<char>(length >> 8);
    bytes += static_cast<char>(length & 0xFF);
    bytes += '\x00';  // a DC table, number 0
    std::vector<int> counts(16, 0);
    for (int left = symbols, i = 15; left > 0; --i) counts[i] = left > 255 ? 255 : left, left -= counts[i];
    for (int count : counts) bytes += static_cast<char>(count);
    bytes += std::string(symbols, '\x01');
    return bytes + "\xFF\xD9";
}

// A real JPEG from the encoder: four tables in one segment, a frame and a scan.
std::string encodedJpeg() {
    std::vector<unsigned char> pixels(16 * 8 * 3);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(i * 13);
    std::string bytes;
    stbi_write_jpg_to_func(
        [](void* out, void* data, int size) { static_cast<std::string*>(out)->append(static_cast<char*>(data), size); },
        &bytes, 16, 8, 3, pixels.data(), 90);
    return bytes;
}

struct MemoryFile {
    explicit MemoryFile(std::string& bytes) : file(fmemopen(bytes.data(), bytes.size(), "rb")) {}
    ~MemoryFile() { std::fclose(file); }
    std::FILE* file;
};

TEST(DecodedImage, AJpegHuffmanTableOfMoreThan256SymbolsIsRefusedBeforeDecoding) {
    std::string overlong = "--" + jpegWithHuffmanTable(257);  // the image starts where the stream stands
    MemoryFile refused(overlong);
    std::fseek(refused.file, 2, SEEK_SET);
    EXPECT_FALSE(DecodedImage::huffmanTablesFit(refused.file));
    EXPECT_EQ(std::ftell(refused.file), 2) << "the stream is put back";
    EXPECT_FALSE(DecodedImage(refused.file).decoded());

    std::string full = jpegWithHuffmanTable(256);
    MemoryFile fits(full);
    EXPECT_TRUE(DecodedImage::huffmanTablesFit(fits.file));

    std::string real = encodedJpeg();
    MemoryFile encoded(real);
    EXPECT_TRUE(DecodedImage::huffmanTablesFit(encoded.file));
    const DecodedImage image(encoded.file);
    EXPECT_TRUE(image.decoded());
    EXPECT_EQ(image.width, 16);
}

}  // namespace
