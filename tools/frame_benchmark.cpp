// Where a frame's time goes: runs the flight at a fixed frame time and times
// every step of each frame (each step waits for the GPU at its end, so the
// whole frame is a little slower than an untimed one). Run from bin/ so that
// "../res" resolves, under Xvfb when there is no display:
//   frame_benchmark [--frames N] [--warmup N] [--step SECONDS] [--json FILE] [--svg FILE] [--full-detail]
// Prints the median and the 99th percentile of each step and of the whole
// frame, and the median number of primitives each step sent to the
// rasteriser; --json also writes them to FILE ("-" for standard output).
// --svg draws every frame's steps, stacked, along the flight: a slow stretch
// or a step that grew shows where the medians would hide it.
// --full-detail draws everything as it is, for comparison: no view culling,
// no level of detail, no back faces left out.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <numeric>
#include <sstream>
#include <string>
#include <thread>

#include "app/FrameLoop.h"
#include "app/Window.h"
#include "tools/StepChart.h"
#include "tools/StepTimer.h"

namespace {

struct Options {
    int frames = 200;
    int warmup = 5;
    double step = 0.75;  // 200 frames cover the 150-second flight once
    std::string json;
    std::string svg;
    bool fullDetail = false;
};

constexpr int usageError = 2;

void usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--frames N] [--warmup N] [--step SECONDS] [--json FILE|-] [--svg FILE] [--full-detail]\n"
                 "  times every step of N frames of the flight (default 200, after 5 warm-up frames),\n"
                 "  SECONDS of flight apart (default 0.75: 200 frames cover the flight once);\n"
                 "  --svg draws each frame's steps along the flight\n",
                 program);
}

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--frames" && hasValue) {
            options.frames = std::atoi(argv[++i]);
        } else if (arg == "--warmup" && hasValue) {
            options.warmup = std::atoi(argv[++i]);
        } else if (arg == "--step" && hasValue) {
            options.step = std::atof(argv[++i]);
        } else if (arg == "--json" && hasValue) {
            options.json = argv[++i];
        } else if (arg == "--svg" && hasValue) {
            options.svg = argv[++i];
        } else if (arg == "--full-detail") {
            options.fullDetail = true;
        } else {
            return false;
        }
    }
    return options.frames > 0 && options.warmup >= 0 && options.step >= 0.0;
}

std::string machine() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    std::string cpu = "unknown processor";
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0) {
            cpu = line.substr(line.find(':') + 2);
            break;
        }
    }
    std::ostringstream text;
    text << cpu << ", " << std::thread::hardware_concurrency() << " threads, "
         << reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return text.str();
}

struct Row {
    std::string name;
    double median;
    double p99;
    double primitives;  // median
};

std::vector<Row> summarise(const nox::tools::StepTimer& timer) {
    std::vector<Row> rows;
    for (int s = 0; s < nox::frameStepCount; ++s) {
        std::vector<double> samples;
        for (const auto& frame : timer.steps) samples.push_back(frame[static_cast<size_t>(s)]);
        std::vector<double> counts;
        for (const auto& frame : timer.primitives) counts.push_back(frame[static_cast<size_t>(s)]);
        rows.push_back({nox::frameStepName(static_cast<nox::FrameStep>(s)), nox::tools::percentile(samples, 0.5),
                        nox::tools::percentile(samples, 0.99), nox::tools::percentile(counts, 0.5)});
    }
    std::vector<double> totals;
    for (const auto& frame : timer.primitives) totals.push_back(std::accumulate(frame.begin(), frame.end(), 0.0));
    rows.push_back({"whole frame", nox::tools::percentile(timer.frames, 0.5),
                    nox::tools::percentile(timer.frames, 0.99), nox::tools::percentile(totals, 0.5)});
    return rows;
}

void printTable(const std::vector<Row>& rows, const Options& options, const std::string& machineName) {
    std::printf("%d frames, %.3f s of flight apart, %s\n%s\n", options.frames, options.step,
                options.fullDetail ? "full detail" : "as the program draws", machineName.c_str());
    std::printf("%-18s %10s %10s %12s\n", "step", "median ms", "p99 ms", "primitives");
    for (const Row& row : rows) {
        std::printf("%-18s %10.2f %10.2f %12.0f\n", row.name.c_str(), row.median, row.p99, row.primitives);
    }
}

// A JSON string's body: the machine's name comes from /proc/cpuinfo and the
// driver, and may hold quotes or backslashes.
std::string jsonEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '"' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void writeJson(std::ostream& out, const std::vector<Row>& rows, const Options& options,
               const std::string& machineName) {
    out << "{\n  \"machine\": \"" << jsonEscaped(machineName) << "\",\n  \"frames\": " << options.frames
        << ",\n  \"step_seconds\": " << options.step
        << ",\n  \"full_detail\": " << (options.fullDetail ? "true" : "false") << ",\n  \"milliseconds\": {\n";
    for (size_t i = 0; i < rows.size(); ++i) {
        out << "    \"" << rows[i].name << "\": {\"median\": " << rows[i].median << ", \"p99\": " << rows[i].p99
            << ", \"primitives\": " << rows[i].primitives << "}" << (i + 1 < rows.size() ? ",\n" : "\n");
    }
    out << "  }\n}\n";
}

bool writeSvg(const std::string& path, const nox::tools::StepTimer& timer, const Options& options,
              const std::string& machineName) {
    nox::tools::StepChart chart;
    chart.title = "Where a frame's time goes: " + machineName;
    char subtitle[200];
    std::snprintf(subtitle, sizeof subtitle,
                  "%d frames, %.3f s of flight apart, %s; each step stacked on the ones before it, "
                  "the line the whole frame",
                  options.frames, options.step, options.fullDetail ? "full detail" : "as the program draws");
    chart.subtitle = subtitle;
    for (int s = 0; s < nox::frameStepCount; ++s) {
        chart.stepNames.emplace_back(nox::frameStepName(static_cast<nox::FrameStep>(s)));
    }
    for (const auto& frame : timer.steps) chart.steps.emplace_back(frame.begin(), frame.end());
    chart.frames = timer.frames;
    // Each iteration moves the flight on by one step, the warm-up's included.
    chart.firstSecond = (options.warmup + 1) * options.step;
    chart.secondsPerFrame = options.step;
    std::ofstream file(path);
    file << nox::tools::stepChartSvg(chart);
    file.close();
    if (!file) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        usage(argv[0]);
        return usageError;
    }
    nox::getWindow();
    nox::FrameLoop loop;
    loop.sceneObjects().drawAtFullDetail(options.fullDetail);
    // The first frames load the models and build the effect chain.
    for (int i = 0; i < options.warmup; ++i) loop.iterate(options.step);

    nox::tools::StepTimer timer;
    nox::frameStepWatcher = &timer;
    for (int i = 0; i < options.frames; ++i) loop.iterate(options.step);
    nox::frameStepWatcher = nullptr;

    const std::string machineName = machine();
    const std::vector<Row> rows = summarise(timer);
    printTable(rows, options, machineName);
    if (options.json == "-") {
        writeJson(std::cout, rows, options, machineName);
    } else if (!options.json.empty()) {
        std::ofstream file(options.json);
        writeJson(file, rows, options, machineName);
        if (!file) {
            std::fprintf(stderr, "could not write %s\n", options.json.c_str());
            return 1;
        }
    }
    if (!options.svg.empty() && !writeSvg(options.svg, timer, options, machineName)) return 1;
    return 0;
}
