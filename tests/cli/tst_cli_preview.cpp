// SPDX-License-Identifier: MIT
// The render and simulate commands, run as a process on a small project written for the test.

#include "cli_runner.h"
#include "test_paths.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "model/content_model.h"
#include "model/project_writer.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

// Page 1: items 1 and 2 (down/up between them; 2's enter shows page 2; 1's left runs macro 1
// which posts itself; 1's right starts a focus loop between items 3 and 4). Page 2: item 1
// shows the sections of text 1; a page timer of one second goes back to page 1.
QString WriteProject(const QTemporaryDir &dir)
{
    CContentModel model;
    auto one = std::make_unique<CMyProgramInfo>();
    one->id = 1;
    one->defitem = 1;
    one->curcol = 3;
    one->backcol = kNoColour;
    PageItem &first = AddItem(*one, 1, 100, 100);
    first.down = u"2"_s;
    first.left = u"A:1"_s;
    first.right = u"3"_s;
    first.bcolor = 1;
    PageItem &second = AddItem(*one, 2, 100, 200);
    second.up = u"1"_s;
    second.ret = u"G:2"_s;
    AddItem(*one, 3, 300, 100).focus = u"M:4"_s;
    AddItem(*one, 4, 300, 200).focus = u"M:3"_s;
    model.pages.Add(std::move(one));
    auto two = std::make_unique<CMyProgramInfo>();
    two->id = 2;
    two->defitem = 1;
    two->timer = 1;
    two->curcol = 3;
    two->backcol = kNoColour;
    PageItem &text = AddItem(*two, 1, 100, 100);
    text.text_no = 1;
    text.ret = u"T:1:0"_s;
    model.pages.Add(std::move(two));
    auto record = std::make_unique<CMyTextInfo>();
    record->id = 1;
    record->text = u"[#1]朝[#2]夜"_s;
    model.texts.Add(std::move(record));
    auto macro = std::make_unique<CMyMacroInfo>();
    macro->id = 1;
    macro->macro = u"A:1"_s;
    model.macros.Add(std::move(macro));
    const QString path = dir.filePath(u"preview.bjpx"_s);
    ProgramSettings settings;
    if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok)
        return QString();
    return path;
}

QList<QJsonObject> JsonLines(const QString &out)
{
    QList<QJsonObject> lines;
    const QStringList texts = out.split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : texts)
        lines.append(QJsonDocument::fromJson(line.toUtf8()).object());
    return lines;
}

} // namespace

class CliPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void simulateKeys();
    void simulateMessages();
    void simulateErrors_data();
    void simulateErrors();
    void renderDrawsThePage();
    void sampleKeySequence();
};

void CliPreviewTest::simulateKeys()
{
    QTemporaryDir dir;
    const QString project = WriteProject(dir);
    QVERIFY(!project.isEmpty());
    const CliOutcome o = RunCli({u"simulate"_s, project, u"--keys"_s,
                           u"down,enter,enter,wait:999,wait:1,click:150:220"_s, u"--json"_s});
    QCOMPARE(o.code, 0);
    const QList<QJsonObject> lines = JsonLines(o.out);
    QCOMPARE(lines.size(), 7);
    const QStringList keys = lines.first().keys();
    QCOMPARE(keys, (QStringList{u"focus"_s, u"input"_s, u"items"_s, u"messages"_s, u"page"_s,
                                u"step"_s}));
    QCOMPARE(lines[0].value(u"step"_s).toString(), u"start"_s);
    QCOMPARE(lines[0].value(u"focus"_s).toInt(), 1);
    QCOMPARE(lines[1].value(u"focus"_s).toInt(), 2);
    QCOMPARE(lines[2].value(u"page"_s).toInt(), 2);
    const QJsonObject item = lines[2].value(u"items"_s).toArray().first().toObject();
    QCOMPARE(item.keys(), (QStringList{u"bcolor"_s, u"color"_s, u"h"_s, u"id"_s, u"pic"_s,
                                       u"text"_s, u"textState"_s, u"visible"_s, u"w"_s, u"x"_s,
                                       u"y"_s}));
    QCOMPARE(item.value(u"text"_s).toString(), u"朝"_s);
    QCOMPARE(item.value(u"textState"_s).toInt(), 3);
    QCOMPARE(lines[3].value(u"items"_s).toArray().first().toObject().value(u"text"_s).toString(),
             u"夜"_s);
    QCOMPARE(lines[4].value(u"page"_s).toInt(), 2); // the page timer falls due at 1000 ms
    QCOMPARE(lines[5].value(u"step"_s).toString(), u"wait:1"_s);
    QCOMPARE(lines[5].value(u"page"_s).toInt(), 1);
    // A linked click on item 2 focuses it and presses enter: page 2.
    QCOMPARE(lines[6].value(u"page"_s).toInt(), 2);

    const CliOutcome readable = RunCli({u"simulate"_s, project, u"--keys"_s, u"down"_s});
    QCOMPARE(readable.code, 0);
    QVERIFY(readable.out.startsWith(u"[start] page 1, focus 1"_s));
    QVERIFY(readable.out.contains(u"[down] page 1, focus 2"_s));
}

void CliPreviewTest::simulateMessages()
{
    QTemporaryDir dir;
    const QString project = WriteProject(dir);
    const CliOutcome o = RunCli({u"simulate"_s, project, u"--keys"_s, u"left,right,down"_s,
                           u"--json"_s, u"--trace"_s});
    QCOMPARE(o.code, 0);
    const QList<QJsonObject> lines = JsonLines(o.out);
    QCOMPARE(lines.size(), 4);
    // "left" runs a macro that posts itself: the key's work bound (1000 action entries) ends it;
    // "right" starts a focus loop that the depth guard ends. Each shows the message once, and
    // it is the last thing its step did.
    for (const int step : {1, 2}) {
        QCOMPARE(lines[step].value(u"messages"_s).toArray(),
                 QJsonArray{u"無限ループになります。"_s});
        const QJsonArray trace = lines[step].value(u"trace"_s).toArray();
        QCOMPARE(trace.last().toObject().value(u"event"_s).toString(), u"message"_s);
        int entries = 0;
        int messages = 0;
        for (const QJsonValue &event : trace) {
            entries += event.toObject().value(u"event"_s).toString() == u"entry";
            messages += event.toObject().value(u"event"_s).toString() == u"message";
        }
        QCOMPARE(messages, 1);
        if (step == 1)
            QCOMPARE(entries, 1000);
    }
    QVERIFY(lines[3].value(u"messages"_s).toArray().isEmpty());
}

void CliPreviewTest::simulateErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("named");
    QTest::newRow("unknown key") << QStringList{u"--keys"_s, u"down,jump"_s} << 2 << u"jump"_s;
    QTest::newRow("digit out of range") << QStringList{u"--keys"_s, u"digit:11"_s} << 2
                                        << u"digit:11"_s;
    QTest::newRow("page that does not exist") << QStringList{u"--page"_s, u"9"_s} << 1
                                              << u"9"_s;
    QTest::newRow("bad clock") << QStringList{u"--clock"_s, u"25:99"_s} << 2 << u"25:99"_s;
}

void CliPreviewTest::simulateErrors()
{
    QFETCH(QStringList, args);
    QTemporaryDir dir;
    const QString project = WriteProject(dir);
    const CliOutcome o = RunCli(QStringList{u"simulate"_s, project} + args);
    QTEST(o.code, "code");
    QFETCH(QString, named);
    QVERIFY2(o.err.contains(named), qPrintable(o.err));
    const CliOutcome missing = RunCli({u"simulate"_s, dir.filePath(u"none.bjpx"_s)});
    QCOMPARE(missing.code, 1);
}

void CliPreviewTest::renderDrawsThePage()
{
    QTemporaryDir dir;
    const QString project = WriteProject(dir);
    const QString out = dir.filePath(u"page.png"_s);
    CliOutcome o = RunCli({u"render"_s, project, out, u"--size"_s, u"960x540"_s, u"--frames"_s});
    QCOMPARE(o.code, 0);
    QImage image(out);
    QCOMPARE(image.size(), QSize(960, 540));
    // Item 1 is filled red; its cursor (colour 3, yellow) runs round it.
    QCOMPARE(image.pixel(150, 125) & 0xffffff, 0xff0000u);
    QCOMPARE(image.pixel(98, 125) & 0xffffff, 0xffff00u);
    // With --keys the cursor has moved on to item 2.
    o = RunCli({u"render"_s, project, out, u"--keys"_s, u"down"_s});
    QCOMPARE(o.code, 0);
    image = QImage(out);
    QCOMPARE(image.size(), QSize(1920, 1080));
    QCOMPARE(image.pixel(199, 450) & 0xffffff, 0xffff00u);
    QCOMPARE(image.pixel(250, 250) & 0xffffff, 0xff0000u);
    o = RunCli({u"render"_s, project, dir.filePath(u"no/such/folder/x.png"_s)});
    QCOMPARE(o.code, 1);
}

// A saved key sequence on the bundled sample: the menu, the weather page and its sections.
void CliPreviewTest::sampleKeySequence()
{
    const CliOutcome o = RunCli({u"simulate"_s, SourceDir() + u"/examples/sample.bjpx"_s, u"--keys"_s,
                           u"right,left,down,enter,enter,wait:1000"_s, u"--json"_s});
    QCOMPARE(o.code, 0);
    const QList<QJsonObject> lines = JsonLines(o.out);
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[1].value(u"focus"_s).toInt(), 10);
    QCOMPARE(lines[2].value(u"focus"_s).toInt(), 1);
    QCOMPARE(lines[3].value(u"focus"_s).toInt(), 2);
    QCOMPARE(lines[4].value(u"page"_s).toInt(), 3);
    QCOMPARE(lines[6].value(u"page"_s).toInt(), 3);
    const QJsonObject forecast = lines[5].value(u"items"_s).toArray().first().toObject();
    QCOMPARE(forecast.value(u"text"_s).toString(), u"明日：くもり 最高15℃"_s);
    QCOMPARE(forecast.value(u"textState"_s).toInt(), 3);
}

ORIN_TEST_CLASS(CliPreviewTest)
#include "tst_cli_preview.moc"
