// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>

#include <vector>

// The items selected on the design surface, on plain values: a set of item slots of the shown
// page, one of them the primary (the one the tracker, the item menu and the in-place editor
// work on). Each slot is remembered with the item id it held, so that when the page's slots
// shift (an undo that removes an item, a delete of others) a slot that now holds another item
// leaves the selection instead of selecting that other item.

namespace orin {

class CDesignSelection {
public:
    void Clear();
    // Only `slot` (negative: none), holding item `id`.
    void SelectOnly(int slot, int id);
    // A Shift-click: adds `slot` as the primary, or removes it when it is selected (the primary
    // then passes to the slot selected last before it).
    void Toggle(int slot, int id);
    // Adds the slots (a rubber band) with their ids, `ids[i]` for `chosen[i]`; the last becomes
    // the primary when none is.
    void Add(const std::vector<int> &chosen, const std::vector<int> &ids);
    // Makes a selected slot the primary; others are ignored.
    void SetPrimary(int slot);
    // Keeps the slots that still exist on the page whose used slots hold `ids` (by slot): a
    // slot past the end leaves, and when the number of items changed, so does a slot that holds
    // another item id than when it was selected.
    void Retain(const std::vector<int> &ids);

    bool Contains(int slot) const;
    // The primary slot, or -1.
    int Primary() const { return m_order.empty() ? -1 : m_order.back().slot; }
    // The selected slots, ascending.
    std::vector<int> Slots() const;
    int Count() const { return int(m_order.size()); }
    bool IsEmpty() const { return m_order.empty(); }

private:
    struct Entry {
        int slot;
        int id;
    };
    // In the order of selection; the last is the primary.
    std::vector<Entry> m_order;
    int m_itemCount = -1; // the page's item count when the selection was last checked
};

// The indexes of `rects` that the band touches or contains (a rectangle of no size counts by
// its position). The band's corners may be given in any order.
std::vector<int> RectsInBand(const QRectF &band, const std::vector<QRectF> &rects);

} // namespace orin
