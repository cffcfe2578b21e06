#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <cstddef>
#include <functional>
#include <vector>

struct GifFileType;

namespace wirevane {

// An animated GIF of same-sized frames on one palette, looping forever, built in memory with
// giflib. Our pictures hold only a few flat colours, so a palette of them needs no dithering;
// a pixel of another colour (the soft edge of a number) takes the nearest palette colour.
// After the first frame only the rectangle that differs from the frame before is stored.
class GifWriter {
  public:
    // Takes the file's bytes as they are made; false when they cannot be kept (a full disk).
    using Sink = std::function<bool(const char* bytes, std::size_t length)>;

    // palette: up to 256 colours, the first is the background; delayMs is rounded to the
    // GIF's hundredths of a second. Without a sink the file is kept for finish() to return.
    GifWriter(QSize size, const std::vector<QRgb>& palette, int delayMs, Sink sink = {});
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // False once anything failed; error() then says why.
    bool addFrame(const QImage& frame);
    // The finished file (empty with a sink, which has had it); empty when anything failed.
    QByteArray finish();

    QString error() const { return error_; }
    int frameCount() const { return frames_; }

  private:
    bool fail(int gifError);
    unsigned char paletteIndex(QRgb pixel);
    static int writeBytes(GifFileType* gif, const unsigned char* bytes, int length);

    QSize size_;
    std::vector<QRgb> palette_;
    int delayCentiseconds_;
    GifFileType* gif_ = nullptr;
    Sink sink_;
    QByteArray bytes_;
    QImage previous_;
    std::vector<unsigned char> row_;
    QRgb lastPixel_ = 0;
    unsigned char lastIndex_ = 0;
    int frames_ = 0;
    QString error_;
};

} // namespace wirevane
