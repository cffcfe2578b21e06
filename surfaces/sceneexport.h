#pragma once

#include "core/engine/renderer.h"
#include "core/engine/scene.h"
#include "core/engine/surface.h"
#include "formats/raster/pictureformat.h"
#include "surfaces/gifwriter.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace wirevane {

class SvgSurface;

// Pictures and turning animations of the scene, for the animation window's context menu and
// for wirevane-tool. Every picture comes from drawScene on a copy of the scene, so an export
// never changes the scene the program shows.

// The format a file name asks for, as pictureFormatOf of its UTF-8 bytes.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// One full turn as run mode shows it: frame k is the picture after k + 1 run-mode ticks.
struct TurnAnimation {
    static constexpr double kDefaultStep = 5;
    static constexpr int kDefaultDelayMs = 20;

    bool inYZPlane = false;     // false: the x-z plane
    double step = kDefaultStep; // degrees per tick, with its direction
    int frames = 72;
    int delayMs = kDefaultDelayMs;
    double firstZoom = 1; // zoomFactor of the first tick
};

// The frames a turn at |step| degrees a frame takes to come back to its first picture: one full
// turn, or for a whole-degree step that does not divide 360 as many turns as it takes (never
// more than 360 frames); 0 when step is 0, not finite or beyond a full turn.
int framesForFullTurn(double step);

// Draws the scene as the animation window shows it now: its coordinates as they stand, with
// no turn and no zoom. surface must be fresh (as constructed).
void drawCurrentView(Scene scene, Surface& surface, const RenderOptions& options);

// The colours a picture of the scene is made of, the background first; with numbers, also the
// shades between the number colour and the background that the numbers' soft edges take.
std::vector<QRgb> scenePalette(const Scene& scene, bool numbers);

// The animated GIF of the turn, looping forever; empty with the reason in error on failure.
// framesDone, when given, hears the number of frames made after each one.
QByteArray renderTurnAnimation(Scene scene, QSize size, const RenderOptions& options,
                               const TurnAnimation& turn, QString& error,
                               const std::function<void(int)>& framesDone = {});
// The same, each frame handed to sink as it is made, so that no more than two frames are held
// however many there are; false with the reason in error on failure.
bool writeTurnAnimation(Scene scene, QSize size, const RenderOptions& options,
                        const TurnAnimation& turn, const GifWriter::Sink& sink, QString& error,
                        const std::function<void(int)>& framesDone = {});

QByteArray pngBytes(const QImage& image);
// Needs a QGuiApplication (fonts); empty when the drawing cannot be written.
QByteArray svgBytes(const SvgSurface& surface, const QString& title);

// Writes the bytes to path through a temporary file beside it and a rename, so a failed write
// leaves no half file and the old file as it was. Empty when it worked, else the reason.
QString writeFileReplacing(const QString& path, const QByteArray& bytes);

} // namespace wirevane
