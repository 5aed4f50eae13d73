#pragma once

#include <cstddef>
#include <cstring>

namespace rainbow::test {

/// A text whose characters begin at given offsets (starts[i] for character i; one more entry
/// gives the end of the last character).
template <typename CharT, typename Offset> class BoundaryCursor {
public:
    BoundaryCursor(const CharT *text, const Offset *starts, std::size_t index)
        : m_text(text)
        , m_start(starts + index)
    {
    }

    std::size_t position() const { return std::size_t(*m_start); }
    std::size_t unitsBound(std::size_t count) const { return std::size_t(m_start[count] - m_start[0]); }
    std::size_t fastCount(std::size_t count) const { return count; }
    CharT *copyFast(CharT *out) { return copyExact(out); }
    CharT *copyExact(CharT *out)
    {
        const auto length = std::size_t(m_start[1] - m_start[0]);
        std::memcpy(out, m_text + m_start[0], length * sizeof(CharT));
        ++m_start;
        return out + length;
    }

private:
    const CharT *m_text;
    const Offset *m_start;
};

} // namespace rainbow::test
