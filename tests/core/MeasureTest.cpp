// Measurements along a path and the snapping index of a drawing's points.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "plot/PrimitiveList.h"
#include "view/Measurement.h"
#include "view/ViewState.h"

namespace {
struct PathCase {
    std::vector<PlanPoint> points;
    double distance;
    const char* bearing;  // empty: none
    const char* area;     // empty: none
};

TEST(MeasurePath, DistanceBearingAndArea) {
    const PathCase cases[] = {
        {{{0, 0}, {0, 2}}, 2, "0.000", ""},
        {{{0, 0}, {3, 0}}, 3, "90.000", ""},
        {{{1, 1}, {1, -1}}, 2, "180.000", ""},
        {{{0, 0}, {-1, 0}}, 1, "270.000", ""},
        {{{0, 0}, {1, 1}}, std::sqrt(2.0), "45.000", ""},
        {{{0, 0}, {-1, 1}}, std::sqrt(2.0), "315.000", ""},
        // Just west of north rounds to north, never to 360.
        {{{0, 0}, {-1e-7, 1}}, 1, "0.000", ""},
        // A last segment without length keeps the bearing of the one before.
        {{{0, 0}, {2, 0}, {2, 0}}, 2, "90.000", "0.000 sq in"},
        // Either way round, a 2 x 2 square.
        {{{0, 0}, {2, 0}, {2, 2}, {0, 2}}, 6, "270.000", "4.000 sq in"},
        {{{0, 0}, {0, 2}, {2, 2}, {2, 0}}, 6, "180.000", "4.000 sq in"},
        // Far from the origin the area stays exact.
        {{{1e6, 1e6}, {1e6 + 1, 1e6}, {1e6 + 1, 1e6 + 1}}, 2, "0.000", "0.500 sq in"},
        {{{5, 5}}, 0, "", ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.distance);
        EXPECT_NEAR(MeasurePath(c.points).distance, c.distance, 1e-9);
        const MeasureTexts texts = DescribePath(c.points, nullptr);
        EXPECT_EQ(texts.bearing, c.bearing);
        EXPECT_EQ(texts.area, c.area);
    }
}

TEST(MeasurePath, WorldFiguresInPlanAndFromGridNorth) {
    // 1:1000 in metres, the paper turned a quarter clockwise: paper up is grid east.
    const PlanWorld metres{[](double x, double y) { return PlanPoint{y * 25.4, -x * 25.4}; }, "m"};
    const std::vector<PlanPoint> square = {{0, 0}, {0, 1}, {1, 1}};
    MeasureTexts texts = DescribePath(square, &metres);
    EXPECT_EQ(texts.distance, "2.000 in 50.800 m");
    EXPECT_EQ(texts.bearing, "180.000");
    EXPECT_EQ(texts.area, "0.500 sq in 322.580 sq m");
    const PlanWorld feet{[](double x, double y) { return PlanPoint{x * 100, y * 100}; }, "ft"};
    texts = DescribePath(square, &feet);
    EXPECT_EQ(texts.distance, "2.000 in 200.000 ft");
    EXPECT_EQ(texts.bearing, "90.000");
    EXPECT_EQ(texts.area, "0.500 sq in 5000.000 sq ft");
}

TEST(MeasureSession, EndKeepsFiguresAndTheNextClickStartsAfresh) {
    MeasureSession s;
    ViewState view;  // 24000 x 18000 resolution units on a 2400 x 1800 client: 30 px an inch
    view.FitToClient(2400, 1800);
    s.Hover(view, 2400, 1800, 0, 1800, false);
    s.Click();
    s.Hover(view, 2400, 1800, 300, 1800, false);
    EXPECT_EQ(s.StatusText().rfind("Distance 10.0", 0), 0u) << s.StatusText();
    s.End();
    s.Hover(view, 2400, 1800, 600, 1800, false);
    EXPECT_EQ(s.StatusText(), "Distance 0.000 in");  // the pointer no longer counts
    s.Click();
    EXPECT_EQ(s.Points().size(), 1u);
    EXPECT_TRUE(s.RemoveLast());
    EXPECT_FALSE(s.RemoveLast());
}

// The index against looking at every point, on clusters, far-off points and duplicates.
TEST(VertexIndex, NearestMatchesEveryPointLookedAt) {
    std::mt19937 random(7);
    std::normal_distribution<float> cluster(50, 2);
    std::uniform_real_distribution<float> anywhere(-1000, 1000);
    std::vector<Vertex> points;
    for (int i = 0; i < 20000; ++i) points.push_back({cluster(random), cluster(random)});
    for (int i = 0; i < 200; ++i) points.push_back({anywhere(random), anywhere(random)});
    for (int i = 0; i < 500; ++i) points.push_back({12.5f, 12.5f});
    points.push_back({1e30f, -1e30f});
    const VertexIndex index(points);
    ASSERT_EQ(index.size(), points.size());
    EXPECT_LE(index.Bytes(), 16 * points.size());
    std::uniform_real_distribution<double> radius(0, 30);
    for (int q = 0; q < 500; ++q) {
        const Vertex& near = points[random() % points.size()];
        const double x = near.x + radius(random) - 15, y = near.y + radius(random) - 15;
        const double r = q % 2 ? radius(random) : radius(random) / 100;
        double best = INFINITY;
        for (const Vertex& v : points) best = std::fmin(best, std::hypot(v.x - x, v.y - y));
        const std::optional<Vertex> found = index.Nearest(x, y, r);
        ASSERT_EQ(found.has_value(), best <= r) << x << " " << y << " " << r;
        if (found) {
            EXPECT_DOUBLE_EQ(std::hypot(found->x - x, found->y - y), best);
        }
    }
    EXPECT_TRUE(index.Nearest(1e30f, -1e30f, 1).has_value());
    EXPECT_FALSE(VertexIndex().Nearest(0, 0, 100).has_value());
}

TEST(VertexIndex, PointsOfTheRecordsWhereThePaintPutsThem) {
    PrimitiveList list;
    char text[] = "LOT";
    list.Append<Ligne>(PrimCode::kLigne, 1.f, 1.f, std::int16_t(3));    // a move...
    list.Append<Ligne>(PrimCode::kLigne, 2.f, 1.f, std::int16_t(2));    // ...a line's start
    list.Append<Ligne>(PrimCode::kLigne, 7.f, 7.f, std::int16_t(3));    // a move alone: none
    list.Append<Ligne>(PrimCode::kLigne, 9.f, 9.f, std::int16_t(999));  // ignored
    list.Append<Ligne>(PrimCode::kLigne, 10.f, 0.f, std::int16_t(-3));  // origin to (10, 0)
    list.Append<Facteur>(PrimCode::kFacteur, 2.f);
    list.Append<Cercle>(PrimCode::kCercle, 1.f, 1.f, 0.5f);  // (12, 2)
    list.Append<Symbole>(PrimCode::kSymbole, 999.f, 1.f, 0.1f, 0.f, std::int16_t(3), text);
    list.Append<Pinit>(PrimCode::kPinit, std::int16_t(0), std::int16_t(0));
    list.Append<Ligne>(PrimCode::kLigne, 3.f, 4.f, std::int16_t(2));  // from the corner: end only
    const VertexIndex index = VertexIndex::Build(list);
    const std::vector<std::pair<float, float>> expected = {
        {1, 1}, {2, 1}, {12, 2}, {999, 2}, {3, 4}};
    EXPECT_EQ(index.size(), expected.size());
    for (const auto& [x, y] : expected) {
        const std::optional<Vertex> v = index.Nearest(x, y, 0.01);
        ASSERT_TRUE(v.has_value()) << x << " " << y;
        EXPECT_FLOAT_EQ(v->x, x);
        EXPECT_FLOAT_EQ(v->y, y);
    }
    EXPECT_FALSE(index.Nearest(7, 7, 0.5).has_value());
    // A build asked to stop leaves nothing.
    EXPECT_EQ(VertexIndex::Build(list, [](double) { return false; }).size(), 0u);
}
}  // namespace
