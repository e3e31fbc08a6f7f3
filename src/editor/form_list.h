// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QSize>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <optional>

class QLabel;
class QMenu;
class QPushButton;

namespace orin {

class CDocument;
class CDocumentEdits;
class CPageListModel;
class CPageListView;
class CPrompt;

// The commands of the page list's context menu.
namespace listcmd {
inline constexpr int kChangeBackground = 32796;
inline constexpr int kRenumber = 32780;
inline constexpr int kPageProperties = 32797;
inline constexpr int kDesignMode = 32798;
inline constexpr int kDeletePage = 32795;
} // namespace listcmd

// The page list at the left of the main window: the zoom buttons "-" and "+", the label
// "ページ" and the virtual list of the pages (id, thumbnail, comment). It shows pages on a
// double-click, runs the page commands of its context menu, edits comments in place and takes
// the drags and drops of pages. Every change goes through the edit operations of the document.
class CFormList : public QWidget {
    Q_OBJECT
public:
    explicit CFormList(QWidget *parent = nullptr);
    ~CFormList() override;

    // Points the list at the page table of the model (null for none).
    void SetPageTable(const CMyDataArray<CMyProgramInfo> *pages);
    // The model, document and edit operations the commands use (all outlive the list).
    void Bind(CContentModel *model, CDocument *document, CDocumentEdits *edits,
              CPrompt *prompt);
    // Sets the row count after the page table changed.
    void SetItemCount(int count);
    int ItemCount() const;
    // Redraws the row of a changed page.
    void RefreshRow(int row);

    // --- settings the list follows ---
    void SetModeAction(int modeAction);
    void SetModeAccess(int modeAccess) { m_modeAccess = modeAccess; }
    // Backgrounds may be changed except in the server access mode, where only the current
    // server label "[BACKGROUND]" allows it.
    bool BackgroundEditable() const;
    void SetDefTimer(int defTimer) { m_defTimer = defTimer; }
    void SetDesignMode(bool design) { m_designMode = design; }

    // --- thumbnails: width 16·u by height 9·u (9·u by 16·u for portrait content) ---
    QSize ThumbnailSize() const { return m_thumbnailSize; }
    // Takes the unit from a thumbnail width (the settings file keeps the size).
    void SetThumbnailSize(const QSize &size);
    // Portrait content: thumbnails are portrait too and landscape backgrounds are turned.
    void SetVertical(bool vertical);
    int Unit() const { return m_unit; }
    // "-": u − 2 while u > 2; "+": u + 2 while u ≤ 14. Both rebuild the thumbnails.
    void ZoomOut();
    void ZoomIn();
    // Size, column and row heights from u; the list scrolls to the top.
    void RebuildThumbnails();
    // Lays the columns out for the current width.
    void LayoutList();

    // --- rows and commands ---
    // The first selected row, or -1.
    int SelectedRow() const;
    void SelectRow(int row);
    // The context menu for the current ModeAction (full or short), its actions carrying their
    // command numbers; the caller owns it.
    std::unique_ptr<QMenu> MakeContextMenu();
    // Runs a command of the context menu on the selected row.
    void RunCommand(int commandId);

    CPageListView *ListView() const { return m_view; }
    CPageListModel *ListModel() const { return m_model; }

signals:
    // The operator chose the page at `row` (a double-click).
    void PageActivated(int row);
    // "編集／デザインモード切替" for the selected row.
    void DesignModeRequested(int row);
    // Files other than backgrounds were dropped on the list (project files go to the frame).
    void FilesDropped(const QStringList &paths);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void OnInternalDrop(int source, int target, bool copy);
    void OnTextDropped(const std::optional<QString> &text);
    void OnPageProperties(int row);
    void ApplyUnit();

    CPageListView *m_view = nullptr;
    CPageListModel *m_model = nullptr;
    QPushButton *m_minus = nullptr;
    QPushButton *m_plus = nullptr;
    QLabel *m_label = nullptr;
    CContentModel *m_content = nullptr;
    CDocument *m_document = nullptr;
    CDocumentEdits *m_edits = nullptr;
    CPrompt *m_prompt = nullptr;
    int m_modeAction = 1;
    int m_modeAccess = 0;
    int m_defTimer = 0;
    bool m_designMode = false;
    bool m_vertical = false;
    int m_unit = 10;
    QSize m_thumbnailSize{160, 90};
};

} // namespace orin
