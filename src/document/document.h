// SPDX-License-Identifier: MIT
#pragma once

#include "images/size_accounting.h"
#include "model/content_model.h"
#include "model/project_reader.h"
#include "orin_version.h"

#include <QCoreApplication>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUndoStack>

// The document commands of the main frame: open, save, save as, portable save, recent files,
// dropped project files and the close question, with the state they keep (current file,
// folders, modified flag, sizes) and the texts they show (window title, size pane, PNG pane).
// No widget here: the frame shows what the signals carry, and every question and file dialog
// goes through the prompt.

namespace orin {

class CPrompt;
class CRecentFiles;
struct EditEffect;

// Messages, captions and dialog texts of the document commands.
inline constexpr char16_t kOpenFailedMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルがオープンできません");
// Why a project file could not be opened; shown below the message and the file's path.
inline constexpr char16_t kOpenFailedNotProjectName[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "拡張子が .bjpx でも .bjp でもありません。");
inline constexpr char16_t kOpenFailedMissing[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルが見つかりません。");
inline constexpr char16_t kOpenFailedFolder[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルではなくフォルダです。");
inline constexpr char16_t kOpenFailedNoPermission[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "読み取りが許可されていません。");
inline constexpr char16_t kOpenFailedUnreadable[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルを読み込めません。");
inline constexpr char16_t kOpenFailedNoProject[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "プロジェクトのデータがありません（空か、別の形式のファイルです）。");
// Shown when a file holds only part of a project (cut short, or another root element).
inline constexpr char16_t kDamagedFileWarning[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "ファイルが破損しています。\n読み込めた部分だけを表示しています。\n"
                "元のファイルは上書きされません。別の名前で保存してください。");
// Asked before a save onto a file that exists (%1: its name).
inline constexpr char16_t kOverwriteQuestion[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "%1 は既に存在します。\n上書きしますか？");
// Shown when a save would write over a file that was opened as damaged (%1: its name).
inline constexpr char16_t kDamagedTargetMessage[] = u"" QT_TRANSLATE_NOOP(
    "OrinEdit", "%1 は破損したファイルのため、上書きできません。\n別の名前で保存してください。");
inline constexpr char16_t kPortableExistsMessage[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ポータブル保存の上書き保存はできません");
inline constexpr char16_t kSaveBeforeOpenQuestion[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "編集中のデータをセーブしますか？");
inline constexpr char16_t kDiscardQuestion[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "ファイルを破棄しますか？");
inline constexpr char16_t kErrorCaption[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "エラー");
inline constexpr char16_t kWarningCaption[] = u"" QT_TRANSLATE_NOOP("OrinEdit", "警告");
inline constexpr char16_t kProjectFilterText[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "bjpx,bjpﾌｧｲﾙ (*.bjpx,*.bjp)");
inline constexpr char16_t kProjectFilterPatterns[] = u"*.bjpx;*.bjp";
inline constexpr char16_t kOpenDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "BJPXファイルの読み込み");
inline constexpr char16_t kSaveAsDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "BJPXファイルの書き込み");
inline constexpr char16_t kPortableDialogTitle[] =
    u"" QT_TRANSLATE_NOOP("OrinEdit", "BJPXファイルのポータブル保存");

// The access mode in which the content lives on a server and the file commands are off.
inline constexpr int kServerAccessMode = 2;

// True when the name ends in ".bjpx", ".BJPX", ".bjp" or ".BJP" (exactly these forms).
bool HasProjectExtension(const QString &name);

// The name as a dialog returned it, with ".bjpx" appended when HasProjectExtension is false.
QString ApplyExtensionRule(const QString &name);

// The message of a project file that cannot be opened: "ファイルがオープンできません", then the
// file's path and the reason (one of the kOpenFailed texts), each on a line of its own.
QString OpenFailedText(const QString &path, QStringView reason);

// The file name part of a path (after the last "/" or "\").
QString FileNamePart(const QString &path);

// What became of files dropped on the frame.
enum class DropResult {
    NotProject, // not a project drop: the image drop may take it
    Opened,     // the first file was opened
    Kept,       // a project drop, but the open was cancelled: the current project stays
};

class CDocument : public QObject {
    Q_OBJECT
public:
    // The model, prompt and recent-file list belong to the caller and outlive the document.
    CDocument(CContentModel &model, CPrompt &prompt, CRecentFiles &recentFiles,
              LoadServices services, int edition = kEdition, QObject *parent = nullptr);

    // --- state ---
    const QString &CurrentPath() const { return m_currentPath; }
    const QString &ProjectFolder() const { return m_projectFolder; }
    void SetProjectFolder(const QString &folder) { m_projectFolder = folder; }
    const QString &PortableFolder() const { return m_portableFolder; }
    void SetPortableFolder(const QString &folder) { m_portableFolder = folder; }
    bool IsModified() const { return m_modified; }
    // True once a content set was opened (also a damaged one, shown without a file) or saved.
    bool HasOpenedContent() const { return m_contentOpened || !m_currentPath.isEmpty(); }
    qint64 UsedSize() const { return m_model.usedSize; }
    int SizeLimit() const { return m_sizeLimit; }
    ProgramSettings &Settings() { return m_settings; }
    const ProgramSettings &Settings() const { return m_settings; }
    int AccessMode() const { return m_accessMode; }
    void SetAccessMode(int mode) { m_accessMode = mode; }
    // The size-limit settings; the limit is chosen again with them after every load.
    void SetSizeLimits(const SizeLimitSettings &limits);
    // Takes the program settings that apply until a project is loaded.
    void SetInitialSettings(int exPng, int vertical, int convertAac);
    bool IsBusy() const { return m_busy > 0; }

    const QString &Title() const { return m_title; }
    const QString &SizeLine() const { return m_sizeLine; }
    // " H" when ExPNG is 1, " D" otherwise.
    QString PngPaneText() const;

    // Sets the modified flag and marks the title with "*" (once). Every editing operation
    // calls it.
    void SetModified();
    // Shows the used size held in the model against the limit in the size pane.
    void ShowSize(SizeForm form);
    // Counts the calls of SetModified: content taken at one count is the content shown while
    // the count stays the same.
    quint64 EditCount() const { return m_editCount; }
    // The content went out as it is (a confirmed upload): the modified flag is cleared and the
    // title loses its "*".
    void ClearModified();

    // --- commands; each returns true when it did its work ---
    // Open (57601): asks for a file, then OpenProjectFile. The caller shows the first page.
    bool Open();
    // The common open routine (command line, drop, recent files, Open). The file is read into
    // a fresh model that replaces the shown one only when the file held a project. False when
    // the operator's save before the open was cancelled or failed, or when the file cannot be
    // opened or holds no project (with the open-failed message): nothing changed then. A file
    // that holds only part of a project is shown as far as it could be read, with a warning
    // and without a current path, so that it is never saved over.
    bool OpenProjectFile(const QString &path);
    // Reads the project into a fresh model; when the file held one, that model and its settings
    // take the place of the shown ones and the sizes are shown. False, with the open-failed
    // message, when the extension is not a project's, the file cannot be read or holds no
    // element: nothing changes then. `integrity` receives whether the project was complete.
    bool ShowLoadedProject(const QString &path, ProjectIntegrity *integrity = nullptr);
    // Content fetched from the server: the project takes the place of the shown one, not
    // modified and without a current file (it is never saved over), under `title`. False,
    // with the open-failed message, when the file holds no project: nothing changes then.
    bool ShowServerContent(const QString &projectPath, const QString &title);
    // Save (57603): asks for a name when there is none yet.
    bool Save();
    // Save As (32771).
    bool SaveAs();
    // Portable save (32772): a copy with its own content folder; the document state stays.
    bool PortableSave();
    // Recent file entry `index` (57616 + index); nothing in the server access mode.
    bool OpenRecent(int index);
    // Files dropped on the frame: only the first is looked at.
    DropResult DropFiles(const QStringList &paths);
    // Data slimming (32814): after the operator agrees, removes the pictures and materials
    // that nothing refers to and shows the used size again (decimal form). The modified flag
    // stays as it was. True when records were looked at (the operator said Yes).
    bool SlimData();
    // Deletes the page at `index` of the page table: the used size is counted again from the
    // files and shown in the decimal form, and the document is marked modified. One undo step.
    // False for an index outside the table.
    bool DeletePage(int index);
    // The question before the window closes: true when it may close.
    bool QueryClose();
    // --- undo ---
    // Every edit of the model by the operator is one command on this stack. It is emptied when
    // another content set is opened.
    QUndoStack &UndoStack() { return m_undoStack; }
    // Pushes an edit command (done by the push) and takes it over.
    void Push(QUndoCommand *command) { m_undoStack.push(command); }
    // Every edit operation calls this before it reads or changes the model: an edit that a view
    // holds open (a text being typed in place) is committed first, as its own undo step, while
    // its page and item are still there as it found them (OpenEditsCommitRequested). The edit
    // operations that such a commit makes call it again; those calls do nothing.
    void CommitOpenEdits();
    // Called by the commands after each do and undo: counts the size when asked, sets the
    // modified flag (unless the effect says not to) and tells the views (ModelEdited).
    void EditApplied(int pageIndex, const EditEffect &effect, bool replay);

    // Puts a size text into the size pane (edit operations that count the size themselves).
    void ShowSizeLine(const QString &text) { SetSizeLine(text); }

signals:
    void TitleChanged(const QString &title);
    void SizeLineChanged(const QString &text);
    void PngPaneChanged(const QString &text);
    // A project was opened (also a damaged one): the page list follows the page table, the
    // canvas takes the page orientation, the pane shows the preview.
    void ProjectOpened();
    // The list of recent files changed.
    void RecentFilesChanged();
    // An edit command changed the model: the page at `pageIndex` (-1: none in particular),
    // the page table itself when `pageTable`; `replay` is true for undo and redo after the
    // first doing, when the views show the page concerned again.
    void ModelEdited(int pageIndex, bool pageTable, bool replay);
    // An edit operation is about to change the model: whoever holds an edit open commits it now
    // through the edit operations (see CommitOpenEdits).
    void OpenEditsCommitRequested();

private:
    QString AskFileName(const QString &title, bool forOpen,
                        const QString &startFile = QString()) const;
    bool SaveTo(const QString &path);
    // For a name chosen in a save dialog: false, after telling the operator, when the file is
    // one that was opened as damaged; asks before an existing file other than the current one
    // is replaced (No, the default, keeps it).
    bool MayWriteOver(const QString &path);
    void SetTitleFor(const QString &path);
    void SetSizeLine(const QString &text);
    // Counts the used size again from the files and shows it in `form`.
    void RecountUsedSize(SizeForm form);

    CContentModel &m_model;
    CPrompt &m_prompt;
    CRecentFiles &m_recentFiles;
    LoadServices m_services;
    int m_edition;

    ProgramSettings m_settings;
    SizeLimitSettings m_limits;
    QString m_currentPath;
    QString m_projectFolder;
    // The files opened as damaged in this run: never written over, so that their bytes (also
    // as a .bak of a later save) are never lost.
    QStringList m_damagedFiles;
    QString m_portableFolder;
    QString m_title;
    QString m_sizeLine;
    int m_sizeLimit = 0;
    int m_accessMode = 0;
    int m_busy = 0;
    bool m_modified = false;
    quint64 m_editCount = 0;
    bool m_contentOpened = false;
    bool m_committingOpenEdits = false;
    QUndoStack m_undoStack;
};

} // namespace orin
