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
