// SPDX-License-Identifier: MIT
// Every edit of the operator is one step of the undo stack: undo gives back exactly the model
// that was (a save writes the same bytes), redo repeats the edit, both mark the document
// modified, and opening another content set empties the stack.

#include "image_fixtures.h"
#include "document_fixture.h"
#include "test_registry.h"

#include "actions/copy_document.h"
#include "document/document.h"
#include "document/document_edits.h"
#include "document/image_edits.h"
#include "document/recent_files.h"
#include "document/text_commit.h"
#include "images/load_services.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace orin;
using namespace orin::test;

namespace {

struct Fixture : DocumentParts {
    int saves = 0;


    // Opens a project of `pages` pages (three unless told) with two items each, a text, a macro
    // and a picture.
    void Open(int pages = 3)
    {
        QVERIFY(WriteJpeg(Path(QStringLiteral("bg.jpg")), 960, 540));
        QVERIFY(WriteJpeg(Path(QStringLiteral("pic.jpg")), 100, 50));
        CContentModel source;
        for (int i = 0; i < pages; ++i) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = 10 * (i + 1);
            page->comment = QStringLiteral("page %1").arg(i + 1);
            page->background = Path(QStringLiteral("bg.jpg"));
            page->right = 10;
            page->itemCount = 2;
            for (int s = 0; s < 2; ++s) {
                PageItem &item = page->items[static_cast<size_t>(s)];
                item.id = s + 1;
                item.x = 10.5f;
                item.width = 50;
                item.pic_no = 1;
                item.ret = QStringLiteral("20");
                item.text = QStringLiteral("item %1").arg(s + 1);
            }
            source.pages.Add(std::move(page));
        }
        auto text = std::make_unique<CMyTextInfo>();
        text->id = 1;
        text->text = QStringLiteral("[#1]one[#2]two");
        text->item = 20;
        source.texts.Add(std::move(text));
        // Renumbering rewrites the page jumps of every macro section.
        auto macro = std::make_unique<CMyMacroInfo>();
        macro->id = 1;
        macro->macro = QStringLiteral("[#1]G:20[#2]G:10,P:1:0");
        source.macros.Add(std::move(macro));
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 1;
        picture->path = Path(QStringLiteral("pic.jpg"));
        source.pictures.Add(std::move(picture));
        auto unused = std::make_unique<CMyPictureInfo>();
        unused->id = 2;
        unused->path = Path(QStringLiteral("pic.jpg"));
        source.pictures.Add(std::move(unused));
        const QString path = Path(QStringLiteral("news.bjpx"));
        QVERIFY(SaveProject(source, path, SaveMode::Plain, ContentFolderOf(path),
                            ProgramSettings()).ok);
        QVERIFY(document.OpenProjectFile(path));
    }

    // The bytes a save writes now.
    QByteArray Saved()
    {
        const QString path = Path(QStringLiteral("save%1.bjpx").arg(++saves));
        if (!SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path),
                         document.Settings()).ok)
            return {};
        return ReadBytes(path);
    }
};

using Edit = std::function<bool(Fixture &)>;

} // namespace

Q_DECLARE_METATYPE(Edit)

class UndoEditsTest : public QObject {
    Q_OBJECT

private slots:
    void undoRestoresExactlyAndRedoRepeats_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pages"); // of the project the edit starts from
        QTest::newRow("delete") << Edit([](Fixture &f) {
            f.prompt.answers = {PromptAnswer::Yes};
            return f.edits.AskDeletePage(1);
        }) << QStringLiteral("ページ削除") << 3;
        // The bounds: the last page of the table, and the only one.
        QTest::newRow("delete the last page") << Edit([](Fixture &f) {
            f.prompt.answers = {PromptAnswer::Yes};
            return f.edits.AskDeletePage(2);
        }) << QStringLiteral("ページ削除") << 3;
        QTest::newRow("delete the only page") << Edit([](Fixture &f) {
            f.prompt.answers = {PromptAnswer::Yes};
            return f.edits.AskDeletePage(0);
        }) << QStringLiteral("ページ削除") << 1;
        QTest::newRow("move down")
            << Edit([](Fixture &f) { return f.edits.DropPageRow(0, 3, false) == 2; })
            << QStringLiteral("ページ移動") << 3;
        QTest::newRow("move up")
            << Edit([](Fixture &f) { return f.edits.DropPageRow(2, 0, false) == 0; })
            << QStringLiteral("ページ移動") << 3;
        QTest::newRow("duplicate")
            << Edit([](Fixture &f) { return f.edits.DropPageRow(0, 3, true) == 3; })
            << QStringLiteral("ページ複製") << 3;
        QTest::newRow("comment")
            << Edit([](Fixture &f) { return f.edits.SetPageComment(2, QStringLiteral("新")); })
            << QStringLiteral("コメント変更") << 3;
        QTest::newRow("page properties") << Edit([](Fixture &f) {
            PageProperties values = PagePropertiesOf(f.model, 0, 1);
            values.timer = 5;
            values.next = 30;
            values.back = 2;
            return f.edits.SetPageProperties(0, values, 1);
        }) << QStringLiteral("ページ属性") << 3;
        QTest::newRow("item properties") << Edit([](Fixture &f) {
            PageItem item = f.model.pages.At(1)->items[1];
            item.x = 10;
            item.up = QStringLiteral("G:10");
            return f.edits.SetItem(1, 1, item);
        }) << QStringLiteral("アイテム属性") << 3;
        QTest::newRow("action") << Edit([](Fixture &f) {
            return f.edits.UpdateItemAction(20, 0, QStringLiteral("30"), 7);
        }) << QStringLiteral("アクション編集") << 3;
        QTest::newRow("record text") << Edit([](Fixture &f) {
            return f.edits.UpdateText(1, 20, 1, QStringLiteral("こんにちは"));
        }) << QStringLiteral("テキスト編集") << 3;
        QTest::newRow("item text") << Edit([](Fixture &f) {
            return f.edits.UpdateText(0, 30, 2, QStringLiteral("typed"));
        }) << QStringLiteral("テキスト編集") << 3;
        QTest::newRow("text section") << Edit([](Fixture &f) {
            return f.edits.UpdateTextSection(1, 2, QStringLiteral("二"), 20);
        }) << QStringLiteral("テキスト編集") << 3;
        QTest::newRow("item return") << Edit([](Fixture &f) {
            return f.edits.UpdateItemReturn(30, 1, QStringLiteral("G:10"));
        }) << QStringLiteral("アクション編集") << 3;
        QTest::newRow("item timer") << Edit([](Fixture &f) {
            return f.edits.UpdateItemTimer(10, 4);
        }) << QStringLiteral("アクション編集") << 3;
        QTest::newRow("typed section") << Edit([](Fixture &f) {
            const TextEditTarget target{f.model.pages.At(1)->serial.Value(), 2, 2, 1, 0};
            return CommitTypedText(f.edits, f.model, target, QStringLiteral("二"));
        }) << QStringLiteral("テキスト編集") << 3;
        QTest::newRow("renumber")
            << Edit([](Fixture &f) { return f.edits.RenumberPages(); })
            << QStringLiteral("リナンバリング") << 3;
        QTest::newRow("background") << Edit([](Fixture &f) {
            const QString other = f.Path(QStringLiteral("other.jpg"));
            return WriteJpeg(other, 1920, 1080) && f.edits.SetPageBackgroundFrom(1, other);
        }) << QStringLiteral("画像変更") << 3;
        QTest::newRow("replace image") << Edit([](Fixture &f) {
            const QString other = f.Path(QStringLiteral("other.jpg"));
            return WriteJpeg(other, 200, 100) && f.edits.ReplaceImage(1, other) == 1;
        }) << QStringLiteral("画像変更") << 3;
        QTest::newRow("add picture") << Edit([](Fixture &f) {
            const QString other = f.Path(QStringLiteral("other.jpg"));
            return WriteJpeg(other, 200, 100) && f.edits.AddPicture(other, kImageJpeg) == 3;
        }) << QStringLiteral("画像追加") << 3;
    }

    void undoRestoresExactlyAndRedoRepeats()
    {
        QFETCH(Edit, edit);
        QFETCH(QString, text);
        QFETCH(int, pages);
        Fixture f;
        f.Open(pages);
        QVERIFY(!f.document.IsModified());
        const QByteArray before = f.Saved();
        QVERIFY(edit(f));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), text);
        const QByteArray after = f.Saved();
        QVERIFY(after != before);

        QSignalSpy edited(&f.document, &CDocument::ModelEdited);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
        QCOMPARE(edited.count(), 1);
        QCOMPARE(edited.at(0).at(2).toBool(), true); // the views show the page again
        f.document.UndoStack().redo();
        QCOMPARE(f.Saved(), after);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
    }

    void undoAndRedoMarkTheDocumentModified()
    {
        Fixture f;
        f.Open();
        QVERIFY(f.edits.SetPageComment(0, QStringLiteral("x")));
        // A save clears the flag; the undo after it changes the content again.
        f.prompt.fileNames = {f.Path(QStringLiteral("saved.bjpx"))};
        QVERIFY(f.document.SaveAs());
        QVERIFY(!f.document.IsModified());
        QVERIFY(!f.document.Title().endsWith(u'*'));
        f.document.UndoStack().undo();
        QVERIFY(f.document.IsModified());
        QVERIFY(f.document.Title().endsWith(u'*'));
        f.prompt.fileNames = {f.Path(QStringLiteral("saved.bjpx"))};
        QVERIFY(f.document.SaveAs());
        f.document.UndoStack().redo();
        QVERIFY(f.document.IsModified());
    }

    void nothingChangedPushesNothing()
    {
        Fixture f;
        f.Open();
        QVERIFY(!f.edits.SetPageComment(0, QStringLiteral("page 1")));
        QVERIFY(!f.edits.SetPageComment(3, QStringLiteral("x")));
        QVERIFY(!f.edits.UpdateText(1, 10, 1, QStringLiteral("[#1]one[#2]two")));
        QVERIFY(!f.edits.UpdateTextSection(1, 2, QStringLiteral("two")));
        QVERIFY(!f.edits.UpdateTextSection(1, 3, QStringLiteral("three")));
        QVERIFY(!f.edits.UpdateText(9, 10, 1, QStringLiteral("new")));
        QVERIFY(!f.edits.UpdateItemAction(10, 0, QStringLiteral("20"), 0));
        QVERIFY(!f.edits.UpdateItemTimer(99, 3));
        QCOMPARE(f.edits.DropPageRow(1, 1, false), -1);
        QCOMPARE(f.edits.DropPageRow(1, 2, false), -1);
        QCOMPARE(f.edits.DropPageRow(5, 0, true), -1);
        f.prompt.answers = {PromptAnswer::No};
        QVERIFY(!f.edits.AskDeletePage(0));
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("ページを削除しますか？")});
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("警告"));
        QCOMPARE(f.model.pages.Count(), 3);
        QCOMPARE(f.document.UndoStack().count(), 0);
        QVERIFY(!f.document.IsModified());
    }

    // A copy document that ends early is refused with a message: nothing changes, the content
    // is not marked modified and there is no undo step. The whole document merges as one step.
    void aCopyDocumentCutShortChangesNothing()
    {
        Fixture f;
        f.Open();
        const QByteArray before = f.Saved();
        const QString whole = WriteCopyDocument(f.model, {0, 1});
        const QString cut = whole.left(whole.indexOf(QStringLiteral("<BMLJPEG id=\"20\"")));
        QVERIFY(!f.edits.DropPages(1, cut, 0));
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("コピーデータが壊れているため、ページを追加できません")});
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("エラー"));
        QCOMPARE(f.document.UndoStack().count(), 0);
        QVERIFY(!f.document.IsModified());
        QCOMPARE(f.Saved(), before);

        f.prompt.Clear();
        QVERIFY(f.edits.DropPages(1, whole, 0));
        QVERIFY(f.prompt.records.isEmpty());
        QCOMPARE(f.model.pages.Count(), 5);
        QCOMPARE(f.document.UndoStack().count(), 1);
    }

    void sectionsAreReplacedByLabel_data()
    {
        QTest::addColumn<QString>("whole");
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("expected"); // "-" for no change
        QTest::newRow("middle") << QStringLiteral("[#1]a[#2]b[#3]c") << 2
                                << QStringLiteral("[#1]a[#2]X[#3]c");
        QTest::newRow("last") << QStringLiteral("[#1]a[#20]b") << 20
                              << QStringLiteral("[#1]a[#20]X");
        QTest::newRow("first of two") << QStringLiteral("[#5]a[#5]b") << 5
                                      << QStringLiteral("[#5]X[#5]b");
        QTest::newRow("no label") << QStringLiteral("[#1]a") << 2 << QStringLiteral("-");
        QTest::newRow("no markers") << QStringLiteral("plain") << 0 << QStringLiteral("-");
        QTest::newRow("marker without end") << QStringLiteral("[#3 a") << 3
                                            << QStringLiteral("-");
    }

    void sectionsAreReplacedByLabel()
    {
        QFETCH(QString, whole);
        QFETCH(int, label);
        QFETCH(QString, expected);
        const std::optional<QString> result = ReplaceSection(whole, label, QStringLiteral("X"));
        if (expected == u"-")
            QVERIFY(!result);
        else
            QCOMPARE(result.value_or(QString()), expected);
    }

    void slimmingKeepsTheModifiedFlagThroughUndo()
    {
        Fixture f;
        f.Open();
        const QByteArray before = f.Saved();
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.document.SlimData());
        QCOMPARE(f.model.pictures.Count(), 1);
        QVERIFY(!f.document.IsModified());
        f.document.UndoStack().undo();
        QCOMPARE(f.model.pictures.Count(), 2);
        QCOMPARE(f.Saved(), before);
        QVERIFY(!f.document.IsModified());
    }

    void dropRowsReorderAndDuplicate()
    {
        Fixture f;
        f.Open();
        // The first row dropped below the third with Ctrl: a copy with a new, highest id.
        QCOMPARE(f.edits.DropPageRow(0, 3, true), 3);
        QCOMPARE(f.model.pages.Count(), 4);
        QCOMPARE(f.model.pages.At(0)->id, 10);
        QCOMPARE(f.model.pages.At(3)->id, 31);
        QCOMPARE(f.model.pages.At(3)->comment, QStringLiteral("page 1"));
        QCOMPARE(f.model.pages.At(3)->items[1].text, QStringLiteral("item 2"));
        // Without Ctrl the page moves: the old record leaves its place.
        QCOMPARE(f.edits.DropPageRow(3, 1, false), 1);
        QList<int> ids;
        for (const auto &page : f.model.pages)
            ids.append(page->id);
        QCOMPARE(ids, (QList<int>{10, 31, 20, 30}));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.UndoStack().count(), 2);
    }

    void newPageIdsSkipTheReservedNumbers_data()
    {
        QTest::addColumn<int>("largest");
        QTest::addColumn<int>("expected");
        QTest::newRow("253") << 253 << 256;
        QTest::newRow("254") << 254 << 256;
        QTest::newRow("999") << 999 << 1001;
        QTest::newRow("1999") << 1999 << 2001;
        QTest::newRow("31") << 31 << 32;
    }

    void newPageIdsSkipTheReservedNumbers()
    {
        QFETCH(int, largest);
        QFETCH(int, expected);
        Fixture f;
        f.Open();
        f.model.pages.At(1)->id = largest;
        QCOMPARE(f.edits.DropPageRow(0, 3, true), 3);
        QCOMPARE(f.model.pages.At(3)->id, expected);
    }

    void pagePropertiesFollowTheTimerMode()
    {
        Fixture f;
        f.Open();
        f.model.pages.At(2)->down = 77;
        QCOMPARE(PagePropertiesOf(f.model, 0, 0).next, 20);
        QCOMPARE(PagePropertiesOf(f.model, 2, 0).next, 10); // the last row: the first page
        QCOMPARE(PagePropertiesOf(f.model, 2, 1).next, 10);
        QCOMPARE(PagePropertiesOf(f.model, 2, 2).next, 77);
        PageProperties values = PagePropertiesOf(f.model, 2, 0);
        values.next = 7;
        values.timer = 3;
        QVERIFY(f.edits.SetPageProperties(2, values, 0));
        QCOMPARE(f.model.pages.At(2)->right, 10);
        QCOMPARE(f.model.pages.At(2)->down, 77);
        QCOMPARE(f.model.pages.At(2)->timer, 3);
        QVERIFY(f.edits.SetPageProperties(2, values, 2));
        QCOMPARE(f.model.pages.At(2)->down, 7);
        QVERIFY(f.edits.SetPageProperties(2, values, 1));
        QCOMPARE(f.model.pages.At(2)->right, 7);
    }

    void openingAnotherProjectEmptiesTheStack()
    {
        Fixture f;
        f.Open();
        QVERIFY(f.edits.SetPageComment(0, QStringLiteral("x")));
        f.prompt.answers = {PromptAnswer::No};
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("news.bjpx"))));
        QCOMPARE(f.document.UndoStack().count(), 0);
        QVERIFY(!f.document.UndoStack().canUndo());
    }

    void severalStepsUndoInReverseOrder()
    {
        Fixture f;
        f.Open();
        const QByteArray start = f.Saved();
        QVERIFY(f.edits.SetPageComment(2, QStringLiteral("c")));
        QCOMPARE(f.edits.DropPageRow(2, 0, false), 0);
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.edits.AskDeletePage(0));
        QVERIFY(f.edits.RenumberPages());
        QCOMPARE(f.edits.DropPageRow(1, 0, true), 0);
        const QByteArray end = f.Saved();
        while (f.document.UndoStack().canUndo())
            f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), start);
        while (f.document.UndoStack().canRedo())
            f.document.UndoStack().redo();
        QCOMPARE(f.Saved(), end);
    }
};

ORIN_TEST_CLASS(UndoEditsTest)

#include "tst_undo_edits.moc"
