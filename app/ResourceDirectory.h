#pragma once

#include <iosfwd>

namespace nox {

// Where every loader looks for shaders, textures and models: relative to the
// working directory, so the program runs from the bin/ beside res/.
inline constexpr const char* resourceDirectory = "../res";

// Says once, on standard output with the loaders' messages, when there is no
// resource tree where the loaders will look, naming the directory looked in.
// The loaders still try and report each file they miss.
void reportMissingResourceDirectory(std::ostream& out);

}  // namespace nox
