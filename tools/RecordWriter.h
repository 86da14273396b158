#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "plot/Archive.h"
#include "plot/Prim.h"

// Appends plot records through the primitives' own Write, so the bytes are exactly what the
// document saves. Stops silently after `limit` records, which lets a generator cut a file at an
// exact record count.
class RecordWriter {
  public:
    RecordWriter(Archive& archive, std::uint64_t limit) : m_archive(archive), m_limit(limit) {}

    bool Full() const { return m_count >= m_limit; }
    std::uint64_t Count() const { return m_count; }

    void Init() { Put<Pinit>(PrimCode::kPinit, I16(0), I16(0)); }
    void Pen(int pen) { Put<Couleur>(PrimCode::kCouleur, I16(pen)); }
    void Rgb(int r, int g, int b) { Put<NewColor>(PrimCode::kNewColor, I16(r), I16(g), I16(b)); }
    void Extent(double x, double y) { Put<Etendue>(PrimCode::kEtendue, F(x), F(y)); }
    void Position(double x, double y, double z) {
        Put<Posicourante>(PrimCode::kPosicourante, F(x), F(y), F(z));
    }
    void Scale(double factor) { Put<Facteur>(PrimCode::kFacteur, F(factor)); }
    void Move(double x, double y) { Put<Ligne>(PrimCode::kLigne, F(x), F(y), I16(3)); }
    void Draw(double x, double y) { Put<Ligne>(PrimCode::kLigne, F(x), F(y), I16(2)); }
    void ShiftOrigin(double x, double y) { Put<Ligne>(PrimCode::kLigne, F(x), F(y), I16(-3)); }
    void Circle(double x, double y, double r) { Put<Cercle>(PrimCode::kCercle, F(x), F(y), F(r)); }
    void Number(double x, double y, double h, double angle, int decimals, double value) {
        Put<Nombre>(PrimCode::kNombre, F(x), F(y), F(h), F(angle), I16(decimals),
                    static_cast<float>(value));
    }
    void Marker(double x, double y, double h, double angle, int penAction, int symbol) {
        Put<Symspecial>(PrimCode::kSymspecial, F(x), F(y), F(h), F(angle), I16(penAction),
                        I16(symbol));
    }
    void Text(double x, double y, double h, double angle, const std::string& text) {
        // The record's constructor writes a terminator into the buffer it is given.
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        Put<Symbole>(PrimCode::kSymbole, F(x), F(y), F(h), F(angle),
                     I16(static_cast<int>(text.size())), buffer.data());
    }

  private:
    template <class P, class... Args>
    void Put(Args... args) {
        if (Full()) return;
        const P prim(args...);
        prim.Write(m_archive);
        ++m_count;
    }
    // Plotter output is quantised; a thousandth of an inch keeps dumps readable.
    static float F(double v) { return static_cast<float>(std::round(v * 1000.0) / 1000.0); }
    static std::int16_t I16(int v) { return static_cast<std::int16_t>(v); }

    Archive& m_archive;
    std::uint64_t m_limit;
    std::uint64_t m_count = 0;
};

// A small, fixed pseudo-random sequence (splitmix64), so the samples are the same on every
// machine and standard library.
class Rng {
  public:
    explicit Rng(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform(double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
    }
    int Int(int lo, int hi) {
        return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
    }
    bool Chance(double p) { return Uniform(0.0, 1.0) < p; }

  private:
    std::uint64_t m_state;
};
