// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/page_renderer.h"
#include "preview/preview_engine.h"
#include "preview/work_folder_images.h"
#include "document/text_commit.h"

#include <QWidget>

class QMenu;

#include <memory>
#include <optional>

// The page canvas of edit mode: shows the page through the renderer, turns clicks and keys into
// calls of the receiver simulation and repaints what the simulation reports as changed. The
// remote-control panel floats beside it.

namespace orin {

class CDlgGText;
class CDlgPanel;
class CDocumentEdits;
class CInPlaceEditor;
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
    // Once bound, a text being typed in place is committed before any edit operation of the
    // document changes the model.
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

    // --- item editing (graph_view_text.cpp) ---
    // Edits the text of display index `index`: typed in place, or with `shift` (and for texts
    // with sections) in the text dialog.
    void EditText(int index, bool shift);
    // "画像変更..." for the image of display index `index`.
    void ChangeImage(int index);
    // Ends typing in place: the text goes to the item it was typed on (its page, item and text
    // source as they were when typing began). Runs before anything changes what the canvas
    // shows and before save, close, open and the mode switch.
    void EndTextEditing();
    bool IsTypingInPlace() const { return m_inPlaceIndex >= 0; }
    CInPlaceEditor *InPlaceEditor() const { return m_inPlace; }
    CDlgGText *TextDialog() const { return m_textDialog; }
    // The model changed: a text dialog whose page, item or text record is gone closes, so that
    // nothing typed there can be lost on "更新" without a word.
    void DropGoneTextTarget();
    // An edit command of the main menu (undo, cut, copy, paste) for the in-place editor; false
    // when the editor does not have the keyboard focus.
    bool RunEditCommand(int command);
    // An image file dropped at a client point: the image of the item there takes the file.
    // False when nothing changed.
    bool DropImageAt(QPoint clientPoint, const QString &path);
    // Whether a drop of `path` at the client point would reach an item's image.
    bool AcceptsImageDrop(QPoint clientPoint, const QString &path) const;
    // The operator hid the panel with a right double-click (it stays hidden when the window
    // moves).
    bool PanelHiddenByOperator() const { return m_panelHidden; }

    // --- CPreviewObserver ---
    void Repaint() override;
    void RedrawItemDirect(int itemId, const QString &text) override;
    void ShowMessage(const QString &text, const QString &caption) override;
    void DigitEntryChanged(bool on) override;
    void PageChanging() override;

signals:
    // The simulation repainted: the shown page or the focus may have changed.
    void PreviewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void CreateTextEditors();
    // The topmost item under the client point that a double-click edits (cursor-only items are
    // passed over); -1 none.
    int EditableItemAt(QPoint clientPoint) const;
    // Where the text of display index `index` comes from, on the page shown now.
    TextEditTarget TargetOf(int index) const;
    void StartInPlace(int index);
    // Puts the in-place editor over its item for the canvas's present size, showing `text`.
    void PlaceInPlaceEditor(const QString &text);
    // The text dialog's "更新".
    void OnTextCommitted(const QString &text);
    // The image id shown by the topmost item under the client point (0: none).
    int DropPictureAt(QPoint clientPoint) const;
    bool CanEdit() const;
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

    // Typing in place: the editor, the display index it covers and where its text goes.
    CInPlaceEditor *m_inPlace = nullptr;
    int m_inPlaceIndex = -1;
    TextEditTarget m_inPlaceTarget;
    // The text dialog: the display index of an item's own text (-1 none), the text id it was
    // opened with and its target, none once used or reset.
    CDlgGText *m_textDialog = nullptr;
    int m_dialogIndex = -1;
    int m_dialogTextId = 0;
    std::optional<TextEditTarget> m_dialogTarget;
    // While an edit of ours is written, the page shown again by whoever follows the model
    // would drop the display list we have just updated.
    int m_committing = 0;
    bool m_panelHidden = false;
};

} // namespace orin
