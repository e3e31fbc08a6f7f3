// SPDX-License-Identifier: MIT
// The check command and simulate --trace, run as a process on small projects written for the
// test and on the example content sets.

#include "cli_runner.h"
#include "content_fixture.h"
#include "test_paths.h"
#include "test_registry.h"

#include "model/content_model.h"
#include "model/project_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

QString WriteFixture(const QTemporaryDir &dir, const QString &fixture)
{
    CContentModel model;
    ProgramSettings settings;
    BuildContent(fixture, model, settings);
    const QString path = dir.filePath(u"check.bjpx"_s);
    if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok)
        return QString();
    return path;
}

// Page 1 jumps to a page that does not exist and runs a macro that names a missing text;
// page 2 is reached by the blue key; page 3 by nothing.
const QString kBroken = u"page 1 defitem=1 blue=2\n"
                        "item 1 ret=G:7 down=2\n"
                        "item 2 ret=A:5\n"
                        "page 2 back=1\n"
                        "page 3\n"
                        "macro 5 T:9:0"_s;

// Two placed items on one page: item 1 reaches over the right edge, item 2 holds ten
// characters of 28 units in 208 units of width and 36 of height, starting at 20 + 16 + 2 = 38,
// inside the 48 units of a 5 % margin.
QString WriteLayoutFixture(const QTemporaryDir &dir)
{
    CContentModel model;
    ProgramSettings settings;
    BuildContent(u"page 1 defitem=1\nitem 1 down=2\nitem 2 up=1"_s, model, settings);
    CMyProgramInfo &page = *model.pages.At(0);
    page.backcol = kNoColour;
    const QRect rects[] = {{900, 100, 120, 56}, {20, 200, 240, 56}};
    for (int i = 0; i < 2; ++i) {
        PageItem &item = page.items[size_t(i)];
        item.x = float(rects[i].x());
        item.y = float(rects[i].y());
        item.width = float(rects[i].width());
        item.height = float(rects[i].height());
        item.margin_x = 16;
        item.margin_y = 10;
        item.size = 28;
        item.color = 7;
        item.bcolor = 4;
    }
    page.items[1].text = u"あいうえおかきくけこ"_s;
    const QString path = dir.filePath(u"layout.bjpx"_s);
    if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok)
        return QString();
    return path;
}

} // namespace

class CliCheckTest : public QObject {
    Q_OBJECT

private slots:
    void readableFindings()
    {
        QTemporaryDir dir;
        const QString project = WriteFixture(dir, kBroken);
        QVERIFY(!project.isEmpty());
        const CliOutcome o = RunCli({u"check"_s, project});
        QCOMPARE(o.code, 1);
        QCOMPARE(o.out, u"error missing-page page 1 item 1 ret: page 7 does not exist\n"
                        "error missing-text macro 5: text 9 does not exist\n"
                        "warning focus-dead-end page 1 item 2: no arrow key leads anywhere from this item\n"
                        "warning unreachable-page page 3: no path from the first page leads here\n"
                        "2 broken references, 2 warnings\n"_s);
        QVERIFY(o.err.isEmpty());
    }

    void jsonFindingsAndGraph()
    {
        QTemporaryDir dir;
        const QString project = WriteFixture(dir, kBroken);
        const CliOutcome o = RunCli({u"check"_s, u"--json"_s, project});
        QCOMPARE(o.code, 1);
        const QJsonObject root = QJsonDocument::fromJson(o.out.toUtf8()).object();
        QCOMPARE(root.value(u"broken"_s).toInt(), 2);
        QCOMPARE(root.value(u"warnings"_s).toInt(), 2);
        const QJsonObject first = root.value(u"findings"_s).toArray().at(0).toObject();
        QCOMPARE(first.value(u"severity"_s).toString(), u"error"_s);
        QCOMPARE(first.value(u"code"_s).toString(), u"missing-page"_s);
        QCOMPARE(first.value(u"page"_s).toInt(), 1);
        QCOMPARE(first.value(u"item"_s).toInt(), 1);
        QCOMPARE(first.value(u"field"_s).toString(), u"ret"_s);
        QCOMPARE(first.value(u"target"_s).toInt(), 7);
        const QJsonArray pages = root.value(u"pages"_s).toArray();
        QCOMPARE(pages.size(), 3);
        const QJsonObject one = pages.at(0).toObject();
        QCOMPARE(one.value(u"startFocus"_s).toInt(), 1);
        QCOMPARE(one.value(u"edges"_s).toArray().size(), 1); // the blue key to page 2
        QCOMPARE(one.value(u"edges"_s).toArray().at(0).toObject().value(u"via"_s).toString(), u"key:blue"_s);
        QCOMPARE(one.value(u"focusMoves"_s).toArray().size(), 1);
        QCOMPARE(pages.at(2).toObject().value(u"reachable"_s).toBool(), false);
    }

    void cleanSetExitsZero()
    {
        QTemporaryDir dir;
        const QString project = WriteFixture(dir, u"page 1 defitem=1\nitem 1 ret=2\npage 2 back=1"_s);
        const CliOutcome o = RunCli({u"check"_s, project});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, u"0 broken references, 0 warnings\n"_s);
    }

    void usageAndUnreadableFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::newRow("no file") << QStringList({u"check"_s}) << 2;
        QTest::newRow("two files") << QStringList({u"check"_s, u"a.bjpx"_s, u"b.bjpx"_s}) << 2;
        QTest::newRow("unknown option") << QStringList({u"check"_s, u"--fast"_s}) << 2;
        QTest::newRow("safe area without value") << QStringList({u"check"_s, u"a.bjpx"_s, u"--safe-area"_s}) << 2;
        QTest::newRow("safe area too wide") << QStringList({u"check"_s, u"--safe-area"_s, u"46"_s, u"a.bjpx"_s}) << 2;
        QTest::newRow("safe area not a number") << QStringList({u"check"_s, u"--safe-area"_s, u"5%"_s, u"a.bjpx"_s}) << 2;
        QTest::newRow("no such file") << QStringList({u"check"_s, u"/nonexistent/x.bjpx"_s}) << 1;
    }

    void usageAndUnreadableFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        const CliOutcome o = RunCli(args);
        QCOMPARE(o.code, code);
        QVERIFY(o.out.isEmpty());
        QVERIFY(!o.err.isEmpty());
    }

    void exampleContentSets()
    {
        // The sample is clean: no broken reference, no navigation or layout warning.
        const CliOutcome sample = RunCli({u"check"_s, SourceDir() + u"/examples/sample.bjpx"_s});
        QCOMPARE(sample.code, 0);
        QCOMPARE(sample.out, u"0 broken references, 0 warnings\n"_s);
        const CliOutcome broken = RunCli({u"check"_s, SourceDir() + u"/examples/broken.bjpx"_s});
        QCOMPARE(broken.code, 1);
        QVERIFY2(broken.out.startsWith(u"error missing-"_s), qPrintable(broken.out));
    }

    void layoutFindings()
    {
        QTemporaryDir dir;
        const QString project = WriteLayoutFixture(dir);
        QVERIFY(!project.isEmpty());
        const CliOutcome o = RunCli({u"check"_s, project});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, u"warning off-page page 1 item 1: the item lies partly outside the 960 x 540 page\n"
                        "warning text-overflow page 1 item 2: the text does not fit the item\n"
                        "warning outside-safe-area page 1 item 2: the text reaches outside the "
                        "title-safe area (5 % margin: 48,27 to 912,513)\n"
                        "0 broken references, 3 warnings\n"_s);

        const CliOutcome noMargin = RunCli({u"check"_s, u"--safe-area"_s, u"0"_s, project});
        QCOMPARE(noMargin.code, 0);
        QVERIFY2(!noMargin.out.contains(u"outside-safe-area"_s), qPrintable(noMargin.out));
        QVERIFY(noMargin.out.endsWith(u"0 broken references, 2 warnings\n"_s));

        const CliOutcome json = RunCli({u"check"_s, u"--json"_s, project});
        QCOMPARE(json.code, 0);
        const QJsonObject root = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(root.value(u"warnings"_s).toInt(), 3);
        const QJsonObject overflow = root.value(u"findings"_s).toArray().at(1).toObject();
        QCOMPARE(overflow.value(u"severity"_s).toString(), u"warning"_s);
        QCOMPARE(overflow.value(u"code"_s).toString(), u"text-overflow"_s);
        QCOMPARE(overflow.value(u"page"_s).toInt(), 1);
        QCOMPARE(overflow.value(u"item"_s).toInt(), 2);
        QCOMPARE(overflow.value(u"message"_s).toString(), u"the text does not fit the item"_s);
    }

    void simulateTraceAddsOnlyTraceLines()
    {
        QTemporaryDir dir;
        const QString project = WriteFixture(dir, u"page 1 defitem=1\nitem 1 ret=T:3:0,A:4 down=2\n"
                                                  "item 2 up=1\npage 2\nmacro 4 G:2\ntext 3 [#1]a[#2]b"_s);
        const QStringList args = {u"simulate"_s, project, u"--keys"_s, u"down,up,enter"_s};
        const CliOutcome plain = RunCli(args);
        const CliOutcome traced = RunCli(args + QStringList{u"--trace"_s});
        QCOMPARE(plain.code, 0);
        QCOMPARE(traced.code, 0);
        QVERIFY(!plain.out.contains(u"trace:"_s));
        QStringList kept;
        QStringList traceLines;
        for (const QString &line : traced.out.split(u'\n')) {
            if (line.startsWith(u"  trace: "_s))
                traceLines << line;
            else
                kept << line;
        }
        QCOMPARE(kept.join(u'\n'), plain.out);
        QVERIFY(traceLines.contains(u"  trace: key enter"_s));
        QVERIFY(traceLines.contains(u"  trace:   action \"T:3:0,A:4\" entry 1 \"T:3:0\""_s));
        QVERIFY(traceLines.contains(u"  trace:     item 1 text \"a\""_s));
        QVERIFY(traceLines.contains(u"  trace:     page 2 shown"_s));

        const CliOutcome json = RunCli(args + QStringList{u"--trace"_s, u"--json"_s});
        const QStringList states = json.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(states.size(), 4);
        const QJsonObject last = QJsonDocument::fromJson(states.last().toUtf8()).object();
        const QJsonArray trace = last.value(u"trace"_s).toArray();
        QVERIFY(!trace.isEmpty());
        QCOMPARE(trace.at(0).toObject().value(u"event"_s).toString(), u"key"_s);
        const QJsonObject entry = trace.at(1).toObject();
        QCOMPARE(entry.value(u"depth"_s).toInt(), 1);
        QCOMPARE(entry.value(u"entry"_s).toString(), u"T:3:0"_s);
    }
};

ORIN_TEST_CLASS(CliCheckTest)
#include "tst_cli_check.moc"
