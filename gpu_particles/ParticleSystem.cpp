#include "gpu_particles/ParticleSystem.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "app/Transform.h"
#include "app/Window.h"
#include "assets/Texture.h"
#include "gpu_particles/ParticleComputeShader.h"
#include "gpu_particles/ParticleGeometryShader.h"

namespace nox::gpu_particles {

namespace {

constexpr const char* textureDirectory = "../res/textures";
constexpr GLsizeiptr particleBytes = sizeof(glm::vec4);

// Storage block bindings of the compute programs.
constexpr GLuint lastPositionsBinding = 0;
constexpr GLuint nextPositionsBinding = 1;
constexpr GLuint lastVelocitiesBinding = 2;
constexpr GLuint nextVelocitiesBinding = 3;
constexpr GLuint liveCountBinding = 4;
// Texture units of the views through which the programs read the last step.
// The last pair stays bound as storage too, where every step's layout has it.
constexpr GLuint lastPositionsUnit = 0;
constexpr GLuint lastVelocitiesUnit = 1;

constexpr GLuint positionAttribute = 0;

// Two particles at rest above the valley. Their fourth components are zero:
// no sprite size, no age.
const std::array<glm::vec4, 2> seedPositions{{{0.0f, 40.0f, 0.0f, 0.0f}, {2.0f, 40.0f, 1.0f, 0.0f}}};
const std::array<glm::vec4, 2> seedVelocities{{glm::vec4(0.0f), glm::vec4(0.0f)}};

BufferObject createParticleBuffer(GLsizeiptr bytes) {
    BufferObject buffer(gl::generateBuffer());
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
    glBufferData(GL_SHADER_STORAGE_BUFFER, bytes, nullptr, GL_DYNAMIC_COPY);
    return buffer;
}

TextureObject createTexelView(GLuint buffer) {
    TextureObject view(gl::generateTexture());
    glBindTexture(GL_TEXTURE_BUFFER, view);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32F, buffer);
    glBindTexture(GL_TEXTURE_BUFFER, 0);
    return view;
}

void bindTexelView(GLuint unit, GLuint view) {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_BUFFER, view);
}

GLint texelViewLimit() {
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_BUFFER_SIZE, &limit);
    return limit;
}

// Zeroed by restart(), like the rest of the step state. Written and read by
// the GPU only, so the driver can keep it in the GPU's own memory.
BufferObject createCounterBuffer() {
    BufferObject buffer(gl::generateBuffer());
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, buffer);
    glBufferData(GL_ATOMIC_COUNTER_BUFFER, sizeof(GLuint), nullptr, GL_DYNAMIC_COPY);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, 0);
    return buffer;
}

// Where the count is copied for the CPU to read.
BufferObject createReadBackBuffer() {
    BufferObject buffer(gl::generateBuffer());
    glBindBuffer(GL_COPY_WRITE_BUFFER, buffer);
    glBufferData(GL_COPY_WRITE_BUFFER, sizeof(GLuint), nullptr, GL_STREAM_READ);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
    return buffer;
}

void uploadSeeds(GLuint buffer, const std::array<glm::vec4, 2>& seeds) {
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, buffer);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(seeds.size()) * particleBytes, seeds.data());
}

}  // namespace

int takeSpawnCount(double& accumulator, float frameTime, double rate, int limit) {
    const double owed = accumulator + static_cast<double>(frameTime) * rate;
    accumulator = owed;
    if (owed <= 0.0) return 0;
    const double whole = std::trunc(owed);
    accumulator = owed - whole;
    return whole < limit ? static_cast<int>(whole) : limit;
}

int particleCapacity(int wanted, GLint texelLimit) {
    return std::max(0, std::min(wanted, texelLimit - 1));
}

ParticleSystem::ParticleSystem(const char* atlasFile) : texture(loadTexture(atlasFile, textureDirectory)) {
    const GLint texelLimit = texelViewLimit();
    const int capacity = particleCapacity(maxParticles, texelLimit);
    if (capacity < maxParticles) {
        std::cerr << "Texture buffers hold at most " << texelLimit << " entries here: the particles of " << atlasFile
                  << " are capped at " << capacity << std::endl;
        maxParticles = capacity;
    }
    const GLsizeiptr capacityBytes = maxParticles * particleBytes;
    for (int i = 0; i < 2; ++i) {
        positionBuffers[i] = createParticleBuffer(capacityBytes);
        velocityBuffers[i] = createParticleBuffer(capacityBytes + particleBytes);
        positionTexels[i] = createTexelView(positionBuffers[i]);
        velocityTexels[i] = createTexelView(velocityBuffers[i]);
    }
    counterBuffer = createCounterBuffer();
    readBackBuffer = createReadBackBuffer();
    restart();

    for (int i = 0; i < 2; ++i) {
        vertexArrays[i] = VertexArrayObject(gl::generateVertexArray());
        glBindVertexArray(vertexArrays[i]);
        glBindBuffer(GL_ARRAY_BUFFER, positionBuffers[i]);
        glEnableVertexAttribArray(positionAttribute);
        glVertexAttribPointer(positionAttribute, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParticleSystem::restart() {
    uploadSeeds(positionBuffers[0], seedPositions);
    uploadSeeds(velocityBuffers[0], seedVelocities);
    const glm::vec4 firstStep(0.0f);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, maxParticles * particleBytes, particleBytes, &firstStep);
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    particleCount = static_cast<int>(seedPositions.size());
    currentIndex = 0;
    spawnAccumulator = 0.0;
    const GLuint zero = 0;
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, counterBuffer);
    glBufferSubData(GL_ATOMIC_COUNTER_BUFFER, 0, sizeof zero, &zero);
    glBindBuffer(GL_ATOMIC_COUNTER_BUFFER, 0);
}

void ParticleSystem::step(const ParticleComputeShader& shader, const Emission& emission,
                          const std::function<void()>& loadOwnUniforms) {
    glUseProgram(shader.program);
    loadStepUniforms(shader, emission);
    if (loadOwnUniforms) loadOwnUniforms();
    dispatchStep();
    glUseProgram(0);
}

void ParticleSystem::loadStepUniforms(const ParticleComputeShader& shader, const Emission& emission) {
    const float frameTime = static_cast<float>(deltaTime);
    const int spawns = takeSpawnCount(spawnAccumulator, frameTime, emission.rate, maxParticles);
    glUniform1i(shader.lastCount, particleCount);
    glUniform1i(shader.maximumCount, maxParticles);
    glUniform1f(shader.deltaT, frameTime);
    glUniform1i(shader.spawnCount, spawns);
    glUniform1i(shader.maxAge, particleMaxAge);
    glUniform1i(shader.particleSpread, emission.spread);
}

void ParticleSystem::dispatchStep() {
    const int next = 1 - currentIndex;
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, lastPositionsBinding, positionBuffers[currentIndex]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, nextPositionsBinding, positionBuffers[next]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, lastVelocitiesBinding, velocityBuffers[currentIndex]);
    glBindBufferBase(GL_SHADER_STORAGE_BUFFER, nextVelocitiesBinding, velocityBuffers[next]);
    glBindBufferBase(GL_ATOMIC_COUNTER_BUFFER, liveCountBinding, counterBuffer);
    bindTexelView(lastPositionsUnit, positionTexels[currentIndex]);
    bindTexelView(lastVelocitiesUnit, velocityTexels[currentIndex]);
    currentIndex = next;

    // One group more than the live particles fill: the spare invocations are
    // the ones that spawn when every particle has died.
    glDispatchCompute(static_cast<GLuint>(particleCount / ParticleComputeShader::workGroupSize + 1), 1, 1);
    bindTexelView(lastPositionsUnit, 0);
    bindTexelView(lastVelocitiesUnit, 0);
    glActiveTexture(GL_TEXTURE0);
    // The count is copied out of the counter, the draw sources the new
    // positions as vertices, and the next step fetches both arrays as texels.
    glMemoryBarrier(GL_BUFFER_UPDATE_BARRIER_BIT | GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT | GL_TEXTURE_FETCH_BARRIER_BIT);
    readBackCount();
}

void ParticleSystem::readBackCount() {
    glBindBuffer(GL_COPY_READ_BUFFER, counterBuffer);
    glBindBuffer(GL_COPY_WRITE_BUFFER, readBackBuffer);
    glCopyBufferSubData(GL_COPY_READ_BUFFER, GL_COPY_WRITE_BUFFER, 0, 0, sizeof(GLuint));
    const auto* counted =
        static_cast<const GLuint*>(glMapBufferRange(GL_COPY_WRITE_BUFFER, 0, sizeof(GLuint), GL_MAP_READ_BIT));
    if (counted != nullptr) {
        // The draw reads this many entries from buffers of maxParticles, so a
        // counter that ran on (it is not reset after a failed read) is cut.
        particleCount = static_cast<int>(std::min(*counted, static_cast<GLuint>(maxParticles)));
        glUnmapBuffer(GL_COPY_WRITE_BUFFER);
        const GLuint zero = 0;
        glClearBufferSubData(GL_COPY_READ_BUFFER, GL_R32UI, 0, sizeof zero, GL_RED_INTEGER, GL_UNSIGNED_INT, &zero);
    } else if (!counterFailureReported) {
        std::cerr << "Particle counter could not be read; keeping " << particleCount << " particles" << std::endl;
        counterFailureReported = true;
    }
    glBindBuffer(GL_COPY_READ_BUFFER, 0);
    glBindBuffer(GL_COPY_WRITE_BUFFER, 0);
}

void ParticleSystem::draw(const ParticleGeometryShader& shader) const {
    // Each colour channel keeps the brighter of sprite and scene, so sprites
    // never add up and their black backgrounds never darken anything.
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBlendEquation(GL_MAX);

    glUseProgram(shader.program);
    glUniformMatrix4fv(shader.modelViewMatrix, 1, GL_FALSE, glm::value_ptr(getViewMatrix()));
    glUniformMatrix4fv(shader.projectionMatrix, 1, GL_FALSE, glm::value_ptr(projection));
    glUniform1i(shader.numRows, atlasRows);
    glBindVertexArray(vertexArrays[currentIndex]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    glDrawArrays(GL_POINTS, 0, particleCount);
    glBindVertexArray(0);
    glUseProgram(0);

    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

}  // namespace nox::gpu_particles
