// SPDX-License-Identifier: MIT
// The web player in real headless Chromium against the editor's renderer: the exported sample
// and small fixtures, each shown at a window size by `index.html?page=..&keys=..` and drawn by
// `orinedit-cli render --size`, must agree.
//
// Tolerances: boxes, fills, frames, pictures and backgrounds at the same pixels within one
// pixel: every pixel outside the text boxes has a pixel of the other picture at most one pixel
// away whose colour differs by at most 48 in each channel (two JPEG decoders and two nearest-
// neighbour scalers); on the sample, whose backgrounds are fine lines scaled down, 0.3 % of
// the pixels may lack that match. Texts, whose glyphs two font rasterisers draw: inside each item that shows
// text, the box around the pixels of the text colour lies within 3 pixels of the editor's on
// every side, the count of such pixels within 25 % of the editor's, and no such pixel lies
// outside the item's text box.

#include "cli_runner.h"
#include "image_fixtures.h"
#include "test_files.h"
#include "test_registry.h"

#include "images/colour_map.h"
#include "model/project_writer.h"
#include "preview/canvas_mapping.h"

#include <QPainter>
#include <QtTest>

#include <functional>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

const QString kChromium = QStringLiteral("/usr/bin/chromium");

// A screenshot of `url` in a window of `size`; a null image when Chromium failed.
QImage Screenshot(const QString &url, QSize size, const QTemporaryDir &dir)
{
    const QString profile = dir.filePath(QStringLiteral("profile-%1").arg(QRandomGenerator::global()->generate()));
    const QString shot = profile + QStringLiteral(".png");
    QProcess chromium;
    chromium.setProcessChannelMode(QProcess::MergedChannels);
    chromium.start(kChromium, {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
                               QStringLiteral("--disable-gpu"), QStringLiteral("--disable-quic"),
                               QStringLiteral("--no-first-run"),
                               QStringLiteral("--disable-background-networking"),
                               QStringLiteral("--disable-component-update"),
                               QStringLiteral("--disable-sync"), QStringLiteral("--hide-scrollbars"),
                               QStringLiteral("--force-device-scale-factor=1"),
                               QStringLiteral("--user-data-dir=") + profile,
                               QStringLiteral("--window-size=%1,%2").arg(size.width()).arg(size.height()),
                               QStringLiteral("--virtual-time-budget=5000"),
                               QStringLiteral("--screenshot=") + shot, url});
    if (!chromium.waitForFinished(120000)) {
        chromium.kill();
        chromium.waitForFinished();
        return {};
    }
    return QImage(shot).convertToFormat(QImage::Format_RGB32);
}

QImage Render(const QString &project, int page, const QString &keys, QSize size,
              const QTemporaryDir &dir)
{
    const QString out = dir.filePath(QStringLiteral("render-%1.png").arg(QRandomGenerator::global()->generate()));
    QStringList args{QStringLiteral("render"), project, out, QStringLiteral("--page"),
                     QString::number(page), QStringLiteral("--size"),
                     QStringLiteral("%1x%2").arg(size.width()).arg(size.height())};
    if (!keys.isEmpty())
        args << QStringLiteral("--keys") << keys;
    const CliOutcome o = RunCli(args);
    if (o.code != 0)
        qWarning("%s", qPrintable(o.err));
    return QImage(out).convertToFormat(QImage::Format_RGB32);
}

bool Near(QRgb a, QRgb b, int tolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance
           && std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

struct Unmatched {
    QPoint first{-1, -1};
    int count = 0;
};

// The pixels of `a` outside the masks that have no pixel of `b` within one pixel of a near
// colour.
Unmatched UnmatchedPixels(const QImage &a, const QImage &b, const QList<QRect> &masks)
{
    Unmatched result;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            bool masked = false;
            for (const QRect &m : masks)
                masked = masked || m.contains(x, y);
            if (masked)
                continue;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int bx = x + dx;
                    const int by = y + dy;
                    found = bx >= 0 && by >= 0 && bx < b.width() && by < b.height()
                            && Near(a.pixel(x, y), b.pixel(bx, by), 48);
                }
            }
            if (!found && result.count++ == 0)
                result.first = QPoint(x, y);
        }
    }
    return result;
}

// The first unmatched pixel, or (-1, -1) when there is none.
QPoint UnmatchedPixel(const QImage &a, const QImage &b, const QList<QRect> &masks)
{
    return UnmatchedPixels(a, b, masks).first;
}

struct Ink {
    QRect box;
    int count = 0;
};

// The pixels of colour `ink` (within 60 per channel) inside `area`.
Ink InkIn(const QImage &image, const QRect &area, QRgb ink)
{
    Ink result;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (Near(image.pixel(x, y), ink, 60)) {
                result.box |= QRect(x, y, 1, 1);
                ++result.count;
            }
        }
    }
    return result;
}

// One text the comparison looks at: the item's client rectangle and the text colour.
struct TextArea {
    QRect item;
    QRgb colour;
};

// A content set written as a project file in `dir`.
QString WriteProject(const QTemporaryDir &dir, const QString &name,
                     const std::function<void(CContentModel &, ProgramSettings &)> &fill)
{
    CContentModel model;
    ProgramSettings settings;
    settings.ExPNG = 1;
    fill(model, settings);
    const QString path = dir.filePath(name + QStringLiteral(".bjpx"));
    const FileResult saved = SaveProject(model, path, SaveMode::Plain, dir.filePath(name + u'.'), settings);
    return saved.ok ? path : QString();
}

PageItem &AddItem(CMyProgramInfo &page, int id, int idg, QRect box)
{
    PageItem &item = page.items[size_t(page.itemCount++)];
    item.id = id;
    item.idg = idg;
    item.x = float(box.x());
    item.y = float(box.y());
    item.width = float(box.width());
    item.height = float(box.height());
    item.color = 7;
    item.bcolor = kNoColour;
    item.size = 24;
    return item;
}

std::unique_ptr<CMyProgramInfo> NewPage(int id)
{
    auto page = std::make_unique<CMyProgramInfo>();
    page->id = id;
    page->curcol = 3;
    page->backcol = kNoColour;
    return page;
}

} // namespace

class WebScreenshotTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_boxes;
    QString m_texts;
    QString m_portrait;

    QString Export(const QString &project)
    {
        const QString out = m_dir.filePath(QFileInfo(project).completeBaseName() + QStringLiteral("-web"));
        if (!QFileInfo::exists(out)) {
            const CliOutcome o = RunCli({QStringLiteral("export-web"), project, out});
            if (o.code != 0)
                qWarning("%s", qPrintable(o.err));
        }
        return out;
    }

private slots:
    void initTestCase()
    {
        if (!QFileInfo::exists(kChromium))
            QSKIP("chromium is not installed (scripts/setup installs it)");
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("boxes."))));
        // Four quarters of their own colour: a picture drawn from the wrong corner or at the
        // wrong scale shows it.
        QImage quarters(300, 200, QImage::Format_RGB32);
        quarters.fill(QColor(230, 40, 40));
        QPainter painter(&quarters);
        painter.fillRect(150, 0, 150, 100, QColor(40, 200, 40));
        painter.fillRect(0, 100, 150, 100, QColor(240, 240, 40));
        painter.fillRect(150, 100, 150, 100, QColor(40, 40, 220));
        painter.end();
        QVERIFY(quarters.save(m_dir.filePath(QStringLiteral("boxes./photo.jpg")), "JPEG", 100));
        WriteBytes(m_dir.filePath(QStringLiteral("boxes./cmap.png")), ColourMapPng(40, 30));
        WriteGeneralPng(m_dir.filePath(QStringLiteral("boxes./general.png")), 120, 80);
        WriteJpeg(m_dir.filePath(QStringLiteral("boxes./back.jpg")), 960, 540);
        m_boxes = WriteProject(m_dir, QStringLiteral("boxes"), [&](CContentModel &m, ProgramSettings &) {
            auto page = NewPage(1);
            page->background = m_dir.filePath(QStringLiteral("boxes./back.jpg"));
            page->backcol = 16;
            page->defitem = 2;
            page->tvitem = 9;
            page->back = kVideoScreen;
            AddItem(*page, 1, 0, {20, 20, 200, 100}).bcolor = 1;
            AddItem(*page, 2, 0, {260, 20, 150, 120}).pic_no = 1;
            AddItem(*page, 3, 50, {440, 20, 200, 150}).pic_no = 1;
            AddItem(*page, 4, 55, {680, 20, 120, 60}).pic_no = 1;
            AddItem(*page, 5, 0, {20, 200, 100, 100}).pic_no = 200;
            AddItem(*page, 6, 0, {160, 200, 100, 100}).pic_no = 201;
            AddItem(*page, 7, 1, {300, 200, 80, 40}).bcolor = 2;
            AddItem(*page, 8, 2, {420, 200, 120, 60}).bcolor = 4;
            AddItem(*page, 9, 0, {600, 300, 320, 180});
            AddItem(*page, 10, 4, {20, 400, 100, 100}).bcolor = 5;
            m.pages.Add(std::move(page));
            auto second = NewPage(2);
            second->defitem = 1;
            second->curcol = 5;
            AddItem(*second, 1, 0, {1, 1, 958, 538}).bcolor = 6;
            m.pages.Add(std::move(second));
            auto photo = std::make_unique<CMyPictureInfo>();
            photo->id = 1;
            photo->path = m_dir.filePath(QStringLiteral("boxes./photo.jpg"));
            m.pictures.Add(std::move(photo));
            auto cmap = std::make_unique<CMyPictureInfo>();
            cmap->id = 200;
            cmap->type = kImageColourMapPng;
            cmap->path = m_dir.filePath(QStringLiteral("boxes./cmap.png"));
            m.materials.Add(std::move(cmap));
            auto general = std::make_unique<CMyPictureInfo>();
            general->id = 201;
            general->type = kImageGeneralPng;
            general->path = m_dir.filePath(QStringLiteral("boxes./general.png"));
            m.materials.Add(std::move(general));
        });
        m_texts = WriteProject(m_dir, QStringLiteral("texts"), [&](CContentModel &m, ProgramSettings &) {
            auto page = NewPage(1);
            PageItem &a = AddItem(*page, 1, 0, {20, 20, 400, 60});
            a.text = QStringLiteral("ニュースと天気 ABC 123");
            a.margin_x = 10;
            a.margin_y = 8;
            a.bcolor = 4;
            PageItem &b = AddItem(*page, 2, 2, {20, 120, 300, 100});
            b.text = QStringLiteral("折り返しのある長い文章がここに入ります。次の行へ続きます。");
            b.size = 28;
            b.color = 3;
            PageItem &c = AddItem(*page, 3, 5, {20, 260, 400, 80});
            c.text = QStringLiteral("行の高さ24\n二行目");
            c.size = 16;
            PageItem &d = AddItem(*page, 4, 0, {500, 20, 400, 40});
            d.text = QStringLiteral("太字 Bold");
            d.wordwrap = 2;
            d.size = 32;
            d.color = 1;
            PageItem &e = AddItem(*page, 5, 2, {500, 120, 200, 30});
            e.text = QStringLiteral("切り取られる文字列が下で切れる");
            e.size = 40;
            m.pages.Add(std::move(page));
        });
        m_portrait = WriteProject(m_dir, QStringLiteral("portrait"), [&](CContentModel &m, ProgramSettings &s) {
            s.Vertical = 1;
            auto page = NewPage(1);
            page->background = m_dir.filePath(QStringLiteral("boxes./back.jpg"));
            page->defitem = 1;
            AddItem(*page, 1, 0, {20, 20, 300, 100}).bcolor = 2;
            AddItem(*page, 2, 0, {100, 700, 400, 200}).pic_no = 1;
            m.pages.Add(std::move(page));
            auto photo = std::make_unique<CMyPictureInfo>();
            photo->id = 1;
            photo->path = m_dir.filePath(QStringLiteral("boxes./photo.jpg"));
            m.pictures.Add(std::move(photo));
        });
        QVERIFY(!m_boxes.isEmpty() && !m_texts.isEmpty() && !m_portrait.isEmpty());
    }

    void boxesFillsFramesAndPictures_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QSize>("size");
        QTest::newRow("fixture 960x540") << "boxes" << 1 << QString() << QSize(960, 540);
        QTest::newRow("fixture 1280x720") << "boxes" << 1 << QString() << QSize(1280, 720);
        QTest::newRow("fixture in a tall window") << "boxes" << 1 << QString() << QSize(700, 900);
        QTest::newRow("fixture in a wide window") << "boxes" << 1 << QString() << QSize(1500, 500);
        QTest::newRow("full-page focus frame") << "boxes" << 2 << QString() << QSize(800, 450);
        QTest::newRow("video screen") << "boxes" << 1 << QStringLiteral("back") << QSize(900, 600);
        QTest::newRow("guide screen") << "boxes" << 1 << QStringLiteral("back,back") << QSize(640, 480);
        QTest::newRow("portrait page") << "portrait" << 1 << QString() << QSize(540, 960);
        QTest::newRow("portrait page, wide window") << "portrait" << 1 << QString() << QSize(1000, 600);
    }
    void boxesFillsFramesAndPictures()
    {
        QFETCH(QString, set);
        QFETCH(int, page);
        QFETCH(QString, keys);
        QFETCH(QSize, size);
        const QString project = set == u"boxes" ? m_boxes : m_portrait;
        const QString out = Export(project);
        QString url = QUrl::fromLocalFile(out + QStringLiteral("/index.html")).toString()
                      + QStringLiteral("?page=%1").arg(page);
        if (!keys.isEmpty())
            url += QStringLiteral("&keys=") + keys;
        const QImage web = Screenshot(url, size, m_dir);
        const QImage cli = Render(project, page, keys, size, m_dir);
        QCOMPARE(web.size(), size);
        QCOMPARE(cli.size(), size);
        const QPoint a = UnmatchedPixel(web, cli, {});
        const QPoint b = UnmatchedPixel(cli, web, {});
        if (a.x() >= 0 || b.x() >= 0) {
            web.save(m_dir.filePath(QStringLiteral("failed-web.png")));
            cli.save(m_dir.filePath(QStringLiteral("failed-cli.png")));
            m_dir.setAutoRemove(false);
        }
        QVERIFY2(a.x() < 0, qPrintable(QStringLiteral("player pixel %1,%2 has no match; see %3")
                                           .arg(a.x()).arg(a.y()).arg(m_dir.path())));
        QVERIFY2(b.x() < 0, qPrintable(QStringLiteral("editor pixel %1,%2 has no match; see %3")
                                           .arg(b.x()).arg(b.y()).arg(m_dir.path())));
    }

    // Texts in the same face, size and colour, clipped to the same boxes; the sample's pages
    // with their pictures (outside the text boxes) at the same pixels.
    void textsAndTheSample_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("page");
        QTest::addColumn<QSize>("size");
        QTest::newRow("texts 960x540") << "texts" << 1 << QSize(960, 540);
        QTest::newRow("texts 1600x900") << "texts" << 1 << QSize(1600, 900);
        QTest::newRow("texts 800x700") << "texts" << 1 << QSize(800, 700);
        QTest::newRow("sample page 1") << "sample" << 1 << QSize(960, 540);
        QTest::newRow("sample page 2, 1280x720") << "sample" << 2 << QSize(1280, 720);
        QTest::newRow("sample page 3") << "sample" << 3 << QSize(960, 540);
        QTest::newRow("sample page 4, tall window") << "sample" << 4 << QSize(720, 900);
    }
    void textsAndTheSample()
    {
        QFETCH(QString, set);
        QFETCH(int, page);
        QFETCH(QSize, size);
        QString project = m_texts;
        if (set == u"sample") {
            static QTemporaryDir sampleDir;
            project = sampleDir.filePath(QStringLiteral("sample.bjpx"));
            if (!QFileInfo::exists(project))
                CopySample(sampleDir);
        }
        const QString out = Export(project);
        const QImage web = Screenshot(QUrl::fromLocalFile(out + QStringLiteral("/index.html")).toString()
                                          + QStringLiteral("?page=%1").arg(page), size, m_dir);
        const QImage cli = Render(project, page, QString(), size, m_dir);
        QCOMPARE(web.size(), size);
        QCOMPARE(cli.size(), size);

        // The text items of the page, from the exported content.
        const QByteArray script = ReadBytes(out + QStringLiteral("/content.js"));
        const QJsonObject content = QJsonDocument::fromJson(
            script.mid(script.indexOf('{'), script.lastIndexOf('}') - script.indexOf('{') + 1)).object();
        const QJsonArray colours = content.value(QStringLiteral("colours")).toArray();
        const CCanvasMapping mapping(size, false);
        QList<QRect> masks;
        QList<TextArea> areas;
        for (const QJsonValue &p : content.value(QStringLiteral("pages")).toArray()) {
            if (p.toObject().value(QStringLiteral("id")).toInt() != page)
                continue;
            const int clock = p.toObject().value(QStringLiteral("clock")).toInt();
            const int marquee = p.toObject().value(QStringLiteral("marquee")).toInt();
            for (const QJsonValue &v : p.toObject().value(QStringLiteral("items")).toArray()) {
                const QJsonObject item = v.toObject();
                const int id = item.value(QStringLiteral("id")).toInt();
                const QString text = item.value(QStringLiteral("text")).toString();
                const bool changing = item.value(QStringLiteral("text_no")).toInt() != 0 || id == clock;
                if ((text.isEmpty() && !changing) || id == marquee)
                    continue;
                const QRect box = mapping.MapItem(float(item.value(QStringLiteral("x")).toDouble()),
                                                  float(item.value(QStringLiteral("y")).toDouble()),
                                                  float(item.value(QStringLiteral("width")).toDouble()),
                                                  float(item.value(QStringLiteral("height")).toDouble()));
                // The text box lies two page units right of and below the item box.
                const QRect textBox = mapping.MapItem(float(item.value(QStringLiteral("x")).toDouble() + 2),
                                                      float(item.value(QStringLiteral("y")).toDouble() + 2),
                                                      float(item.value(QStringLiteral("width")).toDouble()),
                                                      float(item.value(QStringLiteral("height")).toDouble()));
                masks << box.united(textBox).adjusted(-1, -1, 1, 1);
                const QColor colour(colours.at(item.value(QStringLiteral("color")).toInt()).toString());
                if (!text.isEmpty() && !changing)
                    areas << TextArea{box, colour.rgb()};
            }
        }
        QVERIFY(!areas.isEmpty());
        // Fine lines of a background scaled down by nearest neighbour may fall on other source
        // columns in the two scalers: the sample's backgrounds may leave 0.3 % of the pixels
        // without a match; the fixture none.
        const int allowed = set == u"sample" ? size.width() * size.height() * 3 / 1000 : 0;
        const Unmatched ua = UnmatchedPixels(web, cli, masks);
        const Unmatched ub = UnmatchedPixels(cli, web, masks);
        const QPoint a = ua.count > allowed ? ua.first : QPoint(-1, -1);
        const QPoint b = ub.count > allowed ? ub.first : QPoint(-1, -1);
        bool textsAgree = true;
        QString why;
        for (const TextArea &area : areas) {
            const Ink w = InkIn(web, area.item, area.colour);
            const Ink c = InkIn(cli, area.item, area.colour);
            const bool near = std::abs(w.box.left() - c.box.left()) <= 3 && std::abs(w.box.top() - c.box.top()) <= 3
                              && std::abs(w.box.right() - c.box.right()) <= 3
                              && std::abs(w.box.bottom() - c.box.bottom()) <= 3;
            const bool count = c.count > 0 && std::abs(w.count - c.count) <= c.count / 4;
            if (!near || !count) {
                textsAgree = false;
                why += QStringLiteral("text in %1,%2 %3x%4: player ink %5,%6-%7,%8 (%9 px), editor %10,%11-%12,%13 (%14 px); ")
                           .arg(area.item.x()).arg(area.item.y()).arg(area.item.width()).arg(area.item.height())
                           .arg(w.box.left()).arg(w.box.top()).arg(w.box.right()).arg(w.box.bottom()).arg(w.count)
                           .arg(c.box.left()).arg(c.box.top()).arg(c.box.right()).arg(c.box.bottom()).arg(c.count);
            }
        }
        if (a.x() >= 0 || b.x() >= 0 || !textsAgree) {
            web.save(m_dir.filePath(QStringLiteral("failed-web.png")));
            cli.save(m_dir.filePath(QStringLiteral("failed-cli.png")));
            m_dir.setAutoRemove(false);
        }
        QVERIFY2(a.x() < 0, qPrintable(QStringLiteral("player pixel %1,%2 has no match; see %3")
                                           .arg(a.x()).arg(a.y()).arg(m_dir.path())));
        QVERIFY2(b.x() < 0, qPrintable(QStringLiteral("editor pixel %1,%2 has no match; see %3")
                                           .arg(b.x()).arg(b.y()).arg(m_dir.path())));
        QVERIFY2(textsAgree, qPrintable(why + m_dir.path()));
    }

    // A content.js changed by hand cannot make the page load from elsewhere or run markup:
    // file names outside the folder are not loaded, texts stay text.
    void hostileContentStaysData()
    {
        const QString out = m_dir.filePath(u"hostile-web"_s);
        const CliOutcome o = RunCli({u"export-web"_s, m_texts, out});
        QCOMPARE(o.code, 0);
        QFile script(out + u"/content.js"_s);
        QVERIFY(script.open(QIODevice::ReadOnly));
        const QByteArray original = script.readAll();
        script.close();
        const QByteArray head = "window.ORIN_CONTENT = ";
        QJsonObject content = QJsonDocument::fromJson(original.mid(head.size(), original.size() - head.size() - 2)).object();
        QJsonArray pages = content.value(u"pages"_s).toArray();
        QJsonObject page = pages.at(0).toObject();
        page.insert(u"background"_s, u"http://127.0.0.1:9/x.png"_s);
        QJsonArray items = page.value(u"items"_s).toArray();
        QJsonObject item = items.at(0).toObject();
        item.insert(u"text"_s, u"<img src=../../x.png onerror=\"document.title='ran'\"><script>document.title='ran'</script>"_s);
        items.replace(0, item);
        page.insert(u"items"_s, items);
        pages.replace(0, page);
        content.insert(u"pages"_s, pages);
        content.insert(u"screens"_s, QJsonObject{{u"video"_s, u"../../../etc/hostname"_s}});
        QVERIFY(WriteBytes(out + u"/content.js"_s, head + QJsonDocument(content).toJson(QJsonDocument::Compact) + ";\n"));

        const QString profile = m_dir.filePath(u"hostile-profile"_s);
        QProcess chromium;
        chromium.start(kChromium, {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                                   u"--no-first-run"_s, u"--disable-background-networking"_s,
                                   u"--user-data-dir="_s + profile, u"--virtual-time-budget=3000"_s,
                                   u"--dump-dom"_s,
                                   QUrl::fromLocalFile(out + u"/index.html"_s).toString()});
        QVERIFY(chromium.waitForFinished(120000));
        const QString dom = QString::fromUtf8(chromium.readAllStandardOutput());
        QVERIFY2(dom.contains(u"data-orin-ready=\"1\""_s), qPrintable(dom.left(2000)));
        QVERIFY(!dom.contains(u"127.0.0.1"_s));
        QVERIFY(!dom.contains(u"etc/hostname"_s));
        QVERIFY(!dom.contains(u"../../x.png"_s));
        QVERIFY(!dom.contains(u"<title>ran"_s));
        QVERIFY(dom.contains(u"<title>OrinEdit web player</title>"_s));
    }
};

ORIN_TEST_CLASS(WebScreenshotTest)
#include "tst_web_screenshots.moc"
