#include "ui/main_window/form1.h"

#include "tests/main_window/preview_reader.h"
#include "tests/support/dark_palette.h"
#include "ui/main_window/controls.h"
#include "ui/main_window/form1_state.h"
#include "ui/main_window/long_text.h"
#include "ui/main_window/messages.h"
#include "ui/main_window/picture2.h"
#include "ui/main_window/qt_color.h"
#include "ui/window_look.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontInfo>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <vector>

using namespace rainbow;
using rainbow::ui::Form1;
using rainbow::ui::Picture2;

namespace {

/// Answers the colour buttons in place of the dialog, and remembers who asked.
class FakeColorChooser final : public ui::ColorChooser {
public:
    std::optional<PackedColor> chooseColor(QWidget *owner) override
    {
        owners.push_back(owner);
        if (answers.empty())
            return std::nullopt;
        const std::optional<PackedColor> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<PackedColor>> answers;
    std::vector<QWidget *> owners;
};

PackedColor packed(int red, int green, int blue) { return red + 256 * green + 65536 * blue; }

/// One line of `length` units, a third of them ideographs, with spaces between short words.
QString longLine(qsizetype length)
{
    static const QString words = QStringLiteral("青柚 rainbow 彩虹文字 text 渐变色 ");
    QString line;
    while (line.size() < length)
        line += words;
    line.truncate(length - 1);
    return line + u'字';
}

/// The main window, shown offscreen, driven through its controls.
class Form1Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto chooser = std::make_unique<FakeColorChooser>();
        m_chooser = chooser.get();
        form = std::make_unique<Form1>(std::move(chooser));
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }

    template <typename Control = QWidget> Control *control(const char *name) const
    {
        auto *found = form->findChild<Control *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    /// Types into the input box: keys for Latin text, an input method's commit for the rest.
    void type(const QString &text)
    {
        auto *input = control<QPlainTextEdit>("Text1");
        input->moveCursor(QTextCursor::End);
        bool latin = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
        if (latin) {
            const QStringList lines = text.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0)
                    QTest::keyClick(input, Qt::Key_Return);
                QTest::keyClicks(input, lines[i]);
            }
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(input, &commit);
    }

    void backspace(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(control("Text1"), Qt::Key_Backspace);
    }

    void chooseFormat(int index)
    {
        auto *combo = control<QComboBox>("Combo1");
        while (combo->currentIndex() != index)
            QTest::keyClick(combo, combo->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
    }

    void answerColor(std::optional<PackedColor> answer) { m_chooser->answers.push_back(answer); }
    const std::vector<QWidget *> &colorDialogOwners() const { return m_chooser->owners; }

    QString status() const { return control<QLabel>("LblInfo")->text(); }
    QString text(const char *box) const { return ui::plainText(*control<QPlainTextEdit>(box)); }
    bool enabled(const char *name) const { return control(name)->isEnabled(); }
    bool checked(const char *name) const { return control<QAbstractButton>(name)->isChecked(); }
    QImage bar() const { return control<Picture2>("Picture2")->image(); }
    tests::ShownText preview() const
    {
        return tests::shownText(*control<ui::ColoredPreview>("RichTextBox1"));
    }

    QImage stylePicture(int index) const
    {
        const std::string name = "Image1(" + std::to_string(index) + ")";
        return control<QLabel>(name.c_str())->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    }

    /// The window's mode as the state table describes it.
    struct Mode {
        bool rainbowSelected;
        bool checksEnabled;
        bool colorButtonsEnabled;
        bool operator==(const Mode &other) const
        {
            return rainbowSelected == other.rainbowSelected && checksEnabled == other.checksEnabled
                && colorButtonsEnabled == other.colorButtonsEnabled;
        }
    };
    Mode mode() const
    {
        EXPECT_EQ(enabled("Check1"), enabled("Check2"));
        EXPECT_EQ(enabled("Command1(0)"), enabled("Command1(1)"));
        EXPECT_NE(checked("Option1"), checked("Option2"));
        return { checked("Option2"), enabled("Check1"), enabled("Command1(0)") };
    }
    static constexpr Mode gradient { false, false, true };
    static constexpr Mode rainbowWaitingFromGradient { true, false, true };
    static constexpr Mode rainbow { true, true, false };

    /// The colour the bar shows for user column k (where the line of k is the last drawn).
    static int pixelOf(int k) { return int(std::floor(k * 215.0 / 255.0 + 0.5)); }
    static bool lastOnItsPixel(int k) { return k == 255 || pixelOf(k + 1) != pixelOf(k); }

    void expectBar(RgbTriple start, RgbTriple end) const
    {
        const QImage shown = bar();
        for (int k = 0; k < 255; ++k) {
            if (!lastOnItsPixel(k))
                continue;
            const QColor expected(GradientComponent(start.red, end.red, k, 255),
                GradientComponent(start.green, end.green, k, 255),
                GradientComponent(start.blue, end.blue, k, 255));
            ASSERT_EQ(shown.pixelColor(pixelOf(k), 10), expected) << "k = " << k;
        }
    }

    std::unique_ptr<Form1> form;

private:
    FakeColorChooser *m_chooser = nullptr;
};

const RgbTriple cyan { 0, 255, 255 };
const RgbTriple pink { 255, 0, 128 };

} // namespace

TEST_F(Form1Test, StartsInGradientModeWithTheUbbFormatUnderTheWelcomeMessage)
{
    EXPECT_EQ(form->windowTitle(), QStringLiteral("青柚彩虹文字  青柚家园会员版"));
    EXPECT_FALSE(form->windowIcon().isNull());
    EXPECT_EQ(mode(), gradient);
    EXPECT_FALSE(checked("Check1"));
    EXPECT_FALSE(checked("Check2"));
    EXPECT_TRUE(enabled("Command3"));
    EXPECT_EQ(text("Text1"), QString());
    EXPECT_EQ(text("Text3"), QString());
    EXPECT_EQ(preview().text, QString());
    EXPECT_EQ(status(), messages::welcome);
    EXPECT_EQ(control("LblInfo")->palette().color(QPalette::WindowText), QColor(0xC0, 0x00, 0xC0));
    EXPECT_EQ(form->focusWidget(), control("Command3"));
    EXPECT_EQ(form->startColor(), cyan);
    EXPECT_EQ(form->endColor(), pink);
    expectBar(cyan, pink);
    EXPECT_EQ(bar().pixelColor(pixelOf(128), 0), QColor(128, 127, 191));
    EXPECT_EQ(bar().pixelColor(0, 19), QColor(0, 255, 255));

    auto *combo = control<QComboBox>("Combo1");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(combo->itemText(0), QStringLiteral("UBB(论坛)  [color=#FFFFFF]"));
    EXPECT_EQ(combo->itemText(1), QStringLiteral("QQ空间     [ftc=#FFFFFF]"));
    EXPECT_EQ(combo->itemText(2), QStringLiteral("Html(网页) <font color=#FFFFFF>"));
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(control<QLineEdit>("Text2(0)")->text(), QStringLiteral("[color=#"));
    EXPECT_EQ(control<QLineEdit>("Text2(1)")->text(), QStringLiteral("]"));
    EXPECT_EQ(control<QLineEdit>("Text2(2)")->text(), QStringLiteral("[/color]"));
}

TEST_F(Form1Test, ShowsItsCaptionsFontsAndColours)
{
    const std::pair<const char *, const char *> captions[] = {
        { "Label2", "输入需要生成彩虹文字的内容" },
        { "Label1(0)", "渐变色" },
        { "Label1(4)", "代码窗口" },
        { "Label3", "作者博客" },
        { "Label4", "V1.0.2" },
        { "Label5", "青柚家园" },
        { "Label6", "提交BUG" },
    };
    for (const auto &[name, caption] : captions)
        EXPECT_EQ(control<QLabel>(name)->text(), QString::fromUtf8(caption)) << name;
    const std::pair<const char *, const char *> buttons[] = {
        { "Option1", "渐变色" },
        { "Option2", "彩虹色" },
        { "Check1", "逆虹" },
        { "Check2", "对称" },
        { "Command1(0)", "起始颜色" },
        { "Command1(1)", "结束颜色" },
        { "Command2(1)", "复制到剪贴板" },
        { "Command2(2)", "清空文本" },
        { "Command3", "转换" },
    };
    for (const auto &[name, caption] : buttons)
        EXPECT_EQ(control<QAbstractButton>(name)->text(), QString::fromUtf8(caption)) << name;
    EXPECT_EQ(control<ui::WrappingButton>("Command1(0)")->shownText(), QStringLiteral("起始\n颜色"));
    EXPECT_EQ(control<ui::WrappingButton>("Command1(1)")->shownText(), QStringLiteral("结束\n颜色"));

    const QColor link(0x2D, 0x8B, 0xE8);
    for (const char *name : { "Label3", "Label5", "Label6" })
        EXPECT_EQ(control(name)->palette().color(QPalette::WindowText), link) << name;
    EXPECT_EQ(control("Label4")->palette().color(QPalette::WindowText), QColor(0xFF, 0x10, 0x03));
    EXPECT_TRUE(control("Label4")->font().bold());
    EXPECT_FALSE(control("Label3")->font().bold());
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        EXPECT_EQ(widget->font().pixelSize(), 12) << widget->objectName().toStdString();
        EXPECT_EQ(widget->font().families().value(0), QStringLiteral("SimSun"));
    }
    for (const char *name :
        { "Text2(0)", "Text2(1)", "Text2(2)", "Image1(0)", "Image1(1)", "Image1(2)", "Image1(3)" })
        EXPECT_FALSE(control(name)->isVisible()) << name;
    EXPECT_EQ(control<QLabel>("Image2")->pixmap().size(), QSize(232, 40));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(stylePicture(i).size(), QSize(215, 20));
}

TEST_F(Form1Test, IsAFixedCentredWindowWithoutMaximise)
{
    EXPECT_EQ(form->size(), QSize(513, 489));
    EXPECT_EQ(form->minimumSize(), QSize(513, 489));
    EXPECT_EQ(form->maximumSize(), QSize(513, 489));
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_LE((form->geometry().center() - screen.center()).manhattanLength(), 2);
}

TEST_F(Form1Test, PlacesEveryControlWhereTheLayoutSays)
{
    struct Place {
        const char *name;
        QRect pixels;
    };
    const Place places[] = {
        { "Label2", { 16, 80, 156, 12 } },
        { "Text1", { 16, 96, 201, 273 } },
        { "Option1", { 232, 104, 65, 17 } },
        { "Option2", { 232, 136, 65, 17 } },
        { "Check1", { 320, 104, 57, 17 } },
        { "Check2", { 320, 136, 57, 17 } },
        { "Command1(0)", { 408, 104, 41, 49 } },
        { "Command1(1)", { 456, 104, 41, 49 } },
        { "Label1(0)", { 232, 166, 36, 12 } },
        { "Picture2", { 280, 161, 217, 22 } },
        { "Combo1", { 232, 191, 265, 20 } },
        { "Label1(4)", { 232, 219, 48, 12 } },
        { "Text3", { 232, 239, 265, 97 } },
        { "Command2(2)", { 232, 344, 81, 25 } },
        { "Command3", { 320, 344, 57, 25 } },
        { "Command2(1)", { 384, 344, 113, 25 } },
        { "RichTextBox1", { 16, 384, 481, 89 } },
        { "LblInfo", { 232, 80, 192, 12 } },
        { "Label4", { 256, 40, 42, 12 } },
        { "Label6", { 320, 40, 42, 12 } },
        { "Label3", { 376, 40, 48, 12 } },
        { "Label5", { 440, 40, 48, 12 } },
        { "Image2", { 16, 16, 232, 40 } }, // 247 twips: 16.5 pixels, rounded down
        { "Shape1", { 8, 8, 497, 57 } },
        { "Shape2", { 8, 72, 497, 409 } },
        { "Line1", { 224, 72, 1, 304 } },
        { "Line2", { 224, 96, 280, 1 } },
        { "Line3", { 8, 376, 496, 1 } },
        { "Text2(0)", { 128, 616, 73, 18 } },
        { "Text2(1)", { 208, 616, 25, 18 } },
        { "Text2(2)", { 240, 616, 57, 18 } },
        { "Image1(0)", { 128, 640, 215, 20 } },
        { "Image1(1)", { 128, 664, 215, 20 } },
        { "Image1(2)", { 128, 712, 215, 20 } },
        { "Image1(3)", { 128, 688, 215, 20 } },
    };
    for (const Place &place : places)
        EXPECT_EQ(control(place.name)->geometry(), place.pixels) << place.name;
    EXPECT_EQ(form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).size(),
        qsizetype(std::size(places)));
    EXPECT_EQ(control<Picture2>("Picture2")->contentsRect().size(), QSize(215, 20));
}

TEST_F(Form1Test, LabelsAreAsLargeAsTheirCaptionsInTheWindowFont)
{
    // The bold version label is laid out at the width of a true bold face; the others must match
    // their captions exactly, which holds for SimSun and for AR PL UMing.
    for (const char *name : { "Label2", "Label1(0)", "Label1(4)", "LblInfo", "Label3", "Label5", "Label6" })
        EXPECT_EQ(control(name)->sizeHint(), control(name)->size()) << name;
}

namespace {

/// The faces and pixel sizes a layout draws its text in, in order of use.
std::vector<std::pair<QString, qreal>> drawnFaces(const QTextLayout &layout, int length)
{
    std::vector<std::pair<QString, qreal>> faces;
    // With the length given: a block's layout does not know its own text's length.
    for (const QGlyphRun &run : layout.glyphRuns(0, length)) {
        const std::pair<QString, qreal> face(run.rawFont().familyName(), run.rawFont().pixelSize());
        if (std::find(faces.begin(), faces.end(), face) == faces.end())
            faces.push_back(face);
    }
    return faces;
}

} // namespace

// Every control shows the window's face at 12 pixels, the texts inside the boxes and the preview's
// coloured characters too (a new document would take the application's face).
TEST_F(Form1Test, EveryControlAndThePreviewsCharactersUseTheWindowsFont)
{
    const QString sample = QStringLiteral("Rainbow 彩虹文字 text 123");
    type(sample);
    click("Command3");
    const QFontInfo window(ui::windowFont());
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (!widget->isVisible())
            continue;
        SCOPED_TRACE(widget->objectName().toStdString());
        const QFontInfo shown(widget->font());
        EXPECT_EQ(shown.family(), window.family());
        EXPECT_EQ(shown.pixelSize(), 12);
        if (auto *box = qobject_cast<QPlainTextEdit *>(widget)) {
            const QFontInfo inside(box->document()->defaultFont());
            EXPECT_EQ(inside.family(), window.family());
            EXPECT_EQ(inside.pixelSize(), 12);
        }
    }

    QTextLayout reference(sample, ui::windowFont());
    reference.beginLayout();
    reference.createLine();
    reference.endLayout();
    auto *preview = control<ui::ColoredPreview>("RichTextBox1");
    const QTextBlock first = preview->document()->firstBlock();
    preview->document()->documentLayout()->blockBoundingRect(first);
    ASSERT_EQ(first.text(), sample);
    EXPECT_TRUE(first.layout()->formats().size() > 0) << "the characters are coloured";
    EXPECT_EQ(drawnFaces(*first.layout(), int(sample.size())), drawnFaces(reference, int(sample.size())));
}

// Whatever face a system gives the window, every label shows its whole caption, from the corner
// the layout gives it; in the window's font the layout's sizes hold.
TEST_F(Form1Test, EveryLabelIsAtLeastAsLargeAsItsCaptionInItsFont)
{
    for (QLabel *label : form->findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue;
        SCOPED_TRACE(label->objectName().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()));
        EXPECT_GE(label->height(), metrics.height());
    }

    const QRect place(256, 40, 42, 12);
    const struct {
        const char *name;
        int pixelSize;
        bool bold;
    } fonts[] = { { "window font", 12, false }, { "window font, bold", 12, true }, { "larger", 16, false },
        { "larger, bold", 16, true } };
    for (const QString &caption : { QStringLiteral("提交BUG"), QStringLiteral("V1.0.2") }) {
        for (const auto &f : fonts) {
            SCOPED_TRACE(f.name);
            QLabel label(caption);
            QFont font = ui::windowFont();
            font.setPixelSize(f.pixelSize);
            font.setBold(f.bold);
            label.setFont(font);
            ui::fitToCaption(label, place);
            const QFontMetrics metrics(font);
            EXPECT_EQ(label.pos(), place.topLeft());
            EXPECT_GE(label.width(), metrics.horizontalAdvance(caption));
            EXPECT_GE(label.height(), metrics.height());
            if (f.pixelSize == 12 && !f.bold && caption == QStringLiteral("提交BUG")) {
                EXPECT_EQ(label.size(), place.size());
            }
        }
    }
}

TEST_F(Form1Test, TheStatusLineKeepsItsCornerWhenItsCaptionChanges)
{
    click("Option1");
    EXPECT_EQ(status(), messages::gradientTip);
    const QFontMetrics metrics(control("LblInfo")->font());
    EXPECT_EQ(
        control("LblInfo")->geometry(), QRect(232, 80, metrics.horizontalAdvance(messages::gradientTip), 12));
}

// The window's own texts are as written, even where one touches the frame; the messages the program
// adds end before the frame around the working area.
TEST_F(Form1Test, TheProgramsOwnMessagesFitBetweenTheStatusLineAndTheFrame)
{
    const QLabel *status = control<QLabel>("LblInfo");
    const int room = control("Shape2")->geometry().right() - status->x();
    const QFontMetrics metrics(status->font());
    for (const QString &message :
        { messages::tooLongForWindow, messages::outOfMemory, messages::tooLong, messages::unexpectedError }) {
        SCOPED_TRACE(message.toStdString());
        EXPECT_LE(metrics.horizontalAdvance(message), room);
    }
}

// Tab and Shift+Tab walk the tab order both ways, skipping the hidden holders, the plain labels
// and whatever is disabled; the option pair is one stop, at its selected button; the link labels
// come last.
TEST_F(Form1Test, TabAndShiftTabWalkTheTabOrderBothWays)
{
    const auto walk = [this](bool backward, size_t steps) {
        std::vector<std::string> visited;
        control("Command3")->setFocus();
        for (size_t i = 0; i < steps; ++i) {
            if (backward)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget()->objectName().toStdString());
        }
        return visited;
    };
    const struct {
        const char *name;
        std::function<void()> setUp;
        std::vector<std::string> forward; // from Command3 round to Command3
    } cases[] = {
        { "gradient", [] {},
            { "Option1", "Text1", "Command2(2)", "Command2(1)", "Text3", "Combo1", "Command1(1)",
                "Command1(0)", "Picture2", "RichTextBox1", "Label3", "Label4", "Label5", "Label6",
                "Command3" } },
        { "rainbow waiting for input",
            [this] {
                type(QStringLiteral("abc"));
                click("Option2");
            },
            { "Option2", "Text1", "Command2(2)", "Command2(1)", "Text3", "Combo1", "Command1(1)",
                "Command1(0)", "Picture2", "RichTextBox1", "Label3", "Label4", "Label5", "Label6",
                "Command3" } },
        { "rainbow", [this] { type(QStringLiteral("def")); },
            { "Check2", "Check1", "Option2", "Text1", "Command2(2)", "Command2(1)", "Text3", "Combo1",
                "Picture2", "RichTextBox1", "Label3", "Label4", "Label5", "Label6", "Command3" } },
        { "gradient chosen with the arrow keys",
            [this] {
                control("Option2")->setFocus();
                QTest::keyClick(control("Option2"), Qt::Key_Up);
                ASSERT_TRUE(checked("Option1"));
            },
            { "Option1", "Text1", "Command2(2)", "Command2(1)", "Text3", "Combo1", "Command1(1)",
                "Command1(0)", "Picture2", "RichTextBox1", "Label3", "Label4", "Label5", "Label6",
                "Command3" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.setUp();
        EXPECT_EQ(walk(false, c.forward.size()), c.forward);
        std::vector<std::string> backward(c.forward.rbegin() + 1, c.forward.rend());
        backward.push_back("Command3");
        EXPECT_EQ(walk(true, backward.size()), backward);
    }
}

TEST_F(Form1Test, ShiftTabLeavesTheOptionButtonItCameTo)
{
    QTest::keyClick(control("Command3"), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), control("Option1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("Command3"));

    click("Option1");
    EXPECT_EQ(QApplication::focusWidget(), control("Option1")) << "a click gives the focus";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("Command3"));

    click("Option2");
    EXPECT_EQ(QApplication::focusWidget(), control("Option2")) << "the unselected button takes a click";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), control("Command3"));
}

TEST_F(Form1Test, RainbowWaitsForSixCharactersThenSwitches)
{
    type(QStringLiteral("  abcde  "));
    EXPECT_EQ(status(), messages::gradientTip);
    click("Option2");
    EXPECT_EQ(status(), messages::tooShortForRainbow);
    EXPECT_EQ(mode(), rainbowWaitingFromGradient);
    expectBar(cyan, pink);

    // Picking a colour still works while waiting, and redraws the bar that is still shown.
    answerColor(packed(0, 0, 255));
    click("Command1(1)");
    expectBar(cyan, { 0, 0, 255 });

    type(QStringLiteral("f"));
    EXPECT_EQ(status(), messages::rainbowTip);
    EXPECT_EQ(mode(), rainbow);
    EXPECT_EQ(bar(), stylePicture(0));

    // Below six again: only the message changes.
    backspace(4);
    EXPECT_EQ(status(), messages::tooShortForRainbow);
    EXPECT_EQ(mode(), rainbow);
    EXPECT_EQ(bar(), stylePicture(0));
}

TEST_F(Form1Test, TheCheckBoxesChooseTheStylePicture)
{
    type(QStringLiteral("abcdef"));
    click("Option2");
    struct Step {
        const char *box;
        int picture;
    };
    const Step steps[] = { { "Check1", 1 }, { "Check2", 2 }, { "Check1", 3 }, { "Check2", 0 } };
    for (const Step &step : steps) {
        click(step.box);
        EXPECT_EQ(bar(), stylePicture(step.picture)) << step.box << " to picture " << step.picture;
        EXPECT_EQ(status(), messages::rainbowTip) << "the check boxes write no message";
    }
}

TEST_F(Form1Test, GradientModeKeepsTheTicksAndRainbowModeShowsThemAgain)
{
    type(QStringLiteral("abcdef"));
    click("Option2");
    click("Check1");
    click("Check2");
    click("Option1");
    EXPECT_EQ(status(), messages::gradientTip);
    EXPECT_EQ(mode(), gradient);
    EXPECT_TRUE(checked("Check1"));
    EXPECT_TRUE(checked("Check2"));
    expectBar(cyan, pink);

    click("Option2");
    EXPECT_EQ(mode(), rainbow);
    EXPECT_EQ(bar(), stylePicture(2));
}

TEST_F(Form1Test, TypingRewritesTheTipOfTheMode)
{
    type(QStringLiteral("abcdef"));
    click("Command3");
    EXPECT_EQ(status(), messages::converted);
    type(QStringLiteral("g"));
    EXPECT_EQ(status(), messages::gradientTip);

    click("Option2");
    click("Check1");
    click("Command3");
    EXPECT_EQ(status(), messages::converted);
    type(QStringLiteral("h"));
    EXPECT_EQ(status(), messages::rainbowTip);
    EXPECT_EQ(bar(), stylePicture(1)) << "the picture is shown again";
}

TEST_F(Form1Test, ColourButtonsAskTheDialogAndRedrawTheBar)
{
    type(QStringLiteral("abcdef"));
    click("Command3");
    const QString markup = text("Text3");
    const auto shown = preview();

    answerColor(packed(255, 0, 0));
    click("Command1(0)");
    EXPECT_EQ(form->startColor(), (RgbTriple { 255, 0, 0 }));
    EXPECT_EQ(form->endColor(), pink);
    answerColor(packed(0, 0, 255));
    click("Command1(1)");
    EXPECT_EQ(form->endColor(), (RgbTriple { 0, 0, 255 }));
    // Red to blue: column k is (255 - k, 0, k), no rounding at all.
    const QImage redToBlue = bar();
    for (int k = 0; k < 255; ++k) {
        if (lastOnItsPixel(k)) {
            ASSERT_EQ(redToBlue.pixelColor(pixelOf(k), 5), QColor(255 - k, 0, k)) << "k = " << k;
        }
    }
    EXPECT_EQ(colorDialogOwners(), (std::vector<QWidget *> { form.get(), form.get() }));
    EXPECT_EQ(text("Text3"), markup);
    EXPECT_EQ(preview().colors, shown.colors);
    EXPECT_EQ(status(), messages::converted);

    answerColor(std::nullopt); // cancelled
    click("Command1(0)");
    EXPECT_EQ(form->startColor(), (RgbTriple { 255, 0, 0 }));
    EXPECT_EQ(bar(), redToBlue);

    answerColor(packed(40, 50, 60));
    click("Command1(1)");
    answerColor(packed(40, 50, 60));
    click("Command1(0)");
    const QImage uniform = bar();
    for (int x = 0; x < 215; ++x)
        ASSERT_EQ(uniform.pixelColor(x, 0), QColor(40, 50, 60)) << "column " << x;
}

TEST_F(Form1Test, CopyPutsTheWholeOutputOnTheClipboard)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("older text"));
    click("Command2(1)");
    EXPECT_EQ(clipboard->text(), QString());
    EXPECT_EQ(status(), messages::copied);

    type(QStringLiteral("abc\xa0"
                        "def"));
    click("Command3");
    click("Command2(1)");
    EXPECT_EQ(clipboard->text(), text("Text3"));
    EXPECT_TRUE(clipboard->text().contains(QChar(0xA0))) << "a no-break space stays one";
    EXPECT_EQ(status(), messages::copied);
}

TEST_F(Form1Test, ClearEmptiesInputAndOutputInGradientMode)
{
    type(QStringLiteral("abcdef"));
    click("Command3");
    const auto shown = preview();
    click("Command2(2)");
    EXPECT_EQ(text("Text1"), QString());
    EXPECT_EQ(text("Text3"), QString());
    EXPECT_EQ(preview().text, shown.text);
    EXPECT_EQ(preview().colors, shown.colors);
    EXPECT_EQ(status(), messages::gradientTip);
    EXPECT_EQ(mode(), gradient);
}

TEST_F(Form1Test, ClearInRainbowModeKeepsTheRainbowControls)
{
    type(QStringLiteral("abcdef"));
    click("Option2");
    click("Check2");
    click("Command3");
    click("Command2(2)");
    EXPECT_EQ(text("Text1"), QString());
    EXPECT_EQ(text("Text3"), QString());
    EXPECT_EQ(status(), messages::tooShortForRainbow);
    EXPECT_EQ(mode(), rainbow);
    EXPECT_EQ(bar(), stylePicture(3));
}

TEST_F(Form1Test, RefusedConversionsEmptyTheOutputAndKeepThePreview)
{
    type(QStringLiteral("abcdefgh"));
    click("Command3");
    const auto shown = preview();
    click("Option2");
    click("Check2");
    click("Command3");
    EXPECT_EQ(status(), messages::tooShortForSymmetric);
    EXPECT_EQ(text("Text3"), QString());
    EXPECT_EQ(preview().colors, shown.colors);
    EXPECT_TRUE(enabled("Command3"));

    click("Check2");
    click("Command3");
    EXPECT_EQ(status(), messages::converted);
    const auto rainbowShown = preview();
    backspace(3);
    click("Command3");
    EXPECT_EQ(status(), messages::tooShortForRainbow);
    EXPECT_EQ(text("Text3"), QString());
    EXPECT_EQ(preview().colors, rainbowShown.colors);
    EXPECT_TRUE(enabled("Command3"));
}

TEST_F(Form1Test, TheFormatListWritesTheTemplateOnEveryChoice)
{
    type(QStringLiteral("abcdef"));
    click("Command3");
    const QString markup = text("Text3");
    chooseFormat(1);
    chooseFormat(2);
    EXPECT_EQ(control<QLineEdit>("Text2(0)")->text(), QStringLiteral("<font color=#"));
    EXPECT_EQ(control<QLineEdit>("Text2(1)")->text(), QStringLiteral(">"));
    EXPECT_EQ(control<QLineEdit>("Text2(2)")->text(), QStringLiteral("</font>"));
    EXPECT_EQ(text("Text3"), markup) << "the output keeps its old format";

    // Choosing the entry already chosen writes the template again.
    control<QLineEdit>("Text2(0)")->setText(QStringLiteral("spoilt"));
    auto *combo = control<QComboBox>("Combo1");
    combo->showPopup();
    auto *list = combo->view();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualRect(combo->model()->index(2, 0)).center());
    EXPECT_EQ(control<QLineEdit>("Text2(0)")->text(), QStringLiteral("<font color=#"));
}

TEST_F(Form1Test, TheConvertButtonShowsItsWorkWhileItRuns)
{
    // Record what the status line paints during the conversion.
    struct PaintWatcher : QObject {
        QLabel *label = nullptr;
        QWidget *button = nullptr;
        std::vector<std::tuple<QString, bool, bool>> seen; // text, button enabled, busy cursor
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint) {
                const QCursor *cursor = QApplication::overrideCursor();
                seen.emplace_back(
                    label->text(), button->isEnabled(), cursor && cursor->shape() == Qt::WaitCursor);
            }
            return false;
        }
    } watcher;
    watcher.label = control<QLabel>("LblInfo");
    watcher.button = control("Command3");
    type(QStringLiteral("abcdef"));
    QApplication::processEvents();
    watcher.label->installEventFilter(&watcher);
    click("Command3");
    watcher.label->removeEventFilter(&watcher);
    ASSERT_FALSE(watcher.seen.empty());
    EXPECT_EQ(watcher.seen.front(), std::make_tuple(messages::converting, false, true));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(enabled("Command3"));
}

// The window copies its controls into the conversion's state and shows the result: Text3 and the
// preview must agree with the conversion run on the same input.
TEST_F(Form1Test, ConvertingThroughTheButtonAgreesWithTheConversion)
{
    struct Case {
        const char *name;
        QString input;
        bool rainbowMode;
        bool reverse;
        bool symmetric;
        int format;
    };
    const Case cases[] = {
        { "gradient, UBB", QStringLiteral("  Hello, world  "), false, false, false, 0 },
        { "gradient of nothing", QString(), false, false, false, 0 },
        { "gradient, HTML, with a line break", QStringLiteral("<b>&\nnext line"), false, false, false, 2 },
        { "plain rainbow, QQ空间", QStringLiteral("青柚彩虹文字 rainbow"), true, false, false, 1 },
        { "reverse rainbow", QStringLiteral("ABCDEFGHIJKL"), true, true, false, 0 },
        { "symmetric rainbow of Chinese text", QStringLiteral("青柚彩虹文字在线生成工具"), true, false, true,
            0 },
        { "reverse symmetric, odd length", QStringLiteral("ABCDEFGHIJKLM"), true, true, true, 2 },
        { "emoji and accents stay whole", QStringLiteral("e\u0301👍🏽🇨🇳abcdefghi"), true, false,
            true, 0 },
        { "a long line, held in display blocks", longLine(2 * ui::displayBlockLength), true, false, true, 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        click("Command2(2)");
        click("Option1");
        type(c.input);
        chooseFormat(c.format);
        if (c.rainbowMode) {
            click("Option2");
            if (checked("Check1") != c.reverse)
                click("Check1");
            if (checked("Check2") != c.symmetric)
                click("Check2");
        }
        click("Command3");

        Form1State expected;
        expected.Text1 = c.input;
        expected.Option1 = !c.rainbowMode;
        expected.Check1 = c.reverse ? 1 : 0;
        expected.Check2 = c.symmetric ? 1 : 0;
        Combo1_Click(expected, c.format);
        rainbow::Command3_Click(expected);

        EXPECT_EQ(status(), expected.LblInfo);
        EXPECT_EQ(text("Text3"), expected.Text3);
        EXPECT_EQ(form->rainbowColor(), expected.RainbowColor);
        const auto shown = preview();
        ASSERT_EQ(shown.text, expected.RichTextBox1.text);
        for (qsizetype unit = 0; unit < shown.text.size(); ++unit) {
            const std::optional<PackedColor> color = expected.RichTextBox1.colorAt(unit);
            if (shown.text[unit] != u'\n') {
                ASSERT_EQ(shown.colors[size_t(unit)], ui::toQColor(*color)) << "unit " << unit;
            }
        }
    }
}

// A line longer than a display block shows, and reads to a screen reader, as the one line it is: its
// lines break where the box wraps it, and nowhere else.
TEST_F(Form1Test, ALongPastedLineBreaksOnlyWhereTheBoxesWrapIt)
{
    const QString line = longLine(20000);
    QGuiApplication::clipboard()->setText(line);
    control("Text1")->setFocus();
    QTest::keyClick(control("Text1"), Qt::Key_V, Qt::ControlModifier);
    click("Command3");
    // The preview's scroll bar shows once the window has handled what the click left.
    QCoreApplication::processEvents();
    ASSERT_TRUE(control<QPlainTextEdit>("RichTextBox1")->verticalScrollBar()->isVisible());
    const QString markup = text("Text3");
    ASSERT_EQ(text("Text1"), line);
    ASSERT_EQ(preview().text, line);
    ASSERT_GT(markup.size(), 20 * line.size());

    const std::pair<const char *, QString> boxes[]
        = { { "Text1", line }, { "RichTextBox1", line }, { "Text3", markup } };
    for (const auto &[name, shown] : boxes) {
        SCOPED_TRACE(name);
        auto *box = control<QPlainTextEdit>(name);
        ASSERT_GT(box->document()->blockCount(), 4) << "held as display blocks";
        QAccessibleTextInterface *read = QAccessible::queryAccessibleInterface(box)->textInterface();
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->characterCount(), shown.size());
        EXPECT_TRUE(read->text(0, read->characterCount()) == shown) << "the accessible text is the line";
        const int middle = int(box->document()->begin().next().next().position()) - 1;
        const int offset = ui::LongText::of(box)->offset(middle);
        EXPECT_EQ(read->text(offset - 5, offset + 5), shown.mid(offset - 5, 10)) << "across a soft break";
        const std::vector<int> starts = tests::shownLineStarts(*box);
        const std::vector<int> wrapped = tests::unsplitLineStarts(*box, shown);
        EXPECT_EQ(starts.size(), wrapped.size());
        EXPECT_TRUE(starts == wrapped) << "the lines start where the box wraps the line";

        // A screen reader reads the lines as shown, also the first and the last.
        std::vector<size_t> sampled;
        for (size_t i = 0; i < starts.size(); i += 23)
            sampled.push_back(i);
        sampled.push_back(starts.size() - 1);
        for (const size_t i : sampled) {
            SCOPED_TRACE(i);
            const int end = i + 1 < starts.size() ? starts[i + 1] : int(shown.size());
            int start = -1, stop = -1;
            EXPECT_EQ(read->textAtOffset(starts[i], QAccessible::LineBoundary, &start, &stop),
                shown.mid(starts[i], end - starts[i]));
            EXPECT_EQ(std::make_pair(start, stop), std::make_pair(starts[i], end));
            read->textAtOffset(end - 1, QAccessible::LineBoundary, &start, &stop);
            EXPECT_EQ(start, starts[i]) << "the line's last character";
            if (i > 0) {
                read->textBeforeOffset(starts[i], QAccessible::LineBoundary, &start, &stop);
                EXPECT_EQ(std::make_pair(start, stop), std::make_pair(starts[i - 1], starts[i]));
            }
        }
    }
}

// An edit inside a long line moves the lines after it: its display blocks follow, so that the
// lines still break only where the box wraps the whole line.
TEST_F(Form1Test, TypingOrDeletingInsideALongLineKeepsItsLinesWhereTheBoxWrapsIt)
{
    QString chinese;
    while (chinese.size() < 20000)
        chinese += QStringLiteral("彩虹文字青柚家园");
    const struct {
        const char *name;
        const char *box;
        QString line;
        Qt::Key key; // 0: type a character
    } cases[] = {
        { "typing into Chinese", "Text1", chinese, Qt::Key(0) },
        { "deleting from Chinese", "Text1", chinese, Qt::Key_Backspace },
        { "typing into mixed text", "Text1", longLine(20000), Qt::Key(0) },
        { "typing into the markup", "Text3", QString(), Qt::Key(0) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        auto *box = control<QPlainTextEdit>(c.box);
        if (c.line.isEmpty()) {
            control<QPlainTextEdit>("Text1")->setPlainText(chinese.left(1000));
            click("Command3");
        } else {
            QGuiApplication::clipboard()->setText(c.line);
            box->clear();
            box->setFocus();
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        }
        ASSERT_GT(box->document()->blockCount(), 4) << "held as display blocks";
        QTextCursor caret(box->document());
        caret.setPosition(ui::LongText::of(box)->position(3960));
        box->setTextCursor(caret);
        if (c.key)
            QTest::keyClick(box, c.key);
        else
            QTest::keyClicks(box, QStringLiteral("x"));
        tests::waitWhileChanging(*box); // the blocks out of sight follow while the window waits
        const QString shown = text(c.box);
        const std::vector<int> starts = tests::shownLineStarts(*box);
        EXPECT_TRUE(starts == tests::unsplitLineStarts(*box, shown))
            << "the lines start where the box wraps the line";
    }
}

// A line too long to lay out whole in one go is cut near every 4096th unit at first; while the
// window waits, its soft breaks move to where the box starts its lines, also those past a
// character typed meanwhile.
TEST_F(Form1Test, ALineTooLongToCutExactlyAtOnceBreaksWhereTheBoxWrapsItOnceTheWindowHasWaited)
{
    enum class Edit { None, TypedWhileAligning, ByScreenReader };
    const struct {
        const char *name;
        const char *box;
        qsizetype length;
        Edit edit;
    } cases[] = {
        { "1,000,000 characters pasted", "Text1", 1000000, Edit::None },
        { "the markup of 30,000 (720,000 units)", "Text3", 30000, Edit::None },
        { "a character typed in the first line while the rest aligns", "Text1", 600000, Edit::TypedWhileAligning },
        // Its line breaks move the start of every line after it.
        { "a character a screen reader inserts once aligned", "Text1", 600000, Edit::ByScreenReader },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QGuiApplication::clipboard()->setText(longLine(c.length));
        control<QPlainTextEdit>("Text1")->clear();
        control("Text1")->setFocus();
        QTest::keyClick(control("Text1"), Qt::Key_V, Qt::ControlModifier);
        if (std::string_view(c.box) == "Text3")
            click("Command3");
        auto *box = control<QPlainTextEdit>(c.box);
        ASSERT_GT(text(c.box).size(), ui::wrappedParagraphLength);
        if (c.edit == Edit::TypedWhileAligning) {
            QTextCursor caret(box->document());
            caret.setPosition(ui::LongText::of(box)->position(100));
            box->setTextCursor(caret);
            QTest::keyClicks(box, QStringLiteral("x"));
        } else if (c.edit == Edit::ByScreenReader) {
            tests::waitWhileChanging(*box);
            QAccessible::queryAccessibleInterface(box)->editableTextInterface()->insertText(
                3960, QStringLiteral("x"));
        }
        tests::waitWhileChanging(*box);
        const QString shown = text(c.box);
        EXPECT_TRUE(tests::shownLineStarts(*box) == tests::unsplitLineStarts(*box, shown))
            << "the lines start where the box wraps the line";
    }
}

// The output box holds a long line as display blocks: it must copy, and take the user's edits, as
// the one line it is.
TEST_F(Form1Test, ALongOutputCopiesAndEditsAsTheOneLineItIs)
{
    type(longLine(1000));
    click("Command3");
    auto *box = control<QPlainTextEdit>("Text3");
    QTextDocument *document = box->document();
    const QString markup = text("Text3");
    ASSERT_GE(document->blockCount(), 3) << "held as display blocks";
    EXPECT_TRUE(document->isUndoRedoEnabled());
    EXPECT_FALSE(document->isUndoAvailable()) << "the conversion leaves nothing to undo";

    QClipboard *clipboard = QGuiApplication::clipboard();
    const auto copyBySelection = [&](int from, int to) {
        QTextCursor selection(document);
        selection.setPosition(from);
        selection.setPosition(to, QTextCursor::KeepAnchor);
        box->setTextCursor(selection);
        clipboard->clear();
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        return clipboard->text();
    };
    click("Command2(1)");
    EXPECT_EQ(clipboard->text(), markup);
    EXPECT_EQ(copyBySelection(0, document->characterCount() - 1), markup);
    // The second block starts one position after its soft break, which the markup has no unit for.
    const QTextBlock second = document->begin().next();
    const int softBreak = second.position() - 1;
    EXPECT_EQ(copyBySelection(softBreak - 10, softBreak + 11), markup.mid(softBreak - 10, 20));

    box->moveCursor(QTextCursor::End);
    EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect())) << "scrolls to the very end";

    struct Edit {
        const char *name;
        int caret; // a document position
        std::function<void()> keys;
        QString expected;
    };
    const int secondLength = second.length() - 1;
    // The keys are copied: an initializer_list's array ends with the expression that made it.
    const auto keys = [box](std::initializer_list<Qt::Key> list, Qt::KeyboardModifiers modifiers = {}) {
        return [box, list = std::vector<Qt::Key>(list), modifiers] {
            for (const Qt::Key key : list)
                QTest::keyClick(box, key, modifiers);
        };
    };
    const Edit edits[] = {
        { "backspace at a soft break removes no character", second.position(), keys({ Qt::Key_Backspace }),
            markup },
        { "undo brings the soft break back as one", second.position(),
            [&] {
                QTest::keyClick(box, Qt::Key_Backspace);
                QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            },
            markup },
        { "return at a soft break is the user's line break", second.position(), keys({ Qt::Key_Return }),
            markup.left(softBreak) + u'\n' + markup.mid(softBreak) },
        { "return inside a display block", second.position() + 5, keys({ Qt::Key_Return }),
            markup.left(softBreak + 5) + u'\n' + markup.mid(softBreak + 5) },
        { "typing into an emptied display block", second.position(),
            [&] {
                QTextCursor block = box->textCursor();
                block.setPosition(second.position() + secondLength, QTextCursor::KeepAnchor);
                box->setTextCursor(block);
                QTest::keyClick(box, Qt::Key_Delete);
                QTest::keyClicks(box, QStringLiteral("x"));
                QTest::keyClick(box, Qt::Key_Return);
                QTest::keyClicks(box, QStringLiteral("y"));
            },
            markup.left(softBreak) + QStringLiteral("x\ny") + markup.mid(softBreak + secondLength) },
    };
    for (const Edit &edit : edits) {
        SCOPED_TRACE(edit.name);
        click("Command3");
        QTextCursor caret(document);
        caret.setPosition(edit.caret);
        box->setTextCursor(caret);
        edit.keys();
        EXPECT_EQ(text("Text3"), edit.expected);
        click("Command2(1)");
        EXPECT_EQ(clipboard->text(), edit.expected);
    }
}

TEST_F(Form1Test, ALongPreviewCopiesAsTheInputWithItsColours)
{
    const QString input = longLine(3 * ui::displayBlockLength);
    type(input);
    click("Option2");
    click("Command3");
    auto *box = control<ui::ColoredPreview>("RichTextBox1");
    ASSERT_GE(box->document()->blockCount(), 3) << "held as display blocks";

    box->selectAll();
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    const QMimeData *copied = clipboard->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->text(), input);
    QTextDocument pasted;
    pasted.setHtml(copied->html());
    EXPECT_EQ(pasted.blockCount(), 1);
    const auto shownPasted = tests::shownText(pasted);
    EXPECT_EQ(shownPasted.text, input);
    EXPECT_EQ(shownPasted.colors, preview().colors);

    box->moveCursor(QTextCursor::End);
    EXPECT_TRUE(box->viewport()->rect().contains(box->cursorRect())) << "scrolls to the very end";
}

TEST_F(Form1Test, EnterOrReturnPressesTheFocusedPushButton)
{
    const struct {
        const char *button;
        Qt::Key key;
        std::function<bool()> pressed;
    } cases[] = {
        { "Command3", Qt::Key_Return, [this] { return status() == messages::converted; } },
        { "Command2(1)", Qt::Key_Enter, [this] { return status() == messages::copied; } },
        { "Command2(2)", Qt::Key_Return, [this] { return text("Text1").isEmpty(); } },
        { "Command1(0)", Qt::Key_Enter, [this] { return colorDialogOwners().size() == 1; } },
        { "Command1(1)", Qt::Key_Return, [this] { return colorDialogOwners().size() == 2; } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        type(QStringLiteral("abcdef"));
        click("Option1");
        control(c.button)->setFocus();
        QTest::keyClick(
            control(c.button), c.key, c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_TRUE(c.pressed());
    }

    // The convert button keeps the focus through its conversion: Enter converts again.
    control("Command3")->setFocus();
    QTest::keyClick(control("Command3"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), control("Command3"));

    // Held down, the key presses once.
    control("Command1(0)")->setFocus();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(control("Command1(0)"), &repeat);
    EXPECT_EQ(colorDialogOwners().size(), 2u);
}

// After a conversion the preview selects the last character, as the colouring left it; the
// highlight shows only while the preview has the focus, so the colours show otherwise.
TEST_F(Form1Test, TheConversionLeavesTheLastCharacterSelectedInThePreview)
{
    const struct {
        const char *name;
        QString input;
        bool rainbowMode;
        bool symmetric;
        QString lastCharacter;
    } cases[] = {
        { "gradient within spaces", QStringLiteral("  Hello  "), false, false, QStringLiteral("o") },
        { "rainbow over lines", QStringLiteral("ab\ncd\nef"), true, false, QStringLiteral("f") },
        { "symmetric rainbow ending in an emoji", QStringLiteral("abcdefghijk👍🏽"), true, true,
            QStringLiteral("👍🏽") },
        { "a long line in display blocks", longLine(2 * ui::displayBlockLength + 7), false, false,
            QStringLiteral("字") },
    };
    auto *box = control<ui::ColoredPreview>("RichTextBox1");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        click("Command2(2)");
        click("Option1");
        type(c.input);
        if (c.rainbowMode) {
            click("Option2");
            if (checked("Check2") != c.symmetric)
                click("Check2");
        }
        click("Command3");
        const QTextCursor selection = box->textCursor();
        const QTextDocument &document = *box->document();
        EXPECT_EQ(selection.selectionEnd(), document.characterCount() - 1);
        EXPECT_EQ(
            ui::textBetween(document, selection.selectionStart(), selection.selectionEnd()), c.lastCharacter);
    }

    // A conversion that is refused leaves the preview, and where the user put its selection.
    box->moveCursor(QTextCursor::Start);
    click("Command2(2)");
    type(QStringLiteral("abc"));
    click("Option2");
    click("Command3");
    EXPECT_EQ(status(), messages::tooShortForRainbow);
    EXPECT_EQ(box->textCursor().position(), 0);
    EXPECT_FALSE(box->textCursor().hasSelection());
}

TEST_F(Form1Test, ThePreviewHighlightsItsSelectionOnlyWithTheFocus)
{
    type(QStringLiteral("ABCDEFGHIJ"));
    click("Command3");
    auto *box = control<ui::ColoredPreview>("RichTextBox1");
    ASSERT_TRUE(box->textCursor().hasSelection());
    const QColor highlight = box->palette().color(QPalette::Active, QPalette::Highlight);
    const auto highlighted = [&] {
        const QImage shown = box->viewport()->grab().toImage();
        int count = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                count += shown.pixelColor(x, y) == highlight ? 1 : 0;
        return count;
    };
    ASSERT_NE(QApplication::focusWidget(), box);
    EXPECT_EQ(highlighted(), 0);
    box->setFocus();
    EXPECT_GT(highlighted(), 20);
    control("Command3")->setFocus();
    EXPECT_EQ(highlighted(), 0);
}

namespace {

/// Every object of the accessible tree below root, depth first.
void collectAccessible(QAccessibleInterface *root, std::vector<QObject *> &found)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(root->indexOfChild(child), i);
        found.push_back(child->object());
        collectAccessible(child, found);
    }
}

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

} // namespace

TEST_F(Form1Test, ScreenReadersFindEveryControlByNameAndNoHiddenHolder)
{
    std::vector<QObject *> tree;
    collectAccessible(QAccessible::queryAccessibleInterface(form.get()), tree);
    const auto inTree
        = [&](const char *name) { return std::count(tree.begin(), tree.end(), control(name)) == 1; };
    for (const char *hidden : { "Text2(0)", "Text2(1)", "Text2(2)", "Image1(0)", "Image1(3)" })
        EXPECT_FALSE(inTree(hidden)) << hidden;

    type(QStringLiteral("abcdef"));
    click("Option2");
    for (QWidget *widget : form->findChildren<QWidget *>()) {
        if (widget->isHidden() || !(widget->focusPolicy() & Qt::TabFocus)
            || widget->parentWidget() != form.get())
            continue;
        SCOPED_TRACE(widget->objectName().toStdString());
        EXPECT_TRUE(inTree(widget->objectName().toLatin1().constData()));
        EXPECT_FALSE(accessibleText(widget, QAccessible::Name).trimmed().isEmpty());
    }
    const struct {
        const char *control;
        QString name;
    } named[] = {
        { "Text1", QStringLiteral("输入需要生成彩虹文字的内容") },
        { "Text3", QStringLiteral("代码窗口") },
        { "RichTextBox1", QStringLiteral("预览") },
        { "Picture2", QStringLiteral("渐变色") },
        { "Command3", QStringLiteral("转换") },
        { "Check1", QStringLiteral("逆虹") },
        { "Combo1", QStringLiteral("代码格式") },
        { "Image2", QStringLiteral("青柚彩虹文字") },
    };
    for (const auto &n : named)
        EXPECT_EQ(accessibleText(control(n.control), QAccessible::Name), n.name) << n.control;
}

TEST_F(Form1Test, ThePictureAndTheColourButtonsDescribeTheirColoursInWords)
{
    const auto description
        = [this](const char *name) { return accessibleText(control(name), QAccessible::Description); };
    EXPECT_EQ(description("Picture2"), QStringLiteral("起始颜色 #00FFFF，结束颜色 #FF0080"));
    EXPECT_EQ(description("Command1(0)"), QStringLiteral("当前颜色 #00FFFF"));
    EXPECT_EQ(description("Command1(1)"), QStringLiteral("当前颜色 #FF0080"));

    answerColor(packed(0x12, 0xAB, 0x03));
    click("Command1(1)");
    EXPECT_EQ(description("Picture2"), QStringLiteral("起始颜色 #00FFFF，结束颜色 #12AB03"));
    EXPECT_EQ(description("Command1(1)"), QStringLiteral("当前颜色 #12AB03"));

    type(QStringLiteral("abcdef"));
    click("Option2");
    EXPECT_EQ(description("Picture2"), QStringLiteral("彩虹色"));
    click("Check1");
    EXPECT_EQ(description("Picture2"), QStringLiteral("彩虹色，逆虹"));
    click("Check2");
    EXPECT_EQ(description("Picture2"), QStringLiteral("彩虹色，逆虹，对称"));
    click("Check1");
    EXPECT_EQ(description("Picture2"), QStringLiteral("彩虹色，对称"));
    click("Option1");
    EXPECT_EQ(description("Picture2"), QStringLiteral("起始颜色 #00FFFF，结束颜色 #12AB03"));
}

// The format list takes the window-background colour of the text boxes, on any palette.
TEST_F(Form1Test, TheFormatListShowsTheWindowBackgroundColour)
{
    auto *combo = control<QComboBox>("Combo1");
    const auto face = [combo] { return combo->grab().toImage().pixelColor(combo->width() / 2, 3); };
    const QColor base = combo->palette().color(QPalette::Base);
    const QColor button = combo->palette().color(QPalette::Button);
    ASSERT_NE(base, button);
    const auto nearer = [](const QColor &shown, const QColor &to, const QColor &than) {
        return std::abs(shown.lightness() - to.lightness()) < std::abs(shown.lightness() - than.lightness());
    };
    EXPECT_TRUE(nearer(face(), base, button)) << face().name().toStdString();

    const tests::ApplicationPalette dark(tests::darkPalette());
    EXPECT_TRUE(nearer(
        face(), tests::darkPalette().color(QPalette::Base), tests::darkPalette().color(QPalette::Button)))
        << face().name().toStdString();
}

// D-Bus strings end at a NUL: a screen reader gets the symbol for it and the text after it.
TEST_F(Form1Test, ScreenReadersReadAPastedNulAsItsSymbol)
{
    const QString withNul = QStringLiteral("ab") + QChar(0) + QStringLiteral("cdef");
    QGuiApplication::clipboard()->setText(withNul);
    control("Text1")->setFocus();
    QTest::keyClick(control("Text1"), Qt::Key_V, Qt::ControlModifier);
    click("Command3");
    ASSERT_EQ(text("Text1"), withNul);
    for (const char *name : { "Text1", "RichTextBox1" }) {
        SCOPED_TRACE(name);
        QAccessibleTextInterface *read
            = QAccessible::queryAccessibleInterface(control(name))->textInterface();
        EXPECT_EQ(read->characterCount(), withNul.size());
        EXPECT_EQ(read->text(0, read->characterCount()), QStringLiteral("ab\u2400cdef"));
    }
}
