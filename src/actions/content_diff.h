// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QHash>
#include <QJsonObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <vector>

// What changed between two content sets, as a reviewer reads it: pages added, removed, moved in
// the list or given new ids; per page the attributes and items that changed; the records of the
// tables; the program settings.
//
// Pages and records are paired by id where the id and the content agree, then by content (a page
// that only got a new id is "renumbered", not removed and added), then by id alone (a changed
// page). A page reference that differs only because the pages were renumbered is no change: the
// "before" side's page references are read through the pairing before they are compared, so
// "G:5" before and "G:2" after are the same when page 5 became page 2. A reference to a page
// that its own side does not have means "no page", whatever its number. Item references to
// texts and pictures follow the pairing of those records likewise.

namespace orin {

// One piece of a word-level difference.
struct WordSpan {
    enum Op { Same, Removed, Added };
    Op op = Same;
    QString text;
};

// One changed field. `words` is filled for texts, action strings and macros.
struct FieldChange {
    QString field;
    QString before;
    QString after;
    std::vector<WordSpan> words;
    // The text reads the same on both sides, but a page it names is another page now (a page
    // that went and whose number another page took, or a number that led nowhere and now
    // names a page that came).
    bool retargeted = false;
};

enum class DiffKind { Same, Added, Removed, Changed };

struct ItemDiff {
    DiffKind kind = DiffKind::Changed;
    int beforeId = 0; // 0 for an added item
    int afterId = 0;  // 0 for a removed item
    bool moved = false;
    bool resized = false;
    QRect beforeRect; // page coordinates, as the file keeps them
    QRect afterRect;
    std::vector<FieldChange> fields; // other than position and size
};

struct PageDiff {
    DiffKind kind = DiffKind::Same; // Same: only the id or the list position changed
    int beforeId = 0;
    int afterId = 0;
    int beforePosition = 0; // 1-based list position; 0 for an added page
    int afterPosition = 0;  // 0 for a removed page
    bool renumbered = false;
    bool moved = false; // its place in the list changed relative to the other pages
    std::vector<FieldChange> attributes;
    std::vector<ItemDiff> items;
};

struct RecordDiff {
    QString table; // "material", "picture", "text", "channel", "webpage", "macro", "sound", "function"
    DiffKind kind = DiffKind::Changed; // Same: only the id changed (renumbered)
    int beforeId = 0;
    int afterId = 0;
    bool renumbered = false;
    std::vector<FieldChange> fields;
};

struct ContentDiff {
    std::vector<FieldChange> settings; // program settings and the function value
    std::vector<PageDiff> pages;       // only pages with a difference, in "after" list order
    std::vector<RecordDiff> records;   // table by table
    // Before page id -> after page id of every paired page.
    std::vector<std::pair<int, int>> pagePairs;

    bool IsEmpty() const { return settings.empty() && pages.empty() && records.empty(); }
    // The difference of the page with that id on the "after" side (or, when after is 0, the
    // removed page with that "before" id); null when it has none.
    const PageDiff *FindPage(int beforeId, int afterId) const;
};

// One side of a comparison. The files decide which file paths are the same file: a path inside
// either side's content folder is read by the part below it (a copy of the set elsewhere holds
// the same pictures).
struct DiffSide {
    const CContentModel &model;
    const ProgramSettings &settings;
    QString projectPath; // absolute; empty when the side has no file yet
};

ContentDiff DiffContent(const DiffSide &before, const DiffSide &after);

// The word-level difference of two strings: letters and digits in runs, every other character
// alone. Very long strings whose changed middle is too large to compare word by word come back as
// one removed and one added span.
std::vector<WordSpan> WordDiff(const QString &before, const QString &after);

// "[-old-]{+new+}" form of a word difference.
QString WordDiffText(const std::vector<WordSpan> &words);

// The words of the report's lines. Each is a pattern whose %1, %2 ... are filled in one pass, so
// a value that holds "%1" itself is shown as it is. The command-line tool prints the English
// wording; the editor fills one from its translations, and both go through the same walk over
// the changes.
struct DiffWording {
    QString settings;         // where a program setting's change is: "settings"
    QString page;             // %1 page id: "page %1"
    QString pageRenumbered;   // %1 before id, %2 after id: "page %1->%2"
    QString item;             // %1 the page as named above, %2 item id: "%1 item %2"
    QString record;           // %1 table, %2 id: "%1 %2"
    QString recordRenumbered; // %1 table, %2 before id, %3 after id: "%1 %2->%3"
    // The tables ("picture", "text" ...) as they are shown; a table not listed keeps its name.
    QHash<QString, QString> tables;
    QString field;      // %1 where, %2 field, %3 before, %4 after (quoted): "%1 %2: %3 -> %4"
    QString fieldWords; // %1 where, %2 field, %3 word difference (quoted): "%1 %2: %3"
    QString fieldRetargeted; // %1 where, %2 field, %3 value (quoted): "%1 %2: %3 now leads elsewhere"
    QString pageAdded;   // %1 page, %2 list position
    QString pageRemoved; // %1 page, %2 list position
    QString renumbered;  // %1 page or record, %2 before id, %3 after id
    QString pageMoved;   // %1 page, %2 old list position, %3 new one
    QString itemAdded;   // %1 item, %2 x, %3 y, %4 width, %5 height
    QString itemRemoved; // %1 item, %2 x, %3 y, %4 width, %5 height
    QString itemMoved;   // %1 item, %2 x, %3 y before, %4 x, %5 y after
    QString itemResized; // %1 item, %2 width, %3 height before, %4 width, %5 height after
    QString recordAdded;   // %1 record
    QString recordRemoved; // %1 record
};

// The wording of the command-line tool ("page 3->1: renumbered 3 -> 1").
const DiffWording &DiffEnglishWording();

// The report as lines ("page 3->1: renumbered 3 -> 1", "page 2 item 4: moved (10,20) ->
// (30,40)"): settings, then pages in list order, then records.
QStringList DiffReportLines(const ContentDiff &diff, const DiffWording &wording);
inline QStringList DiffReportLines(const ContentDiff &diff)
{
    return DiffReportLines(diff, DiffEnglishWording());
}

// The report as one JSON object (the shape the README documents).
QJsonObject DiffJson(const ContentDiff &diff);

} // namespace orin
