// SPDX-License-Identifier: MIT
#include "document/document.h"

#include "model/ui_text.h"
#include "settings/edition_info.h"
#include "document/prompt.h"
#include "actions/data_slimming.h"
#include "document/recent_files.h"
#include "document/undo_commands.h"
#include "model/project_writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>

namespace orin {

namespace {

// Counts a command that runs the model's long loops, during which pending events are
// dispatched: the frame keeps its timers from closing the window meanwhile.
class BusyScope {
public:
    explicit BusyScope(int &counter) : m_counter(counter) { ++m_counter; }
    ~BusyScope() { --m_counter; }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    int &m_counter;
};

// Why a file that the reader could not open cannot be read.
const char16_t *UnopenableFileReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return kOpenFailedMissing;
    if (info.isDir())
        return kOpenFailedFolder;
    if (!info.isReadable())
        return kOpenFailedNoPermission;
    return kOpenFailedUnreadable;
}

} // namespace

bool HasProjectExtension(const QString &name)
{
    return name.endsWith(u".bjpx") || name.endsWith(u".BJPX") || name.endsWith(u".bjp") ||
           name.endsWith(u".BJP");
}

QString ApplyExtensionRule(const QString &name)
{
    return HasProjectExtension(name) ? name : name + QStringLiteral(".bjpx");
}

QString OpenFailedText(const QString &path, QStringView reason)
{
    return UiText(kOpenFailedMessage) + u'\n' + QDir::toNativeSeparators(path) + u'\n'
           + UiText(reason);
}

QString FileNamePart(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

CDocument::CDocument(CContentModel &model, CPrompt &prompt, CRecentFiles &recentFiles,
                     LoadServices services, int edition, QObject *parent)
    : QObject(parent),
      m_model(model),
      m_prompt(prompt),
      m_recentFiles(recentFiles),
      m_services(std::move(services)),
      m_edition(edition),
      m_title(EditionTitle(edition))
{
    m_sizeLimit = SelectSizeLimit(m_limits, -1, m_edition);
}

void CDocument::SetSizeLimits(const SizeLimitSettings &limits)
{
    m_limits = limits;
    m_sizeLimit = SelectSizeLimit(m_limits, -1, m_edition);
}

void CDocument::SetInitialSettings(int exPng, int vertical, int convertAac)
{
    m_settings.ExPNG = exPng;
    m_settings.Vertical = vertical;
    m_settings.ConvertAAC = convertAac;
}

QString CDocument::PngPaneText() const
{
    return m_settings.ExPNG == 1 ? QStringLiteral(" H") : QStringLiteral(" D");
}

void CDocument::SetModified()
{
    ++m_editCount;
    m_modified = true;
    if (!m_title.endsWith(u'*')) {
        m_title += u'*';
        emit TitleChanged(m_title);
    }
}

void CDocument::ShowSize(SizeForm form)
{
    SetSizeLine(FormatSizeLine(m_model.usedSize, m_sizeLimit, form));
}

QString CDocument::AskFileName(const QString &title, bool forOpen,
                               const QString &startFile) const
{
    FileDialogRequest request;
    request.kind = forOpen ? FileDialogKind::Open : FileDialogKind::Save;
    request.title = title;
    request.filterText = UiText(kProjectFilterText);
    request.filterPatterns = QString::fromUtf16(kProjectFilterPatterns).split(u';');
    request.startFolder = m_projectFolder;
    request.startFile = startFile;
    request.fileMustExist = forOpen;
    request.hideReadOnly = forOpen;
    request.overwritePrompt = false;
    return QDir::fromNativeSeparators(m_prompt.FileDialog(request));
}

void CDocument::SetTitleFor(const QString &path)
{
    m_title = EditionTitle(m_edition) + QStringLiteral(" - ") + FileNamePart(path);
    emit TitleChanged(m_title);
}

void CDocument::SetSizeLine(const QString &text)
{
    m_sizeLine = text;
    emit SizeLineChanged(m_sizeLine);
}

bool CDocument::Open()
{
    const QString chosen = AskFileName(UiText(kOpenDialogTitle), true);
    if (chosen.isEmpty())
        return false;
    // The name becomes the current path inside OpenProjectFile, after the question about the
    // project still open: a save asked for there must go to that project's own file.
    return OpenProjectFile(ApplyExtensionRule(chosen));
}

bool CDocument::OpenProjectFile(const QString &path)
{
    if (m_modified) {
        const PromptAnswer answer = m_prompt.MessageBox(
            UiText(kSaveBeforeOpenQuestion), UiText(kWarningCaption), PromptButtons::YesNo);
        if (answer == PromptAnswer::Yes && !Save())
            return false;
        if (answer == PromptAnswer::Cancel)
            return false;
    }
    BusyScope busy(m_busy);
    ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
    if (!ShowLoadedProject(path, &integrity))
        return false;
    const bool damaged = integrity != ProjectIntegrity::Complete;
    m_projectFolder = FolderOf(path);
    if (damaged) {
        // No current file: Save asks for a name, and the damaged file stays as it is.
        m_damagedFiles.append(QFileInfo(path).absoluteFilePath());
        m_currentPath.clear();
        m_title = EditionTitle(m_edition);
        emit TitleChanged(m_title);
    } else {
        m_currentPath = path;
        m_recentFiles.Add(path);
        emit RecentFilesChanged();
        SetTitleFor(path);
    }
    emit PngPaneChanged(PngPaneText());
    m_modified = false;
    m_contentOpened = true;
    // The edits of another content set cannot be taken back into this one.
    m_undoStack.clear();
    emit ProjectOpened();
    if (damaged) {
        m_prompt.MessageBox(UiText(kDamagedFileWarning), UiText(kWarningCaption),
                            PromptButtons::Ok);
    }
    return true;
}

bool CDocument::ShowLoadedProject(const QString &path, ProjectIntegrity *integrity)
{
    BusyScope busy(m_busy);
    // The content on screen, its settings and sizes stay as they are until the file has
    // given a project.
    const QString extension = QFileInfo(path).suffix().toLower();
    const bool unicode = extension == u"bjpx";
    CContentModel loaded;
    ProgramSettings settings = m_settings;
    ProjectIntegrity found = ProjectIntegrity::NoRoot;
    qint64 used = 0;
    const char16_t *failure = nullptr;
    if (!unicode && extension != u"bjp")
        failure = kOpenFailedNotProjectName;
    else if (!LoadProject(path, unicode, settings, used, loaded, m_services, &found))
        failure = UnopenableFileReason(path);
    else if (found == ProjectIntegrity::NoRoot)
        failure = kOpenFailedNoProject;
    if (failure) {
        m_prompt.MessageBox(OpenFailedText(path, failure), UiText(kErrorCaption),
                            PromptButtons::Ok);
        return false;
    }
    m_model = std::move(loaded);
    m_settings = settings;
    m_sizeLimit = SelectSizeLimit(m_limits, m_settings.ExPNG, m_edition);
    m_model.usedSize = TotalDataSize(m_model);
    SetSizeLine(FormatSizeLine(m_model.usedSize, m_sizeLimit, SizeForm::Binary));
    if (integrity)
        *integrity = found;
    return true;
}

bool CDocument::SaveTo(const QString &path)
{
    BusyScope busy(m_busy);
    const FileResult result =
        SaveProject(m_model, path, SaveMode::Plain, ContentFolderOf(path), m_settings);
    if (!result.ok) {
        // The operator must see that the content is not saved: title, modified flag and the
        // current file stay as they were.
        m_prompt.MessageBox(result.message, UiText(kErrorCaption), PromptButtons::Ok);
        return false;
    }
    m_currentPath = path;
    m_projectFolder = FolderOf(path);
    m_recentFiles.Add(path);
    emit RecentFilesChanged();
    SetTitleFor(path);
    m_modified = false;
    return true;
}

bool CDocument::MayWriteOver(const QString &path)
{
    const QFileInfo target(path);
    for (const QString &damaged : std::as_const(m_damagedFiles)) {
        const QFileInfo original(damaged);
        const bool same = target.absoluteFilePath() == original.absoluteFilePath()
                          || (target.exists()
                              && target.canonicalFilePath() == original.canonicalFilePath());
        if (same) {
            m_prompt.MessageBox(UiText(kDamagedTargetMessage).arg(FileNamePart(path)),
                                UiText(kErrorCaption), PromptButtons::Ok);
            return false;
        }
    }
    // A folder is not asked about: the save refuses it with its own message. Nor is the file
    // being edited: saving it again is what Save does.
    if (!target.exists() || target.isDir()
        || (!m_currentPath.isEmpty()
            && target.absoluteFilePath() == QFileInfo(m_currentPath).absoluteFilePath()))
        return true;
    return m_prompt.MessageBox(UiText(kOverwriteQuestion).arg(FileNamePart(path)),
                               UiText(kWarningCaption), PromptButtons::YesNoDefaultNo)
           == PromptAnswer::Yes;
}

bool CDocument::Save()
{
    QString path = m_currentPath;
    if (path.isEmpty()) {
        // The dialog of a first save carries the title of the open dialog, as it always has.
        const QString chosen = AskFileName(UiText(kOpenDialogTitle), false);
        if (chosen.isEmpty())
            return false;
        path = ApplyExtensionRule(chosen);
        if (!MayWriteOver(path))
            return false;
    }
    return SaveTo(path);
}

bool CDocument::SaveAs()
{
    // The dialog starts with the current file name, the usual start of a new version.
    const QString chosen = AskFileName(UiText(kSaveAsDialogTitle), false, m_currentPath);
    if (chosen.isEmpty())
        return false;
    const QString path = ApplyExtensionRule(chosen);
    if (!MayWriteOver(path))
        return false;
    return SaveTo(path);
}

bool CDocument::PortableSave()
{
    const QString chosen = AskFileName(UiText(kPortableDialogTitle), false);
    if (chosen.isEmpty())
        return false;
    const QString path = ApplyExtensionRule(chosen);
    if (QFileInfo::exists(path)) {
        m_prompt.MessageBox(UiText(kPortableExistsMessage), UiText(kErrorCaption),
                            PromptButtons::Ok);
        return false;
    }
    BusyScope busy(m_busy);
    m_portableFolder = FolderOf(path);
    const QString contentFolder = ContentFolderOf(path);
    CreateFolderPath(contentFolder);
    const FileResult result =
        SaveProject(m_model, path, SaveMode::Portable, contentFolder, m_settings);
    if (!result.ok) {
        m_prompt.MessageBox(result.message, UiText(kErrorCaption), PromptButtons::Ok);
        return false;
    }
    return true;
}

bool CDocument::OpenRecent(int index)
{
    if (m_accessMode == kServerAccessMode)
        return false;
    const QString path = m_recentFiles.At(index);
    if (path.isEmpty())
        return false;
    return OpenProjectFile(path);
}

DropResult CDocument::DropFiles(const QStringList &paths)
{
    if (paths.isEmpty())
        return DropResult::NotProject;
    const QString first = QDir::fromNativeSeparators(paths.first());
    if (m_accessMode == kServerAccessMode || !HasProjectExtension(first))
        return DropResult::NotProject;
    return OpenProjectFile(first) ? DropResult::Opened : DropResult::Kept;
}

void CDocument::CommitOpenEdits()
{
    if (m_committingOpenEdits)
        return;
    const QScopedValueRollback<bool> committing(m_committingOpenEdits, true);
    emit OpenEditsCommitRequested();
}

bool CDocument::SlimData()
{
    if (m_prompt.MessageBox(UiText(kSlimQuestion), UiText(kSlimCaption), PromptButtons::YesNo)
        != PromptAnswer::Yes)
        return false;
    CommitOpenEdits();
    const TableValues before = CaptureTables(m_model, kImageTables);
    SlimUnusedImages(m_model);
    // Slimming keeps the modified flag as it was, also when it is undone or redone.
    Push(new CTablesCommand(
        *this, m_model, QCoreApplication::translate("OrinEdit", "データスリム化"), kImageTables,
        before, CaptureTables(m_model, kImageTables), {false, true, SizeForm::Decimal, false}));
    return true;
}

bool CDocument::DeletePage(int index)
{
    if (!m_model.pages.IsValidIndex(index))
        return false;
    CommitOpenEdits();
    Push(new CRemovePageCommand(*this, m_model, index));
    return true;
}

void CDocument::EditApplied(int pageIndex, const EditEffect &effect, bool replay)
{
    if (effect.countSize)
        RecountUsedSize(effect.sizeForm);
    if (effect.setsModified)
        SetModified();
    emit ModelEdited(pageIndex, effect.pageTable, replay);
}

void CDocument::RecountUsedSize(SizeForm form)
{
    m_model.usedSize = TotalDataSize(m_model);
    SetSizeLine(FormatSizeLine(m_model.usedSize, m_sizeLimit, form));
}

bool CDocument::QueryClose()
{
    if (!m_modified)
        return true;
    return m_prompt.MessageBox(UiText(kDiscardQuestion), UiText(kWarningCaption),
                               PromptButtons::YesNoDefaultNo)
           == PromptAnswer::Yes;
}

} // namespace orin
