#include "app/dialogs/COptionsDlg.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/dialogs/FieldText.h"
#include "widgets/DialogParts.h"

COptionsDlg::COptionsDlg(Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_prompts(prompts), m_edit(NamedEdit(QString(), this)) {
    setWindowTitle(QStringLiteral("Options"));
    m_edit->setMaxLength(10);
    m_edit->setFixedWidth(m_edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));

    auto* row = new QHBoxLayout;
    row->addWidget(BuddyLabel(QStringLiteral("Zoom / Pan increment factor"), m_edit, this));
    row->addWidget(m_edit);
    row->addWidget(new QLabel(QStringLiteral("%"), this));
    row->addStretch();

    QDialogButtonBox* buttons = OkCancelButtons(this, Qt::Horizontal);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void COptionsDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        m_edit->setText(QString::number(m_increment));
        FocusField(m_edit);
    }
    QDialog::showEvent(event);
}

void COptionsDlg::accept() {
    unsigned value = 0;
    switch (CheckIncrement(m_edit->text().toStdString(), value)) {
        case IncrementCheck::Ok:
            m_increment = value;
            QDialog::accept();
            return;
        case IncrementCheck::NotUnsigned:
            m_prompts.Warning(QStringLiteral("Please enter a positive integer."));
            break;
        case IncrementCheck::OutOfRange:
            m_prompts.Warning(QStringLiteral("Please enter an integer between %1 and %2.")
                                  .arg(kMinIncrement)
                                  .arg(kMaxIncrement));
            break;
    }
    FocusField(m_edit);
}
