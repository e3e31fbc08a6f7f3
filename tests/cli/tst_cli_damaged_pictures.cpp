// SPDX-License-Identifier: MIT
// The tool on content whose pictures are gone or broken: every command works on the sample
// project without its content folder (nothing aborts, a missing file adds nothing to the size),
// and a picture the decoder refuses leaves no decoder chatter in the tool's output.

#include "cli_runner.h"
#include "test_files.h"
#include "test_registry.h"

#include "images/png_crc.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>
#include <QtTest>

using namespace orin::test;
using namespace Qt::StringLiterals;

class CliDamagedPicturesTest : public QObject {
    Q_OBJECT

private slots:
    void everyCommandWorks_data();
    void everyCommandWorks();
    void usedSizeCountsMissingFilesAsNothing();
    void impossiblePictureSizeLeavesNoDecoderChatter();
};

namespace {

// The sample project in `dir` with its content folder removed.
QString ProjectWithoutFolder(const QTemporaryDir &dir)
{
    const QString project = CopySample(dir);
    QDir(dir.filePath(u"sample."_s)).removeRecursively();
    return project;
}

} // namespace

void CliDamagedPicturesTest::everyCommandWorks_data()
{
    // IN: the project, OUT: a path in the test's folder, DOC: a copy document of page 1.
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::newRow("info") << QStringList{u"info"_s, u"IN"_s} << 0;
    QTest::newRow("convert") << QStringList{u"convert"_s, u"IN"_s, u"OUT.bjpx"_s} << 0;
    QTest::newRow("portable") << QStringList{u"portable"_s, u"IN"_s, u"OUT.bjpx"_s} << 0;
    QTest::newRow("renumber") << QStringList{u"renumber"_s, u"IN"_s, u"OUT.bjpx"_s} << 0;
    QTest::newRow("slim") << QStringList{u"slim"_s, u"IN"_s, u"OUT.bjpx"_s} << 0;
    QTest::newRow("check") << QStringList{u"check"_s, u"IN"_s} << 0;
    QTest::newRow("copydoc") << QStringList{u"copydoc"_s, u"IN"_s, u"OUT.txt"_s, u"--pages"_s,
                                            u"1"_s} << 0;
    QTest::newRow("merge") << QStringList{u"merge"_s, u"IN"_s, u"DOC"_s, u"OUT.bjpx"_s} << 0;
    QTest::newRow("simulate") << QStringList{u"simulate"_s, u"IN"_s, u"--keys"_s,
                                             u"down,enter,wait:1000"_s, u"--json"_s} << 0;
    QTest::newRow("simulate traced") << QStringList{u"simulate"_s, u"IN"_s, u"--keys"_s,
                                                    u"right,enter"_s, u"--trace"_s} << 0;
    QTest::newRow("render") << QStringList{u"render"_s, u"IN"_s, u"OUT.png"_s, u"--keys"_s,
                                           u"down,enter"_s} << 0;
    // The missing files are listed as warnings and shown as the placeholder picture.
    QTest::newRow("export-web") << QStringList{u"export-web"_s, u"IN"_s, u"OUTweb"_s} << 0;
}

void CliDamagedPicturesTest::everyCommandWorks()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString project = ProjectWithoutFolder(dir);
    const QString doc = dir.filePath(u"page1.txt"_s);
    QCOMPARE(RunCli({u"copydoc"_s, project, doc, u"--pages"_s, u"1"_s}).code, 0);
    QString out;
    for (QString &arg : args) {
        if (arg == u"IN")
            arg = project;
        else if (arg == u"DOC")
            arg = doc;
        else if (arg.startsWith(u"OUT"))
            arg = out = dir.filePath(arg);
    }
    const CliOutcome o = RunCli(args);
    QVERIFY2(!o.err.contains(u"QGuiApplication"_s), qPrintable(o.err));
    QTEST(o.code, "code");
    if (out.endsWith(u".png")) {
        const QImage image(out);
        QCOMPARE(image.size(), QSize(1920, 1080));
    }
}

void CliDamagedPicturesTest::usedSizeCountsMissingFilesAsNothing()
{
    QTemporaryDir dir;
    const QString project = ProjectWithoutFolder(dir);
    const CliOutcome o = RunCli({u"info"_s, project, u"--json"_s});
    QCOMPARE(o.code, 0);
    const QJsonObject info = QJsonDocument::fromJson(o.out.toUtf8()).object();
    QCOMPARE(info.value(u"usedSize"_s).toInteger(-1), 0);
    QVERIFY(info.value(u"sizeLine"_s).toString().startsWith(u"0.00/"_s));
    // With one file back, the size is that file's alone.
    QDir().mkpath(dir.filePath(u"sample."_s));
    QFile::copy(SourceDir() + u"/examples/sample./logo.png"_s, dir.filePath(u"sample./logo.png"_s));
    const CliOutcome one = RunCli({u"info"_s, project, u"--json"_s});
    QCOMPARE(QJsonDocument::fromJson(one.out.toUtf8()).object().value(u"usedSize"_s).toInteger(),
             QFileInfo(dir.filePath(u"sample./logo.png"_s)).size());
}

void CliDamagedPicturesTest::impossiblePictureSizeLeavesNoDecoderChatter()
{
    // The sample's logo (shown on page 1), its IHDR claiming a width of 2^31 - 1.
    QTemporaryDir dir;
    const QString project = CopySample(dir);
    const QString logo = dir.filePath(u"sample./logo.png"_s);
    QByteArray png = ReadBytes(logo);
    QCOMPARE(png.mid(12, 4), QByteArray("IHDR"));
    qToBigEndian<quint32>(0x7fffffff, png.data() + 16);
    qToBigEndian<quint32>(orin::PngCrc32(png.mid(12, 17)), png.data() + 29);
    QVERIFY(WriteBytes(logo, png));
    const QString out = dir.filePath(u"page.png"_s);
    const CliOutcome rendered = RunCli({u"render"_s, project, out});
    QCOMPARE(rendered.code, 0);
    QCOMPARE(rendered.err, QString());
    QCOMPARE(QImage(out).size(), QSize(1920, 1080));
    const CliOutcome simulated = RunCli({u"simulate"_s, project, u"--json"_s});
    QCOMPARE(simulated.code, 0);
    QCOMPARE(simulated.err, QString());
    // The tool's own complaints still arrive.
    const CliOutcome bad = RunCli({u"render"_s, project, out, u"--size"_s, u"0x0"_s});
    QCOMPARE(bad.code, 2);
    QVERIFY(bad.err.startsWith(u"not a size"_s));
}

ORIN_TEST_CLASS(CliDamagedPicturesTest)
#include "tst_cli_damaged_pictures.moc"
