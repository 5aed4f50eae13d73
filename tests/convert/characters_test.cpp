#include "characters.h"
#include "markup.h"

#include "../support/mixed_text.h"

#include <QTextBoundaryFinder>

#include <gtest/gtest.h>

using namespace rainbow;

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
    EXPECT_EQ(text.character(0), QString::fromUtf16(u"e\u0301"));
    EXPECT_EQ(text.character(1), QString::fromUtf16(u"😀"));
    EXPECT_EQ(text.character(2), QStringLiteral("x"));
    EXPECT_EQ(text.unitStart(3), 5);
}

// The fast path trusts that a unit it lets through never joins a neighbour but in CR LF; check
// that against Qt's own boundaries for every code unit of the BMP.
TEST(CrLfPairs, LetsThroughOnlyUnitsTheBoundaryFinderSeparates)
{
    for (char32_t u = 0; u < 0x10000; ++u) {
        const QChar unit(static_cast<char16_t>(u));
        if (!crLfPairs(QStringView(&unit, 1)))
            continue;
        for (QChar neighbour : { QChar(u'a'), QChar(0xAC00), unit }) {
            const QChar text[] = { neighbour, unit, neighbour };
            QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text, 3);
            for (qsizetype at = 1; at <= 2; ++at) {
                finder.setPosition(at);
                ASSERT_TRUE(finder.isAtBoundary())
                    << std::hex << uint32_t(u) << " next to " << neighbour.unicode();
            }
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

namespace {

/// Fragments "<000000>character</>" for the characters from index on, written through the
/// text's cursor; checks that they stay within the room the cursor asked for.
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

} // namespace

// Texts whose only joining unit is CR skip the boundary finder: their characters, counts and
// markup from any character on must be the finder's, in UTF-16 and UTF-8 alike.
TEST(CharacterText, CrLfFastPathMatchesTheBoundaryFinder)
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

        std::vector<qsizetype> starts { 0 };
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, c.text);
        for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary())
            starts.push_back(at);
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
