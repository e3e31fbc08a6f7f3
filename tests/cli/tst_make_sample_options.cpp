// SPDX-License-Identifier: MIT
// The sample maker reads its arguments before it writes anything.

#include "test_paths.h"
#include "test_registry.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class MakeSampleOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void argumentsAreCheckedFirst_data();
    void argumentsAreCheckedFirst();
};

void MakeSampleOptionsTest::argumentsAreCheckedFirst_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("usageOnStdout");
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << true;
    QTest::newRow("-h after a file") << QStringList{u"out.bjpx"_s, u"-h"_s} << 0 << true;
    QTest::newRow("unknown option") << QStringList{u"--frobnicate"_s} << 2 << false;
    QTest::newRow("option as the second file")
        << QStringList{u"out.bjpx"_s, u"--broken"_s} << 2 << false;
    QTest::newRow("not a project file") << QStringList{u"out.txt"_s} << 2 << false;
    QTest::newRow("nothing") << QStringList{} << 2 << false;
    QTest::newRow("too many") << QStringList{u"a.bjpx"_s, u"b.bjpx"_s, u"c.bjpx"_s} << 2
                              << false;
}

void MakeSampleOptionsTest::argumentsAreCheckedFirst()
{
    QFETCH(QStringList, args);
    QFETCH(bool, usageOnStdout);
    QTemporaryDir dir;
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(orin::test::BinDir() + u"/orinedit-make-sample"_s, args);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QTEST(process.exitCode(), "code");
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(out.startsWith(u"usage: orinedit-make-sample"_s), usageOnStdout);
    QCOMPARE(err.startsWith(u"usage: orinedit-make-sample"_s), !usageOnStdout);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
}

ORIN_TEST_CLASS(MakeSampleOptionsTest)
#include "tst_make_sample_options.moc"
