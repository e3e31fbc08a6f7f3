// SPDX-License-Identifier: MIT
// Page list thumbnails on 500 pages whose backgrounds are distinct 1920x1080 JPEGs. The list
// asks for a thumbnail whenever a row is drawn: rows newly scrolled into view cost one decode
// each, which must not cost more than the peer, QImageReader decoding the same file straight to
// the thumbnail size; a repaint of rows already shown decodes nothing (the "decodes" counter)
// and costs a small fraction of decoding them again. Medians over repetitions.

#include "editor/page_list_model.h"
#include "images/thumbnail_cache.h"
#include "model/content_model.h"

#include "bench_support.h"

#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

using namespace orin;

namespace {

constexpr int kPages = 500;
constexpr int kVisibleRows = 10; // rows of one screen of the list
const QSize kThumbnail(160, 90);

struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    Fixture()
    {
        for (int p = 0; p < kPages; ++p) {
            QImage image(1920, 1080, QImage::Format_RGB32);
            image.fill(QColor(p % 256, (p * 7) % 256, (p * 13) % 256));
            QPainter(&image).fillRect(p, p, 400, 300, Qt::white);
            const QString path = dir.filePath(QStringLiteral("bg%1.jpg").arg(p));
            image.save(path, "JPEG", 85);
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = p + 1;
            page->background = path;
            model.pages.Add(std::move(page));
        }
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

// The thumbnails of one screen starting at `first`, as the list asks for them.
void DrawRows(CPageListModel &list, int first)
{
    for (int row = first; row < first + kVisibleRows; ++row) {
        const QVariant image =
            list.data(list.index(row % kPages, CPageListModel::kImageColumn), Qt::DecorationRole);
        benchmark::DoNotOptimize(image);
    }
}

void BM_ListNewRows(benchmark::State &state)
{
    Fixture &d = Data();
    int first = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CPageListModel list; // nothing seen yet
        list.SetPageTable(&d.model.pages);
        list.SetItemCount(kPages);
        list.SetThumbnailSize(kThumbnail, false);
        state.ResumeTiming();
        DrawRows(list, first);
        first = (first + kVisibleRows) % kPages;
    }
    state.SetItemsProcessed(state.iterations() * kVisibleRows);
}

void BM_PeerScaledDecode(benchmark::State &state)
{
    Fixture &d = Data();
    int first = 0;
    for (auto _ : state) {
        for (int row = first; row < first + kVisibleRows; ++row) {
            QImageReader reader(d.model.pages.At(row % kPages)->background);
            reader.setScaledSize(kThumbnail);
            benchmark::DoNotOptimize(reader.read());
        }
        first = (first + kVisibleRows) % kPages;
    }
    state.SetItemsProcessed(state.iterations() * kVisibleRows);
}

void BM_ListRepaint(benchmark::State &state)
{
    Fixture &d = Data();
    CPageListModel list;
    list.SetPageTable(&d.model.pages);
    list.SetItemCount(kPages);
    list.SetThumbnailSize(kThumbnail, false);
    DrawRows(list, 0);
    const int decodes = list.Thumbnails().Decodes();
    for (auto _ : state)
        DrawRows(list, 0);
    state.counters["decodes"] = list.Thumbnails().Decodes() - decodes;
    state.SetItemsProcessed(state.iterations() * kVisibleRows);
}

constexpr int kDefaultRepetitions = 5;

BENCHMARK(BM_ListNewRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeerScaledDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    bench::InitializeBenchmarks(argc, argv, kDefaultRepetitions);
    Data();
    bench::CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // Wall time counts the waits of a busy machine too; the CPU ratio is given beside it.
    std::printf("\nRatios of medians, wall / CPU (lower is better for us):\n");
    std::printf("  new rows through the list / QImageReader scaled decode: %.2f / %.2f "
                "(target <= 1.00)\n",
                reporter.WallRatio("BM_ListNewRows", "BM_PeerScaledDecode"),
                reporter.CpuRatio("BM_ListNewRows", "BM_PeerScaledDecode"));
    std::printf("  repaint of shown rows / decoding them again: %.4f / %.4f "
                "(decodes: see counter)\n",
                reporter.WallRatio("BM_ListRepaint", "BM_PeerScaledDecode"),
                reporter.CpuRatio("BM_ListRepaint", "BM_PeerScaledDecode"));
    benchmark::Shutdown();
    return 0;
}
