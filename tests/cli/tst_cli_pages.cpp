// SPDX-License-Identifier: MIT
// The page copy commands of the command-line tool, run as a process on real files.

#include "test_files.h"
#include "cli_runner.h"
#include "test_paths.h"
#include "test_registry.h"

#include "actions/copy_document.h"
#include "images/load_services.h"
#include "model/project_reader.h"
#include "model/project_writer.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

bool Load(const QString &path, CContentModel &model, ProgramSettings *settingsOut = nullptr)
{
    ProgramSettings settings;
    const bool ok = LoadProject(path, path.endsWith(u"x"), settings, model.usedSize, model,
                                StandardLoadServices());
    if (settingsOut)
        *settingsOut = settings;
    return ok;
}

bool SaveModel(const CContentModel &model, const QString &path,
               const ProgramSettings &settings = ProgramSettings())
{
    return SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok;
}

QString Arg(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

class CliPagesTest : public QObject {
    Q_OBJECT

private slots:
    void copydocWritesWhatTheDragCarries()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString out = dir.filePath(QStringLiteral("pages.txt"));
        const CliOutcome o = RunCli({Arg("copydoc"), project, out, Arg("--pages"), Arg("3,1,3")});
        QCOMPARE(o.code, 0);

        CContentModel model;
        QVERIFY(Load(project, model));
        // Page-table order whatever the order asked, each page once; UTF-8 without a mark.
        const QByteArray expected =
            WriteCopyDocument(model, {model.PageIndexOfId(1), model.PageIndexOfId(3)}).toUtf8();
        const QByteArray bytes = ReadBytes(out);
        QCOMPARE(bytes, expected);
        QVERIFY(bytes.startsWith("<CopyProgram>\r\n  <Program>\r\n    <BMLJPEG id=\"1\""));
        QVERIFY(bytes.contains("</BMLJPEG>\n  </Program>\r\n"));
        QVERIFY(bytes.contains("<ItemText id=\"2\" item=\"0\" label=\"天気\">"));
    }

    void copydocErrors_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("outName");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString text = Arg("pages.txt");
        QTest::newRow("unknown page") << QStringList{Arg("--pages"), Arg("2,9")} << text << 1 << Arg("no page with id 9");
        QTest::newRow("not a number") << QStringList{Arg("--pages"), Arg("1,x")} << text << 2 << Arg("not a list of page ids");
        QTest::newRow("no --pages") << QStringList{} << text << 2 << Arg("copydoc takes");
        QTest::newRow("--pages without a list") << QStringList{Arg("--pages")} << text << 2 << Arg("--pages takes");
        QTest::newRow("OUT named as a project") << QStringList{Arg("--pages"), Arg("1")} << Arg("pages.bjpx") << 2 << Arg("not a project");
    }

    void copydocErrors()
    {
        QFETCH(QStringList, extra);
        QFETCH(QString, outName);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString out = dir.filePath(outName);
        const CliOutcome o = RunCli(QStringList{Arg("copydoc"), project, out} + extra);
        QCOMPARE(o.code, code);
        QVERIFY2(o.err.contains(message), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(out));
    }

    void roundTripIntoAnEmptySet()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString document = dir.filePath(QStringLiteral("all.txt"));
        QCOMPARE(RunCli({Arg("copydoc"), project, document, Arg("--pages"), Arg("1,2,3,4")}).code, 0);
        // An empty content set with the sample's program settings (ExPNG decides what is drawn).
        CContentModel unused;
        ProgramSettings settings;
        QVERIFY(Load(project, unused, &settings));
        const QString empty = dir.filePath(QStringLiteral("empty.bjpx"));
        QVERIFY(SaveModel(CContentModel(), empty, settings));
        const QString merged = dir.filePath(QStringLiteral("merged.bjpx"));
        const CliOutcome o = RunCli({Arg("merge"), empty, document, merged});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.contains(u"new pages: 1 2 3 4\n"), qPrintable(o.out));
        QVERIFY(o.out.contains(u"page map: 1->1 2->2 3->3 4->4\n"));
        QVERIFY(o.out.contains(u"macro map: 1->1\n"));

        CContentModel source;
        CContentModel result;
        QVERIFY(Load(project, source));
        QVERIFY(Load(merged, result));
        QCOMPARE(result.pages.Count(), source.pages.Count());
        // The sample's records are all used and numbered from the start, so every id comes back
        // as it was: the pages differ only in what a merge sets (timer and arrow chain).
        for (int i = 0; i < source.pages.Count(); ++i) {
            CMyProgramInfo &page = *result.pages.At(i);
            const CMyProgramInfo &original = *source.pages.At(i);
            QCOMPARE(page.up, i);
            QCOMPARE(page.down, i + 2);
            page.timer = original.timer;
            page.up = original.up;
            page.down = original.down;
            page.left = original.left;
            page.right = original.right;
            QString expected;
            QString actual;
            WritePage(source, i, expected, SaveMode::Plain, QString());
            WritePage(result, i, actual, SaveMode::Plain, QString());
            QCOMPARE(actual, expected);
        }
        QCOMPARE(result.texts.Count(), source.texts.Count());
        for (const auto &text : source.texts) {
            QCOMPARE(result.texts.FindById(text->id)->text, text->text);
            QCOMPARE(result.texts.FindById(text->id)->label, text->label);
        }
        QCOMPARE(result.macros.FindById(1)->macro, source.macros.FindById(1)->macro);
        for (int id : {1, 200, 201}) {
            QCOMPARE(result.FindImage(id)->path, source.FindImage(id)->path);
            QCOMPARE(result.FindImage(id)->type, source.FindImage(id)->type);
        }

        // The preview draws the merged pages as it draws the originals, also after a key.
        for (const QString &page : {Arg("1"), Arg("2"), Arg("3")}) {
            const QString before = dir.filePath(QStringLiteral("before%1.png").arg(page));
            const QString after = dir.filePath(QStringLiteral("after%1.png").arg(page));
            const QStringList options{Arg("--page"), page, Arg("--size"), Arg("480x270"),
                                      Arg("--keys"), Arg("down")};
            QCOMPARE(RunCli(QStringList{Arg("render"), project, before} + options).code, 0);
            QCOMPARE(RunCli(QStringList{Arg("render"), merged, after} + options).code, 0);
            const QImage original(before);
            QVERIFY(!original.isNull());
            QCOMPARE(QImage(after), original);
        }
    }

    void mergeReadsUtf16AndRefuses()
    {
        QTemporaryDir dir;
        const QString project = CopySample(dir);
        const QString document = dir.filePath(QStringLiteral("pages.txt"));
        QCOMPARE(RunCli({Arg("copydoc"), project, document, Arg("--pages"), Arg("2")}).code, 0);
        const QString text = QString::fromUtf8(ReadBytes(document));
        QByteArray utf16("\xff\xfe", 2);
        utf16.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        const QString utf16Document = dir.filePath(QStringLiteral("pages16.txt"));
        QVERIFY(WriteBytes(utf16Document, utf16));
        const QString out = dir.filePath(QStringLiteral("out.bjpx"));
        CliOutcome o = RunCli({Arg("merge"), project, utf16Document, out});
        QCOMPARE(o.code, 0);
        QVERIFY2(o.out.contains(u"new pages: 5\n"), qPrintable(o.out));
        QVERIFY(o.out.contains(u"text map: 1->4\n"));

        // A target whose picture table is used up to 199 takes no new picture: nothing is saved.
        CContentModel full;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        full.pages.Add(std::move(page));
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 199;
        full.pictures.Add(std::move(picture));
        const QString target = dir.filePath(QStringLiteral("full.bjpx"));
        QVERIFY(SaveModel(full, target));
        const QString withPicture = dir.filePath(QStringLiteral("photo.txt"));
        QCOMPARE(RunCli({Arg("copydoc"), project, withPicture, Arg("--pages"), Arg("1")}).code, 0);
        const QString refused = dir.filePath(QStringLiteral("refused.bjpx"));
        o = RunCli({Arg("merge"), target, withPicture, refused});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains(u"画像テーブル"), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(refused));

        // A copy document cut short is damaged: refused as the others, nothing written.
        const QString cut = dir.filePath(QStringLiteral("cut.txt"));
        QVERIFY(WriteBytes(cut, text.left(text.indexOf(QStringLiteral("</Program>"))).toUtf8()));
        o = RunCli({Arg("merge"), project, cut, refused});
        QCOMPARE(o.code, 1);
        QVERIFY2(o.err.contains(u"merge refused: コピーデータが壊れているため"), qPrintable(o.err));
        QVERIFY(!QFileInfo::exists(refused));

        // Text that holds no pages is not a copy document.
        QVERIFY(WriteBytes(withPicture, "<CopyProgram><Program></Program></CopyProgram>"));
        o = RunCli({Arg("merge"), project, withPicture, refused});
        QCOMPARE(o.code, 1);
        QVERIFY(o.err.contains(u"<BMLJPEG"));
        QVERIFY(!QFileInfo::exists(refused));
    }

    void helpDescribesThePageCommands()
    {
        const CliOutcome o = RunCli({Arg("--help")});
        QCOMPARE(o.code, 0);
        QVERIFY(o.out.contains(u"copydoc IN OUT --pages ID[,ID...]"));
        QVERIFY(o.out.contains(u"merge IN COPYDOC OUT"));
    }
};

ORIN_TEST_CLASS(CliPagesTest)
#include "tst_cli_pages.moc"
