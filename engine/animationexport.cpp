#include "engine/animationexport.h"

#include "engine/animationwindow.h"
#include "engine/animationwindowsurface.h"
#include "engine/imagesurface.h"
#include "engine/svgsurface.h"
#include "ui/prompts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <cmath>

namespace wirevane {
namespace {

const QString kPictureFilter = QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)");
const QString kAnimationFilter = QStringLiteral("GIF animation (*.gif)");

// An export of a large window takes a moment; say so with the cursor.
class WaitCursor {
  public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

AnimationExport::AnimationExport(AnimationWindow& window, const Scene& scene, ViewSource view)
    : QObject(&window), window_(window), scene_(scene), view_(std::move(view)),
      menu_(new QMenu(&window)) {
    setObjectName(QStringLiteral("animationExport"));
    savePicture_ = menu_->addAction(QStringLiteral("Save picture as ..."));
    saveAnimation_ = menu_->addAction(QStringLiteral("Save animation as ..."));
    connect(savePicture_, &QAction::triggered, this, &AnimationExport::savePicture);
    connect(saveAnimation_, &QAction::triggered, this, &AnimationExport::saveAnimation);
    window.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&window, &QWidget::customContextMenuRequested, this, &AnimationExport::showMenu);
}

void AnimationExport::showMenu(const QPoint& position) {
    // popup, not exec: the timers and the navigation bar go on while the menu is open.
    menu_->popup(window_.mapToGlobal(position));
}

QString AnimationExport::askTarget(const QString& title, const QString& filter,
                                   const QString& extension) {
    for (;;) {
        QString path = prompts().saveFileName(&window_, title, filter);
        if (path.isEmpty())
            return {};
        if (QFileInfo(path).suffix().isEmpty())
            path += QLatin1Char('.') + extension;
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

void AnimationExport::tellFailure(const QString& title, const QString& what, const QString& path,
                                  const QString& reason) {
    prompts().tellError(&window_, title,
                        QStringLiteral("The %1 could not be saved to %2.\n\n%3")
                            .arg(what, QDir::toNativeSeparators(path), reason));
}

void AnimationExport::savePicture() {
    const QString path = askTarget(QStringLiteral("Save picture as"), kPictureFilter,
                                   QStringLiteral("png"));
    if (path.isEmpty())
        return;
    const QString title = QStringLiteral("Picture not saved");
    const auto format = pictureFormatOf(path);
    if (!format) {
        tellFailure(title, QStringLiteral("picture"), path,
                    QStringLiteral("Pictures are saved as PNG (.png) or SVG (.svg) files."));
        return;
    }
    const View view = view_();
    const QSize size = window_.surface().image().size();
    QByteArray bytes;
    {
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
    }
    const QString reason = bytes.isEmpty() ? QStringLiteral("The picture cannot be made.")
                                           : writeFileReplacing(path, bytes);
    if (!reason.isEmpty())
        tellFailure(title, QStringLiteral("picture"), path, reason);
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
    const QString path = askTarget(QStringLiteral("Save animation as"), kAnimationFilter,
                                   QStringLiteral("gif"));
    if (path.isEmpty())
        return;
    const View view = view_();
    const TurnAnimation turn = currentTurn();
    QString reason;
    QByteArray bytes;
    {
        WaitCursor busy;
        bytes = renderTurnAnimation(scene_, window_.surface().image().size(), view.options, turn,
                                    reason);
    }
    if (!bytes.isEmpty())
        reason = writeFileReplacing(path, bytes);
    if (!reason.isEmpty())
        tellFailure(QStringLiteral("Animation not saved"), QStringLiteral("animation"), path,
                    reason);
}

} // namespace wirevane
