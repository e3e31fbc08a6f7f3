// SPDX-License-Identifier: MIT
// The network settings command of the main frame.

#include "app/main_frame.h"

#include "app/status_panes.h"
#include "dialogs/network_dialogs.h"
#include "document/document.h"
#include "document/prompt.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"
#include "editor/graph_view.h"

#include <QDir>

namespace orin {

void CMainFrame::OnNetworkSettings()
{
    // The HTML edition has no connection to edit: no dialog, nothing changes.
    std::unique_ptr<CNetworkDialog> dialog =
        MakeNetworkDialog(m_settings, *m_prompt, this, m_setup.edition);
    if (!dialog || dialog->exec() != QDialog::Accepted)
        return;
    m_settings = dialog->Values();
    m_panes->SetAccessText(AccessPaneText(m_settings.AccessTitle, m_settings.modeConvertTo));

    // A new access mode holds at once, for the menus and the editing rules alike.
    m_document->SetAccessMode(m_settings.ModeAccess);
    m_formGraph->GraphView()->SetModeAccess(m_settings.ModeAccess);
    m_formList->SetModeAccess(m_settings.ModeAccess);
    ApplyAccessMode();
    m_formGraph->GraphView()->update();

    if (!WriteNetworkSettings(m_ini, m_settings, m_setup.edition)) {
        m_prompt->MessageBox(QStringLiteral("%1 に書き込めません。")
                                 .arg(QDir::toNativeSeparators(m_ini.Path())),
                             QStringLiteral("エラー"), PromptButtons::Ok);
    }
}

} // namespace orin
