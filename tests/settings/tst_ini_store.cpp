// SPDX-License-Identifier: MIT
#include "full_disk.h"
#include "test_files.h"
#include "test_registry.h"

#include "settings/ini_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <unistd.h>

using namespace orin;

namespace {

const QString kSection = QStringLiteral("Config");

} // namespace

class TestIniStore : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("test.ini"));
        QFile::remove(m_path);
    }

    void namesIgnoreCase()
    {
        QVERIFY(test::WriteBytes(m_path, "[Config]\nFTPPort=2121\n"));
        CIniStore store(m_path);
        QVERIFY(store.WriteInt(QStringLiteral("config"), QStringLiteral("FtpPort"), 2200));
        // The key keeps its spelling in the file and is not added a second time.
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nFTPPort=2200\n"));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("FTPPORT"), 0), 2200);
        QCOMPARE(store.GetInt(QStringLiteral("CONFIG"), QStringLiteral("ftpport"), 0), 2200);
    }

    // A settings file that cannot be written out whole keeps every setting it had.
    void fullDiskKeepsTheSettings()
    {
        const QByteArray before = "[Config]\nFTPPort=2121\nMemo=" + QByteArray(200, 'm') + "\n";
        QVERIFY(test::WriteBytes(m_path, before));
        CIniStore store(m_path);
        {
            test::CFullDisk full{50};
            QVERIFY(full.IsActive());
            QVERIFY(!store.WriteInt(QStringLiteral("Config"), QStringLiteral("FTPPort"), 2200));
        }
        QCOMPARE(test::ReadBytes(m_path), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("test.ini")});
    }

    void missingGivesDefault()
    {
        CIniStore missingFile(m_dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(missingFile.GetInt(kSection, QStringLiteral("a"), 17), 17);
        QCOMPARE(missingFile.GetString(kSection, QStringLiteral("a"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QVERIFY(missingFile.GetSection(kSection).isEmpty());

        QVERIFY(test::WriteBytes(m_path, "[Other]\nb=1\n[Config]\na=\nc=text\n"));
        CIniStore store(m_path);
        QCOMPARE(store.GetInt(kSection, QStringLiteral("b"), 5), 5);
        QCOMPARE(store.GetInt(QStringLiteral("Nowhere"), QStringLiteral("c"), 5), 5);
        // An empty value gives the integer default but is an empty string.
        QCOMPARE(store.GetInt(kSection, QStringLiteral("a"), 9), 9);
        QCOMPARE(store.GetString(kSection, QStringLiteral("a"), QStringLiteral("d")), QString());
        QCOMPARE(store.GetString(kSection, QStringLiteral("missing"), QStringLiteral("d")),
                 QStringLiteral("d"));
    }

    void integerParsing_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("plain") << QByteArray("42") << 42;
        QTest::newRow("negative") << QByteArray("-50") << -50;
        QTest::newRow("plus sign") << QByteArray("+7") << 7;
        QTest::newRow("surrounding blanks") << QByteArray("  \t12  ") << 12;
        QTest::newRow("leading digits") << QByteArray("12px") << 12;
        QTest::newRow("no digits") << QByteArray("abc") << 0;
        QTest::newRow("sign only") << QByteArray("-") << 0;
        QTest::newRow("hex is not read") << QByteArray("0x10") << 0;
        QTest::newRow("full-width digits") << QByteArray("\x82\x52") << 0;
        QTest::newRow("int max") << QByteArray("2147483647") << INT_MAX;
        QTest::newRow("int min") << QByteArray("-2147483648") << INT_MIN;
        QTest::newRow("beyond max") << QByteArray("99999999999999999999999") << INT_MAX;
        QTest::newRow("beyond min") << QByteArray("-99999999999999999999999") << INT_MIN;
    }

    void integerParsing()
    {
        QFETCH(QByteArray, value);
        QFETCH(int, expected);
        QVERIFY(test::WriteBytes(m_path, "[Config]\nkey=" + value + "\n"));
        QCOMPARE(CIniStore(m_path).GetInt(kSection, QStringLiteral("key"), -12345), expected);
    }

    void longValuesAreCut()
    {
        CIniStore store(m_path);
        const QString longValue = QString(300, u'あ');
        QVERIFY(store.WriteString(kSection, QStringLiteral("long"), longValue));
        QCOMPARE(store.GetString(kSection, QStringLiteral("long")), longValue.left(kIniValueMax));
        QCOMPARE(store.GetString(kSection, QStringLiteral("missing"), longValue),
                 longValue.left(kIniValueMax));
        QCOMPARE(store.GetString(kSection, QStringLiteral("long")).size(), 255);
    }

    void codePage932()
    {
        CIniStore store(m_path);
        // 表 and ソ have 0x5C ("\") as second byte; the section name holds one too.
        const QString value = QStringLiteral("表示ソフト・テスト ｶﾅ ～");
        QVERIFY(store.WriteString(QStringLiteral("表ソ"), QStringLiteral("題名"), value));
        const QByteArray bytes = test::ReadBytes(m_path);
        QVERIFY(bytes.startsWith("[\x95\x5C\x83\x5C]\n"));
        QVERIFY(bytes.contains("\x91\xE8\x96\xBC=\x95\x5C\x8E\xA6"));
        QCOMPARE(store.GetString(QStringLiteral("表ソ"), QStringLiteral("題名")), value);

        // Characters the code page lacks become one '?' each, also outside the basic plane.
        QVERIFY(store.WriteString(kSection, QStringLiteral("x"),
                                  QStringLiteral("caf\u00e9 \U0001F600!")));
        QVERIFY(test::ReadBytes(m_path).contains("x=caf? ?!\n"));
        QCOMPARE(store.GetString(kSection, QStringLiteral("x")), QStringLiteral("caf? ?!"));
    }

    void invalidBytesAreRead()
    {
        // A stray lead byte before the line end, an unassigned double-byte code, bytes that
        // are never code page 932, and a lead byte at the very end of the file.
        QVERIFY(test::WriteBytes(m_path,
                   "[Config]\r\nA=x\x81\r\nB=\x85\x40z\r\nC=\xFF\xFD\xA0y\r\nD=1\r\nE=\x82"));
        CIniStore store(m_path);
        QCOMPARE(store.GetString(kSection, QStringLiteral("A")), QStringLiteral("x?"));
        QCOMPARE(store.GetString(kSection, QStringLiteral("B")), QStringLiteral("?z"));
        QCOMPARE(store.GetString(kSection, QStringLiteral("C")).right(1), QStringLiteral("y"));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("D"), 0), 1);
        QCOMPARE(store.GetString(kSection, QStringLiteral("E")), QStringLiteral("?"));
        // Writing one key leaves the undecodable lines byte for byte.
        QVERIFY(store.WriteInt(kSection, QStringLiteral("D"), 2));
        QCOMPARE(
            test::ReadBytes(m_path),
            QByteArray("[Config]\r\nA=x\x81\r\nB=\x85\x40z\r\nC=\xFF\xFD\xA0y\r\nD=2\r\nE=\x82"));
    }

    void editsKeepTheRest_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        const QByteArray file = "; settings\r\n[Config]\r\n  Width = 800  \r\nWidth=1\r\n; note\r\n"
                                "\r\n[Other]\r\nk=v\r\n";
        QTest::newRow("first match replaced in place")
            << file << QStringLiteral("Config") << QStringLiteral("width")
            << QByteArray("; settings\r\n[Config]\r\nWidth=NEW\r\nWidth=1\r\n; "
                          "note\r\n\r\n[Other]\r\nk=v\r\n");
        QTest::newRow("new key at end of its section")
            << file << QStringLiteral("Config") << QStringLiteral("Height")
            << QByteArray("; settings\r\n[Config]\r\n  Width = 800  \r\nWidth=1\r\nHeight=NEW\r\n; "
                          "note\r\n"
                          "\r\n[Other]\r\nk=v\r\n");
        QTest::newRow("new key in last section")
            << file << QStringLiteral("other") << QStringLiteral("n")
            << QByteArray("; settings\r\n[Config]\r\n  Width = 800  \r\nWidth=1\r\n; "
                          "note\r\n\r\n[Other]\r\nk=v\r\nn=NEW\r\n");
        QTest::newRow("new section at end")
            << file << QStringLiteral("Third") << QStringLiteral("a")
            << file + "\r\n[Third]\r\na=NEW\r\n";
        QTest::newRow("file without last line end")
            << QByteArray("[Config]\nA=1") << QStringLiteral("Config") << QStringLiteral("B")
            << QByteArray("[Config]\nA=1\nB=NEW\n");
        QTest::newRow("empty section header last")
            << QByteArray("[Config]") << QStringLiteral("Config") << QStringLiteral("B")
            << QByteArray("[Config]\nB=NEW\n");
        QTest::newRow("new file") << QByteArray() << QStringLiteral("Config") << QStringLiteral("B")
                                  << QByteArray("[Config]\nB=NEW\n");
    }

    void editsKeepTheRest()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        if (!before.isEmpty())
            QVERIFY(test::WriteBytes(m_path, before));
        CIniStore store(m_path);
        QVERIFY(store.WriteString(section, key, QStringLiteral("NEW")));
        QCOMPARE(test::ReadBytes(m_path), after);
        QCOMPARE(store.GetString(section, key), QStringLiteral("NEW"));
    }

    void whatTheFileCanHold_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("holds");
        QTest::newRow("ASCII path") << QStringLiteral("/home/a/b c.bjpx") << true;
        QTest::newRow("Japanese") << QStringLiteral("/home/作業/表示～①.bjpx") << true;
        QTest::newRow("question mark") << QStringLiteral("why?") << true;
        QTest::newRow("accent") << QStringLiteral("/home/caf\u00e9") << false;
        QTest::newRow("emoji") << QStringLiteral("\U0001F600") << false;
        QTest::newRow("line break") << QStringLiteral("a\nb") << false;
        QTest::newRow("surrounding blank") << QStringLiteral(" a") << false;
        QTest::newRow("in double quotes") << QStringLiteral("\"a b\"") << false;
        QTest::newRow("one double quote") << QStringLiteral("\"a b") << true;
    }

    void doubleQuotesAreNotPartOfTheValue_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("value");
        QTest::newRow("quoted path") << QByteArray("v = \"C:\\My Work\\\" \r\n")
                                     << QStringLiteral("C:\\My Work\\");
        QTest::newRow("quoted blanks kept") << QByteArray("v=\"  a  \"\n")
                                            << QStringLiteral("  a  ");
        QTest::newRow("empty quotes") << QByteArray("v=\"\"\n") << QString();
        QTest::newRow("a lone quote") << QByteArray("v=\"\n") << QStringLiteral("\"");
        QTest::newRow("open quote only") << QByteArray("v=\"abc\n") << QStringLiteral("\"abc");
        QTest::newRow("quotes inside") << QByteArray("v=a \"b\" c\n")
                                       << QStringLiteral("a \"b\" c");
    }

    void doubleQuotesAreNotPartOfTheValue()
    {
        QFETCH(QByteArray, line);
        QFETCH(QString, value);
        QVERIFY(test::WriteBytes(m_path, "[Config]\n" + line + "n=\"12\"\n"));
        const CIniStore store(m_path);
        QCOMPARE(store.GetString(kSection, QStringLiteral("v")), value);
        QCOMPARE(store.GetSection(kSection).first().second, value);
        QCOMPARE(store.GetInt(kSection, QStringLiteral("n"), 0), 12);
    }

    void whatTheFileCanHold()
    {
        QFETCH(QString, value);
        QFETCH(bool, holds);
        QCOMPARE(IniCanHold(value), holds);
        CIniStore store(m_path);
        QVERIFY(store.WriteString(kSection, QStringLiteral("v"), value));
        QCOMPARE(store.GetString(kSection, QStringLiteral("v")) == value, holds);
    }

    void snapshotReadsTheFileOnce()
    {
        QVERIFY(test::WriteBytes(m_path, "[Config]\nw=12px\ns= \"a b\" \n[Other]\nw=3\n"));
        const CIniSnapshot snapshot(m_path);
        const CIniStore store(m_path);
        QCOMPARE(snapshot.GetInt(kSection, QStringLiteral("W"), 0), 12);
        QCOMPARE(snapshot.GetString(kSection, QStringLiteral("s")), QStringLiteral("a b"));
        QCOMPARE(snapshot.GetInt(QStringLiteral("other"), QStringLiteral("w"), 0), 3);
        QCOMPARE(snapshot.GetString(kSection, QStringLiteral("none"), QString(300, u'x')),
                 store.GetString(kSection, QStringLiteral("none"), QString(300, u'x')));
        // Later writes are not seen: the keys are read from the one parse.
        QVERIFY(test::WriteBytes(m_path, "[Config]\nw=5\n"));
        QCOMPARE(snapshot.GetInt(kSection, QStringLiteral("w"), 0), 12);
        QCOMPARE(store.GetInt(kSection, QStringLiteral("w"), 0), 5);
        QVERIFY(QFile::remove(m_path));
        QCOMPARE(CIniSnapshot(m_path).GetInt(kSection, QStringLiteral("w"), 7), 7);
    }

    void unusableInputIsRefused()
    {
        QVERIFY(test::WriteBytes(m_path, "[Config]\nA=1\n"));
        CIniStore store(m_path);
        QVERIFY(!store.WriteString(kSection, QStringLiteral("a=b"), QStringLiteral("x")));
        QVERIFY(!store.WriteString(kSection, QStringLiteral(" "), QStringLiteral("x")));
        QVERIFY(!store.WriteString(kSection, QStringLiteral("a\nb"), QStringLiteral("x")));
        QVERIFY(
            !store.WriteString(QStringLiteral("C]x"), QStringLiteral("a"), QStringLiteral("x")));
        QVERIFY(!store.WriteStrings(kSection, {{QStringLiteral("ok"), QStringLiteral("1")},
                                               {QStringLiteral("[bad"), QStringLiteral("2")}}));
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nA=1\n"));
        // A value with line breaks cannot add keys of its own.
        QVERIFY(
            store.WriteString(kSection, QStringLiteral("A"), QStringLiteral("x\r\n[Evil]\nB=2")));
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nA=x  [Evil] B=2\n"));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("B"), -1), -1);
    }

    void rewriteIsAtomic()
    {
        CIniStore store(m_path);
        for (int i = 0; i < 5; ++i)
            QVERIFY(store.WriteInt(kSection, QStringLiteral("k%1").arg(i), i));
        QVERIFY(store.WriteStrings(kSection, {{QStringLiteral("a"), QStringLiteral("1")},
                                              {QStringLiteral("b"), QStringLiteral("2")}}));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("test.ini")});

        // The settings file may hold passwords: a rewrite keeps its permissions.
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(store.WriteInt(kSection, QStringLiteral("k0"), 10));
        QCOMPARE(QFile::permissions(m_path) & (QFile::ReadOther | QFile::ReadGroup),
                 QFile::Permissions());
    }

    void failedWritesLeaveTheFile()
    {
        CIniStore noFolder(m_dir.filePath(QStringLiteral("missing/test.ini")));
        QVERIFY(!noFolder.WriteInt(kSection, QStringLiteral("a"), 1));

        // A file that cannot be read is not replaced by one holding only the new key. The read
        // failure is injected, so that it binds the superuser too (CI runs as root).
        QVERIFY(test::WriteBytes(m_path, "[Config]\nA=1\nB=2\n"));
        CIniStore store(m_path);
        {
            CIniReadFailure unreadable(m_path);
            QVERIFY(!store.WriteInt(kSection, QStringLiteral("C"), 3));
            QVERIFY(!store.WriteStrings(kSection, {{QStringLiteral("C"), QStringLiteral("3")}}));
            QVERIFY(!store.RemoveKey(kSection, QStringLiteral("A")));
            QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 7), 7);
        }
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nA=1\nB=2\n"));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 7), 1);

        if (geteuid() == 0)
            return; // permissions do not bind the superuser
        QVERIFY(QFile::setPermissions(m_path, QFile::WriteOwner));
        QVERIFY(!store.WriteInt(kSection, QStringLiteral("C"), 3));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 7), 7);
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nA=1\nB=2\n"));
    }

    void seesOtherWriters()
    {
        CIniStore reader(m_path);
        CIniStore writer(m_path);
        QCOMPARE(reader.GetInt(kSection, QStringLiteral("n"), 0), 0);
        QVERIFY(writer.WriteInt(kSection, QStringLiteral("n"), 1));
        QCOMPARE(reader.GetInt(kSection, QStringLiteral("n"), 0), 1);
        // Same size, same second: a change by hand is still seen.
        QVERIFY(test::WriteBytes(m_path, "[Config]\nn=2\n"));
        QCOMPARE(reader.GetInt(kSection, QStringLiteral("n"), 0), 2);
    }

    void sections()
    {
        QVERIFY(test::WriteBytes(m_path,
                   "[Config]\nA=1\n\n[Recent File List]\nFile1=/a.bjpx\n; old\nFile2=/b.bjpx\n"
                   "File3=/c.bjpx\n\n[Last]\nz=9\n"));
        CIniStore store(m_path);
        const QString recent = QStringLiteral("recent file list");
        const IniPairs before{{QStringLiteral("File1"), QStringLiteral("/a.bjpx")},
                              {QStringLiteral("File2"), QStringLiteral("/b.bjpx")},
                              {QStringLiteral("File3"), QStringLiteral("/c.bjpx")}};
        QCOMPARE(store.GetSection(recent), before);

        const QString longPath = QLatin1Char('/') + QString(300, u'p');
        const IniPairs after{{QStringLiteral("File1"), QStringLiteral("/新しい.bjpx")},
                             {QStringLiteral("File2"), longPath}};
        QVERIFY(store.WriteSection(recent, after));
        QCOMPARE(store.GetSection(recent), after);
        QCOMPARE(store.GetString(recent, QStringLiteral("File3"), QStringLiteral("gone")),
                 QStringLiteral("gone"));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 0), 1);
        QCOMPARE(store.GetInt(QStringLiteral("Last"), QStringLiteral("z"), 0), 9);
        QVERIFY(test::ReadBytes(m_path).contains("\n\n[Last]\n"));

        QVERIFY(store.WriteSection(QStringLiteral("New"),
                                   {{QStringLiteral("k"), QStringLiteral("v")}}));
        QCOMPARE(store.GetString(QStringLiteral("New"), QStringLiteral("k")), QStringLiteral("v"));

        QVERIFY(store.RemoveKey(recent, QStringLiteral("file1")));
        QCOMPARE(store.GetSection(recent).size(), 1);
        QVERIFY(store.RemoveKey(recent, QStringLiteral("absent")));

        QVERIFY(store.RemoveSection(recent));
        QVERIFY(store.GetSection(recent).isEmpty());
        QCOMPARE(test::ReadBytes(m_path), QByteArray("[Config]\nA=1\n\n[Last]\nz=9\n\n[New]\nk=v\n"));
    }

    void duplicateNames()
    {
        QVERIFY(test::WriteBytes(m_path, "[Config]\nA=1\nA=2\n[config]\nA=3\nB=4\n"));
        CIniStore store(m_path);
        // The first section and its first key count; keys of a later namesake are not merged.
        QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 0), 1);
        QCOMPARE(store.GetInt(kSection, QStringLiteral("B"), 0), 0);
        QVERIFY(store.RemoveKey(kSection, QStringLiteral("A")));
        QCOMPARE(store.GetInt(kSection, QStringLiteral("A"), 0), 0);
        QVERIFY(store.RemoveSection(kSection));
        QCOMPARE(test::ReadBytes(m_path), QByteArray());
    }
};

ORIN_TEST_CLASS(TestIniStore)
#include "tst_ini_store.moc"
