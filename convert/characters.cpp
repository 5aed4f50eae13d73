#include "characters.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <bitset>

namespace rainbow {

namespace {

/// Code units that can belong to a character together with a neighbour: everything the
/// grapheme rules join (CR LF, Hangul jamo sequences, extending and spacing marks, joiners,
/// prepended marks, surrogate pairs). Generous on purpose: a false alarm only costs the slow path.
std::bitset<65536> makeJoiningUnits()
{
    std::bitset<65536> joining;
    for (char32_t u = 0; u < 65536; ++u) {
        switch (QChar::category(u)) {
        case QChar::Mark_NonSpacing:
        case QChar::Mark_SpacingCombining:
        case QChar::Mark_Enclosing:
        case QChar::Other_Format: // joiners and prepended concatenation marks
        case QChar::Other_Surrogate:
            joining.set(u);
            break;
        default:
            break;
        }
    }
    const auto setRange = [&joining](char16_t first, char16_t last) {
        for (char32_t u = first; u <= last; ++u)
            joining.set(u);
    };
    joining.set(u'\r');
    setRange(0x1100, 0x11FF); // Hangul jamo
    setRange(0xA960, 0xA97F);
    setRange(0xD7B0, 0xD7FF);
    for (char16_t u : { 0x0D4E, 0x0E33, 0x0EB3, 0xFF9E, 0xFF9F }) // letters that join as marks do
        joining.set(u);
    return joining;
}

} // namespace

QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

bool everyUnitIsACharacter(QStringView text)
{
    static const std::bitset<65536> joining = makeJoiningUnits();
    for (QChar unit : text) {
        if (joining.test(unit.unicode()))
            return false;
    }
    return true;
}

namespace {

template <typename Visit> void forEachBoundary(QStringView text, Visit visit)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    for (qsizetype at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary())
        visit(at);
}

bool isRegionalIndicatorAt(QStringView text, qsizetype at)
{
    return at + 1 < text.size() && text[at] == QChar(0xD83C) && text[at + 1] >= QChar(0xDDE6)
        && text[at + 1] <= QChar(0xDDFF);
}

/// Qt 6.4 loses the pairing of flag letters (regional indicators) that follow an emoji joined
/// by ZWJ, splitting a flag in two: pair each run of them again from its start.
void pairRegionalIndicators(QStringView text, std::vector<qsizetype> &starts)
{
    std::vector<qsizetype> forced;
    std::vector<qsizetype> forbidden;
    for (qsizetype at = 0; at < text.size();) {
        if (!isRegionalIndicatorAt(text, at)) {
            ++at;
            continue;
        }
        const qsizetype runStart = at;
        while (isRegionalIndicatorAt(text, at))
            at += 2;
        for (qsizetype pair = runStart + 4; pair < at; pair += 4)
            forced.push_back(pair);
        for (qsizetype half = runStart + 2; half < at; half += 4)
            forbidden.push_back(half);
    }
    if (forced.empty() && forbidden.empty())
        return;
    starts.erase(
        std::remove_if(starts.begin(), starts.end(),
            [&](qsizetype at) { return std::binary_search(forbidden.begin(), forbidden.end(), at); }),
        starts.end());
    starts.insert(starts.end(), forced.begin(), forced.end());
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
}

std::vector<qsizetype> characterStarts(QStringView text)
{
    std::vector<qsizetype> starts { 0 };
    forEachBoundary(text, [&starts](qsizetype at) { starts.push_back(at); });
    pairRegionalIndicators(text, starts);
    return starts;
}

} // namespace

qsizetype characterCount(QStringView text)
{
    if (everyUnitIsACharacter(text))
        return text.size();
    return qsizetype(characterStarts(text).size()) - 1;
}

CharacterText::CharacterText(QString text)
    : m_text(std::move(text))
{
    if (everyUnitIsACharacter(m_text))
        return;
    m_starts = characterStarts(m_text);
}

} // namespace rainbow
