// SPDX-License-Identifier: MIT
#pragma once

#include "images/colour_map.h"
#include "model/content_model.h"
#include "preview/display_state.h"
#include "settings/design_settings.h"

#include <QRect>
#include <QString>

#include <memory>
#include <vector>

// How the pages look, checked before they go on air: texts that do not fit their items, items
// off the page or texts outside the title-safe area, texts too faint against what lies under
// them, pictures cut by their items or scaled, and a used size close to its limit. Texts are
// laid out and grounds painted by the page renderer itself, so a finding is what the canvas
// shows.

namespace orin {

enum class LayoutCode {
    TextOverflow,    // a text does not fit its item
    OffPage,         // an item partly or wholly outside the page
    OutsideSafeArea, // a text outside the title-safe area
    LowContrast,     // a text too close in luminance to its ground
    PictureCut,      // a picture larger than its item, or a JPEG the receiver scales
    SizeNearLimit,   // the used size above 90 % of the limit
};

// A stable name of the code: "text-overflow", "off-page" ...
QString LayoutFindingCode(LayoutCode code);

struct LayoutFinding {
    LayoutCode code = LayoutCode::TextOverflow;
    int pageId = 0; // 0: the content set as a whole
    int itemId = 0; // 0: the page itself
    QString message;     // plain English, for the command-line tool
    QString description; // in the operator's words, for the editor's lists
};

// The title-safe margin of HD broadcast practice (a 90 % safe title area), per side, in percent
// of the page; 10 is the older practice of 4:3 pictures.
inline constexpr int kTitleSafePercent = kDefaultSafeArea;
// The action-safe margin per side (a 93 % safe action area); the design surface shows it as a
// guide.
inline constexpr double kActionSafePercent = 3.5;
// The used size is near its limit above this share (percent).
inline constexpr int kSizeNearPercent = 90;
// The contrast ratios texts must reach (WCAG 2, level AA).
inline constexpr double kSmallTextContrast = 4.5;
inline constexpr double kLargeTextContrast = 3.0;

struct LayoutCheckOptions {
    int safeAreaPercent = kTitleSafePercent; // 0..45, per side
    int sizeLimitKb = 0;                     // 0: the used size is not checked
};

// The page in page units: 960 x 540, or 540 x 960 while Vertical is 1.
QRect PageArea(const ProgramSettings &settings);
// The area inside a margin of `percent` of the page's width and height on every side (whole
// page units, the margins rounded down).
QRect SafeArea(const ProgramSettings &settings, int percent);
// The same for a page of `page` size, in exact page units, for the guides.
QRectF SafeAreaF(QSize page, double percent);

// Relative luminance of an sRGB colour (0..1), and the contrast ratio of two luminances.
double RelativeLuminance(int r, int g, int b);
double ContrastRatio(double luminanceA, double luminanceB);
// Whether a text of that size and wordwrap style counts as large: 24 page units, or 19 in bold.
bool IsLargeText(int size, int wordwrap);

// Checks every page. Reads the model, the settings and the files it references; changes
// nothing. `images` gives the pictures as the canvas shows them (the grounds are painted with
// them). Findings come in page-table order, by item slot within a page, the used size last.
std::vector<LayoutFinding> FindLayoutProblems(const CContentModel &model,
                                              const ProgramSettings &settings,
                                              const CColourMap &map, CImageSource &images,
                                              const LayoutCheckOptions &options);

// The same check a page at a time, for a caller that must not wait for the whole set. Each
// step reads the model afresh (a page removed meanwhile is not read), but the findings are
// only those of the model as it stays: start a new pass when it changes. The findings of a
// pass run to its end are those of FindLayoutProblems.
class CLayoutPass {
public:
    // The model, the settings and the colour map must outlive the pass.
    CLayoutPass(const CContentModel &model, const ProgramSettings &settings,
                const CColourMap &map, std::shared_ptr<CImageSource> images,
                const LayoutCheckOptions &options);
    ~CLayoutPass();
    CLayoutPass(const CLayoutPass &) = delete;
    CLayoutPass &operator=(const CLayoutPass &) = delete;

    // Checks the next page, or the used size after the last page; false once nothing remains.
    bool Step();
    bool Done() const;
    int PagesChecked() const;
    // The findings so far, in the order of FindLayoutProblems.
    std::vector<LayoutFinding> TakeFindings();

private:
    struct Check;
    std::shared_ptr<CImageSource> m_images;
    std::unique_ptr<Check> m_check;
};

} // namespace orin
