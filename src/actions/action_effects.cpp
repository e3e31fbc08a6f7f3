// SPDX-License-Identifier: MIT
#include "actions/action_effects.h"

#include "model/leading_int.h"

#include <QList>

#include <algorithm>
#include <map>

namespace orin {

namespace {

constexpr int kMaxEntries = 100; // the preview cuts an action after as many entries

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Action strings are a few characters long: searched in place, without a library call's setup
// for each entry.
qsizetype IndexOf(QStringView text, char16_t c, qsizetype from)
{
    for (qsizetype i = std::max<qsizetype>(from, 0); i < text.size(); ++i) {
        if (text[i] == c)
            return i;
    }
    return -1;
}

qsizetype EntryEnd(QStringView text, qsizetype from)
{
    const qsizetype comma = IndexOf(text, u',', from);
    return comma < 0 ? text.size() : comma;
}

bool IsOneOf(QChar c, QStringView letters)
{
    for (const QChar letter : letters) {
        if (c == letter)
            return true;
    }
    return false;
}

// Upper case as QChar::toUpper gives it, with the ASCII letters done in place.
QChar UpperCase(QChar c)
{
    if (c < u'a')
        return c;
    if (c <= u'z')
        return QChar(char16_t(c.unicode() - (u'a' - u'A')));
    return c.unicode() < 0x80 ? c : c.toUpper();
}

class CEffectReader {
public:
    CEffectReader(QStringView action, int kind, std::vector<ActionEffect> &effects)
        : m_action(action), m_kind(kind), m_effects(effects)
    {
        m_effects.clear();
    }

    void Read()
    {
        qsizetype at = 0;
        for (int entries = 0; entries < kMaxEntries && at < m_action.size(); ++entries) {
            const QStringView rest = m_action.mid(at);
            const QChar first = rest.front();
            if (IsDigit(first)) {
                m_start = int(at);
                m_length = int(rest.size());
                m_primaryGiven = false;
                const int n = ParseLeadingInt(rest);
                if (n == 0)
                    Add(EffectKind::NoOp, 0);
                else if (m_kind == 0)
                    Add(EffectKind::ShowPage, n);
                else
                    Add(EffectKind::MoveFocus, n, 0, true);
                break;
            }
            const qsizetype end = EntryEnd(m_action, at);
            m_start = int(at);
            m_length = int(end - at);
            m_primaryGiven = false;
            const QStringView entry = m_action.mid(at, end - at);
            bool stop = false;
            const QChar letter = UpperCase(first);
            if (IsOneOf(letter, u"PTRIBFHK")) {
                // The item form "L:v:t": v runs to the next colon, t from there to the next
                // comma, even when that colon lies beyond a comma (as the preview reads it).
                const qsizetype colon = IndexOf(m_action, u':', at + 2);
                if (colon < 0)
                    break; // an entry without its second number ends the action
                const int v = ParseLeadingInt(m_action.mid(at + 2, colon - at - 2));
                const qsizetype tEnd = EntryEnd(m_action, colon + 1);
                const int t = ParseLeadingInt(m_action.mid(colon + 1, tEnd - colon - 1));
                m_length = int(tEnd - at);
                ReadItemEntry(letter, v, t);
                if (tEnd >= m_action.size())
                    break;
                at = tEnd + 1;
                continue;
            }
            if (letter == u'X' || letter == u'Q') {
                ReadMemoryEntry(letter, entry);
            } else if (letter == u'$') {
                ReadSlider(entry);
            } else if (IsOneOf(letter, u"GMCWSOAEZUV")) {
                const int n = ParseLeadingInt(entry.mid(2));
                ReadNumberEntry(letter, n, stop);
            } else {
                break; // no command: the action ends here
            }
            if (stop || end >= m_action.size())
                break;
            at = end + 1;
        }
    }

private:
    void Add(EffectKind kind, int target, int field = 0, bool checked = false)
    {
        ActionEffect effect;
        effect.kind = kind;
        effect.target = target;
        effect.field = field;
        effect.checked = checked;
        effect.entryStart = m_start;
        effect.entryLength = m_length;
        effect.primary = !m_primaryGiven;
        m_primaryGiven = true;
        m_effects.push_back(effect);
    }

    void ReadItemEntry(QChar letter, int v, int t)
    {
        switch (letter.unicode()) {
        case u'P':
            Add(EffectKind::Other, 0);
            if (v > 0)
                Add(EffectKind::ImageRef, v);
            break;
        case u'T':
        case u'R':
        case u'I':
            Add(EffectKind::Other, 0);
            if (v != 0)
                Add(EffectKind::TextRef, v);
            break;
        case u'B':
        case u'F':
        case u'H':
            Add(EffectKind::Other, 0);
            break;
        default: // K
            Add(EffectKind::NoOp, 0);
            return;
        }
        // t = 0 names the focused item, whichever it is.
        if (t != 0)
            Add(EffectKind::ItemRef, t);
    }

    void ReadNumberEntry(QChar letter, int n, bool &stop)
    {
        switch (letter.unicode()) {
        case u'G':
            Add(n != 0 ? EffectKind::ShowPage : EffectKind::NoOp, n);
            break;
        case u'M':
            Add(n != 0 ? EffectKind::MoveFocus : EffectKind::NoOp, n);
            break;
        case u'C':
            Add(EffectKind::ShowPage, 1000);
            break;
        case u'W':
            Add(EffectKind::ShowPage, 2000);
            break;
        case u'S':
            if (n == 0) {
                Add(EffectKind::NoOp, 0);
            } else {
                Add(EffectKind::Other, 0);
                Add(EffectKind::TextRef, n);
            }
            break;
        case u'A':
        case u'E':
            Add(EffectKind::RunMacro, n);
            stop = true;
            break;
        case u'O':
            Add(EffectKind::NoOp, 0);
            break;
        default: // Z, U, V
            Add(EffectKind::Other, 0);
            break;
        }
    }

    void ReadMemoryEntry(QChar letter, QStringView entry)
    {
        if (entry.size() < 2) {
            Add(EffectKind::NoOp, 0);
            return;
        }
        const QChar sub = entry.at(1).toLower();
        const QStringView params = entry.mid(3);
        const int a = ParseLeadingInt(params);
        const qsizetype colon = IndexOf(params, u':', 0);
        const int b = colon < 0 ? 0 : ParseLeadingInt(params.mid(colon + 1));
        const auto known = m_registers.find(a);
        const bool isKnown = known != m_registers.end();
        if (letter == u'X') {
            switch (sub.unicode()) {
            case u'n':
                Add(EffectKind::Other, 0);
                if (b != 0)
                    m_registers[b] = a;
                return;
            case u'g':
            case u'h':
            case u'j':
                if (isKnown && known->second != 0)
                    Add(EffectKind::ShowPage, known->second);
                else
                    Add(EffectKind::Other, 0);
                return;
            case u'm':
                if (isKnown && known->second != 0)
                    Add(EffectKind::RunMacro, known->second);
                else
                    Add(EffectKind::Other, 0);
                return;
            case u'k':
                Add(EffectKind::Other, 0);
                if (a != 0)
                    Add(EffectKind::TextRef, a);
                return;
            case u'q':
                Add(EffectKind::Other, 0);
                if (b != 0)
                    Add(EffectKind::TextRef, b);
                return;
            case u's':
                Add(EffectKind::Other, 0);
                if (b != 0)
                    Add(EffectKind::ItemRef, b);
                break;
            default:
                Add(EffectKind::Other, 0);
                break;
            }
            // Any other write to a register makes its value unknown from here on.
            ForgetWrites(sub, a, b);
            return;
        }
        switch (sub.unicode()) {
        case u'm':
            Add(a != 0 ? EffectKind::RunMacro : EffectKind::NoOp, a);
            break;
        case u'a':
            Add(EffectKind::RunMacro, a);
            break;
        case u's':
        case u'k':
            Add(EffectKind::Other, 0);
            if (a != 0)
                Add(EffectKind::MacroRef, a);
            break;
        case u'o':
            Add(EffectKind::Other, 0);
            if (a != 0)
                Add(EffectKind::TextRef, a);
            m_registers.erase(b);
            break;
        case u'b':
            if (b >= 1 && b <= 7)
                Add(EffectKind::RunItemString, a, b);
            else
                Add(EffectKind::NoOp, 0);
            break;
        case u'c':
            Add(EffectKind::Other, 0);
            if (b != 0)
                Add(EffectKind::ItemRef, b);
            break;
        case u'd':
            Add(EffectKind::NoOp, 0);
            break;
        default:
            Add(EffectKind::Other, 0);
            break;
        }
    }

    void ForgetWrites(QChar sub, int a, int b)
    {
        switch (sub.unicode()) {
        case u'i':
        case u'a':
        case u'r':
        case u'd':
            m_registers.erase(a);
            break;
        case u'p':
            m_registers.clear();
            break;
        case u'c':
        case u'l':
        case u'v':
            m_registers.erase(b);
            break;
        default:
            break;
        }
    }

    void ReadSlider(QStringView entry)
    {
        if (!entry.startsWith(u"$slider", Qt::CaseInsensitive)) {
            Add(EffectKind::NoOp, 0);
            return;
        }
        std::vector<int> ids;
        int itemId = 1;
        const QList<QStringView> parts = entry.split(u':');
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QStringView part = parts.at(i);
            if (part.isEmpty())
                continue;
            const QChar key = part.front().toLower();
            if (key == u'p') {
                for (const QStringView id : part.mid(1).split(u'/', Qt::SkipEmptyParts))
                    ids.push_back(ParseLeadingInt(id));
            } else if (key == u'i') {
                itemId = ParseLeadingInt(part.mid(1));
            }
        }
        if (ids.empty()) {
            Add(EffectKind::NoOp, 0);
            return;
        }
        Add(EffectKind::Other, 0);
        Add(EffectKind::ItemRef, itemId);
        for (const int id : ids)
            Add(EffectKind::ImageRef, id);
    }

    QStringView m_action;
    int m_kind = 0;
    int m_start = 0;
    int m_length = 0;
    bool m_primaryGiven = false;
    std::map<int, int> m_registers;
    std::vector<ActionEffect> &m_effects;
};

} // namespace

std::vector<ActionEffect> ActionEffects(QStringView action, int kind)
{
    std::vector<ActionEffect> effects;
    CEffectReader(action, kind, effects).Read();
    return effects;
}

void ActionEffects(QStringView action, int kind, std::vector<ActionEffect> &effects)
{
    CEffectReader(action, kind, effects).Read();
}

bool RunsNothing(const std::vector<ActionEffect> &effects)
{
    for (const ActionEffect &effect : effects) {
        if (effect.kind != EffectKind::NoOp)
            return false;
    }
    return true;
}

bool ActionRunsNothing(QStringView action)
{
    return RunsNothing(ActionEffects(action, 1));
}

} // namespace orin
