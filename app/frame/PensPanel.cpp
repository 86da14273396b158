#include "app/frame/PensPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/document/OpenDrawing.h"

namespace {
constexpr int kSwatchSize = 12;

QColor ToQColor(std::uint32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
}  // namespace

PensPanel::PensPanel(QWidget* parent) : QDockWidget(QStringLiteral("Pens"), parent) {
    setObjectName(QStringLiteral("Pens"));
    setAccessibleName(QStringLiteral("Pens"));
    auto* body = new QWidget(this);
    auto* grid = new QGridLayout;
    int column = 0;
    for (const char* heading : {"Pen", "Colours", "Layer", "Marks"}) {
        grid->addWidget(new QLabel(QLatin1String(heading), body), 0, column++);
    }
    for (int pen = 1; pen <= kDxfPens; ++pen) {
        Entry& e = m_entries[pen - 1];
        e.shown = new QCheckBox(QStringLiteral("Pen %1").arg(pen), body);
        e.shown->setChecked(true);
        connect(e.shown, &QCheckBox::toggled, this, [this, pen](bool shown) {
            if (m_document) m_document->SetPenHidden(pen, !shown);
        });
        e.swatches = new QHBoxLayout;
        e.swatches->setSpacing(2);
        e.layer = new QLabel(body);
        e.marks = new QLabel(body);
        e.marks->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(e.shown, pen, 0);
        grid->addLayout(e.swatches, pen, 1);
        grid->addWidget(e.layer, pen, 2);
        grid->addWidget(e.marks, pen, 3);
    }
    grid->setColumnStretch(1, 1);
    auto* page = new QVBoxLayout(body);
    page->addLayout(grid);
    page->addStretch(1);
    setWidget(body);
    Refresh();
}

void PensPanel::SetDocument(OpenDrawing* document) {
    if (document == m_document) return;
    disconnect(m_pensChanged);
    disconnect(m_settingsChanged);
    m_document = document;
    if (document) {
        m_pensChanged = connect(document, &OpenDrawing::pensChanged, this, &PensPanel::Refresh);
        // An export or Georeference may have given the pens other layers.
        m_settingsChanged =
            connect(document, &OpenDrawing::exportSettingsChanged, this, &PensPanel::Refresh);
    }
    Refresh();
}

void PensPanel::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    Refresh();
}

void PensPanel::Refresh() {
    // The scan of a large drawing waits until the panel is looked at.
    const bool live = m_document && isVisible();
    for (int pen = 1; pen <= kDxfPens; ++pen) {
        Entry& e = m_entries[pen - 1];
        const QString name = QStringLiteral("Pen %1").arg(pen);
        e.shown->setEnabled(live);
        if (!live) {
            ShowSwatches(pen, {}, false);
            e.layer->clear();
            e.marks->clear();
            e.shown->setAccessibleName(name);
            continue;
        }
        const PenUse& use = m_document->PenUses().pens[pen - 1];
        const bool shown = !m_document->HiddenPens()[pen - 1];
        const QString layer = QString::fromStdString(m_document->PenLayer(pen));
        const QString marks = QString::number(use.marks);
        {
            const QSignalBlocker quiet(e.shown);  // showing the state is not changing it
            e.shown->setChecked(shown);
        }
        ShowSwatches(pen, use.colors, use.moreColors);
        e.layer->setText(layer);
        e.layer->setAccessibleName(name + QStringLiteral(" layer: ") + layer);
        e.marks->setText(marks);
        e.marks->setAccessibleName(name + QStringLiteral(" marks: ") + marks);
        e.shown->setAccessibleName(
            QStringLiteral("%1, layer %2, %3 marks, %4")
                .arg(name, layer, marks,
                     shown ? QStringLiteral("shown") : QStringLiteral("hidden")));
    }
}

void PensPanel::ShowSwatches(int pen, const std::vector<std::uint32_t>& colors, bool more) {
    QHBoxLayout* row = m_entries[pen - 1].swatches;
    while (QLayoutItem* item = row->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (std::uint32_t c : colors) {
        QPixmap square(kSwatchSize, kSwatchSize);
        square.fill(ToQColor(c));
        auto* swatch = new QLabel(widget());
        swatch->setPixmap(square);
        const QString name = ToQColor(c).name();
        swatch->setAccessibleName(QStringLiteral("Pen %1 colour %2").arg(pen).arg(name));
        swatch->setToolTip(name);
        row->addWidget(swatch);
    }
    if (more) {
        auto* rest = new QLabel(QStringLiteral("+"), widget());
        rest->setAccessibleName(QStringLiteral("Pen %1 more colours").arg(pen));
        rest->setToolTip(QStringLiteral("More colours"));
        row->addWidget(rest);
    }
    row->addStretch(1);
}
