// Finding text as drawn: strings and formatted numbers, case, pens, places.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "plot/PrimitiveList.h"
#include "render/TextSearch.h"

namespace {
void AddText(PrimitiveList& list, float x, float y, const char* text, float angle = 0) {
    std::string buffer(text);
    buffer.push_back('\0');
    list.Append<Symbole>(PrimCode::kSymbole, x, y, 0.1f, angle,
                         static_cast<std::int16_t>(std::strlen(text)), buffer.data());
}

// Records 1..10: a string, numbers, pens 3 and 2 (by colour), and text beyond ASCII.
void Drawing(PrimitiveList& list) {
    list.Append<Pinit>(PrimCode::kPinit, 0, 0);                         // 1
    AddText(list, 1, 1, "Lot 14");                                      // 2
    list.Append<Nombre>(PrimCode::kNombre, 2, 2, 0.1f, 0, 2, 14.5f);    // 3: "14.50"
    list.Append<Nombre>(PrimCode::kNombre, 3, 3, 0.1f, 0, -1, 214.9f);  // 4: "214"
    list.Append<Couleur>(PrimCode::kCouleur, 3);                        // 5
    AddText(list, 4, 4, "lot 7");                                       // 6
    list.Append<NewColor>(PrimCode::kNewColor, 255, 0, 0);              // 7: pen 2
    AddText(list, 5, 5, "Pr\xC9 LOT");                                  // 8
    list.Append<Nombre>(PrimCode::kNombre, 6, 6, 0.1f, 0, 40, 1.0f);    // 9: 31 drawn
    list.Append<Pinit>(PrimCode::kPinit, 0, 0);                         // 10: pen 1
}

std::vector<std::size_t> Records(const std::vector<TextMatch>& matches) {
    std::vector<std::size_t> records;
    for (const TextMatch& m : matches) records.push_back(m.record);
    return records;
}
}  // namespace

TEST(TextSearch, MatchesTextAsDrawn) {
    PrimitiveList list;
    Drawing(list);
    struct Case {
        const char* needle;
        bool matchCase;
        std::uint8_t hidden;
        std::vector<std::size_t> records;
    } cases[] = {
        {"lot", false, 0, {2, 6, 8}},
        {"lot", true, 0, {6}},
        {"Lot 14", true, 0, {2}},     // the whole text
        {"14", false, 0, {2, 3, 4}},  // a string's end, a number's start, "214"
        {"4.50", false, 0, {3}},      // decimals as drawn
        {"214.9", false, 0, {}},      // an integer drawn without its fraction
        {"pr\xE9", false, 0, {8}},    // accented capitals fold too
        {"pr\xE9", true, 0, {}},
        {"lot", false, 0x04, {2, 8}},                        // pen 3 hidden
        {"lot", false, 0x02, {2, 6}},                        // red is pen 2
        {"1.00000000000000000000000000000", false, 0, {9}},  // 31 characters drawn
        {"1.000000000000000000000000000000", false, 0, {}},  // the 32nd never is
        {"", false, 0, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Records(FindText(list, c.needle, c.matchCase, c.hidden)), c.records)
            << c.needle << " case " << c.matchCase << " hidden " << int(c.hidden);
    }
}

TEST(TextSearch, PlacesTextWithOriginAndScale) {
    PrimitiveList list;
    list.Append<Facteur>(PrimCode::kFacteur, 2.0f);
    list.Append<Ligne>(PrimCode::kLigne, 5.0f, 1.0f, -3);  // origin (10, 2)
    AddText(list, 1, 1, "AB");
    AddText(list, 999, 1, "AB", 90);  // 999 is placed as given, scale still applies to size
    // Two characters of height 0.2 (0.1 scaled twice); upright, the box stands left of the start.
    const double expected[2][6] = {{12, 4, 12, 4, 12.4, 4.2}, {999, 4, 998.8, 4, 999, 4.4}};
    const std::vector<TextMatch> m = FindText(list, "ab", false);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].text, "AB");
    for (int i = 0; i < 2; ++i) {
        const double got[] = {m[i].x, m[i].y, m[i].left, m[i].bottom, m[i].right, m[i].top};
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], expected[i][k], 1e-4) << i << ' ' << k;
    }
}
