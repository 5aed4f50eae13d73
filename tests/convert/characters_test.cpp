#include "convert/characters.h"
#include "convert/conversion_core.h"
#include "engine/markup.h"

#include "tests/support/cursor_fragments.h"
#include "tests/support/icu_reference.h"
#include "tests/support/mixed_text.h"

#include <gtest/gtest.h>

#include <set>

using namespace rainbow;

namespace {

/// The code units of character index.
QStringView characterOf(const CharacterText &text, qsizetype index)
{
    return QStringView(text.text())
        .mid(text.unitStart(index), text.unitStart(index + 1) - text.unitStart(index));
}

} // namespace

TEST(TrimSpaces, RemovesOnlyAsciiSpacesAtTheEnds)
{
    const struct {
        const char16_t *text, *expected;
    } cases[] = {
        { u"  AB  ", u"AB" },
        { u"A B", u"A B" },
        { u"\tA\n", u"\tA\n" },
        { u"", u"" },
        { u"    ", u"" },
        { u"\u3000A\u3000", u"\u3000A\u3000" },
        { u"  \u0301ab", u" \u0301ab" }, // the last space carries the accent
        { u"ab \u0301 ", u"ab \u0301" },
        { u"ab\u0600  ", u"ab\u0600 " }, // a prepended mark takes the space after it
        { u" \u200D\u2764 ", u" \u200D\u2764" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(trimSpaces(QString::fromUtf16(c.text)), QString::fromUtf16(c.expected));
}

TEST(CharacterCount, CountsWhatAReaderSeesAsOneCharacter)
{
    const struct {
        const char *name;
        const char16_t *text;
        qsizetype expected;
    } cases[] = {
        { "ASCII", u"ABC", 3 },
        { "CJK", u"青柚彩虹", 4 },
        { "emoji outside the BMP", u"😀😀", 2 },
        { "flag", u"🇨🇳", 1 },
        { "two flags", u"🇨🇳🇺🇸", 2 },
        { "joined family", u"👨\u200D👩\u200D👧", 1 },
        { "skin tone", u"👍🏽", 1 },
        { "combining accent", u"e\u0301", 1 },
        { "CR LF is one line break", u"a\r\nb", 3 },
        { "flag after a joined emoji", u"👨\u200D👩\u200D👧🇨🇳x", 3 },
        { "empty", u"", 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(characterCount(QString::fromUtf16(c.text)), c.expected);
        EXPECT_EQ(CharacterText(QString::fromUtf16(c.text)).size(), c.expected);
    }
}

TEST(CharacterText, LocatesEachCharacter)
{
    const CharacterText text(QString::fromUtf16(u"e\u0301😀x"));
    ASSERT_EQ(text.size(), 3);
    EXPECT_EQ(characterOf(text, 0), QString::fromUtf16(u"e\u0301"));
    EXPECT_EQ(characterOf(text, 1), QString::fromUtf16(u"😀"));
    EXPECT_EQ(characterOf(text, 2), QStringLiteral("x"));
    EXPECT_EQ(text.unitStart(3), 5);
}

// The fast path trusts that a unit it lets through never joins a neighbour but in CR LF; check
// that against ICU's boundaries for every code unit of the BMP.
TEST(CrLfPairs, LetsThroughOnlyUnitsIcuSeparates)
{
    for (char32_t u = 0; u < 0x10000; ++u) {
        const QChar unit(static_cast<char16_t>(u));
        if (!crLfPairs(QStringView(&unit, 1)))
            continue;
        for (QChar neighbour : { QChar(u'a'), QChar(0xAC00), QChar(0x0915), QChar(0x2764), unit }) {
            const QString text = QString(neighbour) + unit + neighbour;
            const std::vector<qsizetype> expected { 0, 1, 2, 3 };
            ASSERT_EQ(test::icuCharacterStarts(text), expected)
                << std::hex << uint32_t(u) << " next to " << neighbour.unicode();
        }
    }
}

// The UTF-8 fast check must say what the UTF-16 one says of the same text, for every code point
// of the BMP between neighbours, and refuse anything outside the BMP (a surrogate pair there).
TEST(Utf8CrLfPairs, AgreesWithCrLfPairs)
{
    for (char32_t u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue; // no UTF-8 form
        const QString text = QStringLiteral("a\r\n") + QChar(char16_t(u)) + QStringLiteral("青\r\n");
        ASSERT_EQ(utf8CrLfPairs(text.toStdString()), crLfPairs(text)) << std::hex << uint32_t(u);
    }
    EXPECT_FALSE(utf8CrLfPairs("ab\xF0\x9F\x98\x80"));
    EXPECT_FALSE(utf8CrLfPairs("a\xF0\xA0\x80\x80")); // a CJK ideograph outside the BMP
}

using test::fragmentsFrom;

// Texts whose only joining unit is CR skip the boundary scanner: their characters, counts and
// markup from any character on must be ICU's, in UTF-16 and UTF-8 alike.
TEST(CharacterText, CrLfFastPathMatchesIcu)
{
    const std::vector<QString> breaks { QStringLiteral("\r\n"), QStringLiteral("\r"),
        QStringLiteral("\r\r\n"), QStringLiteral("\n\r") };
    const struct {
        const char *name;
        QString text;
        bool fast;
    } cases[] = {
        { "CR LF between lines", QString::fromUtf16(u"ab\r\n青柚\r\n©"), true },
        { "lone CR at the start", QStringLiteral("\rab"), true },
        { "lone CR in the middle", QStringLiteral("a\rb"), true },
        { "lone CR at the end", QStringLiteral("ab\r"), true },
        { "CR CR LF", QStringLiteral("a\r\r\nb"), true },
        { "LF CR is two characters", QStringLiteral("a\n\rb"), true },
        { "only line breaks", QStringLiteral("\r\n\r\n\r\r"), true },
        { "breaks of every kind across 64-byte windows", test::mixedText(400, 7, breaks), true },
        { "CR before a combining mark", QString::fromUtf16(u"a\r\u0301b\r\n"), false },
        { "CR LF before a combining mark", QString::fromUtf16(u"a\r\n\u0301b"), false },
        { "CR next to emoji", QString::fromUtf16(u"😀\r\n😀\r👨\u200D👩\r"), false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string utf8 = c.text.toStdString();
        EXPECT_EQ(crLfPairs(c.text).has_value(), c.fast);
        EXPECT_EQ(utf8CrLfPairs(utf8).has_value(), c.fast);

        const std::vector<qsizetype> starts = test::icuCharacterStarts(c.text);
        const auto n = qsizetype(starts.size()) - 1;

        const CharacterText utf16Text(c.text);
        const Utf8CharacterText utf8Text(utf8);
        EXPECT_EQ(characterCount(c.text), n);
        ASSERT_EQ(utf16Text.size(), n);
        ASSERT_EQ(utf8Text.size(), n);
        for (qsizetype i = 0; i <= n; ++i)
            ASSERT_EQ(utf16Text.unitStart(i), starts[std::size_t(i)]) << "character " << i;

        std::u16string expected16;
        std::string expected8;
        for (qsizetype i = n - 1; i >= 0; --i) {
            const QString character
                = c.text.mid(starts[std::size_t(i)], starts[std::size_t(i) + 1] - starts[std::size_t(i)]);
            expected16.insert(0, u"<000000>" + character.toStdU16String() + u"</>");
            expected8.insert(0, "<000000>" + character.toStdString() + "</>");
            ASSERT_EQ(fragmentsFrom<char16_t>(utf16Text, i), expected16) << "from character " << i;
            ASSERT_EQ(fragmentsFrom<char>(utf8Text, i), expected8) << "from character " << i;
        }
    }
}

TEST(TrimSpaces, Utf8TrimsTheSameSpaces)
{
    for (const char *text : { "  AB  ", "A B", "\tA\n", "", "    ",
             "\xE3\x80\x80"
             "A\xE3\x80\x80",
             " 青 " }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(QString::fromStdString(std::string(trimSpaces(std::string_view(text)))),
            trimSpaces(QString::fromUtf8(text)).toString());
    }
}

TEST(Utf8CharacterText, CountsAsCharacterTextDoes)
{
    for (const char16_t *text : { u"ABC", u"青柚彩虹", u"😀😀", u"🇨🇳🇺🇸", u"👨\u200D👩\u200D👧", u"e\u0301x",
             u"a\r\nb", u"👨\u200D👩\u200D👧🇨🇳x", u"", u"\uFEFF\uFEFFab" }) {
        const QString utf16 = QString::fromRawData(
            reinterpret_cast<const QChar *>(text), qsizetype(std::char_traits<char16_t>::length(text)));
        const std::string utf8 = utf16.toStdString();
        SCOPED_TRACE(utf8);
        EXPECT_EQ(Utf8CharacterText(utf8).size(), CharacterText(utf16).size());
    }
}

namespace {

/// A repeatable text of n pieces drawn from scripts whose characters are made of several code
/// points, mixed with plain ones, so that the scanner goes in and out of ICU.
QString scriptSoup(int n, unsigned seed)
{
    static const std::vector<QString> pieces = [] {
        std::vector<QString> all = test::clusters();
        for (const char16_t *piece : { u"नमस्ते", u"क्षि", u"ไทย", u"กำ", u"မြန်မာ", u"ស្រី", u"ཀྲུ", u"ਪੰਜਾਬੀ",
                 u"❤\uFE0F", u"1\uFE0F\u20E3", u"🏳\uFE0F\u200D🌈", u"🇨🇳🇺🇸🇯", u"\u0600a", u" \u0301",
                 u"a", u"青", u" ", u"\r", u"\n", u"\u1100\u1161\u11A8", u"각\u11A8" })
            all.push_back(QString::fromUtf16(piece));
        all.push_back(QString(QChar(0xD800))); // lone surrogates
        all.push_back(QString(QChar(0xDC00)) + u'x');
        return all;
    }();
    QString text;
    for (int i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        text += pieces[(seed >> 8) % pieces.size()];
    }
    return text;
}

/// The characters as ICU finds them in the whole text at once.
std::vector<QString> icuCharacters(const QString &text)
{
    const std::vector<qsizetype> starts = test::icuCharacterStarts(text);
    std::vector<QString> characters;
    for (std::size_t i = 0; i + 1 < starts.size(); ++i)
        characters.push_back(text.mid(starts[i], starts[i + 1] - starts[i]));
    return characters;
}

template <typename CharT>
std::basic_string<CharT> tagged(const std::vector<QString> &characters, std::size_t from)
{
    std::basic_string<CharT> out;
    for (std::size_t i = from; i < characters.size(); ++i) {
        if constexpr (sizeof(CharT) == 1)
            out += "<000000>" + characters[i].toStdString() + "</>";
        else
            out += u"<000000>" + characters[i].toStdU16String() + u"</>";
    }
    return out;
}

bool isWellFormedUtf16(const QString &text) { return QString::fromUtf8(text.toUtf8()) == text; }

} // namespace

// What must hold for any text: the characters are ICU's, whole-text boundaries, in UTF-16 and
// UTF-8 alike, from any character on (walks begin at checkpoints far into a long text), none
// empty, none cut inside a surrogate pair or a UTF-8 sequence.
TEST(CharacterText, MixedScriptsGiveIcusCharactersFromAnyCharacterOn)
{
    for (const auto &[pieces, seed] : { std::pair { 40, 1u }, { 40, 2u }, { 300, 3u }, { 12000, 4u } }) {
        const QString text = scriptSoup(pieces, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::vector<QString> characters = icuCharacters(text);
        const CharacterText utf16(text);
        ASSERT_EQ(utf16.size(), qsizetype(characters.size()));
        EXPECT_EQ(characterCount(text), utf16.size());
        qsizetype at = 0;
        for (const QString &character : characters) {
            ASSERT_FALSE(character.isEmpty());
            ASSERT_FALSE(at > 0 && text[at - 1].isHighSurrogate() && text[at].isLowSurrogate()) << at;
            at += character.size();
        }
        const auto n = std::size_t(utf16.size());
        for (std::size_t from : { std::size_t(0), std::size_t(1), n / 3, n / 2 + 4097, n - 1, n }) {
            if (from > n)
                continue;
            ASSERT_EQ(
                test::fragmentsFrom<char16_t>(utf16, qsizetype(from)), tagged<char16_t>(characters, from))
                << "from " << from;
            if (from < n) {
                ASSERT_EQ(characterOf(utf16, qsizetype(from)), characters[from]);
            }
        }
        if (!isWellFormedUtf16(text))
            continue; // lone surrogates have no UTF-8 form
        const std::string utf8Text = text.toStdString();
        const Utf8CharacterText utf8(utf8Text);
        ASSERT_EQ(utf8.size(), utf16.size());
        for (std::size_t from : { std::size_t(0), n / 2 + 4097, n - 1 }) {
            if (from < n) {
                ASSERT_EQ(test::fragmentsFrom<char>(utf8, qsizetype(from)), tagged<char>(characters, from));
            }
        }
    }
}

// ICU walks a stretch of the text at a time, which ends where a boundary is certain or at a
// limit; past the limit it is walked again from its last boundary, and a character longer than
// the limit gets a longer stretch. Whatever the limit, the boundaries are ICU's over the whole.
TEST(BoundaryScanner, GivesTheSameBoundariesWhateverStretchIcuWalks)
{
    const QString longCluster = QStringLiteral("e") + QString(3000, QChar(0x0301));
    QString noCertainBoundary; // every other code point a spacing mark
    for (int i = 0; i < 1500; ++i)
        noCertainBoundary += QString::fromUtf16(u"कि");
    const QString text = scriptSoup(400, 7) + longCluster + noCertainBoundary + scriptSoup(50, 8);
    const std::vector<qsizetype> expected = test::icuCharacterStarts(text);
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const std::string utf8 = text.toStdString();
    for (std::size_t window : { 1, 2, 3, 5, 64, 1024 }) {
        SCOPED_TRACE("stretch of " + std::to_string(window));
        BoundaryScanner<char16_t> scanner(units, std::size_t(text.size()), 0, window);
        std::vector<qsizetype> starts { 0 };
        while (!scanner.atEnd())
            starts.push_back(qsizetype(scanner.next()));
        EXPECT_EQ(starts, expected);

        std::vector<uint64_t> marks(std::size_t(text.size()) / 64 + 1);
        BoundaryScanner<char16_t>(units, std::size_t(text.size()), 0, window).markStarts(marks.data());
        std::vector<qsizetype> marked { 0 };
        for (qsizetype at = 1; at < text.size(); ++at) {
            if (marks[std::size_t(at) / 64] >> (at % 64) & 1)
                marked.push_back(at);
        }
        marked.push_back(text.size());
        EXPECT_EQ(marked, expected);

        BoundaryScanner<char> utf8Scanner(utf8.data(), utf8.size(), 0, window);
        std::size_t utf8Characters = 0;
        for (; !utf8Scanner.atEnd(); ++utf8Characters)
            utf8Scanner.next();
        EXPECT_EQ(utf8Characters, expected.size() - 1);
    }
}

TEST(CharacterEnds, StopAtTheFirstCharacterThatReachesTheLimit)
{
    const QString text = QString::fromUtf16(u"ab👍🏽cd");
    EXPECT_EQ(characterEnds(text, 0, 3), (std::vector<qsizetype> { 1, 2, 6 }));
    EXPECT_EQ(characterEnds(text, 2, 6), (std::vector<qsizetype> { 6 }));
    EXPECT_EQ(characterEnds(text, 6, 100), (std::vector<qsizetype> { 7, 8 }));
}

// Memory that runs out inside ICU is reported as any other memory failure.
TEST(CheckIcu, MemoryFailuresAreBadAlloc)
{
    EXPECT_NO_THROW(checkIcu(U_ZERO_ERROR, "ubrk_open"));
    EXPECT_NO_THROW(checkIcu(U_USING_DEFAULT_WARNING, "ubrk_open"));
    EXPECT_THROW(checkIcu(U_MEMORY_ALLOCATION_ERROR, "u_getIntPropertyMap"), std::bad_alloc);
    EXPECT_THROW(checkIcu(U_ILLEGAL_ARGUMENT_ERROR, "ubrk_setText"), std::runtime_error);
}

// The whitespace that --skip-spaces leaves untagged: exactly these code points, in UTF-8 and
// UTF-16 alike, whatever the Unicode version of the system's ICU; the search for the next one
// (which looks at lead bytes sixteen at a time, then one by one) finds each of them.
TEST(IsWhitespaceCharacter, TakesExactlyTheseCodePointsAndNextSpaceFindsThem)
{
    const std::set<char32_t> spaces { 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x20, 0x85, 0xA0, 0x1680, 0x2000, 0x2001,
        0x2002, 0x2003, 0x2004, 0x2005, 0x2006, 0x2007, 0x2008, 0x2009, 0x200A, 0x2028, 0x2029, 0x202F,
        0x205F, 0x3000 };
    for (char32_t c = 0; c < 0x110000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        const QString text = QString::fromUcs4(&c, 1);
        const std::string utf8 = text.toStdString();
        const std::u16string utf16(
            reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()));
        ASSERT_EQ(isWhitespaceCharacter(utf8), spaces.count(c) == 1) << std::hex << uint32_t(c);
        ASSERT_EQ(isWhitespaceCharacter(utf16), spaces.count(c) == 1) << std::hex << uint32_t(c);
        const std::string inBlock = "0123456789" + utf8 + std::string(16, 'x');
        const std::string inTail = std::string(17, 'x') + utf8;
        ASSERT_EQ(core::nextSpace(inBlock, 0), spaces.count(c) ? 10 : inBlock.size()) << std::hex << uint32_t(c);
        ASSERT_EQ(core::nextSpace(inTail, 0), spaces.count(c) ? 17 : inTail.size()) << std::hex << uint32_t(c);
    }
}
