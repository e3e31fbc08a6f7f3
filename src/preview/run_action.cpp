// SPDX-License-Identifier: MIT
// The interpreter of action strings: the plain number, the one-letter commands and "$slider".
#include "preview/preview_engine.h"

#include "model/leading_int.h"
#include "preview/text_sections.h"

#include <algorithm>

namespace orin {

namespace {

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The text after the next comma, or nothing.
QStringView AfterComma(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    return comma < 0 ? QStringView() : text.mid(comma + 1);
}

QStringView UpToComma(QStringView text)
{
    const qsizetype comma = text.indexOf(u',');
    return comma < 0 ? text : text.left(comma);
}

} // namespace

int CPreviewEngine::ActingItemId(int actingIndex) const
{
    if (actingIndex >= 0 && actingIndex < int(m_items.size()))
        return m_items[size_t(actingIndex)].item.id;
    // A macro has no acting item: the focused item gives the label.
    return m_focus;
}

void CPreviewEngine::RunAction(int actingIndex, int kind, const QString &action, int depth)
{
    // The string may belong to a display item that a page change destroys: keep a copy.
    ChainScope scope(*this);
    const QString text = action;
    QStringView rest(text);
    quint64 generation = m_generation;
    ++m_traceDepth;
    struct DepthGuard {
        int &depth;
        ~DepthGuard() { --depth; }
    } guard{m_traceDepth};
    // The entry about to run, for the trace: from `rest` to `end` (an index into text).
    auto traceEntry = [&](qsizetype end, int number) {
        if (!m_trace)
            return;
        const int start = int(rest.data() - text.data());
        m_trace->OnTrace({TraceKind::Entry, m_traceDepth, 0, number, text, start, int(end) - start});
    };
    for (int entries = 0; entries < kMaxEntries && !rest.isEmpty(); ++entries) {
        if (!TakeEntry())
            return; // the chain has ended
        if (generation != m_generation) {
            // Another page is shown now; the acting index may name nothing any more.
            generation = m_generation;
            if (actingIndex >= int(m_items.size()))
                actingIndex = -1;
        }
        const QChar first = rest.front();
        if (IsDigit(first)) {
            const int n = ParseLeadingInt(rest);
            traceEntry(text.size(), entries + 1);
            if (n == 0)
                return;
            if (kind == 0) {
                ShowPage(n, depth);
            } else if (IsFocusable(n)) {
                if (depth == 0) {
                    Outfocus(m_focus, 0);
                    Focus(n, 0);
                } else {
                    Post({PreviewCommandKind::Outfocus, m_focus, depth});
                    Post({PreviewCommandKind::Focus, n, depth});
                }
            }
            return;
        }
        bool stop = false;
        switch (first.toUpper().unicode()) {
        case u'P':
        case u'T':
        case u'R':
        case u'I':
        case u'B':
        case u'F':
        case u'H':
        case u'K': {
            const QStringView body = rest.mid(2);
            const qsizetype colon = body.indexOf(u':');
            if (colon < 0)
                return; // an entry without its second number ends the action
            const int v = ParseLeadingInt(body.left(colon));
            const QStringView tail = body.mid(colon + 1);
            int t = ParseLeadingInt(UpToComma(tail));
            if (t == 0)
                t = m_focus;
            traceEntry(UpToComma(tail).data() - text.data() + UpToComma(tail).size(), entries + 1);
            rest = AfterComma(tail);
            RunItemCommand(first.toUpper(), v, t, actingIndex);
            break;
        }
        case u'X':
        case u'Q':
            traceEntry(rest.data() - text.data() + UpToComma(rest).size(), entries + 1);
            RunMemoryCommand(first.toUpper(), UpToComma(rest), depth);
            rest = AfterComma(rest);
            break;
        case u'$':
            traceEntry(rest.data() - text.data() + UpToComma(rest).size(), entries + 1);
            RunSlider(UpToComma(rest));
            rest = AfterComma(rest);
            break;
        default: {
            const QChar letter = first.toUpper();
            if (!QStringView(u"GMCWSOAEZUV").contains(letter))
                return; // no command: the action ends
            const int n = ParseLeadingInt(UpToComma(rest.mid(2)));
            traceEntry(rest.data() - text.data() + UpToComma(rest).size(), entries + 1);
            rest = AfterComma(rest);
            RunNumberCommand(letter, n, depth, stop);
            break;
        }
        }
        if (stop)
            return;
    }
}

void CPreviewEngine::RunItemCommand(QChar letter, int v, int t, int actingIndex)
{
    // Item ids outside the tables are refused.
    if (!CCheckedTable<int>::InRange(t))
        return;
    switch (letter.unicode()) {
    case u'P':
        ShowImage(t, v);
        m_picture.Set(t, v);
        break;
    case u'T':
    case u'R': {
        const bool forward = letter == u'T';
        if (!forward)
            m_textState.Set(t, 0);
        int k = 0;
        if (m_textNumber.Get(t) == v)
            k = m_textSection.Get(t);
        else
            m_textNumber.Set(t, v);
        const int next = forward ? TextNextSection(m_model, v, k)
                                 : TextPreviousSection(m_model, v, k);
        m_textState.Set(t, next != 0 ? 3 : 1);
        m_textSection.Set(t, next);
        const SectionFound section = TextSectionByPosition(m_model, v, next);
        if (section.found) {
            if (t == m_marqueeItem && m_marqueeRunning) {
                RebuildMarquee(section.text, false);
            } else {
                SetItemText(t, section.text);
                m_textSource.Set(t, v);
            }
        }
        break;
    }
    case u'I': {
        const int a = ActingItemId(actingIndex);
        m_textState.Set(t, TextPreviousSection(m_model, v, a) != 0 ? 4 : 1);
        m_textSection.Set(t, a);
        const SectionLabelled labelled = TextSectionByLabel(m_model, v, a);
        if (labelled.result == 0)
            break;
        if (t == m_marqueeItem && m_marqueeRunning) {
            RebuildMarquee(labelled.text, true);
        } else if (labelled.result == 1) {
            SetItemText(t, labelled.text);
            m_textSource.Set(t, v);
        }
        break;
    }
    case u'B':
        if (DisplayItem *entry = ItemById(t)) {
            entry->item.bcolor = v;
            Changed(TraceKind::Colour, t, v);
        }
        break;
    case u'F':
        if (DisplayItem *entry = ItemById(t)) {
            entry->item.color = v;
            Changed(TraceKind::TextColour, t, v);
        }
        break;
    case u'H':
        m_visible.Set(t, v != 0 ? 1 : 0);
        Changed(TraceKind::Visibility, t, v != 0 ? 1 : 0);
        break;
    default: // K: no effect
        break;
    }
}

void CPreviewEngine::RunNumberCommand(QChar letter, int n, int depth, bool &stop)
{
    switch (letter.unicode()) {
    case u'G':
        ShowPage(n, depth);
        break;
    case u'M':
        // The depth goes along, so that a focus chain through M meets the loop guard.
        Outfocus(m_focus, depth);
        Focus(n, depth);
        break;
    case u'C':
        ShowPage(kOtherChannelScreen);
        break;
    case u'W':
        ShowPage(kWebScreen);
        break;
    case u'S':
        if (n == 0)
            break;
        for (DisplayItem &entry : m_items) {
            const int id = entry.item.id;
            const SectionLabelled labelled = TextSectionByLabel(m_model, n, id);
            if (labelled.result == 0)
                continue;
            m_textState.Set(id, 2);
            m_textSource.Set(id, n);
            if (labelled.result == 1) {
                entry.item.text = labelled.text;
                Changed(TraceKind::Text, id, 0, entry.item.text);
            }
        }
        break;
    case u'A':
    case u'E':
        PostMacro(n, true);
        stop = true;
        break;
    case u'Z':
        if (n == 1) {
            m_timers.StopTimer(kPageTimer); // the page timer keeps its running flag
            Changed(TraceKind::TimerStopped, kPageTimer);
        }
        else if (n == 2)
            StopTimer(kMarqueeTimer, &m_marqueeRunning);
        else if (n == 3)
            StopTimer(kClockTimer, &m_clockRunning);
        else if (n == 4)
            StopTimer(kItemTimer, &m_itemTimerRunning);
        break;
    case u'U':
        if (n == 0)
            ShowPage(m_shownPage, depth);
        else if (n == 3)
            m_textSection.Fill(0);
        else if (n == 4)
            m_macroPosition.Fill(0);
        else if (n == 7)
            m_keyRestartsTimer = true;
        else if (n == 8)
            m_keyRestartsTimer = false;
        break;
    case u'V':
        m_page.tvitem = n;
        break;
    default: // O: no effect
        break;
    }
}

void CPreviewEngine::RunSlider(QStringView entry)
{
    if (!entry.startsWith(u"$slider", Qt::CaseInsensitive))
        return;
    std::vector<int> ids;
    int itemId = 1;
    int period = 5000;
    const QList<QStringView> parts = entry.split(u':');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        const QStringView part = parts.at(i);
        if (part.isEmpty())
            continue;
        const QChar key = part.front().toLower();
        if (key == u'p') {
            const QList<QStringView> list = part.mid(1).split(u'/', Qt::SkipEmptyParts);
            for (const QStringView id : list) {
                if (ids.size() < size_t(kTableSize))
                    ids.push_back(ParseLeadingInt(id));
            }
        } else if (key == u'i') {
            itemId = ParseLeadingInt(part.mid(1));
        } else if (key == u'w') {
            period = ParseLeadingInt(part.mid(1));
        }
    }
    if (ids.empty() || !CCheckedTable<int>::InRange(itemId))
        return;
    StopSliderOn(itemId);
    auto freeSlot = std::find_if(m_sliders.begin(), m_sliders.end(),
                                 [](const SliderSlot &slot) { return !slot.inUse; });
    if (freeSlot == m_sliders.end())
        return;
    ShowImage(itemId, ids.front());
    if (ids.size() > 1) {
        SliderSlot &slot = *freeSlot;
        slot.inUse = true;
        slot.itemId = itemId;
        slot.periodMs = std::max(period, kMinSliderPeriodMs);
        slot.index = 1;
        slot.imageIds = std::move(ids);
        StartTimer(kSliderTimerBase + int(freeSlot - m_sliders.begin()), slot.periodMs);
    }
    Repaint();
}

} // namespace orin
