#include "conversion.h"

#include "characters.h"
#include "hue_wheel.h"
#include "window_rules.h"

#include <QByteArray>

#include <limits>
#include <stdexcept>
#include <vector>

namespace rainbow {

namespace {

std::u16string_view view(const QString &s)
{
    return { reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()) };
}

template <typename CharT> FragmentWriter<CharT> fragmentWriter(const Form1State &form);

template <> FragmentWriter<char16_t> fragmentWriter(const Form1State &form)
{
    return { view(form.Text2[0]), view(form.Text2[1]), view(form.Text2[2]) };
}

template <> FragmentWriter<char> fragmentWriter(const Form1State &form)
{
    const QByteArray prefix = form.Text2[0].toUtf8();
    const QByteArray suffix = form.Text2[1].toUtf8();
    const QByteArray close = form.Text2[2].toUtf8();
    const auto bytes = [](const QByteArray &a) { return std::string_view(a.constData(), size_t(a.size())); };
    return { bytes(prefix), bytes(suffix), bytes(close) };
}

/// Appends markup to a QString; a size announced by expect is allocated at once.
class AppendToString final : public MarkupSink<char16_t> {
public:
    explicit AppendToString(QString &out)
        : m_out(out)
    {
    }

    void expect(std::size_t units) override { m_out.reserve(m_out.size() + qsizetype(units + slack)); }

    char16_t *reserve(std::size_t units) override
    {
        const qsizetype used = m_out.size();
        m_out.resize(used + qsizetype(units + slack)); // within the capacity once expect has run
        return data() + used;
    }

    void commit(char16_t *end) override { m_out.resize(end - data()); } // keeps the capacity

private:
    static constexpr std::size_t slack = FragmentWriter<char16_t>::slack;

    char16_t *data() { return reinterpret_cast<char16_t *>(m_out.data()); }

    QString &m_out;
};

/// The window's preview: shows the trimmed input, then takes each span's colour.
struct WindowPreview {
    RichTextState &box;
    const QString &text;

    void show() const { box.setText(text); }
    void operator()(const RgbTriple &color, std::size_t first, std::size_t end) const
    {
        box.colorSelection(qsizetype(first), qsizetype(end - first), packColor(color));
    }
};

/// Front ends without a preview.
struct NoPreview {
    void show() const { }
    void operator()(const RgbTriple &, std::size_t, std::size_t) const { }
};

/// A preview of the caller's own, told each span.
struct ListenerPreview {
    const SpanListener &listener;

    void show() const { }
    void operator()(const RgbTriple &color, std::size_t first, std::size_t end) const
    {
        listener(color, first, end);
    }
};

/// Colouring one character at a time would leave it selected: so does colouring span by span.
void selectCharacter(RichTextState &preview, const CharacterText &text, qsizetype index)
{
    preview.selStart = text.unitStart(index);
    preview.selLength = text.unitStart(index + 1) - preview.selStart;
}

int32_t checkedCount(qsizetype n)
{
    if (n > std::numeric_limits<int32_t>::max())
        throw std::overflow_error("text of more than 2^31 - 1 characters");
    return int32_t(n);
}

/// The text without its outer spaces, sharing the text's data when there are none.
QString trimmed(const QString &text)
{
    const QStringView inner = trimSpaces(text);
    return inner.size() == text.size() ? text : inner.toString();
}

CharacterText trimmedInput(const Form1State &form) { return CharacterText(trimmed(form.Text1)); }

/// The arguments of one DrawCHText call.
struct SegmentCall {
    int32_t Start;
    int32_t Length;
    bool InOrder;
    int32_t ColorStart;
};

/// The DrawCHText calls of the convert command's rainbow over n characters, in order.
std::vector<SegmentCall> rainbowCalls(const Form1State &form, int32_t n)
{
    const bool reverse = form.Check1 == 1;
    if (form.Check2 != 1)
        return { { 1, n, !reverse, 0 } };
    const int32_t h = int32_t(roundHalfEven(n / 2.0));
    return { { 1, h, !reverse, 0 }, { h + 1, n - h, reverse, 0 } };
}

// The conversions proper, for UTF-16 (the window) and UTF-8 (the command-line tool) alike. Text
// is CharacterText or Utf8CharacterText; onSpan learns where each colour goes in the text.

/// BuildGradientText: character k of n gets the colour k/n of the way from start to end.
template <typename CharT, typename Text, typename OnSpan>
void writeGradient(const Form1State &form, const Text &text, FragmentWriter<CharT> &writer,
    MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    const int32_t n = checkedCount(text.size());
    if (n == 0)
        return;
    GradientSpans spans(form.StartColor, form.EndColor, n);
    text.visitFrom(0, [&](auto cursor) { writeSpans(writer, spans, cursor, sink, onSpan); });
}

/// DrawCHText on a segment inside the text; returns the colour left in RainbowColor.
template <typename CharT, typename Text, typename OnSpan>
RgbTriple writeRainbow(const Text &text, const HueWheel &wheel, const SegmentCall &call,
    const RgbTriple &rainbowColor, FragmentWriter<CharT> &writer, MarkupSink<CharT> &sink, OnSpan &&onSpan)
{
    RainbowSpans spans(wheel, call.Length, call.InOrder, call.ColorStart, rainbowColor);
    text.visitFrom(call.Start - 1, [&](auto cursor) { writeSpans(writer, spans, cursor, sink, onSpan); });
    return spans.last();
}

/// The convert command after trimming: the checks, then the whole markup into sink, the preview
/// shown and coloured as it goes. Returns the status message.
template <typename CharT, typename Text, typename Preview>
const QString &convertCharacters(const Form1State &form, const Text &text, std::size_t textUnits,
    MarkupSink<CharT> &sink, const Preview &preview, RgbTriple &rainbowColor)
{
    const int32_t n = checkedCount(text.size());
    if (!form.Option1) {
        if (n < minimumRainbowLength)
            return messages::tooShortForRainbow;
        if (n < 2 * minimumRainbowLength && form.Check2 == 1)
            return messages::tooShortForSymmetric;
    }
    preview.show();
    FragmentWriter<CharT> writer = fragmentWriter<CharT>(form);
    // Every mode gives each character one fragment: the markup's size is known now.
    sink.expect(std::size_t(n) * writer.fixedSize() + textUnits);
    if (form.Option1) {
        writeGradient(form, text, writer, sink, preview);
    } else {
        for (const SegmentCall &call : rainbowCalls(form, n))
            rainbowColor
                = writeRainbow(text, HueWheel(call.Length), call, rainbowColor, writer, sink, preview);
    }
    return messages::converted;
}

} // namespace

void Combo1_Click(Form1State &form, int listIndex)
{
    if (listIndex < 0 || listIndex >= int(allMarkupFormats.size()))
        return;
    const MarkupTemplate markup = markupTemplate(allMarkupFormats[size_t(listIndex)]);
    form.Text2 = { QString::fromStdString(markup.OpenPrefix), QString::fromStdString(markup.OpenSuffix),
        QString::fromStdString(markup.CloseTag) };
}

void BuildGradientText(Form1State &form)
{
    const CharacterText text = trimmedInput(form);
    const int32_t n = checkedCount(text.size());
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    QString markup;
    AppendToString sink(markup);
    FragmentWriter<char16_t> writer = fragmentWriter<char16_t>(form);
    sink.expect(std::size_t(n) * writer.fixedSize() + std::size_t(text.text().size()));
    writeGradient(form, text, writer, sink, WindowPreview { form.RichTextBox1, text.text() });
    if (n > 0)
        selectCharacter(form.RichTextBox1, text, n - 1);
    form.Text3 = std::move(markup);
    form.Option1Enabled = true;
    form.Option2Enabled = true;
}

void DrawCHText(Form1State &form, int32_t Start, int32_t Length, bool InOrder, int32_t ColorStart)
{
    const CharacterText text = trimmedInput(form);
    const HueWheel wheel(Length); // refuses short segments before anything changes
    if (Start < 1 || qsizetype(Start) - 1 + Length > text.size())
        throw std::out_of_range("rainbow segment outside the text");
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    AppendToString sink(form.Text3);
    FragmentWriter<char16_t> writer = fragmentWriter<char16_t>(form);
    const qsizetype first = Start - 1;
    sink.expect(std::size_t(Length) * writer.fixedSize()
        + std::size_t(text.unitStart(first + Length) - text.unitStart(first)));
    form.RainbowColor = writeRainbow(text, wheel, { Start, Length, InOrder, ColorStart }, form.RainbowColor,
        writer, sink, WindowPreview { form.RichTextBox1, text.text() });
    selectCharacter(form.RichTextBox1, text, first + Length - 1);
    form.Option1Enabled = true;
    form.Option2Enabled = true;
}

void Command3_Click(Form1State &form)
{
    form.Command3Enabled = false;
    form.LblInfo = messages::converting;
    form.Text3.clear();
    const CharacterText text = trimmedInput(form);
    if (text.size() > windowCharacterLimit) {
        form.LblInfo = messages::tooLongForWindow;
        form.Command3Enabled = true;
        return;
    }
    AppendToString sink(form.Text3);
    form.LblInfo = convertCharacters(form, text, std::size_t(text.text().size()), sink,
        WindowPreview { form.RichTextBox1, text.text() }, form.RainbowColor);
    if (form.LblInfo == messages::converted) {
        if (text.size() > 0)
            selectCharacter(form.RichTextBox1, text, text.size() - 1);
        form.Option1Enabled = true;
        form.Option2Enabled = true;
    }
    form.Command3Enabled = true;
}

QString convertText(const Form1State &settings, std::string_view text, MarkupSink<char> &sink)
{
    return convertText(settings, text, sink, SpanListener());
}

QString convertText(
    const Form1State &settings, std::string_view text, MarkupSink<char> &sink, const SpanListener &onSpan)
{
    const std::string_view inner = trimSpaces(text);
    const Utf8CharacterText characters(inner);
    RgbTriple rainbowColor = settings.RainbowColor;
    if (!onSpan)
        return convertCharacters(
            settings, characters, characters.text().size(), sink, NoPreview {}, rainbowColor);
    return convertCharacters(
        settings, characters, characters.text().size(), sink, ListenerPreview { onSpan }, rainbowColor);
}

QString convertText(const Form1State &settings, const QString &text, MarkupSink<char16_t> &sink)
{
    const CharacterText characters(trimmed(text));
    RgbTriple rainbowColor = settings.RainbowColor;
    return convertCharacters(
        settings, characters, std::size_t(characters.text().size()), sink, NoPreview {}, rainbowColor);
}

} // namespace rainbow
