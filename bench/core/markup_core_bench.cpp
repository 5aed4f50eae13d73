// The markup of 10,000,000 characters, in process, against memcpy of the same number of output
// bytes. Each iteration times the conversion and then a memcpy into the same buffer, so both
// sides of the ratio x_memcpy come from the same run under the same load.
#include "bench/core/bench_text.h"
#include "convert/conversion.h"
#include "ui/main_window/form1_state.h"
#include "ui/main_window/messages.h"
#include "ui/main_window/window_rules.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

using namespace rainbow;

namespace {

constexpr std::size_t characterCount = 10'000'000;

const std::string &utf8Text()
{
    static const std::string text = bench::benchText(characterCount);
    return text;
}

const QString &utf16Text()
{
    static const QString text = QString::fromStdString(utf8Text());
    return text;
}

/// An emoji in every line: the text goes through the boundary scanner.
const std::string &utf8EmojiText()
{
    static const std::string text = bench::benchText(characterCount, true);
    return text;
}

const QString &utf16EmojiText()
{
    static const QString text = QString::fromStdString(utf8EmojiText());
    return text;
}

/// Markup into one buffer that is allocated and touched before the timing starts.
template <typename CharT> class BufferSink final : public MarkupSink<CharT> {
public:
    explicit BufferSink(std::vector<CharT> &buffer)
        : m_buffer(buffer)
        , m_end(buffer.data())
    {
    }

    void expect(std::size_t units) override
    {
        if (m_buffer.size() < units + MarkupSink<CharT>::slack)
            m_buffer.resize(units + MarkupSink<CharT>::slack);
        m_end = m_buffer.data();
    }
    CharT *reserve(std::size_t) override { return m_end; }
    void commit(CharT *end) override { m_end = end; }

    std::size_t size() const { return std::size_t(m_end - m_buffer.data()); }

private:
    std::vector<CharT> &m_buffer;
    CharT *m_end;
};

enum class Mode { Gradient, Rainbow, SymmetricRainbow };

ConversionSettings settings(int format, Mode mode)
{
    ConversionSettings settings;
    settings.markup = markupTemplate(allMarkupFormats[std::size_t(format)]);
    settings.mode = mode == Mode::Gradient ? ConversionMode::Gradient : ConversionMode::Rainbow;
    settings.symmetric = mode == Mode::SymmetricRainbow;
    return settings;
}

/// The window's state for the first format and the mode.
Form1State windowState(Mode mode)
{
    Form1State form;
    form.Option1 = mode == Mode::Gradient;
    form.Check2 = mode == Mode::SymmetricRainbow ? 1 : 0;
    return form;
}

using Clock = std::chrono::steady_clock;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

/// convertText of text (UTF-8 std::string or UTF-16 QString) into a ready buffer.
template <typename CharT, typename Text>
void markup(benchmark::State &state, const Text &text, const ConversionSettings &form)
{
    std::vector<CharT> out;
    BufferSink<CharT> first(out);
    convertText(form, text, first); // sizes and touches the buffer
    const std::size_t units = first.size();
    const std::vector<CharT> copySource(out.begin(), out.begin() + std::ptrdiff_t(units));

    double markupSeconds = 0;
    double memcpySeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        BufferSink<CharT> sink(out);
        convertText(form, text, sink);
        benchmark::DoNotOptimize(out.data());
        const auto converted = Clock::now();
        std::memcpy(out.data(), copySource.data(), units * sizeof(CharT));
        benchmark::ClobberMemory();
        const auto copied = Clock::now();
        if (sink.size() != units)
            state.SkipWithError("the markup changed size between runs");
        state.SetIterationTime(seconds(converted - start));
        markupSeconds += seconds(converted - start);
        memcpySeconds += seconds(copied - converted);
    }
    const auto iterations = double(state.iterations());
    state.counters["x_memcpy"] = markupSeconds / memcpySeconds;
    state.counters["Mchar/s"] = iterations * double(characterCount) / markupSeconds / 1e6;
    state.counters["out_MB"] = double(units * sizeof(CharT)) / 1e6;
}

/// The window's whole convert command on its state: Text3 allocated anew, the preview coloured;
/// on the longest text the window converts.
void command3Click(benchmark::State &state, Mode mode)
{
    Form1State form = windowState(mode);
    form.Text1 = utf16Text().left(windowCharacterLimit);
    for (auto _ : state) {
        Command3_Click(form);
        benchmark::DoNotOptimize(form.Text3.data());
    }
    if (form.LblInfo != messages::converted)
        state.SkipWithError("the window refused the text");
    state.counters["Mchar/s"] = benchmark::Counter(
        double(state.iterations()) * double(windowCharacterLimit) / 1e6, benchmark::Counter::kIsRate);
}

/// What one text form (UTF-8) inside the conversion would add to the window's convert command:
/// its input to UTF-8 and its markup back to UTF-16, on the longest text the window converts
/// (mapping the colour runs back to UTF-16 positions would cost more, and is not counted).
void windowEdge(benchmark::State &state)
{
    Form1State form = windowState(Mode::Gradient);
    form.Text1 = utf16Text().left(windowCharacterLimit);
    Command3_Click(form);
    const QByteArray markup = form.Text3.toUtf8();
    for (auto _ : state) {
        const QByteArray input = form.Text1.toUtf8();
        const QString shown = QString::fromUtf8(markup);
        benchmark::DoNotOptimize(input.data());
        benchmark::DoNotOptimize(shown.data());
    }
}

template <typename Benchmark> void configure(Benchmark *b)
{
    b->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true)->MinTime(0.3);
}

} // namespace

int main(int argc, char **argv)
{
    const char *formats[] = { "ubb", "qzone", "html" };
    const struct {
        const char *name;
        Mode mode;
    } modes[] = { { "gradient", Mode::Gradient }, { "rainbow", Mode::Rainbow },
        { "symmetric", Mode::SymmetricRainbow } };
    for (int format = 0; format < 3; ++format) {
        for (const auto &mode : modes) {
            const ConversionSettings form = settings(format, mode.mode);
            const std::string suffix = std::string(formats[format]) + "/" + mode.name;
            configure(benchmark::RegisterBenchmark(
                ("markup/utf8/" + suffix).c_str(), [form](benchmark::State &state) {
                    markup<char>(state, utf8Text(), form);
                })->UseManualTime());
            configure(benchmark::RegisterBenchmark(
                ("markup/utf16/" + suffix).c_str(), [form](benchmark::State &state) {
                    markup<char16_t>(state, utf16Text(), form);
                })->UseManualTime());
        }
    }
    // Text whose characters need the boundary scanner (target: within 3 × memcpy).
    for (const auto &mode : modes) {
        const ConversionSettings form = settings(0, mode.mode);
        configure(benchmark::RegisterBenchmark(
            ("emoji/utf8/ubb/" + std::string(mode.name)).c_str(), [form](benchmark::State &state) {
                markup<char>(state, utf8EmojiText(), form);
            })->UseManualTime());
        configure(benchmark::RegisterBenchmark(
            ("emoji/utf16/ubb/" + std::string(mode.name)).c_str(), [form](benchmark::State &state) {
                markup<char16_t>(state, utf16EmojiText(), form);
            })->UseManualTime());
    }
    // For comparison, outside the targets: the whole convert command of the window.
    configure(benchmark::RegisterBenchmark("Command3_Click/ubb/gradient",
        [](benchmark::State &state) { command3Click(state, Mode::Gradient); }));
    configure(benchmark::RegisterBenchmark("Command3_Click/ubb/symmetric",
        [](benchmark::State &state) { command3Click(state, Mode::SymmetricRainbow); }));
    configure(benchmark::RegisterBenchmark("Command3_Click/ubb/gradient/utf8_edges", windowEdge));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
