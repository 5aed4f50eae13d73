// Seeded random sequences of user actions on the main window, with what must always hold checked
// after every one. RAINBOWTEXT_MONKEY_ACTIONS sets the length of a run (default 600 per seed),
// RAINBOWTEXT_MONKEY_SEED runs one seed instead of the default ones.
#include "ui/main_window/form1.h"

#include "ui/main_window/form1_state.h"
#include "ui/main_window/messages.h"
#include "ui/main_window/window_rules.h"
#include "tests/main_window/preview_reader.h"
#include "ui/main_window/picture2.h"
#include "ui/main_window/qt_color.h"
#include "ui/version_window/frm_about.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <set>

using namespace rainbow;

namespace {

/// Answers the colour buttons with whatever the next action chose.
class ScriptedChooser final : public ui::ColorChooser {
public:
    std::optional<PackedColor> chooseColor(QWidget *) override
    {
        ++asked;
        return answer;
    }

    std::optional<PackedColor> answer;
    int asked = 0;
};

/// Stands in for the browser.
class UrlCounter : public QObject {
    Q_OBJECT
public:
    int opened = 0;
public slots:
    void open(const QUrl &) { ++opened; }
};

const std::vector<QString> scripts {
    QStringLiteral("abc XYZ 123 ,.!? "),
    QStringLiteral("青柚彩虹文字渐变色，"),
    QStringLiteral("नमस्ते क्षत्रिय हिन्दी"),
    QStringLiteral("สวัสดีครับ ภาษาไทย"),
    QStringLiteral("😀👍🏽🇨🇳👨‍👩‍👧 ❤️"),
};

const std::set<QString> messageTable { messages::welcome, messages::gradientTip, messages::rainbowTip,
    messages::tooShortForRainbow, messages::tooShortForSymmetric, messages::copied, messages::converting,
    messages::converted, messages::blogTip, messages::versionTip, messages::homeTip, messages::bugReportTip };

class Monkey {
public:
    explicit Monkey(unsigned seed)
        : m_random(seed)
    {
        auto chooser = std::make_unique<ScriptedChooser>();
        m_chooser = chooser.get();
        m_form = std::make_unique<ui::Form1>(std::move(chooser));
        m_form->show();
        m_form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
        for (const char *scheme : { "http", "https" })
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &m_urls, "open");
    }

    ~Monkey()
    {
        for (const char *scheme : { "http", "https" })
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    struct Action {
        const char *name;
        void (Monkey::*run)();
    };

    /// Runs count random actions; the first broken rule ends the run, its seed and step told.
    void run(unsigned seed, int count, std::map<std::string, int> &tried)
    {
        static const Action actions[] = {
            { "type Latin", &Monkey::typeLatin },
            { "type through the input method", &Monkey::typeComposed },
            { "backspace", &Monkey::backspace },
            { "paste", &Monkey::paste },
            { "clear", &Monkey::clear },
            { "gradient mode", &Monkey::chooseGradient },
            { "rainbow mode", &Monkey::chooseRainbow },
            { "reverse", &Monkey::toggleReverse },
            { "symmetric", &Monkey::toggleSymmetric },
            { "format by keys", &Monkey::formatByKeys },
            { "format by mouse", &Monkey::formatByMouse },
            { "convert", &Monkey::convert },
            { "convert", &Monkey::convert },
            { "copy", &Monkey::copy },
            { "colour button", &Monkey::pickColor },
            { "hover a link", &Monkey::hoverLink },
            { "click a link", &Monkey::clickLink },
            { "version window", &Monkey::openVersionWindow },
            { "tab", &Monkey::tab },
        };
        for (int step = 0; step < count; ++step) {
            const Action &action = actions[pick(std::size(actions))];
            ++tried[action.name];
            m_input = text("Text1");
            m_inputMayChange = false;
            (this->*action.run)();
            checkInvariants();
            if (::testing::Test::HasFailure()) {
                ADD_FAILURE() << "seed " << seed << ", step " << step << ": " << action.name;
                return;
            }
        }
    }

private:
    template <typename Control = QWidget> Control *control(const char *name) const
    {
        return m_form->findChild<Control *>(QString::fromLatin1(name));
    }
    QString text(const char *box) const { return ui::plainText(*control<QPlainTextEdit>(box)); }
    QString status() const { return control<QLabel>("LblInfo")->text(); }
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(m_random); }
    void click(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    QString randomText(int longest)
    {
        const QString &script = scripts[pick(scripts.size())];
        const auto length = int(pick(std::size_t(longest))) + 1;
        const auto from = qsizetype(pick(std::size_t(script.size())));
        return (script + script + script).mid(from, length);
    }

    void focusInputAtEnd()
    {
        auto *input = control<QPlainTextEdit>("Text1");
        input->setFocus();
        input->moveCursor(QTextCursor::End);
    }

    void typeLatin()
    {
        focusInputAtEnd();
        QString typed = randomText(8);
        typed.removeIf([](QChar c) { return c.unicode() >= 0x80; });
        QTest::keyClicks(control("Text1"), typed);
        m_expectedInput = m_input + typed;
        m_inputMayChange = true;
    }

    void typeComposed()
    {
        focusInputAtEnd();
        const QString typed = randomText(8);
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(control("Text1"), &commit);
        m_expectedInput = m_input + typed;
        m_inputMayChange = true;
    }

    void backspace()
    {
        focusInputAtEnd();
        QTest::keyClick(control("Text1"), Qt::Key_Backspace);
        m_expectedInput.reset(); // some prefix of the input
        m_inputMayChange = true;
    }

    void paste()
    {
        focusInputAtEnd();
        const QString pasted
            = randomText(30) + (pick(4) == 0 ? QStringLiteral("\n") : QString()) + randomText(30);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(control("Text1"), Qt::Key_V, Qt::ControlModifier);
        m_expectedInput = m_input + pasted;
        m_inputMayChange = true;
    }

    void clear()
    {
        click(control("Command2(2)"));
        m_expectedInput = QString();
        m_inputMayChange = true;
        EXPECT_TRUE(text("Text3").isEmpty());
    }

    void chooseGradient() { click(control("Option1")); }
    void chooseRainbow() { click(control("Option2")); }
    void toggleReverse() { click(control("Check1")); }
    void toggleSymmetric() { click(control("Check2")); }

    void formatByKeys()
    {
        auto *combo = control<QComboBox>("Combo1");
        combo->setFocus();
        QTest::keyClick(combo, pick(2) == 0 ? Qt::Key_Down : Qt::Key_Up);
    }

    void formatByMouse()
    {
        auto *combo = control<QComboBox>("Combo1");
        combo->showPopup();
        QAbstractItemView *list = combo->view();
        const QModelIndex entry = list->model()->index(int(pick(3)), 0);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(entry).center());
        if (list->isVisible())
            combo->hidePopup();
    }

    void convert()
    {
        Form1State expected;
        expected.Text1 = m_input;
        rainbow::Combo1_Click(expected, control<QComboBox>("Combo1")->currentIndex());
        expected.Option1 = control<QRadioButton>("Option1")->isChecked();
        expected.Check1 = control<QCheckBox>("Check1")->isChecked() ? 1 : 0;
        expected.Check2 = control<QCheckBox>("Check2")->isChecked() ? 1 : 0;
        expected.StartColor = m_form->startColor();
        expected.EndColor = m_form->endColor();
        expected.RainbowColor = m_form->rainbowColor();
        const tests::ShownText previewBefore = tests::shownText(*control<ui::ColoredPreview>("RichTextBox1"));
        rainbow::Command3_Click(expected);

        click(control("Command3"));
        EXPECT_EQ(status(), expected.LblInfo);
        EXPECT_TRUE(text("Text3") == expected.Text3) << "the output is the conversion's markup";
        const tests::ShownText preview = tests::shownText(*control<ui::ColoredPreview>("RichTextBox1"));
        if (expected.LblInfo != messages::converted) {
            EXPECT_TRUE(preview.text == previewBefore.text) << "a refusal leaves the preview";
            return;
        }
        ASSERT_TRUE(preview.text == expected.RichTextBox1.text) << "the preview shows the trimmed input";
        for (qsizetype i = 0; i < preview.text.size(); ++i) {
            if (preview.text[i] == u'\n')
                continue;
            const std::optional<PackedColor> color = expected.RichTextBox1.colorAt(i);
            ASSERT_TRUE(color && preview.colors[std::size_t(i)] == ui::toQColor(*color))
                << "the preview colours unit " << i << " as the markup does";
        }
    }

    void copy()
    {
        click(control("Command2(1)"));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text("Text3"));
        EXPECT_EQ(status(), messages::copied);
    }

    void pickColor()
    {
        const bool start = pick(2) == 0;
        auto *button = control<QPushButton>(start ? "Command1(0)" : "Command1(1)");
        const RgbTriple before = start ? m_form->startColor() : m_form->endColor();
        const int asked = m_chooser->asked;
        m_chooser->answer
            = pick(3) == 0 ? std::nullopt : std::optional<PackedColor>(PackedColor(pick(1 << 24)));
        click(button);
        const RgbTriple after = start ? m_form->startColor() : m_form->endColor();
        if (!button->isEnabled() || !m_chooser->answer) {
            EXPECT_EQ(after, before) << "a disabled button or a cancelled dialog changes nothing";
        } else {
            EXPECT_EQ(m_chooser->asked, asked + 1);
            EXPECT_EQ(packColor(after), *m_chooser->answer);
        }
    }

    QLabel *randomLink()
    {
        static const char *const names[] = { "Label3", "Label4", "Label5", "Label6" };
        return control<QLabel>(names[pick(4)]);
    }

    void hoverLink() { QTest::mouseMove(m_form.get(), randomLink()->geometry().center()); }

    void clickLink()
    {
        QLabel *link = randomLink();
        if (link->objectName() == u"Label4")
            return openVersionWindow();
        const int opened = m_urls.opened;
        click(link);
        EXPECT_EQ(m_urls.opened, opened + 1);
    }

    void openVersionWindow()
    {
        bool shown = false;
        QTimer::singleShot(0, [&] {
            if (auto *about = qobject_cast<ui::FrmAbout *>(QApplication::activeModalWidget())) {
                shown = true;
                about->reject();
            }
        });
        click(control("Label4"));
        EXPECT_TRUE(shown) << "the version window opened modally";
    }

    void tab()
    {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(
            focus ? focus : m_form.get(), Qt::Key_Tab, pick(2) == 0 ? Qt::ShiftModifier : Qt::NoModifier);
    }

    void checkInvariants()
    {
        EXPECT_TRUE(messageTable.count(status()))
            << "status from the message table: " << status().toStdString();

        const QString input = text("Text1");
        if (!m_inputMayChange) {
            EXPECT_TRUE(input == m_input) << "only typing, pasting and clearing change the input";
        } else if (m_expectedInput) {
            EXPECT_TRUE(input == *m_expectedInput) << "the input is what was typed, pasted or cleared";
        } else {
            EXPECT_TRUE(m_input.startsWith(input) && input.size() <= m_input.size()) << "backspace shortens";
        }

        const bool gradient = control<QRadioButton>("Option1")->isChecked();
        EXPECT_NE(gradient, control<QRadioButton>("Option2")->isChecked());
        const bool checks = control("Check1")->isEnabled();
        EXPECT_EQ(checks, control("Check2")->isEnabled());
        EXPECT_EQ(control("Command1(0)")->isEnabled(), !checks) << "colour buttons against check boxes";
        EXPECT_EQ(control("Command1(1)")->isEnabled(), !checks);
        if (gradient) {
            EXPECT_FALSE(checks) << "gradient mode has its check boxes disabled";
        } else if (longEnoughForRainbow(input)) {
            EXPECT_TRUE(checks) << "rainbow mode with enough input";
        }
        const QImage picture = control<ui::Picture2>("Picture2")->image();
        if (checks) {
            const int index = stylePictureIndex(control<QCheckBox>("Check1")->isChecked() ? 1 : 0,
                control<QCheckBox>("Check2")->isChecked() ? 1 : 0);
            const std::string name = "Image1(" + std::to_string(index) + ")";
            EXPECT_TRUE(picture
                == control<QLabel>(name.c_str())->pixmap().toImage().convertToFormat(QImage::Format_RGB32))
                << "the style picture of the check boxes";
        } else {
            const RgbTriple start = m_form->startColor();
            EXPECT_EQ(picture.pixelColor(0, 10), QColor(start.red, start.green, start.blue))
                << "the gradient bar";
        }
        EXPECT_TRUE(control("Command3")->isEnabled());
    }

    std::mt19937 m_random;
    std::unique_ptr<ui::Form1> m_form;
    ScriptedChooser *m_chooser = nullptr;
    UrlCounter m_urls;
    QString m_input; // before the action
    bool m_inputMayChange = false;
    std::optional<QString> m_expectedInput;
};

int actionsPerRun()
{
    bool ok = false;
    const int set = qEnvironmentVariableIntValue("RAINBOWTEXT_MONKEY_ACTIONS", &ok);
    return ok ? set : 600;
}

} // namespace

TEST(Monkey, RandomUserActionsKeepTheWindowsRules)
{
    std::vector<unsigned> seeds { 1, 2 };
    bool ok = false;
    if (const int seed = qEnvironmentVariableIntValue("RAINBOWTEXT_MONKEY_SEED", &ok); ok)
        seeds = { unsigned(seed) };
    std::map<std::string, int> tried;
    for (const unsigned seed : seeds) {
        Monkey monkey(seed);
        monkey.run(seed, actionsPerRun(), tried);
        if (HasFailure())
            break;
    }
    for (const auto &[name, count] : tried)
        std::printf("%6d × %s\n", count, name.c_str());
}

#include "monkey_test.moc"
