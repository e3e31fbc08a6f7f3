// SPDX-License-Identifier: MIT
// Makes the sample content set in examples/: four pages with drawn JPEG backgrounds, a
// colour-map PNG button (indexed, without a palette of its own), a general PNG, a picture,
// texts with sections, a macro, focus moves in four directions, page jumps, a page timer, a
// marquee, a clock, a picture animation and a number entry through the memory registers. With a
// second file it also writes the same set with deliberate faults, for the navigation check: a
// jump to a page that does not exist, a page that nothing leads to any more, a focus dead end and
// a macro that names a missing text. Run:
//   build/bin/orinedit-make-sample examples/sample.bjpx examples/broken.bjpx

#include "images/font_setup.h"
#include "images/image_measure.h"
#include "images/png_crc.h"
#include "model/project_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QtEndian>

#include <cstdio>
#include <cstring>

using namespace orin;

namespace {

QFont Gothic(int pixelSize)
{
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(pixelSize);
    return font;
}

bool SaveBackground(const QString &path, const QColor &top, const QColor &bottom,
                    const QString &title)
{
    QImage image(960, 540, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, 0, 540);
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.fillRect(image.rect(), gradient);
    p.setPen(QColor(255, 255, 255, 60));
    for (int x = 0; x < 960; x += 48)
        p.drawLine(x, 0, x + 200, 540);
    p.setPen(Qt::white);
    p.setFont(Gothic(44));
    p.drawText(QRect(40, 24, 880, 70), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.fillRect(40, 96, 880, 4, QColor(255, 255, 255, 200));
    p.end();
    return image.save(path, "JPEG", 85);
}

bool SavePhoto(const QString &path)
{
    QImage image(320, 180, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(90, 160, 230));
    sky.setColorAt(1, QColor(200, 230, 250));
    p.fillRect(image.rect(), sky);
    p.setBrush(QColor(255, 220, 80));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(250, 50), 28, 28);
    p.setBrush(QColor(60, 130, 70));
    p.drawPolygon(QPolygon({QPoint(0, 180), QPoint(90, 90), QPoint(170, 180)}));
    p.setBrush(QColor(40, 100, 60));
    p.drawPolygon(QPolygon({QPoint(110, 180), QPoint(220, 70), QPoint(320, 180)}));
    p.end();
    return image.save(path, "JPEG", 85);
}

// An 8-bit indexed PNG without PLTE: its indexes name colours of the broadcast colour map.
bool SaveColourMapButton(const QString &path)
{
    const int width = 240, height = 56;
    QByteArray raw;
    for (int y = 0; y < height; ++y) {
        raw.append('\0'); // filter type None
        for (int x = 0; x < width; ++x) {
            const bool edge = x < 3 || y < 3 || x >= width - 3 || y >= height - 3;
            const bool corner = (x < 6 || x >= width - 6) && (y < 6 || y >= height - 6);
            uchar index = edge ? 7 : (y < height / 2 ? 12 : 4); // white, dark blue, blue
            if (corner)
                index = 8; // transparent
            raw.append(static_cast<char>(index));
        }
    }
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(width, reinterpret_cast<uchar *>(ihdr.data()));
    qToBigEndian<quint32>(height, reinterpret_cast<uchar *>(ihdr.data() + 4));
    ihdr[8] = 8; // bit depth
    ihdr[9] = 3; // indexed colour
    // qCompress gives a zlib stream behind a 4-byte length.
    const QByteArray zlib = qCompress(raw, 9).mid(4);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("\x89PNG\r\n\x1A\n", 8);
    file.write(PngChunk("IHDR", ihdr));
    file.write(PngChunk("IDAT", zlib));
    file.write(PngChunk("IEND", QByteArray()));
    return true;
}

bool SaveLogo(const QString &path)
{
    QImage image(160, 160, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(230, 80, 60));
    p.setPen(QPen(Qt::white, 6));
    p.drawEllipse(QRectF(8, 8, 144, 144));
    p.setPen(Qt::white);
    p.setFont(Gothic(64));
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("O"));
    p.end();
    return image.save(path, "PNG");
}

std::unique_ptr<CMyPictureInfo> Image(int id, int type, const QString &path, const QString &label)
{
    auto r = std::make_unique<CMyPictureInfo>();
    r->id = id;
    r->type = type;
    r->path = path;
    r->label = label;
    ImageDimensions(path, type, r->width, r->height);
    return r;
}

PageItem &AddItem(CMyProgramInfo &page, int id, int idg, QRect rect, const QString &text)
{
    PageItem &item = page.items[static_cast<size_t>(page.itemCount++)];
    item.id = id;
    item.idg = idg;
    item.x = rect.x();
    item.y = rect.y();
    item.width = rect.width();
    item.height = rect.height();
    item.focus = QStringLiteral("0");
    item.outfocus = QStringLiteral("0");
    item.text = text;
    item.color = 7;
    item.size = 28;
    item.bcolor = kNoColour;
    item.margin_x = 16;
    item.margin_y = 10;
    return item;
}

std::unique_ptr<CMyProgramInfo> NewPage(int id, const QString &comment, const QString &background)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    page->comment = comment;
    page->background = background;
    page->marquee_speed = 3;
    page->curcol = 3;
    page->backcol = kNoColour;
    page->cursize = 2;
    page->defitem = 1;
    return page;
}

void AddText(CContentModel &m, int id, const QString &label, const QString &text)
{
    auto t = std::make_unique<CMyTextInfo>();
    t->id = id;
    t->label = label;
    t->text = text;
    m.texts.Add(std::move(t));
}

} // namespace

int main(int argc, char **argv)
{
    // The arguments are checked before anything is written: an option or a name that is not a
    // project file must not become a folder full of pictures.
    static const char kUsage[] = "usage: orinedit-make-sample OUT.bjpx [BROKEN.bjpx]\n";
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    bool usable = argc == 2 || argc == 3;
    for (int i = 1; usable && i < argc; ++i) {
        const QString name = QString::fromLocal8Bit(argv[i]);
        usable = !name.startsWith(u'-') && name.endsWith(QStringLiteral(".bjpx"))
                 && name.size() > 5;
    }
    if (!usable) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RegisterFontSubstitutes();
    const QString project = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString folder = ContentFolderOf(project);
    if (!CreateFolderPath(folder))
        return 1;
    auto at = [&](const char *name) { return folder + u'/' + QLatin1String(name); };

    bool ok = SaveBackground(at("top.jpg"), QColor(20, 60, 140), QColor(10, 20, 60), QStringLiteral("サンプル番組"))
              && SaveBackground(at("news.jpg"), QColor(120, 30, 40), QColor(40, 10, 20), QStringLiteral("ニュース"))
              && SaveBackground(at("weather.jpg"), QColor(30, 120, 160), QColor(10, 50, 80), QStringLiteral("天気予報"))
              && SaveBackground(at("notice.jpg"), QColor(40, 110, 60), QColor(10, 40, 20), QStringLiteral("お知らせ"))
              && SavePhoto(at("photo.jpg")) && SaveColourMapButton(at("button.png"))
              && SaveLogo(at("logo.png"));
    if (!ok) {
        std::fprintf(stderr, "could not write the images\n");
        return 1;
    }

    CContentModel m;
    m.materials.Add(Image(200, kImageColourMapPng, at("button.png"), QStringLiteral("ボタン")));
    m.materials.Add(Image(201, kImageGeneralPng, at("logo.png"), QStringLiteral("ロゴ")));
    m.pictures.Add(Image(1, kImageJpeg, at("photo.jpg"), QStringLiteral("風景写真")));
    AddText(m, 1, QStringLiteral("ニュース"), QStringLiteral("新しい駅前広場が完成しました。週末には記念のイベントが開かれます。"));
    AddText(m, 2, QStringLiteral("天気"), QStringLiteral("[#1]今日：晴れ 最高18℃[#2]明日：くもり 最高15℃[#3]あさって：雨 最高12℃"));
    AddText(m, 3, QStringLiteral("お知らせ"), QStringLiteral("[#1]館内は全面禁煙です。[#2]駐車場は午後10時に閉まります。"));
    auto macro = std::make_unique<CMyMacroInfo>();
    macro->id = 1;
    macro->label = QStringLiteral("トップへ");
    macro->macro = QStringLiteral("G:1");
    m.macros.Add(std::move(macro));

    // Page 1: a menu of three buttons; the remote's up and down move the focus between them,
    // right moves it to the photo, which then takes turns with the logo until left moves back.
    auto top = NewPage(1, QStringLiteral("トップメニュー"), at("top.jpg"));
    const char *labels[] = {"ニュース", "天気予報", "お知らせ"};
    for (int i = 0; i < 3; ++i) {
        PageItem &b = AddItem(*top, i + 1, 0, QRect(80, 150 + i * 90, 240, 56), QString::fromUtf8(labels[i]));
        b.pic_no = 200;
        b.up = QString::number(i == 0 ? 3 : i);
        b.down = QString::number(i == 2 ? 1 : i + 2);
        b.right = QStringLiteral("10");
    }
    top->items[0].ret = QStringLiteral("2");
    top->items[1].ret = QStringLiteral("G:3");
    top->items[2].ret = QStringLiteral("G:4");
    PageItem &photo = AddItem(*top, 10, 0, QRect(520, 150, 320, 180), QString());
    photo.pic_no = 1;
    photo.left = QStringLiteral("1");
    photo.focus = QStringLiteral("$slider:p1/201:i10:w1500");
    photo.outfocus = QStringLiteral("$slider:p1:i10");
    // The logo is 160 screen pixels square: 80 page units, which its item holds on the page.
    AddItem(*top, 11, 0, QRect(780, 400, 80, 80), QString()).pic_no = 201;
    top->blue = 2;
    top->red = 3;
    top->green = 4;
    m.pages.Add(std::move(top));

    // Page 2: a headline from the text table and a scrolling line.
    auto news = NewPage(2, QStringLiteral("ニュース"), at("news.jpg"));
    PageItem &headline = AddItem(*news, 5, 2, QRect(60, 130, 840, 200), QString());
    headline.text_no = 1;
    headline.wordwrap = 1;
    PageItem &back = AddItem(*news, 1, 0, QRect(60, 440, 240, 56), QStringLiteral("戻る"));
    back.pic_no = 200;
    back.ret = QStringLiteral("A:1");
    AddItem(*news, 6, 2, QRect(0, 360, 960, 48), QStringLiteral("最新の情報はデータ放送でご覧ください。")).bcolor = 4;
    news->marquee = 6;
    news->return_ = 1;
    m.pages.Add(std::move(news));

    // Page 3: a text with sections, stepped by the enter key.
    auto weather = NewPage(3, QStringLiteral("天気予報"), at("weather.jpg"));
    PageItem &forecast = AddItem(*weather, 5, 2, QRect(60, 140, 840, 80), QStringLiteral("今日：晴れ 最高18℃"));
    forecast.text_no = 2;
    PageItem &next = AddItem(*weather, 1, 0, QRect(60, 440, 240, 56), QStringLiteral("次の日"));
    next.pic_no = 200;
    next.ret = QStringLiteral("T:2:5");
    next.right = QStringLiteral("2");
    PageItem &home = AddItem(*weather, 2, 0, QRect(340, 440, 240, 56), QStringLiteral("トップへ"));
    home.pic_no = 200;
    home.ret = QStringLiteral("G:1");
    home.left = QStringLiteral("1");
    AddItem(*weather, 7, 2, QRect(700, 30, 220, 48), QString()).size = 24;
    weather->clock = 7;
    weather->return_ = 1;
    m.pages.Add(std::move(weather));

    // Page 4: notices that change on a timer, back to the top after 30 seconds.
    auto notice = NewPage(4, QStringLiteral("お知らせ"), at("notice.jpg"));
    PageItem &line = AddItem(*notice, 5, 2, QRect(60, 160, 840, 80), QStringLiteral("館内は全面禁煙です。"));
    line.text_no = 3;
    PageItem &ok4 = AddItem(*notice, 1, 0, QRect(60, 440, 240, 56), QStringLiteral("トップへ"));
    ok4.pic_no = 200;
    ok4.ret = QStringLiteral("1");
    ok4.focus = QStringLiteral("T:3:5");
    // A number typed with the digit keys while the focus is on the entry field: enter keeps it
    // in register 1 and shows it below.
    ok4.right = QStringLiteral("2");
    PageItem &entry = AddItem(*notice, 2, 0, QRect(340, 440, 240, 56), QStringLiteral("番号入力"));
    entry.pic_no = 200;
    entry.focus = QStringLiteral("Xf:1:6");
    entry.outfocus = QStringLiteral("Xf:0");
    entry.ret = QStringLiteral("Xi:1,Xs:1:7,F:3:7");
    entry.left = QStringLiteral("1");
    AddItem(*notice, 6, 2, QRect(620, 440, 160, 56), QString()).bcolor = 4;
    AddItem(*notice, 7, 2, QRect(620, 360, 300, 56), QStringLiteral("番号：")).size = 24;
    notice->timer = 30;
    notice->return_ = 1;
    m.pages.Add(std::move(notice));

    ProgramSettings settings;
    settings.ExPNG = 1;
    const FileResult saved = SaveProject(m, project, SaveMode::Plain, folder, settings);
    if (!saved.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(saved.message));
        return 1;
    }
    QFile::remove(project + QStringLiteral(".bak"));
    if (argc == 3) {
        // The faulty copy shares the sample's pictures through relative references.
        const QString broken = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
        CMyProgramInfo &first = *m.pages.At(0);
        first.items[2].ret = QStringLiteral("G:5"); // there is no page 5
        first.green = 0;                            // ... so nothing leads to page 4 any more
        CMyProgramInfo &weatherPage = *m.pages.At(2);
        weatherPage.items[2].left = QStringLiteral("0"); // "トップへ" keeps the focus for ever
        auto faulty = std::make_unique<CMyMacroInfo>();
        faulty->id = 2;
        faulty->label = QStringLiteral("天気の続き");
        faulty->macro = QStringLiteral("T:8:5"); // there is no text 8
        m.macros.Add(std::move(faulty));
        weatherPage.items[1].up = QStringLiteral("A:2");
        const FileResult faultySaved = SaveProject(m, broken, SaveMode::Plain, folder, settings);
        if (!faultySaved.ok) {
            std::fprintf(stderr, "%s\n", qPrintable(faultySaved.message));
            return 1;
        }
        QFile::remove(broken + QStringLiteral(".bak"));
    }
    return 0;
}
