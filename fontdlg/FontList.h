#pragma once

#include <QString>
#include <QStringList>

// The choices of the font and line dialog, apart from its widgets.

// The face name of the built-in stroke font, as the plot context and korvane-cli --face take it;
// the list offers it first, above the installed families.
inline const QString kStrokeFace = QStringLiteral("Velmaro");

// Face names in the order the list shows them: alphabetical, ignoring case.
QStringList SortedFaces(QStringList faces);
// The first face that begins with face (ignoring case), so that a name selects itself before
// any longer name it begins; 0 when none does, -1 for an empty list.
int FindFacePrefix(const QStringList& sortedFaces, const QString& face);

// Line widths offered: the item at index i draws with pen width i.
const QStringList& LineWidthItems();
// The pen width after the dialog: the item chosen, or current when the text selects none.
int ChosenLineWidth(const QString& text, int current);

// The preview list's measures, in pixels.
struct PreviewMetrics {
    static constexpr int kMarkWidth = 15;   // the outline-font mark column
    static constexpr int kGap = 10;         // between mark, name and sample
    static constexpr int kItemPadding = 4;  // item height over the preview font's height
    // The dropped list fits the widest name and sample side by side.
    static int DropDownWidth(int scrollBarWidth, int nameWidth, int sampleWidth) {
        return scrollBarWidth + kMarkWidth + nameWidth + sampleWidth + 2 * kGap;
    }
};
