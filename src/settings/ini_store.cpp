// SPDX-License-Identifier: MIT
#include "settings/ini_store.h"

#include "model/safe_file.h"
#include "model/text_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <utility>

namespace orin {

namespace {

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text.at(begin)))
        ++begin;
    while (end > begin && IsBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

// `name` comes from the file (already trimmed), `wanted` from the caller.
bool SameName(const QString &name, const QString &wanted)
{
    return name.compare(TrimBlanks(wanted), Qt::CaseInsensitive) == 0;
}

// One line of the file: its bytes with the line end as read, and what it means.
struct IniLine {
    enum Kind { Other, Section, Key };
    QByteArray raw;
    Kind kind = Other;
    QString name;
    QString value;

    bool HasLineEnd() const { return raw.endsWith('\n'); }

    bool IsBlankLine() const
    {
        return std::all_of(raw.cbegin(), raw.cend(), [](char c) {
            return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
        });
    }
};

// A value in double quotes is read without them, as the platform's profile functions do.
QString Unquoted(const QString &value)
{
    if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
        return value.mid(1, value.size() - 2);
    return value;
}

IniLine ParseLine(QByteArray raw)
{
    IniLine line;
    QByteArray body = raw;
    if (body.endsWith('\n'))
        body.chop(1);
    if (body.endsWith('\r'))
        body.chop(1);
    line.raw = std::move(raw);
    const QString text = TrimBlanks(DecodeCp932Text(body, u'?'));
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']', 1);
        line.kind = IniLine::Section;
        line.name = TrimBlanks(close < 0 ? text.mid(1) : text.mid(1, close - 1));
        return line;
    }
    if (text.startsWith(u';'))
        return line;
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0)
        return line;
    const QString name = TrimBlanks(text.left(eq));
    if (name.isEmpty())
        return line;
    line.kind = IniLine::Key;
    line.name = name;
    line.value = Unquoted(TrimBlanks(text.mid(eq + 1)));
    return line;
}

// The parsed file with the line end style it uses (that of its first line, "\n" for a new file).
struct IniFile {
    QList<IniLine> lines;
    QByteArray eol = "\n";

    // Index of the header of the first section with the name, or -1.
    qsizetype FindSection(const QString &section) const
    {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines.at(i).kind == IniLine::Section && SameName(lines.at(i).name, section))
                return i;
        }
        return -1;
    }

    // One past the last line belonging to the section whose header is at `header`.
    qsizetype SectionEnd(qsizetype header) const
    {
        qsizetype i = header + 1;
        while (i < lines.size() && lines.at(i).kind != IniLine::Section)
            ++i;
        return i;
    }

    qsizetype FindKey(qsizetype header, const QString &key) const
    {
        const qsizetype end = SectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            if (lines.at(i).kind == IniLine::Key && SameName(lines.at(i).name, key))
                return i;
        }
        return -1;
    }

    const IniLine *Find(const QString &section, const QString &key) const
    {
        const qsizetype header = FindSection(section);
        if (header < 0)
            return nullptr;
        const qsizetype at = FindKey(header, key);
        return at < 0 ? nullptr : &lines.at(at);
    }

    // Inserts a line at the position, giving the line before it a line end when it has none.
    void Insert(qsizetype at, IniLine line)
    {
        if (at > 0 && !lines.at(at - 1).HasLineEnd())
            lines[at - 1].raw.append(eol);
        lines.insert(at, std::move(line));
    }

    IniLine MakeKey(const QString &key, const QString &value) const
    {
        IniLine line;
        line.kind = IniLine::Key;
        line.name = key;
        line.value = value;
        line.raw = EncodeCp932(key + u'=' + value) + eol;
        return line;
    }

    IniLine MakeSection(const QString &section) const
    {
        IniLine line;
        line.kind = IniLine::Section;
        line.name = section;
        line.raw = EncodeCp932(u'[' + section + u']') + eol;
        return line;
    }

    // Appends a new section at the end of the file, after a blank line; returns its header.
    qsizetype AppendSection(const QString &section)
    {
        if (!lines.isEmpty() && !lines.constLast().IsBlankLine()) {
            IniLine blank;
            blank.raw = eol;
            Insert(lines.size(), std::move(blank));
        }
        Insert(lines.size(), MakeSection(section));
        return lines.size() - 1;
    }

    void SetValue(const QString &section, const QString &key, const QString &value)
    {
        qsizetype header = FindSection(section);
        if (header < 0)
            header = AppendSection(section);
        const qsizetype at = FindKey(header, key);
        if (at >= 0) {
            // The key keeps the spelling it has in the file, and its line end.
            IniLine &line = lines[at];
            const QByteArray lineEnd = line.raw.endsWith("\r\n") ? QByteArray("\r\n")
                                       : line.HasLineEnd()       ? QByteArray("\n")
                                                                 : QByteArray();
            line.value = value;
            line.raw = EncodeCp932(line.name + u'=' + value) + lineEnd;
            return;
        }
        qsizetype last = header;
        const qsizetype end = SectionEnd(header);
        for (qsizetype i = header + 1; i < end; ++i) {
            if (lines.at(i).kind == IniLine::Key)
                last = i;
        }
        Insert(last + 1, MakeKey(key, value));
    }

    QByteArray Serialize() const
    {
        QByteArray out;
        for (const IniLine &line : lines)
            out.append(line.raw);
        return out;
    }
};

enum class LoadResult { Loaded, Missing, Unreadable };

// The file whose reads fail while a CIniReadFailure lives ("" none).
QString &FailingReadPath()
{
    static QString path;
    return path;
}

LoadResult LoadFile(const QString &path, IniFile *file)
{
    QFile f(path);
    if (!f.exists())
        return LoadResult::Missing;
    if (!FailingReadPath().isEmpty() && path == FailingReadPath())
        return LoadResult::Unreadable;
    if (!f.open(QIODevice::ReadOnly))
        return LoadResult::Unreadable;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return LoadResult::Unreadable;
    qsizetype start = 0;
    while (start < data.size()) {
        const qsizetype nl = data.indexOf('\n', start);
        const qsizetype end = nl < 0 ? data.size() : nl + 1;
        file->lines.append(ParseLine(data.mid(start, end - start)));
        start = end;
    }
    if (!file->lines.isEmpty() && file->lines.constFirst().raw.endsWith("\r\n"))
        file->eol = "\r\n";
    return LoadResult::Loaded;
}

IniFile ReadFile(const QString &path)
{
    IniFile file;
    if (LoadFile(path, &file) == LoadResult::Unreadable)
        file.lines.clear();
    return file;
}

bool SaveFile(const QString &path, const IniFile &file)
{
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = file.Serialize();
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return CommitSaveFile(out);
}

// Loads the file, lets `edit` change it and writes it back; a file that exists but cannot be
// read is never overwritten, so a passing read error cannot wipe the other settings.
template <typename EditFn> bool ModifyFile(const QString &path, EditFn edit)
{
    IniFile file;
    if (LoadFile(path, &file) == LoadResult::Unreadable)
        return false;
    if (!edit(file))
        return true;
    return SaveFile(path, file);
}

bool HasLineBreakOrNul(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r') || text.contains(QChar(0));
}

bool UsableSection(const QString &section)
{
    const QString name = TrimBlanks(section);
    return !name.isEmpty() && !name.contains(u']') && !HasLineBreakOrNul(name);
}

bool UsableKey(const QString &key)
{
    const QString name = TrimBlanks(key);
    return !name.isEmpty() && !name.contains(u'=') && !name.startsWith(u'[')
           && !name.startsWith(u';') && !HasLineBreakOrNul(name);
}

// A value stays on its line: line breaks and NULs become blanks; surrounding blanks would be
// dropped on reading anyway.
QString CleanValue(const QString &value)
{
    QString v = value;
    for (QChar &c : v) {
        if (c == u'\n' || c == u'\r' || c.unicode() == 0)
            c = u' ';
    }
    return TrimBlanks(v);
}

int ParseInt(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < n && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

QString IniReadBack(const QString &value)
{
    // The same way as a real key line goes: cleaned, encoded, parsed.
    return ParseLine(EncodeCp932(QStringLiteral("k=") + CleanValue(value))).value;
}

bool IniCanHold(const QString &text)
{
    return !HasLineBreakOrNul(text) && IniReadBack(text) == text;
}

CIniStore::CIniStore(QString path)
    : m_path(std::move(path))
{
}

int CIniStore::GetInt(const QString &section, const QString &key, int defaultValue) const
{
    return CIniSnapshot(m_path).GetInt(section, key, defaultValue);
}

QString CIniStore::GetString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    return CIniSnapshot(m_path).GetString(section, key, defaultValue);
}

struct CIniSnapshot::Data {
    IniFile file;
};

CIniSnapshot::CIniSnapshot(const QString &path) : m_data(std::make_unique<Data>())
{
    m_data->file = ReadFile(path);
}

CIniSnapshot::~CIniSnapshot() = default;

int CIniSnapshot::GetInt(const QString &section, const QString &key, int defaultValue) const
{
    const IniLine *line = m_data->file.Find(section, key);
    if (!line || line->value.isEmpty())
        return defaultValue;
    return ParseInt(line->value);
}

QString CIniSnapshot::GetString(const QString &section, const QString &key,
                                const QString &defaultValue) const
{
    const IniLine *line = m_data->file.Find(section, key);
    return (line ? line->value : defaultValue).left(kIniValueMax);
}

bool CIniStore::WriteInt(const QString &section, const QString &key, int value)
{
    return WriteString(section, key, QString::number(value));
}

bool CIniStore::WriteString(const QString &section, const QString &key, const QString &value)
{
    return WriteStrings(section, {qMakePair(key, value)});
}

bool CIniStore::WriteStrings(const QString &section, const IniPairs &pairs)
{
    if (pairs.isEmpty())
        return true;
    if (!UsableSection(section))
        return false;
    for (const auto &pair : pairs) {
        if (!UsableKey(pair.first))
            return false;
    }
    return ModifyFile(m_path, [&](IniFile &file) {
        for (const auto &pair : pairs)
            file.SetValue(TrimBlanks(section), TrimBlanks(pair.first), CleanValue(pair.second));
        return true;
    });
}

IniPairs CIniStore::GetSection(const QString &section) const
{
    IniPairs pairs;
    const IniFile file = ReadFile(m_path);
    const qsizetype header = file.FindSection(section);
    if (header < 0)
        return pairs;
    const qsizetype end = file.SectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const IniLine &line = file.lines.at(i);
        if (line.kind == IniLine::Key)
            pairs.append(qMakePair(line.name, line.value));
    }
    return pairs;
}

bool CIniStore::WriteSection(const QString &section, const IniPairs &pairs)
{
    if (!UsableSection(section))
        return false;
    for (const auto &pair : pairs) {
        if (!UsableKey(pair.first))
            return false;
    }
    return ModifyFile(m_path, [&](IniFile &file) {
        qsizetype header = file.FindSection(section);
        if (header < 0)
            header = file.AppendSection(TrimBlanks(section));
        // Everything but the blank lines that part this section from the next one goes.
        qsizetype end = file.SectionEnd(header);
        qsizetype keepFrom = end;
        while (keepFrom > header + 1 && file.lines.at(keepFrom - 1).IsBlankLine())
            --keepFrom;
        file.lines.remove(header + 1, keepFrom - (header + 1));
        qsizetype at = header + 1;
        for (const auto &pair : pairs)
            file.Insert(at++, file.MakeKey(TrimBlanks(pair.first), CleanValue(pair.second)));
        return true;
    });
}

bool CIniStore::RemoveKey(const QString &section, const QString &key)
{
    return ModifyFile(m_path, [&](IniFile &file) {
        const qsizetype header = file.FindSection(section);
        if (header < 0)
            return false;
        bool changed = false;
        for (qsizetype at = file.FindKey(header, key); at >= 0; at = file.FindKey(header, key)) {
            file.lines.removeAt(at);
            changed = true;
        }
        return changed;
    });
}

bool CIniStore::RemoveSection(const QString &section)
{
    return ModifyFile(m_path, [&](IniFile &file) {
        bool changed = false;
        // Every section of that name goes, or a later one would take its place.
        for (qsizetype header = file.FindSection(section); header >= 0;
             header = file.FindSection(section)) {
            file.lines.remove(header, file.SectionEnd(header) - header);
            changed = true;
        }
        return changed;
    });
}

CIniReadFailure::CIniReadFailure(QString path) : m_previous(FailingReadPath())
{
    FailingReadPath() = std::move(path);
}

CIniReadFailure::~CIniReadFailure()
{
    FailingReadPath() = m_previous;
}

} // namespace orin
