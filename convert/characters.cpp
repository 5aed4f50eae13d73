#include "convert/characters.h"

#include <algorithm>

namespace rainbow {

namespace {

/// [begin, end) of the text without the spaces at its ends that are characters of their own.
template <typename CharT>
std::pair<std::size_t, std::size_t> trimmedRange(const CharT *text, std::size_t size)
{
    std::size_t begin = 0;
    std::size_t end = size;
    while (begin < end && text[begin] == CharT(' ')
        && !(begin + 1 < end && joinsPrevious(decodeAt(text, end, begin + 1).value)))
        ++begin;
    while (end > begin && text[end - 1] == CharT(' ')
        && !(end - 1 > begin && joinsNext(decodeBefore(text, end - 1).value)))
        --end;
    return { begin, end };
}

} // namespace

QStringView trimSpaces(QStringView text)
{
    const auto [begin, end]
        = trimmedRange(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()));
    return text.mid(qsizetype(begin), qsizetype(end - begin));
}

std::string_view trimSpaces(std::string_view text)
{
    const auto [begin, end] = trimmedRange(text.data(), text.size());
    return text.substr(begin, end - begin);
}

namespace {

// The fast path takes a text only when no code point in it can join a neighbour but CR, whose
// pairs crLfPairs finds apart.

/// True when no code unit of the text can join a neighbour, CR LF aside.
bool noUnitJoins(QStringView text)
{
    const StandaloneCodePoints &alone = StandaloneCodePoints::table();
    for (QChar unit : text) {
        if (!alone.safeUnit(unit.unicode()) && unit != u'\r')
            return false;
    }
    return true;
}

/// True when no code point of the well-formed UTF-8 text can join a neighbour, CR LF aside,
/// and none lies outside the Basic Multilingual Plane (noUnitJoins of its UTF-16 form).
/// Whether the BMP code point at text[at] stands alone; out of line, as inlined it cost the loop
/// below half as many instructions again.
[[gnu::noinline]] bool standsAlone(std::string_view text, std::size_t at)
{
    return StandaloneCodePoints::table().safeUnit(char16_t(decodeAt(text.data(), text.size(), at).value));
}

bool noCodePointJoins(std::string_view text)
{
    const StandaloneCodePoints &alone = StandaloneCodePoints::table();
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    // One table look-up per byte; only a lead whose range holds a joining code point (rare
    // outside combining marks and jamo) needs its code point decoded.
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (alone.safeByte(bytes[at]) || bytes[at] == '\r')
            continue;
        if (bytes[at] >= 0xF0) // beyond the BMP: a surrogate pair in UTF-16
            return false;
        if (!standsAlone(text, at))
            return false;
    }
    return true;
}

} // namespace

// CR LF pairs are found apart from the joining units, by a search for CR, so the loop over every
// unit has nothing more to do than before line breaks took the fast path.

std::optional<std::vector<qsizetype>> crLfPairs(QStringView text)
{
    if (!noUnitJoins(text))
        return std::nullopt;
    std::vector<qsizetype> pairs;
    for (qsizetype at = text.indexOf(u'\r'); at != -1; at = text.indexOf(u'\r', at + 1)) {
        if (at + 1 < text.size() && text[at + 1] == u'\n')
            pairs.push_back(at - qsizetype(pairs.size()));
    }
    return pairs;
}

std::optional<std::vector<qsizetype>> utf8CrLfPairs(std::string_view text)
{
    if (!noCodePointJoins(text))
        return std::nullopt;
    std::vector<qsizetype> pairs;
    qsizetype characters = 0; // characters before byte counted
    std::size_t counted = 0;
    for (std::size_t at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at + 2)) {
        characters += qsizetype(codePointCount(text.substr(counted, at - counted)));
        pairs.push_back(characters++);
        counted = at + 2;
    }
    return pairs;
}

template <typename CharT>
ClusteredText<CharT>::ClusteredText(const CharT *text, std::size_t size)
    : m_text(text)
    , m_size(size)
    , m_starts(size / 64 + 1)
{
    if (size > 0)
        m_starts[0] = 1;
    BoundaryScanner<CharT>(text, size).markStarts(m_starts.data());
    for (std::size_t word = 0; word < m_starts.size(); ++word) {
        if (word % wordsPerRank == 0)
            m_ranks.push_back(m_count);
        m_count += std::size_t(__builtin_popcountll(m_starts[word]));
    }
}

template <typename CharT> std::size_t ClusteredText<CharT>::unitStart(std::size_t index) const
{
    if (index >= m_count)
        return m_size;
    const auto rank = std::upper_bound(m_ranks.begin(), m_ranks.end(), index) - 1;
    std::size_t word = std::size_t(rank - m_ranks.begin()) * wordsPerRank;
    std::size_t left = index - *rank;
    for (;; ++word) {
        const auto here = std::size_t(__builtin_popcountll(m_starts[word]));
        if (left < here)
            break;
        left -= here;
    }
    uint64_t bits = m_starts[word];
    for (; left > 0; --left)
        bits &= bits - 1;
    return word * 64 + std::size_t(__builtin_ctzll(bits));
}

template class ClusteredText<char>;
template class ClusteredText<char16_t>;

namespace {

const char16_t *units(QStringView text) { return reinterpret_cast<const char16_t *>(text.utf16()); }

} // namespace

qsizetype characterCount(QStringView text)
{
    if (const std::optional<std::vector<qsizetype>> pairs = crLfPairs(text))
        return text.size() - qsizetype(pairs->size());
    return qsizetype(ClusteredText<char16_t>(units(text), std::size_t(text.size())).size());
}

std::vector<qsizetype> characterEnds(QStringView text, qsizetype from, qsizetype to)
{
    std::vector<qsizetype> ends;
    BoundaryScanner<char16_t> scanner(units(text), std::size_t(text.size()), std::size_t(from));
    while (!scanner.atEnd() && (ends.empty() || ends.back() < to))
        ends.push_back(qsizetype(scanner.next()));
    return ends;
}

CharacterText::CharacterText(QString text)
    : m_text(std::move(text))
{
    if (std::optional<std::vector<qsizetype>> pairs = crLfPairs(m_text))
        m_pairs = std::move(*pairs);
    else
        m_clusters.emplace(units(m_text), std::size_t(m_text.size()));
}

Utf8CharacterText::Utf8CharacterText(std::string_view text)
    : m_text(text)
{
    if (std::optional<std::vector<qsizetype>> pairs = utf8CrLfPairs(text)) {
        m_pairs = std::move(*pairs);
        m_size = qsizetype(codePointCount(text)) - qsizetype(m_pairs.size());
        return;
    }
    m_clusters.emplace(text.data(), text.size());
    m_size = qsizetype(m_clusters->size());
}

} // namespace rainbow
