#include "ui/main_window/window_rules.h"

#include <QString>

#include <gtest/gtest.h>

#include <string>

using namespace rainbow;

TEST(StylePictureIndex, FollowsTheTicksWithCheck2LooserThanCheck1)
{
    struct Case {
        const char *name;
        int check1;
        int check2;
        int index;
    };
    const Case cases[] = {
        { "neither ticked: plain", 0, 0, 0 },
        { "reverse alone: reverse", 1, 0, 1 },
        { "both: symmetric, reverse half first", 1, 1, 2 },
        { "symmetric alone: symmetric, forward half first", 0, 1, 3 },
        { "check1 of 2 is not ticked", 2, 0, 0 },
        { "check1 of -1 is not ticked", -1, 0, 0 },
        { "check1 of 2 with symmetric is forward first", 2, 1, 3 },
        { "check2 of 2 counts as ticked", 0, 2, 3 },
        { "check2 of -1 counts as ticked", 0, -1, 3 },
        { "check2 of 2 with reverse", 1, 2, 2 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stylePictureIndex(c.check1, c.check2), c.index);
    }
}

TEST(LongEnoughForRainbow, CountsTrimmedCharacters)
{
    struct Case {
        const char *name;
        QString input;
        bool enough;
    };
    const Case cases[] = {
        { "empty", QString(), false },
        { "five letters between spaces", QStringLiteral("  abcde  "), false },
        { "six letters between spaces", QStringLiteral("  abcdef  "), true },
        { "inner spaces count", QStringLiteral("a b cd"), true },
        { "six Chinese characters", QStringLiteral("青柚彩虹文字"), true },
        { "five Chinese characters", QStringLiteral("青柚彩虹文"), false },
        { "ideographic spaces are not trimmed", QStringLiteral("\u3000abcd\u3000"), true },
        { "a line break counts", QStringLiteral("abc\nde"), true },
        { "six accented letters in twelve units",
            QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301"), true },
        { "five emoji in ten units", QStringLiteral("😀😀😀😀😀"), false },
        // Long texts are judged by their start when it holds enough characters.
        { "a long line", QString(100000, u'x'), true },
        { "five characters, the first with 300 marks",
            u'a' + QString(300, QChar(0x0301)) + QStringLiteral("bcde"), false },
        { "six characters, the first with 300 marks",
            u'a' + QString(300, QChar(0x0301)) + QStringLiteral("bcdef"), true },
        { "six characters, the sixth with 300 marks", QStringLiteral("abcdef") + QString(300, QChar(0x0301)),
            true },
        { "five characters, the fifth with 300 marks", QStringLiteral("abcde") + QString(300, QChar(0x0301)),
            false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(longEnoughForRainbow(c.input), c.enough);
    }
}
