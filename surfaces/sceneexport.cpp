#include "surfaces/sceneexport.h"

#include "core/documents/filereplacement.h"
#include "formats/raster/pngwriter.h"
#include "surfaces/gifwriter.h"
#include "surfaces/imagesurface.h"
#include "surfaces/svgsurface.h"

#include <QBuffer>
#include <climits>
#include <cmath>
#include <numeric>

namespace wirevane {
namespace {

constexpr double kFullTurn = 360;
constexpr int kFullTurnDegrees = 360;
// Enough shades that the nearest one is within a few levels of any soft-edge pixel.
constexpr int kNumberShades = 8;

QRgb blend(QRgb from, QRgb to, double t) {
    auto mix = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
    return qRgb(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)),
                mix(qBlue(from), qBlue(to)));
}

// The scene as the window shows it now: no turn or zoom still to come. Forced, because a fresh
// surface is clear already and an unchanged scene must draw too.
void holdStill(Scene& scene) {
    scene.turnXZ = 0;
    scene.turnYZ = 0;
    scene.zoomFactor = 1;
    scene.forceRedraw = 1;
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
    return pictureFormatOf(path.toStdString());
}

int framesForFullTurn(double step) {
    const double size = std::fabs(step);
    if (!(size > 0 && size <= kFullTurn))
        return 0;
    // The renderer turns points from whole-degree angles, so a whole-degree step comes back to
    // the first picture once the turns add up to whole turns: 7 degrees take 360 frames.
    if (size == std::floor(size))
        return kFullTurnDegrees / std::gcd(static_cast<int>(size), kFullTurnDegrees);
    const double frames = std::ceil(kFullTurn / size);
    return frames < INT_MAX ? static_cast<int>(frames) : INT_MAX;
}

void drawCurrentView(Scene scene, Surface& surface, const RenderOptions& options) {
    holdStill(scene);
    RendererState fresh;
    drawScene(scene, fresh, surface, options);
}

std::vector<QRgb> scenePalette(const Scene& scene, bool numbers) {
    const QRgb background = toRgb(scene.backgroundColor);
    const QRgb object = toRgb(scene.objectColor);
    std::vector<QRgb> palette{background, object, toRgb(scene.crossColor)};
    if (numbers)
        for (int shade = 1; shade < kNumberShades; ++shade)
            palette.push_back(blend(object, background, double(shade) / kNumberShades));
    return palette;
}

QByteArray renderTurnAnimation(Scene scene, QSize size, const RenderOptions& options,
                               const TurnAnimation& turn, QString& error,
                               const std::function<void(int)>& framesDone) {
    QByteArray bytes;
    const auto keep = [&bytes](const char* data, std::size_t length) {
        bytes.append(data, static_cast<qsizetype>(length));
        return true;
    };
    if (!writeTurnAnimation(std::move(scene), size, options, turn, keep, error, framesDone))
        return {};
    return bytes;
}

bool writeTurnAnimation(Scene scene, QSize size, const RenderOptions& options,
                        const TurnAnimation& turn, const GifWriter::Sink& sink, QString& error,
                        const std::function<void(int)>& framesDone) {
    GifWriter gif(size, scenePalette(scene, options.showNumbers), turn.delayMs, sink);
    ImageSurface surface(size.width(), size.height());
    RendererState state;
    // What the window shows before the first tick: the ticks then change it as they would there.
    holdStill(scene);
    drawScene(scene, state, surface, options);
    scene.forceRedraw = 0;
    for (int frame = 0; frame < turn.frames; ++frame) {
        const Motion tick{turn.inYZPlane ? 0 : turn.step, turn.inYZPlane ? turn.step : 0,
                          frame == 0 ? turn.firstZoom : 1};
        drawScene(scene, state, surface, options, tick);
        if (!gif.addFrame(surface.composed()))
            break;
        if (framesDone)
            framesDone(frame + 1);
    }
    gif.finish();
    error = gif.error();
    return error.isEmpty();
}

// libpng itself rather than Qt's image writer, which loads every image-format plugin (and the
// libraries behind them) before it settles on its own PNG writer.
QByteArray pngBytes(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const std::string bytes =
        pngFileBytes(reinterpret_cast<const std::uint32_t*>(rgb.constBits()), rgb.width(),
                     rgb.height(), rgb.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray svgBytes(const SvgSurface& surface, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!surface.write(buffer, title))
        return {};
    return bytes;
}

QString writeFileReplacing(const QString& path, const QByteArray& bytes) {
    return QString::fromStdString(writeFileReplacing(
        path.toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

} // namespace wirevane
