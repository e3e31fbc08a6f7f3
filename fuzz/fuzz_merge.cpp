// SPDX-License-Identifier: MIT
// The page merge of a dropped copy document into a small content set. The first byte picks how
// full the content set is (the picture table one short of its last id, the text and page ids at
// the end of int), the rest is the document. A refused merge changes nothing; a merge appends
// records whose ids are new, in range and unique, keeps every record that was there, gives the
// merged pages consecutive usable ids with their arrow chain, and rewrites every reference of
// the incoming pages and macros through the id maps. The merged model saves and reads back the
// same.

#include "fuzz_check.h"
#include "project_round_trip.h"

#include "actions/action_strings.h"
#include "actions/page_merge.h"
#include "images/image_import.h"
#include "model/xml_doc.h"

#include <QList>
#include <QString>

#include <array>
#include <climits>
#include <memory>
#include <vector>

using namespace orin;
using namespace orin::fuzz;

namespace {

template <typename T>
T &AddRecord(CMyDataArray<T> &table, int id)
{
    auto record = std::make_unique<T>();
    record->id = id;
    return *table.At(table.Add(std::move(record)));
}

void AddPage(CContentModel &model, int id)
{
    CMyProgramInfo &page = AddRecord(model.pages, id);
    page.itemCount = 1;
    PageItem &item = page.items[0];
    item.id = 1;
    item.pic_no = 1;
    item.focus = item.outfocus = QStringLiteral("0");
    item.ret = QStringLiteral("G:2,P:1:1");
}

// The content set the document is merged into. `fill` bit 0: pictures up to one short of the
// last picture id; bit 1: a text with the largest int id; bit 2: a page with the largest id.
void MakeContentSet(CContentModel &model, int fill)
{
    AddPage(model, 1);
    AddPage(model, 2);
    AddRecord(model.pictures, 1).path = QStringLiteral("/fuzz/a.jpg");
    AddRecord(model.pictures, 2).path = QStringLiteral("/fuzz/b.png");
    AddRecord(model.materials, 200).path = QStringLiteral("/fuzz/m.png");
    if (fill & 1) {
        for (int id = 3; id < kLastPictureId; ++id)
            AddRecord(model.pictures, id).path = QStringLiteral("/fuzz/%1.jpg").arg(id);
    }
    AddRecord(model.texts, 1).text = QStringLiteral("[#1]a[#2]b");
    if (fill & 2)
        AddRecord(model.texts, INT_MAX);
    AddRecord(model.macros, 1).macro = QStringLiteral("G:1");
    if (fill & 4)
        AddPage(model, INT_MAX - 1);
}

// The pages of the document as the merge reads them, before any renumbering.
std::vector<std::unique_ptr<CMyProgramInfo>> DocumentPages(const QString &text)
{
    std::vector<std::unique_ptr<CMyProgramInfo>> pages;
    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (!doc.NextElement() || !doc.Descend() || !doc.NextElement()
        || doc.ElementName() != u"Program" || !doc.Descend())
        return pages;
    while (doc.NextElement(QStringLiteral("BMLJPEG"))) {
        pages.push_back(std::make_unique<CMyProgramInfo>());
        ReadPage(doc, *pages.back(), kProjectFolder);
    }
    return pages;
}

struct ReferenceKind {
    const char16_t *prefix; // lower case: extraction matches both case forms
    ReferenceForm form;
    const IdMap *map;
};

// Every reference of a rewritten action string is the original's mapped through its id map,
// in the same order, and the entries are the same.
void CheckRewritten(const QString &original, const QString &merged,
                    const std::vector<ReferenceKind> &kinds)
{
    ORIN_FUZZ_CHECK(merged.count(u',') == original.count(u','));
    for (const ReferenceKind &kind : kinds) {
        QList<int> before;
        QList<int> after;
        ExtractReferences(original, QStringView(kind.prefix), kind.form, before);
        ExtractReferences(merged, QStringView(kind.prefix), kind.form, after);
        ORIN_FUZZ_CHECK(after.size() == before.size());
        // A reference without digits ("t:x:") reads as 0 and names no record: it stays.
        for (qsizetype i = 0; i < before.size(); ++i)
            ORIN_FUZZ_CHECK(after[i] == kind.map->Map(before[i]) || (before[i] == 0 && after[i] == 0));
    }
}

std::array<const QString *, 7> ActionStrings(const PageItem &item)
{
    return {&item.focus, &item.outfocus, &item.ret, &item.up, &item.down, &item.left,
            &item.right};
}

template <typename T>
bool UniqueIds(const CMyDataArray<T> &table)
{
    for (int i = 0; i < table.Count(); ++i) {
        for (int j = i + 1; j < table.Count(); ++j) {
            if (table.At(i)->id == table.At(j)->id)
                return false;
        }
    }
    return true;
}

// The ids of the records appended after the first `kept` of a table.
template <typename T>
QList<int> AddedIds(const CMyDataArray<T> &table, int kept)
{
    QList<int> ids;
    for (int i = kept; i < table.Count(); ++i)
        ids.append(table.At(i)->id);
    return ids;
}

template <typename T>
void DropAdded(CMyDataArray<T> &table, int kept)
{
    while (table.Count() > kept)
        table.RemoveAt(table.Count() - 1);
}

bool IsMapPair(const IdMap &map)
{
    return map.oldIds.size() == map.newIds.size();
}

void CheckMergedPages(const CContentModel &model, int keptPages, const MergeResult &result,
                      const std::vector<std::unique_ptr<CMyProgramInfo>> &sources, int defTimer)
{
    ORIN_FUZZ_CHECK(result.addedPages == int(sources.size()));
    QList<int> sourceIds;
    for (const auto &page : sources)
        sourceIds.append(page->id);
    ORIN_FUZZ_CHECK(result.pages.oldIds == sourceIds);
    ORIN_FUZZ_CHECK(result.pages.newIds == AddedIds(model.pages, keptPages));

    const std::vector<ReferenceKind> itemKinds = {
        {u"p:", ReferenceForm::Colon, &result.images}, {u"t:", ReferenceForm::Colon, &result.texts},
        {u"r:", ReferenceForm::Colon, &result.texts},  {u"i:", ReferenceForm::Colon, &result.texts},
        {u"s:", ReferenceForm::Comma, &result.texts},  {u"a:", ReferenceForm::Comma, &result.macros},
        {u"g:", ReferenceForm::Comma, &result.pages}};
    for (size_t p = 0; p < sources.size(); ++p) {
        const CMyProgramInfo &source = *sources[p];
        const CMyProgramInfo &page = *model.pages.At(keptPages + int(p));
        ORIN_FUZZ_CHECK(page.id > 0 && !IsReservedPageId(page.id));
        ORIN_FUZZ_CHECK(page.timer == defTimer);
        ORIN_FUZZ_CHECK(page.textid == result.texts.Map(source.textid));
        ORIN_FUZZ_CHECK(page.smacro == result.macros.Map(source.smacro));
        // The arrows lead from one merged page to the next.
        ORIN_FUZZ_CHECK(page.up == page.left && page.down == page.right);
        ORIN_FUZZ_CHECK(page.up >= 0 && page.up < page.id);
        ORIN_FUZZ_CHECK(page.down > page.id || (page.down == INT_MAX && page.id == INT_MAX));
        if (p > 0)
            ORIN_FUZZ_CHECK(page.up == model.pages.At(keptPages + int(p) - 1)->id);
        if (p + 1 < sources.size())
            ORIN_FUZZ_CHECK(page.down == model.pages.At(keptPages + int(p) + 1)->id);
        ORIN_FUZZ_CHECK(page.itemCount == source.itemCount);
        for (int slot = 0; slot < std::clamp(source.itemCount, 0, kItemSlots); ++slot) {
            const PageItem &from = std::as_const(source.items)[size_t(slot)];
            const PageItem &to = std::as_const(page.items)[size_t(slot)];
            ORIN_FUZZ_CHECK(to.pic_no == result.images.Map(from.pic_no));
            ORIN_FUZZ_CHECK(to.text_no == result.texts.Map(from.text_no));
            const auto fromStrings = ActionStrings(from);
            const auto toStrings = ActionStrings(to);
            for (size_t s = 0; s < fromStrings.size(); ++s) {
                // A ret that begins with a digit is one page id as a whole ("1,x" reads as 1):
                // a remapped one becomes the new id alone, and references are looked for in
                // what it became.
                QString expected = *fromStrings[s];
                if (fromStrings[s] == &from.ret)
                    RemapPlainNumber(expected, result.pages.oldIds, result.pages.newIds);
                CheckRewritten(expected, *toStrings[s], itemKinds);
            }
            // A plain number in ret is a page id.
            QString ret = from.ret;
            RemapPlainNumber(ret, result.pages.oldIds, result.pages.newIds);
            if (ret != from.ret)
                ORIN_FUZZ_CHECK(to.ret == ret);
        }
    }
}

void CheckMergedRecords(const CContentModel &model, const std::array<int, 5> &kept,
                        const MergeResult &result)
{
    ORIN_FUZZ_CHECK(IsMapPair(result.images) && IsMapPair(result.texts)
                    && IsMapPair(result.macros) && IsMapPair(result.pages));
    ORIN_FUZZ_CHECK(model.pictures.Count() == kept[1] + result.addedPictures);
    ORIN_FUZZ_CHECK(model.materials.Count() == kept[2] + result.addedMaterials);
    ORIN_FUZZ_CHECK(model.texts.Count() == kept[3] + result.addedTexts);
    ORIN_FUZZ_CHECK(model.macros.Count() == kept[4] + result.addedMacros);
    ORIN_FUZZ_CHECK(model.pages.Count() == kept[0] + result.addedPages);
    ORIN_FUZZ_CHECK(UniqueIds(model.pages) && UniqueIds(model.pictures)
                    && UniqueIds(model.materials) && UniqueIds(model.texts)
                    && UniqueIds(model.macros));
    for (int i = kept[1]; i < model.pictures.Count(); ++i) {
        const int id = model.pictures.At(i)->id;
        ORIN_FUZZ_CHECK(id > kPictureIdBase && id <= kLastPictureId);
    }
    for (int i = kept[2]; i < model.materials.Count(); ++i) {
        const int id = model.materials.At(i)->id;
        ORIN_FUZZ_CHECK(id > kMaterialIdBase && id <= kLastMaterialId);
    }
    ORIN_FUZZ_CHECK(result.texts.newIds == AddedIds(model.texts, kept[3]));
    ORIN_FUZZ_CHECK(result.macros.newIds == AddedIds(model.macros, kept[4]));
    // Every image of the document names a record of the pictures or the materials.
    ORIN_FUZZ_CHECK(result.images.oldIds.size() == result.imageElements);
    for (int id : result.images.newIds)
        ORIN_FUZZ_CHECK(model.pictures.FindById(id) || model.materials.FindById(id));
}

// The macros' references follow the maps too (their own calls included).
void CheckMergedMacros(const CContentModel &model, int keptMacros, const QString &text,
                       const MergeResult &result)
{
    // The sections are found as the merge finds them: Image, Text and Macro in that order.
    QStringList sources;
    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (doc.NextElement() && doc.Descend()) {
        if (doc.NextElement(QStringLiteral("Image")) && doc.Descend()) {
            while (doc.NextElement(QStringLiteral("ItemImage"))) {
            }
            doc.Ascend();
        }
        if (doc.NextElement(QStringLiteral("Text")) && doc.Descend()) {
            while (doc.NextElement(QStringLiteral("ItemText"))) {
            }
            doc.Ascend();
        }
        if (doc.NextElement(QStringLiteral("Macro")) && doc.Descend()) {
            while (doc.NextElement(QStringLiteral("ItemMacro")))
                sources.append(doc.ElementText());
        }
    }
    ORIN_FUZZ_CHECK(sources.size() == result.addedMacros);
    const std::vector<ReferenceKind> kinds = {
        {u"p:", ReferenceForm::Colon, &result.images}, {u"t:", ReferenceForm::Colon, &result.texts},
        {u"r:", ReferenceForm::Colon, &result.texts},  {u"i:", ReferenceForm::Colon, &result.texts},
        {u"s:", ReferenceForm::Comma, &result.texts},  {u"a:", ReferenceForm::Comma, &result.macros},
        {u"g:", ReferenceForm::Comma, &result.pages}};
    for (int i = 0; i < sources.size(); ++i)
        CheckRewritten(sources.at(i), model.macros.At(keptMacros + i)->macro, kinds);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int fill = data[0] & 7;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                           qsizetype(size - 1));
    CContentModel model;
    MakeContentSet(model, fill);
    ProgramSettings settings;
    // The content set depends on `fill` only: its saved form is made once for each.
    static std::array<QByteArray, 8> savedSets;
    if (savedSets[size_t(fill)].isEmpty())
        savedSets[size_t(fill)] =
            ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings);
    const QByteArray &before = savedSets[size_t(fill)];
    const std::array<int, 5> kept = {model.pages.Count(), model.pictures.Count(),
                                     model.materials.Count(), model.texts.Count(),
                                     model.macros.Count()};
    const int defTimer = 7;
    const MergeResult result = MergeCopyDocument(model, text, {defTimer, kProjectFolder});

    if (!result.Changed()) {
        // All or nothing: a refused document leaves the content set byte for byte.
        ORIN_FUZZ_CHECK(ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings)
                        == before);
        ORIN_FUZZ_CHECK(result.Message().isEmpty() == (result.status == MergeStatus::NoDocument));
        return 0;
    }
    CheckMergedRecords(model, kept, result);
    CheckMergedPages(model, kept[0], result, DocumentPages(text), defTimer);
    CheckMergedMacros(model, kept[4], text, result);

    CheckSaveAndReload(model, settings, true);

    // The records that were there are as they were.
    DropAdded(model.pages, kept[0]);
    DropAdded(model.pictures, kept[1]);
    DropAdded(model.materials, kept[2]);
    DropAdded(model.texts, kept[3]);
    DropAdded(model.macros, kept[4]);
    ORIN_FUZZ_CHECK(ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings)
                    == before);
    return 0;
}
