// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <functional>

// The form in which passwords are kept in the settings file: upper-case hexadecimal pairs made
// of a random prefix, the characters chained with XOR from a random seed byte, and three bytes
// of check that carry the random byte r.

namespace orin {

// Gives the next random number; only its low 8 bits are used.
using RandomSource = std::function<std::uint32_t()>;

// Longest password whose scrambled text (up to nine prefix pairs, a pair per character and
// three check pairs) still fits the 255 characters of a settings value.
inline constexpr int kPasswordMaxLength = 115;

// Messages the settings dialogs show when they refuse a password.
inline constexpr QStringView kPasswordCharsMessage =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "パスワードには半角英数字と記号だけを使用できます");
inline constexpr QStringView kPasswordLengthMessage =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "パスワードは115文字以内で入力してください");

// Scrambles the password with a process-wide generator (seeded once from the clock and the
// system's entropy, so two scrambles in the same second still differ). Only the low 8 bits of
// each character are kept: check CanScramblePassword first.
QString ScramblePassword(const QString &text);

// The same with the given random source (for tests and reproducible output).
QString ScramblePassword(const QString &text, const RandomSource &nextRandom);

// Reads a scrambled password back. Texts of 5 characters or fewer stand for an empty password
// (*ok true). A malformed text (odd length, a character that is not a hexadecimal digit, a
// prefix longer than the pairs present) gives an empty password and *ok false.
QString UnscramblePassword(const QString &scrambled, bool *ok = nullptr);

// True when the password reads back unchanged after ScramblePassword and the settings file:
// printable ASCII only (U+0020 to U+007E) and at most kPasswordMaxLength characters.
bool CanScramblePassword(const QString &text);

// The message to show when the password is refused, or an empty string when it is accepted.
QString PasswordRefusalMessage(const QString &text);

} // namespace orin
