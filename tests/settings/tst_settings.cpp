// SPDX-License-Identifier: MIT
#include "no_new_files.h"
#include "test_files.h"
#include "test_registry.h"

#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "settings/password_scramble.h"
#include "settings/path_store.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

using namespace orin;

namespace {

const QRect kWorkArea(0, 0, 1920, 1040);
const QString kAppFolder = QStringLiteral("/opt/orinedit");

// The keys of the file in order, one per key line.
QStringList KeysInFile(const QString &path)
{
    QStringList keys;
    const QList<QByteArray> lines = test::ReadBytes(path).split('\n');
    for (const QByteArray &line : lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            keys.append(QString::fromLatin1(line.left(eq)));
    }
    return keys;
}

// Position and size of the main frame (0), the preview window (1) or the panel (2).
QRect WindowRect(const AppSettings &s, int window)
{
    switch (window) {
    case 0:
        return QRect(s.w_left, s.w_top, s.w_width, s.w_height);
    case 1:
        return QRect(s.w_tleft, s.w_ttop, s.w_twidth, s.w_theight);
    default:
        return QRect(s.w_pleft, s.w_ptop, s.w_pwidth, s.w_pheight);
    }
}

using IntMember = int AppSettings::*;
using StringMember = QString AppSettings::*;

struct IntKey {
    const char *key;
    IntMember member;
};

struct StringKey {
    const char *key;
    StringMember member;
    bool password;
};

// Every stored key but Hardware (replaced after reading) and BCML (resolved), checked below.
const IntKey kIntKeys[] = {
    {"Model", &AppSettings::Model},
    {"w_left", &AppSettings::w_left},
    {"w_top", &AppSettings::w_top},
    {"w_width", &AppSettings::w_width},
    {"w_height", &AppSettings::w_height},
    {"w_tleft", &AppSettings::w_tleft},
    {"w_ttop", &AppSettings::w_ttop},
    {"w_twidth", &AppSettings::w_twidth},
    {"w_theight", &AppSettings::w_theight},
    {"w_pleft", &AppSettings::w_pleft},
    {"w_ptop", &AppSettings::w_ptop},
    {"w_pwidth", &AppSettings::w_pwidth},
    {"w_pheight", &AppSettings::w_pheight},
    {"thumb_width", &AppSettings::thumb_width},
    {"thumb_height", &AppSettings::thumb_height},
    {"listwidth", &AppSettings::listwidth},
    {"bBoxDraw", &AppSettings::bBoxDraw},
    {"colBox", &AppSettings::colBox},
    {"bLabelDraw", &AppSettings::bLabelDraw},
    {"bChangeDraw", &AppSettings::bChangeDraw},
    {"TAGPID", &AppSettings::TAGPID},
    {"Version", &AppSettings::Version},
    {"VersionDII", &AppSettings::VersionDII},
    {"VersionUpdate", &AppSettings::VersionUpdate},
    {"data_event_id", &AppSettings::data_event_id},
    {"VersionEvent", &AppSettings::VersionEvent},
    {"Tar", &AppSettings::Tar},
    {"Rendo", &AppSettings::Rendo},
    {"Timer", &AppSettings::Timer},
    {"DefTimer", &AppSettings::DefTimer},
    {"TypeContents", &AppSettings::TypeContents},
    {"NumberContents", &AppSettings::NumberContents},
    {"FTPPort", &AppSettings::FTPPort},
    {"FTPDataPort", &AppSettings::FTPDataPort},
    {"DataPID", &AppSettings::DataPID},
    {"ModeAccess", &AppSettings::ModeAccess},
    {"ModeAction", &AppSettings::ModeAction},
    {"PASV1", &AppSettings::PASV1},
    {"PASV2", &AppSettings::PASV2},
    {"PASV3", &AppSettings::PASV3},
    {"PASV4", &AppSettings::PASV4},
    {"DButton", &AppSettings::DButton},
    {"sizeOnlineMAX", &AppSettings::sizeOnlineMAX},
    {"sizeNetMAX", &AppSettings::sizeNetMAX},
    {"sizeMAX", &AppSettings::sizeMAX},
    {"ExtraMode", &AppSettings::ExtraMode},
    {"FTPConvertPort", &AppSettings::FTPConvertPort},
    {"FTPConvertPortTst", &AppSettings::FTPConvertPortTst},
    {"modeConvertTo", &AppSettings::modeConvertTo},
    {"FTPPort1", &AppSettings::FTPPort1},
    {"FTPPort2", &AppSettings::FTPPort2},
    {"FTPPort4", &AppSettings::FTPPort4},
    {"FTPUnitID", &AppSettings::FTPUnitID},
    {"FTPWebPort", &AppSettings::FTPWebPort},
    {"FTPNetPort", &AppSettings::FTPNetPort},
};

const StringKey kStringKeys[] = {
    {"DefaultFileDir", &AppSettings::DefaultFileDir, false},
    {"PortableDir", &AppSettings::PortableDir, false},
    {"ImageDir", &AppSettings::ImageDir, false},
    {"RecordTime", &AppSettings::RecordTime, false},
    {"WebPage", &AppSettings::WebPage, false},
    {"RetPage", &AppSettings::RetPage, false},
    {"Webfname", &AppSettings::Webfname, false},
    {"Memory", &AppSettings::Memory, false},
    {"FTPAddress", &AppSettings::FTPAddress, false},
    {"FTPDataAddress", &AppSettings::FTPDataAddress, false},
    {"AccessTitle", &AppSettings::AccessTitle, false},
    {"ServerUser", &AppSettings::ServerUser, false},
    {"ServerPassword", &AppSettings::ServerPassword, true},
    {"FTPConvertAddress", &AppSettings::FTPConvertAddress, false},
    {"FTPConvertUser", &AppSettings::FTPConvertUser, false},
    {"FTPConvertPassword", &AppSettings::FTPConvertPassword, true},
    {"FTPConvertFolder", &AppSettings::FTPConvertFolder, false},
    {"FTPConvertUserTst", &AppSettings::FTPConvertUserTst, false},
    {"FTPConvertPasswordTst", &AppSettings::FTPConvertPasswordTst, true},
    {"FTPConvertFolderTst", &AppSettings::FTPConvertFolderTst, false},
    {"FTPAddress1", &AppSettings::FTPAddress1, false},
    {"FTPName1", &AppSettings::FTPName1, false},
    {"FTPPass1", &AppSettings::FTPPass1, true},
    {"FTPAddress2", &AppSettings::FTPAddress2, false},
    {"FTPName2", &AppSettings::FTPName2, false},
    {"FTPPass2", &AppSettings::FTPPass2, true},
    {"FTPAddress4", &AppSettings::FTPAddress4, false},
    {"FTPName4", &AppSettings::FTPName4, false},
    {"FTPPass4", &AppSettings::FTPPass4, true},
    {"FTPAddressFTP", &AppSettings::FTPAddressFTP, false},
    {"FTPWebAddress", &AppSettings::FTPWebAddress, false},
    {"FTPWebUser", &AppSettings::FTPWebUser, false},
    {"FTPWebPassword", &AppSettings::FTPWebPassword, true},
    {"FTPWebFolder", &AppSettings::FTPWebFolder, false},
    {"FTPNetAddress", &AppSettings::FTPNetAddress, false},
    {"FTPNetUser", &AppSettings::FTPNetUser, false},
    {"FTPNetPassword", &AppSettings::FTPNetPassword, true},
};

} // namespace

class TestAppSettings : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

    AppSettings Load(int edition = 4, const QRect &area = kWorkArea) const
    {
        return LoadSettings(CIniStore(m_path), kAppFolder, area, edition);
    }

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("settings.ini"));
        QFile::remove(m_path);
    }

    void defaultsWithoutFile()
    {
        const AppSettings s = Load();
        QCOMPARE(WindowRect(s, 0), QRect(200, 100, 800, 600));
        QCOMPARE(WindowRect(s, 1), QRect(200, 100, 800, 600));
        QCOMPARE(WindowRect(s, 2), QRect(200, 100, 800, 600));
        QCOMPARE(s.listwidth, 150);
        QCOMPARE(s.thumb_width, 128);
        QCOMPARE(s.thumb_height, 72);
        QCOMPARE(s.Hardware, 150);
        QCOMPARE(s.TAGPID, 256);
        QCOMPARE(s.FTPPort, 2121);
        QCOMPARE(s.FTPDataPort, 2122);
        QCOMPARE(s.FTPNetPort, 2130);
        QCOMPARE(s.FTPName4, QStringLiteral("tsupload"));
        QCOMPARE(s.ServerPassword, QString());
        QCOMPARE(s.BCML, QStringLiteral("/opt/orinedit/Quorvel/Quorvel.bcml"));
        QCOMPARE(s.ColourMapPath, QStringLiteral("/opt/orinedit/default.clt"));
        QVERIFY(!QFile::exists(m_path));
    }

    void modelDefaults_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("webPage");
        QTest::addColumn<QString>("retPage");
        QTest::addColumn<QString>("webfname");
        QTest::addColumn<QString>("memory");
        QTest::newRow("model 0") << QByteArray("[Config]\nModel=0\n")
                                 << QStringLiteral("http://192.168.0.100/cgi-bin/test6.cgi")
                                 << QStringLiteral("http://192.168.0.100/BM001.txt")
                                 << QStringLiteral("bml_endian3.ts")
                                 << QStringLiteral("bml_endian2.ts");
        const QStringList other{QStringLiteral("http://192.168.0.100/cgi-bin/web_upload.cgi"),
                                QStringLiteral("http://192.168.0.100/bml_status_1_1.txt"),
                                QStringLiteral("/var/tmp/bml_endian_1_1.ts"),
                                QStringLiteral("/var/htdocs/bml_endian_1_1.ts")};
        QTest::newRow("model 1") << QByteArray("[Config]\nModel=1\n") << other[0] << other[1]
                                 << other[2] << other[3];
        QTest::newRow("negative model")
            << QByteArray("[Config]\nModel=-3\n") << other[0] << other[1] << other[2] << other[3];
        QTest::newRow("stored value wins")
            << QByteArray("[Config]\nModel=1\nWebPage=http://10.0.0.5/up.cgi\nMemory=m.ts\n")
            << QStringLiteral("http://10.0.0.5/up.cgi") << other[1] << other[2]
            << QStringLiteral("m.ts");
    }

    void modelDefaults()
    {
        QFETCH(QByteArray, file);
        QVERIFY(test::WriteBytes(m_path, file));
        const AppSettings s = Load();
        QTEST(s.WebPage, "webPage");
        QTEST(s.RetPage, "retPage");
        QTEST(s.Webfname, "webfname");
        QTEST(s.Memory, "memory");
    }

    void windowPositions_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("stored");
        QTest::addColumn<QPoint>("expected");
        const char *names[] = {"frame", "preview", "panel"};
        for (int w = 0; w < 3; ++w) {
            auto row = [&](const char *what) -> QTestData & {
                return QTest::addRow("%s: %s", names[w], what);
            };
            row("inside") << w << kWorkArea << QPoint(300, 200) << QPoint(300, 200);
            row("left negative") << w << kWorkArea << QPoint(-50, 200) << QPoint(0, 200);
            row("left beyond width") << w << kWorkArea << QPoint(1921, 200) << QPoint(0, 200);
            row("on the far edges") << w << kWorkArea << QPoint(1920, 1040) << QPoint(1920, 1040);
            row("top negative") << w << kWorkArea << QPoint(300, -1) << QPoint(300, 0);
            row("top beyond height") << w << kWorkArea << QPoint(300, 1041) << QPoint(300, 0);
        }
        QTest::newRow("shifted area: only negatives before it")
            << 0 << QRect(100, 40, 1820, 1000) << QPoint(50, 20) << QPoint(50, 20);
        QTest::newRow("shifted area: beyond its right edge")
            << 0 << QRect(100, 40, 1820, 1000) << QPoint(1921, 1041) << QPoint(0, 0);
        QTest::newRow("unknown area") << 0 << QRect() << QPoint(5000, -5) << QPoint(5000, 0);
    }

    void windowPositions()
    {
        QFETCH(int, window);
        QFETCH(QRect, area);
        QFETCH(QPoint, stored);
        QFETCH(QPoint, expected);
        const char *prefix[] = {"w_", "w_t", "w_p"};
        const QString p = QLatin1String(prefix[window]);
        CIniStore store(m_path);
        QVERIFY(store.WriteStrings(QString(kConfigSection),
                                   {{p + QStringLiteral("left"), QString::number(stored.x())},
                                    {p + QStringLiteral("top"), QString::number(stored.y())},
                                    {p + QStringLiteral("width"), QStringLiteral("5000")},
                                    {p + QStringLiteral("height"), QStringLiteral("3000")}}));
        const AppSettings s = Load(4, area);
        // Sizes are taken as read, even when they do not fit.
        QCOMPARE(WindowRect(s, window), QRect(expected, QSize(5000, 3000)));
    }

    void bcmlPath_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("appFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("backslashes") << QStringLiteral("\\x\\y.bcml") << QStringLiteral("/opt/app")
                                     << QStringLiteral("/opt/app/x/y.bcml");
        QTest::newRow("folder with separator")
            << QStringLiteral("\\x\\y.bcml") << QStringLiteral("/opt/app/")
            << QStringLiteral("/opt/app/x/y.bcml");
        QTest::newRow("absolute path") << QStringLiteral("/x/y.bcml") << QStringLiteral("/opt/app")
                                       << QStringLiteral("/x/y.bcml");
        QTest::newRow("root folder")
            << QStringLiteral("\\y.bcml") << QStringLiteral("/") << QStringLiteral("/y.bcml");
        QTest::newRow("drive path") << QStringLiteral("D:\\y.bcml") << QStringLiteral("/opt/app")
                                    << QStringLiteral("D:\\y.bcml");
        QTest::newRow("bare name")
            << QStringLiteral("y.bcml") << QStringLiteral("/opt/app") << QStringLiteral("y.bcml");
        QTest::newRow("empty") << QString() << QStringLiteral("/opt/app") << QString();
    }

    void bcmlPath()
    {
        QFETCH(QString, value);
        QFETCH(QString, appFolder);
        QFETCH(QString, expected);
        QCOMPARE(ResolveBcmlPath(value, appFolder), expected);
        if (!value.isEmpty()) {
            QVERIFY(CIniStore(m_path).WriteString(QString(kConfigSection), QStringLiteral("BCML"),
                                                  value));
            QCOMPARE(LoadSettings(CIniStore(m_path), appFolder, kWorkArea, 4).BCML, expected);
        }
    }

    void editions_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("extraMode");
        QTest::addColumn<int>("modeAccess");
        QTest::addColumn<int>("typeContents");
        QTest::addColumn<int>("exPng");
        QTest::addColumn<int>("sizeLimit");
        QTest::newRow("0") << 0 << QStringLiteral("OrinEditContents.ini") << 5 << 1 << 0 << 0
                           << 1730;
        QTest::newRow("1") << 1 << QStringLiteral("OrinEditContents.ini") << 5 << 1 << 0 << 0
                           << 1730;
        QTest::newRow("2") << 2 << QStringLiteral("OrinEditContentsWeb.ini") << 1 << 1 << 0 << 0
                           << 100000;
        QTest::newRow("3") << 3 << QStringLiteral("OrinEditContentsOnline.ini") << 1 << 2 << 1 << 0
                           << 20000;
        QTest::newRow("4") << 4 << QStringLiteral("OrinEditHTML.ini") << 1 << 1 << 0 << 1 << 100000;
    }

    void editions()
    {
        QFETCH(int, edition);
        QVERIFY(test::WriteBytes(m_path, "[Config]\nExtraMode=5\nModeAccess=1\n"));
        const AppSettings s = Load(edition);
        QTEST(SettingsFileName(edition), "fileName");
        QTEST(s.ExtraMode, "extraMode");
        QTEST(s.ModeAccess, "modeAccess");
        QTEST(s.TypeContents, "typeContents");
        QTEST(s.ExPNG, "exPng");
        QCOMPARE(s.Vertical, 0);
        QCOMPARE(s.ConvertAAC, 0);
        QTEST(SelectSizeLimit(SizeLimitsOf(s), -1, edition), "sizeLimit");
    }

    void heldWidths_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("tagPid");
        QTest::addColumn<int>("version");
        QTest::newRow("in range") << QByteArray("300") << 300 << 44;
        QTest::newRow("negative") << QByteArray("-1") << 0xFFFF << 0xFF;
        QTest::newRow("wide") << QByteArray("70000") << 70000 - 65536 << 70000 % 256;
    }

    void heldWidths()
    {
        QFETCH(QByteArray, stored);
        QVERIFY(test::WriteBytes(m_path, "[Config]\nTAGPID=" + stored + "\nVersion=" + stored
                               + "\nVersionEvent=" + stored + "\n"));
        const AppSettings s = Load();
        QTEST(s.TAGPID, "tagPid");
        QTEST(s.Version, "version");
        QTEST(s.VersionEvent, "version");
    }

    void everyKeyReadUnderItsName()
    {
        // One entry per key, with Hardware and BCML: the 94 keys read (NullVideo is only written).
        QCOMPARE(std::size(kIntKeys) + std::size(kStringKeys) + 2, size_t(94));
        IniPairs pairs{{QStringLiteral("Hardware"), QStringLiteral("3")},
                       {QStringLiteral("BCML"), QStringLiteral("D:\\b.bcml")}};
        int n = 0;
        for (const IntKey &k : kIntKeys)
            pairs.append({QLatin1String(k.key), QString::number(++n)});
        for (const StringKey &k : kStringKeys) {
            const QString value = QStringLiteral("値%1").arg(++n);
            pairs.append(
                {QLatin1String(k.key), k.password ? ScramblePassword(value.mid(1)) : value});
        }
        QVERIFY(CIniStore(m_path).WriteStrings(QString(kConfigSection), pairs));

        const AppSettings s = Load(0);
        n = 0;
        for (const IntKey &k : kIntKeys)
            QVERIFY2(s.*k.member == ++n, k.key);
        for (const StringKey &k : kStringKeys) {
            const QString value = QStringLiteral("値%1").arg(++n);
            QVERIFY2(s.*k.member == (k.password ? value.mid(1) : value), k.key);
        }
        QCOMPARE(s.Hardware, kHardwareKind);
        QCOMPARE(s.BCML, QStringLiteral("D:\\b.bcml"));
    }

    void closeKeysRoundTrip()
    {
        QVERIFY(test::WriteBytes(m_path, "; kept\n[Config]\nFTPAddress=10.0.0.1\nw_left=7\n"));
        AppSettings s = Load();
        s.Version = 300; // held as a byte
        s.VersionDII = 2;
        s.VersionUpdate = 3;
        s.data_event_id = 4;
        s.VersionEvent = 5;
        s.w_left = 11, s.w_top = 12, s.w_width = 1013, s.w_height = 714;
        s.w_tleft = 21, s.w_ttop = 22, s.w_twidth = 523, s.w_theight = 324;
        s.w_pleft = 31, s.w_ptop = 32, s.w_pwidth = 233, s.w_pheight = 434;
        s.listwidth = 222;
        s.thumb_width = 160;
        s.thumb_height = 90;
        s.colBox = 0;
        s.Rendo = 0;
        s.Timer = 0;
        s.DefaultFileDir = QStringLiteral("/home/作業/コンテンツ");
        s.PortableDir = QStringLiteral("/media/usb");
        s.ImageDir = QStringLiteral("/home/画像");
        s.bBoxDraw = 0;
        s.bLabelDraw = 0;
        s.bChangeDraw = 1;
        s.FTPPort = 9999; // not a key written at close
        QVERIFY(WriteCloseSettings(*std::make_unique<CIniStore>(m_path), s));

        const AppSettings r = Load();
        QCOMPARE(r.Version, 44);
        QCOMPARE(r.VersionDII, 2);
        QCOMPARE(r.VersionUpdate, 3);
        QCOMPARE(r.data_event_id, 4);
        QCOMPARE(r.VersionEvent, 5);
        for (int w = 0; w < 3; ++w)
            QCOMPARE(WindowRect(r, w), WindowRect(s, w));
        QCOMPARE(r.listwidth, 222);
        QCOMPARE(r.thumb_width, 160);
        QCOMPARE(r.thumb_height, 90);
        QCOMPARE(r.colBox, 0);
        QCOMPARE(r.Rendo, 0);
        QCOMPARE(r.Timer, 0);
        QCOMPARE(r.DefaultFileDir, s.DefaultFileDir);
        QCOMPARE(r.PortableDir, s.PortableDir);
        QCOMPARE(r.ImageDir, s.ImageDir);
        QCOMPARE(r.bBoxDraw, 0);
        QCOMPARE(r.bLabelDraw, 0);
        QCOMPARE(r.bChangeDraw, 1);
        QCOMPARE(r.FTPPort, 2121);
        QCOMPARE(r.FTPAddress, QStringLiteral("10.0.0.1"));
        QVERIFY(test::ReadBytes(m_path).startsWith("; kept\n[Config]\nFTPAddress=10.0.0.1\nw_left=11\n"));

        // Into a new file the keys go in the order of writing, colBox once.
        QFile::remove(m_path);
        QVERIFY(WriteCloseSettings(*std::make_unique<CIniStore>(m_path), s));
        const QStringList expected =
            QStringLiteral("Version VersionDII VersionUpdate data_event_id VersionEvent w_left "
                           "w_top w_width w_height "
                           "w_tleft w_ttop w_twidth w_theight w_pleft w_ptop w_pwidth w_pheight "
                           "listwidth thumb_width "
                           "thumb_height colBox Rendo Timer DefaultFileDir PortableDir ImageDir "
                           "bBoxDraw bLabelDraw "
                           "bChangeDraw")
                .split(u' ');
        QCOMPARE(KeysInFile(m_path), expected);
    }

    void networkKeys_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("0") << 0
                           << QStringLiteral("FTPPort ModeAccess FTPAddress FTPDataAddress "
                                             "FtpDataPort ServerUser ServerPassword PASV2 "
                                             "PASV1 DButton NullVideo WebPage RetPage Webfname "
                                             "Memory Model FTPAddressFTP FTPUnitID "
                                             "AccessTitle")
                                  .split(u' ');
        QTest::newRow("1") << 1
                           << QStringLiteral("FTPPort ModeAccess FTPAddress FTPDataAddress "
                                             "FtpDataPort ServerUser ServerPassword PASV2 "
                                             "PASV1 DButton NullVideo WebPage RetPage Webfname "
                                             "Memory Model FTPAddressFTP FTPUnitID "
                                             "AccessTitle")
                                  .split(u' ');
        QTest::newRow("2") << 2
                           << QStringLiteral("FTPPort FTPWebAddress FTPWebPort FTPWebUser "
                                             "FTPWebPassword FTPWebFolder PASV4 AccessTitle")
                                  .split(u' ');
        QTest::newRow("3")
            << 3
            << QStringLiteral(
                   "FTPPort FTPNetAddress FTPNetPort FTPNetUser FTPNetPassword PASV2 AccessTitle")
                   .split(u' ');
        QTest::newRow("4") << 4 << QStringList{QStringLiteral("FTPPort")};
    }

    void networkKeys()
    {
        QFETCH(int, edition);
        QFETCH(QStringList, keys);
        QVERIFY(test::WriteBytes(m_path, "[Config]\nFTPPort=2121\n"));
        AppSettings s = Load(edition);
        s.ModeAccess = 1;
        s.FTPAddress = QStringLiteral("10.1.2.3");
        s.FTPPort = 2200;
        s.FTPDataAddress = QStringLiteral("10.1.2.4");
        s.FTPDataPort = 2201;
        s.ServerUser = QStringLiteral("operator");
        s.ServerPassword = QStringLiteral("s3cret!");
        s.PASV1 = 1;
        s.PASV2 = 1;
        s.PASV4 = 1;
        s.DButton = 0;
        s.NullVideo = 1;
        s.FTPWebAddress = QStringLiteral("10.9.9.9");
        s.FTPWebPort = 2021;
        s.FTPWebUser = QStringLiteral("web");
        s.FTPWebPassword = QStringLiteral("webpass");
        s.FTPWebFolder = QStringLiteral("/bml");
        s.FTPNetAddress = QStringLiteral("10.8.8.8");
        s.FTPNetPort = 2131;
        s.FTPNetUser = QStringLiteral("net");
        s.FTPNetPassword = QStringLiteral("netpass");
        s.AccessTitle = QStringLiteral("第1送出");
        CIniStore store(m_path);
        QVERIFY(WriteNetworkSettings(store, s, edition));
        QTEST(KeysInFile(m_path), "keys");

        const QByteArray bytes = test::ReadBytes(m_path);
        QVERIFY(!bytes.contains("s3cret") && !bytes.contains("webpass")
                && !bytes.contains("netpass"));
        const AppSettings r = Load(edition);
        if (edition == 0 || edition == 1) {
            // Written as "FtpPort", read as "FTPPort" in place of the old value.
            QCOMPARE(r.FTPPort, 2200);
            QCOMPARE(r.FTPDataPort, 2201);
            QCOMPARE(r.FTPAddress, s.FTPAddress);
            QCOMPARE(r.FTPDataAddress, s.FTPDataAddress);
            QCOMPARE(r.ServerUser, s.ServerUser);
            QCOMPARE(r.ServerPassword, s.ServerPassword);
            QCOMPARE(r.ModeAccess, 1);
            QCOMPARE(r.PASV1, 1);
            QCOMPARE(r.PASV2, 1);
            QCOMPARE(r.DButton, 0);
            QCOMPARE(store.GetInt(QString(kConfigSection), QStringLiteral("NullVideo"), -1), 1);
        } else if (edition == 2) {
            QCOMPARE(r.FTPWebAddress, s.FTPWebAddress);
            QCOMPARE(r.FTPWebPort, 2021);
            QCOMPARE(r.FTPWebUser, s.FTPWebUser);
            QCOMPARE(r.FTPWebPassword, s.FTPWebPassword);
            QCOMPARE(r.FTPWebFolder, s.FTPWebFolder);
            QCOMPARE(r.PASV4, 1);
        } else if (edition == 3) {
            QCOMPARE(r.FTPNetAddress, s.FTPNetAddress);
            QCOMPARE(r.FTPNetPort, 2131);
            QCOMPARE(r.FTPNetUser, s.FTPNetUser);
            QCOMPARE(r.FTPNetPassword, s.FTPNetPassword);
            QCOMPARE(r.PASV2, 1);
        }
        QCOMPARE(r.AccessTitle, edition == 4 ? QString() : s.AccessTitle);
    }

    void retrievalKeys()
    {
        CIniStore store(m_path);
        QVERIFY(WriteTypeContents(store, 2));
        QVERIFY(WriteNumberContents(store, 3));
        QVERIFY(WriteRecordTime(store, QStringLiteral("2024/05/06 07:08:09")));
        QVERIFY(WritePasswordSetting(store, QStringLiteral("FTPPass1"), QStringLiteral("pw")));
        const AppSettings s = Load(3);
        QCOMPARE(s.TypeContents, 2);
        QCOMPARE(s.NumberContents, 3);
        QCOMPARE(s.RecordTime, QStringLiteral("2024/05/06 07:08:09"));
        QCOMPARE(s.FTPPass1, QStringLiteral("pw"));
    }

    void malformedPasswordReadsEmpty()
    {
        QVERIFY(test::WriteBytes(m_path, "[Config]\nServerPassword=not a password\nFTPPass2=0900\n"));
        const AppSettings s = Load();
        QCOMPARE(s.ServerPassword, QString());
        QCOMPARE(s.FTPPass2, QString());
    }

    void exactFolders()
    {
        // The folders come back with the characters code page 932 lacks.
        AppSettings written;
        written.DefaultFileDir = QStringLiteral("/home/op/café/");
        written.PortableDir = QStringLiteral("/home/op/作業/");
        written.ImageDir = QStringLiteral("/home/op/Ærø/bilder/");
        CIniStore store(m_path);
        CPathStore paths(PathStoreFilePath(m_path));
        QCOMPARE(paths.Path(), m_dir.filePath(QStringLiteral("settings.paths.json")));
        QVERIFY(WriteCloseSettings(store, written));
        QVERIFY(WriteExactFolders(paths, written));
        AppSettings read = Load();
        QCOMPARE(read.DefaultFileDir, QStringLiteral("/home/op/caf?/")); // the file's own value
        RestoreExactFolders(read, paths);
        QCOMPARE(read.DefaultFileDir, written.DefaultFileDir);
        QCOMPARE(read.PortableDir, written.PortableDir);
        QCOMPARE(read.ImageDir, written.ImageDir);

        // A folder changed in the settings file by hand wins over the kept one.
        QVERIFY(WriteStringSetting(store, QStringLiteral("DefaultFileDir"),
                                   QStringLiteral("/srv/other/")));
        read = Load();
        RestoreExactFolders(read, paths);
        QCOMPARE(read.DefaultFileDir, QStringLiteral("/srv/other/"));
        QCOMPARE(read.PortableDir, written.PortableDir);

        // Without a path file the settings file alone counts.
        QVERIFY(QFile::remove(paths.Path()));
        read = Load();
        RestoreExactFolders(read, paths);
        QCOMPARE(read.ImageDir, QStringLiteral("/home/op/?r?/bilder/"));
    }

    void readingTheSettingsWritesNothing()
    {
        const QString appFolder = m_dir.filePath(QStringLiteral("app"));
        QVERIFY(QDir().mkpath(appFolder));
        const QDateTime before = QFileInfo(appFolder).lastModified();
        QTest::qWait(20);
        const QString dataFile = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                                 QStringLiteral("/OrinEditHTML.ini");
        QCOMPARE(SettingsFileForReading(appFolder, 4), dataFile);
        // Not even a probe file was made and removed in the application folder.
        QCOMPARE(QFileInfo(appFolder).lastModified(), before);
        QCOMPARE(QDir(appFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());

        const QString beside = appFolder + QStringLiteral("/OrinEditContentsWeb.ini");
        QVERIFY(test::WriteBytes(beside, "[Config]\n"));
        QCOMPARE(SettingsFileForReading(appFolder + u'/', 2), beside);
    }

    void settingsFolder()
    {
        const QString dataFolder =
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCOMPARE(SettingsFolder(m_dir.path()), m_dir.path());
        QCOMPARE(SettingsFolder(m_dir.path() + u'/'), m_dir.path());
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(SettingsFilePath(m_dir.path(), 2),
                 m_dir.path() + QStringLiteral("/OrinEditContentsWeb.ini"));

        const QString missing = m_dir.filePath(QStringLiteral("no/such/folder"));
        QCOMPARE(SettingsFolder(missing), dataFolder);
        QVERIFY(QFileInfo(dataFolder).isDir());
        QCOMPARE(SettingsFilePath(missing, 4), dataFolder + QStringLiteral("/OrinEditHTML.ini"));

        // A folder where no file can be made gives the data folder. The failure is injected
        // so that it binds the superuser too (CI runs as root).
        {
            test::CNoNewFiles noFiles;
            QVERIFY(noFiles.IsActive());
            QCOMPARE(SettingsFolder(m_dir.path()), dataFolder);
        }
        QCOMPARE(SettingsFolder(m_dir.path()), m_dir.path());
        if (geteuid() == 0)
            return; // permissions do not bind the superuser
        const QString readOnly = m_dir.filePath(QStringLiteral("ro"));
        QVERIFY(QDir().mkpath(readOnly));
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
        QCOMPARE(SettingsFolder(readOnly), dataFolder);
        QVERIFY(QFile::setPermissions(readOnly,
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
};

ORIN_TEST_CLASS(TestAppSettings)
#include "tst_settings.moc"
