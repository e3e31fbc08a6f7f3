// SPDX-License-Identifier: MIT
#pragma once

#include "model/markup_append.h"
#include "model/text_codec.h"

#include <QIODevice>
#include <QString>
#include <QtGlobal>
#include <QStringView>

#include <algorithm>
#include <cstring>
#include <memory>

// Where the writers put composed markup. The same composing code runs over a sink that writes
// the UTF-16 text-mode file form to a device chunk by chunk, and a sink that appends to a
// string (the text form with LF line ends).
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

// Writes composed text to a device in chunks of a fixed size, each written as it fills: the
// file is composed in one pass and never held whole. With `kCrLf` it is the UTF-16 text-mode
// form (each LF as CR LF); without, the text form with LF line ends, which an encoder (the
// code page 932 one) turns into the file's bytes chunk by chunk.
template <bool kCrLf>
class CChunkSink {
public:
    // 1 MiB: large enough that the writes of a file cost little more than one write of the
    // whole file.
    static constexpr qsizetype kChunkUnits = 512 * 1024;
    // 64 KiB, for composing into memory: a small project (a copy document, a round trip) does
    // not pay for mapping and clearing a whole megabyte each time.
    static constexpr qsizetype kMemoryChunkUnits = 32 * 1024;

    explicit CChunkSink(QIODevice &device, CCp932Encoder *encoder = nullptr,
                        qsizetype chunkUnits = kChunkUnits)
        : m_device(device), m_encoder(encoder), m_chunkUnits(std::max<qsizetype>(chunkUnits, 64)),
          m_chunk(new char16_t[size_t(m_chunkUnits)]), m_out(m_chunk.get()),
          m_end(m_chunk.get() + m_chunkUnits)
    {
    }
    CChunkSink(const CChunkSink &) = delete;
    CChunkSink &operator=(const CChunkSink &) = delete;

    void Unit(char16_t c)
    {
        Reserve(1);
        *m_out++ = c;
    }
    void Literal(QStringView text)
    {
        const char16_t *in = text.utf16();
        qsizetype n = text.size();
        if (n > m_end - m_out) {
            WriteOut();
            if (n > m_chunkUnits) { // a value longer than a chunk goes out as it is
                WriteUnits(in, n);
                return;
            }
        }
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
        Reserve(2);
        if (kCrLf)
            *m_out++ = u'\r';
        *m_out++ = u'\n';
    }
    void Decimal(qint64 value)
    {
        Reserve(20);
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
                c == u'\n' ? (kCrLf ? QStringView(u"\r\n") : QStringView())
                           : MarkupEntity(c, forAttribute);
            if (replacement.isEmpty())
                continue;
            Literal(QStringView(s + run, i - run));
            Literal(replacement);
            run = i + 1;
        }
        Literal(QStringView(s + run, n - run));
    }

    // Writes what is left; false when any write failed (the device tells why).
    bool Finish()
    {
        WriteOut();
        if (m_encoder && !m_failed)
            m_failed = !m_encoder->Finish(m_device);
        return !m_failed;
    }

private:
    Q_NEVER_INLINE static char16_t *CopyLong(char16_t *out, const char16_t *in, qsizetype n)
    {
        std::memcpy(out, in, size_t(n) * sizeof(char16_t));
        return out + n;
    }
    void Reserve(qsizetype units)
    {
        if (units > m_end - m_out)
            WriteOut();
    }
    Q_NEVER_INLINE void WriteOut()
    {
        WriteUnits(m_chunk.get(), m_out - m_chunk.get());
        m_out = m_chunk.get();
    }
    void WriteUnits(const char16_t *units, qsizetype count)
    {
        // After a failure the rest is composed but not written: the save fails as a whole.
        if (m_failed || count == 0)
            return;
        if (m_encoder) {
            m_failed = !m_encoder->Write(m_device, units, count);
            return;
        }
        const qint64 bytes = count * qint64(sizeof(char16_t));
        m_failed = m_device.write(reinterpret_cast<const char *>(units), bytes) != bytes;
    }

    QIODevice &m_device;
    CCp932Encoder *m_encoder;
    qsizetype m_chunkUnits;
    std::unique_ptr<char16_t[]> m_chunk;
    char16_t *m_out;
    char16_t *m_end;
    bool m_failed = false;
};

using CUtf16ChunkSink = CChunkSink<true>;
// The text form with LF line ends, for an encoder.
using CTextChunkSink = CChunkSink<false>;

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
