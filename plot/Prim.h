#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "plot/PrimVisitor.h"

class Archive;

// One record of a plot file. Primitives never change after construction.
class Prim {
  public:
    explicit Prim(std::int16_t code) : m_code(code) {}
    virtual ~Prim() = default;
    Prim(const Prim&) = delete;
    Prim& operator=(const Prim&) = delete;

    // Calls the visitor's Visit for this record's kind.
    virtual void Accept(PrimVisitor& visitor) const = 0;
    // Appends the plot record to archive, as the file holds it.
    virtual void Write(Archive& archive) const = 0;

    std::int16_t GetCode() const { return m_code; }

  protected:
    std::int16_t m_code;
};

class Pinit : public Prim {
  public:
    Pinit(std::int16_t code, std::int16_t param1, std::int16_t param2)
        : Prim(code), m_param1(param1), m_param2(param2) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    std::int16_t m_param1;
    std::int16_t m_param2;
};

class Couleur : public Prim {
  public:
    // A pen below 1 is not stored; such a record gets pen 1 (the reader hands the last pen).
    Couleur(std::int16_t code, std::int16_t pen) : Prim(code), m_pen(pen >= 1 ? pen : 1) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    std::int16_t m_pen;
};

class Etendue : public Prim {
  public:
    Etendue(std::int16_t code, float x, float y) : Prim(code), m_x(x), m_y(y) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
};

class Ligne : public Prim {
  public:
    static constexpr std::size_t kRecordSize = 12;  // code, x, y, pen code

    Ligne(std::int16_t code, float x, float y, std::int16_t penCode)
        : Prim(code), m_x(x), m_y(y), m_penCode(penCode) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    std::int16_t m_penCode;
};

class Posicourante : public Prim {
  public:
    Posicourante(std::int16_t code, float x, float y, float z)
        : Prim(code), m_x(x), m_y(y), m_z(z) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    float m_z;
};

class Facteur : public Prim {
  public:
    Facteur(std::int16_t code, float factor) : Prim(code), m_factor(factor) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_factor;
};

class Nombre : public Prim {
  public:
    Nombre(std::int16_t code, float x, float y, float height, float angle, std::int16_t decimals,
           float value);
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    float m_height;
    float m_angle;
    std::int16_t m_decimals;
    float m_value;
};

class Symbole : public Prim {
  public:
    // text holds at least length + 1 bytes; a zero byte is written at text[length].
    Symbole(std::int16_t code, float x, float y, float height, float angle, std::int16_t length,
            char* text);
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    float m_height;
    float m_angle;
    std::int16_t m_length;
    std::unique_ptr<char[]> m_text;  // m_length + 1 bytes, zero-terminated
};

class Symspecial : public Prim {
  public:
    Symspecial(std::int16_t code, float x, float y, float height, float angle,
               std::int16_t penAction, std::int16_t symbol);
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    float m_height;
    float m_angle;
    std::int16_t m_penAction;
    std::int16_t m_symbol;
};

class Cercle : public Prim {
  public:
    Cercle(std::int16_t code, float x, float y, float radius)
        : Prim(code), m_x(x), m_y(y), m_radius(radius) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    float m_x;
    float m_y;
    float m_radius;
};

class NewColor : public Prim {
  public:
    // Any negative level makes the colour black.
    NewColor(std::int16_t code, std::int16_t r, std::int16_t g, std::int16_t b)
        : Prim(code),
          m_r(r < 0 || g < 0 || b < 0 ? 0 : r),
          m_g(r < 0 || g < 0 || b < 0 ? 0 : g),
          m_b(r < 0 || g < 0 || b < 0 ? 0 : b) {}
    void Accept(PrimVisitor& visitor) const override { visitor.Visit(*this); }
    void Write(Archive& archive) const override;

    std::int16_t m_r;
    std::int16_t m_g;
    std::int16_t m_b;
};

// The record codes.
namespace PrimCode {
constexpr std::int16_t kPinit = -1, kCouleur = -2, kEtendue = -3, kLigne = -4, kPosicourante = -5,
                       kFacteur = -6, kNombre = -8, kSymbole = -9, kSymspecial = -10, kCercle = -12,
                       kNewColor = -15;
}
