#pragma once

#include <QFont>
#include <QLineF>
#include <QPen>
#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

#include "render/DrawSurface.h"
#include "render/qt/Hairlines.h"

class QPainter;

// A drawing surface over a QPainter: a window, an image, a printer page, SVG or PDF. It applies
// the isotropic mapping itself (one scale for both axes, the smaller of the two the extents
// ask for) and leaves the painter's own transform alone.
//
// Plots have millions of segments, so drawing is batched: consecutive lines of one pen are
// collected and handed over together when the pen changes, something other than a line is
// drawn, or Flush is called. On a raster device a batch goes to drawLines; on a vector device
// (polylines = true) every connected pen-down run becomes one polyline, so an SVG has one
// element per run instead of one per segment.
class QPainterSurface : public DrawSurface {
  public:
    QPainterSurface(QPainter& painter, bool polylines = false, bool printing = false);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
             int yEnd) override;
    void SetTextColor(ColorRef color) override;
    // The drawing only ever asks for baseline-left alignment and a transparent background,
    // which is how Qt draws text anyway.
    void SetTextAlign(unsigned) override {}
    void SetBkMode(int) override {}
    void ExtTextOut(int x, int y, const char* text, int length) override;
    int GetDeviceCaps(int index) const override;
    double GetPageMillimetres(int index) const override;
    bool IsPrinting() const override { return m_printing; }

    // Draws whatever is still batched. Called by the destructor too.
    void Flush();

  protected:
    // Draws what is batched under the old mapping, then takes the new one.
    void OnMappingChanged(Mapping) override;
    // Notes when the painter's pen must be remade.
    void OnHandleCall(HandleCall call, Handle handle) override;

  private:
    void UpdateScale();
    QPointF Device(int x, int y) const {
        return QPointF(m_originX + (x - m_windowX) * m_scaleX,
                       m_originY + (y - m_windowY) * m_scaleY);
    }
    void EndRun();
    // A segment of no length where the batch's last one is the same dot. On a raster device a
    // cosmetic pen draws such a dot as one opaque pixel, so drawing it again right after changes
    // nothing, and at a small scale a drawing's short segments repeat dots by the hundred
    // thousand. Vector devices (SVG, PDF, printers) keep every segment.
    bool RepeatsLastDot(const QPointF& to) const;
    // A segment that cannot touch the painter's clip rectangle (one band of a picture painted
    // in bands): every band's painter is given the whole drawing, so each drops the rest here.
    bool OutsideClip(const QPointF& from, const QPointF& to) const;
    void ApplyPen();
    double EmPerCell(const QString& face);

    QPainter& m_painter;
    bool m_polylines;
    bool m_printing;
    bool m_raster;  // pixels: an image, a window

    // The mapping, logical to device.
    double m_windowX = 0, m_windowY = 0, m_originX = 0, m_originY = 0;
    double m_scaleX = 1, m_scaleY = 1;

    // The current position, logical, and the batch.
    int m_curX = 0, m_curY = 0;
    QPointF m_curDevice;
    bool m_curDeviceKnown = false;
    std::vector<QPointF> m_run;  // the pen-down run being drawn (polyline mode)
    std::vector<QLineF> m_lines;
    bool m_penDirty = true;
    bool m_cosmeticPen = true;             // the painter's pen is one pixel wide whatever the scale
    std::optional<Hairlines> m_hairlines;  // where they draw the pen's lines instead of Qt
    bool m_clipped = false;                // a raster painter clipped to m_clip, in device pixels
    QRectF m_clip;
    double m_penReach = 0;  // how far past a segment its pixels may reach

    Handle m_appliedPen = 0;  // the pen the painter has, while m_penDirty is clear
    ColorRef m_textColor = 0;
    QString m_metricsFace;
    double m_metricsRatio = 1;
};
