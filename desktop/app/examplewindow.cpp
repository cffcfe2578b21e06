#include "desktop/app/examplewindow.h"

#include "desktop/documents/colourswatch.h"
#include "desktop/ui/named.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/updownspinner.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 8595;
constexpr int kClientHeightTwips = 4995;
constexpr int kHelpLeftTwips = 7560;
constexpr int kHelpWidthTwips = 975;
// Room between a line's end and the control it points at, in pixels.
constexpr int kLineGap = 2;

const QColor kLineColour(0, 0, 128);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    return makeNamed<QLabel>(name, text, parent);
}

QLabel* makeHelp(QWidget* parent, const char* name, const QString& text) {
    QLabel* label = makeLabel(parent, name, text);
    label->setWordWrap(true);
    return label;
}

// A help label in the column at the right: as wide as the column, as tall as its text.
void placeHelp(QLabel* label, int topTwips) {
    const int width = twipsToPixels(kHelpWidthTwips);
    label->setGeometry(twipsToPixels(kHelpLeftTwips), twipsToPixels(topTwips), width,
                       label->heightForWidth(width));
}

ColourSwatch* makeColourButton(QWidget* parent, const char* name, Colour colour) {
    auto* button = new ColourSwatch(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setColour(colour);
    button->setEnabled(false);
    return button;
}

// A frame without caption, as the object window groups its fields.
QGroupBox* makeFrame(QWidget* parent, const char* name) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

// The middle of a control's right or left edge, in the coordinates of `window`.
QPoint rightMiddle(const QWidget* control, const QWidget* window) {
    const QRect box(control->mapTo(window, QPoint(0, 0)), control->size());
    return QPoint(box.right() + kLineGap, box.center().y());
}
QPoint leftMiddle(const QWidget* control, const QWidget* window) {
    const QRect box(control->mapTo(window, QPoint(0, 0)), control->size());
    return QPoint(box.left() - kLineGap, box.center().y());
}
QPoint firstLineStart(const QLabel* label, const QWidget* window) {
    const QPoint origin = label->mapTo(window, QPoint(0, 0));
    return QPoint(origin.x() - kLineGap, origin.y() + label->fontMetrics().height() / 2);
}

} // namespace

QString ExampleWindow::exampleText() {
    return QStringLiteral("' <- This is an example for a remark.\r\n"
                          "' Now the points are listed like: x-value/y-value/z-value\r\n"
                          "1/1/1\r\n"
                          "-1/-1/-1\r\n"
                          "1/0/-1\r\n"
                          "' White line:\r\n"
                          " \r\n"
                          "1-2 'Connects point1 and point2'\r\n"
                          "2-3\r\n"
                          "3-1\r\n");
}

ExampleWindow::ExampleWindow(QWidget* parent)
    : QDialog(parent), Text1(new QPlainTextEdit(this)), Frame3(makeFrame(this, "Frame3")),
      Label4(makeLabel(Frame3, "Label4", QStringLiteral("Name :"))),
      Text2(new QLineEdit(QStringLiteral("noname.kfm"), Frame3)),
      Label6(makeLabel(Frame3, "Label6", QStringLiteral("Change x,y,z :"))),
      Text3(new QLineEdit(QStringLiteral("0"), Frame3)), UpDown1(new UpDownSpinner(Frame3)),
      Check1(new QCheckBox(QStringLiteral("Cross"), Frame3)), Frame2(makeFrame(this, "Frame2")),
      Label7(makeLabel(Frame2, "Label7", QStringLiteral("Backcolor :"))),
      Command2(makeColourButton(Frame2, "Command2", 0x000000)),
      Label5(makeLabel(Frame2, "Label5", QStringLiteral("Color :"))),
      Command1(makeColourButton(Frame2, "Command1", 0x00C000)),
      Label1(makeLabel(Frame2, "Label1", QStringLiteral("Crosscolor :"))),
      Command3(makeColourButton(Frame2, "Command3", 0xE0E0E0)),
      Label3(makeHelp(this, "Label3", QStringLiteral("choose background- color here!"))),
      Label8(makeHelp(this, "Label8", QStringLiteral("choose objekt- color here!"))),
      Label9(makeHelp(this, "Label9", QStringLiteral("choose the color of the cross here!"))),
      Label10(makeLabel(
          this, "Label10",
          QStringLiteral("Input the data of the object here. First list the points  then leve a "
                         "white line and at the end list the connections between the points. "
                         "(To enter a remark, use < ' > to enable the line!)"))),
      Command4(new QPushButton(QStringLiteral("Unload"), this)) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Example"));
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    // The small dialog font the layout was drawn for.
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    Text1->setObjectName(QStringLiteral("Text1"));
    QFont courier(QStringLiteral("Courier"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSizeF(9.75);
    Text1->setFont(courier);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setPlainText(exampleText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Text1->setEnabled(false);
    place(Text1, 120, 1200, 6855, 2895);
    // Not usable, but as easy to read as the object window's fields.
    for (QWidget* field : std::initializer_list<QWidget*>{Text1, Text2, Text3}) {
        QPalette readable = field->palette();
        readable.setColor(QPalette::Disabled, QPalette::Text,
                          readable.color(QPalette::Active, QPalette::Text));
        field->setPalette(readable);
    }

    place(Frame3, 120, 0, 3975, 1095);
    place(Label4, 600, 240, 615, 255);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setEnabled(false);
    place(Text2, 1200, 240, 2655, 285);
    place(Label6, 120, 720, 1095, 255);
    Label6->adjustSize();
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setEnabled(false);
    place(Text3, 1200, 720, 255, 285);
    // The caption is as wide as its text; the field and its spinner follow it.
    Text3->move(std::max(Text3->x(), Label6->geometry().right() + kLineGap), Text3->y());
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setRange(0, 6);
    UpDown1->setEnabled(false);
    UpDown1->setGeometry(Text3->geometry().right() + 1, Text3->y(), twipsToPixels(195),
                         Text3->height());
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setEnabled(false);
    Text1->setAccessibleName(QStringLiteral("Example object text"));
    nameObjectFields(Text2, Text3, UpDown1, Command1, Command2, Command3);
    place(Check1, 2880, 720, 975, 255);

    // The captions stand apart from their buttons, so that lines can join them.
    place(Frame2, 4200, 0, 3135, 1095);
    for (QLabel* caption : {Label7, Label5, Label1})
        caption->adjustSize();
    Label7->move(twipsToPixels(120), twipsToPixels(240));
    Label5->move(twipsToPixels(120), twipsToPixels(480));
    Label1->move(twipsToPixels(120), twipsToPixels(720));
    place(Command2, 2160, 240, 735, 255);
    place(Command1, 2160, 480, 735, 255);
    place(Command3, 2160, 720, 735, 255);

    placeHelp(Label3, 360);
    placeHelp(Label8, 1080);
    placeHelp(Label9, 1920);
    Label10->setWordWrap(true);
    place(Label10, 840, 4320, 6135, 615);

    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setDefault(true);
    Command4->setAccessibleName(QStringLiteral("Close")); // what the button does
    place(Command4, 7560, 4440, 975, 495);
    connect(Command4, &QPushButton::clicked, this, &ExampleWindow::Command4_Click);

    joinLines();
}

void ExampleWindow::joinLines() {
    const auto captionLine = [this](QLabel* caption, QPushButton* button) {
        return QLine(rightMiddle(caption, this), leftMiddle(button, this));
    };
    Line2 = captionLine(Label7, Command2);
    Line3 = captionLine(Label5, Command1);
    Line4 = captionLine(Label1, Command3);
    Line1 = QLine(rightMiddle(Command2, this), firstLineStart(Label3, this));
    Line5 = QLine(rightMiddle(Command1, this), firstLineStart(Label8, this));
    Line6 = QLine(rightMiddle(Command3, this), firstLineStart(Label9, this));
    // From the first words of the text help up to the bottom of the text box.
    const QPoint helpStart = Label10->mapTo(this, QPoint(0, 0));
    const QRect text = Text1->geometry();
    Line7 = QLine(QPoint(helpStart.x() + twipsToPixels(240), helpStart.y() - kLineGap),
                  QPoint(helpStart.x() + twipsToPixels(240), text.bottom() + kLineGap));
}

void ExampleWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(kLineColour, 1));
    for (const QLine& line : {Line1, Line2, Line3, Line4, Line5, Line6, Line7})
        painter.drawLine(line);
}

void ExampleWindow::Command4_Click() {
    close();
}

void showExampleWindow(QWidget* parent) {
    ExampleWindow window(parent);
    window.exec();
}

} // namespace wirevane
