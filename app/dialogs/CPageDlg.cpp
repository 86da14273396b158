#include "app/dialogs/CPageDlg.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "widgets/DialogParts.h"

CPageDlg::CPageDlg(QWidget* parent) : QDialog(parent), m_mode(new QButtonGroup(this)) {
    setWindowTitle(QStringLiteral("Page Setup"));

    auto* choices = new QVBoxLayout;
    const QString texts[2] = {QStringLiteral("Print at 1:1 scale"), QStringLiteral("Fit to page")};
    for (int id = 0; id < 2; ++id) {
        auto* radio = new QRadioButton(texts[id], this);
        radio->setAccessibleName(texts[id]);
        m_mode->addButton(radio, id);
        choices->addWidget(radio);
    }
    choices->addStretch();

    QDialogButtonBox* buttons = OkCancelButtons(this, Qt::Vertical);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(choices);
    layout->addSpacing(24);
    layout->addWidget(buttons, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CPageDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) CheckById(m_mode, m_printMode);
    QDialog::showEvent(event);
}

void CPageDlg::accept() {
    m_printMode = m_mode->checkedId();
    QDialog::accept();
}
