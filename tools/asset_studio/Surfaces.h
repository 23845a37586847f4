#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <glm/glm.hpp>

#include "Image.h"

namespace nox::studio {

// A material picture and the relief it was painted from. Every painter tiles
// seamlessly in both directions: models repeat their textures across faces.
struct Surface {
    Image diffuse;
    HeightField height;
};

// Writes dir/name.png (diffuse, RGB) and dir/name_normal.png.
void writeSurface(const std::filesystem::path& dir, const std::string& name, const Surface& surface,
                  float normalStrength);

// Greyscale shine from the relief: raised parts (worn paint, wet stone) shine
// more than the recesses. Written as RGB to dir/name_specular.png.
void writeSpecularFromHeight(const std::filesystem::path& dir, const std::string& name, const Surface& surface,
                             float low, float high);

Surface paintBark(int size, glm::vec3 colour, std::uint32_t seed);
// Horizontal boards with dark gaps; each board gets its own shade.
Surface paintPlanks(int size, int boards, glm::vec3 colour, std::uint32_t seed);
// Rounded stones set in mortar.
Surface paintStones(int size, int stonesAcross, glm::vec3 colour, std::uint32_t seed);
// Weathered boulder: granite grain with patches of lichen.
Surface paintRock(int size, glm::vec3 colour, std::uint32_t seed);
Surface paintSnowCover(int size, std::uint32_t seed);
// Branch surfaces of a conifer: u across one branch (ridge at u = 0.5), v from
// the branch tip (v = 0) inward (v = 1). snowCover 0 gives the bare underside.
Surface paintNeedles(int size, float snowCover, std::uint32_t seed);
Surface paintPaintedMetal(int size, glm::vec3 colour, std::uint32_t seed);
// Rows of overlapping shingles, the exposed edges of a roof.
Surface paintShingles(int size, glm::vec3 colour, std::uint32_t seed);
Surface paintEmbers(int size, std::uint32_t seed);
// The sawn end of a log: growth rings darkening to a charred rim.
Surface paintEndGrain(int size, std::uint32_t seed);
// A lit window seen from outside: warm panes split by glazing bars in a frame.
// Self-lit pictures keep their glow in the alpha channel: the model shader adds
// (1 - alpha) x the texel's colour as light of its own, so alpha 1 is an
// ordinary surface and lower values shine at night.
inline constexpr float litWindowAlpha = 0.4f;
inline constexpr float lampGlassAlpha = 0.3f;
inline constexpr float lampBulbAlpha = 0.1f;

Image paintWindow(int size, int panesAcross, int panesDown, glm::vec3 frameColour);
// A lantern pane glowing from the lamp inside.
Image paintLampGlass(int size);

}  // namespace nox::studio
