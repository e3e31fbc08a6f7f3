// SPDX-License-Identifier: MIT
// Item editing on the canvas: typing in place and where the typed text goes, the text dialog,
// the text entries of the item menu, the in-place editor's own menu, the right double-click and
// image changes by Ctrl+double-click and by a dropped file.

#include "document_fixture.h"
#include "image_fixtures.h"
#include "page_fixtures.h"
#include "test_registry.h"

#include "actions/item_clipboard.h"
#include "dialogs/dlg_gtext.h"
#include "document/item_edits.h"
#include "editor/dlg_panel.h"
#include "editor/graph_view.h"
#include "editor/in_place_editor.h"
#include "editor/item_menu.h"
#include "preview/canvas_mapping.h"
#include "preview/preview_seams.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Page 1 (timer 1 s, to page 2): item 1 with its own text at (100, 100) under the cursor-only
// item 6; item 2 showing text 2 (no sections) at (300, 100); item 3 showing text 1 (sections)
// at (100, 300); item 7 naming text 9, which does not exist, at (500, 300); items 4 and 8 both
// show picture 1. Page 2: item 1 at the same place with "second". The canvas is 960 x 540,
// so client pixels are page units.
struct Fixture : DocumentParts {
    ProgramSettings settings;
    CColourMap map;
    CItemClipboard clipboard;
    std::unique_ptr<CGraphView> view;

    Fixture()
    {
        WriteJpeg(Path(QStringLiteral("pic.jpg")), 100, 50);
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = 1;
        picture->type = kImageJpeg;
        picture->path = Path(QStringLiteral("pic.jpg"));
        model.pictures.Add(std::move(picture));
        AddText(1, QStringLiteral("[#1]one[#2]two"), QStringLiteral("L1"));
        AddText(2, QStringLiteral("plain"), QStringLiteral("L2"));

        auto one = std::make_unique<CMyProgramInfo>();
        one->id = 1;
        one->timer = 1;
        one->backcol = kNoColour;
        AddItem(*one, 1, 100, 100).text = QStringLiteral("own");
        AddItem(*one, 2, 300, 100).text_no = 2;
        AddItem(*one, 3, 100, 300).text_no = 1;
        AddItem(*one, 4, 700, 100).pic_no = 1;
        AddItem(*one, 6, 100, 100).idg = 1;
        AddItem(*one, 7, 500, 300).text_no = 9;
        AddItem(*one, 8, 700, 300).pic_no = 1;
        model.pages.Add(std::move(one));
        auto two = std::make_unique<CMyProgramInfo>();
        two->id = 2;
        two->backcol = kNoColour;
        AddItem(*two, 1, 100, 100).text = QStringLiteral("second");
        model.pages.Add(std::move(two));

        view = std::make_unique<CGraphView>(model, settings, map, Path(QStringLiteral("work")),
                                            &prompt);
        view->BindEdits(&model, &edits, &clipboard);
        view->resize(960, 540);
        view->show();
        view->activateWindow();
        view->ShowPage(1);
    }
    void AddText(int id, const QString &text, const QString &label)
    {
        auto record = std::make_unique<CMyTextInfo>();
        record->id = id;
        record->text = text;
        record->label = label;
        model.texts.Add(std::move(record));
    }
    CInPlaceEditor *Editor() const { return view->InPlaceEditor(); }
    QString ItemText(int page, int slot) const { return model.pages.At(page)->items[size_t(slot)].text; }
    int Steps() { return document.UndoStack().count(); }
    void DoubleClick(QPoint point, Qt::KeyboardModifiers modifiers = {},
                     Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseDClick(view.get(), button, modifiers, point);
    }
};

} // namespace

class CanvasEditingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void typingInPlaceEndsWithTheFocus()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        // The cursor-only item on top is passed over.
        f.DoubleClick(QPoint(150, 125));
        QVERIFY(f.view->IsTypingInPlace());
        QVERIFY(f.Editor()->isVisible());
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("own"));
        const QRect expected = CCanvasMapping(f.view->size(), false)
                                   .MapToClientF(100, 100, 100, 50)
                                   .toRect();
        QCOMPARE(f.Editor()->geometry(), expected);
        // Size 20 at half the screen's scale: 20 · 1.4 · 0.5 points.
        QCOMPARE(f.Editor()->PointSize(), 14.0);
        QTRY_VERIFY(f.Editor()->hasFocus());
        QTest::keyClicks(f.Editor(), QStringLiteral("X"));
        // A pop-up menu takes the focus for a while and gives it back: the edit goes on.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(f.Editor(), &popup);
        QVERIFY(f.view->IsTypingInPlace());
        QCOMPARE(f.Steps(), 0);

        // The canvas grows: the editor follows its item at the new scale, keeping what was
        // typed and where the cursor stands.
        f.view->resize(1920, 1080);
        QCOMPARE(f.Editor()->geometry(), CCanvasMapping(f.view->size(), false)
                                             .MapToClientF(100, 100, 100, 50)
                                             .toRect());
        QCOMPARE(f.Editor()->PointSize(), 28.0);
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("ownX"));
        QCOMPARE(f.Editor()->textCursor().position(), 4);
        QVERIFY(f.view->IsTypingInPlace());
        f.view->resize(960, 540);
        // A resize that keeps the scale (wider, the height still decides) only moves the
        // editor: its own undo history stays.
        QTest::keyClicks(f.Editor(), QStringLiteral("Z"));
        f.view->resize(1200, 540);
        QCOMPARE(f.Editor()->geometry(), CCanvasMapping(f.view->size(), false)
                                             .MapToClientF(100, 100, 100, 50)
                                             .toRect());
        QCOMPARE(f.Editor()->PointSize(), 14.0);
        QVERIFY(f.Editor()->document()->isUndoAvailable());
        f.Editor()->undo();
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("ownX"));
        f.view->resize(960, 540);

        // A click elsewhere on the canvas takes the focus: the text is written, one step.
        QTest::mouseClick(f.view.get(), Qt::LeftButton, {}, QPoint(900, 500));
        QVERIFY(!f.view->IsTypingInPlace());
        QVERIFY(!f.Editor()->isVisible());
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("ownX"));
        QCOMPARE(f.view->Engine().Items()[0].item.text, QStringLiteral("ownX"));
        QCOMPARE(f.Steps(), 1);
        QVERIFY(f.document.IsModified());
        f.document.UndoStack().undo();
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("own"));
    }

    void aPageTimerWhileTypingKeepsTheTextOnItsItem()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        f.DoubleClick(QPoint(150, 125));
        QTRY_VERIFY(f.Editor()->hasFocus());
        QTest::keyClicks(f.Editor(), QStringLiteral("Y"));
        f.view->Engine().OnTimer(kPageTimer);
        QCOMPARE(f.view->Engine().ShownPageNumber(), 2);
        QVERIFY(!f.view->IsTypingInPlace());
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("ownY"));
        QCOMPARE(f.ItemText(1, 0), QStringLiteral("second"));
        QCOMPARE(f.view->Engine().Items()[0].item.text, QStringLiteral("second"));
        QCOMPARE(f.Steps(), 1);
    }

    void anEditWhileTypingTakesTheTypedTextFirst_data()
    {
        QTest::addColumn<int>("edit");
        QTest::newRow("the page deleted from the page list") << 0;
        QTest::newRow("the item deleted on the design surface") << 1;
        QTest::newRow("another page's comment") << 2;
    }

    void anEditWhileTypingTakesTheTypedTextFirst()
    {
        QFETCH(int, edit);
        Fixture f;
        CItemEdits items(f.document, f.model, f.prompt, f.imageEdits);
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        f.DoubleClick(QPoint(150, 125));
        QTRY_VERIFY(f.Editor()->hasFocus());
        QTest::keyClicks(f.Editor(), QStringLiteral("X"));
        // The edit comes by a menu, which leaves the editor open.
        QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
        QApplication::sendEvent(f.Editor(), &popup);
        QVERIFY(f.view->IsTypingInPlace());

        f.prompt.answers = {PromptAnswer::Yes};
        switch (edit) {
        case 0: QVERIFY(f.edits.AskDeletePage(0)); break;
        case 1: QVERIFY(items.DeleteItem(0, 0)); break;
        default: QVERIFY(f.edits.SetPageComment(1, QStringLiteral("c"))); break;
        }
        // The typed text went in first, as a step of its own; the editor is closed and writes
        // nothing more into what is gone.
        QVERIFY(!f.view->IsTypingInPlace());
        QVERIFY(!f.Editor()->isVisible());
        QCOMPARE(f.Steps(), 2);
        f.view->EndTextEditing();
        QCOMPARE(f.Steps(), 2);

        f.document.UndoStack().undo();
        QCOMPARE(f.model.pages.Count(), 2);
        QCOMPARE(f.model.pages.At(0)->items[0].id, 1);
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("ownX"));
        QCOMPARE(f.model.pages.At(1)->comment, QString());
        f.document.UndoStack().undo();
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("own"));
    }

    void typedTextOfARecordGoesToTheRecord()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        f.DoubleClick(QPoint(350, 125));
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("plain"));
        QTRY_VERIFY(f.Editor()->hasFocus());
        QTest::keyClicks(f.Editor(), QStringLiteral("!"));
        f.view->EndTextEditing();
        QCOMPARE(f.model.texts.FindById(2)->text, QStringLiteral("plain!"));
        QCOMPARE(f.model.texts.FindById(2)->changed, 1);
        QCOMPARE(f.ItemText(0, 1), QString());
        // Ending again writes nothing more.
        f.view->EndTextEditing();
        QCOMPARE(f.Steps(), 1);
    }

    void textDialogWritesToWhereItWasOpened()
    {
        Fixture f;
        CDlgGText *dialog = f.view->TextDialog();
        f.DoubleClick(QPoint(150, 125), Qt::ShiftModifier);
        QVERIFY(!f.view->IsTypingInPlace());
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("テキスト編集"));
        QCOMPARE(dialog->Text(), QStringLiteral("own"));
        dialog->SetText(QStringLiteral("dialog"));
        // The page changes before "更新": the text still goes to page 1.
        f.view->Engine().OnTimer(kPageTimer);
        QCOMPARE(f.view->Engine().ShownPageNumber(), 2);
        dialog->UpdateButton()->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(f.ItemText(0, 0), QStringLiteral("dialog"));
        QCOMPARE(f.ItemText(1, 0), QStringLiteral("second"));
        QCOMPARE(f.Steps(), 1);
        // Without a target "更新" does nothing.
        dialog->SetText(QStringLiteral("again"));
        dialog->UpdateButton()->click();
        QCOMPARE(f.Steps(), 1);

        // A text record with sections opens whole, in place or with Shift.
        f.view->ShowPage(1);
        f.DoubleClick(QPoint(150, 325));
        QVERIFY(!f.view->IsTypingInPlace());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("グループテキスト編集"));
        QCOMPARE(dialog->Text(), QStringLiteral("[#1]one[#2]two"));
        dialog->SetText(QStringLiteral("[#1]eins[#2]zwei"));
        dialog->UpdateButton()->click();
        QCOMPARE(f.model.texts.FindById(1)->text, QStringLiteral("[#1]eins[#2]zwei"));
        // The page is shown again with the new text.
        QCOMPARE(f.view->Engine().Items()[2].item.text, QStringLiteral("eins"));
        QCOMPARE(f.Steps(), 2);
    }

    void itemMenuTextEntries()
    {
        Fixture f;
        auto labels = [&f](QPoint point) {
            QStringList found;
            std::unique_ptr<QMenu> menu = f.view->MakeItemMenu(point);
            if (menu) {
                for (QAction *action : menu->actions()) {
                    const int command = action->data().toInt();
                    if (command >= itemcmd::kText && command < itemcmd::kImage)
                        found.append(QString::number(command) + u'|' + action->text());
                }
            }
            return found;
        };
        QCOMPARE(labels(QPoint(150, 125)),
                 QStringList({QStringLiteral("4000|アイテム1 - テキスト "),
                              QStringLiteral("4004|アイテム6 - テキスト - カーソル専用")}));
        QCOMPARE(labels(QPoint(350, 125)),
                 QStringList{QStringLiteral("4001|アイテム2 - テキスト   テキストID:2, ラベル:L2")});
        QCOMPARE(labels(QPoint(150, 325)),
                 QStringList{QStringLiteral(
                     "4002|アイテム3 - テキスト   グループテキストID:1, ラベル:L1 ")});
        // A text record that does not exist leaves the note empty.
        QCOMPARE(labels(QPoint(550, 325)), QStringList{QStringLiteral("4005|アイテム7 - テキスト  ")});

        // A posted index that the display list no longer has is ignored.
        f.view->MakeItemMenu(QPoint(150, 125));
        f.view->RunItemCommand(itemcmd::kText + 40);
        QVERIFY(!f.view->IsTypingInPlace());
        f.view->RunItemCommand(itemcmd::kText + 0);
        QVERIFY(f.view->IsTypingInPlace());
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("own"));
    }

    void editorMenuAndEditCommands()
    {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowActive(f.view.get()));
        std::unique_ptr<QMenu> menu = f.Editor()->MakeEditMenu();
        QStringList labels;
        QList<int> commands;
        for (QAction *action : menu->actions()) {
            labels.append(action->text());
            commands.append(action->data().toInt());
        }
        QCOMPARE(labels, QStringList({QStringLiteral("元に戻す(&U)\tCtrl+Z"),
                                      QStringLiteral("切り取り(&T)\tCtrl+X"),
                                      QStringLiteral("コピー(&C)\tCtrl+C"),
                                      QStringLiteral("貼り付け(&P)\tCtrl+V")}));
        QCOMPARE(commands, QList<int>({57643, 57635, 57634, 57637}));

        // Without the editor in use the commands are not the canvas's.
        QVERIFY(!f.view->RunEditCommand(editcmd::kPaste));
        f.DoubleClick(QPoint(150, 125));
        QTRY_VERIFY(f.Editor()->hasFocus());
        QGuiApplication::clipboard()->setText(QStringLiteral("貼"));
        QVERIFY(f.view->RunEditCommand(editcmd::kPaste));
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("own貼"));
        QVERIFY(f.view->RunEditCommand(editcmd::kUndo));
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("own"));
        // A command chosen in the editor's own menu arrives after the menu has closed.
        QGuiApplication::clipboard()->setText(QStringLiteral("z"));
        menu->actions().at(3)->trigger();
        QCOMPARE(f.Editor()->toPlainText(), QStringLiteral("own"));
        QTRY_COMPARE(f.Editor()->toPlainText(), QStringLiteral("ownz"));
        QVERIFY(f.view->IsTypingInPlace());
    }

    void rightDoubleClickShowsOrHidesThePanel()
    {
        Fixture f;
        f.view->Panel()->show();
        f.DoubleClick(QPoint(900, 20), {}, Qt::RightButton);
        QVERIFY(!f.view->Panel()->isVisible());
        QVERIFY(f.view->PanelHiddenByOperator());
        f.DoubleClick(QPoint(900, 20), {}, Qt::RightButton);
        QVERIFY(f.view->Panel()->isVisible());
        QVERIFY(!f.view->PanelHiddenByOperator());
    }

    void imagesChangeByCtrlDoubleClickAndByDrop()
    {
        Fixture f;
        const QString wide = f.Path(QStringLiteral("wide.jpg"));
        QVERIFY(WriteJpeg(wide, 200, 80));
        const QString tall = f.Path(QStringLiteral("tall.jpg"));
        QVERIFY(WriteJpeg(tall, 60, 120));
        const QString other = f.Path(QStringLiteral("note.txt"));

        QVERIFY(!f.view->AcceptsImageDrop(QPoint(750, 125), other));
        // The video screen shows no item, though the display list is still the page's.
        f.view->ShowPage(255);
        QVERIFY(!f.view->AcceptsImageDrop(QPoint(750, 125), wide));
        f.DoubleClick(QPoint(150, 125));
        QVERIFY(!f.view->IsTypingInPlace());
        f.view->ShowPage(1);
        QVERIFY(!f.view->AcceptsImageDrop(QPoint(900, 500), wide));
        QVERIFY(f.view->AcceptsImageDrop(QPoint(750, 125), wide));
        QVERIFY(f.view->DropImageAt(QPoint(750, 125), wide));
        QCOMPARE(f.model.pictures.FindById(1)->path, wide);
        // Both items that show picture 1 show the new file.
        for (const int slot : {3, 6})
            QCOMPARE(f.view->Engine().Items()[size_t(slot)].image.image.width(), 200);
        QCOMPARE(f.Steps(), 1);

        f.prompt.fileNames = {tall};
        f.DoubleClick(QPoint(750, 325), Qt::ControlModifier);
        QCOMPARE(f.model.pictures.FindById(1)->path, tall);
        QCOMPARE(f.view->Engine().Items()[3].image.image.width(), 60);
        QCOMPARE(f.Steps(), 2);
        f.document.UndoStack().undo();
        f.document.UndoStack().undo();
        QCOMPARE(f.model.pictures.FindById(1)->path, f.Path(QStringLiteral("pic.jpg")));
    }
};

ORIN_TEST_CLASS(CanvasEditingTest)

#include "tst_canvas_editing.moc"
