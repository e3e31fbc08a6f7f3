// SPDX-License-Identifier: MIT
// Server content: the fetched tar is extracted only into its own folder and only when it is
// sound, with exactly one project file; the label contents are read and fill the server-mode
// label lists that decide what may be edited.

#include "tar_builder.h"
#include "test_files.h"
#include "test_registry.h"

#include "model/content_model.h"
#include "transmit/server_content.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace orin::test;

Q_DECLARE_METATYPE(orin::test::TarEntry)

namespace {

constexpr qint64 kLimit = 4096;

// Every path under `folder`, relative to it, sorted.
QStringList Tree(const QString &folder)
{
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(folder).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

TarEntry File(const QByteArray &name, const QByteArray &data = "x")
{
    return {name, '0', data, {}, -1, false};
}

TarEntry Folder(const QByteArray &name)
{
    return {name, '5', {}, {}, -1, false};
}

} // namespace

class ServerContentTest : public QObject {
    Q_OBJECT

private slots:
    void soundArchiveIsExtracted()
    {
        QTemporaryDir dir;
        const QString tarPath = dir.filePath(QStringLiteral("SeverContents"));
        const QByteArray project = "<BMLCAST/>";
        const QByteArray picture(700, 'p'); // more than a block
        QVERIFY(WriteBytes(tarPath, Tar({Folder("./"), File("./番組.bjpx", project),
                                         Folder("番組./"), File("番組./p1.jpg", picture),
                                         File("番組./sub/deep.png", "d"),
                                         File("番組./inner.bjpx", "not top level")})));
        const QString dest = dir.filePath(QStringLiteral("out/server"));
        QString bjpx;
        QString error = QStringLiteral("old");
        QVERIFY2(ExtractServerContent(tarPath, dest, kLimit, &bjpx, &error), qPrintable(error));
        QVERIFY(error.isEmpty());
        QCOMPARE(bjpx, dest + QStringLiteral("/番組.bjpx"));
        QCOMPARE(ReadBytes(bjpx), project);
        QCOMPARE(ReadBytes(dest + QStringLiteral("/番組./p1.jpg")), picture);
        QCOMPARE(Tree(dest),
                 (QStringList{QStringLiteral("番組."), QStringLiteral("番組./inner.bjpx"),
                              QStringLiteral("番組./p1.jpg"), QStringLiteral("番組./sub"),
                              QStringLiteral("番組./sub/deep.png"), QStringLiteral("番組.bjpx")}));
    }

    void hostileArchiveWritesNothing_data()
    {
        QTest::addColumn<QList<TarEntry>>("entries");
        QTest::addColumn<int>("keep"); // bytes of the archive kept; -1: all
        QTest::addColumn<QString>("reason");
        const TarEntry project = File("a.bjpx", "<BMLCAST/>");
        // The absolute name points into the test's own folder, see below ("@OUTER@").
        QTest::newRow("absolute name")
            << QList<TarEntry>{project, File("@OUTER@/abs.txt")} << -1 << QStringLiteral("絶対パス");
        QTest::newRow("parent folder")
            << QList<TarEntry>{project, File("a./../../evil.txt")} << -1
            << QStringLiteral("親フォルダ");
        QTest::newRow("parent folder alone")
            << QList<TarEntry>{project, Folder("..")} << -1 << QStringLiteral("親フォルダ");
        QTest::newRow("symbolic link, then a file through it")
            << QList<TarEntry>{project, {"ln", '2', {}, "..", -1, false}, File("ln/evil.txt")}
            << -1 << QStringLiteral("リンク");
        QTest::newRow("hard link")
            << QList<TarEntry>{project, {"hl", '1', {}, "a.bjpx", 0, false}} << -1
            << QStringLiteral("リンク");
        QTest::newRow("character device")
            << QList<TarEntry>{project, {"dev", '3', {}, {}, 0, false}} << -1
            << QStringLiteral("通常のファイルでもフォルダでもない");
        QTest::newRow("fifo")
            << QList<TarEntry>{project, {"fifo", '6', {}, {}, 0, false}} << -1
            << QStringLiteral("通常のファイルでもフォルダでもない");
        QTest::newRow("bad checksum of a later header")
            << QList<TarEntry>{project, {"b.txt", '0', "b", {}, -1, true}} << -1
            << QStringLiteral("壊れています");
        QTest::newRow("bad checksum of the first header")
            << QList<TarEntry>{{"a.bjpx", '0', "<BMLCAST/>", {}, -1, true}} << -1
            << QStringLiteral("開けません");
        QTest::newRow("truncated data")
            << QList<TarEntry>{File("big.bin", QByteArray(2000, 'b')), project} << 512 + 1000
            << QStringLiteral("壊れています");
        QTest::newRow("more than the limit in one file")
            << QList<TarEntry>{project, File("big.bin", QByteArray(kLimit, 'b'))} << -1
            << QStringLiteral("大きすぎます");
        QTest::newRow("more than the limit in all files")
            << QList<TarEntry>{project, File("1.bin", QByteArray(kLimit / 2, '1')),
                               File("2.bin", QByteArray(kLimit / 2, '2'))}
            << -1 << QStringLiteral("大きすぎます");
        QTest::newRow("two project files")
            << QList<TarEntry>{project, File("b.bjpx", "<BMLCAST/>")} << -1
            << QStringLiteral("複数あります");
        QTest::newRow("no project file")
            << QList<TarEntry>{Folder("a./"), File("a./p.jpg")} << -1
            << QStringLiteral("ありません");
        QTest::newRow("only a folder named like a project")
            << QList<TarEntry>{Folder("a.bjpx/"), File("a.bjpx/x")} << -1
            << QStringLiteral("ありません");
        QTest::newRow("the same name twice")
            << QList<TarEntry>{project, File("a.bjpx", "<other/>")} << -1
            << QStringLiteral("作れません");
        QTest::newRow("a file where a folder was")
            << QList<TarEntry>{project, Folder("a./"), File("a.")} << -1
            << QStringLiteral("作れません");
        QTest::newRow("archive cut inside a header")
            << QList<TarEntry>{project, File("b.txt")} << 1024 + 300
            << QStringLiteral("壊れています");
        QTest::newRow("empty name")
            << QList<TarEntry>{project, File("")} << -1 << QStringLiteral("名前のない");
        QTest::newRow("backslash name")
            << QList<TarEntry>{project, File("a.\\..\\x")} << -1 << QStringLiteral("使えない文字");
        // The package's own rule for names: what it would rename is refused here.
        QTest::newRow("colon name")
            << QList<TarEntry>{project, Folder("a./"), File("a./x:y.jpg")} << -1
            << QStringLiteral("使えない文字");
        QTest::newRow("control character")
            << QList<TarEntry>{project, Folder("a./"), File("a./x\ty.jpg")} << -1
            << QStringLiteral("制御文字");
        QTest::newRow("a name longer than 100 bytes")
            << QList<TarEntry>{project, {"a./" + QByteArray(101, 'n'), '0', "x", {}, -1, false}}
            << -1 << QStringLiteral("長すぎる");
        QTest::newRow("name not in UTF-8")
            << QList<TarEntry>{project, File("\xff\xfe.txt")} << -1 << QStringLiteral("UTF-8");
    }

    void hostileArchiveWritesNothing()
    {
        QFETCH(QList<TarEntry>, entries);
        QFETCH(int, keep);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString outer = dir.filePath(QStringLiteral("work"));
        QVERIFY(QDir().mkpath(outer));
        for (TarEntry &entry : entries)
            entry.name.replace("@OUTER@", QFile::encodeName(outer));
        QByteArray tar = Tar(entries);
        if (keep >= 0)
            tar.truncate(keep);
        const QString tarPath = dir.filePath(QStringLiteral("SeverContents"));
        QVERIFY(WriteBytes(tarPath, tar));

        const QString dest = outer + QStringLiteral("/server");
        QString bjpx = QStringLiteral("old");
        QString error;
        QVERIFY(!ExtractServerContent(tarPath, dest, kLimit, &bjpx, &error));
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY(bjpx.isEmpty());
        // The folder made for the extraction is gone, and nothing was written beside it.
        QVERIFY(Tree(outer).isEmpty());
        QCOMPARE(Tree(dir.path()), (QStringList{QStringLiteral("SeverContents"),
                                                QStringLiteral("work")}));
    }

    void folderThatIsNotEmptyIsRefusedAndKept()
    {
        QTemporaryDir dir;
        const QString tarPath = dir.filePath(QStringLiteral("SeverContents"));
        QVERIFY(WriteBytes(tarPath, Tar({File("a.bjpx", "<BMLCAST/>")})));
        const QString dest = dir.filePath(QStringLiteral("server"));
        QVERIFY(QDir().mkpath(dest));
        QVERIFY(WriteBytes(dest + QStringLiteral("/a.bjpx"), "mine"));
        QString bjpx;
        QString error;
        QVERIFY(!ExtractServerContent(tarPath, dest, kLimit, &bjpx, &error));
        QVERIFY(error.contains(QStringLiteral("空ではありません")));
        QCOMPARE(ReadBytes(dest + QStringLiteral("/a.bjpx")), QByteArray("mine"));

        // An empty folder that existed stays, emptied again after a failure.
        const QString empty = dir.filePath(QStringLiteral("empty"));
        QVERIFY(QDir().mkpath(empty));
        QVERIFY(WriteBytes(tarPath, Tar({File("a.bjpx"), File("b.bjpx")})));
        QVERIFY(!ExtractServerContent(tarPath, empty, kLimit, &bjpx, &error));
        QVERIFY(QFileInfo(empty).isDir());
        QVERIFY(Tree(empty).isEmpty());
    }

    void notATarIsRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("text") << QByteArray("<LabelContents/>");
        // A sound tar holding a.bjpx, compressed with gzip: only plain tar is accepted.
        QTest::newRow("gzip") << QByteArray::fromHex(
            "1f8b0800000000000203edcd3b0ac2501404d0bb94ac40affa308d086aab956e2096a9821f70f93ed2"
            "08f60ae239cd0cd34c3739f7c3233e2aab65296356ef99399bbffab8b75916d1647cc1fd7aeb2ef532"
            "fed36a7bd8ef36c7d3741d000000000000000000fc9027dfa00b7200280000");
    }

    void notATarIsRefused()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString tarPath = dir.filePath(QStringLiteral("SeverContents"));
        QVERIFY(WriteBytes(tarPath, bytes));
        QString bjpx;
        QString error;
        QVERIFY(!ExtractServerContent(tarPath, dir.filePath(QStringLiteral("out")), kLimit, &bjpx,
                                      &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("out"))));
        // A missing archive is told too.
        QVERIFY(!ExtractServerContent(dir.filePath(QStringLiteral("none")),
                                      dir.filePath(QStringLiteral("out")), kLimit, &bjpx, &error));
        QVERIFY(error.contains(QStringLiteral("開けません")));
    }
};

ORIN_TEST_CLASS(ServerContentTest)

#include "tst_server_content.moc"
