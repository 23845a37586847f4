#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/StepChart.h"

namespace {

struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
};

// Replaces the five entities XML defines; any other '&', or a '<' that
// starts no tag, makes the document malformed.
bool unescape(const std::string& raw, std::string& out) {
    static const std::regex entity("&(amp|lt|gt|quot|apos);|[&<]");
    static const std::map<std::string, char> characters = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    std::string rest = raw;
    for (std::smatch m; std::regex_search(rest, m, entity); rest = m.suffix()) {
        if (m[1].length() == 0) return false;
        out += m.prefix().str() + characters.at(m[1]);
    }
    out += rest;
    return true;
}

// Enough of XML for the chart: elements in document order, with their
// attributes and text. Returns what is wrong, or nothing. A tag the pattern
// does not take (an unescaped quote in a value, say) leaves a bare '<'.
std::string readXml(const std::string& doc, std::vector<Element>& elements) {
    static const std::regex tag(R"re(<(/?)([a-z]+)((?:\s+[A-Za-z0-9:-]+="[^"]*")*)\s*(/?)>)re");
    static const std::regex attribute(R"re(([A-Za-z0-9:-]+)="([^"]*)")re");
    std::vector<size_t> open;
    size_t roots = 0;
    std::string rest = doc.substr(doc.rfind("?>", 100) + 2);  // past the declaration
    for (std::smatch m; std::regex_search(rest, m, tag); rest = m.suffix()) {
        std::string text;
        if (!unescape(m.prefix(), text)) return "bad text before " + m.str();
        if (!open.empty()) elements[open.back()].text += text;
        if (m[1] == "/") {
            if (open.empty() || elements[open.back()].name != m[2]) return "unbalanced " + m.str();
            open.pop_back();
            continue;
        }
        Element element{m[2], {}, ""};
        const std::string attributes = m[3];
        for (std::sregex_iterator a(attributes.begin(), attributes.end(), attribute), end; a != end; ++a) {
            if (!unescape((*a)[2], element.attributes[(*a)[1]])) return "bad value in " + m.str();
        }
        roots += open.empty() ? 1 : 0;
        elements.push_back(element);
        if (m[4] != "/") open.push_back(elements.size() - 1);
    }
    std::string trailing;
    if (!unescape(rest, trailing) || !open.empty()) return "unclosed or bad text at the end";
    return roots == 1 ? "" : std::to_string(roots) + " root elements";
}

std::vector<std::pair<double, double>> points(const Element& element) {
    std::string text = element.attributes.at("points");
    std::replace(text.begin(), text.end(), ',', ' ');
    std::istringstream in(text);
    std::vector<std::pair<double, double>> result;
    for (double x, y; in >> x >> y;) result.emplace_back(x, y);
    return result;
}

std::vector<Element> ofClass(const std::vector<Element>& elements, const std::string& name) {
    std::vector<Element> result;
    for (const Element& e : elements) {
        if (e.attributes.count("class") > 0 && e.attributes.at("class") == name) result.push_back(e);
    }
    return result;
}

// Three steps over four frames, the third frame slow; the second frame's
// steps fill it entirely, the others leave an untimed rest.
nox::tools::StepChart chart() {
    nox::tools::StepChart c;
    c.title = "Vendor <CPU> & \"GL\" 'renderer'";
    c.stepNames = {"compute", "sky & moon", "flares"};
    c.steps = {{1, 2, 3}, {2, 2, 2}, {10, 20, 8}, {1, 1, 1}};
    c.frames = {10, 6, 40, 5};
    c.firstSecond = 0.75;
    c.secondsPerFrame = 0.75;
    return c;
}

TEST(StepChart, IsWellFormedWithOneBandPerStepAndEveryNameInTheLegend) {
    std::vector<Element> elements;
    ASSERT_EQ(readXml(nox::tools::stepChartSvg(chart()), elements), "");
    EXPECT_EQ(elements.front().name, "svg");
    EXPECT_EQ(elements[2].text, chart().title);
    EXPECT_EQ(ofClass(elements, "band").size(), 3u);
    std::vector<std::string> legend;
    for (const Element& e : ofClass(elements, "legend")) legend.push_back(e.text);
    EXPECT_EQ(legend, (std::vector<std::string>{"whole frame", "flares", "sky & moon", "compute"}));

    std::vector<Element> none;
    EXPECT_EQ(readXml(nox::tools::stepChartSvg({}), none), "");
}

TEST(StepChart, StacksEachStepOnTheOnesBelowAndStaysUnderTheWholeFrame) {
    std::vector<Element> elements;
    ASSERT_EQ(readXml(nox::tools::stepChartSvg(chart()), elements), "");
    const auto bands = ofClass(elements, "band");
    const auto frame = points(ofClass(elements, "frame").at(0));
    ASSERT_EQ(bands.size(), 3u);
    ASSERT_EQ(frame.size(), 4u);

    const double baseline = points(bands[0]).back().second;
    for (size_t s = 0; s < bands.size(); ++s) {
        const auto band = points(bands[s]);
        ASSERT_EQ(band.size(), 8u) << "band " << s;
        for (size_t i = 0; i < 4; ++i) {
            const auto top = band[i];
            const auto bottom = band[7 - i];
            EXPECT_DOUBLE_EQ(top.first, frame[i].first);
            EXPECT_GE(top.second, frame[i].second) << "band " << s << " above the whole of frame " << i;
            EXPECT_LE(top.second, bottom.second);
            const double below = s == 0 ? baseline : points(bands[s - 1])[i].second;
            EXPECT_DOUBLE_EQ(bottom.second, below) << "band " << s << " does not sit on the one below";
        }
    }
    // The steps fill the second frame; the slow frame stands four times as high as the first.
    EXPECT_NEAR(points(bands[2])[1].second, frame[1].second, 0.05);
    EXPECT_NEAR((baseline - frame[2].second) / (baseline - frame[0].second), 4.0, 0.02);
}

}  // namespace
