// SPDX-License-Identifier: MIT
// The page renderer and the two text rules on a page made from the input: a client size, the
// vertical setting, a background (none, a real picture, a missing file), up to six items with
// any geometry, kind, colours, font size, wrap bits, margins and text, showing a real picture,
// a missing one or none. The page is shown by the simulation with real decoding and painted.
//   Paint:            the same state paints the same pixels twice.
//   PaintItemDirect:  changes pixels only inside the item's client rectangle.
//   DrawCentredText:  draws only inside the item's client rectangle.
//   DrawLaidOutText:  draws no row above the item's top or below its bottom (texts of
//                     characters the item font holds; fallback glyphs may stand taller).
// Every display copy goes when the simulation lets go of the page: the work folder ends empty.

#include "fuzz_check.h"
#include "fuzz_gui.h"

#include "images/colour_map.h"
#include "preview/page_renderer.h"
#include "preview/simulated_clock.h"
#include "preview/text_painter.h"
#include "preview/work_folder_images.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QRawFont>

#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

using namespace orin;

namespace {

QString Scratch()
{
    static const QString path =
        FuzzScratchDir() + QStringLiteral("/orin-fuzz-render-%1").arg(::getpid());
    return path;
}

QString PicturePath()
{
    return Scratch() + QStringLiteral("/picture.jpg");
}

QString WorkFolder()
{
    return Scratch() + QStringLiteral("/work");
}

QString TakeString(FuzzedDataProvider &input, size_t maxLength)
{
    const std::string bytes = input.ConsumeRandomLengthString(maxLength);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

// Mostly the sizes of real content, now and then anything.
int TakeInt(FuzzedDataProvider &input, int low, int high)
{
    return input.ConsumeIntegralInRange(0, 15) == 0 ? input.ConsumeIntegral<int>()
                                                    : input.ConsumeIntegralInRange(low, high);
}

float TakeCoordinate(FuzzedDataProvider &input, int low, int high)
{
    return float(TakeInt(input, low, high)) + float(input.ConsumeIntegralInRange(0, 3)) / 4.0f;
}

QString PathOf(int choice)
{
    switch (choice) {
    case 1: return PicturePath();
    case 2: return Scratch() + QStringLiteral("/missing.jpg");
    default: return QString();
    }
}

void MakePage(FuzzedDataProvider &input, CContentModel &model)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = 1;
    page->defitem = input.ConsumeIntegralInRange(0, 3);
    page->curcol = input.ConsumeIntegralInRange(0, 9);
    page->backcol = input.ConsumeBool() ? kNoColour : input.ConsumeIntegralInRange(0, 300);
    page->cursize = input.ConsumeIntegralInRange(0, 5);
    page->background = PathOf(input.ConsumeIntegralInRange(0, 2));
    page->itemCount = input.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < page->itemCount; ++i) {
        PageItem &item = page->items[size_t(i)];
        item.id = i + 1;
        item.idg = input.ConsumeIntegralInRange(0, 9);
        item.x = TakeCoordinate(input, -50, 1000);
        item.y = TakeCoordinate(input, -50, 600);
        item.width = TakeCoordinate(input, 0, 1000);
        item.height = TakeCoordinate(input, 0, 600);
        item.margin_x = TakeInt(input, -5, 40);
        item.margin_y = TakeInt(input, -5, 40);
        item.color = TakeInt(input, 0, 300);
        item.bcolor = TakeInt(input, 0, 300);
        item.size = TakeInt(input, 0, 120);
        item.wordwrap = TakeInt(input, 0, 12);
        item.pic_no = input.ConsumeIntegralInRange(0, 2);
        item.text = TakeString(input, 80);
        item.focus = item.outfocus = item.ret = QStringLiteral("0");
        item.up = item.down = item.left = item.right = QStringLiteral("0");
    }
    model.pages.Add(std::move(page));
    for (int id = 1; id <= 2; ++id) {
        auto picture = std::make_unique<CMyPictureInfo>();
        picture->id = id;
        picture->type = kImageJpeg;
        picture->path = PathOf(id);
        model.pictures.Add(std::move(picture));
    }
}

// Whether `after` differs from `before` anywhere outside `inside` (rows and columns).
bool ChangedOutside(const QImage &before, const QImage &after, const QRect &inside)
{
    for (int y = 0; y < before.height(); ++y) {
        const auto *a = reinterpret_cast<const QRgb *>(before.constScanLine(y));
        const auto *b = reinterpret_cast<const QRgb *>(after.constScanLine(y));
        for (int x = 0; x < before.width(); ++x) {
            if (a[x] != b[x] && !inside.contains(x, y))
                return true;
        }
    }
    return false;
}

QImage Blank(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

bool InItemFont(const PageItem &item)
{
    const QRawFont raw = QRawFont::fromFont(ItemFont(20, item.wordwrap));
    if (!raw.isValid())
        return false;
    for (const QChar c : item.text) {
        if (c.isSurrogate() || !raw.supportsCharacter(c))
            return false;
    }
    return true;
}

void CheckTexts(const CCanvasMapping &mapping, const PageItem &item, QSize client)
{
    TextRequest request;
    request.x = item.x;
    request.y = item.y;
    request.width = item.width;
    request.height = item.height;
    request.marginX = item.margin_x;
    request.marginY = item.margin_y;
    request.size = item.size;
    request.wordwrap = item.wordwrap;
    request.text = item.text;
    const QRect rect = mapping.MapItem(item.x, item.y, item.width, item.height);
    for (bool marquee : {false, true}) {
        request.marquee = marquee;
        QImage centred = Blank(client);
        {
            QPainter painter(&centred);
            painter.setPen(Qt::white);
            DrawCentredText(painter, mapping, request);
        }
        // The centred rule places the text 2 units lower, inside the same clip.
        const QRect centredRect = mapping.MapItem(item.x, item.y + 2, item.width, item.height);
        ORIN_FUZZ_CHECK(!ChangedOutside(Blank(client), centred, centredRect));
        QImage laidOut = Blank(client);
        {
            QPainter painter(&laidOut);
            painter.setPen(Qt::white);
            DrawLaidOutText(painter, mapping, request);
        }
        // Rows only: a character may reach past the right edge before the line breaks. A
        // character the item font lacks is drawn from a fallback font whose glyphs may stand
        // taller than the item font's line, so only texts of the font's own characters count.
        const QRect rows(0, rect.top() - 1, client.width(), rect.height() + 2);
        if (InItemFont(item) && ChangedOutside(Blank(client), laidOut, rows)) {
            std::fprintf(stderr, "item %d (%g,%g %gx%g) size %d wrap %d marquee %d margins %d,%d "
                         "client %dx%d rect %d,%d %dx%d text \"%s\"\n", item.id, item.x, item.y,
                         item.width, item.height, item.size, item.wordwrap, int(marquee),
                         item.margin_x, item.margin_y, client.width(), client.height(),
                         rect.x(), rect.y(), rect.width(), rect.height(), qPrintable(item.text));
            for (int y = 0; y < client.height(); ++y) {
                for (int x = 0; x < client.width(); ++x) {
                    if (laidOut.pixel(x, y) != 0 && !rows.contains(x, y)) {
                        std::fprintf(stderr, "first pixel outside at %d,%d\n", x, y);
                        y = client.height();
                        break;
                    }
                }
            }
            ORIN_FUZZ_CHECK(false);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::StartGuiApplication(argc, argv);
    QDir().mkpath(Scratch());
    QImage picture(24, 16, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    picture.save(PicturePath(), "JPG");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QSize client(input.ConsumeIntegralInRange(1, 320), input.ConsumeIntegralInRange(1, 240));
    ProgramSettings settings;
    settings.Vertical = input.ConsumeBool();
    settings.ExPNG = input.ConsumeBool();
    CContentModel model;
    MakePage(input, model);
    static const CColourMap map;
    {
        CWorkFolderImages images(map, WorkFolder());
        CSimulation sim(model, settings, images);
        sim.engine.ShowPage(1);
        sim.Settle(200);
        const CPreviewEngine &engine = sim.engine;

        CPageRenderer renderer(map, model);
        FrameToggles toggles;
        toggles.itemFrames = input.ConsumeBool();
        toggles.frameColour = input.ConsumeIntegralInRange(0, 9);
        renderer.SetFrameToggles(toggles);
        QImage first(client, QImage::Format_ARGB32_Premultiplied);
        first.fill(Qt::black);
        QImage second = first;
        {
            QPainter painter(&first);
            renderer.Paint(painter, client, engine);
        }
        {
            QPainter painter(&second);
            renderer.Paint(painter, client, engine);
        }
        ORIN_FUZZ_CHECK(first == second);

        const CCanvasMapping mapping(client, engine.Vertical());
        for (const DisplayItem &entry : engine.Items()) {
            QImage direct = first;
            {
                QPainter painter(&direct);
                renderer.PaintItemDirect(painter, client, engine, entry.item.id,
                                         entry.item.text);
            }
            ORIN_FUZZ_CHECK(!ChangedOutside(first, direct,
                                            renderer.ItemRect(client, engine, entry.item.id)));
            CheckTexts(mapping, entry.item, client);
        }
    }
    ORIN_FUZZ_CHECK(QDir(WorkFolder()).isEmpty());
    return 0;
}
