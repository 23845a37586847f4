// One compute step and one draw of each particle system at its steady state,
// seen from the flight's pass by the campfire. Needs a display:
//   xvfb-run -a ./particle_benchmark      (from bin/, so "../res" resolves)
// Steps wait for the GPU by themselves (they read the count back); draws are
// timed up to glFinish, since llvmpipe's timer queries miss its raster threads.
#include <benchmark/benchmark.h>

#include "app/Camera.h"
#include "app/Window.h"
#include "gpu_particles/Fire.h"
#include "gpu_particles/Snow.h"

namespace {

namespace particles = nox::gpu_particles;

constexpr double frameTime = 1.0 / 30.0;

// Places the camera at the flight's nearest pass to the campfire and lets
// both systems live one particle lifetime there.
void settle() {
    static bool settled = false;
    if (settled) return;
    settled = true;
    nox::getWindow();
    nox::getCamera().position = {82.9f, 28.6f, 12.6f};
    nox::getCamera().rotation = {-22.1f, 358.5f, 0.0f};
    glEnable(GL_DEPTH_TEST);
    nox::deltaTime = frameTime;
    for (int i = 0; i < static_cast<int>(particles::particleMaxAge / frameTime); ++i) {
        particles::updateSnow(particles::getSnowSystem());
        particles::updateFire(particles::getFireSystem());
    }
}

void step(benchmark::State& state, void (*update)(particles::ParticleSystem&), particles::ParticleSystem& (*system)()) {
    settle();
    for (auto _ : state) update(system());
    state.counters["particles"] = system().particleCount;
}

void draw(benchmark::State& state, void (*render)(const particles::ParticleSystem&),
          particles::ParticleSystem& (*system)()) {
    settle();
    for (auto _ : state) {
        render(system());
        glFinish();
    }
    state.counters["particles"] = system().particleCount;
}

void snowStep(benchmark::State& state) {
    step(state, particles::updateSnow, particles::getSnowSystem);
}

void snowDraw(benchmark::State& state) {
    draw(state, particles::renderSnow, particles::getSnowSystem);
}

void fireStep(benchmark::State& state) {
    step(state, particles::updateFire, particles::getFireSystem);
}

void fireDraw(benchmark::State& state) {
    draw(state, particles::renderFire, particles::getFireSystem);
}

// Every case is timed alike. The work runs on the driver's threads, so the
// main thread's CPU time says nothing of it: iteration counts chosen by that
// clock ran for minutes.
void timedAlike(benchmark::internal::Benchmark* registered) {
    registered->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(7)->ReportAggregatesOnly(true);
}

BENCHMARK(snowStep)->Apply(timedAlike);
BENCHMARK(snowDraw)->Apply(timedAlike);
BENCHMARK(fireStep)->Apply(timedAlike);
BENCHMARK(fireDraw)->Apply(timedAlike);

}  // namespace

BENCHMARK_MAIN();
