#pragma once
// How many pixels of a picture have exactly one colour.

#include <QImage>

inline int countPixels(const QImage& image, QRgb rgb) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == rgb;
    return count;
}
