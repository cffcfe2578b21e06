#pragma once

#include "core/documents/objectfile.h"
#include "core/engine/objectcompiler.h"
#include "desktop/documents/colourswatch.h"
#include "desktop/documents/objecttextedit.h"
#include "desktop/ui/updownspinner.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <functional>

namespace wirevane {

// One object document: its text, name, axis order, cross switch and three colours, with
// hidden saved copies that the unsaved-changes test compares against. Lives inside a
// QMdiSubWindow; closing the sub-window runs the close question.
class ObjectWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* kNoName = "noname.kfm";
    static constexpr const char* kTitle = "3D-Objekt";
    // Outer size of a new window, in twips.
    static constexpr int kOuterWidth = 8790;
    static constexpr int kOuterHeight = 6075;

    explicit ObjectWindow(QWidget* parent = nullptr);

    // Saves the window for the close question; sets cancel when the window must stay open
    // (the save was cancelled or failed). The file commands install it.
    using SaveWindow = std::function<void(ObjectWindow& window, bool& cancel)>;
    void setSaveWindow(SaveWindow saveWindow) { saveWindow_ = std::move(saveWindow); }

    // What the Animation command reads: Text1 as CR LF text, and the other fields.
    ObjectInput compilerInput() const;

    // What a save writes to the object file.
    ObjectFileValues fileValues() const;

    // Text1 as CR LF text, and setting it from CR LF text.
    QString objectText() const;
    void setObjectText(const QString& crLfText);

    void markSaved();
    bool hasUnsavedChanges() const;
    // For values whose saved state is unknown (a recovered object): they count as unsaved.
    void forgetSavedState();

    // Event handlers.
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void UpDown1_Change();
    void Form_Resize();
    void Form_queryUnload(bool& cancel);

    QGroupBox* Frame3;
    QLabel* Label4;
    QLineEdit* Text2;
    QLabel* Label6;
    QLineEdit* Text3;
    UpDownSpinner* UpDown1;
    QCheckBox* Check1;
    QGroupBox* Frame2;
    QLabel* Label7;
    ColourSwatch* Command2;
    QLabel* Label5;
    ColourSwatch* Command1;
    QLabel* Label1;
    ColourSwatch* Command3;
    ObjectTextEdit* Text1;

    // Hidden: the full path, and the saved copies.
    QLineEdit* Text4;
    QPlainTextEdit* Text6;
    QLineEdit* Text5;
    ColourSwatch* Command4;
    ColourSwatch* Command5;
    ColourSwatch* Command6;
    QCheckBox* Check2;

  signals:
    // The user changed the text, a colour, the axis order or the cross.
    void valuesChanged();
    void markedSaved();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void describeControls();
    void chooseColour(ColourSwatch* button);
    QSize outerSize() const;

    SaveWindow saveWindow_;
    // The window's one colour dialog starts from the colour last chosen in it.
    QColor dialogColour_ = Qt::black;
};

} // namespace wirevane
