// SPDX-License-Identifier: MIT
// export-web on the sample content set: the folder it writes and what it prints.

#include "cli_runner.h"
#include "test_files.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin::test;

class CliWebExportTest : public QObject {
    Q_OBJECT

private slots:
    void exportsTheSample()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString out = dir.filePath(QStringLiteral("web"));
        const CliOutcome o = RunCli({QStringLiteral("export-web"), project, out});
        QCOMPARE(o.code, 0);
        QCOMPARE(o.out, out + QStringLiteral("/index.html\n"));
        QCOMPARE(o.err, QString());
        for (const char *name : {"index.html", "player.js", "player.css", "content.js"})
            QVERIFY2(QFileInfo::exists(out + u'/' + QLatin1String(name)), name);
        const QByteArray script = ReadBytes(out + QStringLiteral("/content.js"));
        const QJsonObject content = QJsonDocument::fromJson(
            script.mid(script.indexOf('{'), script.lastIndexOf('}') - script.indexOf('{') + 1)).object();
        QCOMPARE(content.value(QStringLiteral("pages")).toArray().size(), 4);
        // Every picture of the sample is in the folder, none replaced by the placeholder.
        for (const char *table : {"pictures", "materials"}) {
            const QJsonArray records = content.value(QLatin1String(table)).toArray();
            QVERIFY(!records.isEmpty());
            for (const QJsonValue &r : records) {
                QCOMPARE(r.toObject().value(QStringLiteral("missing")).toBool(), false);
                QVERIFY(!QImage(out + u'/' + r.toObject().value(QStringLiteral("file")).toString()).isNull());
            }
        }
        for (const QJsonValue &page : content.value(QStringLiteral("pages")).toArray())
            QVERIFY(QFileInfo::exists(out + u'/' + page.toObject().value(QStringLiteral("background")).toString()));
        for (const char *screen : {"video", "guide", "otherChannel", "web"})
            QCOMPARE(QImage(out + QStringLiteral("/screens/") + QLatin1String(screen) + QStringLiteral(".png")).size(),
                     QSize(960, 540));
        // A second export into the same folder is refused and changes nothing.
        const QByteArray before = ReadBytes(out + QStringLiteral("/content.js"));
        const CliOutcome again = RunCli({QStringLiteral("export-web"), project, out});
        QCOMPARE(again.code, 1);
        QCOMPARE(ReadBytes(out + QStringLiteral("/content.js")), before);
    }

    void aMissingPictureIsAWarning()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("sample./photo.jpg"))));
        const QString out = dir.filePath(QStringLiteral("web"));
        const CliOutcome o = RunCli({QStringLiteral("export-web"), project, out});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.err.startsWith(QStringLiteral("warning: picture 1: cannot read "))
                     && o.err.contains(QStringLiteral("photo.jpg")), qPrintable(o.err));
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/images/missing.png")));
    }
};

ORIN_TEST_CLASS(CliWebExportTest)
#include "tst_cli_webexport.moc"
