// SPDX-License-Identifier: MIT
#include "settings/design_settings.h"

#include "settings/ini_store.h"

namespace orin {

namespace {

const QString kSnapKey = QStringLiteral("Snap");
const QString kGridKey = QStringLiteral("SnapGrid");

} // namespace

DesignSnapSettings LoadDesignSnap(const CIniStore &ini)
{
    DesignSnapSettings settings;
    const QString section(kDesignSection);
    settings.snap = ini.GetInt(section, kSnapKey, 0) != 0;
    const int grid = ini.GetInt(section, kGridKey, 0);
    settings.grid = grid >= 0 && grid <= kMaxSnapGrid ? grid : 0;
    return settings;
}

bool SaveDesignSnap(CIniStore &ini, const DesignSnapSettings &settings)
{
    return ini.WriteStrings(QString(kDesignSection),
                            {{kSnapKey, QString::number(settings.snap ? 1 : 0)},
                             {kGridKey, QString::number(settings.grid)}});
}

} // namespace orin
