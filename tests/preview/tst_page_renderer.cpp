// SPDX-License-Identifier: MIT
#include "preview/page_renderer.h"

#include "preview/canvas_mapping.h"
#include "preview_fixture.h"
#include "test_registry.h"

#include <QPainter>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

QImage Solid(int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Pixels of `image` inside `rect` that have exactly that colour.
int CountColour(const QImage &image, const QRect &rect, QRgb colour)
{
    int count = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                ++count;
        }
    }
    return count;
}

// Text is anti-aliased: pixels mostly of that colour.
int CountNear(const QImage &image, const QRect &rect, QRgb colour)
{
    int count = 0;
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAbs(qRed(p) - qRed(colour)) < 100 && qAbs(qGreen(p) - qGreen(colour)) < 100
                && qAbs(qBlue(p) - qBlue(colour)) < 100)
                ++count;
        }
    }
    return count;
}

} // namespace

// The canvas's pixels: mapping, fills, frames, the item kinds, the image rules, text and the
// special screens, drawn off screen.
class TestPageRenderer : public QObject {
    Q_OBJECT

private slots:
    void init();
    void mapping_data();
    void mapping();
    void clientToPage();
    void fillsAndNoColour_data();
    void fillsAndNoColour();
    void framesAndCursor();
    void serverModeFramesFollowTheLabels();
    void cursorOnlyItem();
    void textOnlyItemShowsItsImageOnlyWithExPng();
    void jpegScales_data();
    void jpegScales();
    void overlays_data();
    void overlays();
    void verticalScreen();
    void specialScreensAndTvItem();
    void textLayout();
    void marqueeDrawnOnlyDirect();
    void uncheckedValuesFromFiles_data();
    void uncheckedValuesFromFiles();
    void backgroundFollowsEachPaint();
    void placeholderMessageReadsOverItems_data();
    void placeholderMessageReadsOverItems();

private:
    QImage Render(QSize client, int modeAccess = 0);
    PageItem &Item(int index) { return m_f.model.pages.At(0)->items[size_t(index)]; }

    test::CPreviewFixture m_f;
    CColourMap m_map;
    FrameToggles m_toggles;
};

void TestPageRenderer::init()
{
    m_f = test::CPreviewFixture();
    m_toggles = FrameToggles();
    CMyProgramInfo &page = m_f.AddPage(1);
    page.curcol = 8;
    PageItem &item = m_f.AddItem(page, 1);
    item.x = 100;
    item.y = 100;
    item.width = 200;
    item.height = 100;
    item.text.clear();
}

QImage TestPageRenderer::Render(QSize client, int modeAccess)
{
    if (!m_f.sim)
        m_f.Start(1);
    CPageRenderer renderer(m_map, m_f.model);
    renderer.SetFrameToggles(m_toggles);
    renderer.SetModeAccess(modeAccess);
    QImage image(client, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter painter(&image);
    renderer.Paint(painter, client, m_f.Engine());
    painter.end();
    return image;
}

void TestPageRenderer::mapping_data()
{
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QRect>("item");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("1000 x 500 scales by height")
        << QSize(1000, 500) << false << QRect(100, 50, 20, 10) << QRect(148, 46, 18, 9);
    QTest::newRow("exact screen") << QSize(1920, 1080) << false << QRect(10, 20, 30, 40)
                                  << QRect(20, 40, 60, 80);
    QTest::newRow("tall window scales by width")
        << QSize(960, 1000) << false << QRect(0, 0, 960, 540) << QRect(0, 230, 960, 540);
    QTest::newRow("vertical") << QSize(540, 960) << true << QRect(0, 0, 540, 960)
                              << QRect(0, 0, 540, 960);
    // 2 * x * W overflows int; the 64-bit rule gives the exact result.
    QTest::newRow("large values") << QSize(1920, 1080) << false
                                  << QRect(200000000, 0, 1, 1) << QRect(400000000, 0, 2, 2);
}

void TestPageRenderer::mapping()
{
    QFETCH(QSize, client);
    QFETCH(bool, vertical);
    QFETCH(QRect, item);
    const CCanvasMapping mapping(client, vertical);
    QTEST(mapping.MapToClient(item.x(), item.y(), item.width(), item.height()), "expected");
}

void TestPageRenderer::clientToPage()
{
    const CCanvasMapping mapping(QSize(1000, 500), false);
    // The 16:9 picture is 888 wide, centred: x 56 is page 0, the right edge page 960.
    const QPointF origin = mapping.ClientToPage(QPointF(56, 0));
    QCOMPARE(qRound(origin.x()), 0);
    QCOMPARE(qRound(mapping.ClientToPage(QPointF(56 + 888.888, 500)).x()), 960);
    QCOMPARE(qRound(mapping.ClientToPage(QPointF(500, 250)).y()), 270);
}

void TestPageRenderer::fillsAndNoColour_data()
{
    QTest::addColumn<int>("bcolor");
    QTest::addColumn<QRgb>("expected");
    QTest::newRow("red") << 1 << qRgb(255, 0, 0);
    QTest::newRow("8 is no fill") << 8 << qRgb(0, 0, 0);
    QTest::newRow("outside the map is no fill") << 70000 << qRgb(0, 0, 0);
    QTest::newRow("half transparent white over black") << 72 << qRgb(128, 128, 128);
}

void TestPageRenderer::fillsAndNoColour()
{
    QFETCH(int, bcolor);
    QFETCH(QRgb, expected);
    Item(0).bcolor = bcolor;
    const QImage image = Render(QSize(960, 540));
    const QRgb centre = image.pixel(200, 150) & 0xffffff;
    // Alpha blending may round by one.
    QVERIFY2(qAbs(qRed(centre) - qRed(expected)) <= 1 && qAbs(qGreen(centre) - qGreen(expected)) <= 1
                 && qAbs(qBlue(centre) - qBlue(expected)) <= 1,
             qPrintable(QString::number(centre, 16)));
    // Outside the item the black page stays.
    QCOMPARE(image.pixel(50, 50) & 0xffffff, 0u);
}

void TestPageRenderer::framesAndCursor()
{
    m_toggles.itemFrames = true;
    m_toggles.frameColour = 2;
    QImage image = Render(QSize(960, 540));
    // The frame runs one pixel outside the item: x 99 from y 99 to 202.
    QVERIFY(CountColour(image, QRect(99, 99, 1, 104), qRgb(0, 255, 0)) > 20);
    QCOMPARE(CountColour(image, QRect(103, 103, 190, 90), qRgb(0, 255, 0)), 0);
    m_toggles.frameColour = 8;
    image = Render(QSize(960, 540));
    QCOMPARE(CountColour(image, image.rect(), qRgb(0, 255, 0)), 0);
    // The focus cursor: solid, 3 pixels, in curcol; none for colour 8.
    m_f.model.pages.At(0)->defitem = 1;
    m_f.sim.reset();
    m_toggles.itemFrames = false;
    image = Render(QSize(960, 540));
    QCOMPARE(CountColour(image, QRect(90, 90, 230, 130), qRgb(0, 0, 0)), 230 * 130);
    m_f.model.pages.At(0)->curcol = 4;
    m_f.sim.reset();
    image = Render(QSize(960, 540));
    QVERIFY(CountColour(image, QRect(98, 98, 3, 106), qRgb(0, 0, 255)) > 100);
}

void TestPageRenderer::serverModeFramesFollowTheLabels()
{
    // The item shows text record 3, labelled "T"; its frames are in colour 2 (green), one pixel
    // outside the item.
    m_f.AddText(3, QStringLiteral("t"));
    m_f.model.texts.At(0)->label = QStringLiteral("T");
    Item(0).text_no = 3;
    const QRect frameLine(99, 99, 1, 104);
    const QRgb green = qRgb(0, 255, 0);
    m_toggles.editableFrames = true;
    QVERIFY(CountColour(Render(QSize(960, 540), 0), frameLine, green) > 20);
    // The server mode: editable only once the label contents list the label.
    QCOMPARE(CountColour(Render(QSize(960, 540), 2), frameLine, green), 0);
    m_f.model.serverLabels.texts = QStringList{QStringLiteral("T")};
    QVERIFY(CountColour(Render(QSize(960, 540), 2), frameLine, green) > 20);
    // Edited: the changed flag, in the server mode only.
    m_toggles.editableFrames = false;
    m_toggles.editedFrames = true;
    m_f.model.texts.At(0)->changed = 1;
    QVERIFY(CountColour(Render(QSize(960, 540), 2), frameLine, green) > 50);
    QCOMPARE(CountColour(Render(QSize(960, 540), 0), frameLine, green), 0);
}

void TestPageRenderer::cursorOnlyItem()
{
    Item(0).idg = 1;
    Item(0).bcolor = 1;
    m_toggles.itemFrames = true;
    m_toggles.frameColour = 2;
    QImage image = Render(QSize(960, 540));
    QCOMPARE(CountColour(image, image.rect(), qRgb(255, 0, 0)), 0);
    QVERIFY(CountColour(image, image.rect(), qRgb(0, 255, 0)) > 0);
    // Switched on by Qc it is drawn without the focus.
    m_f.Engine().RunAction(0, 1, u"Qc:1:1"_s, 0);
    image = Render(QSize(960, 540));
    QVERIFY(CountColour(image, QRect(100, 100, 200, 100), qRgb(255, 0, 0)) > 19000);
}

void TestPageRenderer::textOnlyItemShowsItsImageOnlyWithExPng()
{
    m_f.AddImage(5);
    m_f.images.pictures[5] = Solid(400, 200, Qt::blue);
    Item(0).idg = 2;
    Item(0).pic_no = 5;
    QImage image = Render(QSize(960, 540));
    QCOMPARE(CountColour(image, image.rect(), qRgb(0, 0, 255)), 0);
    m_f.settings.ExPNG = 1;
    m_f.sim.reset();
    image = Render(QSize(960, 540));
    QCOMPARE(CountColour(image, image.rect(), qRgb(0, 0, 255)), 200 * 100);
}

void TestPageRenderer::jpegScales_data()
{
    QTest::addColumn<int>("idg");
    QTest::addColumn<QSize>("shown");
    QTest::newRow("plain: screen pixels, cut at the item") << 0 << QSize(400, 300);
    QTest::newRow("50: one half") << 50 << QSize(200, 150);
    QTest::newRow("51: one third") << 51 << QSize(133, 100);
    QTest::newRow("54: one eighth") << 54 << QSize(50, 37);
    QTest::newRow("55: stretched to the item") << 55 << QSize(600, 500);
}

void TestPageRenderer::jpegScales()
{
    QFETCH(int, idg);
    QFETCH(QSize, shown);
    m_f.AddImage(5);
    m_f.images.pictures[5] = Solid(400, 300, Qt::red);
    Item(0).idg = idg;
    Item(0).pic_no = 5;
    Item(0).x = 0;
    Item(0).y = 0;
    Item(0).width = 300;
    Item(0).height = 250;
    const QImage image = Render(QSize(1920, 1080));
    QCOMPARE(CountColour(image, image.rect(), qRgb(255, 0, 0)), shown.width() * shown.height());
    QCOMPARE(image.pixel(shown.width() - 1, shown.height() - 1) & 0xffffff, 0xff0000u);
}

void TestPageRenderer::overlays_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("shown"); // client pixels at 960 x 540 (one per page unit)
    QTest::newRow("colour-map PNG: page pixels") << int(kImageColourMapPng) << QSize(50, 40)
                                                 << QSize(50, 40);
    QTest::newRow("colour-map PNG cut at the item") << int(kImageColourMapPng)
                                                    << QSize(500, 40) << QSize(200, 40);
    QTest::newRow("general PNG: screen pixels") << int(kImageGeneralPng) << QSize(100, 80)
                                                << QSize(50, 40);
    QTest::newRow("GIF cut at twice the item") << int(kImageGif) << QSize(1000, 80)
                                               << QSize(200, 40);
}

void TestPageRenderer::overlays()
{
    QFETCH(int, type);
    QFETCH(QSize, picture);
    QFETCH(QSize, shown);
    m_f.AddImage(205, type);
    // Left half opaque green, right half transparent: the alpha must be honoured.
    QImage image(picture, QImage::Format_ARGB32);
    image.fill(Qt::green);
    Item(0).pic_no = 205;
    Item(0).bcolor = 4;
    m_f.images.pictures[205] = image;
    const QImage out = Render(QSize(960, 540));
    QCOMPARE(CountColour(out, out.rect(), qRgb(0, 255, 0)), shown.width() * shown.height());
    // The fill lies under the overlay.
    QCOMPARE(out.pixel(299, 199) & 0xffffff, 0x0000ffu);
}

void TestPageRenderer::verticalScreen()
{
    m_f.settings.Vertical = 1;
    Item(0).x = 0;
    Item(0).y = 480;
    Item(0).width = 540;
    Item(0).height = 480;
    Item(0).bcolor = 1;
    const QImage image = Render(QSize(540, 960));
    QCOMPARE(CountColour(image, image.rect(), qRgb(255, 0, 0)), 540 * 480);
    QCOMPARE(image.pixel(10, 10) & 0xffffff, 0u);
}

void TestPageRenderer::specialScreensAndTvItem()
{
    m_f.Start(1).ShowPage(kVideoScreen);
    QImage image = Render(QSize(1000, 500));
    // Fit: 888 x 500, centred; grey beside it, white (the first bar) at its left.
    QCOMPARE(image.pixel(10, 250) & 0xffffff, 0x7f7f7fu);
    QCOMPARE(image.pixel(60, 400) & 0xffffff, 0xffffffu);
    QCOMPARE(image.pixel(990, 400) & 0xffffff, 0x7f7f7fu);
    // The V command puts the video picture into an item.
    m_f.Engine().ShowPage(1);
    m_f.Engine().RunAction(0, 1, u"V:1"_s, 0);
    image = Render(QSize(960, 540));
    QCOMPARE(image.pixel(101, 180) & 0xffffff, 0xffffffu);
    QCOMPARE(image.pixel(298, 180) & 0xffffff, 0x0000ffu);
}

void TestPageRenderer::textLayout()
{
    Item(0).color = 1;
    Item(0).size = 20;
    Item(0).text = u"ＡＡ"_s;
    QImage image = Render(QSize(960, 540));
    const QRect firstLine(100, 100, 200, 22);
    const QRect secondLine(100, 123, 200, 22);
    QVERIFY(CountNear(image, firstLine, qRgb(255, 0, 0)) > 20);
    QCOMPARE(CountNear(image, secondLine, qRgb(255, 0, 0)), 0);
    // A line feed starts a new line and draws nothing itself.
    Item(0).text = u"Ａ\nＡ"_s;
    m_f.sim.reset();
    image = Render(QSize(960, 540));
    QVERIFY(CountNear(image, secondLine, qRgb(255, 0, 0)) > 20);
    // Colour 8 keeps the colour of the text drawn before: black at the start.
    Item(0).color = 8;
    m_f.sim.reset();
    image = Render(QSize(960, 540));
    QCOMPARE(CountNear(image, image.rect(), qRgb(255, 0, 0)), 0);
    // A long text wraps inside the item and is cut at its bottom.
    Item(0).color = 7;
    Item(0).text = QString(200, QChar(0xFF21));
    m_f.sim.reset();
    image = Render(QSize(960, 540));
    QVERIFY(CountNear(image, QRect(100, 180, 200, 20), qRgb(255, 255, 255)) > 20);
    QCOMPARE(CountNear(image, QRect(0, 203, 960, 337), qRgb(255, 255, 255)), 0);
    QCOMPARE(CountNear(image, QRect(304, 0, 656, 540), qRgb(255, 255, 255)), 0);
}

void TestPageRenderer::marqueeDrawnOnlyDirect()
{
    CMyProgramInfo *page = m_f.model.pages.At(0);
    page->marquee = 1;
    page->marquee_speed = 5;
    Item(0).color = 1;
    Item(0).size = 20;
    Item(0).text = u"ＡＢＣ"_s;
    const QImage image = Render(QSize(960, 540));
    QCOMPARE(CountNear(image, image.rect(), qRgb(255, 0, 0)), 0);
    CPageRenderer renderer(m_map, m_f.model);
    QImage direct(960, 540, QImage::Format_RGB32);
    direct.fill(Qt::darkCyan);
    QPainter painter(&direct);
    renderer.PaintItemDirect(painter, direct.size(), m_f.Engine(), 1, u"ＡＢＣ"_s);
    renderer.PaintItemDirect(painter, direct.size(), m_f.Engine(), 99, u"ＡＢＣ"_s);
    painter.end();
    QVERIFY(CountNear(direct, QRect(100, 100, 200, 30), qRgb(255, 0, 0)) > 20);
    // Only the item's rectangle was touched.
    QCOMPARE(direct.pixel(50, 50), QColor(Qt::darkCyan).rgb());
    QCOMPARE(direct.pixel(150, 190) & 0xffffff, 0u);
}

void TestPageRenderer::uncheckedValuesFromFiles_data()
{
    QTest::addColumn<int>("idg");
    QTest::addColumn<int>("size");
    QTest::addColumn<float>("width");
    QTest::addColumn<int>("margin");
    QTest::newRow("huge text size") << 0 << 1000000 << 200.0f << 0;
    QTest::newRow("huge centred text size") << 3 << 1000000 << 200.0f << 0;
    QTest::newRow("huge width") << 0 << 20 << 1e12f << 0;
    QTest::newRow("negative size and margins") << 0 << -20 << 200.0f << -100000;
    QTest::newRow("stretched image at a huge size") << 55 << 20 << 1e9f << 0;
}

// Values that files may hold draw without trouble and leave the rest of the page alone.
void TestPageRenderer::uncheckedValuesFromFiles()
{
    QFETCH(int, idg);
    QFETCH(int, size);
    QFETCH(float, width);
    QFETCH(int, margin);
    m_f.AddImage(5);
    m_f.images.pictures[5] = Solid(40, 40, Qt::red);
    Item(0).idg = idg;
    Item(0).size = size;
    Item(0).width = width;
    Item(0).margin_x = margin;
    Item(0).margin_y = margin;
    Item(0).pic_no = 5;
    Item(0).text = QString(50, QChar(0x3042));
    const QImage image = Render(QSize(480, 270));
    QCOMPARE(image.pixel(10, 10) & 0xffffff, 0u);
}

// The renderer keeps the background it scaled for the next paint: every paint still shows the
// shown page's own background, pixel for pixel as the painter scales it, whatever the page,
// the client size and the smoothing of the painter.
void TestPageRenderer::backgroundFollowsEachPaint()
{
    auto pattern = [](int seed) {
        QImage image(960, 540, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x)
                line[x] = qRgb((x * 7 + seed) % 256, (y * 5) % 256, (x ^ y) * (seed + 1) % 256);
        }
        return image;
    };
    m_f.AddPage(2);
    m_f.images.backgrounds[1] = pattern(0);
    m_f.images.backgrounds[2] = pattern(90);
    m_f.Start(1);
    CPageRenderer renderer(m_map, m_f.model);
    struct Step {
        int page;
        QSize client;
        bool smooth;
    };
    const Step steps[] = {{1, {1920, 1080}, false}, {1, {1920, 1080}, false},
                          {2, {1920, 1080}, false}, {2, {1920, 1080}, true},
                          {2, {1000, 700}, true},   {1, {1000, 700}, false},
                          {1, {700, 1000}, false},  {1, {960, 540}, false}};
    for (const Step &step : steps) {
        if (m_f.Engine().ShownPageNumber() != step.page) {
            m_f.Engine().ShowPage(step.page);
            m_f.sim->Settle();
        }
        QImage shown(step.client, QImage::Format_RGB32);
        shown.fill(Qt::darkCyan);
        QPainter painter(&shown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, step.smooth);
        renderer.Paint(painter, step.client, m_f.Engine());
        painter.end();

        const QImage &background = m_f.images.backgrounds[step.page];
        const QRect fit = CCanvasMapping(step.client, false).FitRect(background.size());
        QImage expected(step.client, QImage::Format_RGB32);
        expected.fill(Qt::black);
        QPainter direct(&expected);
        direct.setRenderHint(QPainter::SmoothPixmapTransform, step.smooth);
        direct.drawImage(fit, background);
        direct.end();
        // The lower half of the screen holds no item: only the background shows there.
        const QRect lower(0, fit.center().y(), step.client.width(),
                          step.client.height() - fit.center().y());
        QCOMPARE(shown.copy(lower), expected.copy(lower));
    }
}

void TestPageRenderer::placeholderMessageReadsOverItems_data()
{
    QTest::addColumn<QSize>("client");
    QTest::newRow("the page's own size") << QSize(960, 540);
    QTest::newRow("the tool's default size") << QSize(1920, 1080);
    QTest::newRow("a smaller window") << QSize(700, 500);
}

void TestPageRenderer::placeholderMessageReadsOverItems()
{
    QFETCH(QSize, client);
    m_f.images.unreadableBackgrounds.insert(1);
    // The page's one item draws nothing: the placeholder alone, its message across the middle.
    const QImage alone = Render(client);
    const QRect fit = CCanvasMapping(client, false).FitRect(QSize(960, 540));
    QVERIFY(CountColour(alone, fit, qRgb(0, 0, 0)) > 0);

    // Blue strips across the message, as a row of buttons lies over a page.
    m_f = test::CPreviewFixture();
    m_f.images.unreadableBackgrounds.insert(1);
    CMyProgramInfo &page = m_f.AddPage(1);
    for (int row = 0; row < 4; ++row) {
        PageItem &strip = m_f.AddItem(page, row + 1);
        strip.x = 40 + row * 30;
        strip.y = 200 + row * 40;
        strip.width = 880 - row * 60;
        strip.height = 18;
        strip.bcolor = 4; // blue
        strip.text.clear();
    }
    const QImage covered = Render(client);
    // The strips are drawn (left of the text, inside the band) ...
    QCOMPARE(covered.pixel(fit.x() + 60 * fit.width() / 960, fit.y() + 209 * fit.height() / 540)
                 & 0xffffff,
             qRgb(0, 0, 255) & 0xffffff);
    // ... and every pixel of the message's glyphs is there as without them.
    int glyphs = 0;
    int lost = 0;
    for (int y = fit.top(); y <= fit.bottom(); ++y) {
        for (int x = fit.left(); x <= fit.right(); ++x) {
            if ((alone.pixel(x, y) & 0xffffff) != 0)
                continue;
            ++glyphs;
            if ((covered.pixel(x, y) & 0xffffff) != 0)
                ++lost;
        }
    }
    QVERIFY(glyphs > 100);
    QVERIFY2(lost == 0, qPrintable(QStringLiteral("%1 of %2").arg(lost).arg(glyphs)));
}

ORIN_TEST_CLASS(TestPageRenderer)
#include "tst_page_renderer.moc"
