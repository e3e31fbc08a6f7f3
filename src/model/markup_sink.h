// SPDX-License-Identifier: MIT
#pragma once

#include "model/markup_append.h"

#include <QString>
#include <QStringView>

#include <cstring>

// Where the writers put composed markup. The same composing code runs over a sink that counts
// (to size the output once), a sink that writes the UTF-16 text-mode file form straight into
// its final buffer, and a sink that appends to a string (the text form with LF line ends).
// Every sink takes: literal pieces without line feeds, spaces, escaped values, decimals and
// line ends.

namespace orin::markup {

// The characters a value may hold that change on the way into the file.
inline bool IsSpecial(char16_t c)
{
    return c == u'<' || c == u'&' || c == u'>' || c == u'\'' || c == u'"' || c == u'\n';
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
            switch (ch.unicode()) {
            case u'<':
            case u'>': size += 3; break; // "&lt;" "&gt;"
            case u'&': size += 4; break; // "&amp;"
            case u'\'':
            case u'"':
                if (forAttribute)
                    size += 5; // "&apos;" "&quot;"
                break;
            case u'\n':
                if (m_crlf)
                    size += 1;
                break;
            default: break;
            }
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
        std::memcpy(m_out, text.utf16(), size_t(text.size()) * sizeof(char16_t));
        m_out += text.size();
    }
    void Spaces(int count)
    {
        for (int i = 0; i < count; ++i)
            *m_out++ = u' ';
    }
    void LineEnd()
    {
        *m_out++ = u'\r';
        *m_out++ = u'\n';
    }
    void Decimal(qint64 value)
    {
        char16_t buffer[24];
        int pos = 24;
        const bool negative = value < 0;
        quint64 magnitude =
            negative ? 0 - static_cast<quint64>(value) : static_cast<quint64>(value);
        do {
            buffer[--pos] = static_cast<char16_t>(u'0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (negative)
            buffer[--pos] = u'-';
        Literal(QStringView(buffer + pos, 24 - pos));
    }
    void Escaped(QStringView text, bool forAttribute)
    {
        const char16_t *s = text.utf16();
        const qsizetype n = text.size();
        qsizetype run = 0;
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t c = s[i];
            if (c > u'>' || !IsSpecial(c))
                continue;
            QStringView replacement;
            switch (c) {
            case u'<': replacement = u"&lt;"; break;
            case u'&': replacement = u"&amp;"; break;
            case u'>': replacement = u"&gt;"; break;
            case u'\'': if (forAttribute) replacement = u"&apos;"; break;
            case u'"': if (forAttribute) replacement = u"&quot;"; break;
            default: replacement = u"\r\n"; break;
            }
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
