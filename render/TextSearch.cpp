#include "render/TextSearch.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "plot/DxfPens.h"
#include "plot/NumberText.h"
#include "plot/Prim.h"
#include "plot/PrimitiveList.h"
#include "render/PlotContext.h"

namespace {
constexpr double kDegToRad = 0.017453293;
// The plotter's number buffer holds 31 characters; the rest is never drawn.
constexpr std::size_t kNumberDrawn = 31;

// Latin-1 letters folded to lower case: A-Z and the accented capitals but the multiplication sign.
std::array<unsigned char, 256> MakeFold() {
    std::array<unsigned char, 256> fold{};
    for (int c = 0; c < 256; ++c) {
        const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        fold[static_cast<std::size_t>(c)] = static_cast<unsigned char>(upper ? c + 32 : c);
    }
    return fold;
}
const std::array<unsigned char, 256> kFold = MakeFold();

class Searcher final : public PrimVisitor {
  public:
    Searcher(const std::string& needle, bool matchCase, std::uint8_t hiddenPens)
        : m_needle(needle), m_matchCase(matchCase), m_hidden(hiddenPens) {
        if (!matchCase) {
            for (char& c : m_needle) c = static_cast<char>(kFold[static_cast<unsigned char>(c)]);
        }
        // A number's text is digits, a sign, a point, or nan / inf: other needles skip numbers
        // without formatting them.
        m_numbersCanMatch = m_needle.find_first_not_of("-.0123456789nafiNAFI") == std::string::npos;
    }

    void Visit(const Pinit&) override {
        m_context.SetOrigin(0, 0);
        m_context.SetScale(1.0f);
        m_pen = 1;
    }
    // The DXF export's pens, so a hidden pen hides the same texts in the view and here.
    void Visit(const Couleur& p) override { m_pen = DxfPenOfNumber(p.m_pen); }
    void Visit(const NewColor& p) override { m_pen = DxfPenOfRgb(p.m_r, p.m_g, p.m_b); }
    void Visit(const Facteur& p) override { m_context.SetScale(p.m_factor); }
    void Visit(const Ligne& p) override {
        if (p.m_penCode == -3) m_context.MoveOrigin(p.m_x, p.m_y);
    }
    void Visit(const Etendue&) override {}
    void Visit(const Posicourante&) override {}
    void Visit(const Symspecial&) override {}
    void Visit(const Cercle&) override {}
    void Visit(const Symbole& p) override {
        if (Hidden()) return;
        const char* text = p.m_text.get();
        Consider(p.m_x, p.m_y, p.m_height, p.m_angle, text, std::strlen(text));
    }
    void Visit(const Nombre& p) override {
        if (Hidden() || !m_numbersCanMatch) return;
        const std::string text = FormatPlotNumber(p.m_decimals, p.m_value);
        Consider(p.m_x, p.m_y, p.m_height, p.m_angle, text.data(),
                 std::min(text.size(), kNumberDrawn));
    }

    std::vector<TextMatch> m_matches;
    std::size_t m_record = 0;

  private:
    bool Hidden() const { return (m_hidden >> (m_pen - 1)) & 1; }

    bool Holds(const char* text, std::size_t length) const {
        const std::size_t n = m_needle.size();
        if (n == 0 || n > length) return false;
        if (m_matchCase)
            return std::search(text, text + length, m_needle.begin(), m_needle.end()) !=
                   text + length;
        const auto same = [](char a, char b) {
            return kFold[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b);
        };
        return std::search(text, text + length, m_needle.begin(), m_needle.end(), same) !=
               text + length;
    }

    // Placed as the paint places text: x or y of exactly 999 as given, else origin and scale.
    void Consider(float x, float y, float height, float angle, const char* text,
                  std::size_t length) {
        if (!Holds(text, length)) return;
        TextMatch m;
        m.record = m_record;
        m.x = x == 999.0f ? x : m_context.AbsoluteX(x);
        m.y = y == 999.0f ? y : m_context.AbsoluteY(y);
        // Each character the stroke font draws advances one height; bytes beyond ASCII neither
        // draw nor advance.
        const double h = static_cast<double>(m_context.GetScale()) * height;
        const auto advancing = std::count_if(
            text, text + length, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const double w = h * static_cast<double>(advancing);
        const double c = std::cos(angle * kDegToRad), s = std::sin(angle * kDegToRad);
        const double cornersX[] = {0, w * c, -h * s, w * c - h * s};
        const double cornersY[] = {0, w * s, h * c, w * s + h * c};
        const auto [minX, maxX] = std::minmax_element(std::begin(cornersX), std::end(cornersX));
        const auto [minY, maxY] = std::minmax_element(std::begin(cornersY), std::end(cornersY));
        m.left = m.x + *minX;
        m.right = m.x + *maxX;
        m.bottom = m.y + *minY;
        m.top = m.y + *maxY;
        m.text.assign(text, length);
        m_matches.push_back(std::move(m));
    }

    std::string m_needle;
    bool m_matchCase;
    bool m_numbersCanMatch;
    std::uint8_t m_hidden;
    int m_pen = 1;
    // Only its scale and origin are used: they place text as the paint does.
    CPlotContext m_context;
};
}  // namespace

std::vector<TextMatch> FindText(const PrimitiveList& primitives, const std::string& needle,
                                bool matchCase, std::uint8_t hiddenPens) {
    if (needle.empty()) return {};
    Searcher searcher(needle, matchCase, hiddenPens);
    primitives.ForEach([&](const Prim& prim) {
        ++searcher.m_record;
        prim.Accept(searcher);
        return true;
    });
    return std::move(searcher.m_matches);
}
