// SPDX-License-Identifier: MIT
#include "preview/remembered_images.h"

namespace orin {

namespace {

// Pictures without alpha are kept as 32-bit pixels, the painter's own format: drawing a
// 24-bit picture converts it on every call, to the same pixels.
DisplayImage Prepared(DisplayImage shown)
{
    if (shown.image.format() == QImage::Format_RGB888)
        shown.image = shown.image.convertToFormat(QImage::Format_RGB32);
    return shown;
}

} // namespace

CRememberedImages::CRememberedImages(CImageSource &source, qint64 bytesLimit)
    : m_source(source), m_limit(bytesLimit)
{
}

template <typename Make>
DisplayImage CRememberedImages::Lookup(const QString &key, const QString &path, const Make &make)
{
    const FileStamp stamp = StampOfFile(path);
    auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        if (found->second.stamp == stamp) {
            m_recent.splice(m_recent.begin(), m_recent, found->second.use);
            return found->second.image;
        }
        m_bytes -= found->second.bytes;
        m_recent.erase(found->second.use);
        m_entries.erase(found);
    }
    ++m_asked;
    Entry entry;
    entry.stamp = stamp;
    entry.image = Prepared(make());
    entry.bytes = entry.image.image.sizeInBytes();
    m_recent.push_front(key);
    entry.use = m_recent.begin();
    m_bytes += entry.bytes;
    const DisplayImage shown = entry.image;
    m_entries.emplace(key, std::move(entry));
    LetGoBeyondLimit(key);
    return shown;
}

void CRememberedImages::LetGoBeyondLimit(const QString &keep)
{
    while (m_bytes > m_limit && !m_recent.empty() && m_recent.back() != keep) {
        auto found = m_entries.find(m_recent.back());
        m_recent.pop_back();
        if (found == m_entries.end())
            continue;
        m_bytes -= found->second.bytes;
        m_entries.erase(found);
    }
}

DisplayImage CRememberedImages::DisplayCopy(const CMyPictureInfo &record)
{
    // A record without a file shows nothing, and costs nothing to ask for.
    if (record.path.isEmpty())
        return m_source.DisplayCopy(record);
    DisplayImage shown = Lookup(QStringLiteral("p:") + record.path, record.path,
                                [&] { return m_source.DisplayCopy(record); });
    if (!shown.IsNull())
        shown.type = record.type;
    return shown;
}

DisplayImage CRememberedImages::BackgroundCopy(const CMyProgramInfo &page, bool vertical)
{
    const QString key = (vertical ? QStringLiteral("v:") : QStringLiteral("h:")) + page.background;
    return Lookup(key, page.background, [&] { return m_source.BackgroundCopy(page, vertical); });
}

} // namespace orin
