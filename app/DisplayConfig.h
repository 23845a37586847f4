#pragma once

// Everything that differs between the three display configurations. The build
// option NOXVALE_DISPLAY picks one of them as `activeDisplay`; no other file
// tests the configuration macros.

namespace nox {

struct DisplayConfig {
    const char* name;
    int windowWidth;
    int windowHeight;
    bool startsFullscreen;     // created on the primary monitor
    bool hasFullscreenToggle;  // F key and the per-frame target size reset
    int waterTargetWidth;      // reflection and refraction targets
    int waterTargetHeight;
    float lastSegmentSpeed;  // camera flight, key 14 to key 15
    float tree5Z;            // instance 5 stands (and is sampled) at this Z
};

inline constexpr DisplayConfig mainDisplay{"MAIN", 1280, 720, false, true, 1280, 720, 0.1f, 5.0f};
inline constexpr DisplayConfig displayB{"B", 1920, 1080, true, false, 960, 540, 0.05f, 9.0f};
inline constexpr DisplayConfig displayC{"C", 1280, 768, false, false, 640, 384, 0.05f, 9.0f};

#if defined(NOXVALE_DISPLAY_B)
inline constexpr const DisplayConfig& activeDisplay = displayB;
#elif defined(NOXVALE_DISPLAY_C)
inline constexpr const DisplayConfig& activeDisplay = displayC;
#else
inline constexpr const DisplayConfig& activeDisplay = mainDisplay;
#endif

}  // namespace nox
