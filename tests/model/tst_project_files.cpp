// SPDX-License-Identifier: MIT
// Files beside the project: portable save copies, folder creation, deleting a temporary project,
// and the text forms of the two file encodings.

#include "test_files.h"
#include "test_registry.h"

#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QBuffer>
#include <QtTest>

using namespace orin;

namespace {

CMyPictureInfo *AddPicture(CContentModel &m, int id, const QString &path)
{
    auto p = std::make_unique<CMyPictureInfo>();
    p->id = id;
    p->path = path;
    CMyPictureInfo *raw = p.get();
    m.pictures.Add(std::move(p));
    return raw;
}

QString ItemJpegReference(const QString &text, int id)
{
    const QString head = QStringLiteral("<ItemJPEG id=\"%1\"").arg(id);
    const qsizetype start = text.indexOf(u'>', text.indexOf(head)) + 1;
    return text.mid(start, text.indexOf(u'<', start) - start);
}

} // namespace

class ProjectFilesTest : public QObject {
    Q_OBJECT

private slots:
    void portableSaveCopiesAndRenames()
    {
        QTemporaryDir dir;
        const QString a = dir.filePath(QStringLiteral("one/bg.jpg"));
        const QString b = dir.filePath(QStringLiteral("two/bg.jpg"));
        QVERIFY(test::WriteBytes(a, "first"));
        QVERIFY(test::WriteBytes(b, "second"));
        CContentModel m;
        auto page = std::make_unique<CMyProgramInfo>();
        page->background = a;
        m.pages.Add(std::move(page));
        AddPicture(m, 1, a);     // another table: copied again
        AddPicture(m, 2, b);     // same name, another file: a name with underscores
        AddPicture(m, 3, b);     // same source as the one before: same reference, no copy
        AddPicture(m, 4, QString());
        AddPicture(m, 5, dir.filePath(QStringLiteral("gone.jpg")));

        const QString out = dir.filePath(QStringLiteral("out/news.bjpx"));
        const QString folder = ContentFolderOf(out);
        QVERIFY(CreateFolderPath(folder));
        const FileResult result = SaveProject(m, out, SaveMode::Portable, folder, ProgramSettings());
        QVERIFY(result.ok);
        QVERIFY(result.message.contains(QStringLiteral("gone.jpg"))); // reported, not fatal

        QStringList files = QDir(folder).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, (QStringList{QStringLiteral("bg.jpg"), QStringLiteral("bg_.jpg"), QStringLiteral("bg__.jpg")}));
        CContentModel back;
        ProgramSettings s;
        qint64 used = 0;
        QVERIFY(LoadProject(out, true, s, used, back, LoadServices()));
        QCOMPARE(back.pages.At(0)->background, folder + QStringLiteral("/bg.jpg"));
        QFile copy(back.pictures.At(2)->path);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("second"));
        QCOMPARE(back.pictures.At(1)->path, back.pictures.At(2)->path);
        QCOMPARE(back.pictures.At(0)->path, folder + QStringLiteral("/bg_.jpg"));
        QCOMPARE(back.pictures.At(3)->path, QString());
        QCOMPARE(back.pictures.At(4)->path, dir.filePath(QStringLiteral("gone.jpg"))); // kept absolute

        const QString text = ComposeProject(back, SaveMode::Plain, folder, s);
        QCOMPARE(ItemJpegReference(text, 2), QStringLiteral("./news./bg__.jpg"));
    }

    void copyIntoFolderGivesUpAfterThirtyUnderscores()
    {
        QTemporaryDir dir;
        const QString source = dir.filePath(QStringLiteral("a.png"));
        QVERIFY(test::WriteBytes(source, "x"));
        const QString folder = dir.filePath(QStringLiteral("c"));
        QString suffix;
        for (int i = 0; i <= 30; ++i, suffix += u'_')
            QVERIFY(test::WriteBytes(folder + QStringLiteral("/a") + suffix + QStringLiteral(".png"), "x"));
        QVERIFY(!CopyIntoFolder(source, folder).ok);
        QFile::remove(folder + QStringLiteral("/a") + QString(30, u'_') + QStringLiteral(".png"));
        const CopyResult last = CopyIntoFolder(source, folder);
        QVERIFY(last.ok);
        QCOMPARE(last.reference, QStringLiteral("./c/a") + QString(30, u'_') + QStringLiteral(".png"));
    }

    void relativeReferenceAndFolders()
    {
        QCOMPARE(MakeRelativeReference(QStringLiteral("/x/y/bg.jpg"), QStringLiteral("/w/news.")), QStringLiteral("./news./bg.jpg"));
        QCOMPARE(MakeRelativeReference(QString(), QStringLiteral("/w/news.")), QString());
        QCOMPARE(ContentFolderOf(QStringLiteral("/w/news.bjpx")), QStringLiteral("/w/news."));
        QCOMPARE(ContentFolderOf(QStringLiteral("/w/news.bjp")), QStringLiteral("/w/news"));
        QTemporaryDir dir;
        QVERIFY(CreateFolderPath(dir.filePath(QStringLiteral("a/b/c./"))));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("a/b/c."))).isDir());
        QVERIFY(CreateFolderPath(dir.filePath(QStringLiteral("a/b/c.")))); // exists: success
        QVERIFY(test::WriteBytes(dir.filePath(QStringLiteral("file")), "x"));
        QVERIFY(!CreateFolderPath(dir.filePath(QStringLiteral("file/sub"))));
    }

    void deleteProjectFilesStaysInsideTheProject()
    {
        QTemporaryDir dir;
        const QString project = dir.filePath(QStringLiteral("tmp/get.bjpx"));
        const QString folder = ContentFolderOf(project);
        const QString outside = dir.filePath(QStringLiteral("keep.jpg"));
        QVERIFY(test::WriteBytes(folder + QStringLiteral("/bg.jpg"), "x"));
        QVERIFY(test::WriteBytes(folder + QStringLiteral("/m.png"), "x"));
        QVERIFY(test::WriteBytes(outside, "x"));
        const QString text = QStringLiteral(
            "<BMLCAST><Program><BMLJPEG id=\"1\"><JPEG>./get./bg.jpg</JPEG></BMLJPEG></Program>"
            "<Material><ItemBitmap>./get./m.png</ItemBitmap></Material>"
            "<Picture><ItemJPEG>%1</ItemJPEG><ItemJPEG>./get./../../keep.jpg</ItemJPEG></Picture></BMLCAST>").arg(outside);
        QVERIFY(test::WriteBytes(project, EncodeUnicodeTextFile(text)));
        QVERIFY(DeleteProjectFiles(project));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/bg.jpg")));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/m.png")));
        QVERIFY(!QFileInfo::exists(folder)); // emptied content folder removed
        QVERIFY(QFileInfo::exists(outside));
        QVERIFY(!DeleteProjectFiles(dir.filePath(QStringLiteral("none.bjpx"))));
    }

    void unicodeTextForm_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("mark and crlf") << QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10) << QStringLiteral("a\nb");
        QTest::newRow("no mark, lone cr") << QByteArray("a\0\r\0b\0", 6) << QStringLiteral("a\rb");
        QTest::newRow("cr cr lf") << QByteArray("\xFF\xFE\r\0\r\0\n\0", 8) << QStringLiteral("\r\n");
        QTest::newRow("odd length") << QByteArray("\xFF\xFE" "a\0b", 5) << QStringLiteral("a");
        QTest::newRow("utf8 mark") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82\r\n") << QStringLiteral("あ\n");
        QTest::newRow("empty") << QByteArray() << QString();
    }
    void unicodeTextForm()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(DecodeUnicodeTextFile(bytes), text);
        // Read from the file straight into the text, the same way.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.bjpx"));
        QVERIFY(test::WriteBytes(path, bytes));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(ReadUnicodeTextFile(file), text);
    }

    // A code page 932 file is decoded piece by piece (1 MiB at a time): a character cut by the
    // end of a piece, a stray byte there, a NUL and a cut lead byte at the end read as from the
    // bytes at once.
    void codePageFileReadsLikeItsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray kana("\x82\xa0"); // あ
        QByteArray across = "a" + kana.repeated((1 << 20) / 2) + "z";
        QTest::newRow("character across the piece end") << across;
        QByteArray stray = QByteArray((1 << 20) - 1, 'b') + "\x82" + "\xff" + kana + "\x82";
        QTest::newRow("stray bytes at the piece end and a cut lead at the end") << stray;
        QTest::newRow("unassigned code across the piece end")
            << QByteArray((1 << 20) - 1, 'c') + "\x85\x40" + kana;
        QTest::newRow("NUL in the second piece")
            << kana.repeated(600000) + QByteArray("x\0y", 3) + kana;
        QTest::newRow("empty") << QByteArray();
    }
    void codePageFileReadsLikeItsBytes()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.bjp"));
        QVERIFY(test::WriteBytes(path, bytes));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString expected = DecodeCp932(bytes);
        QCOMPARE(ReadCp932File(file), expected);
        if (!bytes.isEmpty())
            QVERIFY(expected.contains(QChar(u'あ')));
    }

    // A save encodes its text to code page 932 chunk by chunk: wherever a chunk ends, even
    // inside a surrogate pair, the bytes are those of the whole text encoded at once.
    void codePageEncodingInPieces_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("pair") << QStringLiteral("日本😀語");
        QTest::newRow("two pairs, markup") << QStringLiteral("<a>😀😀</a>\n");
        QTest::newRow("lone high at the end") << QStringLiteral("ab") + QChar(0xD83D);
        QTest::newRow("lone low") << QStringLiteral("a") + QChar(0xDE00) + QStringLiteral("b");
        QTest::newRow("high then high") << QString(QChar(0xD83D)) + QChar(0xD83D) + QChar(0xDE00);
    }
    void codePageEncodingInPieces()
    {
        QFETCH(QString, text);
        const QByteArray whole = EncodeCp932(text);
        const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
        for (qsizetype cut = 0; cut <= text.size(); ++cut) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            CCp932Encoder encoder;
            QVERIFY(encoder.Write(buffer, units, cut));
            QVERIFY(encoder.Write(buffer, units + cut, text.size() - cut));
            QVERIFY(encoder.Finish(buffer));
            QCOMPARE(buffer.data(), whole);
        }
    }

    void textsSurviveBothFileForms()
    {
        const QString text = QStringLiteral("a\r\nb\nc\r");
        QCOMPARE(DecodeUnicodeTextFile(EncodeUnicodeTextFile(text)), text);
        QCOMPARE(EncodeUnicodeTextFile(QStringLiteral("\n")), QByteArray("\xFF\xFE\r\0\n\0", 6));
        const QString japanese = QStringLiteral("日本語ｶﾅ～①");
        QCOMPARE(DecodeCp932(EncodeCp932(japanese)), japanese);
        QCOMPARE(DecodeCp932(QByteArray("ab\0cd", 5)), QStringLiteral("ab"));
        QCOMPARE(DecodeCp932(QByteArray("\x82")), QString(QChar(0xFFFD))); // cut lead byte
    }
};

ORIN_TEST_CLASS(ProjectFilesTest)
#include "tst_project_files.moc"
