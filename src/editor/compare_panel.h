// SPDX-License-Identifier: MIT
#pragma once

#include "actions/content_diff.h"
#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/work_folder_images.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace orin {

class CComparePicture;

// The comparison dock's content: the changes between a content set read from a file ("before")
// and the open one ("after"), as a list, and the chosen page side by side, before and after,
// drawn by the canvas's renderer with the changed items framed. The comparison itself is
// DiffContent's; the panel only shows it.
class CComparePanel : public QWidget {
    Q_OBJECT
public:
    // `after` and its settings are the open content set; they must outlive the panel. Display
    // copies of the pictures go into `workFolder`.
    CComparePanel(const CColourMap &map, const CContentModel &after,
                  const ProgramSettings &afterSettings, const QString &workFolder,
                  QWidget *parent = nullptr);
    ~CComparePanel() override;

    // Takes the "before" side read from `path` and compares.
    void SetBefore(std::unique_ptr<CContentModel> model, const ProgramSettings &settings,
                   const QString &path);
    bool HasBefore() const { return m_before != nullptr; }
    // The open set's own file (empty while it has none): a path inside its content folder is
    // the same file as that path inside the other file's content folder.
    void SetAfterPath(const QString &path) { m_afterPath = path; }
    // Compares again (after an edit of the open set), keeping the chosen page when it is still
    // listed.
    void Refresh();
    // Chooses (and opens) the first page of the list, when there is one.
    void ChooseFirstPage();

    const ContentDiff &Diff() const { return m_diff; }
    QTreeWidget *ChangeList() const { return m_list; }
    // The pictures of the chosen page; null when that side has no such page.
    QImage BeforePicture() const { return m_beforePicture; }
    QImage AfterPicture() const { return m_afterPicture; }
    QString Summary() const;
    // The words of the list's lines, in the language of the editor.
    static DiffWording Wording();

    // The size each side is drawn at.
    static constexpr QSize kPictureSize{480, 270};

signals:
    // The operator double-clicked a page that the open set has.
    void PageActivated(int pageId);

private:
    void Fill();
    void ShowPage(const PageDiff *page);
    void OnCurrentChanged(QTreeWidgetItem *item);

    const CColourMap &m_map;
    const CContentModel &m_after;
    const ProgramSettings &m_afterSettings;
    QString m_afterPath;
    std::unique_ptr<CContentModel> m_before;
    ProgramSettings m_beforeSettings;
    QString m_beforePath;
    ContentDiff m_diff;
    CWorkFolderImages m_images;
    QImage m_beforePicture;
    QImage m_afterPicture;

    QLabel *m_summary = nullptr;
    QTreeWidget *m_list = nullptr;
    CComparePicture *m_beforeView = nullptr;
    CComparePicture *m_afterView = nullptr;
};

} // namespace orin
