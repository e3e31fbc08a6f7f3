// SPDX-License-Identifier: MIT
// The rules of the main window that need no window: the close sequence and what it writes,
// the current page index and the design toggle, the transmission refusal by edition, and the
// start name of the Save As dialog.
#include "test_registry.h"

#include "document/close_sequence.h"
#include "document/document.h"
#include "document/lib_bmlts.h"
#include "document/page_selection.h"
#include "document/recent_files.h"
#include "document/transmission_refusal.h"
#include "images/load_services.h"
#include "prompt_fixtures.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"
#include "settings/path_store.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

struct CloseFixture {
    QTemporaryDir dir;
    CContentModel model;
    CScriptedPrompt prompt;
    CRecentFiles recent;
    CDocument document{model, prompt, recent, StandardLoadServices(), 4};
    CIniStore ini{dir.filePath(QStringLiteral("OrinEditHTML.ini"))};
    CPathStore paths{PathStoreFilePath(ini.Path())};
    AppSettings settings;
    std::unique_ptr<CLibBMLTS> library = std::make_unique<CLibBMLTS>();

    bool Close(const WindowLayout &layout)
    {
        return RunCloseSequence(document, settings, layout, QStringLiteral("/img/éte/"), library,
                                {ini, paths, recent});
    }
};

const WindowLayout kLayout{QRect(30, 40, 1000, 650), QSize(160, 90), 210};

} // namespace

class TestShellRules : public QObject {
    Q_OBJECT

private slots:
    void closeWithNoWritesNothing()
    {
        CloseFixture f;
        f.document.SetModified();
        f.prompt.answers = {PromptAnswer::No};
        QVERIFY(!f.Close(kLayout));
        QCOMPARE(f.prompt.Messages(), QStringList({QStringLiteral("ファイルを破棄しますか？")}));
        QVERIFY(!QFile::exists(f.ini.Path()));
        QVERIFY(!QFile::exists(f.paths.Path()));
        QVERIFY(f.library);
        QCOMPARE(f.settings.w_width, 800);
    }

    void closeWritesLayoutFoldersCountersAndRecentFiles()
    {
        CloseFixture f;
        const QString project = f.dir.filePath(QStringLiteral("café/news.bjpx"));
        QVERIFY(QDir().mkpath(f.dir.filePath(QStringLiteral("café"))));
        QVERIFY(test::WriteProject(project, 1));
        QVERIFY(f.document.OpenProjectFile(project));
        f.document.SetPortableFolder(QStringLiteral("/port/ø/"));
        f.library->m_dataEventId = 9;
        f.library->m_versionEvent = 11;
        f.settings.Version = 3;

        QVERIFY(f.Close(kLayout)); // not modified: no question
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(!f.library);

        const QString config = QString(kConfigSection);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("w_left"), 0), 30);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("w_top"), 0), 40);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("w_width"), 0), 1000);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("w_height"), 0), 650);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("thumb_width"), 0), 160);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("thumb_height"), 0), 90);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("listwidth"), 0), 210);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("Version"), 0), 3);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("data_event_id"), 0), 9);
        QCOMPARE(f.ini.GetInt(config, QStringLiteral("VersionEvent"), 0), 11);

        // The folders and the recent list come back with every character.
        AppSettings read = LoadSettings(f.ini, f.dir.path(), QRect(), 4);
        RestoreExactFolders(read, f.paths);
        QCOMPARE(read.DefaultFileDir, f.dir.filePath(QStringLiteral("café")) + u'/');
        QCOMPARE(read.PortableDir, QStringLiteral("/port/ø/"));
        QCOMPARE(read.ImageDir, QStringLiteral("/img/éte/"));
        CRecentFiles recent;
        recent.Load(f.ini, f.paths);
        QCOMPARE(recent.Entries(), QStringList({project}));
    }

    void pageSelection()
    {
        CPageSelection selection;
        QCOMPARE(selection.Index(), -1);
        QVERIFY(!selection.Select(0, 0));
        QVERIFY(!selection.Select(-1, 3));
        QVERIFY(!selection.Select(3, 3));
        QCOMPARE(selection.Index(), -1);
        QVERIFY(selection.Select(2, 3));
        QCOMPARE(selection.Index(), 2);

        // A page before the current one goes: the index follows its page.
        selection.PageRemoved(0, 2);
        QCOMPARE(selection.Index(), 1);
        // A later page goes: nothing changes.
        QVERIFY(selection.Select(0, 2));
        selection.PageRemoved(1, 1);
        QCOMPARE(selection.Index(), 0);
        // The current page goes: none is shown.
        selection.PageRemoved(0, 0);
        QCOMPARE(selection.Index(), -1);
        QVERIFY(selection.Select(1, 4));
        selection.Reset();
        QVERIFY(!selection.HasPage());
    }

    void designToggle_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<bool>("design");
        QTest::addColumn<bool>("after");
        QTest::newRow("no page, edit mode") << -1 << false << false;
        QTest::newRow("no page, design mode") << -1 << true << true;
        QTest::newRow("page shown, to design") << 0 << false << true;
        QTest::newRow("page shown, to edit") << 2 << true << false;
    }

    void designToggle()
    {
        QFETCH(int, page);
        QFETCH(bool, design);
        QFETCH(bool, after);
        CPageSelection selection;
        if (page >= 0)
            QVERIFY(selection.Select(page, 3));
        QCOMPARE(DesignModeAfterToggle(selection, design), after);
    }

    void transmissionRefusedByEdition_data()
    {
        QTest::addColumn<int>("edition");
        QTest::addColumn<bool>("refused");
        QTest::newRow("editing only") << 0 << true;
        QTest::newRow("1") << 1 << false;
        QTest::newRow("web") << 2 << false;
        QTest::newRow("online") << 3 << false;
        QTest::newRow("HTML") << 4 << true;
    }

    void transmissionRefusedByEdition()
    {
        QFETCH(int, edition);
        QFETCH(bool, refused);
        CScriptedPrompt prompt;
        QCOMPARE(RefuseTransmission(prompt, edition), refused);
        QCOMPARE(prompt.records.size(), refused ? 1 : 0);
        if (refused) {
            QCOMPARE(prompt.records.first().text,
                     QStringLiteral("本アプリケーションはデータを伝送できません"));
            QCOMPARE(prompt.records.first().caption, QStringLiteral("ERROR"));
            QCOMPARE(prompt.records.first().buttons, PromptButtons::Ok);
        }
    }

    void saveAsStartsWithTheCurrentFile()
    {
        CloseFixture f;
        f.prompt.fileNames = {QString(), QString()};
        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.records.last().request.startFile, QString());
        const QString project = f.dir.filePath(QStringLiteral("news.bjpx"));
        QVERIFY(test::WriteProject(project, 1));
        QVERIFY(f.document.OpenProjectFile(project));
        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.records.last().request.startFile, project);
        QCOMPARE(f.prompt.records.last().request.kind, FileDialogKind::Save);
    }
};

ORIN_TEST_CLASS(TestShellRules)
#include "tst_shell_rules.moc"
