// The convert button end to end: from the click until Text3 shows the start of the markup, the
// preview is filled and the window has painted once, offscreen. Each case also reports the process's peak
// resident memory while it ran, the whole markup in Text3 included.
#include "bench/window_bench.h"
#include "ui/main_window/form1.h"
#include "ui/main_window/preview.h"
#include "ui/main_window/text_boxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace rainbow::bench;

namespace {

void convertButton(benchmark::State &state, bool rainbow)
{
    const int length = int(state.range(0));
    const int lineLength = int(state.range(1));
    resetPeakMemory();
    {
        rainbow::ui::Form1 form;
        form.show();
        form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))
            ->setPlainText(mixedText(length, lineLength));
        if (rainbow) {
            QTest::mouseClick(form.findChild<QRadioButton *>(QStringLiteral("Option2")), Qt::LeftButton);
            QTest::mouseClick(form.findChild<QCheckBox *>(QStringLiteral("Check2")), Qt::LeftButton);
        }
        auto *convert = form.findChild<QPushButton *>(QStringLiteral("Command3"));
        auto *output = form.findChild<rainbow::ui::LongTextBox *>(QStringLiteral("Text3"));
        QApplication::processEvents();
        for (auto _ : state) {
            QTest::mouseClick(convert, Qt::LeftButton);
            form.repaint();
            // The rest of a long markup goes into Text3 after the click, while the window waits:
            // untimed, but in the peak memory.
            state.PauseTiming();
            output->finishFilling();
            state.ResumeTiming();
        }
        const auto *preview = form.findChild<rainbow::ui::ColoredPreview *>(QStringLiteral("RichTextBox1"));
        if (preview->document()->characterCount() < length)
            state.SkipWithError("the preview was not filled");
    }
    state.SetItemsProcessed(state.iterations() * length);
    state.counters["peak_MB"] = statusMegabytes(QStringLiteral("/proc/self/status"), "VmHWM:");
}

void cases(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({ "chars", "line" });
    for (const int length : { 1000, 10000, 100000 })
        benchmark->Args({ length, 0 });
    for (const int length : { 100000, 1000000 })
        benchmark->Args({ length, 80 });
    benchmark->Unit(benchmark::kMillisecond);
}

/// The preview filled with one colour run per character, the most a conversion gives (a short
/// rainbow): the time per character must not grow with the length.
void fillPreviewOneRunPerCharacter(benchmark::State &state)
{
    const QString text = mixedText(int(state.range(0)), int(state.range(1)));
    std::vector<rainbow::ColorRun> runs;
    runs.reserve(size_t(text.size()));
    for (qsizetype unit = 0; unit < text.size(); ++unit)
        runs.push_back({ unit, 1, rainbow::PackedColor(unit % 2 ? 0x0000FF : 0xFF0000) });
    rainbow::ui::ColoredPreview preview;
    preview.resize(481, 89);
    preview.show();
    for (auto _ : state) {
        preview.fill(text, runs);
        preview.repaint();
    }
    state.SetItemsProcessed(state.iterations() * text.size());
}

/// A million characters on one line: one click per run, so that a few runs take seconds only.
void millionOnOneLine(benchmark::internal::Benchmark *benchmark)
{
    benchmark->ArgNames({ "chars", "line" });
    benchmark->Args({ 1000000, 0 });
    benchmark->Iterations(1);
    benchmark->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK_CAPTURE(convertButton, gradient, false)->Apply(cases);
BENCHMARK_CAPTURE(convertButton, symmetricRainbow, true)->Apply(cases);
BENCHMARK_CAPTURE(convertButton, gradient, false)->Apply(millionOnOneLine);
BENCHMARK_CAPTURE(convertButton, symmetricRainbow, true)->Apply(millionOnOneLine);
BENCHMARK(fillPreviewOneRunPerCharacter)
    ->ArgNames({ "chars", "line" })
    ->Args({ 10000, 0 })
    ->Args({ 100000, 0 })
    ->Args({ 1000000, 0 })
    ->Args({ 1000000, 80 })
    ->Unit(benchmark::kMillisecond);
