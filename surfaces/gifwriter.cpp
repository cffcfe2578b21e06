#include "surfaces/gifwriter.h"

#include <algorithm>
#include <cstring>
#include <gif_lib.h>

namespace wirevane {
namespace {

constexpr int kMaxColours = 256;
constexpr int kColourResolution = 8;
constexpr int kMaxDelayCentiseconds = 65535;
constexpr int kMaxSide = 65535;
// The application extension that every viewer reads as "repeat": sub-block 1, count 0 = forever.
constexpr char kLoopApplication[] = "NETSCAPE2.0";
constexpr unsigned char kLoopForever[] = {1, 0, 0};

int squaredDistance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return r * r + g * g + bl * bl;
}

} // namespace

GifWriter::GifWriter(QSize size, const std::vector<QRgb>& palette, int delayMs, Sink sink)
    : size_(size), delayCentiseconds_(std::clamp((delayMs + 5) / 10, 1, kMaxDelayCentiseconds)),
      sink_(std::move(sink)) {
    for (const QRgb colour : palette) {
        const QRgb opaque = colour | 0xFF000000u;
        if (palette_.size() < kMaxColours &&
            std::find(palette_.begin(), palette_.end(), opaque) == palette_.end())
            palette_.push_back(opaque);
    }
    if (palette_.empty())
        palette_.push_back(qRgb(0, 0, 0));
    lastPixel_ = palette_.front();
    if (size_.width() < 1 || size_.height() < 1 || size_.width() > kMaxSide ||
        size_.height() > kMaxSide) {
        error_ = QStringLiteral("the picture size does not fit a GIF");
        return;
    }

    // A GIF palette holds a power of two of colours.
    int count = 2;
    while (count < static_cast<int>(palette_.size()))
        count *= 2;
    std::vector<GifColorType> colours(static_cast<std::size_t>(count), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < palette_.size(); ++i)
        colours[i] = {static_cast<GifByteType>(qRed(palette_[i])),
                      static_cast<GifByteType>(qGreen(palette_[i])),
                      static_cast<GifByteType>(qBlue(palette_[i]))};
    ColorMapObject* map = GifMakeMapObject(count, colours.data());
    int error = 0;
    gif_ = EGifOpen(this, &GifWriter::writeBytes, &error);
    if (!gif_ || !map) {
        GifFreeMapObject(map);
        fail(gif_ ? E_GIF_ERR_NOT_ENOUGH_MEM : error);
        return;
    }
    EGifSetGifVersion(gif_, true);
    const bool written =
        EGifPutScreenDesc(gif_, size_.width(), size_.height(), kColourResolution, 0, map) !=
            GIF_ERROR &&
        EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR &&
        EGifPutExtensionBlock(gif_, sizeof kLoopApplication - 1, kLoopApplication) != GIF_ERROR &&
        EGifPutExtensionBlock(gif_, sizeof kLoopForever, kLoopForever) != GIF_ERROR &&
        EGifPutExtensionTrailer(gif_) != GIF_ERROR;
    GifFreeMapObject(map);
    if (!written)
        fail(gif_->Error);
}

GifWriter::~GifWriter() {
    if (gif_)
        EGifCloseFile(gif_, nullptr);
}

int GifWriter::writeBytes(GifFileType* gif, const unsigned char* bytes, int length) {
    auto* writer = static_cast<GifWriter*>(gif->UserData);
    const auto* text = reinterpret_cast<const char*>(bytes);
    if (!writer->sink_) {
        writer->bytes_.append(text, length);
        return length;
    }
    // A short count is giflib's sign of a failed write.
    return writer->sink_(text, static_cast<std::size_t>(length)) ? length : 0;
}

bool GifWriter::fail(int gifError) {
    if (error_.isEmpty())
        error_ = QString::fromUtf8(GifErrorString(gifError));
    if (error_.isEmpty())
        error_ = QStringLiteral("the animation cannot be encoded");
    return false;
}

unsigned char GifWriter::paletteIndex(QRgb pixel) {
    if (pixel == lastPixel_)
        return lastIndex_;
    const QRgb opaque = pixel | 0xFF000000u;
    std::size_t best = 0;
    int bestDistance = squaredDistance(opaque, palette_[0]);
    for (std::size_t i = 1; i < palette_.size() && bestDistance > 0; ++i) {
        const int distance = squaredDistance(opaque, palette_[i]);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    lastPixel_ = pixel;
    lastIndex_ = static_cast<unsigned char>(best);
    return lastIndex_;
}

bool GifWriter::addFrame(const QImage& frame) {
    if (!gif_ || !error_.isEmpty())
        return false;
    if (frame.size() != size_) {
        error_ = QStringLiteral("a frame has another size than the animation");
        return false;
    }
    const QImage image = frame.format() == QImage::Format_RGB32
                             ? frame
                             : frame.convertToFormat(QImage::Format_RGB32);
    const int width = size_.width();
    const auto rowBytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    auto row = [](const QImage& picture, int y) {
        return reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    };

    // The rectangle that differs from the frame before; an unchanged frame stores one pixel.
    int left = 0, top = 0, right = width - 1, bottom = size_.height() - 1;
    if (!previous_.isNull()) {
        while (top <= bottom && std::memcmp(row(image, top), row(previous_, top), rowBytes) == 0)
            ++top;
        while (bottom > top &&
               std::memcmp(row(image, bottom), row(previous_, bottom), rowBytes) == 0)
            --bottom;
        if (top > bottom) {
            top = bottom = right = 0;
        } else {
            left = width - 1;
            right = 0;
            for (int y = top; y <= bottom; ++y) {
                const QRgb* now = row(image, y);
                const QRgb* before = row(previous_, y);
                for (int x = 0; x < left; ++x)
                    if (now[x] != before[x]) {
                        left = x;
                        break;
                    }
                for (int x = width - 1; x > right; --x)
                    if (now[x] != before[x]) {
                        right = x;
                        break;
                    }
            }
            right = std::max(right, left);
        }
    }

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delayCentiseconds_;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    const auto extensionLength = static_cast<int>(EGifGCBToExtension(&control, extension));
    const int frameWidth = right - left + 1;
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, extensionLength, extension) == GIF_ERROR ||
        EGifPutImageDesc(gif_, left, top, frameWidth, bottom - top + 1, false, nullptr) ==
            GIF_ERROR)
        return fail(gif_->Error);
    row_.resize(static_cast<std::size_t>(frameWidth));
    for (int y = top; y <= bottom; ++y) {
        const QRgb* pixels = row(image, y) + left;
        for (int x = 0; x < frameWidth; ++x)
            row_[static_cast<std::size_t>(x)] = paletteIndex(pixels[x]);
        if (EGifPutLine(gif_, row_.data(), frameWidth) == GIF_ERROR)
            return fail(gif_->Error);
    }
    previous_ = image;
    ++frames_;
    return true;
}

QByteArray GifWriter::finish() {
    if (gif_) {
        int error = 0;
        GifFileType* gif = gif_;
        gif_ = nullptr;
        if (EGifCloseFile(gif, &error) == GIF_ERROR)
            fail(error);
    }
    if (!error_.isEmpty())
        return {};
    return bytes_;
}

} // namespace wirevane
