// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The action trace: what the simulation does, step by step, for the operator who wants to see
// why a key did what it did. The engine reports to one listener; with none set it only tests a
// null pointer.

namespace orin {

enum class TraceKind {
    Key,          // id: key code
    Digit,        // value: the digit
    Click,        // id: the item that took the click
    Tick,         // id: timer id
    Macro,        // id: macro id, value: the section that runs
    Entry,        // text: the whole action string; entryStart/entryLength: the entry that runs;
                  // value: its number in the string (from 1)
    PageShown,    // id: page number (special screens too)
    Focus,        // id: item
    Text,         // id: item, text: what it shows now
    Picture,      // id: item, value: image id
    Colour,       // id: item, value: background colour index (bcolor)
    TextColour,   // id: item, value: text colour index
    Visibility,   // id: item, value: 1 shown, 0 hidden
    Register,     // id: register, text: its value
    Input,        // text: the input buffer
    Moved,        // id: item, text: "x,y" or "WxH"
    TimerStarted, // id: timer id, value: period in ms
    TimerStopped, // id: timer id
    Posted,       // id: PreviewCommandKind, value: its parameter
    Message,      // text: the message shown
};

struct TraceEvent {
    TraceKind kind = TraceKind::Key;
    // Nesting: 0 for what the operator or a timer did, 1 for what that ran directly, and so on.
    int depth = 0;
    int id = 0;
    int value = 0;
    QString text;
    int entryStart = 0;
    int entryLength = 0;
};

class CActionTraceObserver {
public:
    virtual ~CActionTraceObserver() = default;
    virtual void OnTrace(const TraceEvent &event) = 0;
};

// A stable one-line English description ("key enter", "page 3 shown", "item 5 text \"...\"").
QString FormatTraceEvent(const TraceEvent &event);
// A stable short name of the kind ("key", "entry", "page", ...).
QString TraceKindName(TraceKind kind);
// The name of a key code ("enter", "blue", ...) and of a timer id ("page timer", "slider 3").
QString KeyName(int code);
QString TimerName(int timerId);

} // namespace orin
