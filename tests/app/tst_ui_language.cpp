// SPDX-License-Identifier: MIT
// The language of the texts: the choice from the locale and "--lang", the embedded English
// translation on the main window, and the translation file in step with the sources.

#include "app/command_ids.h"
#include "app/command_line.h"
#include "app/main_frame.h"
#include "frame_setup.h"
#include "app/status_panes.h"
#include "app/ui_language.h"
#include "document/document.h"
#include "editor/dlg_panel.h"
#include "model/ui_text.h"

#include "prompt_fixtures.h"
#include "test_paths.h"
#include "test_registry.h"

#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

using namespace orin;
using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<CMainFrame> MakeFrame(const QTemporaryDir &dir, test::CScriptedPrompt &prompt)
{
    FrameSetup setup = test::TestFrameSetup(dir.path(), &prompt, 12);
    return std::make_unique<CMainFrame>(setup);
}

QStringList MenuTitles(CMainFrame &frame)
{
    QStringList titles;
    for (QAction *menu : frame.menuBar()->actions())
        titles.append(menu->text());
    return titles;
}

// The texts of the entries of the menu titled `title`.
QStringList MenuEntries(CMainFrame &frame, const QString &title)
{
    QStringList texts;
    for (QAction *menu : frame.menuBar()->actions()) {
        if (menu->text() == title && menu->menu()) {
            for (QAction *action : menu->menu()->actions())
                texts.append(action->text());
        }
    }
    return texts;
}

struct TsMessage {
    QString context;
    QString source;
    QString translation;
    bool unfinished = false;
};

QList<TsMessage> ReadTs(const QString &path)
{
    QList<TsMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"message") {
            TsMessage message;
            message.context = context;
            while (xml.readNextStartElement()) {
                if (xml.name() == u"source") {
                    message.source = xml.readElementText();
                } else if (xml.name() == u"translation") {
                    message.unfinished = !xml.attributes().value(u"type"_s).isEmpty();
                    message.translation = xml.readElementText();
                } else {
                    xml.skipCurrentElement();
                }
            }
            messages.append(message);
        }
    }
    return messages;
}

// The numbered places (%1, %2, ...) a text fills, in ascending order.
QList<int> Places(const QString &text)
{
    QList<int> places;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) == u'%' && text.at(i + 1).isDigit())
            places.append(text.at(i + 1).digitValue());
    }
    std::sort(places.begin(), places.end());
    return places;
}

} // namespace

class TestUiLanguage : public QObject {
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("startFile");

        auto row = [](const char *name, const char *locale, QStringList args, bool english,
                      const char *file) {
            QTest::newRow(name) << QString::fromUtf8(locale) << args << english
                                << QString::fromUtf8(file);
        };
        row("Japanese locale", "ja_JP", {}, false, "");
        row("bare ja locale", "ja", {}, false, "");
        row("English locale", "en_US", {}, true, "");
        row("C locale", "C", {}, true, "");
        row("other locale", "de_DE", {u"a.bjpx"_s}, true, "a.bjpx");
        row("--lang en over Japanese", "ja_JP", {u"--lang"_s, u"en"_s, u"a.bjpx"_s}, true,
            "a.bjpx");
        row("--lang ja over English", "en_US", {u"a.bjpx"_s, u"--lang"_s, u"ja"_s}, false,
            "a.bjpx");
        row("--lang=ja", "C", {u"--lang=ja"_s}, false, "");
        row("value in capitals", "ja_JP", {u"--lang"_s, u"EN"_s}, true, "");
        row("unknown value follows the locale", "ja_JP", {u"--lang"_s, u"fr"_s}, false, "");
        row("missing value", "C", {u"b.bjpx"_s, u"--lang"_s}, true, "b.bjpx");
        row("among the other options", "ja_JP",
            {u"-s"_s, u"--lang"_s, u"en"_s, u"-v"_s, u"1"_s, u"c.bjpx"_s}, true, "c.bjpx");
    }

    void choice()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(bool, english);
        QFETCH(QString, startFile);
        const CommandLine options = ParseCommandLine(arguments);
        QCOMPARE(options.startFile, startFile);
        QCOMPARE(ChooseUiLanguage(locale, options.language) == UiLanguage::English, english);
    }

    void englishTranslationOnTheMainWindowAndBack()
    {
        QTemporaryDir dir;
        QTranslator english;
        QVERIFY(english.load(QString::fromUtf16(kEnglishTranslation)));
        QVERIFY(QCoreApplication::installTranslator(&english));
        {
            test::CScriptedPrompt prompt;
            auto frame = MakeFrame(dir, prompt);
            const QStringList titles = MenuTitles(*frame);
            QCOMPARE(titles.first(), u"&File"_s);
            QVERIFY(titles.contains(u"&Edit"_s));
            QCOMPARE(titles.last(), u"&Help"_s);
            QCOMPARE(frame->Action(cmd::kFileSaveAs)->text(), u"Save &As..."_s);
            // The docks find the View menu by its translated title.
            QVERIFY(MenuEntries(*frame, u"&View"_s).contains(u"Navigation Map"_s));
            QCOMPARE(frame->StatusText(kPanePrompt), u"Ready"_s);
            // A text of the libraries below the widgets, translated where it is asked.
            prompt.fileNames = {QString()};
            frame->OnFileOpen();
            QVERIFY(!prompt.records.isEmpty());
            QCOMPARE(prompt.records.last().request.title, u"Open BJPX File"_s);
            CDlgPanel panel;
            QCOMPARE(panel.windowTitle(), u"Remote Control"_s);
        }
        QVERIFY(QCoreApplication::removeTranslator(&english));
        test::CScriptedPrompt prompt;
        auto frame = MakeFrame(dir, prompt);
        QCOMPARE(MenuTitles(*frame).first(), u"ファイル(&F)"_s);
        QVERIFY(MenuEntries(*frame, u"表示(&V)"_s).contains(u"ナビゲーションマップ"_s));
        QCOMPARE(UiText(kErrorCaption), QString::fromUtf16(kErrorCaption));
    }

    // Every text lupdate finds in the sources has a finished English translation that fills
    // the same places, and the file holds nothing else.
    void translationFileIsComplete()
    {
        const QString lupdate = QLibraryInfo::path(QLibraryInfo::BinariesPath) + u"/lupdate"_s;
        if (!QFileInfo(lupdate).isExecutable())
            QSKIP("lupdate is not installed (qt6-l10n-tools)");
        const QString shipped = test::SourceDir() + u"/translations/orinedit_en.ts"_s;
        QTemporaryDir dir;
        const QString fresh = dir.filePath(u"fresh.ts"_s);
        QVERIFY(QFile::copy(shipped, fresh));
        QFile(fresh).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

        QStringList sources;
        QDirIterator it(test::SourceDir() + u"/src"_s, {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.contains(u"/src/cli/"))
                sources.append(path);
        }
        QProcess process;
        process.start(lupdate, QStringList{u"-I"_s, test::SourceDir() + u"/src"_s, u"-locations"_s,
                                           u"none"_s, u"-no-obsolete"_s, u"-silent"_s}
                                   + sources + QStringList{u"-ts"_s, fresh});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);

        const QList<TsMessage> before = ReadTs(shipped);
        const QList<TsMessage> after = ReadTs(fresh);
        QVERIFY(after.size() > 300);
        QCOMPARE(after.size(), before.size());
        for (const TsMessage &message : after) {
            const QString where = message.context + u": "_s + message.source;
            QVERIFY2(!message.unfinished && !message.translation.isEmpty(), qPrintable(where));
            QVERIFY2(Places(message.translation) == Places(message.source), qPrintable(where));
        }
    }
};

ORIN_TEST_CLASS(TestUiLanguage)
#include "tst_ui_language.moc"
