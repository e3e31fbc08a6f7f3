// SPDX-License-Identifier: MIT
#include "actions/action_strings.h"

#include "model/leading_int.h"

#include <algorithm>
#include <climits>

namespace orin {

namespace {

bool IsTwoLetterLead(QChar c)
{
    return c == u'x' || c == u'X' || c == u'q' || c == u'Q';
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
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
        if (pos > 0 && (text[pos - 1] == u'x' || text[pos - 1] == u'q')) {
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
            const qsizetype comma = text.indexOf(u',', after);
            if (comma < 0) {
                out.append(ParseLeadingInt(QStringView(text).mid(after)));
                return;
            }
            out.append(ParseLeadingInt(QStringView(text).mid(after, comma - after)));
            from = comma;
        }
    }
}

void RewriteReferences(QString &action, QStringView prefix, ReferenceForm form,
                       const QList<int> &oldIds, const QList<int> &newIds)
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
        if (pos > 0 && IsTwoLetterLead(text[pos - 1]))
            continue;
        qsizetype end = text.indexOf(form == ReferenceForm::Colon ? u':' : u',', after);
        if (end < 0) {
            if (form == ReferenceForm::Colon) {
                result += text.mid(after);
                break;
            }
            end = text.size();
        }
        // The terminating colon or comma stays in the text that follows.
        const int id = ParseLeadingInt(text.mid(after, end - after));
        result += QString::number(MapId(id, oldIds, newIds));
        from = end;
    }
    action = result;
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

void MarkImageReferences(QStringView action, QStringView prefix, ImageFlags &flags)
{
    if (prefix.isEmpty())
        return;
    qsizetype from = 0;
    for (;;) {
        const qsizetype pos = action.indexOf(prefix, from);
        if (pos < 0)
            return;
        const qsizetype after = pos + prefix.size();
        from = after;
        // A two-letter command's sub-prefix is skipped, not a reason to stop: a later real
        // reference in the same string must still keep its image.
        if (pos > 0 && IsTwoLetterLead(action[pos - 1]))
            continue;
        const qsizetype colon = action.indexOf(u':', after);
        if (colon < 0)
            return;
        const int id = ParseLeadingInt(action.mid(after, colon - after));
        if (id > 0 && id < static_cast<int>(flags.size()))
            flags[static_cast<size_t>(id)] = 1;
        from = colon;
    }
}

int PagePosition(int pageId, const QList<int> &oldPageIds)
{
    const int position = ListPosition(pageId, oldPageIds);
    if (position == 0 && (pageId == 254 || pageId == 255))
        return pageId;
    return position;
}

void RenumberEntries(QString &action, bool isRet, const QList<int> &oldPageIds)
{
    const QStringView text(action);
    const qsizetype n = text.size();
    QString result;
    result.reserve(n);
    qsizetype pos = 0;
    while (pos < n) {
        const QChar c = text[pos];
        // Only a real "G:" entry is rewritten; a G without its colon is copied like any other
        // entry so that the entry after it is not swallowed as its number.
        if ((c == u'G' || c == u'g') && pos + 1 < n && text[pos + 1] == u':') {
            result += text.mid(pos, 2);
            const qsizetype comma = text.indexOf(u',', pos + 2);
            const qsizetype end = comma < 0 ? n : comma;
            const int pageId = ParseLeadingInt(text.mid(pos + 2, end - pos - 2));
            result += QString::number(ListPosition(pageId, oldPageIds));
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
        // A digit after an entry cannot start a plain number: that needs the whole string.
        if (isRet && pos == 0 && IsAsciiDigit(c)) {
            const int pageId = ParseLeadingInt(text);
            if (pageId != 0)
                action = QString::number(PagePosition(pageId, oldPageIds));
        }
        return; // unknown entry: the whole string stays as it was
    }
    action = result;
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
}

} // namespace orin
