// SPDX-License-Identifier: MIT
// Replacing a file with a backup: every step that fails is undone, a folder is never taken
// for a file, and a new file gets the permissions the umask gives.

#include "full_disk.h"
#include "test_files.h"
#include "test_registry.h"

#include "model/safe_file.h"

#include <QSaveFile>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

using namespace orin;

namespace {

// Every entry of a folder (hidden ones too) with the bytes of the files.
QMap<QString, QByteArray> Snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    const QFileInfoList infos = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos)
        entries.insert(info.fileName(), info.isDir() ? QByteArray("<folder>") : test::ReadBytes(info.filePath()));
    return entries;
}

QString Reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Fails the n-th rename or removal (counted from 1) with EIO; passes the others on.
class CFailingStep {
public:
    explicit CFailingStep(int failAt)
        : m_failAt(failAt),
          m_override(FileSteps{
              [this](const QString &from, const QString &to) {
                  return Next() ? EIO : CFileStepsOverride::RealSteps().rename(from, to);
              },
              [this](const QString &path) {
                  return Next() ? EIO : CFileStepsOverride::RealSteps().remove(path);
              },
              {}, {}})
    {
    }
    int Calls() const { return m_calls; }

private:
    bool Next() { return ++m_calls == m_failAt; }
    int m_failAt;
    int m_calls = 0;
    CFileStepsOverride m_override;
};

} // namespace

class SafeFileTest : public QObject {
    Q_OBJECT

private slots:
    void everyFailingStepIsUndone_data()
    {
        QTest::addColumn<bool>("hasTarget");
        QTest::addColumn<bool>("hasBackup");
        QTest::addColumn<int>("steps"); // renames and removals of a save that succeeds
        QTest::newRow("target and an old backup") << true << true << 4;
        QTest::newRow("target only") << true << false << 2;
        QTest::newRow("backup only") << false << true << 3;
        QTest::newRow("new file") << false << false << 1;
    }
    void everyFailingStepIsUndone()
    {
        QFETCH(bool, hasTarget);
        QFETCH(bool, hasBackup);
        QFETCH(int, steps);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        if (hasTarget)
            QVERIFY(test::WriteBytes(path, "previous"));
        if (hasBackup)
            QVERIFY(test::WriteBytes(path + QStringLiteral(".bak"), "older"));
        const QMap<QString, QByteArray> before = Snapshot(dir.path());

        for (int failAt = 1; failAt <= steps; ++failAt) {
            CFailingStep failing(failAt);
            const FileResult result = ReplaceFileKeepingBackup(path, "new");
            QVERIFY2(!result.ok, qPrintable(QString::number(failAt)));
            QVERIFY2(result.message.contains(Reason(EIO)), qPrintable(result.message));
            QVERIFY2(result.message.contains(QStringLiteral("news.bjpx")), qPrintable(result.message));
            // The target and the backup are byte for byte what they were, nothing is left over.
            QCOMPARE(Snapshot(dir.path()), before);
        }

        // One step more than there are: the save goes through.
        CFailingStep beyond(steps + 1);
        QVERIFY(ReplaceFileKeepingBackup(path, "new").ok);
        QCOMPARE(beyond.Calls(), steps);
        QCOMPARE(test::ReadBytes(path), QByteArray("new"));
        QMap<QString, QByteArray> expected{{QStringLiteral("news.bjpx"), "new"}};
        if (hasTarget)
            expected.insert(QStringLiteral("news.bjpx.bak"), "previous");
        QCOMPARE(Snapshot(dir.path()), expected);
    }

    // Contents written by a producer: its pieces arrive in order, and a producer whose write
    // fails after part of the file leaves the target, its backup and the folder as they were.
    void producedContentsReplaceTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteBytes(path, "previous"));
        QVERIFY(test::WriteBytes(path + QStringLiteral(".bak"), "older"));
        const QMap<QString, QByteArray> before = Snapshot(dir.path());

        const FileResult failed = ReplaceFileKeepingBackup(path, [](QIODevice &out) {
            out.write("part");
            return false;
        });
        QVERIFY(!failed.ok);
        QVERIFY2(failed.message.contains(QStringLiteral("news.bjpx")), qPrintable(failed.message));
        QCOMPARE(Snapshot(dir.path()), before);

        const FileResult saved = ReplaceFileKeepingBackup(path, [](QIODevice &out) {
            return out.write("first,") == 6 && out.write("second") == 6;
        });
        QVERIFY2(saved.ok, qPrintable(saved.message));
        const QMap<QString, QByteArray> expected{{QStringLiteral("news.bjpx"), "first,second"},
                                                 {QStringLiteral("news.bjpx.bak"), "previous"}};
        QCOMPARE(Snapshot(dir.path()), expected);
    }

    // A save reaches the disk: the written file is synced with all its bytes before it takes
    // the name, and its folder after the renames; a sync that fails stops the save with the
    // reason and leaves the folder as it was.
    void savesAreSyncedAroundTheRename_data()
    {
        QTest::addColumn<bool>("keepBackup");
        QTest::newRow("with backup") << true;
        QTest::newRow("without backup") << false;
    }
    void savesAreSyncedAroundTheRename()
    {
        QFETCH(bool, keepBackup);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteBytes(path, "previous"));
        QStringList log;
        int syncError = 0;
        const FileSteps &real = CFileStepsOverride::RealSteps();
        CFileStepsOverride steps(FileSteps{
            [&](const QString &from, const QString &to) {
                log << QStringLiteral("rename %1 %2").arg(from, to);
                return real.rename(from, to);
            },
            [&](const QString &file) {
                log << QStringLiteral("remove ") + file;
                return real.remove(file);
            },
            [&](int fd, const QString &file) {
                struct stat st {};
                const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
                log << QStringLiteral("sync %1 %2").arg(file).arg(size);
                return syncError;
            },
            [&](const QString &folder) {
                log << QStringLiteral("sync folder ") + folder;
                return 0;
            }});
        auto save = [&] {
            return keepBackup ? ReplaceFileKeepingBackup(path, "new!")
                              : WriteFileAtomically(path, "new!");
        };
        const FileResult saved = save();
        QVERIFY2(saved.ok, qPrintable(saved.message));
        QCOMPARE(test::ReadBytes(path), QByteArray("new!"));
        QVERIFY2(log.size() >= 3, qPrintable(log.join(u'\n')));
        // The temporary file synced whole, then renamed to the name, then the folder.
        const QStringList first = log.first().split(u' ');
        QCOMPARE(first.size(), 3);
        QCOMPARE(first[0], QStringLiteral("sync"));
        QCOMPARE(first[2], QStringLiteral("4"));
        const QString temp = first[1];
        QVERIFY(log.contains(QStringLiteral("rename %1 %2").arg(temp, path)));
        QCOMPARE(log.last(), QStringLiteral("sync folder ") + QFileInfo(path).absolutePath());
        QCOMPARE(log.filter(QStringLiteral("sync")).size(), 2);

        const QMap<QString, QByteArray> before = Snapshot(dir.path());
        log.clear();
        syncError = EIO;
        const FileResult failed = save();
        QVERIFY(!failed.ok);
        QVERIFY2(failed.message.contains(Reason(EIO)), qPrintable(failed.message));
        QCOMPARE(Snapshot(dir.path()), before);
        QVERIFY(log.filter(QStringLiteral("rename")).isEmpty());
        QVERIFY(log.filter(QStringLiteral("folder")).isEmpty());
    }

    // The old backup must go before its name is taken; when it cannot (here a folder), nothing
    // is written and the reason is given.
    void oldBackupThatCannotBeRemovedStopsTheSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteBytes(path, "previous"));
        QVERIFY(test::WriteBytes(path + QStringLiteral(".bak/inside.txt"), "kept"));
        const QMap<QString, QByteArray> before = Snapshot(dir.path());

        const FileResult result = ReplaceFileKeepingBackup(path, "new");
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(QStringLiteral("news.bjpx.bak")), qPrintable(result.message));
        QVERIFY2(result.message.contains(Reason(EISDIR)), qPrintable(result.message));
        QCOMPARE(Snapshot(dir.path()), before);
        QCOMPARE(test::ReadBytes(path + QStringLiteral(".bak/inside.txt")), QByteArray("kept"));
    }

    void aFolderIsNeverReplaced_data()
    {
        QTest::addColumn<bool>("keepBackup");
        QTest::newRow("with backup") << true;
        QTest::newRow("without backup") << false;
    }
    void aFolderIsNeverReplaced()
    {
        QFETCH(bool, keepBackup);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteBytes(path + QStringLiteral("/inside.txt"), "kept"));
        const QMap<QString, QByteArray> before = Snapshot(dir.path());
        const FileResult result = keepBackup ? ReplaceFileKeepingBackup(path, "new")
                                             : WriteFileAtomically(path, "new");
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(Reason(EISDIR)), qPrintable(result.message));
        QCOMPARE(Snapshot(dir.path()), before);
        QCOMPARE(test::ReadBytes(path + QStringLiteral("/inside.txt")), QByteArray("kept"));
    }

    void newFilesFollowTheUmask_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        QTest::newRow("022") << 0022 << 0644;
        QTest::newRow("002") << 0002 << 0664;
        QTest::newRow("077") << 0077 << 0600;
    }
    void newFilesFollowTheUmask()
    {
        QFETCH(int, mask);
        QFETCH(int, mode);
        QTemporaryDir dir;
        const mode_t previous = ::umask(mode_t(mask));
        const QString fresh = dir.filePath(QStringLiteral("new.bjpx"));
        const QString replaced = dir.filePath(QStringLiteral("old.bjpx"));
        const bool wrote = test::WriteBytes(replaced, "old")
                           && ::chmod(QFile::encodeName(replaced).constData(), 0604) == 0
                           && ReplaceFileKeepingBackup(fresh, "new").ok
                           && ReplaceFileKeepingBackup(replaced, "new").ok;
        ::umask(previous);
        QVERIFY(wrote);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(fresh).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
        // A file that is replaced keeps its own permissions.
        QCOMPARE(::stat(QFile::encodeName(replaced).constData(), &info), 0);
        QCOMPARE(int(info.st_mode & 07777), 0604);
    }

    void fullDiskKeepsTheFile_data()
    {
        QTest::addColumn<bool>("withBackup"); // ReplaceFileKeepingBackup, else CommitSaveFile
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<bool>("saved");
        for (const bool withBackup : {false, true}) {
            const char *way = withBackup ? "replace with backup" : "save file";
            QTest::addRow("%s, not a byte free", way) << withBackup << qint64(0) << false;
            QTest::addRow("%s, the first bytes fit", way) << withBackup << qint64(100) << false;
            QTest::addRow("%s, room enough", way) << withBackup << qint64(1 << 20) << true;
        }
    }

    // On a full disk a save fails and says why; the file it would replace, and everything
    // else in its folder, stays as it was.
    void fullDiskKeepsTheFile()
    {
        QFETCH(bool, withBackup);
        QFETCH(qint64, freeBytes);
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        QVERIFY(test::WriteBytes(path, "old"));
        const QMap<QString, QByteArray> before = Snapshot(dir.path());
        const QByteArray bytes(4096, 'n');
        bool ok = false;
        QString why;
        {
            test::CFullDisk full{rlim_t(freeBytes)};
            QVERIFY(full.IsActive());
            if (withBackup) {
                const FileResult result = ReplaceFileKeepingBackup(path, bytes);
                ok = result.ok;
                why = result.message;
            } else {
                QSaveFile out(path);
                ok = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size()
                     && CommitSaveFile(out, &why);
            }
        }
        QCOMPARE(ok, saved);
        if (saved) {
            QCOMPARE(test::ReadBytes(path), bytes);
            return;
        }
        QVERIFY(!why.isEmpty());
        QCOMPARE(Snapshot(dir.path()), before);
    }
};

ORIN_TEST_CLASS(SafeFileTest)
#include "tst_safe_file.moc"
