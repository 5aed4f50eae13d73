#include "form1_state.h"

#include <algorithm>

namespace rainbow {

void RichTextState::setText(QString newText)
{
    text = std::move(newText);
    colorRuns.clear();
    selStart = 0;
    selLength = 0;
    ++textRevision;
}

void RichTextState::colorSelection(qsizetype start, qsizetype length, PackedColor color)
{
    selStart = start;
    selLength = length;
    if (length <= 0)
        return;
    const qsizetype end = start + length;
    const bool afterAll = colorRuns.empty() || colorRuns.back().start + colorRuns.back().length <= start;
    if (!afterAll) {
        // Colouring out of text order: cut the new range out of the runs it overlaps.
        std::vector<ColorRun> kept;
        kept.reserve(colorRuns.size() + 2);
        for (const ColorRun &run : colorRuns) {
            const qsizetype runEnd = run.start + run.length;
            if (runEnd <= start || run.start >= end) {
                kept.push_back(run);
                continue;
            }
            if (run.start < start)
                kept.push_back({ run.start, start - run.start, run.color });
            if (runEnd > end)
                kept.push_back({ end, runEnd - end, run.color });
        }
        const auto at = std::lower_bound(
            kept.begin(), kept.end(), start, [](const ColorRun &run, qsizetype s) { return run.start < s; });
        kept.insert(at, { start, length, color });
        colorRuns = std::move(kept);
        return;
    }
    ColorRun *last = colorRuns.empty() ? nullptr : &colorRuns.back();
    if (last && last->color == color && last->start + last->length == start)
        last->length += length;
    else
        colorRuns.push_back({ start, length, color });
}

std::optional<PackedColor> RichTextState::colorAt(qsizetype unit) const
{
    const auto after = std::upper_bound(colorRuns.begin(), colorRuns.end(), unit,
        [](qsizetype u, const ColorRun &run) { return u < run.start; });
    if (after == colorRuns.begin())
        return std::nullopt;
    const ColorRun &run = *std::prev(after);
    if (unit < run.start + run.length)
        return run.color;
    return std::nullopt;
}

} // namespace rainbow
