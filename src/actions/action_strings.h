// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>

#include <array>
#include <functional>

// Action strings are stored verbatim; these operations understand them only far enough to find
// and change the numbers in them that are ids of pages, images, texts and macros.
//
// An action string that starts with a digit is a plain number (an item or page id). Any other
// is a comma-separated list of entries such as "P:12:3"; texts and macros may also be divided
// into sections by markers "[#n]". A reference prefix counts only where an entry begins: at the
// start, right after a comma or right after a section marker. So the "k:" of a two-letter
// command ("xk:5:") and the "r:" of "$slider:" are never references. A colon reference is a
// prefix, a number and a colon ("t:12:"); a comma reference is a prefix and a number that runs
// to the next comma, section marker or the end ("s:4").

namespace orin {

// Old ids to new ids where the first pair of an old id counts, as the parallel lists below are
// read; each lookup takes constant time, so that rewriting every string of a large merge stays
// linear in its size.
class CIdLookup {
public:
    void Add(int oldId, int newId)
    {
        if (!m_first.contains(oldId))
            m_first.insert(oldId, newId);
    }
    bool Contains(int oldId) const { return m_first.contains(oldId); }
    // The new id of `id`, or `id` itself when it has none.
    int Map(int id) const { return m_first.value(id, id); }

private:
    QHash<int, int> m_first;
};

// How a reference's number ends.
enum class ReferenceForm { Colon, Comma };

// The command letters that RenumberEntries steps over: every command the preview runs, "$"
// entries included. An entry starting with any other character stops the preview, and
// RenumberEntries with it.
inline constexpr QStringView kActionLetters = u"PpTtRrIiSsFfBbGgMmCcWwOoXxEeZzHhKkQqAaUuVv$";

// Flags indexed by image id; MarkImageReferences sets the used ones to 1.
using ImageFlags = std::array<int, 256>;

// Appends the number of every reference with `prefix` in `action` to `out`, matching both case
// forms (the string and the prefix are folded to lower case). Prefixes after x/q are skipped;
// a colon-form prefix without a later colon is no reference.
void ExtractReferences(QStringView action, QStringView prefix, ReferenceForm form,
                       QList<int> &out);

// Replaces the number of every reference with `prefix` (matched in exactly that case) by the new
// id of the first matching old id, or by itself when it has none; numbers come back in plain
// decimal ("007" -> "7"). Of a text after a prefix that is not all digits only the number it
// starts with (as ParseLeadingInt reads it) changes, and only when it has a new id ("4x" ->
// "31x"); a text that does not start with a number is copied unchanged.
// oldIds and newIds are parallel; extra entries of the longer are ignored.
void RewriteReferences(QString &action, QStringView prefix, ReferenceForm form,
                       const QList<int> &oldIds, const QList<int> &newIds);
void RewriteReferences(QString &action, QStringView prefix, ReferenceForm form,
                       const CIdLookup &ids);

// Reads the whole string as a decimal number; when it is above 0 and among oldIds, the string
// becomes the matching new id. Otherwise it stays as it is.
void RemapPlainNumber(QString &action, const QList<int> &oldIds, const QList<int> &newIds);
void RemapPlainNumber(QString &action, const CIdLookup &ids);

// Sets flags[n] = 1 for every colon reference with `prefix` (case-sensitive) whose number n lies
// in 1..255, and for every id of the animation list of a "$slider" entry written with the
// prefix's letter ("$slider:p1/2/3" for "p:"). An occurrence inside an entry is skipped and the
// scan goes on; an occurrence with no later colon ends the scan.
void MarkImageReferences(QStringView action, QStringView prefix, ImageFlags &flags);

// Position (1-based) of pageId among the old page ids in list order. A special screen number
// (254, 255, 1000, 2000) keeps its number: the preview shows that screen whatever page has the
// id. Not found, or an id of 0 or below ("no page"): 0.
int PagePosition(int pageId, const QList<int> &oldPageIds);

// Rewrites the page ids of the G:/g: entries of `action` to their PagePosition. With isRet
// set, an entry that starts with a digit (at the start or after other entries) makes the rest a
// page id, rewritten the same way; without it that number is an item id and stays. An entry
// starting with a character outside kActionLetters ends the rewriting: it and what follows stay
// as they are, the entries before it are rewritten (the preview runs them before it stops).
void RenumberEntries(QString &action, bool isRet, const QList<int> &oldPageIds);
// The same walk with any page mapping: every page id that RenumberEntries would rewrite becomes
// mapPage(id).
void MapPageEntries(QString &action, bool isRet, const std::function<int(int)> &mapPage);

// RenumberEntries on each section of a macro (the text after each marker "[#n]", or the whole
// macro without markers; the text before the first marker likewise), with isRet clear: a macro
// runs in focus context, where a plain number is an item id.
void RenumberMacro(QString &macro, const QList<int> &oldPageIds);
// The same walk over the sections of a macro with any page mapping.
void MapMacroPages(QString &macro, const std::function<int(int)> &mapPage);

// Gives the pages the ids 1, 2, ... in list order and makes every page reference follow: the
// page-level references, the G:/g: entries and plain ret numbers of the used item slots, the
// G:/g: entries of every section of every macro, and the `item` of every text record.
// Redrawing the page list and setting the modified flag are the caller's.
void RenumberPages(CContentModel &model);

// The image ids of the animation list of every "$slider" entry ("$slider:p1/2/3:i5:w3000" lists
// images 1, 2 and 3), in the order written, appended to `out`. Both "p" and "P" lists count.
void ExtractSliderImages(QStringView action, QList<int> &out);

// Replaces every all-digit id of the animation lists of the "$slider" entries whose list letter
// is `letter` (exactly that case) by the new id of the first matching old id; other ids and the
// rest of the string stay as they are.
void RewriteSliderImages(QString &action, QChar letter, const QList<int> &oldIds,
                         const QList<int> &newIds);
void RewriteSliderImages(QString &action, QChar letter, const CIdLookup &ids);

} // namespace orin
