#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace nox::test {

// One way of spoiling one file (or, for a link error, one shader program) of
// a copy of the resource tree.
enum class Damage {
    missing,            // any file: deleted
    empty,              // an image of 0 bytes
    truncated,          // an image or model cut after half of its bytes
    notAnImage,         // an image replaced by a line of text
    sixteenBits,        // an image rewritten as a PNG of 16 bits per channel
    greyAndAlpha,       // an image rewritten with two channels
    enormousHeader,     // an image whose header claims the size below
    missingMaterials,   // a model whose material library is deleted
    missingMapOfModel,  // a model whose first texture named by its materials is deleted
    garbage,            // a model overwritten with random bytes
    indexOutOfRange,    // a model whose first face names a vertex it does not have
    polygonFace,        // a model with an added face of five corners
    compileError,       // a shader stage that does not compile
    linkError,          // a shader program whose stages compile but do not link
};

// The size an enormous header claims: wider than any texture GL must accept,
// yet small enough that the decoder's own header checks let it pass, so that
// without a bound of its own the loader would have 640 MB reserved for it.
constexpr unsigned enormousWidth = 40000;
constexpr unsigned enormousHeight = 4000;

const char* damageName(Damage damage);

// What a case damages: a path below the resource tree ("textures/moon.png",
// "models/boat/boat.obj", "shader/terrain.frag") or, for a link error, a
// program's path stem ("shader/terrain").
struct FaultCase {
    std::string target;
    Damage damage;
};

// How test output names a case: "textures/moon.png missing".
void PrintTo(const FaultCase& fault, std::ostream* out);

// Every case for the files of the tree at `resources`, found on disk: each
// image with every image damage, each model (.obj) with every model damage,
// each shader stage missing and failing to compile, each program failing to
// link. Sorted by target, then damage.
std::vector<FaultCase> enumerateFaultCases(const std::string& resources);

// Applies the case to the tree at `resources`, which must be a private copy.
void applyDamage(const std::string& resources, const FaultCase& fault);

// The file name as the material library of the model at `obj` names it, of
// each texture map, in the order they appear; and the library itself.
std::string materialLibraryOf(const std::string& obj);
std::vector<std::string> textureMapsOf(const std::string& mtl);

}  // namespace nox::test
