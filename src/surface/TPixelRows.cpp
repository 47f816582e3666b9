#include "surface/TPixelRows.h"

#include "surface/WideRowStores.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace qbm {
namespace {

// What one masked store of a row costs, in rows of a box filled on its own.
constexpr long long kMaskedStoreCost = 2;

// QBM_ROW_STORES=plain runs a program (a whole test suite) on the plain path.
std::atomic<TRowStores> g_rowStores{[] {
    const char* chosen = std::getenv("QBM_ROW_STORES");
    return chosen && std::strcmp(chosen, "plain") == 0 ? TRowStores::Plain : TRowStores::Wide;
}()};

} // namespace

// A masked row store costs about as much as two rows of a box: row by row pays where bars are dense
// (Code 39, Code 128), box by box where they are few or far apart (PostNet, add-ons).
bool TPixelRows::WorthMasking(std::span<const TPixelBox> boxes) const {
    long long boxRows = 0;
    int left = width, right = 0, top = height, bottom = 0;
    for (const TPixelBox& b : boxes) {
        const int l = std::max(b.left, 0), r = std::min(b.right, width);
        const int t = std::max(b.top, 0), bt = std::min(b.bottom, height);
        if (l >= r || t >= bt) continue;
        boxRows += bt - t;
        left = std::min(left, l);
        right = std::max(right, r);
        top = std::min(top, t);
        bottom = std::max(bottom, bt);
    }
    if (boxRows == 0) return false;
    const int lanePixels = 64 / depth;
    const long long laneRows = static_cast<long long>(bottom - top) * ((right - left) / lanePixels + 2);
    return boxRows >= kMaskedStoreCost * laneRows;
}

void TPixelRows::FillBoxes(std::span<const TPixelBox> boxes, uint32_t value) const {
    if (RowStores() == TRowStores::Wide && HasWideRowStores(depth) && WorthMasking(boxes) &&
        FillBoxesWide(*this, boxes, value))
        return;
    for (const TPixelBox& b : boxes) Fill(b.left, b.top, b.right, b.bottom, value);
}

void TPixelRows::SetRowStores(TRowStores stores) {
    g_rowStores.store(stores);
}

TRowStores TPixelRows::RowStores() {
    return g_rowStores.load();
}

} // namespace qbm
