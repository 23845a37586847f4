#include "tests/gl/PerturbedParticles.h"

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "app/ResourceDirectory.h"

namespace nox::test {

namespace {

namespace fs = std::filesystem;

// Placed after the line that includes the shared step, so that it reaches
// the program's own functions. The macros come after the functions, so these
// still call the built-in functions themselves.
constexpr const char* prelude = R"(
float perturbedMix(float x, float y, float a) { return x * (1.0 - a) + y * a; }
vec2 perturbedMix(vec2 x, vec2 y, float a) { return x * (1.0 - a) + y * a; }
vec3 perturbedMix(vec3 x, vec3 y, float a) { return x * (1.0 - a) + y * a; }
float perturbedSin(float x) { return cos(x - 1.5707963); }
float perturbedCos(float x) { return sin(x + 1.5707963); }
float perturbedSmoothstep(float edge0, float edge1, float x) {
    float t = clamp((x - edge0) * (1.0 / (edge1 - edge0)), 0.0, 1.0);
    return t * t * fma(-2.0, t, 3.0);
}
float perturbedPow(float x, float y) { return exp2(y * log2(x)); }
vec3 oneUlpOff(vec3 v) { return uintBitsToFloat(floatBitsToUint(v) + 1u); }
#define mix perturbedMix
#define sin perturbedSin
#define cos perturbedCos
#define smoothstep perturbedSmoothstep
#define pow perturbedPow
)";

// The one statement through which a particle program moves a particle.
const std::regex integration(R"(position\.xyz \+= ([^;]+);)");

std::string read(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void perturb(const fs::path& program) {
    std::string source = read(program);
    const size_t include = source.find("\n#include ");
    const auto moves = std::distance(std::sregex_iterator(source.begin(), source.end(), integration), {});
    if (include == std::string::npos || moves != 1) {
        throw std::runtime_error(program.string() + ": expected an #include line and one \"position.xyz += ...;\"");
    }
    source.insert(source.find('\n', include + 1) + 1, prelude);
    source = std::regex_replace(source, integration, "position.xyz = oneUlpOff(position.xyz + ($1));");
    std::ofstream(program) << source;
}

}  // namespace

PerturbedParticleTree::PerturbedParticleTree()
    : root(fs::temp_directory_path() / ("noxvale_perturbed_" + std::to_string(getpid()))),
      previousDirectory(fs::current_path()) {
    const fs::path resources = previousDirectory / resourceDirectory;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "res");
    for (const fs::directory_entry& entry : fs::directory_iterator(resources)) {
        if (entry.path().filename() == "shader") continue;
        fs::create_directory_symlink(fs::absolute(entry.path()), root / "res" / entry.path().filename());
    }
    fs::copy(resources / "shader", root / "res" / "shader");
    for (const char* program : {"fire.comp", "snow.comp"}) perturb(root / "res" / "shader" / program);
    fs::current_path(root / "bin");
}

PerturbedParticleTree::~PerturbedParticleTree() {
    fs::current_path(previousDirectory);
    std::error_code ignored;
    fs::remove_all(root, ignored);
}

bool perturbedParticlesRequested() {
    const char* value = std::getenv("NOXVALE_PERTURBED_PARTICLES");
    return value != nullptr && std::string(value) == "1";
}

}  // namespace nox::test
