// The window as a user meets it, on a real X server. Every run starts the program afresh, pastes
// a text into the input box with ctrl+v and then clicks "转换", both through XTest, and polls the
// screen every millisecond until the input box, and then the preview, show the change. Run it
// inside xvfb-run (bench/x_window_bench.sh does); the program must be built with the xcb platform.
#include "bench/window_bench.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

// Xlib's macros (None, Bool, Status) clash with Qt's names: it comes after every Qt header.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Place {
    int x, y, width, height; // client pixels of the main window
    int centreX() const { return x + width / 2; }
    int centreY() const { return y + height / 2; }
};

// The controls' places at 96 dots per inch, from the window's layout in twips (15 a pixel). The
// regions compared are the boxes' insides, clear of their borders.
constexpr Place text1 { 16 + 2, 96 + 2, 201 - 4, 273 - 4 };
constexpr Place option2 { 232, 136, 65, 17 };
constexpr Place check2 { 320, 136, 57, 17 };
constexpr Place command3 { 320, 344, 57, 25 };
constexpr Place richTextBox1 { 16 + 2, 384 + 2, 481 - 4, 89 - 4 };

// How long the window is left alone after the paste, to see what it does with nothing to do.
constexpr double idleSeconds = 10;

// More changed pixels than a blinking caret makes.
constexpr long paintedPixels = 40;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sleepMilliseconds(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

/// User and system CPU time of a process, in clock ticks; -1 once it is gone.
long cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLong() + fields[12].toLong() : -1;
}

/// Waits until the process has used at most 20 ms of CPU in one second (a blinking caret or an
/// idle window uses less), at most limitSeconds.
void waitUntilQuiet(qint64 pid, double limitSeconds = 40)
{
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    const auto start = Clock::now();
    std::vector<std::pair<double, long>> samples { { 0.0, cpuTicks(pid) } };
    for (;;) {
        sleepMilliseconds(100);
        const double now = millisecondsSince(start) / 1000;
        samples.emplace_back(now, cpuTicks(pid));
        const auto windowStart = std::find_if(
            samples.begin(), samples.end(), [now](const auto &sample) { return sample.first >= now - 1.0; });
        if (now >= 1.0 && samples.back().second - windowStart->second <= ticksPerSecond / 50)
            return;
        if (now > limitSeconds || samples.back().second < 0)
            return;
    }
}

class XScreen {
public:
    XScreen()
        : m_display(XOpenDisplay(nullptr))
    {
    }
    ~XScreen()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    XScreen(const XScreen &) = delete;
    XScreen &operator=(const XScreen &) = delete;

    bool isOpen() const { return m_display != nullptr; }

    /// The viewable top-level window of the process, once it has one of the given size.
    bool findWindow(qint64 pid, int width, int height, double limitSeconds)
    {
        const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
        const auto start = Clock::now();
        while (millisecondsSince(start) < limitSeconds * 1000) {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count);
            for (unsigned i = 0; i < count; ++i) {
                if (windowPid(children[i], pidAtom) != pid)
                    continue;
                XWindowAttributes attributes;
                XGetWindowAttributes(m_display, children[i], &attributes);
                if (attributes.map_state == IsViewable && attributes.width == width
                    && attributes.height == height) {
                    Window child = 0;
                    XTranslateCoordinates(m_display, children[i], root, 0, 0, &m_originX, &m_originY, &child);
                    XFree(children);
                    return true;
                }
            }
            if (children)
                XFree(children);
            sleepMilliseconds(20);
        }
        return false;
    }

    /// The pixels of a place of the window, 32 bits each.
    std::vector<uint32_t> grab(const Place &place) const
    {
        XImage *image = XGetImage(m_display, DefaultRootWindow(m_display), m_originX + place.x,
            m_originY + place.y, unsigned(place.width), unsigned(place.height), AllPlanes, ZPixmap);
        std::vector<uint32_t> pixels;
        pixels.reserve(size_t(place.width * place.height));
        for (int y = 0; y < place.height; ++y)
            for (int x = 0; x < place.width; ++x)
                pixels.push_back(uint32_t(XGetPixel(image, x, y)));
        XDestroyImage(image);
        return pixels;
    }

    /// Milliseconds from start until the place differs from `before` in more than a caret's
    /// pixels, polled every millisecond; -1 after limitSeconds.
    double paintedAfter(Clock::time_point start, const Place &place, const std::vector<uint32_t> &before,
        double limitSeconds = 120) const
    {
        for (;;) {
            const std::vector<uint32_t> now = grab(place);
            const double elapsed = millisecondsSince(start);
            long changed = 0;
            for (size_t i = 0; i < now.size(); ++i)
                changed += now[i] != before[i];
            if (changed > paintedPixels)
                return elapsed;
            if (elapsed > limitSeconds * 1000)
                return -1;
            sleepMilliseconds(1);
        }
    }

    /// Presses and releases the first button over the place's centre; returns when it was sent.
    Clock::time_point click(const Place &place)
    {
        XTestFakeMotionEvent(m_display, -1, m_originX + place.centreX(), m_originY + place.centreY(), 0);
        XTestFakeButtonEvent(m_display, 1, True, 0);
        XTestFakeButtonEvent(m_display, 1, False, 0);
        XFlush(m_display);
        return Clock::now();
    }

    /// Types ctrl+v; returns when the v went down.
    Clock::time_point paste()
    {
        const KeyCode control = XKeysymToKeycode(m_display, XK_Control_L);
        const KeyCode v = XKeysymToKeycode(m_display, XK_v);
        XTestFakeKeyEvent(m_display, control, True, 0);
        XTestFakeKeyEvent(m_display, v, True, 0);
        XFlush(m_display);
        const auto sent = Clock::now();
        XTestFakeKeyEvent(m_display, v, False, 0);
        XTestFakeKeyEvent(m_display, control, False, 0);
        XFlush(m_display);
        return sent;
    }

    bool clipboardOwned() const
    {
        return XGetSelectionOwner(m_display, XInternAtom(m_display, "CLIPBOARD", False)) != 0;
    }

private:
    qint64 windowPid(Window window, Atom pidAtom) const
    {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        qint64 pid = -1;
        if (XGetWindowProperty(
                m_display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data)
                == Success
            && data && items == 1)
            pid = qint64(*reinterpret_cast<unsigned long *>(data));
        if (data)
            XFree(data);
        return pid;
    }

    Display *m_display;
    int m_originX = 0;
    int m_originY = 0;
};

struct Case {
    int length;
    int lineLength;
    bool rainbow; // symmetric rainbow, else gradient
};

struct Run {
    double pasteMs = -1; // ctrl+v to the input box painted
    double cpuAfterPaste = 0; // CPU seconds used in the idleSeconds after that
    double convertMs = -1; // the click on "转换" to the preview painted
    double peakMegabytes = 0;
};

Run measure(XScreen &screen, const QString &program, const Case &c)
{
    Run run;
    QProcess window;
    window.setProgram(program);
    window.setArguments({ QStringLiteral("-platform"), QStringLiteral("xcb") });
    window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window.start();
    if (!window.waitForStarted() || !screen.findWindow(window.processId(), 513, 489, 30)) {
        std::fprintf(stderr, "the window did not show\n");
        return run;
    }
    const qint64 pid = window.processId();
    waitUntilQuiet(pid);
    screen.click(text1);
    waitUntilQuiet(pid);

    const std::vector<uint32_t> emptyInput = screen.grab(text1);
    run.pasteMs = screen.paintedAfter(screen.paste(), text1, emptyInput);
    const long ticks = cpuTicks(pid);
    sleepMilliseconds(1000 * int(idleSeconds));
    run.cpuAfterPaste = double(cpuTicks(pid) - ticks) / double(sysconf(_SC_CLK_TCK));

    if (c.rainbow) {
        screen.click(option2);
        waitUntilQuiet(pid);
        screen.click(check2);
        waitUntilQuiet(pid);
    }
    const std::vector<uint32_t> emptyPreview = screen.grab(richTextBox1);
    run.convertMs = screen.paintedAfter(screen.click(command3), richTextBox1, emptyPreview);
    waitUntilQuiet(pid);
    run.peakMegabytes = rainbow::bench::statusMegabytes(QStringLiteral("/proc/%1/status").arg(pid), "VmHWM:");
    window.kill();
    window.waitForFinished();
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The window wants a runtime directory of its own; xvfb-run gives none.
    QTemporaryDir runtimeDirectory;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDirectory.path().toLocal8Bit());
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr,
            "usage: x_window_bench PROGRAM [RUNS [CHARS:LINE ...]]\n"
            "  CHARS:LINE  characters and a line break every LINE (0: one line)\n");
        return 2;
    }
    const int runs = arguments.size() > 1 ? arguments[1].toInt() : 3;
    std::vector<std::pair<int, int>> texts { { 100000, 80 }, { 1000000, 80 }, { 1000000, 0 } };
    if (arguments.size() > 2) {
        texts.clear();
        for (const QString &text : arguments.mid(2))
            texts.emplace_back(text.section(u':', 0, 0).toInt(), text.section(u':', 1, 1).toInt());
    }
    XScreen screen;
    if (!screen.isOpen()) {
        std::fprintf(stderr, "no X server (run inside xvfb-run)\n");
        return 1;
    }

    std::printf("| Input | Mode | ctrl+v to painted input | click to painted preview | ratio | CPU in the "
                "10 s after the paste | peak memory |\n|---|---|---|---|---|---|---|\n");
    for (const auto &[length, lineLength] : texts) {
        QTemporaryFile file;
        if (!file.open())
            return 1;
        file.write(rainbow::bench::mixedText(length, lineLength).toUtf8());
        file.flush();
        QProcess clipboard;
        clipboard.setStandardOutputFile(QProcess::nullDevice());
        clipboard.start(QStringLiteral("xclip"),
            { QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("clipboard"),
                QStringLiteral("-i"), file.fileName() });
        const auto start = Clock::now();
        while (!screen.clipboardOwned() && millisecondsSince(start) < 10000)
            sleepMilliseconds(10);
        if (!screen.clipboardOwned()) {
            std::fprintf(stderr, "xclip did not take the clipboard\n");
            return 1;
        }
        for (const bool rainbowMode : { false, true }) {
            std::vector<double> paste, convert, ratio, cpu, peak;
            for (int i = 0; i < runs; ++i) {
                const Run run = measure(screen, arguments[0], { length, lineLength, rainbowMode });
                std::fprintf(stderr,
                    "%d:%d %s run %d: paste %.0f ms, then %.2f s CPU, convert %.0f ms, peak %.0f MB\n",
                    length, lineLength, rainbowMode ? "rainbow" : "gradient", i + 1, run.pasteMs,
                    run.cpuAfterPaste, run.convertMs, run.peakMegabytes);
                paste.push_back(run.pasteMs);
                convert.push_back(run.convertMs);
                ratio.push_back(run.convertMs / run.pasteMs);
                cpu.push_back(run.cpuAfterPaste);
                peak.push_back(run.peakMegabytes);
            }
            std::printf("| %d characters, %s | %s | %.0f ms | %.0f ms | %.1f | %.2f s | %.0f MB |\n", length,
                lineLength ? QStringLiteral("a line break every %1").arg(lineLength).toUtf8().constData()
                           : "one line",
                rainbowMode ? "symmetric rainbow" : "gradient", median(paste), median(convert), median(ratio),
                median(cpu), median(peak));
            std::fflush(stdout);
        }
        clipboard.kill();
        clipboard.waitForFinished();
    }
    return 0;
}
