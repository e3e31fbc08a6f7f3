// SPDX-License-Identifier: MIT
// The project file format: exact bytes, encodings, backups and the plain reference rule.

#include "no_new_files.h"
#include "test_files.h"
#include "test_registry.h"

#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QtTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace orin;

namespace {

// Counts ImageDimensions-free loading: no measuring, sizes from the file system.
LoadServices PlainServices()
{
    LoadServices s;
    s.totalDataSize = [](const CContentModel &) { return qint64(0); };
    s.fileSize = [](const QString &) { return qint64(0); };
    return s;
}

// A project written by hand in the exact format, with every kind of line.
QString HandMadeProject(const QString &folderName)
{
    return QStringLiteral(
               "<BMLCAST>\n"
               "  <TransChannel>3</TransChannel>\n"
               "  <TimerMode>1</TimerMode>\n"
               "  <CursorSize>2</CursorSize>\n"
               "  <FileIDName>番組&amp;A</FileIDName>\n"
               "  <ModeScreen>0</ModeScreen>\n"
               "  <BackImagePage>5</BackImagePage>\n"
               "  <ExPNG Vertical=\"0\" ConvertAAC=\"1\">1</ExPNG>\n"
               "  <NumAAC>2</NumAAC>\n"
               "  <IDConv homeID=\"h&quot;1\">7</IDConv>\n"
               "  <Program>\n"
               "    <BMLJPEG id=\"1\" comment = \"トップ &lt;1&gt;\" defitem=\"1\" tvitem=\"0\" clock=\"0\" return=\"0\" up=\"0\" down =\"2\" left=\"0\" right=\"0\" back=\"0\" data=\"0\" blue=\"0\" red=\"0\" green=\"0\" yellow=\"0\" timer=\"0\" marquee=\"0\" marquee_speed=\"3\" timer_item=\"0\" timer_ino=\"0\" textid=\"0\" backcol=\"8\" curcol=\"3\" cursize=\"2\" memory=\"0\" cursor=\"0\" smacro=\"0\">\n"
               "      <JPEG>./%1/bg1.jpg</JPEG>\n"
               "      <Items Num=\"2\">\n"
               "        <Item id=\"1\" idg=\"1\" parent=\"0\" x=\"10\" y=\"20\" width=\"300\" height=\"60\" focus=\"0\" outfocus=\"0\" ret=\"G:2,P:1:0\" up=\"\" down =\"2\" left=\"\" right=\"&apos;x&apos;\" pic_no=\"1\" text_no=\"0\">\n"
               "          <ItemText margin_x=\"4\" margin_y=\"2\" color=\"7\" size=\"24\" bcolor=\"8\" wordwrap=\"1\">ニュース\r\nです</ItemText>\n"
               "        </Item>\n"
               "        <Item id=\"2\" idg=\"0\" parent=\"1\" x=\"-5\" y=\"0\" width=\"1\" height=\"1\" focus=\"T:3:0\" outfocus=\"0\" ret=\"\" up=\"1\" down =\"\" left=\"\" right=\"\" pic_no=\"200\" text_no=\"3\">\n"
               "          <ItemText margin_x=\"0\" margin_y=\"0\" color=\"0\" size=\"0\" bcolor=\"0\" wordwrap=\"0\"></ItemText>\n"
               "        </Item>\n"
               "      </Items>\n"
               "    </BMLJPEG>\n"
               "  </Program>\n"
               "  <Material>\n"
               "    <ItemBitmap id=\"200\" item=\"0\" label=\"ボタン\" type=\"1\">./%1/button.png</ItemBitmap>\n"
               "  </Material>\n"
               "  <Picture>\n"
               "    <ItemJPEG id=\"1\" item=\"4\" label=\"写真\" type=\"0\">/abs/elsewhere/photo.jpg</ItemJPEG>\n"
               "  </Picture>\n"
               "  <Text>\n"
               "    <ItemText id=\"3\" item=\"1\" label=\"天気\">[#1]晴れ[#2]くもり</ItemText>\n"
               "  </Text>\n"
               "  <Channel>\n"
               "    <ItemChannel id=\"1\" item=\"0\" screen=\"2\" page=\"3\" address=\"a&amp;b\">data</ItemChannel>\n"
               "  </Channel>\n"
               "  <WebPage>\n"
               "    <ItemWebPage id=\"1\" item=\"0\" screen=\"1\" label=\"web\" page=\"4\" address=\"http://x/\">w</ItemWebPage>\n"
               "  </WebPage>\n"
               "  <Macro>\n"
               "    <ItemMacro id=\"1\" item=\"0\" label=\"m\">G:1,T:3:0</ItemMacro>\n"
               "  </Macro>\n"
               "  <Sound>\n"
               "    <ItemSound id=\"1\" item=\"0\" label=\"s\" comment=\"c\">./%1/chime.wav</ItemSound>\n"
               "  </Sound>\n"
               "  <Function>\n"
               "    <ItemValue>fv</ItemValue>\n"
               "    <ItemFunction id=\"1\" item=\"2\">fd</ItemFunction>\n"
               "  </Function>\n"
               "</BMLCAST>\n")
        .arg(folderName);
}

} // namespace

class ProjectFormatTest : public QObject {
    Q_OBJECT

private slots:
    void convertInPlaceKeepsBytes_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::newRow("bjpx") << QStringLiteral("bjpx");
        QTest::newRow("bjp") << QStringLiteral("bjp");
    }
    void convertInPlaceKeepsBytes()
    {
        QFETCH(QString, extension);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.") + extension);
        const QString folderName = ContentFolderOf(path).mid(dir.path().size() + 1);
        const QString text = HandMadeProject(folderName);
        const bool unicode = extension == u"bjpx";
        const QByteArray original = unicode ? EncodeUnicodeTextFile(text) : EncodeCp932(text);
        QVERIFY(test::WriteBytes(path, original));

        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        QVERIFY(LoadProject(path, unicode, settings, used, model, PlainServices()));
        QCOMPARE(model.pages.Count(), 1);
        QCOMPARE(model.pages.At(0)->background, ContentFolderOf(path) + QStringLiteral("/bg1.jpg"));
        QCOMPARE(model.pages.At(0)->items[0].text, QStringLiteral("ニュース\r\nです"));

        const FileResult saved = SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings);
        QVERIFY2(saved.ok, qPrintable(saved.message));
        QCOMPARE(test::ReadBytes(path), original);
        QCOMPARE(test::ReadBytes(path + QStringLiteral(".bak")), original);
        if (unicode) {
            QVERIFY(original.startsWith("\xFF\xFE<\0B\0"));
            QVERIFY(original.contains(QByteArray("\r\0\r\0\n\0", 6))); // CR LF in a text: CR CR LF
        } else {
            QVERIFY(original.contains("\r\n")); // no line-end translation in .bjp
            QVERIFY(!original.contains("\r\r\n"));
            QVERIFY(original.startsWith("<BMLCAST>\n"));
        }
    }

    void emptyModelHasEverySection()
    {
        const QString text = ComposeProject(CContentModel(), SaveMode::Plain, QString(), ProgramSettings());
        const QString expected = QStringLiteral(
            "<BMLCAST>\n  <TransChannel>1</TransChannel>\n  <TimerMode>0</TimerMode>\n"
            "  <CursorSize>2</CursorSize>\n  <FileIDName></FileIDName>\n  <ModeScreen>0</ModeScreen>\n"
            "  <BackImagePage>0</BackImagePage>\n  <ExPNG Vertical=\"0\" ConvertAAC=\"0\">0</ExPNG>\n"
            "  <NumAAC>0</NumAAC>\n  <IDConv homeID=\"\">0</IDConv>\n"
            "  <Program>\n  </Program>\n  <Material>\n  </Material>\n  <Picture>\n  </Picture>\n"
            "  <Text>\n  </Text>\n  <Channel>\n  </Channel>\n  <WebPage>\n  </WebPage>\n"
            "  <Macro>\n  </Macro>\n  <Sound>\n  </Sound>\n  <Function>\n    <ItemValue></ItemValue>\n"
            "  </Function>\n</BMLCAST>\n");
        QCOMPARE(text, expected);
    }

    void pageAndItemLines()
    {
        CContentModel model;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 4;
        page->itemCount = 1;
        page->items[0].x = 10.9f;
        page->items[0].y = -0.5f;
        page->items[0].width = -3.7f;
        page->items[0].height = 1e20f;
        page->items[1].id = 99; // beyond the count: never written
        model.pages.Add(std::move(page));
        QString out;
        WritePage(model, 0, out, SaveMode::Plain, QString());
        QVERIFY(out.startsWith(QStringLiteral("    <BMLJPEG id=\"4\" comment = \"\" defitem=\"0\"")));
        QVERIFY(out.contains(QStringLiteral("\n      <JPEG></JPEG>\n      <Items Num=\"1\">\n")));
        QVERIFY(out.contains(QStringLiteral(" x=\"10\" y=\"0\" width=\"-3\" height=\"2147483647\" ")));
        QVERIFY(out.contains(QStringLiteral("\n          <ItemText margin_x=\"0\"")));
        QVERIFY(!out.contains(QStringLiteral("id=\"99\"")));
        QVERIFY(out.endsWith(QStringLiteral("        </Item>\n      </Items>\n    </BMLJPEG>\n")));
        WritePage(model, 5, out, SaveMode::Plain, QString()); // out of range: nothing
        QCOMPARE(out.count(QStringLiteral("<BMLJPEG")), 1);
    }

    // The .bjpx file is written in chunks: a project of several chunks, with values that end
    // in line feeds and entities at many offsets and one value longer than a chunk, comes out
    // byte for byte as the whole text converted at once.
    void largeProjectKeepsItsBytesAcrossChunks()
    {
        CContentModel model;
        for (int n = 0; n < 700; ++n) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = n + 1;
            page->comment = QString(n % 37, u'頁') + QStringLiteral("<&>\"'");
            page->itemCount = 3;
            for (int i = 0; i < page->itemCount; ++i) {
                PageItem &item = page->items[static_cast<size_t>(i)];
                item.id = i + 1;
                item.x = float(-n);
                item.text = QString(n % 53 + i, u'x') + QStringLiteral("\n&") + QString(i, u'\n');
            }
            model.pages.Add(std::move(page));
        }
        auto longText = std::make_unique<CMyTextInfo>();
        longText->id = 1;
        for (int i = 0; longText->text.size() < 700 * 1024; ++i)
            longText->text += QString(i % 101, u'あ') + QStringLiteral("\n<");
        model.texts.Add(std::move(longText));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("large.bjpx"));
        const FileResult saved = SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), ProgramSettings());
        QVERIFY2(saved.ok, qPrintable(saved.message));
        const QByteArray expected = EncodeUnicodeTextFile(
            ComposeProject(model, SaveMode::Plain, ContentFolderOf(path), ProgramSettings()));
        QVERIFY(expected.size() > 3 * 1024 * 1024);
        QVERIFY(test::ReadBytes(path) == expected);
    }

    // The file writers copy values in blocks and stop only at characters that change; the text
    // form escapes one character at a time. Values of every length up to a few blocks, with
    // the character at every place, come out the same in both file forms as in the text form.
    void valuesEscapeAlikeAtEveryLengthAndPlace_data()
    {
        QTest::addColumn<QChar>("special");
        for (const char16_t c : {u'<', u'&', u'>', u'"', u'\'', u'\n', u'\0', u'x'})
            QTest::newRow(qPrintable(QString::number(int(c)))) << QChar(c);
    }

    void valuesEscapeAlikeAtEveryLengthAndPlace()
    {
        QFETCH(QChar, special);
        CContentModel model;
        auto page = std::make_unique<CMyProgramInfo>();
        int slot = 0;
        for (int length = 1; length <= 20; ++length) {
            for (int at = 0; at < length; ++at, ++slot) {
                // A plain part of mixed widths ("a", "あ", a digit) around the special character.
                QString value;
                for (int i = 0; i < length; ++i)
                    value += i == at ? special : QChar(u"aあ5"[i % 3]);
                PageItem &item = page->items[static_cast<size_t>(slot % kItemSlots)];
                item.focus = value;        // an attribute
                item.text = value + value; // element content
                auto text = std::make_unique<CMyTextInfo>();
                text->id = slot + 1;
                text->label = value.left(at);
                text->text = value;
                model.texts.Add(std::move(text));
                if (slot % kItemSlots == kItemSlots - 1) {
                    page->itemCount = kItemSlots;
                    model.pages.Add(std::move(page));
                    page = std::make_unique<CMyProgramInfo>();
                }
            }
        }
        page->itemCount = slot % kItemSlots;
        page->comment = special;
        model.pages.Add(std::move(page));

        const QString text = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
        QVERIFY(text.contains(QStringLiteral("focus=\"aあ")));
        QCOMPARE(ComposeProjectFile(model, true, SaveMode::Plain, QString(), ProgramSettings()),
                 EncodeUnicodeTextFile(text));
        QCOMPARE(ComposeProjectFile(model, false, SaveMode::Plain, QString(), ProgramSettings()),
                 EncodeCp932(text));
    }

    void deletedRecordsAreSkipped()
    {
        CContentModel model;
        for (int id : {1, kDeletedId, 2}) {
            auto t = std::make_unique<CMyTextInfo>();
            t->id = id;
            t->text = QStringLiteral("t%1").arg(id);
            model.texts.Add(std::move(t));
        }
        const QString text = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
        QVERIFY(text.contains(QStringLiteral(">t1<")));
        QVERIFY(text.contains(QStringLiteral(">t2<")));
        QVERIFY(!text.contains(QStringLiteral("t-1")));
        QCOMPARE(model.texts.Count(), 3);
    }

    void plainReferenceRule_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inside") << QStringLiteral("/w/news./bg.jpg") << QStringLiteral("./news./bg.jpg");
        // Names are case-sensitive here: another case is another folder.
        QTest::newRow("case differs") << QStringLiteral("/W/NEWS./bg.jpg") << QStringLiteral("/W/NEWS./bg.jpg");
        QTest::newRow("folder name differs in case") << QStringLiteral("/w/News./bg.jpg") << QStringLiteral("/w/News./bg.jpg");
        QTest::newRow("without dot") << QStringLiteral("/w/news/bg.jpg") << QStringLiteral("/w/news/bg.jpg");
        QTest::newRow("deeper") << QStringLiteral("/w/news./sub/bg.jpg") << QStringLiteral("/w/news./sub/bg.jpg");
        QTest::newRow("windows absolute") << QStringLiteral("C:\\work\\news\\bg.jpg") << QStringLiteral("C:\\work\\news\\bg.jpg");
        QTest::newRow("empty") << QString() << QString();
    }
    void plainReferenceRule()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        CContentModel model;
        auto p = std::make_unique<CMyProgramInfo>();
        p->background = path;
        model.pages.Add(std::move(p));
        QString out;
        WritePage(model, 0, out, SaveMode::Plain, QStringLiteral("/w/news."));
        QVERIFY2(out.contains(QStringLiteral("<JPEG>") + expected + QStringLiteral("</JPEG>")), qPrintable(out));
    }

    void savingTwiceKeepsOneBackup()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        CContentModel model;
        ProgramSettings first;
        first.TransChannel = 5;
        QVERIFY(SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), first).ok);
        const QByteArray v1 = test::ReadBytes(path);
        ProgramSettings second;
        second.TransChannel = 6;
        QVERIFY(SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), second).ok);
        QCOMPARE(test::ReadBytes(path + QStringLiteral(".bak")), v1);
        QVERIFY(test::ReadBytes(path).contains(QByteArray("6\0<\0/\0T", 7)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }

    void targetsThatCannotTakeAProjectTouchNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("reason");
        QTest::newRow("other extension") << QStringLiteral("news.xml") << false << QStringLiteral(".bjpx");
        QTest::newRow("no extension") << QStringLiteral("news") << false << QStringLiteral(".bjpx");
        QTest::newRow("a folder") << QStringLiteral("news.bjpx") << true << QString::fromLocal8Bit(strerror(EISDIR));
    }
    void targetsThatCannotTakeAProjectTouchNothing()
    {
        QFETCH(QString, name);
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        if (folder)
            QVERIFY(test::WriteBytes(path + QStringLiteral("/inside.txt"), "kept"));
        const FileResult result = SaveProject(CContentModel(), path, SaveMode::Plain, ContentFolderOf(path), ProgramSettings());
        QVERIFY(!result.ok);
        QVERIFY2(result.message.contains(name) && result.message.contains(reason), qPrintable(result.message));
        const QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        QCOMPARE(left, folder ? QStringList{name} : QStringList());
        if (folder)
            QCOMPARE(test::ReadBytes(path + QStringLiteral("/inside.txt")), QByteArray("kept"));
    }

    // U+0000 cannot stand in either file form; it is written as "?" so that the rest of the
    // project reads back whole.
    void nulCharactersAreWrittenAsQuestionMarks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("bjpx") << QStringLiteral("a.bjpx");
        QTest::newRow("bjp") << QStringLiteral("a.bjp");
    }
    void nulCharactersAreWrittenAsQuestionMarks()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const QString nul = QStringLiteral("a") + QChar(0) + QStringLiteral("b");
        CContentModel model;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        page->comment = nul;
        page->itemCount = 1;
        page->items[0].text = nul;
        model.pages.Add(std::move(page));
        auto text = std::make_unique<CMyTextInfo>();
        text->id = 2;
        text->text = nul;
        model.texts.Add(std::move(text));
        model.functionValue = QStringLiteral("after");
        ProgramSettings settings;
        settings.FileIDName = nul;
        QVERIFY(SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok);

        CContentModel back;
        ProgramSettings backSettings;
        qint64 used = 0;
        ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
        QVERIFY(LoadProject(path, name.endsWith(u'x'), backSettings, used, back, PlainServices(), &integrity));
        QCOMPARE(integrity, ProjectIntegrity::Complete);
        const QString written = QStringLiteral("a?b");
        QCOMPARE(backSettings.FileIDName, written);
        QCOMPARE(back.pages.Count(), 1);
        QCOMPARE(back.pages.At(0)->comment, written);
        QCOMPARE(back.pages.At(0)->items[0].text, written);
        QCOMPARE(back.texts.Count(), 1);
        QCOMPARE(back.texts.At(0)->text, written);
        QCOMPARE(back.functionValue, QStringLiteral("after"));
    }

    void failedSaveLeavesFilesAndSaysWhy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing/news.bjpx"));
        const FileResult result = SaveProject(CContentModel(), path, SaveMode::Plain, QString(), ProgramSettings());
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(QStringLiteral("news.bjpx")));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }

    // A save that cannot make its file (a read-only folder) keeps the previous file and its
    // .bak. The failure is injected so that it binds the superuser too (CI runs as root);
    // other users also meet the real read-only folder.
    void failedSaveInReadOnlyFolderKeepsPrevious()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteBytes(path, "old"));
        QVERIFY(test::WriteBytes(path + QStringLiteral(".bak"), "older"));
        FileResult result;
        {
            test::CNoNewFiles noFiles;
            QVERIFY(noFiles.IsActive());
            result = SaveProject(CContentModel(), path, SaveMode::Plain, QString(), ProgramSettings());
        }
        QVERIFY(!result.ok);
        QVERIFY(result.message.contains(QStringLiteral("news.bjpx")));
        QCOMPARE(test::ReadBytes(path), QByteArray("old"));
        QCOMPARE(test::ReadBytes(path + QStringLiteral(".bak")), QByteArray("older"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

        if (geteuid() == 0)
            return; // permissions do not stop the superuser
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        result = SaveProject(CContentModel(), path, SaveMode::Plain, QString(), ProgramSettings());
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(!result.ok);
        QCOMPARE(test::ReadBytes(path), QByteArray("old"));
        QCOMPARE(test::ReadBytes(path + QStringLiteral(".bak")), QByteArray("older"));
    }

    void ansiSaveReplacesWhatTheCodePageLacks()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.BJP"));
        CContentModel model;
        model.functionValue = QStringLiteral("漢字😀é");
        QVERIFY(SaveProject(model, path, SaveMode::Plain, QString(), ProgramSettings()).ok);
        const QByteArray bytes = test::ReadBytes(path);
        QVERIFY(bytes.contains(EncodeCp932(QStringLiteral("<ItemValue>漢字?\?</ItemValue>\n"))));
        QVERIFY(!bytes.contains('\r'));
    }
};

ORIN_TEST_CLASS(ProjectFormatTest)
#include "tst_project_format.moc"
