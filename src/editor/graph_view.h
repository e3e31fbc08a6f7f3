// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/page_renderer.h"
#include "preview/preview_engine.h"
#include "preview/work_folder_images.h"

#include <QWidget>

class QMenu;

#include <memory>

// The page canvas of edit mode: shows the page through the renderer, turns clicks and keys into
// calls of the receiver simulation and repaints what the simulation reports as changed. The
// remote-control panel floats beside it.

namespace orin {

class CDlgPanel;
class CDocumentEdits;
class CItemClipboard;
class CPrompt;
class CQtCommandQueue;
class CQtTimerService;

class CGraphView : public QWidget, public CPreviewObserver {
    Q_OBJECT
public:
    // `prompt` shows the loop guard's message; null: none is shown.
    CGraphView(const CContentModel &model, const ProgramSettings &settings,
               const CColourMap &map, const QString &workFolder, CPrompt *prompt,
               QWidget *parent = nullptr);
    ~CGraphView() override;

    // Shows page (or special screen) n through the simulation.
    void ShowPage(int n);
    // A content set was opened, closed or created.
    void ResetCanvas();
    // The view menu's frame toggles; repaints at once.
    void SetFrameToggles(bool itemFrames, int frameColour, bool editableFrames, bool editedFrames);
    void SetModeAccess(int modeAccess);
    // The panel's two switches (from the settings at start, back to them at close).
    void SetToggles(bool linkedClicks, bool timers);
    bool LinkedClicks() const;
    bool Timers() const;

    CPreviewEngine &Engine() { return *m_engine; }
    CQtTimerService &TimerService() { return *m_timers; }
    const CPageRenderer &Renderer() const { return m_renderer; }
    CDlgPanel *Panel() const { return m_panel; }
    // Places the panel beside this view for the given work area.
    void PlacePanel(const QRect &workArea);

    // --- the item menu (right button) ---
    // The model, its edit operations and the frame's item clipboard that the menu's commands
    // use; all outlive the canvas. Until bound (and without a prompt) the menu offers nothing.
    void BindEdits(CContentModel *model, CDocumentEdits *edits, CItemClipboard *clipboard);
    void SetModeAction(int modeAction) { m_modeAction = modeAction; }
    // The item menu for a point of the canvas; null when it has no entries. Its actions carry
    // their command numbers (data) and post them to the canvas when triggered.
    std::unique_ptr<QMenu> MakeItemMenu(QPoint clientPoint);
    // Runs a command of the item menu opened last. Indexes that are no longer in the display
    // list and pages that are gone are ignored.
    void RunItemCommand(int command);

    // Tells the remote-control panel what each key would do on the shown page with the
    // current focus (done at every repaint of the simulation).
    void UpdateKeyCoverage();

    // --- CPreviewObserver ---
    void Repaint() override;
    void RedrawItemDirect(int itemId, const QString &text) override;
    void ShowMessage(const QString &text, const QString &caption) override;
    void DigitEntryChanged(bool on) override;

signals:
    // The simulation repainted: the shown page or the focus may have changed.
    void PreviewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The row of the page the canvas shows, or -1 (a special screen or no page).
    int ShownRow() const;

    CPrompt *m_prompt = nullptr;
    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    const CColourMap &m_map;
    CContentModel *m_editModel = nullptr;
    CDocumentEdits *m_edits = nullptr;
    CItemClipboard *m_clipboard = nullptr;
    int m_modeAction = 1;
    // Where the item menu was opened last: the page point, the topmost item there (display
    // index, -1 none) and the page record it showed.
    QPointF m_menuPoint;
    int m_menuIndex = -1;
    quint64 m_menuPage = 0;
    CWorkFolderImages m_images;
    CPageRenderer m_renderer;
    std::unique_ptr<CQtTimerService> m_timers;
    std::unique_ptr<CQtCommandQueue> m_queue;
    std::unique_ptr<CPreviewEngine> m_engine;
    CDlgPanel *m_panel = nullptr;
    // The item that the next paint draws on its own, with its text (marquee and clock).
    int m_directItem = -1;
    QString m_directText;
};

} // namespace orin
