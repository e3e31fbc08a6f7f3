// SPDX-License-Identifier: MIT
// The extraction of server content on any bytes as the tar: whatever the archive says, nothing
// is written outside the folder it is extracted into, no link is ever made, the file data stays
// within the limit, and the call either succeeds with exactly one top-level project file or
// fails with a message and leaves no folder behind.

#include "fuzz_check.h"

#include "transmit/server_content.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

using namespace orin;

namespace {

constexpr qint64 kLimit = 256 * 1024;

QString Root()
{
    static const QString root = [] {
        const QString path =
            FuzzScratchDir() + QStringLiteral("/orin-fuzz-server-%1").arg(::getpid());
        QDir(path).removeRecursively();
        QDir().mkpath(path + QStringLiteral("/work"));
        return path;
    }();
    return root;
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                  | QDir::System);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString root = Root();
    const QString tarPath = root + QStringLiteral("/SeverContents");
    const QString work = root + QStringLiteral("/work");
    const QString dest = work + QStringLiteral("/server");
    {
        QFile file(tarPath);
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), qint64(size))
                        == qint64(size));
    }

    QString bjpx = QStringLiteral("-");
    QString error;
    const bool ok = ExtractServerContent(tarPath, dest, kLimit, &bjpx, &error);

    // Nothing beside the tar and the work folder, nothing in the work folder but the
    // extraction's own folder.
    ORIN_FUZZ_CHECK(Entries(root) == (QStringList{QStringLiteral("SeverContents"),
                                                  QStringLiteral("work")}));
    if (!ok) {
        ORIN_FUZZ_CHECK(!error.isEmpty());
        ORIN_FUZZ_CHECK(bjpx.isEmpty());
        ORIN_FUZZ_CHECK(Entries(work).isEmpty());
        return 0;
    }
    ORIN_FUZZ_CHECK(error.isEmpty());
    ORIN_FUZZ_CHECK(Entries(work) == QStringList{QStringLiteral("server")});
    const QFileInfo project(bjpx);
    ORIN_FUZZ_CHECK(project.isFile() && !project.isSymLink());
    ORIN_FUZZ_CHECK(project.absolutePath() == QFileInfo(dest).absoluteFilePath());
    ORIN_FUZZ_CHECK(project.fileName().endsWith(QStringLiteral(".bjpx"), Qt::CaseInsensitive));
    int projects = 0;
    for (const QFileInfo &info : QDir(dest).entryInfoList(QDir::Files | QDir::Hidden)) {
        if (info.fileName().endsWith(QStringLiteral(".bjpx"), Qt::CaseInsensitive))
            ++projects;
    }
    ORIN_FUZZ_CHECK(projects == 1);
    qint64 bytes = 0;
    QDirIterator it(dest, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        ORIN_FUZZ_CHECK(!info.isSymLink());
        ORIN_FUZZ_CHECK(info.isFile() || info.isDir());
        if (info.isFile())
            bytes += info.size();
    }
    ORIN_FUZZ_CHECK(bytes <= kLimit);
    QDir(dest).removeRecursively();
    return 0;
}
