// The streamed SVG against Qt's own generator, painting for painting, and its escaping.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <string>

#include "plot/KorvaneDoc.h"
#include "render/qt/QPainterSurface.h"
#include "render/qt/SvgStream.h"
#include "tests/support/RecordingFeedback.h"
#include "view/FirstView.h"

namespace {
struct Case {
    const char* sample;
    int width, height;
    const char* face;
    int lineWidth;
};

void PaintSample(QPaintDevice& device, const CKorvaneDoc& doc, const Case& c) {
    QPainter painter(&device);
    painter.fillRect(QRect(0, 0, c.width, c.height), Qt::white);
    FirstView view(doc, c.width, c.height, c.face, c.lineWidth);
    QPainterSurface surface(painter, true);
    view.Paint(surface);
}

std::string Streamed(QSize size, const QString& title,
                     const std::function<void(QPaintDevice&)>& paint) {
    std::string text;
    SvgStream svg(size, title, [&](const std::string& piece) { text += piece; });
    paint(svg);
    return text;
}
}  // namespace

TEST(SvgStream, WritesWhatQtsGeneratorWritesForEverySample) {
    const Case cases[] = {
        {"site-plan", 1000, 800, "Velmaro", 0},   {"contours", 640, 480, "Velmaro", 0},
        {"traverse", 1000, 800, "Velmaro", 0},    {"site-plan", 800, 600, "DejaVu Sans", 2},
        {"traverse", 300, 900, "DejaVu Sans", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sample) + " " + c.face);
        RecordingFeedback feedback;
        CKorvaneDoc doc(feedback);
        doc.OnOpenDocument(std::string(KORVANE_SOURCE_DIR) + "/samples/" + c.sample + ".plt");
        const QSize size(c.width, c.height);

        QByteArray expected;
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle("plan.plt");
        PaintSample(svg, doc, c);

        const std::string streamed =
            Streamed(size, "plan.plt", [&](QPaintDevice& d) { PaintSample(d, doc, c); });
        EXPECT_GT(streamed.size(), 100000u);
        EXPECT_TRUE(streamed == expected.toStdString());
    }
}

TEST(SvgStream, EscapesTitleFaceAndText) {
    const std::string text = Streamed(QSize(200, 100), "a&b<c>.plt", [](QPaintDevice& d) {
        QPainter painter(&d);
        QFont font("Tom & <Jerry>");
        font.setPixelSize(20);
        painter.setFont(font);
        painter.drawText(QPointF(10, 50), "x < y & \"z\"");
    });
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    QString title, drawn, family;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("title")) title = xml.readElementText();
        if (xml.name() == QLatin1String("text")) {
            family = xml.attributes().value("font-family").toString();
            drawn = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(title.toStdString(), "a&b<c>.plt");
    EXPECT_EQ(family.toStdString(), "Tom & <Jerry>");
    EXPECT_EQ(drawn.toStdString(), "x < y & \"z\"");
}
