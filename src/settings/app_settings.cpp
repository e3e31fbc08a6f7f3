// SPDX-License-Identifier: MIT
#include "settings/app_settings.h"

#include "settings/ini_store.h"
#include "settings/password_scramble.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orin {

namespace {

QString Section()
{
    return QString(kConfigSection);
}

// The folder without its trailing separators, "/", and the name.
QString JoinPath(QString folder, const QString &name)
{
    while (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        folder.chop(1);
    return folder + u'/' + name;
}

QString DeviceUrl(const char *path)
{
    return QStringLiteral("http://") + kDefaultDeviceHost + QLatin1String(path);
}

// Reads the keys of "Config" in turn, from the file parsed once.
class CConfigReader
{
public:
    explicit CConfigReader(const CIniStore &store)
        : m_store(store.Path())
        , m_section(Section())
    {
    }

    int Int(const char *key, int defaultValue) const
    {
        return m_store.GetInt(m_section, QLatin1String(key), defaultValue);
    }

    QString String(const char *key, const QString &defaultValue = QString()) const
    {
        return m_store.GetString(m_section, QLatin1String(key), defaultValue);
    }

    QString Password(const char *key) const { return UnscramblePassword(String(key)); }

private:
    CIniSnapshot m_store;
    QString m_section;
};

// Collects keys and values for one rewrite of the file.
class CConfigWriter
{
public:
    void Int(const char *key, int value)
    {
        m_pairs.append({QLatin1String(key), QString::number(value)});
    }
    void String(const char *key, const QString &value)
    {
        m_pairs.append({QLatin1String(key), value});
    }
    void Password(const char *key, const QString &clear) { String(key, ScramblePassword(clear)); }

    bool WriteTo(CIniStore &store) const
    {
        return m_pairs.isEmpty() || store.WriteStrings(Section(), m_pairs);
    }

private:
    IniPairs m_pairs;
};

// A position left of or above the work area, or past its right or bottom edge, becomes 0.
// Without a known work area only negative positions are corrected.
int ClampPosition(int position, int farEdge, bool knownArea)
{
    if (position < 0 || (knownArea && position > farEdge))
        return 0;
    return position;
}

} // namespace

ModelDefaults DefaultsForModel(int model)
{
    if (model == 0) {
        return {DeviceUrl("/cgi-bin/test6.cgi"), DeviceUrl("/BM001.txt"),
                QStringLiteral("bml_endian3.ts"), QStringLiteral("bml_endian2.ts")};
    }
    return {DeviceUrl("/cgi-bin/web_upload.cgi"), DeviceUrl("/bml_status_1_1.txt"),
            QStringLiteral("/var/tmp/bml_endian_1_1.ts"),
            QStringLiteral("/var/htdocs/bml_endian_1_1.ts")};
}

QString SettingsFileName(int edition)
{
    switch (edition) {
    case 0:
    case 1:
        return QStringLiteral("OrinEditContents.ini");
    case 2:
        return QStringLiteral("OrinEditContentsWeb.ini");
    case 3:
        return QStringLiteral("OrinEditContentsOnline.ini");
    default:
        return QStringLiteral("OrinEditHTML.ini");
    }
}

QString SettingsFolder(const QString &appFolder)
{
    if (!appFolder.isEmpty()) {
        const QString folder = QDir::cleanPath(appFolder);
        QTemporaryFile probe(JoinPath(folder, QStringLiteral(".orinedit-write-XXXXXX")));
        if (probe.open())
            return folder;
    }
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

QString SettingsFilePath(const QString &appFolder, int edition)
{
    return JoinPath(SettingsFolder(appFolder), SettingsFileName(edition));
}

QString SettingsFileForReading(const QString &appFolder, int edition)
{
    const QString name = SettingsFileName(edition);
    if (!appFolder.isEmpty()) {
        const QString beside = JoinPath(QDir::cleanPath(appFolder), name);
        if (QFileInfo::exists(beside))
            return beside;
    }
    return JoinPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), name);
}

QString ResolveBcmlPath(const QString &value, const QString &appFolder)
{
    // On this platform a value beginning with "/" is an absolute path already.
    if (!value.startsWith(u'\\'))
        return value;
    QString relative = value;
    relative.replace(u'\\', u'/');
    // JoinPath adds the separator the value already starts with.
    return JoinPath(appFolder, relative.mid(1));
}

AppSettings LoadSettings(const CIniStore &store, const QString &appFolder, const QRect &workArea,
                         int edition)
{
    const CConfigReader in(store);
    const bool knownArea = !workArea.isEmpty();
    const int rightEdge = workArea.x() + workArea.width();
    const int bottomEdge = workArea.y() + workArea.height();
    AppSettings s;

    in.Int("Hardware", 0);
    s.Hardware = kHardwareKind;
    s.Model = in.Int("Model", 0);
    s.w_left = ClampPosition(in.Int("w_left", 200), rightEdge, knownArea);
    s.w_top = ClampPosition(in.Int("w_top", 100), bottomEdge, knownArea);
    s.w_width = in.Int("w_width", 800);
    s.w_height = in.Int("w_height", 600);
    s.w_tleft = ClampPosition(in.Int("w_tleft", 200), rightEdge, knownArea);
    s.w_ttop = ClampPosition(in.Int("w_ttop", 100), bottomEdge, knownArea);
    s.w_twidth = in.Int("w_twidth", 800);
    s.w_theight = in.Int("w_theight", 600);
    s.w_pleft = ClampPosition(in.Int("w_pleft", 200), rightEdge, knownArea);
    s.w_ptop = ClampPosition(in.Int("w_ptop", 100), bottomEdge, knownArea);
    s.w_pwidth = in.Int("w_pwidth", 800);
    s.w_pheight = in.Int("w_pheight", 600);
    s.thumb_width = in.Int("thumb_width", 128);
    s.thumb_height = in.Int("thumb_height", 72);
    s.listwidth = in.Int("listwidth", 150);
    s.bBoxDraw = in.Int("bBoxDraw", 1);
    s.colBox = in.Int("colBox", 1);
    s.bLabelDraw = in.Int("bLabelDraw", 1);
    s.bChangeDraw = in.Int("bChangeDraw", 0);
    s.TAGPID = in.Int("TAGPID", 256) & 0xFFFF;
    s.Version = in.Int("Version", 0) & 0xFF;
    s.VersionDII = in.Int("VersionDII", 0) & 0xFF;
    s.VersionUpdate = in.Int("VersionUpdate", 0) & 0xFF;
    s.data_event_id = in.Int("data_event_id", 0) & 0xFF;
    s.VersionEvent = in.Int("VersionEvent", 0) & 0xFF;
    s.Tar = in.Int("Tar", 1);
    s.Rendo = in.Int("Rendo", 1);
    s.Timer = in.Int("Timer", 1);
    s.DefaultFileDir = in.String("DefaultFileDir");
    s.PortableDir = in.String("PortableDir");
    s.ImageDir = in.String("ImageDir");
    s.DefTimer = in.Int("DefTimer", 0);
    s.RecordTime = in.String("RecordTime");
    s.BCML =
        ResolveBcmlPath(in.String("BCML", QStringLiteral("\\Quorvel\\Quorvel.bcml")), appFolder);
    s.TypeContents = in.Int("TypeContents", edition == 3 ? 1 : 0);
    s.NumberContents = in.Int("NumberContents", 1);
    const ModelDefaults model = DefaultsForModel(s.Model);
    s.WebPage = in.String("WebPage", model.WebPage);
    s.RetPage = in.String("RetPage", model.RetPage);
    s.Webfname = in.String("Webfname", model.Webfname);
    s.Memory = in.String("Memory", model.Memory);
    s.FTPAddress = in.String("FTPAddress", QStringLiteral("127.0.0.1"));
    s.FTPPort = in.Int("FTPPort", 2121);
    s.FTPDataAddress = in.String("FTPDataAddress", QStringLiteral("127.0.0.1"));
    s.FTPDataPort = in.Int("FTPDataPort", 2122);
    s.DataPID = in.Int("DataPID", 352);
    s.ModeAccess = in.Int("ModeAccess", 0);
    if (edition == 3)
        s.ModeAccess = 2;
    s.ModeAction = in.Int("ModeAction", 1);
    s.AccessTitle = in.String("AccessTitle");
    s.PASV1 = in.Int("PASV1", 0);
    s.PASV2 = in.Int("PASV2", 0);
    s.PASV3 = in.Int("PASV3", 0);
    s.PASV4 = in.Int("PASV4", 0);
    s.DButton = in.Int("DButton", 1);
    s.sizeOnlineMAX = in.Int("sizeOnlineMAX", 20000);
    s.sizeNetMAX = in.Int("sizeNetMAX", 100000);
    s.sizeMAX = in.Int("sizeMAX", 1730);
    s.ServerUser = in.String("ServerUser", QStringLiteral("admin"));
    s.ServerPassword = in.Password("ServerPassword");
    s.ExtraMode = (edition == 0 || edition == 1) ? in.Int("ExtraMode", 0) : 1;
    s.FTPConvertAddress = in.String("FTPConvertAddress", QStringLiteral("127.0.0.1"));
    s.FTPConvertPort = in.Int("FTPConvertPort", 21);
    s.FTPConvertUser = in.String("FTPConvertUser", QStringLiteral("admin"));
    s.FTPConvertPassword = in.Password("FTPConvertPassword");
    s.FTPConvertFolder = in.String("FTPConvertFolder");
    s.FTPConvertPortTst = in.Int("FTPConvertPortTst", 5021);
    s.FTPConvertUserTst = in.String("FTPConvertUserTst", QStringLiteral("admin"));
    s.FTPConvertPasswordTst = in.Password("FTPConvertPasswordTst");
    s.FTPConvertFolderTst = in.String("FTPConvertFolderTst");
    s.modeConvertTo = in.Int("modeConvertTo", 0);
    s.FTPAddress1 = in.String("FTPAddress1", QStringLiteral("192.168.0.101"));
    s.FTPPort1 = in.Int("FTPPort1", 21);
    s.FTPName1 = in.String("FTPName1", QStringLiteral("FtpAdmin"));
    s.FTPPass1 = in.Password("FTPPass1");
    s.FTPAddress2 = in.String("FTPAddress2", QStringLiteral("192.168.0.101"));
    s.FTPPort2 = in.Int("FTPPort2", 21);
    s.FTPName2 = in.String("FTPName2", QStringLiteral("ftpuser"));
    s.FTPPass2 = in.Password("FTPPass2");
    s.FTPAddress4 = in.String("FTPAddress4", QStringLiteral("192.168.0.101"));
    s.FTPPort4 = in.Int("FTPPort4", 21);
    s.FTPName4 = in.String("FTPName4", QStringLiteral("tsupload"));
    s.FTPPass4 = in.Password("FTPPass4");
    s.FTPAddressFTP = in.String("FTPAddressFTP", QStringLiteral("127.0.0.1"));
    s.FTPUnitID = in.Int("FTPUnitID", 0);
    s.FTPWebAddress = in.String("FTPWebAddress", QStringLiteral("192.168.0.101"));
    s.FTPWebPort = in.Int("FTPWebPort", 21);
    s.FTPWebUser = in.String("FTPWebUser", QStringLiteral("admin"));
    s.FTPWebPassword = in.Password("FTPWebPassword");
    s.FTPWebFolder = in.String("FTPWebFolder");
    s.FTPNetAddress = in.String("FTPNetAddress", QStringLiteral("192.168.0.101"));
    s.FTPNetPort = in.Int("FTPNetPort", 2130);
    s.FTPNetUser = in.String("FTPNetUser");
    s.FTPNetPassword = in.Password("FTPNetPassword");

    s.ExPNG = edition == 4 ? 1 : 0;
    s.Vertical = 0;
    s.ConvertAAC = 0;
    s.ColourMapPath = JoinPath(appFolder, QStringLiteral("default.clt"));
    return s;
}

SizeLimitSettings SizeLimitsOf(const AppSettings &settings)
{
    SizeLimitSettings limits;
    limits.sizeOnlineMAX = settings.sizeOnlineMAX;
    limits.sizeNetMAX = settings.sizeNetMAX;
    limits.sizeMAX = settings.sizeMAX;
    return limits;
}

bool WriteCloseSettings(CIniStore &store, const AppSettings &s)
{
    CConfigWriter out;
    out.Int("Version", s.Version & 0xFF);
    out.Int("VersionDII", s.VersionDII & 0xFF);
    out.Int("VersionUpdate", s.VersionUpdate & 0xFF);
    out.Int("data_event_id", s.data_event_id & 0xFF);
    out.Int("VersionEvent", s.VersionEvent & 0xFF);
    out.Int("w_left", s.w_left);
    out.Int("w_top", s.w_top);
    out.Int("w_width", s.w_width);
    out.Int("w_height", s.w_height);
    out.Int("w_tleft", s.w_tleft);
    out.Int("w_ttop", s.w_ttop);
    out.Int("w_twidth", s.w_twidth);
    out.Int("w_theight", s.w_theight);
    out.Int("w_pleft", s.w_pleft);
    out.Int("w_ptop", s.w_ptop);
    out.Int("w_pwidth", s.w_pwidth);
    out.Int("w_pheight", s.w_pheight);
    out.Int("listwidth", s.listwidth);
    out.Int("thumb_width", s.thumb_width);
    out.Int("thumb_height", s.thumb_height);
    out.Int("colBox", s.colBox);
    out.Int("Rendo", s.Rendo);
    out.Int("Timer", s.Timer);
    out.String("DefaultFileDir", s.DefaultFileDir);
    out.String("PortableDir", s.PortableDir);
    out.String("ImageDir", s.ImageDir);
    out.Int("bBoxDraw", s.bBoxDraw);
    out.Int("colBox", s.colBox);
    out.Int("bLabelDraw", s.bLabelDraw);
    out.Int("bChangeDraw", s.bChangeDraw);
    return out.WriteTo(store);
}

bool WriteNetworkSettings(CIniStore &store, const AppSettings &s, int edition)
{
    CConfigWriter out;
    switch (edition) {
    case 4:
        return true;
    case 2:
        out.String("FTPWebAddress", s.FTPWebAddress);
        out.Int("FTPWebPort", s.FTPWebPort);
        out.String("FTPWebUser", s.FTPWebUser);
        out.Password("FTPWebPassword", s.FTPWebPassword);
        out.String("FTPWebFolder", s.FTPWebFolder);
        out.Int("PASV4", s.PASV4);
        break;
    case 3:
        out.String("FTPNetAddress", s.FTPNetAddress);
        out.Int("FTPNetPort", s.FTPNetPort);
        out.String("FTPNetUser", s.FTPNetUser);
        out.Password("FTPNetPassword", s.FTPNetPassword);
        out.Int("PASV2", s.PASV2);
        break;
    default:
        out.Int("ModeAccess", s.ModeAccess);
        out.String("FTPAddress", s.FTPAddress);
        out.Int("FtpPort", s.FTPPort);
        out.String("FTPDataAddress", s.FTPDataAddress);
        out.Int("FtpDataPort", s.FTPDataPort);
        out.String("ServerUser", s.ServerUser);
        out.Password("ServerPassword", s.ServerPassword);
        out.Int("PASV2", s.PASV2);
        out.Int("PASV1", s.PASV1);
        out.Int("DButton", s.DButton);
        out.Int("NullVideo", s.NullVideo);
        out.String("WebPage", s.WebPage);
        out.String("RetPage", s.RetPage);
        out.String("Webfname", s.Webfname);
        out.String("Memory", s.Memory);
        out.Int("Model", s.Model);
        out.String("FTPAddressFTP", s.FTPAddressFTP);
        out.Int("FTPUnitID", s.FTPUnitID);
        break;
    }
    out.String("AccessTitle", s.AccessTitle);
    return out.WriteTo(store);
}

bool WriteTypeContents(CIniStore &store, int typeContents)
{
    return WriteIntSetting(store, QStringLiteral("TypeContents"), typeContents);
}

bool WriteNumberContents(CIniStore &store, int numberContents)
{
    return WriteIntSetting(store, QStringLiteral("NumberContents"), numberContents);
}

bool WriteRecordTime(CIniStore &store, const QString &recordTime)
{
    return WriteStringSetting(store, QStringLiteral("RecordTime"), recordTime);
}

bool WriteIntSetting(CIniStore &store, const QString &key, int value)
{
    return store.WriteInt(Section(), key, value);
}

bool WriteStringSetting(CIniStore &store, const QString &key, const QString &value)
{
    return store.WriteString(Section(), key, value);
}

bool WritePasswordSetting(CIniStore &store, const QString &key, const QString &clearPassword)
{
    return store.WriteString(Section(), key, ScramblePassword(clearPassword));
}

} // namespace orin
