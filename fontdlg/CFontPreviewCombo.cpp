#include "fontdlg/CFontPreviewCombo.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QPainter>
#include <QScrollBar>
#include <QStylePainter>
#include <QStyledItemDelegate>

#include "fontdlg/FontList.h"

namespace {
using M = PreviewMetrics;

// Two overlapping letters T, grey behind black, 15 by 13 pixels.
QPixmap MakeOutlineMark() {
    QPixmap mark(M::kMarkWidth, 13);
    mark.fill(Qt::transparent);
    QPainter p(&mark);
    auto letter = [&p](int x, int y, const QColor& colour) {
        p.fillRect(x, y, 8, 2, colour);
        p.fillRect(x + 3, y, 2, 9, colour);
    };
    letter(1, 1, QColor(128, 128, 128));
    letter(6, 4, Qt::black);
    return mark;
}

class FontItemDelegate : public QStyledItemDelegate {
  public:
    explicit FontItemDelegate(CFontPreviewCombo& combo)
        : QStyledItemDelegate(&combo), m_combo(combo) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        DrawFontItem(*painter, m_combo, option.rect, index.data().toString(),
                     index.data(CFontPreviewCombo::kScalableRole).toBool(), selected, false,
                     option.palette);
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            m_combo.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {M::kMarkWidth + m_combo.NameWidth() + m_combo.SampleWidth() + 2 * M::kGap,
                m_combo.ItemHeight()};
    }

  private:
    CFontPreviewCombo& m_combo;
};
}  // namespace

void DrawFontItem(QPainter& painter, const CFontPreviewCombo& combo, const QRect& rect,
                  const QString& face, bool scalable, bool selected, bool closedField,
                  const QPalette& palette) {
    painter.save();
    const QColor text =
        selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text);
    const QColor sample = selected ? text : combo.SampleColour();
    if (selected) painter.fillRect(rect, palette.color(QPalette::Highlight));

    QRect r = rect;
    if (scalable) painter.drawPixmap(r.left() + 5, r.top() + 4, combo.OutlineMark());
    r.setLeft(r.left() + M::kMarkWidth);

    painter.setFont(combo.font());
    painter.setPen(text);
    const QFontMetrics nameMetrics(combo.font());
    const int nameHeight = nameMetrics.height();
    painter.drawText(
        QRect(r.left() + M::kGap, r.top() + (r.height() - nameHeight) / 2, r.width(), nameHeight),
        Qt::AlignLeft | Qt::AlignVCenter, face);
    const int nameColumn = closedField ? nameMetrics.horizontalAdvance(face) : combo.NameWidth();

    // A face without a preview font shows its sample in the list's own font.
    if (const QFont* preview = combo.PreviewFont(face)) painter.setFont(*preview);
    const int sampleHeight = painter.fontMetrics().height();
    painter.setPen(sample);
    painter.drawText(QRect(r.left() + M::kGap + nameColumn + M::kGap,
                           r.top() + (r.height() - sampleHeight) / 2, r.width(), sampleHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, combo.Sample());
    painter.restore();
}

CFontPreviewCombo::CFontPreviewCombo(QWidget* parent)
    : QComboBox(parent),
      m_sampleColour(palette().color(QPalette::Text)),
      m_outlineMark(MakeOutlineMark()) {
    setItemDelegate(new FontItemDelegate(*this));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CFontPreviewCombo::SetFontHeight(int height, bool refill) {
    if (height == m_fontHeight) return;
    m_fontHeight = height;
    if (refill) FillFontList();
}

void CFontPreviewCombo::FillFontList() {
    clear();
    m_fontCache.clear();
    QStringList faces;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family) && family != kStrokeFace) faces << family;
    }
    // The stroke font has no device font to preview it; its sample shows in the list's font.
    addItem(kStrokeFace);
    setItemData(0, false, kScalableRole);
    MeasureItem(kStrokeFace);
    for (const QString& face : SortedFaces(faces)) {
        addItem(face);
        setItemData(count() - 1, QFontDatabase::isSmoothlyScalable(face), kScalableRole);
        AddPreviewFont(face);
        MeasureItem(face);
    }
    setCurrentIndex(count() > 0 ? 0 : -1);
}

void CFontPreviewCombo::AddPreviewFont(const QString& face) {
    QFont font(face);
    font.setPixelSize(m_fontHeight);
    font.setWeight(QFont::Normal);
    font.setStyle(QFont::StyleNormal);
    m_fontCache.insert(face, font);
}

void CFontPreviewCombo::MeasureItem(const QString& face) {
    m_nameWidth = std::max(m_nameWidth, fontMetrics().horizontalAdvance(face));
    const QFontMetrics sample(m_fontCache.value(face, font()));
    m_sampleWidth = std::max(m_sampleWidth, sample.horizontalAdvance(m_sample));
}

const QFont* CFontPreviewCombo::PreviewFont(const QString& face) const {
    const auto found = m_fontCache.constFind(face);
    return found == m_fontCache.constEnd() ? nullptr : &found.value();
}

void CFontPreviewCombo::showPopup() {
    view()->setMinimumWidth(M::DropDownWidth(view()->verticalScrollBar()->sizeHint().width(),
                                             m_nameWidth, m_sampleWidth));
    QComboBox::showPopup();
}

void CFontPreviewCombo::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0) return;
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    painter.setClipRect(field);
    DrawFontItem(painter, *this, field, currentText(), currentData(kScalableRole).toBool(), false,
                 true, palette());
}
