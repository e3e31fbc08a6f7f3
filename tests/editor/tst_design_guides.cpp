// SPDX-License-Identifier: MIT
// The title-safe and action-safe guides of the design surface, on its pixels.

#include "design_fixture.h"
#include "test_registry.h"

#include <QtTest>

using namespace orin;
using namespace orin::test;

namespace {

// Pixels near `colour` in the columns around x = `column` of the page's height.
int GuidePixels(const QImage &image, double column, QColor colour)
{
    int count = 0;
    const int x0 = int(column) - 2;
    for (int x = x0; x <= x0 + 4; ++x) {
        for (int y = 40; y < 500; ++y) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 30 && std::abs(c.green() - colour.green()) < 30
                && std::abs(c.blue() - colour.blue()) < 30)
                ++count;
        }
    }
    return count;
}

const QColor kTitle(240, 180, 0);
const QColor kAction(0, 190, 230);

} // namespace

class TestDesignGuides : public QObject {
    Q_OBJECT

private slots:
    void guidesFollowTheMargin()
    {
        DesignFixture f;
        f.Open();
        // Off by default: nothing of either colour.
        QImage image = f.Surface()->grab().toImage();
        QCOMPARE(GuidePixels(image, 48, kTitle), 0);

        // At scale 1 the title-safe edge of 5 % is 48 pixels in, the action-safe one 33.6.
        f.Design().SetSafeArea(true, 5);
        image = f.Surface()->grab().toImage();
        QVERIFY(GuidePixels(image, 48, kTitle) > 100);
        QVERIFY(GuidePixels(image, 33.6, kAction) > 50);
        QCOMPARE(GuidePixels(image, 96, kTitle), 0);

        f.Design().SetSafeArea(true, 10);
        image = f.Surface()->grab().toImage();
        QCOMPARE(GuidePixels(image, 48, kTitle), 0);
        QVERIFY(GuidePixels(image, 96, kTitle) > 100);

        f.Design().SetSafeArea(false, 10);
        image = f.Surface()->grab().toImage();
        QCOMPARE(GuidePixels(image, 96, kTitle), 0);
        QCOMPARE(GuidePixels(image, 33.6, kAction), 0);
    }
};

ORIN_TEST_CLASS(TestDesignGuides)
#include "tst_design_guides.moc"
