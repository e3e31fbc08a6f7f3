// SPDX-License-Identifier: MIT
// The page timer, the item timer, the marquee, the clock and the picture animations.
#include "preview/preview_engine.h"

#include "preview/text_sections.h"

#include <algorithm>
#include <climits>

namespace orin {

void CPreviewEngine::StopTimer(int id, bool *runningFlag)
{
    m_timers.StopTimer(id);
    if (!runningFlag || *runningFlag)
        Changed(TraceKind::TimerStopped, id);
    if (runningFlag)
        *runningFlag = false;
}

void CPreviewEngine::StopSliders()
{
    for (size_t i = 0; i < m_sliders.size(); ++i) {
        if (m_sliders[i].inUse)
            StopTimer(kSliderTimerBase + int(i), nullptr);
        m_sliders[i] = SliderSlot();
    }
}

void CPreviewEngine::StopSliderOn(int itemId)
{
    for (size_t i = 0; i < m_sliders.size(); ++i) {
        if (m_sliders[i].inUse && m_sliders[i].itemId == itemId) {
            StopTimer(kSliderTimerBase + int(i), nullptr);
            m_sliders[i] = SliderSlot();
        }
    }
}

void CPreviewEngine::OnTimer(int timerId)
{
    // A tick is an outside event of its own, also when it arrives while another one runs.
    ChainScope scope(*this, nullptr);
    // While the timers toggle is off a tick is ignored; the timer keeps running.
    if (!m_timersOn)
        return;
    // Marquee and clock ticks only redraw; the others can change the page.
    if (m_trace && timerId != kMarqueeTimer && timerId != kClockTimer
        && (timerId != kItemTimer || m_page.timer_ino != 0))
        Trace(TraceKind::Tick, m_traceDepth, timerId);
    switch (timerId) {
    case kPageTimer:
        OnPageTimer();
        break;
    case kMarqueeTimer:
        OnMarqueeTick();
        break;
    case kClockTimer:
        OnClockTick();
        break;
    case kItemTimer:
        OnItemTimer();
        break;
    default:
        if (timerId >= kSliderTimerBase && timerId < kSliderTimerBase + kSliderSlots)
            OnSliderTick(timerId - kSliderTimerBase);
        break;
    }
}

int CPreviewEngine::NextPageForTimer() const
{
    switch (m_settings.TimerMode) {
    case 0: {
        if (m_model.pages.Count() == 0)
            return 0;
        // On a special screen the page after the page shown last follows.
        const int base = IsSpecialScreen(m_shownPage) ? m_lastPage : m_shownPage;
        const int index = m_model.pages.IndexOfId(base);
        return m_model.pages.At((index + 1) % m_model.pages.Count())->id;
    }
    case 1:
        return m_page.right;
    case 2:
        return m_page.down;
    default:
        return 0;
    }
}

void CPreviewEngine::OnPageTimer()
{
    StopTimer(kPageTimer, &m_pageTimerRunning);
    const int next = NextPageForTimer();
    if (next != 0)
        ShowPage(next);
}

void CPreviewEngine::OnItemTimer()
{
    const qint64 ms = qint64(m_page.timer_item) * 1000;
    if (ms > 0) {
        m_timers.StartTimer(kItemTimer, int(std::min<qint64>(ms, INT_MAX)));
    } else {
        StopTimer(kItemTimer, &m_itemTimerRunning);
    }
    if (m_page.timer_ino == 0)
        return;
    const int index = IndexOfItem(m_page.timer_ino);
    if (index < 0)
        return;
    RunAction(index, 0, m_items[size_t(index)].item.ret, 0);
    Repaint();
}

void CPreviewEngine::OnMarqueeTick()
{
    const int index = IndexOfItem(m_marqueeItem);
    if (index < 0)
        return;
    if (m_observer)
        m_observer->RedrawItemDirect(m_marqueeItem, m_marqueeBuffer);
    QString remembered = m_marqueeBuffer.left(1);
    if (m_marqueeCounter > 1) {
        --m_marqueeCounter;
    } else {
        const int textNumber = m_textNumber.Get(m_marqueeItem);
        QString text = m_items[size_t(index)].item.text;
        if (textNumber != 0) {
            const int next = TextNextSection(m_model, textNumber, m_textSection.Get(m_marqueeItem));
            m_textSection.Set(m_marqueeItem, next);
            const SectionFound section = TextSectionByPosition(m_model, textNumber, next);
            if (section.found)
                text = section.text;
        }
        RebuildMarquee(text, false);
        remembered.clear();
    }
    // An empty buffer has nothing to turn.
    if (!m_marqueeBuffer.isEmpty())
        m_marqueeBuffer = m_marqueeBuffer.mid(1) + remembered;
}

void CPreviewEngine::OnClockTick()
{
    const QString text = m_timers.LocalTime().toString(QStringLiteral("HH:mm"));
    if (text != m_clockText && m_observer && IndexOfItem(m_clockItem) >= 0)
        m_observer->RedrawItemDirect(m_clockItem, text);
    m_clockText = text;
}

void CPreviewEngine::OnSliderTick(int slotIndex)
{
    SliderSlot &slot = m_sliders[size_t(slotIndex)];
    if (!slot.inUse || slot.imageIds.empty())
        return;
    const int count = int(slot.imageIds.size());
    slot.index %= count;
    ShowImage(slot.itemId, slot.imageIds[size_t(slot.index)]);
    slot.index = (slot.index + 1) % count;
    Repaint();
}

} // namespace orin
