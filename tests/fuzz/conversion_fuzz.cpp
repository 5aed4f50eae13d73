// The conversions on any text, mode, options, colours and format, through both the window's
// UTF-16 path and the command-line tool's UTF-8 path.
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

#include "convert/characters.h"
#include "convert/conversion.h"
#include "ui/main_window/form1_state.h"
#include "ui/main_window/window_rules.h"
#include "engine/markup.h"

#include <QByteArray>

#include <algorithm>
#include <string>
#include <vector>

using namespace rainbow;
using rainbow::fuzz::check;

namespace {

/// Collects UTF-8 markup.
class Utf8Markup final : public MarkupSink<char> {
public:
    char *reserve(std::size_t units) override
    {
        m_used = m_text.size();
        m_text.resize(m_used + units + MarkupSink<char>::slack);
        return m_text.data() + m_used;
    }
    void commit(char *end) override { m_text.resize(std::size_t(end - m_text.data())); }
    const std::string &text() const { return m_text; }

private:
    std::string m_text;
    std::size_t m_used = 0;
};

struct Fragment {
    RgbTriple color;
    qsizetype start; // in the trimmed text
    QStringView character;
};

int hexValue(QChar c)
{
    const int v = QStringLiteral("0123456789ABCDEF").indexOf(c);
    check(v >= 0, "colour codes are upper-case hexadecimal");
    return v;
}

/// The markup taken apart into its fragments: open prefix, six digits, open suffix, the character
/// (at least one unit, up to the first close tag after it), close tag.
std::vector<Fragment> fragments(const QString &markup, const std::array<QString, 3> &tags)
{
    std::vector<Fragment> found;
    qsizetype at = 0;
    qsizetype textAt = 0;
    while (at < markup.size()) {
        check(QStringView(markup).mid(at).startsWith(tags[0]), "a fragment starts with the open prefix");
        at += tags[0].size();
        check(at + 6 <= markup.size(), "six digits follow the prefix");
        int c[6];
        for (int i = 0; i < 6; ++i)
            c[i] = hexValue(markup[at + i]);
        at += 6;
        check(QStringView(markup).mid(at).startsWith(tags[1]), "the open suffix follows the digits");
        at += tags[1].size();
        const qsizetype close = markup.indexOf(tags[2], at + 1);
        check(close > at, "a fragment holds a character and a close tag");
        const QStringView character = QStringView(markup).mid(at, close - at);
        found.push_back({ { int16_t(c[0] * 16 + c[1]), int16_t(c[2] * 16 + c[3]), int16_t(c[4] * 16 + c[5]) },
            textAt, character });
        textAt += character.size();
        at = close + tags[2].size();
    }
    return found;
}

bool between(int16_t value, int16_t a, int16_t b)
{
    return std::min(a, b) <= value && value <= std::max(a, b);
}

void checkConversion(Form1State form, const QString &text, bool wellFormed)
{
    form.Text1 = text;
    Command3_Click(form);
    const QStringView trimmed = trimSpaces(text);
    const qsizetype n = characterCount(trimmed);
    const bool refused = n > windowCharacterLimit
        || (!form.Option1
            && n < minimumRainbowLengthFor(form.Check2 == 1));
    check(refused == (form.LblInfo != messages::converted), "refused exactly when too short or too long");
    check(form.Command3Enabled, "the convert button is usable again");
    if (refused) {
        check(form.Text3.isEmpty(), "a refusal writes no markup");
        return;
    }

    const std::vector<Fragment> parts = fragments(form.Text3, form.Text2);
    QString joined;
    for (const Fragment &part : parts)
        joined += part.character;
    check(joined == trimmed, "the markup without its tags is the trimmed input");
    check(qsizetype(parts.size()) == n, "one fragment per character");
    check(form.RichTextBox1.text == trimmed, "the preview shows the trimmed input");
    for (const Fragment &part : parts) {
        check(!part.character.isEmpty(), "no fragment is empty");
        check(part.start == 0 || !trimmed[part.start - 1].isHighSurrogate()
                || !trimmed[part.start].isLowSurrogate(),
            "no fragment starts or ends inside a surrogate pair");
        for (qsizetype unit = part.start; unit < part.start + part.character.size(); ++unit)
            check(form.RichTextBox1.colorAt(unit) == packColor(part.color),
                "the preview has the markup's colours");
        const RgbTriple &c = part.color;
        if (form.Option1) {
            check(between(c.red, form.StartColor.red, form.EndColor.red)
                    && between(c.green, form.StartColor.green, form.EndColor.green)
                    && between(c.blue, form.StartColor.blue, form.EndColor.blue),
                "gradient components lie between start and end");
        } else {
            const int16_t high = std::max({ c.red, c.green, c.blue });
            const int16_t low = std::min({ c.red, c.green, c.blue });
            check(high == 255 && low == 0, "rainbow colours lie on the hue wheel");
        }
    }
    if (!parts.empty())
        check(form.Text3.endsWith(form.Text2[2]), "the markup ends with a close tag");

    if (!wellFormed)
        return;
    const QByteArray utf8 = text.toUtf8();
    Utf8Markup markup;
    const ConversionOutcome outcome = convertText(
        conversionSettings(form), std::string_view(utf8.constData(), std::size_t(utf8.size())), markup);
    check(messages::forOutcome(outcome) == form.LblInfo, "the UTF-8 path gives the same message");
    // Equal to the UTF-16 markup, its fragments split no UTF-8 sequence either.
    check(markup.text() == form.Text3.toStdString(), "the UTF-8 path gives the same markup");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    const uint8_t choice = input.byte();
    Form1State form;
    form.Option1 = (choice & 1) == 0;
    form.Check1 = (choice >> 1) & 1;
    form.Check2 = (choice >> 2) & 1;
    Combo1_Click(form, (choice >> 3) % 3);
    const bool rawUnits = (choice >> 5) & 1;
    if ((choice >> 6) & 1) {
        form.StartColor = { input.byte(), input.byte(), input.byte() };
        form.EndColor = { input.byte(), input.byte(), input.byte() };
    }
    if (rawUnits) {
        const QString text = input.restUnits();
        checkConversion(form, text, text.isValidUtf16());
    } else {
        // Bytes that are not UTF-8 become replacement characters, as a paste into the window would.
        const std::string bytes = input.restBytes();
        checkConversion(form, QString::fromUtf8(bytes.data(), qsizetype(bytes.size())), true);
    }
    return 0;
}
