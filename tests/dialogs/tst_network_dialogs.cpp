// SPDX-License-Identifier: MIT
// The network settings dialogs of every edition: what they show, the keys that their values
// write to the settings file, and the fields they refuse.

#include "prompt_fixtures.h"
#include "test_registry.h"

#include "dialogs/network_dialogs.h"
#include "dialogs/network_fields.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "settings/password_scramble.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

QLineEdit *Edit(const CNetworkDialog &dialog, int controlId)
{
    return qobject_cast<QLineEdit *>(dialog.Control(controlId));
}

QAbstractButton *Button(const CNetworkDialog &dialog, int controlId)
{
    return qobject_cast<QAbstractButton *>(dialog.Control(controlId));
}

// Applies "id=text" to a line edit, or "id=on" / "id=off" to a check box or radio button.
void ApplyEdits(CNetworkDialog &dialog, const QStringList &edits)
{
    for (const QString &edit : edits) {
        const qsizetype eq = edit.indexOf(u'=');
        const int id = edit.left(eq).toInt();
        const QString value = edit.mid(eq + 1);
        if (QLineEdit *field = Edit(dialog, id)) {
            field->setText(value);
        } else {
            QAbstractButton *button = Button(dialog, id);
            QVERIFY2(button, qPrintable(edit));
            button->setChecked(value == u"on");
        }
    }
}

// The settings file's pairs, with scrambled passwords read back.
QStringList FilePairs(const QString &path)
{
    CIniStore store(path);
    QStringList pairs;
    const IniPairs section = store.GetSection(QString(kConfigSection));
    for (const auto &pair : section) {
        QString value = pair.second;
        if (pair.first.contains(QStringLiteral("Password"), Qt::CaseInsensitive)) {
            bool ok = false;
            value = QStringLiteral("*") + UnscramblePassword(value, &ok);
            if (!ok)
                value = QStringLiteral("(unreadable)");
        }
        pairs.append(pair.first + u'=' + value);
    }
    return pairs;
}

AppSettings StartValues()
{
    AppSettings s;
    s.ServerPassword = QStringLiteral("old");
    s.FTPWebPassword = QStringLiteral("oldweb");
    s.FTPNetUser = QStringLiteral("net");
    return s;
}

} // namespace

class NetworkDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void keysWritten_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QStringList>("file");
        const QStringList broadcastTail{
            QStringLiteral("WebPage=") + DefaultsForModel(0).WebPage,
            QStringLiteral("RetPage=") + DefaultsForModel(0).RetPage,
            QStringLiteral("Webfname=") + DefaultsForModel(0).Webfname,
            QStringLiteral("Memory=") + DefaultsForModel(0).Memory,
            QStringLiteral("Model=0"), QStringLiteral("FTPAddressFTP=127.0.0.1"),
            QStringLiteral("FTPUnitID=0")};
        QTest::newRow("edition 0, unchanged")
            << 0 << QStringList()
            << QStringList{QStringLiteral("ModeAccess=0"), QStringLiteral("FTPAddress=127.0.0.1"),
                           QStringLiteral("FtpPort=2121"),
                           QStringLiteral("FTPDataAddress=127.0.0.1"),
                           QStringLiteral("FtpDataPort=2122"), QStringLiteral("ServerUser=admin"),
                           QStringLiteral("ServerPassword=*old"), QStringLiteral("PASV2=0"),
                           QStringLiteral("PASV1=0"), QStringLiteral("DButton=1"),
                           QStringLiteral("NullVideo=0")}
                   + broadcastTail + QStringList{QStringLiteral("AccessTitle=")};
        QTest::newRow("edition 1, server mode with a host name and a padded address")
            << 1
            << QStringList{QStringLiteral("1125=第1送出"), QStringLiteral("1026=on"),
                           QStringLiteral("1022=ctrl-1.example.net"), QStringLiteral("1023= 2200 "),
                           QStringLiteral("1027=010.001.2.3"), QStringLiteral("1029=65535"),
                           QStringLiteral("1048=on"), QStringLiteral("1031=operator"),
                           QStringLiteral("1032=s3cret!"), QStringLiteral("1044=off"),
                           QStringLiteral("1079=on")}
            << QStringList{QStringLiteral("ModeAccess=2"),
                           QStringLiteral("FTPAddress=ctrl-1.example.net"),
                           QStringLiteral("FtpPort=2200"), QStringLiteral("FTPDataAddress=10.1.2.3"),
                           QStringLiteral("FtpDataPort=65535"),
                           QStringLiteral("ServerUser=operator"),
                           QStringLiteral("ServerPassword=*s3cret!"), QStringLiteral("PASV2=1"),
                           QStringLiteral("PASV1=0"), QStringLiteral("DButton=0"),
                           QStringLiteral("NullVideo=0")}
                   // The type is kept only for hardware kind 0: Model stays 0.
                   + broadcastTail + QStringList{QStringLiteral("AccessTitle=第1送出")};
        QTest::newRow("edition 1, control software")
            << 1 << QStringList{QStringLiteral("1025=on"), QStringLiteral("1023=1")}
            << QStringList{QStringLiteral("ModeAccess=1"), QStringLiteral("FTPAddress=127.0.0.1"),
                           QStringLiteral("FtpPort=1"), QStringLiteral("FTPDataAddress=127.0.0.1"),
                           QStringLiteral("FtpDataPort=2122"), QStringLiteral("ServerUser=admin"),
                           QStringLiteral("ServerPassword=*old"), QStringLiteral("PASV2=0"),
                           QStringLiteral("PASV1=0"), QStringLiteral("DButton=1"),
                           QStringLiteral("NullVideo=0")}
                   + broadcastTail + QStringList{QStringLiteral("AccessTitle=")};
        QTest::newRow("edition 2, web server")
            << 2
            << QStringList{QStringLiteral("1125=Web"), QStringLiteral("1086=192.168.10.20"),
                           QStringLiteral("1084=2021"), QStringLiteral("1085=web"),
                           QStringLiteral("1087="), QStringLiteral("1077=/bml/out"),
                           QStringLiteral("1119=on")}
            << QStringList{QStringLiteral("FTPWebAddress=192.168.10.20"),
                           QStringLiteral("FTPWebPort=2021"), QStringLiteral("FTPWebUser=web"),
                           QStringLiteral("FTPWebPassword=*"),
                           QStringLiteral("FTPWebFolder=/bml/out"), QStringLiteral("PASV4=1"),
                           QStringLiteral("AccessTitle=Web")};
        QTest::newRow("edition 3, online server")
            << 3
            << QStringList{QStringLiteral("1096=online.example"), QStringLiteral("1095=2131"),
                           QStringLiteral("1094=netuser"), QStringLiteral("1093=p@ss word~"),
                           QStringLiteral("1120=on")}
            << QStringList{QStringLiteral("FTPNetAddress=online.example"),
                           QStringLiteral("FTPNetPort=2131"), QStringLiteral("FTPNetUser=netuser"),
                           QStringLiteral("FTPNetPassword=*p@ss word~"), QStringLiteral("PASV2=1"),
                           QStringLiteral("AccessTitle=")};
    }

    void keysWritten()
    {
        QFETCH(int, edition);
        QFETCH(QStringList, edits);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("settings.ini"));
        CScriptedPrompt prompt;
        std::unique_ptr<CNetworkDialog> dialog =
            MakeNetworkDialog(StartValues(), prompt, nullptr, edition);
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("ネットワーク設定"));
        ApplyEdits(*dialog, edits);
        dialog->accept();
        QVERIFY2(prompt.records.isEmpty(), qPrintable(prompt.Messages().join(u'|')));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        CIniStore store(path);
        QVERIFY(WriteNetworkSettings(store, dialog->Values(), edition));
        QTEST(FilePairs(path), "file");
    }

    void htmlEditionHasNoDialog()
    {
        CScriptedPrompt prompt;
        QVERIFY(!MakeNetworkDialog(StartValues(), prompt, nullptr, 4));
    }

    void opening()
    {
        CScriptedPrompt prompt;
        AppSettings s = StartValues();
        s.FTPAddress.clear();
        s.FTPDataAddress = QStringLiteral("10.1.2.3");
        s.ModeAccess = 5;
        s.Model = 1;
        s.NullVideo = 1;
        CDlgNetwork dialog(s, prompt);
        QCOMPARE(Edit(dialog, 1022)->text(), QStringLiteral("0.0.0.0"));
        QCOMPARE(Edit(dialog, 1027)->text(), QStringLiteral("10.1.2.3"));
        QCOMPARE(Edit(dialog, 1021)->text(), QStringLiteral("0.0.0.0"));
        // Any mode other than 0 and 1 is the server mode.
        QVERIFY(Button(dialog, 1026)->isChecked());
        QVERIFY(!Button(dialog, 1024)->isChecked() && !Button(dialog, 1025)->isChecked());
        QVERIFY(Button(dialog, 1079)->isChecked());
        QVERIFY(!Button(dialog, 1045)->isEnabled() && !Button(dialog, 1046)->isEnabled());
        QVERIFY(Button(dialog, 1046)->isChecked());
        QCOMPARE(Edit(dialog, 1032)->echoMode(), QLineEdit::Password);
        dialog.accept();
        QCOMPARE(dialog.Values().FTPAddress, QStringLiteral("0.0.0.0"));
        QCOMPARE(dialog.Values().ModeAccess, 2);
        QCOMPARE(dialog.Values().NullVideo, 1);
        QVERIFY(!dialog.RequestsConfigurationUpload());

        CDlgFTPWEB web(s, prompt);
        QCOMPARE(Edit(web, 1087)->echoMode(), QLineEdit::Password);
        QCOMPARE(Edit(web, 1087)->text(), QStringLiteral("oldweb"));
        CDlgFTPNET net(s, prompt);
        QCOMPARE(Edit(net, 1093)->echoMode(), QLineEdit::Password);
        QCOMPARE(Edit(net, 1094)->text(), QStringLiteral("net"));
    }

    void refusedFields_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<int>("control");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        const QString address = QString::fromUtf16(kAddressMessage);
        const QString port = QString::fromUtf16(kPortMessage);
        QTest::newRow("three numbers") << 1 << 1022 << QStringLiteral("10.1.2") << address;
        QTest::newRow("number past 255") << 1 << 1027 << QStringLiteral("1.2.3.256") << address;
        QTest::newRow("empty address") << 2 << 1086 << QString() << address;
        QTest::newRow("underscore") << 3 << 1096 << QStringLiteral("bad_host") << address;
        QTest::newRow("label ending in -") << 3 << 1096 << QStringLiteral("a-.b") << address;
        QTest::newRow("URL") << 2 << 1086 << QStringLiteral("ftp://host") << address;
        QTest::newRow("port 0") << 1 << 1023 << QStringLiteral("0") << port;
        QTest::newRow("port 65536") << 1 << 1029 << QStringLiteral("65536") << port;
        QTest::newRow("port not a number") << 2 << 1084 << QStringLiteral("21a") << port;
        QTest::newRow("negative port") << 3 << 1095 << QStringLiteral("-21") << port;
        QTest::newRow("password outside ASCII")
            << 1 << 1032 << QStringLiteral("パス") << kPasswordCharsMessage.toString();
        QTest::newRow("password too long")
            << 2 << 1087 << QString(kPasswordMaxLength + 1, u'a')
            << kPasswordLengthMessage.toString();
        QTest::newRow("password with a tab")
            << 3 << 1093 << QStringLiteral("a\tb") << kPasswordCharsMessage.toString();
    }

    void refusedFields()
    {
        QFETCH(int, edition);
        QFETCH(int, control);
        QFETCH(QString, text);
        QFETCH(QString, message);
        CScriptedPrompt prompt;
        const AppSettings start = StartValues();
        std::unique_ptr<CNetworkDialog> dialog =
            MakeNetworkDialog(start, prompt, nullptr, edition);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        Edit(*dialog, control)->setText(text);
        dialog->accept();
        QCOMPARE(prompt.Messages(), QStringList{message});
        QCOMPARE(prompt.records.at(0).caption, QStringLiteral("エラー"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::focusWidget(), dialog->Control(control));
        // Nothing was taken over.
        QCOMPARE(dialog->Values().FTPAddress, start.FTPAddress);
        QCOMPARE(dialog->Values().FTPWebPort, start.FTPWebPort);
        QCOMPARE(dialog->Values().ServerPassword, start.ServerPassword);
    }
};

ORIN_TEST_CLASS(NetworkDialogsTest)

#include "tst_network_dialogs.moc"
