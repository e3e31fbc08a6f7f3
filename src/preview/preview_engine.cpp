// SPDX-License-Identifier: MIT
#include "preview/preview_engine.h"

#include "model/leading_int.h"
#include "preview/text_sections.h"

#include <QCoreApplication>
#include <QRectF>

#include <algorithm>
#include <climits>

namespace orin {

namespace {

QString LoopMessage()
{
    return QCoreApplication::translate("OrinEdit", "無限ループになります。");
}

QString ErrorCaption()
{
    return QCoreApplication::translate("OrinEdit", "エラー");
}

// Periods come from unchecked page fields: computed in 64 bits, clamped to int; 0 when no timer
// should run.
int PeriodMs(qint64 seconds)
{
    const qint64 ms = seconds * 1000;
    if (ms <= 0)
        return 0;
    return int(std::min<qint64>(ms, INT_MAX));
}

// "0" (the default of focus and outfocus) and an empty string run nothing, so the loop guard
// has nothing to refuse there and stays silent.
bool RunsNothing(const QString &action)
{
    return action.isEmpty() || (action.front() >= u'0' && action.front() <= u'9'
                                && ParseLeadingInt(action) == 0);
}

bool IsTextOnlyKind(int idg)
{
    return idg == 2 || idg == 3 || idg == 5 || idg == 6 || idg == 7;
}

} // namespace

CPreviewEngine::CPreviewEngine(const CContentModel &model, const ProgramSettings &settings,
                               CImageSource &images, CTimerService &timers,
                               CCommandQueue &queue)
    : m_model(model), m_settings(settings), m_images(images), m_timers(timers), m_queue(queue)
{
    m_visible.Fill(1);
}

int CPreviewEngine::IndexOfItem(int itemId) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].item.id == itemId)
            return int(i);
    }
    return -1;
}

DisplayItem *CPreviewEngine::ItemById(int itemId)
{
    const int index = IndexOfItem(itemId);
    return index < 0 ? nullptr : &m_items[size_t(index)];
}

void CPreviewEngine::Repaint()
{
    if (m_observer)
        m_observer->Repaint();
}

// ---------------------------------------------------------------- ShowPage

void CPreviewEngine::ShowPage(int n, int depth)
{
    ChainScope scope(*this);
    if (n == 0 || ChainEnded())
        return;
    const CMyProgramInfo *page = n > 0 ? m_model.pages.FindById(n) : nullptr;
    if (n < kGuideScreen && page && page->memory == kGuideScreen) {
        // A page whose memory is 254 is never shown; it only runs its start macro.
        if (page->smacro != 0)
            RunAction(0, 0, QStringLiteral("A:") + QString::number(page->smacro), 0);
        return;
    }
    if (IsSpecialScreen(n)) {
        if (m_observer)
            m_observer->PageChanging();
        m_previousPage = m_shownPage;
        m_shownPage = n;
        ++m_generation;
        Changed(TraceKind::PageShown, n);
        Repaint();
        return;
    }
    if (!page)
        return;
    if (m_observer)
        m_observer->PageChanging();

    m_previousPage = m_shownPage;
    m_shownPage = n;
    m_lastPage = n;
    const quint64 generation = ++m_generation;

    StopTimer(kPageTimer, &m_pageTimerRunning);
    StopTimer(kMarqueeTimer, &m_marqueeRunning);
    StopTimer(kClockTimer, &m_clockRunning);
    StopTimer(kItemTimer, &m_itemTimerRunning);
    StopSliders();

    m_textSection.Fill(0);
    m_textNumber.Fill(0);
    m_textState.Fill(0);
    m_textSource.Fill(0);
    m_picture.Fill(0);
    m_visible.Fill(1);
    m_macroPosition.Fill(0);
    m_items.clear(); // lets go of the display copies
    m_page = ShownPage();
    m_moveMode = 0;

    m_page = SnapshotOf(*page);
    m_page.background = m_images.BackgroundCopy(*page, Vertical());
    const int count = std::clamp(page->itemCount, 0, kItemSlots);
    m_items.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        DisplayItem entry;
        entry.item = page->items[size_t(i)];
        if (entry.item.pic_no != 0) {
            if (const CMyPictureInfo *record = m_model.pictures.FindById(entry.item.pic_no))
                entry.image = m_images.DisplayCopy(*record);
            else if (const CMyPictureInfo *material =
                         m_model.materials.FindById(entry.item.pic_no))
                entry.image = m_images.DisplayCopy(*material);
        }
        m_items.push_back(std::move(entry));
    }

    m_focus = m_page.defitem;
    if (m_page.cursor == 1 && m_rememberedFocus.Get(n) != 0)
        m_focus = m_rememberedFocus.Get(n);

    for (DisplayItem &entry : m_items) {
        const int id = entry.item.id;
        m_picture.Set(id, entry.item.pic_no);
        if (entry.item.idg == 4)
            m_visible.Set(id, 0);
        if (m_page.textid != 0) {
            const SectionLabelled labelled = TextSectionByLabel(m_model, m_page.textid, id);
            if (labelled.result == 1)
                entry.item.text = labelled.text;
            if (labelled.result != 0) {
                m_textState.Set(id, 2);
                m_textSource.Set(id, m_page.textid);
            } else {
                m_textState.Set(id, 0);
            }
        }
        const int textNo = entry.item.text_no;
        if (textNo != 0) {
            m_textState.Set(id, TextNextSection(m_model, textNo, 1) != 0 ? 3 : 1);
            m_textNumber.Set(id, textNo);
            m_textSection.Set(id, 1);
            const SectionFound section = TextSectionByPosition(m_model, textNo, 1);
            if (section.found) {
                entry.item.text = section.text;
                m_textSource.Set(id, textNo);
            }
        }
    }

    Changed(TraceKind::PageShown, n);
    Focus(m_focus, depth);
    if (generation != m_generation)
        return; // the focus action showed another page; that page's steps have run
    if (ChainEnded())
        return; // the focus action tripped the loop guard: the rest of the page does not start

    if (const int period = PeriodMs(m_page.timer)) {
        StartTimer(kPageTimer, period);
        m_pageTimerRunning = true;
    }
    StartTimer(kItemTimer, 100);
    m_itemTimerRunning = true;

    static const int kMarqueePeriods[] = {500, 400, 300, 200, 100};
    if (m_page.marquee != 0 && m_page.marquee_speed >= 1 && m_page.marquee_speed <= 5) {
        StartTimer(kMarqueeTimer, kMarqueePeriods[m_page.marquee_speed - 1]);
        m_marqueeRunning = true;
        m_marqueeItem = m_page.marquee;
        const DisplayItem *marquee = ItemById(m_marqueeItem);
        RebuildMarquee(marquee ? marquee->item.text : QString(), false);
    } else {
        m_marqueeItem = 0;
    }

    if (m_page.clock != 0) {
        StartTimer(kClockTimer, 500);
        m_clockRunning = true;
        m_clockItem = m_page.clock;
        // The clock shows the time from the start rather than the last page's text.
        m_clockText = m_timers.LocalTime().toString(QStringLiteral("HH:mm"));
    } else {
        m_clockItem = 0;
    }

    m_memoryPage = m_page.memory;
    if (m_page.smacro != 0) {
        RunAction(0, 0, QStringLiteral("A:") + QString::number(m_page.smacro), 0);
        if (generation != m_generation)
            return;
    }
    Repaint();
}

void CPreviewEngine::ResetCanvas()
{
    StopTimer(kPageTimer, &m_pageTimerRunning);
    StopTimer(kMarqueeTimer, &m_marqueeRunning);
    StopTimer(kClockTimer, &m_clockRunning);
    StopTimer(kItemTimer, &m_itemTimerRunning);
    StopSliders();
    m_items.clear();
    m_page = ShownPage();
    m_focus = 0;
    m_rememberedFocus.Fill(0);
    m_clockText.clear();
    m_clockItem = 0;
    m_marqueeItem = 0;
    m_marqueeBuffer.clear();
    m_memoryPage = 0;
    m_keyRestartsTimer = false;
    ++m_generation;
}

// ---------------------------------------------------------------- keys and focus

void CPreviewEngine::PressKey(int code)
{
    ChainScope scope(*this);
    Trace(TraceKind::Key, m_traceDepth, code);
    if (m_keyRestartsTimer && m_page.timer != 0) {
        if (const int period = PeriodMs(m_page.timer)) {
            StartTimer(kPageTimer, period);
            m_pageTimerRunning = true;
        }
    }
    const int s = m_shownPage;
    const bool arrow = code >= kKeyUp && code <= kKeyRight;
    if (s == kOtherChannelScreen) {
        if (code == kKeyEnter)
            ShowPage(m_previousPage);
        return;
    }
    if (s == kWebScreen) {
        if (code == kKeyEnter)
            ShowPage(kVideoScreen);
        return;
    }
    if (s == kGuideScreen || s == kVideoScreen) {
        switch (code) {
        case kKeyEnter:
            if (s == kGuideScreen)
                ShowPage(kVideoScreen);
            return;
        case kKeyData:
            ShowPage(m_memoryPage != 0 ? m_memoryPage : 1);
            return;
        case kKeyBack:
            if (s == kVideoScreen)
                ShowPage(kGuideScreen);
            else
                Repaint();
            return;
        case kKeyBlue:
        case kKeyRed:
        case kKeyGreen:
        case kKeyYellow:
        case kKeyRefresh:
            Repaint();
            return;
        default:
            return;
        }
    }

    if (code == kKeyEnter || arrow) {
        if (m_focus == 0) {
            int target = 0;
            switch (code) {
            case kKeyEnter: target = m_page.return_; break;
            case kKeyUp: target = m_page.up; break;
            case kKeyDown: target = m_page.down; break;
            case kKeyLeft: target = m_page.left; break;
            default: target = m_page.right; break;
            }
            if (target != 0)
                ShowPage(target);
        } else if (const int index = IndexOfItem(m_focus); index >= 0) {
            const PageItem &item = m_items[size_t(index)].item;
            switch (code) {
            case kKeyEnter: RunAction(index, 0, item.ret, 0); break;
            case kKeyUp: RunAction(index, 1, item.up, 0); break;
            case kKeyDown: RunAction(index, 1, item.down, 0); break;
            case kKeyLeft: RunAction(index, 1, item.left, 0); break;
            default: RunAction(index, 1, item.right, 0); break;
            }
        }
        Repaint();
        return;
    }
    int target = 0;
    switch (code) {
    case kKeyData: target = m_page.data; break;
    case kKeyBack: target = m_page.back; break;
    case kKeyBlue: target = m_page.blue; break;
    case kKeyRed: target = m_page.red; break;
    case kKeyGreen: target = m_page.green; break;
    case kKeyYellow: target = m_page.yellow; break;
    case kKeyRefresh: target = s; break;
    default: return;
    }
    if (target != 0)
        ShowPage(target);
    Repaint();
}

bool CPreviewEngine::LoopGuard(int depth)
{
    if (depth + 1 <= kLoopGuardDepth)
        return false;
    EndChain();
    return true;
}

bool CPreviewEngine::TakeEntry()
{
    if (ChainEnded())
        return false;
    if (!m_chain || ++m_chain->entries <= kMaxChainEntries)
        return true;
    EndChain();
    return false;
}

void CPreviewEngine::EndChain()
{
    if (!m_chain)
        m_chain = std::make_shared<PreviewChain>();
    if (m_chain->ended)
        return;
    m_chain->ended = true;
    Changed(TraceKind::Message, 0, 0, LoopMessage());
    if (m_observer)
        m_observer->ShowMessage(LoopMessage(), ErrorCaption());
}

void CPreviewEngine::Focus(int itemId, int depth)
{
    ChainScope scope(*this);
    if (itemId == 0 || ChainEnded())
        return;
    const int index = IndexOfItem(itemId);
    if (index < 0)
        return;
    m_focus = itemId;
    Changed(TraceKind::Focus, itemId);
    if (m_shownPage < 256)
        m_rememberedFocus.Set(m_shownPage, itemId);
    const QString action = m_items[size_t(index)].item.focus;
    if (RunsNothing(action) || LoopGuard(depth))
        return;
    RunAction(index, 1, action, depth + 1);
}

void CPreviewEngine::Outfocus(int itemId, int depth)
{
    ChainScope scope(*this);
    if (itemId == 0 || ChainEnded())
        return;
    const int index = IndexOfItem(itemId);
    if (index < 0)
        return;
    const QString action = m_items[size_t(index)].item.outfocus;
    if (RunsNothing(action) || LoopGuard(depth))
        return;
    RunAction(index, 1, action, depth + 1);
}

bool CPreviewEngine::IsFocusable(int itemId) const
{
    if (itemId == 0)
        return false;
    const int index = IndexOfItem(itemId);
    if (index < 0 || !IsVisible(itemId))
        return false;
    if (ExPng())
        return true;
    return !IsTextOnlyKind(m_items[size_t(index)].item.idg);
}

// ---------------------------------------------------------------- macros, digits, clicks

void CPreviewEngine::RunMacro(int macroId, bool forward)
{
    ChainScope scope(*this);
    if (ChainEnded())
        return;
    const int k = m_macroPosition.Get(macroId);
    const int limit = m_macroLimit.Get(macroId);
    const int next = forward ? MacroNextSection(m_model, macroId, k, limit)
                             : MacroPreviousSection(m_model, macroId, k, limit);
    m_macroPosition.Set(macroId, next);
    Trace(TraceKind::Macro, m_traceDepth, macroId, next);
    const SectionFound section = MacroSectionByPosition(m_model, macroId, next);
    if (section.found)
        RunAction(-1, 1, section.text, 0);
}

void CPreviewEngine::EnterDigit(int digit)
{
    Trace(TraceKind::Digit, m_traceDepth, 0, digit);
    SetInput(m_input + QString::number(digit));
    if (m_digitMode == 1)
        SetItemText(m_digitTarget, m_input);
    Repaint();
}

void CPreviewEngine::LinkedClick(QPointF point)
{
    ChainScope scope(*this);
    if (!m_linkedClicks || IsSpecialScreen(m_shownPage) || ChainEnded())
        return;
    for (int i = int(m_items.size()) - 1; i >= 0; --i) {
        const PageItem &item = m_items[size_t(i)].item;
        const bool inside = point.x() >= item.x && point.x() <= item.x + item.width
                            && point.y() >= item.y && point.y() <= item.y + item.height;
        if (!inside || item.ret == u"0")
            continue;
        const int id = item.id;
        Trace(TraceKind::Click, m_traceDepth, id);
        Outfocus(m_focus, 0);
        Focus(id, 0);
        Post({PreviewCommandKind::Key, kKeyEnter, 0});
        Repaint();
        return;
    }
}

void CPreviewEngine::RunCommand(const PreviewCommand &command)
{
    // A command of a chain that the loop guard has ended is dropped.
    if (command.chain && command.chain->ended)
        return;
    ChainScope scope(*this, command.chain);
    switch (command.kind) {
    case PreviewCommandKind::Key:
        PressKey(command.parameter);
        break;
    case PreviewCommandKind::LinkedClicks:
        m_linkedClicks = command.parameter != 0;
        break;
    case PreviewCommandKind::Timers:
        m_timersOn = command.parameter != 0;
        break;
    case PreviewCommandKind::Digit:
        EnterDigit(command.parameter);
        break;
    case PreviewCommandKind::RunMacro:
    case PreviewCommandKind::RunMacroBackwards:
        RunMacro(command.parameter, command.kind == PreviewCommandKind::RunMacro);
        Repaint();
        break;
    case PreviewCommandKind::Focus:
        Focus(command.parameter, command.depth);
        Repaint();
        break;
    case PreviewCommandKind::Outfocus:
        Outfocus(command.parameter, command.depth);
        break;
    }
}

void CPreviewEngine::Post(const PreviewCommand &command)
{
    if (ChainEnded())
        return;
    Changed(TraceKind::Posted, int(command.kind), command.parameter);
    PreviewCommand posted = command;
    posted.chain = m_chain;
    m_queue.Post(posted);
}

void CPreviewEngine::StartTimer(int id, int periodMs)
{
    Changed(TraceKind::TimerStarted, id, periodMs);
    m_timers.StartTimer(id, periodMs);
}

void CPreviewEngine::SetRegister(int index, const QString &value)
{
    if (!CCheckedTable<QString>::InRange(index))
        return;
    m_memory.Set(index, value);
    Changed(TraceKind::Register, index, 0, value);
}

void CPreviewEngine::SetInput(const QString &value)
{
    m_input = value;
    Changed(TraceKind::Input, 0, 0, m_input);
}

void CPreviewEngine::PostMacro(int macroId, bool forward)
{
    Post({forward ? PreviewCommandKind::RunMacro : PreviewCommandKind::RunMacroBackwards,
                  macroId, 0});
}

// ---------------------------------------------------------------- item changes

void CPreviewEngine::ShowImage(int itemId, int imageId)
{
    DisplayItem *entry = ItemById(itemId);
    if (!entry)
        return;
    entry->image = DisplayImage();
    const CMyPictureInfo *record = imageId > 0 ? m_model.pictures.FindById(imageId) : nullptr;
    if (!record && imageId > 0)
        record = m_model.materials.FindById(imageId);
    if (record)
        entry->image = m_images.DisplayCopy(*record);
    Changed(TraceKind::Picture, itemId, imageId);
}

void CPreviewEngine::SetShownText(int index, const QString &text)
{
    if (index >= 0 && index < int(m_items.size()))
        m_items[size_t(index)].item.text = text;
}

void CPreviewEngine::SetItemText(int itemId, const QString &text)
{
    if (DisplayItem *entry = ItemById(itemId)) {
        entry->item.text = text;
        Changed(TraceKind::Text, itemId, 0, text);
    }
}

void CPreviewEngine::RebuildMarquee(const QString &text, bool half)
{
    const DisplayItem *entry = ItemById(m_marqueeItem);
    int spaces = 0;
    if (entry && entry->item.size > 0) {
        // Clamped before it becomes an int: a width near INT_MAX gives the most spaces.
        const float ratio = entry->item.width / float(entry->item.size);
        spaces = ratio >= 10000.0f ? 10000 : (ratio > 0.0f ? int(ratio) : 0);
    }
    m_marqueeBuffer = QString(spaces, QChar(0x3000)) + text;
    m_marqueeCounter = int(m_marqueeBuffer.size());
    if (half)
        m_marqueeCounter /= 2;
}

} // namespace orin
