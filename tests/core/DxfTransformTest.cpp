// Paper to world: the set-up of an export, the mapping of points and the refused set-ups.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dxf/DxfExport.h"
#include "dxf/DxfExportError.h"
#include "dxf/DxfOut.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"
#include "world/PaperToWorld.h"
#include "world/SolveLinear.h"

namespace {
void SetCorner(DxfSettings& d, int k, double px, double py, double e, double n, double z) {
    d.paperX[k] = px;
    d.paperY[k] = py;
    d.easting[k] = e;
    d.northing[k] = n;
    d.elevation[k] = z;
}

void Scale(DxfSettings& d, char units, double scale) {
    d.conversionIndex = 1;
    d.unitsIndex = units == 'I';
    d.originalScale = scale;
}

// Survey-size corners on a plane rising by slope along the northing: paper inches at 1:1000.
void SurveyPlane(DxfSettings& d, double slope) {
    const double e0 = 500000, n0 = 5000000, z0 = 250;
    const double w = 30 * 25.4, h = 20 * 25.4;  // world size of a 30 x 20 inch sheet
    SetCorner(d, 0, 1, 1, e0, n0, z0);
    SetCorner(d, 1, 31, 1, e0 + w, n0, z0);
    SetCorner(d, 2, 31, 21, e0 + w, n0 + h, z0 + slope * h);
}

// One entity of a written DXF text: its kind and its groups in order.
struct Entity {
    std::string kind;
    std::vector<std::pair<std::string, std::string>> groups;
    double Value(const char* code) const {
        for (const auto& g : groups) {
            if (g.first == code) return std::strtod(g.second.c_str(), nullptr);
        }
        ADD_FAILURE() << kind << " has no group " << code;
        return NAN;
    }
};

std::vector<Entity> Entities(const std::string& text) {
    std::vector<Entity> out;
    std::size_t pos = 0;
    auto next = [&]() {
        std::size_t end = text.find("\r\n", pos);
        std::string line = text.substr(pos, end - pos);
        pos = end + 2;
        return line;
    };
    while (pos < text.size()) {
        std::string code = next(), value = next();
        if (code == "  0") {
            out.push_back({value, {}});
        } else if (!out.empty()) {
            out.back().groups.emplace_back(code, value);
        }
    }
    return out;
}

// A 32 x 22 inch sheet at 1:1000 whose paper origin lies at these survey coordinates.
constexpr double kE0 = 500000, kN0 = 5000000, kW = 32 * 25.4, kH = 22 * 25.4;

// Corners that turn a 32 x 22 inch sheet at 1:1000 by degrees about its paper origin, which
// lies at easting 500000, northing 5000000, elevation 120.
void Turned(DxfSettings& d, double degrees) {
    const double c = std::cos(degrees * M_PI / 180), s = std::sin(degrees * M_PI / 180);
    const double e0 = kE0, n0 = kN0, w = kW, h = kH;
    Scale(d, 'M', 1000);
    SetCorner(d, 0, 0, 0, e0, n0, 120);
    SetCorner(d, 1, 32, 0, e0 + w * c, n0 + w * s, 120);
    SetCorner(d, 2, 32, 22, e0 + w * c - h * s, n0 + w * s + h * c, 120);
}

// Degrees from a to b, in (-180, 180].
double AngleBetween(double a, double b) {
    double d = std::fmod(b - a, 360.0);
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

// The DXF export of the document's drawing with its settings.
std::string ExportDoc(const CKorvaneDoc& doc) {
    Archive out = Archive::ToMemory();
    WriteDxf(doc.Primitives(), doc.GetDxfSettings(), out);
    return out.Memory();
}

// A circle written at plot (x, y), as the text states it.
Entity Circle(CDxfOut& d, Archive& out, float x, float y) {
    const std::size_t before = out.Memory().size();
    d.WriteCircle(x, y, 0.1f);
    return Entities(out.Memory().substr(before)).at(0);
}
}  // namespace

TEST(DxfTransform, NormalConversionKeepsPaperCoordinates) {
    DxfSettings s;
    SurveyPlane(s, 0.05);  // ignored without the scaled conversion
    CDxfOut d(s);
    Archive out = Archive::ToMemory();
    d.Begin(&out, 0, 0);
    d.TransformPoint(2, 3);
    EXPECT_EQ(d.World()[0], 2.0);
    EXPECT_EQ(d.World()[1], 3.0);
    EXPECT_EQ(d.World()[2], 0.0);
    EXPECT_EQ(Circle(d, out, 2, 3).Value("230"), 1.0);
}

TEST(DxfTransform, HorizontalMetricAndImperialExamples) {
    for (char units : {'M', 'I'}) {
        DxfSettings s;
        Scale(s, units, 1000);
        SetCorner(s, 0, 1.5, 2.5, 5000, 7000, 100);
        CDxfOut d(s);
        Archive out = Archive::ToMemory();
        d.Begin(&out, 0, 0);
        d.TransformPoint(3.5f, 2.5f);
        const double east = d.World()[0];
        d.TransformPoint(2.5f, 2.5f);
        const double expectE = units == 'M' ? 5025.4 : 5000 + 1000 / 12.0;
        // One plot unit along x is one unit scale of world easting.
        EXPECT_NEAR(east - d.World()[0], units == 'M' ? 25.4 : 1000 / 12.0, 1e-9);
        EXPECT_NEAR(d.World()[0], expectE, 1e-9);
        EXPECT_NEAR(d.World()[1], 7000, 1e-9);
        EXPECT_NEAR(d.World()[2], 100, 1e-9);
        const Entity circle = Circle(d, out, 2.5f, 2.5f);
        EXPECT_EQ(circle.Value("210"), 0.0);
        EXPECT_EQ(circle.Value("230"), 1.0);
        EXPECT_EQ(circle.Value(" 30"), 100.0);  // on the plane at the corner's elevation
    }
}

TEST(DxfTransform, RightCornersSummingToZeroCountAsHorizontal) {
    DxfSettings s;
    Scale(s, 'M', 1000);
    SetCorner(s, 0, 1.5, 2.5, 5000, 7000, 100);
    SetCorner(s, 1, 9, 9, 12, -12, 0);
    SetCorner(s, 2, 4, 4, 3, 0, -3);
    CDxfOut d(s);
    Archive out = Archive::ToMemory();
    d.Begin(&out, 0, 0);
    d.TransformPoint(2.5f, 2.5f);
    EXPECT_NEAR(d.World()[0], 5025.4, 1e-9);
    EXPECT_EQ(Circle(d, out, 2.5f, 2.5f).Value("230"), 1.0);
}

TEST(DxfTransform, ThreePointTextsLieFlatAndFollowTheirWorldBaselines) {
    struct Turn {
        float angle;
        double rotation;
    };
    struct Case {
        const char* name;
        void (*set)(DxfSettings&);
        std::vector<Turn> turns;
    };
    const Case cases[] = {
        {"turned by 30 degrees",
         [](DxfSettings& d) { Turned(d, 30); },
         {{0, 30}, {90, 120}, {345, 15}, {-90, 300}}},
        // A reader of the plane's own coordinates once showed these texts upside down.
        {"rising to the south by 5 %",
         [](DxfSettings& d) {
             Scale(d, 'M', 1000);
             SetCorner(d, 0, 0, 0, kE0, kN0, 120);
             SetCorner(d, 1, 32, 0, kE0 + kW, kN0, 120);
             SetCorner(d, 2, 32, 22, kE0 + kW, kN0 + kH, 120 - 0.05 * kH);
         },
         {{0, 0}, {90, 90}, {180, 180}, {30, 30}}},
        {"mirrored: paper right is west",
         [](DxfSettings& d) {
             Scale(d, 'M', 1000);
             SetCorner(d, 0, 0, 0, kE0, kN0, 120);
             SetCorner(d, 1, 32, 0, kE0 - kW, kN0, 120);
             SetCorner(d, 2, 32, 22, kE0 - kW, kN0 + kH, 120);
         },
         {{0, 180}, {90, 90}, {45, 135}}},
        // Paper up is straight up: such a baseline has no direction in plan.
        {"vertical wall",
         [](DxfSettings& d) {
             Scale(d, 'M', 1000);
             SetCorner(d, 0, 0, 0, kE0, kN0, 120);
             SetCorner(d, 1, 32, 0, kE0 + kW, kN0, 120);
             SetCorner(d, 2, 32, 22, kE0 + kW, kN0, 120 + kH);
         },
         {{90, 90}, {270, 270}, {30, 0}, {150, 180}}},
    };
    for (const Case& c : cases) {
        DxfSettings s;
        c.set(s);
        CDxfOut d(s);
        Archive out = Archive::ToMemory();
        d.Begin(&out, 0, 0);
        for (const Turn& t : c.turns) {
            d.WriteText(7.3f, 4.1f, 0.2f, t.angle, 1, "T");
            d.WriteCircle(7.3f, 4.1f, 0.1f);
        }
        const std::vector<Entity> all = Entities(out.Memory());
        ASSERT_EQ(all.size(), 1 + 2 * c.turns.size()) << c.name;
        for (std::size_t i = 0; i < c.turns.size(); ++i) {
            const Entity& text = all[1 + 2 * i];
            EXPECT_NEAR(AngleBetween(c.turns[i].rotation, text.Value(" 50")), 0, 1e-3)
                << c.name << ", paper angle " << c.turns[i].angle;
            for (const Entity* e : {&text, &all[2 + 2 * i]}) {
                const char* codes[] = {" 10", " 20", " 30"};
                for (int k = 0; k < 3; ++k) {
                    EXPECT_NEAR(e->Value(codes[k]), d.World()[k], 5e-4) << c.name << e->kind;
                }
                EXPECT_EQ(e->Value("210"), 0.0);
                EXPECT_EQ(e->Value("220"), 0.0);
                EXPECT_EQ(e->Value("230"), 1.0);
            }
        }
    }
}

TEST(DxfTransform, SitePlanTurnedByThirtyDegreesKeepsItsTextsAlongItsLines) {
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/site-plan.plt");
    const std::vector<Entity> paper = Entities(ExportDoc(doc));
    DxfSettings turned = doc.GetDxfSettings();
    Turned(turned, 30);
    doc.SetDxfSettings(turned);
    const std::vector<Entity> world = Entities(ExportDoc(doc));
    ASSERT_EQ(paper.size(), world.size());
    const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
    int texts = 0;
    double worstPlace = 0, worstTurn = 0;
    for (std::size_t i = 0; i < paper.size(); ++i) {
        const Entity &p = paper[i], &q = world[i];
        ASSERT_EQ(p.kind, q.kind) << i;
        if (p.kind != "VERTEX" && p.kind != "TEXT" && p.kind != "CIRCLE" && p.kind != "LINE") {
            continue;
        }
        // Every point, line work and text alike, turns by 30 degrees about the paper origin.
        const double x = 25.4 * p.Value(" 10"), y = 25.4 * p.Value(" 20");
        worstPlace = std::max({worstPlace, std::fabs(q.Value(" 10") - (500000 + x * c - y * s)),
                               std::fabs(q.Value(" 20") - (5000000 + x * s + y * c))});
        if (p.kind == "TEXT") {
            ++texts;
            worstTurn =
                std::max(worstTurn, std::fabs(AngleBetween(p.Value(" 50") + 30, q.Value(" 50"))));
        }
    }
    EXPECT_GT(texts, 100);
    EXPECT_LT(worstPlace, 0.02);  // paper coordinates are written to 0.001 inch
    EXPECT_LT(worstTurn, 0.002);
}

TEST(DxfTransform, PenDownAfterPinitStartsAtThePaperOriginsWorldPoint) {
    // Pen down straight after each Pinit, the second after a move that shifted the origin.
    const std::string plot =
        PlotBytes().Pinit().Ligne(2, 1, 2).Ligne(1, 1, -3).Pinit().Ligne(1, 1, 2).str();
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    Archive in = Archive::FromMemory(plot.data(), plot.size());
    doc.Serialize(in);
    struct Case {
        const char* name;
        void (*set)(DxfSettings&);
        double origin[3];
    };
    // One document, its settings changed from export to export.
    const Case cases[] = {
        {"three-point", [](DxfSettings& d) { Turned(d, 30); }, {500000, 5000000, 120}},
        {"horizontal",
         [](DxfSettings& d) {
             Scale(d, 'M', 1000);
             SetCorner(d, 0, 1.5, 2.5, 5000, 7000, 100);
             SetCorner(d, 1, 0, 0, 0, 0, 0);
             SetCorner(d, 2, 0, 0, 0, 0, 0);
         },
         {5000 - 1.5 * 25.4, 7000 - 2.5 * 25.4, 100}},
        {"normal", [](DxfSettings& d) { d.conversionIndex = 0; }, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        DxfSettings settings = doc.GetDxfSettings();
        c.set(settings);
        doc.SetDxfSettings(settings);
        const std::vector<Entity> all = Entities(ExportDoc(doc));
        int polylines = 0;
        for (std::size_t i = 0; i + 1 < all.size(); ++i) {
            if (all[i].kind != "POLYLINE") continue;
            ++polylines;
            const Entity& first = all[i + 1];
            EXPECT_NEAR(first.Value(" 10"), c.origin[0], 5e-4) << c.name;
            EXPECT_NEAR(first.Value(" 20"), c.origin[1], 5e-4) << c.name;
            EXPECT_NEAR(first.Value(" 30"), c.origin[2], 5e-4) << c.name;
        }
        EXPECT_EQ(polylines, 2) << c.name;
    }
}

TEST(DxfTransform, SettingsWithoutASoundFileAreRefused) {
    struct Case {
        const char* name;
        void (*set)(DxfSettings&);
        const char* needle;
    };
    const Case cases[] = {
        {"right corners at paper 0,0",
         [](DxfSettings& d) {
             SetCorner(d, 1, 0, 0, 10, 0, 0);
             SetCorner(d, 2, 0, 0, 10, 10, 0);
         },
         "one line"},
        {"paper points almost on a line",
         [](DxfSettings& d) {
             SetCorner(d, 0, 0, 0, 0, 0, 0);
             SetCorner(d, 1, 10, 0, 10, 0, 0);
             SetCorner(d, 2, 20, 1e-12, 10, 10, 0);
         },
         "almost on one line"},
        {"collinear world points",
         [](DxfSettings& d) {
             SetCorner(d, 1, 10, 0, 10, 0, 0);
             SetCorner(d, 2, 10, 10, 20, 0, 0);
         },
         "define no drawing plane"},
        {"scale 0", [](DxfSettings& d) { d.originalScale = 0; }, "one line"},
        {"infinite scale", [](DxfSettings& d) { d.originalScale = INFINITY; }, "not finite"},
        {"a layer name readers refuse", [](DxfSettings& d) { d.layerName[2] = "a:b"; },
         "pen 3 holds the character ':'"},
    };
    for (const Case& c : cases) {
        DxfSettings s;
        Scale(s, 'M', 1000);
        c.set(s);
        CDxfOut d(s);
        Archive out = Archive::ToMemory();
        try {
            d.Begin(&out, 0, 0);
            ADD_FAILURE() << c.name << ": not refused";
        } catch (const DxfExportError& e) {
            EXPECT_NE(std::string(e.what()).find(c.needle), std::string::npos)
                << c.name << ": " << e.what();
        }
        EXPECT_EQ(out.Memory(), "") << c.name;
        // Nothing counts as begun: the next Begin tries the set-up again.
        EXPECT_THROW(d.Begin(&out, 0, 0), DxfExportError) << c.name;
    }
}

TEST(DxfTransform, RefusedExportCreatesNoFileAndKeepsAnExistingOne) {
    TempFolder folder;
    const std::string fresh = folder.Path("new.dxf");
    const std::string existing = folder.Path("old.dxf");
    {
        FILE* f = std::fopen(existing.c_str(), "w");
        std::fputs("keep me", f);
        std::fclose(f);
    }
    RecordingFeedback feedback;
    CKorvaneDoc doc(feedback);
    DxfSettings settings;
    settings.conversionIndex = 1;
    settings.originalScale = 0;
    doc.SetDxfSettings(settings);
    for (const std::string& path : {fresh, existing}) {
        const SaveResult result = ExportDxf(doc, path);
        EXPECT_EQ(result.error, SaveResult::Error::kExportRefused);
        EXPECT_NE(result.message.find("DXF export refused"), std::string::npos);
    }
    EXPECT_NE(access(fresh.c_str(), F_OK), 0);
    FILE* f = std::fopen(existing.c_str(), "r");
    char buf[16] = {};
    ASSERT_NE(f, nullptr);
    std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_STREQ(buf, "keep me");
}

TEST(SolveLinear, PivotsAndReports) {
    // A zero in the corner needs a pivot; the solution rows come back in their own order.
    double a[9] = {0, 2, 1, 1, 0, 0, 3, 1, 4};
    double b[6] = {5, 1, 1, 0, 15, 4};  // two right-hand sides: x = (1,2,1) and (0,1,0)...
    // ...checked by multiplying back.
    const double a0[9] = {0, 2, 1, 1, 0, 0, 3, 1, 4};
    const double b0[6] = {5, 1, 1, 0, 15, 4};
    ASSERT_EQ(SolveLinear(a, 3, b, 2), SolveResult::kSolved);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 2; ++c) {
            double s = 0;
            for (int k = 0; k < 3; ++k) s += a0[r * 3 + k] * b[k * 2 + c];
            EXPECT_NEAR(s, b0[r * 2 + c], 1e-12);
        }
    }
    double singular[4] = {1, 2, 2, 4}, rhs[2] = {1, 2};
    EXPECT_EQ(SolveLinear(singular, 2, rhs, 1), SolveResult::kSingular);
    double ill[4] = {1, 1, 1, 1 + 1e-12}, rhs2[2] = {1, 2};
    EXPECT_EQ(SolveLinear(ill, 2, rhs2, 1), SolveResult::kIllConditioned);
}

// The viewer reads the world through the same transform: its unit and whether heights show.
TEST(PaperToWorld, UnitTiltAndRefusal) {
    DxfSettings paper;
    EXPECT_STREQ(PaperToWorld(paper).Unit(), "in");
    EXPECT_FALSE(ScaledWorldOf(paper).has_value());

    DxfSettings flat;
    Scale(flat, 'M', 1000);
    SetCorner(flat, 0, 1, 1, 500000, 5000000, 0);
    const auto world = ScaledWorldOf(flat);
    ASSERT_TRUE(world.has_value());
    EXPECT_STREQ(world->Unit(), "m");
    EXPECT_FALSE(world->IsTilted());
    const WorldPoint p = world->Apply(2, 1);  // one inch east of the corner: 25.4 m at 1:1000
    EXPECT_NEAR(p.e, 500025.4, 1e-6);
    EXPECT_NEAR(p.n, 5000000, 1e-6);

    DxfSettings tilted;
    Scale(tilted, 'I', 1200);
    SurveyPlane(tilted, 0.1);
    const auto sloped = ScaledWorldOf(tilted);
    ASSERT_TRUE(sloped.has_value());
    EXPECT_STREQ(sloped->Unit(), "ft");
    EXPECT_TRUE(sloped->IsTilted());

    DxfSettings singular = flat;
    singular.originalScale = 0;
    EXPECT_FALSE(ScaledWorldOf(singular).has_value());
    EXPECT_THROW(PaperToWorld{singular}, TransformError);
}
