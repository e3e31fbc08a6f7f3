// SPDX-License-Identifier: MIT
#include "actions/copy_document.h"

#include "model/project_writer.h"

#include "test_registry.h"

#include <QtTest>

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

PageItem &AddItem(CMyProgramInfo &page)
{
    PageItem &item = page.items[static_cast<size_t>(page.itemCount)];
    item.id = ++page.itemCount;
    return item;
}

// Pictures 1..20, materials 200..210, texts 1..20 and macros 1..10, but no text 19; text 20
// is deleted (id -1).
void AddRecords(CContentModel &model)
{
    for (int id = 1; id <= 20; ++id) {
        AddRecord(model.pictures, id).path = QStringLiteral("/p/%1.jpg").arg(id);
        if (id != 19)
            AddRecord(model.texts, id == 20 ? -1 : id).text = QStringLiteral("text %1").arg(id);
        if (id <= 10)
            AddRecord(model.macros, id).macro = QStringLiteral("G:%1").arg(id);
    }
    for (int id = 200; id <= 210; ++id)
        AddRecord(model.materials, id).path = QStringLiteral("/m/%1.png").arg(id);
}

} // namespace

class TestCopyDocument : public QObject {
    Q_OBJECT

private slots:
    void exactLayout()
    {
        CContentModel model;
        CMyPictureInfo &picture = AddRecord(model.pictures, 5);
        picture.path = QStringLiteral("/img/a&b.jpg");
        picture.item = 4;
        picture.type = kImageJpeg;
        CMyTextInfo &text = AddRecord(model.texts, 2);
        text.text = QStringLiteral("x<y \"q\"");
        text.item = 3;
        text.label = QStringLiteral("\"l\"&");
        CMyMacroInfo &macro = AddRecord(model.macros, 9);
        macro.macro = QStringLiteral("G:1,t:2:0");
        macro.label = QStringLiteral("m'");
        AddPage(model, 1).comment = QStringLiteral("not copied");
        CMyProgramInfo &page = AddPage(model, 3);
        page.comment = QStringLiteral("c<\"");
        page.background = QStringLiteral("/work/news./back.jpg");
        page.smacro = 9;
        PageItem &item = AddItem(page);
        item.pic_no = 5;
        item.text_no = 2;
        item.ret = QStringLiteral("t:2:0");

        QString block;
        WritePage(model, 1, block, SaveMode::Plain, QString());
        QVERIFY(block.contains(u"<JPEG>/work/news./back.jpg</JPEG>\n"));
        QVERIFY(!block.contains(u'\r'));

        const QString expected =
            u"<CopyProgram>\r\n"
            u"  <Program>\r\n"_qs
            + block
            + u"  </Program>\r\n"
              u"  <Image>\r\n"
              u"    <ItemImage id=\"5\" item=\"4\" type=\"0\">/img/a&amp;b.jpg</ItemImage>\r\n"
              u"  </Image>\r\n"
              u"  <Text>\r\n"
              u"    <ItemText id=\"2\" item=\"3\" label=\"&quot;l&quot;&amp;\">x&lt;y \"q\"</ItemText>\r\n"
              u"  </Text>\r\n"
              u"  <Macro>\r\n"
              u"    <ItemMacro id=\"9\" item=\"0\" label=\"m&apos;\">G:1,t:2:0</ItemMacro>\r\n"
              u"  </Macro>\r\n"
              u"</CopyProgram>\r\n"_qs;
        QCOMPARE(WriteCopyDocument(model, {1}), expected);
    }

    void emptySectionsArePresent()
    {
        CContentModel model;
        AddPage(model, 1);
        const QString document = WriteCopyDocument(model, {0, 7, -1});
        QVERIFY(document.startsWith(u"<CopyProgram>\r\n  <Program>\r\n    <BMLJPEG id=\"1\""));
        QVERIFY(document.endsWith(u"  </Program>\r\n  <Image>\r\n  </Image>\r\n  <Text>\r\n"
                                  u"  </Text>\r\n  <Macro>\r\n  </Macro>\r\n</CopyProgram>\r\n"));
        QCOMPARE(document.count(u"<BMLJPEG"), 1);
    }

    void collectedIds_data()
    {
        QTest::addColumn<int>("picNo");
        QTest::addColumn<int>("textNo");
        QTest::addColumn<int>("textid");
        QTest::addColumn<int>("smacro");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("ret");
        QTest::addColumn<QList<int>>("images");
        QTest::addColumn<QList<int>>("texts");
        QTest::addColumn<QList<int>>("macros");
        using L = QList<int>;
        QTest::newRow("pic_no, then p: of each string; xp: is no reference")
            << 4 << 0 << 0 << 0 << u"P:9:0"_qs << u"p:12:3,xp:7:1"_qs << L{4, 9, 12} << L{} << L{};
        QTest::newRow("materials and pictures; 0 and unknown ids are left out")
            << 205 << 0 << 0 << 0 << u"p:0:,p:300:,p:211:"_qs << u"P:5:1"_qs << L{205, 5} << L{} << L{};
        QTest::newRow("$slider image lists; their i parameter is no text")
            << 0 << 0 << 0 << 0 << u"$slider:p3/4:i5:w500"_qs << u"p:4:0"_qs << L{3, 4} << L{} << L{};
        QTest::newRow("texts: textid, string by string, then text_no")
            << 0 << 6 << 8 << 0 << u"r:5:,S:7"_qs << u"t:3:,s:4,I:2:"_qs << L{} << L{8, 5, 7, 3, 2, 4, 6} << L{};
        QTest::newRow("textid 0 and missing or deleted texts are left out")
            << 0 << 19 << 0 << 0 << u"t:-1:"_qs << u"t:0:,T:1:"_qs << L{} << L{1} << L{};
        QTest::newRow("macros: smacro, then a: of each string")
            << 0 << 0 << 0 << 2 << u"a:3,qa:5"_qs << u"A:4,a:2,a:11"_qs << L{} << L{} << L{2, 3, 4};
        // The preview takes an entry's second character as its separator, whatever it is.
        QTest::newRow("pictures shown with any separator")
            << 0 << 0 << 0 << 0 << u"G:5,P,9:0"_qs << u"P*12:3"_qs << L{9, 12} << L{} << L{};
        QTest::newRow("texts named with any separator")
            << 0 << 0 << 0 << 0 << u"T,5:0,R*3:"_qs << u"S*7,I,2:"_qs << L{} << L{5, 3, 7, 2} << L{};
        QTest::newRow("macros run with any separator")
            << 0 << 0 << 0 << 0 << u"A*4"_qs << u"a;3"_qs << L{} << L{} << L{4, 3};
        QTest::newRow("entries too short to name anything")
            << 0 << 0 << 0 << 0 << u"G:1,P"_qs << u"P,"_qs << L{} << L{} << L{};
        QTest::newRow("references inside other entries are not collected")
            << 0 << 0 << 0 << 0 << u"$slider:r1:t2"_qs << u"xt:3:1,B:p:5:"_qs << L{} << L{} << L{};
    }

    void collectedIds()
    {
        QFETCH(int, picNo);
        QFETCH(int, textNo);
        QFETCH(int, textid);
        QFETCH(int, smacro);
        QFETCH(QString, focus);
        QFETCH(QString, ret);
        QFETCH(QList<int>, images);
        QFETCH(QList<int>, texts);
        QFETCH(QList<int>, macros);

        CContentModel model;
        AddRecords(model);
        CMyProgramInfo &page = AddPage(model, 1);
        page.textid = textid;
        page.smacro = smacro;
        PageItem &item = AddItem(page);
        item.pic_no = picNo;
        item.text_no = textNo;
        item.focus = focus;
        item.ret = ret;
        const CopyDocumentIds ids = CollectCopyDocumentIds(model, {0});
        QCOMPARE(ids.images, images);
        QCOMPARE(ids.texts, texts);
        QCOMPARE(ids.macros, macros);

        // The document carries one line per collected id.
        const QString document = WriteCopyDocument(model, {0});
        QCOMPARE(document.count(u"<ItemImage "), images.size());
        QCOMPARE(document.count(u"<ItemText id="), texts.size());
        QCOMPARE(document.count(u"<ItemMacro "), macros.size());
    }

    void pagesInTheOrderGivenAndEachRecordOnce()
    {
        CContentModel model;
        AddRecords(model);
        for (int id : {10, 20, 30}) {
            CMyProgramInfo &page = AddPage(model, id);
            page.textid = id / 10;
            AddItem(page).pic_no = 7;
        }
        model.pages.At(1)->items[0].down = QStringLiteral("p:8:0");
        const CopyDocumentIds ids = CollectCopyDocumentIds(model, {2, 0, 1});
        QCOMPARE(ids.images, (QList<int>{7, 8}));
        QCOMPARE(ids.texts, (QList<int>{3, 1, 2}));
        const QString document = WriteCopyDocument(model, {2, 0, 1});
        QVERIFY(document.indexOf(u"<BMLJPEG id=\"30\"") < document.indexOf(u"<BMLJPEG id=\"10\""));
        QVERIFY(document.indexOf(u"<BMLJPEG id=\"10\"") < document.indexOf(u"<BMLJPEG id=\"20\""));
        QCOMPARE(document.count(u"<ItemImage id=\"7\""), 1);
    }
};

ORIN_TEST_CLASS(TestCopyDocument)
#include "tst_copy_document.moc"
