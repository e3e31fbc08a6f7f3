// SPDX-License-Identifier: MIT
#include "preview/work_folder_images.h"

#include "image_fixtures.h"
#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"
#include "test_registry.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

// The real display copies on a page: a background JPEG and a colour-map PNG shown through the
// colour map, with every copy gone from the work folder when the canvas lets go.
class TestWorkFolderImages : public QObject {
    Q_OBJECT

private slots:
    void colourMapPngShownThroughTheColourMap();
};

void TestWorkFolderImages::colourMapPngShownThroughTheColourMap()
{
    QTemporaryDir dir;
    const QString work = dir.filePath(u"temp"_s);
    QVERIFY(test::WriteJpeg(dir.filePath(u"back.jpg"_s), 960, 540));
    QVERIFY(test::WriteBytes(dir.filePath(u"button.png"_s), test::ColourMapPng(50, 40)));

    CContentModel model;
    auto material = std::make_unique<CMyPictureInfo>();
    material->id = 200;
    material->type = kImageColourMapPng;
    material->path = dir.filePath(u"button.png"_s);
    model.materials.Add(std::move(material));
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = 1;
    page->backcol = kNoColour;
    page->curcol = kNoColour;
    page->background = dir.filePath(u"back.jpg"_s);
    PageItem &item = page->items[0];
    page->itemCount = 1;
    item.id = 1;
    item.x = 100;
    item.y = 100;
    item.width = 200;
    item.height = 100;
    item.pic_no = 200;
    item.bcolor = kNoColour;
    model.pages.Add(std::move(page));

    CColourMap map;
    ProgramSettings settings;
    CWorkFolderImages images(map, work);
    CSimulation sim(model, settings, images);
    sim.engine.ShowPage(1);
    QCOMPARE(QDir(work).entryList(QDir::Files).size(), 2);

    CPageRenderer renderer(map, model);
    QImage out(960, 540, QImage::Format_RGB32);
    QPainter painter(&out);
    renderer.Paint(painter, out.size(), sim.engine);
    painter.end();
    // Index 1 of the default colour map is red: the PNG covers 50 x 40 page units.
    QCOMPARE(out.pixel(100, 100) & 0xffffff, 0xff0000u);
    QCOMPARE(out.pixel(149, 139) & 0xffffff, 0xff0000u);
    QVERIFY((out.pixel(151, 141) & 0xffffff) != 0xff0000u);
    // The background JPEG lies under it.
    const QRgb background = out.pixel(500, 400);
    QVERIFY(qAbs(qRed(background) - 40) < 10 && qAbs(qBlue(background) - 200) < 10);

    sim.engine.ResetCanvas();
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());
}

ORIN_TEST_CLASS(TestWorkFolderImages)
#include "tst_work_folder_images.moc"
