#pragma once

#include <functional>
#include <string>

#include "view/PlotView.h"
#include "view/ViewHost.h"

class CKorvaneDoc;
class DrawSurface;

// A new view of the given client size onto a freshly opened document, as the desktop shows it:
// a first paint on the initial rectangle (which measures the drawing and fits the view), after
// which the caller makes the second paint.
class FirstView {
  public:
    FirstView(const CKorvaneDoc& doc, int width, int height, const std::string& face = "Velmaro",
              int lineWidth = 0);
    // The second paint, with the fitted mapping.
    void Paint(DrawSurface& dc);

    // The calls of the second paint as `korvane-cli trace` prints them, ending with
    // "end DRAWN MAXX MAXY": handed to sink in pieces as the paint goes, or as one string.
    void Trace(const std::function<void(const std::string&)>& sink);
    std::string Trace();

    PlotView m_view;

  private:
    const CKorvaneDoc& m_doc;
    FixedSizeHost m_host;
};
