// SPDX-License-Identifier: MIT
// The whole-project tools on a project read from any bytes: the navigation check, the copy
// document of every page merged into an empty content set, data slimming and renumbering.
//   check:      changes nothing, gives the same findings twice, broken references first and
//               counted; every jump starts at a page and ends at a page or a special screen;
//               what it calls missing is missing.
//   copy:       the document of all pages merges into an empty set completely or not at all;
//               merged, every page keeps its items and every picture and text an item
//               shows (texts and picture paths as a file holds them).
//   slimming:   removes only pictures and materials nothing shows (the check finds no new
//               missing image), only ids 1..255, and a second slimming removes nothing.
//   renumber:   the pages become 1..n, and every jump leads from and to the same pages as
//               before (by position); a second renumbering changes nothing.
//   difference: a set against a second reading of itself shows nothing; against its renumbered
//               copy (distinct page ids above 0) it shows only renumbered and moved
//               pages, and its report and JSON forms are made without fault.

#include "project_round_trip.h"

#include "actions/action_strings.h"
#include "actions/content_diff.h"
#include "actions/copy_document.h"
#include "actions/data_slimming.h"
#include "actions/navigation_analysis.h"
#include "actions/page_merge.h"

#include <QSet>

#include <algorithm>
#include <iterator>
#include <tuple>
#include <vector>

using namespace orin;
using namespace orin::fuzz;

namespace {

QByteArray Saved(const CContentModel &model, const ProgramSettings &settings)
{
    return ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings);
}

using FindingKey = std::tuple<int, int, int, int, QString, int>;

FindingKey KeyOf(const Finding &f)
{
    return {int(f.kind), f.pageId, f.itemId, f.macroId, f.field, f.target};
}

std::vector<FindingKey> Keys(const NavigationAnalysis &analysis, bool onlyImages)
{
    std::vector<FindingKey> keys;
    for (const Finding &f : analysis.findings) {
        if (!onlyImages || f.kind == FindingKind::MissingImage)
            keys.push_back(KeyOf(f));
    }
    std::sort(keys.begin(), keys.end());
    return keys;
}

bool HasUniquePageIds(const CContentModel &model)
{
    QSet<int> ids;
    for (const auto &page : model.pages) {
        if (ids.contains(page->id))
            return false;
        ids.insert(page->id);
    }
    return true;
}

void CheckAnalysis(const Loaded &loaded)
{
    const CContentModel &model = loaded.model;
    const QByteArray before = Saved(model, loaded.settings);
    const NavigationAnalysis analysis = AnalyseNavigation(model, loaded.settings);
    ORIN_FUZZ_CHECK(Saved(model, loaded.settings) == before);
    ORIN_FUZZ_CHECK(Keys(AnalyseNavigation(model, loaded.settings), false)
                    == Keys(analysis, false));
    ORIN_FUZZ_CHECK(int(analysis.pages.size()) == model.pages.Count());
    for (int i = 0; i < model.pages.Count(); ++i)
        ORIN_FUZZ_CHECK(analysis.pages[size_t(i)].pageId == model.pages.At(i)->id);
    for (const PageEdge &edge : analysis.edges) {
        ORIN_FUZZ_CHECK(model.pages.FindById(edge.from) != nullptr);
        ORIN_FUZZ_CHECK(model.pages.FindById(edge.to) != nullptr || IsSpecialScreen(edge.to));
    }
    for (int id : analysis.reachablePages)
        ORIN_FUZZ_CHECK(model.pages.FindById(id) != nullptr);
    int broken = 0;
    bool warningSeen = false;
    for (const Finding &f : analysis.findings) {
        const bool isBroken = IsBrokenReference(f.kind);
        ORIN_FUZZ_CHECK(!(isBroken && warningSeen));
        warningSeen = warningSeen || !isBroken;
        broken += isBroken ? 1 : 0;
        switch (f.kind) {
        case FindingKind::MissingPage:
            ORIN_FUZZ_CHECK(model.pages.FindById(f.target) == nullptr);
            break;
        case FindingKind::MissingText:
            ORIN_FUZZ_CHECK(model.texts.FindById(f.target) == nullptr);
            break;
        case FindingKind::MissingMacro:
            ORIN_FUZZ_CHECK(model.macros.FindById(f.target) == nullptr);
            break;
        case FindingKind::MissingImage:
            ORIN_FUZZ_CHECK(model.FindImage(f.target) == nullptr);
            break;
        default:
            break;
        }
    }
    ORIN_FUZZ_CHECK(analysis.BrokenCount() == broken);
}

// A text or a path as a saved file or a copy document holds it: U+0000 is written as "?".
QString AsWritten(QString text)
{
    return text.replace(QChar(u'\0'), u'?');
}

void CheckCopyDocument(const CContentModel &model)
{
    QList<int> all;
    for (int i = 0; i < model.pages.Count(); ++i)
        all.append(i);
    const QString document = WriteCopyDocument(model, all);
    CContentModel target;
    const MergeResult result = MergeCopyDocument(target, document, MergeOptions());
    if (!result.Changed()) {
        ORIN_FUZZ_CHECK(result.status != MergeStatus::NoDocument);
        ORIN_FUZZ_CHECK(!result.Message().isEmpty());
        ORIN_FUZZ_CHECK(target.pages.Count() == 0 && target.pictures.Count() == 0
                        && target.materials.Count() == 0 && target.texts.Count() == 0
                        && target.macros.Count() == 0);
        return;
    }
    ORIN_FUZZ_CHECK(target.pages.Count() == model.pages.Count());
    for (int p = 0; p < model.pages.Count(); ++p) {
        const CMyProgramInfo &source = *model.pages.At(p);
        const CMyProgramInfo &merged = *target.pages.At(p);
        const int used = std::clamp(source.itemCount, 0, kItemSlots);
        ORIN_FUZZ_CHECK(std::clamp(merged.itemCount, 0, kItemSlots) == used);
        for (int slot = 0; slot < used; ++slot) {
            const PageItem &a = source.items[size_t(slot)];
            const PageItem &b = merged.items[size_t(slot)];
            if (!(a.id == b.id && AsWritten(a.text) == b.text && a.x == b.x && a.y == b.y
                  && a.width == b.width && a.height == b.height)) {
                std::fprintf(stderr, "page %d slot %d: id %d/%d x %g/%g y %g/%g w %g/%g h %g/%g "
                             "text \"%s\"/\"%s\"\n", p, slot, a.id, b.id, a.x, b.x, a.y, b.y,
                             a.width, b.width, a.height, b.height, qPrintable(a.text),
                             qPrintable(b.text));
                ORIN_FUZZ_CHECK(false);
            }
            // Numbers of 0 or below name no record (0 is "none", a negative one a deleted
            // record's), whatever the tables hold.
            const CMyPictureInfo *picture = a.pic_no > 0 ? model.FindImage(a.pic_no) : nullptr;
            if (picture != nullptr) {
                const CMyPictureInfo *copied = target.FindImage(b.pic_no);
                ORIN_FUZZ_CHECK(copied != nullptr && copied->path == AsWritten(picture->path));
            }
            const CMyTextInfo *text = a.text_no > 0 ? model.texts.FindById(a.text_no) : nullptr;
            if (text != nullptr) {
                const CMyTextInfo *copied = target.texts.FindById(b.text_no);
                if (!(copied != nullptr && copied->text == AsWritten(text->text))) {
                    std::fprintf(stderr, "page %d slot %d: text %d \"%s\" became %d \"%s\"\n",
                                 p, slot, a.text_no, qPrintable(text->text), b.text_no,
                                 copied ? qPrintable(copied->text) : "(none)");
                    ORIN_FUZZ_CHECK(false);
                }
            }
        }
    }
}

void CheckSlimming(Loaded &loaded)
{
    CContentModel &model = loaded.model;
    const auto missingBefore = Keys(AnalyseNavigation(model, loaded.settings), true);
    const int imagesBefore = model.pictures.Count() + model.materials.Count();
    const QList<RemovedImage> removed = SlimUnusedImages(model);
    ORIN_FUZZ_CHECK(model.pictures.Count() + model.materials.Count() + removed.size()
                    == imagesBefore);
    for (const RemovedImage &image : removed)
        ORIN_FUZZ_CHECK(image.id >= 1 && image.id <= 255);
    ORIN_FUZZ_CHECK(Keys(AnalyseNavigation(model, loaded.settings), true) == missingBefore);
    ORIN_FUZZ_CHECK(SlimUnusedImages(model).isEmpty());
}

// Every jump as (position of the page it starts on, position of the page it leads to or the
// special screen, item, macro, how).
using Jump = std::tuple<int, int, int, int, QString>;

std::vector<Jump> Jumps(const CContentModel &model, const ProgramSettings &settings)
{
    const auto position = [&model](int id) {
        const int index = model.pages.IndexOfId(id);
        return index >= 0 ? index + 1 : -id;
    };
    std::vector<Jump> jumps;
    for (const PageEdge &edge : AnalyseNavigation(model, settings).edges)
        jumps.emplace_back(position(edge.from), position(edge.to), edge.itemId, edge.macroId,
                           edge.via);
    std::sort(jumps.begin(), jumps.end());
    return jumps;
}

void CheckRenumbering(Loaded &loaded)
{
    CContentModel &model = loaded.model;
    const bool unique = HasUniquePageIds(model);
    const auto jumpsBefore = Jumps(model, loaded.settings);
    RenumberPages(model);
    for (int i = 0; i < model.pages.Count(); ++i)
        ORIN_FUZZ_CHECK(model.pages.At(i)->id == i + 1);
    // With a page id twice, jumps to it went to the first of them; afterwards they cannot
    // tell, so only sets with distinct page ids are compared.
    if (unique) {
        const auto jumpsAfter = Jumps(model, loaded.settings);
        if (jumpsAfter != jumpsBefore) {
            std::vector<Jump> lost;
            std::set_difference(jumpsBefore.begin(), jumpsBefore.end(), jumpsAfter.begin(),
                                jumpsAfter.end(), std::back_inserter(lost));
            for (const Jump &jump : lost) {
                std::fprintf(stderr, "lost jump: page %d -> %d, item %d, macro %d, via %s\n",
                             std::get<0>(jump), std::get<1>(jump), std::get<2>(jump),
                             std::get<3>(jump), qPrintable(std::get<4>(jump)));
            }
        }
        ORIN_FUZZ_CHECK(jumpsAfter == jumpsBefore);
    }
    const QByteArray once = Saved(model, loaded.settings);
    RenumberPages(model);
    ORIN_FUZZ_CHECK(Saved(model, loaded.settings) == once);
}

void CheckDifference(const QString &text)
{
    Loaded before, after;
    Load(text, before);
    Load(text, after);
    const DiffSide beforeSide{before.model, before.settings, QString()};
    const DiffSide afterSide{after.model, after.settings, QString()};
    ORIN_FUZZ_CHECK(DiffContent(beforeSide, afterSide).IsEmpty());
    // Only sets of distinct page ids above 0: 0 means "no page" in a reference, and ids below
    // 0 could stand for the difference's own markers of "any page" and "a page that went".
    // Other sets are left to the first check.
    if (!HasUniquePageIds(after.model))
        return;
    for (const auto &page : after.model.pages) {
        if (page->id <= 0)
            return;
    }
    RenumberPages(after.model);
    const ContentDiff diff = DiffContent(beforeSide, afterSide);
    const QStringList lines = DiffReportLines(diff);
    if (!diff.settings.empty() || !diff.records.empty())
        std::fprintf(stderr, "%s\n", qPrintable(lines.join(u'\n')));
    ORIN_FUZZ_CHECK(diff.settings.empty() && diff.records.empty());
    for (const PageDiff &page : diff.pages) {
        if (page.kind != DiffKind::Same)
            std::fprintf(stderr, "%s\n", qPrintable(lines.join(u'\n')));
        ORIN_FUZZ_CHECK(page.kind == DiffKind::Same);
    }
    ORIN_FUZZ_CHECK(int(diff.pagePairs.size()) == before.model.pages.Count());
    ORIN_FUZZ_CHECK(!DiffJson(diff).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool marked = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xEF\xBB\xBF");
    const QString text =
        marked ? DecodeUnicodeTextFile(bytes) : QString::fromUtf8(bytes);
    {
        Loaded loaded;
        Load(text, loaded);
        CheckAnalysis(loaded);
        CheckCopyDocument(loaded.model);
        CheckSlimming(loaded);
    }
    {
        Loaded loaded;
        Load(text, loaded);
        CheckRenumbering(loaded);
    }
    CheckDifference(text);
    return 0;
}
