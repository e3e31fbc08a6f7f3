// SPDX-License-Identifier: MIT
// The document commands of the transmission: content that went out, content that came in.
#include "document/document.h"

namespace orin {

void CDocument::ClearModified()
{
    m_modified = false;
    if (m_title.endsWith(u'*')) {
        m_title.chop(1);
        emit TitleChanged(m_title);
    }
}

bool CDocument::ShowServerContent(const QString &projectPath, const QString &title)
{
    if (!ShowLoadedProject(projectPath))
        return false;
    // The unpacked files are the run's own: saving goes through the server, not over them.
    m_currentPath.clear();
    m_title = title;
    emit TitleChanged(m_title);
    emit PngPaneChanged(PngPaneText());
    m_modified = false;
    m_contentOpened = true;
    m_undoStack.clear();
    emit ProjectOpened();
    return true;
}

} // namespace orin
