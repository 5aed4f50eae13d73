#pragma once

// Runs the real rainbowtext-cli for the command-line tests.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// AddressSanitizer's shadow memory cannot live under a cap on the address space.
#if defined(__SANITIZE_ADDRESS__)
#define RAINBOWTEXT_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAINBOWTEXT_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

// Runs the real executable through sh, so the argument bytes arrive exactly as given (QProcess
// alone would re-encode them, and could not pass invalid UTF-8).
// With inputFile, standard input is that file (a regular file) instead of a pipe; a limit caps
// the address space in kibibytes; environment holds NAME=VALUE settings over the test's own (NAME=
// removes NAME), whose locale is C.UTF-8.
CliRun runCli(const QList<QByteArray> &arguments, const QByteArray &input = {}, const QString &inputFile = {},
    long limitKib = 0, const QStringList &environment = {})
{
    QByteArray script = limitKib > 0 ? "ulimit -v " + QByteArray::number(qlonglong(limitKib)) + "; " : "";
    script += "exec \"$0\"";
    for (const QByteArray &argument : arguments) {
        script += " \"$(printf '";
        for (char byte : argument)
            script += "\\" + QByteArray::number(uchar(byte), 8).rightJustified(3, '0');
        script += "')\"";
    }
    if (!inputFile.isEmpty())
        script += " < '" + inputFile.toUtf8() + "'";
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    // English messages, whatever the tester's locale; a test asks for Chinese with LANG=zh_CN.UTF-8.
    for (const char *name : { "LANGUAGE", "LC_ALL", "LC_MESSAGES" })
        variables.remove(QString::fromLatin1(name));
    variables.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    for (const QString &setting : environment) {
        const QString name = setting.section(u'=', 0, 0);
        const QString value = setting.section(u'=', 1);
        if (value.isEmpty())
            variables.remove(name);
        else
            variables.insert(name, value);
    }
    process.setProcessEnvironment(variables);
    process.start(QStringLiteral("/bin/sh"),
        { QStringLiteral("-c"), QString::fromLatin1(script), QStringLiteral(RAINBOWTEXT_CLI_PATH) });
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

} // namespace
