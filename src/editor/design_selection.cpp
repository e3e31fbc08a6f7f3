// SPDX-License-Identifier: MIT
#include "editor/design_selection.h"

#include <algorithm>

namespace orin {

void CDesignSelection::Clear()
{
    m_order.clear();
}

void CDesignSelection::SelectOnly(int slot, int id)
{
    m_order.clear();
    if (slot >= 0)
        m_order.push_back({slot, id});
}

void CDesignSelection::Toggle(int slot, int id)
{
    if (slot < 0)
        return;
    const auto it = std::find_if(m_order.begin(), m_order.end(),
                                 [slot](const Entry &entry) { return entry.slot == slot; });
    if (it != m_order.end())
        m_order.erase(it);
    else
        m_order.push_back({slot, id});
}

void CDesignSelection::Add(const std::vector<int> &chosen, const std::vector<int> &ids)
{
    const int primary = Primary();
    for (size_t i = 0; i < chosen.size() && i < ids.size(); ++i) {
        if (chosen[i] >= 0 && !Contains(chosen[i]))
            m_order.push_back({chosen[i], ids[i]});
    }
    if (primary >= 0)
        SetPrimary(primary);
}

void CDesignSelection::SetPrimary(int slot)
{
    const auto it = std::find_if(m_order.begin(), m_order.end(),
                                 [slot](const Entry &entry) { return entry.slot == slot; });
    if (it == m_order.end())
        return;
    const Entry entry = *it;
    m_order.erase(it);
    m_order.push_back(entry);
}

void CDesignSelection::Retain(const std::vector<int> &ids)
{
    const int count = int(ids.size());
    const bool shifted = m_itemCount >= 0 && count != m_itemCount;
    m_itemCount = count;
    m_order.erase(std::remove_if(m_order.begin(), m_order.end(),
                                 [&](const Entry &entry) {
                                     return entry.slot >= count
                                            || (shifted && ids[size_t(entry.slot)] != entry.id);
                                 }),
                  m_order.end());
    // Ids may change in place (the item's properties): the selection follows them.
    for (Entry &entry : m_order)
        entry.id = ids[size_t(entry.slot)];
}

bool CDesignSelection::Contains(int slot) const
{
    return std::any_of(m_order.begin(), m_order.end(),
                       [slot](const Entry &entry) { return entry.slot == slot; });
}

std::vector<int> CDesignSelection::Slots() const
{
    std::vector<int> chosen;
    chosen.reserve(m_order.size());
    for (const Entry &entry : m_order)
        chosen.push_back(entry.slot);
    std::sort(chosen.begin(), chosen.end());
    return chosen;
}

std::vector<int> RectsInBand(const QRectF &band, const std::vector<QRectF> &rects)
{
    const QRectF area = band.normalized();
    std::vector<int> hits;
    for (size_t i = 0; i < rects.size(); ++i) {
        const QRectF r = rects[i].normalized();
        // Closed intervals: touching an edge counts, and so does a rectangle of no size.
        if (r.left() <= area.right() && r.right() >= area.left() && r.top() <= area.bottom()
            && r.bottom() >= area.top())
            hits.push_back(int(i));
    }
    return hits;
}

} // namespace orin
