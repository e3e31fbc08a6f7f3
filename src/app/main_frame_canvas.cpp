// SPDX-License-Identifier: MIT
// The main frame's part in item editing on the canvas: the typed text committed before the
// document commands, the Edit menu acting on the in-place editor, the mode settings reaching the
// views.
#include "app/main_frame.h"

#include "app/command_ids.h"
#include "document/document.h"
#include "editor/form_graph.h"
#include "editor/form_list.h"
#include "editor/graph_view.h"
#include "editor/in_place_editor.h"

#include <QAction>
#include <QApplication>
#include <QUndoStack>

namespace orin {

void CMainFrame::CommitCanvasText()
{
    if (CGraphView *view = m_formGraph->GraphView())
        view->EndTextEditing();
}

void CMainFrame::SetModeSettings(int modeAccess, int modeAction)
{
    m_settings.ModeAccess = modeAccess;
    m_settings.ModeAction = modeAction;
    ApplyModeSettings();
}

void CMainFrame::ApplyModeSettings()
{
    CommitCanvasText();
    m_document->SetAccessMode(m_settings.ModeAccess);
    if (CGraphView *view = m_formGraph->GraphView()) {
        view->SetModeAccess(m_settings.ModeAccess);
        view->SetModeAction(m_settings.ModeAction);
    }
    m_formList->SetModeAccess(m_settings.ModeAccess);
    m_formList->SetModeAction(m_settings.ModeAction);
    ApplyAccessMode();
}

void CMainFrame::BindCanvasEditCommands()
{
    CGraphView *view = m_formGraph->GraphView();
    if (!view)
        return;
    for (const int id : {cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}) {
        if (QAction *action = Action(id))
            connect(action, &QAction::triggered, view, [view, id] { view->RunEditCommand(id); });
    }
    m_focusFollower = connect(qApp, &QApplication::focusChanged, this,
                              [this, view](QWidget *, QWidget *now) {
        const bool typing = now && now == view->InPlaceEditor();
        for (const int id : {cmd::kEditCut, cmd::kEditCopy, cmd::kEditPaste}) {
            if (QAction *action = Action(id))
                action->setEnabled(typing);
        }
        // Undo and redo of the typed text are there even when the model has nothing to undo.
        const QUndoStack &stack = m_document->UndoStack();
        if (QAction *undo = Action(cmd::kEditUndo))
            undo->setEnabled(typing || stack.canUndo());
        if (QAction *redo = Action(cmd::kEditRedo))
            redo->setEnabled(typing || stack.canRedo());
    });
}

} // namespace orin
