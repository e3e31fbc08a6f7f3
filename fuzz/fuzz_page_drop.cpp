// SPDX-License-Identifier: MIT
// Text dropped on the page list from another program: up to four formats with any bytes, the
// ModeAction setting and whether a content set is open. The drop's text is found when and only
// when a text format is offered (text labelled UTF-8 only when it is UTF-8), UTF-16 before
// UTF-8 before plain text; a valid UTF-8 text reads as itself. The decision refuses without a page block or with ModeAction 0 and merges
// only into an open set. A merged drop is all or nothing: refused, the set saves to the same
// bytes as before; merged, it saves and reads back whole.

#include "project_round_trip.h"

#include "actions/page_drop.h"
#include "actions/page_merge.h"

#include <QMimeData>
#include <QStringDecoder>

#include <fuzzer/FuzzedDataProvider.h>

using namespace orin;
using namespace orin::fuzz;

namespace {

const char *const kFormats[] = {
    "text/plain;charset=utf-16", "text/plain;charset=UTF-8", "text/plain",
    "text/plain;charset=Shift_JIS", "text/uri-list", "application/octet-stream",
};

bool IsValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// A small open content set: two pages, a picture and a text.
void MakeTarget(Loaded &target)
{
    const QString text = QStringLiteral(
        "<BMLCAST><Program>"
        "<BMLJPEG id=\"1\" defitem=\"1\" textid=\"1\"><JPEG></JPEG><Items Num=\"1\">"
        "<Item id=\"1\" x=\"0\" y=\"0\" width=\"10\" height=\"10\" focus=\"0\" outfocus=\"0\" "
        "ret=\"G:2\" up=\"0\" down=\"0\" left=\"0\" right=\"0\" pic_no=\"1\" text_no=\"1\">"
        "<ItemText>a</ItemText></Item></Items></BMLJPEG>"
        "<BMLJPEG id=\"2\" defitem=\"1\"><JPEG></JPEG><Items Num=\"0\"></Items></BMLJPEG>"
        "</Program><Picture><ItemJPEG id=\"1\" item=\"0\" label=\"\" type=\"0\">/x/a.jpg"
        "</ItemJPEG></Picture><Text><ItemText id=\"1\" item=\"1\" label=\"\">t</ItemText></Text>"
        "</BMLCAST>");
    Load(text, target);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int modeAction = input.ConsumeIntegralInRange(0, 2);
    const bool loaded = input.ConsumeBool();
    const int count = input.ConsumeIntegralInRange(0, 4);
    QMimeData mime;
    bool utf16 = false;
    bool utf8 = false;
    bool plain = false;
    bool sjis = false;
    for (int i = 0; i < count; ++i) {
        const int format = input.ConsumeIntegralInRange<int>(0, int(std::size(kFormats)) - 1);
        const std::string value = input.ConsumeRandomLengthString(4096);
        const QByteArray bytes(value.data(), qsizetype(value.size()));
        mime.setData(QLatin1String(kFormats[format]), bytes);
        utf16 = utf16 || format == 0;
        utf8 = utf8 || format == 1;
        plain = plain || format == 2;
        sjis = sjis || format == 3;
    }
    const std::optional<QString> text = DroppedText(mime);
    // Text labelled UTF-8 that is not UTF-8 is no text; every other text format gives one.
    const QByteArray utf8Data = mime.data(QStringLiteral("text/plain;charset=UTF-8"));
    const bool validUtf8 = utf8 && IsValidUtf8(utf8Data);
    ORIN_FUZZ_CHECK(text.has_value() == (utf16 || validUtf8 || plain || sjis));
    if (!utf16 && validUtf8)
        ORIN_FUZZ_CHECK(*text == QString::fromUtf8(utf8Data));
    ORIN_FUZZ_CHECK(DroppedText(mime) == text);

    const PageDrop decision = DecidePageDrop(modeAction, text, loaded);
    const bool pageText = text && text->contains(u"<BMLJPEG");
    if (modeAction == 0 || !pageText)
        ORIN_FUZZ_CHECK(decision == PageDrop::Refuse);
    else
        ORIN_FUZZ_CHECK(decision == (loaded ? PageDrop::Merge : PageDrop::ContentFirst));
    if (decision != PageDrop::Merge)
        return 0;

    Loaded target;
    MakeTarget(target);
    CContentModel &model = target.model;
    const ProgramSettings &settings = target.settings;
    const QByteArray before =
        ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings);
    const MergeResult result = MergeCopyDocument(model, *text, MergeOptions());
    if (!result.Changed()) {
        ORIN_FUZZ_CHECK(ComposeProjectFile(model, true, SaveMode::Plain, kContentFolder, settings)
                        == before);
        return 0;
    }
    ORIN_FUZZ_CHECK(model.pages.Count() == 2 + result.addedPages);
    CheckSaveAndReload(model, settings, true);
    return 0;
}
