// The window when memory runs out: this program replaces the global operator new so that a test
// can make every large allocation fail, as a process at its memory limit sees it. It is a program
// of its own so that the other window tests keep the sanitizers' checks of new against delete.
#include "ui/main_window/form1.h"
#include "ui/main_window/preview.h"
#include "ui/main_window/text_boxes.h"

#include "ui/main_window/messages.h"
#include "tests/main_window/preview_reader.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>
#include <ostream>

namespace {

std::atomic<std::size_t> largestAllocation { std::numeric_limits<std::size_t>::max() };

void *allocate(std::size_t size)
{
    if (size <= largestAllocation.load(std::memory_order_relaxed))
        if (void *memory = std::malloc(size != 0 ? size : 1))
            return memory;
    throw std::bad_alloc();
}

void *allocateOrNull(std::size_t size) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

} // namespace

// Every form that takes its memory from malloc, so that every delete matches its new; the aligned
// forms stay the library's own, which pair with each other.
void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept { return allocateOrNull(size); }
void *operator new[](std::size_t size, const std::nothrow_t &) noexcept { return allocateOrNull(size); }
void operator delete(void *memory) noexcept { std::free(memory); }
void operator delete[](void *memory) noexcept { std::free(memory); }
void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void *memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void *memory, const std::nothrow_t &) noexcept { std::free(memory); }
void operator delete[](void *memory, const std::nothrow_t &) noexcept { std::free(memory); }

/// Failures show texts, not units.
void PrintTo(const QString &text, std::ostream *out) { *out << text.toStdString(); }

using namespace rainbow;

namespace {

/// While it lives, an allocation through operator new of more than `bytes` fails.
class MemoryShort {
public:
    explicit MemoryShort(std::size_t bytes) { largestAllocation = bytes; }
    ~MemoryShort() { largestAllocation = std::numeric_limits<std::size_t>::max(); }
    MemoryShort(const MemoryShort &) = delete;
    MemoryShort &operator=(const MemoryShort &) = delete;
};

constexpr std::size_t megabyte = std::size_t(1) << 20;

/// A long input: many short lines of Chinese and Latin words.
QString longInput(qsizetype characters)
{
    const QString line = QStringLiteral("青柚家园彩虹文字，你我共同的家园。Rainbow text 渐变色\n");
    QString text;
    text.reserve(characters + line.size());
    while (text.size() < characters)
        text += line;
    text.truncate(characters);
    return text;
}

class Window {
public:
    Window() { form.show(); }

    template <typename Control = QWidget> Control *control(const char *name)
    {
        return form.findChild<Control *>(QString::fromLatin1(name));
    }
    void click(const char *name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    QString text(const char *name) { return ui::plainText(*control<QPlainTextEdit>(name)); }
    QString status() { return control<QLabel>("LblInfo")->text(); }
    tests::ShownText preview() { return tests::shownText(*control<ui::ColoredPreview>("RichTextBox1")); }

    /// Converts a short text, so that the output box and the preview show something to keep.
    void convertShortText()
    {
        click("Text1");
        QTest::keyClicks(control<QWidget>("Text1"), QStringLiteral("Rainbow abcdefgh"));
        click("Command3");
        ASSERT_EQ(status(), messages::converted);
    }

    ui::Form1 form;
};

/// Lets pending events and timers run, as the window would while it waits for input.
void idle()
{
    for (int i = 0; i < 5; ++i)
        QTest::qWait(10);
}

} // namespace

// Whatever allocation fails on the way (the conversion's own or the room for what the boxes show),
// the convert button reports it, the output box and the preview keep what they showed, nothing
// goes on afterwards, and copy, typing and converting again work.
TEST(MemoryShort, AFailedConversionChangesNothingShownAndTheWindowStaysUsable)
{
    const struct {
        const char *name;
        bool rainbow;
        bool symmetric;
        std::size_t largest;
    } cases[] = {
        { "gradient whose result the boxes have no room for", false, false, 16 * megabyte },
        { "rainbow whose colours run out of memory", true, false, 4 * megabyte },
        { "symmetric rainbow short of even a little", true, true, megabyte / 4 },
    };
    const QString input = longInput(300000);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Window window;
        window.convertShortText();
        const QString markup = window.text("Text3");
        const tests::ShownText preview = window.preview();
        window.control<QPlainTextEdit>("Text1")->setPlainText(input);
        if (c.rainbow) {
            window.click("Option2");
            if (c.symmetric)
                window.click("Check2");
        }

        MemoryShort memoryShort(c.largest);
        window.click("Command3");
        EXPECT_EQ(window.status(), messages::outOfMemory);
        idle();
        EXPECT_EQ(window.text("Text3"), markup);
        const tests::ShownText shown = window.preview();
        EXPECT_EQ(shown.text, preview.text);
        EXPECT_TRUE(shown.colors == preview.colors);
        EXPECT_EQ(window.text("Text1"), input) << "the input is kept";
        for (const char *name : { "Command3", "Option1", "Option2" })
            EXPECT_TRUE(window.control<QWidget>(name)->isEnabled()) << name;

        // Still short of memory: copying the short markup and typing work.
        QGuiApplication::clipboard()->clear();
        window.click("Command2(1)");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), markup);
        EXPECT_EQ(window.status(), messages::copied);
        auto *text1 = window.control<QPlainTextEdit>("Text1");
        text1->moveCursor(QTextCursor::End);
        QTest::keyClicks(text1, QStringLiteral("xy"));
        EXPECT_EQ(window.text("Text1"), input + QStringLiteral("xy"));
        EXPECT_EQ(window.status(), c.rainbow ? messages::rainbowTip : messages::gradientTip);
    }
}

TEST(MemoryShort, ConvertingAgainWithMemoryEnoughWorks)
{
    Window window;
    window.control<QPlainTextEdit>("Text1")->setPlainText(longInput(300000));
    {
        MemoryShort memoryShort(megabyte);
        window.click("Command3");
        ASSERT_EQ(window.status(), messages::outOfMemory);
    }
    window.click("Command3");
    EXPECT_EQ(window.status(), messages::converted);
    idle();
    EXPECT_TRUE(window.text("Text3").endsWith(QStringLiteral("[/color]")));
}

// Copying a text too big for the clipboard's copy of it says so, whichever way it is copied; the
// copy button leaves the clipboard as it was, and the program goes on.
TEST(MemoryShort, CopyingATextTooBigForMemorySaysSo)
{
    const struct {
        const char *name;
        const char *box; // copied with Ctrl+C after Ctrl+A, or with the copy button when null
        std::size_t largest;
    } cases[] = {
        { "the copy button", nullptr, 16 * megabyte },
        { "the output box", "Text3", 16 * megabyte },
        { "the preview, as text and as HTML", "RichTextBox1", 2 * megabyte },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Window window;
        window.control<QPlainTextEdit>("Text1")->setPlainText(longInput(300000));
        window.click("Command3");
        ASSERT_EQ(window.status(), messages::converted);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        if (c.box) {
            window.control<QWidget>(c.box)->setFocus();
            QTest::keyClick(window.control<QWidget>(c.box), Qt::Key_A, Qt::ControlModifier);
        }

        MemoryShort memoryShort(c.largest);
        if (c.box)
            QTest::keyClick(window.control<QWidget>(c.box), Qt::Key_C, Qt::ControlModifier);
        else
            window.click("Command2(1)");
        EXPECT_EQ(window.status(), messages::outOfMemory);
        if (!c.box) {
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        }
        QTest::keyClicks(window.control<QWidget>("Text1"), QStringLiteral("z"));
        EXPECT_EQ(window.status(), messages::gradientTip);
    }
}

// The output box takes in a long markup while the window waits. Should memory run out on the way,
// the part that went in is taken out again, the window hears of it, and nothing more goes in.
TEST(MemoryShort, AMarkupThatRunsOutOfMemoryGoingInIsTakenOutAndNothingGoesOn)
{
    ui::LongTextBox box;
    box.show();
    QString reported;
    QObject::connect(&box, &ui::LongTextBox::failed, [&](const QString &message) { reported = message; });
    // A paragraph of some 2,500 display blocks, whose list outgrows the allocations allowed; the
    // toolkit's own painting stays within them.
    box.setLongText(QString(10 * 1024 * 1024, u'a'));
    ASSERT_GT(box.document()->characterCount(), 1);

    MemoryShort memoryShort(16 * 1024);
    for (int last = -1; box.document()->characterCount() != last;) {
        last = box.document()->characterCount();
        idle();
    }
    EXPECT_EQ(reported, messages::outOfMemory);
    EXPECT_EQ(ui::plainText(box), QString());
    QTest::keyClicks(&box, QStringLiteral("ok"));
    idle();
    EXPECT_EQ(ui::plainText(box), QStringLiteral("ok"));
}
