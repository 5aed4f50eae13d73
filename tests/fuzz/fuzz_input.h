#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <string>

namespace rainbow::fuzz {

/// Takes a fuzz input apart: leading bytes for choices, the rest as text.
class FuzzInput {
public:
    FuzzInput(const uint8_t *data, std::size_t size)
        : m_at(data)
        , m_end(data + size)
    {
    }

    /// The next byte, 0 once the input is used up.
    uint8_t byte() { return m_at < m_end ? *m_at++ : 0; }

    /// Everything not taken yet, as bytes.
    std::string restBytes()
    {
        std::string rest(reinterpret_cast<const char *>(m_at), std::size_t(m_end - m_at));
        m_at = m_end;
        return rest;
    }

    /// Everything not taken yet, as UTF-16 code units (little-endian pairs, an odd last byte
    /// dropped): lone surrogates and all.
    QString restUnits()
    {
        QString units;
        for (; m_end - m_at >= 2; m_at += 2)
            units += QChar(char16_t(m_at[0] | (m_at[1] << 8)));
        m_at = m_end;
        return units;
    }

private:
    const uint8_t *m_at;
    const uint8_t *m_end;
};

} // namespace rainbow::fuzz
