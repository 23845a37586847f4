#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "AssetFiles.h"

namespace {

namespace fs = std::filesystem;

using Hashes = std::map<std::string, std::uint64_t>;

std::uint64_t fnv1a(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::uint64_t h = 1469598103934665603ull;
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
        h = (h ^ static_cast<unsigned char>(*it)) * 1099511628211ull;
    }
    return h;
}

// Hashes of every file below dir/textures and dir/models, keyed by relative path.
Hashes hashTree(const fs::path& dir) {
    Hashes hashes;
    for (const char* sub : {"textures", "models"}) {
        if (!fs::exists(dir / sub)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir / sub)) {
            if (entry.is_regular_file()) hashes[fs::relative(entry.path(), dir).string()] = fnv1a(entry.path());
        }
    }
    return hashes;
}

class GenerationTest : public testing::Test {
protected:
    void SetUp() override {
        scratch = fs::temp_directory_path() / ("noxvale_assets_" + std::to_string(getpid()));
        fs::remove_all(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }

    Hashes generate(const std::string& name) {
        const fs::path out = scratch / name;
        const std::string command = std::string("\"") + ASSET_STUDIO_PATH + "\" \"" + out.string() + "\"";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return hashTree(out);
    }

    fs::path scratch;
};

TEST_F(GenerationTest, TwoRunsFromNothingWriteIdenticalFilesMatchingTheBuild) {
    const Hashes first = generate("first");
    const Hashes second = generate("second");
    ASSERT_GT(first.size(), 60u);  // 19 images and 8 models with their materials and textures
    EXPECT_EQ(first, second);
    // What the build installed is what the generator writes now.
    EXPECT_EQ(first, hashTree(nox::test::resourceDir()));
}

TEST_F(GenerationTest, RefusesAMissingOutputArgument) {
    const std::string command = std::string("\"") + ASSET_STUDIO_PATH + "\" 2>/dev/null";
    EXPECT_NE(std::system(command.c_str()), 0);
}

}  // namespace
