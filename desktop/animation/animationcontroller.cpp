#include "desktop/animation/animationcontroller.h"

#include "desktop/animation/animationexport.h"
#include "desktop/animation/animationwindow.h"
#include "desktop/animation/animationwindowsurface.h"
#include "desktop/animation/coordinatetable.h"
#include "desktop/animation/directmanipulation.h"
#include "desktop/animation/navigationbar.h"
#include "desktop/ui/accessibility.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace wirevane {
namespace {

constexpr int kWindowGapPixels = 8;
// How long the spoken note stays over the picture.
constexpr int kNoteShownMs = 3000;

// Puts a window beside another one, on the right if there is room, always on the screen.
void placeBeside(QWidget& window, const QWidget& anchor) {
    const QRect besides = anchor.frameGeometry();
    QPoint position(besides.right() + kWindowGapPixels, besides.top());
    if (const QScreen* display = anchor.screen()) {
        const QRect room = display->availableGeometry();
        const QSize size = window.frameGeometry().size();
        if (position.x() + size.width() > room.right())
            position.setX(besides.left() - kWindowGapPixels - size.width());
        position.setX(std::clamp(position.x(), room.left(),
                                 std::max(room.left(), room.right() - size.width())));
        position.setY(std::clamp(position.y(), room.top(),
                                 std::max(room.top(), room.bottom() - size.height())));
    }
    window.move(position);
}

} // namespace

AnimationController::AnimationController(Scene& scene, QObject* parent)
    : QObject(parent), scene_(scene), session_(scene, *this) {}

AnimationController::~AnimationController() {
    delete coordinateTable_.data();
    delete animationWindow_.data();
    delete navigationBar_.data();
}

CompileResult AnimationController::MAnimation_Click(const ObjectInput* activeWindow) {
    const CompileResult result = compileObject(scene_, activeWindow);
    NavigationBar* bar = navigationBar();
    bar->Command5->setEnabled(result.creditsOffered);
    bar->Command5->setVisible(result.creditsOffered);
    if (!result.completed)
        return result;
    emit animationStarting();
    session_.begin(activeWindow ? activeWindow->name : std::string());
    describedAgo_.invalidate();
    saidDescription_.clear();
    AnimationWindow* window = animationWindow();
    window->show();
    window->raise();
    window->activateWindow();
    return result;
}

NavigationBar* AnimationController::navigationBar() {
    if (!navigationBar_) {
        auto* bar = new NavigationBar(session_);
        connect(bar, &NavigationBar::coordinateTableOpened, this,
                &AnimationController::openCoordinateTable);
        connect(bar, &NavigationBar::coordinateTableClosed, this,
                &AnimationController::closeCoordinateTable);
        connect(bar, &NavigationBar::creditsRequested, this,
                &AnimationController::creditsRequested);
        connect(bar, &NavigationBar::closing, this, &AnimationController::navigationBarClosing);
        addWindowKeys(*bar);
        navigationBar_ = bar;
    }
    return navigationBar_;
}

AnimationWindow* AnimationController::animationWindow() {
    if (!animationWindow_) {
        auto* window = new AnimationWindow(scene_);
        connect(window, &AnimationWindow::drawRequested, this, &AnimationController::redraw);
        connect(window, &AnimationWindow::openingFinished, this,
                &AnimationController::finishOpening);
        connect(window, &AnimationWindow::closed, this,
                &AnimationController::animationWindowClosed);
        new DirectManipulation(*window, *this); // owned by the window
        new AnimationExport(*window, scene_, [this] { return exportView(); });
        addWindowKeys(*window);
        animationWindow_ = window;
    }
    return animationWindow_;
}

CoordinateTable* AnimationController::coordinateTable() {
    if (!coordinateTable_) {
        auto* table = new CoordinateTable(scene_);
        connect(table, &CoordinateTable::closing, this,
                &AnimationController::coordinateTableClosing);
        addWindowKeys(*table);
        coordinateTable_ = table;
    }
    return coordinateTable_;
}

void AnimationController::addWindowKeys(QWidget& window) {
    for (const bool forward : {true, false}) {
        auto* key = new QShortcut(
            forward ? QKeySequence(Qt::Key_F6) : QKeySequence(Qt::SHIFT | Qt::Key_F6), &window);
        connect(key, &QShortcut::activated, this,
                [this, &window, forward] { activateNextWindow(window, forward); });
    }
}

// The windows in the keyboard's round: picture, bar, table.
void AnimationController::activateNextWindow(const QWidget& from, bool forward) {
    std::vector<QWidget*> round;
    for (QWidget* window : std::initializer_list<QWidget*>{
             animationWindow_.data(), navigationBar_.data(), coordinateTable_.data()})
        if (window != nullptr && window->isVisible())
            round.push_back(window);
    const auto at = std::find(round.begin(), round.end(), &from);
    if (at == round.end() || round.size() < 2)
        return;
    const std::size_t here = static_cast<std::size_t>(at - round.begin());
    QWidget* next = round[(here + (forward ? 1 : round.size() - 1)) % round.size()];
    next->raise();
    next->activateWindow();
}

void AnimationController::draw(Scene&, RendererState& state, const RenderOptions& options,
                               const Motion& motion) {
    // Drawing reads the bar's options, and reading a control of the bar makes a missing bar.
    navigationBar();
    animationWindow_->draw(state, options, motion);
    describePicture(motion.still());
}

// Described when the picture stands still, and at most once a second while it moves.
void AnimationController::describePicture(bool still) {
    // Run mode draws sixty times a second: no words are made for drawings no one will hear.
    const bool due = still || !describedAgo_.isValid() ||
                     describedAgo_.elapsed() >= AnimationSession::kDescriptionIntervalMs;
    if (!due)
        return;
    const QString description = QString::fromStdString(session_.description());
    if (description != animationWindow_->accessibleDescription()) {
        animationWindow_->setAccessibleDescription(description);
        describedAgo_.start();
    }
    // A screen reader does not say a changed description; it says a note that shows. While the
    // picture moves the note would be a stream of numbers: it is said once the picture stands.
    if (!still || description == saidDescription_)
        return;
    saidDescription_ = description;
    if (!note_) {
        note_ = new SpokenNote(animationWindow_);
        note_->setAttribute(Qt::WA_TransparentForMouseEvents); // the hand drags through it
        note_->setHidingAfter(kNoteShownMs);
    }
    note_->say(description, QPoint(0, 0));
}

AnimationExport::View AnimationController::exportView() {
    AnimationExport::View view;
    view.options = session_.options();
    view.running = session_.running();
    view.tickIntervalMs = session_.runTickIntervalMs();
    return view;
}

void AnimationController::clear() {
    if (animationWindow_)
        animationWindow_->surface().clearSurface();
}

void AnimationController::finishOpening() {
    NavigationBar* bar = navigationBar();
    NavigationBar::setButtonColour(bar->Command7, scene_.backgroundColor);
    NavigationBar::setButtonColour(bar->Command8, scene_.objectColor);
    NavigationBar::setButtonColour(bar->Command11, scene_.crossColor);
    if (!bar->isVisible() && animationWindow_)
        placeBeside(*bar, *animationWindow_);
    // The picture keeps the keys (its arrows turn it); F6 goes to the bar.
    bar->setAttribute(Qt::WA_ShowWithoutActivating);
    bar->show();
}

void AnimationController::openCoordinateTable() {
    const bool fresh = !coordinateTable_;
    CoordinateTable* table = coordinateTable();
    if (fresh && navigationBar_)
        placeBeside(*table, *navigationBar_);
    table->show();
    // What the user asked to see takes the keys, so a screen reader goes there too.
    table->raise();
    table->activateWindow();
}

void AnimationController::closeCoordinateTable() {
    if (CoordinateTable* table = coordinateTable_) {
        coordinateTable_ = nullptr; // it is destroyed once closed
        table->close();
    }
}

void AnimationController::coordinateTableClosing() {
    coordinateTable_ = nullptr;
    NavigationBar* bar = navigationBar_;
    if (!bar)
        return;
    bar->tableWindowClosed();
    // Back to the bar, where the table was opened, rather than wherever the system puts the
    // focus once the table is gone.
    QTimer::singleShot(0, bar, [bar] {
        if (bar->isVisible())
            bar->activateWindow();
    });
}

void AnimationController::closeNavigationBar() {
    if (NavigationBar* bar = navigationBar_)
        bar->close();
}

void AnimationController::navigationBarClosing() {
    NavigationBar* bar = navigationBar_;
    if (bar && session_.options().showData)
        closeCoordinateTable();
    if (AnimationWindow* window = animationWindow_) {
        animationWindow_ = nullptr; // it is destroyed once closed
        window->close();
    }
    navigationBar_ = nullptr; // it is destroyed once closed
    emit animationEnded();
}

void AnimationController::animationWindowClosed() {
    animationWindow_ = nullptr; // it is destroyed once closed
    if (navigationBar_) {
        closeNavigationBar();
        return;
    }
    closeCoordinateTable();
    emit animationEnded();
}

} // namespace wirevane
