// SPDX-License-Identifier: MIT
#include "editor/form_graph.h"

#include "editor/graph_traker.h"
#include "editor/graph_view.h"

#include <QStackedWidget>
#include <QVBoxLayout>

namespace orin {

namespace {

QWidget *MakeView(QWidget *parent, const QString &name)
{
    auto *view = new QWidget(parent);
    view->setObjectName(name);
    view->setAutoFillBackground(true);
    QPalette palette = view->palette();
    palette.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    view->setPalette(palette);
    return view;
}

} // namespace

CFormGraph::CFormGraph(QWidget *parent) : QWidget(parent)
{
    m_stack = new QStackedWidget(this);
    m_preview = MakeView(m_stack, QStringLiteral("preview"));
    m_design = new CGraphTraker(m_stack);
    m_design->setObjectName(QStringLiteral("design"));
    m_stack->addWidget(m_preview);
    m_stack->addWidget(m_design);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    setFocusPolicy(Qt::StrongFocus);
    // The design surface takes dropped images only while it is shown.
    m_design->setAcceptDrops(false);
}

void CFormGraph::SetCanvasSize(const QSize &size)
{
    m_canvasSize = size;
}

QWidget *CFormGraph::DesignView() const
{
    return m_design;
}

void CFormGraph::BindDesign(const DesignBinding &binding)
{
    if (m_designCommands || !binding.model || !binding.document || !binding.imageEdits
        || !binding.prompt)
        return;
    m_designCommands = std::make_unique<CDesignCommands>(*m_design, binding);
    connect(m_designCommands.get(), &CDesignCommands::StatusText, this, &CFormGraph::StatusText);
    if (m_designMode)
        ShowDesignPage();
}

void CFormGraph::ShowDesignPage()
{
    if (m_designCommands)
        m_designCommands->ShowDesign(m_pageIndex, m_canvasSize);
}

void CFormGraph::AttachPreview(const CContentModel &model, const ProgramSettings &settings,
                               const CColourMap &map, const QString &workFolder, CPrompt *prompt)
{
    if (m_graphView)
        return;
    m_model = &model;
    m_graphView = new CGraphView(model, settings, map, workFolder, prompt, m_stack);
    const bool showing = m_stack->currentWidget() == m_preview;
    m_stack->insertWidget(0, m_graphView);
    m_stack->removeWidget(m_preview);
    m_preview->deleteLater();
    m_preview = m_graphView;
    if (showing)
        m_stack->setCurrentWidget(m_preview);
    ApplyFlags();
}

void CFormGraph::ApplyFlags()
{
    if (m_graphView)
        m_graphView->SetFrameToggles(m_flags.bBoxDraw != 0, m_flags.colBox,
                                     m_flags.bLabelDraw != 0, m_flags.bChangeDraw != 0);
}

void CFormGraph::SetViewFlags(const ViewFlags &flags)
{
    m_flags = flags;
    ApplyFlags();
    update();
}

void CFormGraph::ShowPage(int pageIndex)
{
    m_pageIndex = pageIndex < 0 ? -1 : pageIndex;
    // Every page shown on the canvas goes through the simulation's ShowPage.
    if (m_graphView && m_model && m_model->pages.IsValidIndex(m_pageIndex))
        m_graphView->ShowPage(m_model->pages.At(m_pageIndex)->id);
    if (m_designMode)
        ShowDesignPage();
    update();
}

void CFormGraph::FollowPage(int pageIndex)
{
    if (m_pageIndex < 0 || pageIndex < 0 || pageIndex == m_pageIndex)
        return;
    // The design surface follows its record by itself; the preview shows it by its id.
    m_pageIndex = pageIndex;
}

void CFormGraph::ResetCanvas()
{
    m_pageIndex = -1;
    if (m_graphView)
        m_graphView->ResetCanvas();
    if (m_designCommands)
        m_designCommands->Reset();
    update();
}

void CFormGraph::SetDesignMode(bool design)
{
    m_designMode = design;
    m_design->setAcceptDrops(design);
    // The hidden view takes no input.
    m_preview->setEnabled(!design);
    m_design->setEnabled(design);
    m_stack->setCurrentWidget(design ? static_cast<QWidget *>(m_design) : m_preview);
    if (design)
        ShowDesignPage();
}

} // namespace orin
