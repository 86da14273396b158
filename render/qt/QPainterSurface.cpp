#include "render/qt/QPainterSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QRectF>
#include <algorithm>
#include <cmath>

#include "render/IsotropicScale.h"
#include "render/qt/Hairlines.h"

namespace {
constexpr std::size_t kBatch = 4096;

QColor ToQColor(ColorRef c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, bool polylines, bool printing)
    : m_painter(painter),
      m_polylines(polylines),
      m_printing(printing),
      m_raster(painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
    if (m_raster && painter.hasClipping() && painter.transform().isIdentity()) {
        m_clipped = true;
        m_clip = painter.clipBoundingRect();
    }
    UpdateScale();
}

QPainterSurface::~QPainterSurface() {
    Flush();
}

void QPainterSurface::OnMappingChanged(Mapping) {
    Flush();
    UpdateScale();
}

void QPainterSurface::UpdateScale() {
    const SurfacePoint wo = GetWindowOrg(), we = GetWindowExt();
    const SurfacePoint vo = GetViewportOrg(), ve = GetViewportExt();
    m_windowX = wo.x;
    m_windowY = wo.y;
    m_originX = vo.x;
    m_originY = vo.y;
    const AxisScales s = MappingScale(we.x, we.y, ve.x, ve.y, IsIsotropic());
    m_scaleX = s.x;
    m_scaleY = s.y;
    m_penDirty = true;  // a geometric pen's width follows the scale
    m_curDeviceKnown = false;
}

void QPainterSurface::EndRun() {
    if (m_run.size() >= 2) m_painter.drawPolyline(m_run.data(), static_cast<int>(m_run.size()));
    m_run.clear();
}

void QPainterSurface::Flush() {
    if (m_polylines) {
        EndRun();
    } else if (!m_lines.empty()) {
        const int count = static_cast<int>(m_lines.size());
        if (m_hairlines) {
            m_hairlines->Draw(m_lines.data(), count);
        } else {
            m_painter.drawLines(m_lines.data(), count);
        }
        m_lines.clear();
    }
}

void QPainterSurface::ApplyPen() {
    QPen pen(Qt::black, 0);  // the stock pen: black, one pixel
    m_appliedPen = SelectedPen();
    if (const PenRequest* p = PenOf(m_appliedPen)) {
        pen = QPen(ToQColor(p->color), std::max(p->width, 0) * std::fabs(m_scaleX));
    }
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCosmetic(pen.widthF() == 0);
    m_cosmeticPen = pen.isCosmetic();
    // Half the width, and room for antialiasing and round caps.
    m_penReach = pen.widthF() / 2 + 2;
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    // Set up once per pen: the painter's state stays as it is until the pen is made again.
    m_hairlines.reset();
    if (m_raster && m_cosmeticPen && Hairlines::Applies(m_painter)) {
        m_hairlines.emplace(m_painter, pen.color().rgba(), pen.capStyle() != Qt::FlatCap);
    }
    m_penDirty = false;
}

void QPainterSurface::MoveTo(int x, int y) {
    if (x == m_curX && y == m_curY) return;  // the run goes on
    if (m_polylines) EndRun();
    m_curX = x;
    m_curY = y;
    m_curDeviceKnown = false;
}

void QPainterSurface::LineTo(int x, int y) {
    if (m_penDirty) {
        Flush();
        ApplyPen();
    }
    const QPointF to = Device(x, y);
    if (!m_curDeviceKnown) m_curDevice = Device(m_curX, m_curY);
    if (m_polylines) {
        if (m_run.empty()) m_run.push_back(m_curDevice);
        m_run.push_back(to);
    } else if (!(m_raster && m_cosmeticPen && RepeatsLastDot(to)) &&
               !(m_clipped && OutsideClip(m_curDevice, to))) {
        m_lines.emplace_back(m_curDevice, to);
        if (m_lines.size() >= kBatch) Flush();
    }
    m_curX = x;
    m_curY = y;
    m_curDevice = to;
    m_curDeviceKnown = true;
}

bool QPainterSurface::RepeatsLastDot(const QPointF& to) const {
    // Exact comparisons: QPointF's own == is fuzzy.
    const auto same = [](const QPointF& a, const QPointF& b) {
        return a.x() == b.x() && a.y() == b.y();
    };
    if (!same(m_curDevice, to) || m_lines.empty()) return false;
    const QLineF& last = m_lines.back();
    return same(last.p1(), to) && same(last.p2(), to);
}

bool QPainterSurface::OutsideClip(const QPointF& from, const QPointF& to) const {
    const double r = m_penReach;
    return (from.y() < m_clip.top() - r && to.y() < m_clip.top() - r) ||
           (from.y() > m_clip.bottom() + r && to.y() > m_clip.bottom() + r) ||
           (from.x() < m_clip.left() - r && to.x() < m_clip.left() - r) ||
           (from.x() > m_clip.right() + r && to.x() > m_clip.right() + r);
}

void QPainterSurface::Arc(int left, int top, int right, int bottom, int xStart, int yStart,
                          int xEnd, int yEnd) {
    Flush();
    if (m_penDirty) ApplyPen();
    const QRectF rect = QRectF(Device(left, top), Device(right, bottom)).normalized();
    const double cx = (left + static_cast<double>(right)) / 2;
    const double cy = (top + static_cast<double>(bottom)) / 2;
    const double a1 = std::atan2(yStart - cy, xStart - cx) * 180 / M_PI;
    const double a2 = std::atan2(yEnd - cy, xEnd - cx) * 180 / M_PI;
    double sweep = std::fmod(a2 - a1 + 720.0, 360.0);
    if (sweep == 0) {
        m_painter.drawEllipse(rect);
        return;
    }
    // Counterclockwise in logical space; Qt counts counterclockwise as seen on the device,
    // which is the other way round unless the mapping turns y upward.
    const double sign = m_scaleX * m_scaleY < 0 ? 1 : -1;
    m_painter.drawArc(rect, static_cast<int>(std::lround(sign * a1 * 16)),
                      static_cast<int>(std::lround(sign * sweep * 16)));
}

void QPainterSurface::OnHandleCall(HandleCall call, Handle handle) {
    // A pen deleted while the painter has it is no longer drawn with.
    if ((call == HandleCall::SelectPen && handle != m_appliedPen) ||
        (call == HandleCall::DeletePen && handle == m_appliedPen)) {
        m_penDirty = true;
    }
}

void QPainterSurface::SetTextColor(ColorRef color) {
    m_textColor = color;
}

double QPainterSurface::EmPerCell(const QString& face) {
    // A positive font height is the whole cell (ascent and descent); Qt sizes the em.
    if (face != m_metricsFace) {
        QFont f(face);
        f.setPixelSize(100);
        QFontMetricsF fm(f, m_painter.device());
        const double cell = fm.ascent() + fm.descent();
        m_metricsRatio = cell > 0 ? 100 / cell : 1;
        m_metricsFace = face;
    }
    return m_metricsRatio;
}

void QPainterSurface::ExtTextOut(int x, int y, const char* text, int length) {
    const DeviceFontRequest* selected = FontOf(SelectedFont());
    if (length <= 0 || !selected || selected->height == 0) return;
    const DeviceFontRequest& request = *selected;
    Flush();
    const QString face = QString::fromStdString(request.faceName);
    const double cellPixels = std::fabs(request.height * m_scaleY);
    const double em = request.height > 0 ? cellPixels * EmPerCell(face) : cellPixels;
    if (!(em > 0.05) || em > 1e6) return;
    QFont font(face);
    font.setPixelSize(100);
    font.setWeight(QFont::Normal);
    m_painter.save();
    m_painter.setFont(font);
    m_painter.setPen(ToQColor(m_textColor));
    m_painter.translate(Device(x, y));
    // Escapement counts tenths of a degree from the x axis toward the y axis of the mapping. The
    // text's own escapement is the plot angle with its sign reversed, so under a y-up mapping
    // device text turns the same way as stroke text and the DXF rotation; a turn counted on
    // screen instead would set every angled device label off the opposite way.
    const double flip = m_scaleX * m_scaleY < 0 ? -1 : 1;
    m_painter.rotate(-flip * request.escapement / 10.0);
    m_painter.scale(em / 100, em / 100);
    // Alignment 24: the point is on the baseline at the left end, which is where Qt draws.
    m_painter.drawText(QPointF(0, 0), QString::fromLatin1(text, length));
    m_painter.restore();
    m_penDirty = true;
}

int QPainterSurface::GetDeviceCaps(int index) const {
    const QPaintDevice* d = m_painter.device();
    if (!d) return 0;
    switch (index) {
        case LOGPIXELSY:
            return d->logicalDpiY();
        case HORZSIZE:
            return d->widthMM();
        case VERTSIZE:
            return d->heightMM();
        case HORZRES:
            return d->width();
        case VERTRES:
            return d->height();
        default:
            return 0;
    }
}

double QPainterSurface::GetPageMillimetres(int index) const {
    const QPaintDevice* d = m_painter.device();
    // The device's pixels at its physical resolution: what the printer really covers.
    if (d && index == HORZSIZE && d->physicalDpiX() > 0) {
        return d->width() * 25.4 / d->physicalDpiX();
    }
    if (d && index == VERTSIZE && d->physicalDpiY() > 0) {
        return d->height() * 25.4 / d->physicalDpiY();
    }
    return GetDeviceCaps(index);
}
