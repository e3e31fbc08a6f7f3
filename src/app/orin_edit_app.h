// SPDX-License-Identifier: MIT
#pragma once

#include "app/command_line.h"

#include <QApplication>

#include <memory>

namespace orin {

class CMainFrame;

// The application: parses the command line, prepares fonts and message pumping, creates the
// one main frame, opens the start file and starts the command-line timers.
class COrinEditContentsApp : public QApplication {
    Q_OBJECT
public:
    COrinEditContentsApp(int &argc, char **argv);
    ~COrinEditContentsApp() override;

    // Start-up. False when the application must end at once.
    bool InitInstance();

    const CommandLine &Options() const { return m_options; }
    CMainFrame *MainFrame() const { return m_frame.get(); }

    // The folder of the running program, with a trailing "/".
    static QString ApplicationFolder();

private:
    void ScheduleScreenshot(const QString &path);

    CommandLine m_options;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace orin
