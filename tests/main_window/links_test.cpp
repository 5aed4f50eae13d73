#include "ui/main_window/form1.h"

#include "convert/messages.h"
#include "ui/main_window/links.h"
#include "ui/version_window/frm_about.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

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
        QUrl address;
    } cases[] = { { "Label3", ui::blogAddress() }, { "Label5", ui::homeAddress() },
        { "Label6", ui::bugReportAddress() } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        pointAt(c.label);
        const QString tip = status();
        recorder.opened.clear();
        QTest::mouseClick(label(c.label), Qt::LeftButton);
        ASSERT_EQ(recorder.opened.size(), 1u);
        EXPECT_EQ(recorder.opened.front(), c.address);
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

TEST(LinkAddresses, TheBugReportPageCarriesItsQueryInOrderAndEncoded)
{
    const QByteArray encoded = ui::bugReportAddress().toEncoded();
    EXPECT_TRUE(encoded.endsWith("/msgrd?V=1&Uin=10000001&Site=BUG%E6%8F%90%E4%BA%A4&Menu=yes"))
        << encoded.constData();
    for (const QUrl &address : { ui::blogAddress(), ui::homeAddress(), ui::bugReportAddress() })
        EXPECT_TRUE(address.host().endsWith(QStringLiteral(".example.com"))
            || address.host().endsWith(QStringLiteral(".example.net"))
            || address.host().endsWith(QStringLiteral(".example.org")))
            << address.toString().toStdString();
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

#include "links_test.moc"
