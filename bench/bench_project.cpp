// SPDX-License-Identifier: MIT
// Markup engine and project file speed against Qt's own readers and writers on the same large
// generated content set: 200 pages x 256 items, 199 pictures, 56 materials, 1000 texts,
// 100 macros. The figures that count are the ratios printed at the end.

#include "images/load_services.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"
#include "model/xml_doc.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

using namespace orin;

namespace {

void FillLargeModel(CContentModel &m)
{
    for (int p = 1; p <= 200; ++p) {
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = p;
        page->comment = QStringLiteral("ページ %1 <%2>").arg(p).arg(p * 7);
        page->background = QStringLiteral("/content/large./bg%1.jpg").arg(p % 20);
        page->defitem = 1;
        page->marquee_speed = 3;
        page->curcol = 3;
        page->backcol = 8;
        page->cursize = 2;
        page->itemCount = kItemSlots;
        for (int i = 0; i < kItemSlots; ++i) {
            PageItem &it = page->items[static_cast<size_t>(i)];
            it.id = i + 1;
            it.idg = i % 8;
            it.parent = i / 2;
            it.x = float(i % 16 * 60);
            it.y = float(i / 16 * 33);
            it.width = 58;
            it.height = 31;
            it.focus = QStringLiteral("T:%1:0").arg(i % 1000 + 1);
            it.outfocus = QStringLiteral("0");
            it.ret = QStringLiteral("G:%1,P:%2:0").arg(p % 200 + 1).arg(i % 199 + 1);
            it.up = QString::number(i == 0 ? 256 : i);
            it.down = QString::number(i % 256 + 2);
            it.left = QStringLiteral("xk:5:");
            it.right = QStringLiteral("A:%1").arg(i % 100 + 1);
            it.pic_no = i % 255 + 1;
            it.text_no = i % 1000 + 1;
            it.margin_x = 4;
            it.margin_y = 2;
            it.color = 7;
            it.size = 24;
            it.bcolor = 8;
            it.wordwrap = 1;
            it.text = QStringLiteral("項目 %1 & text").arg(i);
        }
        m.pages.Add(std::move(page));
    }
    for (int id = 1; id <= 199; ++id) {
        auto r = std::make_unique<CMyPictureInfo>();
        r->id = id;
        r->type = kImageJpeg;
        r->path = QStringLiteral("/content/large./p%1.jpg").arg(id);
        r->label = QStringLiteral("写真%1").arg(id);
        m.pictures.Add(std::move(r));
    }
    for (int id = 200; id <= 255; ++id) {
        auto r = std::make_unique<CMyPictureInfo>();
        r->id = id;
        r->type = kImageColourMapPng;
        r->path = QStringLiteral("/content/large./m%1.png").arg(id);
        r->label = QStringLiteral("素材%1").arg(id);
        m.materials.Add(std::move(r));
    }
    for (int id = 1; id <= 1000; ++id) {
        auto t = std::make_unique<CMyTextInfo>();
        t->id = id;
        t->label = QStringLiteral("t%1").arg(id);
        t->text = QStringLiteral("[#1]文章 %1[#2]second & third").arg(id);
        m.texts.Add(std::move(t));
    }
    for (int id = 1; id <= 100; ++id) {
        auto r = std::make_unique<CMyMacroInfo>();
        r->id = id;
        r->label = QStringLiteral("m%1").arg(id);
        r->macro = QStringLiteral("G:%1,T:3:0").arg(id);
        m.macros.Add(std::move(r));
    }
}

struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    QString text;
    QString path;
    QByteArray bytes;

    Fixture()
    {
        FillLargeModel(model);
        text = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
        bytes = EncodeUnicodeTextFile(text);
        path = dir.filePath(QStringLiteral("large.bjpx"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
};

Fixture &Data()
{
    static Fixture fixture;
    return fixture;
}

// The attribute names each element of the format carries: the engine reads attributes by name.
const std::map<QString, QStringList> &AttributeNames()
{
    static const std::map<QString, QStringList> names = [] {
        std::map<QString, QStringList> n;
        n[QStringLiteral("BMLJPEG")] = QStringLiteral(
            "id comment defitem tvitem clock return up down left right back data blue red green "
            "yellow timer marquee marquee_speed timer_item timer_ino textid backcol curcol "
            "cursize memory cursor smacro").split(u' ');
        n[QStringLiteral("Item")] = QStringLiteral(
            "id idg parent x y width height focus outfocus ret up down left right pic_no "
            "text_no").split(u' ');
        n[QStringLiteral("ItemText")] = QStringLiteral(
            "margin_x margin_y color size bcolor wordwrap id item label").split(u' ');
        n[QStringLiteral("Items")] = {QStringLiteral("Num")};
        n[QStringLiteral("ExPNG")] = {QStringLiteral("Vertical"), QStringLiteral("ConvertAAC")};
        n[QStringLiteral("IDConv")] = {QStringLiteral("homeID")};
        n[QStringLiteral("ItemBitmap")] = QStringLiteral("id item label type").split(u' ');
        n[QStringLiteral("ItemJPEG")] = n[QStringLiteral("ItemBitmap")];
        n[QStringLiteral("ItemMacro")] = QStringLiteral("id item label").split(u' ');
        return n;
    }();
    return names;
}

qint64 WalkEngine(CXmlDoc &doc)
{
    qint64 characters = 0;
    const auto &names = AttributeNames();
    doc.Rewind();
    // Depth-first over the whole tree with the engine's cursor.
    bool more = doc.NextElement();
    int depth = 0;
    while (more) {
        const QString name = doc.ElementName();
        characters += name.size();
        const auto found = names.find(name);
        if (found != names.end()) {
            for (const QString &attribute : found->second)
                characters += doc.Attribute(attribute).size();
        }
        if (doc.Descend()) {
            if (doc.NextElement()) {
                ++depth;
                continue;
            }
            doc.Ascend();
        }
        while (!(more = doc.NextElement()) && depth > 0) {
            doc.Ascend();
            --depth;
        }
    }
    return characters;
}

qint64 WalkStreamReader(QXmlStreamReader &reader)
{
    qint64 characters = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        characters += reader.name().toString().size();
        const QXmlStreamAttributes attributes = reader.attributes();
        for (const QXmlStreamAttribute &a : attributes)
            characters += a.name().toString().size() + a.value().toString().size();
    }
    return characters;
}

void BM_EngineIndexAndWalk(benchmark::State &state)
{
    Fixture &d = Data();
    for (auto _ : state) {
        CXmlDoc doc;
        doc.LoadText(d.text);
        benchmark::DoNotOptimize(WalkEngine(doc));
    }
    state.SetBytesProcessed(state.iterations() * d.text.size() * 2);
}

void BM_EngineIndexOnly(benchmark::State &state)
{
    Fixture &d = Data();
    for (auto _ : state) {
        CXmlDoc doc;
        benchmark::DoNotOptimize(doc.LoadText(d.text));
    }
    state.SetBytesProcessed(state.iterations() * d.text.size() * 2);
}

void BM_StreamReaderWalk(benchmark::State &state)
{
    Fixture &d = Data();
    for (auto _ : state) {
        QXmlStreamReader reader(d.text);
        benchmark::DoNotOptimize(WalkStreamReader(reader));
    }
    state.SetBytesProcessed(state.iterations() * d.text.size() * 2);
}

void BM_LoadProject(benchmark::State &state)
{
    Fixture &d = Data();
    const LoadServices services = StandardLoadServices();
    for (auto _ : state) {
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        LoadProject(d.path, true, settings, used, model, services);
        benchmark::DoNotOptimize(model.pages.Count());
    }
}

void BM_StreamReaderWalkFile(benchmark::State &state)
{
    Fixture &d = Data();
    for (auto _ : state) {
        QFile file(d.path);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader reader(&file);
        benchmark::DoNotOptimize(WalkStreamReader(reader));
    }
}

void BM_SaveProject(benchmark::State &state)
{
    Fixture &d = Data();
    const QString out = d.dir.filePath(QStringLiteral("saved.bjpx"));
    for (auto _ : state)
        SaveProject(d.model, out, SaveMode::Plain, QString(), ProgramSettings());
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

void BM_FileWriteSameBytes(benchmark::State &state)
{
    Fixture &d = Data();
    const QString out = d.dir.filePath(QStringLiteral("raw.bjpx"));
    for (auto _ : state) {
        QFile file(out);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(d.bytes);
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

BENCHMARK(BM_EngineIndexAndWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineIndexOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamReaderWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StreamReaderWalkFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FileWriteSameBytes)->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps their times for the ratios.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    std::printf("Generated project: %.1f MB of UTF-16 text\n", Data().bytes.size() / 1048576.0);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char *a, const char *b) {
        const double x = reporter.seconds[a], y = reporter.seconds[b];
        return (x > 0 && y > 0) ? x / y : 0.0;
    };
    std::printf("\nRatios (lower is better for us):\n");
    std::printf("  engine index+walk / QXmlStreamReader walk: %.2f (target <= 0.50)\n",
                ratio("BM_EngineIndexAndWalk", "BM_StreamReaderWalk"));
    std::printf("  LoadProject / QXmlStreamReader walk of the file: %.2f (target <= 2.00)\n",
                ratio("BM_LoadProject", "BM_StreamReaderWalkFile"));
    std::printf("  SaveProject / one QFile::write of the same bytes: %.2f\n",
                ratio("BM_SaveProject", "BM_FileWriteSameBytes"));
    benchmark::Shutdown();
    return 0;
}
