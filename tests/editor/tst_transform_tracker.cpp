// SPDX-License-Identifier: MIT
// The tracker's drag as a state machine, fed with plain messages: results, matrices, the
// anchor, panning, cancelling and the cursors it asks for.

#include "editor/transform_tracker.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

namespace {

class CRecordingWindow : public TrackerWindow {
public:
    QList<int> cursors;
    int changes = 0;
    void SetTrackerCursor(int slot) override { cursors.append(slot); }
    void TrackerChanged() override { ++changes; }
};

// A tracker as the design surface sets it up, around the rectangle (100, 100)-(400, 300).
struct Rig {
    CRecordingWindow window;
    QTransformTracker tracker{&window};
    Rig()
    {
        tracker.options = 0xBF;
        tracker.SetSizes(6, 0, 0);
        QPainterPath path;
        path.addRect(QRectF(100, 100, 300, 200));
        tracker.AttachPath(path, true);
    }
    // A press, moves through `points` and a release at the last of them.
    int Drag(QPoint from, const QList<QPoint> &points, int keys = 0, int releaseKeys = 0)
    {
        if (const int refused = tracker.RunDrag(keys | trackkey::kLeftButton, from))
            return refused;
        for (const QPoint &p : points) {
            if (const int r = tracker.Mouse(kTrackMouseMove, keys | trackkey::kLeftButton, p))
                return r;
        }
        return tracker.Mouse(kTrackLeftUp, releaseKeys,
                             points.isEmpty() ? from : points.last());
    }
    QPointF Map(QPointF p) const { return tracker.Matrix().map(p); }
};

} // namespace

class TransformTrackerTest : public QObject {
    Q_OBJECT

private slots:
    void results_data()
    {
        QTest::addColumn<QPoint>("press");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<int>("releaseKeys");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("lastMode");
        QTest::newRow("move") << QPoint(105, 150) << QList<QPoint>{{150, 210}} << 0 << 1
                              << int(kModeMove);
        QTest::newRow("click") << QPoint(105, 150) << QList<QPoint>{} << 0 << 3
                               << int(kModeMove);
        QTest::newRow("back where it started")
            << QPoint(105, 150) << QList<QPoint>{{150, 210}, {105, 200}} << 0 << 1
            << int(kModeMove);
        QTest::newRow("Ctrl at the release") << QPoint(400, 300) << QList<QPoint>{{450, 320}}
                                             << int(trackkey::kCtrl) << 2 << int(kModeScale);
        QTest::newRow("centre, Ctrl at the release")
            << QPoint(250, 200) << QList<QPoint>{{260, 220}} << int(trackkey::kCtrl) << 1
            << int(kModeCentre);
        QTest::newRow("middle of the frame moves")
            << QPoint(200, 170) << QList<QPoint>{{230, 180}} << 0 << 1 << int(kModeMove);
        QTest::newRow("on no element") << QPoint(60, 170) << QList<QPoint>{} << 0 << -2
                                       << int(kModeNone);
    }

    void results()
    {
        QFETCH(QPoint, press);
        QFETCH(QList<QPoint>, moves);
        QFETCH(int, releaseKeys);
        QFETCH(int, expected);
        QFETCH(int, lastMode);
        Rig rig;
        QCOMPARE(rig.Drag(press, moves, 0, releaseKeys), expected);
        QVERIFY(!rig.tracker.IsTracking());
        QCOMPARE(rig.tracker.LastMode(), lastMode);
        QCOMPARE(rig.tracker.Mode(), int(kModeNone));
        QVERIFY(rig.tracker.FeedbackTextValue().isEmpty());
        if (expected == 3 || expected < 0)
            QVERIFY(rig.tracker.Matrix().isIdentity());
    }

    // The owner's move drag grabs the whole outline even on a handle or the centre marker, and
    // is refused only without an outline.
    void moveDragGrabsTheWholeOutline()
    {
        Rig rig;
        QCOMPARE(rig.tracker.RunMoveDrag(trackkey::kLeftButton, QPoint(400, 300)), 0);
        QCOMPARE(rig.tracker.HitElement(), int(kElementBody));
        QCOMPARE(rig.tracker.Mouse(kTrackMouseMove, trackkey::kLeftButton, QPoint(420, 330)), 0);
        QCOMPARE(rig.tracker.Mouse(kTrackLeftUp, 0, QPoint(420, 330)), 1);
        QCOMPARE(rig.tracker.LastMode(), int(kModeMove));
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(120, 130));
        // The next ordinary press on the corner scales again.
        QCOMPARE(rig.tracker.RunDrag(trackkey::kLeftButton, QPoint(400, 300)), 0);
        QCOMPARE(rig.tracker.Mode(), int(kModeScale));
        rig.tracker.Abort();

        rig.tracker.DetachPath();
        QCOMPARE(rig.tracker.RunMoveDrag(trackkey::kLeftButton, QPoint(200, 170)), kDragRefused);
    }

    void refusedWithoutTheMouse()
    {
        Rig rig;
        QCOMPARE(rig.tracker.RunDrag(0, QPoint(105, 150), true), -2);
        QVERIFY(!rig.tracker.IsTracking());
        rig.tracker.DetachPath();
        QCOMPARE(rig.tracker.RunDrag(0, QPoint(105, 150)), -2);
        QPainterPath empty;
        empty.addRect(QRectF(5, 5, 0, 10));
        rig.tracker.AttachPath(empty, true);
        QVERIFY(!rig.tracker.IsAttached());
    }

    void cancelsPutTheFrameBack_data()
    {
        QTest::addColumn<int>("how"); // 0 Escape, 1 right button, 2 focus lost
        QTest::addColumn<int>("expected");
        QTest::newRow("Escape") << 0 << -1;
        QTest::newRow("right button") << 1 << -1;
        QTest::newRow("focus lost") << 2 << -2;
    }

    void cancelsPutTheFrameBack()
    {
        QFETCH(int, how);
        QFETCH(int, expected);
        Rig rig;
        const TrackPoints base = rig.tracker.BasePointsValue();
        QCOMPARE(rig.tracker.RunDrag(trackkey::kLeftButton, QPoint(400, 300)), 0);
        QCOMPARE(rig.tracker.Mouse(kTrackMouseMove, trackkey::kLeftButton, QPoint(500, 350)), 0);
        QCOMPARE(rig.tracker.CurrentPointsValue()[2], QPoint(500, 350));
        QVERIFY(!rig.tracker.FeedbackTextValue().isEmpty());
        int result = 0;
        if (how == 0) {
            QCOMPARE(rig.tracker.Key(kTrackKeyDown, Qt::Key_Shift), 0); // other keys run on
            result = rig.tracker.Key(kTrackKeyDown, Qt::Key_Escape);
        } else if (how == 1) {
            result = rig.tracker.Mouse(kTrackRightDown, trackkey::kRightButton, QPoint(500, 350));
        } else {
            result = rig.tracker.Abort();
        }
        QCOMPARE(result, expected);
        QVERIFY(rig.tracker.Matrix().isIdentity());
        QCOMPARE(rig.tracker.CurrentPointsValue(), base);
        // Messages after the end belong to no drag.
        QCOMPARE(rig.tracker.Mouse(kTrackLeftUp, 0, QPoint(1, 1)), 0);
    }

    void moveWithShiftKeepsTheLine()
    {
        Rig rig;
        QCOMPARE(rig.Drag(QPoint(105, 150), {{140, 180}}, 0, 0), 1);
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(135, 130));
        QCOMPARE(rig.Drag(QPoint(105, 150), {{140, 180}}, 0, trackkey::kShift), 1);
        // (35, 30) is nearer the diagonal: the move becomes (30, 30).
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(130, 130));
        QCOMPARE(rig.Drag(QPoint(105, 150), {{160, 160}}, trackkey::kShift, trackkey::kShift), 1);
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(155, 100));
    }

    void scaleAboutTheOppositeCornerOrTheCentre()
    {
        Rig rig;
        // Bottom-right corner to (700, 400): three times as wide, one and a half as high.
        QCOMPARE(rig.Drag(QPoint(400, 300), {{700, 400}}), 1);
        QCOMPARE(rig.tracker.LastMode(), int(kModeScale));
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(100, 100));
        QCOMPARE(rig.Map(QPointF(400, 300)), QPointF(700, 400));
        // With Shift both take the smaller factor.
        QCOMPARE(rig.Drag(QPoint(400, 300), {{700, 400}}, 0, trackkey::kShift), 1);
        QCOMPARE(rig.Map(QPointF(400, 300)), QPointF(550, 400));
        // With Alt the centre stays.
        QCOMPARE(rig.Drag(QPoint(400, 300), {{550, 400}}, trackkey::kAlt, trackkey::kAlt), 1);
        QCOMPARE(rig.Map(QPointF(250, 200)), QPointF(250, 200));
        QCOMPARE(rig.Map(QPointF(400, 300)), QPointF(550, 400));
        QCOMPARE(rig.tracker.FeedbackTextValue(), QString()); // emptied at the end
    }

    void ctrlCornerRotatesAboutTheCentre()
    {
        Rig rig;
        // The top-right corner (400, 100) is at -33.7 degrees from the centre; dragged to
        // straight below the centre it has turned by 123.7 degrees, with Shift by 120.
        const int keys = trackkey::kCtrl | trackkey::kShift;
        QCOMPARE(rig.Drag(QPoint(400, 100), {{250, 400}}, keys, trackkey::kShift), 1);
        QCOMPARE(rig.tracker.LastMode(), int(kModeRotate));
        QCOMPARE(rig.Map(QPointF(250, 200)), QPointF(250, 200));
        const QPointF corner = rig.Map(QPointF(400, 100));
        // A turn of 120 degrees moves the corner to -33.69 + 120 = 86.31 degrees.
        const double angle = std::atan2(corner.y() - 200, corner.x() - 250) * 180 / M_PI;
        QVERIFY2(std::abs(angle - 86.31) < 0.01, qPrintable(QString::number(angle)));
        QVERIFY(rig.window.cursors.contains(7));
    }

    void ctrlEdgeShears()
    {
        Rig rig;
        // Right middle (400, 200) pulled down by 150 against the left middle as anchor.
        QCOMPARE(rig.Drag(QPoint(400, 200), {{400, 350}}, trackkey::kCtrl), 1);
        QCOMPARE(rig.tracker.LastMode(), int(kModeShear));
        QCOMPARE(rig.Map(QPointF(100, 200)), QPointF(100, 200));
        QCOMPARE(rig.Map(QPointF(400, 200)), QPointF(400, 350));
        QVERIFY(rig.window.cursors.contains(9));
    }

    void spacePushesTheOutline()
    {
        Rig rig;
        QCOMPARE(rig.tracker.RunDrag(trackkey::kLeftButton, QPoint(400, 300)), 0);
        // Space held: the steps translate whatever the mode.
        const int space = trackkey::kLeftButton | trackkey::kSpace;
        QCOMPARE(rig.tracker.Mouse(kTrackMouseMove, space, QPoint(410, 305)), 0);
        QCOMPARE(rig.tracker.Mouse(kTrackMouseMove, space, QPoint(420, 310)), 0);
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(120, 110));
        // Released: the scale goes on from the pushed anchor.
        QCOMPARE(rig.tracker.Mouse(kTrackLeftUp, 0, QPoint(720, 410)), 1);
        QCOMPARE(rig.Map(QPointF(100, 100)), QPointF(120, 110));
        QCOMPARE(rig.Map(QPointF(400, 300)), QPointF(720, 410));
    }

    void centreDragMovesTheCentreOnly()
    {
        Rig rig;
        QCOMPARE(rig.Drag(QPoint(250, 200), {{300, 260}}), 1);
        QVERIFY(rig.tracker.Matrix().isIdentity());
        QCOMPARE(rig.tracker.BasePointsValue()[4], QPoint(300, 260));
        // A rotation now turns about the moved centre.
        QCOMPARE(rig.Drag(QPoint(400, 100), {{420, 120}}, trackkey::kCtrl), 1);
        QCOMPARE(rig.Map(QPointF(300, 260)), QPointF(300, 260));
    }
};

ORIN_TEST_CLASS(TransformTrackerTest)
#include "tst_transform_tracker.moc"
