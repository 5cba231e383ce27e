#include "RegionFromBitmap.h"

#include <QRect>

#include <algorithm>
#include <vector>

namespace {

// The runs of one batch, kept in the banded form QRegion uses itself: rows top to bottom,
// runs left to right, runs of one row never touching (a key pixel lies between them), and a
// row whose runs span exactly the same columns as the row above merged into that row's
// rectangles. Regions made from such lists compare equal to the same shape built any other
// way.
class RunBatch {
  public:
    explicit RunBatch(int limit) : Limit(std::max(1, limit)) {}

    // Adds the run [x0, x1) of row y. Every Limit runs the batch goes into the result.
    void Add(int x0, int x1, int y, std::optional<QRegion>& result) {
        if (y != RowTop) EndRow();
        if (Rects.size() == RowStart) RowTop = y;
        Rects.emplace_back(x0, y, x1 - x0, 1);
        if (++Count >= Limit) Flush(result);
    }

    // Makes a region of the runs gathered so far (possibly none) and unites it with the
    // result, or makes it the result when there is none yet.
    void Flush(std::optional<QRegion>& result) {
        EndRow();
        QRegion batch;
        if (!Rects.empty()) batch.setRects(Rects.data(), int(Rects.size()));
        result = result ? result->united(batch) : batch;
        Rects.clear();
        BandStart = RowStart = 0;
        RowTop = -1;
        Count = 0;
    }

  private:
    // Merges the row just finished into the band above when both cover the same columns
    // and touch.
    void EndRow() {
        const std::size_t rowLength = Rects.size() - RowStart;
        const std::size_t bandLength = RowStart - BandStart;
        bool merged = false;
        if (rowLength > 0 && rowLength == bandLength &&
            Rects[BandStart].bottom() + 1 == Rects[RowStart].top()) {
            merged = true;
            for (std::size_t i = 0; i < rowLength && merged; ++i) {
                const QRect& above = Rects[BandStart + i];
                const QRect& row = Rects[RowStart + i];
                merged = above.left() == row.left() && above.right() == row.right();
            }
        }
        if (merged) {
            for (std::size_t i = BandStart; i < RowStart; ++i)
                Rects[i].setBottom(Rects[i].bottom() + 1);
            Rects.resize(RowStart);
        } else if (rowLength > 0) {
            BandStart = RowStart;
        }
        RowStart = Rects.size();
        RowTop = -1;
    }

    int Limit;
    int Count = 0;
    std::vector<QRect> Rects;
    std::size_t BandStart = 0; // first rectangle of the last band
    std::size_t RowStart = 0;  // first rectangle of the row being scanned
    int RowTop = -1;           // that row, or -1 before its first run
};

} // namespace

std::optional<QRegion> RegionFromBitmap(const QImage& bitmap, QRgb transparent, int batchSize) {
    if (bitmap.isNull()) return std::nullopt;
    const QImage pixels = bitmap.convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) return std::nullopt;

    const QRgb key = transparent & RGB_MASK;
    const int width = pixels.width();
    std::optional<QRegion> result;
    RunBatch batch(batchSize);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        while (x < width) {
            const int x0 = x;
            while (x < width && (row[x] & RGB_MASK) != key)
                ++x;
            if (x > x0) batch.Add(x0, x, y, result);
            ++x; // past the key pixel
        }
    }
    batch.Flush(result);
    return result;
}
