// SPDX-License-Identifier: MIT
#include "actions/page_merge.h"

#include "actions/action_effects.h"
#include "actions/action_strings.h"
#include "images/image_import.h"
#include "images/image_measure.h"
#include "model/leading_int.h"
#include "model/project_integrity.h"
#include "model/project_reader.h"
#include "model/ui_text.h"
#include "model/xml_doc.h"

#include <QFileInfo>

#include <climits>
#include <array>
#include <initializer_list>
#include <memory>
#include <vector>

namespace orin {

namespace {

QString Name(const char16_t *text)
{
    return QString::fromUtf16(text);
}

void Rewrite(QString &action, std::initializer_list<QStringView> prefixes, ReferenceForm form,
             const IdMap &map)
{
    for (QStringView prefix : prefixes)
        RewriteReferences(action, prefix, form, map.lookup);
}

// "p:"/"P:" references and the "$slider" image lists.
void RewriteImageReferences(QString &action, const IdMap &images)
{
    Rewrite(action, {u"p:", u"P:"}, ReferenceForm::Colon, images);
    RewriteSliderImages(action, u'p', images.lookup);
    RewriteSliderImages(action, u'P', images.lookup);
}

void RewriteTextReferences(QString &action, const IdMap &texts)
{
    Rewrite(action, {u"T:", u"t:", u"R:", u"r:", u"I:", u"i:"}, ReferenceForm::Colon, texts);
    Rewrite(action, {u"S:", u"s:"}, ReferenceForm::Comma, texts);
}

void RewriteMacroReferences(QString &action, const IdMap &macros)
{
    Rewrite(action, {u"A:", u"a:", u"QA:", u"qa:"}, ReferenceForm::Comma, macros);
}

void RewritePageReferences(QString &action, const IdMap &pages)
{
    Rewrite(action, {u"G:", u"g:"}, ReferenceForm::Comma, pages);
}

// The preview reads an entry's second character as its separator whatever it is, so "P,3:0"
// and "P*3:0" show picture 3 as "P:3:0" does. The entries of an item string that start with
// one of `letters` (upper case; either case matches), have another separator than the colon
// (those are the prefix rewrites' own) and name a `kind` id when the string runs (as the copy
// document collects them) get the new id of the digits right after the separator. All numbers
// are found before any changes, so that no id is mapped twice.
void RewriteOtherSeparators(QString &action, QStringView letters, EffectKind kind,
                            const IdMap &map)
{
    std::vector<std::pair<qsizetype, qsizetype>> numbers; // (start, length), in string order
    for (const ActionEffect &effect : ActionEffects(action, 1)) {
        const qsizetype at = effect.entryStart;
        if (effect.kind != kind || at < 0 || at + 2 >= action.size() || action.at(at + 1) == u':'
            || !letters.contains(action.at(at).toUpper()))
            continue;
        qsizetype end = at + 2;
        while (end < action.size() && action.at(end) >= u'0' && action.at(end) <= u'9')
            ++end;
        if (end > at + 2 && (numbers.empty() || numbers.back().first != at + 2))
            numbers.emplace_back(at + 2, end - at - 2);
    }
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it) {
        const int id = ParseLeadingInt(QStringView(action).mid(it->first, it->second));
        if (map.lookup.Contains(id))
            action.replace(it->first, it->second, QString::number(map.lookup.Map(id)));
    }
}

std::array<QString *, 7> ActionStrings(PageItem &item)
{
    return {&item.focus, &item.outfocus, &item.ret, &item.up, &item.down, &item.left,
            &item.right};
}

template <typename T>
qint64 LargestId(const CMyDataArray<T> &table, qint64 floor)
{
    qint64 largest = floor;
    for (const auto &record : table)
        largest = std::max<qint64>(largest, record->id);
    return largest;
}

// The ids that pages of the preview reserve are never given to a page; the neighbours of a
// page skip them too, so that the arrow chain leads from one merged page to the next.
qint64 NextUsablePageId(qint64 id)
{
    ++id;
    while (IsReservedPageId(id))
        ++id;
    return id;
}

qint64 PreviousUsablePageId(qint64 id)
{
    --id;
    while (id > 0 && IsReservedPageId(id))
        --id;
    return std::max<qint64>(id, 0);
}

bool IsMeasuredType(int type)
{
    return type == kImageJpeg || type == kImageColourMapPng || type == kImageGeneralPng
           || type == kImageGif;
}

// The new records of one image table, planned before the model changes.
class CImagePlan {
public:
    CImagePlan(const CMyDataArray<CMyPictureInfo> &table, qint64 floor, int lastId)
        : m_table(table), m_largest(LargestId(table, floor)), m_lastId(lastId)
    {
    }

    // The id of a record with exactly this path, existing or planned; 0 when none.
    int FindPath(const QString &path) const
    {
        for (const auto &record : m_table) {
            if (record->path == path)
                return record->id;
        }
        for (const auto &record : m_added) {
            if (record->path == path)
                return record->id;
        }
        return 0;
    }
    // Plans a record with the next id; null when the table has no id left for it.
    CMyPictureInfo *Add()
    {
        if (m_largest + 1 > m_lastId)
            return nullptr;
        auto record = std::make_unique<CMyPictureInfo>();
        record->id = static_cast<int>(++m_largest);
        m_added.push_back(std::move(record));
        return m_added.back().get();
    }
    int Count() const { return static_cast<int>(m_added.size()); }
    void CommitTo(CMyDataArray<CMyPictureInfo> &table)
    {
        for (auto &record : m_added)
            table.Add(std::move(record));
    }

private:
    const CMyDataArray<CMyPictureInfo> &m_table;
    qint64 m_largest;
    int m_lastId;
    std::vector<std::unique_ptr<CMyPictureInfo>> m_added;
};

// Hands out the next ids of a table that has no fixed limit.
class CIdCounter {
public:
    explicit CIdCounter(qint64 largest) : m_largest(largest) {}
    // The next id, or 0 when int has none left.
    int Next()
    {
        if (m_largest >= INT_MAX)
            return 0;
        return static_cast<int>(++m_largest);
    }

private:
    qint64 m_largest;
};

// Everything the merge adds, built completely before the model is touched.
struct MergePlan {
    std::vector<std::unique_ptr<CMyTextInfo>> texts;
    std::vector<std::unique_ptr<CMyMacroInfo>> macros;
    std::vector<std::unique_ptr<CMyProgramInfo>> pages;
};

void MeasureRecord(CMyPictureInfo &record)
{
    if (!IsMeasuredType(record.type)) {
        record.sizeText = QString::fromUtf16(kEmptySizeText);
        return;
    }
    // A path from a dropped document may name a pipe or a device: only regular files are
    // opened, so that measuring can never block.
    if (QFileInfo(record.path).isFile())
        ImageDimensions(record.path, record.type, record.width, record.height);
    record.sizeText = ImageSizeText(record.width, record.height);
}

int IntAttribute(const CXmlDoc &doc, const char16_t *name)
{
    return ParseLeadingInt(doc.Attribute(Name(name)));
}

// Step 2 of the merge: the records of the Image, Text and Macro sections. False when an
// image table or an id range is exhausted (result.status says which).
bool PlanRecords(CXmlDoc &doc, CImagePlan &pictures, CImagePlan &materials,
                 const CContentModel &model, MergePlan &plan, MergeResult &result)
{
    if (doc.NextElement(Name(u"Image")) && doc.Descend()) {
        while (doc.NextElement(Name(u"ItemImage"))) {
            ++result.imageElements;
            const int oldId = IntAttribute(doc, u"id");
            const QString path = doc.ElementText();
            const bool reuse = doc.Attribute(Name(u"type")) != u"2";
            const bool material = oldId > kLastPictureId;
            CImagePlan &table = material ? materials : pictures;
            int newId = reuse ? table.FindPath(path) : 0;
            if (newId == 0) {
                CMyPictureInfo *record = table.Add();
                if (record == nullptr) {
                    result.status =
                        material ? MergeStatus::MaterialsFull : MergeStatus::PicturesFull;
                    return false;
                }
                record->item = IntAttribute(doc, u"item");
                record->type = IntAttribute(doc, u"type");
                record->path = path;
                MeasureRecord(*record);
                newId = record->id;
            }
            result.images.Add(oldId, newId);
        }
        doc.Ascend();
    }
    if (doc.NextElement(Name(u"Text")) && doc.Descend()) {
        CIdCounter ids(LargestId(model.texts, 0));
        while (doc.NextElement(Name(u"ItemText"))) {
            auto record = std::make_unique<CMyTextInfo>();
            record->id = ids.Next();
            if (record->id == 0) {
                result.status = MergeStatus::IdsExhausted;
                return false;
            }
            record->item = IntAttribute(doc, u"item");
            record->label = doc.Attribute(Name(u"label"));
            record->text = doc.ElementText();
            result.texts.Add(IntAttribute(doc, u"id"), record->id);
            plan.texts.push_back(std::move(record));
        }
        doc.Ascend();
    }
    if (doc.NextElement(Name(u"Macro")) && doc.Descend()) {
        CIdCounter ids(LargestId(model.macros, 0));
        while (doc.NextElement(Name(u"ItemMacro"))) {
            auto record = std::make_unique<CMyMacroInfo>();
            record->id = ids.Next();
            if (record->id == 0) {
                result.status = MergeStatus::IdsExhausted;
                return false;
            }
            record->item = IntAttribute(doc, u"item");
            record->label = doc.Attribute(Name(u"label"));
            record->macro = doc.ElementText();
            RewriteImageReferences(record->macro, result.images);
            RewriteTextReferences(record->macro, result.texts);
            Rewrite(record->macro, {u"xk:", u"XK:", u"ql:", u"QL:", u"qo:", u"QO:"},
                    ReferenceForm::Colon, result.texts);
            result.macros.Add(IntAttribute(doc, u"id"), record->id);
            plan.macros.push_back(std::move(record));
        }
        doc.Ascend();
    }
    return true;
}

// Step 4: the pages of the Program section with their new ids and rewritten references.
bool PlanPages(CXmlDoc &doc, const CContentModel &model, const MergeOptions &options,
               MergePlan &plan, MergeResult &result)
{
    doc.Rewind();
    if (!doc.NextElement() || !doc.Descend() || !doc.NextElement()
        || doc.ElementName() != u"Program" || !doc.Descend())
        return true;
    qint64 largest = LargestId(model.pages, 0);
    while (doc.NextElement(Name(u"BMLJPEG"))) {
        auto page = std::make_unique<CMyProgramInfo>();
        if (!ReadPage(doc, *page, options.projectFolder)) {
            result.status = MergeStatus::Damaged;
            return false;
        }
        const qint64 newId = NextUsablePageId(largest);
        if (newId > INT_MAX) {
            result.status = MergeStatus::IdsExhausted;
            return false;
        }
        largest = newId;
        result.pages.Add(page->id, static_cast<int>(newId));
        page->id = static_cast<int>(newId);
        page->up = page->left = static_cast<int>(PreviousUsablePageId(newId));
        const qint64 next = std::min<qint64>(NextUsablePageId(newId), INT_MAX);
        page->down = page->right = static_cast<int>(next);
        page->timer = options.defTimer;
        page->textid = result.texts.Map(page->textid);
        page->smacro = result.macros.Map(page->smacro);
        const int used = std::clamp(page->itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            PageItem &item = page->items[static_cast<size_t>(slot)];
            item.pic_no = result.images.Map(item.pic_no);
            item.text_no = result.texts.Map(item.text_no);
            for (QString *action : ActionStrings(item)) {
                RewriteImageReferences(*action, result.images);
                RewriteTextReferences(*action, result.texts);
                RewriteMacroReferences(*action, result.macros);
                RewriteOtherSeparators(*action, u"P", EffectKind::ImageRef, result.images);
                RewriteOtherSeparators(*action, u"TRIS", EffectKind::TextRef, result.texts);
                RewriteOtherSeparators(*action, u"A", EffectKind::RunMacro, result.macros);
            }
        }
        plan.pages.push_back(std::move(page));
    }
    return true;
}

} // namespace

int IdMap::Map(int id) const
{
    return lookup.Map(id);
}

QString MergeResult::Message() const
{
    switch (status) {
    case MergeStatus::PicturesFull: return UiText(kPictureTableFullMessage);
    case MergeStatus::MaterialsFull: return UiText(kMaterialTableFullMessage);
    case MergeStatus::IdsExhausted: return UiText(kIdsExhaustedMessage);
    case MergeStatus::Damaged: return UiText(kCopyDocumentDamagedMessage);
    case MergeStatus::Merged:
    case MergeStatus::NoDocument: break;
    }
    return QString();
}

bool IsReservedPageId(qint64 id)
{
    return IsSpecialScreen(id);
}

int NextFreePageId(const CContentModel &model)
{
    const qint64 id = NextUsablePageId(LargestId(model.pages, 0));
    return id > INT_MAX ? 0 : static_cast<int>(id);
}

MergeResult MergeCopyDocument(CContentModel &model, const QString &text,
                              const MergeOptions &options)
{
    MergeResult result;
    CXmlDoc doc;
    doc.LoadText(text);
    doc.Rewind();
    if (!doc.NextElement())
        return result;
    // A document cut short (a drag that lost its end) or with markup that cannot be read would
    // merge only what the engine happened to find.
    if (RootMarkupBroken(doc)) {
        result.status = MergeStatus::Damaged;
        return result;
    }
    doc.Rewind();
    doc.NextElement();

    CImagePlan pictures(model.pictures, kPictureIdBase, kLastPictureId);
    CImagePlan materials(model.materials, kMaterialIdBase, kLastMaterialId);
    MergePlan plan;
    if (doc.Descend() && !PlanRecords(doc, pictures, materials, model, plan, result))
        return result;

    // Macros may call each other: once every macro has its new id, their calls follow.
    for (auto &macro : plan.macros) {
        Rewrite(macro->macro, {u"qs:", u"QS:", u"qk:", u"QK:"}, ReferenceForm::Colon,
                result.macros);
        RewriteMacroReferences(macro->macro, result.macros);
    }
    if (!PlanPages(doc, model, options, plan, result))
        return result;

    // Once every page has its new id, the page jumps follow.
    for (auto &page : plan.pages) {
        const int used = std::clamp(page->itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            PageItem &item = page->items[static_cast<size_t>(slot)];
            RemapPlainNumber(item.ret, result.pages.lookup);
            for (QString *action : ActionStrings(item))
                RewritePageReferences(*action, result.pages);
        }
    }
    for (auto &macro : plan.macros)
        RewritePageReferences(macro->macro, result.pages);

    // Nothing could fail from here on: the model takes everything at once.
    result.addedPictures = pictures.Count();
    result.addedMaterials = materials.Count();
    result.addedTexts = static_cast<int>(plan.texts.size());
    result.addedMacros = static_cast<int>(plan.macros.size());
    result.addedPages = static_cast<int>(plan.pages.size());
    pictures.CommitTo(model.pictures);
    materials.CommitTo(model.materials);
    for (auto &record : plan.texts)
        model.texts.Add(std::move(record));
    for (auto &record : plan.macros)
        model.macros.Add(std::move(record));
    for (auto &page : plan.pages)
        model.pages.Add(std::move(page));
    result.status = MergeStatus::Merged;
    return result;
}

} // namespace orin
