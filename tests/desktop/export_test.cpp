// Pictures and animations of the scene: the SVG surface read back, and the animation window's
// context menu, which exports without touching the scene or the picture on screen.
#include "core/engine/objectcompiler.h"
#include "desktop/animation/animationcontroller.h"
#include "desktop/animation/animationexport.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/navigationbar.h"
#include "scriptedprompts.h"
#include "startedanimation.h"
#include "surfaces/imagesurface.h"
#include "surfaces/sceneexport.h"
#include "surfaces/svgsurface.h"
#include "tests/common/temporaryfolder.h"
#include "tests/gifreadback.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QImageReader>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace wirevane {
namespace {

const char* const kCube = "-2/-2/-2\r\n2/-2/-2\r\n2/2/-2\r\n-2/2/-2\r\n-2/-2/2\r\n2/-2/2\r\n"
                          "2/2/2\r\n-2/2/2\r\n\r\n1-2\r\n2-3\r\n3-4\r\n4-1\r\n5-6\r\n6-7\r\n"
                          "7-8\r\n8-5\r\n1-5\r\n2-6\r\n3-7\r\n4-8";

ObjectInput object(const char* text) {
    ObjectInput input = defaultObjectInput();
    input.text = text;
    input.crossState = 1;
    return input;
}

// The line ends, circles and texts of an SVG file, in its own coordinates.
struct SvgElements {
    std::vector<QLineF> lines;
    int circles = 0;
    QStringList texts;
};

SvgElements readSvgElements(const QByteArray& svg) {
    SvgElements found;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("polyline")) {
            const QStringList points = a.value("points").toString().split(' ', Qt::SkipEmptyParts);
            for (qsizetype i = 1; i < points.size(); ++i) {
                const QStringList from = points[i - 1].split(','), to = points[i].split(',');
                found.lines.emplace_back(from[0].toDouble(), from[1].toDouble(), to[0].toDouble(),
                                         to[1].toDouble());
            }
        } else if (xml.name() == QLatin1String("ellipse") ||
                   xml.name() == QLatin1String("circle")) {
            ++found.circles;
        } else if (xml.name() == QLatin1String("text")) {
            found.texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        }
    }
    return found;
}

// The share of the pixels of `a` that stand out from the background and have such a pixel of
// `b` at most one pixel away: 1 when b covers all of a's drawing.
double coveredShare(const QImage& a, const QImage& b, QRgb background) {
    auto inked = [background](QRgb p) {
        return std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background)) +
                   std::abs(qBlue(p) - qBlue(background)) >
               96;
    };
    int drawn = 0, covered = 0;
    for (int y = 1; y + 1 < a.height(); ++y)
        for (int x = 1; x + 1 < a.width(); ++x) {
            if (!inked(a.pixel(x, y)))
                continue;
            ++drawn;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = inked(b.pixel(x + dx, y + dy));
            covered += near;
        }
    return drawn == 0 ? 1 : double(covered) / drawn;
}

struct SvgCase {
    const char* name;
    const char* text;
    int width, height;
    double turnXZ;
    bool numbers;
};

// A long animation is not held in memory: each frame reaches the file before the next is made,
// and a file that takes no more bytes ends it with the reason.
TEST(TurnAnimation, HandsEachFrameOnAsItIsMade) {
    Scene scene;
    ObjectInput input = defaultObjectInput();
    input.text = "-2/-2/0\r\n2/-2/0\r\n0/2/1\r\n\r\n1-2\r\n2-3\r\n3-1";
    ASSERT_TRUE(compileObject(scene, &input).completed);
    TurnAnimation turn;
    turn.frames = 4;
    std::size_t received = 0;
    std::vector<std::size_t> receivedByFrame;
    const auto sink = [&](const char*, std::size_t length) {
        received += length;
        return true;
    };
    QString error;
    ASSERT_TRUE(writeTurnAnimation(scene, QSize(120, 90), RenderOptions{}, turn, sink, error,
                                   [&](int) { receivedByFrame.push_back(received); }));
    ASSERT_EQ(receivedByFrame.size(), 4u);
    for (std::size_t k = 1; k < receivedByFrame.size(); ++k)
        EXPECT_GT(receivedByFrame[k], receivedByFrame[k - 1]) << "frame " << k + 1;

    const auto full = [](const char*, std::size_t) { return false; };
    EXPECT_FALSE(writeTurnAnimation(scene, QSize(120, 90), RenderOptions{}, turn, full, error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(SvgSurface, HoldsTheRecordedDrawingAndLooksLikeThePicture) {
    const SvgCase cases[] = {
        {"cube", kCube, 553, 375, 30, false},
        {"wide cube with numbers", kCube, 800, 300, 15, true},
        {"one point", "1/1/0", 200, 200, 0, false},
    };
    for (const SvgCase& c : cases) {
        SCOPED_TRACE(c.name);
        const ObjectInput input = object(c.text);
        Scene scene;
        compileObject(scene, &input);
        scene.turnXZ = c.turnXZ;
        const RenderOptions options{false, c.numbers};
        RecordingSurface recording(c.width, c.height);
        SvgSurface drawing(c.width, c.height);
        ImageSurface picture(c.width, c.height);
        for (Surface* surface : std::initializer_list<Surface*>{&recording, &drawing, &picture}) {
            Scene copy = scene;
            RendererState state;
            drawScene(copy, state, *surface, options);
        }
        const QByteArray svg = svgBytes(drawing, QString::fromLatin1(c.name));
        ASSERT_FALSE(svg.isEmpty());

        const SvgElements found = readSvgElements(svg);
        ASSERT_EQ(found.lines.size(), recording.lines().size());
        const SurfaceScale& scale = recording.scale();
        for (std::size_t i = 0; i < found.lines.size(); ++i) {
            const auto& line = recording.lines()[i];
            EXPECT_NEAR(found.lines[i].x1(), scale.toDeviceX(line.x1, c.width), 0.01);
            EXPECT_NEAR(found.lines[i].y1(), scale.toDeviceY(line.y1, c.height), 0.01);
            EXPECT_NEAR(found.lines[i].x2(), scale.toDeviceX(line.x2, c.width), 0.01);
            EXPECT_NEAR(found.lines[i].y2(), scale.toDeviceY(line.y2, c.height), 0.01);
        }
        EXPECT_EQ(found.circles, static_cast<int>(recording.circles().size()));
        EXPECT_EQ(found.texts.size(), c.numbers ? 8 : 0);

        QSvgRenderer renderer(svg);
        ASSERT_TRUE(renderer.isValid());
        QImage back(c.width, c.height, QImage::Format_RGB32);
        QPainter painter(&back);
        renderer.render(&painter);
        painter.end();
        const QImage png = picture.composed();
        const QRgb background = toRgb(scene.backgroundColor);
        EXPECT_EQ(back.pixel(0, 0), background);
        EXPECT_GE(coveredShare(png, back, background), 0.97);
        EXPECT_GE(coveredShare(back, png, background), 0.97);
    }
}

// Everything an export could disturb: the coordinates, the view values and the projection.
bool sameScene(const Scene& a, const Scene& b) {
    return a.sceneX == b.sceneX && a.sceneY == b.sceneY && a.sceneZ == b.sceneZ &&
           a.screenX == b.screenX && a.screenY == b.screenY && a.pointAngles == b.pointAngles &&
           a.zoomFactor == b.zoomFactor && a.turnXZ == b.turnXZ && a.turnYZ == b.turnYZ &&
           a.turnStep == b.turnStep && a.forceRedraw == b.forceRedraw &&
           a.speedSetting == b.speedSetting && a.showCross == b.showCross;
}

// A running animation of the cube, its context menu and a folder to export into.
class AnimationExportTest : public StartedAnimation {
  protected:
    ScriptedPrompts prompts;
    tests::TemporaryFolder folder;
    AnimationWindow* window = nullptr;
    AnimationExport* exporter = nullptr;

    void SetUp() override {
        startAnimation(object(kCube));
        bar->Timer1_Timer();
        window = controller.animationWindow();
        exporter = window->findChild<AnimationExport*>();
        ASSERT_NE(exporter, nullptr);
    }

    QString path(const QString& name) const {
        return QString::fromStdString(folder.file(name.toStdString()));
    }
    // The folder's entries, hidden ones too, sorted and separated by spaces.
    std::string entries() const {
        return QDir(folder.qPath())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)
            .join(' ')
            .toStdString();
    }
    // Removes what a table row left, so that the next row starts in an empty folder.
    void removeFiles() const {
        for (const QString& name : QString::fromStdString(entries()).split(' ', Qt::SkipEmptyParts))
            QFile::remove(path(name));
    }

    // Run mode, turning right by the speed setting, a few ticks on.
    void runTurningRight() {
        bar->Check3->click();
        bar->Command2->click();
        for (int tick = 0; tick < 3; ++tick)
            bar->Timer2_Timer();
    }
};

TEST_F(AnimationExportTest, ContextMenuOffersBothExportsWithoutStoppingTheAnimation) {
    runTurningRight();
    EXPECT_EQ(window->contextMenuPolicy(), Qt::CustomContextMenu);
    emit window->customContextMenuRequested(QPoint(20, 20));
    ASSERT_TRUE(exporter->menu()->isVisible());
    QStringList captions;
    for (const QAction* action : exporter->menu()->actions())
        captions << action->text();
    EXPECT_EQ(captions,
              QStringList({"Save picture as ...", "Save animation as ...", "Save object as ..."}));
    EXPECT_TRUE(bar->Timer2.isActive());
    exporter->menu()->close();
}

TEST_F(AnimationExportTest, ExportsWhatTheWindowShowsAndChangesNothing) {
    runTurningRight();
    const Scene before = scene;
    const QImage shown = window->surface().image().copy();
    prompts.saveNames = {path("shot.png"), path("shot.svg"), path("plain"), path("turn")};

    exporter->savePictureAction()->trigger();
    exporter->savePictureAction()->trigger();
    exporter->savePictureAction()->trigger(); // no extension: PNG
    exporter->saveAnimationAction()->trigger();

    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_EQ(prompts.saveDialogs[0].text, "PNG image (*.png);;SVG drawing (*.svg)");
    EXPECT_EQ(prompts.saveDialogs[3].text, "GIF animation (*.gif)");
    EXPECT_TRUE(sameScene(scene, before));
    EXPECT_EQ(window->surface().image(), shown);
    EXPECT_TRUE(rgbPixels(QImage(path("shot.png"))) == rgbPixels(shown));
    EXPECT_TRUE(rgbPixels(QImage(path("plain.png"))) == rgbPixels(shown));
    EXPECT_TRUE(QSvgRenderer(path("shot.svg")).isValid());

    // One full turn at the speed setting of 2 degrees, at run mode's pace of 16 ms.
    const GifReadBack gif = readGif(path("turn.gif"));
    ASSERT_TRUE(gif.ok);
    EXPECT_EQ(gif.frames.size(), 180u);
    EXPECT_TRUE(gif.loopsForever);
    EXPECT_EQ(gif.delays.front(), 2);
    EXPECT_EQ(gif.size, shown.size());
    // Its first frame is what the next tick shows.
    bar->Timer2_Timer();
    EXPECT_TRUE(rgbPixels(gif.frames.front()) == rgbPixels(window->surface().image()));
    EXPECT_EQ(entries(), "plain.png shot.png shot.svg turn.gif");
}

// Other programs get the object as typed, axis order applied, however it has turned and zoomed.
TEST_F(AnimationExportTest, SavesTheObjectUnturnedAsObjOrPly) {
    runTurningRight();
    const Scene before = scene;
    struct Case {
        QString typed, filter;
        const char* written;
        std::string start; // the file's first bytes; empty: refused with a message
    };
    const Case cases[] = {
        {"cube", "", "cube.obj", "# cube\nv -2 -2 -2\nv 2 -2 -2\nv 2 2 -2\n"},
        {"cube", "PLY (*.ply)", "cube.ply", "ply\nformat ascii 1.0\ncomment cube\n"},
        {"cube.PLY", "", "cube.PLY", "ply\n"},
        {"cube.png", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts.saveNames = {path(c.typed)};
        if (!c.filter.isEmpty())
            prompts.saveFilters = {c.filter};
        exporter->saveObjectAction()->trigger();
        EXPECT_EQ(entries(), c.written);
        EXPECT_EQ(prompts.errors.size(), c.start.empty() ? 1u : 0u);
        if (!c.start.empty()) {
            QFile file(path(c.written));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll().left(static_cast<qsizetype>(c.start.size())).toStdString(),
                      c.start);
        }
        removeFiles();
        prompts.errors.clear();
        prompts.saveFilters.clear();
    }
    EXPECT_TRUE(sameScene(scene, before));
    EXPECT_NE(scene.sceneX[1], -2); // the turn the files leave out
}

TEST_F(AnimationExportTest, FollowsTheRunningTurnOrTurnsFiveDegreesInXZ) {
    struct Case {
        const char* name;
        bool running;
        double turnXZ, turnYZ, turnStep;
        bool inYZPlane;
        double step;
        int frames;
    };
    const Case cases[] = {
        {"step mode", false, 3, 0, 3, false, 5, 72},
        {"nothing turns", true, 0, 0, 2, false, 5, 72},
        {"left", true, -2, 0, 2, false, -2, 180},
        {"up", true, 0, 3, 3, true, 3, 120},
        {"seven degrees", true, 7, 0, 7, false, 7, 360},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bar->Check3->setChecked(c.running);
        scene.turnXZ = c.turnXZ;
        scene.turnYZ = c.turnYZ;
        scene.turnStep = c.turnStep;
        const TurnAnimation turn = exporter->currentTurn();
        EXPECT_EQ(turn.inYZPlane, c.inYZPlane);
        EXPECT_EQ(turn.step, c.step);
        EXPECT_EQ(turn.frames, c.frames);
        EXPECT_EQ(turn.delayMs, 16);
    }
}

TEST_F(AnimationExportTest, AFailedExportSaysWhyAndLeavesNoFile) {
    ASSERT_TRUE(QDir().mkdir(path("folder.png")));
    ASSERT_TRUE(QDir().mkdir(path("folder.gif")));
    struct Case {
        const char* name;
        bool animation;
        QString target;
        const char* reason;
    };
    const Case cases[] = {
        {"a folder", false, path("folder.png"), "folder"},
        {"an animation onto a folder", true, path("folder.gif"), "folder"},
        {"a vanished folder", false, path("gone/shot.svg"), ""},
        {"another format", false, path("shot.jpg"), "PNG (.png) or SVG (.svg)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompts.errors.clear();
        prompts.saveNames = {c.target};
        (c.animation ? exporter->saveAnimationAction() : exporter->savePictureAction())->trigger();
        ASSERT_EQ(prompts.errors.size(), 1u);
        EXPECT_EQ(prompts.errors[0].title,
                  c.animation ? "Animation not saved" : "Picture not saved");
        EXPECT_TRUE(prompts.errors[0].text.contains(QDir::toNativeSeparators(c.target)));
        EXPECT_TRUE(prompts.errors[0].text.contains(c.reason))
            << prompts.errors[0].text.toStdString();
        EXPECT_EQ(entries(), "folder.gif folder.png");
    }
}

// The extension decides the format; a name without one takes the chosen filter's.
TEST_F(AnimationExportTest, NamesTheFileByItsExtensionOrTheChosenFilter) {
    const char* const svgFilter = "SVG drawing (*.svg)";
    struct Case {
        bool animation;
        QString typed, filter; // filter "": the dialog's first
        const char* written;
        const char* format;
    };
    const Case cases[] = {
        {false, "pic", svgFilter, "pic.svg", "svg"},
        {false, "pic", "", "pic.png", "png"},
        {false, "pic.", svgFilter, "pic.svg", "svg"},
        {false, "pic.png", svgFilter, "pic.png", "png"},
        {false, "pic.SVG", "PNG image (*.png)", "pic.SVG", "svg"},
        {true, "turn", "", "turn.gif", "gif"},
        {true, "turn.GIF", "", "turn.GIF", "gif"},
        {true, "turn.png", "", "turn.png.gif", "gif"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        prompts.saveNames = {path(c.typed)};
        if (!c.filter.isEmpty())
            prompts.saveFilters = {c.filter};
        (c.animation ? exporter->saveAnimationAction() : exporter->savePictureAction())->trigger();
        EXPECT_TRUE(prompts.errors.empty());
        EXPECT_TRUE(prompts.scriptUsedUp());
        EXPECT_EQ(entries(), c.written);
        EXPECT_EQ(QImageReader::imageFormat(path(c.written)).toStdString(), c.format);
        removeFiles();
        prompts.saveFilters.clear();
    }
}

// The question names the file that would be replaced, after any extension is added; a refused
// name asks nothing. "No" asks for another name, "Cancel" leaves the file as it was.
TEST_F(AnimationExportTest, AsksBeforeReplacingTheFileItWouldWrite) {
    struct Case {
        bool animation;
        const char* existing;
        QString typed, filter; // filter "": the dialog's first
        bool asks;
    };
    const Case cases[] = {
        {false, "old.png", "old.png", "", true},
        {false, "old.png", "old", "", true},
        {false, "old.svg", "old", "SVG drawing (*.svg)", true},
        {false, "old.jpg", "old.jpg", "", false},
        {true, "old.gif", "old", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + " over " + c.existing);
        tests::writeFile(path(c.existing).toStdString(), "keep");
        prompts.questions.clear();
        prompts.errors.clear();
        prompts.saveNames = {path(c.typed), path(c.typed)};
        if (!c.filter.isEmpty())
            prompts.saveFilters = {c.filter, c.filter};
        prompts.answers = {Prompts::Answer::No, Prompts::Answer::Cancel};
        (c.animation ? exporter->saveAnimationAction() : exporter->savePictureAction())->trigger();
        EXPECT_EQ(prompts.questions.size(), c.asks ? 2u : 0u);
        for (const auto& question : prompts.questions)
            EXPECT_EQ(question.text.toStdString(),
                      QDir::toNativeSeparators(path(c.existing)).toStdString() +
                          " already exists. Replace it?");
        EXPECT_EQ(prompts.errors.size(), c.asks ? 0u : 1u);
        EXPECT_EQ(entries(), c.existing);
        EXPECT_TRUE(tests::readFile(path(c.existing).toStdString()) == "keep") << "replaced";
        removeFiles();
        prompts.saveNames.clear();
        prompts.saveFilters.clear();
        prompts.answers.clear();
    }
}

} // namespace
} // namespace wirevane
