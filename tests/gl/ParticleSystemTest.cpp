#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Window.h"
#include "assets/ModelInstance.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"
#include "tests/support/GlFunctionHook.h"
#include "tests/support/GlTestSupport.h"

namespace {

using nox::gpu_particles::ParticleSystem;
using nox::test::GlFunctionHook;
using nox::test::integer;

constexpr float unwritten = -1.0f;  // no age a particle can have

struct Particle {
    glm::vec4 position;
    glm::vec4 velocity;  // w: age in seconds

    float age() const { return velocity.w; }
    bool isSeed() const { return glm::vec3(velocity) == glm::vec3(0.0f); }  // nothing else rests
};

// The first `count` particles of buffer pair `index`.
std::vector<Particle> readParticles(const ParticleSystem& system, int index, int count) {
    const std::vector<float> positions = nox::test::bufferFloats(system.positionBuffers[index]);
    const std::vector<float> velocities = nox::test::bufferFloats(system.velocityBuffers[index]);
    std::vector<Particle> particles(static_cast<size_t>(count));
    for (size_t i = 0; i < particles.size(); ++i) {
        particles[i] = {glm::make_vec4(&positions[4 * i]), glm::make_vec4(&velocities[4 * i])};
    }
    return particles;
}

// Slots among `particles` that the step left unwritten.
long gaps(const std::vector<Particle>& particles) {
    return std::count_if(particles.begin(), particles.end(), [](const Particle& p) { return p.age() < 0.0f; });
}

// Marks the pair that the next step writes, so that any slot it leaves out shows.
void markNextPairUnwritten(const ParticleSystem& system) {
    const int next = 1 - system.currentIndex;
    for (GLuint buffer : {system.positionBuffers[next].id(), system.velocityBuffers[next].id()}) {
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glClearBufferData(GL_ARRAY_BUFFER, GL_R32F, GL_RED, GL_FLOAT, &unwritten);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void stepSnow(ParticleSystem& system, double frameTime) {
    nox::deltaTime = frameTime;
    nox::gpu_particles::updateSnow(system);
}

void stepFire(ParticleSystem& system, double frameTime) {
    nox::deltaTime = frameTime;
    nox::gpu_particles::updateFire(system);
}

// What the hooked entry points saw: the counter as each mapping showed it,
// each barrier's bits, each vertex array bound.
using Call = std::pair<std::string, GLuint>;
std::vector<Call>& calls() {
    static std::vector<Call> recorded;
    return recorded;
}

using MapHook = GlFunctionHook<__glewMapBufferRange>;
using BarrierHook = GlFunctionHook<__glewMemoryBarrier>;
using VertexArrayHook = GlFunctionHook<__glewBindVertexArray>;

GLuint mappedBuffer = 0;

void* GLAPIENTRY recordCounter(GLenum target, GLintptr offset, GLsizeiptr length, GLbitfield access) {
    GLint bound = 0;
    glGetIntegerv(target == GL_COPY_WRITE_BUFFER ? GL_COPY_WRITE_BUFFER_BINDING : GL_ATOMIC_COUNTER_BUFFER_BINDING,
                  &bound);
    mappedBuffer = static_cast<GLuint>(bound);
    void* mapped = MapHook::original(target, offset, length, access);
    calls().emplace_back("map", *static_cast<GLuint*>(mapped));
    return mapped;
}

void* GLAPIENTRY refuseMapping(GLenum, GLintptr, GLsizeiptr, GLbitfield) {
    return nullptr;
}

void GLAPIENTRY recordBarrier(GLbitfield barriers) {
    calls().emplace_back("barrier", barriers);
    BarrierHook::original(barriers);
}

void GLAPIENTRY recordVertexArray(GLuint vertexArray) {
    calls().emplace_back("vertex array", vertexArray);
    VertexArrayHook::original(vertexArray);
}

bool wasBound(GLuint vertexArray) {
    return std::find(calls().begin(), calls().end(), Call("vertex array", vertexArray)) != calls().end();
}

GLuint positionSource(GLuint vertexArray) {
    GLint buffer = 0;
    glBindVertexArray(vertexArray);
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
    glBindVertexArray(0);
    return static_cast<GLuint>(buffer);
}

class ParticleSystemTest : public testing::Test {
protected:
    void SetUp() override {
        nox::getCamera() = nox::Camera{};
        calls().clear();
    }

    void TearDown() override {
        nox::deltaTime = 0.0;
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    ParticleSystem snow{"particleSnow.png"};
};

TEST_F(ParticleSystemTest, AHalfSecondFrameSpawnsFiveThousandFlakesGapFreeAroundTheCamera) {
    constexpr float halfSpread = 150.0f;
    const glm::vec3 camera(100.0f, 30.0f, -50.0f);
    nox::getCamera().position = camera;
    markNextPairUnwritten(snow);
    stepSnow(snow, 0.5);
    ASSERT_EQ(snow.particleCount, 5002);

    int seeds = 0;
    int flakes = 0;
    const std::vector<Particle> particles = readParticles(snow, snow.currentIndex, snow.particleCount + 1);
    for (int i = 0; i < snow.particleCount; ++i) {
        const Particle& p = particles[i];
        const bool nearCamera =
            glm::all(glm::lessThanEqual(glm::abs(glm::vec3(p.position) - camera), glm::vec3(halfSpread)));
        seeds += p.isSeed() && p.age() == 0.5f;
        flakes += !p.isSeed() && p.age() == 0.0f && nearCamera;
    }
    EXPECT_EQ(seeds, 2);
    EXPECT_EQ(flakes, 5000);
    EXPECT_EQ(particles.back().age(), unwritten);  // nothing written past the count
}

// Where this step's new flakes are, sorted.
std::vector<std::array<float, 3>> newFlakes(const ParticleSystem& snow) {
    std::vector<std::array<float, 3>> flakes;
    for (const Particle& p : readParticles(snow, snow.currentIndex, snow.particleCount)) {
        if (p.age() == 0.0f) flakes.push_back({p.position.x, p.position.y, p.position.z});
    }
    std::sort(flakes.begin(), flakes.end());
    return flakes;
}

TEST_F(ParticleSystemTest, NewFlakesDependOnTheStepAndNotOnTheRun) {
    stepSnow(snow, 0.1);
    const auto first = newFlakes(snow);
    stepSnow(snow, 0.1);
    const auto second = newFlakes(snow);
    ASSERT_EQ(first.size(), 1000u);
    ASSERT_EQ(second.size(), 1000u);
    EXPECT_NE(first, second);  // the same frame time, yet other places

    snow.restart();
    EXPECT_EQ(snow.particleCount, 2);
    stepSnow(snow, 0.1);
    EXPECT_EQ(newFlakes(snow), first);
    stepSnow(snow, 0.1);
    EXPECT_EQ(newFlakes(snow), second);
}

// Cohorts aged 8, 4 and 0 seconds after two steps; the next step of 2.5 s
// ends the oldest, and everyone else keeps their place relative to the rest.
TEST_F(ParticleSystemTest, ParticlesStayOldestFirstAndTheDeadLeaveFromTheFront) {
    for (double frameTime : {3.0, 4.0, 4.0}) stepSnow(snow, frameTime);
    ASSERT_EQ(snow.particleCount, 110000);
    const std::vector<Particle> before = readParticles(snow, snow.currentIndex, snow.particleCount);
    markNextPairUnwritten(snow);
    stepSnow(snow, 2.5);
    ASSERT_EQ(snow.particleCount, 105000);

    const std::vector<Particle> after = readParticles(snow, snow.currentIndex, snow.particleCount + 1);
    constexpr size_t dead = 30000;
    for (size_t i = 0; i < 80000; ++i) {
        ASSERT_EQ(glm::vec3(after[i].velocity), glm::vec3(before[i + dead].velocity)) << i;
    }
    for (size_t i = 1; i < 105000; ++i) ASSERT_LE(after[i].age(), after[i - 1].age()) << i;
    EXPECT_EQ(after.front().age(), 6.5f);
    EXPECT_EQ(after[104999].age(), 0.0f);
    EXPECT_EQ(after.back().age(), unwritten);
}

// Entries left behind by a count that was never read can be in any order.
TEST_F(ParticleSystemTest, AgesOutOfOrderStillGiveGapFreeOutputAndAreGoneOneLifetimeLater) {
    std::vector<glm::vec4> velocities(1000);
    for (size_t i = 0; i < velocities.size(); ++i) velocities[i] = {0.0f, -1.0f, 0.0f, i % 2 == 0 ? 11.0f : 1.0f};
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, snow.velocityBuffers[snow.currentIndex]);
    glBufferSubData(GL_SHADER_STORAGE_BUFFER, 0, static_cast<GLsizeiptr>(velocities.size() * sizeof(glm::vec4)),
                    velocities.data());
    glBindBuffer(GL_SHADER_STORAGE_BUFFER, 0);
    snow.particleCount = 1000;

    for (double frameTime : {0.0, 6.0, 6.0}) {
        markNextPairUnwritten(snow);
        stepSnow(snow, frameTime);
        std::vector<Particle> particles = readParticles(snow, snow.currentIndex, snow.particleCount + 1);
        EXPECT_EQ(particles.back().age(), unwritten);
        particles.pop_back();
        EXPECT_EQ(gaps(particles), 0);
    }
    ASSERT_EQ(snow.particleCount, 120000);  // the two cohorts of new flakes
    for (const Particle& p : readParticles(snow, snow.currentIndex, snow.particleCount)) {
        ASSERT_LE(p.age(), nox::gpu_particles::particleMaxAge);
    }
}

TEST_F(ParticleSystemTest, WithEveryParticleGoneOneGroupStillRunsAndSpawningResumes) {
    ParticleSystem fire("fireAtlas.png");
    fire.particleCount = 0;
    stepFire(fire, 1.0);
    EXPECT_EQ(fire.particleCount, 1);
}

// The count is copied out after one barrier that also orders the draw's
// vertices and the next step's texel fetches; the counter itself is never
// mapped, so the driver may keep it in the GPU's own memory.
TEST_F(ParticleSystemTest, TheCounterNeverRunsPastTheCapacityAndIsReadThroughACopyAfterTheRightBarrier) {
    MapHook mapHook(recordCounter);
    BarrierHook barrierHook(recordBarrier);
    stepSnow(snow, 25.0);  // more owed than the capacity; the seeds grow too old
    markNextPairUnwritten(snow);
    stepSnow(snow, 0.5);  // 5,000 owed with room for a few
    ASSERT_EQ(calls().size(), 4u);
    const GLuint ordered =
        GL_BUFFER_UPDATE_BARRIER_BIT | GL_VERTEX_ATTRIB_ARRAY_BARRIER_BIT | GL_TEXTURE_FETCH_BARRIER_BIT;
    EXPECT_EQ(calls()[0], Call("barrier", ordered));
    EXPECT_EQ(calls()[1].first, "map");
    EXPECT_LE(calls()[1].second, static_cast<GLuint>(snow.maxParticles));
    EXPECT_EQ(calls()[3], Call("map", snow.maxParticles));
    EXPECT_EQ(mappedBuffer, snow.readBackBuffer);
    EXPECT_NE(mappedBuffer, snow.counterBuffer);

    ASSERT_EQ(snow.particleCount, snow.maxParticles);
    EXPECT_EQ(gaps(readParticles(snow, snow.currentIndex, snow.particleCount)), 0);
}

TEST_F(ParticleSystemTest, AnUnreadCounterKeepsTheCountIsReportedOnceAndIsCutToTheCapacityLater) {
    testing::internal::CaptureStderr();
    {
        MapHook hook(refuseMapping);
        stepSnow(snow, 25.0);  // the counter now holds nearly the capacity, unread
        EXPECT_EQ(snow.particleCount, 2);
        stepSnow(snow, 0.0);
        EXPECT_EQ(snow.particleCount, 2);
        nox::gpu_particles::renderSnow(snow);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Particle counter could not be read; keeping 2 particles\n");
    stepSnow(snow, 0.5);  // counts on top of what was never reset
    EXPECT_EQ(snow.particleCount, snow.maxParticles);
    stepSnow(snow, 0.0);
    EXPECT_LE(snow.particleCount, snow.maxParticles);
}

TEST_F(ParticleSystemTest, TheDrawOnlyBrightensWritesNoDepthAndRestoresTheBlendState) {
    ParticleSystem fire("fireAtlas.png");
    stepFire(fire, 3.0);
    stepFire(fire, 1.0);  // the first flames have faded in
    nox::getCamera().position = glm::vec3(81.0f, 23.0f, 4.0f);
    nox::getCamera().rotation = glm::vec3(-10.0f, 0.0f, 0.0f);

    constexpr int grey = 64;
    glClearColor(grey / 255.0f, grey / 255.0f, grey / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendEquation(GL_MIN);
    glBlendFunc(GL_ONE, GL_ONE);
    nox::gpu_particles::renderFire(fire);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(integer(GL_DEPTH_WRITEMASK), GL_TRUE);
    EXPECT_EQ(integer(GL_BLEND_EQUATION_RGB), GL_FUNC_ADD);
    EXPECT_EQ(integer(GL_BLEND_EQUATION_ALPHA), GL_FUNC_ADD);
    for (GLenum source : {GL_BLEND_SRC_RGB, GL_BLEND_SRC_ALPHA}) EXPECT_EQ(integer(source), GL_SRC_ALPHA);
    for (GLenum target : {GL_BLEND_DST_RGB, GL_BLEND_DST_ALPHA}) EXPECT_EQ(integer(target), GL_ONE_MINUS_SRC_ALPHA);

    const nox::test::Image image = nox::test::readBackBuffer();
    int darkened = 0;
    int flame = 0;
    for (size_t i = 0; i < image.rgb.size(); i += 3) {
        darkened += image.rgb[i] < grey || image.rgb[i + 1] < grey || image.rgb[i + 2] < grey;
        flame += image.rgb[i] > 200 && image.rgb[i] > image.rgb[i + 2] + 100;
    }
    EXPECT_EQ(darkened, 0);
    EXPECT_GT(flame, 100);
    std::vector<float> depth(static_cast<size_t>(image.width) * image.height);
    glReadPixels(0, 0, image.width, image.height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    EXPECT_EQ(std::count(depth.begin(), depth.end(), 1.0f), static_cast<long>(depth.size()));
}

TEST_F(ParticleSystemTest, EachSystemDrawsWithItsOwnProgram) {
    const nox::gpu_particles::FireGeometryShader& fire = nox::gpu_particles::getFireGeometryShader();
    const nox::gpu_particles::SnowGeometryShader& snowShader = nox::gpu_particles::getSnowGeometryShader();
    ASSERT_NE(fire.program, snowShader.program);
    GLint before = -1;
    glGetUniformiv(snowShader.program, snowShader.numRows, &before);
    glUseProgram(fire.program);
    glUniform1i(fire.numRows, before + 3);
    glUseProgram(0);
    GLint after = -1;
    glGetUniformiv(snowShader.program, snowShader.numRows, &after);
    EXPECT_EQ(after, before);
}

// The step reads the last pair through texel views on units 0 and 1; the
// draws that follow find those units as they left them.
TEST_F(ParticleSystemTest, TheStepLeavesNoTexelViewBoundAndUnitZeroActive) {
    stepSnow(snow, 0.5);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    for (GLenum unit : {GL_TEXTURE0, GL_TEXTURE1}) {
        glActiveTexture(unit);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_BUFFER), 0) << "unit " << unit - GL_TEXTURE0;
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(ParticleSystemTest, DestructionReleasesEveryBufferViewVertexArrayAndTheAtlas) {
    auto fire = std::make_unique<ParticleSystem>("fireAtlas.png");
    const std::vector<GLuint> buffers{fire->positionBuffers[0], fire->positionBuffers[1], fire->velocityBuffers[0],
                                      fire->velocityBuffers[1], fire->counterBuffer,      fire->readBackBuffer};
    const std::vector<GLuint> vertexArrays(fire->vertexArrays, fire->vertexArrays + 2);
    const std::vector<GLuint> textures{fire->texture, fire->positionTexels[0], fire->positionTexels[1],
                                       fire->velocityTexels[0], fire->velocityTexels[1]};
    fire.reset();
    for (GLuint buffer : buffers) EXPECT_FALSE(glIsBuffer(buffer)) << buffer;
    for (GLuint vertexArray : vertexArrays) EXPECT_FALSE(glIsVertexArray(vertexArray));
    for (GLuint texture : textures) EXPECT_FALSE(glIsTexture(texture)) << texture;
}

// The program's own frames, with the scene around the particles.
class ParticleFrameTest : public testing::Test {
protected:
    static void SetUpTestSuite() { loop = std::make_unique<nox::FrameLoop>(); }
    static void TearDownTestSuite() { loop.reset(); }

    void TearDown() override {
        nox::deltaTime = 0.0;
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static std::unique_ptr<nox::FrameLoop> loop;
};

std::unique_ptr<nox::FrameLoop> ParticleFrameTest::loop;

// The step writes the pair it flips to (the spawning test reads it back); the
// draw of the same frame must read that pair.
void expectFlippedAndDrawnFromTheNewPair(const ParticleSystem& system, int lastIndex) {
    const int index = system.currentIndex;
    EXPECT_EQ(index, 1 - lastIndex);
    EXPECT_TRUE(wasBound(system.vertexArrays[index]));
    EXPECT_FALSE(wasBound(system.vertexArrays[lastIndex]));
    EXPECT_EQ(positionSource(system.vertexArrays[index]), system.positionBuffers[index]);
}

TEST_F(ParticleFrameTest, EachFrameFlipsBothSystemsAndDrawsThePairItsStepWrote) {
    const ParticleSystem& snow = nox::gpu_particles::getSnowSystem();
    const ParticleSystem& fire = nox::gpu_particles::getFireSystem();
    for (int frame = 0; frame < 2; ++frame) {
        const int snowIndex = snow.currentIndex;
        const int fireIndex = fire.currentIndex;
        calls().clear();
        {
            VertexArrayHook hook(recordVertexArray);
            loop->iterate(0.5);
        }
        expectFlippedAndDrawnFromTheNewPair(snow, snowIndex);
        expectFlippedAndDrawnFromTheNewPair(fire, fireIndex);
    }
}

TEST_F(ParticleFrameTest, FlamesAreBornOnTheCampfireWhereTheSceneStandsIt) {
    constexpr int campfireInstance = 0;  // the first placement of the scene population
    constexpr float halfSpread = 0.5f;
    constexpr float highestBirth = 2.0f;  // a flame starts on the fire bed, not above it
    const glm::vec3 campfire = loop->sceneObjects().terrain.getModelInstances()[campfireInstance].position;

    ParticleSystem fire("fireAtlas.png");
    stepFire(fire, 3.0);
    int flames = 0;
    for (const Particle& p : readParticles(fire, fire.currentIndex, fire.particleCount)) {
        if (p.isSeed()) continue;
        ++flames;
        EXPECT_LE(std::abs(p.position.x - campfire.x), halfSpread) << p.position.x;
        EXPECT_LE(std::abs(p.position.z - campfire.z), halfSpread) << p.position.z;
        EXPECT_GE(p.position.y, campfire.y);
        EXPECT_LE(p.position.y, campfire.y + highestBirth);
    }
    EXPECT_EQ(flames, 3);
}

}  // namespace
