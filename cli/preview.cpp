#include "cli/preview.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace rainbow::cli {

namespace {

/// A byte that may start a control character: C0, DEL, or the lead byte of U+0080 .. U+00BF.
bool mayBeControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F || byte == 0xC2; }

} // namespace

std::string_view withoutSgr(std::string_view text, std::string &storage)
{
    std::size_t at = text.find('\x1b');
    if (at == std::string_view::npos)
        return text;
    storage.clear();
    std::size_t kept = 0;
    for (; at != std::string_view::npos; at = text.find('\x1b', at + 1)) {
        if (const std::size_t length = sgrLength(text, at)) {
            storage.append(text, kept, at - kept);
            kept = at + length;
            at += length - 1;
        }
    }
    storage.append(text.substr(kept));
    return storage;
}

void writeVisible(ChunkedOutput &out, std::string_view text, std::size_t first, std::size_t end)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    std::size_t plain = first; // start of the bytes that go as they are
    for (std::size_t at = first; at < end; ++at) {
        if (!mayBeControl(bytes[at]))
            continue;
        const unsigned char byte = bytes[at];
        char shown[12];
        std::size_t length = 0;
        if (byte == '\t' || byte == '\n' || (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
            continue;
        } else if (byte == 0xC2) {
            if (at + 1 >= text.size() || bytes[at + 1] > 0x9F)
                continue;
            length = std::size_t(std::snprintf(shown, sizeof shown, "<U+%04X>", unsigned(bytes[at + 1])));
        } else {
            shown[0] = '^';
            shown[1] = byte == 0x7F ? '?' : char(byte + 0x40);
            length = 2;
        }
        out.write(text.substr(plain, at - plain));
        out.write({ shown, length });
        plain = at + (byte == 0xC2 ? 2 : 1);
        at = plain - 1;
    }
    out.write(text.substr(plain, end - plain));
}

TerminalPreview::TerminalPreview(ChunkedOutput &out, ColorDepth depth)
    : m_out(out)
    , m_depth(depth)
{
}

void TerminalPreview::start(std::string_view trimmedText)
{
    m_text = trimmedText;
    m_done = 0;
}

void TerminalPreview::colored(const RgbTriple &color, std::size_t first, std::size_t end)
{
    if (m_run && m_run->color == color && m_run->end == first) {
        m_run->end = end;
        return;
    }
    finishRun();
    writeVisible(m_out, m_text, m_done, first);
    m_run = Run { color, first, end };
}

void TerminalPreview::finish()
{
    finishRun();
    writeVisible(m_out, m_text, m_done, m_text.size());
}

void TerminalPreview::finishRun()
{
    if (!m_run)
        return;
    char sgr[maxForegroundSgrSize];
    m_out.write({ sgr, std::size_t(writeForegroundSgr(sgr, m_run->color, m_depth) - sgr) });
    writeVisible(m_out, m_text, m_run->first, m_run->end);
    m_out.write(resetSgr);
    m_done = m_run->end;
    m_run.reset();
}

} // namespace rainbow::cli
