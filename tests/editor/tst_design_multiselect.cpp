// SPDX-License-Identifier: MIT
// Several items selected on the design surface: a rubber band and Shift-clicks select them,
// a drag of any of them moves all of them as one step (snapped as one box), Delete and the
// arrow keys work on all of them, and slots that an undo takes away leave the selection.

#include "design_fixture.h"
#include "test_registry.h"

#include "editor/design_commands.h"

#include <QUndoStack>
#include <QtTest>

using namespace orin;
using namespace orin::test;

using Slots = std::vector<int>;

namespace {

void Band(DesignFixture &f, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
{
    f.Press(from, keys);
    f.Move((from + to) / 2);
    f.Move(to);
    QVERIFY(!f.Surface()->Band().isNull());
    f.Release(to, keys);
    QVERIFY(f.Surface()->Band().isNull());
}

void Drag(DesignFixture &f, QPoint from, QPoint to)
{
    f.Press(from);
    f.Move((from + to) / 2);
    f.Move(to);
    f.Release(to);
}

} // namespace

class DesignMultiSelectTest : public QObject {
    Q_OBJECT

private slots:
    void bandSelectsAndTheSelectionMovesAsOne()
    {
        DesignFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        // From an empty place over items 1 (inside) and 2 (touched at its left part).
        Band(f, QPoint(50, 50), QPoint(320, 200));
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1}));
        QCOMPARE(f.Surface()->Group(), (Slots{0, 1}));
        QCOMPARE(f.Surface()->Shapes().at(0).pen.color(), QColor(205, 92, 92));
        QCOMPARE(f.Surface()->Shapes().at(1).pen.color(), QColor(205, 92, 92));
        QCOMPARE(f.Surface()->Shapes().at(2).pen.color(), QColor(144, 238, 144));
        QCOMPARE(f.document.UndoStack().count(), 0);

        // A drag of the item that is not the primary one takes both along.
        Drag(f, QPoint(108, 140), QPoint(158, 160));
        QCOMPARE(f.Rect(0), QRectF(150, 120, 100, 50));
        QCOMPARE(f.Rect(1), QRectF(350, 120, 100, 50));
        QCOMPARE(f.Rect(2), QRectF(500, 300, 100, 50));
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム移動"));
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1}));
        QCOMPARE(f.Design().SelectedItem(), 0);
        const QByteArray moved = f.Saved();
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);
        f.document.UndoStack().redo();
        QCOMPARE(f.Saved(), moved);
        f.document.UndoStack().undo();

        // With snapping the box of both snaps: its right edge (400 + 77) to the page centre.
        f.Design().SetSnap(true, 0);
        Drag(f, QPoint(308, 140), QPoint(385, 140));
        QCOMPARE(f.Rect(0), QRectF(180, 100, 100, 50));
        QCOMPARE(f.Rect(1), QRectF(380, 100, 100, 50));
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);

        // Arrow keys nudge the selection, a burst being one step.
        QTest::keyClick(f.Surface(), Qt::Key_Right);
        QTest::keyClick(f.Surface(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(f.Rect(0), QRectF(101, 110, 100, 50));
        QCOMPARE(f.Rect(1), QRectF(301, 110, 100, 50));
        QCOMPARE(f.Rect(2), QRectF(500, 300, 100, 50));
        QCOMPARE(f.document.UndoStack().index(), 1);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);

        // A click without a move on one of them selects it alone; an empty place nothing.
        f.Press(QPoint(305, 140));
        f.Release(QPoint(305, 140));
        QCOMPARE(f.Design().SelectedSlots(), (Slots{1}));
        f.Press(QPoint(800, 500));
        f.Release(QPoint(800, 500));
        QCOMPARE(f.Design().SelectedSlots(), Slots{});
        QCOMPARE(f.Design().SelectedItem(), -1);
        QCOMPARE(f.Saved(), before);
    }

    void shiftClicksAndDeleteOfTheSelection()
    {
        DesignFixture f;
        f.Open();
        const QByteArray before = f.Saved();
        f.Press(QPoint(108, 140));
        f.Release(QPoint(108, 140));
        f.Press(QPoint(505, 340), Qt::ShiftModifier);
        f.Release(QPoint(505, 340), Qt::ShiftModifier);
        f.Press(QPoint(305, 140), Qt::ShiftModifier);
        f.Release(QPoint(305, 140), Qt::ShiftModifier);
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1, 2}));
        QCOMPARE(f.Design().SelectedItem(), 1);
        // Shift on a selected item takes it out; Shift and a band adds.
        f.Press(QPoint(505, 340), Qt::ShiftModifier);
        f.Release(QPoint(505, 340), Qt::ShiftModifier);
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1}));
        QCOMPARE(f.document.UndoStack().count(), 0);

        QTest::keyClick(f.Surface(), Qt::Key_Delete);
        QCOMPARE(f.Page().itemCount, 1);
        QCOMPARE(f.Item(0).id, 7);
        QCOMPARE(f.document.UndoStack().count(), 1);
        QCOMPARE(f.document.UndoStack().undoText(), QStringLiteral("アイテム削除"));
        QVERIFY(f.Design().SelectedSlots().empty());
        QCOMPARE(f.Surface()->Selection(), -1);
        f.document.UndoStack().undo();
        QCOMPARE(f.Saved(), before);

        Band(f, QPoint(450, 250), QPoint(700, 400), Qt::ShiftModifier);
        QCOMPARE(f.Design().SelectedSlots(), (Slots{2}));
        // Escape drops a running band; the selection stays.
        f.Press(QPoint(20, 20));
        f.Move(QPoint(400, 400));
        QTest::keyClick(f.Surface(), Qt::Key_Escape);
        f.Release(QPoint(400, 400));
        QCOMPARE(f.Design().SelectedSlots(), (Slots{2}));
    }

    void slotsThatGoLeaveTheSelection()
    {
        DesignFixture f;
        f.Open();
        QVERIFY(f.Design().AddItem(700, 400, 50, 50, AddItemMode::PageUnits) > 0);
        Band(f, QPoint(10, 10), QPoint(950, 530));
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1, 2, 3}));
        // The undo takes the new item away: its slot is no longer selected.
        f.document.UndoStack().undo();
        QCOMPARE(f.Design().SelectedSlots(), (Slots{0, 1, 2}));
        QCOMPARE(f.Surface()->Group(), (Slots{0, 1, 2}));
        // Another page (here: none) clears the selection.
        f.pane.ShowPage(-1);
        QVERIFY(f.Design().SelectedSlots().empty());
        f.pane.ShowPage(0);
        QVERIFY(f.Design().SelectedSlots().empty());
    }
};

ORIN_TEST_CLASS(DesignMultiSelectTest)
#include "tst_design_multiselect.moc"
