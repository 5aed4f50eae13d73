#pragma once

// The hot path of every conversion, for the conversions alone: the colour fragments written with
// fixed-size vector stores. What the window and the command-line tool need is in markup.h.

#include "engine/color.h"
#include "engine/markup.h"
#include "engine/simd.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace rainbow {

/// Writes colour fragments in code units of CharT (char for UTF-8, char16_t for UTF-16). Hot path
/// of every conversion: per character, a few fixed-size stores and no allocation.
template <typename CharT> class FragmentWriter {
public:
    using View = std::basic_string_view<CharT>;

    /// Code units after the end writeFragments returns that it may have overwritten.
    static constexpr std::size_t slack = MarkupSink<CharT>::slack;

    FragmentWriter(View openPrefix, View openSuffix, View closeTag)
        : m_head(openPrefix)
        , m_codeOffset(openPrefix.size())
        , m_close(closeTag)
    {
        m_head.append(colorCodeLength, CharT('0'));
        m_head.append(openSuffix);
        m_headChunks = chunksFor(m_head.size());
        m_closeChunks = chunksFor(m_close.size());
        if (m_headChunks <= maxHeadChunks && m_closeChunks <= maxCloseChunks) {
            std::copy(m_head.begin(), m_head.end(), m_headBlock.begin());
            std::copy(m_close.begin(), m_close.end(), m_closeBlock.begin());
        } else {
            m_headChunks = m_closeChunks = 0; // too long for the fixed-size stores: exact copies
        }
    }

    /// Code units of one fragment without its character.
    std::size_t fixedSize() const { return m_head.size() + m_close.size(); }

    /// The colour of the fragments written next; components in 0..255.
    void setColor(const RgbTriple &color)
    {
        writeCode(m_head.data() + m_codeOffset, color);
        if (m_headChunks > 0)
            writeCode(m_headBlock.data() + m_codeOffset, color);
    }

    /// The open tag in the colour set last, copied to out; returns its end.
    CharT *writeOpen(CharT *out) const { return std::copy(m_head.begin(), m_head.end(), out); }

    /// The open tag in the colour set last: OpenPrefix, the colour code, OpenSuffix.
    View head() const { return m_head; }

    /// Writes count fragments whose open tags lie ready one after another at heads (head().size()
    /// units each, readable for slack units past the last), one per character taken from
    /// characters, and returns their end: for texts whose colours are known before the text.
    template <typename Cursor>
    CharT *writeFragmentsWithHeads(
        CharT *out, Cursor &characters, const CharT *heads, std::size_t count) const
    {
        const std::size_t headSize = m_head.size();
        const std::size_t closeSize = m_close.size();
        Cursor cursor = characters; // in registers, as in writeFast
        while (count > 0) {
            const std::size_t fast = m_headChunks > 0 ? cursor.fastCount(count) : 0;
            for (std::size_t n = 0; n < fast; ++n) {
                for (int i = 0; i < m_headChunks; ++i)
                    simd::storeChunk(out + i * chunkUnits, simd::loadChunk(heads + i * chunkUnits));
                heads += headSize;
                out = cursor.copyFast(out + headSize);
                for (int i = 0; i < m_closeChunks; ++i)
                    simd::storeChunk(
                        out + i * chunkUnits, simd::loadChunk(m_closeBlock.data() + i * chunkUnits));
                out += closeSize;
            }
            count -= fast;
            if (count > 0) {
                out = std::copy(heads, heads + headSize, out);
                heads += headSize;
                out = writeClose(cursor.copyExact(out));
                --count;
            }
        }
        characters = cursor;
        return out;
    }

    /// The close tag, copied to out; returns its end.
    CharT *writeClose(CharT *out) const { return std::copy(m_close.begin(), m_close.end(), out); }

    /// Writes count fragments at out, one per character taken from characters (a cursor of
    /// character_cursor.h), and returns their end.
    template <typename Cursor> CharT *writeFragments(CharT *out, Cursor &characters, std::size_t count) const
    {
        if (m_headChunks == 0) {
            for (; count > 0; --count)
                out = writeExact(out, characters);
            return out;
        }
        {
            using Fast = CharT *(FragmentWriter::*)(CharT *, Cursor &, std::size_t) const;
            static constexpr Fast fast[maxHeadChunks][maxCloseChunks] = {
                { &FragmentWriter::writeFast<1, 1, Cursor>, &FragmentWriter::writeFast<1, 2, Cursor> },
                { &FragmentWriter::writeFast<2, 1, Cursor>, &FragmentWriter::writeFast<2, 2, Cursor> },
                { &FragmentWriter::writeFast<3, 1, Cursor>, &FragmentWriter::writeFast<3, 2, Cursor> },
                { &FragmentWriter::writeFast<4, 1, Cursor>, &FragmentWriter::writeFast<4, 2, Cursor> },
            };
            return (this->*fast[m_headChunks - 1][m_closeChunks - 1])(out, characters, count);
        }
    }

private:
    static constexpr std::size_t chunkUnits = 16 / sizeof(CharT);
    static constexpr int maxHeadChunks = 4;
    static constexpr int maxCloseChunks = 2;

    /// 16-byte chunks that hold units code units (at least one, so an empty tag still works).
    static int chunksFor(std::size_t units)
    {
        return int(std::max<std::size_t>(1, (units + chunkUnits - 1) / chunkUnits));
    }

    /// Copies of a size the compiler sees, from registers, become one vector store per 16 bytes;
    /// a copy of a length known only at run time costs a call and branches. What spills past a
    /// piece is overwritten by the next one, or lies in the slack.
    template <int HeadChunks, int CloseChunks, typename Cursor>
    CharT *writeFast(CharT *out, Cursor &characters, std::size_t count) const
    {
        // Stores through a char pointer may alias anything the compiler cannot see is local: a
        // local cursor stays in registers.
        Cursor cursor = characters;
        simd::Chunk head[HeadChunks];
        for (int i = 0; i < HeadChunks; ++i)
            head[i] = simd::loadChunk(m_headBlock.data() + i * chunkUnits);
        simd::Chunk close[CloseChunks];
        for (int i = 0; i < CloseChunks; ++i)
            close[i] = simd::loadChunk(m_closeBlock.data() + i * chunkUnits);
        const std::size_t headSize = m_head.size();
        const std::size_t closeSize = m_close.size();
        while (count > 0) {
            const std::size_t fast = cursor.fastCount(count);
            for (std::size_t n = 0; n < fast; ++n) {
                for (int i = 0; i < HeadChunks; ++i)
                    simd::storeChunk(out + i * chunkUnits, head[i]);
                out = cursor.copyFast(out + headSize);
                for (int i = 0; i < CloseChunks; ++i)
                    simd::storeChunk(out + i * chunkUnits, close[i]);
                out += closeSize;
            }
            count -= fast;
            if (count > 0) {
                out = writeExact(out, cursor);
                --count;
            }
        }
        characters = cursor;
        return out;
    }

    template <typename Cursor> CharT *writeExact(CharT *out, Cursor &characters) const
    {
        return writeClose(characters.copyExact(writeOpen(out)));
    }

    static void writeCode(CharT *out, const RgbTriple &color)
    {
        static constexpr std::array<std::array<char, 2>, 256> hexPairs = [] {
            std::array<std::array<char, 2>, 256> pairs {};
            constexpr char digits[] = "0123456789ABCDEF";
            for (std::size_t i = 0; i < 256; ++i)
                pairs[i] = { digits[i >> 4], digits[i & 15] };
            return pairs;
        }();
        for (const int16_t component : { color.red, color.green, color.blue }) {
            const auto &pair = hexPairs[uint8_t(component)];
            *out++ = CharT(pair[0]);
            *out++ = CharT(pair[1]);
        }
    }

    std::basic_string<CharT> m_head; // OpenPrefix, the colour code, OpenSuffix
    std::size_t m_codeOffset;
    std::basic_string<CharT> m_close;
    // The same, padded to whole chunks, when short enough (all three formats are); 0 chunks when not.
    int m_headChunks = 0;
    int m_closeChunks = 0;
    std::array<CharT, maxHeadChunks * chunkUnits> m_headBlock {};
    std::array<CharT, maxCloseChunks * chunkUnits> m_closeBlock {};
};

/// Writes one fragment per character for each colour span in turn (spans.next(ColorSpan &)),
/// taking the characters from the cursor, and tells onSpan(color, firstUnit, endUnit) where each
/// span's characters lie in the text.
template <typename CharT, typename Spans, typename Cursor, typename OnSpan>
void writeSpans(
    FragmentWriter<CharT> &writer, Spans &spans, Cursor characters, MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    // Batches keep the room asked for at some hundred kilobytes, however long a span is.
    constexpr int64_t batch = 8192;
    ColorSpan span;
    while (spans.next(span)) {
        writer.setColor(span.color);
        const std::size_t first = characters.position();
        for (int64_t left = span.count; left > 0;) {
            const auto count = std::size_t(std::min(left, batch));
            CharT *out = sink.reserve(count * writer.fixedSize() + characters.unitsBound(count));
            sink.commit(writer.writeFragments(out, characters, count));
            left -= int64_t(count);
        }
        onSpan(span.color, first, characters.position());
    }
}

} // namespace rainbow
