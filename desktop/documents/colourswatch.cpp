#include "desktop/documents/colourswatch.h"

#include "desktop/ui/accessibility.h"
#include "desktop/ui/updownspinner.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace wirevane {

QColor toQColor(Colour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Colour fromQColor(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return static_cast<Colour>(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

void nameObjectFields(QWidget* name, QWidget* axisOrder, UpDownSpinner* spinner,
                      ColourSwatch* object, ColourSwatch* background, ColourSwatch* cross) {
    name->setAccessibleName(QStringLiteral("Name"));
    axisOrder->setAccessibleName(QStringLiteral("Axis order"));
    spinner->setAccessibleNames(QStringLiteral("Axis order"));
    object->setAccessibleName(QStringLiteral("Object colour"));
    background->setAccessibleName(QStringLiteral("Background colour"));
    cross->setAccessibleName(QStringLiteral("Cross colour"));
}

ColourSwatch::ColourSwatch(QWidget* parent) : QPushButton(parent) {}

void ColourSwatch::setColour(Colour colour) {
    colour_ = colour & 0xFFFFFF;
    setAccessibleDescription(colourWords(colour_));
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const int inset = isDown() ? 4 : 3;
    const QRect face = rect().adjusted(inset, inset, -inset, -inset);
    if (face.isValid())
        painter.fillRect(face, toQColor(colour_));
}

} // namespace wirevane
