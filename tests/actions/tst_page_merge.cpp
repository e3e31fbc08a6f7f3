// SPDX-License-Identifier: MIT
#include "actions/copy_document.h"
#include "actions/page_merge.h"

#include "model/project_writer.h"

#include "test_registry.h"

#include <QtTest>

#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace orin;

namespace {

template <typename T>
T &AddRecord(CMyDataArray<T> &table, int id)
{
    auto record = std::make_unique<T>();
    record->id = id;
    return *table.At(table.Add(std::move(record)));
}

CMyProgramInfo &AddPage(CContentModel &model, int id)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    return *model.pages.At(model.pages.Add(std::move(page)));
}

// A copy document with the given record lines and page blocks.
QString Document(const QString &pages, const QString &images, const QString &texts = QString(),
                 const QString &macros = QString())
{
    return u"<CopyProgram>\r\n  <Program>\r\n"_qs + pages + u"  </Program>\r\n  <Image>\r\n"_qs
           + images + u"  </Image>\r\n  <Text>\r\n"_qs + texts + u"  </Text>\r\n  <Macro>\r\n"_qs
           + macros + u"  </Macro>\r\n</CopyProgram>\r\n"_qs;
}

// A page block with one item.
QString Page(int id, const QString &itemAttributes, const QString &pageAttributes = QString())
{
    return QStringLiteral("<BMLJPEG id=\"%1\" %3><JPEG>/bg.jpg</JPEG><Items Num=\"1\">"
                          "<Item id=\"1\" %2><ItemText>t</ItemText></Item></Items></BMLJPEG>\n")
        .arg(id)
        .arg(itemAttributes, pageAttributes);
}

QString Image(int id, const QString &path, int type = 0)
{
    return QStringLiteral("<ItemImage id=\"%1\" item=\"0\" type=\"%2\">%3</ItemImage>\n")
        .arg(id)
        .arg(type)
        .arg(path);
}

// Counts of every table, to see that a refused merge changed nothing.
QList<int> Counts(const CContentModel &model)
{
    return {model.pages.Count(), model.pictures.Count(), model.materials.Count(),
            model.texts.Count(), model.macros.Count()};
}

} // namespace

class TestPageMerge : public QObject {
    Q_OBJECT

private slots:
    void mergeIntoAnEmptySet()
    {
        CContentModel model;
        const QString text = Document(Page(7, u"ret=\"8\""_qs, u"timer=\"9\" back=\"3\""_qs)
                                          + Page(8, u"ret=\"7\""_qs),
                                      QString());
        const MergeResult result = MergeCopyDocument(model, text, {5, QString()});
        QCOMPARE(result.status, MergeStatus::Merged);
        QCOMPARE(model.pages.Count(), 2);
        const CMyProgramInfo &first = *model.pages.At(0);
        QCOMPARE(first.id, 1);
        QCOMPARE(QList<int>({first.up, first.left, first.down, first.right}),
                 QList<int>({0, 0, 2, 2}));
        QCOMPARE(first.timer, 5);
        QCOMPARE(first.back, 3); // page-level values keep the source's
        QCOMPARE(first.items[0].ret, QStringLiteral("2"));
        QCOMPARE(model.pages.At(1)->id, 2);
        QCOMPARE(model.pages.At(1)->items[0].ret, QStringLiteral("1"));
        QCOMPARE(result.pages.oldIds, (QList<int>{7, 8}));
        QCOMPARE(result.pages.newIds, (QList<int>{1, 2}));
    }

    void referencesAreRewritten_data()
    {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        // Maps: page 5 -> 12, image 3 -> 7, text 4 -> 31, macro 6 -> 41.
        QTest::newRow("plain ret") << u"ret"_qs << u"5"_qs << u"12"_qs;
        QTest::newRow("plain number elsewhere stays") << u"down"_qs << u"5"_qs << u"5"_qs;
        QTest::newRow("page and image") << u"ret"_qs << u"G:5,P:3:0"_qs << u"G:12,P:7:0"_qs;
        QTest::newRow("unknown ids stay") << u"up"_qs << u"g:6,p:9:1,t:8:"_qs << u"g:6,p:9:1,t:8:"_qs;
        QTest::newRow("texts, both forms and cases") << u"focus"_qs << u"T:4:1,r:4:,I:4:,s:4,S:4"_qs
                                                      << u"T:31:1,r:31:,I:31:,s:31,S:31"_qs;
        QTest::newRow("macros") << u"left"_qs << u"A:6,qa:6,QA:6"_qs << u"A:41,qa:41,QA:41"_qs;
        QTest::newRow("item strings keep xk/ql/qo/qs/qk")
            << u"right"_qs << u"xk:4:,ql:4:1:,qo:4:,qs:6:,qk:6:"_qs << u"xk:4:,ql:4:1:,qo:4:,qs:6:,qk:6:"_qs;
        QTest::newRow("$slider survives, its images follow")
            << u"outfocus"_qs << u"$slider:p3/4/x:i5:w500,r:4:"_qs << u"$slider:p7/4/x:i5:w500,r:31:"_qs;
        QTest::newRow("section markers") << u"ret"_qs << u"[#1]P:3:4,[#2]G:5"_qs << u"[#1]P:7:4,[#2]G:12"_qs;
        // The preview takes an entry's second character as its separator, whatever it is.
        QTest::newRow("any separator") << u"focus"_qs << u"P,3:0,T*4:1,r;4:,S*4,A*6"_qs
                                       << u"P,7:0,T*31:1,r;31:,S*31,A*41"_qs;
        QTest::newRow("any separator, unknown ids and no number stay")
            << u"up"_qs << u"P*9:0,P,,T*x4:0"_qs << u"P*9:0,P,,T*x4:0"_qs;
        // The preview reads "r:4x4:" as text 4: the merged page must name the merged text.
        QTest::newRow("text after the number") << u"focus"_qs << u"r:4x4:,G:5x"_qs << u"r:31x4:,G:12x"_qs;
    }

    void referencesAreRewritten()
    {
        QFETCH(QString, attribute);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        CContentModel model;
        for (int id = 1; id <= 11; ++id)
            AddPage(model, id);
        for (int id = 1; id <= 6; ++id)
            AddRecord(model.pictures, id).path = QStringLiteral("/t/%1.jpg").arg(id);
        AddRecord(model.texts, 30);
        AddRecord(model.macros, 40);
        const QString text =
            Document(Page(5, attribute + u"=\""_qs + value + u"\" pic_no=\"3\" text_no=\"4\""_qs,
                          u"textid=\"4\" smacro=\"6\""_qs),
                     Image(3, u"/new/3.jpg"_qs),
                     u"<ItemText id=\"4\" item=\"5\" label=\"L\">hello</ItemText>\n"_qs,
                     u"<ItemMacro id=\"6\" item=\"0\" label=\"M\">G:5</ItemMacro>\n"_qs);
        const MergeResult result = MergeCopyDocument(model, text, {});
        QCOMPARE(result.status, MergeStatus::Merged);
        const CMyProgramInfo &page = *model.pages.At(11);
        QCOMPARE(page.id, 12);
        QCOMPARE(page.textid, 31);
        QCOMPARE(page.smacro, 41);
        const PageItem &item = page.items[0];
        QCOMPARE(item.pic_no, 7);
        QCOMPARE(item.text_no, 31);
        const QHash<QString, QString> strings{
            {u"focus"_qs, item.focus}, {u"outfocus"_qs, item.outfocus}, {u"ret"_qs, item.ret},
            {u"up"_qs, item.up}, {u"down"_qs, item.down}, {u"left"_qs, item.left},
            {u"right"_qs, item.right}};
        QCOMPARE(strings.value(attribute), expected);
        const CMyTextInfo *newText = model.texts.FindById(31);
        QCOMPARE(newText->text, QStringLiteral("hello"));
        QCOMPARE(newText->label, QStringLiteral("L"));
        QCOMPARE(newText->item, 5);
        QCOMPARE(model.macros.FindById(41)->macro, QStringLiteral("G:12"));
    }

    void macrosAreRewritten()
    {
        CContentModel model;
        AddRecord(model.macros, 8);
        AddRecord(model.texts, 2);
        AddRecord(model.pictures, 1);
        AddPage(model, 3);
        const QString macros =
            u"<ItemMacro id=\"4\" item=\"1\" label=\"a\">qs:4:,QK:5:,A:5,qa:4,xk:2:,QL:2:1:,qo:2:</ItemMacro>\n"
            u"<ItemMacro id=\"5\" item=\"0\" label=\"b\">P:6:0,p:6:1,t:2:,S:2,g:20,G:21,$slider:p6/6</ItemMacro>\n"_qs;
        const QString texts = u"<ItemText id=\"2\" item=\"0\" label=\"\">x</ItemText>\n"_qs;
        const MergeResult result = MergeCopyDocument(
            model, Document(Page(20, QString()), Image(6, u"/n/6.jpg"_qs), texts, macros), {});
        QCOMPARE(result.status, MergeStatus::Merged);
        QCOMPARE(result.macros.newIds, (QList<int>{9, 10}));
        QCOMPARE(model.macros.FindById(9)->macro,
                 QStringLiteral("qs:9:,QK:10:,A:10,qa:9,xk:3:,QL:3:1:,qo:3:"));
        QCOMPARE(model.macros.FindById(9)->item, 1);
        QCOMPARE(model.macros.FindById(10)->macro,
                 QStringLiteral("P:2:0,p:2:1,t:3:,S:3,g:4,G:21,$slider:p2/2"));
    }

    void imagesAreReusedOrAdded()
    {
        CContentModel model;
        AddRecord(model.pictures, 1).path = QStringLiteral("/shared/a.jpg");
        AddRecord(model.materials, 230).path = QStringLiteral("/shared/m.png");
        const QString images = Image(10, u"/shared/a.jpg"_qs)          // reused: 1
                               + Image(11, u"/shared/a.jpg"_qs, 2)     // Empty: always added
                               + Image(250, u"/shared/m.png"_qs, 1)    // reused material
                               + Image(251, u"/new/b.png"_qs, 3)       // new material: 231
                               + Image(12, u"/new/c.jpg"_qs)           // new picture: 3
                               + Image(13, u"/new/c.jpg"_qs)           // same path again: 3
                               + Image(14, u"/Shared/A.jpg"_qs)        // case differs: 4
                               + Image(199, u"/new/d.jpg"_qs)          // last picture id: 5
                               + Image(200, u"/new/e.png"_qs, 1);      // first material id: 232
        const MergeResult result = MergeCopyDocument(model, Document(QString(), images), {});
        QCOMPARE(result.status, MergeStatus::Merged);
        QCOMPARE(result.images.oldIds, (QList<int>{10, 11, 250, 251, 12, 13, 14, 199, 200}));
        QCOMPARE(result.images.newIds, (QList<int>{1, 2, 230, 231, 3, 3, 4, 5, 232}));
        QCOMPARE(model.pictures.Count(), 5);
        QCOMPARE(model.materials.Count(), 3);
        QCOMPARE(model.pictures.FindById(5)->path, QStringLiteral("/new/d.jpg"));
        QCOMPARE(model.materials.FindById(232)->path, QStringLiteral("/new/e.png"));
        QCOMPARE(model.pictures.FindById(2)->sizeText, QStringLiteral(" --- "));
        QCOMPARE(model.materials.FindById(231)->type, int(kImageGeneralPng));
        QCOMPARE(model.pages.Count(), 0);
    }

    void firstMaterialGets200()
    {
        CContentModel model;
        MergeCopyDocument(model, Document(QString(), Image(250, u"/n/x.png"_qs, 1)), {});
        QCOMPARE(model.materials.Count(), 1);
        QCOMPARE(model.materials.At(0)->id, 200);
        QCOMPARE(model.materials.At(0)->sizeText, QStringLiteral("0×0")); // no such file
    }

    void imagesAreMeasured()
    {
        QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("m.png"));
        QImage(30, 20, QImage::Format_ARGB32).save(png);
        CContentModel model;
        MergeCopyDocument(model, Document(QString(), Image(201, png, 3)), {});
        QCOMPARE(model.materials.At(0)->width, 30);
        QCOMPARE(model.materials.At(0)->sizeText, QStringLiteral("30×20"));
    }

    void aPipeIsNotOpened()
    {
        QTemporaryDir dir;
        const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe.png")));
        QCOMPARE(mkfifo(fifo.constData(), 0600), 0);
        CContentModel model;
        const QString text = Document(QString(), Image(1, QString::fromUtf8(fifo), 1));
        auto merge = std::async(std::launch::async,
                                [&] { return MergeCopyDocument(model, text, {}).status; });
        if (merge.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // Let the blocked reader go before failing.
            const int fd = ::open(fifo.constData(), O_WRONLY);
            ::close(fd);
            merge.wait();
            QFAIL("measuring blocked on a pipe");
        }
        QCOMPARE(merge.get(), MergeStatus::Merged);
        QCOMPARE(model.pictures.At(0)->sizeText, QStringLiteral("0×0"));
    }

    void fullImageTablesRefuseTheWholeMerge_data()
    {
        QTest::addColumn<int>("largestPicture");
        QTest::addColumn<int>("largestMaterial");
        QTest::addColumn<int>("status");
        QTest::newRow("pictures up to 199 fit") << 197 << 254 << int(MergeStatus::Merged);
        QTest::newRow("picture 200 refused") << 198 << 200 << int(MergeStatus::PicturesFull);
        QTest::newRow("material 256 refused") << 10 << 255 << int(MergeStatus::MaterialsFull);
    }

    void fullImageTablesRefuseTheWholeMerge()
    {
        QFETCH(int, largestPicture);
        QFETCH(int, largestMaterial);
        QFETCH(int, status);
        CContentModel model;
        AddRecord(model.pictures, largestPicture);
        AddRecord(model.materials, largestMaterial);
        AddRecord(model.texts, 1);
        AddPage(model, 1);
        const QList<int> before = Counts(model);
        const QString text = Document(
            Page(3, u"pic_no=\"1\""_qs),
            Image(1, u"/a.jpg"_qs) + Image(230, u"/m.png"_qs, 1) + Image(2, u"/b.jpg"_qs),
            u"<ItemText id=\"1\" item=\"0\" label=\"\">x</ItemText>\n"_qs,
            u"<ItemMacro id=\"1\" item=\"0\" label=\"\">x</ItemMacro>\n"_qs);
        const MergeResult result = MergeCopyDocument(model, text, {});
        QCOMPARE(int(result.status), status);
        if (result.status == MergeStatus::Merged) {
            QCOMPARE(model.pictures.At(2)->id, 199);
            return;
        }
        QCOMPARE(Counts(model), before);
        QVERIFY(result.Message().contains(result.status == MergeStatus::PicturesFull ? u"画像"
                                                                                      : u"素材"));
    }

    void reservedPageIdsAreSkipped()
    {
        CContentModel model;
        AddPage(model, 253);
        const MergeResult result = MergeCopyDocument(
            model, Document(Page(1, u"ret=\"G:2\""_qs) + Page(2, QString()), QString()), {});
        QCOMPARE(result.pages.newIds, (QList<int>{256, 257}));
        const CMyProgramInfo &first = *model.pages.At(1);
        QCOMPARE(QList<int>({first.up, first.down}), QList<int>({253, 257}));
        QCOMPARE(first.items[0].ret, QStringLiteral("G:257"));

        CContentModel other;
        AddPage(other, 999);
        QCOMPARE(NextFreePageId(other), 1001);
        MergeCopyDocument(other, Document(Page(1, QString()), QString()), {});
        QCOMPARE(other.pages.At(1)->id, 1001);
        QCOMPARE(other.pages.At(1)->up, 999);
        AddPage(other, 1999);
        QCOMPARE(NextFreePageId(other), 2001);
        AddPage(other, INT_MAX);
        QCOMPARE(NextFreePageId(other), 0);
        const QList<int> before = Counts(other);
        QCOMPARE(MergeCopyDocument(other, Document(Page(1, QString()), QString()), {}).status,
                 MergeStatus::IdsExhausted);
        QCOMPARE(Counts(other), before);
    }

    void missingPartsAndBadText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("counts"); // pages, pictures, materials, texts, macros
        QTest::newRow("no markup") << u"just text"_qs << int(MergeStatus::NoDocument) << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("empty") << QString() << int(MergeStatus::NoDocument) << QList<int>{0, 0, 0, 0, 0};
        QTest::newRow("without Text")
            << u"<C><Program>"_qs + Page(1, QString()) + u"</Program><Image>"_qs + Image(1, u"/a.jpg"_qs)
                   + u"</Image><Macro><ItemMacro id=\"1\">x</ItemMacro></Macro></C>"_qs
            << int(MergeStatus::Merged) << QList<int>{1, 1, 0, 0, 1};
        QTest::newRow("first child not Program: records only")
            << u"<C><Image>"_qs + Image(1, u"/a.jpg"_qs) + u"</Image><Program>"_qs + Page(1, QString())
                   + u"</Program></C>"_qs
            << int(MergeStatus::Merged) << QList<int>{0, 1, 0, 0, 0};

        // A document that ends early, or whose markup inside the root does not parse, is
        // refused whole: the engine would find only part of it.
        const QString whole = Document(Page(1, QString()) + Page(2, QString()), Image(1, u"/a.jpg"_qs),
                                       u"<ItemText id=\"1\" item=\"0\" label=\"\">x</ItemText>\n"_qs);
        const QList<int> nothing{0, 0, 0, 0, 0};
        const int damaged = int(MergeStatus::Damaged);
        QTest::newRow("cut after the first page") << whole.left(whole.indexOf(u"<BMLJPEG id=\"2\""_qs)) << damaged << nothing;
        QTest::newRow("cut in the records") << whole.left(whole.indexOf(u"</Text>"_qs)) << damaged << nothing;
        QTest::newRow("cut before the root's end tag") << whole.left(whole.lastIndexOf(u"</CopyProgram>"_qs)) << damaged << nothing;
        QTest::newRow("stray < before a page") << QString(whole).insert(whole.indexOf(u"<BMLJPEG id=\"2\""_qs), u'<') << damaged << nothing;
        QTest::newRow("end tag without its start") << QString(whole).insert(whole.indexOf(u"<Image>"_qs), u"</Item>"_qs) << damaged << nothing;
        QTest::newRow("whole document") << whole << int(MergeStatus::Merged) << QList<int>{2, 1, 0, 1, 0};
        QTest::newRow("markup after the root's end does not count") << whole + u"<"_qs << int(MergeStatus::Merged) << QList<int>{2, 1, 0, 1, 0};
        QString items;
        for (int i = 1; i <= kItemSlots + 1; ++i)
            items += QStringLiteral("<Item id=\"%1\"/>").arg(i);
        QTest::newRow("a page with more items than a page holds")
            << Document(u"<BMLJPEG id=\"1\"><JPEG></JPEG><Items Num=\"1\">"_qs + items + u"</Items></BMLJPEG>"_qs, QString())
            << damaged << nothing;
    }

    void missingPartsAndBadText()
    {
        QFETCH(QString, text);
        QFETCH(int, status);
        QFETCH(QList<int>, counts);
        CContentModel model;
        const MergeResult result = MergeCopyDocument(model, text, {});
        QCOMPARE(int(result.status), status);
        QCOMPARE(Counts(model), counts);
        if (result.status == MergeStatus::Damaged)
            QCOMPARE(result.Message(), QStringLiteral("コピーデータが壊れているため、ページを追加できません"));
    }

    void copyDocumentRoundTrip_data()
    {
        QTest::addColumn<QString>("picturePath");
        QTest::addColumn<QString>("materialPath");
        QTest::newRow("plain paths") << u"/img/1.jpg"_qs << u"/img/200.png"_qs;
        // Any path comes back exactly, whatever its spaces; markup characters too.
        QTest::newRow("a long run of spaces")
            << u"/img/1.jpg"_qs << u"/x"_qs + QString(106, u' ') + u"/m200.png"_qs;
        QTest::newRow("spaces at the ends, tabs and line ends")
            << u"  /a b/\t1.jpg "_qs << u"\r\n/x\n\t/m 200.png\r\n "_qs;
        QTest::newRow("markup characters") << u"/a&amp;/<b>.jpg"_qs << u"/x/]]>'\"/m.png"_qs;
        // U+0000 cannot stand in markup: it travels as "?", as a saved project file writes it.
        QTest::newRow("U+0000 written as ?")
            << u"/img/1.jpg"_qs << u"/x/b"_qs + QString(3, QChar(u'\0')) + u"n.png"_qs;
    }

    void copyDocumentRoundTrip()
    {
        QFETCH(QString, picturePath);
        QFETCH(QString, materialPath);
        CContentModel source;
        // Ids that the empty target gives again, so that the pages compare as written.
        AddRecord(source.pictures, 1).path = picturePath;
        AddRecord(source.materials, 200).path = materialPath;
        CMyTextInfo &text = AddRecord(source.texts, 1);
        text.text = QStringLiteral("line <1>\nline \"2\"");
        text.label = QStringLiteral("l&1");
        AddRecord(source.macros, 1).macro = QStringLiteral("G:2,P:1:0");
        for (int id = 1; id <= 2; ++id) {
            CMyProgramInfo &page = AddPage(source, id);
            page.comment = QStringLiteral("page <%1>").arg(id);
            page.background = QStringLiteral("/img/bg%1.jpg").arg(id);
            page.textid = 1;
            page.smacro = id == 1 ? 1 : 0;
            page.up = page.left = id - 1;
            page.down = page.right = id + 1;
            PageItem &item = page.items[0];
            page.itemCount = 1;
            item.id = 1;
            item.pic_no = id == 1 ? 1 : 200;
            item.text_no = 1;
            item.ret = QStringLiteral("G:%1,$slider:p1/200:i1:w500").arg(3 - id);
            item.focus = QStringLiteral("a:1");
            item.outfocus = QStringLiteral("0");
            item.text = QStringLiteral("caption & more");
        }
        CContentModel target;
        const MergeResult result =
            MergeCopyDocument(target, WriteCopyDocument(source, {0, 1}), {});
        QCOMPARE(result.status, MergeStatus::Merged);
        QString expected;
        QString merged;
        for (int i = 0; i < 2; ++i) {
            WritePage(source, i, expected, SaveMode::Plain, QString());
            WritePage(target, i, merged, SaveMode::Plain, QString());
        }
        QCOMPARE(merged, expected);
        QCOMPARE(target.texts.At(0)->text, source.texts.At(0)->text);
        QCOMPARE(target.texts.At(0)->label, source.texts.At(0)->label);
        QCOMPARE(target.macros.At(0)->macro, source.macros.At(0)->macro);
        QCOMPARE(target.pictures.At(0)->path, source.pictures.At(0)->path);
        QCOMPARE(target.materials.At(0)->path, QString(materialPath).replace(QChar(u'\0'), u'?'));
    }
};

ORIN_TEST_CLASS(TestPageMerge)
#include "tst_page_merge.moc"
