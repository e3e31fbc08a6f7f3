// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

// Conversions between the program's UTF-16 text and the two file forms it writes: code page
// 932 (Shift_JIS) bytes, and UTF-16 LE text mode with byte-order mark and CR LF line ends.

namespace orin {

// Code page 932 bytes to text. Each stray byte and each unassigned double-byte code becomes
// `replacement`; decoding never fails.
QString DecodeCp932Text(const QByteArray &bytes, QChar replacement);

// The text of a code page 932 file: the bytes up to the first NUL, with U+FFFD for what is not
// code page 932.
QString DecodeCp932(const QByteArray &bytes);

// Reads an open code page 932 file from its current position the same way, piece by piece,
// so that the file's bytes and the text are never held together.
QString ReadCp932File(QFile &file);

// Text to code page 932; characters the code page cannot hold become '?'. `lossy`, when
// given, tells whether that happened.
QByteArray EncodeCp932(const QString &text, bool *lossy = nullptr);

// Encodes text to code page 932 piece by piece, as EncodeCp932 does all at once, and writes the
// bytes to a device: a large file is never held whole as text and bytes together.
class CCp932Encoder {
public:
    CCp932Encoder() = default;
    CCp932Encoder(const CCp932Encoder &) = delete;
    CCp932Encoder &operator=(const CCp932Encoder &) = delete;

    // Encodes `count` UTF-16 units and writes their bytes; a surrogate pair that the end of the
    // piece cuts waits for the next piece. False when the device failed.
    bool Write(QIODevice &device, const char16_t *units, qsizetype count);
    // Writes what waits (a lone high surrogate becomes '?'); false when the device failed.
    bool Finish(QIODevice &device);

private:
    bool Encode(QIODevice &device, const char16_t *units, qsizetype count);

    char16_t m_waiting = 0; // a high surrogate from the end of the last piece, or 0
};

// Reads the bytes of a Unicode text-mode file: a UTF-8 byte-order mark selects UTF-8, a
// UTF-16 LE mark or none selects UTF-16 LE (a trailing odd byte is dropped); each CR LF pair
// becomes LF, a lone CR stays.
QString DecodeUnicodeTextFile(const QByteArray &bytes);

// Reads an open Unicode text-mode file from its current position the same way, UTF-16 straight
// into the text, so that the file's bytes and the text are never held together.
QString ReadUnicodeTextFile(QFile &file);

// The bytes of a Unicode text-mode file: UTF-16 LE mark, then the text with each LF written
// as CR LF.
QByteArray EncodeUnicodeTextFile(const QString &text);

} // namespace orin
