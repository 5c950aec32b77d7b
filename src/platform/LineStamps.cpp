#include "platform/LineStamps.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

// Segments of a curve are short; a long line is drawn by QPainter as before.
constexpr int kMaxStampExtent = 1024;
// Enough for every direction a few curves take; beyond it the cache starts over.
constexpr std::size_t kMaxStamps = 8192;
// Room around the shape in the scratch image, more than half of any pen width used.
constexpr int kScratchMarginMin = 4;

struct TSpan
{
    int Dy;
    int X0;
    int X1;
};

using TStamp = std::vector<TSpan>;

std::unordered_map<long long, TStamp> &Stamps()
{
    static std::unordered_map<long long, TStamp> cache;
    return cache;
}

long long StampKey(int Width, int Dx, int Dy)
{
    const long long span = 2LL * kMaxStampExtent + 1;
    return (static_cast<long long>(Width) * span + (Dx + kMaxStampExtent)) * span
        + (Dy + kMaxStampExtent);
}

TStamp Rasterise(int Dx, int Dy, const QPen &Pen)
{
    const int margin = kScratchMarginMin + Pen.width();
    const int w = std::abs(Dx) + 2 * margin;
    const int h = std::abs(Dy) + 2 * margin;
    const int ox = margin + (Dx < 0 ? -Dx : 0);
    const int oy = margin + (Dy < 0 ? -Dy : 0);

    QImage scratch(w, h, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    QPen ink(Pen);
    ink.setColor(Qt::black);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setPen(ink);
        painter.drawLine(ox, oy, ox + Dx, oy + Dy);
    }

    TStamp stamp;
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        int x = 0;
        while (x < w) {
            if (qRgb(0, 0, 0) != (line[x] | 0xFF000000u)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < w && qRgb(0, 0, 0) == (line[x] | 0xFF000000u))
                ++x;
            stamp.push_back({ y - oy, start - ox, x - 1 - ox });
        }
    }
    return stamp;
}

} // namespace

bool StampLine(QImage &Image, int X1, int Y1, int X2, int Y2, const QPen &Pen)
{
    if (Pen.width() < 2 || Pen.style() != Qt::SolidLine || Pen.isCosmetic()
        || Pen.brush().style() != Qt::SolidPattern || Pen.color().alpha() != 255
        || Image.format() != QImage::Format_RGB32 || Image.isNull())
        return false;
    const int dx = X2 - X1;
    const int dy = Y2 - Y1;
    if (std::abs(dx) > kMaxStampExtent || std::abs(dy) > kMaxStampExtent
        || Pen.width() > kMaxStampExtent)
        return false;

    // The shape also depends on the cap and join; only the ones the canvas uses are kept.
    if (Pen.capStyle() != Qt::RoundCap || Pen.joinStyle() != Qt::RoundJoin)
        return false;

    auto &stamps = Stamps();
    const long long key = StampKey(Pen.width(), dx, dy);
    auto found = stamps.find(key);
    if (found == stamps.end()) {
        if (stamps.size() >= kMaxStamps)
            stamps.clear();
        found = stamps.emplace(key, Rasterise(dx, dy, Pen)).first;
    }

    const QRgb colour = Pen.color().rgb();
    const int width = Image.width();
    const int height = Image.height();
    for (const TSpan &span : found->second) {
        const int y = Y1 + span.Dy;
        if (y < 0 || y >= height)
            continue;
        const int from = std::max(0, X1 + span.X0);
        const int to = std::min(width - 1, X1 + span.X1);
        auto *line = reinterpret_cast<QRgb *>(Image.scanLine(y));
        for (int x = from; x <= to; ++x)
            line[x] = colour;
    }
    return true;
}

void ClearLineStamps() { Stamps().clear(); }
