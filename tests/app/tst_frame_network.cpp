// SPDX-License-Identifier: MIT
// The network settings command of the main frame: the dialog of the edition, what OK writes
// and changes at once, what Cancel and the HTML edition leave alone (the latter saying so).

#include "prompt_fixtures.h"
#include "test_registry.h"

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "app/status_panes.h"
#include "dialogs/network_dialogs.h"
#include "document/document.h"
#include "settings/ini_store.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

struct Fixture {
    QTemporaryDir dir;
    CScriptedPrompt prompt;
    std::unique_ptr<CMainFrame> frame;
    int edition = 4;

    explicit Fixture(int editionNumber) : edition(editionNumber)
    {
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt);
        setup.edition = edition;
        setup.openUrl = [](const QUrl &) { return false; };
        frame = std::make_unique<CMainFrame>(setup);
    }

    QString SettingsFile() const { return SettingsFilePath(dir.path(), edition); }
    QString Key(const QString &key) const
    {
        return CIniStore(SettingsFile()).GetString(QString(kConfigSection), key,
                                                   QStringLiteral("(none)"));
    }
    bool Enabled(int id) const { return frame->Action(id)->isEnabled(); }
};

// Runs `act` on the network settings dialog as soon as it is shown; `shown` tells whether it
// was.
// `looked` turns true once the check has run: inside the dialog's own event loop when the
// command opens one, else when the event loop next comes round.
void WhenShown(std::function<void(CNetworkDialog *)> act, bool *shown, bool *looked = nullptr)
{
    QTimer::singleShot(0, [act, shown, looked] {
        auto *dialog = qobject_cast<CNetworkDialog *>(QApplication::activeModalWidget());
        *shown = dialog != nullptr;
        if (looked)
            *looked = true;
        if (dialog)
            act(dialog);
    });
}

void SetText(CNetworkDialog *dialog, int id, const QString &text)
{
    qobject_cast<QLineEdit *>(dialog->Control(id))->setText(text);
}

} // namespace

class FrameNetworkTest : public QObject {
    Q_OBJECT

private slots:
    void okWritesTheKeysAndSwitchesTheAccessModeAtOnce()
    {
        Fixture f(1);
        QVERIFY(f.Enabled(cmd::kFileOpen));
        QVERIFY(!f.Enabled(cmd::kServerRetrieve));
        bool shown = false;
        WhenShown(
            [](CNetworkDialog *dialog) {
                QVERIFY(qobject_cast<CDlgNetwork *>(dialog));
                SetText(dialog, 1125, QStringLiteral("第2送出"));
                SetText(dialog, 1027, QStringLiteral("data.example"));
                qobject_cast<QAbstractButton *>(dialog->Control(1026))->setChecked(true);
                dialog->accept();
            },
            &shown);
        f.frame->Action(cmd::kNetworkSettings)->trigger();
        QVERIFY(shown);
        QCOMPARE(f.Key(QStringLiteral("ModeAccess")), QStringLiteral("2"));
        QCOMPARE(f.Key(QStringLiteral("FTPDataAddress")), QStringLiteral("data.example"));
        QCOMPARE(f.Key(QStringLiteral("AccessTitle")), QStringLiteral("第2送出"));
        QCOMPARE(f.Key(QStringLiteral("FTPPort")), QStringLiteral("2121")); // as "FtpPort"
        QCOMPARE(f.frame->Settings().FTPDataAddress, QStringLiteral("data.example"));
        QCOMPARE(f.frame->StatusText(kPaneAccess), QStringLiteral("第2送出"));
        QCOMPARE(f.frame->Document().AccessMode(), 2);
        QVERIFY(!f.Enabled(cmd::kFileOpen) && !f.Enabled(cmd::kFileSave));
        QVERIFY(f.Enabled(cmd::kServerRetrieve));
        QVERIFY(f.prompt.records.isEmpty());
    }

    void cancelChangesNothing()
    {
        Fixture f(2);
        bool shown = false;
        WhenShown(
            [](CNetworkDialog *dialog) {
                QVERIFY(qobject_cast<CDlgFTPWEB *>(dialog));
                SetText(dialog, 1086, QStringLiteral("10.9.9.9"));
                dialog->reject();
            },
            &shown);
        f.frame->Action(cmd::kNetworkSettings)->trigger();
        QVERIFY(shown);
        QCOMPARE(f.Key(QStringLiteral("FTPWebAddress")), QStringLiteral("(none)"));
        QCOMPARE(f.frame->Settings().FTPWebAddress, QStringLiteral("192.168.0.101"));
    }

    // The HTML edition has no connection: nothing changes, and the status bar says so.
    void htmlEditionChangesNothingAndSaysSo()
    {
        Fixture f(4);
        const AppSettings before = f.frame->Settings();
        QCOMPARE(f.frame->StatusText(kPanePrompt), QStringLiteral("レディ"));
        bool shown = false;
        bool looked = false;
        WhenShown([](CNetworkDialog *dialog) { dialog->reject(); }, &shown, &looked);
        f.frame->Action(cmd::kNetworkSettings)->trigger();
        QTRY_VERIFY(looked);
        QVERIFY(!shown);
        QVERIFY(!QFileInfo::exists(f.SettingsFile()));
        QCOMPARE(f.frame->Settings().AccessTitle, before.AccessTitle);
        QVERIFY(f.prompt.records.isEmpty());
        QCOMPARE(f.frame->StatusText(kPanePrompt),
                 QStringLiteral("OrinEditHTML には設定するネットワーク接続がありません"));
    }
};

ORIN_TEST_CLASS(FrameNetworkTest)

#include "tst_frame_network.moc"
