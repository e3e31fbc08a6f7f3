// SPDX-License-Identifier: MIT
// The settings file: any bytes as the file, then a read of everything, a write, a read back and
// a removal. What was written reads back as IniReadBack says; the other sections and a refused
// write leave the file as it was.

#include "fuzz_check.h"

#include "model/text_codec.h"
#include "settings/ini_store.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

using namespace orin;

namespace {

constexpr qsizetype kSectionsChecked = 8;
constexpr qsizetype kKeysChecked = 8;

QString FilePath()
{
    static const QString path =
        FuzzScratchDir() + QStringLiteral("/orin-fuzz-ini-%1.ini").arg(::getpid());
    return path;
}

QByteArray FileBytes()
{
    QFile file(FilePath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The section names the file holds, as a reader would find them (a wrong guess reads as a
// missing section both times, which the checks allow).
QStringList SectionNames(const QByteArray &bytes)
{
    QStringList names;
    const QString text = DecodeCp932Text(bytes, u'?');
    for (const QString &line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (!trimmed.startsWith(u'['))
            continue;
        const qsizetype close = trimmed.indexOf(u']', 1);
        names.append((close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1)).trimmed());
    }
    return names;
}

// A name the file holds exactly as given: no surrounding blanks, every character in code
// page 932.
bool KeptExactly(const QString &name)
{
    bool lossy = false;
    const QByteArray bytes = EncodeCp932(name, &lossy);
    return !lossy && name.trimmed() == name && DecodeCp932Text(bytes, u'?') == name;
}

QString FromBytes(const std::string &bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

const QString *FindKey(const IniPairs &pairs, const QString &key)
{
    for (const auto &pair : pairs) {
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0)
            return &pair.second;
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString section = FromBytes(input.ConsumeRandomLengthString(40));
    const QString key = FromBytes(input.ConsumeRandomLengthString(40));
    const QString value = FromBytes(input.ConsumeRandomLengthString(400));
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray before(rest.data(), qsizetype(rest.size()));
    {
        QFile file(FilePath());
        ORIN_FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ORIN_FUZZ_CHECK(file.write(before) == before.size());
    }

    CIniStore store(FilePath());
    // Each store call reads the file again, so an input of many sections would cost many
    // reads per section: the first sections and the last one, and the first keys of each, are
    // enough to compare the readers and to see a write disturb its neighbours, and the run
    // stays fast enough to reach many inputs.
    QStringList sections = SectionNames(before);
    if (sections.size() > kSectionsChecked + 1)
        sections.erase(sections.begin() + kSectionsChecked, sections.end() - 1);
    QList<IniPairs> sectionsBefore;
    {
        CIniSnapshot snapshot(FilePath());
        for (const QString &name : sections) {
            sectionsBefore.append(store.GetSection(name));
            for (const auto &pair : sectionsBefore.back().mid(0, kKeysChecked)) {
                // The snapshot reads what the store reads; values are cut, never longer.
                const QString got = store.GetString(name, pair.first);
                ORIN_FUZZ_CHECK(got == snapshot.GetString(name, pair.first));
                ORIN_FUZZ_CHECK(got.size() <= kIniValueMax);
                ORIN_FUZZ_CHECK(store.GetInt(name, pair.first, 7)
                                == snapshot.GetInt(name, pair.first, 7));
            }
        }
    }

    const bool written = store.WriteString(section, key, value);
    const QByteArray after = FileBytes();
    if (!written) {
        ORIN_FUZZ_CHECK(after == before);
        return 0;
    }
    // Sections other than the written one are as they were.
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (sections.at(i).compare(section.trimmed(), Qt::CaseInsensitive) == 0)
            continue;
        // A section met again later in the file is found at its first place only.
        if (sections.indexOf(sections.at(i)) != i)
            continue;
        ORIN_FUZZ_CHECK(store.GetSection(sections.at(i)) == sectionsBefore.at(i));
    }
    if (KeptExactly(section) && KeptExactly(key)) {
        const IniPairs pairs = store.GetSection(section);
        const QString *got = FindKey(pairs, key);
        ORIN_FUZZ_CHECK(got != nullptr);
        ORIN_FUZZ_CHECK(*got == IniReadBack(value));
        if (IniCanHold(value) && value.size() <= kIniValueMax)
            ORIN_FUZZ_CHECK(store.GetString(section, key, QStringLiteral("-")) == value);

        ORIN_FUZZ_CHECK(store.RemoveKey(section, key));
        ORIN_FUZZ_CHECK(FindKey(store.GetSection(section), key) == nullptr);
    }
    return 0;
}
