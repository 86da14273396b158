// korvane-cli measure: the figures View > Measure shows, for points given in plot inches.
#include <cmath>
#include <cstdlib>

#include "cli/Commands.h"
#include "cli/Output.h"
#include "dxf/DxfConfig.h"
#include "view/Measurement.h"
#include "world/PaperToWorld.h"

namespace {
const char kUsage[] = "usage: korvane-cli measure X1 Y1 X2 Y2 ... [--config CFG]";

// A coordinate in plain decimal notation (a leading '-' included), no larger than a drawing
// could be; false otherwise.
bool ParseCoordinate(const std::string& text, double& value) {
    if (text.empty() || text.find_first_not_of("0123456789.-+eE") != std::string::npos) {
        return false;
    }
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value) && std::fabs(value) <= 1e12;
}
}  // namespace

int RunMeasure(const Args& args) {
    std::vector<double> numbers;
    std::string config;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--config") {
            if (++i == args.size()) return Fail(std::string("--config takes a file\n") + kUsage);
            config = args[i];
        } else {
            double v;
            if (!ParseCoordinate(a, v)) {
                return Fail("'" + a + "' is not a coordinate in inches (a decimal number)\n" +
                            kUsage);
            }
            numbers.push_back(v);
        }
    }
    if (numbers.size() % 2 != 0 || numbers.size() < 4) {
        return Fail(std::string("measure takes two points or more, each as X Y\n") + kUsage);
    }
    std::vector<PlanPoint> points;
    for (std::size_t i = 0; i < numbers.size(); i += 2)
        points.push_back({numbers[i], numbers[i + 1]});

    DxfSettings settings;
    if (!config.empty()) {
        // As the DXF export reads it: no file, or not a single setting, is no configuration.
        const int read = ReadDxfConfig(config, settings);
        if (read <= 0) return Fail(config + ": cannot read the configuration file");
        if (read < DxfSettings::kFieldCount) {
            Fail(config + ": warning: only the first " + std::to_string(read) + " of " +
                 std::to_string(DxfSettings::kFieldCount) +
                 " settings could be read; the others keep their defaults");
        }
    }
    std::optional<PlanWorld> world;
    try {
        const PaperToWorld transform(settings);
        if (transform.IsScaled()) world = PlanOf(transform);
    } catch (const TransformError& e) {
        return Fail(config + ": " + e.what());
    }

    const MeasureTexts texts = DescribePath(points, world ? &*world : nullptr);
    StdOutput out;
    out.Print("distance %s\n", texts.distance.c_str());
    if (!texts.bearing.empty()) out.Print("bearing %s\n", texts.bearing.c_str());
    if (!texts.area.empty()) out.Print("area %s\n", texts.area.c_str());
    return out.Finish(kExitOk);
}
