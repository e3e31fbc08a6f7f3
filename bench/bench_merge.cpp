// SPDX-License-Identifier: MIT
// The page merge against reading the same pages as a project file, on generated content sets of
// 10^3, 10^4 and 10^5 pages. Each page has two items whose actions jump to the next page, show
// a picture and a text and call a macro, and a ret that names the previous page by its plain
// number, so that every page of the copy document carries references the merge rewrites. The
// ratios printed at the end are of the medians of CPU time:
//   MergeCopyDocument of the pages' copy document / LoadProjectText of the same pages
// at each size (a merge linear in its input keeps this ratio as the pages grow), and the
// merge's own growth from 10^4 to 10^5 pages (10 for a linear merge).

#include "actions/copy_document.h"
#include "actions/page_merge.h"
#include "images/load_services.h"
#include "model/project_reader.h"
#include "model/project_writer.h"

#include "bench_support.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

using namespace orin;

namespace {

constexpr int kDefaultRepetitions = 5;
const int kPageCounts[] = {1000, 10000, 100000};

void FillModel(CContentModel &m, int pages)
{
    for (int p = 1; p <= pages; ++p) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = p;
        page->defitem = 1;
        page->textid = p % 50 + 1;
        page->itemCount = 2;
        for (int i = 0; i < 2; ++i) {
            PageItem &it = page->items[size_t(i)];
            it.id = i + 1;
            it.width = 100;
            it.height = 40;
            it.focus = QStringLiteral("G:%1,P:%2:0").arg(p % pages + 1).arg(p % 199 + 1);
            it.outfocus = QStringLiteral("0");
            it.ret = QString::number(p > 1 ? p - 1 : pages);
            it.up = it.down = it.left = QStringLiteral("0");
            it.right = QStringLiteral("T:%1:0,A:%2").arg(p % 50 + 1).arg(p % 20 + 1);
            it.pic_no = p % 199 + 1;
            it.text = QStringLiteral("項目 %1").arg(p);
        }
        m.pages.Add(std::move(page));
    }
    for (int id = 1; id <= 199; ++id) {
        auto r = std::make_unique<CMyPictureInfo>();
        r->id = id;
        r->type = kImageJpeg;
        r->path = QStringLiteral("/content/merge./p%1.jpg").arg(id);
        m.pictures.Add(std::move(r));
    }
    for (int id = 1; id <= 50; ++id) {
        auto t = std::make_unique<CMyTextInfo>();
        t->id = id;
        t->text = QStringLiteral("文章 %1").arg(id);
        m.texts.Add(std::move(t));
    }
    for (int id = 1; id <= 20; ++id) {
        auto r = std::make_unique<CMyMacroInfo>();
        r->id = id;
        r->macro = QStringLiteral("G:%1,T:3:0").arg(id);
        m.macros.Add(std::move(r));
    }
}

// The copy document of every page of a generated set, and the same set as project text.
struct Fixture {
    QString copyDocument;
    QString projectText;

    explicit Fixture(int pages)
    {
        CContentModel model;
        FillModel(model, pages);
        QList<int> indexes;
        indexes.reserve(pages);
        for (int i = 0; i < pages; ++i)
            indexes.append(i);
        copyDocument = WriteCopyDocument(model, indexes);
        projectText = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
    }
};

Fixture &Data(int pages)
{
    static std::map<int, std::unique_ptr<Fixture>> fixtures;
    auto &fixture = fixtures[pages];
    if (!fixture)
        fixture = std::make_unique<Fixture>(pages);
    return *fixture;
}

void BM_MergeCopyDocument(benchmark::State &state)
{
    Fixture &d = Data(int(state.range(0)));
    for (auto _ : state) {
        CContentModel model;
        const MergeResult result = MergeCopyDocument(model, d.copyDocument, MergeOptions());
        if (result.addedPages != state.range(0))
            state.SkipWithError("the merge did not add every page");
        benchmark::DoNotOptimize(model.pages.Count());
    }
}

void BM_LoadSamePages(benchmark::State &state)
{
    Fixture &d = Data(int(state.range(0)));
    const LoadServices services = StandardLoadServices();
    for (auto _ : state) {
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        LoadProjectText(d.projectText, QStringLiteral("/content/"), settings, used, model,
                        services);
        if (model.pages.Count() != state.range(0))
            state.SkipWithError("the project did not read every page");
        benchmark::DoNotOptimize(model.pages.Count());
    }
}

void PerSize(benchmark::internal::Benchmark *b)
{
    for (int pages : kPageCounts)
        b->Arg(pages);
    b->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_MergeCopyDocument)->Apply(PerSize);
BENCHMARK(BM_LoadSamePages)->Apply(PerSize);

// The ratios of the medians of CPU time at one size each.
double Ratio(const bench::CMedianReporter &reporter, const char *ours, int oursPages,
             const char *peer, int peerPages)
{
    return reporter.CpuRatio(ours + ("/" + std::to_string(oursPages)),
                             peer + ("/" + std::to_string(peerPages)));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::InitializeBenchmarks(argc, argv, kDefaultRepetitions);
    bench::CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of median CPU time over %d repetitions (lower is better for us):\n",
                reporter.Repetitions());
    for (int pages : kPageCounts) {
        std::printf("  %6d pages: merge / reading the same pages as a project: %5.2f\n", pages,
                    Ratio(reporter, "BM_MergeCopyDocument", pages, "BM_LoadSamePages", pages));
    }
    std::printf("  merge of 100000 pages / merge of 10000 pages: %5.2f (10 when linear)\n",
                Ratio(reporter, "BM_MergeCopyDocument", 100000, "BM_MergeCopyDocument", 10000));
    benchmark::Shutdown();
    return 0;
}
