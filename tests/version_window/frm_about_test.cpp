#include "ui/version_window/frm_about.h"

#include "tests/support/dark_palette.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using rainbow::ui::FrmAbout;

namespace {

const std::vector<std::string> noteLines = {
    u8"======青柚彩虹文字  版本更新信息======",
    u8"",
    u8"===V1.0.0  发布日期：2010年11月7日===",
    u8"这是本程序的最初版本。",
    u8"1.可以生成渐变色文字。",
    u8"2.可以生成彩虹，逆虹，对称等七彩文字。",
    u8"3.支持UBB论坛，QQ空间，HTML三种代码。",
    u8"",
    u8"===V1.0.2  发布日期：2010年11月7日===",
    u8"1.增加版本更新信息查看窗口。",
    u8"2.修正点击对称彩虹色出现运行错误 11 的问题。——本BUG由网友 wuyu3307 提交！",
};

QPlainTextEdit *text1(const FrmAbout &window) { return window.findChild<QPlainTextEdit *>("Text1"); }

QStringList blocks(const QPlainTextEdit *box)
{
    QStringList result;
    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next())
        result << block.text();
    return result;
}

QStringList expectedBlocks()
{
    QStringList result;
    for (const std::string &line : noteLines)
        result << QString::fromStdString(line);
    result << QString(); // after the final CR LF
    return result;
}

/// Selects the first occurrence of `text` (line ends as the document gives them, LF).
void select(QPlainTextEdit *box, const QString &text)
{
    const int start = box->toPlainText().indexOf(text);
    ASSERT_GE(start, 0) << text.toStdString();
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + text.size(), QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

} // namespace

TEST(ReleaseNotes, AreTheElevenLinesEachEndedByCrLf)
{
    std::string expected;
    for (const std::string &line : noteLines)
        expected += line + "\r\n";
    EXPECT_EQ(FrmAbout::releaseNotes().toStdString(), expected);

    // Lookalikes that a retyped literal could carry in both places.
    const QString notes = FrmAbout::releaseNotes();
    EXPECT_EQ(notes.count(QChar(0x2014)), 2) << "the dash is two em dashes";
    EXPECT_EQ(notes.count(QLatin1Char(' ')), 10) << "ASCII spaces: two in lines 1, 3 and 9, four in line 11";
}

TEST(FrmAbout, ShowsTheNotesWithAnEmptyLineForTheCaretAtTheEnd)
{
    FrmAbout window;
    window.show();
    QPlainTextEdit *box = text1(window);
    ASSERT_NE(box, nullptr);

    EXPECT_EQ(window.windowTitle(), QStringLiteral("版本升级信息"));
    EXPECT_EQ(blocks(box), expectedBlocks());
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name), QStringLiteral("版本更新信息"))
        << "screen readers name the box";
    EXPECT_EQ(box->textCursor().position(), 0) << "the caret starts at the top";

    QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(box->textCursor().blockNumber(), 11);
    EXPECT_TRUE(box->textCursor().block().text().isEmpty());
}

TEST(FrmAbout, IsAFixedSizeWindowWithOnlyACloseButton)
{
    FrmAbout window;
    window.show();
    EXPECT_EQ(window.objectName(), QStringLiteral("FrmAbout"));
    window.resize(400, 300);
    EXPECT_EQ(window.size(), QSize(277, 177));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());

    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST(FrmAbout, TypingPastingOrCuttingLeavesTheTextAsItIs)
{
    struct Case {
        const char *name;
        std::function<void(QPlainTextEdit *)> act;
    };
    const Case cases[] = {
        { "typing",
            [](QPlainTextEdit *box) {
                QTest::keyClicks(box, "abc");
                QTest::keyClick(box, Qt::Key_Return);
            } },
        { "Backspace and Delete over a selection",
            [](QPlainTextEdit *box) {
                select(box, QStringLiteral("wuyu3307"));
                QTest::keyClick(box, Qt::Key_Backspace);
                QTest::keyClick(box, Qt::Key_Delete);
            } },
        { "paste",
            [](QPlainTextEdit *box) {
                QApplication::clipboard()->setText(QStringLiteral("pasted"));
                QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            } },
        { "cut of everything",
            [](QPlainTextEdit *box) {
                QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
            } },
    };

    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FrmAbout window;
        window.show();
        QPlainTextEdit *box = text1(window);
        EXPECT_TRUE(box->isReadOnly());
        c.act(box);
        EXPECT_EQ(blocks(box), expectedBlocks());
    }
}

TEST(FrmAbout, CopyGivesTheSelectedTextWithCrLfLineEnds)
{
    struct Case {
        const char *name;
        QString selected; // as the document holds it, LF between lines; empty means Ctrl+A
        QString copied;
    };
    const Case cases[] = {
        { "everything, by Ctrl+A", QString(), FrmAbout::releaseNotes() },
        { "a word inside a line", QStringLiteral("wuyu3307"), QStringLiteral("wuyu3307") },
        { "across the empty line 8", QStringLiteral("代码。\n\n===V1.0.2"),
            QStringLiteral("代码。\r\n\r\n===V1.0.2") },
        { "the last line and its line end", QStringLiteral("提交！\n"), QStringLiteral("提交！\r\n") },
    };

    FrmAbout window;
    window.show();
    QPlainTextEdit *box = text1(window);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QApplication::clipboard()->clear();
        if (c.selected.isEmpty())
            QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        else
            select(box, c.selected);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), c.copied.toStdString());
    }
}

TEST(FrmAbout, UsesTheSongFaceAndOnlyTheLastLineWraps)
{
    const QStringList installed = QFontDatabase::families();
    if (!installed.contains("SimSun") && !installed.contains("AR PL UMing CN"))
        GTEST_SKIP() << "neither SimSun nor AR PL UMing CN is installed";

    FrmAbout window;
    window.show();
    QPlainTextEdit *box = text1(window);
    const QFontInfo face(box->font());
    EXPECT_TRUE(face.family() == "SimSun" || face.family() == "AR PL UMing CN")
        << face.family().toStdString();
    EXPECT_EQ(face.pixelSize(), 12);

    for (QTextBlock block = box->document()->begin(); block.isValid(); block = block.next()) {
        SCOPED_TRACE(block.text().toStdString());
        if (block.blockNumber() == 10)
            EXPECT_GT(block.layout()->lineCount(), 1);
        else
            EXPECT_EQ(block.layout()->lineCount(), 1);
    }
}

TEST(FrmAbout, VersionLabelOpensTheSameWindowModallyAndReloadsItEachTime)
{
    QPushButton mainWindow("main window");
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    QSignalSpy mainWindowClicks(&mainWindow, &QPushButton::clicked);
    const QPoint buttonCentre = mainWindow.rect().center();
    QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, buttonCentre);
    ASSERT_EQ(mainWindowClicks.count(), 1) << "the click reaches the main window while nothing blocks it";

    std::unique_ptr<FrmAbout> window;
    std::vector<FrmAbout *> openedObjects;
    for (int opening = 1; opening <= 2; ++opening) {
        SCOPED_TRACE(opening == 1 ? "first opening" : "second opening");
        bool sawWindow = false;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<FrmAbout *>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "no modal version window";
                if (window)
                    window->reject();
                return;
            }
            sawWindow = true;
            openedObjects.push_back(dialog);
            QPlainTextEdit *box = text1(*dialog);
            EXPECT_EQ(dialog->windowTitle(), FrmAbout::title());
            EXPECT_EQ(blocks(box), expectedBlocks()) << "the text once, not repeated";
            EXPECT_EQ(dialog->focusWidget(), box);
            EXPECT_EQ(box->textCursor().position(), 0);
            EXPECT_EQ(box->verticalScrollBar()->value(), 0);

            QTest::mouseClick(mainWindow.windowHandle(), Qt::LeftButton, {}, buttonCentre);
            EXPECT_EQ(mainWindowClicks.count(), 1) << "the main window takes no input";

            // Leave the window scrolled to its end; the next opening starts at the top again.
            QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
            dialog->reject();
        });
        FrmAbout::showModal(window);
        EXPECT_TRUE(sawWindow);
        EXPECT_FALSE(window->isVisible());
    }
    ASSERT_EQ(openedObjects.size(), 2u);
    EXPECT_EQ(openedObjects[0], openedObjects[1]) << "the window object is reused";
    EXPECT_EQ(openedObjects[1], window.get());
}

// The notes are black on white, also on a desktop with dark colours.
TEST(FrmAbout, ShowsBlackTextOnWhiteOnADarkDesktop)
{
    const rainbow::tests::ApplicationPalette desktop(rainbow::tests::darkPalette());
    FrmAbout window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QPlainTextEdit *box = text1(window);
    for (const auto group : { QPalette::Active, QPalette::Inactive }) {
        EXPECT_EQ(box->palette().color(group, QPalette::Text), QColor(Qt::black));
        EXPECT_EQ(box->palette().color(group, QPalette::Base), QColor(Qt::white));
    }
    const QImage shown = box->viewport()->grab().toImage();
    int white = 0;
    int dark = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const int lightness = shown.pixelColor(x, y).lightness();
            white += lightness == 255 ? 1 : 0;
            dark += lightness < 64 ? 1 : 0;
        }
    }
    const int all = shown.width() * shown.height();
    EXPECT_GT(white, all / 2) << "a white page";
    EXPECT_GT(dark, 100) << "with dark letters on it";
}
