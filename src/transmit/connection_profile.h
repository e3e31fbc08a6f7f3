// SPDX-License-Identifier: MIT
#pragma once

#include "orin_version.h"

#include <QString>

// The connection of one kind of exchange, taken from the settings as plain values, so that a
// transfer on another thread holds its own copy.

namespace orin {

struct AppSettings;

struct ConnectionProfile {
    QString address; // dotted IPv4 or a host name
    int port = 21;   // used only when 1..65535
    QString user;
    QString password; // in clear
    bool passive = false;
};

// The data-broadcast server: FTPDataAddress, FTPDataPort, ServerUser, ServerPassword, PASV2.
ConnectionProfile DataServerProfile(const AppSettings &settings);
// The online server (edition 3): FTPNetAddress, FTPNetPort, FTPNetUser, FTPNetPassword, PASV2.
ConnectionProfile OnlineServerProfile(const AppSettings &settings);
// The modulator (configuration upload): FTPAddress4, FTPPort4, FTPName4, FTPPass4, PASV1.
ConnectionProfile ModulatorProfile(const AppSettings &settings);

// The server that content is fetched from and uploaded to: the online server in the online
// edition (3), the data-broadcast server in every other.
ConnectionProfile ContentServerProfile(const AppSettings &settings, int edition = kEdition);

// Reads the settings file of the edition as the editor does at start-up (defaults for missing
// keys, passwords unscrambled), for those who have no main frame (the command-line tool).
AppSettings ReadSettingsFile(const QString &iniPath, const QString &appFolder,
                             int edition = kEdition);

} // namespace orin
