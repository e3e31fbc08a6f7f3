// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

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
// that exists on neither side means "no page" on both, whatever its number. Item references to
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

// The report as lines ("page 3->1: renumbered", "page 2 item 4: moved (10,20) -> (30,40)").
QStringList DiffReportLines(const ContentDiff &diff);

// The report as one JSON object (the shape the README documents).
QJsonObject DiffJson(const ContentDiff &diff);

} // namespace orin
