#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

namespace rainbow::bench {

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

} // namespace rainbow::bench
