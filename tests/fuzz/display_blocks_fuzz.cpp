// The display blocks of the output box and the preview on any text and any block length: joined
// again they give the text, and no cut falls inside a character.
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

#include "convert/characters.h"
#include "ui/main_window/long_text.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

using namespace rainbow;
using rainbow::fuzz::check;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends: destroyed among the static objects, it would outlive the toolkit's own.
    new QGuiApplication(*argc, *argv);
    return 0;
}

namespace {

bool isHardBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(0x2029) || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    fuzz::FuzzInput input(data, size);
    // Two units at least: a piece holds any code point.
    const qsizetype maxLength = 2 + input.byte() % 64;
    const uint8_t form = input.byte();
    QString text;
    if (form & 1) {
        text = input.restUnits();
    } else {
        const std::string bytes = input.restBytes();
        text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }

    std::vector<qsizetype> breaks;
    ui::SoftBreakFinder finder(text, std::nullopt, maxLength);
    for (qsizetype at = finder.next(); at < text.size(); at = finder.next())
        breaks.push_back(at);
    const std::vector<qsizetype> ends = characterEnds(text, 0, text.size());
    const auto isBoundary
        = [&](qsizetype at) { return at == 0 || std::binary_search(ends.begin(), ends.end(), at); };
    // A piece longer than a block holds one character only.
    const auto checkPiece = [&](qsizetype start, qsizetype end) {
        check(end - start <= maxLength || *std::upper_bound(ends.begin(), ends.end(), start) >= end,
            "no piece is longer than the block length but a single character");
    };
    qsizetype pieceStart = 0;
    std::size_t next = 0;
    for (qsizetype at = 0; at <= text.size(); ++at) {
        if (next < breaks.size() && breaks[next] == at) {
            check(at > pieceStart, "a piece is never empty");
            check(!isHardBreak(text[at - 1]) && (at == text.size() || !isHardBreak(text[at])),
                "no soft break next to a hard one");
            check(isBoundary(at), "no cut inside a character");
            checkPiece(pieceStart, at);
            pieceStart = at;
            ++next;
        }
        if (at == text.size() || isHardBreak(text[at])) {
            checkPiece(pieceStart, at);
            pieceStart = at + 1;
        }
    }
    check(next == breaks.size(), "breaks lie inside the text, in order");

    QTextDocument document;
    QTextCursor cursor(&document);
    ui::DisplayBlockWriter writer(cursor, text, std::nullopt, maxLength);
    // Two colours, changing between characters as the preview's do.
    const auto middle = std::lower_bound(ends.begin(), ends.end(), text.size() / 2);
    writer.writeUntil(middle == ends.end() ? text.size() : *middle, QTextCharFormat());
    QTextCharFormat red;
    red.setForeground(Qt::red);
    writer.writeUntil(text.size(), red);
    QString expected = text;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    expected.replace(u'\r', u'\n');
    for (const QChar separator : { QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1) })
        expected.replace(separator, u'\n');
    check(ui::documentText(document) == expected, "the blocks joined give the text");
    return 0;
}
