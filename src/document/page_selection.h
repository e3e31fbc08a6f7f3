// SPDX-License-Identifier: MIT
#pragma once

namespace orin {

// The current page index of the main window: the index into the page table of the page shown,
// -1 when none is. It is checked against the table on every change, so that it never names a
// page that is not there.
class CPageSelection {
public:
    int Index() const { return m_index; }
    bool HasPage() const { return m_index != -1; }

    // Makes `row` current when it indexes one of `pageCount` pages; false (and nothing
    // changed) otherwise.
    bool Select(int row, int pageCount);
    // No page shown: after an open, when the old indexes mean nothing in the new table.
    void Reset() { m_index = -1; }
    // The page at `row` left the table (which now has `pageCount` pages): a later current page
    // moves up with its page; the removed current page leaves none shown.
    void PageRemoved(int row, int pageCount);

private:
    int m_index = -1;
};

// The edit/design toggle: only while a page is shown does the mode flip; otherwise it stays.
// Returns the mode after the command (true = design).
bool DesignModeAfterToggle(const CPageSelection &selection, bool design);

} // namespace orin
