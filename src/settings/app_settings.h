// SPDX-License-Identifier: MIT
#pragma once

#include "settings/size_limits.h"

#include "orin_version.h"

#include <QLatin1String>
#include <QRect>
#include <QString>

// The program's settings: every key of the "Config" section of the settings file, read once at
// start-up, and the writers for the moments when keys go back to the file. Plain values only;
// the main frame copies what it needs into its windows.

namespace orin {

class CIniStore;

inline constexpr QLatin1String kConfigSection("Config");

// The hardware kind of this build; none of the hardware-specific branches (kinds 0 to 4) applies.
inline constexpr int kHardwareKind = 150;

// Host of the transmission device in the default upload and status addresses.
inline constexpr QLatin1String kDefaultDeviceHost("192.168.0.100");

// The defaults of WebPage, RetPage, Webfname and Memory, which depend on Model.
struct ModelDefaults {
    QString WebPage;
    QString RetPage;
    QString Webfname;
    QString Memory;
};

ModelDefaults DefaultsForModel(int model);

// Every settings key under its own name, with its default. Passwords are held in clear; the
// file keeps them scrambled. The last group is set with the settings but never stored.
struct AppSettings {
    int Hardware = kHardwareKind; // read, then replaced by kHardwareKind
    int Model = 0;
    int w_left = 200;
    int w_top = 100;
    int w_width = 800;
    int w_height = 600;
    int w_tleft = 200;
    int w_ttop = 100;
    int w_twidth = 800;
    int w_theight = 600;
    int w_pleft = 200;
    int w_ptop = 100;
    int w_pwidth = 800;
    int w_pheight = 600;
    int thumb_width = 128;
    int thumb_height = 72;
    int listwidth = 150;
    int bBoxDraw = 1;
    int colBox = 1;
    int bLabelDraw = 1;
    int bChangeDraw = 0;
    int TAGPID = 256; // held as 16 bits
    int Version = 0;  // the version counters are held as bytes
    int VersionDII = 0;
    int VersionUpdate = 0;
    int data_event_id = 0;
    int VersionEvent = 0;
    int Tar = 1;
    int Rendo = 1;
    int Timer = 1;
    QString DefaultFileDir;
    QString PortableDir;
    QString ImageDir;
    int DefTimer = 0;
    QString RecordTime;
    QString BCML;         // resolved: a leading separator means the application folder
    int TypeContents = 0; // 1 in edition 3
    int NumberContents = 1;
    QString WebPage = DefaultsForModel(0).WebPage;
    QString RetPage = DefaultsForModel(0).RetPage;
    QString Webfname = DefaultsForModel(0).Webfname;
    QString Memory = DefaultsForModel(0).Memory;
    QString FTPAddress = QStringLiteral("127.0.0.1");
    int FTPPort = 2121;
    QString FTPDataAddress = QStringLiteral("127.0.0.1");
    int FTPDataPort = 2122;
    int DataPID = 352;
    int ModeAccess = 0; // forced to 2 in edition 3
    int ModeAction = 1;
    QString AccessTitle;
    int PASV1 = 0;
    int PASV2 = 0;
    int PASV3 = 0;
    int PASV4 = 0;
    int DButton = 1;
    int sizeOnlineMAX = 20000;
    int sizeNetMAX = 100000;
    int sizeMAX = 1730;
    QString ServerUser = QStringLiteral("admin");
    QString ServerPassword;
    int ExtraMode = 0; // read only in editions 0 and 1, else 1
    QString FTPConvertAddress = QStringLiteral("127.0.0.1");
    int FTPConvertPort = 21;
    QString FTPConvertUser = QStringLiteral("admin");
    QString FTPConvertPassword;
    QString FTPConvertFolder;
    int FTPConvertPortTst = 5021;
    QString FTPConvertUserTst = QStringLiteral("admin");
    QString FTPConvertPasswordTst;
    QString FTPConvertFolderTst;
    int modeConvertTo = 0;
    QString FTPAddress1 = QStringLiteral("192.168.0.101");
    int FTPPort1 = 21;
    QString FTPName1 = QStringLiteral("FtpAdmin");
    QString FTPPass1;
    QString FTPAddress2 = QStringLiteral("192.168.0.101");
    int FTPPort2 = 21;
    QString FTPName2 = QStringLiteral("ftpuser");
    QString FTPPass2;
    QString FTPAddress4 = QStringLiteral("192.168.0.101");
    int FTPPort4 = 21;
    QString FTPName4 = QStringLiteral("tsupload");
    QString FTPPass4;
    QString FTPAddressFTP = QStringLiteral("127.0.0.1");
    int FTPUnitID = 0;
    QString FTPWebAddress = QStringLiteral("192.168.0.101");
    int FTPWebPort = 21;
    QString FTPWebUser = QStringLiteral("admin");
    QString FTPWebPassword;
    QString FTPWebFolder;
    QString FTPNetAddress = QStringLiteral("192.168.0.101");
    int FTPNetPort = 2130;
    QString FTPNetUser;
    QString FTPNetPassword;
    int NullVideo = 0; // written by the network settings, never read

    // Set with the settings, not stored: the program settings until a project is loaded
    // (1, 0, 0 in edition 4, else all 0) and the colour-map file of the application folder.
    int ExPNG = 0;
    int Vertical = 0;
    int ConvertAAC = 0;
    QString ColourMapPath;
};

// Name of the settings file of the edition: "OrinEditContents.ini" (0, 1),
// "OrinEditContentsWeb.ini" (2), "OrinEditContentsOnline.ini" (3), "OrinEditHTML.ini" (4 and
// any other number).
QString SettingsFileName(int edition = kEdition);

// The folder the program writes to: the application folder, or the per-user data folder
// (created when missing) when a file cannot be created in the application folder.
QString SettingsFolder(const QString &appFolder);

// SettingsFolder(appFolder) + "/" + SettingsFileName(edition).
QString SettingsFilePath(const QString &appFolder, int edition = kEdition);

// The settings file for a reader that must not write anything (the command-line tool): the
// application folder's file when it exists, otherwise the one in the per-user data folder,
// which may be missing too (the defaults apply then). Nothing is probed or created.
QString SettingsFileForReading(const QString &appFolder, int edition = kEdition);

// The BCML path rule: a value beginning with "\" is taken relative to the application folder
// (its trailing separator dropped, the value's "\" turned into "/"); any other value, such as
// the absolute "/srv/y.bcml" or "D:\y.bcml", is used unchanged.
QString ResolveBcmlPath(const QString &value, const QString &appFolder);

// Reads every key in the program's order with its default and sets the derived values.
// Window positions beyond the work area (negative, or past its right or bottom edge) become 0.
AppSettings LoadSettings(const CIniStore &store, const QString &appFolder, const QRect &workArea,
                         int edition = kEdition);

// The three size-limit settings, for SelectSizeLimit.
SizeLimitSettings SizeLimitsOf(const AppSettings &settings);

// Writes the keys kept when the main window closes (version counters, window rectangles, list
// and thumbnail sizes, view flags, folders), in one rewrite. False when the file was not written.
bool WriteCloseSettings(CIniStore &store, const AppSettings &settings);

// Writes the keys of the network settings dialog of the edition (passwords scrambled, the ports
// of editions 0 and 1 as "FtpPort" and "FtpDataPort"): edition 2 the web FTP server and PASV4,
// edition 3 the online server and PASV2, editions 0 and 1 the full set; all three the access
// title. Edition 4 writes nothing. False when the file was not written.
bool WriteNetworkSettings(CIniStore &store, const AppSettings &settings, int edition = kEdition);

// Keys written by the server retrieval.
bool WriteTypeContents(CIniStore &store, int typeContents);
bool WriteNumberContents(CIniStore &store, int numberContents);
bool WriteRecordTime(CIniStore &store, const QString &recordTime);

// One key of the "Config" section; the password writer scrambles.
bool WriteIntSetting(CIniStore &store, const QString &key, int value);
bool WriteStringSetting(CIniStore &store, const QString &key, const QString &value);
bool WritePasswordSetting(CIniStore &store, const QString &key, const QString &clearPassword);

} // namespace orin
