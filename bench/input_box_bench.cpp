// The input box with a huge text: a keystroke after or inside a long pasted line, and the convert
// button on ten million characters in each mode. Each case reports the process's peak resident
// memory while it ran and what the status line said.
#include "bench/window_bench.h"
#include "ui/main_window/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <benchmark/benchmark.h>

using namespace rainbow::bench;

namespace {

/// Pastes the text into Text1 as a user would; returns the milliseconds it took.
double paste(rainbow::ui::Form1 &form, const QString &text)
{
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QGuiApplication::clipboard()->setText(text);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    form.repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

/// One letter typed at the end of Text1 after a text was pasted, until the window has painted.
void keystrokeAfterPaste(benchmark::State &state)
{
    rainbow::ui::Form1 form;
    form.show();
    const double pasted = paste(form, mixedText(state.range(0), state.range(1)));
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    if (input->document()->characterCount() < state.range(0))
        state.SkipWithError("the paste did not arrive");
    // In rainbow mode every keystroke counts the input's characters again.
    if (state.range(2) == 1)
        QTest::mouseClick(form.findChild<QRadioButton *>(QStringLiteral("Option2")), Qt::LeftButton);
    input->moveCursor(QTextCursor::End);
    for (auto _ : state) {
        QTest::keyClick(input, Qt::Key_A);
        form.repaint();
    }
    state.counters["paste_ms"] = pasted;
}

/// One letter typed in the middle of one long pasted line, until the window has painted: the
/// display block it lands in is laid out again, and in a line of up to 512 Ki units the soft breaks
/// after it move to where the box starts its lines (the two that show at once, the rest later).
void keystrokeInsideALine(benchmark::State &state)
{
    rainbow::ui::Form1 form;
    form.show();
    paste(form, mixedText(state.range(0), 0));
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QTextCursor middle(input->document());
    middle.setPosition(input->document()->characterCount() / 2);
    input->setTextCursor(middle);
    for (auto _ : state) {
        QTest::keyClick(input, Qt::Key_A);
        form.repaint();
    }
}

/// A text pasted and converted once: the time of the click, the peak memory and whether the
/// status reports success (two million characters convert, more are refused).
void hugeInput(benchmark::State &state, int mode)
{
    resetPeakMemory();
    double pasted = 0;
    bool converted = false;
    {
        rainbow::ui::Form1 form;
        form.show();
        pasted = paste(form, mixedText(state.range(0), 0));
        if (mode > 0)
            QTest::mouseClick(form.findChild<QRadioButton *>(QStringLiteral("Option2")), Qt::LeftButton);
        if (mode > 1)
            QTest::mouseClick(form.findChild<QCheckBox *>(QStringLiteral("Check2")), Qt::LeftButton);
        for (auto _ : state) {
            QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
            form.repaint();
        }
        converted = form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text().contains(u"成功");
    }
    state.counters["paste_ms"] = pasted;
    state.counters["converted"] = converted ? 1 : 0;
    state.counters["peak_MB"] = statusMegabytes("VmHWM:");
}

} // namespace

BENCHMARK(keystrokeAfterPaste)
    ->ArgNames({ "chars", "line", "rainbow" })
    ->Args({ 10000000, 0, 0 })
    ->Args({ 10000000, 0, 1 })
    ->Args({ 10000000, 80, 0 })
    ->Args({ 10000000, 80, 1 })
    ->Unit(benchmark::kMillisecond);
BENCHMARK(keystrokeInsideALine)->ArgName("chars")->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hugeInput, gradient, 0)
    ->Arg(2000000)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hugeInput, rainbow, 1)
    ->Arg(2000000)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(hugeInput, symmetricRainbow, 2)
    ->Arg(10000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
