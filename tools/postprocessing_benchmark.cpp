// What the god rays and lens flares cost a frame: one run of the effect chain
// (four full-screen passes), the first run of a new chain (eleven programs and
// images built first, as the first frame with the moon ahead pays), and the
// flares of one light. Each timing ends with glFinish. Needs a display:
//   xvfb-run -a -s "-screen 0 1280x768x24" ./postprocessing_benchmark   (from bin/)
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/Camera.h"
#include "app/DisplayConfig.h"
#include "app/Window.h"
#include "postprocessing/LensFlareRenderer.h"
#include "postprocessing/PostProcessingChain.h"

namespace {

using nox::postprocessing::PostProcessingChain;

// Stand-ins for the scene target's three colour images and its depth image.
class SceneImages {
public:
    SceneImages() {
        const std::vector<GLubyte> grey(static_cast<size_t>(width()) * height() * 4, 128);
        for (nox::TextureObject& colour : colours) {
            colour = nox::TextureObject(nox::gl::generateTexture());
            glBindTexture(GL_TEXTURE_2D, colour);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width(), height(), 0, GL_RGBA, GL_UNSIGNED_BYTE, grey.data());
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        }
        depth = nox::TextureObject(nox::gl::generateTexture());
        glBindTexture(GL_TEXTURE_2D, depth);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width(), height(), 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                     nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
    }

    // What the frame hands the chain, with the light a little off the middle.
    void handTo(PostProcessingChain& chain) const {
        chain.inputValues.push_back(0.4f);
        chain.inputValues.push_back(0.7f);
        for (GLuint colour : colours) chain.inputTextures.push_back(colour);
        chain.inputTextures.push_back(depth);
    }

private:
    static constexpr int colourCount = 3;
    static int width() { return nox::activeDisplay.windowWidth; }
    static int height() { return nox::activeDisplay.windowHeight; }

    nox::TextureObject colours[colourCount];
    nox::TextureObject depth;
};

void chainRun(benchmark::State& state) {
    nox::getWindow();
    const SceneImages images;
    PostProcessingChain& chain = nox::postprocessing::getPostProcessingChain();
    images.handTo(chain);
    chain.run();  // the driver compiles its shader variants on first use
    glFinish();
    for (auto _ : state) {
        images.handTo(chain);
        chain.run();
        glFinish();
    }
}
BENCHMARK(chainRun)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(7)->ReportAggregatesOnly(true);

void firstChainRun(benchmark::State& state) {
    nox::getWindow();
    const SceneImages images;
    for (auto _ : state) {
        auto chain = std::make_unique<PostProcessingChain>();
        images.handTo(*chain);
        chain->run();
        glFinish();
        state.PauseTiming();
        chain.reset();
        glFinish();
        state.ResumeTiming();
    }
}
BENCHMARK(firstChainRun)->Unit(benchmark::kMillisecond)->Iterations(2)->Repetitions(7)->ReportAggregatesOnly(true);

void lensFlaresOfOneLight(benchmark::State& state) {
    nox::getWindow();
    nox::getCamera() = nox::Camera{};
    const glm::vec3 aLittleOffTheMiddle(5.0f, 3.0f, -50.0f);
    nox::lensflares::LensFlareRenderer& renderer = nox::lensflares::getLensFlareRenderer();
    renderer.renderLensFlares(aLittleOffTheMiddle, 1.0f);
    glFinish();
    for (auto _ : state) {
        renderer.renderLensFlares(aLittleOffTheMiddle, 1.0f);
        glFinish();
    }
}
BENCHMARK(lensFlaresOfOneLight)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
