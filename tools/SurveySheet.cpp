#include "tools/SurveySheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kMapW = 24.0;  // the map; the title block lies to its right
constexpr double kMapH = 21.5;
constexpr double kSheetW = 31.5;
constexpr double kMetresPerInch = 12.7;  // 1:500
constexpr double kBase = 100.0;          // elevation of the plain, metres
constexpr double kEasting = 5000.0;      // grid coordinates of the map's lower-left corner
constexpr double kNorthing = 8000.0;

// Pens as the survey office assigns them.
constexpr int kPenFrame = 1, kPenRoad = 2, kPenContour = 3, kPenParcel = 4, kPenGrid = 5,
              kPenBuilding = 6, kPenPoint = 7, kPenIndex = 8, kPenTraverse = 9;

double Degrees(double radians) {
    return radians * 180.0 / kPi;
}

// Text reads left to right: baselines turned into (-90, 90].
double Upright(double degrees) {
    while (degrees > 90.0) degrees -= 180.0;
    while (degrees <= -90.0) degrees += 180.0;
    return degrees;
}

double Shape(const Hill& h, double theta) {
    return 1.0 + 0.15 * std::sin(2 * theta + h.phase[0]) + 0.08 * std::sin(3 * theta + h.phase[1]) +
           0.04 * std::sin(5 * theta + h.phase[2]);
}

std::string Format(const char* format, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::vector<Pt> Normals(const std::vector<Pt>& line) {
    std::vector<Pt> normals(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const Pt& a = line[i == 0 ? 0 : i - 1];
        const Pt& b = line[i + 1 < line.size() ? i + 1 : i];
        double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
        normals[i] = {-dy / len, dx / len};
    }
    return normals;
}

std::vector<Pt> Offset(const std::vector<Pt>& line, const std::vector<Pt>& normals, double d) {
    std::vector<Pt> out(line.size());
    for (std::size_t i = 0; i < line.size(); ++i)
        out[i] = {line[i].x + d * normals[i].x, line[i].y + d * normals[i].y};
    return out;
}
}  // namespace

void SurveySheet::Draw(double x, double y, int sheetNumber) {
    m_hills.clear();
    m_roads.clear();
    Header(x, y);
    Frame(sheetNumber);
    switch (m_kind) {
        case Kind::SitePlan:
            Terrain(3, 0.5);
            OpenContours(6, 0.5);
            Roads();
            Trees(8);
            SpotHeights(40);
            Traverse(6);
            break;
        case Kind::Contours:
            Terrain(6, 0.25);
            OpenContours(24, 0.25);
            SpotHeights(90);
            break;
        case Kind::Traverse:
            Roads();
            Traverse(26);
            SpotHeights(24);
            break;
    }
    Inset();
    m_out.Move(0.0, 0.0);
}

void SurveySheet::Header(double x, double y) {
    m_out.Init();
    m_out.Extent(33.0, 23.0);
    m_out.Position(0.0, 0.0, 0.0);
    m_out.Scale(1.0);
    // Everything after this is relative to the corner of the frame, inside the margin.
    m_out.ShiftOrigin(x + 0.75, y + 0.75);
}

void SurveySheet::Frame(int sheetNumber) {
    m_out.Pen(kPenFrame);
    Polyline({{0, 0}, {kSheetW, 0}, {kSheetW, kMapH}, {0, kMapH}}, true, false);
    m_out.Move(kMapW, 0);
    m_out.Draw(kMapW, kMapH);
    for (double y : {2.0, 3.5, 5.0, 8.0}) {
        m_out.Move(kMapW, y);
        m_out.Draw(kSheetW, y);
    }
    static const char* kTitles[] = {"SITE PLAN - RIVERSIDE ESTATE", "TOPOGRAPHIC SURVEY",
                                    "TRAVERSE AND CONTROL"};
    m_out.Text(kMapW + 0.3, 4.2, 0.2, 0, kTitles[static_cast<int>(m_kind)]);
    m_out.Text(kMapW + 0.3, 3.8, 0.12, 0, "KORVANE SURVEYS");
    m_out.Text(kMapW + 0.3, 2.6, 0.12, 0, "SCALE 1:500   CONTOUR INTERVAL AS SHOWN");
    m_out.Text(kMapW + 0.3, 1.2, 0.1, 0, "DRAWN: PLOTGEN   DATE: 2024-05-17");
    m_out.Text(kMapW + 0.3, 0.5, 0.14, 0, Format("SHEET %d", sheetNumber));

    // Legend.
    m_out.Pen(kPenPoint);
    m_out.Marker(kMapW + 0.5, 7.4, 0.12, 0, 0, 3);
    m_out.Text(kMapW + 0.9, 7.35, 0.1, 0, "SPOT HEIGHT");
    m_out.Pen(kPenTraverse);
    m_out.Marker(kMapW + 0.5, 6.9, 0.12, 0, 0, 5);
    m_out.Text(kMapW + 0.9, 6.85, 0.1, 0, "TRAVERSE STATION");
    m_out.Rgb(34, 139, 34);
    m_out.Circle(kMapW + 0.5, 6.4, 0.1);
    m_out.Text(kMapW + 0.9, 6.35, 0.1, 0, "TREE");
    m_out.Pen(kPenRoad);
    m_out.Move(kMapW + 0.3, 5.9);
    m_out.Draw(kMapW + 0.7, 5.9);
    m_out.Text(kMapW + 0.9, 5.85, 0.1, 0, "ROAD EDGE");
    m_out.Pen(kPenIndex);
    m_out.Move(kMapW + 0.3, 5.4);
    m_out.Draw(kMapW + 0.7, 5.4);
    m_out.Text(kMapW + 0.9, 5.35, 0.1, 0, "INDEX CONTOUR");

    // Grid crosses every two inches, labelled along the bottom and up the left side.
    m_out.Pen(kPenGrid);
    for (double x = 2; x < kMapW; x += 2) {
        for (double y = 2; y < kMapH; y += 2) {
            m_out.Move(x - 0.1, y);
            m_out.Draw(x + 0.1, y);
            m_out.Move(x, y - 0.1);
            m_out.Draw(x, y + 0.1);
        }
        m_out.Number(x - 0.2, 0.15, 0.08, 0, 0, kEasting + x * kMetresPerInch);
    }
    for (double y = 2; y < kMapH; y += 2)
        m_out.Number(0.25, y - 0.2, 0.08, 90, 0, kNorthing + y * kMetresPerInch);

    // North arrow.
    m_out.Pen(kPenFrame);
    Polyline({{22.5, 19.0}, {22.8, 19.0}, {22.65, 20.0}}, true, false);
    m_out.Text(22.58, 20.15, 0.18, 0, "N");
}

void SurveySheet::Terrain(int hillCount, double interval) {
    for (int i = 0, tries = 0; i < hillCount && tries < 200; ++tries) {
        Hill h;
        h.radius = m_rng.Uniform(2.0, 4.5);
        h.centre = RandomInMap(h.radius * 0.8);
        // Contours of different hills must not cross.
        bool overlaps = false;
        for (const Hill& o : m_hills)
            if (std::hypot(h.centre.x - o.centre.x, h.centre.y - o.centre.y) <
                1.25 * (h.radius + o.radius))
                overlaps = true;
        if (overlaps) continue;
        ++i;
        h.rise = m_rng.Uniform(4.0, 12.0);
        for (double& p : h.phase) p = m_rng.Uniform(0, 2 * kPi);
        m_hills.push_back(h);
    }
    const int steps = m_kind == Kind::Contours ? 64 : 96;
    for (const Hill& h : m_hills) {
        int levels = static_cast<int>(h.rise / interval);
        for (int k = 1; k <= levels; ++k) {
            double level = k * interval;
            // The profile falls off as (1 - rho)^1.4 from the top; this is its inverse.
            double rho = 1.0 - std::pow(level / h.rise, 1.0 / 1.4);
            std::vector<Pt> ring;
            ring.reserve(steps);
            for (int s = 0; s < steps; ++s) {
                double t = 2 * kPi * s / steps;
                double r = h.radius * rho * Shape(h, t);
                ring.push_back({h.centre.x + r * std::cos(t), h.centre.y + r * std::sin(t)});
            }
            bool index = k % 5 == 0;
            m_out.Pen(index ? kPenIndex : kPenContour);
            Polyline(ring, true);
            if (index && InMap(ring[steps / 8])) {
                const Pt& a = ring[steps / 8];
                const Pt& b = ring[steps / 8 + 1];
                double angle = Upright(Degrees(std::atan2(b.y - a.y, b.x - a.x)));
                // The contour sample labels as integers, the site plan with one form for all.
                int decimals = m_kind == Kind::Contours ? -1 : 0;
                m_out.Number(a.x, a.y, 0.08, angle, decimals, kBase + level);
            }
        }
        m_out.Pen(kPenPoint);
        m_out.Marker(h.centre.x, h.centre.y, 0.1, 0, 0, 4);
        m_out.Number(h.centre.x + 0.1, h.centre.y + 0.05, 0.08, 0, 2,
                     kBase + h.rise + m_rng.Uniform(0.0, interval));
    }
}

void SurveySheet::OpenContours(int count, double interval) {
    // A slope falling towards a creek along the bottom of the map.
    double phase1 = m_rng.Uniform(0, 2 * kPi), phase2 = m_rng.Uniform(0, 2 * kPi);
    double spacing = 1.6 / count;
    std::vector<Pt> creek;
    for (double x = 0; x <= kMapW + 1e-9; x += 0.2)
        creek.push_back({x, 0.8 + 0.3 * std::sin(x / 3.0 + phase1)});
    m_out.Rgb(30, 144, 255);
    Polyline(creek, false);
    m_out.Text(6.0, 0.45, 0.12, 0, "WILLOW CREEK");
    for (int k = 0; k < count; ++k) {
        std::vector<Pt> line;
        double y0 = 1.2 + k * spacing;
        for (double x = 0; x <= kMapW + 1e-9; x += 0.25)
            line.push_back({x, y0 + 0.4 * std::sin(x / 3.0 + phase1) +
                                   0.15 * std::sin(x / 1.3 + phase2) * (1 + 0.1 * k)});
        double level = kBase - (count - k) * interval;
        bool index = (count - k) % 5 == 0;
        m_out.Pen(index ? kPenIndex : kPenContour);
        Polyline(line, false);
        if (index) {
            const Pt& a = line[line.size() / 3];
            const Pt& b = line[line.size() / 3 + 1];
            m_out.Number(a.x, a.y, 0.07, Upright(Degrees(std::atan2(b.y - a.y, b.x - a.x))),
                         m_kind == Kind::Contours ? -1 : 0, level);
        }
    }
    m_out.Pen(kPenFrame);
    m_out.Text(3.0, 2.9, 0.1, 30, "EMBANKMENT");
    m_out.Text(18.0, 3.2, 0.1, -45, "DRAINAGE EASEMENT");
}

void SurveySheet::Roads() {
    double phase = m_rng.Uniform(0, 2 * kPi);
    double y0 = m_rng.Uniform(8.0, 10.0);
    std::vector<Pt> main;
    for (double x = 0; x <= kMapW + 1e-9; x += 0.25)
        main.push_back({x, y0 + 1.2 * std::sin(x / 5.0 + phase)});
    double x0 = m_rng.Uniform(13.0, 16.0);
    std::vector<Pt> side;
    for (double y = y0 + 2.0; y <= kMapH + 1e-9; y += 0.25)
        side.push_back({x0 + 0.8 * std::sin(y / 4.0 + phase), y});
    m_roads = {main, side};

    const double halfWidth = 0.3;
    for (const auto& centre : m_roads) {
        std::vector<Pt> normals = Normals(centre);
        m_out.Pen(kPenRoad);
        Polyline(Offset(centre, normals, halfWidth), false);
        Polyline(Offset(centre, normals, -halfWidth), false);
        // Dashed centre line: every other sample segment.
        m_out.Pen(kPenGrid);
        for (std::size_t i = 0; i + 1 < centre.size(); i += 2) {
            m_out.Move(centre[i].x, centre[i].y);
            m_out.Draw(centre[i + 1].x, centre[i + 1].y);
        }
    }
    m_out.Pen(kPenFrame);
    const Pt& a = main[main.size() / 4];
    const Pt& b = main[main.size() / 4 + 1];
    m_out.Text(a.x, a.y + 0.05, 0.14, Upright(Degrees(std::atan2(b.y - a.y, b.x - a.x))),
               "RIVERSIDE DRIVE");
    const Pt& c = side[side.size() / 2];
    m_out.Text(c.x - 0.05, c.y, 0.14, 90, "MILL LANE");

    if (m_kind != Kind::SitePlan) return;
    std::vector<Pt> normals = Normals(main);
    Parcels(Offset(main, normals, halfWidth), normals, 1.0);
    Parcels(Offset(main, normals, -halfWidth), normals, -1.0);
}

void SurveySheet::Parcels(const std::vector<Pt>& edge, const std::vector<Pt>& normals,
                          double side) {
    const double setback = 0.15;
    std::size_t i = 0;
    while (i + 4 < edge.size()) {
        std::size_t j = std::min(edge.size() - 1, i + static_cast<std::size_t>(m_rng.Int(5, 8)));
        double depth = m_rng.Uniform(2.0, 3.0);
        bool crossesLane = false;
        for (std::size_t k = i; k <= j; ++k)
            if (side > 0 && std::fabs(edge[k].x - m_roads[1].front().x) < 1.3) crossesLane = true;
        if (!crossesLane) {
            std::vector<Pt> lot;
            for (std::size_t k = i; k <= j; ++k)
                lot.push_back({edge[k].x + side * setback * normals[k].x,
                               edge[k].y + side * setback * normals[k].y});
            double d = side * (setback + depth);
            lot.push_back({edge[j].x + d * normals[j].x, edge[j].y + d * normals[j].y});
            lot.push_back({edge[i].x + d * normals[i].x, edge[i].y + d * normals[i].y});
            m_out.Pen(kPenParcel);
            Polyline(lot, true);

            double area = 0, cx = 0, cy = 0;
            for (std::size_t k = 0; k < lot.size(); ++k) {
                const Pt& p = lot[k];
                const Pt& q = lot[(k + 1) % lot.size()];
                area += p.x * q.y - q.x * p.y;
                cx += p.x;
                cy += p.y;
            }
            cx /= lot.size();
            cy /= lot.size();
            std::size_t mid = (i + j) / 2;
            double angle = Upright(Degrees(std::atan2(-normals[mid].x, normals[mid].y)));
            m_out.Text(cx - 0.3, cy + 0.35 * side, 0.1, angle, Format("LOT %d", m_lotNumber++));
            m_out.Number(cx - 0.3, cy + 0.2 * side, 0.08, angle, 2,
                         std::fabs(area) / 2 * kMetresPerInch * kMetresPerInch);

            // A house square to the road.
            double w = m_rng.Uniform(0.25, 0.4), h = m_rng.Uniform(0.2, 0.3);
            Pt n = normals[mid], t = {n.y, -n.x};
            Pt c = {cx - side * 0.2 * n.x, cy - side * 0.2 * n.y};
            m_out.Pen(kPenBuilding);
            Polyline({{c.x - w * t.x - h * n.x, c.y - w * t.y - h * n.y},
                      {c.x + w * t.x - h * n.x, c.y + w * t.y - h * n.y},
                      {c.x + w * t.x + h * n.x, c.y + w * t.y + h * n.y},
                      {c.x - w * t.x + h * n.x, c.y - w * t.y + h * n.y}},
                     true);
        }
        i = j;
    }
}

void SurveySheet::Trees(int clusters) {
    m_out.Rgb(34, 139, 34);
    for (int c = 0; c < clusters; ++c) {
        Pt centre = RandomInMap(1.0);
        int n = m_rng.Int(4, 12);
        for (int k = 0; k < n; ++k) {
            Pt p = {centre.x + m_rng.Uniform(-0.8, 0.8), centre.y + m_rng.Uniform(-0.8, 0.8)};
            bool onRoad = false;
            for (const auto& road : m_roads)
                for (const Pt& q : road)
                    if (std::hypot(p.x - q.x, p.y - q.y) < 0.6) onRoad = true;
            if (onRoad || !InMap(p)) continue;
            double canopy = m_rng.Uniform(0.06, 0.2);
            m_out.Circle(p.x, p.y, canopy);
            if (canopy > 0.15) m_out.Circle(p.x, p.y, 0.02);  // trunk of the larger trees
        }
    }
}

void SurveySheet::SpotHeights(int count) {
    static const int kSymbols[] = {1, 2, 3, 3, 3, 6, 10};
    m_out.Pen(kPenPoint);
    for (int k = 0; k < count; ++k) {
        Pt p = RandomInMap(0.5);
        int symbol = kSymbols[m_rng.Int(0, 6)];
        m_out.Marker(p.x, p.y, 0.08, 0, m_rng.Chance(0.2) ? -1 : 0, symbol);
        m_out.Number(p.x + 0.08, p.y + 0.03, 0.07, 0, 2, Elevation(p));
        if (m_rng.Chance(0.3)) m_out.Text(p.x + 0.08, p.y - 0.1, 0.05, 0, Format("SP%d", k + 1));
    }
}

void SurveySheet::Traverse(int stations) {
    Pt p = RandomInMap(3.0);
    double bearing = m_rng.Uniform(0, 2 * kPi);
    std::vector<Pt> visited;
    for (int s = 0; s < stations; ++s) {
        if (s > 0) {
            Pt next;
            int tries = 0;
            do {
                bearing += m_rng.Uniform(-0.7, 0.7) + (tries > 3 ? kPi / 2 : 0);
                double leg = m_rng.Uniform(1.5, 3.5);
                next = {p.x + leg * std::cos(bearing), p.y + leg * std::sin(bearing)};
            } while (!(next.x > 1 && next.x < kMapW - 1 && next.y > 1 && next.y < kMapH - 1) &&
                     ++tries < 12);
            if (tries >= 12) break;
            // Leg annotation: plotter bearing and distance along the leg.
            double dx = next.x - p.x, dy = next.y - p.y;
            double azimuth = std::fmod(90.0 - Degrees(std::atan2(dy, dx)) + 360.0, 360.0);
            int deg = static_cast<int>(azimuth), min = static_cast<int>((azimuth - deg) * 60);
            char label[48];
            std::snprintf(label, sizeof label, "%03d-%02d %.2fm", deg, min,
                          std::hypot(dx, dy) * kMetresPerInch);
            m_out.Pen(kPenFrame);
            m_out.Text((p.x + next.x) / 2, (p.y + next.y) / 2 + 0.05, 0.07,
                       Upright(Degrees(std::atan2(dy, dx))), label);
            p = next;
        }
        visited.push_back(p);
        m_out.Pen(kPenTraverse);
        // The first station lifts the pen there; the rest draw the leg from the previous one.
        m_out.Marker(p.x, p.y, 0.12, 0, s == 0 ? -1 : -2, 5);
        m_out.Text(p.x + 0.12, p.y + 0.08, 0.09, 0, Format("STN %d", s + 1));
        m_out.Number(p.x + 0.12, p.y - 0.06, 0.07, 0, 2, Elevation(p));
        // Side shots to nearby features.
        int shots = m_kind == Kind::Traverse ? m_rng.Int(2, 5) : 0;
        m_out.Pen(kPenPoint);
        for (int k = 0; k < shots; ++k) {
            Pt q = {p.x + m_rng.Uniform(-1.0, 1.0), p.y + m_rng.Uniform(-1.0, 1.0)};
            m_out.Marker(q.x, q.y, 0.06, 0, -1, m_rng.Chance(0.5) ? 1 : 2);
            m_out.Number(q.x + 0.06, q.y + 0.02, 0.05, 0, 2, Elevation(q));
        }
        // Back to the station, so the next leg starts there and not at the last shot.
        if (shots) m_out.Move(p.x, p.y);
    }
    if (m_kind != Kind::Traverse) return;

    // Coordinate schedule in the title block.
    m_out.Pen(kPenFrame);
    // Between the legend and the location sketch.
    double y = 13.0;
    m_out.Text(kMapW + 0.3, y, 0.1, 0, "STATION   EASTING   NORTHING   ELEV");
    for (std::size_t s = 0; s < visited.size() && y > 8.4; ++s) {
        y -= 0.22;
        const Pt& v = visited[s];
        m_out.Text(kMapW + 0.3, y, 0.08, 0, Format("STN %d", static_cast<int>(s) + 1));
        m_out.Number(kMapW + 1.5, y, 0.08, 0, 2, kEasting + v.x * kMetresPerInch);
        m_out.Number(kMapW + 2.9, y, 0.08, 0, 2, kNorthing + v.y * kMetresPerInch);
        m_out.Number(kMapW + 4.4, y, 0.08, 0, 2, Elevation(v));
    }
}

void SurveySheet::Inset() {
    // A location sketch of the whole map at a quarter size, in the title block.
    m_out.Pen(kPenFrame);
    m_out.ShiftOrigin(kMapW + 0.75, 13.5);
    m_out.Scale(0.25);
    Polyline({{0, 0}, {kMapW, 0}, {kMapW, kMapH}, {0, kMapH}}, true);
    m_out.Text(0.5, kMapH + 0.5, 0.6, 0, "LOCATION");
    m_out.Pen(kPenRoad);
    for (const auto& road : m_roads) {
        std::vector<Pt> coarse;
        for (std::size_t i = 0; i < road.size(); i += 4) coarse.push_back(road[i]);
        Polyline(coarse, false);
    }
    m_out.Pen(kPenContour);
    for (const Hill& h : m_hills) m_out.Circle(h.centre.x, h.centre.y, h.radius * 0.5);
    m_out.Scale(1.0);
}

void SurveySheet::Polyline(const std::vector<Pt>& points, bool closed, bool clip) {
    bool down = false;
    std::size_t n = points.size() + (closed ? 1 : 0);
    for (std::size_t i = 0; i < n; ++i) {
        const Pt& p = points[i % points.size()];
        if (clip && !InMap(p)) {
            down = false;
        } else if (down) {
            m_out.Draw(p.x, p.y);
        } else {
            m_out.Move(p.x, p.y);
            down = true;
        }
    }
}

double SurveySheet::Elevation(Pt p) const {
    double e = 0;
    for (const Hill& h : m_hills) {
        double dx = p.x - h.centre.x, dy = p.y - h.centre.y;
        double rho = std::hypot(dx, dy) / (h.radius * Shape(h, std::atan2(dy, dx)));
        if (rho < 1) e = std::max(e, h.rise * std::pow(1 - rho, 1.4));
    }
    // Points off the hills lie on the plain, a little rough.
    return kBase + e + 0.01 * std::fmod(std::fabs(p.x * 37.0 + p.y * 91.0), 25.0);
}

bool SurveySheet::InMap(Pt p) const {
    return p.x >= 0 && p.x <= kMapW && p.y >= 0 && p.y <= kMapH;
}

Pt SurveySheet::RandomInMap(double margin) {
    return {m_rng.Uniform(margin, kMapW - margin), m_rng.Uniform(margin, kMapH - margin)};
}
