// SPDX-License-Identifier: MIT
#include "transmit/connection_profile.h"

#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QRect>

namespace orin {

ConnectionProfile DataServerProfile(const AppSettings &s)
{
    return {s.FTPDataAddress, s.FTPDataPort, s.ServerUser, s.ServerPassword, s.PASV2 == 1};
}

ConnectionProfile OnlineServerProfile(const AppSettings &s)
{
    return {s.FTPNetAddress, s.FTPNetPort, s.FTPNetUser, s.FTPNetPassword, s.PASV2 == 1};
}

ConnectionProfile ModulatorProfile(const AppSettings &s)
{
    return {s.FTPAddress4, s.FTPPort4, s.FTPName4, s.FTPPass4, s.PASV1 == 1};
}

ConnectionProfile ContentServerProfile(const AppSettings &settings, int edition)
{
    return edition == 3 ? OnlineServerProfile(settings) : DataServerProfile(settings);
}

AppSettings ReadSettingsFile(const QString &iniPath, const QString &appFolder, int edition)
{
    const CIniStore store(iniPath);
    return LoadSettings(store, appFolder, QRect(), edition);
}

} // namespace orin
