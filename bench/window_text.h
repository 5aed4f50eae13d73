#pragma once

#include <QString>

namespace rainbow::bench {

/// A repeatable text of `length` characters, about a third of them CJK, with a line break after
/// every `lineLength` characters (none when 0). Both window benchmarks type or paste it.
inline QString mixedText(int length, int lineLength)
{
    static const QString ascii = QStringLiteral("The quick brown fox jumps over the lazy dog, 0123456789! ");
    static const QString cjk = QStringLiteral("青柚彩虹文字在线生成工具渐变色彩虹色对称逆虹代码窗口");
    QString text;
    text.reserve(length);
    for (int i = 0; text.size() < length; ++i) {
        if (lineLength > 0 && text.size() % (lineLength + 1) == lineLength)
            text += u'\n';
        else
            text += i % 3 == 2 ? cjk[(i / 3) % cjk.size()] : ascii[i % ascii.size()];
    }
    return text;
}

} // namespace rainbow::bench
