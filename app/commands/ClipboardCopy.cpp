#include "app/commands/ClipboardCopy.h"

#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <string>

#include "render/qt/PictureWriter.h"
#include "render/qt/QPainterSurface.h"
#include "render/qt/SvgStream.h"
#include "view/PlotView.h"

std::unique_ptr<QMimeData> CopyPicture(PlotView& view, const PrimitiveList& primitives,
                                       int clientWidth, int clientHeight,
                                       const std::function<bool()>& stop) {
    const int width = std::max(1, clientWidth);
    const int height = std::max(1, clientHeight);
    std::string svg;
    {
        SvgStream stream(QSize(width, height), QStringLiteral("Korvane drawing"),
                         [&svg](const std::string& piece) { svg += piece; });
        QPainter painter(&stream);
        QPainterSurface surface(painter, true);
        if (!view.DrawCopy(surface, width, height, primitives, stop)) return nullptr;
    }
    QImage image = PictureImage(width, height);
    if (image.isNull()) return nullptr;
    bool drawn = false;
    // Pixels in bands on all cores but the window's.
    PaintInBands(
        image, true,
        [&](DrawSurface& surface) {
            drawn = view.DrawCopy(surface, width, height, primitives, stop);
        },
        BandThreads(true));
    if (!drawn) return nullptr;
    auto data = std::make_unique<QMimeData>();
    data->setData(QStringLiteral("image/svg+xml"), QByteArray::fromStdString(svg));
    data->setImageData(image);
    return data;
}
