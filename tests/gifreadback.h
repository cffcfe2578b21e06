#pragma once
// Reads an animated GIF back with giflib, as a viewer shows it: every frame composed over the
// ones before, plus the palette, the loop flag and the delays. Shared by the window and tool tests.

#include <QImage>
#include <QString>
#include <cstring>
#include <gif_lib.h>
#include <vector>

struct GifReadBack {
    bool ok = false;
    QSize size;
    std::vector<QRgb> palette;
    bool loopsForever = false;
    std::vector<int> delays;    // hundredths of a second, one per frame
    std::vector<QImage> frames; // what a viewer shows at each frame
};

// The pixels alone, row by row: images that show the same compare equal, whatever their format
// or the colour space their file names.
inline QByteArray rgbPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QByteArray pixels;
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)),
                      static_cast<qsizetype>(rgb.width()) * 4);
    return pixels;
}

inline GifReadBack readGif(const QString& path) {
    GifReadBack out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
    if (!gif)
        return out;
    if (DGifSlurp(gif) != GIF_ERROR && gif->SColorMap) {
        out.ok = true;
        out.size = QSize(gif->SWidth, gif->SHeight);
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            out.palette.push_back(qRgb(c.Red, c.Green, c.Blue));
        }
        QImage canvas(out.size, QImage::Format_RGB32);
        canvas.fill(out.palette[static_cast<std::size_t>(gif->SBackGroundColor)]);
        for (int i = 0; i < gif->ImageCount; ++i) {
            const SavedImage& image = gif->SavedImages[i];
            for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
                const ExtensionBlock& block = image.ExtensionBlocks[e];
                const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
                if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                    std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && data.ByteCount == 3 &&
                    data.Bytes[0] == 1 && data.Bytes[1] == 0 && data.Bytes[2] == 0)
                    out.loopsForever = true;
            }
            GraphicsControlBlock control{};
            DGifSavedExtensionToGCB(gif, i, &control);
            out.delays.push_back(control.DelayTime);
            const GifImageDesc& desc = image.ImageDesc;
            for (int y = 0; y < desc.Height; ++y)
                for (int x = 0; x < desc.Width; ++x)
                    canvas.setPixel(desc.Left + x, desc.Top + y,
                                    out.palette[image.RasterBits[y * desc.Width + x]]);
            out.frames.push_back(canvas.copy());
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}
