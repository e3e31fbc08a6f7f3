// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "images/work_copies.h"
#include "model/content_model.h"

#include <QImage>
#include <QString>

#include <memory>

// The editor's views never decode the operator's files: each shown image is a private copy in
// the work folder, decoded once. A CDisplayCopy holds that copy: the decoded picture and the
// copy file, which goes when the last holder lets go (a store of work copies that keeps it for
// the next showing is one of them), so that a view letting go of its images and its store
// leaves nothing behind in the work folder.

class QPainter;

namespace orin {

// The size of the picture shown for a file that cannot be decoded.
inline constexpr int kPlaceholderWidth = 200;
inline constexpr int kPlaceholderHeight = 150;

class CDisplayCopy {
public:
    // Shares `file` (may be null: no file).
    CDisplayCopy(QImage image, std::shared_ptr<const CWorkCopyFile> file, bool placeholder);
    CDisplayCopy(const CDisplayCopy &) = delete;
    CDisplayCopy &operator=(const CDisplayCopy &) = delete;

    const QImage &Image() const { return m_image; }
    // The copy in the work folder; empty when there is none (a blank background).
    QString CopyPath() const { return m_file ? m_file->Path() : QString(); }
    // True when the file could not be decoded and the placeholder stands in for it.
    bool IsPlaceholder() const { return m_placeholder; }

private:
    QImage m_image;
    std::shared_ptr<const CWorkCopyFile> m_file;
    bool m_placeholder = false;
};

// The picture that stands in for an image that cannot be read; it says so. 200 x 150 unless a
// larger size is asked for (a background takes the page's size, so that it covers the page as a
// background would, sharp and no further).
QImage PlaceholderPicture(QSize size = QSize(kPlaceholderWidth, kPlaceholderHeight));
// Draws the message of PlaceholderPicture(size) again, where that picture has it (in its
// pixels), with a white rim around the glyphs in place of the band: what a page draws over its
// background placeholder then leaves the message whole. Nothing without a GUI application.
void DrawPlaceholderMessage(QPainter &painter, QSize size);

// The display copy of an image record: a colour-map PNG is copied with the colour map inserted
// as its palette, any other file byte for byte, into a new uniquely named file of `workFolder`
// ("png", "gif" or "jpg" prefix and extension by the path's ending), which is then decoded.
// Null for a record without a path (nothing to draw). A copy that does not decode gives the
// placeholder picture. The copy is made without syncing it to the disk.
std::unique_ptr<CDisplayCopy> MakeDisplayCopy(const CMyPictureInfo &record,
                                              const CColourMap &map, const QString &workFolder);
// The same through a store of work copies, which copies each unchanged source once.
std::unique_ptr<CDisplayCopy> MakeDisplayCopy(const CMyPictureInfo &record,
                                              const CColourMap &map, CWorkCopies &copies);

// The display copy of a page background. An empty path gives a blank black 960 x 540 picture
// (540 x 960 while `vertical` is on) without a file; a file that cannot be read gives the
// placeholder at that size. While `vertical` is on, a background wider than high is turned by
// 90 degrees clockwise.
std::unique_ptr<CDisplayCopy> MakeBackgroundCopy(const QString &background, bool vertical,
                                                 const QString &workFolder);
std::unique_ptr<CDisplayCopy> MakeBackgroundCopy(const QString &background, bool vertical,
                                                 CWorkCopies &copies);

} // namespace orin
