#pragma once

#include <cstdint>
#include <cstring>
#include <string>

// Builds plot-file bytes record by record, little-endian, for tests.
class PlotBytes {
  public:
    PlotBytes& I16(std::int16_t v) {
        std::uint16_t u = static_cast<std::uint16_t>(v);
        m_bytes += static_cast<char>(u & 0xFF);
        m_bytes += static_cast<char>(u >> 8);
        return *this;
    }
    PlotBytes& F32(float f) {
        std::uint32_t u;
        std::memcpy(&u, &f, 4);
        for (int i = 0; i < 4; ++i) m_bytes += static_cast<char>((u >> (8 * i)) & 0xFF);
        return *this;
    }
    PlotBytes& Raw(const std::string& bytes) {
        m_bytes += bytes;
        return *this;
    }
    PlotBytes& Ligne(float x, float y, std::int16_t pen) { return I16(-4).F32(x).F32(y).I16(pen); }
    PlotBytes& Couleur(std::int16_t pen) { return I16(-2).I16(pen); }
    PlotBytes& Pinit() { return I16(-1).I16(0).I16(0); }
    PlotBytes& Etendue(float x, float y) { return I16(-3).F32(x).F32(y); }
    PlotBytes& Posicourante(float x, float y, float z) { return I16(-5).F32(x).F32(y).F32(z); }
    PlotBytes& Facteur(float factor) { return I16(-6).F32(factor); }
    PlotBytes& Nombre(float x, float y, float h, float a, std::int16_t decimals, float value) {
        return I16(-8).F32(x).F32(y).F32(h).F32(a).I16(decimals).F32(value);
    }
    PlotBytes& Symspecial(float x, float y, float h, float a, std::int16_t pen, std::int16_t sym) {
        return I16(-10).F32(x).F32(y).F32(h).F32(a).I16(pen).I16(sym);
    }
    PlotBytes& Cercle(float x, float y, float r) { return I16(-12).F32(x).F32(y).F32(r); }
    PlotBytes& NewColor(std::int16_t r, std::int16_t g, std::int16_t b) {
        return I16(-15).I16(r).I16(g).I16(b);
    }
    PlotBytes& Symbole(float x, float y, float h, float a, const std::string& text,
                       char pad = ' ') {
        I16(-9).F32(x).F32(y).F32(h).F32(a).I16(static_cast<std::int16_t>(text.size()));
        m_bytes += text;
        if (text.size() % 2) m_bytes += pad;
        return *this;
    }
    const std::string& str() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }

  private:
    std::string m_bytes;
};
