// SPDX-License-Identifier: MIT
// The project reader on any bytes, in both file forms: .bjpx (UTF-16 text mode) and .bjp (code
// page 932). What was read is saved and read again; the second reading must give the same model
// and settings, seen through the bytes they save (every field is written) and the table sizes.

#include "project_round_trip.h"

using namespace orin;
using namespace orin::fuzz;

namespace {

// Reads the text, saves it in the file form, reads the saved bytes and saves again.
void RoundTrip(const QString &text, bool unicode)
{
    Loaded first;
    Load(text, first);
    CheckSaveAndReload(first.model, first.settings, unicode);
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
