// SPDX-License-Identifier: MIT
#include "images/size_accounting.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace orin {

qint64 FileSizeOf(const QString &path)
{
    const QFileInfo info(path);
    // Only what can be opened counts: a missing or unreadable file is -1.
    if (!info.isFile() || !info.isReadable())
        return -1;
    return info.size();
}

qint64 CountedFileSize(const QString &path)
{
    return std::max<qint64>(0, FileSizeOf(path));
}

std::vector<CountedFile> CountedFiles(const CContentModel &model)
{
    std::vector<CountedFile> files;
    QSet<QString> backgrounds;
    for (const auto &page : model.pages) {
        if (page->background.isEmpty() || backgrounds.contains(page->background))
            continue;
        backgrounds.insert(page->background);
        files.push_back({page->background, CountedFileSize(page->background)});
    }
    auto addPaths = [&files](const auto &table) {
        for (const auto &record : table) {
            if (!record->path.isEmpty())
                files.push_back({record->path, CountedFileSize(record->path)});
        }
    };
    addPaths(model.pictures);
    addPaths(model.materials);
    addPaths(model.sounds);
    return files;
}

qint64 TotalDataSize(const CContentModel &model)
{
    qint64 total = 0;
    for (const CountedFile &file : CountedFiles(model))
        total += file.bytes;
    return total;
}

QString FormatSizeLine(qint64 usedBytes, int limitKb, SizeForm form)
{
    const qint64 usedKb = usedBytes / 1024;
    qint64 usedWhole, usedPart, limitWhole, limitPart;
    if (form == SizeForm::Binary) {
        usedWhole = usedBytes / 1048576;
        usedPart = (usedKb % 1024) / 10;
        limitWhole = limitKb / 1024;
        limitPart = (limitKb % 1024) / 10;
    } else {
        usedWhole = usedKb / 1000;
        usedPart = (usedKb % 1000) / 10;
        limitWhole = limitKb / 1000;
        limitPart = (limitKb % 1000) / 10;
    }
    auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return QStringLiteral("%1.%2/%3.%4 M")
        .arg(usedWhole)
        .arg(two(usedPart))
        .arg(limitWhole)
        .arg(two(limitPart));
}

} // namespace orin
