#pragma once

#include <QString>
#include <functional>

class PlotView;
class PrimitiveList;
class QPaintDevice;

// The message when a printer refuses a job.
inline QString PrintRefusedMessage() {
    return QStringLiteral("Could not start print job.");
}

// Paints the view's drawing as one page on device (a printer, a print preview page or a PDF
// writer) with the printer mapping: one inch is one inch (fitToPage 0) or the drawing fills the
// printable area (1). False when the device refuses to start the job. The desktop's Print, its
// preview, `korvane --print` and `korvane-cli print` all print through here. stop, asked now
// and then, ends the page early and aborts a printer's job (false then too).
bool PrintPage(QPaintDevice& device, PlotView& view, const PrimitiveList& primitives, int fitToPage,
               const std::function<bool()>& stop = {});
