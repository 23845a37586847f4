// Terrain construction: the CPU part (height field and vertex arrays) alone,
// and the whole construction with the upload. Needs a display for the GL part:
//   xvfb-run -a ./terrain_benchmark      (from bin/, so "../res" resolves)
#include <benchmark/benchmark.h>

#include "app/Window.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainGeometry.h"

namespace {

void terrainGeometry(benchmark::State& state) {
    for (auto _ : state) {
        nox::terrain::HeightField field;
        nox::terrain::TerrainGeometry geometry = nox::terrain::buildTerrainGeometry(field);
        benchmark::DoNotOptimize(geometry.normals.data());
    }
}
BENCHMARK(terrainGeometry)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

void terrainConstruction(benchmark::State& state) {
    nox::getWindow();
    for (auto _ : state) {
        nox::terrain::Terrain terrain(glm::vec3(-500.0f, 0.0f, -500.0f));
        glFinish();
        benchmark::DoNotOptimize(terrain.vao);
    }
}
BENCHMARK(terrainConstruction)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
