// SPDX-License-Identifier: MIT
#include "settings/design_settings.h"

#include "settings/ini_store.h"

namespace orin {

namespace {

const QString kSnapKey = QStringLiteral("Snap");
const QString kGridKey = QStringLiteral("SnapGrid");
const QString kSafeGuidesKey = QStringLiteral("SafeGuides");
const QString kSafeAreaKey = QStringLiteral("SafeArea");

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

SafeAreaSettings LoadSafeArea(const CIniStore &ini)
{
    SafeAreaSettings settings;
    const QString section(kDesignSection);
    settings.guides = ini.GetInt(section, kSafeGuidesKey, 1) != 0;
    const int percent = ini.GetInt(section, kSafeAreaKey, kDefaultSafeArea);
    settings.percent = percent >= 0 && percent <= kMaxSafeArea ? percent : kDefaultSafeArea;
    return settings;
}

bool SaveSafeArea(CIniStore &ini, const SafeAreaSettings &settings)
{
    return ini.WriteStrings(QString(kDesignSection),
                            {{kSafeGuidesKey, QString::number(settings.guides ? 1 : 0)},
                             {kSafeAreaKey, QString::number(settings.percent)}});
}

} // namespace orin
