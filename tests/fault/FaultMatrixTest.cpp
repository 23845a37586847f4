// The fault matrix: every file the program reads, spoiled one way at a time in
// a copy of the built resource tree, and the frame loop run on the copy by
// fault_probe. Each run must print exactly the messages of the damage on the
// stream they belong to, make no GL error, still draw every feature the damage
// does not touch, and end with exit code 0 after Escape.
//
// Without arguments a fixed sample runs: for each kind of damage and each kind
// of file it applies to, one file (see sampleOf). `fault_tests --full` runs
// every case (tools/fault_matrix.sh). Run under one X server; the cases run one
// after another.
#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include "assets/DecodedImage.h"
#include "assets/ModelLoader.h"
#include "tests/fault/Damage.h"
#include "tools/FrameCapture.h"

namespace {

namespace fs = std::filesystem;
using nox::test::Damage;
using nox::test::FaultCase;
using nox::tools::Image;

bool fullMatrix = false;

// What a damaged file or program feeds.
enum Touches : unsigned {
    moon = 1,
    sky = 2,
    terrain = 4,
    water = 8,
    models = 16,
    fire = 32,
    snow = 64,
    lightCubes = 128,
    effects = 256
};

Touches operator|(Touches a, Touches b) {
    return static_cast<Touches>(static_cast<unsigned>(a) | b);
}

// The scene's textures by file, its programs by stem, every model file.
// Anything else feeds the effects drawn over the scene (the god rays and the
// lens flares), which leave the scene's own picture alone; should such a file
// feed the scene after all, the regions below will say so.
Touches touchedBy(const std::string& target) {
    if (target.rfind("models/", 0) == 0) return models;
    // clang-format off
    static const std::map<std::string, Touches> table{
        {"textures/snow.jpg", terrain},         {"textures/waterDUDV.png", water},  {"textures/normal.png", water},
        {"textures/moon.png", moon},            {"textures/left.png", sky},         {"textures/right.png", sky},
        {"textures/back.png", sky},             {"textures/bottom.png", sky},       {"textures/front.png", sky},
        {"textures/top.png", sky},              {"textures/fireAtlas.png", fire},   {"textures/particleSnow.png", snow},
        {"shader/assimpShader", models},        {"shader/terrain", terrain},        {"shader/water", water},
        {"shader/shape", lightCubes},           {"shader/shapeTexture", sky | moon}, {"shader/gpuparticle", fire | snow},
        {"shader/fire", fire},                  {"shader/snow", snow},
    };
    // clang-format on
    const fs::path path(target);
    const std::string key =
        target.rfind("shader/", 0) == 0 ? (path.parent_path() / path.stem()).generic_string() : target;
    const auto found = table.find(key);
    return found == table.end() ? effects : found->second;
}

// Places in the probe's picture (fractions of the width and height from the
// top-left) where one feature is seen, and what else can change them. The
// light cubes sit inside the lamps' heads and show nowhere.
struct Region {
    const char* name;
    Touches feature;
    Touches alsoFedBy;
    float x;
    float y;
};

const Region regions[] = {
    {"moon", moon, {}, 0.539f, 0.097f},      {"sky", sky, {}, 0.195f, 0.181f},
    {"ground", terrain, {}, 0.195f, 0.944f}, {"lake", water, terrain | models | sky, 0.117f, 0.75f},
    {"tree", models, {}, 0.547f, 0.861f},    {"house", models, {}, 0.828f, 0.757f},
    {"lamp", models, {}, 0.943f, 0.647f},    {"campfire", fire, models | terrain, 0.387f, 0.857f},
};
constexpr int regionHalfSize = 4;   // pixels each way of the centre, at 1280 x 720
constexpr int colourTolerance = 3;  // per channel, of the region's median

std::array<int, 3> medianColour(const Image& image, const Region& region) {
    const int scale = std::max(1, image.width / 1280);
    const int cx = static_cast<int>(region.x * image.width);
    const int cy = image.height - 1 - static_cast<int>(region.y * image.height);  // rows are stored bottom first
    std::array<std::vector<int>, 3> channels;
    for (int y = cy - regionHalfSize * scale; y <= cy + regionHalfSize * scale; ++y) {
        for (int x = cx - regionHalfSize * scale; x <= cx + regionHalfSize * scale; ++x) {
            for (int c = 0; c < 3; ++c) channels[c].push_back(image.pixel(x, y)[c]);
        }
    }
    std::array<int, 3> median{};
    for (int c = 0; c < 3; ++c) {
        std::nth_element(channels[c].begin(), channels[c].begin() + channels[c].size() / 2, channels[c].end());
        median[c] = channels[c][channels[c].size() / 2];
    }
    return median;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

// The number of lines and the first few of them: GL errors tend to come by
// the hundred.
std::string summary(const std::string& text) {
    constexpr int shown = 4;
    std::istringstream in(text);
    std::string first;
    int count = 0;
    for (std::string line; std::getline(in, line); ++count) {
        if (count < shown) first += "\n  " + line;
    }
    return std::to_string(count) + " lines, first:" + first;
}

// A picture as fault_probe writes it; empty when there is none.
Image readPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Image image;
    if (!(in >> magic >> image.width >> image.height >> maximum) || magic != "P6") return Image{};
    in.get();
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    if (!in.read(reinterpret_cast<char*>(image.rgb.data()), static_cast<std::streamsize>(image.rgb.size())))
        return Image{};
    return image;
}

struct ProbeRun {
    std::string tree;
    int exitCode = -1;
    std::string out;
    std::string err;
    std::string glErrors;
    Image scene;
    Image window;
    std::set<std::string> filesOpened;  // below res/; recorded for the undamaged run only
};

// Records which files below `resources` are opened while `run` runs.
class OpenedFiles {
public:
    explicit OpenedFiles(const std::string& resources) : watcher(inotify_init1(IN_NONBLOCK)) {
        watch(resources, "");
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(resources)) {
            if (entry.is_directory())
                watch(entry.path().string(), fs::relative(entry.path(), resources).generic_string() + "/");
        }
    }
    ~OpenedFiles() { close(watcher); }

    std::set<std::string> take() {
        std::set<std::string> opened;
        alignas(inotify_event) char buffer[64 * 1024];
        for (ssize_t length; (length = read(watcher, buffer, sizeof buffer)) > 0;) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && (event->mask & IN_ISDIR) == 0)
                    opened.insert(directories[event->wd] + event->name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opened;
    }

private:
    void watch(const std::string& directory, const std::string& relative) {
        directories[inotify_add_watch(watcher, directory.c_str(), IN_OPEN)] = relative;
    }

    int watcher;
    std::map<int, std::string> directories;  // by watch
};

// The probe in TREE/bin, on TREE/res. Mesa's rasteriser runs on this thread
// alone: with worker threads the particles' compaction order, and with it the
// snow, changes from run to run.
ProbeRun runProbe(const std::string& tree) {
    ProbeRun run;
    run.tree = tree;
    const std::string output = tree + "/probe";
    fs::create_directories(output);
    fs::create_directories(tree + "/bin");
    const std::string command = "cd '" + tree + "/bin' && LP_NUM_THREADS=0 '" FAULT_PROBE_PATH "' '" + output +
                                "' > '" + output + "/stdout' 2> '" + output + "/stderr'";
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = readText(output + "/stdout");
    run.err = readText(output + "/stderr");
    run.glErrors = readText(output + "/gl_errors.txt");
    run.scene = readPpm(output + "/scene.ppm");
    run.window = readPpm(output + "/window.ppm");
    return run;
}

// Where this run keeps its copies: its own, since other builds' suites may
// run at the same time.
const std::string& workDirectory() {
    static const std::string directory = testing::TempDir() + "noxvale_faults." + std::to_string(getpid());
    return directory;
}

// A private copy of the built tree (a real one: a rebuild that rewrites the
// tree while the matrix runs must not reach the copies).
std::string copyTree(const std::string& name) {
    std::string tree = workDirectory() + "/" + name;
    fs::remove_all(tree);
    fs::create_directories(tree);
    const std::string command = "cp -r '" NOXVALE_RES_DIR "' '" + tree + "/res'";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("cannot copy the resource tree");
    return tree;
}

// The run every case is held against. It also tells which files the program
// reads at all: damage to a file it never opens must change nothing.
const ProbeRun& undamagedRun() {
    static const ProbeRun run = [] {
        const std::string tree = copyTree("undamaged");
        OpenedFiles opened(tree + "/res");
        ProbeRun undamaged = runProbe(tree);
        undamaged.filesOpened = opened.take();
        return undamaged;
    }();
    return run;
}

// Whether the program reads what the case damages: the file, or for a link
// error any stage of the program.
bool isRead(const FaultCase& fault) {
    const std::set<std::string>& opened = undamagedRun().filesOpened;
    if (fault.damage != Damage::linkError) return opened.count(fault.target) > 0;
    for (const char* extension : {".vert", ".frag", ".geom", ".comp"}) {
        if (opened.count(fault.target + extension) > 0) return true;
    }
    return false;
}

// The messages of the shader framework on standard error: a path, or a
// status with the driver's log between quotes (which may span lines).
struct ShaderMessage {
    std::string kind;
    std::string detail;
    bool operator==(const ShaderMessage& other) const { return kind == other.kind && detail == other.detail; }
};

std::ostream& operator<<(std::ostream& out, const ShaderMessage& message) {
    return out << message.kind << (message.detail.empty() ? "" : " " + message.detail);
}

const char* const unableToLoad = "Unable to load shader: ";
const char* const statusMessages[] = {"Error compiling shader!", "Error linking shader program",
                                      "Invalid shader program"};

// Splits standard error into messages; anything that is not one of them, a
// sanitizer's report for one, comes back as a message of its own kind.
std::vector<ShaderMessage> shaderMessages(const std::string& err) {
    std::vector<ShaderMessage> messages;
    std::istringstream in(err);
    std::string text;
    const auto startsMessage = [](const std::string& line) {
        if (line.rfind(unableToLoad, 0) == 0) return true;
        for (const char* status : statusMessages) {
            if (line.rfind(std::string(status) + ": '", 0) == 0) return true;
        }
        return false;
    };
    std::vector<std::string> pieces;
    for (std::string line; std::getline(in, line);) {
        if (startsMessage(line) || pieces.empty()) {
            pieces.push_back(line + "\n");
        } else {
            pieces.back() += line + "\n";
        }
    }
    for (const std::string& piece : pieces) {
        if (piece.rfind(unableToLoad, 0) == 0 && std::count(piece.begin(), piece.end(), '\n') == 1) {
            messages.push_back({"unable to load", piece.substr(std::string(unableToLoad).size(),
                                                               piece.size() - 1 - std::string(unableToLoad).size())});
            continue;
        }
        bool recognised = false;
        for (const char* status : statusMessages) {
            const std::string head = std::string(status) + ": '";
            if (piece.rfind(head, 0) == 0 && piece.size() >= head.size() + 2 &&
                piece.compare(piece.size() - 2, 2, "'\n") == 0) {
                messages.push_back({status, ""});
                recognised = true;
            }
        }
        if (!recognised) messages.push_back({"unexpected output", quoted(piece)});
    }
    return messages;
}

std::vector<std::string> outputLines(const std::string& out) {
    std::vector<std::string> result;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    if (!out.empty() && out.back() != '\n') result.push_back("(no line end) " + result.back());
    return result;
}

// What the importer says of the damaged model, asked from where the program
// asks it, with the loader's flags.
std::vector<std::string> importerVerdict(const std::string& tree, const std::string& target) {
    const std::string path = "../res/" + target;
    const fs::path previous = fs::current_path();
    fs::current_path(tree + "/bin");
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(path, nox::assimp::ModelLoader::importFlags);
    fs::current_path(previous);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) {
        return {std::string("ERROR::ASSIMP:: ") + importer.GetErrorString()};
    }
    if (scene->mNumMeshes == 0) return {"Model has no meshes: " + path};
    return {};
}

bool isProgramDamage(const FaultCase& fault) {
    return fault.target.rfind("shader/", 0) == 0;
}

bool isModelDamage(const FaultCase& fault) {
    return fs::path(fault.target).extension() == ".obj";
}

// The loaders' lines on standard output. A model's are what the importer
// makes of the damaged file, but for a missing texture named by its
// materials; an image's say it failed, but for the two damages it must
// read through.
std::vector<std::string> expectedOutput(const std::string& tree, const FaultCase& fault) {
    if (isProgramDamage(fault)) return {};
    if (isModelDamage(fault)) {
        if (fault.damage != Damage::missingMapOfModel) return importerVerdict(tree, fault.target);
        const std::string obj = NOXVALE_RES_DIR "/" + fault.target;
        const std::string mtl = fs::path(obj).parent_path().string() + "/" + nox::test::materialLibraryOf(obj);
        return {"Texture failed to load at path: " + nox::test::textureMapsOf(mtl).at(0)};
    }
    const std::string name = fs::path(fault.target).filename().string();
    const std::string failed = "Texture failed to load at path: " + name;
    switch (fault.damage) {
        case Damage::sixteenBits:
        case Damage::greyAndAlpha: return {};
        case Damage::enormousHeader:
            return {"Texture too large: " + name + " claims " + std::to_string(nox::test::enormousWidth) + " x " +
                        std::to_string(nox::test::enormousHeight) + " pixels, at most " +
                        std::to_string(nox::DecodedImage::maxSide) + " on a side",
                    failed};
        default: return {failed};
    }
}

std::vector<ShaderMessage> expectedShaderMessages(const FaultCase& fault) {
    std::vector<ShaderMessage> failedLink{{statusMessages[1], ""}, {statusMessages[2], ""}};
    std::vector<ShaderMessage> failedStage{{statusMessages[0], ""}};
    failedStage.insert(failedStage.end(), failedLink.begin(), failedLink.end());
    if (!isProgramDamage(fault)) return {};
    switch (fault.damage) {
        case Damage::missing:
            failedStage.insert(failedStage.begin(), {"unable to load", "../res/" + fault.target});
            return failedStage;
        case Damage::compileError: return failedStage;
        case Damage::linkError: return failedLink;
        default: return {};
    }
}

// The messages of one program built from the damaged files, once for each
// program built from them (fire and snow each build one from the same
// particle stages).
void expectShaderMessages(const FaultCase& fault, const std::string& err) {
    const std::vector<ShaderMessage> expected = expectedShaderMessages(fault);
    const std::vector<ShaderMessage> seen = shaderMessages(err);
    if (expected.empty() || seen.size() % expected.size() != 0 || seen.empty()) {
        EXPECT_EQ(seen, expected) << "standard error: " << quoted(err);
        return;
    }
    for (size_t at = 0; at < seen.size(); at += expected.size()) {
        EXPECT_EQ(std::vector<ShaderMessage>(seen.begin() + at, seen.begin() + at + expected.size()), expected)
            << "standard error: " << quoted(err);
    }
}

std::string describe(const std::array<int, 3>& colour) {
    return "(" + std::to_string(colour[0]) + ", " + std::to_string(colour[1]) + ", " + std::to_string(colour[2]) + ")";
}

// Every region of a feature the damage does not touch shows what it shows in
// the undamaged run. The particles are drawn with MAX blending over
// everything, so spoiled particles may brighten any region, never darken it.
// A program that cannot be used draws nothing, so its own features' regions
// must change; and a 16-bit picture decodes to the very same pixels.
void expectFeaturesDrawn(const FaultCase& fault, const ProbeRun& run) {
    const Image& before = undamagedRun().scene;
    ASSERT_EQ(run.scene.width, before.width);
    ASSERT_EQ(run.scene.height, before.height);
    if (fault.damage == Damage::sixteenBits) {
        EXPECT_TRUE(run.scene.rgb == before.rgb) << "a 16-bit copy of a picture changed the frame";
        return;
    }
    const Touches touched = touchedBy(fault.target);
    for (const Region& region : regions) {
        const std::array<int, 3> expected = medianColour(before, region);
        const std::array<int, 3> seen = medianColour(run.scene, region);
        int largest = 0;
        int darkest = 0;
        for (int c = 0; c < 3; ++c) {
            largest = std::max(largest, std::abs(seen[c] - expected[c]));
            darkest = std::max(darkest, expected[c] - seen[c]);
        }
        const bool changed = largest > colourTolerance;
        if ((region.feature & touched) != 0) {
            if (isProgramDamage(fault)) {
                EXPECT_TRUE(changed) << region.name << " still drawn without its program";
            }
            continue;
        }
        if ((region.alsoFedBy & touched) != 0) continue;
        if ((touched & (fire | snow)) != 0) {
            EXPECT_LE(darkest, colourTolerance) << region.name << " darkened by spoiled particles: " << describe(seen)
                                                << " instead of " << describe(expected);
            continue;
        }
        EXPECT_FALSE(changed) << region.name << " shows " << describe(seen) << " instead of " << describe(expected);
    }
}

// The window shows a picture, not one flat colour.
bool showsAPicture(const Image& window) {
    std::vector<int> luminance;
    for (size_t i = 0; i < window.rgb.size(); i += 3)
        luminance.push_back(window.rgb[i] + window.rgb[i + 1] + window.rgb[i + 2]);
    const auto [low, high] = std::minmax_element(luminance.begin(), luminance.end());
    return !luminance.empty() && *high - *low > 3 * 32;
}

// The sample: for each damage, one file of each kind it applies to (the
// extension, or for a program the set of its stages).
std::string kindOfFile(const FaultCase& fault) {
    if (fault.damage != Damage::linkError) return fs::path(fault.target).extension().string();
    std::string stages;
    for (const char* extension : {".comp", ".vert", ".geom", ".frag"}) {
        if (fs::exists(NOXVALE_RES_DIR "/" + fault.target + extension)) stages += extension;
    }
    return stages;
}

std::vector<FaultCase> sampleOf(const std::vector<FaultCase>& cases) {
    std::map<std::pair<Damage, std::string>, std::vector<FaultCase>> groups;
    for (const FaultCase& fault : cases) groups[{fault.damage, kindOfFile(fault)}].push_back(fault);
    std::vector<FaultCase> sample;
    sample.reserve(groups.size());
    // Damage number d takes the file at 37 d, counted round the sorted list:
    // the damages of one kind of file meet files far apart in the tree.
    constexpr size_t spread = 37;
    for (const auto& [key, members] : groups) {
        sample.push_back(members[static_cast<size_t>(key.first) * spread % members.size()]);
    }
    return sample;
}

std::vector<FaultCase> selectedCases() {
    const std::vector<FaultCase> all = nox::test::enumerateFaultCases(NOXVALE_RES_DIR);
    return fullMatrix ? all : sampleOf(all);
}

std::string caseName(const testing::TestParamInfo<FaultCase>& info) {
    std::string name = info.param.target + "_" + nox::test::damageName(info.param.damage);
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

TEST(FaultMatrix, TheUndamagedTreeRunsSilentlyAndShowsEveryRegion) {
    const ProbeRun& run = undamagedRun();
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.glErrors.empty()) << "GL errors: " << summary(run.glErrors);
    ASSERT_GT(run.scene.width, 0) << "no picture from " << run.tree;
    EXPECT_TRUE(showsAPicture(run.window));
    // Every program is built in the first frame: were no stage seen opened,
    // every case would pass as a file the program never reads.
    EXPECT_GT(run.filesOpened.count("shader/terrain.vert"), 0u) << run.filesOpened.size() << " files seen opened";
    for (const FaultCase& fault : nox::test::enumerateFaultCases(NOXVALE_RES_DIR)) {
        if (fault.damage == Damage::missing && run.filesOpened.count(fault.target) == 0) {
            std::cout << "not read by the program: " << fault.target << std::endl;
        }
    }
}

class Fault : public testing::TestWithParam<FaultCase> {};

TEST_P(Fault, IsReportedAndTheRestIsStillDrawn) {
    const FaultCase& fault = GetParam();
    ASSERT_GT(undamagedRun().scene.width, 0);
    const std::string tree = copyTree(caseName({fault, 0}));
    nox::test::applyDamage(tree + "/res", fault);
    const ProbeRun run = runProbe(tree);

    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.glErrors.empty()) << "GL errors: " << summary(run.glErrors);
    ASSERT_GT(run.scene.width, 0) << "no picture";
    if (isRead(fault)) {
        EXPECT_EQ(outputLines(run.out), expectedOutput(tree, fault)) << "standard output";
        expectShaderMessages(fault, run.err);
        expectFeaturesDrawn(fault, run);
    } else {
        std::cout << fault.target << " is not read by the program: nothing may change" << std::endl;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        EXPECT_TRUE(run.scene.rgb == undamagedRun().scene.rgb);
    }
    EXPECT_TRUE(showsAPicture(run.window)) << "the window shows one flat colour";
    if (!HasFailure()) {
        fs::remove_all(tree);
    } else {
        std::cout << "kept for a look: " << tree << std::endl;
    }
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, Fault, testing::ValuesIn(selectedCases()), caseName);

}  // namespace

// Leaves only the copies of failed cases behind.
class WorkDirectoryCleaner : public testing::Environment {
public:
    void TearDown() override {
        fs::remove_all(workDirectory() + "/undamaged");
        std::error_code notEmpty;
        fs::remove(workDirectory(), notEmpty);
    }
};

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--full") fullMatrix = true;
    }
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new WorkDirectoryCleaner);
    return RUN_ALL_TESTS();
}
