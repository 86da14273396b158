#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

// Finds a dialog's control by its accessible name, as a screen reader would.
template <class W>
W* Named(QWidget& dialog, const QString& name) {
    for (W* w : dialog.findChildren<W*>()) {
        if (w->accessibleName() == name) return w;
    }
    return nullptr;
}

inline void Click(QWidget& dialog, const QString& button) {
    QAbstractButton* b = Named<QAbstractButton>(dialog, button);
    if (b) QTest::mouseClick(b, Qt::LeftButton);
}

// Replaces a field's text as a user does: select everything, then type.
inline void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}
