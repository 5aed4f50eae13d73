#include "cli/image_layout.h"

#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <limits>

namespace rainbow::cli {

namespace {

/// A character that ends a line: LF, VT, FF, CR, NEL, the line and paragraph separators.
bool isLineBreakCharacter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
}

QTextOption lineOption()
{
    // One line whatever its length, from the left edge even when the text runs right to left.
    QTextOption option(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(QTextOption::NoWrap);
    return option;
}

struct Measure {
    qreal width;
    qreal ascent;
    qreal height;
};

class LineFitter {
public:
    LineFitter(const ImageJob &job, const QFont &font)
        : m_job(job)
        , m_font(font)
    {
    }

    /// Without a width a line is a whole paragraph: the search starts far (bounded, as a paragraph
    /// may be too long to lay out at once).
    void guessWholeParagraph() { m_breaksPerLine = 1024; }

    /// The end of the line that starts at start in the paragraph that ends at end: the furthest
    /// line break that fits in room, or between characters when even the first does not fit.
    qsizetype fit(qsizetype start, qsizetype end, qreal room)
    {
        bool fits = false;
        const qsizetype wordEnd = furthest(start, end, LineBreak, room, fits, m_breaksPerLine);
        if (fits)
            return wordEnd;
        std::size_t one = 1;
        return furthest(start, wordEnd, CharacterStart, room, fits, one);
    }

    /// The line [start, end), measured once: the search for its end has measured it already.
    Measure line(qsizetype start, qsizetype end) const
    {
        return m_lastFit.start == start && m_lastFit.end == end ? m_lastFit.measure : measure(start, end);
    }

private:
    Measure measure(qsizetype start, qsizetype end) const
    {
        QTextLayout layout(m_job.text.mid(start, end - start), m_font);
        layout.setTextOption(lineOption());
        layout.beginLayout();
        QTextLine line = layout.createLine();
        line.setLineWidth(std::numeric_limits<int>::max() / 256);
        layout.endLayout();
        return { line.naturalTextWidth(), line.ascent(), line.height() };
    }

    /// Among the offsets after start that are end or carry kind, the furthest whose line fits,
    /// found by doubling from guess then halving; the first when none does (fits then false).
    /// guess becomes how many this line takes: lines of a text are alike.
    qsizetype furthest(
        qsizetype start, qsizetype end, uint8_t kind, qreal room, bool &fits, std::size_t &guess)
    {
        std::vector<qsizetype> candidates;
        qsizetype scanned = start;
        // The candidate at index, found as far as needed; -1 when there are not that many.
        const auto candidate = [&](std::size_t index) {
            while (candidates.size() <= index && scanned < end) {
                ++scanned;
                if (scanned == end || (m_job.breaks[std::size_t(scanned)] & kind))
                    candidates.push_back(scanned);
            }
            return index < candidates.size() ? candidates[index] : -1;
        };
        const auto fitsIn = [&](qsizetype at) {
            const Measure measured = measure(start, at);
            if (measured.width > room)
                return false;
            if (m_lastFit.start != start || at > m_lastFit.end)
                m_lastFit = { start, at, measured };
            return true;
        };
        std::size_t good = 0; // candidates counted from 1; 0 for none
        std::size_t bad = 0;
        for (std::size_t index = std::max<std::size_t>(guess, 1);; index *= 2) {
            const qsizetype at = candidate(index - 1);
            if (at < 0) {
                const std::size_t last = candidates.size();
                if (last > good)
                    (fitsIn(candidates[last - 1]) ? good : bad) = last;
                break;
            }
            if (!fitsIn(at)) {
                bad = index;
                break;
            }
            good = index;
        }
        while (bad > good + 1) {
            const std::size_t middle = (good + bad) / 2;
            (fitsIn(candidates[middle - 1]) ? good : bad) = middle;
        }
        fits = good > 0;
        guess = std::max<std::size_t>(good, 1);
        return candidates[guess - 1];
    }

    struct LastFit {
        qsizetype start = -1;
        qsizetype end = -1;
        Measure measure {};
    };

    const ImageJob &m_job;
    const QFont &m_font;
    std::size_t m_breaksPerLine = 1;
    LastFit m_lastFit; // the longest line found to fit
};

} // namespace

ImageLayout layOutImage(const ImageJob &job, const QFont &font)
{
    ImageLayout layout;
    LineFitter fitter(job, font);
    const int margin = imageMargin(job.options.fontSize);
    const qreal room
        = job.options.width ? qreal(*job.options.width - 2 * margin) : qreal(maxImageSide - 2 * margin);
    qreal width = 0;
    qreal height = 0;
    const qsizetype size = job.text.size();
    for (qsizetype paragraph = 0, next = 0; next <= size; paragraph = next) {
        // The paragraph ends at the next hard break, or at the text's end.
        next = paragraph + 1;
        while (next <= size && !(job.breaks[std::size_t(next)] & HardBreak))
            ++next;
        qsizetype end = std::min(next, size);
        while (end > paragraph && isLineBreakCharacter(job.text[end - 1]))
            --end;
        qsizetype start = paragraph;
        if (!job.options.width)
            fitter.guessWholeParagraph();
        do {
            const qsizetype lineEnd = start == end ? end : fitter.fit(start, end, room);
            const Measure measure = fitter.line(start, lineEnd);
            layout.lines.push_back({ start, lineEnd, measure.width, measure.ascent, measure.height });
            width = std::max(width, measure.width);
            height += measure.height;
            layout.width = int(std::ceil(width)) + 2 * margin;
            layout.height = int(std::ceil(height)) + 2 * margin;
            const bool unwrapped = !job.options.width && lineEnd < end; // wider than the limit
            if (unwrapped)
                layout.width = maxImageSide + 1;
            if (unwrapped || layout.width > maxImageSide || layout.height > maxImageSide
                || int64_t(layout.width) * layout.height > maxImagePixels) {
                layout.tooLarge = true;
                return layout;
            }
            start = lineEnd;
        } while (start < end);
    }
    return layout;
}

void layOutLine(QTextLayout &layout, const ImageJob &job, qsizetype start, qsizetype end)
{
    layout.setText(job.text.mid(start, end - start));
    layout.setTextOption(lineOption());
    QList<QTextLayout::FormatRange> formats;
    const auto first = std::lower_bound(job.runs.begin(), job.runs.end(), start,
        [](const ImageRun &run, qsizetype at) { return run.end <= at; });
    for (auto run = first; run != job.runs.end() && run->start < end; ++run) {
        QTextLayout::FormatRange range;
        range.start = int(std::max<qsizetype>(run->start, start) - start);
        range.length = int(std::min<qsizetype>(run->end, end) - start) - range.start;
        range.format.setForeground(QColor(run->color.red, run->color.green, run->color.blue));
        formats.append(range);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(std::numeric_limits<int>::max() / 256);
    layout.endLayout();
}

} // namespace rainbow::cli
