// SPDX-License-Identifier: MIT
// The File menu's web commands in the main window: the export into a chosen folder, its
// refusal of a folder in use, and the preview in the browser from the work folder.

#include "app/command_ids.h"
#include "app/main_frame.h"
#include "app/status_panes.h"
#include "frame_setup.h"
#include "model/project_writer.h"
#include "prompt_fixtures.h"
#include "test_registry.h"

#include <QAction>
#include <QTemporaryDir>
#include <QtTest>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

QString WriteOnePage(const QTemporaryDir &dir)
{
    CContentModel model;
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = 3;
    page->backcol = kNoColour;
    page->itemCount = 1;
    page->items[0].id = 1;
    page->items[0].text = u"ようこそ"_s;
    page->items[0].pic_no = 5;
    model.pages.Add(std::move(page));
    auto picture = std::make_unique<CMyPictureInfo>();
    picture->id = 5;
    picture->path = dir.filePath(u"gone.jpg"_s);
    model.pictures.Add(std::move(picture));
    const QString path = dir.filePath(u"web.bjpx"_s);
    ProgramSettings settings;
    settings.ExPNG = 1;
    return SaveProject(model, path, SaveMode::Plain, ContentFolderOf(path), settings).ok ? path
                                                                                         : QString();
}

QJsonObject ContentOf(const QString &folder)
{
    QFile file(folder + u"/content.js"_s);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray script = file.readAll();
    return QJsonDocument::fromJson(script.mid(script.indexOf('{'), script.lastIndexOf('}') - script.indexOf('{') + 1)).object();
}

} // namespace

class TestFrameWeb : public QObject {
    Q_OBJECT

private slots:
    void exportsIntoTheChosenFolder()
    {
        QTemporaryDir dir;
        const QString project = WriteOnePage(dir);
        QVERIFY(!project.isEmpty());
        test::CScriptedPrompt prompt;
        auto frame = std::make_unique<CMainFrame>(test::TestFrameSetup(dir.path(), &prompt, 21));
        frame->OpenStartFile(project);
        QAction *action = frame->Action(cmd::kExportWeb);
        QVERIFY(action);
        QCOMPARE(action->text(), u"Web用に書き出し(&W)..."_s);

        // Cancel writes nothing.
        prompt.fileNames << QString();
        action->trigger();
        QVERIFY(!QFileInfo::exists(dir.filePath(u"out"_s)));

        const QString out = dir.filePath(u"out"_s);
        QVERIFY(QDir().mkpath(out));
        prompt.Clear();
        prompt.fileNames << out;
        action->trigger();
        QCOMPARE(prompt.records.size(), 2);
        QVERIFY(prompt.records.at(0).fileDialog);
        QCOMPARE(prompt.records.at(0).request.kind, FileDialogKind::Save);
        QCOMPARE(prompt.records.at(0).request.startFile, dir.filePath(u"web-web"_s));
        QVERIFY(!prompt.records.at(0).request.overwritePrompt);
        // The missing picture is told, once, and the export goes on.
        QVERIFY2(prompt.records.at(1).text.contains(u"gone.jpg"_s), qPrintable(prompt.records.at(1).text));
        QVERIFY(QFileInfo::exists(out + u"/index.html"_s));
        const QJsonObject content = ContentOf(out);
        QCOMPARE(content.value(u"pages"_s).toArray().at(0).toObject().value(u"items"_s).toArray()
                     .at(0).toObject().value(u"text"_s).toString(), u"ようこそ"_s);
        QCOMPARE(frame->StatusText(kPanePrompt), u"Web用に書き出しました: "_s + out + u"/index.html"_s);

        // The same folder again: refused with a message, the folder as it was.
        const QByteArray before = [&] { QFile f(out + u"/content.js"_s); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        prompt.Clear();
        prompt.fileNames << out;
        action->trigger();
        QCOMPARE(prompt.Messages().size(), 1);
        QVERIFY(prompt.Messages().first().contains(u"not an empty folder"_s));
        QCOMPARE(prompt.records.last().caption, u"エラー"_s);
        QFile again(out + u"/content.js"_s);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), before);
        QCOMPARE(prompt.unexpected, 0);
    }

    void previewsInTheBrowser()
    {
        QTemporaryDir dir;
        const QString project = WriteOnePage(dir);
        test::CScriptedPrompt prompt;
        FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 22);
        QList<QUrl> opened;
        bool browserStarts = true;
        setup.openUrl = [&](const QUrl &url) {
            opened << url;
            return browserStarts;
        };
        auto frame = std::make_unique<CMainFrame>(setup);
        frame->OpenStartFile(project);
        QAction *action = frame->Action(cmd::kPreviewInBrowser);
        QVERIFY(action);
        action->trigger();
        QCOMPARE(opened.size(), 1);
        const QString index = opened.first().toLocalFile();
        QVERIFY2(index.startsWith(frame->Folders().work), qPrintable(index));
        QVERIFY(QFileInfo::exists(index));
        QCOMPARE(ContentOf(QFileInfo(index).absolutePath()).value(u"pages"_s).toArray().size(), 1);
        QCOMPARE(frame->StatusText(kPanePrompt), u"ブラウザでプレビューを開きました: "_s + index);

        // A second preview gets a folder of its own; a browser that does not start is told.
        browserStarts = false;
        action->trigger();
        QCOMPARE(opened.size(), 2);
        QVERIFY(opened.at(1) != opened.at(0));
        QCOMPARE(frame->StatusText(kPanePrompt), u"ブラウザを起動できません: "_s + opened.at(1).toLocalFile());
    }
};

ORIN_TEST_CLASS(TestFrameWeb)
#include "tst_frame_web.moc"
