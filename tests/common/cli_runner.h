// SPDX-License-Identifier: MIT
#pragma once

#include "test_paths.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

// Runs the real command-line tool as a process, and copies the sample content set for it.

namespace orin::test {

struct CliOutcome {
    int code = -1; // the exit status; -1 when the tool crashed or did not end in time
    QString out;
    QString err;
};

// `environment`, when not empty, replaces the tool's environment.
inline CliOutcome RunCli(const QStringList &args, const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(BinDir() + QStringLiteral("/orinedit-cli"), args);
    CliOutcome o;
    if (!process.waitForFinished(120000))
        return o;
    o.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    o.out = QString::fromUtf8(process.readAllStandardOutput());
    o.err = QString::fromUtf8(process.readAllStandardError());
    return o;
}

// The sample content set copied into `dir`; returns its project path there.
inline QString CopySample(const QTemporaryDir &dir)
{
    const QString source = SourceDir() + QStringLiteral("/examples/");
    QDir().mkpath(dir.filePath(QStringLiteral("sample.")));
    const QStringList files = QDir(source + QStringLiteral("sample.")).entryList(QDir::Files);
    for (const QString &f : files)
        QFile::copy(source + QStringLiteral("sample./") + f,
                    dir.filePath(QStringLiteral("sample./") + f));
    QFile::copy(source + QStringLiteral("sample.bjpx"), dir.filePath(QStringLiteral("sample.bjpx")));
    return dir.filePath(QStringLiteral("sample.bjpx"));
}

} // namespace orin::test
