#include "desktop/app/aboutbox.h"

#include "desktop/app/pictures/pictures.h"
#include "desktop/ui/named.h"
#include "desktop/ui/twips.h"
#include "desktop/ui/windowsetup.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 5820;
constexpr int kClientHeightTwips = 3195;
const QColor kCyan(0, 255, 255);
const QColor kShadowBlue(0, 0, 64);
const QColor kNavy(0, 0, 128);

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QColor& colour) {
    auto* label = makeNamed<QLabel>(name, text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QFrame* makeShape(QWidget* parent, const char* name, const QColor& colour) {
    auto* shape = makeNamed<QFrame>(name, parent);
    shape->setFrameShape(QFrame::NoFrame);
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, colour);
    shape->setPalette(palette);
    shape->setAutoFillBackground(true);
    return shape;
}

// A text drawn twice: a dark blue copy below right, the front copy in its colour above it.
std::array<QLabel*, 2> makeShadowed(QWidget* parent, const char* name, const QString& text,
                                    const QFont& font, QPoint shadow, int left, int top, int width,
                                    int height) {
    std::array<QLabel*, 2> pair = {makeLabel(parent, name, text, kShadowBlue),
                                   makeLabel(parent, name, text, Qt::white)};
    for (QLabel* label : pair) {
        label->setFont(font);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    place(pair[0], shadow.x(), shadow.y(), width, height);
    place(pair[1], left, top, width, height);
    return pair;
}

} // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent), Label5(makeLabel(this, "Label5", QStringLiteral("travenor"), kCyan)),
      Label2(makeLabel(this, "Label2",
                       QStringLiteral("Type an object and watch it turn.\n"
                                      "Free to copy and to give away."),
                       kCyan)),
      Image1(new QLabel(this)), Shape2(makeShape(this, "Shape2", kShadowBlue)),
      Shape1(makeShape(this, "Shape1", kNavy)),
      Command1(new QPushButton(QStringLiteral("&Ok"), this)) {
    setUpWindow(*this, {.name = "Form3",
                        .title = QStringLiteral("Information"),
                        .widthTwips = kClientWidthTwips,
                        .heightTwips = kClientHeightTwips,
                        .fixedSize = true,
                        .black = true});
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // The shapes stay behind everything else; the square is the logo's shadow.
    place(Shape1, 360, 600, 5055, 1335);
    place(Shape2, 360, 240, 1215, 1215);
    Shape2->lower();
    Shape1->lower();

    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(logoPicture());
    Image1->setScaledContents(true);
    place(Image1, 240, 120, 1200, 1185);

    QFont small = font();
    small.setPointSize(8);
    QFont title = small;
    title.setBold(true);
    title.setPointSize(12);
    Label5->setFont(title);
    place(Label5, 1920, 120, 2535, 375);

    QFont name = title;
    name.setPointSize(18);
    Label1 = makeShadowed(this, "Label1", QStringLiteral("Wirevane"), name, {2040, 480}, 1800, 360,
                          2895, 375);
    Label3 = makeShadowed(this, "Label3", QStringLiteral("Fullversion 3.0"), small, {2040, 1080},
                          1920, 960, 3135, 255);
    Label4 = makeShadowed(this, "Label4",
                          QStringLiteral("for MS Windows95 and MS WindowsNT 4.0 Workstation"),
                          small, {2160, 1800}, 1920, 1680, 3495, 375);
    // The shadows were made first; each front copy goes above its shadow.
    for (const auto* pair : {&Label1, &Label3, &Label4})
        (*pair)[1]->raise();

    Label2->setFont(small);
    place(Label2, 240, 2520, 3255, 495);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    place(Command1, 4560, 2760, 1215, 375);
    connect(Command1, &QPushButton::clicked, this, &AboutBox::Command1_Click);
}

void AboutBox::Command1_Click() {
    close();
}

void showAboutBox(QWidget* parent) {
    AboutBox box(parent);
    box.exec();
}

AboutBox* openAboutBox(QWidget* parent) {
    auto* box = new AboutBox(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return box;
}

} // namespace wirevane
