#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

// Small pieces every dialog here builds its controls from, so that each field and button
// carries the accessible name a screen reader or a test looks it up by.

inline QLineEdit* NamedEdit(const QString& accessibleName, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setAccessibleName(accessibleName);
    return edit;
}

inline QPushButton* NamedButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    button->setAutoDefault(false);
    return button;
}

// OK (the default button) and Cancel, accepting and rejecting dialog.
inline QDialogButtonBox* OkCancelButtons(QDialog* dialog, Qt::Orientation orientation) {
    auto* buttons = new QDialogButtonBox(orientation, dialog);
    QPushButton* ok = NamedButton(QStringLiteral("OK"), dialog);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(NamedButton(QStringLiteral("Cancel"), dialog), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

// A label that names field (its buddy), so the field's accessible name is the label's text.
inline QLabel* BuddyLabel(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    field->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

// Checks the button of group whose id is id; an id the group does not have checks none.
inline void CheckById(QButtonGroup* group, int id) {
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(group->id(b) == id);
    group->setExclusive(true);
}

// Puts the focus on a field the user has to correct, with its text selected.
inline void FocusField(QWidget* field) {
    field->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
}

// The program's icon; the application's window icon until the resources provide their own.
inline QIcon ProgramIcon() {
    const QString own = QStringLiteral(":/icons/korvane.svg");
    return QFile::exists(own) ? QIcon(own) : QApplication::windowIcon();
}
