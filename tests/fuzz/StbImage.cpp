// The image decoder compiled into the image fuzzer from the system's header,
// so that the fuzzer sees its branches; the program links the system's build.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
