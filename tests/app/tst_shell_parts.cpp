// SPDX-License-Identifier: MIT
// The small parts of the application shell: recent files, work folders, file association,
// help document, about box, status pane rules.
#include "test_paths.h"
#include "test_registry.h"

#include "app/about_dialog.h"
#include "settings/edition_info.h"
#include "app/file_association.h"
#include "app/help_document.h"
#include "app/program_files.h"
#include "settings/ini_store.h"
#include "app/qt_prompt.h"
#include "document/recent_files.h"
#include "app/status_panes.h"
#include "document/work_folders.h"
#include "settings/path_store.h"
#include "prompt_fixtures.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTextBrowser>
#include <QUrl>
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

    void recentFilesComeBackExactly()
    {
        QTemporaryDir dir;
        CIniStore store(dir.filePath(QStringLiteral("s.ini")));
        CPathStore paths(PathStoreFilePath(store.Path()));
        QVERIFY(store.WriteInt(QStringLiteral("Config"), QStringLiteral("w_left"), 7));
        CRecentFiles recent;
        const QString longPath = u'/' + QString(300, u'a') + QStringLiteral("/長い名前.bjpx");
        const QString accents = QStringLiteral("/home/op/café/Ærø news.bjpx");
        const QString lineBreak = QStringLiteral("/home/op/two\nlines.bjp");
        recent.Add(QStringLiteral("/w/old.bjp"));
        recent.Add(lineBreak);
        recent.Add(longPath);
        recent.Add(accents);
        QVERIFY(recent.Save(store, paths));

        CRecentFiles loaded;
        loaded.Load(store, paths);
        QCOMPARE(loaded.Entries(),
                 QStringList({accents, longPath, lineBreak, QStringLiteral("/w/old.bjp")}));
        // The settings of the Config section are left alone.
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("w_left"), 0), 7);

        // A shorter list replaces the old one: no stale entry is left behind.
        CRecentFiles shorter;
        shorter.Add(QStringLiteral("/w/only.bjpx"));
        QVERIFY(shorter.Save(store, paths));
        loaded.Load(store, paths);
        QCOMPARE(loaded.Entries(), QStringList({QStringLiteral("/w/only.bjpx")}));
    }

    void recentFilesOfTheOldSectionAreTakenOver()
    {
        QTemporaryDir dir;
        const QString iniPath = dir.filePath(QStringLiteral("s.ini"));
        QVERIFY(test::WriteBytes(iniPath, "[Config]\nw_left=7\n[Recent File List]\n"
                                          "File1=/w/b.bjpx\nFile2=\nFile3=/w/a.bjp\n"));
        CIniStore store(iniPath);
        CPathStore paths(PathStoreFilePath(iniPath));
        CRecentFiles recent;
        recent.Load(store, paths);
        QCOMPARE(recent.Entries(),
                 QStringList({QStringLiteral("/w/b.bjpx"), QStringLiteral("/w/a.bjp")}));

        // Once the path file holds the list, the old section goes.
        QVERIFY(recent.Save(store, paths));
        QVERIFY(store.GetSection(kRecentFileSection).isEmpty());
        QCOMPARE(store.GetInt(QStringLiteral("Config"), QStringLiteral("w_left"), 0), 7);
        CRecentFiles again;
        again.Load(store, paths);
        QCOMPARE(again.Entries(), recent.Entries());

        // A damaged path file is no list: the old section (gone now) would be read instead.
        QVERIFY(test::WriteBytes(paths.Path(), "{ not json"));
        again.Load(store, paths);
        QCOMPARE(again.Count(), 0);
        QVERIFY(recent.Save(store, paths));
        again.Load(store, paths);
        QCOMPARE(again.Entries(), recent.Entries());
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

        // A second run with the same seed gets a folder of its own.
        const WorkFolders second = MakeWorkFolders(dir.path(), 1234);
        QVERIFY(second.work != folders.work);
        QVERIFY2(pattern.match(second.work).hasMatch(), qPrintable(second.work));
        QVERIFY(QFileInfo(second.work).isDir());

        // The end of the run removes its work folder with what is in it, and only that.
        QVERIFY(test::WriteBytes(second.work + QStringLiteral("copy.jpg"), "jpeg"));
        QVERIFY(QDir().mkpath(second.work + QStringLiteral("server")));
        QVERIFY(RemoveWorkFolder(second));
        QVERIFY(!QFileInfo::exists(second.work));
        QVERIFY(QFileInfo(folders.work).isDir());
        QVERIFY(QFileInfo(folders.convert).isDir());
        QVERIFY(RemoveWorkFolder(second)); // already gone
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
        QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.bjp\"/>")));
        QVERIFY(mime.contains(QStringLiteral("EditHTMLファイル")));
        QVERIFY(desktop.contains(QStringLiteral("\nIcon=orinedit\n")));
        // The icon the entry names is there, as the program's own pictures.
        const std::pair<const char *, const char *> icons[] = {
            {"icons/hicolor/scalable/apps/orinedit.svg", "orinedit.svg"},
            {"icons/hicolor/256x256/apps/orinedit.png", "orinedit-256.png"},
            {"icons/hicolor/48x48/apps/orinedit.png", "orinedit-48.png"},
        };
        for (const auto &[installed, source] : icons) {
            const QByteArray bytes = test::ReadBytes(dir.filePath(QLatin1String(installed)));
            QVERIFY2(!bytes.isEmpty(), installed);
            QCOMPARE(bytes, test::ReadBytes(SourceDir() + QStringLiteral("/packaging/icons/")
                                            + QLatin1String(source)));
        }
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

    // The guide and the sample are found beside the programs (a build folder) or under the
    // prefix the package was unpacked into, wherever that prefix is.
    void programFilesAreFoundWhereverTheProgramIs_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("help");
        QTest::addColumn<QString>("sample");
        const QString besideHelp = QStringLiteral("bin/docs/help.html");
        const QString besideSample = QStringLiteral("bin/examples/sample.bjpx");
        const QString installedHelp = QStringLiteral("share/doc/orinedit/help.html");
        const QString installedSample = QStringLiteral("share/orinedit/examples/sample.bjpx");
        QTest::newRow("build folder") << QStringList{besideHelp, besideSample} << besideHelp
                                      << besideSample;
        QTest::newRow("installed prefix") << QStringList{installedHelp, installedSample}
                                          << installedHelp << installedSample;
        QTest::newRow("both: the build's own") << QStringList{besideHelp, installedHelp}
                                               << besideHelp << QString();
        QTest::newRow("neither") << QStringList{} << besideHelp << QString();
    }

    void programFilesAreFoundWhereverTheProgramIs()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, help);
        QFETCH(QString, sample);
        QTemporaryDir dir;
        const QString prefix = dir.filePath(QStringLiteral("some/relocated/prefix/"));
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("bin")));
        for (const QString &file : files) {
            QVERIFY(QDir().mkpath(QFileInfo(prefix + file).path()));
            QFile out(prefix + file);
            QVERIFY(out.open(QIODevice::WriteOnly));
        }
        const QString appFolder = prefix + QStringLiteral("bin/");
        QCOMPARE(HelpDocumentPath(appFolder), prefix + help);
        QCOMPARE(SampleProjectPath(appFolder), sample.isEmpty() ? QString() : prefix + sample);
    }

    void helpWithoutABrowserShowsItsOwnWindow()
    {
        QWidget frame;
        QList<QUrl> asked;
        const UrlOpener noBrowser = [&asked](const QUrl &url) {
            asked.append(url);
            return false;
        };
        QTextBrowser *window = ShowHelpDocument(BinDir(), &frame, noBrowser);
        QVERIFY(window);
        QCOMPARE(asked, QList<QUrl>({QUrl::fromLocalFile(HelpDocumentPath(BinDir()))}));
        QVERIFY(window->isVisible());
        QVERIFY(window->isWindow());
        QCOMPARE(window->source(), asked.first());
        QVERIFY(window->toPlainText().contains(QStringLiteral("ポータブル保存")));
        // The command again raises the same window.
        QCOMPARE(ShowHelpDocument(BinDir(), &frame, noBrowser), window);

        // A browser that starts takes the guide; a missing guide asks nobody.
        const UrlOpener browser = [&asked](const QUrl &url) {
            asked.append(url);
            return true;
        };
        QCOMPARE(ShowHelpDocument(BinDir(), &frame, browser), nullptr);
        QCOMPARE(asked.size(), 3);
        QCOMPARE(ShowHelpDocument(QStringLiteral("/nonexistent-folder"), &frame, noBrowser),
                 nullptr);
        QCOMPARE(asked.size(), 3);
    }

    void openDialogTakesANameWithoutExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opened");
        // (A name of no project is refused by Qt's dialog with a message of its own.)
        QTest::newRow("bare name") << QStringLiteral("news") << QStringLiteral("news.bjpx");
        QTest::newRow("with extension") << QStringLiteral("news.bjpx")
                                        << QStringLiteral("news.bjpx");
        QTest::newRow("dotted name") << QStringLiteral("my.news") << QStringLiteral("my.news.bjpx");
    }

    void openDialogTakesANameWithoutExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, opened);
        QTemporaryDir dir;
        QVERIFY(test::WriteBytes(dir.filePath(QStringLiteral("news.bjpx")), "x"));
        QVERIFY(test::WriteBytes(dir.filePath(QStringLiteral("my.news.bjpx")), "x"));
        FileDialogRequest request;
        request.kind = FileDialogKind::Open;
        request.filterText = QStringLiteral("bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)");
        request.filterPatterns = {QStringLiteral("*.bjpx"), QStringLiteral("*.bjp")};
        request.startFolder = dir.path();
        const std::unique_ptr<QFileDialog> dialog = CQtPrompt::MakeFileDialog(request, nullptr);
        dialog->show();
        auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameEdit);
        nameEdit->setText(typed);
        // A refusal would come as a modal message of Qt's dialog; it must not stop the test.
        QTimer::singleShot(3000, dialog.get(), [] {
            if (QWidget *modal = QApplication::activeModalWidget())
                modal->close();
        });
        QTest::keyClick(nameEdit, Qt::Key_Return);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->selectedFiles(), QStringList({dir.filePath(opened)}));
    }

    void saveDialogStartsWithTheGivenFile()
    {
        QTemporaryDir dir;
        FileDialogRequest request;
        request.kind = FileDialogKind::Save;
        request.filterText = QStringLiteral("bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)");
        request.filterPatterns = {QStringLiteral("*.bjpx"), QStringLiteral("*.bjp")};
        request.startFolder = QStringLiteral("/elsewhere");
        request.startFile = dir.filePath(QStringLiteral("news.bjpx"));
        const std::unique_ptr<QFileDialog> dialog = CQtPrompt::MakeFileDialog(request, nullptr);
        QCOMPARE(dialog->directory().absolutePath(), dir.path());
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text(),
                 QStringLiteral("news.bjpx"));
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
