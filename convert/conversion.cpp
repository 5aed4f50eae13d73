#include "conversion.h"

#include "characters.h"
#include "hue_wheel.h"

#include <limits>
#include <stdexcept>

namespace rainbow {

namespace {

std::u16string_view view(const QString &s)
{
    return { reinterpret_cast<const char16_t *>(s.utf16()), size_t(s.size()) };
}

FragmentWriter<char16_t> fragmentWriter(const Form1State &form)
{
    return { view(form.Text2[0]), view(form.Text2[1]), view(form.Text2[2]) };
}

/// Characters [first, first + count) of the text as markup at the end of out, each coloured
/// colorOf(i) for i = 0..count-1 in order, and the same colours in the preview.
template <typename ColorOf>
void writeSegment(const CharacterText &text, qsizetype first, qsizetype count, const Form1State &form,
    ColorOf colorOf, QString &out, RichTextState &preview)
{
    const FragmentWriter<char16_t> writer = fragmentWriter(form);
    const qsizetype units = text.unitStart(first + count) - text.unitStart(first);
    const qsizetype oldSize = out.size();
    out.resize(oldSize + count * qsizetype(writer.fixedSize()) + units);
    char16_t *at = reinterpret_cast<char16_t *>(out.data()) + oldSize;
    const char16_t *source = reinterpret_cast<const char16_t *>(text.text().utf16());
    for (qsizetype i = 0; i < count; ++i) {
        const RgbTriple color = colorOf(i);
        const qsizetype begin = text.unitStart(first + i);
        const qsizetype length = text.unitStart(first + i + 1) - begin;
        preview.colorSelection(begin, length, packColor(color));
        at = writer.write(at, source + begin, size_t(length), color);
    }
}

int32_t checkedCount(qsizetype n)
{
    if (n > std::numeric_limits<int32_t>::max())
        throw std::overflow_error("text of more than 2^31 - 1 characters");
    return int32_t(n);
}

CharacterText trimmedInput(const Form1State &form)
{
    return CharacterText(trimSpaces(form.Text1).toString());
}

void buildGradient(Form1State &form, const CharacterText &text)
{
    const int32_t n = checkedCount(text.size());
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    QString markup;
    if (n > 0) {
        GradientWalk red(form.StartColor.red, form.EndColor.red, n);
        GradientWalk green(form.StartColor.green, form.EndColor.green, n);
        GradientWalk blue(form.StartColor.blue, form.EndColor.blue, n);
        // Character i (0-based) is (i + 1) / n of the way: the first is already one step along.
        const auto colorOf = [&](qsizetype) {
            red.advance();
            green.advance();
            blue.advance();
            return RgbTriple { red.value(), green.value(), blue.value() };
        };
        writeSegment(text, 0, n, form, colorOf, markup, form.RichTextBox1);
    }
    form.Text3 = std::move(markup);
    form.Option1Enabled = true;
    form.Option2Enabled = true;
}

void drawSegment(Form1State &form, const CharacterText &text, int32_t Start, int32_t Length, bool InOrder,
    int32_t ColorStart)
{
    const HueWheel wheel(Length); // refuses short segments before anything changes
    if (Start < 1 || qsizetype(Start) - 1 + Length > text.size())
        throw std::out_of_range("rainbow segment outside the text");
    form.Option1Enabled = false;
    form.Option2Enabled = false;
    RgbTriple last = form.RainbowColor;
    const auto colorOf = [&](qsizetype index) {
        const int32_t i = int32_t(index) + 1;
        const int32_t position = InOrder ? i : Length - i + 1;
        if (const auto color = wheel.colorOf(ColorStart, position))
            last = *color;
        return last;
    };
    writeSegment(text, Start - 1, Length, form, colorOf, form.Text3, form.RichTextBox1);
    form.RainbowColor = last;
    form.Option1Enabled = true;
    form.Option2Enabled = true;
}

void finish(Form1State &form, const QString &message)
{
    form.Command3Enabled = true;
    form.LblInfo = message;
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

MarkupTemplate activeTemplate(const Form1State &form)
{
    return { form.Text2[0].toStdString(), form.Text2[1].toStdString(), form.Text2[2].toStdString() };
}

void BuildGradientText(Form1State &form) { buildGradient(form, trimmedInput(form)); }

void DrawCHText(Form1State &form, int32_t Start, int32_t Length, bool InOrder, int32_t ColorStart)
{
    drawSegment(form, trimmedInput(form), Start, Length, InOrder, ColorStart);
}

void Command3_Click(Form1State &form)
{
    form.Command3Enabled = false;
    form.LblInfo = messages::converting;
    form.Text3.clear();
    const CharacterText text = trimmedInput(form);
    const int32_t n = checkedCount(text.size());

    if (form.Option1) {
        form.RichTextBox1.setText(text.text());
        buildGradient(form, text);
        finish(form, messages::converted);
        return;
    }
    if (n < 6) {
        finish(form, messages::tooShortForRainbow);
        return;
    }
    const bool reverse = form.Check1 == 1;
    const bool symmetric = form.Check2 == 1;
    if (n < 12 && symmetric) {
        finish(form, messages::tooShortForSymmetric);
        return;
    }
    form.RichTextBox1.setText(text.text());
    // The whole markup's size is known now: one allocation for both halves.
    const FragmentWriter<char16_t> writer = fragmentWriter(form);
    form.Text3.reserve(qsizetype(n) * qsizetype(writer.fixedSize()) + text.text().size());
    if (!symmetric) {
        drawSegment(form, text, 1, n, !reverse, 0);
    } else {
        const int32_t h = int32_t(roundHalfEven(n / 2.0));
        drawSegment(form, text, 1, h, !reverse, 0);
        drawSegment(form, text, h + 1, n - h, reverse, 0);
    }
    finish(form, messages::converted);
}

} // namespace rainbow
