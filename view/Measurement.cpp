#include "view/Measurement.h"

#include <cmath>

#include "plot/NumberText.h"
#include "render/PlotContext.h"
#include "view/ViewState.h"
#include "world/PaperToWorld.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

std::string Fixed(double value) {
    char text[kMaxFixed];
    // Rounded first, so that what shows as zero shows without a sign.
    const double rounded = std::round(value * 1000) / 1000 + 0.0;
    return std::string(text, FormatFixed(text, rounded, 0, 3));
}

std::vector<PlanPoint> InPlan(const std::vector<PlanPoint>& points, const PlanWorld& world) {
    std::vector<PlanPoint> plan;
    plan.reserve(points.size());
    for (const PlanPoint& p : points) plan.push_back(world.toPlan(p.x, p.y));
    return plan;
}
}  // namespace

PlanWorld PlanOf(const PaperToWorld& world) {
    return {[world](double x, double y) {
                const WorldPoint p = world.Apply(x, y);
                return PlanPoint{p.e, p.n};
            },
            world.Unit()};
}

PathFigures MeasurePath(const std::vector<PlanPoint>& points) {
    PathFigures figures;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double dx = points[i].x - points[i - 1].x, dy = points[i].y - points[i - 1].y;
        const double length = std::hypot(dx, dy);
        figures.distance += length;
        if (length > 0) {
            // Clockwise from north: east is 90.
            double degrees = std::atan2(dx, dy) * 180 / kPi;
            if (degrees < 0) degrees += 360;
            figures.bearing = degrees;
        }
    }
    if (points.size() >= 3) {
        // The shoelace sum about the first point, which keeps far-off coordinates exact enough.
        double twice = 0;
        const PlanPoint& o = points[0];
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            twice += (points[i].x - o.x) * (points[i + 1].y - o.y) -
                     (points[i + 1].x - o.x) * (points[i].y - o.y);
        }
        figures.area = std::fabs(twice) / 2;
    }
    return figures;
}

MeasureTexts DescribePath(const std::vector<PlanPoint>& points, const PlanWorld* world) {
    const PathFigures paper = MeasurePath(points);
    std::optional<PathFigures> plan;
    if (world) plan = MeasurePath(InPlan(points, *world));
    MeasureTexts texts;
    texts.distance = Fixed(paper.distance) + " in";
    if (plan) texts.distance += " " + Fixed(plan->distance) + " " + world->unit;
    // Grid north when scaled, paper up otherwise.
    const std::optional<double>& bearing = plan ? plan->bearing : paper.bearing;
    if (bearing) {
        texts.bearing = Fixed(*bearing);
        if (texts.bearing == "360.000") texts.bearing = "0.000";
    }
    if (paper.area) {
        texts.area = Fixed(*paper.area) + " sq in";
        if (plan) texts.area += " " + Fixed(*plan->area) + " sq " + world->unit;
    }
    return texts;
}

void MeasureSession::Hover(const ViewState& view, int clientWidth, int clientHeight, double px,
                           double py, bool snap) {
    double x, y, reachX, reachY;
    view.ClientToPlot(px, py, clientWidth, clientHeight, x, y);
    view.ClientToPlot(px + kSnapPixels, py, clientWidth, clientHeight, reachX, reachY);
    m_target = PlanPoint{x / RESOLUTION, y / RESOLUTION};
    m_snapped = false;
    if (!snap || !m_index) return;
    const double radius = std::fabs(reachX - x) / RESOLUTION;
    if (const std::optional<Vertex> v = m_index->Nearest(m_target->x, m_target->y, radius)) {
        m_target = PlanPoint{v->x, v->y};
        m_snapped = true;
    }
}

void MeasureSession::Click() {
    if (!m_target) return;
    if (m_ended) Clear();
    m_points.push_back(*m_target);
}

bool MeasureSession::RemoveLast() {
    if (m_points.empty()) return false;
    m_points.pop_back();
    return true;
}

void MeasureSession::Clear() {
    m_points.clear();
    m_ended = false;
}

std::vector<PlanPoint> MeasureSession::Path() const {
    std::vector<PlanPoint> path = m_points;
    if (!m_ended && m_target && !path.empty()) path.push_back(*m_target);
    return path;
}

std::string MeasureSession::StatusText() const {
    if (m_points.empty()) return {};
    const MeasureTexts texts = DescribePath(Path(), m_world ? &*m_world : nullptr);
    std::string text = "Distance " + texts.distance;
    if (!texts.bearing.empty()) text += ", Bearing " + texts.bearing;
    if (!texts.area.empty()) text += ", Area " + texts.area;
    return text;
}
