#include "characters.h"

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

// The fast path trusts that a unit it lets through never joins a neighbour; check that against
// Qt's own boundaries for every code unit of the BMP.
TEST(EveryUnitIsACharacter, AgreesWithTheBoundaryFinder)
{
    for (char32_t u = 0; u < 0x10000; ++u) {
        const QChar unit(static_cast<char16_t>(u));
        if (!everyUnitIsACharacter(QStringView(&unit, 1)))
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
TEST(EveryCodePointIsACharacter, AgreesWithEveryUnitIsACharacter)
{
    for (char32_t u = 0; u < 0x10000; ++u) {
        if (u >= 0xD800 && u <= 0xDFFF)
            continue; // no UTF-8 form
        const QString text = QStringLiteral("a") + QChar(char16_t(u)) + QStringLiteral("青");
        ASSERT_EQ(everyCodePointIsACharacter(text.toStdString()), everyUnitIsACharacter(text))
            << std::hex << uint32_t(u);
    }
    EXPECT_FALSE(everyCodePointIsACharacter("ab\xF0\x9F\x98\x80"));
    EXPECT_FALSE(everyCodePointIsACharacter("a\xF0\xA0\x80\x80")); // a CJK ideograph outside the BMP
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
