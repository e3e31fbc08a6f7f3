// SPDX-License-Identifier: MIT
#include "preview/work_folder_images.h"

#include "full_disk.h"
#include "image_fixtures.h"
#include "images/display_copy.h"
#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"
#include "test_registry.h"

#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

// One page with a background JPEG and a colour-map PNG material on item 1.
struct CImagePage {
    explicit CImagePage(const QString &folder)
    {
        auto material = std::make_unique<CMyPictureInfo>();
        material->id = 200;
        material->type = kImageColourMapPng;
        material->path = folder + u"/button.png"_s;
        model.materials.Add(std::move(material));
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        page->backcol = kNoColour;
        page->curcol = kNoColour;
        page->background = folder + u"/back.jpg"_s;
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
    }
    CContentModel model;
};

} // namespace

// The real display copies on a page: a background JPEG and a colour-map PNG shown through the
// colour map, copied once while their files stay unchanged, with every copy gone from the work
// folder when the canvas and its image source let go.
class TestWorkFolderImages : public QObject {
    Q_OBJECT

private slots:
    void colourMapPngShownThroughTheColourMap();
    void fullWorkFolderShowsThePlaceholder_data();
    void fullWorkFolderShowsThePlaceholder();
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
    auto images = std::make_unique<CWorkFolderImages>(map, work);
    auto owned = std::make_unique<CSimulation>(model, settings, *images);
    CSimulation &sim = *owned;
    sim.engine.ShowPage(1);
    const QStringList copies = QDir(work).entryList(QDir::Files);
    QCOMPARE(copies.size(), 2);

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

    // Shown again, the page takes the copies it had: nothing is copied twice.
    sim.engine.ResetCanvas();
    QCOMPARE(QDir(work).entryList(QDir::Files), copies);
    sim.engine.ShowPage(1);
    QCOMPARE(QDir(work).entryList(QDir::Files), copies);
    QCOMPARE(sim.engine.Items()[0].image.image.size(), QSize(50, 40));
    owned.reset();
    images.reset();
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());
}

void TestWorkFolderImages::fullWorkFolderShowsThePlaceholder_data()
{
    QTest::addColumn<qint64>("freeBytes"); // -1: the work folder cannot be made at all
    QTest::newRow("not a byte free") << qint64(0);
    QTest::newRow("the first bytes of each copy fit") << qint64(40);
    QTest::newRow("the work folder cannot be made") << qint64(-1);
}

// A display copy that cannot be written shows the placeholder; the page, its other parts and
// the work folder are as they would be, and once there is room again the pictures come back.
void TestWorkFolderImages::fullWorkFolderShowsThePlaceholder()
{
    QFETCH(qint64, freeBytes);
    QTemporaryDir dir;
    QVERIFY(test::WriteJpeg(dir.filePath(u"back.jpg"_s), 960, 540));
    QVERIFY(test::WriteBytes(dir.filePath(u"button.png"_s), test::ColourMapPng(50, 40)));
    QVERIFY(QFileInfo(dir.filePath(u"button.png"_s)).size() > 40);
    QString work = dir.filePath(u"temp"_s);
    if (freeBytes < 0) {
        QVERIFY(test::WriteBytes(dir.filePath(u"file"_s), "x"));
        work = dir.filePath(u"file/temp"_s);
    }
    CImagePage content(dir.path());
    CColourMap map;
    ProgramSettings settings;
    auto images = std::make_unique<CWorkFolderImages>(map, work);
    auto owned = std::make_unique<CSimulation>(content.model, settings, *images);
    CSimulation &sim = *owned;
    const QImage placeholder = PlaceholderPicture();
    {
        std::unique_ptr<test::CFullDisk> full;
        if (freeBytes >= 0) {
            full = std::make_unique<test::CFullDisk>(rlim_t(freeBytes));
            QVERIFY(full->IsActive());
        }
        sim.engine.ShowPage(1);
        QVERIFY(sim.Settle());
    }
    QCOMPARE(sim.engine.ShownPageNumber(), 1);
    QCOMPARE(sim.engine.Items().size(), size_t(1));
    QCOMPARE(sim.engine.Items()[0].image.image, placeholder);
    // The background's stands in at the page's size.
    QCOMPARE(sim.engine.Page().background.image, PlaceholderPicture(QSize(960, 540)));
    // Nothing half-written is left behind, and the canvas still draws.
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());
    CPageRenderer renderer(map, content.model);
    QImage out(960, 540, QImage::Format_RGB32);
    QPainter painter(&out);
    renderer.Paint(painter, out.size(), sim.engine);
    painter.end();
    sim.engine.ResetCanvas();
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());

    if (freeBytes >= 0) {
        sim.engine.ShowPage(1);
        QCOMPARE(sim.engine.Items()[0].image.image.size(), QSize(50, 40));
        QCOMPARE(sim.engine.Page().background.image.size(), QSize(960, 540));
        sim.engine.ResetCanvas();
    }
    owned.reset();
    images.reset();
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());
}

ORIN_TEST_CLASS(TestWorkFolderImages)
#include "tst_work_folder_images.moc"
