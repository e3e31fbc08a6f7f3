// SPDX-License-Identifier: MIT
// The transform tracker's rules on plain values: hit tests, constraints, factors, matrices,
// cursors and step texts.

#include "editor/tracker_math.h"

#include "test_registry.h"

#include <QtTest>

using namespace orin;

namespace {

// A frame from (100, 100) to (400, 300) with handle size 6, its centre at (250, 200).
const TrackFrame kFrame{100, 100, 400, 300};
const TrackPoints kPoints = BasePoints(kFrame, 0, true, QPoint());

} // namespace

Q_DECLARE_METATYPE(orin::TrackFrame)

class TrackerMathTest : public QObject {
    Q_OBJECT

private slots:
    void elementPositions()
    {
        QCOMPARE(ElementPosition(kPoints, 0), QPoint(100, 100));
        QCOMPARE(ElementPosition(kPoints, 1), QPoint(250, 100));
        QCOMPARE(ElementPosition(kPoints, 4), QPoint(400, 300));
        QCOMPARE(ElementPosition(kPoints, 7), QPoint(100, 200)); // between corners 3 and 0
        QCOMPARE(ElementPosition(kPoints, 8), QPoint(250, 200));
        const TrackPoints grown = BasePoints(kFrame, 2, false, QPoint(7, 9));
        QCOMPARE(grown[0], QPoint(98, 98));
        QCOMPARE(grown[4], QPoint(7, 9)); // the centre kept
    }

    void elementAt_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<int>("options");
        QTest::addColumn<TrackFrame>("frame");
        QTest::addColumn<int>("expected");
        const TrackFrame big = kFrame;
        // Handle 2 at (400, 100): a cross 15 units to each side along its 6-unit band.
        QTest::newRow("15 left of a handle") << QPoint(385, 100) << 0xBF << big << 2;
        QTest::newRow("16 left of a handle, above the frame") << QPoint(384, 97) << 0xBF << big << -1;
        QTest::newRow("14 right of a handle") << QPoint(414, 102) << 0xBF << big << 2;
        QTest::newRow("15 right of a handle") << QPoint(415, 100) << 0xBF << big << -1;
        QTest::newRow("15 below a handle") << QPoint(400, 114) << 0xBF << big << 2;
        // The handle wins over the body under it: lower codes first.
        QTest::newRow("handle over body") << QPoint(110, 100) << 0xBF << big << 0;
        QTest::newRow("left middle") << QPoint(105, 199) << 0xBF << big << 7;
        // The body is the whole inside of the frame, not a band along its edges.
        QTest::newRow("below a handle's band") << QPoint(390, 103) << 0xBF << big << 9;
        QTest::newRow("near the left edge") << QPoint(117, 150) << 0xBF << big << 9;
        QTest::newRow("middle of the frame") << QPoint(200, 170) << 0xBF << big << 9;
        QTest::newRow("last unit inside") << QPoint(399, 250) << 0xBF << big << 9;
        QTest::newRow("outside the frame") << QPoint(99, 150) << 0xBF << big << -1;
        QTest::newRow("right edge is outside") << QPoint(400, 250) << 0xBF << big << -1;
        // The centre's drag is on its marker only: one handle size around the centre.
        QTest::newRow("centre") << QPoint(250, 200) << 0xBF << big << 8;
        QTest::newRow("corner of the marker") << QPoint(256, 194) << 0xBF << big << 8;
        QTest::newRow("beside the marker") << QPoint(257, 200) << 0xBF << big << 9;
        QTest::newRow("on the marker's line, further out") << QPoint(240, 200) << 0xBF << big << 9;
        QTest::newRow("centre without 0x10 is body") << QPoint(250, 200) << 0xAF << big << 9;
        // A frame under 4 handle sizes either way keeps its middle for moving.
        const TrackFrame low{100, 100, 160, 123};
        QTest::newRow("by the centre of a low frame") << QPoint(136, 111) << 0xBF << low << 9;
        const TrackFrame square{100, 100, 140, 140};
        QTest::newRow("centre of a small square") << QPoint(120, 120) << 0xBF << square << 8;
    }

    void elementAt()
    {
        QFETCH(QPoint, point);
        QFETCH(int, options);
        QFETCH(TrackFrame, frame);
        QFETCH(int, expected);
        const TrackPoints points = BasePoints(frame, 0, true, QPoint());
        QCOMPARE(ElementAt(frame, points, 6, options, point), expected);
    }

    void modesAndAnchors_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("keys");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("anchor");
        QTest::newRow("body") << 9 << 0 << 0xBF << int(kModeMove) << 8;
        QTest::newRow("centre") << 8 << 0 << 0xBF << int(kModeCentre) << 8;
        QTest::newRow("corner") << 2 << 0 << 0xBF << int(kModeScale) << 6;
        QTest::newRow("corner, Alt") << 2 << trackkey::kAlt << 0xBF << int(kModeScale) << 8;
        QTest::newRow("Ctrl corner") << 4 << trackkey::kCtrl << 0xBF << int(kModeRotate) << 8;
        QTest::newRow("Ctrl Alt corner")
            << 4 << (trackkey::kCtrl | trackkey::kAlt) << 0xBF << int(kModeRotate) << 0;
        QTest::newRow("Ctrl corner, no rotation") << 4 << trackkey::kCtrl << 0xBE
                                                  << int(kModeScale) << 0;
        QTest::newRow("Ctrl edge") << 3 << trackkey::kCtrl << 0xBF << int(kModeShear) << 7;
        QTest::newRow("Ctrl edge, no shear") << 3 << trackkey::kCtrl << 0xBD << int(kModeScale)
                                             << 7;
        QTest::newRow("Alt without 0x08") << 1 << trackkey::kAlt << 0xB7 << int(kModeScale) << 5;
    }

    void modesAndAnchors()
    {
        QFETCH(int, element);
        QFETCH(int, keys);
        QFETCH(int, options);
        QFETCH(int, mode);
        QFETCH(int, anchor);
        const int found = ModeForElement(element, keys, options);
        QCOMPARE(found, mode);
        QCOMPARE(AnchorElement(element, AnchorToggle(found, keys, options)), anchor);
    }

    void constrain_data()
    {
        QTest::addColumn<QPoint>("v");
        QTest::addColumn<QPoint>("expected");
        QTest::newRow("horizontal") << QPoint(10, 4) << QPoint(10, 0);
        QTest::newRow("diagonal, x larger") << QPoint(10, 6) << QPoint(6, 6);
        QTest::newRow("vertical") << QPoint(-3, 9) << QPoint(0, 9);
        QTest::newRow("diagonal, y larger") << QPoint(-6, -10) << QPoint(-6, -6);
        QTest::newRow("diagonal, negative x") << QPoint(-10, 7) << QPoint(-7, 7);
    }

    void constrain()
    {
        QFETCH(QPoint, v);
        QFETCH(QPoint, expected);
        const QPoint reference(50, 60);
        QCOMPARE(Constrain(reference + v, reference), reference + expected);
    }

    void shiftRotation_data()
    {
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("expected");
        QTest::newRow("22") << 22.0 << 15.0;
        QTest::newRow("22.5") << 22.5 << 30.0;
        QTest::newRow("-7.6") << -7.6 << -15.0;
        QTest::newRow("-7.5") << -7.5 << 0.0;
        QTest::newRow("172.5") << 172.5 << 180.0;
        QTest::newRow("-172.5") << -172.5 << -165.0;
        QTest::newRow("200") << 200.0 << -165.0;
    }

    void shiftRotation()
    {
        QFETCH(double, angle);
        QFETCH(double, expected);
        QCOMPARE(RoundAngle(angle), expected);
    }

    void rotationAngleFromTheStart()
    {
        // Grabbed at 170 degrees, now at -170: a turn of 20, not of -340.
        const double start = 170;
        const QPointF now(std::cos(-170 * M_PI / 180), std::sin(-170 * M_PI / 180));
        QVERIFY(std::abs(RotationAngle(now, start, false) - 20) < 1e-9);
        QCOMPARE(RotationAngle(QPointF(0, 1), 0, true), 90.0);
    }

    void scaleFactors_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<QPointF>("d");
        QTest::addColumn<int>("options");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<QPointF>("expected");
        // e = (100, 100) throughout: d / 100 are the raw factors.
        QTest::newRow("corner") << 4 << QPointF(200, 50) << 0xBF << false << QPointF(2, 0.5);
        QTest::newRow("corner, Shift, mirrored")
            << 4 << QPointF(200, -50) << 0xBF << true << QPointF(0.5, -0.5);
        QTest::newRow("corner, Shift, no mirroring")
            << 4 << QPointF(200, -50) << 0xBB << true << QPointF(0, 0);
        QTest::newRow("corner, no mirroring")
            << 4 << QPointF(-50, 150) << 0xBB << false << QPointF(0, 1.5);
        QTest::newRow("top middle") << 1 << QPointF(300, 50) << 0xBF << false << QPointF(1, 0.5);
        QTest::newRow("top middle, Shift")
            << 5 << QPointF(300, -50) << 0xBF << true << QPointF(-0.5, -0.5);
        QTest::newRow("left middle") << 7 << QPointF(300, 50) << 0xBF << false << QPointF(3, 1);
        QTest::newRow("right middle, Shift")
            << 3 << QPointF(300, 50) << 0xBF << true << QPointF(3, 3);
    }

    void scaleFactors()
    {
        QFETCH(int, element);
        QFETCH(QPointF, d);
        QFETCH(int, options);
        QFETCH(bool, shift);
        QFETCH(QPointF, expected);
        QCOMPARE(ScaleFactors(element, d, QPointF(100, 100), options, shift), expected);
    }

    void zeroDivisorsLeaveTheFactor()
    {
        QCOMPARE(ScaleFactors(4, QPointF(30, 40), QPointF(0, 20), 0xBF, false), QPointF(1, 2));
        const ShearStep step = ShearFactors(3, QPointF(0, 40), QPointF(0, 20), 0xBF);
        QCOMPARE(step.hy, 0.0);
        QCOMPARE(step.sx, 1.0);
    }

    void matrices()
    {
        // Scale: the anchor stays, the grabbed corner goes where the pointer is.
        const QTransform scale = ScaleMatrix(QPointF(100, 100), 2, 0.5, QPointF(100, 100));
        QCOMPARE(scale.map(QPointF(100, 100)), QPointF(100, 100));
        QCOMPARE(scale.map(QPointF(400, 300)), QPointF(700, 200));
        // Mirroring across the anchor.
        QCOMPARE(ScaleMatrix(QPointF(100, 100), -1, 1, QPointF(100, 100)).map(QPointF(400, 100)),
                 QPointF(-200, 100));
        // Rotation: positive turns clockwise on the y-down surface.
        const QTransform rotate = RotateMatrix(QPointF(250, 200), 90, QPointF(250, 200));
        const QPointF turned = rotate.map(QPointF(350, 200));
        QVERIFY(std::abs(turned.x() - 250) < 1e-9 && std::abs(turned.y() - 300) < 1e-9);
        // Shear on the right middle: y' = y + hy x relative to the anchor, scale first.
        ShearStep step = ShearFactors(3, QPointF(300, 150), QPointF(300, 100), 0xBF);
        QCOMPARE(step.hy, 0.5);
        QCOMPARE(step.feedback, -50.0);
        const QTransform shear = ShearMatrix(QPointF(100, 200), step, false, QPointF(100, 200));
        QCOMPARE(shear.map(QPointF(400, 200)), QPointF(400, 350));
        QCOMPARE(ShearMatrix(QPointF(100, 200), {0, 0, 2, 1, 0}, true, QPointF(100, 200))
                     .map(QPointF(400, 200)),
                 QPointF(400, 200)); // Shift: no scale
        QCOMPARE(MoveMatrix(QPoint(10, 10), QPoint(25, 5)).map(QPointF(0, 0)), QPointF(15, -5));
    }

    void cursorSlots_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("space");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("mirrored");
        QTest::addColumn<bool>("sxNegative");
        QTest::addColumn<int>("expected");
        QTest::newRow("none") << -1 << false << false << 0 << false << false << -1;
        QTest::newRow("top-left") << 0 << false << false << 0 << false << false << 0;
        QTest::newRow("top-right") << 2 << false << false << 0 << false << false << 1;
        QTest::newRow("top-right mirrored") << 2 << false << false << 0 << true << false << 0;
        QTest::newRow("corner scale turned over")
            << 4 << false << false << int(kModeScale) << false << true << 1;
        QTest::newRow("Ctrl corner") << 6 << true << false << 0 << false << false << 7;
        QTest::newRow("rotating") << 6 << false << false << int(kModeRotate) << false << false
                                  << 7;
        QTest::newRow("top middle") << 1 << false << false << 0 << false << false << 2;
        QTest::newRow("right middle") << 3 << false << false << 0 << false << false << 3;
        QTest::newRow("Ctrl right middle") << 3 << true << false << 0 << false << false << 9;
        QTest::newRow("shearing top") << 5 << false << false << int(kModeShear) << false << false
                                      << 8;
        QTest::newRow("centre") << 8 << false << true << 0 << false << false << 4;
        QTest::newRow("body") << 9 << false << false << 0 << false << false << 5;
        QTest::newRow("body, Ctrl") << 9 << true << false << 0 << false << false << 6;
        QTest::newRow("Space over a handle") << 2 << false << true << 0 << false << false << 5;
    }

    void cursorSlots()
    {
        QFETCH(int, element);
        QFETCH(bool, ctrl);
        QFETCH(bool, space);
        QFETCH(int, mode);
        QFETCH(bool, mirrored);
        QFETCH(bool, sxNegative);
        QFETCH(int, expected);
        CursorQuery query;
        query.element = element;
        query.options = 0xBF;
        query.ctrl = ctrl;
        query.space = space;
        query.mode = mode;
        query.mirrored = mirrored;
        query.cornerScale = mode == kModeScale;
        query.sxNegative = sxNegative;
        QCOMPARE(CursorSlot(query), expected);
    }

    void feedbackTexts_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<QString>("expected");
        QTest::newRow("move") << 1 << 12.9 << -3.7 << QStringLiteral("x:12  y:-3");
        QTest::newRow("scale") << 2 << 300.5 << 150.0 << QStringLiteral("300 × 150");
        QTest::newRow("rotate") << 3 << -45.9 << 0.0 << QStringLiteral("-45°");
        QTest::newRow("shear") << 4 << 50.0 << 0.0 << QStringLiteral("50%");
        QTest::newRow("centre") << 5 << 1.0 << 2.0 << QStringLiteral("x:1  y:2");
        QTest::newRow("other") << 6 << 1.0 << 2.0 << QString();
    }

    void feedbackTexts()
    {
        QFETCH(int, kind);
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(QString, expected);
        QCOMPARE(FeedbackText(kind, a, b), expected);
    }
};

ORIN_TEST_CLASS(TrackerMathTest)
#include "tst_tracker_math.moc"
