// SPDX-License-Identifier: MIT
// The diff command, run as a process: its exit statuses, its report and its JSON, on small
// projects written for the test and on a renumbered copy of the sample.

#include "cli_runner.h"
#include "content_fixture.h"
#include "test_paths.h"
#include "test_registry.h"

#include "images/load_services.h"
#include "model/content_model.h"
#include "model/project_reader.h"
#include "model/project_writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

const QString kBefore = u"page 1 blue=2\n"
                        "item 1 ret=G:2 text=晴れ\n"
                        "page 2 back=1\n"_s;

QString Write(const QTemporaryDir &dir, const QString &name, const QString &fixture)
{
    CContentModel model;
    ProgramSettings settings;
    BuildContent(fixture, model, settings);
    const QString path = dir.filePath(name);
    if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok)
        return QString();
    return path;
}

// The project file cut in the middle of its markup.
QString WriteCutShort(const QTemporaryDir &dir, const QString &from)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = source.readAll();
    const QString path = dir.filePath(u"cut.bjpx"_s);
    QFile cut(path);
    if (!cut.open(QIODevice::WriteOnly) || cut.write(bytes.left(bytes.size() / 4 * 2)) < 0)
        return QString();
    return path;
}

} // namespace

class CliDiffTest : public QObject {
    Q_OBJECT

private slots:
    void exitStatus_data()
    {
        QTest::addColumn<QString>("command"); // which arguments, by name
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("stderrHas");

        QTest::newRow("equal") << u"before same"_s << 0 << QString();
        QTest::newRow("different") << u"before after"_s << 1 << QString();
        QTest::newRow("json, different") << u"before after --json"_s << 1 << QString();
        QTest::newRow("missing file") << u"before missing"_s << 2 << u"ファイルがオープンできません"_s;
        QTest::newRow("cut short") << u"cut before"_s << 2 << u"damaged project file"_s;
        QTest::newRow("not a project name") << u"before text"_s << 2 << u"not a project file"_s;
        QTest::newRow("one file") << u"before"_s << 2 << u"diff takes BEFORE AFTER"_s;
        QTest::newRow("three files") << u"before after same"_s << 2 << u"diff takes BEFORE AFTER"_s;
        QTest::newRow("unknown option") << u"before after --all"_s << 2 << u"diff takes BEFORE AFTER"_s;
    }

    void exitStatus()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(QString, stderrHas);
        QTemporaryDir dir;
        QHash<QString, QString> files;
        files[u"before"_s] = Write(dir, u"before.bjpx"_s, kBefore);
        files[u"same"_s] = Write(dir, u"same.bjpx"_s, kBefore);
        files[u"after"_s] = Write(dir, u"after.bjpx"_s, QString(kBefore).replace(u"晴れ"_s, u"雨"_s));
        files[u"cut"_s] = WriteCutShort(dir, files[u"before"_s]);
        files[u"missing"_s] = dir.filePath(u"missing.bjpx"_s);
        files[u"text"_s] = dir.filePath(u"notes.txt"_s);
        QStringList args{u"diff"_s};
        for (const QString &word : command.split(u' '))
            args << (files.contains(word) ? files[word] : word);
        const CliOutcome o = RunCli(args);
        QCOMPARE(o.code, code);
        if (!stderrHas.isEmpty())
            QVERIFY2(o.err.contains(stderrHas), qPrintable(o.err));
        if (code == 2)
            QVERIFY(o.out.isEmpty());
        if (code == 0)
            QCOMPARE(o.out, u"no differences\n"_s);
    }

    void reportIsReadable()
    {
        QTemporaryDir dir;
        const QString before = Write(dir, u"before.bjpx"_s, kBefore);
        const QString after = Write(dir, u"after.bjpx"_s,
                                    QString(kBefore).replace(u"晴れ"_s, u"雨"_s) + u"page 5\n"_s);
        const CliOutcome o = RunCli({u"diff"_s, before, after});
        QCOMPARE(o.code, 1);
        QCOMPARE(o.out, u"page 1 item 1 text: \"[-晴れ-]{+雨+}\"\n"
                        "page 5: added at position 3\n"
                        "2 differences\n"_s);
    }

    void aRenumberedCopyOfTheSampleDiffsAsRenumbered()
    {
        // The sample with its notice page moved to the front keeps its ids (4, 1, 2, 3); the
        // renumber command gives it 1, 2, 3, 4 with every reference following.
        QTemporaryDir dir;
        const QString sample = CopySample(dir);
        CContentModel model;
        ProgramSettings settings;
        QVERIFY(LoadProject(sample, true, settings, model.usedSize, model, StandardLoadServices()));
        model.pages.Insert(0, model.pages.Take(3));
        const QString reordered = dir.filePath(u"reordered.bjpx"_s);
        QVERIFY(SaveProject(model, reordered, SaveMode::Plain, ContentFolderOf(reordered), settings).ok);
        const QString renumbered = dir.filePath(u"renumbered.bjpx"_s);
        QCOMPARE(RunCli({u"renumber"_s, reordered, renumbered}).code, 0);

        const CliOutcome text = RunCli({u"diff"_s, reordered, renumbered});
        QCOMPARE(text.code, 1);
        QCOMPARE(text.out, u"page 4->1: renumbered 4 -> 1\n"
                           "page 1->2: renumbered 1 -> 2\n"
                           "page 2->3: renumbered 2 -> 3\n"
                           "page 3->4: renumbered 3 -> 4\n"
                           "4 differences\n"_s);

        const CliOutcome json = RunCli({u"diff"_s, reordered, renumbered, u"--json"_s});
        QCOMPARE(json.code, 1);
        const QJsonObject o = QJsonDocument::fromJson(json.out.toUtf8()).object();
        QCOMPARE(o.value(u"equal"_s).toBool(), false);
        QCOMPARE(o.value(u"before"_s).toString(), reordered);
        QCOMPARE(o.value(u"after"_s).toString(), renumbered);
        QVERIFY(o.value(u"settings"_s).toArray().isEmpty());
        QVERIFY(o.value(u"records"_s).toArray().isEmpty());
        const QJsonArray pages = o.value(u"pages"_s).toArray();
        QCOMPARE(pages.size(), 4);
        for (const QJsonValue &v : pages) {
            const QJsonObject page = v.toObject();
            QCOMPARE(page.value(u"change"_s).toString(), u"same"_s);
            QCOMPARE(page.value(u"renumbered"_s).toBool(), true);
            QCOMPARE(page.value(u"moved"_s).toBool(), false);
            QVERIFY(page.value(u"attributes"_s).toArray().isEmpty());
            QVERIFY(page.value(u"items"_s).toArray().isEmpty());
        }
        QCOMPARE(pages.at(0).toObject().value(u"before"_s).toInt(), 4);
        QCOMPARE(pages.at(0).toObject().value(u"after"_s).toInt(), 1);

        // The sample and its reordered copy elsewhere hold the same pictures: only the move.
        const CliOutcome moved = RunCli({u"diff"_s, sample, reordered});
        QCOMPARE(moved.code, 1);
        QCOMPARE(moved.out, u"page 4: moved from position 4 to 1\n1 difference\n"_s);
    }
};

ORIN_TEST_CLASS(CliDiffTest)
#include "tst_cli_diff.moc"
