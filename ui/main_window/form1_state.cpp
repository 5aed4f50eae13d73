#include "ui/main_window/form1_state.h"

#include "convert/conversion_core.h"
#include "ui/main_window/window_rules.h"

#include <algorithm>
#include <stdexcept>

namespace rainbow {

void RichTextState::setText(QString newText)
{
    text = std::move(newText);
    colorRuns.clear();
    selStart = 0;
    selLength = 0;
    ++textRevision;
}

void RichTextState::colorSelection(qsizetype start, qsizetype length, PackedColor color)
{
    selStart = start;
    selLength = length;
    if (length <= 0)
        return;
    ColorRun *last = colorRuns.empty() ? nullptr : &colorRuns.back();
    if (last && last->start + last->length > start)
        throw std::invalid_argument("preview coloured out of text order");
    if (last && last->color == color && last->start + last->length == start)
        last->length += length;
    else
        colorRuns.push_back({ start, length, color });
}

std::optional<PackedColor> RichTextState::colorAt(qsizetype unit) const
{
    const auto after = std::upper_bound(colorRuns.begin(), colorRuns.end(), unit,
        [](qsizetype u, const ColorRun &run) { return u < run.start; });
    if (after == colorRuns.begin())
        return std::nullopt;
    const ColorRun &run = *std::prev(after);
    if (unit < run.start + run.length)
        return run.color;
    return std::nullopt;
}

std::array<QString, 3> templateBoxes(const MarkupTemplate &markup)
{
    return { QString::fromStdString(markup.OpenPrefix), QString::fromStdString(markup.OpenSuffix),
        QString::fromStdString(markup.CloseTag) };
}

ConversionSettings conversionSettings(const Form1State &form)
{
    ConversionSettings settings;
    settings.mode = form.Option1 ? ConversionMode::Gradient : ConversionMode::Rainbow;
    settings.reverse = form.Check1 == 1;
    settings.symmetric = form.Check2 == 1;
    settings.markup
        = { form.Text2[0].toStdString(), form.Text2[1].toStdString(), form.Text2[2].toStdString() };
    settings.startColor = form.StartColor;
    settings.endColor = form.EndColor;
    return settings;
}

namespace {

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
    char16_t *data() { return reinterpret_cast<char16_t *>(m_out.data()); }

    QString &m_out;
};

/// The window's preview, which shows the trimmed input: each span's colour. With a text to show,
/// the preview takes it once the conversion is under way (a refused one leaves the preview be).
class WindowPreview final : public ColorSpanSink<char16_t> {
public:
    explicit WindowPreview(RichTextState &box, const QString *textToShow = nullptr)
        : m_box(box)
        , m_textToShow(textToShow)
    {
    }

    void start(std::u16string_view) override
    {
        if (m_textToShow)
            m_box.setText(*m_textToShow);
    }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        m_box.colorSelection(qsizetype(first), qsizetype(end - first), packColor(color));
        m_last = color;
    }

    /// The colour of the last character coloured.
    const RgbTriple &last() const { return m_last; }

private:
    RichTextState &m_box;
    const QString *m_textToShow;
    RgbTriple m_last { 0, 0, 0 };
};

/// Colouring one character at a time would leave it selected: so does colouring span by span.
void selectCharacter(RichTextState &preview, const CharacterText &text, qsizetype index)
{
    preview.selStart = text.unitStart(index);
    preview.selLength = text.unitStart(index + 1) - preview.selStart;
}

CharacterText trimmedInput(const Form1State &form) { return CharacterText(core::trimmed(form.Text1)); }

// The operations on the trimmed input, read once by the convert command.

/// The whole text converted as the settings say, the markup in Text3 and the colours in the
/// preview, which first takes the text when showText; a rainbow leaves its last colour in
/// RainbowColor. A refused rainbow changes nothing.
ConversionOutcome convertWhole(
    Form1State &form, const CharacterText &text, ConversionSettings settings, bool showText)
{
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    core::PreparedConversion<char16_t> prepared(std::move(settings));
    QString markup;
    AppendToString sink(markup);
    WindowPreview preview(form.RichTextBox1, showText ? &text.text() : nullptr);
    const ConversionOutcome outcome = core::convertCharacters(prepared, text, sink, &preview);
    if (outcome == ConversionOutcome::Converted) {
        if (text.size() > 0)
            selectCharacter(form.RichTextBox1, text, text.size() - 1);
        form.Text3 = std::move(markup);
        if (prepared.settings.mode == ConversionMode::Rainbow)
            form.RainbowColor = preview.last();
    }
    form.Option1Enabled = true;
    form.Option2Enabled = true;
    return outcome;
}

} // namespace

void Combo1_Click(Form1State &form, int listIndex)
{
    if (listIndex < 0 || listIndex >= int(allMarkupFormats.size()))
        return;
    form.Text2 = templateBoxes(markupTemplate(allMarkupFormats[size_t(listIndex)]));
}

void BuildGradientText(Form1State &form)
{
    ConversionSettings settings = conversionSettings(form);
    settings.mode = ConversionMode::Gradient;
    convertWhole(form, trimmedInput(form), std::move(settings), false);
}

void DrawCHText(Form1State &form, int32_t Start, int32_t Length, bool InOrder, int32_t ColorStart)
{
    const CharacterText text = trimmedInput(form);
    const RainbowSegment segment { Start, Length, InOrder, ColorStart };
    const HueWheel wheel(segment.Length); // refuses short segments before anything changes
    if (segment.Start < 1 || qsizetype(segment.Start) - 1 + segment.Length > text.size())
        throw std::out_of_range("rainbow segment outside the text");
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    AppendToString sink(form.Text3);
    ConversionSettings settings = conversionSettings(form);
    settings.mode = ConversionMode::Rainbow;
    core::PreparedConversion<char16_t> prepared(std::move(settings));
    FragmentWriter<char16_t> &writer = prepared.writer;
    const qsizetype first = segment.Start - 1;
    const qsizetype last = first + segment.Length - 1;
    sink.expect(std::size_t(segment.Length) * writer.fixedSize()
        + std::size_t(text.unitStart(last + 1) - text.unitStart(first)));
    core::RainbowSegmentSpans spans({ segment }, form.RainbowColor);
    WindowPreview preview(form.RichTextBox1);
    core::writeColored(writer, spans, text, first, segment.Length, {}, sink, &preview);
    form.RainbowColor = spans.last();
    selectCharacter(form.RichTextBox1, text, last);
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
    // A rainbow runs DrawCHText's segments one after another (rainbowSegments), in one pass.
    const ConversionOutcome outcome = convertWhole(form, text, conversionSettings(form), true);
    form.Command3Enabled = true;
    form.LblInfo = messages::forOutcome(outcome);
}

} // namespace rainbow
