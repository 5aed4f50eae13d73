#include "ui/main_window/form1.h"

#include "ui/main_window/form1_state.h"
#include "ui/main_window/messages.h"
#include "ui/main_window/window_rules.h"
#include "engine/markup.h"
#include "ui/main_window/color_chooser.h"
#include "ui/main_window/controls.h"
#include "ui/main_window/long_text.h"
#include "ui/main_window/form1_layout.h"
#include "ui/main_window/handler_guard.h"
#include "ui/main_window/links.h"
#include "ui/main_window/picture2.h"
#include "ui/main_window/preview.h"
#include "ui/main_window/shown_children_accessible.h"
#include "ui/main_window/text_boxes.h"
#include "ui/version_window/frm_about.h"
#include "ui/window_look.h"
#include "version.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <map>

namespace rainbow::ui {

namespace {

const QString caption = QStringLiteral("青柚彩虹文字  青柚家园会员版");
const QColor statusColor(0xC0, 0x00, 0xC0);
const QColor linkColor(0x2D, 0x8B, 0xE8);
const QColor versionColor(0xFF, 0x10, 0x03);

/// Shows the waiting cursor for as long as it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

template <typename Widget, typename... Args>
Widget *makeControl(QWidget *parent, const char *name, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

template <typename Label = QLabel>
QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QColor &color = QColor())
{
    auto *label = makeControl<Label>(parent, name, text);
    label->setTextFormat(Qt::PlainText);
    if (color.isValid()) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, color);
        label->setPalette(palette);
    }
    return label;
}

template <typename Box = QPlainTextEdit> Box *makeTextBox(QWidget *parent, const char *name)
{
    auto *box = makeControl<Box>(parent, name);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setTabChangesFocus(true);
    return box;
}

QLabel *makeImage(QWidget *parent, const char *name, const QString &resource)
{
    auto *image = makeControl<QLabel>(parent, name);
    image->setPixmap(QPixmap(resource));
    return image;
}

QString qString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

/// "#RRGGBB", as the markup writes a colour.
QString hexCode(const RgbTriple &color) { return QStringLiteral("#") + qString(colorCode(color)); }

/// The style pictures in words, by index.
const std::array<QString, 4> stylePictureWords { QStringLiteral("彩虹色"), QStringLiteral("彩虹色，逆虹"),
    QStringLiteral("彩虹色，逆虹，对称"), QStringLiteral("彩虹色，对称") };

/// Shows a selection in the highlight colour only while the box has the focus, so that the
/// colour of the text it covers shows otherwise.
void highlightSelectionOnlyWithFocus(QWidget *box)
{
    QPalette palette = box->palette();
    palette.setBrush(QPalette::Inactive, QPalette::Highlight, Qt::NoBrush);
    palette.setBrush(QPalette::Inactive, QPalette::HighlightedText, Qt::NoBrush);
    box->setPalette(palette);
}

/// The most address space a box's document takes for a text of `units` UTF-16 units: it keeps its
/// text in one buffer that grows by doubling as the pieces go in.
constexpr std::size_t bytesToShow(qsizetype units) { return std::size_t(units) * sizeof(char16_t) * 2; }

/// longEnoughForRainbow of the box's text, reading only its start when that settles it: it runs
/// at every keystroke, and reading a text of many lines costs time per line.
bool longEnoughForRainbow(const QPlainTextEdit &box)
{
    // Whatever follows a start with enough characters only adds to them.
    constexpr int start = 1024;
    const QTextDocument &document = *box.document();
    if (document.characterCount() - 1 > start
        && rainbow::longEnoughForRainbow(textBetween(document, 0, start)))
        return true;
    return rainbow::longEnoughForRainbow(documentText(document));
}

} // namespace

QString plainText(const QPlainTextEdit &box)
{
    // Not toPlainText(): it would turn no-break spaces into plain ones and keep soft breaks.
    if (const auto *longBox = qobject_cast<const LongTextBox *>(&box))
        return longBox->longText();
    return documentText(*box.document());
}

template <typename Body> void Form1::guarded(Body &&body)
{
    runGuarded(body, [this](const QString &message) { showFailure(message); });
}

Form1::Form1(std::unique_ptr<ColorChooser> colorChooser, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_colorChooser(colorChooser ? std::move(colorChooser) : std::make_unique<ColorDialogChooser>())
{
    setObjectName(QStringLiteral("Form1"));
    ShownChildrenAccessible::installFor(staticMetaObject.className());
    setWindowTitle(caption);
    setWindowIcon(applicationIcon());
    setFont(windowFont());
    setFixedSize(twipsToPixels(form1WidthTwips), twipsToPixels(form1HeightTwips));
    if (const QScreen *shown = screen())
        setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), shown->availableGeometry()));

    createControls();
    placeControls();
    arrangeTabOrder();
    connectEvents();
    m_command3->setFocus();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    // Decorations first, so that every control lies above them.
    for (const char *name : { "Shape1", "Shape2" })
        makeControl<Decoration>(this, name, Decoration::Kind::Rectangle);
    for (const LinePlace &line : form1Lines)
        makeControl<Decoration>(this, std::string(line.name).c_str(), Decoration::Kind::Line);

    m_image2 = makeImage(this, "Image2", QStringLiteral(":/assets/title.png"));
    m_image2->setAccessibleName(QStringLiteral("青柚彩虹文字")); // what the title picture reads
    m_label4 = makeLabel<LinkLabel>(this, "Label4", QStringLiteral("V" RAINBOWTEXT_VERSION), versionColor);
    QFont bold = windowFont();
    bold.setBold(true);
    m_label4->setFont(bold);
    m_label6 = makeLabel<LinkLabel>(this, "Label6", QStringLiteral("提交BUG"), linkColor);
    m_label3 = makeLabel<LinkLabel>(this, "Label3", QStringLiteral("作者博客"), linkColor);
    m_label5 = makeLabel<LinkLabel>(this, "Label5", QStringLiteral("青柚家园"), linkColor);
    m_label3->setAccessibleDescription(messages::blogTip);
    m_label4->setAccessibleDescription(messages::versionTip);
    m_label5->setAccessibleDescription(messages::homeTip);
    m_label6->setAccessibleDescription(messages::bugReportTip);

    m_label2 = makeLabel(this, "Label2", QStringLiteral("输入需要生成彩虹文字的内容"));
    m_text1 = makeTextBox<LongTextBox>(this, "Text1");
    m_text1->setAccessibleName(m_label2->text());
    m_lblInfo = makeLabel(this, "LblInfo", messages::welcome, statusColor);

    m_option1 = makeControl<QRadioButton>(this, "Option1", QStringLiteral("渐变色"));
    m_option2 = makeControl<QRadioButton>(this, "Option2", QStringLiteral("彩虹色"));
    m_option1->setChecked(true);
    m_check1 = makeControl<QCheckBox>(this, "Check1", QStringLiteral("逆虹"));
    m_check2 = makeControl<QCheckBox>(this, "Check2", QStringLiteral("对称"));
    m_check1->setEnabled(false);
    m_check2->setEnabled(false);
    m_command1[0] = makeControl<WrappingButton>(this, "Command1(0)", QStringLiteral("起始颜色"));
    m_command1[1] = makeControl<WrappingButton>(this, "Command1(1)", QStringLiteral("结束颜色"));

    m_label1[0] = makeLabel(this, "Label1(0)", QStringLiteral("渐变色"));
    m_picture2 = makeControl<Picture2>(this, "Picture2");
    m_picture2->setFocusPolicy(Qt::StrongFocus);
    m_picture2->setAccessibleName(m_label1[0]->text());

    m_combo1 = makeControl<DropDownList>(this, "Combo1");
    for (const MarkupFormat format : allMarkupFormats)
        m_combo1->addItem(qString(listEntryText(format)));
    m_combo1->setCurrentIndex(-1); // the load step chooses
    m_combo1->setAccessibleName(QStringLiteral("代码格式"));

    m_label1[4] = makeLabel(this, "Label1(4)", QStringLiteral("代码窗口"));
    m_text3 = makeTextBox<LongTextBox>(this, "Text3");
    m_text3->setAccessibleName(m_label1[4]->text());
    m_command2[2] = makeControl<QPushButton>(this, "Command2(2)", QStringLiteral("清空文本"));
    m_command3 = makeControl<QPushButton>(this, "Command3", QStringLiteral("转换"));
    m_command2[1] = makeControl<QPushButton>(this, "Command2(1)", QStringLiteral("复制到剪贴板"));

    m_richTextBox1 = makeControl<ColoredPreview>(this, "RichTextBox1");
    m_richTextBox1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_richTextBox1->setFocusPolicy(Qt::StrongFocus);
    m_richTextBox1->setTabChangesFocus(true);
    m_richTextBox1->setAccessibleName(QStringLiteral("预览"));
    highlightSelectionOnlyWithFocus(m_richTextBox1);

    // Hidden holders: the active markup template (the load step writes it) and the four style
    // pictures.
    const std::array<const char *, 3> text2Names { "Text2(0)", "Text2(1)", "Text2(2)" };
    for (size_t j = 0; j < m_text2.size(); ++j) {
        m_text2[j] = makeControl<QLineEdit>(this, text2Names[j]);
        m_text2[j]->hide();
    }
    for (size_t i = 0; i < m_image1.size(); ++i) {
        const QString number = QString::number(i);
        m_image1[i] = makeImage(this, ("Image1(" + std::to_string(i) + ")").c_str(),
            QStringLiteral(":/assets/style%1.gif").arg(number));
        m_image1[i]->hide();
    }
    m_picture2->setPicture(m_image1[0]->pixmap());
}

void Form1::placeControls()
{
    std::map<std::string_view, QRect> places;
    for (const ControlPlace &place : form1Places)
        places.emplace(place.name, place.pixels());
    for (const LinePlace &line : form1Lines)
        places.emplace(line.name, line.pixels());
    for (QWidget *control : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QByteArray name = control->objectName().toUtf8();
        const auto place = places.find(std::string_view(name.constData(), size_t(name.size())));
        if (place == places.end())
            continue;
        auto *label = qobject_cast<QLabel *>(control);
        if (label && !label->text().isEmpty())
            fitToCaption(*label, place->second);
        else
            control->setGeometry(place->second);
    }
}

void Form1::arrangeTabOrder()
{
    // Labels never take the focus; the chain still runs through the hidden template holders
    // first, as the focus skips hidden and disabled controls.
    QWidget *previous = nullptr;
    for (const std::string_view name : form1TabOrder) {
        auto *control = findChild<QWidget *>(QString::fromLatin1(name.data(), qsizetype(name.size())));
        if (!control || control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void Form1::connectEvents()
{
    for (int16_t index = 0; index < 2; ++index)
        connect(
            m_command1[size_t(index)], &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
    for (int16_t index = 1; index <= 2; ++index)
        connect(
            m_command2[size_t(index)], &QPushButton::clicked, this, [this, index] { Command2_Click(index); });
    connect(m_command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(m_option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(m_option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(m_check1, &QCheckBox::clicked, this, &Form1::Check1_Click);
    connect(m_check2, &QCheckBox::clicked, this, &Form1::Check2_Click);
    connect(m_combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(m_text1, &QPlainTextEdit::textChanged, this, &Form1::Text1_Change);
    for (LongTextBox *box : { m_text1, m_text3 })
        connect(box, &LongTextBox::failed, this, &Form1::showFailure);
    connect(m_richTextBox1, &ColoredPreview::failed, this, &Form1::showFailure);
    connect(m_option1, &QRadioButton::toggled, this, &Form1::updateOptionTabStops);
    updateOptionTabStops();
    for (QPushButton *button : { m_command1[0], m_command1[1], m_command2[1], m_command2[2], m_command3 })
        button->installEventFilter(this);

    // Pointer moves without a button reach only widgets that track the mouse: the bare
    // background (the window itself) and the link labels. Every other control keeps them.
    setMouseTracking(true);
    for (QLabel *link : { m_label3, m_label4, m_label5, m_label6 }) {
        link->setMouseTracking(true);
        link->installEventFilter(this);
    }
    // The keyboard and screen readers open the links as a click does.
    const std::array<std::pair<QLabel *, void (Form1::*)()>, 4> linkClicks {
        { { m_label3, &Form1::Label3_Click }, { m_label4, &Form1::Label4_Click },
            { m_label5, &Form1::Label5_Click }, { m_label6, &Form1::Label6_Click } }
    };
    for (const auto &[link, click] : linkClicks)
        connect(static_cast<LinkLabel *>(link), &LinkLabel::activated, this, click);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // The link labels' handlers run from here.
    bool handled = false;
    guarded([&] { handled = linkLabelEvent(watched, event) || pushButtonKey(watched, event); });
    return handled || QWidget::eventFilter(watched, event);
}

void Form1::updateOptionTabStops()
{
    // The unselected button still takes the focus from a click; the arrow keys move between the
    // two whatever their policies.
    for (QRadioButton *option : { m_option1, m_option2 })
        option->setFocusPolicy(option->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

bool Form1::pushButtonKey(QObject *watched, QEvent *event)
{
    auto *button = qobject_cast<QPushButton *>(watched);
    if (!button || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Held down, the key presses once, as Space does.
    const bool fresh = m_buttonKeys.isFreshPress(*key);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (event->type() != QEvent::KeyPress || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        || modifiers != Qt::NoModifier)
        return false;
    if (fresh)
        button->click();
    return true;
}

bool Form1::linkLabelEvent(QObject *watched, QEvent *event)
{
    struct Link {
        QLabel *label;
        void (Form1::*mouseMove)();
        void (Form1::*click)();
    };
    const std::array<Link, 4> links { { { m_label3, &Form1::Label3_MouseMove, &Form1::Label3_Click },
        { m_label4, &Form1::Label4_MouseMove, &Form1::Label4_Click },
        { m_label5, &Form1::Label5_MouseMove, &Form1::Label5_Click },
        { m_label6, &Form1::Label6_MouseMove, &Form1::Label6_Click } } };
    const auto link
        = std::find_if(links.begin(), links.end(), [watched](const Link &l) { return l.label == watched; });
    if (link == links.end())
        return false;
    if (event->type() == QEvent::MouseMove) {
        (this->*link->mouseMove)();
        return true;
    }
    // A click is a left-button press and release over the same label. The second press of a
    // double click comes as a double-click event, so its release is no second click.
    // Cast only in the mouse-button cases: the filter sees every other kind of event too.
    const auto mouse = [event] { return static_cast<const QMouseEvent *>(event); };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (mouse()->button() == Qt::LeftButton)
            m_pressedLink = link->label;
        return false;
    case QEvent::MouseButtonDblClick:
        m_pressedLink = nullptr;
        return false;
    case QEvent::MouseButtonRelease:
        if (mouse()->button() == Qt::LeftButton) {
            const bool clicked
                = m_pressedLink == link->label && link->label->rect().contains(mouse()->position().toPoint());
            m_pressedLink = nullptr;
            if (clicked)
                (this->*link->click)();
        }
        return true;
    default:
        return false;
    }
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Option buttons and check boxes follow the pointer for their hover look and pass its moves
    // on to the window; only a move over no control at all is one over the background.
    if (!childAt(event->position().toPoint()))
        guarded([this] { Form_MouseMove(); });
    QWidget::mouseMoveEvent(event);
}

namespace {

void setUnderline(QLabel *label, bool underline)
{
    QFont font = label->font();
    if (font.underline() == underline)
        return;
    font.setUnderline(underline);
    label->setFont(font);
}

} // namespace

void Form1::Form_MouseMove()
{
    for (QLabel *link : { m_label3, m_label4, m_label5, m_label6 })
        setUnderline(link, false);
}

void Form1::hoverLink(QLabel *label, const QString &tip)
{
    setStatus(tip);
    setUnderline(label, true);
}

void Form1::Label3_MouseMove() { hoverLink(m_label3, messages::blogTip); }

void Form1::Label4_MouseMove() { hoverLink(m_label4, messages::versionTip); }

void Form1::Label5_MouseMove() { hoverLink(m_label5, messages::homeTip); }

void Form1::Label6_MouseMove() { hoverLink(m_label6, messages::bugReportTip); }

// A page that does not open is no error of ours: nothing to report.
void Form1::Label3_Click() { QDesktopServices::openUrl(blogAddress()); }

void Form1::Label4_Click()
{
    guarded([this] { FrmAbout::showModal(m_frmAbout); });
}

void Form1::Label5_Click() { QDesktopServices::openUrl(homeAddress()); }

void Form1::Label6_Click() { QDesktopServices::openUrl(bugReportAddress()); }

void Form1::Form_Load()
{
    m_startColor = defaultStartColor;
    m_endColor = defaultEndColor;
    m_picture2->setScale(0, 0, 255, 10);
    DrawGradientBar();
    // Setting the index raises no event here; the load step runs the handler itself.
    m_combo1->setCurrentIndex(0);
    Combo1_Click();
}

void Form1::Command1_Click(int16_t Index)
{
    guarded([&] {
        const std::optional<PackedColor> chosen = m_colorChooser->chooseColor(this);
        if (!chosen)
            return;
        const RgbTriple color = unpackColor(*chosen);
        if (Index == 0)
            m_startColor = color;
        else
            m_endColor = color;
        DrawGradientBar();
    });
}

void Form1::Command2_Click(int16_t Index)
{
    guarded([&] {
        if (Index == 1) {
            // A markup too big to copy leaves the clipboard as it was.
            const QString markup = plainText(*m_text3);
            checkRoom(clipboardBytes(markup.size()));
            QClipboard *clipboard = QGuiApplication::clipboard();
            clipboard->clear();
            clipboard->setText(markup);
            setStatus(messages::copied);
        } else if (Index == 2) {
            m_text1->setPlainText(QString());
            m_text3->setPlainText(QString());
        }
    });
}

void Form1::Command3_Click()
{
    const BusyCursor busy;
    // Disabling the focused button passes the focus on; it comes back with the button, so that
    // Enter converts again.
    const bool hadFocus = m_command3->hasFocus();
    guarded([this] {
        // The conversion runs on a copy of the state, which shows only once it is complete.
        Form1State state = conversionState();
        // Shown at once, as a long text takes a moment; no events are handled until the end.
        m_command3->setEnabled(false);
        setStatus(messages::converting);
        m_lblInfo->repaint();
        rainbow::Command3_Click(state);
        applyConversion(state);
    });
    if (hadFocus && m_command3->isEnabled())
        m_command3->setFocus(Qt::OtherFocusReason);
}

Form1State Form1::conversionState() const
{
    Form1State state;
    state.Text1 = plainText(*m_text1);
    for (size_t j = 0; j < m_text2.size(); ++j)
        state.Text2[j] = m_text2[j]->text();
    state.RichTextBox1.textRevision = m_previewRevision;
    state.Option1 = m_option1->isChecked();
    state.Option1Enabled = m_option1->isEnabled();
    state.Option2Enabled = m_option2->isEnabled();
    state.Check1 = m_check1->isChecked() ? 1 : 0;
    state.Check2 = m_check2->isChecked() ? 1 : 0;
    state.Command3Enabled = m_command3->isEnabled();
    state.LblInfo = m_lblInfo->text();
    state.StartColor = m_startColor;
    state.EndColor = m_endColor;
    state.RainbowColor = m_rainbowColor;
    return state;
}

void Form1::applyConversion(const Form1State &state)
{
    const RichTextState &preview = state.RichTextBox1;
    const bool newPreview = preview.textRevision != m_previewRevision;
    // The boxes copy what they show: a result they have no room for fails here, not half-shown.
    std::size_t room = bytesToShow(state.Text3.size());
    if (newPreview)
        room += bytesToShow(preview.text.size()) + preview.colorRuns.size() * sizeof(ColorRun);
    checkRoom(room);
    m_text3->setLongText(state.Text3);
    if (newPreview) {
        m_richTextBox1->fill(preview.text, preview.colorRuns);
        QTextDocument &document = *m_richTextBox1->document();
        // Only a conversion that wrote the preview also selected in it.
        QTextCursor selection(&document);
        selection.setPosition(m_richTextBox1->position(preview.selStart));
        selection.setPosition(m_richTextBox1->position(preview.selStart + preview.selLength),
            QTextCursor::KeepAnchor);
        m_richTextBox1->setTextCursor(selection);
        m_previewRevision = preview.textRevision;
    }
    m_rainbowColor = state.RainbowColor;
    m_option1->setEnabled(state.Option1Enabled);
    m_option2->setEnabled(state.Option2Enabled);
    m_command3->setEnabled(state.Command3Enabled);
    setStatus(state.LblInfo);
}

void Form1::Option1_Click()
{
    guarded([this] {
        setStatus(messages::gradientTip);
        m_check1->setEnabled(false);
        m_check2->setEnabled(false);
        m_command1[0]->setEnabled(true);
        m_command1[1]->setEnabled(true);
        m_picture2->setScale(0, 0, 255, 10);
        DrawGradientBar();
    });
}

void Form1::Option2_Click()
{
    guarded([this] {
        if (!longEnoughForRainbow(*m_text1)) {
            setStatus(messages::tooShortForRainbow);
            return;
        }
        setStatus(messages::rainbowTip);
        m_check1->setEnabled(true);
        m_check2->setEnabled(true);
        m_command1[0]->setEnabled(false);
        m_command1[1]->setEnabled(false);
        ShowStylePicture();
    });
}

void Form1::Check1_Click()
{
    guarded([this] { ShowStylePicture(); });
}

void Form1::Check2_Click()
{
    guarded([this] { ShowStylePicture(); });
}

void Form1::Combo1_Click()
{
    guarded([this] {
        Form1State state;
        for (size_t j = 0; j < m_text2.size(); ++j)
            state.Text2[j] = m_text2[j]->text();
        rainbow::Combo1_Click(state, m_combo1->currentIndex());
        for (size_t j = 0; j < m_text2.size(); ++j)
            m_text2[j]->setText(state.Text2[j]);
    });
}

void Form1::Text1_Change()
{
    guarded([this] {
        if (m_option1->isChecked() && m_lblInfo->text() != messages::gradientTip)
            setStatus(messages::gradientTip);
        if (m_option2->isChecked())
            Option2_Click();
    });
}

void Form1::DrawGradientBar()
{
    describeColors();
    m_picture2->cls();
    for (int32_t k = 0; k <= 255; ++k)
        m_picture2->line(k, 0, k, 10, packColor(gradientColor(m_startColor, m_endColor, k, 255)));
}

void Form1::ShowStylePicture()
{
    const int check2 = m_check2->isChecked() ? 1 : 0;
    const int check1 = m_check1->isChecked() ? 1 : 0;
    const auto index = size_t(stylePictureIndex(check1, check2));
    m_picture2->setPicture(m_image1[index]->pixmap());
    m_picture2->setAccessibleDescription(stylePictureWords[index]);
}

void Form1::describeColors()
{
    m_picture2->setAccessibleDescription(
        QStringLiteral("%1 %2，%3 %4")
            .arg(m_command1[0]->text(), hexCode(m_startColor), m_command1[1]->text(), hexCode(m_endColor)));
    const QString current = QStringLiteral("当前颜色 %1");
    m_command1[0]->setAccessibleDescription(current.arg(hexCode(m_startColor)));
    m_command1[1]->setAccessibleDescription(current.arg(hexCode(m_endColor)));
}

void Form1::showFailure(const QString &message)
{
    m_command3->setEnabled(true);
    m_option1->setEnabled(true);
    m_option2->setEnabled(true);
    setStatus(message);
}

void Form1::setStatus(const QString &message)
{
    m_lblInfo->setText(message);
    m_lblInfo->adjustSize();
}

} // namespace rainbow::ui
