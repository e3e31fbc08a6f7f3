// SPDX-License-Identifier: MIT
// The main frame's colour map: default.clt of the application folder, else the built-in map;
// each frame owns its own.

#include "test_files.h"
#include "test_registry.h"

#include "app/main_frame.h"
#include "frame_setup.h"
#include "prompt_fixtures.h"

#include <QtTest>

using namespace orin;

namespace {

std::unique_ptr<CMainFrame> MakeFrame(const QString &appFolder, CPrompt &prompt)
{
    FrameSetup setup = test::TestFrameSetup(appFolder, &prompt, 11);
    return std::make_unique<CMainFrame>(setup);
}

} // namespace

class FrameColourMapTest : public QObject {
    Q_OBJECT

private slots:
    void startUpRule()
    {
        test::CScriptedPrompt prompt;
        QTemporaryDir plain;
        QTemporaryDir withFile;
        QVERIFY(test::WriteBytes(withFile.filePath(QStringLiteral("default.clt")),
                                 QByteArray("\xA8\x01\x01\x0A\x14\x1E\xFF", 7)));
        const auto builtIn = MakeFrame(plain.path(), prompt);
        const auto loaded = MakeFrame(withFile.path(), prompt);
        QVERIFY((builtIn->ColourMap().ColourOf(1) == ColourEntry{255, 0, 0, 255}));
        QCOMPARE(builtIn->ColourMap().startIndex, 192);
        QVERIFY((loaded->ColourMap().ColourOf(1) == ColourEntry{10, 20, 30, 255}));
        QVERIFY((loaded->ColourMap().ColourOf(2) == ColourEntry{0, 0, 0, 0}));
        QVERIFY((loaded->ColourMap().ColourOf(0) == ColourEntry{0, 0, 0, 255}));
        QCOMPARE(loaded->ColourMap().clutType, 1);
        QCOMPARE(prompt.records.size(), 0);
    }
};

ORIN_TEST_CLASS(FrameColourMapTest)
#include "tst_frame_colour_map.moc"
