// SPDX-License-Identifier: MIT
#include "preview/action_trace.h"

#include "actions/remote_keys.h"
#include "preview/preview_seams.h"

namespace orin {

namespace {

QString Quoted(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'"', QStringLiteral("\\\""));
    text.replace(u'\r', QStringLiteral("\\r"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return u'"' + text + u'"';
}

QString CommandName(int kind)
{
    switch (PreviewCommandKind(kind)) {
    case PreviewCommandKind::Key: return QStringLiteral("key");
    case PreviewCommandKind::LinkedClicks: return QStringLiteral("linked clicks");
    case PreviewCommandKind::Timers: return QStringLiteral("timers");
    case PreviewCommandKind::Digit: return QStringLiteral("digit");
    case PreviewCommandKind::RunMacro: return QStringLiteral("run macro");
    case PreviewCommandKind::RunMacroBackwards: return QStringLiteral("run macro backwards");
    case PreviewCommandKind::Focus: return QStringLiteral("focus");
    case PreviewCommandKind::Outfocus: return QStringLiteral("outfocus");
    }
    return QStringLiteral("command");
}

} // namespace

QString KeyName(int code)
{
    switch (code) {
    case kKeyEnter: return QStringLiteral("enter");
    case kKeyUp: return QStringLiteral("up");
    case kKeyDown: return QStringLiteral("down");
    case kKeyLeft: return QStringLiteral("left");
    case kKeyRight: return QStringLiteral("right");
    case kKeyData: return QStringLiteral("d");
    case kKeyBack: return QStringLiteral("back");
    case kKeyBlue: return QStringLiteral("blue");
    case kKeyRed: return QStringLiteral("red");
    case kKeyGreen: return QStringLiteral("green");
    case kKeyYellow: return QStringLiteral("yellow");
    case kKeyRefresh: return QStringLiteral("refresh");
    default: return QString::number(code);
    }
}

QString TimerName(int timerId)
{
    switch (timerId) {
    case kPageTimer: return QStringLiteral("page timer");
    case kMarqueeTimer: return QStringLiteral("marquee");
    case kClockTimer: return QStringLiteral("clock");
    case kItemTimer: return QStringLiteral("item timer");
    default: return QStringLiteral("slider %1").arg(timerId - kSliderTimerBase);
    }
}

QString TraceKindName(TraceKind kind)
{
    static const char *const kNames[] = {"key", "digit", "click", "tick", "macro", "entry",
                                         "page", "focus", "text", "picture", "bcolor", "color",
                                         "visible", "register", "input", "moved", "timer-start",
                                         "timer-stop", "posted", "message"};
    return QLatin1String(kNames[int(kind)]);
}

QString FormatTraceEvent(const TraceEvent &e)
{
    const QString item = QStringLiteral("item %1 ").arg(e.id);
    switch (e.kind) {
    case TraceKind::Key: return QStringLiteral("key ") + KeyName(e.id);
    case TraceKind::Digit: return QStringLiteral("digit %1").arg(e.value);
    case TraceKind::Click: return QStringLiteral("click on item %1").arg(e.id);
    case TraceKind::Tick: return QStringLiteral("tick of the ") + TimerName(e.id);
    case TraceKind::Macro: return QStringLiteral("macro %1 section %2").arg(e.id).arg(e.value);
    case TraceKind::Entry:
        return QStringLiteral("action %1 entry %2 %3")
            .arg(Quoted(e.text))
            .arg(e.value)
            .arg(Quoted(e.text.mid(e.entryStart, e.entryLength)));
    case TraceKind::PageShown: return QStringLiteral("page %1 shown").arg(e.id);
    case TraceKind::Focus: return QStringLiteral("focus on item %1").arg(e.id);
    case TraceKind::Text: return item + QStringLiteral("text ") + Quoted(e.text);
    case TraceKind::Picture: return item + QStringLiteral("picture %1").arg(e.value);
    case TraceKind::Colour: return item + QStringLiteral("bcolor %1").arg(e.value);
    case TraceKind::TextColour: return item + QStringLiteral("color %1").arg(e.value);
    case TraceKind::Visibility: return item + (e.value ? QStringLiteral("shown") : QStringLiteral("hidden"));
    case TraceKind::Register: return QStringLiteral("mem[%1] = ").arg(e.id) + Quoted(e.text);
    case TraceKind::Input: return QStringLiteral("input = ") + Quoted(e.text);
    case TraceKind::Moved: return item + QStringLiteral("now ") + e.text;
    case TraceKind::TimerStarted: return TimerName(e.id) + QStringLiteral(" started, %1 ms").arg(e.value);
    case TraceKind::TimerStopped: return TimerName(e.id) + QStringLiteral(" stopped");
    case TraceKind::Posted:
        return QStringLiteral("posted ") + CommandName(e.id) + u' '
               + (PreviewCommandKind(e.id) == PreviewCommandKind::Key ? KeyName(e.value) : QString::number(e.value));
    case TraceKind::Message: return QStringLiteral("message ") + Quoted(e.text);
    }
    return QString();
}

} // namespace orin
