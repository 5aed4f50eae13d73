#include "ui/main_window/preview.h"

#include "engine/custom_markup.h"
#include "ui/main_window/handler_guard.h"
#include "ui/main_window/qt_color.h"

#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace rainbow::ui {

namespace {

// A block's user state once its layout carries the colours of the current text.
constexpr int coloredState = 1;

/// The first run that ends after offset.
std::vector<ColorRun>::const_iterator firstRunEndingAfter(const std::vector<ColorRun> &runs, qsizetype offset)
{
    return std::upper_bound(runs.begin(), runs.end(), offset,
        [](qsizetype at, const ColorRun &run) { return at < run.start + run.length; });
}

void appendEscaped(QString &html, QChar character)
{
    const std::string_view entity = htmlEntity(character.unicode());
    if (entity.empty())
        html += character;
    else
        html += QLatin1String(entity.data(), qsizetype(entity.size()));
}

} // namespace

/// The preview's document layout: a plain text layout, which lays out only the blocks a view
/// asks for, that colours every block before it first lays it out. Every way to a block's lines
/// (painting, the caret, hit tests, cursor movement) asks for the block's bounding rectangle first.
class ColoringLayout : public QPlainTextDocumentLayout {
public:
    ColoringLayout(QTextDocument *document, const ColoredPreview &preview)
        : QPlainTextDocumentLayout(document)
        , m_preview(preview)
    {
    }

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        if (block.isValid() && block.userState() != coloredState)
            m_preview.colorBlock(block);
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

private:
    const ColoredPreview &m_preview;
};

ColoredPreview::ColoredPreview(QWidget *parent)
    : QPlainTextEdit(parent)
{
    auto *shown = new QTextDocument(this);
    // A new document takes the application's font; the box's own (the window's) is the one shown.
    shown->setDefaultFont(font());
    shown->setDocumentLayout(new ColoringLayout(shown, *this));
    shown->setUndoRedoEnabled(false);
    setDocument(shown);
    setReadOnly(true);
    m_longText = new LongText(*this);
    connect(m_longText, &LongText::failed, this, &ColoredPreview::failed);
    connect(m_longText, &LongText::softBreakMoved, this, &ColoredPreview::followSoftBreak);
}

void ColoredPreview::fill(const QString &text, const std::vector<ColorRun> &runs)
{
    m_text = text;
    m_runs = runs;
    // While the text goes in, the block offsets are not known yet: a block laid out then (to size
    // the scroll bar) is coloured, and laid out again, when the view next asks for it.
    m_blockStarts.clear();
    QTextDocument *shown = document();
    QTextCursor cursor(shown);
    // Setting a block's colours leaves a change pending in the document; an empty edit reports
    // it while every block it names is still there.
    cursor.beginEditBlock();
    cursor.endEditBlock();
    shown->clear();
    cursor.beginEditBlock();
    DisplayBlockWriter writer(cursor, m_text, LineWrap::of(*this));
    writer.writeUntil(m_text.size(), QTextCharFormat());
    cursor.endEditBlock();
    qsizetype start = 0;
    for (QTextBlock block = shown->begin(); block.isValid(); block = block.next()) {
        if (block != shown->begin() && !followsSoftBreak(block))
            start += hardBreakLength(m_text, start);
        m_blockStarts.push_back(start);
        start += block.length() - 1;
    }
    moveCursor(QTextCursor::Start);
    if (writer.cutOffLines())
        m_longText->alignAll();
}

int ColoredPreview::position(qsizetype offset) const
{
    // In the last block that starts at or before the offset.
    const auto next = std::upper_bound(m_blockStarts.begin(), m_blockStarts.end(), offset);
    if (next == m_blockStarts.begin())
        return 0;
    const QTextBlock block = document()->findBlockByNumber(int(next - m_blockStarts.begin()) - 1);
    return block.position() + int(std::min<qsizetype>(offset - *std::prev(next), block.length() - 1));
}

void ColoredPreview::followSoftBreak(int number)
{
    const auto next = m_blockStarts.begin() + number + 1;
    if (document()->blockCount() < qsizetype(m_blockStarts.size()))
        m_blockStarts.erase(next);
    else
        *next = m_blockStarts[size_t(number)] + document()->findBlockByNumber(number).length() - 1;
}

std::optional<PackedColor> ColoredPreview::colorAt(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid() || position - block.position() >= block.length() - 1)
        return std::nullopt;
    const qsizetype offset = offsetOf(position);
    const auto run = firstRunEndingAfter(m_runs, offset);
    if (run == m_runs.end() || run->start > offset)
        return std::nullopt;
    return run->color;
}

void ColoredPreview::colorBlock(QTextBlock block) const noexcept
{
    const auto number = size_t(block.blockNumber());
    if ((m_longText && m_longText->isMoving()) || number >= m_blockStarts.size())
        return;
    block.setUserState(coloredState);
    const qsizetype start = m_blockStarts[number];
    const qsizetype end = start + block.length() - 1;
    const auto first = firstRunEndingAfter(m_runs, start);
    const auto last = std::lower_bound(
        first, m_runs.end(), end, [](const ColorRun &run, qsizetype at) { return run.start < at; });
    if (first == last)
        return;
    // Runs inside the toolkit's layout: a block without room for its colours shows in the plain one.
    try {
        QList<QTextLayout::FormatRange> formats;
        formats.reserve(last - first);
        for (auto run = first; run != last; ++run) {
            const qsizetype from = std::max(run->start, start);
            const qsizetype to = std::min(run->start + run->length, end);
            QTextCharFormat colored;
            colored.setForeground(toQColor(run->color));
            formats.append({ int(from - start), int(to - from), colored });
        }
        block.layout()->setFormats(formats);
    } catch (...) {
        block.layout()->clearFormats();
    }
}

qsizetype ColoredPreview::offsetOf(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const auto number = size_t(block.blockNumber());
    return number < m_blockStarts.size() ? m_blockStarts[number] + (position - block.position())
                                         : m_text.size();
}

QMimeData *ColoredPreview::createMimeDataFromSelection() const
{
    auto *copied = new QMimeData;
    // A copy too big for memory leaves the clipboard empty and says so.
    runGuarded(
        [&] {
            const QTextCursor selection = textCursor();
            const QString text
                = textBetween(*document(), selection.selectionStart(), selection.selectionEnd());
            QString html = coloredHtml(
                m_text, offsetOf(selection.selectionStart()), offsetOf(selection.selectionEnd()), m_runs);
            checkRoom(clipboardBytes(text.size() + html.size()));
            copied->setText(text);
            copied->setHtml(html);
        },
        [this](const QString &message) { emit const_cast<ColoredPreview *>(this)->failed(message); });
    return copied;
}

QString coloredHtml(QStringView text, qsizetype from, qsizetype to, const std::vector<ColorRun> &runs)
{
    QString html = QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><!--StartFragment-->");
    html.reserve(html.size() + (to - from) * 11 / 10 + 64);
    auto run = firstRunEndingAfter(runs, from);
    for (qsizetype start = from;;) {
        qsizetype end = start;
        while (end < to && !hardBreakLength(text, end))
            ++end;
        // An empty paragraph needs a line break to keep its height in a browser; the toolkit's own
        // mark tells the toolkit that the break is no character.
        html += start == end ? QStringLiteral("<p style=\"-qt-paragraph-type:empty;margin:0\"><br>")
                             : QStringLiteral("<p style=\"margin:0;white-space:pre-wrap\">");
        for (qsizetype at = start; at < end;) {
            while (run != runs.end() && run->start + run->length <= at)
                ++run;
            const bool colored = run != runs.end() && run->start <= at;
            const qsizetype stretchEnd
                = run == runs.end() ? end : std::min(end, colored ? run->start + run->length : run->start);
            if (colored) {
                const std::string code = colorCode(unpackColor(run->color));
                html += QLatin1String("<span style=\"color:#")
                    + QLatin1String(code.data(), qsizetype(code.size())) + QLatin1String("\">");
            }
            for (; at < stretchEnd; ++at)
                appendEscaped(html, text[at]);
            if (colored)
                html += QLatin1String("</span>");
        }
        html += QLatin1String("</p>");
        if (end >= to)
            return html + QStringLiteral("<!--EndFragment--></body></html>");
        start = end + hardBreakLength(text, end);
    }
}

} // namespace rainbow::ui
