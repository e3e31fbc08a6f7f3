// SPDX-License-Identifier: MIT
#pragma once

#include "model/markup_append.h"

#include <QString>
#include <QtGlobal>
#include <QStringView>

#include <algorithm>
#include <cstring>

// Where the writers put composed markup. The same composing code runs over a sink that counts
// (to size the output once), a sink that writes the UTF-16 text-mode file form straight into
// its final buffer, and a sink that appends to a string (the text form with LF line ends).
// Every sink takes: literal pieces without line feeds, spaces, escaped values, decimals and
// line ends.

namespace orin::markup {

// The characters that may change on the way into markup (see MarkupEntity; U+0000 and the
// line feed too): all lie below 64, so one bit mask tells the rest to be copied as they are.
constexpr quint64 kSpecialMask = (quint64(1) << 0) | (quint64(1) << '\n') | (quint64(1) << '"')
                                 | (quint64(1) << '&') | (quint64(1) << '\'')
                                 | (quint64(1) << '<') | (quint64(1) << '>');

inline bool MayChange(char16_t c)
{
    return c < 64 && ((kSpecialMask >> c) & 1) != 0;
}

// Digits (and sign) of a decimal number.
inline int DecimalLength(qint64 value)
{
    quint64 magnitude = value < 0 ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
    int length = value < 0 ? 2 : 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++length;
    }
    return length;
}

// Counts the UTF-16 units a composition takes, with CR LF line ends when `crlf`.
class CSizeSink {
public:
    explicit CSizeSink(bool crlf) : m_crlf(crlf) {}

    void Literal(QStringView text) { m_size += text.size(); }
    void Spaces(int count) { m_size += count; }
    void LineEnd() { m_size += m_crlf ? 2 : 1; }
    void Decimal(qint64 value) { m_size += DecimalLength(value); }
    void Escaped(QStringView text, bool forAttribute)
    {
        qsizetype size = text.size();
        for (const QChar ch : text) {
            const char16_t c = ch.unicode();
            if (!MayChange(c))
                continue;
            if (c == u'\n')
                size += m_crlf ? 1 : 0;
            else
                size += std::max<qsizetype>(0, MarkupEntity(c, forAttribute).size() - 1);
        }
        m_size += size;
    }

    qsizetype Size() const { return m_size; }

private:
    bool m_crlf;
    qsizetype m_size = 0;
};

// Writes the UTF-16 text-mode form (each LF as CR LF) into a buffer sized by CSizeSink.
class CUtf16FileSink {
public:
    explicit CUtf16FileSink(char16_t *out) : m_out(out) {}

    void Literal(QStringView text)
    {
        const char16_t *in = text.utf16();
        qsizetype n = text.size();
        if (n > 32) {
            m_out = CopyLong(m_out, in, n);
            return;
        }
        // Most pieces are a few characters: copied in words, without a call.
        for (; n >= 4; n -= 4, in += 4, m_out += 4) {
            quint64 word;
            std::memcpy(&word, in, sizeof word);
            std::memcpy(m_out, &word, sizeof word);
        }
        for (; n > 0; --n)
            *m_out++ = *in++;
    }
    void Spaces(int count)
    {
        static constexpr char16_t kSpaces[] = u"                                ";
        Literal(QStringView(kSpaces, std::min(count, 32)));
    }
    void LineEnd()
    {
        *m_out++ = u'\r';
        *m_out++ = u'\n';
    }
    void Decimal(qint64 value)
    {
        if (value >= 0 && value < 10) { // most numbers of a project
            *m_out++ = static_cast<char16_t>(u'0' + value);
            return;
        }
        const bool negative = value < 0;
        quint64 magnitude =
            negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        const int length = DecimalLength(value);
        char16_t *digit = m_out + length;
        do {
            *--digit = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative)
            *--digit = u'-';
        m_out += length;
    }
    void Escaped(QStringView text, bool forAttribute)
    {
        const char16_t *s = text.utf16();
        const qsizetype n = text.size();
        qsizetype run = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = s[i];
            if (!MayChange(c))
                continue;
            // The text-mode file writes each LF as CR LF, also inside values.
            const QStringView replacement =
                c == u'\n' ? QStringView(u"\r\n") : MarkupEntity(c, forAttribute);
            if (replacement.isEmpty())
                continue;
            Literal(QStringView(s + run, i - run));
            Literal(replacement);
            run = i + 1;
        }
        Literal(QStringView(s + run, n - run));
    }

    char16_t *Position() const { return m_out; }

private:
    Q_NEVER_INLINE static char16_t *CopyLong(char16_t *out, const char16_t *in, qsizetype n)
    {
        std::memcpy(out, in, size_t(n) * sizeof(char16_t));
        return out + n;
    }

    char16_t *m_out;
};

// Appends the text form with LF line ends to a string.
class CTextSink {
public:
    explicit CTextSink(QString &out) : m_out(out) {}

    void Literal(QStringView text) { m_out.append(text); }
    void Spaces(int count)
    {
        for (int i = 0; i < count; ++i)
            m_out.append(u' ');
    }
    void LineEnd() { m_out.append(u'\n'); }
    void Decimal(qint64 value) { AppendDecimal(m_out, value); }
    void Escaped(QStringView text, bool forAttribute)
    {
        AppendEscapedMarkup(m_out, text, forAttribute);
    }

private:
    QString &m_out;
};

} // namespace orin::markup
