#include "app/ResourceDirectory.h"

#include <filesystem>
#include <ostream>

namespace nox {

void reportMissingResourceDirectory(std::ostream& out) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (fs::is_directory(resourceDirectory, error)) return;
    const fs::path workingDirectory = fs::current_path(error);
    out << "Resource directory not found: " << (workingDirectory / resourceDirectory).lexically_normal().string()
        << " (" << resourceDirectory << " from the working directory " << workingDirectory.string() << ")" << std::endl;
}

}  // namespace nox
