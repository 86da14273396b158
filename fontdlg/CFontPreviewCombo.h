#pragma once

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <QHash>
#include <QPixmap>

// A drop-down list of the installed font families: each item shows the family's name and a
// sample drawn in it, with a mark for scalable outline fonts. The dropped list widens to fit
// the widest name and sample side by side.
class CFontPreviewCombo : public QComboBox {
  public:
    explicit CFontPreviewCombo(QWidget* parent = nullptr);

    // Sets the preview fonts' pixel height; refills the list when it changed and refill is set.
    void SetFontHeight(int height, bool refill);
    void FillFontList();

    // What an item draws and how large, for the list's painting.
    static constexpr int kScalableRole = Qt::UserRole;
    const QFont* PreviewFont(const QString& face) const;
    int ItemHeight() const { return m_fontHeight + 4; }
    int NameWidth() const { return m_nameWidth; }
    int SampleWidth() const { return m_sampleWidth; }
    const QString& Sample() const { return m_sample; }
    const QColor& SampleColour() const { return m_sampleColour; }
    const QPixmap& OutlineMark() const { return m_outlineMark; }

    void showPopup() override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void AddPreviewFont(const QString& face);
    void MeasureItem(const QString& face);

    QString m_sample = QStringLiteral("abcdeABCDE");
    QColor m_sampleColour;
    QPixmap m_outlineMark;
    QHash<QString, QFont> m_fontCache;
    int m_fontHeight = 16;
    int m_nameWidth = 0;
    int m_sampleWidth = 0;
};

// Draws one item of the list (or, with closedField, the closed list's own field, whose name
// column is only as wide as its name) into rect.
void DrawFontItem(QPainter& painter, const CFontPreviewCombo& combo, const QRect& rect,
                  const QString& face, bool scalable, bool selected, bool closedField,
                  const QPalette& palette);
