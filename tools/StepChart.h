#pragma once

#include <string>
#include <vector>

namespace nox::tools {

// What the frame benchmark measured, frame by frame, for drawing.
struct StepChart {
    std::string title;                       // the machine, the renderer
    std::string subtitle;                    // how the frames were run
    std::vector<std::string> stepNames;      // in the order the steps run: the lowest band first
    std::vector<std::vector<double>> steps;  // per frame, milliseconds per step in the order of stepNames
    std::vector<double> frames;              // per frame, the whole frame in milliseconds
    double firstSecond = 0.0;                // the flight time of the first frame
    double secondsPerFrame = 0.0;            // 0: the frames are numbered instead
};

// An SVG picture of the chart: each step's time stacked on the steps before
// it, frame by frame, as filled bands under a line for the whole frame (the
// gap between the two is the frame's untimed rest). Each band is a polygon of
// class "band" whose points run along its top edge from the first frame to
// the last and back along its bottom edge; the whole frame is a polyline of
// class "frame" with one point per frame at the same x positions.
std::string stepChartSvg(const StepChart& chart);

}  // namespace nox::tools
