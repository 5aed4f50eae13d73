#include "ui/main_window/form1.h"

#include "ui/main_window/controls.h"
#include "ui/main_window/messages.h"
#include "ui/main_window/links.h"
#include "ui/version_window/frm_about.h"

#include <QAccessible>
#include <QApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

using namespace rainbow;
using rainbow::ui::Form1;
using rainbow::ui::FrmAbout;

namespace {

/// Stands in for the browser: remembers every address the window asks to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};

class LinkLabelsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<Form1>();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        for (const char *scheme : { "http", "https" })
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &recorder, "open");
    }

    void TearDown() override
    {
        for (const char *scheme : { "http", "https" })
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    QLabel *label(const char *name) const
    {
        auto *found = form->findChild<QLabel *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    /// Moves the pointer straight to the middle of a control, crossing nothing on the way.
    void pointAt(const char *name)
    {
        auto *target = form->findChild<QWidget *>(QString::fromLatin1(name));
        QTest::mouseMove(form.get(), target->geometry().center());
    }

    /// A point of bare window background: the strip between the two frames.
    void pointAtBackground() { QTest::mouseMove(form.get(), QPoint(100, 68)); }

    bool underlined(const char *name) const { return label(name)->font().underline(); }
    QString status() const { return label("LblInfo")->text(); }

    std::unique_ptr<Form1> form;
    UrlRecorder recorder;
};

} // namespace

TEST_F(LinkLabelsTest, HoverUnderlinesAndShowsTheTipUntilTheBackground)
{
    const struct {
        const char *label;
        QString tip;
    } cases[] = { { "Label3", messages::blogTip }, { "Label4", messages::versionTip },
        { "Label5", messages::homeTip }, { "Label6", messages::bugReportTip } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        pointAt(c.label);
        EXPECT_TRUE(underlined(c.label));
        EXPECT_EQ(status(), c.tip);
        pointAtBackground();
        EXPECT_FALSE(underlined(c.label));
        EXPECT_EQ(status(), c.tip) << "the tip stays after the pointer leaves";
    }
}

// Every kind of control keeps the underline, enabled or not, in both modes: option buttons and check
// boxes follow the pointer for their hover look, and still no move over them is one over the
// background. The decorations let the pointer through to the background.
TEST_F(LinkLabelsTest, OnlyTheBareBackgroundTakesTheUnderlineOff)
{
    const std::vector<const char *> controls { "Option1", "Option2", "Check1", "Check2", "Command1(0)",
        "Command1(1)", "Command2(2)", "Command3", "Command2(1)", "Combo1", "Picture2", "Text1", "Text3",
        "RichTextBox1", "Image2", "Label1(0)", "Label1(4)", "Label2", "LblInfo" };
    for (const bool rainbow : { false, true }) {
        SCOPED_TRACE(rainbow ? "rainbow" : "gradient");
        if (rainbow) {
            form->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))
                ->setPlainText(QStringLiteral("abcdef"));
            QTest::mouseClick(form->findChild<QWidget *>(QStringLiteral("Option2")), Qt::LeftButton);
        }
        ASSERT_EQ(form->findChild<QWidget *>(QStringLiteral("Check1"))->isEnabled(), rainbow);
        for (const char *control : controls) {
            SCOPED_TRACE(control);
            pointAt("Label4");
            pointAt(control);
            EXPECT_TRUE(underlined("Label4"));
            pointAtBackground();
            EXPECT_FALSE(underlined("Label4"));
        }
    }

    pointAt("Label4");
    QTest::mouseMove(form.get(), QPoint(300, 96)); // on Line2, between the status line and Check1
    EXPECT_FALSE(underlined("Label4"));

    pointAt("Label4");
    pointAt("Label3");
    EXPECT_TRUE(underlined("Label4") && underlined("Label3")) << "two labels at once";
    EXPECT_FALSE(underlined("Label5") || underlined("Label6"));
    pointAtBackground();
    EXPECT_FALSE(underlined("Label4") || underlined("Label3"));
}

// A double click is a click and a double click: the page opens once. The next click opens it again.
TEST_F(LinkLabelsTest, ADoubleClickOpensThePageOnce)
{
    QLabel *link = label("Label5");
    const QPoint middle = link->geometry().center();
    QTest::mouseDClick(form->windowHandle(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(recorder.opened.size(), 1u);
    QTest::mouseClick(form->windowHandle(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(recorder.opened.size(), 2u);
}

TEST_F(LinkLabelsTest, ClicksOpenTheirPagesAndChangeNothingElse)
{
    const struct {
        const char *label;
        const char *address; // as sent to the browser: the query in its order, encoded
    } cases[] = { { "Label3", "http://blog.example.net/qingyou/" }, { "Label5", "http://www.example.com/" },
        { "Label6", "http://wpa.example.org/msgrd?V=1&Uin=10000001&Site=BUG%E6%8F%90%E4%BA%A4&Menu=yes" } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        pointAt(c.label);
        const QString tip = status();
        recorder.opened.clear();
        QTest::mouseClick(label(c.label), Qt::LeftButton);
        ASSERT_EQ(recorder.opened.size(), 1u);
        EXPECT_EQ(recorder.opened.front().toEncoded(), c.address);
        EXPECT_EQ(status(), tip);
        EXPECT_TRUE(underlined(c.label));
    }
}

TEST_F(LinkLabelsTest, AReleaseAwayFromTheLabelIsNoClick)
{
    QLabel *link = label("Label5");
    QTest::mousePress(link, Qt::LeftButton);
    QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_TRUE(recorder.opened.empty());
}

TEST_F(LinkLabelsTest, OnlyTheLeftButtonClicks)
{
    for (const Qt::MouseButton button : { Qt::RightButton, Qt::MiddleButton }) {
        SCOPED_TRACE(button);
        QTest::mouseClick(label("Label5"), button);
        EXPECT_TRUE(recorder.opened.empty());
    }
}

TEST_F(LinkLabelsTest, TheVersionLabelOpensTheHistoryModallyEveryTime)
{
    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE(opening);
        QString shown;
        QWidget *modal = nullptr;
        QTimer::singleShot(0, [&] {
            modal = QApplication::activeModalWidget();
            if (auto *about = qobject_cast<FrmAbout *>(modal)) {
                shown = about->findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText();
                about->reject();
            }
        });
        QTest::mouseClick(label("Label4"), Qt::LeftButton);
        ASSERT_NE(qobject_cast<FrmAbout *>(modal), nullptr) << "the click returns only once it is closed";
        QString expected = FrmAbout::releaseNotes();
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(shown, expected);
    }
}

namespace {

/// Whether the bottom row of the label shows ink of its text colour: the underline.
bool showsUnderline(QLabel *label)
{
    const QImage shown = label->grab().toImage();
    const QColor ink = label->palette().color(QPalette::WindowText);
    const int bottom = shown.height() - 1;
    for (int x = 0; x < shown.width(); ++x)
        if (shown.pixelColor(x, bottom) == ink)
            return true;
    return false;
}

} // namespace

TEST_F(LinkLabelsTest, TheKeyboardReachesTheLinksAfterThePreviewAndShowsTheFocusAsTheUnderline)
{
    QWidget *preview = form->findChild<QWidget *>(QStringLiteral("RichTextBox1"));
    preview->setFocus();
    for (const char *name : { "Label3", "Label4", "Label5", "Label6" }) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(showsUnderline(label(name)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), label(name));
        EXPECT_TRUE(showsUnderline(label(name)));
        EXPECT_FALSE(underlined(name)) << "the font's underline stays the pointer's";
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("Command3"));
    EXPECT_FALSE(showsUnderline(label("Label6")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), label("Label6"));

    QTest::mouseClick(label("Label5"), Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), label("Label6")) << "a click does not take the focus";
}

namespace {

/// Sends a key event with a timestamp, as the X server stamps it.
void sendKey(QWidget *widget, QEvent::Type type, int key, quint64 timestamp, bool autoRepeat = false)
{
    QKeyEvent event(
        type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(widget, &event);
}

/// A key held down for a while under X11: each repeat is a release and a press with the same
/// timestamp, the press mostly not marked as a repeat.
void holdAsX11Does(QWidget *widget, int key)
{
    quint64 time = 1000;
    sendKey(widget, QEvent::KeyPress, key, time);
    time += 600;
    for (int repeat = 0; repeat < 30; ++repeat, time += 33) {
        sendKey(widget, QEvent::KeyRelease, key, time, repeat % 7 == 3);
        sendKey(widget, QEvent::KeyPress, key, time, repeat % 7 == 3);
    }
    sendKey(widget, QEvent::KeyRelease, key, time);
}

} // namespace

// A face whose underline falls inside the label, as WenQuanYi's and Noto's do at 12 pixels: a focused
// link under the pointer still shows one line.
TEST(LinkLabel, AFocusedLinkUnderThePointerShowsOneUnderline)
{
    ui::LinkLabel link(QStringLiteral("作者博客"));
    QFont large = link.font();
    large.setPixelSize(24);
    large.setUnderline(true);
    link.setFont(large);
    link.resize(link.sizeHint() + QSize(0, 6));
    link.show();
    link.setFocus();
    const QImage shown = link.grab().toImage();
    const QColor ink = link.palette().color(QPalette::WindowText);
    int lines = 0; // rows inked over most of the caption's width
    for (int y = 0; y < shown.height(); ++y) {
        int inked = 0;
        for (int x = 0; x < shown.width(); ++x)
            inked += shown.pixelColor(x, y) == ink;
        lines += inked > shown.width() * 3 / 4;
    }
    EXPECT_EQ(lines, 1);
}

TEST_F(LinkLabelsTest, EnterReturnAndSpaceOpenAFocusedLinkOnce)
{
    const struct {
        const char *name;
        std::function<void(QWidget *)> press;
        size_t opened;
    } cases[] = {
        { "Return", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return); }, 1 },
        { "Enter", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier); }, 1 },
        { "Space", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Space); }, 1 },
        { "Space held down",
            [](QWidget *w) {
                QTest::keyPress(w, Qt::Key_Space);
                for (int i = 0; i < 3; ++i) {
                    QKeyEvent repeat(
                        QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
                    QApplication::sendEvent(w, &repeat);
                }
                QTest::keyRelease(w, Qt::Key_Space);
            },
            1 },
        { "Return held down on X11", [](QWidget *w) { holdAsX11Does(w, Qt::Key_Return); }, 1 },
        { "Space held down on X11", [](QWidget *w) { holdAsX11Does(w, Qt::Key_Space); }, 1 },
        { "Ctrl+Return", [](QWidget *w) { QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier); }, 0 },
        { "a letter", [](QWidget *w) { QTest::keyClick(w, Qt::Key_A); }, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        recorder.opened.clear();
        label("Label5")->setFocus();
        c.press(label("Label5"));
        ASSERT_EQ(recorder.opened.size(), c.opened);
        if (c.opened) {
            EXPECT_EQ(recorder.opened.front(), ui::homeAddress());
        }
    }
}

TEST_F(LinkLabelsTest, ScreenReadersMeetLinksWithTheirTipsAndCanPressThem)
{
    const struct {
        const char *label;
        QString caption;
        QString tip;
    } cases[] = { { "Label3", QStringLiteral("作者博客"), messages::blogTip },
        { "Label4", QStringLiteral("V1.0.2"), messages::versionTip },
        { "Label5", QStringLiteral("青柚家园"), messages::homeTip },
        { "Label6", QStringLiteral("提交BUG"), messages::bugReportTip } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(label(c.label));
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->role(), QAccessible::Link);
        EXPECT_EQ(link->text(QAccessible::Name), c.caption);
        EXPECT_EQ(link->text(QAccessible::Description), c.tip);
        EXPECT_TRUE(link->state().focusable);
        ASSERT_NE(link->actionInterface(), nullptr);
        EXPECT_TRUE(
            link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    QAccessibleInterface *home = QAccessible::queryAccessibleInterface(label("Label5"));
    home->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::processEvents();
    ASSERT_EQ(recorder.opened.size(), 1u);
    EXPECT_EQ(recorder.opened.front(), ui::homeAddress());
}

// A keyboard-only user: Enter on the version label opens the history, Escape closes it, and the
// focus comes back to the label.
TEST_F(LinkLabelsTest, EnterOpensTheHistoryAndEscapeClosesIt)
{
    label("Label4")->setFocus();
    QWidget *modal = nullptr;
    bool textHadFocus = false;
    QTimer::singleShot(0, [&] {
        modal = QApplication::activeModalWidget();
        QWidget *focused = modal ? modal->focusWidget() : nullptr;
        textHadFocus
            = focused && focused->objectName() == QStringLiteral("Text1") && focused->window() == modal;
        if (focused)
            QTest::keyClick(focused, Qt::Key_Escape);
    });
    // Should Escape fail, the window still closes, so that the test ends.
    QTimer::singleShot(2000, [] {
        if (QWidget *still = QApplication::activeModalWidget())
            still->close();
    });
    QElapsedTimer shown;
    shown.start();
    QTest::keyClick(label("Label4"), Qt::Key_Return);
    ASSERT_NE(qobject_cast<FrmAbout *>(modal), nullptr);
    EXPECT_TRUE(textHadFocus);
    EXPECT_LT(shown.elapsed(), 1500) << "Escape closed it";
    EXPECT_FALSE(modal->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

#include "links_test.moc"
