#include "cli/image_files.h"
#include "engine/custom_markup.h"

#include <QColor>
#include <QFile>

#include <algorithm>
#include <cmath>

namespace rainbow::cli {

namespace {

/// text's units for an XML text or attribute: the markup's HTML entities, &quot; for '"', and the
/// characters XML does not allow (C0 controls but tab, U+FFFE, U+FFFF) as U+FFFD.
void appendEscaped(QString &svg, QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (const std::string_view entity = htmlEntity(u); !entity.empty())
            svg += QLatin1String(entity.data(), qsizetype(entity.size()));
        else if (u == u'"')
            svg += QLatin1String("&quot;");
        else if ((u < 0x20 && u != u'\t') || u == 0xFFFE || u == 0xFFFF)
            svg += QChar(0xFFFD);
        else
            svg += c;
    }
}

QString number(qreal value) { return QString::number(std::round(value * 100) / 100, 'g', 12); }

/// The families as a CSS list, each quoted, then the generic serif (the window's are Song faces).
/// The emoji typeface is left to the viewer: one in the list widens the spaces there.
QString cssFamilies(const QStringList &families)
{
    QStringList quoted;
    for (QString family : families)
        quoted << u'\'' + family.replace(u'\\', QLatin1String("\\\\")).replace(u'\'', QLatin1String("\\'"))
                + u'\'';
    return (quoted << QStringLiteral("serif")).join(QLatin1String(", "));
}

} // namespace

bool writeSvg(const ImageJob &job, const ImageLayout &layout, const QStringList &families, QFile &file)
{
    QString svg;
    const auto flush = [&](qsizetype atLeast) {
        if (svg.size() < atLeast)
            return true;
        const bool written = file.write(svg.toUtf8()) >= 0;
        svg.clear();
        return written;
    };
    const QString width = QString::number(layout.width);
    const QString height = QString::number(layout.height);
    svg += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "
                         "xmlns=\"http://www.w3.org/2000/svg\" width=\"")
        + width + QLatin1String("\" height=\"") + height + QLatin1String("\" viewBox=\"0 0 ") + width + u' '
        + height + QLatin1String("\" xml:space=\"preserve\" font-family=\"");
    appendEscaped(svg, cssFamilies(families));
    svg += QLatin1String("\" font-size=\"") + QString::number(job.options.fontSize) + QLatin1String("\">\n");
    if (const auto &background = job.options.background)
        svg += QLatin1String("<rect width=\"100%\" height=\"100%\" fill=\"")
            + QColor(background->red, background->green, background->blue).name() + QLatin1String("\"/>\n");
    const int margin = imageMargin(job.options.fontSize);
    qreal top = margin;
    auto run = job.runs.begin();
    const QStringView text(job.text);
    for (const ImageLine &line : layout.lines) {
        svg += QLatin1String("<text x=\"") + QString::number(margin) + QLatin1String("\" y=\"")
            + number(top + line.ascent) + QLatin1String("\">");
        run = std::lower_bound(
            run, job.runs.end(), line.start, [](const ImageRun &r, qsizetype at) { return r.end <= at; });
        for (qsizetype at = line.start; at < line.end;) {
            if (run == job.runs.end() || run->start >= line.end) { // uncoloured to the line's end
                appendEscaped(svg, text.mid(at, line.end - at));
                break;
            }
            if (run->start > at) { // uncoloured whitespace before the run
                appendEscaped(svg, text.mid(at, run->start - at));
                at = run->start;
            }
            const qsizetype end = std::min<qsizetype>(run->end, line.end);
            svg += QLatin1String("<tspan fill=\"")
                + QColor(run->color.red, run->color.green, run->color.blue).name() + QLatin1String("\">");
            appendEscaped(svg, text.mid(at, end - at));
            svg += QLatin1String("</tspan>");
            at = end;
            if (end == run->end)
                ++run;
        }
        svg += QLatin1String("</text>\n");
        top += line.height;
        if (!flush(1 << 16))
            return false;
    }
    svg += QLatin1String("</svg>\n");
    return flush(0);
}

} // namespace rainbow::cli
