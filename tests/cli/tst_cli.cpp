// SPDX-License-Identifier: MIT
// The command-line tool, run as a process on real files.

#include "test_files.h"
#include "cli_runner.h"
#include "test_paths.h"
#include "test_registry.h"

#include "model/text_codec.h"
#include "orin_version.h"

#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace orin::test;

namespace {

// The words of a command line.
QStringList Words(const char *line)
{
    return QString::fromLatin1(line).split(u' ');
}

// Every file and folder under `folder` with the bytes of the files (hidden ones too).
QMap<QString, QByteArray> Tree(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, it.fileInfo().isDir() ? QByteArray("<folder>") : ReadBytes(path));
    }
    return entries;
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    void infoOfTheSample()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const CliOutcome o = RunCli({QStringLiteral("info"), project, QStringLiteral("--json")});
        QCOMPARE(o.code, 0);
        const QJsonObject info = QJsonDocument::fromJson(o.out.toUtf8()).object();
        QCOMPARE(info.value(QStringLiteral("pages")).toInt(), 4);
        QCOMPARE(info.value(QStringLiteral("materials")).toInt(), 2);
        QCOMPARE(info.value(QStringLiteral("pictures")).toInt(), 1);
        QCOMPARE(info.value(QStringLiteral("texts")).toInt(), 3);
        QCOMPARE(info.value(QStringLiteral("macros")).toInt(), 1);
        qint64 files = 0;
        for (const QFileInfo &f : QDir(dir.filePath(QStringLiteral("sample."))).entryInfoList(QDir::Files))
            files += f.size();
        QCOMPARE(info.value(QStringLiteral("usedSize")).toInteger(), files);
        QCOMPARE(info.value(QStringLiteral("sizeLimit")).toInt(), 100000);
        QVERIFY(info.value(QStringLiteral("sizeLine")).toString().endsWith(QStringLiteral("/97.67 M")));
        QVERIFY(info.value(QStringLiteral("sizeLineDecimal")).toString().endsWith(QStringLiteral("/100.00 M")));
        QCOMPARE(info.value(QStringLiteral("settings")).toObject().value(QStringLiteral("ExPNG")).toInt(), 1);

        const CliOutcome text = RunCli({QStringLiteral("info"), project});
        QCOMPARE(text.code, 0);
        QVERIFY(text.out.contains(QStringLiteral("Pages: 4")));
        QVERIFY(text.out.contains(QStringLiteral("TransChannel: 1")));
    }

    void convertInPlaceAndBetweenEncodings()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QByteArray original = orin::test::ReadBytes(project);
        QCOMPARE(RunCli({QStringLiteral("convert"), project, project}).code, 0);
        QCOMPARE(orin::test::ReadBytes(project), original);
        QCOMPARE(orin::test::ReadBytes(project + QStringLiteral(".bak")), original);

        // To code page 932 and back: the references are absolute now (other content folder),
        // the rest is the same.
        const QString ansi = dir.filePath(QStringLiteral("copy.bjp"));
        QCOMPARE(RunCli({QStringLiteral("convert"), project, ansi}).code, 0);
        QVERIFY(!orin::test::ReadBytes(ansi).startsWith("\xFF\xFE"));
        const QString again = dir.filePath(QStringLiteral("again.bjpx"));
        QCOMPARE(RunCli({QStringLiteral("convert"), ansi, again}).code, 0);
        const CliOutcome a = RunCli({QStringLiteral("info"), project, QStringLiteral("--json")});
        const CliOutcome b = RunCli({QStringLiteral("info"), again, QStringLiteral("--json")});
        QCOMPARE(a.out, b.out);
    }

    void portableSave()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString out = dir.filePath(QStringLiteral("moved/p.bjpx"));
        QCOMPARE(RunCli({QStringLiteral("portable"), project, out}).code, 0);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("moved/p./top.jpg"))).isFile());
        QVERIFY(orin::DecodeUnicodeTextFile(orin::test::ReadBytes(out)).contains(QStringLiteral("<JPEG>./p./top.jpg</JPEG>")));
        const CliOutcome again = RunCli({QStringLiteral("portable"), project, out});
        QCOMPARE(again.code, 1);
        QVERIFY(again.err.contains(QStringLiteral("ポータブル保存の上書き保存はできません")));
    }

    void renumberAndSlim()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.bjpx"));
        const QString text = QStringLiteral(
            "<BMLCAST><Program>"
            "<BMLJPEG id=\"10\" return=\"30\"><JPEG></JPEG><Items Num=\"1\">"
            "<Item id=\"1\" ret=\"G:30,P:1:0\" focus=\"xp:3:1,p:4:1\" pic_no=\"2\"/></Items></BMLJPEG>"
            "<BMLJPEG id=\"30\"><JPEG></JPEG><Items Num=\"0\"></Items></BMLJPEG>"
            "</Program><Material></Material><Picture>"
            "<ItemJPEG id=\"1\" type=\"2\"></ItemJPEG><ItemJPEG id=\"2\" type=\"2\"></ItemJPEG>"
            "<ItemJPEG id=\"3\" type=\"2\"></ItemJPEG><ItemJPEG id=\"4\" type=\"2\"></ItemJPEG>"
            "<ItemJPEG id=\"5\" type=\"2\"></ItemJPEG></Picture></BMLCAST>");
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(orin::EncodeUnicodeTextFile(text));
        f.close();

        const QString renumbered = dir.filePath(QStringLiteral("r.bjpx"));
        QCOMPARE(RunCli({QStringLiteral("renumber"), in, renumbered}).code, 0);
        const QString r = orin::DecodeUnicodeTextFile(orin::test::ReadBytes(renumbered));
        QVERIFY(r.contains(QStringLiteral("<BMLJPEG id=\"1\" comment = \"\" defitem=\"0\" tvitem=\"0\" clock=\"0\" return=\"2\"")));
        QVERIFY(r.contains(QStringLiteral("ret=\"G:2,P:1:0\"")));
        QVERIFY(r.contains(QStringLiteral("<BMLJPEG id=\"2\"")));

        // Picture 3 only appears in an xp: entry (not an image reference) and 5 nowhere; 4 is
        // referenced after the xp: entry and stays.
        const QString slim = dir.filePath(QStringLiteral("s.bjpx"));
        const CliOutcome o = RunCli({QStringLiteral("slim"), in, slim});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QStringLiteral("picture 3\npicture 5\n"));
        const QString s2 = orin::DecodeUnicodeTextFile(orin::test::ReadBytes(slim));
        QCOMPARE(s2.count(QStringLiteral("<ItemJPEG ")), 3);
        QVERIFY(s2.contains(QStringLiteral("<ItemJPEG id=\"4\"")));
    }

    void sampleIsNumberedAndUsesEveryImage()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString renumbered = dir.filePath(QStringLiteral("r.bjpx"));
        QCOMPARE(RunCli({QStringLiteral("renumber"), project, renumbered}).code, 0);
        const QString before = orin::DecodeUnicodeTextFile(orin::test::ReadBytes(project));
        const QString after = orin::DecodeUnicodeTextFile(orin::test::ReadBytes(renumbered));
        // Other content folder: the references become absolute, nothing else changes.
        QCOMPARE(QString(after).replace(dir.filePath(QStringLiteral("sample.")), QStringLiteral("./sample.")), before);
        const CliOutcome slim = RunCli({QStringLiteral("slim"), project, dir.filePath(QStringLiteral("s.bjpx"))});
        QCOMPARE(slim.code, 0);
        QCOMPARE(slim.out, QStringLiteral("nothing to remove\n"));
    }

    void errorsAndUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList() << 2 << QStringLiteral("Usage");
        QTest::newRow("unknown") << QStringList{QStringLiteral("frobnicate")} << 2 << QStringLiteral("unknown command");
        QTest::newRow("missing file") << QStringList{QStringLiteral("info"), QStringLiteral("/no/such.bjpx")} << 1 << QStringLiteral("ファイルがオープンできません");
        QTest::newRow("bad out extension") << QStringList{QStringLiteral("convert"), QStringLiteral("/no/such.bjpx"), QStringLiteral("/tmp/x.txt")} << 2 << QStringLiteral(".bjpx or .bjp");
        QTest::newRow("unwritable out") << QStringList{QStringLiteral("convert"), (SourceDir() + QStringLiteral("/examples/sample.bjpx")), QStringLiteral("/no/such/folder/x.bjpx")} << 1 << QStringLiteral("x.bjpx");
    }
    void errorsAndUsage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        const CliOutcome o = RunCli(args);
        QCOMPARE(o.code, code);
        QVERIFY2(o.err.contains(message), qPrintable(o.err));
    }

    // A file that is not a complete project is never written anywhere, a folder is never taken
    // for the output, and a failed command leaves every file as it was.
    void refusedInputsAndOutputsTouchNothing_data()
    {
        QTest::addColumn<QStringList>("args"); // names inside the test folder
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString damaged = QStringLiteral("ends before </BMLCAST>");
        const QString notProject = QStringLiteral("not a project file");
        QTest::newRow("convert cut short") << Words("convert cut.bjpx out.bjpx") << 1 << damaged;
        QTest::newRow("convert cut short in place") << Words("convert cut.bjpx cut.bjpx") << 1 << damaged;
        QTest::newRow("renumber cut short") << Words("renumber cut.bjpx out.bjpx") << 1 << damaged;
        QTest::newRow("slim cut short") << Words("slim cut.bjpx out.bjpx") << 1 << damaged;
        QTest::newRow("portable cut short") << Words("portable cut.bjpx out.bjpx") << 1 << damaged;
        QTest::newRow("convert another root") << Words("convert other.bjpx out.bjpx") << 1 << QStringLiteral("root element is not <BMLCAST>");
        QTest::newRow("info of an empty file") << Words("info empty.bjpx") << 1 << notProject;
        QTest::newRow("convert an empty file") << Words("convert empty.bjpx out.bjpx") << 1 << notProject;
        QTest::newRow("convert random bytes") << Words("convert noise.bjp out.bjp") << 1 << notProject;
        QTest::newRow("convert a missing file") << Words("convert missing.bjpx out.bjpx") << 1 << QStringLiteral("ファイルがオープンできません");
        QTest::newRow("convert onto a folder") << Words("convert good.bjpx folder.bjpx") << 1 << QString::fromLocal8Bit(strerror(EISDIR));
        QTest::newRow("renumber onto a folder") << Words("renumber good.bjpx folder.bjpx") << 1 << QString::fromLocal8Bit(strerror(EISDIR));
        QTest::newRow("export-web cut short") << Words("export-web cut.bjpx web.out") << 1 << damaged;
        QTest::newRow("export-web into a folder in use") << Words("export-web good.bjpx folder.bjpx") << 1 << QStringLiteral("not an empty folder");
        QTest::newRow("export-web onto a file") << Words("export-web good.bjpx empty.bjpx") << 1 << QStringLiteral("not an empty folder");
        QTest::newRow("export-web a missing file") << Words("export-web missing.bjpx web.out") << 1 << QStringLiteral("ファイルがオープンできません");
        QTest::newRow("export-web without OUTDIR") << Words("export-web good.bjpx") << 2 << QStringLiteral("export-web takes FILE and OUTDIR");
    }
    void refusedInputsAndOutputsTouchNothing()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString good = CopySample(dir);
        QVERIFY(QFile::rename(good, dir.filePath(QStringLiteral("good.bjpx"))));
        const QString full = orin::DecodeUnicodeTextFile(ReadBytes(dir.filePath(QStringLiteral("good.bjpx"))));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("cut.bjpx")), orin::EncodeUnicodeTextFile(full.left(full.size() / 2))));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("other.bjpx")), orin::EncodeUnicodeTextFile(QStringLiteral("<Other><Program/></Other>"))));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("empty.bjpx")), QByteArray()));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("noise.bjp")), QByteArray("\x89PNG\r\n\x1a\n\x00\x01 binary")));
        QVERIFY(WriteBytes(dir.filePath(QStringLiteral("folder.bjpx/inside.txt")), "kept"));
        const QMap<QString, QByteArray> before = Tree(dir.path());

        QStringList absolute;
        for (const QString &arg : args)
            absolute << (arg.contains(u'.') ? dir.filePath(arg) : arg);
        const CliOutcome o = RunCli(absolute);
        QCOMPARE(o.code, code);
        QVERIFY2(o.err.contains(message), qPrintable(o.err));
        QCOMPARE(Tree(dir.path()), before);
    }

    void infoOfADamagedFileShowsWhatWasRead()
    {
        QTemporaryDir dir;
        const QString sample = CopySample(dir);
        const QString full = orin::DecodeUnicodeTextFile(ReadBytes(sample));
        // Cut right after the second page.
        const qsizetype cut = full.indexOf(QStringLiteral("</BMLJPEG>"), full.indexOf(QStringLiteral("</BMLJPEG>")) + 1) + 10;
        const QString path = dir.filePath(QStringLiteral("cut.bjpx"));
        QVERIFY(WriteBytes(path, orin::EncodeUnicodeTextFile(full.left(cut))));
        const CliOutcome o = RunCli({QStringLiteral("info"), path});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.out.contains(QStringLiteral("Pages: 2")), qPrintable(o.out));
        QVERIFY2(o.err.contains(QStringLiteral("damaged")) && o.err.contains(QStringLiteral("ends before </BMLCAST>")), qPrintable(o.err));
        const CliOutcome json = RunCli({QStringLiteral("info"), path, QStringLiteral("--json")});
        QCOMPARE(json.code, 1);
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object().value(QStringLiteral("pages")).toInt(), 2);
    }

    void helpListsTheCommands()
    {
        const CliOutcome o = RunCli({QStringLiteral("--help")});
        QCOMPARE(o.code, 0);
        for (const char *command : {"info", "convert", "portable", "renumber", "slim"})
            QVERIFY(o.out.contains(QLatin1String(command)));
    }

    void versionIsPrinted()
    {
        const CliOutcome o = RunCli({QStringLiteral("--version")});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, QStringLiteral("orinedit-cli %1\n").arg(QLatin1String(orin::kVersion)));
    }

    void readingLeavesNoTraceAndNoWarnings()
    {
        // A home, data, configuration and temporary folder of its own, and no runtime folder:
        // whatever the tool wrote while finding its settings would show up in them.
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString home = dir.filePath(QStringLiteral("home"));
        const QString temp = dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(temp));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                                 "XDG_CACHE_HOME", "QT_QPA_PLATFORM"})
            environment.remove(QLatin1String(name));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("TMPDIR"), temp);
        const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;

        const CliOutcome o = RunCli({QStringLiteral("info"), project}, environment);
        QCOMPARE(o.code, 0);
        QCOMPARE(o.err, QString());
        QCOMPARE(QDir(home).entryList(everything), QStringList());
        QCOMPARE(QDir(temp).entryList(everything), QStringList());
    }

    // Qt warns about a file name holding a zero character when the tool measures the picture;
    // the tool's output is its own, so the warning stays out of it.
    void zeroCharacterInAPicturePathGivesNoQtWarning()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        QFile file(project);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        file.close();
        QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData() + 2),
                                          (bytes.size() - 2) / 2);
        const qsizetype at = text.indexOf(QStringLiteral(".jpg"));
        QVERIFY(at > 0);
        text.insert(at, QChar(u'\0'));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes.left(2));
        file.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        file.close();

        const CliOutcome o = RunCli({QStringLiteral("info"), project});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.err, QString());
    }
};

ORIN_TEST_CLASS(CliTest)
#include "tst_cli.moc"
