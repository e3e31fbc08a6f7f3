// SPDX-License-Identifier: MIT
#include "editor/form_graph.h"

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
    m_design = MakeView(m_stack, QStringLiteral("design"));
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

void CFormGraph::SetViewFlags(const ViewFlags &flags)
{
    m_flags = flags;
    update();
}

void CFormGraph::ShowPage(int pageIndex)
{
    m_pageIndex = pageIndex < 0 ? -1 : pageIndex;
    update();
}

void CFormGraph::ResetCanvas()
{
    m_pageIndex = -1;
    update();
}

void CFormGraph::SetDesignMode(bool design)
{
    m_designMode = design;
    m_design->setAcceptDrops(design);
    m_stack->setCurrentWidget(design ? m_design : m_preview);
}

} // namespace orin
