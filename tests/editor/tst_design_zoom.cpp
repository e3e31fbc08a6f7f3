// SPDX-License-Identifier: MIT
// Zoom of the design surface: the mapping on plain values, Ctrl and the wheel about the
// pointer, drags in page units while zoomed, and Ctrl+0 back to the fit.

#include "design_fixture.h"
#include "test_registry.h"

#include <QWheelEvent>
#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

void Wheel(QWidget *widget, QPoint at, int eighths, Qt::KeyboardModifiers keys)
{
    QWheelEvent event(QPointF(at), QPointF(widget->mapToGlobal(at)), QPoint(),
                      QPoint(0, eighths), Qt::NoButton, keys, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class DesignZoomTest : public QObject {
    Q_OBJECT

private slots:
    void zoomScale_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<float>("s");
        QTest::addColumn<int>("ox");
        QTest::addColumn<int>("oy");
        // The fit is s 0.5 with 40 pixels left; page point (100, 60) stays at (90, 30).
        QTest::newRow("fit") << 1.0 << 0.5f << 40 << 0;
        QTest::newRow("double") << 2.0 << 1.0f << -10 << -30;
        QTest::newRow("half") << 0.5 << 0.25f << 65 << 15;
        QTest::newRow("zero is the fit") << 0.0 << 0.5f << 40 << 0;
        QTest::newRow("not a number is the fit") << qQNaN() << 0.5f << 40 << 0;
    }

    void zoomScale()
    {
        QFETCH(double, zoom);
        QFETCH(float, s);
        QFETCH(int, ox);
        QFETCH(int, oy);
        const DesignScale fit{0.5f, 40, 0};
        const DesignScale scale = ZoomDesignScale(fit, zoom, QPointF(100, 60), QPointF(90, 30));
        QCOMPARE(scale.s, s);
        QCOMPARE(scale.ox, ox);
        QCOMPARE(scale.oy, oy);
    }

    void ctrlWheelZoomsAboutThePointer()
    {
        DesignFixture f;
        f.Open();
        // Without Ctrl the wheel does not zoom.
        Wheel(f.Surface(), QPoint(150, 125), 120, Qt::NoModifier);
        QCOMPARE(f.Design().Zoom(), 1.0);
        // Half a notch waits for the other half.
        Wheel(f.Surface(), QPoint(150, 125), 60, Qt::ControlModifier);
        QCOMPARE(f.Design().Zoom(), 1.0);
        Wheel(f.Surface(), QPoint(150, 125), 60, Qt::ControlModifier);
        QCOMPARE(f.Design().Zoom(), 1.25);
        QCOMPARE(f.Design().Scale().s, 1.25f);
        // Item 1's centre was under the pointer and stays there (within the whole pixels of
        // the offsets).
        const QRectF shape = f.Surface()->Shapes().at(0).exact;
        QCOMPARE(shape.size(), QSizeF(125, 62.5));
        QVERIFY(qAbs(shape.center().x() - 150) <= 0.5 && qAbs(shape.center().y() - 125) <= 0.5);
        QCOMPARE(f.document.UndoStack().count(), 0);

        // A drag of 25 pixels moves the item by 20 page units.
        const QPoint grip(95, 140);
        f.Press(grip);
        f.Move(grip + QPoint(10, 0));
        f.Move(grip + QPoint(25, 0));
        f.Release(grip + QPoint(25, 0));
        QCOMPARE(f.Rect(0), QRectF(120, 100, 100, 50));
        QCOMPARE(f.document.UndoStack().count(), 1);

        // Ctrl+0: the page fit into the surface again.
        QTest::keyClick(f.Surface(), Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(f.Design().Zoom(), 1.0);
        QCOMPARE(f.Design().Scale().s, 1.0f);
        QCOMPARE(f.Surface()->Shapes().at(0).rect, QRect(120, 100, 100, 50));
    }

    void zoomStaysWithinItsLimits()
    {
        DesignFixture f;
        f.Open();
        Wheel(f.Surface(), QPoint(480, 270), 120 * 30, Qt::ControlModifier);
        QCOMPARE(f.Design().Zoom(), 8.0);
        Wheel(f.Surface(), QPoint(480, 270), -120 * 60, Qt::ControlModifier);
        QCOMPARE(f.Design().Zoom(), 0.25);
        // Whole notches back come to the fit exactly.
        Wheel(f.Surface(), QPoint(480, 270), 120, Qt::ControlModifier);
        for (int i = 0; i < 5; ++i)
            Wheel(f.Surface(), QPoint(480, 270), 120, Qt::ControlModifier);
        QVERIFY(f.Design().Zoom() > 0.25);
        f.Design().ZoomToFit();
        QCOMPARE(f.Design().Zoom(), 1.0);
        QCOMPARE(f.Design().Scale().s, 1.0f);
        QCOMPARE(f.Design().Scale().ox, 0);
    }
};

ORIN_TEST_CLASS(DesignZoomTest)
#include "tst_design_zoom.moc"
