#pragma once

#include "engine/color.h"
#include "ui/main_window/color_chooser.h"
#include "ui/main_window/controls.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace rainbow {
struct Form1State;
} // namespace rainbow

namespace rainbow::ui {

class ColoredPreview;
class FrmAbout;
class LongTextBox;
class Picture2;

/// The main window: the controls, the colours they use, and the handlers of their events. The
/// conversions themselves run on a copy of the controls' state (rainbow::Form1State).
class Form1 : public QWidget {
    Q_OBJECT

public:
    /// Builds the window and runs its load step. Without a chooser the toolkit's colour dialog
    /// asks for colours.
    explicit Form1(std::unique_ptr<ColorChooser> colorChooser = nullptr, QWidget *parent = nullptr);
    ~Form1() override;

    RgbTriple startColor() const { return m_startColor; }
    RgbTriple endColor() const { return m_endColor; }
    RgbTriple rainbowColor() const { return m_rainbowColor; }

    // The event handlers, named after control and event.
    void Form_Load();
    void Command1_Click(int16_t Index);
    void Command2_Click(int16_t Index);
    void Command3_Click();
    void Option1_Click();
    void Option2_Click();
    void Check1_Click();
    void Check2_Click();
    void Combo1_Click();
    void Text1_Change();
    void Form_MouseMove();
    void Label3_MouseMove();
    void Label4_MouseMove();
    void Label5_MouseMove();
    void Label6_MouseMove();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Label6_Click();

    /// Shows the style picture for the current values of Check1 and Check2.
    void ShowStylePicture();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void createControls();
    void placeControls();
    void arrangeTabOrder();
    void connectEvents();

    /// Paints the bar from StartColor to EndColor into Picture2, whose scale must be (0, 0)-(255, 10).
    void DrawGradientBar();

    /// Routes pointer moves and clicks of the link labels to their handlers.
    bool linkLabelEvent(QObject *watched, QEvent *event);

    /// Enter or Return on a focused push button presses it, as Space does.
    bool pushButtonKey(QObject *watched, QEvent *event);

    /// Makes the option pair one tab stop, in both directions: only the selected button takes it.
    void updateOptionTabStops();

    /// Tells screen readers what Picture2 and the colour buttons show.
    void describeColors();

    /// Underlines a link label and shows its tip.
    void hoverLink(QLabel *label, const QString &tip);

    /// Writes the status line; it keeps its left and top and takes the size of the new caption.
    void setStatus(const QString &message);

    /// Runs the body of a handler; what it throws ends it here and shows as showFailure.
    template <typename Body> void guarded(Body &&body);

    /// After an error ended a handler: shows message and makes the convert button and the mode
    /// buttons usable again. The input and everything else stay as the handler left them.
    void showFailure(const QString &message);

    /// The controls' values that the convert command reads.
    Form1State conversionState() const;

    /// Shows what the convert command changed. Throws std::bad_alloc, before anything changes,
    /// when the boxes have no room for it.
    void applyConversion(const Form1State &state);

    std::unique_ptr<ColorChooser> m_colorChooser;
    std::unique_ptr<FrmAbout> m_frmAbout; // made on the first click of the version label
    RgbTriple m_startColor;
    RgbTriple m_endColor;
    RgbTriple m_rainbowColor;
    int m_previewRevision = 0; // the text revision the preview shows
    QLabel *m_pressedLink = nullptr; // the link label a button press began on, until its release
    KeyRepeatFilter m_buttonKeys; // Enter and Return on the push buttons

    QLabel *m_label2 = nullptr;
    LongTextBox *m_text1 = nullptr;
    QRadioButton *m_option1 = nullptr;
    QRadioButton *m_option2 = nullptr;
    QCheckBox *m_check1 = nullptr;
    QCheckBox *m_check2 = nullptr;
    std::array<QPushButton *, 2> m_command1 {};
    std::array<QLabel *, 5> m_label1 {}; // members 0 and 4 only
    Picture2 *m_picture2 = nullptr;
    QComboBox *m_combo1 = nullptr;
    LongTextBox *m_text3 = nullptr;
    std::array<QPushButton *, 3> m_command2 {}; // members 1 and 2 only
    QPushButton *m_command3 = nullptr;
    ColoredPreview *m_richTextBox1 = nullptr;
    QLabel *m_lblInfo = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_label4 = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_label6 = nullptr;
    QLabel *m_image2 = nullptr;
    std::array<QLineEdit *, 3> m_text2 {};
    std::array<QLabel *, 4> m_image1 {};
};

/// The text of a plain text box as the user entered it: line breaks as "\n", every other
/// character (no-break spaces too) unchanged.
QString plainText(const QPlainTextEdit &box);

} // namespace rainbow::ui
