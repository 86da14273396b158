#include "print/PrintPage.h"

#include <QPainter>
#include <QPrinter>

#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

bool PrintPage(QPaintDevice& device, PlotView& view, const PrimitiveList& primitives, int fitToPage,
               const std::function<bool()>& stop) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    bool stopped = false;
    {
        QPainterSurface surface(painter, true, true);
        FixedSizeHost host(device.width(), device.height());
        PaintPass pass(view, surface, host, primitives, fitToPage);
        while (pass.Step(65536)) {
            if (stop && stop()) {
                stopped = true;
                break;
            }
        }
    }
    if (stopped) {
        // A printer drops the job; other devices get the page as far as it went.
        if (device.devType() == QInternal::Printer) static_cast<QPrinter&>(device).abort();
        painter.end();
        return false;
    }
    return painter.end();
}
