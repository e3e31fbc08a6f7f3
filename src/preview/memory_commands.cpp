// SPDX-License-Identifier: MIT
// The memory and interaction commands "X" and "Q" with their sub-commands.
#include "preview/preview_engine.h"

#include "model/leading_int.h"
#include "preview/text_sections.h"

namespace orin {

namespace {

// Cut at the first carriage return.
QString CutAtReturn(const QString &text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text : text.left(cr);
}

QString WithoutLineEnd(QString text)
{
    while (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    return text;
}

} // namespace

void CPreviewEngine::RunMemoryCommand(QChar letter, QStringView entry, int depth)
{
    if (entry.size() < 2)
        return;
    const QChar sub = entry.at(1).toLower();
    const QStringView params = entry.mid(3);
    const int a = ParseLeadingInt(params);
    const qsizetype colon = params.indexOf(u':');
    const int b = colon < 0 ? 0 : ParseLeadingInt(params.mid(colon + 1));
    auto mem = [this](int i) { return m_memory.Get(i); };
    auto memNumber = [this](int i) { return ParseLeadingInt(m_memory.Get(i)); };
    auto inRange = [](int i) { return CCheckedTable<int>::InRange(i); };

    if (letter == u'X') {
        switch (sub.unicode()) {
        case u'k':
            if (a == 0) {
                SetInput(QString());
            } else if (const SectionLabelled s = TextSectionByLabel(m_model, a, b); s.result != 0) {
                SetInput(CutAtReturn(s.text));
            }
            break;
        case u'i':
            SetRegister(a, m_input);
            break;
        case u'a':
            if (inRange(a))
                SetRegister(a, mem(a) + m_input);
            break;
        case u'r':
            if (a == 0)
                SetInput(QString());
            else
                SetRegister(a, QString());
            break;
        case u'c':
            if (!inRange(a))
                break;
            if (b == 0)
                SetInput(mem(a));
            else
                SetRegister(b, mem(a));
            break;
        case u'l':
            if (!inRange(a))
                break;
            if (b == 0)
                SetInput(m_input + mem(a));
            else if (inRange(b))
                SetRegister(b, mem(b) + mem(a));
            break;
        case u'd':
            if (inRange(a))
                SetRegister(a, mem(a).chopped(mem(a).isEmpty() ? 0 : 1));
            break;
        case u'e':
            if (a > 0 && inRange(a) && inRange(b))
                SetInput(mem(a) == mem(b) ? QStringLiteral("1") : QStringLiteral("0"));
            break;
        case u's':
            if (inRange(a) && inRange(b))
                SetItemText(b, mem(a));
            break;
        case u'p': {
            // The whole range a .. a + b - 1 must lie in the register table.
            if (b <= 0 || !inRange(a) || qint64(a) + b - 1 >= kTableSize)
                break;
            const QStringList pieces = m_input.split(u':');
            const int count = std::min<int>(b, int(pieces.size()));
            for (int i = 0; i < count; ++i)
                SetRegister(a + i, pieces.at(i));
            break;
        }
        case u'f':
            m_digitMode = a == 1 ? 1 : 0;
            if (a == 1) {
                m_digitTarget = b;
                SetInput(QString());
            }
            if (m_observer)
                m_observer->DigitEntryChanged(a == 1);
            break;
        case u'n':
            if (b == 0)
                SetInput(QString::number(a));
            else
                SetRegister(b, QString::number(a));
            break;
        case u't':
            SetInput(QString());
            break;
        case u'g':
        case u'h':
        case u'j':
            if (inRange(a) && memNumber(a) != 0)
                ShowPage(memNumber(a), depth);
            break;
        case u'm':
            if (inRange(a) && memNumber(a) != 0)
                PostMacro(memNumber(a), true);
            break;
        case u'v':
            if (inRange(a) && inRange(b) && inRange(memNumber(a)))
                SetRegister(b, mem(memNumber(a)));
            break;
        case u'q': {
            if (a != 0 && !inRange(a))
                break;
            const QString key = WithoutLineEnd(a != 0 ? mem(a) : m_input);
            bool found = false;
            int label = 0;
            for (const auto &record : m_model.texts) {
                if (record->id != b)
                    continue;
                if (CountSectionMarkers(record->text) == 0)
                    break;
                const QList<Section> sections = SplitSections(record->text);
                for (const Section &section : sections) {
                    if (WithoutLineEnd(section.content) == key) {
                        found = true;
                        label = section.label;
                        break;
                    }
                }
                if (found)
                    break;
            }
            if (!found)
                break; // input stays as it was
            if (a != 0)
                PostMacro(label, true);
            else
                SetInput(QString::number(label));
            break;
        }
        default:
            break;
        }
        return;
    }

    switch (sub.unicode()) {
    case u'm':
        if (a != 0)
            PostMacro(a, true);
        break;
    case u'n':
        if (!inRange(a) || LoopGuard(depth))
            break;
        RunAction(0, 1, mem(a), depth + 1);
        break;
    case u'k':
        if (a == 0) {
            SetInput(QString());
        } else if (inRange(b)) {
            const SectionLabelled s = MacroSectionByLabel(m_model, a, memNumber(b));
            if (s.result == 1)
                SetInput(CutAtReturn(s.text));
        }
        break;
    case u'l':
        if (a == 0) {
            SetInput(QString());
        } else if (inRange(a) && inRange(b) && !mem(a).isEmpty()) {
            const SectionLabelled s = TextSectionByLabel(m_model, memNumber(a), memNumber(b));
            if (s.result != 0)
                SetInput(s.text);
        }
        break;
    case u'a':
        PostMacro(a, false);
        break;
    case u'c': {
        const int index = IndexOfItem(b);
        if (b == 0 || index < 0)
            break;
        if (m_items[size_t(index)].item.idg == 1) {
            m_cursorOnItem = a != 0 ? b : 0;
        } else if (a == 1 || a == 2) {
            m_moveTarget = index;
            m_moveMode = a;
        }
        break;
    }
    case u'g':
        if (m_moveTarget < 0 || m_moveTarget >= int(m_items.size()))
            break;
        if (m_moveMode == 1) {
            m_items[size_t(m_moveTarget)].item.x = float(a);
            m_items[size_t(m_moveTarget)].item.y = float(b);
            if (m_trace)
                Changed(TraceKind::Moved, m_items[size_t(m_moveTarget)].item.id, 0,
                        QStringLiteral("at %1,%2").arg(a).arg(b));
        } else if (m_moveMode == 2) {
            m_items[size_t(m_moveTarget)].item.width = float(a);
            m_items[size_t(m_moveTarget)].item.height = float(b);
            if (m_trace)
                Changed(TraceKind::Moved, m_items[size_t(m_moveTarget)].item.id, 0,
                        QStringLiteral("%1x%2").arg(a).arg(b));
        }
        break;
    case u's':
        if (!inRange(a))
            break;
        if (b != 0) {
            if (inRange(b))
                m_macroLimit.Set(a, memNumber(b));
        } else {
            m_macroLimit.Set(a, 0);
            SetInput(QString::number(MacroSectionCount(m_model, a)));
        }
        break;
    case u'o':
        SetRegister(b, QString::number(TextSectionCount(m_model, a)));
        break;
    case u'b': {
        const int id = a == 0 ? m_rememberedFocus.Get(m_shownPage) : a;
        const int index = IndexOfItem(id);
        if (index < 0 || b < 1 || b > 7)
            break;
        const PageItem &item = m_items[size_t(index)].item;
        const QString *strings[] = {&item.ret, &item.up, &item.down, &item.left,
                                    &item.right, &item.focus, &item.outfocus};
        const QString action = *strings[b - 1];
        if (LoopGuard(depth))
            break;
        RunAction(0, 1, action, depth + 1);
        break;
    }
    default: // Qd and unknown sub-commands: no effect
        break;
    }
}

} // namespace orin
