// SPDX-License-Identifier: MIT
// The page pane in design mode, driven headless with the mouse and keys: drags change the model
// through the undo stack (one drag, one step), cancels change nothing, the item menu creates,
// copies, pastes and deletes items, and a dropped image becomes an item.

#include "design_fixture.h"
#include "image_fixtures.h"
#include "test_registry.h"

#include "actions/item_clipboard.h"
#include "document/item_edits.h"
#include "editor/form_graph.h"
#include "editor/graph_traker.h"
#include "dialogs/dlg_item_prop.h"
#include "images/colour_map.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

using namespace orin;
using namespace orin::test;

class DesignSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    void designScale_data()
    {
        QTest::addColumn<QSize>("area");
        QTest::addColumn<QSize>("page");
        QTest::addColumn<float>("s");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        QTest::newRow("wide area") << QSize(1200, 540) << QSize(960, 540) << 1.0f << 120 << 0;
        QTest::newRow("tall area") << QSize(480, 540) << QSize(960, 540) << 0.5f << 0 << 135;
        QTest::newRow("vertical page") << QSize(960, 540) << QSize(540, 960) << 0.5625f << 328
                                       << 0;
        QTest::newRow("empty area") << QSize(0, 0) << QSize(960, 540) << 1.0f << 0 << 0;
    }

    void designScale()
    {
        QFETCH(QSize, area);
        QFETCH(QSize, page);
        QFETCH(float, s);
        QFETCH(int, ox);
        QFETCH(int, oy);
        const DesignScale scale = ComputeDesignScale(area, page);
        QCOMPARE(scale.s, s);
        QCOMPARE(scale.ox, ox);
        QCOMPARE(scale.oy, oy);
        // Page points and back: positions keep their fractions.
        const QPointF back = DesignToPage(scale, QPointF(scale.s * 10.25 + scale.ox,
                                                         scale.s * 3.5 + scale.oy));
        QVERIFY(qAbs(back.x() - 10.25) < 1e-9 && qAbs(back.y() - 3.5) < 1e-9);
    }

    void moveDragIsOneStepAndUndoes()
    {
        DesignFixture f;
        f.Open();
        QSignalSpy status(&f.pane, &CFormGraph::StatusText);
        const QByteArray before = f.Saved();
        f.Press(QPoint(108, 140)); // inside the left edge of item 1: selects it and moves
        QCOMPARE(f.Surface()->Selection(), 0);
        f.Move(QPoint(130, 150));
        f.Move(QPoint(158, 160));
        f.Release(QPoint(158, 160));
        QCOMPARE(f.Rect(0), QRectF(150, 120, 100, 50));
        QCOMPARE(f.document.UndoStack().count(), 1);
        QVERIFY(f.document.IsModified());
        // The drag's steps were shown in page units and cleared at the end.
        QVERIFY(!status.isEmpty());
        QCOMPARE(status.at(status.count() - 2).at(0).toString(),
                 QStringLiteral("x:150  y:120  100 × 50"));
        QCOMPARE(status.last().at(0).toString(), QString());
        // The shapes were drawn again from the model with the item selected.
        QCOMPARE(f.Surface()->Shapes().at(0).rect, QRect(150, 120, 100, 50));
        QCOMPARE(f.Design().SelectedItem(), 0);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.Surface()->Shapes().at(0).rect, QRect(100, 100, 100, 50));
    }

    void cornerResizeWithShiftKeepsTheProportion()
    {
        DesignFixture f;
        f.Open();
        QSignalSpy status(&f.pane, &CFormGraph::StatusText);
        f.Press(QPoint(200, 150)); // bottom-right corner of item 1
        f.Move(QPoint(260, 190));
        // A resize step shows the position with the size, as a move does.
        QCOMPARE(status.last().at(0).toString(), QStringLiteral("x:100  y:100  160 × 90"));
        // Shift at the release: both factors take the smaller one, 1.6.
        f.Release(QPoint(260, 190), Qt::ShiftModifier);
        QCOMPARE(f.Rect(0), QRectF(100, 100, 160, 80));
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテムサイズ変更"));
    }

    void cancelledDragsChangeNothing_data()
    {
        // 0 Escape, 1 right button, 2 Ctrl at the release, 3 the window lost the focus
        QTest::addColumn<int>("how");
        QTest::newRow("Escape") << 0;
        QTest::newRow("right button") << 1;
        QTest::newRow("released with Ctrl") << 2;
        QTest::newRow("focus lost") << 3;
    }

    void cancelledDragsChangeNothing()
    {
        QFETCH(int, how);
        DesignFixture f;
        f.Open();
        QSignalSpy menus(f.Surface(), &CGraphTraker::ContextMenuRequested);
        const QByteArray before = f.Saved();
        f.Press(QPoint(108, 140));
        f.Move(QPoint(300, 300));
        QVERIFY(f.Surface()->IsDragging());
        if (how == 0)
            QTest::keyClick(f.Surface(), Qt::Key_Escape);
        else if (how == 1)
            QTest::mousePress(f.Surface(), Qt::RightButton, {}, QPoint(300, 300));
        if (how == 3) {
            QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            QApplication::sendEvent(f.Surface(), &out);
        }
        if (how != 2)
            QVERIFY(!f.Surface()->IsDragging());
        f.Release(QPoint(300, 300), how == 2 ? Qt::ControlModifier : Qt::KeyboardModifiers());
        QVERIFY(!f.Surface()->IsDragging());
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.document.UndoStack().count(), 0);
        QVERIFY(menus.isEmpty()); // the right button ended the drag, it opened no menu
    }

    void ctrlCornerTurnsTheOutlineOnly()
    {
        DesignFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        f.Press(QPoint(200, 150), Qt::ControlModifier);
        f.Move(QPoint(150, 250));
        f.Release(QPoint(150, 250));
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.document.UndoStack().count(), 0);
        // The outline on screen turned; the next redraw shows the item's rectangle again.
        QVERIFY(f.Surface()->Shapes().at(0).path.boundingRect().toAlignedRect()
                != QRect(100, 100, 100, 50));
        f.Design().RedrawShapes();
        QCOMPARE(f.Surface()->Shapes().at(0).path.boundingRect().toAlignedRect(),
                 QRect(100, 100, 100, 50));
    }

    void clickSelectsAndDeleteRemovesTheSelection()
    {
        DesignFixture f;
        f.Open();
        // Nothing selected: Delete removes nothing.
        QTest::keyClick(f.Surface(), Qt::Key_Delete);
        QCOMPARE(f.Page().itemCount, 3);
        f.Press(QPoint(305, 140));
        f.Release(QPoint(305, 140));
        QCOMPARE(f.Design().SelectedItem(), 1);
        QCOMPARE(f.Surface()->Shapes().at(1).pen.color(), QColor(205, 92, 92));
        QTest::keyClick(f.Surface(), Qt::Key_Delete);
        QCOMPARE(f.Page().itemCount, 2);
        QCOMPARE(f.Item(0).id, 1);
        QCOMPARE(f.Item(1).id, 7);
        QCOMPARE(f.Design().SelectedItem(), -1);
        QCOMPARE(f.Surface()->Selection(), -1);
        QTest::keyClick(f.Surface(), Qt::Key_Delete);
        QCOMPARE(f.Page().itemCount, 2);
        QCOMPARE(f.document.UndoStack().count(), 1);
        f.document.UndoStack().undo();
        QCOMPARE(f.Page().itemCount, 3);
        QCOMPARE(f.Item(1).id, 2);
    }

    // A press anywhere on an item, its outline or inside, selects it and a drag from there
    // moves it, whether it was selected or not; an empty place clears the selection.
    void bodyPressesSelectAndMove_data()
    {
        QTest::addColumn<int>("first");  // slot selected before (-1: none)
        QTest::addColumn<QPoint>("grip");
        QTest::addColumn<int>("slot");   // the slot that moves
        // Item 1 spans (100, 100)-(200, 150), its centre (150, 125); item 7 (500, 300)-(600, 350).
        QTest::newRow("centre of an unselected item") << -1 << QPoint(150, 125) << 0;
        QTest::newRow("inside, away from the outline") << -1 << QPoint(130, 132) << 0;
        QTest::newRow("inside the selected item, off its marker") << 0 << QPoint(130, 132) << 0;
        QTest::newRow("another item while one is selected") << 0 << QPoint(550, 325) << 2;
        QTest::newRow("on the outline, just outside") << 2 << QPoint(503, 296) << 2;
    }
    void bodyPressesSelectAndMove()
    {
        QFETCH(int, first);
        QFETCH(QPoint, grip);
        QFETCH(int, slot);
        DesignFixture f;
        f.Open();
        if (first >= 0) {
            const QPoint corner = f.Rect(first).topLeft().toPoint() + QPoint(8, 40);
            f.Press(corner);
            f.Release(corner);
            QCOMPARE(f.Design().SelectedItem(), first);
        }
        const QRectF before = f.Rect(slot);
        f.Press(grip);
        QCOMPARE(f.Surface()->Selection(), slot);
        QVERIFY(f.Surface()->IsDragging());
        f.Move(grip + QPoint(20, 10));
        f.Move(grip + QPoint(40, 20));
        f.Release(grip + QPoint(40, 20));
        QCOMPARE(f.Rect(slot), before.translated(40, 20));
        QCOMPARE(f.Design().SelectedItem(), slot);
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム移動"));

        // A click without a move only selects; an empty place clears the selection.
        f.document.UndoStack().undo();
        const int other = slot == 0 ? 1 : 0;
        const QPoint inside = f.Rect(other).center().toPoint() + QPoint(-20, 0);
        f.Press(inside);
        f.Release(inside);
        QCOMPARE(f.Design().SelectedItem(), other);
        f.Press(QPoint(800, 500));
        f.Release(QPoint(800, 500));
        QCOMPARE(f.Surface()->Selection(), -1);
        QCOMPARE(f.document.UndoStack().index(), 0);
    }

    // The centre marker of the selected item moves only the centre; the item stays.
    void centreMarkerMovesTheCentreOnly()
    {
        DesignFixture f;
        f.Open();
        f.Press(QPoint(130, 132));
        f.Release(QPoint(130, 132));
        QCOMPARE(f.Design().SelectedItem(), 0);
        QCOMPARE(f.Surface()->Tracker().BasePointsValue()[4], QPoint(150, 125));
        f.Press(QPoint(152, 127));
        f.Move(QPoint(170, 130));
        f.Move(QPoint(182, 137));
        f.Release(QPoint(182, 137));
        QCOMPARE(f.Surface()->Tracker().BasePointsValue()[4], QPoint(182, 137));
        QCOMPARE(f.Rect(0), QRectF(100, 100, 100, 50));
        QCOMPARE(f.document.UndoStack().count(), 0);
        // Further off the marker the body moves the item.
        f.Press(QPoint(160, 125));
        f.Move(QPoint(170, 125));
        f.Release(QPoint(170, 125));
        QCOMPARE(f.Rect(0), QRectF(110, 100, 100, 50));
    }

    // Inside items that lie one in another the innermost is picked, wherever it is in the
    // drawing order; the outer one is picked where only it is.
    void theInnermostItemIsPicked()
    {
        DesignFixture f;
        f.Open();
        const int outer = f.Design().AddItem(50, 60, 700, 400, AddItemMode::PageUnits);
        QVERIFY(outer > 0);
        QCOMPARE(f.Page().itemCount, 4);
        f.Press(QPoint(130, 132));
        f.Release(QPoint(130, 132));
        QCOMPARE(f.Design().SelectedItem(), 0);
        f.Press(QPoint(400, 250));
        f.Release(QPoint(400, 250));
        QCOMPARE(f.Design().SelectedItem(), 3);
        // With the outer one selected, a press inside item 2 picks item 2 and moves it.
        f.Press(QPoint(330, 132));
        f.Move(QPoint(340, 142));
        f.Release(QPoint(340, 142));
        QCOMPARE(f.Design().SelectedItem(), 1);
        QCOMPARE(f.Rect(1), QRectF(310, 110, 100, 50));
        QCOMPARE(f.Rect(3), QRectF(50, 60, 700, 400));
    }

    void contextMenuOffersWhatTheSlotAllows()
    {
        DesignFixture f;
        f.Open();
        QSignalSpy menus(f.Surface(), &CGraphTraker::ContextMenuRequested);
        f.RightClick(QPoint(700, 450));
        f.RightClick(QPoint(320, 130));
        QCOMPARE(menus.count(), 2);
        QCOMPARE(menus.at(0).at(0).toInt(), -1);
        QCOMPARE(menus.at(1).at(0).toInt(), 1);

        const QStringList labels = {
            QStringLiteral("アイテム属性..."), QStringLiteral("画像からサイズ取得"),
            QStringLiteral("Copy"), QStringLiteral("Paste(完全コピー)"),
            QStringLiteral("Paste(テキスト変更可)"), QStringLiteral("Paste(画像・テキスト変更可)"),
            QStringLiteral("アイテム作成"), QStringLiteral("テキスト枠作成"),
            QStringLiteral("アイテム削除")};
        auto enabled = [&](int index) {
            std::unique_ptr<QMenu> menu = f.Design().MakeMenu(index);
            QStringList texts;
            QList<bool> on;
            for (QAction *action : menu->actions()) {
                texts << action->text();
                on << action->isEnabled();
            }
            if (texts != labels)
                return QList<bool>();
            return on;
        };
        QCOMPARE(enabled(-1), (QList<bool>{false, false, false, false, false, false, true, true,
                                           false}));
        QCOMPARE(enabled(3), enabled(-1)); // not a used slot
        f.Design().RunCommand(32773, 1); // Copy
        QCOMPARE(enabled(1), QList<bool>(9, true));
    }

    void createAndPasteAtTheRightClick()
    {
        DesignFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        f.RightClick(QPoint(700, 400));
        f.Design().RunCommand(32803, -1); // アイテム作成
        QCOMPARE(f.Page().itemCount, 4);
        QCOMPARE(f.Item(3).id, 8);
        QCOMPARE(f.Rect(3), QRectF(700, 400, 200, 200));
        QCOMPARE(f.Item(3).text_no, f.model.texts.At(f.model.texts.Count() - 1)->id);
        QCOMPARE(f.model.pictures.Count(), 1);
        QCOMPARE(f.Surface()->Shapes().size(), size_t(4));

        f.Design().RunCommand(32773, 0); // Copy item 1
        f.RightClick(QPoint(40, 420));
        f.Design().RunCommand(32775, -1); // Paste(完全コピー)
        QCOMPARE(f.Page().itemCount, 5);
        QCOMPARE(f.Item(4).id, 9);
        QCOMPARE(f.Rect(4), QRectF(40, 420, 100, 50));

        QCOMPARE(f.document.UndoStack().count(), 2);
        f.document.UndoStack().undo();
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.Surface()->Shapes().size(), size_t(3));
    }

    void aFullPageRefusesNewItems()
    {
        DesignFixture f;
        f.Open();
        CMyProgramInfo &page = *f.model.pages.At(0);
        for (int i = 3; i < kItemSlots; ++i)
            page.items[size_t(i)] = NewItemSlot(i + 10, QRectF(0, 0, 5, 5));
        page.itemCount = kItemSlots;
        f.Design().RedrawShapes();
        const QByteArray before = f.Saved();
        f.Design().RunCommand(32773, 0);
        f.RightClick(QPoint(40, 420));
        f.Design().RunCommand(32811, -1);
        f.Design().RunCommand(32805, -1);
        QCOMPARE(f.Design().AddItem(10, 10, 0, 0, AddItemMode::DesignPoint), -1);
        QCOMPARE(f.prompt.Messages(), QStringList(3, QString::fromUtf16(kPageFullMessage)));
        QCOMPARE(f.prompt.records.at(0).caption, QStringLiteral("エラー"));
        QCOMPARE(f.Saved(), before);
        QCOMPARE(f.document.UndoStack().count(), 0);
    }

    void droppedImageBecomesAnItem()
    {
        DesignFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        const QString file = f.Path(QStringLiteral("photo.jpg"));
        QVERIFY(WriteJpeg(file, 400, 300));
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(file)});
        // A drop reaches the widget that took the drag's entry.
        QDragEnterEvent enter(QPoint(50, 260), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(f.Surface(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(50, 260), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(f.Surface(), &drop);
        QCOMPARE(f.Page().itemCount, 4);
        QCOMPARE(f.Rect(3), QRectF(50, 260, 200, 150));
        QCOMPARE(f.model.pictures.Count(), 1);
        QCOMPARE(f.Item(3).pic_no, f.model.pictures.At(0)->id);
        QCOMPARE(f.Design().SelectedItem(), 3);
        // Size from the image: a JPEG in an item of kind 100 is shown at a quarter.
        f.model.pages.At(0)->items[3].idg = 100;
        f.Design().RunCommand(32801, 3);
        QCOMPARE(f.Rect(3), QRectF(50, 260, 100, 75));
        QCOMPARE(f.document.UndoStack().count(), 2);
        f.document.UndoStack().undo();
        QCOMPARE(f.Rect(3), QRectF(50, 260, 200, 150));
        f.model.pages.At(0)->items[3].idg = 0;
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
    }

    void feedbackShowsOnTheBackgroundAndLeavesNothing()
    {
        DesignFixture f;
        f.Open();
        // The blank page picture is black behind the shapes.
        QCOMPARE(f.Surface()->grab().toImage().pixelColor(400, 380), QColor(Qt::black));
        f.Press(QPoint(108, 140));
        f.Move(QPoint(408, 390)); // the outline's left edge is now at x = 400
        const QImage during = f.Surface()->grab().toImage();
        QCOMPARE(during.pixelColor(400, 380), QColor(Qt::white));
        QCOMPARE(during.pixelColor(403, 380), QColor(Qt::black));
        QTest::keyClick(f.Surface(), Qt::Key_Escape);
        f.Release(QPoint(408, 390));
        QCOMPARE(f.Surface()->grab().toImage().pixelColor(400, 380), QColor(Qt::black));
    }

    void itemPropertiesWriteBackAndRedraw()
    {
        DesignFixture f;
        f.Open();
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<CDlgItemProp *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->Field(1023)->setText(QStringLiteral("77")); // width
            dialog->accept();
        });
        f.Design().RunCommand(32799, 2);
        QCOMPARE(f.Rect(2), QRectF(500, 300, 77, 50));
        QCOMPARE(f.Surface()->Shapes().at(2).rect, QRect(500, 300, 77, 50));
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム属性"));
        // A slot that the page does not use opens nothing.
        f.Design().RunCommand(32799, 3);
        QCOMPARE(f.document.UndoStack().count(), 1);
    }

    void addItemModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QRectF>("expected");
        // A surface of 1200 x 540: scale 1 with the page 120 pixels from the left.
        QTest::newRow("page units") << int(AddItemMode::PageUnits) << QRectF(220, 100, 50, 60);
        QTest::newRow("design point") << int(AddItemMode::DesignPoint)
                                      << QRectF(100, 100, 100, 100);
        QTest::newRow("design rectangle") << int(AddItemMode::DesignRect)
                                          << QRectF(100, 100, 50, 60);
        QTest::newRow("design position") << int(AddItemMode::DesignPosition)
                                         << QRectF(100, 100, 50, 60);
    }

    void addItemModes()
    {
        QFETCH(int, mode);
        QFETCH(QRectF, expected);
        DesignFixture f;
        f.Open();
        f.pane.resize(1200, 540);
        QCOMPARE(f.Design().Scale().ox, 120);
        QCOMPARE(f.Surface()->Shapes().at(0).rect, QRect(220, 100, 100, 50));
        QCOMPARE(f.Design().AddItem(220, 100, 50, 60, AddItemMode(mode)), 8);
        QCOMPARE(f.Rect(3), expected);
        QCOMPARE(f.Surface()->Shapes().size(), size_t(4));
    }

    void pointerTakesTheTrackerCursor()
    {
        DesignFixture f;
        f.Open();
        f.Press(QPoint(108, 140));
        f.Release(QPoint(108, 140));
        f.Move(QPoint(200, 150)); // bottom-right handle
        QCOMPARE(f.Surface()->cursor().shape(), Qt::SizeFDiagCursor);
        f.Move(QPoint(150, 100)); // top middle
        QCOMPARE(f.Surface()->cursor().shape(), Qt::SizeVerCursor);
        f.Move(QPoint(108, 140)); // body
        QCOMPARE(f.Surface()->cursor().shape(), Qt::SizeAllCursor);
        f.Move(QPoint(700, 450)); // nothing: the surface's own cursor
        QCOMPARE(f.Surface()->cursor().shape(), Qt::ArrowCursor);
    }

    void switchingModes()
    {
        DesignFixture f;
        f.Open();
        QVERIFY(f.Surface()->isVisible());
        QVERIFY(f.Surface()->acceptDrops());
        f.pane.SetDesignMode(false);
        QVERIFY(!f.Surface()->isVisible());
        QVERIFY(!f.Surface()->isEnabled());
        QVERIFY(!f.Surface()->acceptDrops());
        f.pane.SetDesignMode(true);
        QCOMPARE(f.Surface()->Shapes().size(), size_t(3));
    }
};

ORIN_TEST_CLASS(DesignSurfaceTest)
#include "tst_design_surface.moc"
