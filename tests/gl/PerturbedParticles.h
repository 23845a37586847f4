#pragma once

#include <filesystem>

namespace nox::test {

// A copy of the resource tree whose particle compute programs do their
// arithmetic as another conformant driver may: mix as two products and a sum
// (where Mesa fuses it into one multiply-add),
// sine and cosine by another accurate route, smoothstep and pow written out,
// and every integrated position one unit in the last place off. Entering it
// makes it the working directory's "../res"; the destructor goes back and
// removes the copy. Enter it before any particle program is built.
class PerturbedParticleTree {
public:
    PerturbedParticleTree();
    ~PerturbedParticleTree();

    PerturbedParticleTree(const PerturbedParticleTree&) = delete;
    PerturbedParticleTree& operator=(const PerturbedParticleTree&) = delete;

private:
    std::filesystem::path root;
    std::filesystem::path previousDirectory;
};

// Whether this run asks for the perturbed particle programs
// (NOXVALE_PERTURBED_PARTICLES=1).
bool perturbedParticlesRequested();

}  // namespace nox::test
