// SPDX-License-Identifier: MIT
// The document commands without a window: open, save, save as, portable save, recent files,
// drops, the close question, the title and the size line.
#include "test_registry.h"

#include "document/document.h"
#include "document/recent_files.h"
#include "prompt_fixtures.h"
#include "images/load_services.h"
#include "model/text_codec.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace orin;
using orin::test::CScriptedPrompt;

namespace {

// A document with its model, prompt and recent list, in a temporary folder.
struct Fixture {
    QTemporaryDir dir;
    CContentModel model;
    CScriptedPrompt prompt;
    CRecentFiles recent;
    CDocument document{model, prompt, recent, StandardLoadServices(), 4};

    QString Path(const QString &name) const { return dir.filePath(name); }
};

} // namespace

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    void extensionRule_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("result");
        QTest::newRow("no extension") << "/w/news" << "/w/news.bjpx";
        QTest::newRow(".bjpx") << "/w/news.bjpx" << "/w/news.bjpx";
        QTest::newRow(".BJPX") << "/w/news.BJPX" << "/w/news.BJPX";
        QTest::newRow(".bjp") << "/w/news.bjp" << "/w/news.bjp";
        QTest::newRow(".BJP") << "/w/News.BJP" << "/w/News.BJP";
        QTest::newRow("mixed case is not one of the four") << "/w/a.Bjpx" << "/w/a.Bjpx.bjpx";
        QTest::newRow("other extension") << "/w/a.txt" << "/w/a.txt.bjpx";
    }

    void extensionRule()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, result);
        QCOMPARE(ApplyExtensionRule(chosen), result);
    }

    void openShowsTitleSizesAndDialogTexts()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("news.bjpx")), 3));
        f.document.SetProjectFolder(f.dir.path() + u'/');
        f.document.SetModified();
        f.prompt.answers = {PromptAnswer::No};
        f.prompt.fileNames = {f.Path(QStringLiteral("news"))};
        QSignalSpy opened(&f.document, &CDocument::ProjectOpened);

        QVERIFY(f.document.Open());

        QCOMPARE(f.prompt.records.size(), 2);
        const FileDialogRequest &request = f.prompt.records.at(0).request;
        QCOMPARE(request.kind, FileDialogKind::Open);
        QCOMPARE(request.title, QStringLiteral("BJPXファイルの読み込み"));
        QCOMPARE(request.filterText, QStringLiteral("bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)"));
        QCOMPARE(request.filterPatterns, QStringList({QStringLiteral("*.bjpx"), QStringLiteral("*.bjp")}));
        QCOMPARE(request.startFolder, f.dir.path() + u'/');
        QVERIFY(request.fileMustExist);
        QVERIFY(request.hideReadOnly);
        QCOMPARE(f.prompt.records.at(1).text, QStringLiteral("編集中のデータをセーブしますか？"));
        QCOMPARE(f.prompt.records.at(1).caption, QStringLiteral("警告"));
        QCOMPARE(f.prompt.records.at(1).buttons, PromptButtons::YesNo);

        // "news" chosen without an extension opens news.bjpx.
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("news.bjpx")));
        QCOMPARE(f.document.ProjectFolder(), f.dir.path() + u'/');
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - news.bjpx"));
        QVERIFY(!f.document.IsModified());
        QCOMPARE(f.model.pages.Count(), 3);
        QCOMPARE(f.document.PngPaneText(), QStringLiteral(" D"));
        QCOMPARE(f.document.SizeLine(), QStringLiteral("0.00/97.67 M"));
        QCOMPARE(f.recent.At(0), f.Path(QStringLiteral("news.bjpx")));
        QCOMPARE(opened.count(), 1);
    }

    void sizeLineUsesTheBinaryFormAndTheLoadedLimit()
    {
        Fixture f;
        const QString picture = f.Path(QStringLiteral("big.jpg"));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(1572864));
        file.close();
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("p.bjpx")), 1, picture, 1));
        f.document.SetSizeLimits({20000, 2048, 1730});
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("p.bjpx"))));
        QCOMPARE(f.document.UsedSize(), 1572864);
        QCOMPARE(f.document.SizeLine(), QStringLiteral("1.51/2.00 M"));
        QCOMPARE(f.document.PngPaneText(), QStringLiteral(" H"));

        // The content kind of the loaded project chooses the limit in edition 1.
        CContentModel model;
        CScriptedPrompt prompt;
        CRecentFiles recent;
        CDocument edition1(model, prompt, recent, StandardLoadServices(), 1);
        edition1.SetSizeLimits({20000, 100000, 1730});
        QCOMPARE(edition1.SizeLimit(), 1730);
        QVERIFY(edition1.OpenProjectFile(f.Path(QStringLiteral("p.bjpx"))));
        QCOMPARE(edition1.SizeLimit(), 100000);
    }

    // A file that gives no project changes nothing: the content on screen, the current file,
    // the title, the modified flag, the sizes and the recent files stay as they were. The
    // message names the file and says why.
    void failedOpenChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<bool>("folder");      // a folder of that name instead
        QTest::addColumn<QString>("reason");
        const QString noProject = QString::fromUtf16(kOpenFailedNoProject);
        QTest::newRow("missing file") << QStringLiteral("missing.bjpx") << QByteArray() << false << QString::fromUtf16(kOpenFailedMissing);
        QTest::newRow("a folder") << QStringLiteral("folder.bjpx") << QByteArray() << true << QString::fromUtf16(kOpenFailedFolder);
        QTest::newRow("empty file") << QStringLiteral("empty.bjpx") << QByteArray("") << false << noProject;
        QTest::newRow("random bytes") << QStringLiteral("noise.bjp") << QByteArray("\x93\xfa\x01\x02 no markup \xff") << false << noProject;
        QTest::newRow("another kind of file") << QStringLiteral("notes.bjpx") << EncodeUnicodeTextFile(QStringLiteral("just a note\n")) << false << noProject;
        QTest::newRow("other extension") << QStringLiteral("x.txt") << QByteArray("<BMLCAST></BMLCAST>") << false << QString::fromUtf16(kOpenFailedNotProjectName);
    }
    void failedOpenChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 2, QString(), 1));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.model.pages.Add(std::make_unique<CMyProgramInfo>());
        f.document.SetModified();
        const QString path = f.Path(name);
        if (!bytes.isNull())
            QVERIFY(test::WriteBytes(path, bytes));
        if (folder)
            QVERIFY(QDir().mkpath(path));
        const QString sizeLine = f.document.SizeLine();
        f.prompt.Clear();
        f.prompt.answers = {PromptAnswer::No};
        QSignalSpy opened(&f.document, &CDocument::ProjectOpened);

        QVERIFY(!f.document.OpenProjectFile(path));
        QCOMPARE(f.prompt.Messages().last(),
                 QStringLiteral("ファイルがオープンできません\n") + path + u'\n' + reason);
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QCOMPARE(f.model.pages.Count(), 3);
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - a.bjpx*"));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.SizeLine(), sizeLine);
        QCOMPARE(f.document.PngPaneText(), QStringLiteral(" H"));
        QCOMPARE(f.recent.Entries(), QStringList{f.Path(QStringLiteral("a.bjpx"))});
        QCOMPARE(opened.count(), 0);
        if (!bytes.isNull())
            QCOMPARE(test::ReadBytes(path), bytes);

        // The next Save still goes to the project that is open.
        f.prompt.Clear();
        QVERIFY(f.document.Save());
        QVERIFY(f.prompt.records.isEmpty());
        QVERIFY(!QFile::exists(path + QStringLiteral(".bak")));
    }

    // A file with only part of a project shows what could be read and warns; it has no current
    // path then, so Save asks for a new name and the damaged file is never written over.
    void damagedFileIsShownButNeverSavedOver_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("pages");
        CContentModel model;
        for (int i = 1; i <= 3; ++i) {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = i;
            model.pages.Add(std::move(page));
        }
        const QString full = ComposeProject(model, SaveMode::Plain, QString(), ProgramSettings());
        const qsizetype secondEnd = full.indexOf(QStringLiteral("</BMLJPEG>"), full.indexOf(QStringLiteral("<BMLJPEG id=\"2\""))) + 10;
        QTest::newRow("cut short") << full.left(secondEnd + 3) << 2;
        QTest::newRow("another root") << QStringLiteral("<PROJECT><Program><BMLJPEG id=\"4\"/></Program></PROJECT>") << 1;
        // A stray "<" swallows the start tag of page 2: the reader would skip that page.
        QTest::newRow("stray < before a page") << QString(full).insert(full.indexOf(QStringLiteral("<BMLJPEG id=\"2\"")), u'<') << 2;
        QTest::newRow("end tag without its start") << QString(full).insert(full.indexOf(QStringLiteral("</Program>")), QStringLiteral("</Item>")) << 3;
        QString crowded = full;
        QString items;
        for (int i = 1; i <= kItemSlots + 1; ++i)
            items += QStringLiteral("<Item id=\"%1\"></Item>").arg(i);
        const qsizetype firstItems = crowded.indexOf(QStringLiteral("<Items Num=\"0\">")) + 15;
        crowded.insert(firstItems, items);
        QTest::newRow("more items than a page holds") << crowded << 3;
    }
    void damagedFileIsShownButNeverSavedOver()
    {
        QFETCH(QString, text);
        QFETCH(int, pages);
        Fixture f;
        const QString damaged = f.Path(QStringLiteral("damaged.bjpx"));
        const QByteArray bytes = EncodeUnicodeTextFile(text);
        QVERIFY(test::WriteBytes(damaged, bytes));
        QSignalSpy opened(&f.document, &CDocument::ProjectOpened);

        QVERIFY(f.document.OpenProjectFile(damaged));
        QCOMPARE(opened.count(), 1);
        QCOMPARE(f.model.pages.Count(), pages);
        QCOMPARE(f.prompt.records.size(), 1);
        QCOMPARE(f.prompt.records.last().text, QString::fromUtf16(kDamagedFileWarning));
        QVERIFY(f.prompt.records.last().text.contains(QStringLiteral("破損")));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QCOMPARE(f.document.CurrentPath(), QString());
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML"));
        QCOMPARE(f.document.ProjectFolder(), f.dir.path() + u'/');
        QVERIFY(f.recent.Entries().isEmpty());

        // Save asks for a name; the damaged file and its folder keep what they had.
        f.prompt.Clear();
        f.prompt.fileNames = {f.Path(QStringLiteral("rescued"))};
        QVERIFY(f.document.Save());
        QCOMPARE(f.prompt.records.size(), 1);
        QVERIFY(f.prompt.records.first().fileDialog);
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("rescued.bjpx")));
        QCOMPARE(test::ReadBytes(damaged), bytes);
        QVERIFY(!QFile::exists(damaged + QStringLiteral(".bak")));
        CContentModel reread;
        ProgramSettings settings;
        qint64 used = 0;
        ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
        QVERIFY(LoadProject(f.Path(QStringLiteral("rescued.bjpx")), true, settings, used, reread,
                            StandardLoadServices(), &integrity));
        QCOMPARE(integrity, ProjectIntegrity::Complete);
        QCOMPARE(reread.pages.Count(), pages);

        // Save As onto the damaged file is refused, with or without its extension typed; the
        // saves that follow never touch it either (nor make it a .bak).
        f.prompt.Clear();
        f.prompt.fileNames = {damaged, f.Path(QStringLiteral("damaged"))};
        QVERIFY(!f.document.SaveAs());
        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.Messages(),
                 QStringList(2, QStringLiteral("damaged.bjpx は破損したファイルのため、上書きできません。\n別の名前で保存してください。")));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QCOMPARE(f.prompt.unexpected, 0);
        QVERIFY(f.document.Save());
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("rescued.bjpx")));
        QCOMPARE(test::ReadBytes(damaged), bytes);
        QVERIFY(!QFile::exists(damaged + QStringLiteral(".bak")));
    }

    // Save As and the first Save ask before they replace a file; No, the default, keeps it.
    void saveOntoAnExistingFileAsksFirst()
    {
        Fixture f;
        const QString a = f.Path(QStringLiteral("a.bjpx"));
        const QString b = f.Path(QStringLiteral("b.bjpx"));
        QVERIFY(test::WriteProject(a, 1));
        QVERIFY(test::WriteProject(b, 2));
        const QByteArray bBytes = test::ReadBytes(b);
        QVERIFY(f.document.OpenProjectFile(a));
        f.document.SetModified();

        f.prompt.fileNames = {f.Path(QStringLiteral("b"))};
        f.prompt.answers = {PromptAnswer::No};
        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("b.bjpx は既に存在します。\n上書きしますか？")});
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QCOMPARE(f.prompt.records.last().buttons, PromptButtons::YesNoDefaultNo);
        QCOMPARE(test::ReadBytes(b), bBytes);
        QVERIFY(!QFile::exists(b + QStringLiteral(".bak")));
        QCOMPARE(f.document.CurrentPath(), a);
        QVERIFY(f.document.IsModified());

        f.prompt.Clear();
        f.prompt.fileNames = {b};
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.document.SaveAs());
        QCOMPARE(f.document.CurrentPath(), b);
        QCOMPARE(test::ReadBytes(b + QStringLiteral(".bak")), bBytes);
        QVERIFY(!f.document.IsModified());

        // A new name is not asked about; neither is the current file, by Save As or Save.
        f.prompt.Clear();
        f.prompt.fileNames = {f.Path(QStringLiteral("c.bjpx")), f.Path(QStringLiteral("c"))};
        QVERIFY(f.document.SaveAs());
        QVERIFY(f.document.SaveAs());
        QVERIFY(f.document.Save());
        QCOMPARE(f.prompt.Messages(), QStringList());
        QCOMPARE(f.prompt.unexpected, 0);
    }

    void saveOntoAFolderTouchesNothing()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.document.SetModified();
        QVERIFY(test::WriteBytes(f.Path(QStringLiteral("d.bjpx/inside.txt")), "kept"));
        f.prompt.fileNames = {f.Path(QStringLiteral("d"))};

        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.Messages().size(), 1);
        QVERIFY2(f.prompt.Messages().first().contains(QString::fromLocal8Bit(strerror(EISDIR))),
                 qPrintable(f.prompt.Messages().first()));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QVERIFY(QFileInfo(f.Path(QStringLiteral("d.bjpx"))).isDir());
        QCOMPARE(test::ReadBytes(f.Path(QStringLiteral("d.bjpx/inside.txt"))), QByteArray("kept"));
        QVERIFY(!QFileInfo::exists(f.Path(QStringLiteral("d.bjpx.bak"))));
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QVERIFY(f.document.IsModified());
    }

    void openWhileModified_data()
    {
        QTest::addColumn<bool>("hasPath");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveName"); // the name given to the save dialog
        QTest::addColumn<bool>("opens");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes saves to its own file first") << true << int(PromptAnswer::Yes)
                                                          << QString() << true << true;
        QTest::newRow("no opens without saving") << true << int(PromptAnswer::No) << QString()
                                                 << true << false;
        QTest::newRow("yes without a name asks for one") << false << int(PromptAnswer::Yes)
                                                          << "first" << true << true;
        QTest::newRow("yes, then the save dialog is cancelled") << false << int(PromptAnswer::Yes)
                                                                 << "" << false << false;
    }

    void openWhileModified()
    {
        QFETCH(bool, hasPath);
        QFETCH(int, answer);
        QFETCH(QString, saveName);
        QFETCH(bool, opens);
        QFETCH(bool, saved);

        Fixture f;
        const QString current = f.Path(QStringLiteral("first.bjpx"));
        const QString next = f.Path(QStringLiteral("next.bjpx"));
        QVERIFY(test::WriteProject(next, 1));
        if (hasPath) {
            QVERIFY(test::WriteProject(current, 2));
            QVERIFY(f.document.OpenProjectFile(current));
        } else {
            auto page = std::make_unique<CMyProgramInfo>();
            page->id = 7;
            f.model.pages.Add(std::move(page));
            page = std::make_unique<CMyProgramInfo>();
            page->id = 8;
            f.model.pages.Add(std::move(page));
        }
        // The edit that is waiting to be saved: a third page.
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 9;
        f.model.pages.Add(std::move(page));
        f.document.SetModified();
        f.prompt.Clear();
        f.prompt.answers = {PromptAnswer(answer)};
        if (!hasPath)
            f.prompt.fileNames = {saveName.isEmpty() ? QString() : f.Path(saveName)};

        QCOMPARE(f.document.OpenProjectFile(next), opens);
        QCOMPARE(f.prompt.unexpected, 0);
        if (!hasPath && answer == int(PromptAnswer::Yes))
            QCOMPARE(f.prompt.records.at(1).request.title, QStringLiteral("BJPXファイルの読み込み"));
        if (opens) {
            QCOMPARE(f.document.CurrentPath(), next);
            QCOMPARE(f.model.pages.Count(), 1);
        } else {
            QCOMPARE(f.document.CurrentPath(), QString());
            QCOMPARE(f.model.pages.Count(), 3);
            QVERIFY(f.document.IsModified());
            QVERIFY(f.document.Title().endsWith(u'*'));
        }
        // What the first project's file holds now.
        CContentModel reread;
        ProgramSettings settings;
        qint64 used = 0;
        const bool exists = LoadProject(current, true, settings, used, reread,
                                        StandardLoadServices());
        if (saved) {
            QVERIFY(exists);
            QCOMPARE(reread.pages.Count(), 3);
        } else if (hasPath) {
            QCOMPARE(reread.pages.Count(), 2);
        } else {
            QVERIFY(!exists);
        }
    }

    void saveWithoutAPathAsksForAName()
    {
        Fixture f;
        auto page = std::make_unique<CMyProgramInfo>();
        page->id = 1;
        f.model.pages.Add(std::move(page));
        f.document.SetModified();
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML*"));

        f.prompt.fileNames = {QString()};
        QVERIFY(!f.document.Save());
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML*"));

        // News.BJP is kept as typed and written in code page 932 (no byte-order mark).
        f.prompt.fileNames = {f.Path(QStringLiteral("News.BJP"))};
        QVERIFY(f.document.Save());
        const test::CScriptedPrompt::Record &dialog = f.prompt.records.last();
        QCOMPARE(dialog.request.kind, FileDialogKind::Save);
        QCOMPARE(dialog.request.title, QStringLiteral("BJPXファイルの読み込み"));
        QVERIFY(!dialog.request.overwritePrompt);
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("News.BJP")));
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - News.BJP"));
        QVERIFY(!f.document.IsModified());
        const QByteArray bytes = test::ReadBytes(f.Path(QStringLiteral("News.BJP")));
        QVERIFY(bytes.startsWith("<"));
        QCOMPARE(f.recent.At(0), f.Path(QStringLiteral("News.BJP")));

        // The next save asks nothing.
        f.prompt.Clear();
        f.document.SetModified();
        QVERIFY(f.document.Save());
        QVERIFY(f.prompt.records.isEmpty());
    }

    void saveAsReplacesAfterTheQuestion()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 2));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("b.bjpx")), 5));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.document.SetModified();
        f.prompt.fileNames = {f.Path(QStringLiteral("b"))};
        f.prompt.answers = {PromptAnswer::Yes};
        QVERIFY(f.document.SaveAs());
        QCOMPARE(f.prompt.records.first().request.title, QStringLiteral("BJPXファイルの書き込み"));
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("b.bjpx")));
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - b.bjpx"));
        QVERIFY(!f.document.IsModified());
        QCOMPARE(f.prompt.Messages(), QStringList{QStringLiteral("b.bjpx は既に存在します。\n上書きしますか？")});
        // The replaced file is kept as the backup.
        QVERIFY(QFile::exists(f.Path(QStringLiteral("b.bjpx.bak"))));
    }

    void failedSaveKeepsTitleAndModifiedFlag()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.document.SetModified();
        // A file stands where the folder of the new name would be.
        QFile blocker(f.Path(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        f.prompt.fileNames = {f.Path(QStringLiteral("blocker/b.bjpx"))};

        QVERIFY(!f.document.SaveAs());
        QCOMPARE(f.prompt.Messages().size(), 1);
        QVERIFY(!f.prompt.Messages().first().isEmpty());
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - a.bjpx*"));
        QVERIFY(f.document.IsModified());
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QCOMPARE(f.recent.At(0), f.Path(QStringLiteral("a.bjpx")));
    }

    void portableSave()
    {
        Fixture f;
        const QString picture = f.Path(QStringLiteral("pic.jpg"));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("jpeg");
        file.close();
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1, picture));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.document.SetModified();
        QVERIFY(QDir().mkpath(f.Path(QStringLiteral("out"))));

        // Onto the open project's own name: refused, nothing written.
        const QByteArray before = test::ReadBytes(f.Path(QStringLiteral("a.bjpx")));
        f.prompt.fileNames = {f.Path(QStringLiteral("a"))};
        QVERIFY(!f.document.PortableSave());
        QCOMPARE(f.prompt.Messages(), QStringList({QStringLiteral("ポータブル保存の上書き保存はできません")}));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("エラー"));
        QCOMPARE(test::ReadBytes(f.Path(QStringLiteral("a.bjpx"))), before);
        QVERIFY(!QFile::exists(f.Path(QStringLiteral("a.bjpx.bak"))));

        f.prompt.Clear();
        f.prompt.fileNames = {f.Path(QStringLiteral("out/copy"))};
        QVERIFY(f.document.PortableSave());
        QCOMPARE(f.prompt.records.first().request.title,
                 QStringLiteral("BJPXファイルのポータブル保存"));
        QVERIFY(QFile::exists(f.Path(QStringLiteral("out/copy.bjpx"))));
        QVERIFY(QFile::exists(f.Path(QStringLiteral("out/copy./pic.jpg"))));
        QCOMPARE(f.document.PortableFolder(), f.Path(QStringLiteral("out/")));
        // The open project stays where it was, still unsaved.
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML - a.bjpx*"));
        QVERIFY(f.document.IsModified());
    }

    void titleMarkIsAddedOnce()
    {
        Fixture f;
        QSignalSpy titles(&f.document, &CDocument::TitleChanged);
        f.document.SetModified();
        f.document.SetModified();
        QCOMPARE(f.document.Title(), QStringLiteral("OrinEditHTML*"));
        QCOMPARE(titles.count(), 1);
    }

    void dropOpensOnlyTheFirstProject()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("one.bjpx")), 1));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("two.bjpx")), 2));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("three.bjpx")), 3));
        const QStringList three = {f.Path(QStringLiteral("one.bjpx")),
                                   f.Path(QStringLiteral("two.bjpx")),
                                   f.Path(QStringLiteral("three.bjpx"))};
        QCOMPARE(f.document.DropFiles(three), DropResult::Opened);
        QCOMPARE(f.document.CurrentPath(), three.first());
        QCOMPARE(f.model.pages.Count(), 1);
        QCOMPARE(f.recent.Count(), 1);

        // An image first: the drop is left to the image drop, even with projects after it.
        QCOMPARE(f.document.DropFiles({f.Path(QStringLiteral("bg.jpg")), three.at(1)}),
                 DropResult::NotProject);
        QCOMPARE(f.document.CurrentPath(), three.first());
        QCOMPARE(f.document.DropFiles({}), DropResult::NotProject);

        // In the server access mode project files are not opened from disk.
        f.document.SetAccessMode(kServerAccessMode);
        QCOMPARE(f.document.DropFiles({three.at(2)}), DropResult::NotProject);
        QCOMPARE(f.document.CurrentPath(), three.first());
    }

    void recentEntries()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1));
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("b.bjpx")), 2));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("b.bjpx"))));
        QCOMPARE(f.recent.Entries(), QStringList({f.Path(QStringLiteral("b.bjpx")),
                                                  f.Path(QStringLiteral("a.bjpx"))}));
        QVERIFY(f.document.OpenRecent(1));
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
        QVERIFY(!f.document.OpenRecent(5));
        f.document.SetAccessMode(kServerAccessMode);
        QVERIFY(!f.document.OpenRecent(1));
        QCOMPARE(f.document.CurrentPath(), f.Path(QStringLiteral("a.bjpx")));
    }

    void closeQuestion()
    {
        Fixture f;
        QVERIFY(f.document.QueryClose());
        QVERIFY(f.prompt.records.isEmpty());
        f.document.SetModified();
        f.prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
        QVERIFY(!f.document.QueryClose());
        QCOMPARE(f.prompt.records.last().text, QStringLiteral("ファイルを破棄しますか？"));
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("警告"));
        QVERIFY(f.document.QueryClose());
    }

    void deletingAPageCountsTheSizeAgain()
    {
        Fixture f;
        const QString shared = f.Path(QStringLiteral("bg.jpg"));
        const QString own = f.Path(QStringLiteral("own.jpg"));
        for (const auto &[path, bytes] : {std::pair{shared, 300 * 1024}, std::pair{own, 1024 * 1024}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(bytes, 'j'));
        }
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 3));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        f.model.pages.At(0)->background = shared;
        f.model.pages.At(1)->background = own;
        f.model.pages.At(2)->background = shared;

        QVERIFY(!f.document.DeletePage(3));
        QVERIFY(!f.document.DeletePage(-1));
        QVERIFY(!f.document.IsModified());

        QVERIFY(f.document.DeletePage(1));
        QCOMPARE(f.model.pages.Count(), 2);
        QCOMPARE(f.model.pages.At(1)->id, 3);
        QCOMPARE(f.document.UsedSize(), qint64(300 * 1024)); // the shared background counts once
        QCOMPARE(f.document.SizeLine(), QStringLiteral("0.30/100.00 M"));
        QVERIFY(f.document.IsModified());
        QVERIFY(f.document.Title().endsWith(u'*'));
    }

    void slimmingAsksAndKeepsTheModifiedFlag()
    {
        Fixture f;
        QVERIFY(test::WriteProject(f.Path(QStringLiteral("a.bjpx")), 1,
                                   f.Path(QStringLiteral("unused.jpg"))));
        QVERIFY(f.document.OpenProjectFile(f.Path(QStringLiteral("a.bjpx"))));
        QCOMPARE(f.model.pictures.Count(), 1);
        f.prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};
        QVERIFY(!f.document.SlimData());
        QCOMPARE(f.model.pictures.Count(), 1);
        QVERIFY(f.document.SlimData());
        QCOMPARE(f.prompt.records.last().caption, QStringLiteral("データ送信"));
        QVERIFY(f.prompt.records.last().text.contains(u"\n     データをスリム化しますか？"));
        QCOMPARE(f.model.pictures.Count(), 0);
        QVERIFY(!f.document.IsModified());
        // The decimal form: 0 bytes against 100000 KB.
        QCOMPARE(f.document.SizeLine(), QStringLiteral("0.00/100.00 M"));
    }
};

ORIN_TEST_CLASS(TestDocument)
#include "tst_document.moc"
