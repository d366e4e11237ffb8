// Every sector keeps its largest patch: along the sectors, or by joining runs into patches.
#include "pictures/wheel/largest_patches.h"

#include <algorithm>
#include <limits>

namespace rc::wheel {

namespace {

int findRoot(std::vector<int>& parent, int i) {
    while (parent[std::size_t(i)] != i) {
        parent[std::size_t(i)] = parent[std::size_t(parent[std::size_t(i)])];
        i = parent[std::size_t(i)];
    }
    return i;
}

// Does patch p beat patch q? The larger one does, and the first one on a tie.
inline bool beats(const long long* patchSize, int p, int q) {
    const long long sp = patchSize[std::size_t(p)], sq = patchSize[std::size_t(q)];
    return sp != sq ? sp > sq : p < q;
}

// A sector's last run and the patches it has had, met row after row.
struct SectorChain {
    int row = std::numeric_limits<int>::min(), x0 = 0, x1 = -1;  // its last run
    int from = 0;                                                // where its patch began
    long long size = 0;                                          // and its pixels so far
    int bestFrom = 0, bestTo = -1;                               // its largest patch's rows
    long long best = 0;
    // The patch ends; the first of the largest ones is kept.
    void close() {
        if (size > best) best = size, bestFrom = from, bestTo = row;
    }
};

// The patch buffers, kept from one wheel to the next on each thread.
struct PatchBuffers {
    std::vector<SectorChain> chains;
    std::vector<int> parent, best, roots;
    std::vector<long long> patchSize;
    std::vector<char> crumb;
};

// Keeps the largest patch of every sector: along the sectors where that is possible, else by
// joining the runs into patches.
class LargestPatches {
  public:
    LargestPatches(const std::vector<Run>& runs, std::int32_t lastSector, Surface::Rows rows,
                   QRgb outline, PatchBuffers& buffers)
        : runs_(runs), lastSector_(lastSector), rows_(rows), outline_(outline), buffers_(buffers) {}

    void keep() {
        if (!largestPatchesAlongSectors()) largestPatchesByJoining();
    }

  private:
    bool largestPatchesAlongSectors();
    void joinRuns();
    void joinToRowAbove(std::size_t previousBegin, std::size_t previousEnd, std::size_t rowBegin,
                        std::size_t rowEnd);
    void largestPatchesByJoining();
    bool crumbsBySector(double sectorCount);
    bool crumbsBySorting();
    void paintCrumbs();

    const std::vector<Run>& runs_;
    const std::int32_t lastSector_;
    const Surface::Rows rows_;
    const QRgb outline_;
    PatchBuffers& buffers_;
};

// Two runs of sector pixels that touch have one sector (a sector pixel has the sector of its
// right and its lower neighbour), and along a row the sectors only grow or only shrink: so a
// sector has at most one run on a row, and its patches are the stretches of rows where its runs
// overlap from one row to the next. Following every sector down the rows, keeping the largest
// stretch, costs a few steps a run. Answers false, changing nothing, where a sector has two
// runs on one row (the centre pixel cuts a run, or the polynomial arctangent wavers at a radius
// line) or there are too many sectors for a table.
bool LargestPatches::largestPatchesAlongSectors() {
    const std::vector<Run>& runs = runs_;
    const double sectorCount = double(lastSector_) + 1;
    if (sectorCount > 4.0 * double(runs.size()) + 4096) return false;
    std::vector<SectorChain>& chains = buffers_.chains;
    chains.assign(static_cast<std::size_t>(sectorCount), {});
    for (const Run& r : runs) {
        SectorChain& chain = chains[std::size_t(r.key)];
        if (chain.row == r.y) return false;
        const bool goesOn = chain.row == r.y - 1 && chain.x0 <= r.x1 && r.x0 <= chain.x1;
        if (!goesOn) chain.close(), chain.from = r.y, chain.size = 0;
        chain.size += r.x1 - r.x0 + 1;
        chain.row = r.y, chain.x0 = r.x0, chain.x1 = r.x1;
    }
    for (SectorChain& chain : chains) chain.close();
    const Surface::Rows rows = rows_;
    const QRgb o = outline_;
    for (const Run& r : runs) {
        const SectorChain& chain = chains[std::size_t(r.key)];
        if (r.y < chain.bestFrom || r.y > chain.bestTo) {
            QRgb* const line = rows[r.y];
            for (int x = r.x0; x <= r.x1; ++x) line[x] = o;  // a crumb: a pixel or two
        }
    }
    return true;
}

// The runs joined into patches over the rows, whatever their sectors.
void LargestPatches::joinRuns() {
    const std::vector<Run>& runs = runs_;
    buffers_.parent.clear();
    std::size_t previousBegin = 0, previousEnd = 0;
    for (std::size_t rowBegin = 0; rowBegin < runs.size();) {
        const int y = runs[rowBegin].y;
        std::size_t rowEnd = rowBegin;
        while (rowEnd < runs.size() && runs[rowEnd].y == y) ++rowEnd;
        if (previousEnd == 0 || runs[previousBegin].y != y - 1) previousBegin = previousEnd;
        joinToRowAbove(previousBegin, previousEnd, rowBegin, rowEnd);
        previousBegin = rowBegin;
        previousEnd = rowBegin = rowEnd;
    }
}

// A sector pixel has the sector of the pixel below it whenever that one is a sector pixel
// too; so runs that overlap across two rows are one patch. Joins the runs rowBegin..rowEnd to
// those of the row above, previousBegin..previousEnd.
void LargestPatches::joinToRowAbove(std::size_t previousBegin, std::size_t previousEnd,
                                    std::size_t rowBegin, std::size_t rowEnd) {
    const std::vector<Run>& runs = runs_;
    std::vector<int>& parent = buffers_.parent;
    for (std::size_t i = rowBegin; i < rowEnd; ++i) parent.push_back(int(i));
    std::size_t i = previousBegin, j = rowBegin;
    while (i < previousEnd && j < rowEnd) {
        if (runs[i].x1 < runs[j].x0) {
            ++i;
        } else if (runs[j].x1 < runs[i].x0) {
            ++j;
        } else {
            const int ri = findRoot(parent, int(i)), rj = findRoot(parent, int(j));
            if (ri != rj) parent[std::size_t(std::max(ri, rj))] = std::min(ri, rj);
            if (runs[i].x1 < runs[j].x1)
                ++i;
            else
                ++j;
        }
    }
}

// The same by joining runs into patches with union-find, for any runs. A run's parent is never
// a later run, so one pass in order points every run at its root.
void LargestPatches::largestPatchesByJoining() {
    joinRuns();
    const std::vector<Run>& runs = runs_;
    std::vector<int>& parent = buffers_.parent;
    std::vector<long long>& patchSize = buffers_.patchSize;
    patchSize.assign(runs.size(), 0);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        parent[i] = parent[std::size_t(parent[i])];
        patchSize[std::size_t(parent[i])] += runs[i].x1 - runs[i].x0 + 1;
    }
    buffers_.crumb.assign(runs.size(), 0);
    const double sectorCount = double(lastSector_) + 1;
    const bool anyCrumb = sectorCount <= 4.0 * double(runs.size()) + 4096
                              ? crumbsBySector(sectorCount)
                              : crumbsBySorting();
    if (anyCrumb) paintCrumbs();
}

// Few sectors: the best patch of each, by sector number; every other patch is a crumb.
// Answers whether there is any.
bool LargestPatches::crumbsBySector(double sectorCount) {
    const std::vector<Run>& runs = runs_;
    const std::vector<int>& parent = buffers_.parent;
    const long long* patchSize = buffers_.patchSize.data();
    std::vector<char>& crumb = buffers_.crumb;
    std::vector<int>& best = buffers_.best;
    best.assign(static_cast<std::size_t>(sectorCount), -1);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (parent[i] != int(i)) continue;
        int& b = best[std::size_t(runs[i].key)];
        if (b < 0 || beats(patchSize, int(i), b)) b = int(i);
    }
    bool anyCrumb = false;
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (parent[i] == int(i) && best[std::size_t(runs[i].key)] != int(i))
            crumb[i] = 1, anyCrumb = true;
    return anyCrumb;
}

// Very many sectors: the patches sorted by sector, the best first; every patch after the
// first of its sector is a crumb. Answers whether there is any.
bool LargestPatches::crumbsBySorting() {
    const std::vector<Run>& runs = runs_;
    const std::vector<int>& parent = buffers_.parent;
    const long long* patchSize = buffers_.patchSize.data();
    std::vector<char>& crumb = buffers_.crumb;
    std::vector<int>& roots = buffers_.roots;
    roots.clear();
    for (std::size_t i = 0; i < runs.size(); ++i)
        if (parent[i] == int(i)) roots.push_back(int(i));
    std::sort(roots.begin(), roots.end(), [&](int p, int q) {
        const auto kp = runs[std::size_t(p)].key, kq = runs[std::size_t(q)].key;
        return kp != kq ? kp < kq : beats(patchSize, p, q);
    });
    bool anyCrumb = false;
    for (std::size_t i = 1; i < roots.size(); ++i)
        if (runs[std::size_t(roots[i])].key == runs[std::size_t(roots[i - 1])].key)
            crumb[std::size_t(roots[i])] = 1, anyCrumb = true;
    return anyCrumb;
}

// Paints every run of a crumb outline.
void LargestPatches::paintCrumbs() {
    const std::vector<Run>& runs = runs_;
    const std::vector<int>& parent = buffers_.parent;
    const std::vector<char>& crumb = buffers_.crumb;
    const Surface::Rows rows = rows_;
    const QRgb o = outline_;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (!crumb[std::size_t(parent[i])]) continue;
        QRgb* line = rows[runs[i].y];
        std::fill(line + runs[i].x0, line + runs[i].x1 + 1, o);
    }
}

}  // namespace

void keepLargestPatches(const std::vector<Run>& runs, std::int32_t lastSector, Surface::Rows rows,
                        QRgb outline) {
    thread_local PatchBuffers buffers;
    LargestPatches(runs, lastSector, rows, outline, buffers).keep();
}

}  // namespace rc::wheel
