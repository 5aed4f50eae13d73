#include "ui/main_window/form1_state.h"
#include "ui/main_window/window_rules.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <string>

using namespace rainbow;

namespace {

struct Fragment {
    QString code;
    QString character;
};

/// The colour codes and characters of UBB markup.
std::vector<Fragment> fragments(const QString &markup)
{
    static const QRegularExpression tag(QStringLiteral(R"(\[color=#([0-9A-F]{6})\](.*?)\[/color\])"),
        QRegularExpression::DotMatchesEverythingOption);
    std::vector<Fragment> out;
    qsizetype consumed = 0;
    for (auto it = tag.globalMatch(markup); it.hasNext();) {
        const auto match = it.next();
        EXPECT_EQ(match.capturedStart(), consumed) << "text between fragments";
        consumed = match.capturedEnd();
        out.push_back({ match.captured(1), match.captured(2) });
    }
    EXPECT_EQ(consumed, markup.size());
    return out;
}

QStringList codes(const QString &markup)
{
    QStringList out;
    for (const Fragment &f : fragments(markup))
        out << f.code;
    return out;
}

QString hexCode(PackedColor color)
{
    const RgbTriple c = unpackColor(color);
    return QString::fromStdString(HexByte(c.red) + HexByte(c.green) + HexByte(c.blue));
}

Form1State gradient(const QString &input)
{
    Form1State form;
    form.Text1 = input;
    return form;
}

Form1State rainbowState(const QString &input, int reverse, int symmetric)
{
    Form1State form;
    form.Option1 = false;
    form.Check1 = reverse;
    form.Check2 = symmetric;
    form.Text1 = input;
    return form;
}

/// Every character's preview colour is the colour of its fragment.
void expectPreviewMatchesMarkup(const Form1State &form)
{
    qsizetype unit = 0;
    for (const Fragment &f : fragments(form.Text3)) {
        EXPECT_EQ(form.RichTextBox1.text.mid(unit, f.character.size()), f.character);
        for (qsizetype i = 0; i < f.character.size(); ++i)
            EXPECT_EQ(hexCode(form.RichTextBox1.colorAt(unit + i).value_or(-1)), f.code)
                << "unit " << unit + i;
        unit += f.character.size();
    }
    EXPECT_EQ(unit, form.RichTextBox1.text.size());
}

} // namespace

TEST(BuildGradientText, DefaultColoursOverAB)
{
    Form1State form = gradient(QStringLiteral("  AB  "));
    Command3_Click(form);
    EXPECT_EQ(form.Text3, QStringLiteral("[color=#8080C0]A[/color][color=#FF0080]B[/color]"));
    EXPECT_EQ(form.RichTextBox1.text, QStringLiteral("AB"));
    EXPECT_EQ(form.RichTextBox1.colorAt(0), packColor({ 128, 128, 192 }));
    EXPECT_EQ(form.RichTextBox1.colorAt(1), packColor({ 255, 0, 128 }));
    EXPECT_EQ(form.RichTextBox1.selStart, 1);
    EXPECT_EQ(form.RichTextBox1.selLength, 1);
    EXPECT_EQ(form.LblInfo, messages::converted);
    EXPECT_TRUE(form.Command3Enabled && form.Option1Enabled && form.Option2Enabled);
}

TEST(BuildGradientText, Cases)
{
    const struct {
        const char *name;
        QString input;
        RgbTriple start, end;
        QStringList expected;
    } cases[] = {
        { "one character gets the end colour", "x", { 0, 255, 255 }, { 255, 0, 128 }, { "FF0080" } },
        { "inner spaces are characters", "A B", { 0, 255, 255 }, { 255, 0, 128 },
            { "55AAD5", "AA55AA", "FF0080" } },
        { "four characters", "ABCD", { 0, 255, 255 }, { 255, 0, 128 },
            { "40BFDF", "8080C0", "BF40A0", "FF0080" } },
        { "equal colours everywhere", "ABC", { 9, 8, 7 }, { 9, 8, 7 }, { "090807", "090807", "090807" } },
        { "a line break is a character", "A\nB", { 0, 0, 0 }, { 255, 255, 255 },
            { "555555", "AAAAAA", "FFFFFF" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Form1State form = gradient(c.input);
        form.StartColor = c.start;
        form.EndColor = c.end;
        Command3_Click(form);
        EXPECT_EQ(codes(form.Text3), c.expected);
        expectPreviewMatchesMarkup(form);
    }
}

TEST(BuildGradientText, FiftyCharactersKeepSixDigitCodes)
{
    Form1State form = gradient(QString(50, u'字'));
    Command3_Click(form);
    const QStringList all = codes(form.Text3);
    ASSERT_EQ(all.size(), 50);
    EXPECT_EQ(all[2], QStringLiteral("0FF0F7"));
}

TEST(BuildGradientText, EmptyInputConvertsToNothing)
{
    for (const QString &input : { QString(), QStringLiteral("   ") }) {
        Form1State form = gradient(input);
        form.Text3 = QStringLiteral("old");
        form.RichTextBox1.setText(QStringLiteral("old"));
        form.RichTextBox1.colorSelection(0, 3, 42);
        Command3_Click(form);
        EXPECT_TRUE(form.Text3.isEmpty());
        EXPECT_TRUE(form.RichTextBox1.text.isEmpty());
        EXPECT_TRUE(form.RichTextBox1.colorRuns.empty());
        EXPECT_EQ(form.LblInfo, messages::converted);
        EXPECT_TRUE(form.Option1Enabled && form.Option2Enabled);
    }
}

TEST(BuildGradientText, FormatChangeAppliesToTheNextRun)
{
    Form1State form = gradient(QStringLiteral("AB"));
    Command3_Click(form);
    Combo1_Click(form, 1);
    EXPECT_TRUE(form.Text3.startsWith(QStringLiteral("[color=#"))) << "the old markup stays";
    Combo1_Click(form, 2);
    EXPECT_EQ(form.Text2[0], QStringLiteral("<font color=#"));
    EXPECT_EQ(form.Text2[1], QStringLiteral(">"));
    EXPECT_EQ(form.Text2[2], QStringLiteral("</font>"));
    Command3_Click(form);
    EXPECT_EQ(form.Text3, QStringLiteral("<font color=#8080C0>A</font><font color=#FF0080>B</font>"));
    for (const int unknown : { -1, 3, 7 }) {
        Combo1_Click(form, unknown);
        EXPECT_EQ(form.Text2[0], QStringLiteral("<font color=#"))
            << "unknown entry " << unknown << " changes nothing";
    }
}

TEST(BuildGradientText, ChecksAreIgnored)
{
    Form1State plain = gradient(QStringLiteral("ABC"));
    Form1State ticked = gradient(QStringLiteral("ABC"));
    ticked.Check1 = ticked.Check2 = 1;
    Command3_Click(plain);
    Command3_Click(ticked);
    EXPECT_EQ(plain.Text3, ticked.Text3);
}

TEST(Command3Click, RainbowVariantsOfTwelveCharacters)
{
    const struct {
        int reverse, symmetric;
        const char *codes;
    } cases[] = {
        { 0, 0, "FF8000 FFFF00 80FF00 00FF00 00FF80 00FFFF 0080FF 0000FF 8000FF FF00FF FF0080 FF0000" },
        { 1, 0, "FF0000 FF0080 FF00FF 8000FF 0000FF 0080FF 00FFFF 00FF80 00FF00 80FF00 FFFF00 FF8000" },
        { 0, 1, "FFFF00 00FF00 00FFFF 0000FF FF00FF FF0000 FF0000 FF00FF 0000FF 00FFFF 00FF00 FFFF00" },
        { 1, 1, "FF0000 FF00FF 0000FF 00FFFF 00FF00 FFFF00 FFFF00 00FF00 00FFFF 0000FF FF00FF FF0000" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.codes);
        Form1State form = rainbowState(QStringLiteral("ABCDEFGHIJKL"), c.reverse, c.symmetric);
        Command3_Click(form);
        EXPECT_EQ(codes(form.Text3).join(u' '), QString::fromLatin1(c.codes));
        EXPECT_EQ(form.LblInfo, messages::converted);
        expectPreviewMatchesMarkup(form);
    }
}

TEST(Command3Click, Refusals)
{
    const struct {
        const char *name;
        QString input;
        int symmetric;
        QString message;
    } cases[] = {
        { "five letters inside spaces", "  abcde  ", 0, messages::tooShortForRainbow },
        { "five letters, symmetric: the shorter rule first", "abcde", 1, messages::tooShortForRainbow },
        { "six letters, symmetric", "abcdef", 1, messages::tooShortForSymmetric },
        { "eleven letters, symmetric", "abcdefghijk", 1, messages::tooShortForSymmetric },
        { "five emoji are five characters", "😀😀😀😀😀", 0, messages::tooShortForRainbow },
        { "more characters than the window converts", QString(windowCharacterLimit + 1, u'x'), 0,
            messages::tooLongForWindow },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Form1State form = rainbowState(c.input, 0, c.symmetric);
        form.Text3 = QStringLiteral("earlier markup");
        form.RichTextBox1.setText(QStringLiteral("earlier"));
        form.RichTextBox1.colorSelection(0, 7, 255);
        Command3_Click(form);
        EXPECT_EQ(form.LblInfo, c.message);
        EXPECT_TRUE(form.Text3.isEmpty());
        EXPECT_EQ(form.RichTextBox1.text, QStringLiteral("earlier"));
        EXPECT_EQ(form.RichTextBox1.colorAt(6), 255);
        EXPECT_TRUE(form.Command3Enabled);
    }
}

TEST(Command3Click, TheCharacterLimitHoldsInGradientModeAndCountsCharacters)
{
    Form1State form;
    form.Text1 = QString(windowCharacterLimit + 1, u'x');
    Command3_Click(form);
    EXPECT_EQ(form.LblInfo, messages::tooLongForWindow);
    EXPECT_TRUE(form.Text3.isEmpty());
    EXPECT_TRUE(form.Command3Enabled);

    // Spaces around it are no characters of the text.
    form.Text1 = u' ' + QString(windowCharacterLimit - 1, u'x') + QStringLiteral("e\u0301 ");
    Command3_Click(form);
    EXPECT_EQ(form.LblInfo, messages::converted);
}

TEST(Command3Click, SixToElevenCharactersConvertWithoutSymmetry)
{
    Form1State form = rainbowState(QStringLiteral("  abcdef  "), 0, 0);
    Command3_Click(form);
    EXPECT_EQ(form.RichTextBox1.text, QStringLiteral("abcdef"));
    EXPECT_EQ(codes(form.Text3).front(), QStringLiteral("FFFF00"));
}

// The halves are h = n / 2 rounded half to even and n − h, each on its own wheel.
TEST(Command3Click, SymmetricHalves)
{
    const struct {
        int n, h;
    } cases[] = { { 12, 6 }, { 13, 6 }, { 14, 7 }, { 15, 8 }, { 25, 12 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.n);
        const QString input = QStringLiteral("abcdefghijklmnopqrstuvwxyz").left(c.n);
        for (int reverse : { 0, 1 }) {
            Form1State viaCommand = rainbowState(input, reverse, 1);
            Command3_Click(viaCommand);

            Form1State byHand = rainbowState(input, reverse, 1);
            DrawCHText(byHand, 1, c.h, reverse == 0, 0);
            DrawCHText(byHand, c.h + 1, c.n - c.h, reverse == 1, 0);
            EXPECT_EQ(viaCommand.Text3, byHand.Text3);
        }
    }
}

TEST(Command3Click, EmojiAndAccentsStayWhole)
{
    const QString input = QString::fromUtf16(u"😀e\u0301🇨🇳👨\u200D👩\u200D👧青a\r\nb");
    Form1State form = rainbowState(input, 0, 0);
    Command3_Click(form);
    const std::vector<Fragment> all = fragments(form.Text3);
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[0].character, QString::fromUtf16(u"😀"));
    EXPECT_EQ(all[1].character, QString::fromUtf16(u"e\u0301"));
    EXPECT_EQ(all[2].character, QString::fromUtf16(u"🇨🇳"));
    EXPECT_EQ(all[3].character, QString::fromUtf16(u"👨\u200D👩\u200D👧"));
    EXPECT_EQ(all[6].character, QStringLiteral("\r\n"));
    expectPreviewMatchesMarkup(form);
}

// Texts in Indic and Southeast Asian scripts, and emoji with selectors and keycaps, were once cut
// inside their characters: every character whole, one fragment each, or the length refusal.
TEST(Command3Click, EveryScriptKeepsItsCharactersWhole)
{
    const struct {
        const char *name;
        bool rainbow;
        const char16_t *input;
        std::vector<const char16_t *> characters; // empty: refused as too short
    } cases[] = {
        { "Devanagari before an emoji", false, u"क😀", { u"क", u"😀" } },
        { "five characters are too few for a rainbow", true, u"नमस्ते 😀", {} },
        { "Thai and a skin tone: five characters", true, u"ไทย 👍🏽", {} },
        { "Thai and a skin tone in gradient", false, u"ไทย 👍🏽",
            { u"ไ", u"ท", u"ย", u" ", u"👍🏽" } },
        { "variation selector", false, u"क ❤️", { u"क", u" ", u"❤️" } },
        { "keycap", false, u"क 1️⃣", { u"क", u" ", u"1️⃣" } },
        { "Myanmar marks stay on their bases", false, u"မြန်မာ", { u"မြ", u"န်", u"မ", u"ာ" } },
        { "a conjunct is one character", false, u"नमस्ते", { u"न", u"म", u"स्ते" } },
        { "a space that carries an accent is kept", false, u"  \u0301ab", { u" \u0301", u"a", u"b" } },
        { "Khmer and Tamil in a rainbow", true, u"ស្រីதமிழ்ab", { u"ស្", u"រី", u"த", u"மி", u"ழ்", u"a", u"b" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString input = QString::fromUtf16(c.input);
        Form1State form = c.rainbow ? rainbowState(input, 0, 0) : gradient(input);
        Command3_Click(form);
        if (c.characters.empty()) {
            EXPECT_EQ(form.LblInfo, messages::tooShortForRainbow);
            EXPECT_TRUE(form.Text3.isEmpty());
            continue;
        }
        EXPECT_EQ(form.LblInfo, messages::converted);
        const std::vector<Fragment> all = fragments(form.Text3);
        ASSERT_EQ(all.size(), c.characters.size());
        for (std::size_t i = 0; i < all.size(); ++i)
            EXPECT_EQ(all[i].character, QString::fromUtf16(c.characters[i])) << "character " << i;
        expectPreviewMatchesMarkup(form);
    }
    Form1State form = gradient(QString::fromUtf16(u"क😀"));
    Command3_Click(form);
    EXPECT_EQ(form.Text3, QStringLiteral("[color=#8080C0]क[/color][color=#FF0080]😀[/color]"));
}

TEST(DrawCHText, SevenLettersOnASixPositionWheel)
{
    const struct {
        bool inOrder;
        const char *codes;
    } cases[] = {
        { true, "FFFF00 00FF00 00FFFF 0000FF FF00FF FF0000 FFFF00" },
        { false, "FFFF00 FF0000 FF00FF 0000FF 00FFFF 00FF00 FFFF00" },
    };
    for (const auto &c : cases) {
        Form1State form;
        form.Text1 = QStringLiteral("abcdefg");
        form.RichTextBox1.setText(QStringLiteral("abcdefg"));
        form.Text3 = QStringLiteral("[kept]");
        DrawCHText(form, 1, 7, c.inOrder, 0);
        EXPECT_TRUE(form.Text3.startsWith(QStringLiteral("[kept][color=#"))) << "appends";
        EXPECT_EQ(codes(form.Text3.mid(6)).join(u' '), QString::fromLatin1(c.codes));
        EXPECT_EQ(form.RainbowColor, (RgbTriple { 255, 255, 0 }));
        EXPECT_EQ(form.RichTextBox1.selStart, 6);
        EXPECT_TRUE(form.Option1Enabled && form.Option2Enabled);
    }
}

TEST(DrawCHText, ColourDependsOnlyOnThePlaceInTheSegment)
{
    Form1State form;
    form.Text1 = QStringLiteral("abcdefghijkl");
    DrawCHText(form, 7, 6, true, 0);
    EXPECT_EQ(form.Text3,
        QStringLiteral("[color=#FFFF00]g[/color][color=#00FF00]h[/color][color=#00FFFF]i[/color]"
                       "[color=#0000FF]j[/color][color=#FF00FF]k[/color][color=#FF0000]l[/color]"));
    EXPECT_EQ(form.RichTextBox1.colorAt(6), packColor({ 255, 255, 0 }));
    EXPECT_FALSE(form.RichTextBox1.colorAt(5).has_value());
}

TEST(DrawCHText, RefusesSegmentsItCannotDraw)
{
    Form1State form;
    form.Text1 = QStringLiteral("abcdefghijkl");
    EXPECT_THROW(DrawCHText(form, 1, 5, true, 0), std::domain_error);
    EXPECT_THROW(DrawCHText(form, 0, 6, true, 0), std::out_of_range);
    EXPECT_THROW(DrawCHText(form, 8, 6, true, 0), std::out_of_range);
    EXPECT_TRUE(form.Text3.isEmpty());
    EXPECT_TRUE(form.RichTextBox1.colorRuns.empty());
}

// Runs of one colour join only where they touch: a gap between them stays in the default colour.
TEST(RichTextState, EqualColoursJoinOnlyWhereTheyTouch)
{
    RichTextState preview;
    preview.setText(QStringLiteral("abcdefg"));
    preview.colorSelection(0, 2, 1);
    preview.colorSelection(2, 1, 1);
    preview.colorSelection(4, 2, 1);
    EXPECT_EQ(preview.colorRuns, (std::vector<ColorRun> { { 0, 3, 1 }, { 4, 2, 1 } }));
    EXPECT_EQ(preview.colorAt(3), std::nullopt);
    EXPECT_EQ(preview.colorAt(6), std::nullopt);
    EXPECT_THROW(preview.colorSelection(1, 1, 2), std::invalid_argument) << "colours go in text order";
}

// The preview is coloured a span of equal colour at a time; it must still end as colouring one
// character at a time leaves it: the last character selected.
TEST(Command3Click, LeavesTheLastCharacterSelected)
{
    const struct {
        const char *name;
        Form1State form;
        qsizetype selStart, selLength;
    } cases[] = {
        { "one colour for 1000 characters", gradient(QString(1000, u'a')), 999, 1 },
        { "rainbow ending in an emoji", rainbowState(QString(5000, u'字') + QString::fromUtf16(u"😀"), 0, 1),
            5000, 2 },
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        c.form.StartColor = c.form.EndColor = { 1, 2, 3 };
        Command3_Click(c.form);
        EXPECT_EQ(c.form.RichTextBox1.selStart, c.selStart);
        EXPECT_EQ(c.form.RichTextBox1.selLength, c.selLength);
    }
    Form1State segment = rainbowState(QStringLiteral("abcdefghijklmnop"), 0, 0);
    DrawCHText(segment, 3, 6, true, 0);
    EXPECT_EQ(segment.RichTextBox1.selStart, 7);
    EXPECT_EQ(segment.RichTextBox1.selLength, 1);
}

// The markup's size is known before it is written: Text3 is allocated once, at that size (a
// string grown piece by piece would carry the slack of its last doubling).
TEST(Command3Click, AllocatesTheMarkupOnceAtItsSize)
{
    for (int symmetric : { 0, 1 }) {
        Form1State form = rainbowState(QString(30000, u'字') + QString::fromUtf16(u"😀e\u0301"), 0, symmetric);
        Command3_Click(form);
        EXPECT_EQ(form.LblInfo, messages::converted);
        EXPECT_LE(form.Text3.capacity(), form.Text3.size() + 64) << "symmetric " << symmetric;
    }
}
