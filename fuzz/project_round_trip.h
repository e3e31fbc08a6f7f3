// SPDX-License-Identifier: MIT
#pragma once

// Saving and reading again, for the targets that end with a content model: what the program
// saves must read back to a model that saves to the same bytes. Characters a file form cannot
// hold are written as "?" (U+0000 in either form, what code page 932 lacks in .bjp), so the
// comparison is of saved forms, not of the strings first read.

#include "fuzz_check.h"

#include "model/project_integrity.h"
#include "model/project_reader.h"
#include "model/project_writer.h"
#include "model/text_codec.h"

#include <QByteArray>
#include <QString>

#include <utility>

namespace orin::fuzz {

inline const QString kProjectFolder = QStringLiteral("/nonexistent-fuzz/");
inline const QString kContentFolder = QStringLiteral("/nonexistent-fuzz/project.");

// No image or file exists for the fuzzed references: nothing to measure, nothing to count.
inline LoadServices NoFiles()
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

inline void Load(const QString &text, Loaded &loaded)
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

inline bool SameTableSizes(const CContentModel &a, const CContentModel &b)
{
    return a.pages.Count() == b.pages.Count() && a.materials.Count() == b.materials.Count()
           && a.pictures.Count() == b.pictures.Count() && a.texts.Count() == b.texts.Count()
           && a.channels.Count() == b.channels.Count() && a.webPages.Count() == b.webPages.Count()
           && a.macros.Count() == b.macros.Count() && a.sounds.Count() == b.sounds.Count()
           && a.functions.Count() == b.functions.Count()
           && a.functionValue == b.functionValue;
}

inline QString Decode(const QByteArray &bytes, bool unicode)
{
    return unicode ? DecodeUnicodeTextFile(bytes) : DecodeCp932(bytes);
}

// Saves `model` in the file form, reads the saved bytes and saves again: the second save must
// be the first. An item slot that a page promised (Num) but was never given is empty; saved, it
// becomes an Item element without actions, which reads as focus and outfocus "0", so `model`
// gets those before the comparison (it is changed).
inline void CheckSaveAndReload(CContentModel &model, const ProgramSettings &settings,
                               bool unicode)
{
    const QByteArray saved =
        ComposeProjectFile(model, unicode, SaveMode::Plain, kContentFolder, settings);
    Loaded second;
    Load(Decode(saved, unicode), second);
    // What the program writes is always a whole project.
    ORIN_FUZZ_CHECK(second.integrity == ProjectIntegrity::Complete);
    ORIN_FUZZ_CHECK(SameTableSizes(model, second.model));
    bool normalised = false;
    for (const auto &page : model.pages) {
        for (int slot = 0; slot < page->itemCount; ++slot) {
            const PageItem &item = std::as_const(page->items)[size_t(slot)];
            if (item.focus.isEmpty() || item.outfocus.isEmpty()) {
                PageItem &changed = page->items[size_t(slot)];
                if (changed.focus.isEmpty())
                    changed.focus = QStringLiteral("0");
                if (changed.outfocus.isEmpty())
                    changed.outfocus = QStringLiteral("0");
                normalised = true;
            }
        }
    }
    const QByteArray expected =
        normalised ? ComposeProjectFile(model, unicode, SaveMode::Plain, kContentFolder, settings)
                   : saved;
    const QByteArray savedAgain = ComposeProjectFile(second.model, unicode, SaveMode::Plain,
                                                     kContentFolder, second.settings);
    ORIN_FUZZ_CHECK(savedAgain == expected);
}

} // namespace orin::fuzz
