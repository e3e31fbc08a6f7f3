// SPDX-License-Identifier: MIT
#pragma once

#include "model/server_labels.h"

#include <QString>

#include <algorithm>
#include <array>
#include <atomic>
#include <memory>
#include <vector>

// The in-memory form of one content set: the page table, eight resource tables, the function
// value and the used size. Records are plain data with public fields named as the project file
// names them; the tables own their records.

namespace orin {

inline constexpr int kItemSlots = 256;   // item slots per page
inline constexpr int kColumnTexts = 32;  // column texts of a record (list cells, never saved)
inline constexpr int kDeletedId = -1;    // a deleted text, channel, web page, macro, sound, function
inline constexpr int kNoColour = 8;      // colour index "no colour"

// Page numbers that the receiver keeps for its special screens; no page may carry them.
inline constexpr int kGuideScreen = 254;
inline constexpr int kVideoScreen = 255;
inline constexpr int kOtherChannelScreen = 1000;
inline constexpr int kWebScreen = 2000;

inline bool IsSpecialScreen(qint64 pageNumber)
{
    return pageNumber == kGuideScreen || pageNumber == kVideoScreen
           || pageNumber == kOtherChannelScreen || pageNumber == kWebScreen;
}

// Image types of picture and material records.
enum ImageType : int {
    kImageJpeg = 0,
    kImageColourMapPng = 1,
    kImageEmpty = 2,
    kImageGeneralPng = 3,
    kImageGif = 4,
};

// Common head of every record: the list's column texts.
struct CMyRecord {
    virtual ~CMyRecord() = default;
    std::array<QString, kColumnTexts> columnTexts;
};

// One item slot of a page. A fresh slot is empty: strings empty, numbers 0.
struct PageItem {
    int id = 0;
    int idg = 0;
    int parent = 0;
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
    QString focus;
    QString outfocus;
    QString ret;
    QString up;
    QString down;
    QString left;
    QString right;
    int pic_no = 0;
    int text_no = 0;
    int margin_x = 0;
    int margin_y = 0;
    int color = 0;
    int size = 0;
    int bcolor = 0;
    int wordwrap = 0;
    QString text;
};

// An identity that stays with one record for the run and is never given to another record,
// also after this one is destroyed; a copy is a new record with an identity of its own.
class CRecordSerial {
public:
    CRecordSerial() : m_value(Next()) {}
    CRecordSerial(const CRecordSerial &) : m_value(Next()) {}
    CRecordSerial &operator=(const CRecordSerial &) { return *this; }
    quint64 Value() const { return m_value; }

private:
    static quint64 Next()
    {
        static std::atomic<quint64> last{0};
        return ++last;
    }
    quint64 m_value;
};

// The item slots of a page. Every index 0..kItemSlots-1 can be read; storage is made only for
// the slots that are written, so a page costs what it uses (a page read from a file holds as
// many slots as the file gave it items).
class CItemSlots {
public:
    CItemSlots() = default;
    CItemSlots(const CItemSlots &other);
    CItemSlots &operator=(const CItemSlots &other);
    CItemSlots(CItemSlots &&) noexcept = default;
    CItemSlots &operator=(CItemSlots &&) noexcept = default;

    // A slot that was never written (or an index past the slots) reads as an empty slot.
    const PageItem &operator[](size_t index) const
    {
        return index < m_slots.size() ? *m_slots[index] : EmptySlot();
    }
    // Writing slot `index` (< kItemSlots) makes the empty slots up to it. References to slots
    // stay valid while further slots are made.
    PageItem &operator[](size_t index)
    {
        if (index >= m_slots.size())
            Grow(index);
        return *m_slots[index];
    }
    // The capacity of a page, as for the fixed array of slots.
    static constexpr size_t size() { return kItemSlots; }
    // How many slots hold storage: the memory the page's items take.
    int Constructed() const { return static_cast<int>(m_slots.size()); }

private:
    static const PageItem &EmptySlot();
    void Grow(size_t index);

    std::vector<std::unique_ptr<PageItem>> m_slots;
};

// One page. All numbers start at 0; the reader applies the file defaults.
struct CMyProgramInfo : CMyRecord {
    CRecordSerial serial; // which page the item clipboard copied from
    QString background;
    int id = 0;
    QString comment;
    int changed = 0;
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
    int return_ = 0; // the file's "return" attribute
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
    int itemCount = 0; // used slots, 0..kItemSlots
    CItemSlots items;
};

// A picture (JPEG, ids 1..199) or a material (PNG/GIF, ids 200..255).
struct CMyPictureInfo : CMyRecord {
    QString path;
    int id = 0;
    int item = 0;
    int type = 0;
    int width = 0;
    int height = 0;
    QString sizeText;
    QString label;
    int changed = 0;
};

struct CMyTextInfo : CMyRecord {
    int id = 0;
    QString text;
    int item = 0;
    QString label;
    int changed = 0;
};

struct CMyChannelInfo : CMyRecord {
    int id = 0;
    int screen = 0;
    int page = 0;
    QString address;
    QString data;
    int item = 0;
};

struct CMyWebPageInfo : CMyRecord {
    int id = 0;
    int screen = 0;
    int page = 0;
    QString address;
    QString data;
    int item = 0;
    QString label;
};

struct CMyMacroInfo : CMyRecord {
    int id = 0;
    QString macro;
    int item = 0;
    QString label;
    int changed = 0;
};

struct CMySoundInfo : CMyRecord {
    int id = 0;
    QString path;
    int item = 0;
    QString label;
    QString comment;
};

struct CMyFunctionInfo : CMyRecord {
    int id = 0;
    int item = 0;
    QString data;
};

// A growable table that owns its records; order is insertion order.
template <typename T>
class CMyDataArray {
public:
    int Count() const { return static_cast<int>(m_records.size()); }
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }
    T *At(int index) const { return m_records[static_cast<size_t>(index)].get(); }

    // Appends and returns the record's index.
    int Add(std::unique_ptr<T> record)
    {
        m_records.push_back(std::move(record));
        return Count() - 1;
    }
    void Insert(int index, std::unique_ptr<T> record)
    {
        m_records.insert(m_records.begin() + index, std::move(record));
    }
    // Destroys the record at index.
    void RemoveAt(int index) { m_records.erase(m_records.begin() + index); }
    // Hands the record at index to the caller and removes it from the table.
    std::unique_ptr<T> Take(int index)
    {
        std::unique_ptr<T> record = std::move(m_records[static_cast<size_t>(index)]);
        RemoveAt(index);
        return record;
    }
    void RemoveAll() { m_records.clear(); }

    // Index of the first record with that id, or -1.
    int IndexOfId(int id) const
    {
        for (int i = 0; i < Count(); ++i) {
            if (m_records[static_cast<size_t>(i)]->id == id)
                return i;
        }
        return -1;
    }
    T *FindById(int id) const
    {
        const int index = IndexOfId(id);
        return index < 0 ? nullptr : At(index);
    }
    // 1 + the largest id of the table (1 for an empty table).
    int NextId() const
    {
        int largest = 0;
        for (const auto &record : m_records)
            largest = std::max(largest, record->id);
        return largest + 1;
    }

    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

private:
    std::vector<std::unique_ptr<T>> m_records;
};

// The program settings of a content set: written first in the project file.
struct ProgramSettings {
    int TransChannel = 1;
    int TimerMode = 0;
    int CursorSize = 2;
    QString FileIDName;
    int ModeScreen = 0;
    int BackImagePage = 0;
    int ExPNG = 0;
    int Vertical = 0;
    int ConvertAAC = 0;
    int NumAAC = 0;
    int IDConv = 0;
    QString homeID;
};

// The nine tables, the function value and the used size of the open content set.
class CContentModel {
public:
    CMyDataArray<CMyProgramInfo> pages;
    CMyDataArray<CMyPictureInfo> materials;
    CMyDataArray<CMyPictureInfo> pictures;
    CMyDataArray<CMyTextInfo> texts;
    CMyDataArray<CMyChannelInfo> channels;
    CMyDataArray<CMyWebPageInfo> webPages;
    CMyDataArray<CMyMacroInfo> macros;
    CMyDataArray<CMySoundInfo> sounds;
    CMyDataArray<CMyFunctionInfo> functions;
    QString functionValue;
    qint64 usedSize = 0; // bytes of all referenced files
    // What the server lets the operator edit in the server access mode (empty for content
    // that did not come from a server).
    ServerLabels serverLabels;

    // Empties every table (page, picture, material, text, channel, web page, macro, sound,
    // function), the function value, the used size and the server labels. Program settings
    // are not touched.
    void ClearModel();

    // Index of the first page with that id, or -1.
    int PageIndexOfId(int pageId) const { return pages.IndexOfId(pageId); }
    // The picture (1..199) or material (200..255) record with that id, or null.
    CMyPictureInfo *FindImage(int imageId) const;
};

// Slot index of the first used item with that id on the page, or -1.
int FindItemSlot(const CMyProgramInfo &page, int itemId);

} // namespace orin
