// SPDX-License-Identifier: MIT
// The small parts of the application shell: recent files, work folders, file association,
// help document, about box, status pane rules.
#include "test_paths.h"
#include "test_registry.h"

#include "app/about_dialog.h"
#include "settings/edition_info.h"
#include "app/file_association.h"
#include "app/help_document.h"
#include "settings/ini_store.h"
#include "app/qt_prompt.h"
#include "document/recent_files.h"
#include "app/status_panes.h"
#include "document/work_folders.h"
#include "prompt_fixtures.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace orin::test;

class TestShellParts : public QObject {
    Q_OBJECT

private slots:
    void recentFilesKeepTenNewestFirst()
    {
        CRecentFiles recent;
        for (int i = 1; i <= 12; ++i)
            recent.Add(QStringLiteral("/w/p%1.bjpx").arg(i));
        QCOMPARE(recent.Count(), CRecentFiles::kMaxEntries);
        QCOMPARE(recent.At(0), QStringLiteral("/w/p12.bjpx"));
        QCOMPARE(recent.At(9), QStringLiteral("/w/p3.bjpx"));
        QCOMPARE(recent.At(10), QString());
        QCOMPARE(recent.At(-1), QString());

        recent.Add(QStringLiteral("/w/p5.bjpx"));
        QCOMPARE(recent.Count(), 10);
        QCOMPARE(recent.At(0), QStringLiteral("/w/p5.bjpx"));
        QCOMPARE(recent.Entries().count(QStringLiteral("/w/p5.bjpx")), 1);
        recent.Add(QString());
        QCOMPARE(recent.At(0), QStringLiteral("/w/p5.bjpx"));
    }

    void recentFilesLiveInTheirOwnSection()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("s.ini"));
        CIniStore store(path);
        QVERIFY(store.WriteInt(QStringLiteral("Config"), QStringLiteral("w_left"), 7));
        CRecentFiles recent;
        const QString longPath = u'/' + QString(300, u'a') + QStringLiteral("/長い名前.bjpx");
        recent.Add(QStringLiteral("/w/old.bjp"));
        recent.Add(longPath);
        QVERIFY(recent.Save(store));

        CRecentFiles loaded;
        loaded.Load(store);
        QCOMPARE(loaded.Entries(), QStringList({longPath, QStringLiteral("/w/old.bjp")}));
        QCOMPARE(store.GetString(kRecentFileSection, QStringLiteral("File2")),
                 QStringLiteral("/w/old.bjp"));
        // The settings of the Config section are left alone.
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("w_left"), 0), 7);

        // A shorter list replaces the section: no stale entry is left behind.
        CRecentFiles shorter;
        shorter.Add(QStringLiteral("/w/only.bjpx"));
        QVERIFY(shorter.Save(store));
        loaded.Load(store);
        QCOMPARE(loaded.Entries(), QStringList({QStringLiteral("/w/only.bjpx")}));
    }

    void workFoldersUnderTheDataFolder()
    {
        QTemporaryDir dir;
        const WorkFolders folders = MakeWorkFolders(dir.path(), 1234);
        const QRegularExpression pattern(QRegularExpression::escape(dir.path()) +
                                         QStringLiteral("/temp/[0-9A-F]{4}/$"));
        QVERIFY2(pattern.match(folders.work).hasMatch(), qPrintable(folders.work));
        QCOMPARE(folders.convert, dir.path() + QStringLiteral("/DataConvert/"));
        QVERIFY(QFileInfo(folders.work).isDir());
        QVERIFY(QFileInfo(folders.convert).isDir());
        QCOMPARE(WorkFolderName(1234), WorkFolderName(1234));
        // Different seeds usually give different folders (these two do).
        QVERIFY(WorkFolderName(1) != WorkFolderName(2));
    }

    void accessPaneRules_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("modeConvertTo");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("width");
        QTest::newRow("empty") << QString() << 0 << QString() << 0;
        QTest::newRow("title") << QStringLiteral("本社") << 0 << QStringLiteral("本社") << 54;
        QTest::newRow("test server")
            << QStringLiteral("本社") << 1 << QStringLiteral("テスト用ローカルサーバ") << 162;
        // The pane is sized for what it shows, also without an access title.
        QTest::newRow("test server without title")
            << QString() << 2 << QStringLiteral("テスト用ローカルサーバ") << 162;
    }

    void accessPaneRules()
    {
        QFETCH(QString, title);
        QFETCH(int, modeConvertTo);
        QFETCH(QString, shown);
        QFETCH(int, width);
        const QString text = AccessPaneText(title, modeConvertTo);
        QCOMPARE(text, shown);
        QCOMPARE(AccessPaneWidth(text), width);
    }

    void fileAssociationIsInstalledAndAnnounced()
    {
        QTemporaryDir dir;
        QStringList calls;
        const ToolRunner recorder = [&calls](const QString &tool, const QStringList &args) {
            calls.append(tool + u' ' + args.join(u' '));
            return false; // a failing tool changes nothing
        };
        const QString program = QStringLiteral("/opt/Orin Edit/orinedit");
        QVERIFY(InstallFileAssociation(program, dir.path(), recorder));

        const QString desktop = QString::fromUtf8(test::ReadBytes(
            dir.filePath(QStringLiteral("applications/orinedit.desktop"))));
        QVERIFY(desktop.contains(QStringLiteral("Exec=\"/opt/Orin Edit/orinedit\" %f\n")));
        QVERIFY(desktop.contains(QStringLiteral("MimeType=application/x-orinedit-project;\n")));
        const QString mime = QString::fromUtf8(test::ReadBytes(
            dir.filePath(QStringLiteral("mime/packages/orinedit-bjpx.xml"))));
        QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.bjpx\"/>")));
        QVERIFY(mime.contains(QStringLiteral("EditHTMLファイル")));
        QCOMPARE(calls, QStringList({
                            QStringLiteral("update-mime-database ") + dir.path() +
                                QStringLiteral("/mime"),
                            QStringLiteral("update-desktop-database ") + dir.path() +
                                QStringLiteral("/applications"),
                            QStringLiteral("xdg-mime default orinedit.desktop "
                                           "application/x-orinedit-project"),
                        }));

        // A data folder that cannot be made fails without running any tool.
        const QString blocker = dir.filePath(QStringLiteral("file"));
        QFile block(blocker);
        QVERIFY(block.open(QIODevice::WriteOnly));
        block.close();
        calls.clear();
        QVERIFY(!InstallFileAssociation(program, blocker, recorder));
        QVERIFY(calls.isEmpty());
    }

    void desktopExecQuoting_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain") << QStringLiteral("/usr/bin/orinedit")
                               << QStringLiteral("/usr/bin/orinedit %f");
        QTest::newRow("blank") << QStringLiteral("/a b/orinedit")
                               << QStringLiteral("\"/a b/orinedit\" %f");
        QTest::newRow("dollar") << QStringLiteral("/a$b/x")
                                << QStringLiteral("\"/a\\\\$b/x\" %f");
        QTest::newRow("percent") << QStringLiteral("/100%/x") << QStringLiteral("/100%%/x %f");
    }

    void desktopExecQuoting()
    {
        QFETCH(QString, program);
        QFETCH(QString, exec);
        QCOMPARE(DesktopExecLine(program), exec);
    }

    void packagingFilesMatchWhatTheProgramInstalls()
    {
        const QString packaging = (SourceDir() + QStringLiteral("/packaging/"));
        QCOMPARE(QString::fromUtf8(test::ReadBytes(packaging + kDesktopFileName)),
                 DesktopEntryText(QStringLiteral("orinedit"), 4));
        QCOMPARE(QString::fromUtf8(test::ReadBytes(packaging + kMimeFileName)), MimePackageText(4));
    }

    void helpDocumentIsBesideTheProgram()
    {
        QCOMPARE(HelpDocumentPath(QStringLiteral("/opt/orin")),
                 QStringLiteral("/opt/orin/docs/help.html"));
        // The build copies docs/ next to the programs.
        const QString built = HelpDocumentPath(BinDir());
        QVERIFY2(QFileInfo::exists(built), qPrintable(built));
        const QString text = QString::fromUtf8(test::ReadBytes(built));
        QVERIFY(text.contains(QStringLiteral("ポータブル保存")));
        QVERIFY(!OpenHelpDocument(QStringLiteral("/nonexistent-folder")));
    }

    void qtFilterKeepsTheTextAndListsThePatterns()
    {
        FileDialogRequest request;
        request.filterText = QStringLiteral("bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)");
        request.filterPatterns = {QStringLiteral("*.bjpx"), QStringLiteral("*.bjp")};
        QCOMPARE(CQtPrompt::QtNameFilter(request), QStringLiteral("bjpx,bjpﾌｧｲﾙ (*.bjpx *.bjp)"));
    }

    void aboutBoxTexts()
    {
        CAboutDialog dialog(4);
        QCOMPARE(dialog.Texts(), QStringList({QStringLiteral("OrinEditHTML"),
                                              QStringLiteral("OrinEditContents"),
                                              QStringLiteral("ver. ") +
                                                  QLatin1String(kVersion)}));
        QCOMPARE(CAboutDialog(2).Texts().first(), QStringLiteral("OrinEditContentsWeb"));
    }
};

ORIN_TEST_CLASS(TestShellParts)
#include "tst_shell_parts.moc"
