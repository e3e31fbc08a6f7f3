// SPDX-License-Identifier: MIT
// The word-level difference, and the content difference as report lines and as JSON.
#include "actions/content_diff.h"

#include <QJsonArray>

#include <algorithm>

namespace orin {

namespace {

// Letters and digits in runs, every other character (also each CJK character) alone.
QStringList Words(const QString &text)
{
    QStringList words;
    qsizetype start = -1;
    auto isWord = [](QChar c) {
        return c.unicode() < 0x3000 && (c.isLetterOrNumber() || c == u'_');
    };
    for (qsizetype k = 0; k < text.size(); ++k) {
        if (isWord(text[k])) {
            if (start < 0)
                start = k;
            continue;
        }
        if (start >= 0) {
            words << text.mid(start, k - start);
            start = -1;
        }
        words << text.mid(k, 1);
    }
    if (start >= 0)
        words << text.mid(start);
    return words;
}

void Append(std::vector<WordSpan> &spans, WordSpan::Op op, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!spans.empty() && spans.back().op == op)
        spans.back().text += text;
    else
        spans.push_back({op, text});
}

} // namespace

std::vector<WordSpan> WordDiff(const QString &before, const QString &after)
{
    const QStringList b = Words(before);
    const QStringList a = Words(after);
    qsizetype head = 0;
    while (head < b.size() && head < a.size() && b[head] == a[head])
        ++head;
    qsizetype tail = 0;
    while (tail < b.size() - head && tail < a.size() - head
           && b[b.size() - 1 - tail] == a[a.size() - 1 - tail])
        ++tail;
    std::vector<WordSpan> spans;
    Append(spans, WordSpan::Same, b.mid(0, head).join(QString()));
    const qsizetype n = b.size() - head - tail;
    const qsizetype m = a.size() - head - tail;
    // The table of common lengths grows with n * m; beyond this the middle is shown whole.
    constexpr qint64 kMaxCells = 4'000'000;
    if (n > 0 && m > 0 && qint64(n + 1) * qint64(m + 1) <= kMaxCells) {
        std::vector<int> lcs(size_t((n + 1) * (m + 1)), 0);
        auto at = [&lcs, m](qsizetype i, qsizetype j) -> int & {
            return lcs[size_t(i * (m + 1) + j)];
        };
        for (qsizetype i = n - 1; i >= 0; --i) {
            for (qsizetype j = m - 1; j >= 0; --j)
                at(i, j) = b[head + i] == a[head + j] ? at(i + 1, j + 1) + 1
                                                      : std::max(at(i + 1, j), at(i, j + 1));
        }
        qsizetype i = 0, j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && b[head + i] == a[head + j]) {
                Append(spans, WordSpan::Same, b[head + i]);
                ++i;
                ++j;
            } else if (i < n && (j == m || at(i + 1, j) >= at(i, j + 1))) {
                Append(spans, WordSpan::Removed, b[head + i]);
                ++i;
            } else {
                Append(spans, WordSpan::Added, a[head + j]);
                ++j;
            }
        }
    } else {
        Append(spans, WordSpan::Removed, b.mid(head, n).join(QString()));
        Append(spans, WordSpan::Added, a.mid(head, m).join(QString()));
    }
    Append(spans, WordSpan::Same, b.mid(b.size() - tail).join(QString()));
    return spans;
}

QString WordDiffText(const std::vector<WordSpan> &words)
{
    QString text;
    for (const WordSpan &w : words) {
        switch (w.op) {
        case WordSpan::Same: text += w.text; break;
        case WordSpan::Removed: text += QStringLiteral("[-") + w.text + QStringLiteral("-]"); break;
        case WordSpan::Added: text += QStringLiteral("{+") + w.text + QStringLiteral("+}"); break;
        }
    }
    return text;
}

namespace {

QString KindName(DiffKind kind)
{
    switch (kind) {
    case DiffKind::Same: return QStringLiteral("same");
    case DiffKind::Added: return QStringLiteral("added");
    case DiffKind::Removed: return QStringLiteral("removed");
    case DiffKind::Changed: return QStringLiteral("changed");
    }
    return QString();
}

QString Quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    escaped.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return u'"' + escaped + u'"';
}

// The pattern filled with the values in one pass (a value's own "%1" is kept as it is).
QString Text(const QString &value)
{
    return value;
}

QString Text(int value)
{
    return QString::number(value);
}

template <typename... Values>
QString Fill(const QString &pattern, const Values &...values)
{
    return pattern.arg(Text(values)...);
}

QString FieldLine(const DiffWording &w, const QString &where, const FieldChange &c)
{
    if (!c.words.empty())
        return Fill(w.fieldWords, where, c.field, Quoted(WordDiffText(c.words)));
    return Fill(w.field, where, c.field, Quoted(c.before), Quoted(c.after));
}

QString PageName(const DiffWording &w, const PageDiff &p)
{
    if (p.kind == DiffKind::Added)
        return Fill(w.page, p.afterId);
    if (p.kind == DiffKind::Removed || p.beforeId == p.afterId)
        return Fill(w.page, p.beforeId);
    return Fill(w.pageRenumbered, p.beforeId, p.afterId);
}

QString RecordName(const DiffWording &w, const RecordDiff &r)
{
    const QString table = w.tables.value(r.table, r.table);
    if (r.kind == DiffKind::Added)
        return Fill(w.record, table, r.afterId);
    if (r.kind == DiffKind::Removed || !r.renumbered)
        return Fill(w.record, table, r.beforeId);
    return Fill(w.recordRenumbered, table, r.beforeId, r.afterId);
}

QJsonArray FieldsJson(const std::vector<FieldChange> &fields)
{
    QJsonArray array;
    for (const FieldChange &c : fields) {
        QJsonObject o{{QStringLiteral("field"), c.field},
                      {QStringLiteral("before"), c.before},
                      {QStringLiteral("after"), c.after}};
        if (!c.words.empty()) {
            QJsonArray words;
            for (const WordSpan &w : c.words) {
                const char *op = w.op == WordSpan::Same ? "=" : w.op == WordSpan::Removed ? "-" : "+";
                words.append(QJsonObject{{QStringLiteral("op"), QLatin1String(op)},
                                         {QStringLiteral("text"), w.text}});
            }
            o.insert(QStringLiteral("words"), words);
        }
        array.append(o);
    }
    return array;
}

QJsonValue RectJson(const QRect &r, bool present)
{
    if (!present)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("x"), r.x()},
                       {QStringLiteral("y"), r.y()},
                       {QStringLiteral("width"), r.width()},
                       {QStringLiteral("height"), r.height()}};
}

QJsonValue IdJson(int id, bool present)
{
    return present ? QJsonValue(id) : QJsonValue(QJsonValue::Null);
}

} // namespace

const DiffWording &DiffEnglishWording()
{
    static const DiffWording wording{
        QStringLiteral("settings"),
        QStringLiteral("page %1"),
        QStringLiteral("page %1->%2"),
        QStringLiteral("%1 item %2"),
        QStringLiteral("%1 %2"),
        QStringLiteral("%1 %2->%3"),
        {},
        QStringLiteral("%1 %2: %3 -> %4"),
        QStringLiteral("%1 %2: %3"),
        QStringLiteral("%1: added at position %2"),
        QStringLiteral("%1: removed from position %2"),
        QStringLiteral("%1: renumbered %2 -> %3"),
        QStringLiteral("%1: moved from position %2 to %3"),
        QStringLiteral("%1: added at (%2,%3) %4x%5"),
        QStringLiteral("%1: removed from (%2,%3) %4x%5"),
        QStringLiteral("%1: moved (%2,%3) -> (%4,%5)"),
        QStringLiteral("%1: resized %2x%3 -> %4x%5"),
        QStringLiteral("%1: added"),
        QStringLiteral("%1: removed"),
    };
    return wording;
}

QStringList DiffReportLines(const ContentDiff &diff, const DiffWording &w)
{
    QStringList lines;
    for (const FieldChange &c : diff.settings)
        lines << FieldLine(w, w.settings, c);
    for (const PageDiff &p : diff.pages) {
        const QString name = PageName(w, p);
        if (p.kind == DiffKind::Added) {
            lines << Fill(w.pageAdded, name, p.afterPosition);
            continue;
        }
        if (p.kind == DiffKind::Removed) {
            lines << Fill(w.pageRemoved, name, p.beforePosition);
            continue;
        }
        if (p.renumbered)
            lines << Fill(w.renumbered, name, p.beforeId, p.afterId);
        if (p.moved)
            lines << Fill(w.pageMoved, name, p.beforePosition, p.afterPosition);
        for (const FieldChange &c : p.attributes)
            lines << FieldLine(w, name, c);
        for (const ItemDiff &item : p.items) {
            const QString where =
                Fill(w.item, name, item.kind == DiffKind::Added ? item.afterId : item.beforeId);
            const QRect &b = item.beforeRect;
            const QRect &a = item.afterRect;
            if (item.kind == DiffKind::Added) {
                lines << Fill(w.itemAdded, where, a.x(), a.y(), a.width(), a.height());
                continue;
            }
            if (item.kind == DiffKind::Removed) {
                lines << Fill(w.itemRemoved, where, b.x(), b.y(), b.width(), b.height());
                continue;
            }
            if (item.moved)
                lines << Fill(w.itemMoved, where, b.x(), b.y(), a.x(), a.y());
            if (item.resized)
                lines << Fill(w.itemResized, where, b.width(), b.height(), a.width(), a.height());
            for (const FieldChange &c : item.fields)
                lines << FieldLine(w, where, c);
        }
    }
    for (const RecordDiff &r : diff.records) {
        const QString name = RecordName(w, r);
        if (r.kind == DiffKind::Added) {
            lines << Fill(w.recordAdded, name);
            continue;
        }
        if (r.kind == DiffKind::Removed) {
            lines << Fill(w.recordRemoved, name);
            continue;
        }
        if (r.renumbered)
            lines << Fill(w.renumbered, name, r.beforeId, r.afterId);
        for (const FieldChange &c : r.fields)
            lines << FieldLine(w, name, c);
    }
    return lines;
}

QJsonObject DiffJson(const ContentDiff &diff)
{
    QJsonArray pages;
    for (const PageDiff &p : diff.pages) {
        QJsonArray items;
        for (const ItemDiff &item : p.items) {
            items.append(QJsonObject{
                {QStringLiteral("change"), KindName(item.kind)},
                {QStringLiteral("before"), IdJson(item.beforeId, item.kind != DiffKind::Added)},
                {QStringLiteral("after"), IdJson(item.afterId, item.kind != DiffKind::Removed)},
                {QStringLiteral("moved"), item.moved},
                {QStringLiteral("resized"), item.resized},
                {QStringLiteral("beforeRect"), RectJson(item.beforeRect, item.kind != DiffKind::Added)},
                {QStringLiteral("afterRect"), RectJson(item.afterRect, item.kind != DiffKind::Removed)},
                {QStringLiteral("fields"), FieldsJson(item.fields)},
            });
        }
        pages.append(QJsonObject{
            {QStringLiteral("change"), KindName(p.kind)},
            {QStringLiteral("before"), IdJson(p.beforeId, p.kind != DiffKind::Added)},
            {QStringLiteral("after"), IdJson(p.afterId, p.kind != DiffKind::Removed)},
            {QStringLiteral("beforePosition"), IdJson(p.beforePosition, p.kind != DiffKind::Added)},
            {QStringLiteral("afterPosition"), IdJson(p.afterPosition, p.kind != DiffKind::Removed)},
            {QStringLiteral("renumbered"), p.renumbered},
            {QStringLiteral("moved"), p.moved},
            {QStringLiteral("attributes"), FieldsJson(p.attributes)},
            {QStringLiteral("items"), items},
        });
    }
    QJsonArray records;
    for (const RecordDiff &r : diff.records) {
        records.append(QJsonObject{
            {QStringLiteral("table"), r.table},
            {QStringLiteral("change"), KindName(r.kind)},
            {QStringLiteral("before"), IdJson(r.beforeId, r.kind != DiffKind::Added)},
            {QStringLiteral("after"), IdJson(r.afterId, r.kind != DiffKind::Removed)},
            {QStringLiteral("renumbered"), r.renumbered},
            {QStringLiteral("fields"), FieldsJson(r.fields)},
        });
    }
    return QJsonObject{
        {QStringLiteral("equal"), diff.IsEmpty()},
        {QStringLiteral("settings"), FieldsJson(diff.settings)},
        {QStringLiteral("pages"), pages},
        {QStringLiteral("records"), records},
    };
}

} // namespace orin
