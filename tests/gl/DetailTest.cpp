// The frame as the program draws it against the frame at full detail: every
// chunk of the terrain at full resolution and on both sides, nothing culled.
// The levels of detail may move the ground by less than about a pixel, and
// the faces left out can never be the nearest, so the two pictures differ
// only where an edge falls a pixel the other way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/Camera.h"
#include "app/FrameLoop.h"
#include "app/Transform.h"
#include "app/Window.h"
#include "terrain/TerrainShader.h"
#include "tests/support/GlTestSupport.h"
#include "tools/ImageCompare.h"

namespace {

namespace fs = std::filesystem;
using nox::tools::Image;

// At most this share of a frame's pixels may differ by more than 8 levels.
const nox::tools::Tolerance detailTolerance = nox::tools::exactTo(8, 0.003);
constexpr int flightMoments = 60;

class DetailTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        loop = new nox::FrameLoop;
        loop->iterate(0.0);  // loads the models
        loop->setManualMode(true);
        nox::deltaTime = 0.0;  // the water and the particles hold still between the two renders
    }
    static void TearDownTestSuite() {
        if (!worstName.empty()) {
            std::printf("worst frame: %s, %.3f %% of its pixels differ by more than 8 levels, at most by %d\n",
                        worstName.c_str(), worst.differingShare * 100.0, worst.largestDifference);
            const fs::path pictures = fs::current_path().parent_path() / "Testing" / "detail";
            fs::create_directories(pictures);
            nox::tools::savePng(worst.difference, (pictures / "worst_difference.png").string());
            worstName.clear();
        }
        delete loop;
        loop = nullptr;
    }
    void TearDown() override {
        scene().drawAtFullDetail(false);
        nox::getCamera() = nox::Camera{};
        EXPECT_EQ(nox::test::glErrorReport(), "");
    }

    static nox::Scene& scene() { return loop->sceneObjects(); }

    static Image render(bool fullDetail) {
        scene().drawAtFullDetail(fullDetail);
        scene().render();
        return nox::test::textureImage(scene().sceneTarget.colourAttachments[0]);
    }

    static void expectAlike(const std::string& name, const glm::vec3& position, const glm::vec3& rotation) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        const Image full = render(true);
        const Image simplified = render(false);
        const nox::tools::Comparison comparison = nox::tools::compareImages(full, simplified, detailTolerance);
        EXPECT_TRUE(comparison.matches(detailTolerance))
            << name << ": " << comparison.differingShare * 100.0 << " % of the pixels differ by more than 8 levels";
        if (comparison.differingShare >= worst.differingShare) {
            worst = comparison;
            worstName = name;
        }
    }

    static nox::FrameLoop* loop;
    static nox::tools::Comparison worst;
    static std::string worstName;
};

nox::FrameLoop* DetailTest::loop = nullptr;
nox::tools::Comparison DetailTest::worst{false, 0.0, 0, 0.0, {}};
std::string DetailTest::worstName;

TEST_F(DetailTest, TheFlightLooksTheSameAllAlong) {
    nox::CameraPath path;
    constexpr double between = 150.0 / flightMoments;
    for (int moment = 0; moment < flightMoments; ++moment) {
        nox::deltaTime = moment == 0 ? 0.0 : between;
        const nox::Pose pose = path.evaluate();
        nox::deltaTime = 0.0;
        expectAlike("flight at " + std::to_string(moment * between) + " s", {pose[0], pose[1], pose[2]},
                    {pose[3], pose[4], pose[5]});
    }
}

TEST_F(DetailTest, ALowCameraOverTheWaterLooksTheSame) {
    expectAlike("low over the water", {10.0f, 20.6f, 60.0f}, {2.0f, 0.0f, 0.0f});
}

TEST_F(DetailTest, LookingStraightDownFromHighAboveLooksTheSame) {
    expectAlike("straight down", {0.0f, 300.0f, 0.0f}, {-90.0f, 0.0f, 0.0f});
}

TEST_F(DetailTest, TheHorizonLooksTheSame) {
    expectAlike("the horizon", {-300.0f, 60.0f, -300.0f}, {-2.0f, 225.0f, 0.0f});
}

// The terrain alone, at its levels of detail, over a background no part of it
// can have: wherever two chunks of different levels failed to meet, the
// background would show through the ground.
class Cracks : public DetailTest {
protected:
    static constexpr std::uint8_t background[3] = {255, 0, 255};

    static Image terrainAlone(const glm::vec3& position, const glm::vec3& rotation, bool atLevels) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        nox::Scene& scene = DetailTest::scene();
        scene.terrain.levelOfDetail = atLevels;
        scene.sceneTarget.bindForDrawing();
        glClearColor(background[0] / 255.0f, background[1] / 255.0f, background[2] / 255.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glUseProgram(nox::terrain::getTerrainShader().program);
        glUniform4fv(nox::terrain::getTerrainShader().clipPlane, 1, &nox::terrain::keepEverything[0]);
        nox::terrain::renderTerrain(scene.terrain, scene.lights);
        glUseProgram(0);
        scene.sceneTarget.unbind();
        return nox::test::textureImage(scene.sceneTarget.colourAttachments[0]);
    }

    static bool isBackground(const Image& image, int x, int y) {
        const std::uint8_t* p = image.pixel(x, y);
        return p[0] == background[0] && p[1] == background[1] && p[2] == background[2];
    }

    // Background pixels of the levels' picture that lie more than two pixels
    // inside the ground of the full picture: an outline may move by about a
    // pixel, the ground may not open.
    static int holes(const Image& atLevels, const Image& full) {
        constexpr int reach = 2;
        int count = 0;
        for (int y = reach; y < full.height - reach; ++y) {
            for (int x = reach; x < full.width - reach; ++x) {
                if (!isBackground(atLevels, x, y)) continue;
                bool inside = true;
                for (int dy = -reach; dy <= reach && inside; ++dy)
                    for (int dx = -reach; dx <= reach && inside; ++dx) inside = !isBackground(full, x + dx, y + dy);
                count += inside;
            }
        }
        return count;
    }

    static void expectNoCracks(const glm::vec3& position, const glm::vec3& rotation) {
        nox::getCamera().position = position;
        nox::getCamera().rotation = rotation;
        nox::terrain::LevelView view =
            nox::terrain::TerrainLevels::viewOf(nox::getViewMatrix(), nox::projection, {1280, 720});
        view.eye -= scene().terrain.position;
        const std::vector<int> levels = scene().terrain.levels.chooseLevels(scene().terrain.chunks, view);
        EXPECT_GT(*std::max_element(levels.begin(), levels.end()), 1) << "no change of level in sight";
        const Image full = terrainAlone(position, rotation, false);
        EXPECT_EQ(holes(terrainAlone(position, rotation, true), full), 0);
    }
};

// Across the hills to the horizon, high above them, straight down, and from
// underground as the reflection's mirrored camera sees the ground.
TEST_F(Cracks, NoSeamOpensBetweenChunksOfDifferentLevels) {
    expectNoCracks({0.0f, 60.0f, 0.0f}, {-8.0f, 30.0f, 0.0f});
    expectNoCracks({-120.0f, 220.0f, 80.0f}, {-90.0f, 0.0f, 0.0f});
    expectNoCracks({-250.0f, 160.0f, 250.0f}, {-35.0f, 200.0f, 0.0f});
    expectNoCracks({100.0f, -30.0f, 50.0f}, {20.0f, 120.0f, 0.0f});
}

}  // namespace
