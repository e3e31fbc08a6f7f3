// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class QLineEdit;

// The number fields of the property dialogs: unsigned decimal integers. A field holding
// anything else, or a number beyond the range of int, stops OK with "正の整数を入力してください。"
// and gets the focus.

namespace orin {

class CPrompt;

inline constexpr char16_t kNumberMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "正の整数を入力してください。");

// The value of a number field's text: 0..2147483647 written as decimal digits (blanks around
// them allowed); none for anything else.
std::optional<int> ParseNumberField(const QString &text);

// Checks the fields in order; at the first bad one shows the number message (caption
// "エラー") through the prompt, focuses the field and returns false.
bool CheckNumberFields(const QList<QLineEdit *> &fields, CPrompt &prompt);

} // namespace orin
