// SPDX-License-Identifier: MIT
#include "app/ui_language.h"

namespace orin {

UiLanguage ChooseUiLanguage(const QString &localeName, const QString &requested)
{
    const QString wanted = requested.trimmed().toLower();
    if (wanted == u"ja")
        return UiLanguage::Japanese;
    if (wanted == u"en")
        return UiLanguage::English;
    return localeName.startsWith(u"ja", Qt::CaseInsensitive) ? UiLanguage::Japanese
                                                             : UiLanguage::English;
}

} // namespace orin
