#include "fontdlg/CFasterFontDlg.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "fontdlg/CFontPreviewCombo.h"
#include "fontdlg/FontList.h"
#include "widgets/DialogParts.h"

namespace {
constexpr int kPreviewHeight = 20;
}

CFasterFontDlg::CFasterFontDlg(const QString& face, int lineWidth, QWidget* parent)
    : QDialog(parent),
      m_fontName(face),
      m_lineIndex(lineWidth),
      m_lineCombo(new QComboBox(this)),
      m_fontCombo(new CFontPreviewCombo(this)) {
    setWindowTitle(QStringLiteral("Font and Line"));
    setWindowIcon(ProgramIcon());

    m_fontCombo->SetFontHeight(kPreviewHeight, true);
    m_fontCombo->setMinimumHeight(m_fontCombo->ItemHeight() + 6);
    m_fontCombo->setMinimumWidth(320);
    QStringList faces;
    for (int i = 0; i < m_fontCombo->count(); ++i) faces << m_fontCombo->itemText(i);
    m_openedOn = FindFacePrefix(faces, m_fontName);
    m_fontCombo->setCurrentIndex(m_openedOn);

    m_lineCombo->setEditable(true);
    m_lineCombo->setInsertPolicy(QComboBox::NoInsert);
    m_lineCombo->addItems(LineWidthItems());
    m_lineCombo->setMinimumWidth(
        m_lineCombo->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 40);
    m_lineCombo->setCurrentIndex(lineWidth >= 0 && lineWidth < m_lineCombo->count() ? lineWidth
                                                                                    : -1);

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(QStringLiteral("&Font:"), m_fontCombo, this), 0, 0);
    grid->addWidget(m_fontCombo, 0, 1);
    grid->addWidget(BuddyLabel(QStringLiteral("&Line width:"), m_lineCombo, this), 1, 0);
    grid->addWidget(m_lineCombo, 1, 1, Qt::AlignLeft);
    // The focus sits in the width's edit field: it reads as the list does.
    m_lineCombo->lineEdit()->setAccessibleName(m_lineCombo->accessibleName());

    QDialogButtonBox* buttons = OkCancelButtons(this, Qt::Vertical);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CFasterFontDlg::accept() {
    m_lineIndex = ChosenLineWidth(m_lineCombo->currentText(), m_lineIndex);
    // The face shown at opening may only begin with the view's face (or stand in for one no
    // longer installed): unless the user chose another, the view keeps its own.
    const int chosen = m_fontCombo->currentIndex();
    if (chosen != m_openedOn) m_fontName = chosen >= 0 ? m_fontCombo->currentText() : QString();
    QDialog::accept();
}
