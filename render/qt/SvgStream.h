#pragma once

#include <QPaintDevice>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class SvgStreamEngine;

// An SVG paint device that writes as it is painted on, for drawings of any size: Qt's own
// generator keeps the whole document in memory (UTF-16) until the painter ends, gigabytes for a
// large plot. The text is exactly what QSvgGenerator writes for the same painting (header,
// one group per painter state, polylines, ellipses, rectangles, paths and text), except that
// every text in it, the title included, is escaped for XML.
//
// sink receives the document in pieces of some tens of kilobytes; the last piece comes when
// the painter ends. Resolution 96 dots per inch.
class SvgStream : public QPaintDevice {
  public:
    using Sink = std::function<void(const std::string&)>;

    SvgStream(QSize size, const QString& title, Sink sink);
    ~SvgStream() override;

    QPaintEngine* paintEngine() const override;

  protected:
    int metric(PaintDeviceMetric metric) const override;

  private:
    QSize m_size;
    std::unique_ptr<SvgStreamEngine> m_engine;
};
