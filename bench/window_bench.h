#pragma once

// What the window benchmarks share: their input text and a process's peak memory.

#include <QFile>
#include <QString>

#include <malloc.h>

namespace rainbow::bench {

/// A repeatable text of `length` characters, about a third of them CJK, with a line break after
/// every `lineLength` characters (none when 0).
inline QString mixedText(qsizetype length, qsizetype lineLength)
{
    static const QString ascii = QStringLiteral("The quick brown fox jumps over the lazy dog, 0123456789! ");
    static const QString cjk = QStringLiteral("青柚彩虹文字在线生成工具渐变色彩虹色对称逆虹代码窗口");
    QString text;
    text.reserve(length);
    for (qsizetype i = 0; text.size() < length; ++i) {
        if (lineLength > 0 && text.size() % (lineLength + 1) == lineLength)
            text += u'\n';
        else
            text += i % 3 == 2 ? cjk[(i / 3) % cjk.size()] : ascii[i % ascii.size()];
    }
    return text;
}

/// A memory field of a process's status file (/proc/PID/status) in megabytes, 0 where there is
/// none.
inline double statusMegabytes(const QString &statusFile, const char *field)
{
    QFile status(statusFile);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qsizetype(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

/// The same field of this process.
inline double statusMegabytes(const char *field)
{
    return statusMegabytes(QStringLiteral("/proc/self/status"), field);
}

/// Starts a new peak: memory freed by earlier cases goes back to the system and the kernel's
/// high-water mark drops to what the process holds now.
inline void resetPeakMemory()
{
    malloc_trim(0);
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    if (clearRefs.open(QIODevice::WriteOnly))
        clearRefs.write("5");
}

} // namespace rainbow::bench
