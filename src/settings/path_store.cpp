// SPDX-License-Identifier: MIT
#include "settings/path_store.h"

#include "model/safe_file.h"
#include "settings/app_settings.h"
#include "settings/ini_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace orin {

namespace {

const QLatin1String kRecentKey("recentFiles");
const QLatin1String kFoldersKey("folders");

QJsonObject ReadObject(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// Rewrites the file with `edit` applied. A file that exists but is not a JSON object is
// replaced: it holds nothing this program could read back.
template <typename EditFn> bool ModifyObject(const QString &path, EditFn edit)
{
    QJsonObject object = ReadObject(path);
    edit(object);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = QJsonDocument(object).toJson(QJsonDocument::Indented);
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return CommitSaveFile(out);
}

// The three folders with their members.
struct FolderKey {
    const char *key;
    QString AppSettings::*member;
};

const FolderKey kFolderKeys[] = {
    {"DefaultFileDir", &AppSettings::DefaultFileDir},
    {"PortableDir", &AppSettings::PortableDir},
    {"ImageDir", &AppSettings::ImageDir},
};

} // namespace

QString PathStoreFilePath(const QString &settingsFilePath)
{
    const QFileInfo info(settingsFilePath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".paths.json"));
}

CPathStore::CPathStore(QString path) : m_path(std::move(path)) {}

std::optional<QStringList> CPathStore::RecentFiles() const
{
    const QJsonValue value = ReadObject(m_path).value(kRecentKey);
    if (!value.isArray())
        return std::nullopt;
    QStringList paths;
    for (const QJsonValue &entry : value.toArray()) {
        if (entry.isString())
            paths.append(entry.toString());
    }
    return paths;
}

bool CPathStore::WriteRecentFiles(const QStringList &paths)
{
    return ModifyObject(m_path, [&paths](QJsonObject &object) {
        object.insert(kRecentKey, QJsonArray::fromStringList(paths));
    });
}

std::optional<QString> CPathStore::Folder(const QString &key) const
{
    const QJsonValue value = ReadObject(m_path).value(kFoldersKey).toObject().value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

bool CPathStore::WriteFolders(const QList<QPair<QString, QString>> &folders)
{
    return ModifyObject(m_path, [&folders](QJsonObject &object) {
        QJsonObject kept = object.value(kFoldersKey).toObject();
        for (const auto &folder : folders)
            kept.insert(folder.first, folder.second);
        object.insert(kFoldersKey, kept);
    });
}

void RestoreExactFolders(AppSettings &settings, const CPathStore &paths)
{
    for (const FolderKey &folder : kFolderKeys) {
        const std::optional<QString> exact = paths.Folder(QLatin1String(folder.key));
        QString &value = settings.*folder.member;
        if (exact && IniReadBack(*exact).left(kIniValueMax) == value)
            value = *exact;
    }
}

bool WriteExactFolders(CPathStore &paths, const AppSettings &settings)
{
    QList<QPair<QString, QString>> folders;
    for (const FolderKey &folder : kFolderKeys)
        folders.append({QLatin1String(folder.key), settings.*folder.member});
    return paths.WriteFolders(folders);
}

} // namespace orin
