#include "ui/main_window/text_boxes.h"

#include "ui/main_window/long_text.h"
#include "ui/main_window/form1.h"

#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <functional>

using namespace rainbow;

namespace {

/// A text of `size` units whose every piece end falls on one of the pairs that must not be cut:
/// "\r\n" straddles the first fill's end, a surrogate pair the second's.
QString textWithPairsOnPieceEnds(qsizetype size)
{
    QString text;
    text.reserve(size);
    static const QString words = QStringLiteral("[color=#FF0000]青[/color] ab ");
    static const QString breaks = QStringLiteral("\nc\rd\u2029");
    while (text.size() < size) {
        for (int i = 0; i < 8; ++i)
            text += words;
        text += breaks;
    }
    text.truncate(size);
    const qsizetype first = ui::LongTextBox::firstFill;
    text[first - 1] = u'\r';
    text[first] = u'\n';
    // The first piece takes the "\n" along, so the second ends one unit later.
    const qsizetype second = first + 1 + ui::LongTextBox::laterFill;
    text[second - 1] = QChar::highSurrogate(0x1F600);
    text[second] = QChar::lowSurrogate(0x1F600);
    return text;
}

QString withOneBreakEach(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

/// Runs the event loop until the box has stopped taking in text.
void waitUntilFilled(ui::LongTextBox &box)
{
    int last = -1;
    while (box.document()->characterCount() != last) {
        last = box.document()->characterCount();
        QApplication::processEvents();
        QApplication::processEvents();
    }
}

} // namespace

// A long text goes in piece by piece while the window waits, but reads, copies and scrolls as the
// whole text from the first moment, and leaves nothing to undo.
TEST(LongTextBox, ALongTextGoesInPieceByPieceAndIsWholeWheneverAsked)
{
    const QString text
        = textWithPairsOnPieceEnds(ui::LongTextBox::firstFill + ui::LongTextBox::laterFill + 4096);
    const QString expected = withOneBreakEach(text);
    const auto check = [&](ui::LongTextBox &box) {
        EXPECT_TRUE(ui::documentText(*box.document()) == expected)
            << "the whole text, read from the document";
        EXPECT_FALSE(box.document()->isUndoAvailable());
        EXPECT_FALSE(box.document()->isModified());
        EXPECT_TRUE(box.document()->isUndoRedoEnabled());
    };

    struct Case {
        const char *name;
        std::function<void(ui::LongTextBox &)> action;
    };
    const Case cases[] = {
        { "the window waits", waitUntilFilled },
        { "a key", [](ui::LongTextBox &box) { QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier); } },
        { "a click", [](ui::LongTextBox &box) { QTest::mouseClick(box.viewport(), Qt::LeftButton); } },
        { "a click on the scroll bar, which then reaches the end of the text",
            [](ui::LongTextBox &box) {
                QScrollBar *bar = box.verticalScrollBar();
                QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 2));
                bar->triggerAction(QAbstractSlider::SliderToMaximum);
                QTextCursor end(box.document());
                end.movePosition(QTextCursor::End);
                EXPECT_TRUE(box.viewport()->rect().intersects(box.cursorRect(end)));
            } },
        { "a wheel turn",
            [](ui::LongTextBox &box) {
                QWheelEvent wheel(QPointF(5, 5), box.viewport()->mapToGlobal(QPointF(5, 5)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
                QApplication::sendEvent(box.viewport(), &wheel);
            } },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ui::LongTextBox box;
        box.resize(265, 97);
        box.show();
        box.setLongText(text);
        EXPECT_LT(box.document()->characterCount(), ui::LongTextBox::firstFill + 64)
            << "only the start at once";
        EXPECT_TRUE(ui::plainText(box) == expected) << "reads as the whole text all the same";
        EXPECT_EQ(box.textCursor().position(), 0);
        c.action(box);
        check(box);
    }
}

// Whatever replaces the text while it is still going in, nothing of it comes after.
TEST(LongTextBox, ATextReplacedWhileGoingInStopsComing)
{
    const QString text
        = textWithPairsOnPieceEnds(ui::LongTextBox::firstFill + ui::LongTextBox::laterFill + 4096);
    ui::LongTextBox box;
    box.show();

    box.setLongText(text);
    box.setPlainText(QStringLiteral("cleared"));
    waitUntilFilled(box);
    EXPECT_EQ(ui::plainText(box), QStringLiteral("cleared"));

    box.setLongText(text);
    box.setLongText(QStringLiteral("short"));
    waitUntilFilled(box);
    EXPECT_EQ(ui::plainText(box), QStringLiteral("short"));
}

// The window's output box: the copy button copies the whole markup at once after the click, and
// Ctrl+C after selecting everything too.
TEST(LongTextBox, TheOutputBoxCopiesAllOfALongMarkupRightAfterTheClick)
{
    ui::Form1 form;
    form.show();
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    input->setPlainText(QString(20000, u'x') + QStringLiteral("\n青柚"));
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
    auto *output = form.findChild<ui::LongTextBox *>(QStringLiteral("Text3"));
    const QString markup = ui::plainText(*output);
    ASSERT_LT(output->document()->characterCount(), markup.size()) << "still going in";
    EXPECT_TRUE(markup.endsWith(QStringLiteral("[/color]")));
    EXPECT_EQ(markup.count(u'\n'), 1);

    QClipboard *clipboard = QGuiApplication::clipboard();
    QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command2(1)")), Qt::LeftButton);
    EXPECT_TRUE(clipboard->text() == markup);
    clipboard->clear();
    QTest::keyClick(output, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(output, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(clipboard->text() == markup);
}
