// SPDX-License-Identifier: MIT
#pragma once

#include "model/content_model.h"

#include <QImage>

#include <array>
#include <memory>
#include <vector>

// What the canvas shows: the snapshot of the shown page, the display list and the item-indexed
// state tables. The simulation changes this copy; the content model stays as it is.

namespace orin {

inline constexpr int kTableSize = 256;

// A 256-entry table indexed by ids that come from files and actions: reads outside 0..255 give
// the default value, writes outside are ignored.
template <typename T>
class CCheckedTable {
public:
    T Get(int index) const
    {
        return InRange(index) ? m_values[size_t(index)] : T();
    }
    void Set(int index, const T &value)
    {
        if (InRange(index))
            m_values[size_t(index)] = value;
    }
    void Fill(const T &value) { m_values.fill(value); }
    static bool InRange(int index) { return index >= 0 && index < kTableSize; }

private:
    std::array<T, kTableSize> m_values{};
};

// A decoded picture for display. `owner` keeps whatever backs it (the work-folder copy, which
// goes when the last holder lets go).
struct DisplayImage {
    int type = kImageJpeg;
    QImage image;
    std::shared_ptr<void> owner;
    // The picture stands in for a file that cannot be read (and says so).
    bool placeholder = false;

    bool IsNull() const { return image.isNull(); }
};

// Makes the display copies of pictures and page backgrounds.
class CImageSource {
public:
    virtual ~CImageSource() = default;
    // The picture an item shows for `record`; a null image when the record has no file.
    virtual DisplayImage DisplayCopy(const CMyPictureInfo &record) = 0;
    // The page background: a blank black picture when the page has none; turned upright while
    // `vertical` is on.
    virtual DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) = 0;
};

// One entry of the display list: a copy of the item slot and the picture it shows.
struct DisplayItem {
    PageItem item;
    DisplayImage image; // image.type is 0 when there is no image
};

// The attributes of the shown page that the canvas and the simulation read.
struct ShownPage {
    int id = 0;
    int defitem = 0;
    int tvitem = 0;
    int clock = 0;
    int marquee = 0;
    int marquee_speed = 0;
    int timer = 0;
    int timer_item = 0;
    int timer_ino = 0;
    int textid = 0;
    int curcol = 0;
    int backcol = 0;
    int cursize = 0;
    int return_ = 0;
    int back = 0;
    int data = 0;
    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
    int blue = 0;
    int red = 0;
    int green = 0;
    int yellow = 0;
    int memory = 0;
    int cursor = 0;
    int smacro = 0;
    DisplayImage background;
};

ShownPage SnapshotOf(const CMyProgramInfo &page);

} // namespace orin
