#include "fontdlg/FontList.h"

#include <algorithm>

QStringList SortedFaces(QStringList faces) {
    std::stable_sort(faces.begin(), faces.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return faces;
}

int FindFacePrefix(const QStringList& sortedFaces, const QString& face) {
    if (sortedFaces.isEmpty()) return -1;
    for (int i = 0; i < sortedFaces.size(); ++i) {
        if (sortedFaces[i].startsWith(face, Qt::CaseInsensitive)) return i;
    }
    return 0;
}

const QStringList& LineWidthItems() {
    static const QStringList items = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                      QStringLiteral("4"), QStringLiteral("5")};
    return items;
}

int ChosenLineWidth(const QString& text, int current) {
    const int index = LineWidthItems().indexOf(text.trimmed());
    return index >= 0 ? index : current;
}
