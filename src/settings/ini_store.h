// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <memory>

// The settings file: a private-profile (.ini) text file in code page 932.
//
// Every read parses the file afresh, so a change made by another writer is seen at once; every
// write call rewrites the file once, through a temporary file in the same folder that is
// flushed and renamed over the target, so a crash never leaves half a file. Section and key
// names are matched without regard to case; the first matching section and, in it, the first
// matching key count. Lines the store does not change (other sections and keys, comments,
// blank lines) are written back byte for byte.

namespace orin {

using IniPairs = QList<QPair<QString, QString>>;

// Longest value GetString gives back (a buffer of 256 characters with its terminator).
inline constexpr int kIniValueMax = 255;

// True when the value reads back exactly as written: every character exists in code page 932,
// and there are no line breaks, no surrounding blanks and no surrounding double quotes
// (GetString still cuts at kIniValueMax). Callers that must not store a changed value (a
// remembered folder) check this first.
bool IniCanHold(const QString &text);

// The value that GetSection gives back after WriteString wrote `value` (not cut).
QString IniReadBack(const QString &value);

class CIniStore
{
public:
    explicit CIniStore(QString path);

    // Full path of the file.
    const QString &Path() const { return m_path; }

    // The value of the key read as a signed decimal number: surrounding blanks are skipped, an
    // optional sign and the leading digits count ("12px" is 12, "abc" is 0), values beyond the
    // int range are clamped. A missing file, section or key, or an empty value, gives the default.
    int GetInt(const QString &section, const QString &key, int defaultValue) const;

    // The value of the key with surrounding blanks removed, and then the double quotes around it,
    // cut to kIniValueMax characters. A missing file, section or key gives the default (also
    // cut).
    QString GetString(const QString &section, const QString &key,
                      const QString &defaultValue = QString()) const;

    // Writes the value as decimal text. Returns false when the file could not be written.
    bool WriteInt(const QString &section, const QString &key, int value);

    // Writes the value as text: the first matching key is replaced in place, a new key goes to
    // the end of its section, a new section to the end of the file. Line breaks in the value
    // become blanks (a value never spans lines). Characters code page 932 cannot hold become
    // '?'. Returns false when the file could not be read or written, or the key or section name
    // is unusable (empty; a key holding '=' or beginning with '[' or ';'; a section name holding
    // ']'; either holding a line break).
    bool WriteString(const QString &section, const QString &key, const QString &value);

    // Writes several keys of one section in one rewrite of the file; the result is the same as
    // WriteString for each pair in order, but the file changes all at once or not at all.
    bool WriteStrings(const QString &section, const IniPairs &pairs);

    // The keys of the section in file order with their values (surrounding blanks removed, not
    // cut). Empty for a missing file or section.
    IniPairs GetSection(const QString &section) const;

    // Replaces the contents of the section with the pairs (the section is created at the end of
    // the file when missing). Returns false on a write failure or an unusable name.
    bool WriteSection(const QString &section, const IniPairs &pairs);

    // Removes the key. True when the file is as wished afterwards (also when the key was missing).
    bool RemoveKey(const QString &section, const QString &key);

    // Removes the section with its header. True when the file is as wished afterwards.
    bool RemoveSection(const QString &section);

private:
    QString m_path;
};

// While a CIniReadFailure lives, reading the file at `path` fails as reading a file that exists
// but cannot be read does, so that tests can show what the store does then also as the
// superuser (whom permissions do not bind). Not for use by the program itself; not thread-safe.
class CIniReadFailure
{
public:
    explicit CIniReadFailure(QString path);
    ~CIniReadFailure();
    CIniReadFailure(const CIniReadFailure &) = delete;
    CIniReadFailure &operator=(const CIniReadFailure &) = delete;

private:
    QString m_previous;
};

// The file parsed once, for reading many keys in a row (the settings at start-up read 95).
// Reads give what CIniStore's reads gave when the snapshot was taken.
class CIniSnapshot
{
public:
    explicit CIniSnapshot(const QString &path);
    ~CIniSnapshot();
    CIniSnapshot(const CIniSnapshot &) = delete;
    CIniSnapshot &operator=(const CIniSnapshot &) = delete;

    // As CIniStore::GetInt and CIniStore::GetString.
    int GetInt(const QString &section, const QString &key, int defaultValue) const;
    QString GetString(const QString &section, const QString &key,
                      const QString &defaultValue = QString()) const;

private:
    struct Data;
    std::unique_ptr<Data> m_data;
};

} // namespace orin
