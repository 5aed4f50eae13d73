#include "ui/version_window/frm_about.h"

#include "ui/window_look.h"

#include <QFont>
#include <QMimeData>
#include <QPalette>
#include <QPlainTextEdit>
#include <QShowEvent>
#include <QStringList>
#include <QTextCursor>

namespace rainbow::ui {

namespace {

// The notes as the user reads and copies them. CR LF line ends, as the program has always
// written them; the last line has one too, so the caret can go on an empty twelfth line.
const QString notes
    = QStringLiteral("======青柚彩虹文字  版本更新信息======\r\n"
                     "\r\n"
                     "===V1.0.0  发布日期：2010年11月7日===\r\n"
                     "这是本程序的最初版本。\r\n"
                     "1.可以生成渐变色文字。\r\n"
                     "2.可以生成彩虹，逆虹，对称等七彩文字。\r\n"
                     "3.支持UBB论坛，QQ空间，HTML三种代码。\r\n"
                     "\r\n"
                     "===V1.0.2  发布日期：2010年11月7日===\r\n"
                     "1.增加版本更新信息查看窗口。\r\n"
                     "2.修正点击对称彩虹色出现运行错误 11 的问题。——本BUG由网友 wuyu3307 提交！\r\n");

// Client area and text box place, in pixels (twips / 15).
constexpr int clientWidth = 277;
constexpr int clientHeight = 177;
constexpr int textLeft = 6;
constexpr int textTop = 8;
constexpr int textWidth = 265;
constexpr int textHeight = 161;

// The document keeps lines as blocks, so a plain copy would give bare LF line ends; this box puts
// CR LF back, so that a copy gives the text as shown in the notes.
class CrLfTextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData *createMimeDataFromSelection() const override
    {
        QString text = textCursor().selectedText();
        text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        auto *data = new QMimeData;
        data->setText(text);
        return data;
    }
};

} // namespace

FrmAbout::FrmAbout(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
    , m_text1(new CrLfTextBox(this))
{
    setObjectName(QStringLiteral("FrmAbout"));
    setFixedSize(clientWidth, clientHeight);
    setFont(ui::windowFont());

    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setAccessibleName(QStringLiteral("版本更新信息"));
    m_text1->setGeometry(textLeft, textTop, textWidth, textHeight);
    m_text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_text1->setReadOnly(true);
    // Locked, not disabled: the caret and the keyboard still move and select, as in an edit box.
    m_text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Black text on the white it was drawn for, whatever the desktop's colours: on a dark base
    // it could not be read.
    QPalette palette = m_text1->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    m_text1->setPalette(palette);
}

QString FrmAbout::releaseNotes() { return notes; }

QString FrmAbout::title() { return QStringLiteral("版本升级信息"); }

void FrmAbout::showModal(std::unique_ptr<FrmAbout> &window)
{
    if (!window)
        window = std::make_unique<FrmAbout>();
    window->exec();
}

void FrmAbout::showEvent(QShowEvent *event)
{
    // A spontaneous show is the window system restoring a window that is already loaded.
    if (!event->spontaneous())
        Form_Load();
    QDialog::showEvent(event);
}

void FrmAbout::Form_Load()
{
    setWindowTitle(title());
    m_text1->setPlainText(releaseNotes());
    m_text1->setFocus();
}

} // namespace rainbow::ui
