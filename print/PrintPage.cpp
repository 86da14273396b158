#include "print/PrintPage.h"

#include <QPainter>

#include "render/qt/QPainterSurface.h"
#include "view/PlotView.h"
#include "view/ViewHost.h"

bool PrintPage(QPaintDevice& device, PlotView& view, const PrimitiveList& primitives,
               int fitToPage) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    {
        QPainterSurface surface(painter, true, true);
        FixedSizeHost host(device.width(), device.height());
        PaintPass pass(view, surface, host, primitives, fitToPage);
        while (pass.Step(65536)) {
        }
    }
    return painter.end();
}
