// SPDX-License-Identifier: MIT
#pragma once

#include "preview/action_trace.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QPushButton;
class QTextBrowser;

// The action trace of the preview: every key, action entry (the entry that ran highlighted in
// its action string) and change, indented by depth; with the timers held, one tick at a time.

namespace orin {

class CGraphView;

class CTracePanel : public QWidget, public CActionTraceObserver {
    Q_OBJECT
public:
    // Traces the simulation of `canvas`, which may go before the panel.
    explicit CTracePanel(CGraphView &canvas, QWidget *parent = nullptr);
    ~CTracePanel() override;

    // Listens to the engine while on; off, the engine traces nothing.
    void SetListening(bool on);
    bool Listening() const { return m_listening; }

    // The lines shown, as plain text with two spaces per depth (for tests and copying).
    const QStringList &Lines() const { return m_lines; }
    QTextBrowser *View() const { return m_view; }
    QPushButton *PauseButton() const { return m_pause; }
    QPushButton *StepButton() const { return m_step; }
    QPushButton *ClearButton() const { return m_clear; }

    void OnTrace(const TraceEvent &event) override;
    void Clear();

private:
    QPointer<CGraphView> m_canvas;
    bool m_listening = false;
    QStringList m_lines;
    QTextBrowser *m_view = nullptr;
    QPushButton *m_pause = nullptr;
    QPushButton *m_step = nullptr;
    QPushButton *m_clear = nullptr;
};

// The line of the trace panel for one event, in the operator's words; `html` highlights the
// entry that ran and escapes the texts.
QString TraceText(const TraceEvent &event, bool html);

} // namespace orin
