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
#include "settings/edition_info.h"

#include <QDir>

namespace orin {

void CMainFrame::OnNetworkSettings()
{
    // The HTML edition has no connection to edit: no dialog, nothing changes, and the status
    // bar says so.
    std::unique_ptr<CNetworkDialog> dialog =
        MakeNetworkDialog(m_settings, *m_prompt, this, m_setup.edition);
    if (!dialog) {
        m_panes->SetText(kPanePrompt, tr("%1 には設定するネットワーク接続がありません")
                                          .arg(EditionTitle(m_setup.edition)));
        return;
    }
    if (dialog->exec() != QDialog::Accepted)
        return;
    // Typed text goes to its item under the mode it was typed in.
    CommitCanvasText();
    m_settings = dialog->Values();
    m_panes->SetAccessText(AccessPaneText(m_settings.AccessTitle, m_settings.modeConvertTo));

    // A new access mode holds at once, for the menus, the canvas, the list and the editing
    // rules alike.
    ApplyModeSettings();
    m_formGraph->GraphView()->update();

    if (!WriteNetworkSettings(m_ini, m_settings, m_setup.edition)) {
        m_prompt->MessageBox(
            tr("%1 に書き込めません。").arg(QDir::toNativeSeparators(m_ini.Path())), tr("エラー"),
            PromptButtons::Ok);
    }
}

} // namespace orin
