#pragma once

namespace nox::studio {

// Both particle atlases: 8 x 8 frames, row by row from the top left.
inline constexpr int atlasRows = 8;
inline constexpr int atlasFrames = atlasRows * atlasRows;

}  // namespace nox::studio
