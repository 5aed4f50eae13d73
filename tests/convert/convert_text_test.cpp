#include "convert/conversion.h"
#include "ui/main_window/form1_state.h"

#include "tests/support/mixed_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace rainbow;
using rainbow::test::mixedText;

namespace {

/// Takes the markup batch by batch into fresh room each time, and checks that no batch runs
/// past the units it asked for (the slack after them may be scribbled on).
template <typename CharT> class BatchSink final : public MarkupSink<CharT> {
public:
    std::basic_string<CharT> text;
    std::size_t expected = 0;

    void expect(std::size_t units) override { expected = units; }
    CharT *reserve(std::size_t units) override
    {
        m_asked = units;
        m_room.assign(units + MarkupSink<CharT>::slack, CharT('?'));
        return m_room.data();
    }
    void commit(CharT *end) override
    {
        const auto written = std::size_t(end - m_room.data());
        EXPECT_LE(written, m_asked);
        text.append(m_room.data(), written);
    }

private:
    std::vector<CharT> m_room;
    std::size_t m_asked = 0;
};

std::u16string utf16(const QString &s)
{
    return { reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()) };
}

} // namespace

// The window's Command3_Click and the streaming conversions of the command-line tool must give
// the same markup and message for every mode and format, through the fast path (every code unit
// a character) and the boundary finder alike, over spans longer than a batch.
TEST(ConvertText, MatchesCommand3ClickForEveryModeAndFormat)
{
    const std::vector<QString> clusters = test::clusters();
    const struct {
        const char *name;
        QString text;
    } texts[] = {
        { "ASCII and CJK, 20000 characters", mixedText(20000) },
        { "emoji, flags, accents, CR LF and jamo among them", mixedText(20000, 37, clusters) },
        { "CR LF and lone CR line breaks, no other joining", mixedText(20000, 80, { "\r\n", "\r" }) },
        { "one accent at the very end", mixedText(3000) + QString::fromUtf16(u"e\u0301") },
        { "a byte-order mark first", QChar(0xFEFF) + mixedText(50) },
        { "two-byte letters and symbols", QString::fromUtf16(u"©é±ß×ñ¼ÀЖЯ") },
        { "spaces around, tabs kept", QString::fromUtf16(u"   \t青柚 彩虹 文字\t  ") },
        { "twelve characters", QString::fromUtf16(u"青柚彩虹文字abcdef") },
        { "thirteen characters", QString::fromUtf16(u"青柚彩虹文字abcdefg") },
        { "seven characters", QString::fromUtf16(u"😀青柚彩虹文字") },
        { "five characters", QString::fromUtf16(u"  青柚彩虹字  ") },
        { "nothing but spaces", QStringLiteral("   ") },
    };
    const struct {
        const char *name;
        bool gradient;
        int reverse, symmetric;
    } modes[] = { { "gradient", true, 0, 0 }, { "rainbow", false, 0, 0 }, { "reverse", false, 1, 0 },
        { "symmetric", false, 0, 1 }, { "reverse symmetric", false, 1, 1 } };

    for (const auto &text : texts) {
        for (const auto &mode : modes) {
            for (int format = 0; format < 3; ++format) {
                SCOPED_TRACE(testing::Message() << text.name << ", " << mode.name << ", format " << format);
                ConversionSettings settings;
                settings.mode = mode.gradient ? ConversionMode::Gradient : ConversionMode::Rainbow;
                settings.reverse = mode.reverse == 1;
                settings.symmetric = mode.symmetric == 1;
                settings.markup = markupTemplate(allMarkupFormats[std::size_t(format)]);
                settings.startColor = { 12, 200, 99 };
                settings.endColor = { 250, 3, 128 };

                Form1State window;
                Combo1_Click(window, format);
                window.Option1 = mode.gradient;
                window.Check1 = mode.reverse;
                window.Check2 = mode.symmetric;
                window.StartColor = settings.startColor;
                window.EndColor = settings.endColor;
                window.Text1 = text.text;
                Command3_Click(window);

                BatchSink<char> utf8;
                EXPECT_EQ(messages::forOutcome(convertText(settings, text.text.toStdString(), utf8)),
                    window.LblInfo);
                EXPECT_EQ(utf8.text, window.Text3.toStdString());

                BatchSink<char16_t> utf16Sink;
                EXPECT_EQ(messages::forOutcome(convertText(settings, text.text, utf16Sink)), window.LblInfo);
                EXPECT_EQ(utf16Sink.text, utf16(window.Text3));
                if (window.LblInfo == messages::converted)
                    EXPECT_EQ(utf16Sink.expected, utf16Sink.text.size()) << "the size announced in advance";
                else
                    EXPECT_TRUE(utf16Sink.text.empty() && utf8.text.empty());
            }
        }
    }
}
