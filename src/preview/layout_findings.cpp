// SPDX-License-Identifier: MIT
#include "preview/layout_findings.h"

#include "images/size_accounting.h"
#include "preview/canvas_mapping.h"
#include "preview/page_renderer.h"
#include "preview/remembered_images.h"
#include "preview/simulated_clock.h"
#include "preview/text_sections.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>

namespace orin {

namespace {

int Truncated(float value)
{
    if (!(value == value))
        return 0;
    return int(std::clamp<double>(value, -1e9, 1e9));
}

// The item rectangle as the renderer places it: each value truncated toward zero.
QRect ItemRect(const PageItem &item)
{
    return QRect(Truncated(item.x), Truncated(item.y), Truncated(item.width),
                 Truncated(item.height));
}

// One text an item can show: its own, the page text's section labelled with its id, or one
// section of its text record in turn.
struct ShownText {
    int textId = 0;  // 0: the item's own text
    int label = -1;  // the section's label; -1: the text has no sections
    QString text;
};

std::vector<ShownText> TextsOf(const CContentModel &model, const CMyProgramInfo &page,
                               const PageItem &item)
{
    std::vector<ShownText> texts;
    if (item.text_no != 0) {
        if (const CMyTextInfo *record = FindText(model, item.text_no)) {
            const QList<Section> sections = SplitSections(record->text);
            if (sections.isEmpty())
                texts.push_back({item.text_no, -1, record->text});
            for (const Section &section : sections)
                texts.push_back({item.text_no, section.label, section.content});
            return texts;
        }
    }
    if (page.textid != 0) {
        const SectionLabelled labelled = TextSectionByLabel(model, page.textid, item.id);
        if (labelled.result == 1) {
            texts.push_back({page.textid, item.id != 0 ? item.id : -1, labelled.text});
            return texts;
        }
    }
    texts.push_back({0, -1, item.text});
    return texts;
}

// "text 5 section [#2]", "text 5", or empty for the item's own text.
QString SourceWords(const ShownText &t)
{
    if (t.textId == 0)
        return QString();
    if (t.label < 0)
        return QStringLiteral("text %1").arg(t.textId);
    return QStringLiteral("text %1 section [#%2]").arg(t.textId).arg(t.label);
}

QString SourceWordsJa(const ShownText &t)
{
    if (t.textId == 0)
        return QString();
    if (t.label < 0)
        return QCoreApplication::translate("OrinEdit", "テキスト %1").arg(t.textId);
    return QCoreApplication::translate("OrinEdit", "テキスト %1 のセクション [#%2]").arg(t.textId).arg(t.label);
}

bool HasInk(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); });
}

// The client rectangle in page units of a mapping whose client is the screen (two client
// pixels a page unit).
QRectF ScreenToPage(const QRectF &r)
{
    return QRectF(r.x() / 2, r.y() / 2, r.width() / 2, r.height() / 2);
}

// sRGB channel values made linear, once for every value.
const std::array<double, 256> &LinearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double Linear(int channel)
{
    return LinearTable()[size_t(std::clamp(channel, 0, 255))];
}

// The mean relative luminance of the image's pixels in `box` (clipped to the image). The
// image is 32 bits a pixel; runs of one colour, the usual case, are weighed once.
bool MeanLuminance(const QImage &image, const QRect &box, double &mean)
{
    const QRect r = box.intersected(image.rect());
    if (r.isEmpty())
        return false;
    double sum = 0;
    QRgb last = qRgb(0, 0, 0);
    double lastLuminance = RelativeLuminance(0, 0, 0);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb pixel = line[x] & 0x00ffffffu;
            if (pixel != last) {
                last = pixel;
                lastLuminance = RelativeLuminance(qRed(pixel), qGreen(pixel), qBlue(pixel));
            }
            sum += lastLuminance;
        }
    }
    mean = sum / (double(r.width()) * r.height());
    return true;
}

QString Ratio(double ratio)
{
    return QString::number(std::floor(ratio * 10) / 10, 'f', 1) + QStringLiteral(":1");
}

class CLayoutCheck {
public:
    // Each file the pages show is decoded once while the check lives.
    CLayoutCheck(const CContentModel &model, const ProgramSettings &settings,
                 const CColourMap &map, CImageSource &images, const LayoutCheckOptions &options)
        : m_model(model), m_settings(settings), m_map(map), m_images(images), m_options(options),
          m_page(PageArea(settings)),
          m_safe(SafeArea(settings, options.safeAreaPercent)),
          m_screen(QSize(2 * m_page.width(), 2 * m_page.height()), settings.Vertical == 1)
    {
    }

    // Checks the next page, or the used size after the last one; false once all is checked.
    bool Step()
    {
        if (m_next < m_model.pages.Count()) {
            CheckPage(*m_model.pages.At(m_next++));
            return true;
        }
        if (!m_sizeChecked) {
            m_sizeChecked = true;
            CheckSize();
        }
        return false;
    }

    bool Done() const { return m_sizeChecked; }
    int PagesChecked() const { return m_next; }
    std::vector<LayoutFinding> TakeFindings() { return std::move(m_findings); }

private:
    void Add(LayoutCode code, int pageId, int itemId, const QString &message,
             const QString &description)
    {
        m_findings.push_back({code, pageId, itemId, message, description});
    }

    void CheckPage(const CMyProgramInfo &page)
    {
        const int count = std::clamp(page.itemCount, 0, kItemSlots);
        std::vector<std::pair<int, LayoutFinding>> contrast = ContrastFindings(page);
        for (int i = 0; i < count; ++i) {
            const PageItem &item = page.items[size_t(i)];
            CheckItem(page, item);
            for (auto &[index, finding] : contrast) {
                if (index == i)
                    m_findings.push_back(std::move(finding));
            }
        }
    }

    void CheckItem(const CMyProgramInfo &page, const PageItem &item)
    {
        const QRect rect = ItemRect(item);
        const bool placed = rect.width() > 0 && rect.height() > 0;
        bool offPage = false;
        if (placed && !m_page.contains(rect)) {
            offPage = true;
            const bool wholly = !m_page.intersects(rect);
            Add(LayoutCode::OffPage, page.id, item.id,
                wholly ? QStringLiteral("the item lies wholly outside the %1 x %2 page")
                             .arg(m_page.width()).arg(m_page.height())
                       : QStringLiteral("the item lies partly outside the %1 x %2 page")
                             .arg(m_page.width()).arg(m_page.height()),
                (wholly ? QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 はページの外にあります")
                        : QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 はページからはみ出しています"))
                    .arg(page.id).arg(item.id));
        }
        // The marquee scrolls and the clock writes its own text: neither is laid out to fit.
        const bool moving = item.id != 0 && (item.id == page.marquee || item.id == page.clock);
        if (placed && !moving && item.size > 0)
            CheckTexts(page, item, offPage);
        if (placed)
            CheckPicture(page, item);
    }

    void CheckTexts(const CMyProgramInfo &page, const PageItem &item, bool offPage)
    {
        const bool exPng = m_settings.ExPNG != 0;
        QRectF inked;
        for (const ShownText &t : TextsOf(m_model, page, item)) {
            if (!HasInk(t.text))
                continue;
            const TextFit fit = FitItemText(m_screen, item, t.text, exPng);
            if (!fit.inked.isEmpty())
                inked |= fit.inked;
            if (fit.fits)
                continue;
            const QString source = SourceWords(t);
            Add(LayoutCode::TextOverflow, page.id, item.id,
                source.isEmpty() ? QStringLiteral("the text does not fit the item")
                                 : source + QStringLiteral(" does not fit the item"),
                source.isEmpty()
                    ? QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の文字が枠に収まりません").arg(page.id).arg(item.id)
                    : QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の%3が枠に収まりません")
                          .arg(page.id).arg(item.id).arg(SourceWordsJa(t)));
        }
        if (offPage || inked.isEmpty())
            return;
        const QRectF text = ScreenToPage(inked);
        if (QRectF(m_safe).contains(text))
            return;
        Add(LayoutCode::OutsideSafeArea, page.id, item.id,
            QStringLiteral("the text reaches outside the title-safe area (%1 % margin: %2,%3 to %4,%5)")
                .arg(m_options.safeAreaPercent)
                .arg(m_safe.left()).arg(m_safe.top())
                .arg(m_safe.left() + m_safe.width()).arg(m_safe.top() + m_safe.height()),
            QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の文字がタイトルセーフ（余白 %3 %）の外にかかっています")
                .arg(page.id).arg(item.id).arg(m_options.safeAreaPercent));
    }

    void CheckPicture(const CMyProgramInfo &page, const PageItem &item)
    {
        if (item.pic_no == 0 || !ItemShowsPicture(item, m_settings.ExPNG != 0))
            return;
        const CMyPictureInfo *record = m_model.FindImage(item.pic_no);
        if (!record || record->width <= 0 || record->height <= 0)
            return;
        const qint64 w = Truncated(item.width);
        const qint64 h = Truncated(item.height);
        const QString size = QStringLiteral("%1 x %2").arg(record->width).arg(record->height);
        const QString name = QFileInfo(record->path).fileName();
        auto cut = [&](qint64 shownWidth, qint64 shownHeight, const QString &unit) {
            if (record->width <= shownWidth && record->height <= shownHeight)
                return;
            Add(LayoutCode::PictureCut, page.id, item.id,
                QStringLiteral("picture %1 (%2, %3) is larger than the item (%4 x %5 %6) and is cut")
                    .arg(record->id).arg(name, size).arg(shownWidth).arg(shownHeight).arg(unit),
                QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の画像 %3（%4）が枠より大きく、切れて表示されます")
                    .arg(page.id).arg(item.id).arg(record->id).arg(size));
        };
        switch (record->type) {
        case kImageColourMapPng:
            // Drawn pixel for page unit.
            cut(w, h, QStringLiteral("page units"));
            break;
        case kImageGeneralPng:
        case kImageGif:
            // Screen pixels: two a page unit.
            cut(2 * w, 2 * h, QStringLiteral("screen pixels"));
            break;
        case kImageJpeg:
            CheckJpeg(page, item, *record, w, h);
            break;
        default:
            break;
        }
    }

    void CheckJpeg(const CMyProgramInfo &page, const PageItem &item, const CMyPictureInfo &record,
                   qint64 w, qint64 h)
    {
        const QString size = QStringLiteral("%1 x %2").arg(record.width).arg(record.height);
        if (item.idg == 55) {
            // Stretched to the item: scaled unless it has the item's screen size already.
            if (record.width == 2 * w && record.height == 2 * h)
                return;
            Add(LayoutCode::PictureCut, page.id, item.id,
                QStringLiteral("JPEG %1 (%2) is scaled to the item (%3 x %4 screen pixels)")
                    .arg(record.id).arg(size).arg(2 * w).arg(2 * h),
                QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の JPEG %3（%4）は枠に合わせて拡大縮小されます")
                    .arg(page.id).arg(item.id).arg(record.id).arg(size));
            return;
        }
        qint64 shownWidth = record.width;
        qint64 shownHeight = record.height;
        int divisor = 1;
        if (item.idg >= 50 && item.idg <= 54) {
            static const int kDivisors[] = {2, 3, 4, 6, 8};
            divisor = kDivisors[item.idg - 50];
            shownWidth /= divisor;
            shownHeight /= divisor;
        }
        const bool cut = shownWidth > 2 * w || shownHeight > 2 * h;
        if (!cut && divisor == 1)
            return;
        QString message = divisor == 1
                              ? QStringLiteral("JPEG %1 (%2)").arg(record.id).arg(size)
                              : QStringLiteral("JPEG %1 (%2) is reduced to 1/%3 (%4 x %5)")
                                    .arg(record.id).arg(size).arg(divisor)
                                    .arg(shownWidth).arg(shownHeight);
        if (cut)
            message += QStringLiteral("%1 larger than the item (%2 x %3 screen pixels) and is cut")
                           .arg(divisor == 1 ? QStringLiteral(" is") : QStringLiteral(", still"))
                           .arg(2 * w).arg(2 * h);
        QString description;
        if (cut)
            description = QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の画像 %3（%4）が枠より大きく、切れて表示されます")
                              .arg(page.id).arg(item.id).arg(record.id).arg(size);
        else
            description = QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の JPEG %3（%4）は 1/%5 に縮小して表示されます")
                              .arg(page.id).arg(item.id).arg(record.id).arg(size).arg(divisor);
        Add(LayoutCode::PictureCut, page.id, item.id, message, description);
    }

    // The page as the receiver first shows it, painted without its texts; each text's colour
    // against the mean luminance of the painted pixels under the text as laid out. Paired with
    // the display index of the item. Only the part of the ground under the judged texts is
    // painted, and nothing on a page without them.
    std::vector<std::pair<int, LayoutFinding>> ContrastFindings(const CMyProgramInfo &page)
    {
        std::vector<std::pair<int, LayoutFinding>> found;
        CSimulation sim(m_model, m_settings, m_images);
        CPreviewEngine &engine = sim.engine;
        engine.SetTimersOn(false);
        engine.ShowPage(page.id);
        sim.Settle();
        if (engine.ShownPageNumber() != page.id)
            return found; // the page hands over to another at once: nobody sees it
        const QSize client = m_page.size();
        const QRect clientRect(QPoint(0, 0), client);
        const CCanvasMapping mapping(client, engine.Vertical());
        const std::vector<DisplayItem> &items = engine.Items();
        struct Judged {
            int index;
            QRect box;
        };
        std::vector<Judged> judged;
        QRect painted;
        for (int i = 0; i < int(items.size()); ++i) {
            const PageItem &item = items[size_t(i)].item;
            if (item.idg == 1 && engine.FocusItem() != item.id)
                continue;
            if (!engine.IsVisible(item.id) || item.size <= 0 || !HasInk(item.text))
                continue;
            const TextFit fit = FitItemText(mapping, item, item.text, engine.ExPng());
            const QRect box = fit.inked.toAlignedRect().intersected(clientRect);
            if (box.isEmpty())
                continue;
            judged.push_back({i, box});
            painted |= box;
        }
        if (judged.empty())
            return found;
        if (m_ground.size() != client)
            m_ground = QImage(client, QImage::Format_RGB32);
        CPageRenderer renderer(m_map, m_model);
        renderer.SetGroundOnly(true);
        {
            QPainter painter(&m_ground);
            painter.setClipRect(painted);
            painter.fillRect(painted, Qt::black);
            renderer.Paint(painter, client, engine);
        }
        for (const Judged &j : judged) {
            const int i = j.index;
            const PageItem &item = items[size_t(i)].item;
            double mean = 0;
            if (!MeanLuminance(m_ground, j.box, mean))
                continue;
            const QColor colour = renderer.TextColourAt(engine, i);
            const double ratio = ContrastRatio(
                RelativeLuminance(colour.red(), colour.green(), colour.blue()), mean);
            const bool large = IsLargeText(item.size, item.wordwrap);
            const double needed = large ? kLargeTextContrast : kSmallTextContrast;
            if (ratio >= needed)
                continue;
            LayoutFinding f;
            f.code = LayoutCode::LowContrast;
            f.pageId = page.id;
            f.itemId = item.id;
            f.message = QStringLiteral("text colour %1 has a contrast of %2 against the ground under it, below %3 for %4 text")
                            .arg(item.color)
                            .arg(Ratio(ratio), Ratio(needed),
                                 large ? QStringLiteral("large") : QStringLiteral("small"));
            f.description = QCoreApplication::translate("OrinEdit", "ページ %1 のアイテム %2 の文字と下地のコントラストが %3 で、%4 に足りません")
                                .arg(page.id).arg(item.id).arg(Ratio(ratio), Ratio(needed));
            // The display list holds the page's slots in order.
            found.emplace_back(i, std::move(f));
        }
        return found;
    }

    void CheckSize()
    {
        if (m_options.sizeLimitKb <= 0)
            return;
        std::vector<CountedFile> files = CountedFiles(m_model);
        qint64 used = 0;
        for (const CountedFile &file : files)
            used += file.bytes;
        const qint64 limit = qint64(m_options.sizeLimitKb) * 1024;
        if (used * 100 <= limit * kSizeNearPercent)
            return;
        std::stable_sort(files.begin(), files.end(),
                         [](const CountedFile &a, const CountedFile &b) { return a.bytes > b.bytes; });
        QStringList largest;
        QSet<QString> named;
        for (const CountedFile &file : files) {
            if (largest.size() == 3 || file.bytes == 0)
                break;
            if (named.contains(file.path))
                continue;
            named.insert(file.path);
            largest << QStringLiteral("%1 (%2 KB)").arg(QFileInfo(file.path).fileName()).arg(file.bytes / 1024);
        }
        const int percent = qRound(double(used) * 100 / double(limit));
        Add(LayoutCode::SizeNearLimit, 0, 0,
            QStringLiteral("the used size %1 KB is %2 % of the limit %3 KB; largest files: %4")
                .arg(used / 1024).arg(percent).arg(m_options.sizeLimitKb).arg(largest.join(QStringLiteral(", "))),
            QCoreApplication::translate("OrinEdit", "使用サイズ %1 KB は上限 %2 KB の %3 % です。大きいファイル: %4")
                .arg(used / 1024).arg(m_options.sizeLimitKb).arg(percent).arg(largest.join(QStringLiteral("、"))));
    }

    const CContentModel &m_model;
    const ProgramSettings &m_settings;
    const CColourMap &m_map;
    CRememberedImages m_images;
    const LayoutCheckOptions m_options;
    const QRect m_page;
    const QRect m_safe;
    const CCanvasMapping m_screen; // texts are laid out at the screen's own size
    std::vector<LayoutFinding> m_findings;
    QImage m_ground; // the grounds are painted here, one page after another
    int m_next = 0;  // the index of the next page to check
    bool m_sizeChecked = false;
};

} // namespace

QString LayoutFindingCode(LayoutCode code)
{
    switch (code) {
    case LayoutCode::TextOverflow: return QStringLiteral("text-overflow");
    case LayoutCode::OffPage: return QStringLiteral("off-page");
    case LayoutCode::OutsideSafeArea: return QStringLiteral("outside-safe-area");
    case LayoutCode::LowContrast: return QStringLiteral("low-contrast");
    case LayoutCode::PictureCut: return QStringLiteral("picture-cut");
    case LayoutCode::SizeNearLimit: return QStringLiteral("size-near-limit");
    }
    return QString();
}

QRect PageArea(const ProgramSettings &settings)
{
    return settings.Vertical == 1 ? QRect(0, 0, 540, 960) : QRect(0, 0, 960, 540);
}

QRect SafeArea(const ProgramSettings &settings, int percent)
{
    const QRect page = PageArea(settings);
    const int p = std::clamp(percent, 0, kMaxSafeArea);
    const int dx = page.width() * p / 100;
    const int dy = page.height() * p / 100;
    return page.adjusted(dx, dy, -dx, -dy);
}

QRectF SafeAreaF(QSize page, double percent)
{
    const double p = std::clamp(percent, 0.0, double(kMaxSafeArea)) / 100;
    const double dx = page.width() * p;
    const double dy = page.height() * p;
    return QRectF(dx, dy, page.width() - 2 * dx, page.height() - 2 * dy);
}

double RelativeLuminance(int r, int g, int b)
{
    return 0.2126 * Linear(r) + 0.7152 * Linear(g) + 0.0722 * Linear(b);
}

double ContrastRatio(double luminanceA, double luminanceB)
{
    const double lighter = std::max(luminanceA, luminanceB);
    const double darker = std::min(luminanceA, luminanceB);
    return (lighter + 0.05) / (darker + 0.05);
}

bool IsLargeText(int size, int wordwrap)
{
    const int bits = ((wordwrap % 10) + 10) % 10;
    return size >= 24 || ((bits & 2) && size >= 19);
}

std::vector<LayoutFinding> FindLayoutProblems(const CContentModel &model,
                                              const ProgramSettings &settings,
                                              const CColourMap &map, CImageSource &images,
                                              const LayoutCheckOptions &options)
{
    CLayoutCheck check(model, settings, map, images, options);
    while (check.Step()) {
    }
    return check.TakeFindings();
}

struct CLayoutPass::Check : CLayoutCheck {
    using CLayoutCheck::CLayoutCheck;
};

CLayoutPass::CLayoutPass(const CContentModel &model, const ProgramSettings &settings,
                         const CColourMap &map, std::shared_ptr<CImageSource> images,
                         const LayoutCheckOptions &options)
    : m_images(std::move(images)),
      m_check(std::make_unique<Check>(model, settings, map, *m_images, options))
{
}

CLayoutPass::~CLayoutPass() = default;

bool CLayoutPass::Step()
{
    return m_check->Step();
}

bool CLayoutPass::Done() const
{
    return m_check->Done();
}

int CLayoutPass::PagesChecked() const
{
    return m_check->PagesChecked();
}

std::vector<LayoutFinding> CLayoutPass::TakeFindings()
{
    return m_check->TakeFindings();
}

} // namespace orin
