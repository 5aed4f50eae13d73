#pragma once

#include "engine/fragment_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace rainbow::test {

/// Fragments "<000000>character</>" for the characters from index on, written through the
/// text's cursor (CharacterText, Utf8CharacterText); checks that they stay within the room the
/// cursor asked for.
template <typename CharT, typename Text>
std::basic_string<CharT> fragmentsFrom(const Text &text, qsizetype index)
{
    using View = std::basic_string_view<CharT>;
    static constexpr CharT open[] = { '<' }, suffix[] = { '>' }, close[] = { '<', '/', '>' };
    const FragmentWriter<CharT> writer(View(open, 1), View(suffix, 1), View(close, 3));
    return text.visitFrom(index, [&](auto cursor) {
        const auto count = std::size_t(text.size() - index);
        const std::size_t room = count * writer.fixedSize() + cursor.unitsBound(count);
        std::basic_string<CharT> out(room + FragmentWriter<CharT>::slack, CharT('?'));
        out.resize(std::size_t(writer.writeFragments(out.data(), cursor, count) - out.data()));
        EXPECT_LE(out.size(), room);
        return out;
    });
}

} // namespace rainbow::test
