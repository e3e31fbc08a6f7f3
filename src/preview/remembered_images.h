// SPDX-License-Identifier: MIT
#pragma once

#include "images/file_stamp.h"
#include "preview/display_state.h"

#include <QString>

#include <cstdint>
#include <list>
#include <unordered_map>

// Remembers the display copies another image source makes, so that a picture or background
// shown on many pages is decoded once: each is kept under its file's path with the file's
// size, modification and change time and identity when it was made, and made again when any
// of them differ (a changed file is decoded again). The least recently used are let go once
// the kept pixels take more than the limit (the one just made always stays).

namespace orin {

class CRememberedImages : public CImageSource {
public:
    static constexpr qint64 kDefaultBytesLimit = qint64(128) << 20;

    // `source` must outlive this.
    explicit CRememberedImages(CImageSource &source, qint64 bytesLimit = kDefaultBytesLimit);

    DisplayImage DisplayCopy(const CMyPictureInfo &record) override;
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override;

    // How many copies the source was asked for (a test's probe).
    int CopiesAsked() const { return m_asked; }
    qint64 KeptBytes() const { return m_bytes; }

private:
    struct Entry {
        FileStamp stamp;
        DisplayImage image;
        qint64 bytes = 0;
        std::list<QString>::iterator use; // place in m_recent
    };
    template <typename Make>
    DisplayImage Lookup(const QString &key, const QString &path, const Make &make);
    void LetGoBeyondLimit(const QString &keep);

    CImageSource &m_source;
    qint64 m_limit;
    qint64 m_bytes = 0;
    int m_asked = 0;
    std::unordered_map<QString, Entry> m_entries;
    std::list<QString> m_recent; // keys, most recently used first
};

} // namespace orin
