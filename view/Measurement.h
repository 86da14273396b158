#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "view/VertexIndex.h"

class PaperToWorld;
class ViewState;

// A point of a measurement, in plot inches; in plan, easting and northing.
struct PlanPoint {
    double x = 0;
    double y = 0;
};

// The world a measurement also reports in when the drawing is scaled: where a plot point lies
// in plan (easting, northing) and the world's unit ("m" or "ft").
struct PlanWorld {
    std::function<PlanPoint(double x, double y)> toPlan;
    std::string unit;
};
// The plan of a scaled transform, in its unit.
PlanWorld PlanOf(const PaperToWorld& world);

// What a path of points measures: its length, the bearing of its last segment that has a
// length, in degrees clockwise from north (up), and from three points the area of the closed
// polygon, whichever way round it runs.
struct PathFigures {
    double distance = 0;
    std::optional<double> bearing;
    std::optional<double> area;
};
PathFigures MeasurePath(const std::vector<PlanPoint>& points);

// The figures as the status pane and korvane-cli give them, three decimals in any locale:
// distance "3.000 in" and, scaled, " 76.200 m" beside it; bearing "45.000", from grid north
// when scaled, else from paper up; area "2.000 sq in" and " 1290.320 sq m", empty below three
// points; bearing empty when no segment has a length.
struct MeasureTexts {
    std::string distance;
    std::string bearing;
    std::string area;
};
MeasureTexts DescribePath(const std::vector<PlanPoint>& points, const PlanWorld* world);

// One measurement in a view: the points clicked, the pointer as the path's provisional end, and
// the vertex it would snap to. The view turns mouse and keys into these calls.
class MeasureSession {
  public:
    // How far the pointer reaches for a vertex, in pixels.
    static constexpr double kSnapPixels = 8;

    void SetIndex(std::shared_ptr<const VertexIndex> index) { m_index = std::move(index); }
    const VertexIndex* Index() const { return m_index.get(); }
    void SetWorld(std::optional<PlanWorld> world) { m_world = std::move(world); }

    // The pointer at client pixel (px, py) of a view; snap: to the nearest vertex within
    // kSnapPixels, if any.
    void Hover(const ViewState& view, int clientWidth, int clientHeight, double px, double py,
               bool snap);
    // The pointer left the drawing.
    void Leave() { m_target.reset(); }
    // Adds the pointer's point (snapped as hovered); after End, starts a new measurement.
    void Click();
    // Takes back the last point; false when there is none.
    bool RemoveLast();
    // Ends the measurement: its figures stay, without the pointer.
    void End() { m_ended = true; }
    void Clear();

    const std::vector<PlanPoint>& Points() const { return m_points; }
    // Where a click would add a point, and whether that is a vertex.
    const std::optional<PlanPoint>& Target() const { return m_target; }
    bool Snapped() const { return m_snapped; }
    // The path the figures are of: the points, then the pointer while measuring.
    std::vector<PlanPoint> Path() const;
    // "Distance 3.000 in 76.200 m, Bearing 45.000, Area 2.000 sq in 1290.320 sq m"; empty
    // before the first point.
    std::string StatusText() const;

  private:
    std::shared_ptr<const VertexIndex> m_index;
    std::optional<PlanWorld> m_world;
    std::vector<PlanPoint> m_points;
    std::optional<PlanPoint> m_target;
    bool m_snapped = false;
    bool m_ended = false;
};
