// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QString>
#include <QStringList>

#include <vector>

// How a content set can be navigated with the remote control, worked out from the model alone:
// the page jumps that keys, timers and actions can make, the focus moves within each page, and
// what is wrong with them (pages no path reaches, items the focus never reaches, focus dead ends,
// references to pages, items, texts, macros and images that do not exist).

namespace orin {

// One page jump. `via` says how: "ret", "up" ... for item strings, "key:blue", "key:back" ...
// for the page's key values, "timer", "item timer", "smacro"; `macroId` is the macro on the way
// when there is one. `itemId` is 0 for the page's own values.
struct PageEdge {
    int from = 0;
    int to = 0;
    int itemId = 0;
    int macroId = 0;
    QString via;
};

// One focus move on a page; `from` 0 is the page being shown (its start macro).
struct FocusMove {
    int from = 0;
    int to = 0;
    int macroId = 0;
    QString via;
};

struct PageNavigation {
    int pageId = 0;
    int startFocus = 0;               // the defitem when it names an item, else 0
    std::vector<FocusMove> focusMoves; // to items of the page only
    std::vector<int> reachedItems;     // items the focus can reach from the start
};

enum class FindingKind {
    UnreachablePage, // no path from the first page leads here
    UnreachedItem,   // a focusable item with keys of its own that the focus never reaches
    FocusDeadEnd,    // a reached item from which no arrow key leads anywhere
    MissingPage,     // a jump to a page that does not exist
    MissingItem,     // a focus move or item command naming no item of the page
    MissingText,
    MissingMacro,
    MissingImage,
};

// Where a finding is: the page (0 for a macro outside any page), the item (0 for the page's own
// values), the macro on the way (0 none) and the field ("ret", "pic_no", "smacro" ...).
struct Finding {
    FindingKind kind = FindingKind::UnreachablePage;
    int pageId = 0;
    int itemId = 0;
    int macroId = 0;
    QString field;
    int target = 0;
};

// True for the kinds that name something that does not exist.
bool IsBrokenReference(FindingKind kind);
// A stable name of the kind: "unreachable-page", "missing-text" ...
QString FindingCode(FindingKind kind);
// The finding in the operator's words, for the navigation map's list.
QString DescribeFinding(const Finding &finding);

struct NavigationAnalysis {
    std::vector<PageEdge> edges;       // every jump, to existing pages and special screens only
    std::vector<PageNavigation> pages; // in page-table order
    std::vector<int> reachablePages;   // from the first page, in page-table order
    std::vector<Finding> findings;     // broken references first, then by page and item

    int BrokenCount() const;
    const PageNavigation *Page(int pageId) const;
};

// The sections of a macro as the preview runs them one by one (the text after each marker
// "[#n]"); the whole macro when it has no marker.
QStringList MacroSections(const QString &macro);

// Analyses the content set. Pure: reads the model and the settings (TimerMode, ExPNG), changes
// nothing.
NavigationAnalysis AnalyseNavigation(const CContentModel &model, const ProgramSettings &settings);

} // namespace orin
