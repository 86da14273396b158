// Paper to world: the set-up of an export, the mapping of points and the refused set-ups.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "dxf/DxfExport.h"
#include "dxf/DxfExportError.h"
#include "dxf/DxfOut.h"
#include "dxf/SolveLinear.h"
#include "plot/Archive.h"
#include "plot/KorvaneDoc.h"
#include "support/PlotBytes.h"
#include "support/RecordingFeedback.h"
#include "support/TempFolder.h"

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

// The world point a CAD reader derives from the written OCS point and extrusion (the
// arbitrary axis algorithm), all taken from the text as written.
void OcsToWorld(const double n0[3], const double ocs[3], double world[3]) {
    double len = std::sqrt(n0[0] * n0[0] + n0[1] * n0[1] + n0[2] * n0[2]);
    double n[3] = {n0[0] / len, n0[1] / len, n0[2] / len};
    double ax[3];
    if (std::fabs(n[0]) < 1.0 / 64 && std::fabs(n[1]) < 1.0 / 64) {
        ax[0] = n[2], ax[1] = 0, ax[2] = -n[0];
    } else {
        ax[0] = -n[1], ax[1] = n[0], ax[2] = 0;
    }
    double al = std::sqrt(ax[0] * ax[0] + ax[1] * ax[1] + ax[2] * ax[2]);
    for (double& v : ax) v /= al;
    double ay[3] = {n[1] * ax[2] - n[2] * ax[1], n[2] * ax[0] - n[0] * ax[2],
                    n[0] * ax[1] - n[1] * ax[0]};
    for (int i = 0; i < 3; ++i) world[i] = ocs[0] * ax[i] + ocs[1] * ay[i] + ocs[2] * n[i];
}

// Values of the groups 10, 20, 30, 210, 220, 230 of the first entity in text.
void Parse(const std::string& text, double ocs[3], double normal[3]) {
    auto value = [&](const char* code) {
        std::size_t p = text.find(std::string("\r\n") + code + "\r\n");
        EXPECT_NE(p, std::string::npos) << code;
        return std::strtod(text.c_str() + p + 7, nullptr);
    };
    ocs[0] = value(" 10"), ocs[1] = value(" 20"), ocs[2] = value(" 30");
    normal[0] = value("210"), normal[1] = value("220"), normal[2] = value("230");
}

// A circle written at plot (x, y): its OCS centre and extrusion as the text states them.
void Circle(CDxfOut& d, Archive& out, float x, float y, double ocs[3], double normal[3]) {
    const std::size_t before = out.Memory().size();
    d.WriteCircle(x, y, 0.1f);
    Parse(out.Memory().substr(before), ocs, normal);
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
    EXPECT_EQ(d.Ocs()[0], 2.0);
    EXPECT_EQ(d.Ocs()[1], 3.0);
    double ocs[3], normal[3];
    Circle(d, out, 2, 3, ocs, normal);
    EXPECT_EQ(normal[2], 1.0);
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
        EXPECT_EQ(d.Ocs()[0], d.World()[0]);
        EXPECT_EQ(d.Ocs()[2], d.World()[2]);
        double ocs[3], normal[3];
        Circle(d, out, 2.5f, 2.5f, ocs, normal);
        EXPECT_EQ(normal[0], 0.0);
        EXPECT_EQ(normal[2], 1.0);
        EXPECT_EQ(ocs[2], 100.0);  // on the plane at the corner's elevation
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
    double ocs[3], normal[3];
    Circle(d, out, 2.5f, 2.5f, ocs, normal);
    EXPECT_EQ(normal[2], 1.0);
}

TEST(DxfTransform, TiltedPlaneWritesTextAndCircleInItsObjectCoordinates) {
    // Slopes on both sides of the 1/64 switch of the arbitrary axis algorithm.
    for (double slope : {0.001, 0.05}) {
        DxfSettings s;
        Scale(s, 'M', 1000);
        SurveyPlane(s, slope);
        CDxfOut d(s);
        Archive out = Archive::ToMemory();
        d.Begin(&out, 0, 0);
        std::size_t done = out.Memory().size();
        std::optional<double> firstElevation;
        for (float x : {1.0f, 7.3f, 30.9f}) {
            for (int kind = 0; kind < 2; ++kind) {
                if (kind == 0) {
                    d.WriteText(x, x / 2, 0.2f, 0, 1, "T");
                } else {
                    d.WriteCircle(x, x / 2, 0.1f);
                }
                std::string text = out.Memory().substr(done);
                done = out.Memory().size();
                double ocs[3], normal[3], world[3];
                Parse(text, ocs, normal);
                EXPECT_GT(std::fabs(normal[1]), 0.0);
                EXPECT_EQ(normal[0], 0.0);
                OcsToWorld(normal, ocs, world);
                for (int i = 0; i < 3; ++i) {
                    EXPECT_NEAR(world[i], d.World()[i], 0.002)
                        << "slope " << slope << " x " << x << " axis " << i;
                }
                // Every point of the plane has the same OCS elevation, about the plane's offset.
                EXPECT_NEAR(ocs[2], firstElevation ? *firstElevation : ocs[2], 0.002);
                // About the plane's distance from the world origin along its normal.
                EXPECT_NEAR(ocs[2], (250 - slope * 5000000) / std::sqrt(1 + slope * slope), 5.0);
                if (!firstElevation) firstElevation = ocs[2];
            }
        }
        // The corners themselves map onto their world points.
        d.TransformPoint(31, 21);
        EXPECT_NEAR(d.World()[0], 500000 + 30 * 25.4, 1e-6);
        EXPECT_NEAR(d.World()[2], 250 + slope * 20 * 25.4, 1e-6);
    }
}

TEST(DxfTransform, SettingsWithoutATransformAreRefused) {
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
    doc.m_dxfSettings.conversionIndex = 1;
    doc.m_dxfSettings.originalScale = 0;
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
