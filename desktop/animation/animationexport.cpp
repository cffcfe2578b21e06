#include "desktop/animation/animationexport.h"

#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/ui/prompts.h"
#include "formats/shapes/shapewriters.h"
#include "surfaces/imagesurface.h"
#include "surfaces/svgsurface.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QRegularExpression>
#include <cmath>
#include <new>

namespace wirevane {
namespace {

// The extensions a filter lists, in its order: "png", "svg".
QStringList extensionsOf(const QString& filter) {
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    QStringList found;
    for (auto match = pattern.globalMatch(filter); match.hasNext();)
        found << match.next().captured(1);
    return found;
}

// An export of a large window takes a moment; say so with the cursor.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

struct AnimationExport::Kind {
    QString dialogTitle;
    QString filter;
    QString failureTitle;
    QString what;
    // Why a name with another extension is refused; when empty, such a name gets the chosen
    // filter's extension after its own.
    QString otherExtension;
};

AnimationExport::AnimationExport(AnimationWindow& window, const Scene& scene, ViewSource view)
    : QObject(&window), window_(window), scene_(scene), view_(std::move(view)),
      menu_(new QMenu(&window)) {
    setObjectName(QStringLiteral("animationExport"));
    savePicture_ = menu_->addAction(QStringLiteral("Save picture as ..."));
    saveAnimation_ = menu_->addAction(QStringLiteral("Save animation as ..."));
    connect(savePicture_, &QAction::triggered, this, &AnimationExport::savePicture);
    saveObject_ = menu_->addAction(QStringLiteral("Save object as ..."));
    connect(saveAnimation_, &QAction::triggered, this, &AnimationExport::saveAnimation);
    connect(saveObject_, &QAction::triggered, this, &AnimationExport::saveObject);
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window, &QWidget::customContextMenuRequested, this, &AnimationExport::showMenu);
}

void AnimationExport::showMenu(const QPoint& position) {
    // popup, not exec: the timers and the navigation bar go on while the menu is open.
    menu_->popup(window_.mapToGlobal(position));
    // The first entry is chosen, so the keys work at once and a screen reader says it.
    menu_->setActiveAction(savePicture_);
}

QString AnimationExport::askTarget(const Kind& kind) {
    const QStringList extensions = extensionsOf(kind.filter);
    for (;;) {
        QString chosenFilter;
        QString path =
            prompts().saveFileName(&window_, kind.dialogTitle, kind.filter, &chosenFilter);
        if (path.isEmpty())
            return {};
        const QString suffix = QFileInfo(path).suffix();
        if (!extensions.contains(suffix, Qt::CaseInsensitive)) {
            if (!suffix.isEmpty() && !kind.otherExtension.isEmpty()) {
                tellFailure(kind, path, kind.otherExtension);
                return {};
            }
            if (!path.endsWith(QLatin1Char('.')))
                path += QLatin1Char('.');
            path += extensionsOf(chosenFilter).value(0, extensions.value(0));
        }
        const QFileInfo target(path);
        if (!target.exists() || target.isDir())
            return path;
        switch (prompts().askYesNoCancel(
            &window_, QStringLiteral("Replace file?"),
            QStringLiteral("%1 already exists. Replace it?").arg(QDir::toNativeSeparators(path)))) {
        case Prompts::Answer::Yes:
            return path;
        case Prompts::Answer::No:
            continue;
        case Prompts::Answer::Cancel:
            return {};
        }
    }
}

QString AnimationExport::notEnoughMemory(QSize size) {
    return QStringLiteral("There is not enough memory for a %1\u00d7%2 picture.")
        .arg(size.width())
        .arg(size.height());
}

void AnimationExport::tellFailure(const Kind& kind, const QString& path, const QString& reason) {
    prompts().tellError(&window_, kind.failureTitle,
                        QStringLiteral("The %1 could not be saved to %2.\n\n%3")
                            .arg(kind.what, QDir::toNativeSeparators(path), reason));
}

void AnimationExport::savePicture() {
    static const Kind picture{
        QStringLiteral("Save picture as"),
        QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"),
        QStringLiteral("Picture not saved"),
        QStringLiteral("picture"),
        QStringLiteral("Pictures are saved as PNG (.png) or SVG (.svg) files."),
    };
    const QString path = askTarget(picture);
    if (path.isEmpty())
        return;
    const auto format = pictureFormatOf(path);
    if (!format) {
        tellFailure(picture, path, picture.otherExtension);
        return;
    }
    const View view = view_();
    const QSize size = window_.surface().image().size();
    QByteArray bytes;
    QString reason;
    try {
        WaitCursor busy;
        if (*format == PictureFormat::Png) {
            ImageSurface surface(size.width(), size.height());
            drawCurrentView(scene_, surface, view.options);
            bytes = pngBytes(surface.composed());
        } else {
            SvgSurface surface(size.width(), size.height());
            drawCurrentView(scene_, surface, view.options);
            bytes = svgBytes(surface, QFileInfo(path).completeBaseName());
        }
    } catch (const std::bad_alloc&) {
        reason = notEnoughMemory(size);
    }
    if (reason.isEmpty())
        reason = bytes.isEmpty() ? QStringLiteral("The picture cannot be made.")
                                 : writeFileReplacing(path, bytes);
    if (!reason.isEmpty())
        tellFailure(picture, path, reason);
}

TurnAnimation AnimationExport::currentTurn() const {
    const View view = view_();
    TurnAnimation turn;
    const double step = std::fabs(scene_.turnStep);
    // As the run-mode tick does it: the turn that is not 0 runs, x-z first.
    if (view.running && step > 0) {
        if (scene_.turnXZ != 0) {
            turn.step = std::copysign(step, scene_.turnXZ);
        } else if (scene_.turnYZ != 0) {
            turn.inYZPlane = true;
            turn.step = std::copysign(step, scene_.turnYZ);
        }
    }
    turn.frames = framesForFullTurn(turn.step);
    turn.delayMs = view.tickIntervalMs;
    return turn;
}

void AnimationExport::saveAnimation() {
    // GIF bytes go only under .gif: "turn.png" becomes "turn.png.gif".
    static const Kind animation{
        QStringLiteral("Save animation as"),
        QStringLiteral("GIF animation (*.gif)"),
        QStringLiteral("Animation not saved"),
        QStringLiteral("animation"),
        QString(),
    };
    const QString path = askTarget(animation);
    if (path.isEmpty())
        return;
    const View view = view_();
    const TurnAnimation turn = currentTurn();
    QString reason;
    QByteArray bytes;
    const QSize size = window_.surface().image().size();
    try {
        WaitCursor busy;
        bytes = renderTurnAnimation(scene_, size, view.options, turn, reason);
    } catch (const std::bad_alloc&) {
        reason = notEnoughMemory(size);
    }
    if (!bytes.isEmpty())
        reason = writeFileReplacing(path, bytes);
    if (!reason.isEmpty())
        tellFailure(animation, path, reason);
}

void AnimationExport::saveObject() {
    static const Kind object{
        QStringLiteral("Save object as"),
        QStringLiteral("Wavefront OBJ (*.obj);;PLY (*.ply)"),
        QStringLiteral("Object not saved"),
        QStringLiteral("object"),
        QStringLiteral("Objects are saved as OBJ (.obj) or PLY (.ply) files."),
    };
    const QString path = askTarget(object);
    if (path.isEmpty())
        return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    // The animation does not know the object window's name; the file's own stands for it.
    const std::string name = QFileInfo(path).completeBaseName().toStdString();
    const WrittenShape written =
        suffix == QLatin1String("ply") ? writePlyShape(scene_, name) : writeObjShape(scene_, name);
    const QString reason = writeFileReplacing(path, QByteArray::fromStdString(written.bytes));
    if (!reason.isEmpty())
        tellFailure(object, path, reason);
}

} // namespace wirevane
