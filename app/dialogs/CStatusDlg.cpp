#include "app/dialogs/CStatusDlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "plot/NumberText.h"
#include "widgets/DialogParts.h"

namespace {
// "%.2f", whatever the locale.
QString Inches(double value) {
    char text[kMaxFixed];
    return QString::fromLatin1(text, static_cast<int>(FormatFixed(text, value, 0, 2) - text));
}

// A screen reader hears the caption with the figure: "Drawing size X: 32.25".
QLabel* Figure(const QString& text, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAccessibleName(caption + QStringLiteral(": ") + text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}
}  // namespace

CStatusDlg::CStatusDlg(float maxX, float maxY, int resolution, int drawnCount, QWidget* parent)
    : QDialog(parent),
      m_count(QString::number(drawnCount)),
      m_sizeX(Inches(static_cast<double>(maxX) / resolution)),
      m_sizeY(Inches(static_cast<double>(maxY) / resolution)) {
    setWindowTitle(QStringLiteral("Drawing Status"));

    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));

    auto* figures = new QGridLayout;
    figures->addWidget(new QLabel(QStringLiteral("Drawing size X inches by Y inches:"), this), 0,
                       0);
    figures->addWidget(Figure(m_sizeX, QStringLiteral("Drawing size X"), this), 0, 1);
    figures->addWidget(new QLabel(QStringLiteral("x"), this), 0, 2, Qt::AlignCenter);
    figures->addWidget(Figure(m_sizeY, QStringLiteral("Drawing size Y"), this), 0, 3);
    figures->addWidget(new QLabel(QStringLiteral("Number of drawing primitives:"), this), 1, 0);
    figures->addWidget(Figure(m_count, QStringLiteral("Number of drawing primitives"), this), 1, 1,
                       1, 3);
    figures->setHorizontalSpacing(10);

    QPushButton* ok = NamedButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addSpacing(8);
    layout->addLayout(figures);
    layout->addSpacing(16);
    layout->addWidget(ok, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
