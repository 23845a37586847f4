#include "tools/StepChart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace nox::tools {

namespace {

constexpr double width = 1100.0;
constexpr double height = 560.0;
constexpr double plotLeft = 70.0;
constexpr double plotTop = 70.0;
constexpr double plotRight = width - 250.0;  // the legend to the right
constexpr double plotBottom = height - 60.0;

// Fixed per step, so that the same step keeps its colour from one chart to the
// next; neighbours differ in hue and lightness alike. The camera was the last
// step to be timed on its own: its colour went in front, so the others kept theirs.
const char* const palette[] = {"#8cd17d", "#4e79a7", "#f28e2b", "#59a14f", "#e15759", "#76b7b2", "#edc948",
                               "#b07aa1", "#ff9da7", "#9c755f", "#17becf", "#1f3b73", "#bab0ac"};
constexpr size_t paletteSize = sizeof palette / sizeof palette[0];

std::string escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                // XML has no way to write most control characters at all.
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
        }
    }
    return out;
}

std::string number(double value, int decimals = 1) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// 1, 2 or 5 times a power of ten, giving about `ticks` intervals over `range`.
double tickStep(double range, int ticks) {
    if (!(range > 0.0)) return 1.0;
    const double raw = range / ticks;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double normal = raw / magnitude;
    return (normal <= 1.0 ? 1.0 : normal <= 2.0 ? 2.0 : normal <= 5.0 ? 5.0 : 10.0) * magnitude;
}

int decimalsFor(double step) {
    return step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

}  // namespace

std::string stepChartSvg(const StepChart& chart) {
    const size_t frameCount = chart.steps.size();
    const size_t stepCount = chart.stepNames.size();

    // stack[i][s]: the top of step s in frame i; the steps' bottoms are the tops below them.
    std::vector<std::vector<double>> stack(frameCount, std::vector<double>(stepCount + 1, 0.0));
    std::vector<double> totals(frameCount);
    double highest = 0.0;
    for (size_t i = 0; i < frameCount; ++i) {
        for (size_t s = 0; s < stepCount; ++s) {
            const double value = s < chart.steps[i].size() ? std::max(chart.steps[i][s], 0.0) : 0.0;
            stack[i][s + 1] = stack[i][s] + value;
        }
        totals[i] = i < chart.frames.size() ? chart.frames[i] : stack[i][stepCount];
        highest = std::max({highest, totals[i], stack[i][stepCount]});
    }
    const double yStep = tickStep(highest, 6);
    const double yMax = std::max(std::ceil(highest / yStep), 1.0) * yStep;
    auto yOf = [&](double milliseconds) { return plotBottom - milliseconds / yMax * (plotBottom - plotTop); };

    // The x axis counts flight seconds, or frames when the flight stood still.
    const bool inSeconds = chart.secondsPerFrame > 0.0;
    const double xFirst = inSeconds ? chart.firstSecond : 0.0;
    const double xPerFrame = inSeconds ? chart.secondsPerFrame : 1.0;
    const double frameWidth = (plotRight - plotLeft) / static_cast<double>(std::max<size_t>(frameCount, 1));
    auto xOf = [&](double value) { return plotLeft + ((value - xFirst) / xPerFrame + 0.5) * frameWidth; };
    auto xOfFrame = [&](size_t i) { return plotLeft + (static_cast<double>(i) + 0.5) * frameWidth; };

    std::ostringstream svg;
    svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << " " << height << "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        << "<rect width=\"" << width << "\" height=\"" << height << "\" fill=\"#ffffff\"/>\n"
        << "<text x=\"" << plotLeft << "\" y=\"28\" font-size=\"16\" font-weight=\"bold\">" << escape(chart.title)
        << "</text>\n"
        << "<text x=\"" << plotLeft << "\" y=\"50\" fill=\"#444444\">" << escape(chart.subtitle) << "</text>\n";

    // Grid and axes: a label's baseline a third of the font below its value.
    const int yDecimals = decimalsFor(yStep);
    for (int tick = 0; tick * yStep <= yMax + yStep / 2.0; ++tick) {
        const double value = tick * yStep;
        const std::string y = number(yOf(value));
        svg << "<line x1=\"" << plotLeft << "\" y1=\"" << y << "\" x2=\"" << plotRight << "\" y2=\"" << y
            << "\" stroke=\"#dddddd\"/>\n"
            << "<text x=\"" << plotLeft - 6 << "\" y=\"" << number(yOf(value) + 4) << "\" text-anchor=\"end\">"
            << number(value, yDecimals) << "</text>\n";
    }
    if (frameCount > 0) {
        const double xLast = xFirst + static_cast<double>(frameCount - 1) * xPerFrame;
        const double xStep = tickStep(xLast - xFirst, 10);
        const int xDecimals = decimalsFor(xStep);
        for (double tick = std::ceil(xFirst / xStep - 1e-9); tick * xStep <= xLast + 1e-9; ++tick) {
            const double value = tick * xStep;
            const std::string x = number(xOf(value));
            svg << "<line x1=\"" << x << "\" y1=\"" << plotBottom << "\" x2=\"" << x << "\" y2=\"" << plotBottom + 5
                << "\" stroke=\"#000000\"/>\n"
                << "<text x=\"" << x << "\" y=\"" << plotBottom + 18 << "\" text-anchor=\"middle\">"
                << number(value, xDecimals) << "</text>\n";
        }
    }
    svg << "<line x1=\"" << plotLeft << "\" y1=\"" << plotBottom << "\" x2=\"" << plotRight << "\" y2=\"" << plotBottom
        << "\" stroke=\"#000000\"/>\n"
        << "<line x1=\"" << plotLeft << "\" y1=\"" << plotTop << "\" x2=\"" << plotLeft << "\" y2=\"" << plotBottom
        << "\" stroke=\"#000000\"/>\n"
        << "<text x=\"" << (plotLeft + plotRight) / 2 << "\" y=\"" << plotBottom + 42 << "\" text-anchor=\"middle\">"
        << (inSeconds ? "seconds of flight (one point per frame)" : "frame") << "</text>\n"
        << "<text transform=\"translate(" << plotLeft - 48 << " " << (plotTop + plotBottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">milliseconds per frame</text>\n";

    // The bands, lowest step first.
    for (size_t s = 0; s < stepCount && frameCount > 0; ++s) {
        svg << "<polygon class=\"band\" stroke=\"none\" fill=\"" << palette[s % paletteSize] << "\" points=\"";
        for (size_t i = 0; i < frameCount; ++i) {
            svg << number(xOfFrame(i)) << "," << number(yOf(stack[i][s + 1])) << " ";
        }
        for (size_t i = frameCount; i-- > 0;) {
            svg << number(xOfFrame(i)) << "," << number(yOf(stack[i][s])) << (i > 0 ? " " : "");
        }
        svg << "\"><title>" << escape(chart.stepNames[s]) << "</title></polygon>\n";
    }
    if (frameCount > 0) {
        svg << "<polyline class=\"frame\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1.2\" points=\"";
        for (size_t i = 0; i < frameCount; ++i) {
            svg << number(xOfFrame(i)) << "," << number(yOf(totals[i])) << (i + 1 < frameCount ? " " : "");
        }
        svg << "\"><title>whole frame</title></polyline>\n";
    }

    // The legend reads top down as the bands stack, with each one's median.
    const double legendLeft = plotRight + 20;
    double legendY = plotTop;
    svg << "<text x=\"" << legendLeft << "\" y=\"" << legendY - 12 << "\" font-weight=\"bold\">step</text>\n"
        << "<text x=\"" << width - 12 << "\" y=\"" << legendY - 12
        << "\" font-weight=\"bold\" text-anchor=\"end\">median ms</text>\n";
    // A line for the whole frame, as drawn over the bands; a square for a step.
    auto legendRow = [&](const std::string& name, const char* colour, bool line, double milliseconds) {
        if (line) {
            svg << "<line x1=\"" << legendLeft << "\" y1=\"" << legendY + 6 << "\" x2=\"" << legendLeft + 12
                << "\" y2=\"" << legendY + 6 << "\" stroke=\"" << colour << "\" stroke-width=\"2\"/>\n";
        } else {
            svg << "<rect x=\"" << legendLeft << "\" y=\"" << legendY << "\" width=\"12\" height=\"12\" fill=\""
                << colour << "\"/>\n";
        }
        svg << "<text class=\"legend\" x=\"" << legendLeft + 20 << "\" y=\"" << legendY + 10 << "\">" << escape(name)
            << "</text>\n"
            << "<text x=\"" << width - 12 << "\" y=\"" << legendY + 10 << "\" text-anchor=\"end\">"
            << number(milliseconds, 2) << "</text>\n";
        legendY += 20;
    };
    legendRow("whole frame", "#000000", true, median(totals));
    for (size_t s = stepCount; s-- > 0;) {
        std::vector<double> values;
        for (size_t i = 0; i < frameCount; ++i) values.push_back(stack[i][s + 1] - stack[i][s]);
        legendRow(chart.stepNames[s], palette[s % paletteSize], false, median(values));
    }
    svg << "</svg>\n";
    return svg.str();
}

}  // namespace nox::tools
