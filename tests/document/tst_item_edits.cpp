// SPDX-License-Identifier: MIT
// The design surface's item edits: each is one undo step that gives back exactly the model that
// was, and a full page, an unused slot or a missing page changes nothing.

#include "document_fixture.h"
#include "image_fixtures.h"
#include "test_registry.h"

#include "actions/item_clipboard.h"
#include "document/item_edits.h"

#include <QtTest>

#include <functional>

using namespace orin;
using namespace orin::test;

namespace {

struct ItemFixture : DocumentParts {
    CItemEdits items{document, model, prompt, imageEdits};
    int saves = 0;

    // One page with items 1, 2 and 7 (the middle one showing picture 1, a 400 x 300 JPEG),
    // one text and one picture.
    void Open()
    {
        QVERIFY(WriteJpeg(Path(QStringLiteral("pic.jpg")), 400, 300));
        CContentModel source;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        const int ids[] = {1, 2, 7};
        for (int i = 0; i < 3; ++i) {
            PageItem &item = page->items[size_t(i)];
            item = NewItemSlot(ids[i], QRectF(10 + 100 * i, 20, 80, 40));
        }
        page->items[1].pic_no = 1;
        page->itemCount = 3;
        source.pages.Add(std::move(page));
        auto text = std::make_unique<CMyTextInfo>();
        text->id = 1;
        text->text = QStringLiteral("text");
        source.texts.Add(std::move(text));
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 1;
        picture->path = Path(QStringLiteral("pic.jpg"));
        picture->width = 400;
        picture->height = 300;
        source.pictures.Add(std::move(picture));
        const QString path = Path(QStringLiteral("design.bjpx"));
        QVERIFY(SaveProject(source, path, SaveMode::Plain, ContentFolderOf(path),
                            ProgramSettings()).ok);
        QVERIFY(document.OpenProjectFile(path));
    }

    QByteArray Saved()
    {
        const QString path = Path(QStringLiteral("save%1.bjpx").arg(++saves));
        if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path),
                         document.Settings()).ok)
            return {};
        return ReadBytes(path);
    }

    const PageItem &Item(int slot) const { return model.pages.At(0)->items[size_t(slot)]; }
    int Count() const { return model.pages.At(0)->itemCount; }

    void FillPage()
    {
        CMyProgramInfo &page = *model.pages.At(0);
        for (int i = page.itemCount; i < kItemSlots; ++i)
            page.items[size_t(i)] = NewItemSlot(i + 10, QRectF(0, 0, 10, 10));
        page.itemCount = kItemSlots;
    }
};

using ItemEdit = std::function<bool(ItemFixture &)>;

} // namespace

Q_DECLARE_METATYPE(ItemEdit)

class ItemEditsTest : public QObject {
    Q_OBJECT

private slots:
    void eachEditIsOneExactStep_data()
    {
        QTest::addColumn<ItemEdit>("edit");
        QTest::addColumn<QString>("text");
        QTest::newRow("add") << ItemEdit([](ItemFixture &f) {
            return f.items.AddItem(0, QRectF(5, 6, 70, 80)) == 8 && f.Count() == 4
                   && f.Item(3).width == 70 && f.Item(3).size == 24 && f.Item(3).bcolor == 8
                   && f.Item(3).ret == QStringLiteral("0");
        }) << QStringLiteral("アイテム追加");
        QTest::newRow("create item") << ItemEdit([](ItemFixture &f) {
            return f.items.CreateItem(0, QPointF(300.5, 100), true) == 3 && f.Item(3).id == 8
                   && f.Item(3).x == 300.5f && f.Item(3).width == 200 && f.Item(3).text_no == 2
                   && f.Item(3).pic_no == 2 && f.model.pictures.At(1)->type == kImageEmpty;
        }) << QStringLiteral("アイテム作成");
        QTest::newRow("text frame") << ItemEdit([](ItemFixture &f) {
            return f.items.CreateItem(0, QPointF(1, 2), false) == 3 && f.Item(3).text_no == 0
                   && f.model.texts.Count() == 1;
        }) << QStringLiteral("アイテム追加");
        QTest::newRow("delete middle") << ItemEdit([](ItemFixture &f) {
            return f.items.DeleteItem(0, 1) && f.Count() == 2 && f.Item(0).id == 1
                   && f.Item(1).id == 7 && f.model.pictures.Count() == 1;
        }) << QStringLiteral("アイテム削除");
        QTest::newRow("move keeps the size") << ItemEdit([](ItemFixture &f) {
            return f.items.ItemFromShape(0, 0, QRectF(50.25, 60.5, 999, 999), false)
                   && f.Item(0).x == 50.25f && f.Item(0).y == 60.5f && f.Item(0).width == 80;
        }) << QStringLiteral("アイテム移動");
        QTest::newRow("resize rounds the size") << ItemEdit([](ItemFixture &f) {
            return f.items.ItemFromShape(0, 2, QRectF(1.5, 2, 199.6, 99.4), true)
                   && f.Item(2).x == 1.5f && f.Item(2).width == 200 && f.Item(2).height == 99;
        }) << QStringLiteral("アイテムサイズ変更");
        QTest::newRow("size from image") << ItemEdit([](ItemFixture &f) {
            return f.items.SizeFromImage(0, 1) && f.Item(1).width == 200
                   && f.Item(1).height == 150 && f.Item(1).x == 110.0f;
        }) << QStringLiteral("画像からサイズ取得");
        QTest::newRow("dropped jpeg") << ItemEdit([](ItemFixture &f) {
            const QString file = f.Path(QStringLiteral("drop.JPG"));
            return WriteJpeg(file, 300, 120) && f.items.DropImage(0, QPointF(40, 50), file) == 3
                   && f.Item(3).pic_no == 2 && f.Item(3).width == 150 && f.Item(3).height == 60
                   && f.Item(3).text_no == 2 && f.model.pictures.Count() == 2;
        }) << QStringLiteral("画像からアイテム作成");
        // The selection's edits: one step for all the slots, each slot once, unused ones left.
        QTest::newRow("group move") << ItemEdit([](ItemFixture &f) {
            return f.items.MoveItems(0, {2, 0, 2, 9}, QPointF(5.5, -20)) && f.Item(0).x == 15.5f
                   && f.Item(0).y == 0 && f.Item(1).x == 110 && f.Item(2).x == 215.5f
                   && f.Item(2).y == 0 && f.Item(2).width == 80;
        }) << QStringLiteral("アイテム移動");
        QTest::newRow("group nudge") << ItemEdit([](ItemFixture &f) {
            return f.items.NudgeItems(0, {0, 1}, 1, 0) && f.items.NudgeItems(0, {0, 1}, 0, 10)
                   && f.Item(0).x == 11 && f.Item(0).y == 30 && f.Item(1).x == 111
                   && f.Item(2).x == 210;
        }) << QStringLiteral("アイテム移動");
        QTest::newRow("group delete") << ItemEdit([](ItemFixture &f) {
            return f.items.DeleteItems(0, {2, 0, -1}) && f.Count() == 1 && f.Item(0).id == 2
                   && f.Item(1).id == 0 && f.Item(2).id == 0;
        }) << QStringLiteral("アイテム削除");
        QTest::newRow("group align right") << ItemEdit([](ItemFixture &f) {
            return f.items.AlignItems(0, {0, 1, 2}, AlignEdge::Right, QSizeF(960, 540))
                   && f.Item(0).x == 210 && f.Item(1).x == 210 && f.Item(2).x == 210
                   && f.Item(0).width == 80;
        }) << QStringLiteral("右揃え");
        QTest::newRow("one item aligns to the page") << ItemEdit([](ItemFixture &f) {
            return f.items.AlignItems(0, {1}, AlignEdge::VCentre, QSizeF(960, 540))
                   && f.Item(1).y == 250 && f.Item(1).x == 110;
        }) << QStringLiteral("上下中央揃え");
    }

    void eachEditIsOneExactStep()
    {
        QFETCH(ItemEdit, edit);
        QFETCH(QString, text);
        ItemFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        QVERIFY(edit(f));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), text);
        const QByteArray after = f.Saved();
        QVERIFY(after != before);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
        f.document.UndoStack().redo();
        QCOMPARE(f.Saved(), after);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
    }

    void alignGeometry_data()
    {
        QTest::addColumn<int>("edge");
        QTest::addColumn<QPointF>("first");
        QTest::addColumn<QPointF>("second");
        // (10, 20) 40 x 10 and (100, 60) 20 x 30: the box is (10, 20)-(120, 90).
        QTest::newRow("left") << int(AlignEdge::Left) << QPointF(10, 20) << QPointF(10, 60);
        QTest::newRow("right") << int(AlignEdge::Right) << QPointF(80, 20) << QPointF(100, 60);
        QTest::newRow("top") << int(AlignEdge::Top) << QPointF(10, 20) << QPointF(100, 20);
        QTest::newRow("bottom") << int(AlignEdge::Bottom) << QPointF(10, 80) << QPointF(100, 60);
        QTest::newRow("horizontal centre")
            << int(AlignEdge::HCentre) << QPointF(45, 20) << QPointF(55, 60);
        QTest::newRow("vertical centre")
            << int(AlignEdge::VCentre) << QPointF(10, 50) << QPointF(100, 40);
    }

    void alignGeometry()
    {
        QFETCH(int, edge);
        QFETCH(QPointF, first);
        QFETCH(QPointF, second);
        const std::vector<QRectF> rects{QRectF(10, 20, 40, 10), QRectF(100, 60, 20, 30)};
        const std::vector<QRectF> aligned =
            AlignRects(rects, AlignEdge(edge), QSizeF(960, 540));
        QCOMPARE(aligned.size(), size_t(2));
        QCOMPARE(aligned[0], QRectF(first, rects[0].size()));
        QCOMPARE(aligned[1], QRectF(second, rects[1].size()));
        // Alone, a rectangle aligns to the page.
        const std::vector<QRectF> alone = AlignRects({rects[1]}, AlignEdge(edge), QSizeF(960, 540));
        const QRectF page(0, 0, 960, 540);
        const QRectF &r = alone.at(0);
        const bool onPage = AlignEdge(edge) == AlignEdge::Left      ? r.left() == page.left()
                            : AlignEdge(edge) == AlignEdge::Right   ? r.right() == page.right()
                            : AlignEdge(edge) == AlignEdge::Top     ? r.top() == page.top()
                            : AlignEdge(edge) == AlignEdge::Bottom  ? r.bottom() == page.bottom()
                            : AlignEdge(edge) == AlignEdge::HCentre ? r.center().x() == 480
                                                                    : r.center().y() == 270;
        QVERIFY(onPage);
        QCOMPARE(r.size(), rects[1].size());
    }

    void aFullPageTakesNoItem_data()
    {
        QTest::addColumn<ItemEdit>("edit");
        QTest::newRow("add") << ItemEdit(
            [](ItemFixture &f) { return f.items.AddItem(0, QRectF(0, 0, 1, 1)) == -1; });
        QTest::newRow("create item") << ItemEdit(
            [](ItemFixture &f) { return f.items.CreateItem(0, QPointF(), true) == -1; });
        QTest::newRow("dropped jpeg") << ItemEdit([](ItemFixture &f) {
            const QString file = f.Path(QStringLiteral("drop.jpg"));
            return WriteJpeg(file, 30, 20) && f.items.DropImage(0, QPointF(), file) == -1;
        });
        QTest::newRow("paste") << ItemEdit([](ItemFixture &f) {
            CItemClipboard clipboard;
            return clipboard.CopyItem(f.model.pages.At(0), 0)
                   && !f.edits.PasteItem(0, clipboard, PasteMode::PictureAndText, QPointF());
        });
    }

    void aFullPageTakesNoItem()
    {
        QFETCH(ItemEdit, edit);
        ItemFixture f;
        f.Open();
        f.FillPage();
        const QByteArray before = f.Saved();
        QVERIFY(edit(f));
        QCOMPARE(f.prompt.Messages(), QStringList{QString::fromUtf16(kPageFullMessage)});
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("エラー"));
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.document.UndoStack().count(), 0);
    }

    void targetsThatDoNotExistChangeNothing()
    {
        ItemFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        QVERIFY(!f.items.DeleteItem(0, 3));  // past the used slots
        QVERIFY(!f.items.DeleteItem(0, -1)); // no selection
        QVERIFY(!f.items.DeleteItem(1, 0));  // no such page
        QVERIFY(!f.items.ItemFromShape(0, 5, QRectF(1, 1, 1, 1), true));
        QVERIFY(!f.items.ItemFromShape(0, 0, QRectF(10, 20, 3, 3), false)); // same place
        QVERIFY(!f.items.SizeFromImage(0, 0)); // shows no image
        QCOMPARE(f.items.AddItem(-1, QRectF()), -1);
        QCOMPARE(f.items.CreateItem(4, QPointF(), true), -1);
        const QString text = f.Path(QStringLiteral("notes.txt"));
        QVERIFY(WriteBytes(text, "x"));
        QCOMPARE(f.items.DropImage(0, QPointF(), text), -1);
        QVERIFY(!f.items.MoveItems(0, {3, -2}, QPointF(1, 1)));
        QVERIFY(!f.items.MoveItems(0, {0}, QPointF(qInf(), 1)));
        QVERIFY(!f.items.MoveItems(0, {0, 1}, QPointF()));
        QVERIFY(!f.items.NudgeItems(1, {0}, 1, 0));
        QVERIFY(!f.items.DeleteItems(0, {}));
        QVERIFY(!f.items.AlignItems(0, {0, 1, 2}, AlignEdge::Top, QSizeF(960, 540)));
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.document.UndoStack().count(), 0);
        QVERIFY(f.prompt.records.isEmpty());
    }

    void droppedImageWithoutRoomMakesAnItemWithoutImage()
    {
        ItemFixture f;
        f.Open();
        // The picture table's ids are used up: the item comes without an image.
        f.model.pictures.At(0)->id = 199;
        const QString file = f.Path(QStringLiteral("drop.jpg"));
        QVERIFY(WriteJpeg(file, 100, 80));
        QCOMPARE(f.items.DropImage(0, QPointF(7, 8), file), 3);
        QCOMPARE(f.Item(3).pic_no, 0);
        QCOMPARE(f.Item(3).width, 50.0f);
        QCOMPARE(f.model.pictures.Count(), 1);
        QCOMPARE(f.document.UndoStack().count(), 1);
    }

    void createItemMakesNoRecordsPastTheLimits()
    {
        ItemFixture f;
        f.Open();
        for (int id = 2; id <= 254; ++id) {
            auto text = std::make_unique<CMyTextInfo>();
            text->id = id;
            f.model.texts.Add(std::move(text));
        }
        f.model.pictures.At(0)->id = 199;
        QCOMPARE(f.items.CreateItem(0, QPointF(), true), 3);
        QCOMPARE(f.Item(3).text_no, 0);
        QCOMPARE(f.Item(3).pic_no, 0);
        QCOMPARE(f.model.texts.Count(), 254);
        QCOMPARE(f.model.pictures.Count(), 1);
    }

    void sizeFromImage_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("idg");
        QTest::addColumn<QSizeF>("expected");
        QTest::newRow("jpeg") << int(kImageJpeg) << 0 << QSizeF(200, 150);
        QTest::newRow("jpeg quarter") << int(kImageJpeg) << 100 << QSizeF(100, 75);
        QTest::newRow("jpeg sixth") << int(kImageJpeg) << 101 << QSizeF(66, 50);
        QTest::newRow("jpeg eighth") << int(kImageJpeg) << 102 << QSizeF(50, 37);
        QTest::newRow("colour-map png") << int(kImageColourMapPng) << 100 << QSizeF(400, 300);
        QTest::newRow("general png") << int(kImageGeneralPng) << 101 << QSizeF(200, 150);
        QTest::newRow("gif") << int(kImageGif) << 0 << QSizeF(200, 150);
        QTest::newRow("empty") << int(kImageEmpty) << 0 << QSizeF();
    }

    void sizeFromImage()
    {
        QFETCH(int, type);
        QFETCH(int, idg);
        QFETCH(QSizeF, expected);
        CMyPictureInfo record;
        record.path = QStringLiteral("/x/pic");
        record.type = type;
        record.width = 400;
        record.height = 300;
        QCOMPARE(SizeFromImageRecord(record, idg), expected);
        record.path.clear();
        QVERIFY(!SizeFromImageRecord(record, idg).isValid());
    }
};

ORIN_TEST_CLASS(ItemEditsTest)
#include "tst_item_edits.moc"
