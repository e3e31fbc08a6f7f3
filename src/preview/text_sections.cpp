// SPDX-License-Identifier: MIT
#include "preview/text_sections.h"

#include "model/leading_int.h"

namespace orin {

namespace {

const QString kMarker = QStringLiteral("[#");

template <typename T>
const T *FindLive(const CMyDataArray<T> &table, int id)
{
    if (id < 0)
        return nullptr;
    return table.FindById(id);
}

int Cap(int n, int limit)
{
    // A negative limit (from a memory register) caps nothing.
    return (limit > 0 && n >= limit) ? limit : n;
}

const Section *SectionLabelledIn(const QList<Section> &sections, int label)
{
    for (const Section &section : sections) {
        if (section.label == label)
            return &section;
    }
    return nullptr;
}

} // namespace

int CountSectionMarkers(const QString &s)
{
    return int(s.count(kMarker));
}

QList<Section> SplitSections(const QString &s)
{
    QList<Section> sections;
    qsizetype at = s.indexOf(kMarker);
    while (at >= 0) {
        const qsizetype next = s.indexOf(kMarker, at + 2);
        const qsizetype end = next < 0 ? s.size() : next;
        const QStringView marker = QStringView(s).mid(at + 2, end - at - 2);
        Section section;
        section.label = ParseLeadingInt(marker);
        const qsizetype close = marker.indexOf(u']');
        // A marker without its "]" has an empty content.
        if (close >= 0)
            section.content = marker.mid(close + 1).toString();
        sections.append(section);
        at = next;
    }
    return sections;
}

const CMyTextInfo *FindText(const CContentModel &model, int textId)
{
    return FindLive(model.texts, textId);
}

const CMyMacroInfo *FindMacro(const CContentModel &model, int macroId)
{
    return FindLive(model.macros, macroId);
}

namespace {

// The section after `k` among `n` (the first after the last); 0 when there are none. A `k` at
// or past the last (an item id the I command stored, up to INT_MAX) starts again at 1.
int NextOf(int n, int k)
{
    if (n == 0)
        return 0;
    return k >= n ? 1 : k + 1;
}

// The section before `k` among `n` (the last before the first); 0 when there are none.
int PreviousOf(int n, int k)
{
    if (n == 0)
        return 0;
    return k >= 2 ? k - 1 : n;
}

// Section `k` (1-based) of a text or macro; the whole of it when it has no section markers.
SectionFound SectionAt(const QString &whole, int k)
{
    if (CountSectionMarkers(whole) == 0)
        return {true, whole};
    const QList<Section> sections = SplitSections(whole);
    if (k < 1 || k > sections.size())
        return {};
    return {true, sections.at(k - 1).content};
}

} // namespace

// ---------------------------------------------------------------- texts

int TextSectionCount(const CContentModel &model, int textId)
{
    const CMyTextInfo *text = FindText(model, textId);
    if (!text)
        return 0;
    const int n = CountSectionMarkers(text->text);
    return n == 0 ? 1 : n;
}

int TextNextSection(const CContentModel &model, int textId, int k)
{
    if (k == 0)
        return 1;
    const CMyTextInfo *text = FindText(model, textId);
    return NextOf(text ? CountSectionMarkers(text->text) : 0, k);
}

int TextPreviousSection(const CContentModel &model, int textId, int k)
{
    if (k == 0)
        return 1;
    const CMyTextInfo *text = FindText(model, textId);
    return PreviousOf(text ? CountSectionMarkers(text->text) : 0, k);
}

SectionFound TextSectionByPosition(const CContentModel &model, int textId, int k)
{
    if (textId == 0 && model.texts.Count() > 0)
        return {true, QString()};
    const CMyTextInfo *text = FindText(model, textId);
    return text ? SectionAt(text->text, k) : SectionFound{};
}

SectionLabelled TextSectionByLabel(const CContentModel &model, int textId, int label)
{
    const CMyTextInfo *text = FindText(model, textId);
    if (!text)
        return {};
    if (label == 0)
        return {1, text->text};
    if (CountSectionMarkers(text->text) == 0)
        return {2, text->text};
    const QList<Section> sections = SplitSections(text->text);
    if (const Section *section = SectionLabelledIn(sections, label))
        return {1, section->content};
    return {};
}

// ---------------------------------------------------------------- macros

int MacroSectionCount(const CContentModel &model, int macroId)
{
    const CMyMacroInfo *macro = FindMacro(model, macroId);
    return macro ? CountSectionMarkers(macro->macro) : 0;
}

int MacroNextSection(const CContentModel &model, int macroId, int k, int limit)
{
    return NextOf(Cap(MacroSectionCount(model, macroId), limit), k);
}

int MacroPreviousSection(const CContentModel &model, int macroId, int k, int limit)
{
    return PreviousOf(Cap(MacroSectionCount(model, macroId), limit), k);
}

SectionFound MacroSectionByPosition(const CContentModel &model, int macroId, int k)
{
    const CMyMacroInfo *macro = FindMacro(model, macroId);
    return macro ? SectionAt(macro->macro, k) : SectionFound{};
}

SectionLabelled MacroSectionByLabel(const CContentModel &model, int macroId, int label)
{
    const CMyMacroInfo *macro = FindMacro(model, macroId);
    if (!macro)
        return {};
    if (label == 0)
        return {1, macro->macro};
    if (CountSectionMarkers(macro->macro) == 0)
        return {};
    const QList<Section> sections = SplitSections(macro->macro);
    if (const Section *section = SectionLabelledIn(sections, label))
        return {1, section->content};
    return {};
}

} // namespace orin
