#include "plot/Prim.h"

#include <cmath>
#include <cstring>

#include "plot/Archive.h"

Nombre::Nombre(std::int16_t code, float x, float y, float height, float angle,
               std::int16_t decimals, float value)
    : Prim(code),
      m_x(x),
      m_y(y),
      m_height(std::fabs(height)),
      m_angle(angle),
      m_decimals(decimals),
      m_value(value) {}

Symbole::Symbole(std::int16_t code, float x, float y, float height, float angle,
                 std::int16_t length, char* text)
    : Prim(code), m_x(x), m_y(y), m_height(std::fabs(height)), m_angle(angle), m_length(length) {
    std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    text[n] = '\0';
    // Bytes after an embedded zero stay zero, so the record keeps its length on save.
    m_text.reset(new char[n + 1]());
    std::memcpy(m_text.get(), text, std::strlen(text));
}

Symspecial::Symspecial(std::int16_t code, float x, float y, float height, float angle,
                       std::int16_t penAction, std::int16_t symbol)
    : Prim(code),
      m_x(x),
      m_y(y),
      m_height(std::fabs(height)),
      m_angle(angle),
      m_penAction(penAction),
      m_symbol(symbol) {}

void Pinit::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteInt16(m_param1);
    archive.WriteInt16(m_param2);
}

void Couleur::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteInt16(m_pen);
}

void Etendue::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
}

void Ligne::Write(Archive& archive) const {
    // Most records are lines: encoded straight into the buffer. Assembled elsewhere and copied,
    // the copy's wide loads would wait on the narrow stores before them.
    const auto encode = [this](std::uint8_t* bytes) {
        Archive::EncodeInt16(bytes, m_code);
        Archive::EncodeFloat(bytes + 2, m_x);
        Archive::EncodeFloat(bytes + 6, m_y);
        Archive::EncodeInt16(bytes + 10, m_penCode);
    };
    if (std::uint8_t* room = archive.Room(kRecordSize)) {
        encode(room);
        archive.Advance(kRecordSize);
        return;
    }
    std::uint8_t bytes[kRecordSize];
    encode(bytes);
    archive.Write(bytes, kRecordSize);
}

void Posicourante::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
    archive.WriteFloat(m_z);
}

void Facteur::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_factor);
}

void Nombre::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
    archive.WriteFloat(m_height);
    archive.WriteFloat(m_angle);
    archive.WriteInt16(m_decimals);
    archive.WriteFloat(m_value);
}

void Symbole::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
    archive.WriteFloat(m_height);
    archive.WriteFloat(m_angle);
    archive.WriteInt16(m_length);
    if (m_length > 0) {
        archive.Write(m_text.get(), static_cast<std::size_t>(m_length));
        // The pad keeps the next record's code on an even offset.
        if (m_length % 2 != 0) archive.WriteByte(0x20);
    }
}

void Symspecial::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
    archive.WriteFloat(m_height);
    archive.WriteFloat(m_angle);
    archive.WriteInt16(m_penAction);
    archive.WriteInt16(m_symbol);
}

void Cercle::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteFloat(m_x);
    archive.WriteFloat(m_y);
    archive.WriteFloat(m_radius);
}

void NewColor::Write(Archive& archive) const {
    archive.WriteInt16(m_code);
    archive.WriteInt16(m_r);
    archive.WriteInt16(m_g);
    archive.WriteInt16(m_b);
}
