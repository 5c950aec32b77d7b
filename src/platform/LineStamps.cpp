#include "platform/LineStamps.h"

#include "platform/Canvas.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

// Segments of a curve are short; a long line is drawn by QPainter as before.
constexpr int kMaxStampExtent = 1024;
constexpr int kMaxStampPenWidth = 64;
// Enough for every direction a few curves take; beyond it the cache starts over.
constexpr std::size_t kMaxStamps = 8192;
// Room around the shape in the scratch image, more than half of any pen width kept.
constexpr int kScratchMarginMin = 4;

struct TSpan
{
    int Dy;
    int X0;
    int X1;
};

struct TStamp
{
    // False for a pen whose shape is not kept (not solid, not round): drawn by QPainter.
    bool Usable = false;
    std::vector<TSpan> Spans;
};

std::unordered_map<long long, TStamp> &Stamps()
{
    static std::unordered_map<long long, TStamp> cache;
    return cache;
}

long long StampKey(int Width, int Style, int Dx, int Dy)
{
    const long long span = 2LL * kMaxStampExtent + 1;
    const long long pen = static_cast<long long>(Width) * 8 + (Style & 7);
    return (pen * span + (Dx + kMaxStampExtent)) * span + (Dy + kMaxStampExtent);
}

TStamp Rasterise(int Dx, int Dy, int Style, int Width)
{
    QPen pen = MakeCanvasPen(clBlack, Style, Width);
    TStamp stamp;
    if (pen.style() != Qt::SolidLine || pen.capStyle() != Qt::RoundCap
        || pen.joinStyle() != Qt::RoundJoin || pen.isCosmetic())
        return stamp;
    stamp.Usable = true;

    const int margin = kScratchMarginMin + pen.width();
    const int w = std::abs(Dx) + 2 * margin;
    const int h = std::abs(Dy) + 2 * margin;
    const int ox = margin + (Dx < 0 ? -Dx : 0);
    const int oy = margin + (Dy < 0 ? -Dy : 0);

    QImage scratch(w, h, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.setPen(pen);
        painter.drawLine(ox, oy, ox + Dx, oy + Dy);
    }

    const QRgb ink = qRgb(0, 0, 0);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        int x = 0;
        while (x < w) {
            if ((line[x] | 0xFF000000u) != ink) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < w && (line[x] | 0xFF000000u) == ink)
                ++x;
            stamp.Spans.push_back({ y - oy, start - ox, x - 1 - ox });
        }
    }
    return stamp;
}

} // namespace

bool StampLine(QImage &Image, int X1, int Y1, int X2, int Y2, TColor Color, int Style, int Width)
{
    if (Width < 2 || Width > kMaxStampPenWidth || Style < 0 || Style > 7 || Image.isNull()
        || Image.format() != QImage::Format_RGB32)
        return false;
    // In 64 bits: a curve point far off the plot can lie anywhere in the int range.
    const long long ldx = static_cast<long long>(X2) - X1;
    const long long ldy = static_cast<long long>(Y2) - Y1;
    if (std::llabs(ldx) > kMaxStampExtent || std::llabs(ldy) > kMaxStampExtent)
        return false;
    const int dx = static_cast<int>(ldx);
    const int dy = static_cast<int>(ldy);
    // A short segment that starts this far outside cannot reach the image; it is drawn, as
    // nothing, without placing its shape where the pixel arithmetic would overflow.
    constexpr int kReach = kMaxStampExtent + kMaxStampPenWidth + kScratchMarginMin;
    if (X1 < -kReach || X1 > Image.width() + kReach || Y1 < -kReach || Y1 > Image.height() + kReach)
        return true;

    auto &stamps = Stamps();
    const long long key = StampKey(Width, Style, dx, dy);
    auto found = stamps.find(key);
    if (found == stamps.end()) {
        if (stamps.size() >= kMaxStamps)
            stamps.clear();
        found = stamps.emplace(key, Rasterise(dx, dy, Style, Width)).first;
    }
    const TStamp &stamp = found->second;
    if (!stamp.Usable)
        return false;

    // The pixel value ToQColor(Color).rgb() gives, without a colour object per segment.
    const QRgb colour = qRgb(RedOf(Color), GreenOf(Color), BlueOf(Color));
    const int width = Image.width();
    const int height = Image.height();
    // The layer's rows are found from one pointer: scanLine checks for sharing at every call.
    uchar *const bits = Image.bits();
    const qsizetype stride = Image.bytesPerLine();
    for (const TSpan &span : stamp.Spans) {
        const int y = Y1 + span.Dy;
        if (y < 0 || y >= height)
            continue;
        const int from = std::max(0, X1 + span.X0);
        const int to = std::min(width - 1, X1 + span.X1);
        auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
        for (int x = from; x <= to; ++x)
            line[x] = colour;
    }
    return true;
}

void ClearLineStamps() { Stamps().clear(); }
