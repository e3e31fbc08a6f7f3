// SPDX-License-Identifier: MIT
#include "app/help_document.h"

#include "app/program_files.h"
#include "document/work_folders.h"
#include "settings/edition_info.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace orin {

namespace {

const QLatin1String kHelpWindowName("helpWindow");

bool OpenWithDesktop(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace

QString HelpDocumentPath(const QString &appFolder)
{
    return FindProgramFile(appFolder, QStringLiteral("docs/help.html"),
                           QStringLiteral("share/doc/orinedit/help.html"));
}

bool OpenHelpDocument(const QString &appFolder)
{
    const QString path = HelpDocumentPath(appFolder);
    if (!QFileInfo::exists(path))
        return false;
    return OpenWithDesktop(QUrl::fromLocalFile(path));
}

QTextBrowser *ShowHelpDocument(const QString &appFolder, QWidget *parent, const UrlOpener &open)
{
    const QString path = HelpDocumentPath(appFolder);
    if (!QFileInfo::exists(path))
        return nullptr;
    const QUrl url = QUrl::fromLocalFile(path);
    if ((open ? open : UrlOpener(OpenWithDesktop))(url))
        return nullptr;
    QTextBrowser *browser =
        parent ? parent->findChild<QTextBrowser *>(kHelpWindowName, Qt::FindDirectChildrenOnly)
               : nullptr;
    if (!browser) {
        browser = new QTextBrowser(parent);
        browser->setObjectName(kHelpWindowName);
        browser->setWindowFlag(Qt::Window);
        browser->setAttribute(Qt::WA_DeleteOnClose, parent == nullptr);
        // Links to other sites go to a browser if one appears later; the guide's own anchors
        // are followed here.
        browser->setOpenExternalLinks(true);
        browser->resize(800, 700);
    }
    browser->setSource(url);
    const QString title = browser->documentTitle();
    browser->setWindowTitle(title.isEmpty() ? EditionTitle() : title);
    browser->show();
    browser->raise();
    browser->activateWindow();
    return browser;
}

} // namespace orin
