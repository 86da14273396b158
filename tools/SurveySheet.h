#pragma once

#include <string>
#include <vector>

#include "tools/RecordWriter.h"

struct Pt {
    double x;
    double y;
};

struct Hill {
    Pt centre;
    double radius;    // inches to the base contour
    double rise;      // metres from the base to the top
    double phase[3];  // shape of the nested contours
};

// One plotter sheet (33 x 23 inches) of a survey at 1:500, drawn the way survey software plots:
// a frame with its title block, then the map layers pen by pen. The map is drawn relative to
// an origin shifted into the sheet margin.
class SurveySheet {
  public:
    enum class Kind { SitePlan, Contours, Traverse };

    SurveySheet(RecordWriter& out, Rng& rng, Kind kind) : m_out(out), m_rng(rng), m_kind(kind) {}

    // (x, y) is where the sheet lies in the plot, for files with many sheets.
    void Draw(double x, double y, int sheetNumber);

  private:
    void Header(double x, double y);
    void Frame(int sheetNumber);
    void Terrain(int hillCount, double interval);
    void OpenContours(int count, double interval);
    void Roads();
    void Parcels(const std::vector<Pt>& edge, const std::vector<Pt>& normal, double side);
    void Trees(int clusters);
    void SpotHeights(int count);
    void Traverse(int stations);
    void Inset();

    // Pen-down runs through the points; with clip, the pen lifts wherever the curve leaves the
    // map.
    void Polyline(const std::vector<Pt>& points, bool closed, bool clip = true);
    double Elevation(Pt p) const;
    bool InMap(Pt p) const;
    Pt RandomInMap(double margin);

    RecordWriter& m_out;
    Rng& m_rng;
    Kind m_kind;
    std::vector<Hill> m_hills;
    std::vector<std::vector<Pt>> m_roads;  // centre lines, for the location inset
    int m_lotNumber = 1;
};
