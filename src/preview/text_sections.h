// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QList>
#include <QString>

// Texts and macros may be divided into sections, each introduced by a marker "[#n]"; the
// section's content runs from after the "]" to the next "[#" or the end. A section is chosen by
// its position (k-th marker from 1, whatever its number) or by its label (the marker's number).
// Texts and macros differ in a few corner rules, so each has its own set of functions.

namespace orin {

// Result of a lookup by position.
struct SectionFound {
    bool found = false;
    QString text;
};

// Result of a lookup by label: result 0 nothing, 1 a section (or the whole string for label 0),
// 2 the whole text of a text record without markers.
struct SectionLabelled {
    int result = 0;
    QString text;
};

// The number of markers in `s`, 0 when it has none.
int CountSectionMarkers(const QString &s);

// Texts (stepped with limit 0).
int TextSectionCount(const CContentModel &model, int textId);
int TextNextSection(const CContentModel &model, int textId, int k);
int TextPreviousSection(const CContentModel &model, int textId, int k);
SectionFound TextSectionByPosition(const CContentModel &model, int textId, int k);
SectionLabelled TextSectionByLabel(const CContentModel &model, int textId, int label);

// Macros (stepped with their macro limit; 0 means all sections).
int MacroSectionCount(const CContentModel &model, int macroId);
int MacroNextSection(const CContentModel &model, int macroId, int k, int limit);
int MacroPreviousSection(const CContentModel &model, int macroId, int k, int limit);
SectionFound MacroSectionByPosition(const CContentModel &model, int macroId, int k);
SectionLabelled MacroSectionByLabel(const CContentModel &model, int macroId, int label);

// The text of the first live text record with that id, or null. Deleted records (id -1) are
// never found.
const CMyTextInfo *FindText(const CContentModel &model, int textId);
const CMyMacroInfo *FindMacro(const CContentModel &model, int macroId);

// One section of a string: its label and its content.
struct Section {
    int label = 0;
    QString content;
};
// All sections of a string with markers, in order; empty when it has none.
QList<Section> SplitSections(const QString &s);

} // namespace orin
