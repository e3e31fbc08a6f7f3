// SPDX-License-Identifier: MIT
#include "app/orin_edit_app.h"

#include "app/file_association.h"
#include "app/main_frame.h"
#include "app/screenshot_staging.h"
#include "document/work_folders.h"
#include "images/font_setup.h"
#include "model/pump_messages.h"

#include <QDir>
#include <QPixmap>
#include <QTimer>


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
    setWindowIcon(ProgramIcon());
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
    // Used by scripts/screenshot: the window as the operator sees it after start-up, set up as
    // the environment asks, then a quiet exit that writes no settings.
    StageScreenshot(*m_frame, kScreenshotDelayMs);
    QTimer::singleShot(kScreenshotDelayMs, this, [this, path] {
        const QPixmap picture = GrabScreenshot(*m_frame);
        const int result = picture.save(path, "PNG") ? 0 : 1;
        m_frame->hide();
        QCoreApplication::exit(result);
    });
}

} // namespace orin
