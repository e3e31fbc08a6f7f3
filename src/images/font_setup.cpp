// SPDX-License-Identifier: MIT
#include "images/font_setup.h"

#include <QFont>
#include <QStringList>

namespace orin {

void RegisterFontSubstitutes()
{
    const QStringList substitutes = {QStringLiteral("IPAGothic"),
                                     QStringLiteral("Noto Sans Mono CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), substitutes);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), substitutes);
}

} // namespace orin
