// SPDX-License-Identifier: MIT
#pragma once

#include "actions/remote_keys.h"
#include "model/content_model.h"
#include "preview/action_trace.h"
#include "preview/display_state.h"
#include "preview/preview_seams.h"

#include <QPointF>
#include <QString>

#include <array>
#include <memory>
#include <vector>

// The receiver simulation: the remote-control keys, the interpreter of action strings, the
// timers, the marquee, the clock and the picture animations. It changes only the display state;
// the content model is read, never written. It knows no widgets: time and the event loop come
// through the seams it is given, and the view learns of changes through the observer.

namespace orin {

inline constexpr int kLoopGuardDepth = 5;
inline constexpr int kMaxEntries = 100;
// The work one outside event may do: a key press, a timer tick, a linked click, a page picked in
// the list or a command of the panel, together with every focus, outfocus, macro and key command
// that its actions post (they run later but belong to the same chain). Each entry that an action
// string hands to the interpreter counts one, at whatever depth and in whichever posted command.
// Taking entry number kMaxChainEntries + 1 trips the loop guard just as a focus chain nested
// deeper than kLoopGuardDepth does. Either way the chain ends: the message "無限ループになります。"
// is shown once, and nothing more of the chain runs: no further action entry, focus or outfocus
// change, page shown, timer started, command posted or macro run; its commands still waiting in
// the queue are dropped when their turn comes; a page whose focus action tripped the guard does
// not go on to start its timers, marquee, clock or start macro. What was done before stays: the
// focus changes already made, the page shown, texts, pictures, registers and timers as they are.
inline constexpr int kMaxChainEntries = 1000;
inline constexpr int kSliderSlots = 32;
inline constexpr int kMinSliderPeriodMs = 10;

// One picture-animation slot.
struct SliderSlot {
    bool inUse = false;
    int itemId = 0;
    int periodMs = 0;
    int index = 0;
    std::vector<int> imageIds;
};

class CPreviewEngine {
public:
    CPreviewEngine(const CContentModel &model, const ProgramSettings &settings,
                   CImageSource &images, CTimerService &timers, CCommandQueue &queue);

    void SetObserver(CPreviewObserver *observer) { m_observer = observer; }
    // The listener of the action trace; null (the default) traces nothing.
    void SetTraceObserver(CActionTraceObserver *trace) { m_trace = trace; }
    CActionTraceObserver *TraceObserver() const { return m_trace; }

    // --- operations ---
    // Shows page n. An action that shows a page passes its depth on, so that a page whose focus
    // action shows it again meets the loop guard like any other focus chain.
    void ShowPage(int n, int depth = 0);
    void PressKey(int code);
    void Focus(int itemId, int depth);
    void Outfocus(int itemId, int depth);
    bool IsFocusable(int itemId) const;
    // kind 0: page context, 1: focus context. An acting index of -1 means "no acting item"
    // (a macro): the I command then takes its label from the focused item.
    void RunAction(int actingIndex, int kind, const QString &action, int depth);
    void RunMacro(int macroId, bool forward);
    void EnterDigit(int digit);
    // A linked click at page coordinates; ignored while linked clicks are off.
    void LinkedClick(QPointF pagePoint);
    // A posted command, run by the queue's owner.
    void RunCommand(const PreviewCommand &command);
    // A timer of the timer service fired.
    void OnTimer(int timerId);
    // True while an outside event runs whose chain the loop guard has ended.
    bool ChainEnded() const { return m_chain && m_chain->ended; }
    // The program was opened, closed or created: stop everything and forget the focus.
    void ResetCanvas();
    // The text that display index `index` shows (a text typed in place on the canvas); an
    // index outside the display list is ignored.
    void SetShownText(int index, const QString &text);

    // --- panel toggles ---
    bool LinkedClicks() const { return m_linkedClicks; }
    void SetLinkedClicks(bool on) { m_linkedClicks = on; }
    bool TimersOn() const { return m_timersOn; }
    void SetTimersOn(bool on) { m_timersOn = on; }

    // --- display state (read by the renderer and the tests) ---
    int ShownPageNumber() const { return m_shownPage; }
    int PreviousPageNumber() const { return m_previousPage; }
    const ShownPage &Page() const { return m_page; }
    const std::vector<DisplayItem> &Items() const { return m_items; }
    // Index of the first display item with that id, or -1.
    int IndexOfItem(int itemId) const;
    int FocusItem() const { return m_focus; }
    int RememberedFocus(int page) const { return m_rememberedFocus.Get(page); }
    bool IsVisible(int itemId) const { return m_visible.Get(itemId) != 0; }
    int PictureNumber(int itemId) const { return m_picture.Get(itemId); }
    int TextNumber(int itemId) const { return m_textNumber.Get(itemId); }
    int TextSection(int itemId) const { return m_textSection.Get(itemId); }
    int TextState(int itemId) const { return m_textState.Get(itemId); }
    int TextSource(int itemId) const { return m_textSource.Get(itemId); }
    int MacroPosition(int macroId) const { return m_macroPosition.Get(macroId); }
    int MacroLimit(int macroId) const { return m_macroLimit.Get(macroId); }
    const QString &Input() const { return m_input; }
    QString Memory(int index) const { return m_memory.Get(index); }
    int CursorOnlyItem() const { return m_cursorOnItem; }
    bool DigitEntry() const { return m_digitMode == 1; }
    int MemoryPage() const { return m_memoryPage; }
    bool KeyRestartsTimer() const { return m_keyRestartsTimer; }
    int MarqueeItem() const { return m_marqueeItem; }
    bool MarqueeRunning() const { return m_marqueeRunning; }
    const QString &MarqueeBuffer() const { return m_marqueeBuffer; }
    int ClockItem() const { return m_clockItem; }
    const QString &ClockText() const { return m_clockText; }
    const SliderSlot &Slider(int slot) const { return m_sliders[size_t(slot)]; }
    bool ExPng() const { return m_settings.ExPNG != 0; }
    bool Vertical() const { return m_settings.Vertical == 1; }

private:
    // Marks one call into the engine. An outside event (a timer tick, a posted command) runs in
    // its own chain, kept until it returns, even when it arrives while another one runs (as
    // under a modal message box); the other entry points join the running chain, or start one.
    class ChainScope {
    public:
        // Joins the running chain or starts one.
        explicit ChainScope(CPreviewEngine &engine) : m_engine(engine), m_saved(engine.m_chain)
        {
            if (!m_engine.m_chain)
                m_engine.m_chain = std::make_shared<PreviewChain>();
        }
        // Runs in `chain`, or in a new chain when it is null.
        ChainScope(CPreviewEngine &engine, std::shared_ptr<PreviewChain> chain)
            : m_engine(engine), m_saved(engine.m_chain)
        {
            m_engine.m_chain = chain ? std::move(chain) : std::make_shared<PreviewChain>();
        }
        ~ChainScope() { m_engine.m_chain = std::move(m_saved); }
        ChainScope(const ChainScope &) = delete;
        ChainScope &operator=(const ChainScope &) = delete;

    private:
        CPreviewEngine &m_engine;
        std::shared_ptr<PreviewChain> m_saved;
    };

    // The parts of RunAction, in run_action.cpp and memory_commands.cpp.
    void RunItemCommand(QChar letter, int v, int t, int actingIndex);
    void RunNumberCommand(QChar letter, int n, int depth, bool &stop);
    void RunMemoryCommand(QChar letter, QStringView entry, int depth);
    void RunSlider(QStringView entry);
    int ActingItemId(int actingIndex) const;

    void ShowImage(int itemId, int imageId);
    void SetItemText(int itemId, const QString &text);
    void RebuildMarquee(const QString &text, bool half);
    void StopTimer(int id, bool *runningFlag);
    void StopSliders();
    void StopSliderOn(int itemId);
    void OnPageTimer();
    void OnItemTimer();
    void OnMarqueeTick();
    void OnClockTick();
    void OnSliderTick(int slot);
    int NextPageForTimer() const;
    bool LoopGuard(int depth);
    // Counts one action entry against the running chain; false (and the chain ended) past the
    // bound.
    bool TakeEntry();
    void EndChain();
    void PostMacro(int macroId, bool forward);
    void Post(const PreviewCommand &command);
    void StartTimer(int id, int periodMs);
    void SetRegister(int index, const QString &value);
    void SetInput(const QString &value);
    // Reports to the trace listener, when there is one; Changed() one level below the running
    // action.
    void Trace(TraceKind kind, int depth, int id = 0, int value = 0, const QString &text = QString())
    {
        if (m_trace)
            m_trace->OnTrace({kind, depth, id, value, text, 0, 0});
    }
    void Changed(TraceKind kind, int id = 0, int value = 0, const QString &text = QString())
    {
        if (m_trace)
            m_trace->OnTrace({kind, m_traceDepth + 1, id, value, text, 0, 0});
    }
    void Repaint();
    DisplayItem *ItemById(int itemId);

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    CImageSource &m_images;
    CTimerService &m_timers;
    CCommandQueue &m_queue;
    CPreviewObserver *m_observer = nullptr;
    CActionTraceObserver *m_trace = nullptr;
    int m_traceDepth = 0; // actions running inside one another
    // The chain of the outside event that runs now; null between events.
    std::shared_ptr<PreviewChain> m_chain;

    // The display state.
    int m_shownPage = 1;
    int m_previousPage = 0;
    int m_lastPage = 0; // the last real page shown, for the page timer on a special screen
    ShownPage m_page;
    std::vector<DisplayItem> m_items;
    // Bumped by every page change, so that an outer ShowPage or RunAction notices that an
    // inner one has shown another page.
    quint64 m_generation = 0;

    int m_focus = 0;
    CCheckedTable<int> m_rememberedFocus;
    int m_memoryPage = 0;
    bool m_keyRestartsTimer = false;
    CCheckedTable<int> m_visible;
    CCheckedTable<int> m_picture;
    CCheckedTable<int> m_textNumber;
    CCheckedTable<int> m_textSection;
    CCheckedTable<int> m_textState;
    CCheckedTable<int> m_textSource;
    CCheckedTable<int> m_macroPosition;
    CCheckedTable<int> m_macroLimit;
    QString m_input;
    CCheckedTable<QString> m_memory;
    int m_moveTarget = -1;
    int m_moveMode = 0;
    int m_cursorOnItem = 0;
    int m_digitTarget = 0;
    int m_digitMode = 0;

    bool m_pageTimerRunning = false;
    bool m_marqueeRunning = false;
    bool m_clockRunning = false;
    bool m_itemTimerRunning = false;
    int m_marqueeItem = 0;
    QString m_marqueeBuffer;
    int m_marqueeCounter = 0;
    int m_clockItem = 0;
    QString m_clockText;
    bool m_linkedClicks = true;
    bool m_timersOn = true;
    std::array<SliderSlot, kSliderSlots> m_sliders;
};

} // namespace orin
