// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QIODevice>

// The one chunk scanner of the PNG toolkit: every reader and writer of PNG files walks the
// chunks with it. It trusts nothing in the file: a chunk whose length reaches 2^31 or runs past
// the end of the file ends the scan, and every step moves forward by at least a chunk header,
// so a scan ends on every file.

namespace orin {

// The PNG signature 89 50 4E 47 0D 0A 1A 0A.
extern const QByteArray kPngSignature;

struct PngChunkHeader {
    quint32 length = 0; // data length
    QByteArray type;    // four bytes
    qint64 dataPos = 0; // file position of the data
};

class CPngScanner {
public:
    // The device must be open for reading and random access (a file).
    explicit CPngScanner(QIODevice &device) : m_device(device) {}

    // Reads the 8-byte signature from the start; false when it is not a PNG's.
    bool ReadSignature();

    // Reads the header of the chunk at the current position. False at the end of the file and
    // for a chunk that cannot be whole (length of 2^31 or more, data and CRC past the end).
    bool NextChunk(PngChunkHeader &chunk);

    // Up to `count` bytes of the current chunk's data, from its start; the position moves to
    // the data's start plus what was read.
    QByteArray ReadData(const PngChunkHeader &chunk, qint64 count);

    // Moves to the chunk after `chunk` (past its data and CRC).
    bool SkipChunk(const PngChunkHeader &chunk);

    // Writes the whole chunk (header, data, CRC) unchanged to `out` and moves past it.
    bool CopyChunk(const PngChunkHeader &chunk, QIODevice &out);

private:
    QIODevice &m_device;
};

} // namespace orin
