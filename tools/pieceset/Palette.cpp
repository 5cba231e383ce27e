#include "Palette.h"

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <vector>

namespace pieceset {

namespace {

struct ColourCount {
    QRgb rgb;
    qint64 count;
};
using Box = std::vector<ColourCount>;

int Channel(QRgb rgb, int channel) {
    switch (channel) {
    case 0:
        return qRed(rgb);
    case 1:
        return qGreen(rgb);
    default:
        return qBlue(rgb);
    }
}

// The channel along which the box is widest, and that width.
std::pair<int, int> WidestChannel(const Box& box) {
    std::pair<int, int> widest{0, -1};
    for (int channel = 0; channel < 3; ++channel) {
        const auto [lo, hi] = std::minmax_element(
            box.begin(), box.end(), [channel](const ColourCount& a, const ColourCount& b) {
                return Channel(a.rgb, channel) < Channel(b.rgb, channel);
            });
        const int width = Channel(hi->rgb, channel) - Channel(lo->rgb, channel);
        if (width > widest.second) widest = {channel, width};
    }
    return widest;
}

// Splits the box at the pixel-weighted median of its widest channel.
std::pair<Box, Box> Split(Box box) {
    const int channel = WidestChannel(box).first;
    std::sort(box.begin(), box.end(), [channel](const ColourCount& a, const ColourCount& b) {
        const int ca = Channel(a.rgb, channel);
        const int cb = Channel(b.rgb, channel);
        return ca != cb ? ca < cb : a.rgb < b.rgb;
    });
    qint64 total = 0;
    for (const ColourCount& c : box)
        total += c.count;
    qint64 running = 0;
    size_t cut = 1;
    while (cut < box.size() - 1 && running + box[cut - 1].count < total / 2) {
        running += box[cut - 1].count;
        ++cut;
    }
    return {Box(box.begin(), box.begin() + cut), Box(box.begin() + cut, box.end())};
}

QRgb Average(const Box& box) {
    std::array<qint64, 3> sum{};
    qint64 total = 0;
    for (const ColourCount& c : box) {
        for (int channel = 0; channel < 3; ++channel)
            sum[channel] += Channel(c.rgb, channel) * c.count;
        total += c.count;
    }
    auto mean = [&](int channel) { return int((sum[channel] + total / 2) / total); };
    return qRgb(mean(0), mean(1), mean(2));
}

std::vector<QRgb> MedianCut(Box colours, int entries) {
    std::vector<Box> boxes;
    if (!colours.empty()) boxes.push_back(std::move(colours));
    while (int(boxes.size()) < entries) {
        // Always split the widest box; ties go to the earliest, which keeps runs repeatable.
        int widest = -1;
        int widestSpan = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].size() < 2) continue;
            const int span = WidestChannel(boxes[i]).second;
            if (span > widestSpan) {
                widest = int(i);
                widestSpan = span;
            }
        }
        if (widest < 0) break;
        auto [low, high] = Split(std::move(boxes[widest]));
        boxes[widest] = std::move(low);
        boxes.push_back(std::move(high));
    }
    std::vector<QRgb> palette;
    for (const Box& box : boxes)
        palette.push_back(Average(box));
    return palette;
}

int Nearest(const QList<QRgb>& palette, QRgb rgb) {
    int best = 0;
    int bestDistance = INT_MAX;
    for (int i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(rgb);
        const int dg = qGreen(palette[i]) - qGreen(rgb);
        const int db = qBlue(palette[i]) - qBlue(rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

QImage ToIndexed8(const QImage& picture, const QList<QRgb>& reserved) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    std::map<QRgb, qint64> histogram;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            ++histogram[source.pixel(x, y) | 0xff000000];

    Box others;
    for (const auto& [rgb, count] : histogram)
        if (!reserved.contains(rgb)) others.push_back({rgb, count});

    QList<QRgb> palette = reserved;
    for (QRgb rgb : MedianCut(std::move(others), kPaletteSize - int(reserved.size())))
        palette.append(rgb);
    while (palette.size() < kPaletteSize)
        palette.append(qRgb(0, 0, 0));

    std::map<QRgb, int> index;
    for (const auto& entry : histogram)
        index[entry.first] = Nearest(palette, entry.first);

    QImage result(source.size(), QImage::Format_Indexed8);
    result.setColorTable(palette);
    for (int y = 0; y < source.height(); ++y) {
        uchar* line = result.scanLine(y);
        for (int x = 0; x < source.width(); ++x)
            line[x] = uchar(index[source.pixel(x, y) | 0xff000000]);
    }
    return result;
}

} // namespace pieceset
