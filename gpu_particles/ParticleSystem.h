#pragma once

#include <functional>

#include <GL/glew.h>

#include "assets/GlObject.h"

namespace nox::gpu_particles {

class ParticleComputeShader;
class ParticleGeometryShader;

// Seconds a particle lives; the compute programs drop anything older.
inline constexpr int particleMaxAge = 10;

// How one system brings new particles into the world.
struct Emission {
    double rate;  // particles per second of frame time
    int spread;   // side of the square (or box) new particles appear in, in world units
};

// The whole particles owed after a frame of `frameTime` seconds at `rate` per
// second. The fraction left over stays in `accumulator` for the next frame, so
// the total over any run is exactly rate times time. Never more than `limit`
// at once: a step cannot hold more than its capacity, and the debt of a frame
// that long is forgotten rather than carried.
int takeSpawnCount(double& accumulator, float frameTime, double rate, int limit);

// The most particles a system may hold when texel views reach `texelLimit`
// entries (GL_MAX_TEXTURE_BUFFER_SIZE): `wanted`, or fewer where the views of
// the velocity buffers, one entry longer, would not fit.
int particleCapacity(int wanted, GLint texelLimit);

// One particle system living on the GPU: two ping-pong pairs of storage
// buffers (positions and velocities, a vec4 each per particle; the velocity
// buffers hold one entry more, in which the compute programs count the steps
// that seed their random numbers), a texel view of each, through which the
// compute programs read the last step, a vertex array over each position
// buffer, and an atomic counter through which the compute step reports how
// many particles it wrote, read back through a copy. Owns every GL name it
// holds, the atlas texture included, and must be destroyed while the context
// exists.
class ParticleSystem {
public:
    // Loads the atlas from the textures directory and seeds buffer 0 with two
    // resting particles. Holds fewer than 200,000 particles, and says so, only
    // where the driver's texel views are too short for them.
    explicit ParticleSystem(const char* atlasFile);

    // Back to the two seeds, as when created: from here the same frame times
    // give the same particles again.
    void restart();

    // One compute step through `shader`, which the step makes current: takes
    // this frame's spawn count, sets the shared uniforms and then the
    // program's own (`loadOwnUniforms`), binds the buffers and the views of the
    // last pair (unbound again after), flips to the output pair, runs the
    // program over every live particle and reads the new count
    // back (through a copy, so that the counter itself stays GPU memory),
    // resetting the counter for the next step.
    void step(const ParticleComputeShader& shader, const Emission& emission,
              const std::function<void()>& loadOwnUniforms = {});

    // Draws the current particles as sprites with GL_MAX blending and no depth
    // writes, then restores blending off, depth writes on and the usual
    // alpha blend equation and function.
    void draw(const ParticleGeometryShader& shader) const;

    TextureObject texture;
    int atlasRows = 8;
    BufferObject positionBuffers[2];
    BufferObject velocityBuffers[2];
    TextureObject positionTexels[2];  // RGBA32F views of the buffers above
    TextureObject velocityTexels[2];
    int particleCount = 0;
    VertexArrayObject vertexArrays[2];
    BufferObject counterBuffer;
    BufferObject readBackBuffer;  // the count, copied for the CPU
    int currentIndex = 0;         // which buffer of each pair holds the newest particles
    int maxParticles = 200000;
    double spawnAccumulator = 0.0;
    bool counterFailureReported = false;

private:
    void loadStepUniforms(const ParticleComputeShader& shader, const Emission& emission);
    void dispatchStep();
    void readBackCount();
};

}  // namespace nox::gpu_particles
