#include "render/qt/SvgStream.h"

#include <QBuffer>
#include <QByteArray>
#include <QPaintEngine>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QTextItem>
#include <cstdio>

namespace {
constexpr int kResolution = 96;

// Numbers as Qt's text stream writes them: six significant digits, shortest form.
void AppendNumber(std::string& out, double v) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%g", v);
    out.append(buf, static_cast<std::size_t>(n));
}

// Escaped for XML, without the characters XML cannot hold at all (control characters, a lone
// surrogate, U+FFFE and U+FFFF): a file or face name with one must not make the SVG unreadable.
// Bytes that were not UTF-8 arrive here already replaced by U+FFFD.
std::string Escaped(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            clean += text[i];
            clean += text[++i];
        } else if (!(c < 0x20 || (c >= 0x7F && c <= 0x9F) || QChar::isSurrogate(c) || c == 0xFFFE ||
                     c == 0xFFFF)) {
            clean += text[i];
        }
    }
    return clean.toHtmlEscaped().toUtf8().toStdString();
}

std::string ColorName(const QColor& color) {
    return color.name().toStdString();
}

void AppendOpacity(std::string& out, const QColor& color) {
    AppendNumber(out, color.alphaF());
}
}  // namespace

// The engine behind SvgStream. It declares the features of Qt's SVG engine, so the painter
// hands it the same calls, untransformed, and writes what that engine writes for each.
class SvgStreamEngine : public QPaintEngine {
  public:
    SvgStreamEngine(QSize size, QString title, SvgStream::Sink sink)
        : QPaintEngine(QPaintEngine::PaintEngineFeatures(QPaintEngine::AllFeatures) &
                       ~QPaintEngine::PaintEngineFeatures(
                           QPaintEngine::PatternBrush | QPaintEngine::PerspectiveTransform |
                           QPaintEngine::ConicalGradientFill | QPaintEngine::PorterDuff)),
          m_size(size),
          m_title(std::move(title)),
          m_sink(std::move(sink)) {}

    bool begin(QPaintDevice*) override {
        m_afterFirstUpdate = false;
        m_out = Header();
        return true;
    }

    bool end() override {
        if (m_afterFirstUpdate) m_out += "</g>\n";
        m_out += "</g>\n</svg>\n";
        Hand();
        return true;
    }

    Type type() const override { return QPaintEngine::SVG; }

    void updateState(const QPaintEngineState& state) override {
        // Every update opens a group with the whole state, as Qt's engine does.
        if (m_afterFirstUpdate) m_out += "</g>\n\n";
        m_out += "<g ";
        AppendBrush(state.brush());
        m_pen = state.pen();
        AppendPen(m_pen);
        const QTransform t = state.transform();
        m_out += "transform=\"matrix(";
        const double m[6] = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()};
        for (int i = 0; i < 6; ++i) {
            if (i) m_out += ',';
            AppendNumber(m_out, m[i]);
        }
        m_out += ")\"\n";
        AppendFont(state.font());
        m_out += ">\n";
        m_afterFirstUpdate = true;
        HandIfFull();
    }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (mode == PolylineMode) {
            m_out += "<polyline fill=\"none\" vector-effect=\"";
            m_out += m_pen.isCosmetic() ? "non-scaling-stroke" : "none";
            m_out += "\" points=\"";
        } else {
            m_out += "<polygon fill-rule=\"";
            m_out += mode == OddEvenMode ? "evenodd" : "nonzero";
            m_out += "\" vector-effect=\"";
            m_out += m_pen.isCosmetic() ? "non-scaling-stroke" : "none";
            m_out += "\" points=\"";
        }
        for (int i = 0; i < count; ++i) {
            AppendNumber(m_out, points[i].x());
            m_out += ',';
            AppendNumber(m_out, points[i].y());
            m_out += ' ';
        }
        m_out += "\" />\n";
        HandIfFull();
    }

    void drawEllipse(const QRectF& r) override {
        const bool circle = r.width() == r.height();
        m_out += circle ? "<circle" : "<ellipse";
        if (m_pen.isCosmetic()) m_out += " vector-effect=\"non-scaling-stroke\"";
        const QPointF c = r.center();
        m_out += " cx=\"";
        AppendNumber(m_out, c.x());
        m_out += "\" cy=\"";
        AppendNumber(m_out, c.y());
        if (circle) {
            m_out += "\" r=\"";
            AppendNumber(m_out, r.width() / 2);
        } else {
            m_out += "\" rx=\"";
            AppendNumber(m_out, r.width() / 2);
            m_out += "\" ry=\"";
            AppendNumber(m_out, r.height() / 2);
        }
        m_out += "\"/>\n";
        HandIfFull();
    }

    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i) {
            const QRectF& r = rects[i];
            m_out += "<rect";
            if (m_pen.isCosmetic()) m_out += " vector-effect=\"non-scaling-stroke\"";
            const double v[4] = {r.x(), r.y(), r.width(), r.height()};
            const char* names[4] = {" x=\"", "\" y=\"", "\" width=\"", "\" height=\""};
            for (int k = 0; k < 4; ++k) {
                m_out += names[k];
                AppendNumber(m_out, v[k]);
            }
            m_out += "\"/>\n";
        }
        HandIfFull();
    }

    void drawPath(const QPainterPath& p) override {
        m_out += "<path vector-effect=\"";
        m_out += m_pen.isCosmetic() ? "non-scaling-stroke" : "none";
        m_out += "\" fill-rule=\"";
        m_out += p.fillRule() == Qt::OddEvenFill ? "evenodd" : "nonzero";
        m_out += "\" d=\"";
        for (int i = 0; i < p.elementCount(); ++i) {
            const QPainterPath::Element& e = p.elementAt(i);
            switch (e.type) {
                case QPainterPath::MoveToElement:
                    m_out += 'M';
                    break;
                case QPainterPath::LineToElement:
                    m_out += 'L';
                    break;
                case QPainterPath::CurveToElement:
                    m_out += 'C';
                    break;
                case QPainterPath::CurveToDataElement:
                    break;
            }
            AppendNumber(m_out, e.x);
            m_out += ',';
            AppendNumber(m_out, e.y);
            if (i != p.elementCount() - 1) m_out += ' ';
        }
        m_out += "\"/>\n";
        HandIfFull();
    }

    void drawTextItem(const QPointF& pt, const QTextItem& item) override {
        if (m_pen.style() == Qt::NoPen) return;
        m_out += "<text fill=\"" + ColorName(m_pen.color()) + "\" fill-opacity=\"";
        AppendOpacity(m_out, m_pen.color());
        m_out += "\" stroke=\"none\" xml:space=\"preserve\" x=\"";
        AppendNumber(m_out, pt.x());
        m_out += "\" y=\"";
        AppendNumber(m_out, pt.y());
        m_out += "\" ";
        AppendFont(item.font());
        m_out += " >" + Escaped(item.text()) + "</text>\n";
        HandIfFull();
    }

    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}

    QSize m_size;

  private:
    // The document's start as Qt's generator writes it for the same size and resolution, with
    // the title put in escaped.
    std::string Header() const {
        static const char kMark[] = "@KORVANE-TITLE@";
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(m_size);
        svg.setViewBox(QRect(QPoint(0, 0), m_size));
        svg.setResolution(kResolution);
        svg.setTitle(QString::fromLatin1(kMark));
        { QPainter painter(&svg); }
        std::string text = bytes.toStdString();
        // An empty painting is the header and the closing of the outer group.
        const std::string closing = "</g>\n</svg>\n";
        if (text.size() >= closing.size() &&
            text.compare(text.size() - closing.size(), closing.size(), closing) == 0) {
            text.resize(text.size() - closing.size());
        }
        const std::size_t at = text.find(kMark);
        if (at != std::string::npos) text.replace(at, sizeof kMark - 1, Escaped(m_title));
        return text;
    }

    void AppendBrush(const QBrush& brush) {
        if (brush.style() == Qt::SolidPattern) {
            m_out += "fill=\"" + ColorName(brush.color()) + "\" fill-opacity=\"";
            AppendOpacity(m_out, brush.color());
            m_out += "\" ";
        } else {
            // The drawing uses no gradients or patterns: anything else fills nothing.
            m_out += "fill=\"none\" ";
        }
    }

    void AppendPen(const QPen& pen) {
        if (pen.style() == Qt::NoPen) {
            m_out += "stroke=\"none\" ";
            return;
        }
        m_out += "stroke=\"" + ColorName(pen.color()) + "\" stroke-opacity=\"";
        AppendOpacity(m_out, pen.color());
        m_out += "\" ";
        m_out += "stroke-width=\"";
        AppendNumber(m_out, pen.widthF() == 0 ? 1 : pen.widthF());
        m_out += "\" ";
        switch (pen.capStyle()) {
            case Qt::FlatCap:
                m_out += "stroke-linecap=\"butt\" ";
                break;
            case Qt::SquareCap:
                m_out += "stroke-linecap=\"square\" ";
                break;
            default:
                m_out += "stroke-linecap=\"round\" ";
                break;
        }
        switch (pen.joinStyle()) {
            case Qt::MiterJoin:
            case Qt::SvgMiterJoin:
                m_out += "stroke-linejoin=\"miter\" stroke-miterlimit=\"";
                AppendNumber(m_out, pen.miterLimit());
                m_out += "\" ";
                break;
            case Qt::BevelJoin:
                m_out += "stroke-linejoin=\"bevel\" ";
                break;
            default:
                m_out += "stroke-linejoin=\"round\" ";
                break;
        }
    }

    void AppendFont(const QFont& font) {
        m_out += "font-family=\"" + Escaped(font.family()) + "\" font-size=\"";
        if (font.pixelSize() != -1) {
            AppendNumber(m_out, font.pixelSize());
        } else {
            AppendNumber(m_out, font.pointSizeF() * kResolution / 72);
        }
        m_out += "\" font-weight=\"";
        AppendNumber(m_out, font.weight());
        m_out += "\" font-style=\"";
        m_out += font.style() == QFont::StyleNormal ? "normal" : "italic";
        m_out += "\" \n";
    }

    void HandIfFull() {
        if (m_out.size() >= 64 * 1024) Hand();
    }
    void Hand() {
        m_sink(m_out);
        m_out.clear();
    }

    QString m_title;
    SvgStream::Sink m_sink;
    std::string m_out;
    QPen m_pen;
    bool m_afterFirstUpdate = false;
};

SvgStream::SvgStream(QSize size, const QString& title, Sink sink)
    : m_size(size), m_engine(std::make_unique<SvgStreamEngine>(size, title, std::move(sink))) {}

SvgStream::~SvgStream() = default;

QPaintEngine* SvgStream::paintEngine() const {
    return m_engine.get();
}

int SvgStream::metric(PaintDeviceMetric metric) const {
    switch (metric) {
        case PdmDepth:
            return 32;
        case PdmWidth:
            return m_size.width();
        case PdmHeight:
            return m_size.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return kResolution;
        case PdmWidthMM:
            return qRound(m_size.width() * 25.4 / kResolution);
        case PdmHeightMM:
            return qRound(m_size.height() * 25.4 / kResolution);
        case PdmNumColors:
            return 0xffffffff;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(1 * QPaintDevice::devicePixelRatioFScale());
        default:
            return 0;
    }
}
