// SPDX-License-Identifier: MIT
#include "editor/snap_math.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace orin {

namespace {

struct Candidate {
    double offset = 0; // how far the feature moves to reach the line
    double line = 0;
};

// The nearest line to any of `features`, within the tolerance; ties keep the earlier feature
// (left or top before centre before right or bottom) and the earlier line.
std::optional<Candidate> Nearest(std::initializer_list<double> features,
                                 const std::vector<double> &lines, double tolerance)
{
    std::optional<Candidate> best;
    for (const double feature : features) {
        for (const double line : lines) {
            const double offset = line - feature;
            if (std::abs(offset) > tolerance)
                continue;
            if (!best || std::abs(offset) < std::abs(best->offset))
                best = Candidate{offset, line};
        }
    }
    return best;
}

// Every line of `lines` at which one of `features` lies after the snap (the guides).
void AddGuides(std::vector<double> &guides, std::initializer_list<double> features,
               const std::vector<double> &lines)
{
    for (const double line : lines) {
        for (const double feature : features) {
            if (std::abs(line - feature) < 1e-6
                && std::find(guides.begin(), guides.end(), line) == guides.end())
                guides.push_back(line);
        }
    }
}

// One axis of a move: returns the new start of a span [start, start + length).
double SnapSpan(double start, double length, const std::vector<double> &lines,
                const SnapRules &rules, std::vector<double> &guides)
{
    if (const auto best = Nearest({start, start + length / 2, start + length}, lines,
                                  rules.tolerance)) {
        start += best->offset;
        AddGuides(guides, {start, start + length / 2, start + length}, lines);
        return start;
    }
    return SnapToGrid(start, rules.grid);
}

// One moving edge of a resize.
double SnapEdge(double edge, const std::vector<double> &lines, const SnapRules &rules,
                std::vector<double> &guides)
{
    if (const auto best = Nearest({edge}, lines, rules.tolerance)) {
        guides.push_back(best->line);
        return best->line;
    }
    return SnapToGrid(edge, rules.grid);
}

bool Differs(double a, double b)
{
    return std::abs(a - b) > 1e-6;
}

} // namespace

double SnapToGrid(double value, int grid)
{
    if (grid <= 0 || !std::isfinite(value))
        return value;
    return std::round(value / grid) * grid;
}

SnapTargets CollectSnapTargets(QSizeF page, const std::vector<QRectF> &others)
{
    SnapTargets targets;
    auto add = [&targets](const QRectF &rect) {
        targets.xs.insert(targets.xs.end(), {rect.left(), rect.center().x(), rect.right()});
        targets.ys.insert(targets.ys.end(), {rect.top(), rect.center().y(), rect.bottom()});
    };
    if (page.isValid())
        add(QRectF(QPointF(0, 0), page));
    for (const QRectF &rect : others) {
        if (std::isfinite(rect.x()) && std::isfinite(rect.y()) && std::isfinite(rect.width())
            && std::isfinite(rect.height()))
            add(rect.normalized());
    }
    return targets;
}

SnapResult SnapMove(const QRectF &original, const QRectF &rect, const SnapTargets &targets,
                    const SnapRules &rules)
{
    SnapResult result;
    const double x = Differs(rect.x(), original.x())
                         ? SnapSpan(rect.x(), rect.width(), targets.xs, rules, result.guideXs)
                         : rect.x();
    const double y = Differs(rect.y(), original.y())
                         ? SnapSpan(rect.y(), rect.height(), targets.ys, rules, result.guideYs)
                         : rect.y();
    result.rect = QRectF(x, y, rect.width(), rect.height());
    return result;
}

SnapResult SnapResize(const QRectF &original, const QRectF &rect, const SnapTargets &targets,
                      const SnapRules &rules)
{
    SnapResult result;
    const QRectF before = original.normalized();
    const QRectF after = rect.normalized();
    double left = after.left();
    double right = after.right();
    double top = after.top();
    double bottom = after.bottom();
    constexpr double kMinSide = 1;
    // Each moving edge snaps alone; one that would fold the rectangle stays.
    auto snapOne = [&](double &edge, double was, double opposite, bool isLow,
                       const std::vector<double> &lines, std::vector<double> &guides) {
        if (!Differs(edge, was))
            return;
        std::vector<double> found;
        const double snapped = SnapEdge(edge, lines, rules, found);
        const double side = isLow ? opposite - snapped : snapped - opposite;
        if (side < kMinSide)
            return;
        edge = snapped;
        guides.insert(guides.end(), found.begin(), found.end());
    };
    snapOne(left, before.left(), right, true, targets.xs, result.guideXs);
    snapOne(right, before.right(), left, false, targets.xs, result.guideXs);
    snapOne(top, before.top(), bottom, true, targets.ys, result.guideYs);
    snapOne(bottom, before.bottom(), top, false, targets.ys, result.guideYs);
    result.rect = QRectF(QPointF(left, top), QPointF(right, bottom));
    return result;
}

SnapResult SnapResizeProportional(const QRectF &original, const QRectF &rect,
                                  const SnapTargets &targets, const SnapRules &rules)
{
    SnapResult result;
    const QRectF before = original.normalized();
    const QRectF after = rect.normalized();
    result.rect = after;
    constexpr double kMinSide = 1;
    if (after.width() < kMinSide || after.height() < kMinSide)
        return result;
    const bool leftMoved = Differs(after.left(), before.left());
    const bool rightMoved = Differs(after.right(), before.right());
    const bool topMoved = Differs(after.top(), before.top());
    const bool bottomMoved = Differs(after.bottom(), before.bottom());
    if (!leftMoved && !rightMoved && !topMoved && !bottomMoved)
        return result;
    // Where the fixed point lies across the rectangle on each axis: 0 the low edge stayed,
    // 1 the high edge stayed, a half both moved (a resize about the centre).
    const double fx = leftMoved == rightMoved ? 0.5 : leftMoved ? 1.0 : 0.0;
    const double fy = topMoved == bottomMoved ? 0.5 : topMoved ? 1.0 : 0.0;
    const QPointF anchor(after.left() + fx * after.width(), after.top() + fy * after.height());
    const double ratio = after.width() / after.height();

    // Each moving edge proposes the width that puts it on its nearest line, or on the grid.
    struct Proposal {
        bool grid;
        double distance;
        double width;
    };
    std::vector<Proposal> proposals;
    // `edge` moves by `perWidth` for each unit of width (negative for a low edge).
    auto propose = [&](double edge, double perWidth, const std::vector<double> &lines) {
        if (perWidth == 0)
            return;
        const double width = after.width();
        if (const auto best = Nearest({edge}, lines, rules.tolerance)) {
            proposals.push_back({false, std::abs(best->offset), width + best->offset / perWidth});
        } else if (rules.grid > 0) {
            const double target = SnapToGrid(edge, rules.grid);
            proposals.push_back({true, std::abs(target - edge), width + (target - edge) / perWidth});
        }
    };
    propose(after.left(), -fx, targets.xs);
    propose(after.right(), 1 - fx, targets.xs);
    propose(after.top(), -fy / ratio, targets.ys);
    propose(after.bottom(), (1 - fy) / ratio, targets.ys);
    std::stable_sort(proposals.begin(), proposals.end(),
                     [](const Proposal &a, const Proposal &b) {
                         return a.grid != b.grid ? !a.grid : a.distance < b.distance;
                     });
    for (const Proposal &proposal : proposals) {
        const double width = proposal.width;
        const double height = width / ratio;
        if (!std::isfinite(width) || width < kMinSide || height < kMinSide)
            continue;
        result.rect = QRectF(anchor.x() - fx * width, anchor.y() - fy * height, width, height);
        break;
    }
    const QRectF &r = result.rect;
    AddGuides(result.guideXs, {r.left(), r.right()}, targets.xs);
    AddGuides(result.guideYs, {r.top(), r.bottom()}, targets.ys);
    return result;
}

} // namespace orin
