// SPDX-License-Identifier: MIT
// The project reader on any bytes, in both file forms: .bjpx (UTF-16 text mode) and .bjp (code
// page 932). What was read is saved and read again; the second reading must give the same model
// and settings, seen through the bytes they save (every field is written) and the table sizes.
// Characters a file form cannot hold are written as "?" (U+0000 in either form, what code page
// 932 lacks in .bjp), so the comparison is of saved forms, not of the strings first read.

#include "fuzz_check.h"

#include "model/project_integrity.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QByteArray>
#include <QString>

#include <utility>

using namespace orin;

namespace {

const QString kProjectFolder = QStringLiteral("/nonexistent-fuzz/");
const QString kContentFolder = QStringLiteral("/nonexistent-fuzz/project.");

// No image or file exists for the fuzzed references: nothing to measure, nothing to count.
LoadServices NoFiles()
{
    LoadServices services;
    services.measure = [](const QString &, int, int &width, int &height) {
        width = 0;
        height = 0;
    };
    services.totalDataSize = [](const CContentModel &) { return qint64(0); };
    services.fileSize = [](const QString &) { return qint64(-1); };
    return services;
}

struct Loaded {
    ProgramSettings settings;
    qint64 usedSize = 0;
    CContentModel model;
    ProjectIntegrity integrity = ProjectIntegrity::NoRoot;
};

void Load(const QString &text, Loaded &loaded)
{
    static const LoadServices services = NoFiles();
    loaded.integrity = LoadProjectText(text, kProjectFolder, loaded.settings, loaded.usedSize,
                                       loaded.model, services);
    // A file that cannot be opened counts -1 (as the program has always counted it).
    const CContentModel &m = loaded.model;
    ORIN_FUZZ_CHECK(loaded.usedSize
                    >= -qint64(m.pages.Count() + m.pictures.Count() + m.materials.Count()
                               + m.sounds.Count()));
    for (const auto &page : m.pages) {
        ORIN_FUZZ_CHECK(page->itemCount >= 0 && page->itemCount <= kItemSlots);
        ORIN_FUZZ_CHECK(page->items.Constructed() <= kItemSlots);
    }
}

bool SameTableSizes(const CContentModel &a, const CContentModel &b)
{
    return a.pages.Count() == b.pages.Count() && a.materials.Count() == b.materials.Count()
           && a.pictures.Count() == b.pictures.Count() && a.texts.Count() == b.texts.Count()
           && a.channels.Count() == b.channels.Count() && a.webPages.Count() == b.webPages.Count()
           && a.macros.Count() == b.macros.Count() && a.sounds.Count() == b.sounds.Count()
           && a.functions.Count() == b.functions.Count()
           && a.functionValue == b.functionValue;
}

QString Decode(const QByteArray &bytes, bool unicode)
{
    return unicode ? DecodeUnicodeTextFile(bytes) : DecodeCp932(bytes);
}

// Reads the text, saves it in the file form, reads the saved bytes and saves again.
void RoundTrip(const QString &text, bool unicode)
{
    Loaded first;
    Load(text, first);
    const QByteArray saved = ComposeProjectFile(first.model, unicode, SaveMode::Plain,
                                                kContentFolder, first.settings);
    Loaded second;
    Load(Decode(saved, unicode), second);
    // What the program writes is always a whole project.
    ORIN_FUZZ_CHECK(second.integrity == ProjectIntegrity::Complete);
    ORIN_FUZZ_CHECK(SameTableSizes(first.model, second.model));
    // An item slot the file promised (Num) but did not give is empty; saved, it becomes an Item
    // element without actions, which reads as focus and outfocus "0". Apart from that, the
    // second reading is the first.
    for (const auto &page : first.model.pages) {
        for (int slot = 0; slot < page->itemCount; ++slot) {
            const PageItem &item = std::as_const(page->items)[size_t(slot)];
            if (item.focus.isEmpty() || item.outfocus.isEmpty()) {
                PageItem &changed = page->items[size_t(slot)];
                if (changed.focus.isEmpty())
                    changed.focus = QStringLiteral("0");
                if (changed.outfocus.isEmpty())
                    changed.outfocus = QStringLiteral("0");
            }
        }
    }
    const QByteArray expected = ComposeProjectFile(first.model, unicode, SaveMode::Plain,
                                                   kContentFolder, first.settings);
    const QByteArray savedAgain = ComposeProjectFile(second.model, unicode, SaveMode::Plain,
                                                     kContentFolder, second.settings);
    ORIN_FUZZ_CHECK(savedAgain == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // A .bjpx file: bytes with a byte-order mark are taken as they are; others as UTF-8 text
    // written in the program's own UTF-16 form, so that markup tokens mutate as text.
    const bool marked = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xEF\xBB\xBF");
    const QByteArray unicodeFile =
        marked ? bytes : EncodeUnicodeTextFile(QString::fromUtf8(bytes));
    RoundTrip(DecodeUnicodeTextFile(unicodeFile), true);
    // The same bytes as a .bjp file.
    RoundTrip(DecodeCp932(bytes), false);
    return 0;
}
