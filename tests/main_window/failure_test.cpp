#include "ui/main_window/form1.h"

#include "ui/main_window/messages.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <stdexcept>

using namespace rainbow;

namespace {

/// A colour button whose handler dies: the chooser runs a throw instead of asking.
class ThrowingChooser final : public ui::ColorChooser {
public:
    explicit ThrowingChooser(std::function<void()> fail)
        : m_fail(std::move(fail))
    {
    }

    std::optional<PackedColor> chooseColor(QWidget *) override
    {
        m_fail();
        return std::nullopt;
    }

private:
    std::function<void()> m_fail;
};

} // namespace

// An error ends the handler it happens in, which reports it on the status line and leaves the
// window usable with its input.
TEST(HandlerFailure, IsReportedAndTheWindowStaysUsableWithItsInput)
{
    const struct {
        const char *name;
        std::function<void()> fail;
        QString message;
    } cases[] = {
        { "memory runs out", [] { throw std::bad_alloc(); }, messages::outOfMemory },
        { "a count past its limit", [] { throw std::overflow_error("count"); }, messages::tooLong },
        { "a string past its limit", [] { throw std::length_error("string"); }, messages::tooLong },
        { "any other exception", [] { throw std::runtime_error("other"); }, messages::unexpectedError },
        { "not even an exception", [] { throw 42; }, messages::unexpectedError },
    };
    const QString input = QStringLiteral("青柚彩虹文字 rainbow");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ui::Form1 *formPointer = nullptr;
        // The handler dies half-way, after the convert button went grey.
        ui::Form1 form(std::make_unique<ThrowingChooser>([&] {
            formPointer->findChild<QPushButton *>(QStringLiteral("Command3"))->setEnabled(false);
            c.fail();
        }));
        formPointer = &form;
        form.show();
        auto *text1 = form.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        text1->setPlainText(input);

        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command1(0)")), Qt::LeftButton);
        EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text(), c.message);
        EXPECT_EQ(ui::plainText(*text1), input);

        auto *convert = form.findChild<QPushButton *>(QStringLiteral("Command3"));
        ASSERT_TRUE(convert->isEnabled());
        QTest::mouseClick(convert, Qt::LeftButton);
        EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("LblInfo"))->text(), messages::converted);
        EXPECT_FALSE(ui::plainText(*form.findChild<QPlainTextEdit *>(QStringLiteral("Text3"))).isEmpty());
    }
}
