// SPDX-License-Identifier: MIT
#include "model/ui_text.h"

#include <QCoreApplication>

namespace orin {

QString UiText(QStringView source)
{
    return QCoreApplication::translate("OrinEdit", source.toUtf8().constData());
}

} // namespace orin
