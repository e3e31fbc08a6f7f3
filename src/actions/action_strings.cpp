// SPDX-License-Identifier: MIT
#include "actions/action_strings.h"

#include "model/leading_int.h"

#include <algorithm>
#include <climits>

namespace orin {

namespace {

// A reference prefix counts only where an entry begins: at the start of the string, right
// after a comma, or right after a section marker "[#n]" (texts and macros are divided into
// sections that way). Anywhere else it is part of another entry, such as the "r:" of "$slider:"
// or the sub-command of a two-letter command ("xk:").
bool IsEntryStart(QStringView text, qsizetype pos)
{
    if (pos == 0 || text[pos - 1] == u',')
        return true;
    if (text[pos - 1] != u']')
        return false;
    qsizetype i = pos - 2;
    while (i >= 0 && text[i] >= u'0' && text[i] <= u'9')
        --i;
    return i >= 1 && text[i] == u'#' && text[i - 1] == u'[';
}

// Where an entry that runs to the next comma ends: the comma, the next section marker, or the
// end of the text.
qsizetype EntryEnd(QStringView text, qsizetype from)
{
    // One pass up to the first of the two, so that a long string costs no more than its length.
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == u',' || (text[i] == u'[' && i + 1 < text.size() && text[i + 1] == u'#'))
            return i;
    }
    return text.size();
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsAllDigits(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// Where the number that ParseLeadingInt reads at the start of `text` ends (blanks, a sign and
// the digits); 0 when the text does not start with a number.
qsizetype LeadingNumberEnd(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    const qsizetype digits = i;
    while (i < text.size() && IsAsciiDigit(text[i]))
        ++i;
    return i > digits ? i : 0;
}

// The new id of the first old id equal to `id`, or `id` itself.
int MapId(int id, const QList<int> &oldIds, const QList<int> &newIds)
{
    const qsizetype count = std::min(oldIds.size(), newIds.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (oldIds[i] == id)
            return newIds[i];
    }
    return id;
}

// 1-based position of the page id among the old ids, 0 when absent or not a page id.
int ListPosition(int pageId, const QList<int> &oldPageIds)
{
    if (pageId <= 0)
        return 0;
    const qsizetype index = oldPageIds.indexOf(pageId);
    return index < 0 ? 0 : static_cast<int>(index + 1);
}

void MarkId(int id, ImageFlags &flags)
{
    if (id > 0 && id < static_cast<int>(flags.size()))
        flags[static_cast<size_t>(id)] = 1;
}

// Calls visit(first, end) for the animation list of every "$slider" entry whose list parameter
// begins with one of `letters`: [first, end) is the list after the letter ("1/2/3").
template <typename Visit>
void ForEachSliderList(QStringView action, QStringView letters, Visit visit)
{
    static constexpr QStringView kSlider = u"$slider";
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = action.indexOf(kSlider, from, Qt::CaseInsensitive);
        if (pos < 0)
            return;
        const qsizetype end = EntryEnd(action, pos);
        from = pos + kSlider.size();
        if (!IsEntryStart(action, pos) || from >= end || action[from] != u':')
            continue;
        for (qsizetype start = from + 1; start < end;) {
            qsizetype colon = action.indexOf(u':', start);
            if (colon < 0 || colon > end)
                colon = end;
            if (colon > start && letters.contains(action[start]))
                visit(start + 1, colon);
            start = colon + 1;
        }
        from = end;
    }
}

// Marks the animation list of every "$slider" entry: the parameter that begins with `letter`
// ("$slider:p1/2/3:i5:w3000" shows images 1, 2 and 3 in turn).
void MarkSliderImages(QStringView action, QChar letter, ImageFlags &flags)
{
    ForEachSliderList(action, QStringView(&letter, 1), [&](qsizetype first, qsizetype end) {
        for (QStringView id : action.mid(first, end - first).split(u'/'))
            MarkId(ParseLeadingInt(id), flags);
    });
}

} // namespace

void ExtractReferences(QStringView action, QStringView prefix, ReferenceForm form,
                       QList<int> &out)
{
    // Folding lets one call find both case forms of the prefix.
    const QString text = action.toString().toLower();
    const QString key = prefix.toString().toLower();
    if (key.isEmpty())
        return;
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = text.indexOf(key, from);
        if (pos < 0)
            return;
        const qsizetype after = pos + key.size();
        if (!IsEntryStart(text, pos)) {
            from = after;
            continue;
        }
        if (form == ReferenceForm::Colon) {
            const qsizetype colon = text.indexOf(u':', after);
            if (colon < 0) {
                from = after;
                continue;
            }
            out.append(ParseLeadingInt(QStringView(text).mid(after, colon - after)));
            from = colon;
        } else {
            const qsizetype end = EntryEnd(text, after);
            out.append(ParseLeadingInt(QStringView(text).mid(after, end - after)));
            if (end >= text.size())
                return;
            from = end;
        }
    }
}

namespace {

// RewriteReferences with `map` giving the new id of an old one (or the id itself).
template <typename Map>
void RewriteReferencesWith(QString &action, QStringView prefix, ReferenceForm form, Map map)
{
    if (prefix.isEmpty())
        return;
    const QStringView text(action);
    QString result;
    result.reserve(action.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = text.indexOf(prefix, from);
        if (pos < 0) {
            result += text.mid(from);
            break;
        }
        const qsizetype after = pos + prefix.size();
        result += text.mid(from, after - from);
        from = after;
        if (!IsEntryStart(text, pos))
            continue;
        qsizetype end = 0;
        if (form == ReferenceForm::Colon) {
            end = text.indexOf(u':', after);
            if (end < 0) {
                result += text.mid(after);
                break;
            }
        } else {
            end = EntryEnd(text, after);
        }
        // The id is the number the text starts with, read as the preview and ExtractReferences
        // read it; only that number changes. A text that is not a number ("p3/4/5") and what
        // follows a number ("4x") are copied as they stand, so that no rewrite can swallow
        // the text that follows. The terminating colon, comma or section marker stays in the
        // text that follows.
        const QStringView number = text.mid(after, end - after);
        if (IsAllDigits(number)) {
            result += QString::number(map(ParseLeadingInt(number)));
        } else {
            const qsizetype numberEnd = LeadingNumberEnd(number);
            const int id = ParseLeadingInt(number);
            const int mapped = map(id);
            if (numberEnd > 0 && mapped != id)
                result += QString::number(mapped) + number.mid(numberEnd).toString();
            else
                result += number;
        }
        from = end;
    }
    action = result;
}

} // namespace

void RewriteReferences(QString &action, QStringView prefix, ReferenceForm form,
                       const QList<int> &oldIds, const QList<int> &newIds)
{
    RewriteReferencesWith(action, prefix, form,
                          [&](int id) { return MapId(id, oldIds, newIds); });
}

void RewriteReferences(QString &action, QStringView prefix, ReferenceForm form,
                       const CIdLookup &ids)
{
    RewriteReferencesWith(action, prefix, form, [&](int id) { return ids.Map(id); });
}

void RemapPlainNumber(QString &action, const QList<int> &oldIds, const QList<int> &newIds)
{
    const int id = ParseLeadingInt(action);
    if (id <= 0)
        return;
    const qsizetype count = std::min(oldIds.size(), newIds.size());
    for (qsizetype i = 0; i < count; ++i) {
        if (oldIds[i] == id) {
            action = QString::number(newIds[i]);
            return;
        }
    }
}

void RemapPlainNumber(QString &action, const CIdLookup &ids)
{
    const int id = ParseLeadingInt(action);
    if (id > 0 && ids.Contains(id))
        action = QString::number(ids.Map(id));
}

void MarkImageReferences(QStringView action, QStringView prefix, ImageFlags &flags)
{
    if (prefix.isEmpty())
        return;
    MarkSliderImages(action, prefix.front(), flags);
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = action.indexOf(prefix, from);
        if (pos < 0)
            return;
        const qsizetype after = pos + prefix.size();
        from = after;
        // A prefix inside another entry (a two-letter command's sub-prefix, a "$slider"
        // parameter) is skipped, not a reason to stop: a later real reference in the same
        // string must still keep its image.
        if (!IsEntryStart(action, pos))
            continue;
        const qsizetype colon = action.indexOf(u':', after);
        if (colon < 0)
            return;
        MarkId(ParseLeadingInt(action.mid(after, colon - after)), flags);
        from = colon;
    }
}

int PagePosition(int pageId, const QList<int> &oldPageIds)
{
    // A special screen is shown by its number whatever page may carry that id.
    if (IsSpecialScreen(pageId))
        return pageId;
    return ListPosition(pageId, oldPageIds);
}

void RenumberEntries(QString &action, bool isRet, const QList<int> &oldPageIds)
{
    MapPageEntries(action, isRet,
                   [&oldPageIds](int pageId) { return PagePosition(pageId, oldPageIds); });
}

void MapPageEntries(QString &action, bool isRet, const std::function<int(int)> &mapPage)
{
    const QStringView text(action);
    const qsizetype n = text.size();
    QString result;
    result.reserve(n);
    qsizetype pos = 0;
    while (pos < n) {
        const QChar c = text[pos];
        // A "G" entry: the preview reads its number from the third character on, whatever the
        // second is ("G*9" shows page 9 as "G:9" does), so any separator but a comma counts. A
        // G that the entry's end follows at once is copied like any other entry, so that the
        // entry after it is not swallowed as its number; so is one with no number after an odd
        // separator ("G9" shows page 0 and stays as written).
        const bool gEntry = (c == u'G' || c == u'g') && pos + 1 < n && text[pos + 1] != u',';
        const qsizetype gComma = gEntry ? text.indexOf(u',', pos + 2) : -1;
        const qsizetype gEnd = gComma < 0 ? n : gComma;
        if (gEntry && (text[pos + 1] == u':' || gEnd > pos + 2)) {
            result += text.mid(pos, 2);
            const qsizetype comma = gComma;
            const qsizetype end = gEnd;
            const int pageId = ParseLeadingInt(text.mid(pos + 2, end - pos - 2));
            result += QString::number(mapPage(pageId));
            if (comma < 0) {
                action = result;
                return;
            }
            result += u',';
            pos = comma + 1;
            continue;
        }
        if (kActionLetters.contains(c)) {
            const qsizetype comma = text.indexOf(u',', pos);
            if (comma < 0) {
                result += text.mid(pos);
                action = result;
                return;
            }
            result += text.mid(pos, comma + 1 - pos);
            pos = comma + 1;
            continue;
        }
        // An entry that starts with a digit makes the rest of the string one number: in ret it
        // shows that page (also after other entries, as the preview reads it); elsewhere it is
        // an item id.
        const QStringView rest = text.mid(pos);
        const int number = isRet && IsAsciiDigit(c) ? ParseLeadingInt(rest) : 0;
        if (number != 0)
            result += QString::number(mapPage(number));
        else
            result += rest; // no command: the preview stops here, after running what came before
        action = result;
        return;
    }
    action = result;
}

void RenumberMacro(QString &macro, const QList<int> &oldPageIds)
{
    MapMacroPages(macro,
                  [&oldPageIds](int pageId) { return PagePosition(pageId, oldPageIds); });
}

void MapMacroPages(QString &macro, const std::function<int(int)> &mapPage)
{
    // The preview runs a macro section by section, each an action string of its own (in focus
    // context); the markers stay as they are.
    static constexpr QStringView kMarker = u"[#";
    QString result;
    result.reserve(macro.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype marker = macro.indexOf(kMarker, from);
        QString section = macro.mid(from, (marker < 0 ? macro.size() : marker) - from);
        MapPageEntries(section, false, mapPage);
        result += section;
        if (marker < 0)
            break;
        const qsizetype close = macro.indexOf(u']', marker);
        if (close < 0) {
            result += QStringView(macro).mid(marker);
            break;
        }
        result += QStringView(macro).mid(marker, close + 1 - marker);
        from = close + 1;
    }
    macro = result;
}

void RenumberPages(CContentModel &model)
{
    QList<int> oldIds;
    oldIds.reserve(model.pages.Count());
    for (const auto &page : model.pages)
        oldIds.append(page->id);

    int position = 0;
    for (const auto &page : model.pages) {
        page->id = ++position;
        for (int *reference : {&page->return_, &page->back, &page->data, &page->up,
                               &page->down, &page->left, &page->right, &page->blue, &page->red,
                               &page->green, &page->yellow, &page->memory})
            *reference = PagePosition(*reference, oldIds);
        const int used = std::clamp(page->itemCount, 0, kItemSlots);
        for (int slot = 0; slot < used; ++slot) {
            PageItem &item = page->items[static_cast<size_t>(slot)];
            for (QString *action : {&item.focus, &item.outfocus, &item.up, &item.down,
                                    &item.left, &item.right})
                RenumberEntries(*action, false, oldIds);
            RenumberEntries(item.ret, true, oldIds);
        }
    }

    // A text record's item is the page that shows it.
    for (const auto &text : model.texts)
        text->item = ListPosition(text->item, oldIds);

    // Macros show pages as the items do. Channel, web page and function records hold no
    // action strings: nothing runs their data, so nothing in them names a page of this set.
    for (const auto &macro : model.macros) {
        if (macro->id != kDeletedId)
            RenumberMacro(macro->macro, oldIds);
    }
}


void ExtractSliderImages(QStringView action, QList<int> &out)
{
    ForEachSliderList(action, u"pP", [&](qsizetype first, qsizetype end) {
        for (QStringView id : action.mid(first, end - first).split(u'/'))
            out.append(ParseLeadingInt(id));
    });
}

namespace {

template <typename Map>
void RewriteSliderImagesWith(QString &action, QChar letter, Map map)
{
    const QStringView text(action);
    QString result;
    qsizetype copied = 0;
    ForEachSliderList(text, QStringView(&letter, 1), [&](qsizetype first, qsizetype end) {
        result += text.mid(copied, first - copied);
        bool firstId = true;
        for (QStringView id : text.mid(first, end - first).split(u'/')) {
            if (!firstId)
                result += u'/';
            firstId = false;
            if (IsAllDigits(id))
                result += QString::number(map(ParseLeadingInt(id)));
            else
                result += id;
        }
        copied = end;
    });
    if (copied == 0)
        return;
    result += text.mid(copied);
    action = result;
}

} // namespace

void RewriteSliderImages(QString &action, QChar letter, const QList<int> &oldIds,
                         const QList<int> &newIds)
{
    RewriteSliderImagesWith(action, letter, [&](int id) { return MapId(id, oldIds, newIds); });
}

void RewriteSliderImages(QString &action, QChar letter, const CIdLookup &ids)
{
    RewriteSliderImagesWith(action, letter, [&](int id) { return ids.Map(id); });
}

} // namespace orin
