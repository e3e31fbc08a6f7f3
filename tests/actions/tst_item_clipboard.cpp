// SPDX-License-Identifier: MIT
#include "actions/item_clipboard.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

namespace {

CMyProgramInfo &AddPage(CContentModel &model, int id)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    return *model.pages.At(model.pages.Add(std::move(page)));
}

PageItem &AddItem(CMyProgramInfo &page, int id, int picNo, int textNo)
{
    PageItem &item = page.items[static_cast<size_t>(page.itemCount++)];
    item.id = id;
    item.pic_no = picNo;
    item.text_no = textNo;
    item.x = 40;
    item.y = 30;
    item.width = 100;
    item.height = 50;
    item.ret = QStringLiteral("G:2,P:5:0");
    return item;
}

void AddText(CContentModel &model, int id, const QString &text, int item, const QString &label)
{
    auto record = std::make_unique<CMyTextInfo>();
    record->id = id;
    record->text = text;
    record->item = item;
    record->label = label;
    model.texts.Add(std::move(record));
}

void AddImage(CMyDataArray<CMyPictureInfo> &table, int id, const QString &path)
{
    auto record = std::make_unique<CMyPictureInfo>();
    record->id = id;
    record->path = path;
    record->item = 7;
    record->type = id < 200 ? kImageJpeg : kImageColourMapPng;
    record->width = 320;
    record->height = 240;
    record->sizeText = QStringLiteral("320×240");
    record->label = QStringLiteral("label");
    table.Add(std::move(record));
}

// Pictures 4 and 5, material 210, texts 2 and 3; page 1 with items 1 (picture 5, text 3) and
// 9 (material 210, text 3); page 2 empty.
void MakeModel(CContentModel &model)
{
    AddImage(model.pictures, 4, QStringLiteral("/img/four.jpg"));
    AddImage(model.pictures, 5, QStringLiteral("/img/five.jpg"));
    AddImage(model.materials, 210, QStringLiteral("/img/mat.png"));
    AddText(model, 2, QStringLiteral("two"), 1, QStringLiteral("l2"));
    AddText(model, 3, QStringLiteral("three"), 2, QStringLiteral("l3"));
    CMyProgramInfo &first = AddPage(model, 1);
    AddItem(first, 1, 5, 3);
    AddItem(first, 9, 210, 3);
    AddPage(model, 2);
}

} // namespace

class TestItemClipboard : public QObject {
    Q_OBJECT

private slots:
    void pasteModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("sourceSlot");
        QTest::addColumn<bool>("samePage");
        QTest::addColumn<int>("picNo");
        QTest::addColumn<int>("textNo");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("texts");
        QTest::addColumn<QPoint>("position");
        const int full = int(PasteMode::Full);
        const int text = int(PasteMode::Text);
        const int both = int(PasteMode::PictureAndText);
        QTest::newRow("full, same page: clicked point") << full << 0 << true << 5 << 3 << 2 << 2 << QPoint(123, 45);
        QTest::newRow("full, other page: copied point") << full << 0 << false << 5 << 3 << 2 << 2 << QPoint(40, 30);
        QTest::newRow("text copy shares the picture") << text << 0 << true << 5 << 4 << 2 << 3 << QPoint(123, 45);
        QTest::newRow("picture and text copy") << both << 0 << false << 6 << 4 << 3 << 3 << QPoint(40, 30);
        QTest::newRow("material source: new Empty picture") << both << 1 << true << 6 << 4 << 3 << 3 << QPoint(123, 45);
    }

    void pasteModes()
    {
        QFETCH(int, mode);
        QFETCH(int, sourceSlot);
        QFETCH(bool, samePage);
        QFETCH(int, picNo);
        QFETCH(int, textNo);
        QFETCH(int, pictures);
        QFETCH(int, texts);
        QFETCH(QPoint, position);

        CContentModel model;
        MakeModel(model);
        CItemClipboard clipboard;
        QVERIFY(clipboard.CopyItem(model.pages.At(0), sourceSlot));
        CMyProgramInfo *target = model.pages.At(samePage ? 0 : 1);
        const int slot = target->itemCount;
        const PasteOutcome outcome = PasteItem(model, target, clipboard, PasteMode(mode),
                                               QPointF(123.9, 45.2));
        QCOMPARE(outcome.status, PasteStatus::Pasted);
        QCOMPARE(outcome.slot, slot);
        QCOMPARE(target->itemCount, slot + 1);
        const PageItem &item = target->items[static_cast<size_t>(slot)];
        QCOMPARE(item.id, samePage ? 10 : 1);
        QCOMPARE(item.pic_no, picNo);
        QCOMPARE(item.text_no, textNo);
        QCOMPARE(QPoint(int(item.x), int(item.y)), position);
        QCOMPARE(QSizeF(item.width, item.height), QSizeF(100, 50));
        QCOMPARE(item.ret, QStringLiteral("G:2,P:5:0"));
        QCOMPARE(model.pictures.Count(), pictures);
        QCOMPARE(model.texts.Count(), texts);

        if (textNo == 4) { // the new text holds the source's text and item, not its label
            const CMyTextInfo *copy = model.texts.FindById(4);
            QCOMPARE(copy->text, QStringLiteral("three"));
            QCOMPARE(copy->item, 2);
            QVERIFY(copy->label.isEmpty());
        }
        if (picNo == 6) {
            const CMyPictureInfo *copy = model.pictures.FindById(6);
            if (sourceSlot == 0) {
                QCOMPARE(copy->path, QStringLiteral("/img/five.jpg"));
                QCOMPARE(copy->item, 7);
                QCOMPARE(copy->sizeText, QStringLiteral("320×240"));
                QVERIFY(copy->label.isEmpty());
            } else {
                QCOMPARE(copy->type, int(kImageEmpty));
                QVERIFY(copy->path.isEmpty());
                QCOMPARE(copy->sizeText, QStringLiteral(" --- "));
            }
        }
    }

    void pasteWithFullTextTableGivesNoText()
    {
        CContentModel model;
        MakeModel(model);
        for (int id = 10; model.texts.Count() < 254; ++id)
            AddText(model, id, QString(), 0, QString());
        CItemClipboard clipboard;
        QVERIFY(clipboard.CopyItem(model.pages.At(0), 0));
        const PasteOutcome outcome =
            PasteItem(model, model.pages.At(0), clipboard, PasteMode::Text, QPointF());
        QCOMPARE(outcome.status, PasteStatus::Pasted);
        QCOMPARE(model.pages.At(0)->items[2].text_no, 0);
        QCOMPARE(model.texts.Count(), 254);
    }

    void fullPageIsRefusedBeforeAnyRecord()
    {
        CContentModel model;
        MakeModel(model);
        CMyProgramInfo *page = model.pages.At(1);
        for (int i = 0; i < kItemSlots; ++i)
            AddItem(*page, i + 1, 0, 0);
        CItemClipboard clipboard;
        QVERIFY(clipboard.CopyItem(model.pages.At(0), 0));
        const PasteOutcome outcome =
            PasteItem(model, page, clipboard, PasteMode::PictureAndText, QPointF());
        QCOMPARE(outcome.status, PasteStatus::PageFull);
        QCOMPARE(page->itemCount, kItemSlots);
        QCOMPARE(model.pictures.Count(), 2);
        QCOMPARE(model.texts.Count(), 2);
    }

    void nothingToPaste()
    {
        CContentModel model;
        MakeModel(model);
        CItemClipboard clipboard;
        // A copy of a slot that is not used leaves the clipboard empty.
        QVERIFY(!clipboard.CopyItem(model.pages.At(0), 2));
        QVERIFY(!clipboard.CopyItem(model.pages.At(0), -1));
        QVERIFY(!clipboard.CopyItem(nullptr, 0));
        QCOMPARE(PasteItem(model, model.pages.At(0), clipboard, PasteMode::Full, QPointF()).status,
                 PasteStatus::Nothing);
        QVERIFY(clipboard.CopyItem(model.pages.At(0), 0));
        QCOMPARE(PasteItem(model, nullptr, clipboard, PasteMode::Full, QPointF()).status,
                 PasteStatus::Nothing);
        QCOMPARE(model.pages.At(0)->itemCount, 2);
    }

    void clipboardOutlivesTheContentSet()
    {
        CItemClipboard clipboard;
        {
            CContentModel source;
            MakeModel(source);
            QVERIFY(clipboard.CopyItem(source.pages.At(0), 1));
            source.pages.At(0)->items[1].ret = QStringLiteral("changed");
            source.ClearModel();
        }
        CContentModel target;
        CMyProgramInfo &page = AddPage(target, 1);
        const PasteOutcome outcome =
            PasteItem(target, &page, clipboard, PasteMode::Full, QPointF(1, 1));
        QCOMPARE(outcome.status, PasteStatus::Pasted);
        QCOMPARE(page.items[0].id, 1);
        QCOMPARE(page.items[0].pic_no, 210);
        QCOMPARE(page.items[0].ret, QStringLiteral("G:2,P:5:0"));
        QCOMPARE(page.items[0].x, 40.0f); // another page: the copied position
    }

    void sourcePageFollowsTheRecordNotTheRow()
    {
        CContentModel model;
        MakeModel(model);
        CItemClipboard clipboard;
        CMyProgramInfo *source = model.pages.At(0);
        QVERIFY(clipboard.CopyItem(source, 0));
        // The source page moves to the end of the table; the page now first is another one.
        model.pages.Add(model.pages.Take(0));
        PasteItem(model, model.pages.At(0), clipboard, PasteMode::Full, QPointF(7, 8));
        QCOMPARE(model.pages.At(0)->items[0].x, 40.0f);
        PasteItem(model, source, clipboard, PasteMode::Full, QPointF(7, 8));
        QCOMPARE(source->items[2].x, 7.0f);
    }

    void newPictureRecordLimits_data()
    {
        QTest::addColumn<QList<int>>("ids");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty table") << QList<int>{} << 1;
        QTest::newRow("after the largest") << QList<int>{1, 7, 3} << 8;
        QTest::newRow("199 is the last id") << QList<int>{1, 2, 199} << 0;
        QList<int> full;
        for (int id = 1; id <= 199; ++id)
            full << id;
        QTest::newRow("199 records") << full << 0;
    }

    void newPictureRecordLimits()
    {
        QFETCH(QList<int>, ids);
        QFETCH(int, expected);
        CContentModel model;
        for (int id : ids)
            AddImage(model.pictures, id, QString());
        QCOMPARE(NewPictureRecord(model), expected);
        QCOMPARE(model.pictures.Count(), ids.size() + (expected ? 1 : 0));
        if (expected) {
            const CMyPictureInfo *record = model.pictures.FindById(expected);
            QCOMPARE(record->type, int(kImageEmpty));
            QCOMPARE(record->sizeText, QStringLiteral(" --- "));
        }
    }

    void newTextRecord()
    {
        CContentModel model;
        QCOMPARE(NewTextRecord(model), 1);
        AddText(model, 40, QStringLiteral("x"), 0, QString());
        QCOMPARE(NewTextRecord(model), 41);
        QVERIFY(model.texts.FindById(41)->text.isEmpty());
    }
};

ORIN_TEST_CLASS(TestItemClipboard)
#include "tst_item_clipboard.moc"
