// SPDX-License-Identifier: MIT
// Project file speed and memory against peers on the same generated content sets: 1, 100 and
// 1000 pages of 256 items, each with 199 pictures, 56 materials, 1000 texts and 100 macros.
// Every benchmark runs in repetitions (9 unless --benchmark_repetitions says otherwise); the
// ratios printed at the end are of the medians of CPU time, ours over the peer's on the same
// input in the same run:
//   SaveProject         / one QFile::write of the same bytes            (target <= 1.50)
//   SaveProject         / the same write followed by fdatasync, as durable as the save
//                                                                       (target <= 1.50)
//   and, to show what of the save is not composing, the save's durable replacement of the file
//   with the same bytes already composed / the same QFile::write
//   LoadProject         / a QXmlStreamReader walk of the same file      (target <= 0.50)
//   check (load and navigation analysis) / LoadProject alone           (target <= 1.30)
//   check with layout findings / LoadProject of the same 1000 pages of the sample (no target)
//   engine parse + walk / pugixml parse + walk of the same UTF-16 text (target <= 1.00)
//   engine parse + walk / pugixml parse + walk of the same document in UTF-8, pugixml's own
//                         best input                                    (target <= 1.00)
// and the peak memory of `orinedit-cli convert` per MB of project file (target <= 1.5 MiB).

#include "actions/navigation_analysis.h"
#include "images/colour_map.h"
#include "images/load_services.h"
#include "preview/layout_findings.h"
#include "preview/work_folder_images.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/safe_file.h"
#include "model/text_codec.h"
#include "model/xml_doc.h"

#include "bench_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orin;

namespace {

constexpr int kDefaultRepetitions = 9;
const int kPageCounts[] = {1, 100, 1000};

void FillModel(CContentModel &m, int pages)
{
    for (int p = 1; p <= pages; ++p) {
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

// One content set, its text, its file bytes and the file on disk.
struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    QString text;
    QString path;
    QByteArray bytes;
    QByteArray utf8; // the same document in UTF-8

    explicit Fixture(int pages)
    {
        FillModel(model, pages);
        text = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
        bytes = EncodeUnicodeTextFile(text);
        utf8 = text.toUtf8();
        path = dir.filePath(QStringLiteral("large.bjpx"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
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

// The attribute names each element of the format carries: the engine reads attributes by name.
using NameMap = std::map<QString, QStringList, std::less<>>;

const NameMap &AttributeNames()
{
    static const NameMap names = [] {
        NameMap n;
        n[QStringLiteral("BMLJPEG")] = QStringLiteral(
            "id comment defitem tvitem clock return up down left right back data blue red green "
            "yellow timer marquee marquee_speed timer_item timer_ino textid backcol curcol "
            "cursize memory cursor smacro").split(u' ');
        n[QStringLiteral("Item")] = QStringLiteral(
            "id idg parent x y width height focus outfocus ret up down left right pic_no "
            "text_no").split(u' ');
        // An item's text and a record of the text table share their element name; the
        // reader asks each for its own attributes, in the order they are written.
        n[QStringLiteral("Item/ItemText")] = QStringLiteral(
            "margin_x margin_y color size bcolor wordwrap").split(u' ');
        n[QStringLiteral("ItemText")] = QStringLiteral("id item label").split(u' ');
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

// Every element's name and every attribute's name and value, as views where nothing is to be
// decoded, the way the project reader takes them.
qint64 WalkEngine(CXmlDoc &doc)
{
    qint64 characters = 0;
    const auto &names = AttributeNames();
    const QString itemText = QStringLiteral("Item/ItemText");
    doc.Rewind();
    // Depth-first over the whole tree with the engine's cursor.
    bool more = doc.NextElement();
    int depth = 0;
    std::vector<QStringView> ancestors; // names of the elements descended into
    while (more) {
        const QStringView parent = ancestors.empty() ? QStringView() : ancestors.back();
        const QStringView name = doc.ElementNameView();
        characters += name.size();
        const bool inItem = parent == u"Item" && name == u"ItemText";
        const auto found = inItem ? names.find(itemText) : names.find(name);
        if (found != names.end()) {
            for (const QString &attribute : found->second) {
                QStringView value;
                if (!doc.RawAttribute(attribute, value))
                    continue;
                characters += attribute.size();
                characters += HasMarkupReference(value) ? UnescapeMarkup(value).size() : value.size();
            }
        }
        if (doc.Descend()) {
            if (doc.NextElement()) {
                ++depth;
                ancestors.push_back(name);
                continue;
            }
            doc.Ascend();
        }
        while (!(more = doc.NextElement()) && depth > 0) {
            doc.Ascend();
            --depth;
            ancestors.pop_back();
        }
    }
    return characters;
}

qint64 WalkPugixml(const pugi::xml_node &root)
{
    qint64 characters = 0;
    for (pugi::xml_node node = root.first_child(); node;) {
        if (node.type() == pugi::node_element) {
            characters += qint64(std::strlen(node.name()));
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                characters += qint64(std::strlen(a.name()) + std::strlen(a.value()));
        }
        if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling())
            node = node.parent() == root ? pugi::xml_node() : node.parent();
        if (node)
            node = node.next_sibling();
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

int Pages(const benchmark::State &state)
{
    return int(state.range(0));
}

void BM_EngineParseAndWalk(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    for (auto _ : state) {
        CXmlDoc doc;
        doc.LoadText(d.text);
        benchmark::DoNotOptimize(WalkEngine(doc));
    }
    state.SetBytesProcessed(state.iterations() * d.text.size() * 2);
}

void BM_PugixmlParseAndWalk(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(d.text.utf16(), size_t(d.text.size()) * 2, pugi::parse_default,
                        pugi::encoding_utf16_le);
        benchmark::DoNotOptimize(WalkPugixml(doc));
    }
    state.SetBytesProcessed(state.iterations() * d.text.size() * 2);
}

void BM_PugixmlUtf8ParseAndWalk(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(d.utf8.constData(), size_t(d.utf8.size()), pugi::parse_default,
                        pugi::encoding_utf8);
        benchmark::DoNotOptimize(WalkPugixml(doc));
    }
    state.SetBytesProcessed(state.iterations() * d.utf8.size());
}

// One load of a project file as the editor opens it; the model is let go at once.
int LoadOnce(const QString &path, const LoadServices &services)
{
    CContentModel model;
    ProgramSettings settings;
    qint64 used = 0;
    LoadProject(path, true, settings, used, model, services);
    return model.pages.Count();
}

void BM_LoadProject(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const LoadServices services = StandardLoadServices();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadOnce(d.path, services));
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

// The load and the navigation analysis: what `orinedit-cli check` does before its layout
// findings (BM_CheckWithLayout below measures those too).
void BM_CheckProject(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const LoadServices services = StandardLoadServices();
    for (auto _ : state) {
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        LoadProject(d.path, true, settings, used, model, services);
        const NavigationAnalysis analysis = AnalyseNavigation(model, settings);
        benchmark::DoNotOptimize(analysis.findings.size());
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

void BM_StreamReaderWalkFile(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    for (auto _ : state) {
        QFile file(d.path);
        file.open(QIODevice::ReadOnly);
        QXmlStreamReader reader(&file);
        benchmark::DoNotOptimize(WalkStreamReader(reader));
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

void BM_SaveProject(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const QString out = d.dir.filePath(QStringLiteral("saved.bjpx"));
    for (auto _ : state)
        SaveProject(d.model, out, SaveMode::Plain, QString(), ProgramSettings());
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

void BM_FileWriteSameBytes(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const QString out = d.dir.filePath(QStringLiteral("raw.bjpx"));
    for (auto _ : state) {
        QFile file(out);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(d.bytes);
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

// The same bytes already composed, through the save's own replacement of the file (temporary
// file synced, .bak kept, renames, folder synced): what a save costs besides composing.
void BM_ReplaceWithSameBytes(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const QString out = d.dir.filePath(QStringLiteral("replaced.bjpx"));
    for (auto _ : state)
        ReplaceFileKeepingBackup(out, d.bytes);
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

// The same write made durable as a save is: the bytes synced to the disk before the file is
// closed.
void BM_FileWriteSameBytesSynced(benchmark::State &state)
{
    Fixture &d = Data(Pages(state));
    const QString out = d.dir.filePath(QStringLiteral("raw.bjpx"));
    for (auto _ : state) {
        QFile file(out);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(d.bytes);
        file.flush();
        ::fdatasync(file.handle());
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

// The sample content set repeated to `pages` pages, each copy under an id of its own, beside a
// copy of its pictures: the pages `check` meets on a large set, backgrounds shared by many.
struct SampleSet {
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    explicit SampleSet(int pages)
    {
        const QString source = QStringLiteral(ORIN_SOURCE_DIR "/examples");
        QDir().mkpath(dir.filePath(QStringLiteral("sample.")));
        const QDir pictures(source + QStringLiteral("/sample."));
        for (const QString &name : pictures.entryList(QDir::Files))
            QFile::copy(pictures.filePath(name), dir.filePath(QStringLiteral("sample./") + name));
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        if (!LoadProject(source + QStringLiteral("/sample.bjpx"), true, settings, used, model,
                         StandardLoadServices()))
            std::fprintf(stderr, "cannot read the sample\n");
        const int original = model.pages.Count();
        int nextId = 0;
        for (const auto &page : model.pages)
            nextId = std::max(nextId, page->id);
        for (int i = original; i < pages && original > 0; ++i) {
            auto page = std::make_unique<CMyProgramInfo>(*model.pages.At(i % original));
            page->id = ++nextId;
            model.pages.Add(std::move(page));
        }
        const QString text = ComposeProject(model, SaveMode::Plain, QString(), settings);
        bytes = EncodeUnicodeTextFile(text);
        path = dir.filePath(QStringLiteral("sample-set.bjpx"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
};

SampleSet &SampleData(int pages)
{
    static std::map<int, std::unique_ptr<SampleSet>> sets;
    auto &set = sets[pages];
    if (!set)
        set = std::make_unique<SampleSet>(pages);
    return *set;
}

void BM_LoadSampleSet(benchmark::State &state)
{
    SampleSet &d = SampleData(Pages(state));
    const LoadServices services = StandardLoadServices();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadOnce(d.path, services));
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

// All `orinedit-cli check` does before it prints: the load, the navigation analysis and the
// layout findings, the pictures painted from copies in a work folder of their own.
void BM_CheckWithLayout(benchmark::State &state)
{
    SampleSet &d = SampleData(Pages(state));
    const LoadServices services = StandardLoadServices();
    const CColourMap map;
    for (auto _ : state) {
        CContentModel model;
        ProgramSettings settings;
        qint64 used = 0;
        LoadProject(d.path, true, settings, used, model, services);
        const NavigationAnalysis analysis = AnalyseNavigation(model, settings);
        QTemporaryDir work;
        CWorkFolderImages images(map, work.path());
        const std::vector<LayoutFinding> layout =
            FindLayoutProblems(model, settings, map, images, LayoutCheckOptions());
        benchmark::DoNotOptimize(analysis.findings.size() + layout.size());
    }
    state.SetBytesProcessed(state.iterations() * d.bytes.size());
}

constexpr int kSampleSetPages = 1000;

void PerSize(benchmark::internal::Benchmark *b)
{
    for (int pages : kPageCounts)
        b->Arg(pages);
    // The repetitions come from --benchmark_repetitions (see main).
    b->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_EngineParseAndWalk)->Apply(PerSize);
BENCHMARK(BM_PugixmlParseAndWalk)->Apply(PerSize);
BENCHMARK(BM_PugixmlUtf8ParseAndWalk)->Apply(PerSize);
BENCHMARK(BM_LoadProject)->Apply(PerSize);
BENCHMARK(BM_CheckProject)->Apply(PerSize);
BENCHMARK(BM_StreamReaderWalkFile)->Apply(PerSize);
BENCHMARK(BM_SaveProject)->Apply(PerSize);
BENCHMARK(BM_FileWriteSameBytes)->Apply(PerSize);
BENCHMARK(BM_FileWriteSameBytesSynced)->Apply(PerSize);
BENCHMARK(BM_ReplaceWithSameBytes)->Apply(PerSize);
BENCHMARK(BM_LoadSampleSet)->Arg(kSampleSetPages)->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);
BENCHMARK(BM_CheckWithLayout)->Arg(kSampleSetPages)->Unit(benchmark::kMillisecond)->ReportAggregatesOnly(true);

// The medians of every run; a ratio is ours over the peer's at one size.
class CRatioReporter : public bench::CMedianReporter {
public:
    double Ratio(const char *ours, const char *peer, int pages) const
    {
        const std::string size = "/" + std::to_string(pages);
        return CpuRatio(ours + size, peer + size);
    }
};

// Runs `orinedit-cli convert IN OUT` as a child and prints its peak resident memory in KiB.
// The benchmark process itself starts this as a small helper (its own program in this mode):
// a child started straight from the large benchmark process would report the benchmark's
// peak, since the kernel carries a process's peak across exec.
int MeasureConvertPeak(char *cli, char *in, char *out)
{
    const pid_t pid = fork();
    if (pid < 0)
        return 1;
    if (pid == 0) {
        char convert[] = "convert";
        char *args[] = {cli, convert, in, out, nullptr};
        execv(cli, args);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return 1;
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}

// Peak resident memory in KiB of one `orinedit-cli convert IN OUT`, or -1.
long ConvertPeakKiB(const QString &cli, const QString &in, const QString &out)
{
    QProcess helper;
    helper.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--convert-peak"), cli, in, out});
    if (!helper.waitForFinished(-1) || helper.exitCode() != 0)
        return -1;
    bool ok = false;
    const long kib = QString::fromLatin1(helper.readAllStandardOutput()).trimmed().toLong(&ok);
    return ok ? kib : -1;
}

void PrintConvertMemory()
{
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/orinedit-cli");
    if (!QFile::exists(cli)) {
        std::printf("  orinedit-cli convert peak memory: %s not built\n", qPrintable(cli));
        return;
    }
    Fixture &small = Data(1);
    Fixture &large = Data(1000);
    const long base = ConvertPeakKiB(cli, small.path, small.dir.filePath(QStringLiteral("c.bjpx")));
    const long peak = ConvertPeakKiB(cli, large.path, large.dir.filePath(QStringLiteral("c.bjpx")));
    if (base < 0 || peak < 0) {
        std::printf("  orinedit-cli convert failed\n");
        return;
    }
    const double fileMb = large.bytes.size() / 1e6;
    std::printf("  orinedit-cli convert of a %.1f MB project: peak %.1f MiB = %.2f MiB per MB "
                "(%.2f MiB per MB above the %.1f MiB of a 1-page project) (target <= 1.50)\n",
                fileMb, peak / 1024.0, peak / 1024.0 / fileMb, (peak - base) / 1024.0 / fileMb,
                base / 1024.0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--convert-peak") == 0)
        return MeasureConvertPeak(argv[2], argv[3], argv[4]);
    // The layout findings lay texts out, which takes a GUI application (without a screen).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The C library gives large blocks back to the system when they are freed, or keeps them,
    // depending on what was freed before: the markup peers' speed at 100 pages changed
    // sevenfold with the order the benchmarks ran in (every byte of a fresh block costs a page
    // fault). Kept freed memory puts every benchmark, ours and the peers', in the same state
    // whatever ran before it. The memory of `convert` is measured in a process of its own.
    mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest the library takes
    mallopt(M_TRIM_THRESHOLD, INT_MAX);
    QGuiApplication app(argc, argv);
    bench::InitializeBenchmarks(argc, argv, kDefaultRepetitions);
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of median CPU time over %d repetitions (lower is better for us):\n",
                reporter.Repetitions());
    for (int pages : kPageCounts) {
        std::printf("  %4d pages (%.1f MB file):\n", pages, Data(pages).bytes.size() / 1e6);
        std::printf("    SaveProject / QFile::write of the same bytes:      %5.2f (target <= 1.50)\n",
                    reporter.Ratio("BM_SaveProject", "BM_FileWriteSameBytes", pages));
        std::printf("    SaveProject / the same write and fdatasync:        %5.2f (target <= 1.50)\n",
                    reporter.Ratio("BM_SaveProject", "BM_FileWriteSameBytesSynced", pages));
        std::printf("    (the save's file replacement alone / QFile::write: %5.2f)\n",
                    reporter.Ratio("BM_ReplaceWithSameBytes", "BM_FileWriteSameBytes", pages));
        std::printf("    LoadProject / QXmlStreamReader walk of the file:   %5.2f (target <= 0.50)\n",
                    reporter.Ratio("BM_LoadProject", "BM_StreamReaderWalkFile", pages));
        std::printf("    check (load + navigation analysis) / LoadProject:  %5.2f (target <= 1.30)\n",
                    reporter.Ratio("BM_CheckProject", "BM_LoadProject", pages));
        std::printf("    engine parse+walk / pugixml parse+walk, UTF-16:    %5.2f (target <= 1.00)\n",
                    reporter.Ratio("BM_EngineParseAndWalk", "BM_PugixmlParseAndWalk", pages));
        std::printf("    engine parse+walk / pugixml parse+walk, UTF-8:     %5.2f (target <= 1.00)\n",
                    reporter.Ratio("BM_EngineParseAndWalk", "BM_PugixmlUtf8ParseAndWalk", pages));
    }
    std::printf("  %4d pages of the sample (%.1f MB file):\n", kSampleSetPages,
                SampleData(kSampleSetPages).bytes.size() / 1e6);
    std::printf("    check with layout findings / LoadProject:          %5.2f\n",
                reporter.Ratio("BM_CheckWithLayout", "BM_LoadSampleSet", kSampleSetPages));
    PrintConvertMemory();
    benchmark::Shutdown();
    return 0;
}
