// SPDX-License-Identifier: MIT
// orinedit-cli: converts and inspects content sets in batches.

#include "cli/cli_commands.h"
#include "images/font_setup.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

// Where the tool's own complaints go: the standard error stream as the tool was started with it.
int g_realStderr = STDERR_FILENO;

// Decoder libraries write some complaints straight to the standard error stream, past Qt's
// message handler: libpng prints "libpng error: Invalid IHDR data" for a picture that declares
// an impossible size, before Qt reports the picture as unreadable. While the tool runs, its
// standard error goes through a pipe; a thread passes every line on except those of libpng.
class CStderrFilter {
public:
    CStderrFilter()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        m_saved = dup(STDERR_FILENO);
        if (m_saved < 0 || dup2(fds[1], STDERR_FILENO) < 0) {
            close(fds[0]);
            close(fds[1]);
            if (m_saved >= 0)
                close(m_saved);
            m_saved = -1;
            return;
        }
        close(fds[1]);
        m_read = fds[0];
        g_realStderr = m_saved;
        m_thread = std::thread([this] { Pump(); });
    }
    ~CStderrFilter()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO); // closes the pipe's last writer: the thread reads its end
        m_thread.join();
        g_realStderr = STDERR_FILENO;
        close(m_saved);
        close(m_read);
    }
    CStderrFilter(const CStderrFilter &) = delete;
    CStderrFilter &operator=(const CStderrFilter &) = delete;

private:
    void Pump()
    {
        std::string pending;
        char buffer[4096];
        for (;;) {
            const ssize_t got = read(m_read, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            pending.append(buffer, size_t(got));
            size_t start = 0;
            for (size_t end; (end = pending.find('\n', start)) != std::string::npos;
                 start = end + 1)
                Pass(pending.substr(start, end + 1 - start));
            pending.erase(0, start);
        }
        if (!pending.empty())
            Pass(pending);
    }
    void Pass(const std::string &line)
    {
        if (line.rfind("libpng ", 0) == 0)
            return;
        for (size_t done = 0; done < line.size();) {
            const ssize_t wrote = write(m_saved, line.data() + done, line.size() - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return;
            done += size_t(wrote);
        }
    }

    int m_saved = -1;
    int m_read = -1;
    std::thread m_thread;
};

// The tool's output is a contract that other programs read: Qt's own debug messages and
// warnings about the input (a file name holding a zero character, a picture's decoder
// complaining) stay out of it; the tool says itself what failed. Critical and fatal messages
// still reach stderr.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg)
        return;
    // Straight to the real stream: a fatal message is followed by an abort, which would lose
    // what still waits in the filter's pipe.
    const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit() + '\n';
    [[maybe_unused]] const ssize_t wrote = write(g_realStderr, line.constData(), size_t(line.size()));
}

} // namespace

int main(int argc, char **argv)
{
    const CStderrFilter filter;
    qInstallMessageHandler(KeepQtQuiet);
    // Measuring JPEG and GIF pictures needs the image plug-ins, which a core application
    // loads. Only a command that can draw text starts a platform plug-in (the off-screen one):
    // render and export-web draw pictures with text, render and simulate make display copies
    // of the pictures, which draw the "cannot be read" placeholder for a missing or broken one,
    // and check lays texts out and paints the pages under them. The others must not look for
    // (or create) a runtime folder and warn about it.
    const bool draws = argc > 1
                       && (std::strcmp(argv[1], "render") == 0
                           || std::strcmp(argv[1], "simulate") == 0
                           || std::strcmp(argv[1], "check") == 0
                           || std::strcmp(argv[1], "export-web") == 0);
    std::unique_ptr<QTemporaryDir> runtimeFolder;
    std::unique_ptr<QCoreApplication> app;
    if (draws) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The plug-in wants a runtime folder; without one it would make a lasting one in /tmp
        // and warn. A private folder that goes with the run stands in for it.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            runtimeFolder = std::make_unique<QTemporaryDir>();
            if (runtimeFolder->isValid()) {
                QFile::setPermissions(runtimeFolder->path(), QFileDevice::ReadOwner
                                      | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
                qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder->path()));
            }
        }
        app = std::make_unique<QGuiApplication>(argc, argv);
        orin::RegisterFontSubstitutes();
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // The same name as the editor, so both find the settings in the same per-user folder.
    QCoreApplication::setApplicationName(QStringLiteral("orinedit"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    const int code = orin::cli::Run(args, {out, err});
    out.flush();
    err.flush();
    app.reset();
    return code;
}
