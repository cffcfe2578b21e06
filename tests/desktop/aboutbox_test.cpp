// The about box: its texts, shadows, logo and the one button.
#include "desktop/app/aboutbox.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace wirevane;

namespace {

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

TEST(AboutBox, ShowsTheProgramAndVersionWithDarkBlueShadows) {
    AboutBox box;
    EXPECT_EQ(box.objectName(), "Form3");
    EXPECT_EQ(box.windowTitle(), "Information");
    EXPECT_EQ(box.size(), QSize(388, 213)); // 5820 x 3195 twips
    EXPECT_EQ(box.palette().color(QPalette::Window), QColor(Qt::black));

    EXPECT_EQ(box.Label5->text(), "travenor");
    EXPECT_EQ(textColour(box.Label5), QColor(0, 255, 255));
    const struct {
        const std::array<QLabel*, 2>& pair;
        const char* text;
        QPoint front, shadow; // in pixels
    } shadowed[] = {
        {box.Label1, "Wirevane", {120, 24}, {136, 32}},
        {box.Label3, "Fullversion 3.0", {128, 64}, {136, 72}},
        {box.Label4, "for MS Windows95 and MS WindowsNT 4.0 Workstation", {128, 112}, {144, 120}},
    };
    for (const auto& s : shadowed) {
        EXPECT_EQ(s.pair[0]->text(), s.text);
        EXPECT_EQ(s.pair[1]->text(), s.text);
        EXPECT_EQ(textColour(s.pair[0]), QColor(0, 0, 64)) << s.text;
        EXPECT_EQ(textColour(s.pair[1]), QColor(Qt::white)) << s.text;
        EXPECT_EQ(s.pair[1]->pos(), s.front) << s.text;
        EXPECT_EQ(s.pair[0]->pos(), s.shadow) << s.text;
        // The front copy lies above its shadow.
        const QObjectList& order = box.children();
        EXPECT_GT(order.indexOf(s.pair[1]), order.indexOf(s.pair[0])) << s.text;
    }
    EXPECT_TRUE(box.Label1[1]->font().bold());
    EXPECT_EQ(box.Label1[1]->font().pointSize(), 18);

    EXPECT_FALSE(box.Label2->text().isEmpty());
    EXPECT_LE(box.Label2->text().count('\n'), 1);
    EXPECT_EQ(box.Image1->pixmap().size(), QSize(55, 53));
    EXPECT_EQ(box.Shape1->palette().color(QPalette::Window), QColor(0, 0, 128));
    EXPECT_EQ(box.Shape2->palette().color(QPalette::Window), QColor(0, 0, 64));
    // The shapes lie behind everything else.
    const QObjectList& order = box.children();
    for (QObject* child : order) {
        if (child != box.Shape1 && child != box.Shape2 && child->isWidgetType()) {
            EXPECT_GT(order.indexOf(child), order.indexOf(box.Shape2))
                << child->objectName().toStdString();
        }
    }
    EXPECT_EQ(box.Command1->text(), "&Ok");
}

TEST(AboutBox, ItsOneButtonClosesIt) {
    QWidget owner;
    owner.show();
    QPointer<AboutBox> box = openAboutBox(&owner);
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->isModal());
    EXPECT_EQ(box->parentWidget(), &owner);
    QTest::mouseClick(box->Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(box.isNull());
}

TEST(AboutBox, ShowAboutBoxReturnsWhenClosed) {
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<AboutBox*>(window);
            if (box && box->isVisible()) {
                shown = true;
                box->Command1->click();
            }
        }
    });
    showAboutBox(nullptr);
    EXPECT_TRUE(shown);
}
