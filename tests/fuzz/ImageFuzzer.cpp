// libFuzzer target: any bytes as an image file, through the texture loader's
// decoding (header check, decode, row alignment for the upload), without GL.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "assets/DecodedImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;  // a memory stream needs at least one byte
    std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;
    const nox::DecodedImage image(file);
    std::fclose(file);
    if (image.decoded() && !image.rowsAligned(4)) image.rowsAlignedTo(4);
    return 0;
}
