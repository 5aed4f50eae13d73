#pragma once

#include <QString>

#include <vector>

namespace rainbow::test {

/// A repeatable text of n characters, about a third CJK, a line break every 80th; every
/// `special`-th character (when special > 0) is taken in turn from extras instead.
inline QString mixedText(int n, int special = 0, const std::vector<QString> &extras = {})
{
    QString text;
    for (int i = 0; i < n; ++i) {
        if (special > 0 && i % special == special - 1)
            text += extras[std::size_t(i / special) % extras.size()];
        else if (i % 80 == 79)
            text += u'\n';
        else
            text += (i * 7) % 3 == 0 ? QChar(0x4E00 + (i * 131) % 0x5000) : QChar(u'!' + (i * 13) % 94);
    }
    return text;
}

/// Characters that need the boundary finder: emoji, a flag, an accent, CR LF, a joined family,
/// a skin tone, Hangul jamo.
inline std::vector<QString> clusters()
{
    return { QString::fromUtf16(u"😀"), QString::fromUtf16(u"🇨🇳"), QString::fromUtf16(u"e\u0301"),
        QStringLiteral("\r\n"), QString::fromUtf16(u"👨\u200D👩\u200D👧"), QString::fromUtf16(u"👍🏽"),
        QString::fromUtf16(u"\u1100\u1161") };
}

} // namespace rainbow::test
