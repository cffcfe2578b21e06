#include "surfaces/svgsurface.h"

#include "surfaces/imagesurface.h"

#include <QPainter>
#include <QSvgGenerator>
#include <cmath>

namespace wirevane {
namespace {

// Sizes in the file are given for 96 dots per inch, so a viewer shows one device pixel as one
// CSS pixel.
constexpr int kDotsPerInch = 96;

} // namespace

SvgSurface::SvgSurface(int clientWidth, int clientHeight)
    : RecordingSurface(clientWidth, clientHeight), width_(clientWidth), height_(clientHeight) {
    limitToDevice();
}

bool SvgSurface::write(QIODevice& device, const QString& title) const {
    QSvgGenerator generator;
    generator.setOutputDevice(&device);
    generator.setSize(QSize(width_, height_));
    generator.setViewBox(QRect(0, 0, width_, height_));
    generator.setResolution(kDotsPerInch);
    // Qt writes the title into the file as it stands.
    generator.setTitle(title.toHtmlEscaped());
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    painter.fillRect(QRect(0, 0, width_, height_), QColor(toRgb(backColor())));
    painter.setBrush(Qt::NoBrush);
    for (const Line& line : lines()) {
        painter.setPen(QPen(QColor(toRgb(line.colour)), 1));
        painter.drawLine(
            QLineF(deviceX(line.x1), deviceY(line.y1), deviceX(line.x2), deviceY(line.y2)));
    }
    for (const Circle& circle : circles()) {
        painter.setPen(QPen(QColor(toRgb(circle.colour)), 1));
        const double radius = scale().toDeviceLength(circle.radius, width_);
        painter.drawEllipse(QPointF(deviceX(circle.x), deviceY(circle.y)), radius, radius);
    }
    // Placed as the picture places them: the label's top-left corner at its point.
    for (const Label& label : labels()) {
        if (label.text.empty() || !scale().takesPoint(label.left, label.top, width_, height_))
            continue;
        const double x = deviceX(label.left);
        const double y = deviceY(label.top);
        const QString text = QString::fromStdString(label.text);
        painter.setPen(QColor(toRgb(label.colour)));
        const QRect box = painter.fontMetrics().boundingRect(text);
        painter.drawText(QPointF(std::floor(x), std::floor(y) - box.top()), text);
    }
    return painter.end();
}

} // namespace wirevane
