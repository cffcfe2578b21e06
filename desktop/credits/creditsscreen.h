#pragma once

#include "core/credits/starfield.h"
#include "desktop/ui/timers.h"
#include "surfaces/imagesurface.h"

#include <QString>
#include <QWidget>
#include <cstdint>
#include <random>

class QLabel;

namespace wirevane {

// The hidden credits screen: a flight through a star field with words zooming up in front of
// it. A click beside the word closes it.
class CreditsScreen : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWordSteps = 19; // one cycle of the word sequence

    explicit CreditsScreen(QWidget* parent = nullptr);

    // The word shown at a step of the cycle (1..kWordSteps); empty outside it.
    static QString wordOfStep(int step);

    // Replaces the seed that the start step takes from the time of day.
    void seedRandom(std::uint32_t seed) { random_.seed(seed); }
    StarField& starField() { return starField_; }
    // What the star field has drawn so far; the window only copies it to the screen.
    const QImage& picture() const { return surface_.image(); }

    void Timer1_Timer(); // starts the star field, once
    void Timer2_Timer(); // one star-field step
    void Timer3_Timer(); // the next word
    void Timer4_Timer(); // one zoom step of the word
    void Form_Click();

    QLabel* const Label1;
    FlooredTimer Timer1;
    FlooredTimer Timer2;
    FlooredTimer Timer3;
    FlooredTimer Timer4;

    int wordStep = 0;
    double wordSize = 0; // points

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool onWord(const QPoint& position) const;
    double nextRandom();

    ImageSurface surface_;
    StarField starField_;
    std::mt19937 random_;
    bool pressedBesideWord_ = false;
};

// Shows the credits screen over the whole screen, modally; returns when it has been closed.
void showCreditsScreen(QWidget* parent);

} // namespace wirevane
