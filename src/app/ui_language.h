// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace orin {

enum class UiLanguage { Japanese, English };

// The language of the program's texts: "--lang ja" or "--lang en" (`requested`, the value given
// on the command line) decides; otherwise Japanese under a Japanese system locale (a name that
// begins with "ja", such as "ja_JP") and English under any other. An unknown value is ignored.
UiLanguage ChooseUiLanguage(const QString &localeName, const QString &requested);

// Where the English translation is embedded.
inline constexpr char16_t kEnglishTranslation[] = u":/i18n/orinedit_en.qm";

} // namespace orin
