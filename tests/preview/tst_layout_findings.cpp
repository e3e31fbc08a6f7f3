// SPDX-License-Identifier: MIT
// The layout findings on small content sets built in code: each rule on its own table of
// pages, the ones that must give a finding and the near misses that must not.
#include "preview/layout_findings.h"

#include "images/colour_map.h"
#include "preview_fixture.h"
#include "test_registry.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <map>

using namespace orin;
using namespace orin::test;
using namespace Qt::StringLiterals;

namespace {

// Colour indices of the default colour map.
constexpr int kBlack = 0;
constexpr int kRed = 1;
constexpr int kBlue = 4;
constexpr int kWhite = 7;
constexpr int kNone = kNoColour;

// The fixture's pictures, with a page background of one colour when a test sets it.
class CGroundImages : public CFixtureImages {
public:
    DisplayImage BackgroundCopy(const CMyProgramInfo &page, bool vertical) override
    {
        DisplayImage copy = CFixtureImages::BackgroundCopy(page, vertical);
        if (background.isValid())
            copy.image.fill(background);
        return copy;
    }
    QColor background;
};

class CLayoutFixture {
public:
    CLayoutFixture()
    {
        m_page = std::make_unique<CMyProgramInfo>();
        m_page->id = 1;
        m_page->backcol = kNone; // the file's defaults
        m_page->curcol = 3;
        page = m_page.get();
        model.pages.Add(std::move(m_page));
    }

    // A text item on page 1: the sample's button style (white, size 28, margins 16 and 10).
    PageItem &Item(int id, QRect rect, const QString &text = QString())
    {
        PageItem &item = page->items[size_t(page->itemCount++)];
        item.id = id;
        item.x = float(rect.x());
        item.y = float(rect.y());
        item.width = float(rect.width());
        item.height = float(rect.height());
        item.margin_x = 16;
        item.margin_y = 10;
        item.size = 28;
        item.color = kWhite;
        item.bcolor = kBlue;
        item.text = text;
        return item;
    }

    // A picture (ids below 200) or material record of that type and pixel size.
    CMyPictureInfo &Picture(int id, int type, int width, int height)
    {
        auto record = std::make_unique<CMyPictureInfo>();
        record->id = id;
        record->type = type;
        record->width = width;
        record->height = height;
        record->path = u"/pictures/%1.img"_s.arg(id);
        CMyPictureInfo &ref = *record;
        (id < 200 ? model.pictures : model.materials).Add(std::move(record));
        images.pictures[id] = QImage(width, height, QImage::Format_ARGB32);
        images.pictures[id].fill(Qt::black);
        return ref;
    }

    void Text(int id, const QString &text)
    {
        auto record = std::make_unique<CMyTextInfo>();
        record->id = id;
        record->text = text;
        model.texts.Add(std::move(record));
    }

    // "code item" for every finding.
    QStringList Run(const LayoutCheckOptions &options = LayoutCheckOptions())
    {
        findings = FindLayoutProblems(model, settings, map, images, options);
        QStringList lines;
        for (const LayoutFinding &f : findings)
            lines << u"%1 %2"_s.arg(LayoutFindingCode(f.code)).arg(f.itemId);
        return lines;
    }

    CContentModel model;
    ProgramSettings settings;
    CColourMap map;
    CGroundImages images;
    CMyProgramInfo *page = nullptr;
    std::vector<LayoutFinding> findings;

private:
    std::unique_ptr<CMyProgramInfo> m_page;
};

using Build = std::function<void(CLayoutFixture &)>;

// The cases of one rule: a name, how the page is built and the findings expected.
struct Case {
    const char *name;
    Build build;
    QStringList expected;
};

void AddRows(const std::vector<Case> &cases, std::map<QString, Build> &builds)
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    for (const Case &c : cases) {
        builds[QString::fromUtf8(c.name)] = c.build;
        QTest::newRow(c.name) << QString::fromUtf8(c.name) << c.expected;
    }
}

const QString kTen = u"あいうえおかきくけこ"_s;

} // namespace

class TestLayoutFindings : public QObject {
    Q_OBJECT

    std::map<QString, Build> m_builds;

    void RunCase()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, expected);
        CLayoutFixture fixture;
        m_builds.at(name)(fixture);
        QCOMPARE(fixture.Run(), expected);
    }

private slots:
    void textOverflow_data()
    {
        AddRows({
            {"fits", [](CLayoutFixture &f) { f.Item(1, {100, 100, 240, 56}, u"ニュース"_s); }, {}},
            // Ten characters of 28 units need 280 units: the layout wraps into lines the
            // item's 36 units of inner height cannot hold.
            {"too long for one line", [](CLayoutFixture &f) { f.Item(1, {100, 100, 240, 56}, kTen); },
             {u"text-overflow 1"_s}},
            {"two lines that fit", [](CLayoutFixture &f) { f.Item(1, {100, 100, 240, 90}, kTen); }, {}},
            {"an explicit third line", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 90}, u"あ\nい\nう"_s);
             }, {u"text-overflow 1"_s}},
            {"trailing blank lines are not text", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"あいう\n\n\n  "_s);
             }, {}},
            {"wider than its item", [](CLayoutFixture &f) { f.Item(1, {100, 100, 40, 56}, u"あ"_s); },
             {u"text-overflow 1"_s}},
            {"Qt word wrap", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"one two three four five six"_s).wordwrap = 1;
             }, {u"text-overflow 1"_s}},
            {"Qt word wrap that fits", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 90}, u"one two three"_s).wordwrap = 1;
             }, {}},
            {"centred text", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"あ\nい\nう"_s).idg = 3;
             }, {u"text-overflow 1"_s}},
            {"the marquee scrolls", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, kTen);
                 f.page->marquee = 1;
             }, {}},
            {"a text record's sections", [](CLayoutFixture &f) {
                 f.Text(5, u"[#1]短い[#7]"_s + kTen);
                 f.Item(1, {100, 100, 240, 56}).text_no = 5;
             }, {u"text-overflow 1"_s}},
        }, m_builds);
    }
    void textOverflow() { RunCase(); }

    void overflowNamesTheSection()
    {
        CLayoutFixture f;
        f.Text(5, u"[#1]短い[#7]"_s + kTen);
        f.Item(1, {100, 100, 240, 56}).text_no = 5;
        f.Run();
        QCOMPARE(f.findings.size(), size_t(1));
        QCOMPARE(f.findings[0].message, u"text 5 section [#7] does not fit the item"_s);
        QVERIFY(f.findings[0].description.contains(u"[#7]"_s));
    }

    void offPageAndSafeArea_data()
    {
        AddRows({
            {"inside", [](CLayoutFixture &f) { f.Item(1, {100, 100, 240, 56}, u"あ"_s); }, {}},
            {"partly off", [](CLayoutFixture &f) { f.Item(1, {800, 100, 240, 56}); }, {u"off-page 1"_s}},
            {"wholly off", [](CLayoutFixture &f) { f.Item(1, {-300, 100, 240, 56}); }, {u"off-page 1"_s}},
            {"the page's own edges", [](CLayoutFixture &f) { f.Item(1, {0, 0, 960, 540}); }, {}},
            {"vertical page", [](CLayoutFixture &f) {
                 f.settings.Vertical = 1;
                 f.Item(1, {100, 700, 240, 56});
                 f.Item(2, {700, 100, 240, 56});
             }, {u"off-page 2"_s}},
            // The text starts at 20 + 16 + 2 = 38, left of the 48 units of a 5 % margin.
            {"text in the margin", [](CLayoutFixture &f) { f.Item(1, {20, 100, 240, 56}, u"あ"_s); },
             {u"outside-safe-area 1"_s}},
            // The same item's box reaches the margin, its text (at 20 + 30 + 2) does not.
            {"margins keep the text inside", [](CLayoutFixture &f) {
                 f.Item(1, {20, 100, 240, 56}, u"あ"_s).margin_x = 30;
             }, {}},
            {"no text, no title", [](CLayoutFixture &f) { f.Item(1, {20, 100, 240, 56}); }, {}},
            {"off the page is said once", [](CLayoutFixture &f) {
                 f.Item(1, {-20, 100, 240, 56}, u"あ"_s);
             }, {u"off-page 1"_s}},
            {"bottom margin", [](CLayoutFixture &f) { f.Item(1, {100, 490, 240, 50}, u"あ"_s); },
             {u"outside-safe-area 1"_s}},
        }, m_builds);
    }
    void offPageAndSafeArea() { RunCase(); }

    void safeAreaIsSettable()
    {
        CLayoutFixture f;
        f.Item(1, {60, 100, 240, 56}, u"あ"_s); // text from 78
        QCOMPARE(f.Run(), QStringList());
        LayoutCheckOptions classic;
        classic.safeAreaPercent = 10; // 96 units
        QCOMPARE(f.Run(classic), QStringList({u"outside-safe-area 1"_s}));
        QVERIFY(f.findings[0].message.contains(u"96,54 to 864,486"_s));
        LayoutCheckOptions none;
        none.safeAreaPercent = 0;
        f.Item(2, {0, 0, 100, 56}, u"あ"_s);
        QCOMPARE(f.Run(none), QStringList());
    }

    void lowContrast_data()
    {
        AddRows({
            {"white on blue", [](CLayoutFixture &f) { f.Item(1, {100, 100, 240, 56}, u"あ"_s); }, {}},
            {"white on white", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"あ"_s).bcolor = kWhite;
             }, {u"low-contrast 1"_s}},
            // White on red is 4.0:1: too little for small text, enough for large.
            {"small white on red", [](CLayoutFixture &f) {
                 PageItem &item = f.Item(1, {100, 100, 240, 56}, u"あ"_s);
                 item.bcolor = kRed;
                 item.size = 20;
             }, {u"low-contrast 1"_s}},
            {"large white on red", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"あ"_s).bcolor = kRed;
             }, {}},
            {"bold counts as large from 19", [](CLayoutFixture &f) {
                 PageItem &item = f.Item(1, {100, 100, 240, 56}, u"あ"_s);
                 item.bcolor = kRed;
                 item.size = 20;
                 item.wordwrap = 2;
             }, {}},
            {"black on the black page", [](CLayoutFixture &f) {
                 PageItem &item = f.Item(1, {100, 100, 240, 56}, u"あ"_s);
                 item.bcolor = kNone;
                 item.color = kBlack;
             }, {u"low-contrast 1"_s}},
            {"white on a white background picture", [](CLayoutFixture &f) {
                 f.images.background = Qt::white;
                 f.Item(1, {100, 100, 240, 56}, u"あ"_s).bcolor = kNone;
             }, {u"low-contrast 1"_s}},
            {"white on a dark background picture", [](CLayoutFixture &f) {
                 f.images.background = QColor(20, 20, 60);
                 f.Item(1, {100, 100, 240, 56}, u"あ"_s).bcolor = kNone;
             }, {}},
            // The item's own picture is painted under its text.
            {"white on its own white picture", [](CLayoutFixture &f) {
                 f.settings.ExPNG = 1;
                 f.Picture(200, kImageGeneralPng, 480, 112);
                 f.images.pictures[200].fill(Qt::white);
                 PageItem &item = f.Item(1, {100, 100, 240, 56}, u"あ"_s);
                 item.bcolor = kNone;
                 item.pic_no = 200;
             }, {u"low-contrast 1"_s}},
            // An item without a colour of its own takes the colour of the text before it.
            {"the colour carries over", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, u"あ"_s).color = kBlue;
                 f.Item(2, {100, 200, 240, 56}, u"い"_s).color = kNone;
             }, {u"low-contrast 1"_s, u"low-contrast 2"_s}},
            // The marquee scrolls out of the layout rules, not out of this one.
            {"the marquee on white", [](CLayoutFixture &f) {
                 f.Item(1, {100, 100, 240, 56}, kTen).bcolor = kWhite;
                 f.page->marquee = 1;
             }, {u"low-contrast 1"_s}},
            {"a hidden item is not seen", [](CLayoutFixture &f) {
                 PageItem &item = f.Item(1, {100, 100, 240, 56}, u"あ"_s);
                 item.bcolor = kWhite;
                 item.idg = 4;
             }, {}},
        }, m_builds);
    }
    void lowContrast() { RunCase(); }

    void contrastMath()
    {
        QCOMPARE(ContrastRatio(RelativeLuminance(255, 255, 255), RelativeLuminance(0, 0, 0)), 21.0);
        QCOMPARE(qRound(ContrastRatio(RelativeLuminance(255, 255, 255),
                                      RelativeLuminance(255, 0, 0)) * 100), 400);
        QCOMPARE(qRound(ContrastRatio(RelativeLuminance(119, 119, 119),
                                      RelativeLuminance(255, 255, 255)) * 100), 448);
    }

    void pictureCut_data()
    {
        auto picture = [](int id, int type, int w, int h, QRect rect, int idg = 0) {
            return [=](CLayoutFixture &f) {
                f.Picture(id, type, w, h);
                PageItem &item = f.Item(1, rect);
                item.pic_no = id;
                item.idg = idg;
            };
        };
        AddRows({
            {"colour-map PNG that fits", picture(200, kImageColourMapPng, 240, 56, {100, 100, 240, 56}), {}},
            {"colour-map PNG too wide", picture(200, kImageColourMapPng, 300, 56, {100, 100, 240, 56}),
             {u"picture-cut 1"_s}},
            // General PNGs are in screen pixels, two a page unit.
            {"general PNG that fits", picture(201, kImageGeneralPng, 160, 160, {100, 100, 80, 80}), {}},
            {"general PNG too tall", picture(201, kImageGeneralPng, 160, 170, {100, 100, 80, 80}),
             {u"picture-cut 1"_s}},
            {"GIF too wide", picture(202, kImageGif, 200, 100, {100, 100, 80, 80}), {u"picture-cut 1"_s}},
            {"JPEG that fits", picture(1, kImageJpeg, 640, 360, {100, 100, 320, 180}), {}},
            {"JPEG cut", picture(1, kImageJpeg, 800, 360, {100, 100, 320, 180}), {u"picture-cut 1"_s}},
            // The reducing kinds send more than they show: the receiver scales the picture.
            {"JPEG halved", picture(1, kImageJpeg, 1280, 720, {100, 100, 320, 180}, 50),
             {u"picture-cut 1"_s}},
            {"JPEG stretched to its size", picture(1, kImageJpeg, 640, 360, {100, 100, 320, 180}, 55), {}},
            {"JPEG stretched and scaled", picture(1, kImageJpeg, 800, 450, {100, 100, 320, 180}, 55),
             {u"picture-cut 1"_s}},
            {"text kinds show no picture", picture(200, kImageColourMapPng, 300, 56, {100, 100, 240, 56}, 2), {}},
            {"unmeasured picture", picture(1, kImageJpeg, 0, 0, {100, 100, 320, 180}), {}},
        }, m_builds);
    }
    void pictureCut() { RunCase(); }

    void pictureMessages_data()
    {
        QTest::addColumn<int>("idg");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("message");
        QTest::newRow("cut") << 0 << 800 << u"JPEG 1 (800 x 360) is larger than the item (640 x 360 screen pixels) and is cut"_s;
        QTest::newRow("reduced") << 52 << 800 << u"JPEG 1 (800 x 360) is reduced to 1/4 (200 x 90)"_s;
        QTest::newRow("reduced and cut") << 50 << 1600 << u"JPEG 1 (1600 x 360) is reduced to 1/2 (800 x 180), still larger than the item (640 x 360 screen pixels) and is cut"_s;
        QTest::newRow("stretched") << 55 << 800 << u"JPEG 1 (800 x 360) is scaled to the item (640 x 360 screen pixels)"_s;
    }

    void pictureMessages()
    {
        QFETCH(int, idg);
        QFETCH(int, width);
        QFETCH(QString, message);
        CLayoutFixture f;
        f.Picture(1, kImageJpeg, width, 360);
        PageItem &item = f.Item(1, {100, 100, 320, 180});
        item.pic_no = 1;
        item.idg = idg;
        QCOMPARE(f.Run(), QStringList({u"picture-cut 1"_s}));
        QCOMPARE(f.findings[0].message, message);
    }

    void sizeNearLimit_data()
    {
        QTest::addColumn<int>("limitKb");
        QTest::addColumn<bool>("found");
        QTest::newRow("at 90 %") << 100 << false; // 90 KB used
        QTest::newRow("above 90 %") << 99 << true;
        QTest::newRow("no limit") << 0 << false;
    }

    void sizeNearLimit()
    {
        QFETCH(int, limitKb);
        QFETCH(bool, found);
        QTemporaryDir dir;
        CLayoutFixture f;
        const int kilobytes[] = {10, 30, 15, 5};
        for (int i = 0; i < 4; ++i) {
            CMyPictureInfo &record = f.Picture(i + 1, kImageJpeg, 0, 0);
            record.path = dir.filePath(u"p%1.jpg"_s.arg(i + 1));
            QFile file(record.path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray(kilobytes[i] * 1024, 'x'));
        }
        // The same file twice is counted twice, as the used size counts it, and named once.
        f.Picture(5, kImageJpeg, 0, 0).path = dir.filePath(u"p2.jpg"_s);
        LayoutCheckOptions options;
        options.sizeLimitKb = limitKb;
        QCOMPARE(f.Run(options), found ? QStringList({u"size-near-limit 0"_s}) : QStringList());
        if (found) {
            QCOMPARE(f.findings[0].pageId, 0);
            QCOMPARE(f.findings[0].message,
                     u"the used size 90 KB is 91 % of the limit 99 KB; largest files: "
                     "p2.jpg (30 KB), p3.jpg (15 KB), p1.jpg (10 KB)"_s);
        }
    }
};

ORIN_TEST_CLASS(TestLayoutFindings)

#include "tst_layout_findings.moc"
