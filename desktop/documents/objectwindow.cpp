#include "desktop/documents/objectwindow.h"

#include "core/engine/numberconversion.h"
#include "desktop/documents/textlines.h"
#include "desktop/ui/prompts.h"
#include "desktop/ui/twips.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QMdiSubWindow>

namespace wirevane {
namespace {

constexpr int kMaxAxisOrder = 6;
constexpr double kCaptionPointSize = 8;

// Below this outer height the text box has no room and is hidden.
constexpr int kMinHeightForText = 2295;
// Above this outer width the colour frame and its buttons grow with the window.
constexpr int kWidenColoursAbove = 7095;

constexpr int kText1Left = 120;
constexpr int kText1Top = 1200;
constexpr int kFrame3Left = 120;
constexpr int kFrame2Left = 4680;
constexpr int kSwatchLeft = 1320;

QFont objectTextFont() {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(9.75);
    if (!QFontInfo(font).fixedPitch())
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(9.75);
    return font;
}

// A caption wider than its place grows to the left, so it still ends beside its control.
void fitCaption(QLabel* label) {
    const QRect place = label->geometry();
    const int wanted = label->sizeHint().width();
    if (wanted <= place.width())
        return;
    const int left = std::max(0, place.right() + 1 - wanted);
    label->setGeometry(left, place.y(), std::max(wanted, place.right() + 1 - left), place.height());
}

template <typename Widget> Widget* named(Widget* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

ObjectWindow::ObjectWindow(QWidget* parent)
    : QWidget(parent), Frame3(named(new QGroupBox(this), "Frame3")),
      Label4(named(new QLabel(QStringLiteral("Name :"), Frame3), "Label4")),
      Text2(named(new QLineEdit(QString::fromLatin1(kNoName), Frame3), "Text2")),
      Label6(named(new QLabel(QStringLiteral("Change x,y,z :"), Frame3), "Label6")),
      Text3(named(new QLineEdit(QStringLiteral("0"), Frame3), "Text3")),
      UpDown1(named(new UpDownSpinner(Frame3), "UpDown1")),
      Check1(named(new QCheckBox(QStringLiteral("Cross"), Frame3), "Check1")),
      Frame2(named(new QGroupBox(this), "Frame2")),
      Label7(named(new QLabel(QStringLiteral("Backcolor :"), Frame2), "Label7")),
      Command2(named(new ColourSwatch(Frame2), "Command2")),
      Label5(named(new QLabel(QStringLiteral("Color :"), Frame2), "Label5")),
      Command1(named(new ColourSwatch(Frame2), "Command1")),
      Label1(named(new QLabel(QStringLiteral("Crosscolor :"), Frame2), "Label1")),
      Command3(named(new ColourSwatch(Frame2), "Command3")),
      Text1(named(new ObjectTextEdit(this), "Text1")), Text4(named(new QLineEdit(this), "Text4")),
      Text6(named(new QPlainTextEdit(QStringLiteral("Text6"), this), "Text6")),
      Text5(named(new QLineEdit(QStringLiteral("Text5"), this), "Text5")),
      Command4(named(new ColourSwatch(this), "Command4")),
      Command5(named(new ColourSwatch(this), "Command5")),
      Command6(named(new ColourSwatch(this), "Command6")),
      Check2(named(new QCheckBox(this), "Check2")) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromLatin1(kTitle));

    place(Frame3, 120, 0, 4455, 1095);
    place(Label4, 600, 240, 615, 255);
    place(Text2, 1200, 240, 3135, 285);
    place(Label6, 120, 720, 1095, 255);
    place(Text3, 1200, 720, 255, 285);
    place(UpDown1, 1440, 720, 195, 255);
    place(Check1, 3360, 720, 975, 255);
    place(Frame2, kFrame2Left, 0, 2175, 1095);
    place(Label7, 240, 240, 975, 255);
    place(Command2, kSwatchLeft, 240, 735, 255);
    place(Label5, 600, 480, 495, 255);
    place(Command1, kSwatchLeft, 480, 735, 255);
    place(Label1, 240, 720, 855, 255);
    place(Command3, kSwatchLeft, 720, 735, 255);
    place(Text1, kText1Left, kText1Top, 7935, 4335);

    // The layout was made for a small dialog font; a larger one would cut the captions off.
    for (QWidget* frame : {static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Frame2)}) {
        QFont small = frame->font();
        small.setPointSizeF(kCaptionPointSize);
        frame->setFont(small);
    }
    for (QLabel* caption : {Label4, Label6, Label7, Label5, Label1})
        fitCaption(caption);

    // The name and the axis order are shown, not typed.
    for (QLineEdit* field : {Text2, Text3}) {
        QPalette palette = field->palette();
        palette.setColor(QPalette::Base, palette.color(QPalette::Window));
        field->setPalette(palette);
        field->setReadOnly(true);
    }
    Text3->setEnabled(false);
    UpDown1->setRange(0, kMaxAxisOrder);
    UpDown1->setSingleStep(1);

    Command1->setColour(kDefaultObjectColour);
    Command2->setColour(kDefaultBackgroundColour);
    Command3->setColour(kDefaultCrossColour);

    Text1->setFont(objectTextFont());
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    for (QWidget* hidden :
         std::initializer_list<QWidget*>{Text4, Text6, Text5, Command4, Command5, Command6, Check2})
        hidden->hide();

    describeControls();
    setTabOrder(Text1, UpDown1);
    setTabOrder(UpDown1, Check1);
    setTabOrder(Check1, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, Command3);
    setFocusProxy(Text1);

    connect(Command1, &QPushButton::clicked, this, &ObjectWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &ObjectWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &ObjectWindow::Command3_Click);
    connect(UpDown1, &UpDownSpinner::valueChanged, this, &ObjectWindow::UpDown1_Change);
    connect(Text1, &QPlainTextEdit::textChanged, this, &ObjectWindow::valuesChanged);
    connect(Text3, &QLineEdit::textChanged, this, &ObjectWindow::valuesChanged);
    // The lengths beside the text follow the axis order.
    connect(Text3, &QLineEdit::textChanged, Text1, &ObjectTextEdit::setAxisOrderText);
    connect(Check1, &QCheckBox::toggled, this, &ObjectWindow::valuesChanged);
}

// Names and descriptions for a screen reader; each caption is also tied to its control.
void ObjectWindow::describeControls() {
    Text1->setAccessibleName(QStringLiteral("Object text"));
    Text1->setAccessibleDescription(
        QStringLiteral("Points as x/y/z, a blank line, then connections as from-to. F8 and "
                       "Shift+F8 go to the next and previous line with a finding, Ctrl+F8 tells "
                       "about the line at the caret, Escape and then Tab leaves the text."));
    nameObjectFields(Text2, Text3, UpDown1, Command1, Command2, Command3);
    UpDown1->setAccessibleDescription(QStringLiteral("Which typed value feeds which axis, 0 to 5"));
    Check1->setAccessibleDescription(QStringLiteral("Draw the axis cross"));
    Label4->setBuddy(Text2);
    Label6->setBuddy(UpDown1);
    Label7->setBuddy(Command2);
    Label5->setBuddy(Command1);
    Label1->setBuddy(Command3);
}

ObjectInput ObjectWindow::compilerInput() const {
    ObjectInput input;
    input.text = objectText().toStdString();
    input.name = Text2->text().toStdString();
    input.axisOrderText = Text3->text().toStdString();
    input.objectColor = Command1->colour();
    input.backgroundColor = Command2->colour();
    input.crossColor = Command3->colour();
    input.crossState = Check1->isChecked() ? 1 : 0;
    return input;
}

ObjectFileValues ObjectWindow::fileValues() const {
    ObjectFileValues values;
    values.text = objectText().toStdString();
    values.backgroundColor = Command2->colour();
    values.objectColor = Command1->colour();
    values.crossColor = Command3->colour();
    values.axisOrder = numberValue(Text3->text().toStdString());
    values.showCross = Check1->isChecked() ? 1 : 0;
    return values;
}

QString ObjectWindow::objectText() const {
    return crLfText(*Text1);
}

void ObjectWindow::setObjectText(const QString& crLfText) {
    setCrLfText(*Text1, crLfText);
}

void ObjectWindow::markSaved() {
    setCrLfText(*Text6, objectText());
    Text5->setText(Text3->text());
    Command4->setColour(Command1->colour());
    Command5->setColour(Command2->colour());
    Command6->setColour(Command3->colour());
    Check2->setChecked(Check1->isChecked());
    emit markedSaved();
}

void ObjectWindow::forgetSavedState() {
    Check2->setChecked(!Check1->isChecked());
}

bool ObjectWindow::hasUnsavedChanges() const {
    return Check2->isChecked() != Check1->isChecked() || Command4->colour() != Command1->colour() ||
           Command5->colour() != Command2->colour() || Command6->colour() != Command3->colour() ||
           Text5->text() != Text3->text() || crLfText(*Text6) != objectText();
}

void ObjectWindow::Command1_Click() {
    chooseColour(Command1);
}
void ObjectWindow::Command2_Click() {
    chooseColour(Command2);
}
void ObjectWindow::Command3_Click() {
    chooseColour(Command3);
}

void ObjectWindow::chooseColour(ColourSwatch* button) {
    // A cancelled dialog keeps the button's colour.
    const auto chosen = prompts().chooseColour(this, dialogColour_);
    if (!chosen)
        return;
    dialogColour_ = *chosen;
    button->setColour(fromQColor(*chosen));
    emit valuesChanged();
}

void ObjectWindow::UpDown1_Change() {
    Text3->setText(QString::number(UpDown1->value()));
}

QSize ObjectWindow::outerSize() const {
    if (const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget()))
        return frame->size();
    return frameGeometry().size();
}

void ObjectWindow::Form_Resize() {
    const float width = static_cast<float>(pixelsToTwips(outerSize().width()));
    const float height = static_cast<float>(pixelsToTwips(outerSize().height()));
    if (height >= kMinHeightForText) {
        const QRect text = Text1->geometry();
        Text1->setGeometry(text.x(), text.y(), twipsToPixels(width - 3 * kText1Left),
                           twipsToPixels(height - (kText1Top + 550)));
        Text1->show();
    } else {
        Text1->hide();
    }
    if (width > kWidenColoursAbove) {
        const float frameWidth = width - kFrame2Left - 2.5f * kFrame3Left;
        Frame2->resize(twipsToPixels(frameWidth), Frame2->height());
        const float swatchWidth = frameWidth - (2.5f * kFrame3Left + kSwatchLeft);
        for (ColourSwatch* swatch : {Command1, Command2, Command3})
            swatch->resize(twipsToPixels(swatchWidth), swatch->height());
    }
}

void ObjectWindow::Form_queryUnload(bool& cancel) {
    if (!hasUnsavedChanges())
        return;
    const Prompts::Answer answer = prompts().askYesNoCancel(
        this, QStringLiteral("Save file now?"), QStringLiteral("File not saved, save it now?"));
    if (answer == Prompts::Answer::Cancel) {
        cancel = true;
    } else if (answer == Prompts::Answer::Yes) {
        if (saveWindow_)
            saveWindow_(*this, cancel);
        else
            cancel = true; // nowhere to save to: keep the changes
    }
}

void ObjectWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void ObjectWindow::closeEvent(QCloseEvent* event) {
    bool cancel = false;
    Form_queryUnload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

} // namespace wirevane
