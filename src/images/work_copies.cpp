// SPDX-License-Identifier: MIT
#include "images/work_copies.h"

#include "images/png_palette.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orin {

namespace {

class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CFd(const CFd &) = delete;
    CFd &operator=(const CFd &) = delete;
    int Get() const { return m_fd; }
    bool Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Writes all of `length` bytes at the current offsets; false on any failure.
bool CopyBytes(int in, int out, qint64 length)
{
    // A copy inside the kernel first: it shares blocks or copies without our buffer.
    qint64 left = length;
    bool kernelCopy = true;
    while (left > 0 && kernelCopy) {
        const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(left), 0);
        if (n > 0) {
            left -= n;
        } else if (n == 0) {
            return false; // the source became shorter
        } else if (errno == EINTR) {
            continue;
        } else if (left == length && (errno == EXDEV || errno == EINVAL || errno == ENOSYS
                                      || errno == EOPNOTSUPP || errno == EPERM)) {
            kernelCopy = false; // not offered here: read and write
        } else {
            return false;
        }
    }
    char buffer[64 * 1024];
    while (left > 0) {
        const ssize_t n = ::read(in, buffer, size_t(std::min<qint64>(left, sizeof buffer)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return false;
            done += w;
        }
        left -= n;
    }
    return true;
}

bool CopyRegularFile(const QString &source, const QString &destination)
{
    // Not blocking on a pipe's open: only a regular file is copied.
    CFd in(::open(QFile::encodeName(source).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat st {};
    if (in.Get() < 0 || ::fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    CFd out(::open(QFile::encodeName(destination).constData(),
                   O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (out.Get() < 0)
        return false;
    // A clone shares the source's blocks where the file system allows (nothing is written).
    if (st.st_size > 0 && ::ioctl(out.Get(), FICLONE, in.Get()) == 0)
        return out.Close();
    if (!CopyBytes(in.Get(), out.Get(), qint64(st.st_size)))
        return false;
    return out.Close();
}

// The colours a palette copy takes from the map (InsertPalette reads at most 256 entries).
QString PaletteKey(const CColourMap &map)
{
    QByteArray colours;
    colours.reserve(256 * 4);
    for (int i = 0; i < 256; ++i) {
        const ColourEntry c = map.ColourOf(i);
        colours.append(char(c.r)).append(char(c.g)).append(char(c.b)).append(char(c.a));
    }
    return QString::fromLatin1(colours.toBase64());
}

} // namespace

CWorkCopyFile::~CWorkCopyFile()
{
    if (!m_path.isEmpty())
        QFile::remove(m_path);
}

bool CopyWorkFile(const QString &source, const QString &destination)
{
    if (CopyRegularFile(source, destination))
        return true;
    QFile::remove(destination);
    return false;
}

QString NewWorkFilePath(const QString &workFolder, const QString &prefix,
                        const QString &extension)
{
    QDir().mkpath(workFolder);
    QTemporaryFile file(QDir(workFolder).filePath(prefix + QStringLiteral("XXXXXX") + extension));
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return file.fileName();
}

CWorkCopies::CWorkCopies(QString workFolder, qint64 retainedBytesLimit)
    : m_folder(std::move(workFolder)), m_limit(retainedBytesLimit)
{
}

CWorkCopies::~CWorkCopies() = default;

template <typename Make>
std::shared_ptr<const CWorkCopyFile> CWorkCopies::Lookup(const QString &key,
                                                         const QString &source,
                                                         const QString &prefix,
                                                         const QString &extension,
                                                         const Make &make)
{
    const FileStamp stamp = StampOfFile(source);
    const bool readable = stamp.regular;
    const auto found = m_entries.find(key);
    if (found != m_entries.end()) {
        Entry &entry = found->second;
        if (readable && entry.stamp == stamp && QFile::exists(entry.file->Path())) {
            m_recent.splice(m_recent.begin(), m_recent, entry.use);
            return entry.file;
        }
        // The source changed or went: its old copy goes once no holder shows it.
        m_bytes -= entry.bytes;
        m_recent.erase(entry.use);
        m_entries.erase(found);
    }
    if (!readable)
        return nullptr;
    const QString path = NewWorkFilePath(m_folder, prefix, extension);
    if (path.isEmpty())
        return nullptr;
    if (!make(source, path)) {
        QFile::remove(path);
        return nullptr;
    }
    ++m_copiesMade;
    auto file = std::make_shared<const CWorkCopyFile>(path);
    // Stamped before the copy: a source changed while it was copied is copied again.
    m_recent.push_front(key);
    const qint64 bytes = QFileInfo(path).size();
    m_entries.emplace(key, Entry{stamp, file, bytes, m_recent.begin()});
    m_bytes += bytes;
    LetGoUnheld();
    return file;
}

void CWorkCopies::LetGoUnheld()
{
    if (m_bytes <= m_limit)
        return;
    qint64 unheld = 0;
    for (const auto &[key, entry] : m_entries) {
        if (entry.file.use_count() == 1)
            unheld += entry.bytes;
    }
    // From the least recently used on.
    auto key = m_recent.end();
    while (unheld > m_limit && key != m_recent.begin()) {
        --key;
        const auto found = m_entries.find(*key);
        if (found == m_entries.end() || found->second.file.use_count() != 1)
            continue;
        unheld -= found->second.bytes;
        m_bytes -= found->second.bytes;
        m_entries.erase(found);
        key = m_recent.erase(key);
    }
}

std::shared_ptr<const CWorkCopyFile> CWorkCopies::Plain(const QString &source,
                                                        const QString &prefix,
                                                        const QString &extension)
{
    const QString key = prefix + u'|' + extension + u'|' + source;
    return Lookup(key, source, prefix, extension, &CopyWorkFile);
}

std::shared_ptr<const CWorkCopyFile> CWorkCopies::Paletted(const QString &source,
                                                           const CColourMap &map)
{
    const QString key = QStringLiteral("palette|") + PaletteKey(map) + u'|' + source;
    return Lookup(key, source, QStringLiteral("png"), QStringLiteral(".png"),
                  [&map](const QString &from, const QString &to) {
                      return InsertPaletteIntoWorkCopy(from, to, map);
                  });
}

} // namespace orin
