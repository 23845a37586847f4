#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "app/Window.h"
#include "assets/ImagePrefetch.h"

namespace {

namespace fs = std::filesystem;
using nox::DecodedImage;
using nox::ImagePrefetch;

// A tree as the resource directory holds one: images at two depths, one file
// that only claims to be an image and one that is no image at all.
class Prefetch : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(root);
        fs::create_directories(root + "/models/boat");
        writePng(root + "/sky.png", 8, 4, 3, 11);
        writePng(root + "/models/boat/wood.png", 5, 3, 4, 29);  // rows of 20 bytes
        std::ofstream(root + "/broken.png") << "not a picture";
        std::ofstream(root + "/models/boat/boat.mtl") << "newmtl wood\n";
    }

    static void writePng(const std::string& path, int width, int height, int channels, int seed) {
        std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * channels);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<unsigned char>(seed + i * 7);
        stbi_write_png(path.c_str(), width, height, channels, pixels.data(), width * channels);
    }

    static bool samePixels(const DecodedImage& a, const DecodedImage& b) {
        const size_t size = static_cast<size_t>(a.width) * a.height * a.channels;
        return a.width == b.width && a.height == b.height && a.channels == b.channels &&
               std::memcmp(a.pixels, b.pixels, size) == 0;
    }

    void TearDown() override { fs::remove_all(root); }

    // One tree per process: the suite runs the tests of this file side by side.
    const std::string root = testing::TempDir() + "noxvale_prefetch_" + std::to_string(getpid());
};

// With no worker every image is decoded by the caller; with two, the callers
// wait for the workers. Either way each image is handed out once, as the file
// decodes on its own, under any spelling of its path.
TEST_F(Prefetch, HandsOutEachImageOnceWithThePixelsOfADirectDecode) {
    for (unsigned workers : {0u, 2u}) {
        ImagePrefetch prefetch(root, workers);
        for (const std::string name : {"sky.png", "models/boat/wood.png"}) {
            const std::string spelled = root + "/models/../" + name;
            const std::unique_ptr<DecodedImage> image = prefetch.take(spelled);
            ASSERT_TRUE(image) << name << " with " << workers << " workers";
            EXPECT_TRUE(samePixels(*image, *DecodedImage::fromFile(root + "/" + name))) << name;
            EXPECT_FALSE(prefetch.take(root + "/" + name)) << name << " handed out twice";
        }
        // What the loader must report itself, and what it never asks for.
        EXPECT_FALSE(prefetch.take(root + "/broken.png"));
        EXPECT_FALSE(prefetch.take(root + "/absent.png"));
        EXPECT_FALSE(prefetch.take(root + "/models/boat/boat.mtl"));
    }
}

TEST_F(Prefetch, LoadersTakeFromTheOneThatLivesAndFromNothingWithoutIt) {
    EXPECT_EQ(ImagePrefetch::active(), nullptr);
    {
        ImagePrefetch prefetch(root);
        EXPECT_EQ(ImagePrefetch::active(), &prefetch);
    }
    EXPECT_EQ(ImagePrefetch::active(), nullptr);
    ImagePrefetch missing(root + "/no such directory");
    EXPECT_FALSE(missing.take(root + "/sky.png"));
}

int threadCount() {
    int threads = 0;
    for ([[maybe_unused]] const fs::directory_entry& task : fs::directory_iterator("/proc/self/task")) ++threads;
    return threads;
}

// Without a display the program ends at once, with exit code 1 and nothing
// printed. The workers decoding ahead are stopped and joined before: exit
// unwinds nothing, and they would otherwise run on while it tears the process
// down.
TEST_F(Prefetch, AStartUpFailureStopsTheWorkersBeforeTheProcessEnds) {
    constexpr int workersStillRunning = 3;
    for (int i = 0; i < 24; ++i) writePng(root + "/large" + std::to_string(i) + ".png", 1024, 1024, 3, i);
    EXPECT_EXIT(
        {
            unsetenv("DISPLAY");
            unsetenv("WAYLAND_DISPLAY");
            ImagePrefetch prefetch(root, 2);
            std::atexit([] {
                if (threadCount() != 1) std::_Exit(workersStillRunning);
            });
            nox::getWindow();
        },
        testing::ExitedWithCode(1), "^$");
}

}  // namespace
