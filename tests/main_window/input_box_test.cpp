#include "form1.h"

#include "display_blocks.h"
#include "messages.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

using namespace rainbow;

namespace {

/// One line of `length` units: words, ideographs, an emoji and accents.
QString longLine(qsizetype length)
{
    static const QString words = QStringLiteral("青柚 rainbow 彩虹文字 😀 e\u0301 text ");
    QString line;
    while (line.size() < length)
        line += words;
    line.truncate(length);
    return line;
}

} // namespace

// A long line pasted into the input box is held as display blocks, so that a keystroke lays out
// one block, not the line; reading, copying, undoing and the rainbow's count see the line as it is.
TEST(InputBox, ALongPastedLineIsDisplayBlocksAndStillTheOneLineItIs)
{
    ui::Form1 form;
    form.show();
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    QTest::mouseClick(form.findChild<QRadioButton *>(QStringLiteral("Option2")), Qt::LeftButton);
    QTest::keyClicks(input, QStringLiteral("ab"));
    const QString line = longLine(3 * ui::displayBlockLength + 100);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(line);

    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    EXPECT_GT(input->document()->blockCount(), 3) << "held as display blocks";
    for (QTextBlock block = input->document()->begin(); block.isValid(); block = block.next())
        EXPECT_LE(block.length() - 1, ui::displayBlockLength + 2);
    EXPECT_TRUE(ui::plainText(*input) == QStringLiteral("ab") + line);
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text(), messages::rainbowTip);

    QTest::keyClicks(input, QStringLiteral("yz"));
    EXPECT_TRUE(ui::plainText(*input) == QStringLiteral("ab") + line + QStringLiteral("yz"))
        << "typing at the end";
    input->selectAll();
    clipboard->clear();
    QTest::keyClick(input, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(clipboard->text() == QStringLiteral("ab") + line + QStringLiteral("yz"))
        << "a copy leaves the soft breaks out";

    // The paste and the typing after it go in one step, as in any plain text box.
    QTest::keyClick(input, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ui::plainText(*input), QStringLiteral("ab"));
    EXPECT_EQ(input->document()->blockCount(), 1);
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text(), messages::tooShortForRainbow);
}
