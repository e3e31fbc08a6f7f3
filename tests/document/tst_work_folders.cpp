// SPDX-License-Identifier: MIT
// Work folders of runs that are no longer alive are removed at the next start-up; those of
// living runs stay.
#include "test_files.h"
#include "test_registry.h"

#include "document/work_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

class WorkFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void foldersOfDeadRunsAreRemovedAtStartUp();
};

namespace {

// A work folder with a file in it, claimed by process `pid` running the program `program`
// (as the lock of a run records it); no lock at all when pid is 0.
void MakeRunFolder(const QString &temp, const QString &name, qint64 pid, const QString &program)
{
    QVERIFY(QDir().mkpath(temp + name));
    QVERIFY(test::WriteBytes(temp + name + u"/copy.jpg"_s, "jpeg"));
    if (pid != 0)
        QVERIFY(test::WriteBytes(temp + name + u".lock"_s,
                                 QByteArray::number(pid) + '\n' + program.toUtf8() + '\n'
                                     + QSysInfo::machineHostName().toUtf8() + '\n'));
}

} // namespace

void WorkFoldersTest::foldersOfDeadRunsAreRemovedAtStartUp()
{
    QTemporaryDir dir;
    const QString temp = dir.path() + u"/temp/"_s;

    // A run that was killed: its process is gone.
    QProcess finished;
    finished.start(u"/bin/true"_s, QStringList());
    QVERIFY(finished.waitForStarted());
    const qint64 deadPid = finished.processId();
    QVERIFY(finished.waitForFinished());
    MakeRunFolder(temp, u"BEEF"_s, deadPid, u"orinedit"_s);
    // A run of a version without locks.
    MakeRunFolder(temp, u"0A0A"_s, 0, QString());
    // A run that is still alive (the lock names a living process of that program).
    QProcess living;
    living.start(u"/bin/sleep"_s, {u"60"_s});
    QVERIFY(living.waitForStarted());
    MakeRunFolder(temp, u"CAFE"_s, living.processId(),
                  QFileInfo(u"/bin/sleep"_s).canonicalFilePath());
    // Not a work folder.
    QVERIFY(QDir().mkpath(temp + u"notes"_s));

    // This run starts: it claims a folder of its own and removes only the dead runs' folders.
    const WorkFolders mine = MakeWorkFolders(dir.path(), 1234);
    QVERIFY(QFileInfo(mine.work).isDir());
    QVERIFY(!QFileInfo::exists(temp + u"BEEF"_s));
    QVERIFY(!QFileInfo::exists(temp + u"BEEF.lock"_s));
    QVERIFY(!QFileInfo::exists(temp + u"0A0A"_s));
    QVERIFY(QFileInfo::exists(temp + u"CAFE/copy.jpg"_s));
    QVERIFY(QFileInfo::exists(temp + u"notes"_s));

    // Another run starting now leaves this one's folder alone and takes another.
    const WorkFolders other = MakeWorkFolders(dir.path(), 1234);
    QVERIFY(other.work != mine.work);
    QVERIFY(QFileInfo(mine.work).isDir());
    QCOMPARE(RemoveAbandonedWorkFolders(dir.path()), 0);

    // The living run is killed: the next start-up removes its folder.
    living.kill();
    QVERIFY(living.waitForFinished());
    QCOMPARE(RemoveAbandonedWorkFolders(dir.path()), 1);
    QVERIFY(!QFileInfo::exists(temp + u"CAFE"_s));

    // A run that ends normally removes its folder and its lock.
    QVERIFY(RemoveWorkFolder(other));
    QVERIFY(!QFileInfo::exists(other.work));
    QVERIFY(!QFileInfo::exists(other.work.chopped(1) + u".lock"_s));
    QVERIFY(QFileInfo(mine.work).isDir());
}

ORIN_TEST_CLASS(WorkFoldersTest)
#include "tst_work_folders.moc"
