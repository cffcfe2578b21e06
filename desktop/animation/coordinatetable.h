#pragma once

#include "core/engine/scene.h"
#include "desktop/ui/timers.h"

#include <QString>
#include <QWidget>
#include <array>

class QTableWidget;

namespace wirevane {

// "3D-Data": a live table of every point's coordinates and angles. It lays the grid out once
// after it is opened and afterwards rewrites only the cells whose values changed.
//
// The grid is addressed as a grid with one fixed header row and one fixed column: grid row 0
// is the table's header, grid rows 1.. are its rows, and column 0 is drawn like a header.
class CoordinateTable : public QWidget {
    Q_OBJECT

  public:
    explicit CoordinateTable(Scene& scene, QWidget* parent = nullptr);

    QTableWidget* MSFlexGrid1;
    FlooredTimer Timer1; // refresh

    // The running number of a cell, by which cells are written.
    int Index(int row, int column) const;
    void Timer1_Timer();

    // The grid as cells: rows including the fixed header row.
    int gridRows() const;
    int gridColumns() const;
    QString cellText(int row, int column) const;

    // The window's outer size in twips, caption bar and border included.
    int outerWidthTwips() const;
    int outerHeightTwips() const;

  signals:
    // The window is closing ("3D-Data" is to be cleared).
    void closing();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    static constexpr int kValueColumns = 5;

    void setGridRows(int rows);
    void setFormatString(const QString& format);
    void setCellText(int index, const QString& text);
    void writeHeaders();
    double columnValue(int point, int column) const;
    void writeValue(int point, int column, double value);
    void setOuterHeightTwips(int twips);

    Scene& scene_;
    // The values last written into columns 1 to 5, per point.
    std::array<std::array<double, kPointRows>, kValueColumns> written_{};
};

// A number as the table shows it: up to 15 significant digits, a full stop whatever the locale,
// no thousands separator, an exponent only for very large or very small values.
QString tableNumber(double value);

} // namespace wirevane
