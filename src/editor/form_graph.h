// SPDX-License-Identifier: MIT
#pragma once

#include "editor/design_commands.h"

#include <QSize>
#include <QWidget>

#include <memory>

class QStackedWidget;

namespace orin {

class CColourMap;
class CContentModel;
class CGraphTraker;
class CGraphView;
class CPrompt;
struct ProgramSettings;

// How the views mark the items: frames around all items and their colour index, frames of
// editable items, frames of edited items.
struct ViewFlags {
    int bBoxDraw = 1;
    int colBox = 1;
    int bLabelDraw = 1;
    int bChangeDraw = 0;
};

// The page pane at the right of the main window. It holds two views of the current page of
// which one is visible: the preview (edit mode) and the design surface (design mode).
class CFormGraph : public QWidget {
    Q_OBJECT
public:
    explicit CFormGraph(QWidget *parent = nullptr);

    // The page size in page units: 960 x 540, or 540 x 960 for vertical content.
    QSize CanvasSize() const { return m_canvasSize; }
    void SetCanvasSize(const QSize &size);

    // Shows the page at `pageIndex` of the page table in the current mode; -1 shows none.
    void ShowPage(int pageIndex);
    int ShownPageIndex() const { return m_pageIndex; }
    // The shown page's record went to `pageIndex` of the page table: both views go on with that
    // record, and nothing runs again in the preview.
    void FollowPage(int pageIndex);
    // Forgets the shown page (a project was opened or closed).
    void ResetCanvas();

    bool IsDesignMode() const { return m_designMode; }
    // Switches between the preview (false) and the design surface (true).
    void SetDesignMode(bool design);

    const ViewFlags &Flags() const { return m_flags; }
    void SetViewFlags(const ViewFlags &flags);

    // Puts the page canvas with its simulation in place of the empty preview; the model, the
    // program settings and the colour map must outlive the pane.
    void AttachPreview(const CContentModel &model, const ProgramSettings &settings,
                       const CColourMap &map, const QString &workFolder, CPrompt *prompt);
    // The page canvas; null until AttachPreview.
    CGraphView *GraphView() const { return m_graphView; }

    // Gives the design surface what its commands work on; until then it shows nothing.
    void BindDesign(const DesignBinding &binding);
    // The design side; null until BindDesign.
    CDesignCommands *Design() const { return m_designCommands.get(); }

    QWidget *PreviewView() const { return m_preview; }
    QWidget *DesignView() const;
    CGraphTraker *DesignSurface() const { return m_design; }

signals:
    // A text for the status line's first pane (the running drag step); empty when done.
    void StatusText(const QString &text);

private:
    void ApplyFlags();
    void ShowDesignPage();

    QStackedWidget *m_stack = nullptr;
    const CContentModel *m_model = nullptr;
    CGraphView *m_graphView = nullptr;
    QWidget *m_preview = nullptr;
    CGraphTraker *m_design = nullptr;
    std::unique_ptr<CDesignCommands> m_designCommands;
    ViewFlags m_flags;
    QSize m_canvasSize{960, 540};
    int m_pageIndex = -1;
    bool m_designMode = false;
};

} // namespace orin
