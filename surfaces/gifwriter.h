#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <vector>

struct GifFileType;

namespace wirevane {

// An animated GIF of same-sized frames on one palette, looping forever, built in memory with
// giflib. Our pictures hold only a few flat colours, so a palette of them needs no dithering;
// a pixel of another colour (the soft edge of a number) takes the nearest palette colour.
// After the first frame only the rectangle that differs from the frame before is stored.
class GifWriter {
  public:
    // palette: up to 256 colours, the first is the background; delayMs is rounded to the
    // GIF's hundredths of a second.
    GifWriter(QSize size, const std::vector<QRgb>& palette, int delayMs);
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // False once anything failed; error() then says why.
    bool addFrame(const QImage& frame);
    // The finished file; empty when anything failed.
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
    QByteArray bytes_;
    QImage previous_;
    std::vector<unsigned char> row_;
    QRgb lastPixel_ = 0;
    unsigned char lastIndex_ = 0;
    int frames_ = 0;
    QString error_;
};

} // namespace wirevane
