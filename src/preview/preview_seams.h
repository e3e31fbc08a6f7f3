// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTime>

#include <memory>

// The simulation reaches time and the event loop only through these two seams. The editor
// implements them with QTimer and queued calls; tests and the command-line tool use the
// simulated clock and the command list of simulated_clock.h.

namespace orin {

// Timer ids of the canvas: the page timer, the marquee, the clock, the item timer and one per
// picture-animation slot.
inline constexpr int kPageTimer = 100;
inline constexpr int kMarqueeTimer = 200;
inline constexpr int kClockTimer = 300;
inline constexpr int kItemTimer = 400;
inline constexpr int kSliderTimerBase = 8000;

// Starts and stops periodic timers by id, and tells the local time. Starting a running timer
// restarts it with the new period. A fired timer calls CPreviewEngine::OnTimer(id).
class CTimerService {
public:
    virtual ~CTimerService() = default;
    virtual void StartTimer(int id, int periodMs) = 0;
    virtual void StopTimer(int id) = 0;
    virtual QTime LocalTime() const = 0;
};

// Commands that the panel, the timers and the actions post to the canvas.
enum class PreviewCommandKind {
    Key,          // parameter: key code
    LinkedClicks, // parameter: 0/1
    Timers,       // parameter: 0/1
    Digit,        // parameter: 1..10
    RunMacro,     // parameter: macro id
    RunMacroBackwards,
    Focus,        // parameter: item id, depth
    Outfocus,
};

// One outside event (a key press, a timer tick, a click, a page picked in the list, a command
// of the panel) and everything it leads to, the commands it posts included. The engine counts
// its work here and ends it as a whole; see kMaxChainEntries.
struct PreviewChain {
    int entries = 0;    // action entries taken so far
    bool ended = false; // the loop guard tripped: nothing more of this chain runs
};

struct PreviewCommand {
    PreviewCommandKind kind = PreviewCommandKind::Key;
    int parameter = 0;
    int depth = 0;
    // The chain that posted the command; null for a command from outside the engine, which
    // starts a chain of its own.
    std::shared_ptr<PreviewChain> chain{};
};

// Posted commands run after the current action returns, in the order posted, through
// CPreviewEngine::RunCommand.
class CCommandQueue {
public:
    virtual ~CCommandQueue() = default;
    virtual void Post(const PreviewCommand &command) = 0;
};

// What the engine tells its view: repaint everything, repaint one item with a text straight
// away, show a message, enable or disable the digit buttons, a page change about to happen.
class CPreviewObserver {
public:
    virtual ~CPreviewObserver() = default;
    virtual void Repaint() {}
    virtual void RedrawItemDirect(int itemId, const QString &text) { Q_UNUSED(itemId) Q_UNUSED(text) }
    virtual void ShowMessage(const QString &text, const QString &caption) { Q_UNUSED(text) Q_UNUSED(caption) }
    virtual void DigitEntryChanged(bool on) { Q_UNUSED(on) }
    // The canvas is about to show another page or screen (keys, timers, actions, the list):
    // whatever is typed on the old one must be kept before its display list goes.
    virtual void PageChanging() {}
};

} // namespace orin
