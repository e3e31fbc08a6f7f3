// SPDX-License-Identifier: MIT
#include "actions/content_diff.h"

#include "actions/action_strings.h"
#include "model/project_writer.h"
#include "model/settings_json.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <functional>

namespace orin {

namespace {

// One field of a record: what is shown, and what is compared. The compared form reads page and
// record references through the pairing, so that a renumbering alone changes nothing.
struct Field {
    QString name;
    QString shown;
    QString key;
    bool words = false;  // compared word by word in the report
    QString wordsFrom;   // the "before" text the words are taken against (references mapped)
};

using Fields = std::vector<Field>;

void Add(Fields &fields, const QString &name, const QString &shown, const QString &key,
         bool words = false, const QString &wordsFrom = QString())
{
    fields.push_back({name, shown, key, words, wordsFrom.isNull() ? shown : wordsFrom});
}

void AddNumber(Fields &fields, const QString &name, qint64 value)
{
    const QString text = QString::number(value);
    Add(fields, name, text, text);
}

QString KeyOf(const Fields &fields)
{
    QString key;
    for (const Field &f : fields) {
        key += f.key;
        key += QChar(0x1f);
    }
    return key;
}

// The file positions a project file keeps: whole numbers, cut as the writer cuts them, and held
// within ±2^30 so that a rectangle's far edge (x + width) is still a number; the item dialog
// takes ±10^9 at most, which stays exact.
int Whole(float value)
{
    constexpr double kLimit = 1073741823.0;
    return std::isfinite(value) ? static_cast<int>(std::clamp<double>(value, -kLimit, kLimit)) : 0;
}

// How one side names pages and records, read through the pairing.
class CSideMapping {
public:
    // Page ids of the "after" side; used on the "before" side.
    QSet<int> afterPages;
    // Paired page ids, before -> after. Empty on the "after" side itself.
    QHash<int, int> pagePairs;
    bool isBefore = false;
    // Paired text and image ids, before -> after.
    QHash<int, int> textPairs;
    QHash<int, int> imagePairs;
    // Blind: every reference to a page of its own side reads as the same, for pairing pages by
    // content.
    bool blind = false;
    // The page ids of this side: a reference to none of them leads nowhere, whatever its
    // number (renumbering writes it as 0).
    QSet<int> ownPages;

    // Markers of the keys below. A page id can be any number, so a hostile file whose pages carry
    // these ids may see references to them compared wrongly; nothing worse.
    static constexpr int kAnyPage = -3;
    static constexpr int kPageThatWent = -2;

    // The page a reference means, comparable across the sides: a special screen by its number,
    // a page of the after side by its after id, a page that is nowhere as 0.
    int PageKey(int id) const
    {
        if (IsSpecialScreen(id))
            return id;
        if (!ownPages.contains(id))
            return 0;
        if (blind)
            return kAnyPage;
        if (isBefore) {
            if (const auto it = pagePairs.constFind(id); it != pagePairs.constEnd())
                return it.value();
            // A page that went: another page now has the id, or the reference leads nowhere.
            return afterPages.contains(id) ? kPageThatWent : 0;
        }
        return id;
    }
    // The page a reference shows after the renumbering, for the word difference.
    int PageShown(int id) const { return isBefore ? pagePairs.value(id, id) : id; }
    int TextKey(int id) const { return isBefore ? textPairs.value(id, id) : id; }
    int ImageKey(int id) const { return isBefore ? imagePairs.value(id, id) : id; }

    QString ActionKey(const QString &action, bool isRet) const
    {
        QString key = action;
        MapPageEntries(key, isRet, [this](int id) { return PageKey(id); });
        return key;
    }
    QString ActionShown(const QString &action, bool isRet) const
    {
        QString shown = action;
        MapPageEntries(shown, isRet, [this](int id) { return PageShown(id); });
        return shown;
    }
    QString MacroKey(const QString &macro) const
    {
        QString key = macro;
        MapMacroPages(key, [this](int id) { return PageKey(id); });
        return key;
    }
    QString MacroShown(const QString &macro) const
    {
        QString shown = macro;
        MapMacroPages(shown, [this](int id) { return PageShown(id); });
        return shown;
    }
};

// File paths: a path inside either side's content folder is read by the part below it, so that
// a copy of a content set elsewhere (with its own content folder, or naming the pictures of the
// other one) holds the same pictures; any other path is compared as it is.
class CPaths {
public:
    CPaths(const QString &projectPath, const QString &otherProjectPath)
    {
        for (const QString &project : {projectPath, otherProjectPath}) {
            if (!project.isEmpty())
                m_folders << ContentFolderOf(project) + u'/';
        }
        if (!projectPath.isEmpty())
            m_projectFolder = projectPath.left(projectPath.lastIndexOf(u'/') + 1);
    }
    QString Key(const QString &path) const
    {
        for (const QString &folder : m_folders) {
            if (path.startsWith(folder))
                return QStringLiteral("<content>/") + path.mid(folder.size());
        }
        return path;
    }
    QString Shown(const QString &path) const
    {
        if (!m_projectFolder.isEmpty() && path.startsWith(m_projectFolder))
            return QStringLiteral("./") + path.mid(m_projectFolder.size());
        return path;
    }
    void AddPath(Fields &fields, const QString &name, const QString &path) const
    {
        Add(fields, name, Shown(path), Key(path));
    }

private:
    QStringList m_folders;
    QString m_projectFolder;
};

void AddAction(Fields &fields, const QString &name, const QString &action, bool isRet,
               const CSideMapping &map)
{
    Add(fields, name, action, map.ActionKey(action, isRet), true, map.ActionShown(action, isRet));
}

void AddPageRef(Fields &fields, const QString &name, int id, const CSideMapping &map)
{
    const QString shown = QString::number(map.PageShown(id));
    Add(fields, name, shown, QString::number(map.PageKey(id)));
}

Fields PageFields(const CMyProgramInfo &p, const CSideMapping &map, const CPaths &paths)
{
    Fields f;
    Add(f, QStringLiteral("comment"), p.comment, p.comment, true);
    paths.AddPath(f, QStringLiteral("background"), p.background);
    AddNumber(f, QStringLiteral("defitem"), p.defitem);
    AddNumber(f, QStringLiteral("tvitem"), p.tvitem);
    AddNumber(f, QStringLiteral("clock"), p.clock);
    AddPageRef(f, QStringLiteral("return"), p.return_, map);
    AddPageRef(f, QStringLiteral("up"), p.up, map);
    AddPageRef(f, QStringLiteral("down"), p.down, map);
    AddPageRef(f, QStringLiteral("left"), p.left, map);
    AddPageRef(f, QStringLiteral("right"), p.right, map);
    AddPageRef(f, QStringLiteral("back"), p.back, map);
    AddPageRef(f, QStringLiteral("data"), p.data, map);
    AddPageRef(f, QStringLiteral("blue"), p.blue, map);
    AddPageRef(f, QStringLiteral("red"), p.red, map);
    AddPageRef(f, QStringLiteral("green"), p.green, map);
    AddPageRef(f, QStringLiteral("yellow"), p.yellow, map);
    AddNumber(f, QStringLiteral("timer"), p.timer);
    AddNumber(f, QStringLiteral("marquee"), p.marquee);
    AddNumber(f, QStringLiteral("marquee_speed"), p.marquee_speed);
    AddNumber(f, QStringLiteral("timer_item"), p.timer_item);
    AddNumber(f, QStringLiteral("timer_ino"), p.timer_ino);
    AddNumber(f, QStringLiteral("textid"), p.textid);
    AddNumber(f, QStringLiteral("backcol"), p.backcol);
    AddNumber(f, QStringLiteral("curcol"), p.curcol);
    AddNumber(f, QStringLiteral("cursize"), p.cursize);
    AddPageRef(f, QStringLiteral("memory"), p.memory, map);
    AddNumber(f, QStringLiteral("cursor"), p.cursor);
    AddNumber(f, QStringLiteral("smacro"), p.smacro);
    return f;
}

// Every field of an item but its id, position and size.
Fields ItemFields(const PageItem &item, const CSideMapping &map)
{
    Fields f;
    AddNumber(f, QStringLiteral("idg"), item.idg);
    AddNumber(f, QStringLiteral("parent"), item.parent);
    AddAction(f, QStringLiteral("focus"), item.focus, false, map);
    AddAction(f, QStringLiteral("outfocus"), item.outfocus, false, map);
    AddAction(f, QStringLiteral("ret"), item.ret, true, map);
    AddAction(f, QStringLiteral("up"), item.up, false, map);
    AddAction(f, QStringLiteral("down"), item.down, false, map);
    AddAction(f, QStringLiteral("left"), item.left, false, map);
    AddAction(f, QStringLiteral("right"), item.right, false, map);
    Add(f, QStringLiteral("pic_no"), QString::number(item.pic_no),
        QString::number(map.ImageKey(item.pic_no)));
    Add(f, QStringLiteral("text_no"), QString::number(item.text_no),
        QString::number(map.TextKey(item.text_no)));
    AddNumber(f, QStringLiteral("margin_x"), item.margin_x);
    AddNumber(f, QStringLiteral("margin_y"), item.margin_y);
    AddNumber(f, QStringLiteral("color"), item.color);
    AddNumber(f, QStringLiteral("size"), item.size);
    AddNumber(f, QStringLiteral("bcolor"), item.bcolor);
    AddNumber(f, QStringLiteral("wordwrap"), item.wordwrap);
    Add(f, QStringLiteral("text"), item.text, item.text, true);
    return f;
}

QRect ItemRect(const PageItem &item)
{
    return QRect(Whole(item.x), Whole(item.y), Whole(item.width), Whole(item.height));
}

QString ItemKey(const PageItem &item, const CSideMapping &map)
{
    const QRect r = ItemRect(item);
    return QStringLiteral("%1,%2,%3,%4|").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())
           + KeyOf(ItemFields(item, map));
}

// The pairing of two lists: by id where the content agrees, then by content in list order, then
// by id alone. Records that share an id (a file may repeat one) pair in list order: the k-th
// before with the k-th after. Index -1: unpaired. Linear in the lengths of the lists.
struct Pairing {
    std::vector<int> beforeToAfter;
    std::vector<int> afterToBefore;
};

Pairing Pair(const std::vector<int> &beforeIds, const QStringList &beforeKeys,
             const std::vector<int> &afterIds, const QStringList &afterKeys)
{
    Pairing p;
    p.beforeToAfter.assign(beforeIds.size(), -1);
    p.afterToBefore.assign(afterIds.size(), -1);
    auto link = [&p](int i, int j) {
        p.beforeToAfter[size_t(i)] = j;
        p.afterToBefore[size_t(j)] = i;
    };
    // The positions of each id on both sides, in list order.
    QHash<int, std::pair<std::vector<int>, std::vector<int>>> byId;
    for (int i = 0; i < int(beforeIds.size()); ++i)
        byId[beforeIds[size_t(i)]].first.push_back(i);
    for (int j = 0; j < int(afterIds.size()); ++j)
        byId[afterIds[size_t(j)]].second.push_back(j);
    auto pairById = [&](bool sameContentOnly) {
        for (auto it = byId.cbegin(); it != byId.cend(); ++it) {
            std::vector<int> before, after;
            for (int i : it->first) {
                if (p.beforeToAfter[size_t(i)] < 0)
                    before.push_back(i);
            }
            for (int j : it->second) {
                if (p.afterToBefore[size_t(j)] < 0)
                    after.push_back(j);
            }
            for (size_t k = 0; k < before.size() && k < after.size(); ++k) {
                if (!sameContentOnly || beforeKeys[before[k]] == afterKeys[after[k]])
                    link(before[k], after[k]);
            }
        }
    };
    pairById(true);
    // Then by content: each before takes the first unpaired after with its content.
    QHash<QString, std::pair<std::vector<int>, size_t>> afterByKey;
    for (int j = 0; j < int(afterIds.size()); ++j) {
        if (p.afterToBefore[size_t(j)] < 0)
            afterByKey[afterKeys[j]].first.push_back(j);
    }
    for (int i = 0; i < int(beforeIds.size()); ++i) {
        if (p.beforeToAfter[size_t(i)] >= 0)
            continue;
        const auto it = afterByKey.find(beforeKeys[i]);
        if (it != afterByKey.end() && it->second < it->first.size())
            link(i, it->first[it->second++]);
    }
    pairById(false);
    return p;
}

std::vector<FieldChange> Compare(const Fields &before, const Fields &after)
{
    std::vector<FieldChange> changes;
    for (size_t k = 0; k < before.size() && k < after.size(); ++k) {
        if (before[k].key == after[k].key)
            continue;
        FieldChange c{before[k].name, before[k].shown, after[k].shown, {}};
        c.retargeted = before[k].wordsFrom == after[k].shown;
        if (before[k].words && !c.retargeted)
            c.words = WordDiff(before[k].wordsFrom, after[k].shown);
        changes.push_back(std::move(c));
    }
    return changes;
}

// Positions (indexes into `sequence`) of a longest increasing run of values; what is not in it
// moved.
std::vector<bool> LongestIncreasing(const std::vector<int> &sequence)
{
    const size_t n = sequence.size();
    std::vector<int> tailIndex;
    std::vector<int> previous(n, -1);
    for (size_t i = 0; i < n; ++i) {
        auto at = std::lower_bound(tailIndex.begin(), tailIndex.end(), sequence[i],
                                   [&sequence](int index, int value) {
                                       return sequence[size_t(index)] < value;
                                   });
        if (at != tailIndex.begin())
            previous[i] = *(at - 1);
        if (at == tailIndex.end())
            tailIndex.push_back(int(i));
        else
            *at = int(i);
    }
    std::vector<bool> kept(n, false);
    for (int i = tailIndex.empty() ? -1 : tailIndex.back(); i >= 0; i = previous[size_t(i)])
        kept[size_t(i)] = true;
    return kept;
}

int UsedSlots(const CMyProgramInfo &page)
{
    return std::clamp(page.itemCount, 0, kItemSlots);
}

std::vector<ItemDiff> DiffItems(const CMyProgramInfo &before, const CMyProgramInfo &after,
                                const CSideMapping &beforeMap, const CSideMapping &afterMap)
{
    std::vector<int> beforeIds, afterIds;
    QStringList beforeKeys, afterKeys;
    for (int s = 0; s < UsedSlots(before); ++s) {
        beforeIds.push_back(before.items[size_t(s)].id);
        beforeKeys << ItemKey(before.items[size_t(s)], beforeMap);
    }
    for (int s = 0; s < UsedSlots(after); ++s) {
        afterIds.push_back(after.items[size_t(s)].id);
        afterKeys << ItemKey(after.items[size_t(s)], afterMap);
    }
    const Pairing pairing = Pair(beforeIds, beforeKeys, afterIds, afterKeys);
    std::vector<ItemDiff> items;
    for (size_t j = 0; j < afterIds.size(); ++j) {
        const PageItem &a = after.items[j];
        const int i = pairing.afterToBefore[j];
        if (i < 0) {
            ItemDiff d;
            d.kind = DiffKind::Added;
            d.afterId = a.id;
            d.afterRect = ItemRect(a);
            items.push_back(std::move(d));
            continue;
        }
        const PageItem &b = before.items[size_t(i)];
        ItemDiff d;
        d.beforeId = b.id;
        d.afterId = a.id;
        d.beforeRect = ItemRect(b);
        d.afterRect = ItemRect(a);
        d.moved = d.beforeRect.topLeft() != d.afterRect.topLeft();
        d.resized = d.beforeRect.size() != d.afterRect.size();
        d.fields = Compare(ItemFields(b, beforeMap), ItemFields(a, afterMap));
        if (b.id != a.id)
            d.fields.insert(d.fields.begin(),
                            FieldChange{QStringLiteral("id"), QString::number(b.id),
                                        QString::number(a.id), {}});
        if (!d.moved && !d.resized && d.fields.empty())
            continue;
        items.push_back(std::move(d));
    }
    for (size_t i = 0; i < beforeIds.size(); ++i) {
        if (pairing.beforeToAfter[i] >= 0)
            continue;
        ItemDiff d;
        d.kind = DiffKind::Removed;
        d.beforeId = before.items[i].id;
        d.beforeRect = ItemRect(before.items[i]);
        items.push_back(std::move(d));
    }
    return items;
}

// The fields of a record but its id; `T` is one of the table records.
Fields RecordFields(const CMyPictureInfo &r, const CSideMapping &, const CPaths &paths)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    Add(f, QStringLiteral("label"), r.label, r.label);
    AddNumber(f, QStringLiteral("type"), r.type);
    paths.AddPath(f, QStringLiteral("path"), r.path);
    AddNumber(f, QStringLiteral("width"), r.width);
    AddNumber(f, QStringLiteral("height"), r.height);
    return f;
}

Fields RecordFields(const CMyTextInfo &r, const CSideMapping &map, const CPaths &)
{
    Fields f;
    // A text's item is the page that shows it.
    AddPageRef(f, QStringLiteral("item"), r.item, map);
    Add(f, QStringLiteral("label"), r.label, r.label);
    Add(f, QStringLiteral("text"), r.text, r.text, true);
    return f;
}

Fields RecordFields(const CMyChannelInfo &r, const CSideMapping &, const CPaths &)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    AddNumber(f, QStringLiteral("screen"), r.screen);
    AddNumber(f, QStringLiteral("page"), r.page);
    Add(f, QStringLiteral("address"), r.address, r.address);
    Add(f, QStringLiteral("data"), r.data, r.data);
    return f;
}

Fields RecordFields(const CMyWebPageInfo &r, const CSideMapping &, const CPaths &)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    AddNumber(f, QStringLiteral("screen"), r.screen);
    Add(f, QStringLiteral("label"), r.label, r.label);
    AddNumber(f, QStringLiteral("page"), r.page);
    Add(f, QStringLiteral("address"), r.address, r.address);
    Add(f, QStringLiteral("data"), r.data, r.data);
    return f;
}

Fields RecordFields(const CMyMacroInfo &r, const CSideMapping &map, const CPaths &)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    Add(f, QStringLiteral("label"), r.label, r.label);
    Add(f, QStringLiteral("macro"), r.macro, map.MacroKey(r.macro), true, map.MacroShown(r.macro));
    return f;
}

Fields RecordFields(const CMySoundInfo &r, const CSideMapping &, const CPaths &paths)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    Add(f, QStringLiteral("label"), r.label, r.label);
    Add(f, QStringLiteral("comment"), r.comment, r.comment);
    paths.AddPath(f, QStringLiteral("path"), r.path);
    return f;
}

Fields RecordFields(const CMyFunctionInfo &r, const CSideMapping &, const CPaths &)
{
    Fields f;
    AddNumber(f, QStringLiteral("item"), r.item);
    Add(f, QStringLiteral("data"), r.data, r.data);
    return f;
}

// Diffs one table; returns the pairing (before id -> after id) of its records. Deleted records
// are not part of the content set (the file does not keep them).
template <typename T>
QHash<int, int> DiffTable(const QString &table, const CMyDataArray<T> &before,
                          const CMyDataArray<T> &after, const CSideMapping &beforeMap,
                          const CSideMapping &afterMap, const CPaths &beforePaths,
                          const CPaths &afterPaths, std::vector<RecordDiff> &out)
{
    std::vector<const T *> b, a;
    std::vector<int> beforeIds, afterIds;
    QStringList beforeKeys, afterKeys;
    for (const auto &r : before) {
        if (r->id == kDeletedId)
            continue;
        b.push_back(r.get());
        beforeIds.push_back(r->id);
        beforeKeys << KeyOf(RecordFields(*r, beforeMap, beforePaths));
    }
    for (const auto &r : after) {
        if (r->id == kDeletedId)
            continue;
        a.push_back(r.get());
        afterIds.push_back(r->id);
        afterKeys << KeyOf(RecordFields(*r, afterMap, afterPaths));
    }
    const Pairing pairing = Pair(beforeIds, beforeKeys, afterIds, afterKeys);
    QHash<int, int> pairs;
    for (size_t i = 0; i < b.size(); ++i) {
        const int j = pairing.beforeToAfter[i];
        if (j < 0) {
            out.push_back({table, DiffKind::Removed, beforeIds[i], 0, false, {}});
            continue;
        }
        pairs.insert(beforeIds[i], afterIds[size_t(j)]);
        RecordDiff d{table, DiffKind::Same, beforeIds[i], afterIds[size_t(j)],
                     beforeIds[i] != afterIds[size_t(j)], {}};
        d.fields = Compare(RecordFields(*b[i], beforeMap, beforePaths),
                           RecordFields(*a[size_t(j)], afterMap, afterPaths));
        if (!d.fields.empty())
            d.kind = DiffKind::Changed;
        if (d.kind != DiffKind::Same || d.renumbered)
            out.push_back(std::move(d));
    }
    for (size_t j = 0; j < a.size(); ++j) {
        if (pairing.afterToBefore[j] < 0)
            out.push_back({table, DiffKind::Added, 0, afterIds[j], false, {}});
    }
    return pairs;
}

} // namespace

const PageDiff *ContentDiff::FindPage(int beforeId, int afterId) const
{
    for (const PageDiff &p : pages) {
        if (afterId != 0 ? p.afterId == afterId : (p.afterId == 0 && p.beforeId == beforeId))
            return &p;
    }
    return nullptr;
}

ContentDiff DiffContent(const DiffSide &beforeSide, const DiffSide &afterSide)
{
    ContentDiff diff;
    const CContentModel &before = beforeSide.model;
    const CContentModel &after = afterSide.model;
    const CPaths beforePaths(beforeSide.projectPath, afterSide.projectPath);
    const CPaths afterPaths(afterSide.projectPath, beforeSide.projectPath);

    // Settings, each under the name the program settings carry everywhere.
    const QJsonObject sb = SettingsJson(beforeSide.settings);
    const QJsonObject sa = SettingsJson(afterSide.settings);
    for (auto it = sa.begin(); it != sa.end(); ++it) {
        const QJsonValue old = sb.value(it.key());
        if (old != it.value())
            diff.settings.push_back({it.key(), old.toVariant().toString(),
                                     it.value().toVariant().toString(), {}});
    }
    if (before.functionValue != after.functionValue)
        diff.settings.push_back({QStringLiteral("FunctionValue"), before.functionValue,
                                 after.functionValue, {}});

    // Pages are paired first with every page reference read alike, so that the pairing does not
    // depend on itself.
    CSideMapping blindBefore, blindAfter;
    blindBefore.blind = blindAfter.blind = true;
    for (const auto &page : before.pages)
        blindBefore.ownPages.insert(page->id);
    for (const auto &page : after.pages)
        blindAfter.ownPages.insert(page->id);
    std::vector<int> beforeIds, afterIds;
    QStringList beforeKeys, afterKeys;
    auto pageKey = [](const CMyProgramInfo &page, const CSideMapping &blind, const CPaths &paths) {
        QString key = KeyOf(PageFields(page, blind, paths));
        for (int s = 0; s < UsedSlots(page); ++s)
            key += ItemKey(page.items[size_t(s)], blind) + QChar(0x1e);
        return key;
    };
    for (const auto &page : before.pages) {
        beforeIds.push_back(page->id);
        beforeKeys << pageKey(*page, blindBefore, beforePaths);
    }
    for (const auto &page : after.pages) {
        afterIds.push_back(page->id);
        afterKeys << pageKey(*page, blindAfter, afterPaths);
    }
    const Pairing pages = Pair(beforeIds, beforeKeys, afterIds, afterKeys);

    CSideMapping beforeMap;
    CSideMapping afterMap;
    beforeMap.isBefore = true;
    beforeMap.ownPages = blindBefore.ownPages;
    afterMap.ownPages = blindAfter.ownPages;
    beforeMap.afterPages = blindAfter.ownPages;
    for (size_t i = 0; i < beforeIds.size(); ++i) {
        const int j = pages.beforeToAfter[i];
        if (j >= 0) {
            beforeMap.pagePairs.insert(beforeIds[i], afterIds[size_t(j)]);
            diff.pagePairs.emplace_back(beforeIds[i], afterIds[size_t(j)]);
        }
    }

    // Records next: a text names its page, and pages name texts and pictures.
    std::vector<RecordDiff> &records = diff.records;
    const QHash<int, int> materialPairs =
        DiffTable(QStringLiteral("material"), before.materials, after.materials, beforeMap,
                  afterMap, beforePaths, afterPaths, records);
    const QHash<int, int> picturePairs =
        DiffTable(QStringLiteral("picture"), before.pictures, after.pictures, beforeMap,
                  afterMap, beforePaths, afterPaths, records);
    beforeMap.textPairs = DiffTable(QStringLiteral("text"), before.texts, after.texts, beforeMap,
                                    afterMap, beforePaths, afterPaths, records);
    DiffTable(QStringLiteral("channel"), before.channels, after.channels, beforeMap, afterMap,
              beforePaths, afterPaths, records);
    DiffTable(QStringLiteral("webpage"), before.webPages, after.webPages, beforeMap, afterMap,
              beforePaths, afterPaths, records);
    DiffTable(QStringLiteral("macro"), before.macros, after.macros, beforeMap, afterMap,
              beforePaths, afterPaths, records);
    DiffTable(QStringLiteral("sound"), before.sounds, after.sounds, beforeMap, afterMap,
              beforePaths, afterPaths, records);
    DiffTable(QStringLiteral("function"), before.functions, after.functions, beforeMap,
              afterMap, beforePaths, afterPaths, records);
    beforeMap.imagePairs = picturePairs;
    for (auto it = materialPairs.begin(); it != materialPairs.end(); ++it)
        beforeMap.imagePairs.insert(it.key(), it.value());

    // Which paired pages kept their order: the longest run of after positions that rises in
    // before order stays; the others moved.
    std::vector<int> order;
    std::vector<size_t> orderOf;
    for (size_t i = 0; i < beforeIds.size(); ++i) {
        if (pages.beforeToAfter[i] >= 0) {
            order.push_back(pages.beforeToAfter[i]);
            orderOf.push_back(i);
        }
    }
    const std::vector<bool> kept = LongestIncreasing(order);
    std::vector<bool> moved(beforeIds.size(), false);
    for (size_t k = 0; k < order.size(); ++k)
        moved[orderOf[k]] = !kept[k];

    for (size_t j = 0; j < afterIds.size(); ++j) {
        const CMyProgramInfo &a = *after.pages.At(int(j));
        PageDiff d;
        d.afterId = a.id;
        d.afterPosition = int(j) + 1;
        const int i = pages.afterToBefore[j];
        if (i < 0) {
            d.kind = DiffKind::Added;
            diff.pages.push_back(std::move(d));
            continue;
        }
        const CMyProgramInfo &b = *before.pages.At(i);
        d.beforeId = b.id;
        d.beforePosition = i + 1;
        d.renumbered = b.id != a.id;
        d.moved = moved[size_t(i)];
        d.attributes = Compare(PageFields(b, beforeMap, beforePaths),
                               PageFields(a, afterMap, afterPaths));
        d.items = DiffItems(b, a, beforeMap, afterMap);
        if (!d.attributes.empty() || !d.items.empty())
            d.kind = DiffKind::Changed;
        if (d.kind != DiffKind::Same || d.renumbered || d.moved)
            diff.pages.push_back(std::move(d));
    }
    for (size_t i = 0; i < beforeIds.size(); ++i) {
        if (pages.beforeToAfter[i] >= 0)
            continue;
        PageDiff d;
        d.kind = DiffKind::Removed;
        d.beforeId = beforeIds[i];
        d.beforePosition = int(i) + 1;
        diff.pages.push_back(std::move(d));
    }
    return diff;
}

} // namespace orin
