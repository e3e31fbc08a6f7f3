// SPDX-License-Identifier: MIT
#include "document/page_selection.h"

namespace orin {

bool CPageSelection::Select(int row, int pageCount)
{
    if (row < 0 || row >= pageCount)
        return false;
    m_index = row;
    return true;
}

void CPageSelection::PageRemoved(int row, int pageCount)
{
    if (m_index == -1 || row < 0)
        return;
    if (row == m_index)
        m_index = -1;
    else if (row < m_index)
        --m_index;
    if (m_index >= pageCount)
        m_index = -1;
}

bool DesignModeAfterToggle(const CPageSelection &selection, bool design)
{
    return selection.HasPage() ? !design : design;
}

} // namespace orin
