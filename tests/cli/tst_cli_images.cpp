// SPDX-License-Identifier: MIT
// The colour-map commands of the command-line tool, run as a process on real files.

#include "image_fixtures.h"
#include "cli_runner.h"
#include "test_paths.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin::test;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(char(v));
    return bytes;
}

} // namespace

class CliImagesTest : public QObject {
    Q_OBJECT

private slots:
    void clutPrintsTheMap()
    {
        const CliOutcome builtIn = RunCli({QStringLiteral("clut")});
        QCOMPARE(builtIn.code, 0);
        const QStringList lines = builtIn.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 256);
        QCOMPARE(lines.at(0), QStringLiteral("0 0 0 0 255"));
        QCOMPARE(lines.at(8), QStringLiteral("8 0 0 0 0"));
        QCOMPARE(lines.at(16), QStringLiteral("16 0 0 85 255"));
        QCOMPARE(lines.at(129), QStringLiteral("129 0 0 0 64"));
        QCOMPARE(lines.at(255), QStringLiteral("255 0 0 0 0"));

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("default.clt"));
        QVERIFY(WriteBytes(file, Bytes({0x28, 1, 1, 235, 128, 128, 200})));
        const CliOutcome loaded = RunCli({QStringLiteral("clut"), file});
        QCOMPARE(loaded.code, 0);
        const QStringList mapped = loaded.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(mapped.at(0), lines.at(0));
        QCOMPARE(mapped.at(1), QStringLiteral("1 255 255 255 200"));
        QCOMPARE(mapped.at(2), QStringLiteral("2 0 0 0 0"));
    }

    void clutRefusedFilesPrintTheDefault()
    {
        const QString builtIn = RunCli({QStringLiteral("clut")}).out;
        QTemporaryDir dir;
        const QString depth3 = dir.filePath(QStringLiteral("bad.clt"));
        QVERIFY(WriteBytes(depth3, Bytes({0x60, 1, 2})));
        for (const QString &file : {depth3, dir.filePath(QStringLiteral("missing.clt"))}) {
            const CliOutcome o = RunCli({QStringLiteral("clut"), file});
            QCOMPARE(o.code, 1);
            QCOMPARE(o.out, builtIn);
            QVERIFY(o.err.contains(file));
        }
        QCOMPARE(RunCli({QStringLiteral("clut"), depth3, depth3}).code, 2);
    }

    void paletteMakesAViewableCopy()
    {
        QTemporaryDir dir;
        const QString in = SourceDir() + QStringLiteral("/examples/sample./button.png");
        const QString out = dir.filePath(QStringLiteral("button-view.png"));
        const CliOutcome o = RunCli({QStringLiteral("palette"), in, out});
        QCOMPARE(o.code, 0);
        const QImage view(out);
        QVERIFY(!view.isNull());
        QCOMPARE(view.pixel(0, 20), qRgba(255, 255, 255, 255));   // index 7, the frame
        QCOMPARE(view.pixel(0, 0), qRgba(5, 5, 5, 0));            // index 8, transparent

        // With a colour-map file: index 7 becomes the file's colour.
        const QString clut = dir.filePath(QStringLiteral("m.clt"));
        QVERIFY(WriteBytes(clut, Bytes({0xA8, 7, 7, 10, 20, 30, 255})));
        QCOMPARE(RunCli({QStringLiteral("palette"), in, out, QStringLiteral("--clut"), clut}).code, 0);
        QCOMPARE(QImage(out).pixel(0, 20), qRgba(10, 20, 30, 255));

        // A PNG with a palette of its own is copied unchanged.
        const QString own = TestDataDir() + QStringLiteral("/png/pngsuite/basn3p04.png");
        QCOMPARE(RunCli({QStringLiteral("palette"), own, out}).code, 0);
        QCOMPARE(ReadBytes(out), ReadBytes(own));
    }

    void paletteFailures()
    {
        QTemporaryDir dir;
        const QString text = dir.filePath(QStringLiteral("a.png"));
        QVERIFY(WriteBytes(text, "text"));
        const QString out = dir.filePath(QStringLiteral("out.png"));
        const QString crasher = TestDataDir() + QStringLiteral("/png/crashers/huge_IDAT.png");
        const QString good = dir.filePath(QStringLiteral("cm.png"));
        QVERIFY(WriteBytes(good, ColourMapPng(3, 3)));
        const QList<QStringList> failing{
            {QStringLiteral("palette"), text, out},
            {QStringLiteral("palette"), dir.filePath(QStringLiteral("none.png")), out},
            {QStringLiteral("palette"), crasher, out},
            {QStringLiteral("palette"), good, dir.filePath(QStringLiteral("no/folder/out.png"))},
            {QStringLiteral("palette"), good, out, QStringLiteral("--clut"),
             dir.filePath(QStringLiteral("none.clt"))},
        };
        for (const QStringList &args : failing) {
            const CliOutcome o = RunCli(args);
            QCOMPARE(o.code, 1);
            QVERIFY(!o.err.isEmpty());
            QVERIFY(!QFileInfo::exists(out));
        }
        QCOMPARE(RunCli({QStringLiteral("palette"), good}).code, 2);
        QCOMPARE(RunCli({QStringLiteral("palette"), good, out, QStringLiteral("--clut")}).code, 2);
    }
};

ORIN_TEST_CLASS(CliImagesTest)
#include "tst_cli_images.moc"
