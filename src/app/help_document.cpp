// SPDX-License-Identifier: MIT
#include "app/help_document.h"

#include "app/program_files.h"
#include "document/work_folders.h"
#include "settings/edition_info.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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
    QWidget *window =
        parent ? parent->findChild<QWidget *>(kHelpWindowName, Qt::FindDirectChildrenOnly)
               : nullptr;
    QTextBrowser *browser = window ? window->findChild<QTextBrowser *>() : nullptr;
    if (!browser) {
        window = new QWidget(parent);
        window->setObjectName(kHelpWindowName);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose, parent == nullptr);
        auto *layout = new QVBoxLayout(window);
        browser = new QTextBrowser(window);
        // Links to other sites go to the browser; the guide's own anchors are followed here.
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        auto *row = new QHBoxLayout;
        row->addStretch();
        auto *external = new QPushButton(
            QCoreApplication::translate("OrinEdit", "ブラウザで開く"), window);
        external->setObjectName(QStringLiteral("openInBrowser"));
        const UrlOpener opener = open ? open : UrlOpener(OpenWithDesktop);
        QObject::connect(external, &QPushButton::clicked, window,
                         [opener, url] { opener(url); });
        row->addWidget(external);
        layout->addLayout(row);
        window->resize(800, 740);
    }
    browser->setSource(url);
    const QString title = browser->documentTitle();
    window->setWindowTitle(title.isEmpty() ? EditionTitle() : title);
    window->show();
    window->raise();
    window->activateWindow();
    return browser;
}

} // namespace orin
