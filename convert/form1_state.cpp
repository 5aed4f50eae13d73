#include "convert/form1_state.h"

#include "convert/conversion_core.h"
#include "convert/window_rules.h"

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

/// The window's preview, which shows the trimmed input: each span's colour.
class WindowPreview final : public ColorSpanSink<char16_t> {
public:
    explicit WindowPreview(RichTextState &box)
        : m_box(box)
    {
    }

    void colored(const RgbTriple &color, std::size_t first, std::size_t end) override
    {
        m_box.colorSelection(qsizetype(first), qsizetype(end - first), packColor(color));
    }

private:
    RichTextState &m_box;
};

/// Colouring one character at a time would leave it selected: so does colouring span by span.
void selectCharacter(RichTextState &preview, const CharacterText &text, qsizetype index)
{
    preview.selStart = text.unitStart(index);
    preview.selLength = text.unitStart(index + 1) - preview.selStart;
}

CharacterText trimmedInput(const Form1State &form) { return CharacterText(core::trimmed(form.Text1)); }

// The operations on the trimmed input, read once by the convert command for all its calls.

void buildGradientText(Form1State &form, const CharacterText &text)
{
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    ConversionSettings settings = conversionSettings(form);
    settings.mode = ConversionMode::Gradient;
    core::PreparedConversion<char16_t> prepared(std::move(settings));
    QString markup;
    AppendToString sink(markup);
    WindowPreview preview(form.RichTextBox1);
    core::convertCharacters(prepared, text, sink, &preview);
    if (text.size() > 0)
        selectCharacter(form.RichTextBox1, text, text.size() - 1);
    form.Text3 = std::move(markup);
    form.Option1Enabled = true;
    form.Option2Enabled = true;
}

void drawCHText(Form1State &form, const CharacterText &text, const RainbowSegment &segment)
{
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

} // namespace

void Combo1_Click(Form1State &form, int listIndex)
{
    if (listIndex < 0 || listIndex >= int(allMarkupFormats.size()))
        return;
    form.Text2 = templateBoxes(markupTemplate(allMarkupFormats[size_t(listIndex)]));
}

void BuildGradientText(Form1State &form) { buildGradientText(form, trimmedInput(form)); }

void DrawCHText(Form1State &form, int32_t Start, int32_t Length, bool InOrder, int32_t ColorStart)
{
    drawCHText(form, trimmedInput(form), { Start, Length, InOrder, ColorStart });
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
    const int32_t n = core::checkedCount(text.size());
    const ConversionSettings settings = conversionSettings(form);
    const ConversionOutcome outcome = checkLength(settings.mode, settings.symmetric, n);
    if (outcome == ConversionOutcome::Converted) {
        form.RichTextBox1.setText(text.text());
        if (settings.mode == ConversionMode::Gradient) {
            buildGradientText(form, text);
        } else {
            // Room for both halves at once, so the second does not move the first.
            const qsizetype fixedSize
                = form.Text2[0].size() + 6 + form.Text2[1].size() + form.Text2[2].size();
            form.Text3.reserve(n * fixedSize + qsizetype(MarkupSink<char16_t>::slack) + text.text().size());
            for (const RainbowSegment &segment : rainbowSegments(settings.reverse, settings.symmetric, n))
                drawCHText(form, text, segment);
        }
    }
    form.Command3Enabled = true;
    form.LblInfo = messages::forOutcome(outcome);
}

} // namespace rainbow
