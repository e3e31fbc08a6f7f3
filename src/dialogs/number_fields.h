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

// The geometry fields of the item dialog (X, Y, width, height) hold what the design surface
// makes: fractions, and for X and Y negative values, up to 10^9 page units either way.
inline constexpr char16_t kGeometryMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "数値を入力してください。");
inline constexpr double kGeometryLimit = 1e9;

// The value of a geometry field's text: decimal digits with an optional fraction ("-5.5",
// "12.", ".5"), a leading "-" only when `signedValue`, blanks around allowed, at most
// kGeometryLimit in size; none for anything else.
std::optional<float> ParseGeometryField(const QString &text, bool signedValue);
// The shortest text that ParseGeometryField reads back as exactly `value`.
QString FormatGeometry(float value);
// As CheckNumberFields with ParseGeometryField and the geometry message.
bool CheckGeometryFields(const QList<QLineEdit *> &fields, bool signedValues, CPrompt &prompt);

} // namespace orin
