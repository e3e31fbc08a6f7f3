// SPDX-License-Identifier: MIT
#include "document/recent_files.h"

#include "settings/ini_store.h"
#include "settings/path_store.h"

namespace orin {

namespace {

QString KeyOf(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}

} // namespace

void CRecentFiles::Add(const QString &path)
{
    if (path.isEmpty())
        return;
    m_entries.removeAll(path);
    m_entries.prepend(path);
    while (m_entries.size() > kMaxEntries)
        m_entries.removeLast();
}

QString CRecentFiles::At(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_entries.at(index);
}

void CRecentFiles::Load(const CIniStore &store, const CPathStore &paths)
{
    m_entries.clear();
    if (const std::optional<QStringList> kept = paths.RecentFiles()) {
        for (const QString &path : *kept) {
            if (!path.isEmpty() && !m_entries.contains(path) && m_entries.size() < kMaxEntries)
                m_entries.append(path);
        }
        return;
    }
    // The section is read whole because single values are cut at 255 characters, which long
    // paths exceed.
    const IniPairs pairs = store.GetSection(kRecentFileSection);
    for (int i = 0; i < kMaxEntries; ++i) {
        for (const auto &pair : pairs) {
            if (pair.first.compare(KeyOf(i), Qt::CaseInsensitive) != 0)
                continue;
            if (!pair.second.isEmpty() && !m_entries.contains(pair.second))
                m_entries.append(pair.second);
            break;
        }
    }
}

bool CRecentFiles::Save(CIniStore &store, CPathStore &paths) const
{
    if (!paths.WriteRecentFiles(m_entries))
        return false;
    store.RemoveSection(kRecentFileSection);
    return true;
}

} // namespace orin
