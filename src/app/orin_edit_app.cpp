// SPDX-License-Identifier: MIT
#include "app/orin_edit_app.h"

#include "app/main_frame.h"
#include "document/work_folders.h"
#include "editor/design_commands.h"
#include "editor/form_graph.h"
#include "images/font_setup.h"
#include "model/pump_messages.h"

#include <QDir>
#include <QPixmap>
#include <QTimer>

#include <vector>

namespace orin {

namespace {

// Grabs the main window this long after start-up, when the first paints are done.
constexpr int kScreenshotDelayMs = 1500;

// Long loops over the model dispatch pending events so that the window keeps painting. Input
// waits until the loop has finished, and a pump never runs inside another.
void PumpPendingEvents()
{
    static bool pumping = false;
    if (pumping)
        return;
    pumping = true;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    pumping = false;
}

} // namespace

COrinEditContentsApp::COrinEditContentsApp(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("orinedit"));
    setDesktopFileName(QStringLiteral("orinedit"));
}

COrinEditContentsApp::~COrinEditContentsApp()
{
    m_frame.reset();
    SetPumpMessagesHook({});
}

QString COrinEditContentsApp::ApplicationFolder()
{
    return WithTrailingSlash(QCoreApplication::applicationDirPath());
}

bool COrinEditContentsApp::InitInstance()
{
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    m_options = ParseCommandLine(arguments);

    RegisterFontSubstitutes();
    SetPumpMessagesHook(PumpPendingEvents);

    FrameSetup setup;
    setup.appFolder = ApplicationFolder();
    m_frame = std::make_unique<CMainFrame>(setup);
    m_frame->show();

    m_frame->OpenStartFile(m_options.startFile);
    m_frame->StartCommandLineTimers(m_options.autoSend, m_options.autoExit);

    const QString screenshot = qEnvironmentVariable("ORINEDIT_SCREENSHOT");
    if (!screenshot.isEmpty())
        ScheduleScreenshot(screenshot);
    return true;
}

void COrinEditContentsApp::ScheduleScreenshot(const QString &path)
{
    // Used by scripts/screenshot: the window as the operator sees it after picking the first
    // page in the list, then a quiet exit that writes no settings. ORINEDIT_SCREENSHOT_DESIGN
    // (item slots such as "0,2,3") shows the design surface with those items selected.
    m_frame->ShowPageAt(0);
    if (qEnvironmentVariableIsSet("ORINEDIT_SCREENSHOT_DESIGN")) {
        m_frame->OnToggleDesignMode();
        std::vector<int> chosen;
        const QStringList parts =
            qEnvironmentVariable("ORINEDIT_SCREENSHOT_DESIGN").split(u',', Qt::SkipEmptyParts);
        for (const QString &part : parts) {
            bool ok = false;
            const int slot = part.trimmed().toInt(&ok);
            if (ok)
                chosen.push_back(slot);
        }
        // After the first layout, so that the surface has its size.
        QTimer::singleShot(kScreenshotDelayMs / 2, this, [this, chosen] {
            if (CDesignCommands *design = m_frame->FormGraph()->Design())
                design->SelectBand(chosen, false);
        });
    }
    QTimer::singleShot(kScreenshotDelayMs, this, [this, path] {
        const QPixmap picture = m_frame->grab();
        const int result = picture.save(path, "PNG") ? 0 : 1;
        m_frame->hide();
        QCoreApplication::exit(result);
    });
}

} // namespace orin
