// SPDX-License-Identifier: MIT
#include "editor/graph_view.h"

#include "document/prompt.h"
#include "editor/dlg_panel.h"
#include "editor/qt_preview_seams.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace orin {

CGraphView::CGraphView(const CContentModel &model, const ProgramSettings &settings,
                       const CColourMap &map, const QString &workFolder, CPrompt *prompt,
                       QWidget *parent)
    : QWidget(parent),
      m_prompt(prompt),
      m_images(map, workFolder),
      m_renderer(map, model)
{
    setObjectName(QStringLiteral("CGraphView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    m_timers = std::make_unique<CQtTimerService>([this](int id) { m_engine->OnTimer(id); });
    m_queue = std::make_unique<CQtCommandQueue>(
        [this](const PreviewCommand &command) { m_engine->RunCommand(command); });
    m_engine = std::make_unique<CPreviewEngine>(model, settings, m_images, *m_timers, *m_queue);
    m_engine->SetObserver(this);

    m_panel = new CDlgPanel(this);
    m_panel->SetToggles(true, true);
    connect(m_panel, &CDlgPanel::KeyPressed, this, [this](int code) {
        m_queue->Post({PreviewCommandKind::Key, code, 0});
    });
    connect(m_panel, &CDlgPanel::DigitPressed, this, [this](int digit) {
        m_queue->Post({PreviewCommandKind::Digit, digit, 0});
    });
    connect(m_panel, &CDlgPanel::LinkedClicksToggled, this, [this](bool on) {
        m_queue->Post({PreviewCommandKind::LinkedClicks, on ? 1 : 0, 0});
    });
    connect(m_panel, &CDlgPanel::TimersToggled, this, [this](bool on) {
        m_queue->Post({PreviewCommandKind::Timers, on ? 1 : 0, 0});
    });
}

CGraphView::~CGraphView()
{
    // The engine stops its timers and lets go of the display copies before the seams go.
    m_engine->ResetCanvas();
    m_engine->SetObserver(nullptr);
}

void CGraphView::ShowPage(int n)
{
    m_engine->ShowPage(n);
    update();
}

void CGraphView::ResetCanvas()
{
    m_engine->ResetCanvas();
    m_directItem = -1;
    update();
}

void CGraphView::SetFrameToggles(bool itemFrames, int frameColour, bool editableFrames,
                                 bool editedFrames)
{
    m_renderer.SetFrameToggles({itemFrames, frameColour, editableFrames, editedFrames});
    repaint();
}

void CGraphView::SetModeAccess(int modeAccess)
{
    m_renderer.SetModeAccess(modeAccess);
    update();
}

void CGraphView::SetToggles(bool linkedClicks, bool timers)
{
    m_engine->SetLinkedClicks(linkedClicks);
    m_engine->SetTimersOn(timers);
    m_panel->SetToggles(linkedClicks, timers);
}

bool CGraphView::LinkedClicks() const
{
    return m_engine->LinkedClicks();
}

bool CGraphView::Timers() const
{
    return m_engine->TimersOn();
}

void CGraphView::PlacePanel(const QRect &workArea)
{
    m_panel->PlaceBeside(workArea, QRect(mapToGlobal(QPoint(0, 0)), size()));
}

void CGraphView::Repaint()
{
    m_directItem = -1;
    update();
}

void CGraphView::RedrawItemDirect(int itemId, const QString &text)
{
    const QRect rect = m_renderer.ItemRect(size(), *m_engine, itemId);
    if (rect.isEmpty() || !isVisible())
        return;
    m_directItem = itemId;
    m_directText = text;
    // Only the item's rectangle is painted, at once.
    repaint(rect);
    m_directItem = -1;
}

void CGraphView::ShowMessage(const QString &text, const QString &caption)
{
    if (m_prompt)
        m_prompt->MessageBox(text, caption, PromptButtons::Ok);
}

void CGraphView::DigitEntryChanged(bool on)
{
    m_panel->SetDigitsEnabled(on);
}

void CGraphView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_directItem >= 0 && event->rect() == m_renderer.ItemRect(size(), *m_engine, m_directItem)) {
        m_renderer.PaintItemDirect(painter, size(), *m_engine, m_directItem, m_directText);
        return;
    }
    painter.fillRect(rect(), palette().color(QPalette::Window));
    m_renderer.Paint(painter, size(), *m_engine);
}

void CGraphView::mousePressEvent(QMouseEvent *event)
{
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !m_engine->LinkedClicks())
        return;
    const CCanvasMapping mapping(size(), m_engine->Vertical());
    m_engine->LinkedClick(mapping.ClientToPage(event->position()));
}

void CGraphView::keyPressEvent(QKeyEvent *event)
{
    int code = -1;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: code = kKeyEnter; break;
    case Qt::Key_Up: code = kKeyUp; break;
    case Qt::Key_Down: code = kKeyDown; break;
    case Qt::Key_Left: code = kKeyLeft; break;
    case Qt::Key_Right: code = kKeyRight; break;
    case Qt::Key_Backspace: code = kKeyBack; break;
    default: break;
    }
    if (code < 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_engine->PressKey(code);
}

} // namespace orin
