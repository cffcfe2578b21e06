#pragma once

#include "core/engine/scene.h"

#include <QColor>
#include <QPushButton>

namespace wirevane {

QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

class ColourSwatch;
class UpDownSpinner;

// The names a screen reader gives the fields of an object window, shared by the example
// window's mock-up of one: the name, the axis order with its spinner, the three colours.
void nameObjectFields(QWidget* name, QWidget* axisOrder, UpDownSpinner* spinner,
                      ColourSwatch* object, ColourSwatch* background, ColourSwatch* cross);

// A button without caption that shows a colour and keeps it as the 24-bit value it was given,
// red in the low byte, so what is saved is exactly what was loaded.
class ColourSwatch : public QPushButton {
    Q_OBJECT

  public:
    explicit ColourSwatch(QWidget* parent = nullptr);

    Colour colour() const { return colour_; }
    void setColour(Colour colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Colour colour_ = 0;
};

} // namespace wirevane
