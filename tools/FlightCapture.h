#pragma once

#include "app/FrameLoop.h"
#include "tools/FrameCapture.h"

namespace nox::tools {

// Draws moments of the flight as a steady run at a fixed frame time shows
// them: frame k is the k-th iteration, each one frameTime long. Frames before
// a moment are stepped without drawing, except the one just before it, whose
// occlusion counts the moment's lens flares use; so the pixels are those of
// a run that drew every frame.
class FlightCapture {
public:
    // Draws frame 0, the start of the flight, with a frame time of 0.
    FlightCapture(FrameLoop& loop, double frameTime);

    // The frame nearest to `seconds` of flight, which must come after the
    // last one drawn; draws it into the window's back buffer and reads it.
    Image frameAt(double seconds);

    // The next frame, one frame time on.
    Image nextFrame();

    long framesDone() const { return frames; }
    double frameTime() const { return step; }

private:
    FrameLoop& loop;
    double step;
    long frames = 0;
};

// The frame index of a moment, at least one past `after`.
long frameIndexOf(double seconds, double frameTime, long after);

}  // namespace nox::tools
