// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// What an action string can do, read without running it: the page jumps, focus moves and macro
// runs of its entries, and the ids of items, texts and images it names. The entries are read as
// the preview reads them (left to right, at most 100, an unknown letter or an item entry without
// its second number ends the string, A and E end it after themselves), so that what is read here
// is what would run.

namespace orin {

enum class EffectKind {
    ShowPage,      // target: page number (special screens included)
    MoveFocus,     // target: item id; `checked` when the preview tests focusability (plain number)
    RunMacro,      // target: macro id
    RunItemString, // target: item id (0: the remembered focus), field: 1 ret .. 7 outfocus (Qb)
    ItemRef,       // target: an item that the entry changes
    TextRef,       // target: a text record
    MacroRef,      // target: a macro that the entry reads or limits (Qs, Qk)
    ImageRef,      // target: a picture or material
    Other,         // the entry does something else (registers, timers, colours ...)
    NoOp,          // the entry runs but changes nothing (K, O, Qd, a 0 target)
};

struct ActionEffect {
    EffectKind kind = EffectKind::NoOp;
    int target = 0;
    int field = 0;
    bool checked = false;
    // The entry's place in the action string; one entry can give several effects, the first of
    // them is its main one (`primary`).
    int entryStart = 0;
    int entryLength = 0;
    bool primary = false;
};

// The effects of `action` run in page context (kind 0: a plain number shows a page) or focus
// context (kind 1: it moves the focus). Register values set by "Xn:v:r" earlier in the same
// string are followed into "Xg/Xh/Xj" (page jumps) and "Xm" (macro runs).
std::vector<ActionEffect> ActionEffects(QStringView action, int kind);
// The same into `effects` (emptied first), so that a caller reading many strings reuses one
// buffer.
void ActionEffects(QStringView action, int kind, std::vector<ActionEffect> &effects);

// True when the string runs nothing at all: empty, a plain number 0, or no entry that runs.
// Whether a string runs something does not depend on the context it is read in.
bool ActionRunsNothing(QStringView action);
// The same for the effects of a string already read.
bool RunsNothing(const std::vector<ActionEffect> &effects);

} // namespace orin
