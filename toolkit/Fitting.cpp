#include "toolkit/Fitting.h"

#include <algorithm>
#include <numeric>

namespace {

// Parts of `total` in proportion to `weights`, adding up to `total` exactly.
std::vector<int> Apportion(const std::vector<int> &weights, int total)
{
    const qint64 sum = std::accumulate(weights.begin(), weights.end(), qint64(0));
    std::vector<int> parts(weights.size(), 0);
    if (sum <= 0)
        return parts;
    qint64 before = 0, given = 0;
    for (std::size_t i = 0; i < weights.size(); ++i) {
        before += weights[i];
        const qint64 upTo = before * total / sum;
        parts[i] = int(upTo - given);
        given = upTo;
    }
    return parts;
}

// From `need` down towards `least`, each in proportion to what it can give,
// until the sum is `width`; never below `least`.
std::vector<int> Squeeze(const std::vector<int> &least, const std::vector<int> &need, int width)
{
    const int needs = std::accumulate(need.begin(), need.end(), 0);
    const int leasts = std::accumulate(least.begin(), least.end(), 0);
    if (needs <= width)
        return need;
    if (leasts >= width)
        return least;
    std::vector<int> give(need.size());
    for (std::size_t i = 0; i < need.size(); ++i)
        give[i] = need[i] - least[i];
    const std::vector<int> more = Apportion(give, width - leasts);
    std::vector<int> widths(need.size());
    for (std::size_t i = 0; i < need.size(); ++i)
        widths[i] = least[i] + more[i];
    return widths;
}

} // namespace

WindowFit FitWindow(QSize designed, QSize available, QMargins frame)
{
    const QSize inside = available.shrunkBy(frame).expandedTo(QSize(0, 0));
    const bool fits = designed.width() <= inside.width() && designed.height() <= inside.height();
    return {designed.boundedTo(inside), !fits};
}

std::vector<int> ColumnWidths(const std::vector<ColumnRoom> &columns, int width)
{
    std::vector<int> least, need;
    for (const ColumnRoom &c : columns) {
        need.push_back(c.need);
        least.push_back(std::min(c.least, c.need));
    }
    // The columns that can be in view at rest.
    std::size_t inView = 0;
    for (int used = 0; inView < columns.size() && used + least[inView] <= width; ++inView)
        used += least[inView];
    const auto split = qsizetype(inView);
    std::vector<int> widths = Squeeze(std::vector<int>(least.begin(), least.begin() + split),
                                      std::vector<int>(need.begin(), need.begin() + split), width);
    widths.insert(widths.end(), need.begin() + split, need.end());
    return widths;
}

std::vector<int> PanelWidths(const std::vector<PanelRoom> &panels, int width)
{
    std::vector<int> least, need;
    for (const PanelRoom &p : panels) {
        least.push_back(p.least);
        need.push_back(std::max(p.least, p.text));
    }
    if (std::accumulate(need.begin(), need.end(), 0) > width)
        return Squeeze(least, need, width);
    // Shared by stretch; a panel whose share is less than it needs takes
    // its need, and the others share what is left, until every share will do.
    std::vector<bool> fixed(panels.size(), false);
    std::vector<int> widths = need;
    for (;;) {
        int left = width;
        std::vector<int> stretches;
        for (std::size_t i = 0; i < panels.size(); ++i) {
            if (fixed[i])
                left -= need[i];
            stretches.push_back(fixed[i] ? 0 : panels[i].stretch);
        }
        const std::vector<int> shares = Apportion(stretches, left);
        bool settled = true;
        for (std::size_t i = 0; i < panels.size(); ++i) {
            if (!fixed[i] && shares[i] < need[i]) {
                fixed[i] = true;
                settled = false;
            }
        }
        if (settled) {
            for (std::size_t i = 0; i < panels.size(); ++i)
                if (!fixed[i])
                    widths[i] = shares[i];
            return widths;
        }
    }
}
