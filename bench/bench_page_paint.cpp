// SPDX-License-Identifier: MIT
// Painting a full page at 1920 x 1080 with our renderer against the same page drawn through a
// QGraphicsScene (pixmap and text items, the way a Qt canvas is usually built): the same
// background picture scaled to the screen, the same parts of the same pictures at the same
// places and sizes, and the same texts. Also one marquee tick (one item redrawn on its own)
// against the full paint. The page has 256 items with JPEG and PNG images and wrapped Japanese
// texts. The figures that count are the ratios of the medians of CPU time printed at the end (5
// repetitions unless --benchmark_repetitions says otherwise).

#include "images/colour_map.h"
#include "images/font_setup.h"
#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"

#include "bench_support.h"

#include <QApplication>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsTextItem>
#include <QPainter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

using namespace orin;

namespace {

constexpr int kColumns = 16;
const QSize kClient(1920, 1080);

QImage MakePicture(int index, bool alpha)
{
    QImage image(120, 66, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? QColor(0, 0, 0, 0) : QColor(index % 256, 80, 160));
    QPainter painter(&image);
    painter.setBrush(QColor(255, 200, index % 256, alpha ? 200 : 255));
    painter.drawEllipse(10, 5, 100, 56);
    return image;
}

class CBenchImages : public CImageSource {
public:
    DisplayImage DisplayCopy(const CMyPictureInfo &record) override
    {
        DisplayImage copy;
        copy.type = record.type;
        copy.image = MakePicture(record.id, record.type != kImageJpeg);
        return copy;
    }
    DisplayImage BackgroundCopy(const CMyProgramInfo &, bool) override
    {
        DisplayImage copy;
        copy.image = QImage(960, 540, QImage::Format_RGB32);
        copy.image.fill(QColor(20, 40, 90));
        return copy;
    }
};

struct Fixture {
    CContentModel model;
    ProgramSettings settings;
    CColourMap map;
    CBenchImages images;
    std::unique_ptr<CSimulation> sim;
    QGraphicsScene scene;

    Fixture()
    {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        page->defitem = 1;
        page->curcol = 3;
        page->backcol = kNoColour;
        page->marquee = 17;
        page->marquee_speed = 5;
        page->itemCount = kItemSlots;
        for (int i = 0; i < kItemSlots; ++i) {
            PageItem &item = page->items[size_t(i)];
            item.id = i + 1;
            item.x = float(i % kColumns * 60);
            item.y = float(i / kColumns * 33);
            item.width = 58;
            item.height = 31;
            item.pic_no = i % 2 == 0 ? i / 2 % 199 + 1 : 200 + i % 56;
            item.color = 7;
            item.bcolor = kNoColour;
            item.size = 10;
            item.margin_x = 2;
            item.margin_y = 1;
            item.text = QStringLiteral("データ放送%1番の案内です").arg(i + 1);
        }
        model.pages.Add(std::move(page));
        for (int id = 1; id <= 255; ++id) {
            auto record = std::make_unique<CMyPictureInfo>();
            record->id = id;
            record->type = id < 200 ? kImageJpeg : kImageGeneralPng;
            record->path = QStringLiteral("/bench/%1").arg(id);
            (id < 200 ? model.pictures : model.materials).Add(std::move(record));
        }
        settings.ExPNG = 1;
        sim = std::make_unique<CSimulation>(model, settings, images);
        sim->engine.ShowPage(1);

        // The peer: the same background, pictures and texts as scene items, in screen pixels
        // (two per page unit). The background picture is scaled to the screen as ours is.
        scene.setSceneRect(0, 0, 1920, 1080);
        scene.setBackgroundBrush(Qt::black);
        auto *back = scene.addPixmap(QPixmap::fromImage(sim->engine.Page().background.image));
        back->setScale(2);
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPixelSize(20);
        for (const DisplayItem &entry : sim->engine.Items()) {
            const PageItem &item = entry.item;
            // The part of the picture our renderer shows and the size it shows it at: a JPEG's
            // pixels are scaled with the screen and cut at the item; a PNG's pixels are screen
            // pixels, cut at the item.
            const QImage &image = entry.image.image;
            const int itemWidth = 2 * int(item.width);
            const int itemHeight = 2 * int(item.height);
            const bool jpeg = entry.image.type == kImageJpeg;
            const int shownWidth = std::min(itemWidth, jpeg ? 2 * image.width() : image.width());
            const int shownHeight = std::min(itemHeight, jpeg ? 2 * image.height() : image.height());
            const QRect source(0, 0, jpeg ? shownWidth / 2 : shownWidth,
                               jpeg ? shownHeight / 2 : shownHeight);
            auto *pixmap = scene.addPixmap(QPixmap::fromImage(image.copy(source)));
            pixmap->setScale(jpeg ? 2 : 1);
            pixmap->setPos(2 * item.x, 2 * item.y);
            auto *text = scene.addText(item.text, font);
            text->setDefaultTextColor(Qt::white);
            text->setTextWidth(2 * item.width);
            text->setPos(2 * item.x + 4, 2 * item.y + 2);
        }
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

void BM_RendererFullPaint(benchmark::State &state)
{
    Fixture &d = Data();
    CPageRenderer renderer(d.map, d.model);
    QImage target(kClient, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        renderer.Paint(painter, kClient, d.sim->engine);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_GraphicsSceneFullPaint(benchmark::State &state)
{
    Fixture &d = Data();
    QImage target(kClient, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&target);
        d.scene.render(&painter, QRectF(QPointF(0, 0), kClient), d.scene.sceneRect());
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

void BM_RendererMarqueeTick(benchmark::State &state)
{
    Fixture &d = Data();
    CPageRenderer renderer(d.map, d.model);
    QImage target(kClient, QImage::Format_ARGB32_Premultiplied);
    const QString text = QStringLiteral("　　　ただいまデータ放送を試験中です");
    for (auto _ : state) {
        QPainter painter(&target);
        renderer.PaintItemDirect(painter, kClient, d.sim->engine, 17, text);
        painter.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}

constexpr int kDefaultRepetitions = 5;

BENCHMARK(BM_RendererFullPaint)->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
BENCHMARK(BM_GraphicsSceneFullPaint)->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
BENCHMARK(BM_RendererMarqueeTick)->Unit(benchmark::kMicrosecond)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    bench::InitializeBenchmarks(argc, argv, kDefaultRepetitions);
    Data();
    // Painting is one thread's work, and CPU time does not count the waits of a busy machine.
    bench::CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char *a, const char *b) { return reporter.CpuRatio(a, b); };
    std::printf("\nRatios of the medians of CPU time (lower is better for us):\n");
    std::printf("  renderer full paint / QGraphicsScene paint of the same page: %.2f (target <= 0.80)\n",
                ratio("BM_RendererFullPaint", "BM_GraphicsSceneFullPaint"));
    std::printf("  marquee tick / renderer full paint: %.3f (target <= 0.10)\n",
                ratio("BM_RendererMarqueeTick", "BM_RendererFullPaint"));
    benchmark::Shutdown();
    return 0;
}
