// SPDX-License-Identifier: MIT
#include "actions/data_slimming.h"

#include "test_registry.h"

#include <QtTest>

#include <functional>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

void AddImage(CMyDataArray<CMyPictureInfo> &table, int id, const QString &path = QString())
{
    auto image = std::make_unique<CMyPictureInfo>();
    image->id = id;
    image->path = path;
    table.Add(std::move(image));
}

void AddMacro(CContentModel &model, int id, const QString &text)
{
    auto macro = std::make_unique<CMyMacroInfo>();
    macro->id = id;
    macro->macro = text;
    model.macros.Add(std::move(macro));
}

CMyProgramInfo &AddPage(CContentModel &model, int itemCount)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = model.pages.NextId();
    page->itemCount = itemCount;
    return *model.pages.At(model.pages.Add(std::move(page)));
}

QList<int> Ids(const CMyDataArray<CMyPictureInfo> &table)
{
    QList<int> ids;
    for (const auto &record : table)
        ids.append(record->id);
    return ids;
}

using ItemSetter = std::function<void(PageItem &, const QString &)>;

} // namespace

Q_DECLARE_METATYPE(ItemSetter)

class TestDataSlimming : public QObject {
    Q_OBJECT

private slots:
    void referenceKeepsImage_data();
    void referenceKeepsImage();
    void anySeparatorIsRead_data();
    void anySeparatorIsRead();
    void removesUnusedInOrder();
    void recordsOnlyFilesStay();
};

void TestDataSlimming::referenceKeepsImage_data()
{
    QTest::addColumn<ItemSetter>("setter");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("kept"); // the referenced image; the next one (or 254) is not

    // Each of the seven action strings, with both prefix cases; 7 is referenced, 8 is not.
    const QList<std::pair<const char *, QString PageItem::*>> fields{
        {"focus", &PageItem::focus}, {"outfocus", &PageItem::outfocus},
        {"ret", &PageItem::ret},     {"up", &PageItem::up},
        {"down", &PageItem::down},   {"left", &PageItem::left},
        {"right", &PageItem::right}};
    for (const auto &[name, field] : fields) {
        auto member = field;
        const ItemSetter setter = [member](PageItem &item, const QString &text) {
            item.*member = text;
        };
        QTest::addRow("%s p:", name) << setter << u"B:1,p:7:0"_s << 7;
        QTest::addRow("%s P:", name) << setter << u"P:7:0"_s << 7;
    }
    QTest::addRow("after xp:") << ItemSetter([](PageItem &item, const QString &text) {
        item.focus = text;
    }) << u"xp:8:1,p:7:0"_s << 7;
    QTest::addRow("after XP:, QP:") << ItemSetter([](PageItem &item, const QString &text) {
        item.ret = text;
    }) << u"XP:8:1,QP:8:,P:7:0"_s << 7;
    QTest::addRow("pic_no") << ItemSetter([](PageItem &item, const QString &) {
        item.pic_no = 7;
    }) << QString() << 7;
    // The last material id is a reference like any other.
    QTest::addRow("pic_no 255") << ItemSetter([](PageItem &item, const QString &) {
        item.pic_no = 255;
    }) << QString() << 255;
    QTest::addRow("P:255") << ItemSetter([](PageItem &item, const QString &text) {
        item.ret = text;
    }) << u"P:255:0"_s << 255;
}

void TestDataSlimming::referenceKeepsImage()
{
    QFETCH(ItemSetter, setter);
    QFETCH(QString, action);
    QFETCH(int, kept);

    const bool material = kept > 199; // ids above the pictures are materials
    const int other = kept == 255 ? 254 : kept + 1;
    CContentModel model;
    CMyDataArray<CMyPictureInfo> &table = material ? model.materials : model.pictures;
    AddImage(table, kept);
    AddImage(table, other);
    CMyProgramInfo &page = AddPage(model, 1);
    setter(page.items[0], action);

    const QList<RemovedImage> removed = SlimUnusedImages(model);

    QCOMPARE(Ids(table), QList<int>{kept});
    QCOMPARE(removed.size(), 1);
    QCOMPARE(removed.at(0).id, other);
    QCOMPARE(removed.at(0).material, material);
}

void TestDataSlimming::anySeparatorIsRead_data()
{
    QTest::addColumn<bool>("inMacro"); // the string is macro 9's text, else item 1's ret
    QTest::addColumn<QString>("action");
    QTest::addColumn<QList<int>>("kept"); // of pictures 4 and 5

    // The preview takes an entry's second character as its separator, whatever it is.
    for (const bool inMacro : {false, true}) {
        const char *where = inMacro ? "macro" : "item";
        QTest::addRow("%s P:4", where) << inMacro << u"P:4:0"_s << QList<int>{4};
        QTest::addRow("%s P,4", where) << inMacro << u"G:5,P,4:0"_s << QList<int>{4};
        QTest::addRow("%s P*4", where) << inMacro << u"P*4:0"_s << QList<int>{4};
        QTest::addRow("%s p,4 and P*5", where) << inMacro << u"p,4:0,P*5:1"_s << QList<int>{4, 5};
        // A text's or a macro's number is no picture, whatever its separator.
        QTest::addRow("%s T:4", where) << inMacro << u"T:4:0"_s << QList<int>{};
        QTest::addRow("%s T,4", where) << inMacro << u"T,4:0"_s << QList<int>{};
        QTest::addRow("%s T*4", where) << inMacro << u"T*4:0"_s << QList<int>{};
        QTest::addRow("%s A:4", where) << inMacro << u"A:4"_s << QList<int>{};
        QTest::addRow("%s A,4", where) << inMacro << u"A,4"_s << QList<int>{};
        QTest::addRow("%s A*4", where) << inMacro << u"A*4"_s << QList<int>{};
        // An entry too short to name anything keeps nothing, nor does it swallow the next one.
        QTest::addRow("%s P alone", where) << inMacro << u"G:5,P"_s << QList<int>{};
        QTest::addRow("%s P, then P:5", where) << inMacro << u"P,,P:5:0"_s << QList<int>{5};
    }
    // Each section of a macro runs as a string of its own.
    QTest::addRow("macro sections") << true << u"[#1]M:1[#2]P,4:0"_s << QList<int>{4};
}

void TestDataSlimming::anySeparatorIsRead()
{
    QFETCH(bool, inMacro);
    QFETCH(QString, action);
    QFETCH(QList<int>, kept);

    CContentModel model;
    AddImage(model.pictures, 4);
    AddImage(model.pictures, 5);
    auto text = std::make_unique<CMyTextInfo>();
    text->id = 4;
    model.texts.Add(std::move(text));
    AddMacro(model, 4, u"M:1"_s);
    CMyProgramInfo &page = AddPage(model, 1);
    page.items[0].id = 1;
    if (inMacro)
        AddMacro(model, 9, action);
    else
        page.items[0].ret = action;
    const int macros = model.macros.Count();

    SlimUnusedImages(model);

    QCOMPARE(Ids(model.pictures), kept);
    // Slimming removes images only.
    QCOMPARE(model.texts.Count(), 1);
    QCOMPARE(model.macros.Count(), macros);
    QCOMPARE(inMacro ? model.macros.At(macros - 1)->macro : page.items[0].ret, action);
    QVERIFY(SlimUnusedImages(model).isEmpty());
}

void TestDataSlimming::removesUnusedInOrder()
{
    CContentModel model;
    for (int id : {6, 1, 2, 3, 4, 5, 9, 250, 0, 300})
        AddImage(model.pictures, id);
    for (int id : {202, 200, 201, 250, 203, 300})
        AddImage(model.materials, id);

    CMyProgramInfo &page = AddPage(model, 2);
    page.items[0].pic_no = 1;
    page.items[0].focus = u"p:2:,p:0:,p:300:"_s;
    page.items[0].ret = u"P:200:"_s;
    page.items[1].pic_no = 300;
    page.items[1].left = u"xp:4:1,p:5:0"_s; // 4 is a sub-command's number, 5 a real reference
    page.items[2].pic_no = 6;                // beyond itemCount
    CMyProgramInfo &broken = AddPage(model, -5);
    broken.items[0].pic_no = 9;              // no used slots at all

    AddMacro(model, 1, u"A:1,p:3:0"_s);
    AddMacro(model, 2, u"P:201:"_s);
    AddMacro(model, kDeletedId, u"p:203:"_s);

    const QList<RemovedImage> removed = SlimUnusedImages(model);

    QList<std::pair<int, bool>> order;
    for (const RemovedImage &entry : removed)
        order.append({entry.id, entry.material});
    const QList<std::pair<int, bool>> expected{
        {4, false}, {6, false}, {9, false}, {202, true}, {250, false}, {250, true}};
    QCOMPARE(order, expected);
    QCOMPARE(Ids(model.pictures), (QList<int>{1, 2, 3, 5, 0, 300}));
    QCOMPARE(Ids(model.materials), (QList<int>{200, 201, 203, 300}));
    // Nothing but the image tables changes.
    QCOMPARE(page.items[1].left, u"xp:4:1,p:5:0"_s);
    QCOMPARE(model.macros.Count(), 3);
}

void TestDataSlimming::recordsOnlyFilesStay()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"a.jpg"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.close();

    CContentModel model;
    AddImage(model.pictures, 12, path);
    AddImage(model.pictures, 12, path); // duplicate ids from a damaged file go together

    const QList<RemovedImage> removed = SlimUnusedImages(model);

    QCOMPARE(removed.size(), 2);
    QCOMPARE(model.pictures.Count(), 0);
    QVERIFY(QFile::exists(path));
    QVERIFY(SlimUnusedImages(model).isEmpty());
}

ORIN_TEST_CLASS(TestDataSlimming)

#include "tst_data_slimming.moc"
