#include "platform/LineStamps.h"

#include "platform/Canvas.h"
#include "platform/QtColor.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace {

// Segments of a curve are short; a long line is drawn by QPainter as before.
constexpr int kMaxStampExtent = 1024;
constexpr int kMaxStampPenWidth = 64;
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
    // The box the spans cover, relative to the line's start.
    int Top = 0;
    int Bottom = -1;
    int Left = 0;
    int Right = -1;
};

std::unordered_map<long long, TStamp> &Stamps()
{
    static std::unordered_map<long long, TStamp> cache;
    return cache;
}

// The shapes used last, by a hash of their key: a curve's segments take a few shapes over and
// over, and most are found here without the map. A kept shape stays where it is until the map
// is cleared, which clears this too.
struct TRecentStamp
{
    long long Key;
    const TStamp *Stamp;
};
constexpr std::size_t kRecentStamps = 256;
TRecentStamp RecentStamps[kRecentStamps];

std::size_t RecentSlot(long long Key)
{
    // Fibonacci hashing: the top byte of the product mixes every bit of the key.
    return static_cast<std::size_t>(
        (static_cast<unsigned long long>(Key) * 0x9E3779B97F4A7C15ULL) >> 56);
}

void ForgetStamps()
{
    Stamps().clear();
    for (TRecentStamp &recent : RecentStamps)
        recent = { 0, nullptr };
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
    if (!stamp.Spans.empty()) {
        // The rows were scanned top down.
        stamp.Top = stamp.Spans.front().Dy;
        stamp.Bottom = stamp.Spans.back().Dy;
        stamp.Left = stamp.Spans.front().X0;
        stamp.Right = stamp.Spans.front().X1;
        for (const TSpan &span : stamp.Spans) {
            stamp.Left = std::min(stamp.Left, span.X0);
            stamp.Right = std::max(stamp.Right, span.X1);
        }
    }
    return stamp;
}

const TStamp &FindStamp(int Dx, int Dy, int Style, int Width)
{
    const long long key = StampKey(Width, Style, Dx, Dy);
    TRecentStamp &recent = RecentStamps[RecentSlot(key)];
    if (recent.Stamp && recent.Key == key)
        return *recent.Stamp;
    auto &stamps = Stamps();
    auto found = stamps.find(key);
    if (found == stamps.end()) {
        if (stamps.size() >= kKeptLineStamps)
            ForgetStamps();
        found = stamps.emplace(key, Rasterise(Dx, Dy, Style, Width)).first;
    }
    recent = { key, &found->second };
    return found->second;
}

} // namespace

bool StampLine(QImage &Image, int X1, int Y1, int X2, int Y2, TColor Color, int Style, int Width)
{
    return TLineStamper(Image).Stamp(X1, Y1, X2, Y2, Color, Style, Width);
}

TLineStamper::TLineStamper(QImage &Image)
    : FImage(Image)
    , FStampable(!Image.isNull() && Image.format() == QImage::Format_RGB32)
    , FWidth(Image.width())
    , FHeight(Image.height())
{
}

bool TLineStamper::Stamp(int X1, int Y1, int X2, int Y2, TColor Color, int Style, int Width)
{
    if (Width < 2 || Width > kMaxStampPenWidth || Style < 0 || Style > 7 || !FStampable)
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
    if (X1 < -kReach || X1 > FWidth + kReach || Y1 < -kReach || Y1 > FHeight + kReach)
        return true;

    const TStamp &stamp = FindStamp(dx, dy, Style, Width);
    if (!stamp.Usable)
        return false;

    // The pixel value ToQColor(Color).rgb() gives, without a colour object per segment.
    const QRgb colour = qRgb(RedOf(Color), GreenOf(Color), BlueOf(Color));
    // The layer's rows are found from one pointer: scanLine checks for sharing at every call.
    if (!FBits) {
        FBits = FImage.bits();
        FStride = FImage.bytesPerLine();
    }
    const auto row = [this](int Y) {
        return reinterpret_cast<QRgb *>(FBits + static_cast<long long>(Y) * FStride);
    };
    if (X1 + stamp.Left >= 0 && X1 + stamp.Right < FWidth && Y1 + stamp.Top >= 0
        && Y1 + stamp.Bottom < FHeight) {
        // Inside the image, as nearly every segment of a curve is: nothing to clip.
        for (const TSpan &span : stamp.Spans) {
            QRgb *const line = row(Y1 + span.Dy);
            std::fill(line + X1 + span.X0, line + X1 + span.X1 + 1, colour);
        }
        return true;
    }
    for (const TSpan &span : stamp.Spans) {
        const int y = Y1 + span.Dy;
        if (y < 0 || y >= FHeight)
            continue;
        const int from = std::max(0, X1 + span.X0);
        const int to = std::min(FWidth - 1, X1 + span.X1);
        QRgb *const line = row(y);
        for (int x = from; x <= to; ++x)
            line[x] = colour;
    }
    return true;
}

void ClearLineStamps() { ForgetStamps(); }
