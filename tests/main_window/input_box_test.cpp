#include "ui/main_window/form1.h"

#include "ui/main_window/messages.h"
#include "ui/main_window/long_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
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

// Ten million characters pasted: every mode refuses them with a message at once, instead of a
// window that would not answer for many seconds, and the input stays.
TEST(InputBox, TenMillionCharactersAreRefusedInEveryModeAndKept)
{
    ui::Form1 form;
    form.show();
    auto *input = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
    const QString huge = longLine(10000000);
    QGuiApplication::clipboard()->setText(huge);
    QTest::keyClick(input, Qt::Key_V, Qt::ControlModifier);
    const struct {
        const char *name;
        const char *option;
        bool symmetric;
    } modes[] = { { "gradient", "Option1", false }, { "rainbow", "Option2", false },
        { "symmetric rainbow", "Option2", true } };
    for (const auto &mode : modes) {
        SCOPED_TRACE(mode.name);
        QTest::mouseClick(form.findChild<QRadioButton *>(QString::fromLatin1(mode.option)), Qt::LeftButton);
        auto *symmetric = form.findChild<QCheckBox *>(QStringLiteral("Check2"));
        if (symmetric->isChecked() != mode.symmetric)
            QTest::mouseClick(symmetric, Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command3")), Qt::LeftButton);
        EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text(), messages::tooLongForWindow);
        EXPECT_TRUE(form.findChild<QPushButton *>(QStringLiteral("Command3"))->isEnabled());
    }
    EXPECT_TRUE(ui::plainText(*input) == huge);
}
