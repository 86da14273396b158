#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/Prompts.h"

// Stand-in until the dialogs branch lands its COptionsDlg.
class COptionsDlg : public QDialog {
  public:
    explicit COptionsDlg(Prompts& prompts, QWidget* parent = nullptr)
        : QDialog(parent), m_prompts(prompts) {
        setWindowTitle(QStringLiteral("Options"));
        auto* label = new QLabel(QStringLiteral("Zoom / Pan increment factor"), this);
        m_edit = new QLineEdit(this);
        m_edit->setAccessibleName(label->text());
        label->setBuddy(m_edit);
        auto* row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(m_edit);
        row->addWidget(new QLabel(QStringLiteral("%"), this));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(row);
        layout->addWidget(buttons);
    }
    int exec() override {
        m_edit->setText(QString::number(m_increment));
        return QDialog::exec();
    }
    void accept() override {
        bool ok = false;
        const uint value = m_edit->text().trimmed().toUInt(&ok);
        if (!ok) {
            m_prompts.Warning(QStringLiteral("Please enter a positive integer."));
        } else if (value < 1 || value > 99) {
            m_prompts.Warning(
                QStringLiteral("Please enter an integer between %1 and %2.").arg(1).arg(99));
        } else {
            m_increment = value;
            QDialog::accept();
            return;
        }
        m_edit->setFocus();
        m_edit->selectAll();
    }

    unsigned m_increment = 0;

  private:
    Prompts& m_prompts;
    QLineEdit* m_edit;
};
