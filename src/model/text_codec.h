// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QFile>
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
