// SPDX-License-Identifier: MIT
#include "actions/navigation_analysis.h"

#include "actions/action_effects.h"

#include <QCoreApplication>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <climits>
#include <deque>
#include <memory>
#include <set>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace orin {

namespace {

bool IsTextOnlyKind(int idg)
{
    return idg == 2 || idg == 3 || idg == 5 || idg == 6 || idg == 7;
}

} // namespace

QStringList MacroSections(const QString &macro)
{
    static const QString kMarker = QStringLiteral("[#");
    qsizetype at = macro.indexOf(kMarker);
    if (at < 0)
        return {macro};
    QStringList sections;
    while (at >= 0) {
        const qsizetype next = macro.indexOf(kMarker, at + 2);
        const qsizetype end = next < 0 ? macro.size() : next;
        const QStringView marker = QStringView(macro).mid(at + 2, end - at - 2);
        const qsizetype close = marker.indexOf(u']');
        if (close >= 0)
            sections.append(marker.mid(close + 1).toString());
        at = next;
    }
    return sections;
}

namespace {

const QString *ItemString(const PageItem &item, int field)
{
    switch (field) {
    case 1: return &item.ret;
    case 2: return &item.up;
    case 3: return &item.down;
    case 4: return &item.left;
    case 5: return &item.right;
    case 6: return &item.focus;
    case 7: return &item.outfocus;
    default: return nullptr;
    }
}

// What tells one edge, move or finding from another: numbers and a text. The text is a view
// of the recorded edge's, move's or finding's own string, which lives as long as the key.
struct RecordKey {
    std::array<int, 5> numbers;
    QStringView text;

    bool operator==(const RecordKey &other) const
    {
        return numbers == other.numbers && text == other.text;
    }
};

// The keys are a few numbers and a short text: a plain multiplicative hash does, where the
// library's string hash costs more than the rest of the lookup.
struct RecordKeyHash {
    size_t operator()(const RecordKey &key) const noexcept
    {
        quint64 h = 0xcbf29ce484222325ull;
        for (const int n : key.numbers)
            h = (h ^ quint32(n)) * 0x100000001b3ull;
        for (const QChar c : key.text)
            h = (h ^ c.unicode()) * 0x100000001b3ull;
        // Mixed so that the low bits, which pick the slot, depend on every input.
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        return size_t(h ^ (h >> 33));
    }
};

// A set of record keys in one flat table (open addressing): telling a new edge, move or finding
// from one seen before allocates nothing per key.
class CRecordKeySet {
public:
    // False when an equal key is in the set already.
    bool Insert(const RecordKey &key)
    {
        if ((m_count + 1) * 2 > m_slots.size())
            Grow();
        const size_t hash = RecordKeyHash()(key);
        const size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            Slot &slot = m_slots[i];
            if (!slot.used) {
                slot = {hash, key, true};
                ++m_count;
                return true;
            }
            if (slot.hash == hash && slot.key == key)
                return false;
        }
    }

    void Clear()
    {
        if (m_count == 0)
            return;
        for (Slot &slot : m_slots)
            slot.used = false;
        m_count = 0;
    }

private:
    struct Slot {
        size_t hash = 0;
        RecordKey key{};
        bool used = false;
    };

    void Grow()
    {
        std::vector<Slot> old(std::max<size_t>(16, m_slots.size() * 2));
        old.swap(m_slots);
        m_count = 0;
        for (const Slot &slot : old) {
            if (slot.used)
                Insert(slot.key);
        }
    }

    std::vector<Slot> m_slots; // a power of two in size, at most half used
    size_t m_count = 0;
};

// Positions in a table by record id, the first record of an id counting: a vector by id when
// every id is small (the usual numbering from 1), else a hash.
class CIdIndex {
public:
    // (id, position) of the records that can be found, in table order.
    void Build(const std::vector<std::pair<int, int>> &records)
    {
        const int limit = std::max(4 * int(records.size()), 1024);
        m_dense = std::all_of(records.begin(), records.end(),
                              [&](const auto &r) { return r.first >= 0 && r.first <= limit; });
        if (m_dense) {
            int largest = -1;
            for (const auto &record : records)
                largest = std::max(largest, record.first);
            m_byId.assign(size_t(largest + 1), -1);
        }
        for (const auto &[id, position] : records) {
            bool added = true;
            if (m_dense) {
                int &slot = m_byId[size_t(id)];
                added = slot < 0;
                if (added)
                    slot = position;
            } else {
                added = m_byHash.emplace(id, position).second;
            }
            if (!added)
                m_shared.insert(id);
        }
    }

    // The position of the first record with that id, or -1.
    int Find(int id) const
    {
        if (m_dense)
            return id >= 0 && id < int(m_byId.size()) ? m_byId[size_t(id)] : -1;
        const auto it = m_byHash.find(id);
        return it == m_byHash.end() ? -1 : it->second;
    }

    // Whether more than one record has that id.
    bool Shared(int id) const { return m_shared.count(id) != 0; }

private:
    bool m_dense = true;
    std::vector<int> m_byId;
    std::unordered_map<int, int> m_byHash;
    std::unordered_set<int> m_shared;
};

// Where an action string runs.
struct WalkContext {
    const CMyProgramInfo *page = nullptr; // null: a macro read on its own
    int itemId = 0;                       // the acting item, 0 none
    int macroId = 0;                      // the macro being read, 0 none
    QString field;
    bool inMacroFromPage = false; // the macro's own references are reported once, on its own
};

class CAnalyser {
public:
    CAnalyser(const CContentModel &model, const ProgramSettings &settings)
        : m_model(model), m_settings(settings)
    {
        // Lookups by id, first match as in the tables; the model does not change while it is
        // analysed. Deleted records are no targets.
        std::vector<std::pair<int, int>> records;
        for (int i = 0; i < model.pages.Count(); ++i)
            records.emplace_back(model.pages.At(i)->id, i);
        m_pageIndex.Build(records);
        records.clear();
        for (int i = 0; i < model.texts.Count(); ++i) {
            if (model.texts.At(i)->id != kDeletedId)
                records.emplace_back(model.texts.At(i)->id, i);
        }
        m_texts.Build(records);
        records.clear();
        for (int i = 0; i < model.macros.Count(); ++i) {
            if (model.macros.At(i)->id != kDeletedId)
                records.emplace_back(model.macros.At(i)->id, i);
        }
        m_macros.Build(records);
        m_macroEffects.resize(size_t(model.macros.Count()));
        for (int id = 1; id < int(m_images.size()); ++id)
            m_images[size_t(id)] = model.FindImage(id) != nullptr;
        m_effectBuffers.resize(kMaxWalkDepth + 1);
        // Equal strings repeat from page to page: a small set has few to keep, and a table
        // made for every analysis (the map's after each pause in editing) stays small with it.
        m_knownEffects.resize(std::min<size_t>(4093, 32 * size_t(model.pages.Count()) + 1));
    }

    NavigationAnalysis Run()
    {
        for (const auto &page : m_model.pages)
            AnalysePage(*page);
        for (int i = 0; i < m_model.macros.Count(); ++i) {
            if (m_model.macros.At(i)->id == kDeletedId)
                continue;
            WalkContext context;
            context.macroId = m_model.macros.At(i)->id;
            context.field = QStringLiteral("macro");
            WalkMacro(context, i, nullptr);
        }
        FindUnreachablePages();
        SortFindings();
        return std::move(m_result);
    }

private:
    // ------------------------------------------------------------ pages

    void AnalysePage(const CMyProgramInfo &page)
    {
        // The findings of a page of its own id are all made now: told apart in a set of the
        // page's own, which stays small.
        const bool ownId = page.id != 0 && !m_pageIndex.Shared(page.id);
        m_pageFindingKeys.Clear();
        m_findingKeysOfPage = ownId ? &m_pageFindingKeys : nullptr;
        AnalysePageNavigation(page);
        m_findingKeysOfPage = nullptr;
    }

    void AnalysePageNavigation(const CMyProgramInfo &page)
    {
        PageNavigation navigation;
        navigation.pageId = page.id;
        m_moves.clear();
        m_moveKeys.Clear();
        const int count = std::clamp(page.itemCount, 0, kItemSlots);
        IndexSlots(page);
        // Edges from this page are made only now, unless another page has the same id.
        if (m_pageIndex.Shared(page.id)) {
            m_edgeKeys = &m_sharedEdgeKeys[page.id];
        } else {
            m_pageEdgeKeys.Clear();
            m_edgeKeys = &m_pageEdgeKeys;
        }

        auto checkItem = [&](int id, const QString &field) {
            if (id != 0 && SlotOf(page, id) < 0)
                AddFinding(FindingKind::MissingItem, page.id, 0, 0, field, id);
        };
        checkItem(page.defitem, QStringLiteral("defitem"));
        checkItem(page.tvitem, QStringLiteral("tvitem"));
        checkItem(page.clock, QStringLiteral("clock"));
        checkItem(page.marquee, QStringLiteral("marquee"));
        checkItem(page.timer_ino, QStringLiteral("timer_ino"));
        if (page.textid != 0 && !HasText(page.textid))
            AddFinding(FindingKind::MissingText, page.id, 0, 0, QStringLiteral("textid"), page.textid);
        navigation.startFocus = SlotOf(page, page.defitem) >= 0 ? page.defitem : 0;

        // A page whose memory is 254 is never shown: going there only runs its start macro.
        if (page.memory == kGuideScreen) {
            if (page.smacro != 0) {
                WalkContext context;
                context.page = &page;
                context.field = QStringLiteral("smacro");
                Walk(context, QStringLiteral("A:") + QString::number(page.smacro), 0, nullptr,
                     nullptr, false);
            }
            navigation.startFocus = 0;
            m_result.pages.push_back(std::move(navigation));
            return;
        }

        // The page's own enter and arrow values count only while no item has the focus.
        if (page.defitem == 0) {
            PageKey(page, page.return_, QStringLiteral("key:enter"));
            PageKey(page, page.up, QStringLiteral("key:up"));
            PageKey(page, page.down, QStringLiteral("key:down"));
            PageKey(page, page.left, QStringLiteral("key:left"));
            PageKey(page, page.right, QStringLiteral("key:right"));
        }
        PageKey(page, page.data, QStringLiteral("key:d"));
        PageKey(page, page.back, QStringLiteral("key:back"));
        PageKey(page, page.blue, QStringLiteral("key:blue"));
        PageKey(page, page.red, QStringLiteral("key:red"));
        PageKey(page, page.green, QStringLiteral("key:green"));
        PageKey(page, page.yellow, QStringLiteral("key:yellow"));
        if (page.timer > 0)
            PageKey(page, TimerTarget(page), QStringLiteral("timer"));

        if (page.smacro != 0) {
            WalkContext context;
            context.page = &page;
            context.field = QStringLiteral("smacro");
            Walk(context, QStringLiteral("A:") + QString::number(page.smacro), 0, nullptr,
                 nullptr, false);
        }
        if (const int slot = SlotOf(page, page.timer_ino); page.timer_ino != 0 && slot >= 0) {
            WalkContext context;
            context.page = &page;
            context.itemId = page.timer_ino;
            context.field = QStringLiteral("item timer");
            Walk(context, page.items[size_t(slot)].ret, 0, nullptr);
        }

        static const QString kFields[] = {
            QStringLiteral("ret"),   QStringLiteral("up"),    QStringLiteral("down"),
            QStringLiteral("left"),  QStringLiteral("right"), QStringLiteral("focus"),
            QStringLiteral("outfocus")};
        std::vector<bool> arrowsLead(size_t(count), false);
        // Items with keys of their own: a string of ret .. right that runs something.
        std::vector<bool> hasKeys(size_t(count), false);
        for (int i = 0; i < count; ++i) {
            const PageItem &item = page.items[size_t(i)];
            if (item.pic_no != 0 && !HasImage(item.pic_no))
                AddFinding(FindingKind::MissingImage, page.id, item.id, 0, QStringLiteral("pic_no"), item.pic_no);
            if (item.text_no != 0 && !HasText(item.text_no))
                AddFinding(FindingKind::MissingText, page.id, item.id, 0, QStringLiteral("text_no"), item.text_no);
            for (int field = 1; field <= 7; ++field) {
                WalkContext context;
                context.page = &page;
                context.itemId = item.id;
                context.field = kFields[field - 1];
                bool leads = false;
                bool runs = false;
                Walk(context, *ItemString(item, field), field == 1 ? 0 : 1, &leads, &runs);
                if (field >= 2 && field <= 5 && leads)
                    arrowsLead[size_t(i)] = true;
                if (field <= 5 && runs)
                    hasKeys[size_t(i)] = true;
            }
        }

        // The focus moves between items of this page, and which items they reach.
        for (const FocusMove &move : m_moves)
            navigation.focusMoves.push_back(move);
        // Every item reached or worth reaching is an item of this page: marked at the first
        // slot of its id (as the focus finds it), so that no set of ids is built per page.
        std::vector<bool> reached(size_t(count), false);
        std::vector<int> queue;
        auto reach = [&](int id) {
            const int slot = id != 0 ? SlotOf(page, id) : -1;
            if (slot >= 0 && !reached[size_t(slot)]) {
                reached[size_t(slot)] = true;
                queue.push_back(id);
            }
        };
        // The moves by where they start, in the order they were found.
        std::vector<std::pair<int, int>> next;
        next.reserve(m_moves.size());
        for (const FocusMove &move : m_moves)
            next.emplace_back(move.from, move.to);
        std::stable_sort(next.begin(), next.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        reach(navigation.startFocus);
        // Moves from 0 are made while the page is shown (its start macro).
        queue.insert(queue.begin(), 0);
        for (size_t head = 0; head < queue.size(); ++head) {
            const int from = queue[head];
            auto it = std::lower_bound(next.begin(), next.end(), std::make_pair(from, INT_MIN));
            for (; it != next.end() && it->first == from; ++it)
                reach(it->second);
        }
        for (int i = 0; i < count; ++i) {
            if (reached[size_t(i)])
                navigation.reachedItems.push_back(page.items[size_t(i)].id);
        }
        std::sort(navigation.reachedItems.begin(), navigation.reachedItems.end());

        // Items worth reaching: focusable, with keys of their own.
        std::vector<bool> candidate(size_t(count), false);
        for (int i = 0; i < count; ++i) {
            const PageItem &item = page.items[size_t(i)];
            if (IsFocusable(item) && hasKeys[size_t(i)])
                candidate[size_t(SlotOf(page, item.id))] = true;
        }
        int places = 0;
        for (int i = 0; i < count; ++i)
            places += candidate[size_t(i)] || reached[size_t(i)] ? 1 : 0;
        for (int i = 0; i < count; ++i) {
            const int id = page.items[size_t(i)].id;
            if (id == 0 || SlotOf(page, id) != i) // each id once, at its first slot
                continue;
            if (candidate[size_t(i)] && !reached[size_t(i)])
                AddFinding(FindingKind::UnreachedItem, page.id, id, 0, QString(), 0);
            // With a single place to be, staying put is no dead end.
            if (reached[size_t(i)] && places >= 2 && !arrowsLead[size_t(i)])
                AddFinding(FindingKind::FocusDeadEnd, page.id, id, 0, QString(), 0);
        }
        m_result.pages.push_back(std::move(navigation));
    }

    // The slots of the page being analysed by item id (the first slot of an id, as
    // FindItemSlot), so that each focus move and item reference is one lookup.
    void IndexSlots(const CMyProgramInfo &page)
    {
        m_slotsOf = &page;
        m_slots.clear();
        m_slotById.clear();
        const int count = std::clamp(page.itemCount, 0, kItemSlots);
        int largest = 0;
        bool small = true;
        for (int i = 0; i < count; ++i) {
            const int id = page.items[size_t(i)].id;
            small = small && id >= 0 && id <= kSmallItemIds;
            largest = std::max(largest, id);
        }
        if (small) {
            // The usual ids: a table by id.
            m_slotById.assign(size_t(largest) + 1, -1);
            for (int i = count; i-- > 0;)
                m_slotById[size_t(page.items[size_t(i)].id)] = i;
            return;
        }
        for (int i = 0; i < count; ++i)
            m_slots.emplace_back(page.items[size_t(i)].id, i);
        std::sort(m_slots.begin(), m_slots.end()); // by id, the first slot of an id first
    }

    int SlotOf(const CMyProgramInfo &page, int itemId) const
    {
        if (&page != m_slotsOf)
            return FindItemSlot(page, itemId);
        if (!m_slotById.empty() || m_slots.empty()) {
            return itemId >= 0 && itemId < int(m_slotById.size()) ? m_slotById[size_t(itemId)]
                                                                  : -1;
        }
        const auto it = std::lower_bound(m_slots.begin(), m_slots.end(), std::make_pair(itemId, -1));
        return it == m_slots.end() || it->first != itemId ? -1 : it->second;
    }

    bool HasText(int id) const { return m_texts.Find(id) >= 0; }

    // The table position of the first live macro with that id, or -1.
    int LiveMacro(int id) const { return m_macros.Find(id); }

    bool HasImage(int id) const { return id > 0 && id < int(m_images.size()) && m_images[size_t(id)]; }

    int PageIndex(int pageId) const { return m_pageIndex.Find(pageId); }

    bool IsFocusable(const PageItem &item) const
    {
        return item.id != 0 && (m_settings.ExPNG != 0 || !IsTextOnlyKind(item.idg));
    }

    int TimerTarget(const CMyProgramInfo &page) const
    {
        switch (m_settings.TimerMode) {
        case 0: {
            const int index = PageIndex(page.id);
            return m_model.pages.At((index + 1) % m_model.pages.Count())->id;
        }
        case 1:
            return page.right;
        case 2:
            return page.down;
        default:
            return 0;
        }
    }

    void PageKey(const CMyProgramInfo &page, int target, const QString &via)
    {
        if (target == 0)
            return;
        WalkContext context;
        context.page = &page;
        context.field = via.startsWith(u"key:") ? via.mid(4) : via;
        if (context.field == u"enter")
            context.field = QStringLiteral("return");
        JumpTo(context, target, via);
    }

    // ------------------------------------------------------------ action strings

    void JumpTo(const WalkContext &context, int target, const QString &via, bool *leads = nullptr)
    {
        if (target == 0)
            return;
        const bool exists = IsSpecialScreen(target) || PageIndex(target) >= 0;
        if (!exists) {
            if (!context.inMacroFromPage)
                AddFinding(FindingKind::MissingPage, context.page ? context.page->id : 0,
                           context.itemId, context.macroId, context.field, target);
            return;
        }
        if (leads)
            *leads = true;
        if (!context.page)
            return;
        PageEdge edge;
        edge.from = context.page->id;
        edge.to = target;
        edge.itemId = context.itemId;
        edge.macroId = context.macroId;
        edge.via = via;
        m_result.edges.push_back(std::move(edge));
        const PageEdge &added = m_result.edges.back();
        if (!m_edgeKeys->Insert({{added.to, added.itemId, added.macroId, 0, 0}, added.via}))
            m_result.edges.pop_back(); // made before
    }

    // `runs` (when given) is set when the string itself runs something.
    // `fromModel`: `action` is a string of the model itself, not one made for the walk.
    void Walk(const WalkContext &context, const QString &action, int kind, bool *leads,
              bool *runs = nullptr, bool fromModel = true)
    {
        // Macros reached through macros are followed only so deep; a chain longer than that
        // is cut rather than risking the stack on a hostile file.
        if (m_walkDepth >= kMaxWalkDepth)
            return;
        ++m_walkDepth;
        // One buffer per depth: the effects of the strings further out are still being read.
        std::vector<ActionEffect> &effects = m_effectBuffers[size_t(m_walkDepth)];
        ReadEffects(action, kind, fromModel, effects);
        if (runs)
            *runs = !RunsNothing(effects);
        WalkEffects(context, effects, leads);
        --m_walkDepth;
    }

    // The effects of a string into `effects`. The loader gives equal strings one shared text
    // ("0", the same focus moves on every page), and the model does not change while it is
    // analysed, so a string of the model is known by where its text lies: the effects of the
    // strings read last are kept by that place in a small table, for the strings that give
    // few of them. Strings made for the walk itself (`fromModel` false) are always read.
    void ReadEffects(const QString &action, int kind, bool fromModel,
                     std::vector<ActionEffect> &effects)
    {
        if (!fromModel || action.isEmpty() || (kind != 0 && kind != 1)) {
            ActionEffects(action, kind, effects);
            return;
        }
        const auto place = reinterpret_cast<quintptr>(action.constData());
        const size_t slot = size_t((place >> 3) * 2 + size_t(kind)) % m_knownEffects.size();
        KnownEffects &known = m_knownEffects[slot];
        if (known.text == action.constData() && known.size == action.size() && known.kind == kind) {
            effects.assign(known.effects.begin(), known.effects.begin() + known.count);
            return;
        }
        ActionEffects(action, kind, effects);
        if (effects.size() <= known.effects.size()) {
            known.text = action.constData();
            known.size = action.size();
            known.kind = kind;
            known.count = int(effects.size());
            std::copy(effects.begin(), effects.end(), known.effects.begin());
        }
    }

    // The sections of the macro at that table position one after the other, each as deep as a
    // string of its own.
    void WalkMacro(const WalkContext &context, int position, bool *leads)
    {
        for (const std::vector<ActionEffect> &section : MacroEffects(position)) {
            if (m_walkDepth >= kMaxWalkDepth)
                return;
            ++m_walkDepth;
            WalkEffects(context, section, leads);
            --m_walkDepth;
        }
    }

    // The effects of each section of a macro, read once per analysis: one macro is run from
    // many items and pages. The model does not change while it is analysed.
    const std::vector<std::vector<ActionEffect>> &MacroEffects(int position)
    {
        std::unique_ptr<std::vector<std::vector<ActionEffect>>> &effects = m_macroEffects[size_t(position)];
        if (!effects) {
            effects = std::make_unique<std::vector<std::vector<ActionEffect>>>();
            for (const QString &section : MacroSections(m_model.macros.At(position)->macro))
                effects->push_back(ActionEffects(section, 1));
        }
        return *effects;
    }

    // How a string read inside a macro run from a page makes its jumps and moves: one string
    // per field and macro, shared by every edge and move that records it.
    QString ViaMacro(const QString &field, int macroId)
    {
        QString &via = m_viaInMacro[std::make_pair(field, macroId)];
        if (via.isEmpty())
            via = field + QStringLiteral(" > macro ") + QString::number(macroId);
        return via;
    }

    void WalkEffects(const WalkContext &context, const std::vector<ActionEffect> &effects,
                     bool *leads)
    {
        const CMyProgramInfo *page = context.page;
        const int pageId = page ? page->id : 0;
        const bool reportRefs = !context.inMacroFromPage;
        auto missing = [&](FindingKind findingKind, int target) {
            AddFinding(findingKind, pageId, context.itemId, context.macroId, context.field, target);
        };
        auto itemOnPage = [&](int id) -> const PageItem * {
            const int slot = page ? SlotOf(*page, id) : -1;
            return slot < 0 ? nullptr : &page->items[size_t(slot)];
        };
        // How the jumps and moves of this string are made, spelt out when one is recorded.
        QString viaInMacro;
        auto via = [&]() -> const QString & {
            if (context.macroId == 0 || !context.inMacroFromPage)
                return context.field;
            if (viaInMacro.isEmpty())
                viaInMacro = ViaMacro(context.field, context.macroId);
            return viaInMacro;
        };
        for (const ActionEffect &effect : effects) {
            switch (effect.kind) {
            case EffectKind::ShowPage:
                JumpTo(context, effect.target, via(), leads);
                break;
            case EffectKind::MoveFocus: {
                if (!page)
                    break;
                const PageItem *target = itemOnPage(effect.target);
                if (!target) {
                    missing(FindingKind::MissingItem, effect.target);
                    break;
                }
                // A plain number moves only to a focusable item.
                if (effect.checked && !IsFocusable(*target))
                    break;
                if (effect.target != context.itemId && leads)
                    *leads = true;
                FocusMove move;
                move.from = context.itemId;
                move.to = effect.target;
                move.macroId = context.macroId;
                move.via = via();
                m_moves.push_back(std::move(move));
                const FocusMove &added = m_moves.back();
                if (!m_moveKeys.Insert({{added.from, added.to, 0, 0, 0}, added.via}))
                    m_moves.pop_back(); // made before
                break;
            }
            case EffectKind::RunMacro: {
                if (effect.target == 0)
                    break;
                const int position = LiveMacro(effect.target);
                if (position < 0) {
                    if (reportRefs)
                        missing(FindingKind::MissingMacro, effect.target);
                    break;
                }
                // On its own a macro is read once (below); from a page, what it does there.
                const int macroId = m_model.macros.At(position)->id;
                if (!page
                    || std::find(m_macrosOnTheWay.begin(), m_macrosOnTheWay.end(), macroId)
                           != m_macrosOnTheWay.end())
                    break;
                m_macrosOnTheWay.push_back(macroId);
                WalkContext inner = context;
                inner.macroId = macroId;
                inner.inMacroFromPage = true;
                WalkMacro(inner, position, leads);
                m_macrosOnTheWay.pop_back();
                break;
            }
            case EffectKind::RunItemString: {
                if (!page || effect.target == 0)
                    break;
                const PageItem *target = itemOnPage(effect.target);
                if (!target) {
                    missing(FindingKind::MissingItem, effect.target);
                    break;
                }
                const auto key = std::make_pair(effect.target, effect.field);
                if (m_stringsOnTheWay.count(key))
                    break;
                m_stringsOnTheWay.insert(key);
                WalkContext inner = context;
                inner.inMacroFromPage = true; // that string's references are its own item's
                Walk(inner, *ItemString(*target, effect.field), 1, leads);
                m_stringsOnTheWay.erase(key);
                break;
            }
            case EffectKind::ItemRef:
                if (page && !itemOnPage(effect.target))
                    missing(FindingKind::MissingItem, effect.target);
                break;
            case EffectKind::TextRef:
                if (reportRefs && !HasText(effect.target))
                    missing(FindingKind::MissingText, effect.target);
                break;
            case EffectKind::MacroRef:
                if (reportRefs && LiveMacro(effect.target) < 0)
                    missing(FindingKind::MissingMacro, effect.target);
                break;
            case EffectKind::ImageRef:
                if (reportRefs && !HasImage(effect.target))
                    missing(FindingKind::MissingImage, effect.target);
                break;
            case EffectKind::Other:
            case EffectKind::NoOp:
                break;
            }
        }
    }

    // ------------------------------------------------------------ findings

    void AddFinding(FindingKind kind, int pageId, int itemId, int macroId, const QString &field,
                    int target)
    {
        m_result.findings.push_back({kind, pageId, itemId, macroId, field, target});
        const Finding &added = m_result.findings.back();
        CRecordKeySet &keys = m_findingKeysOfPage ? *m_findingKeysOfPage : m_findingKeys;
        if (!keys.Insert({{int(kind), pageId, itemId, macroId, target}, added.field}))
            m_result.findings.pop_back(); // found before
    }

    void FindUnreachablePages()
    {
        const int count = m_model.pages.Count();
        if (count == 0)
            return;
        std::unordered_map<int, std::vector<int>> next;
        for (const PageEdge &edge : m_result.edges)
            next[edge.from].push_back(edge.to);
        std::set<int> reached;
        std::deque<int> queue;
        auto reach = [&](int id) {
            if (PageIndex(id) >= 0 && reached.insert(id).second)
                queue.push_back(id);
        };
        reach(m_model.pages.At(0)->id);
        while (!queue.empty()) {
            const int from = queue.front();
            queue.pop_front();
            if (const auto it = next.find(from); it != next.end()) {
                for (const int to : it->second)
                    reach(to);
            }
        }
        std::set<int> reported;
        for (const auto &page : m_model.pages) {
            if (reached.count(page->id))
                m_result.reachablePages.push_back(page->id);
            else if (reported.insert(page->id).second)
                AddFinding(FindingKind::UnreachablePage, page->id, 0, 0, QString(), 0);
        }
    }

    void SortFindings()
    {
        auto order = [this](const Finding &f) {
            const int index = f.pageId == 0 ? INT_MAX : PageIndex(f.pageId);
            return std::make_tuple(IsBrokenReference(f.kind) ? 0 : 1, index, f.itemId,
                                   int(f.kind), f.macroId, f.field, f.target);
        };
        std::stable_sort(m_result.findings.begin(), m_result.findings.end(),
                         [&](const Finding &a, const Finding &b) { return order(a) < order(b); });
    }

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    NavigationAnalysis m_result;
    std::vector<FocusMove> m_moves; // of the page being analysed
    CRecordKeySet m_moveKeys;
    CIdIndex m_pageIndex;
    CIdIndex m_texts;  // live texts
    CIdIndex m_macros; // live macros
    std::array<bool, 256> m_images{}; // by image id: a picture or material has it
    const CMyProgramInfo *m_slotsOf = nullptr;
    static constexpr int kSmallItemIds = 4 * kItemSlots;
    std::vector<int> m_slotById;              // when every id is in 0..kSmallItemIds
    std::vector<std::pair<int, int>> m_slots; // otherwise: (item id, slot), sorted
    static constexpr int kMaxWalkDepth = 64;
    int m_walkDepth = 0;
    std::vector<std::vector<ActionEffect>> m_effectBuffers; // by walk depth
    struct KnownEffects {
        const QChar *text = nullptr;
        qsizetype size = 0;
        int kind = -1;
        int count = 0;
        std::array<ActionEffect, 4> effects;
    };
    std::vector<KnownEffects> m_knownEffects;
    std::vector<int> m_macrosOnTheWay; // the macros being walked, outermost first
    std::set<std::pair<int, int>> m_stringsOnTheWay;
    // The edges from the page being analysed, told apart by where they lead and how: a set for
    // that page alone, or one kept for all pages of an id that several pages have.
    CRecordKeySet m_pageEdgeKeys;
    std::unordered_map<int, CRecordKeySet> m_sharedEdgeKeys;
    CRecordKeySet *m_edgeKeys = &m_pageEdgeKeys;
    CRecordKeySet m_findingKeys;
    CRecordKeySet m_pageFindingKeys;
    CRecordKeySet *m_findingKeysOfPage = nullptr; // while a page of its own id is analysed
    // By macro table position, read when first walked.
    std::vector<std::unique_ptr<std::vector<std::vector<ActionEffect>>>> m_macroEffects;
    QHash<std::pair<QString, int>, QString> m_viaInMacro;
};

QString Location(const Finding &f)
{
    QString where;
    if (f.pageId != 0) {
        where = QCoreApplication::translate("OrinEdit", "ページ %1").arg(f.pageId);
        if (f.itemId != 0)
            where += QCoreApplication::translate("OrinEdit", " アイテム %1").arg(f.itemId);
        if (!f.field.isEmpty())
            where += QCoreApplication::translate("OrinEdit", " の %1").arg(f.field);
        if (f.macroId != 0)
            where += QCoreApplication::translate("OrinEdit", "（マクロ %1）").arg(f.macroId);
    } else {
        where = QCoreApplication::translate("OrinEdit", "マクロ %1").arg(f.macroId);
    }
    return where;
}

} // namespace

bool IsBrokenReference(FindingKind kind)
{
    return kind != FindingKind::UnreachablePage && kind != FindingKind::UnreachedItem
           && kind != FindingKind::FocusDeadEnd;
}

QString FindingCode(FindingKind kind)
{
    switch (kind) {
    case FindingKind::UnreachablePage: return QStringLiteral("unreachable-page");
    case FindingKind::UnreachedItem: return QStringLiteral("unreached-item");
    case FindingKind::FocusDeadEnd: return QStringLiteral("focus-dead-end");
    case FindingKind::MissingPage: return QStringLiteral("missing-page");
    case FindingKind::MissingItem: return QStringLiteral("missing-item");
    case FindingKind::MissingText: return QStringLiteral("missing-text");
    case FindingKind::MissingMacro: return QStringLiteral("missing-macro");
    case FindingKind::MissingImage: return QStringLiteral("missing-image");
    }
    return QString();
}

QString DescribeFinding(const Finding &f)
{
    switch (f.kind) {
    case FindingKind::UnreachablePage:
        return QCoreApplication::translate("OrinEdit", "ページ %1 へは最初のページから行けません")
            .arg(f.pageId);
    case FindingKind::UnreachedItem:
        return QCoreApplication::translate("OrinEdit",
                                           "ページ %1 のアイテム %2 にはフォーカスが届きません")
            .arg(f.pageId)
            .arg(f.itemId);
    case FindingKind::FocusDeadEnd:
        return QCoreApplication::translate(
                   "OrinEdit", "ページ %1 のアイテム %2 から矢印キーでどこへも行けません")
            .arg(f.pageId)
            .arg(f.itemId);
    case FindingKind::MissingPage:
        return QCoreApplication::translate("OrinEdit", "%1: ページ %2 はありません")
            .arg(Location(f))
            .arg(f.target);
    case FindingKind::MissingItem:
        return QCoreApplication::translate("OrinEdit", "%1: アイテム %2 はありません")
            .arg(Location(f))
            .arg(f.target);
    case FindingKind::MissingText:
        return QCoreApplication::translate("OrinEdit", "%1: テキスト %2 はありません")
            .arg(Location(f))
            .arg(f.target);
    case FindingKind::MissingMacro:
        return QCoreApplication::translate("OrinEdit", "%1: マクロ %2 はありません")
            .arg(Location(f))
            .arg(f.target);
    case FindingKind::MissingImage:
        return QCoreApplication::translate("OrinEdit", "%1: 画像 %2 はありません")
            .arg(Location(f))
            .arg(f.target);
    }
    return QString();
}

int NavigationAnalysis::BrokenCount() const
{
    return int(std::count_if(findings.begin(), findings.end(),
                             [](const Finding &f) { return IsBrokenReference(f.kind); }));
}

const PageNavigation *NavigationAnalysis::Page(int pageId) const
{
    for (const PageNavigation &page : pages) {
        if (page.pageId == pageId)
            return &page;
    }
    return nullptr;
}

NavigationAnalysis AnalyseNavigation(const CContentModel &model, const ProgramSettings &settings)
{
    return CAnalyser(model, settings).Run();
}

} // namespace orin
