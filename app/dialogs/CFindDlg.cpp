#include "app/dialogs/CFindDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "widgets/DialogParts.h"

CFindDlg::CFindDlg(QWidget* parent)
    : QDialog(parent), m_text(NamedEdit(QString(), this)), m_matchCase(new QCheckBox(this)) {
    setWindowTitle(QStringLiteral("Find Text"));
    setModal(false);
    m_matchCase->setText(QStringLiteral("Match &case"));
    m_matchCase->setAccessibleName(QStringLiteral("Match case"));
    QPushButton* next = NamedButton(QStringLiteral("Find &Next"), this);
    next->setDefault(true);
    QPushButton* previous = NamedButton(QStringLiteral("Find &Previous"), this);
    QPushButton* close = NamedButton(QStringLiteral("Close"), this);
    connect(next, &QPushButton::clicked, this, [this] {
        if (onFind) onFind(true);
    });
    connect(previous, &QPushButton::clicked, this, [this] {
        if (onFind) onFind(false);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    // Nothing to find, nothing to press.
    auto enable = [next, previous](const QString& text) {
        next->setEnabled(!text.isEmpty());
        previous->setEnabled(!text.isEmpty());
    };
    connect(m_text, &QLineEdit::textChanged, this, enable);
    enable(QString());

    auto* grid = new QGridLayout;
    grid->addWidget(BuddyLabel(QStringLiteral("Find &what:"), m_text, this), 0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(m_matchCase, 1, 1);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(next);
    buttons->addWidget(previous);
    buttons->addWidget(close);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
}

QString CFindDlg::Text() const {
    return m_text->text();
}

bool CFindDlg::MatchCase() const {
    return m_matchCase->isChecked();
}

void CFindDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) FocusField(m_text);
    QDialog::showEvent(event);
}
