#include "characters.h"

#include <QStringDecoder>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>
#include <bitset>

namespace rainbow {

namespace {

/// Code units that can belong to a character together with a neighbour: everything the
/// grapheme rules join (Hangul jamo sequences, extending and spacing marks, joiners, prepended
/// marks, surrogate pairs) but CR LF, which crLfPairs finds apart. Generous on purpose: a false
/// alarm only costs the slow path.
std::bitset<65536> makeJoiningUnits()
{
    std::bitset<65536> joining;
    for (char32_t u = 0; u < 65536; ++u) {
        switch (QChar::category(u)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Other_Format: // joiners and prepended concatenation marks
        case QChar::Other_Surrogate:
            joining.set(u);
            break;
        default:
            break;
        }
    }
    const auto setRange = [&joining](char16_t first, char16_t last) {
        for (char32_t u = first; u <= last; ++u)
            joining.set(u);
    };
    setRange(0x1100, 0x11FF); // Hangul jamo
    setRange(0xA960, 0xA97F);
    setRange(0xD7B0, 0xD7FF);
    for (char16_t u : { 0x0D4E, 0x0E33, 0x0EB3, 0xFF9E, 0xFF9F }) // letters that join as marks do
        joining.set(u);
    return joining;
}

const std::bitset<65536> &joiningUnits()
{
    static const std::bitset<65536> joining = makeJoiningUnits();
    return joining;
}

/// Per UTF-8 byte: true when no code point it belongs to can join: ASCII, continuation bytes
/// (their lead decides), and leads whose whole range of code points has no joining one.
std::array<bool, 256> makeSafeBytes()
{
    const std::bitset<65536> &joining = joiningUnits();
    const auto noneJoins = [&joining](char32_t first, char32_t count) {
        for (char32_t u = first; u < first + count; ++u) {
            if (joining.test(u))
                return false;
        }
        return true;
    };
    std::array<bool, 256> safe {};
    for (unsigned byte = 0; byte < 256; ++byte) {
        if (byte < 0xC0)
            safe[byte] = true;
        else if (byte < 0xE0)
            safe[byte] = noneJoins((byte & 0x1F) << 6, 64);
        else if (byte < 0xF0)
            safe[byte] = noneJoins((byte & 0x0F) << 12, 4096);
    }
    return safe;
}

qsizetype codePointCount(std::string_view text)
{
    return std::count_if(text.begin(), text.end(), [](char byte) { return (uint8_t(byte) & 0xC0) != 0x80; });
}

} // namespace

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

std::string_view trimSpaces(std::string_view text)
{
    const std::size_t begin = std::min(text.find_first_not_of(' '), text.size());
    const std::size_t end = text.find_last_not_of(' ') + 1; // 0 when all are spaces
    return text.substr(begin, std::max(begin, end) - begin);
}

namespace {

/// True when no code unit of the text can join a neighbour, CR LF aside.
bool noUnitJoins(QStringView text)
{
    const std::bitset<65536> &joining = joiningUnits();
    for (QChar unit : text) {
        if (joining.test(unit.unicode()))
            return false;
    }
    return true;
}

/// True when no code point of the well-formed UTF-8 text can join a neighbour, CR LF aside,
/// and none lies outside the Basic Multilingual Plane (noUnitJoins of its UTF-16 form).
bool noCodePointJoins(std::string_view text)
{
    static const std::array<bool, 256> safe = makeSafeBytes();
    const std::bitset<65536> &joining = joiningUnits();
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    // One table look-up per byte; only a lead whose range holds a joining code point (rare
    // outside combining marks and jamo) needs its code point decoded.
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (safe[bytes[at]])
            continue;
        const char32_t lead = bytes[at];
        if (lead >= 0xF0) // beyond the BMP: a surrogate pair in UTF-16
            return false;
        const char32_t codePoint = lead < 0xE0
            ? (lead & 0x1F) << 6 | (bytes[at + 1] & 0x3F)
            : (lead & 0x0F) << 12 | (bytes[at + 1] & 0x3F) << 6 | (bytes[at + 2] & 0x3F);
        if (joining.test(codePoint))
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
        characters += codePointCount(text.substr(counted, at - counted));
        pairs.push_back(characters++);
        counted = at + 2;
    }
    return pairs;
}

namespace {

template <typename Visit> void forEachBoundary(QStringView text, Visit visit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary())
        visit(at);
}

bool isRegionalIndicatorAt(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at] == QChar(0xD83C) && text[at + 1] >= QChar(0xDDE6)
        && text[at + 1] <= QChar(0xDDFF);
}

/// Qt 6.4 loses the pairing of flag letters (regional indicators) that follow an emoji joined
/// by ZWJ, splitting a flag in two: pair each run of them again from its start.
void pairRegionalIndicators(QStringView text, std::vector<qsizetype> &starts)
{
    std::vector<qsizetype> forced;
    std::vector<qsizetype> forbidden;
    for (qsizetype at = 0; at < text.size();) {
        if (!isRegionalIndicatorAt(text, at)) {
            ++at;
            continue;
        }
        const qsizetype runStart = at;
        while (isRegionalIndicatorAt(text, at))
            at += 2;
        for (qsizetype pair = runStart + 4; pair < at; pair += 4)
            forced.push_back(pair);
        for (qsizetype half = runStart + 2; half < at; half += 4)
            forbidden.push_back(half);
    }
    if (forced.empty() && forbidden.empty())
        return;
    starts.erase(
        std::remove_if(starts.begin(), starts.end(),
            [&](qsizetype at) { return std::binary_search(forbidden.begin(), forbidden.end(), at); }),
        starts.end());
    starts.insert(starts.end(), forced.begin(), forced.end());
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
}

std::vector<qsizetype> characterStarts(QStringView text)
{
    std::vector<qsizetype> starts { 0 };
    forEachBoundary(text, [&starts](qsizetype at) { starts.push_back(at); });
    pairRegionalIndicators(text, starts);
    return starts;
}

/// characterStarts of the UTF-16 form, as byte offsets into the UTF-8 text.
std::vector<qsizetype> utf8CharacterStarts(std::string_view text)
{
    // QString::fromUtf8 would drop a leading byte-order mark, and every offset after it with it.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString utf16 = decoder(QByteArrayView(text.data(), qsizetype(text.size())));
    std::vector<qsizetype> starts = characterStarts(utf16);
    qsizetype byte = 0;
    qsizetype unit = 0;
    for (qsizetype &start : starts) {
        while (unit < start) {
            const std::size_t length = utf8SequenceLength(text[std::size_t(byte)]);
            byte += qsizetype(length);
            unit += length == 4 ? 2 : 1;
        }
        start = byte;
    }
    return starts;
}

} // namespace

qsizetype characterCount(QStringView text)
{
    if (const std::optional<std::vector<qsizetype>> pairs = crLfPairs(text))
        return text.size() - qsizetype(pairs->size());
    return qsizetype(characterStarts(text).size()) - 1;
}

CharacterText::CharacterText(QString text)
    : m_text(std::move(text))
{
    if (std::optional<std::vector<qsizetype>> pairs = crLfPairs(m_text))
        m_pairs = std::move(*pairs);
    else
        m_starts = characterStarts(m_text);
}

Utf8CharacterText::Utf8CharacterText(std::string_view text)
    : m_text(text)
{
    if (std::optional<std::vector<qsizetype>> pairs = utf8CrLfPairs(text)) {
        m_pairs = std::move(*pairs);
        m_size = codePointCount(text) - qsizetype(m_pairs.size());
        return;
    }
    m_starts = utf8CharacterStarts(text);
    m_size = qsizetype(m_starts.size()) - 1;
}

} // namespace rainbow
