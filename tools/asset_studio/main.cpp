// Writes every texture and model of the resource tree below the directory given
// as the only argument (normally build/res). The output depends on nothing but
// this program, so two runs produce identical files.
#include <exception>
#include <filesystem>
#include <iostream>

#include "FireAtlas.h"
#include "LensFlares.h"
#include "Models.h"
#include "Moon.h"
#include "Sky.h"
#include "SnowTexture.h"
#include "SnowflakeAtlas.h"
#include "WaterMaps.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: asset_studio <resource directory>\n";
        return 2;
    }
    const std::filesystem::path res(argv[1]);
    const std::filesystem::path textures = res / "textures";
    const std::filesystem::path models = res / "models";
    try {
        nox::studio::writeSky(textures);
        nox::studio::writeMoon(textures);
        nox::studio::writeSnowTexture(textures);
        nox::studio::writeWaterMaps(textures);
        nox::studio::writeFireAtlas(textures);
        nox::studio::writeSnowflakeAtlas(textures);
        nox::studio::writeLensFlares(textures);
        nox::studio::writeCampfire(models);
        nox::studio::writeStreetLight(models);
        nox::studio::writeBoat(models);
        nox::studio::writeTrees(models);
        nox::studio::writeCottage(models);
        nox::studio::writeFarmhouse(models);
    } catch (const std::exception& error) {
        std::cerr << "asset_studio: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
