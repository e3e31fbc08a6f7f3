// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

// Paths that must come back exactly as they were kept: the recent-file list and the remembered
// folders. The settings file is in code page 932, which lacks characters that file names on
// this platform may hold ("café"), so these live in a UTF-8 file of their own beside it, a JSON
// object such as {"recentFiles": ["/home/a/café.bjpx"], "folders": {"DefaultFileDir": "…"}}.

namespace orin {

struct AppSettings;

// The name of the path file beside a settings file: its base name + ".paths.json"
// ("OrinEditHTML.ini" -> "OrinEditHTML.paths.json").
QString PathStoreFilePath(const QString &settingsFilePath);

class CPathStore {
public:
    explicit CPathStore(QString path);

    const QString &Path() const { return m_path; }

    // The recent-file list, newest first; nullopt when the file holds none (no file yet, or an
    // unreadable one), so that the caller can fall back on an older store.
    std::optional<QStringList> RecentFiles() const;
    // Replaces the list. False when the file could not be written.
    bool WriteRecentFiles(const QStringList &paths);

    // The folder kept under the key; nullopt when there is none.
    std::optional<QString> Folder(const QString &key) const;
    // Keeps the folders (key, path) in one rewrite. False when the file could not be written.
    bool WriteFolders(const QList<QPair<QString, QString>> &folders);

private:
    QString m_path;
};

// The remembered folders (DefaultFileDir, PortableDir, ImageDir) as the settings file cannot
// hold them exactly. The settings file stays their store: a kept folder replaces what the
// settings file gave only while that value is still the one written for it, so a folder
// changed in the settings file by hand wins.
void RestoreExactFolders(AppSettings &settings, const CPathStore &paths);
bool WriteExactFolders(CPathStore &paths, const AppSettings &settings);

} // namespace orin
