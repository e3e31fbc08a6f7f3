// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>

// The checks of the network settings fields: server addresses (dotted IPv4 or a host name),
// FTP ports and passwords that the settings file can keep.

namespace orin {

inline constexpr char16_t kAddressMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "IPアドレスまたはホスト名を入力してください。");
inline constexpr char16_t kPortMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ポート番号は 1 から 65535 の整数を入力してください。");

// The address as it is stored: four decimal numbers 0..255 joined by dots, written as
// "%d.%d.%d.%d" (so "010.1.2.3" becomes "10.1.2.3"), or a host name of letters, digits, "-"
// and dots (labels of 1..63 characters, neither beginning nor ending with "-", 253 characters
// at most). Blanks around the text are dropped. None for anything else, also for dotted numbers
// that are not an IPv4 address ("10.1.2", "1.2.3.256").
std::optional<QString> NormalizedAddress(const QString &text);

// What an address field shows for a stored address: the text as it is, "0.0.0.0" for none.
QString AddressFieldText(const QString &stored);

// A port 1..65535 written as decimal digits (blanks around them allowed); none otherwise.
std::optional<int> ParsePort(const QString &text);

} // namespace orin
