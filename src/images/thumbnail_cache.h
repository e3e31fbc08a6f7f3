// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

#include <list>

// The thumbnails of the page list. A thumbnail is the page's background decoded at the
// thumbnail size, turned a quarter clockwise when the content is portrait and the background
// landscape, on white; a background that cannot be decoded (an empty path too) shows the
// placeholder picture. Thumbnails are kept by file path, file size and modification time, so
// that a changed file is decoded again the next time its row is drawn and a repaint of rows
// already seen decodes nothing.

namespace orin {

// The placeholder picture (200 x 150) for backgrounds that cannot be decoded.
QImage ThumbnailPlaceholder();

// Decodes one thumbnail without the cache (see above).
QImage MakeThumbnail(const QString &path, QSize size, bool vertical);

class CThumbnailCache {
public:
    explicit CThumbnailCache(int capacity = 600) : m_capacity(capacity) {}

    // The thumbnail of `path` at `size`; decoded when the file, its size or its modification
    // time is new to the cache.
    QImage Thumbnail(const QString &path, QSize size, bool vertical);
    void Clear();
    // How many decodes the cache has made (for the benchmark and the tests).
    int Decodes() const { return m_decodes; }

private:
    struct Key {
        QString path;
        qint64 bytes = -1;
        qint64 modified = 0;
        QSize size;
        bool vertical = false;
        bool operator==(const Key &other) const
        {
            return path == other.path && bytes == other.bytes && modified == other.modified &&
                   size == other.size && vertical == other.vertical;
        }
    };
    friend size_t qHash(const Key &key, size_t seed) noexcept
    {
        return qHashMulti(seed, key.path, key.bytes, key.modified, key.size.width(),
                          key.size.height(), key.vertical);
    }
    struct Entry {
        QImage image;
        std::list<Key>::iterator age;
    };

    int m_capacity;
    int m_decodes = 0;
    QHash<Key, Entry> m_entries;
    std::list<Key> m_ages; // most recently used first
};

} // namespace orin
