#include "desktop/animation/coordinatetable.h"

#include "desktop/ui/twips.h"
#include "desktop/ui/windowsetup.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScreen>
#include <QStringList>
#include <QTableWidget>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace wirevane {
namespace {

constexpr int kClientWidthTwips = 5250;
constexpr int kClientHeightTwips = 2535;
// The caption bar and border of a tool window, which the outer sizes below include.
constexpr int kFrameWidthTwips = 100;
constexpr int kFrameHeightTwips = 350;
constexpr int kRowHeightTwips = 255;
constexpr int kGridExtraTwips = 357;
constexpr int kRefreshMs = 200;
constexpr int kSignificantDigits = 15;
constexpr int kCellPaddingPixels = 3;
constexpr int kDesignRows = 2;
constexpr int kDesignColumns = 2;
const QString kFormatString = QStringLiteral("###|###########|###########|###########|####|####");
const QStringList kHeaders = {QStringLiteral("No"),       QStringLiteral("x-value"),
                              QStringLiteral("y-value"),  QStringLiteral("z-value"),
                              QStringLiteral("xz\u00B0"), QStringLiteral("yz\u00B0")};

// How a screen reader names each column: short words instead of the header's signs.
const QStringList kSpokenHeaders = {QStringLiteral("point"),     QStringLiteral("x"),
                                    QStringLiteral("y"),         QStringLiteral("z"),
                                    QStringLiteral("x-z angle"), QStringLiteral("y-z angle")};

bool sameValue(double a, double b) {
    return a == b || (std::isnan(a) && std::isnan(b));
}

} // namespace

QString tableNumber(double value) {
    value += 0.0; // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, kSignificantDigits);
    QString text = QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

CoordinateTable::CoordinateTable(Scene& scene, QWidget* parent)
    : QWidget(parent, Qt::Tool), scene_(scene) {
    setUpWindow(*this, {.name = "Form6",
                        .title = QStringLiteral("3D-Data"),
                        .deleteOnClose = true,
                        .pointSize = 8});

    MSFlexGrid1 = new QTableWidget(this);
    MSFlexGrid1->setObjectName(QStringLiteral("MSFlexGrid1"));
    MSFlexGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGrid1->verticalHeader()->hide();
    MSFlexGrid1->verticalHeader()->setMinimumSectionSize(1);
    MSFlexGrid1->verticalHeader()->setDefaultSectionSize(twipsToPixels(kRowHeightTwips));
    MSFlexGrid1->horizontalHeader()->setFixedHeight(twipsToPixels(kRowHeightTwips));
    MSFlexGrid1->horizontalHeader()->setSectionsClickable(false);
    MSFlexGrid1->horizontalHeader()->setHighlightSections(false);
    MSFlexGrid1->setColumnCount(kDesignColumns);
    MSFlexGrid1->setAccessibleName(QStringLiteral("Coordinates"));
    MSFlexGrid1->setAccessibleDescription(
        QStringLiteral("One row a point: its x, y and z and its angles in the x-z and y-z planes"));
    setGridRows(kDesignRows);
    for (int column = 0; column < kDesignColumns; ++column)
        setCellText(Index(0, column), QString());

    resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setRequestedInterval(kRefreshMs);
    connect(&Timer1, &QTimer::timeout, this, &CoordinateTable::Timer1_Timer);
    Timer1.start();
}

int CoordinateTable::Index(int row, int column) const {
    return row * gridColumns() + column;
}

int CoordinateTable::gridRows() const {
    return MSFlexGrid1->rowCount() + 1;
}

int CoordinateTable::gridColumns() const {
    return MSFlexGrid1->columnCount();
}

QString CoordinateTable::cellText(int row, int column) const {
    const QTableWidgetItem* item =
        row == 0 ? MSFlexGrid1->horizontalHeaderItem(column) : MSFlexGrid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void CoordinateTable::setGridRows(int rows) {
    MSFlexGrid1->setRowCount(std::max(rows, 1) - 1);
}

void CoordinateTable::setFormatString(const QString& format) {
    const QStringList samples = format.split(QLatin1Char('|'));
    MSFlexGrid1->setColumnCount(static_cast<int>(samples.size()));
    const QFontMetrics metrics(MSFlexGrid1->font());
    for (int column = 0; column < samples.size(); ++column) {
        setCellText(Index(0, column), samples[column]);
        // As many characters wide as the sample has, counted in digits: a "#" is much wider
        // than a digit in most fonts, and the columns hold numbers.
        const QString digits(samples[column].size(), QLatin1Char('0'));
        MSFlexGrid1->setColumnWidth(column,
                                    metrics.horizontalAdvance(digits) + 2 * kCellPaddingPixels);
    }
}

void CoordinateTable::setCellText(int index, const QString& text) {
    const int columns = gridColumns();
    if (columns <= 0 || index < 0 || index >= gridRows() * columns)
        return;
    const int row = index / columns;
    const int column = index % columns;
    if (row == 0) {
        QTableWidgetItem* header = MSFlexGrid1->horizontalHeaderItem(column);
        if (!header) {
            header = new QTableWidgetItem;
            MSFlexGrid1->setHorizontalHeaderItem(column, header);
        }
        header->setText(text);
        if (column < kSpokenHeaders.size())
            header->setData(Qt::AccessibleTextRole, kSpokenHeaders[column]);
        return;
    }
    QTableWidgetItem* item = MSFlexGrid1->item(row - 1, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (column == 0) {
            // The fixed column looks like the header row and takes no selection.
            item->setFlags(Qt::ItemIsEnabled);
            item->setBackground(palette().button());
            item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        MSFlexGrid1->setItem(row - 1, column, item);
    }
    item->setText(text);
    // The row is named once, in its first cell ("point 3"); a cell says its column ("x, 1.5"),
    // as a screen reader reads a row cell by cell.
    item->setData(Qt::AccessibleTextRole,
                  column == 0 || column >= kSpokenHeaders.size()
                      ? QStringLiteral("point %1").arg(row)
                      : QStringLiteral("%1, %2").arg(kSpokenHeaders[column], text));
}

void CoordinateTable::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CoordinateTable::writeHeaders() {
    for (int column = 0; column < kHeaders.size(); ++column)
        setCellText(Index(0, column), kHeaders[column]);
}

double CoordinateTable::columnValue(int point, int column) const {
    switch (column) {
    case 1:
        return std::floor(scene_.sceneX[point] * 1000) / 100;
    case 2:
        return std::floor(scene_.sceneY[point] * 1000) / 100;
    case 3:
        return std::floor(scene_.sceneZ[point] * 1000) / 100;
    case 4:
        return scene_.pointAngles[point][1];
    default:
        return scene_.pointAngles[point][2];
    }
}

void CoordinateTable::writeValue(int point, int column, double value) {
    written_[column - 1][point] = value;
    QString text = tableNumber(value);
    if (column > 3)
        text += QChar(0x00B0);
    setCellText(Index(point, column), text);
}

void CoordinateTable::Timer1_Timer() {
    const int points = std::clamp(scene_.pointCount, 0, kMaxPoints);
    const bool layOut = scene_.tableInitialized == 0;
    if (points > 0 && layOut) {
        setGridRows(points + 1);
        setFormatString(kFormatString);
    }
    if (points > 0) {
        if (layOut)
            writeHeaders();
        for (int i = 1; i <= points; ++i) {
            if (layOut)
                setCellText(Index(i, 0), QString::number(i));
            for (int column = 1; column <= kValueColumns; ++column) {
                const double value = columnValue(i, column);
                if (!sameValue(value, written_[column - 1][i]))
                    writeValue(i, column, value);
            }
        }
        if (layOut) {
            setOuterHeightTwips(kRowHeightTwips * points + kGridExtraTwips + kFrameHeightTwips);
            writeHeaders();
            for (int i = 1; i <= points; ++i) {
                setCellText(Index(i, 0), QString::number(i));
                for (int column = 1; column <= kValueColumns; ++column)
                    writeValue(i, column, columnValue(i, column));
            }
        }
    }
    scene_.tableInitialized = 1;
}

int CoordinateTable::outerWidthTwips() const {
    return pixelsToTwips(width()) + kFrameWidthTwips;
}

int CoordinateTable::outerHeightTwips() const {
    return pixelsToTwips(height()) + kFrameHeightTwips;
}

void CoordinateTable::setOuterHeightTwips(int twips) {
    int client = twipsToPixels(twips - kFrameHeightTwips);
    // A long table still fits on the screen; the grid scrolls the rest.
    if (const QScreen* display = screen())
        client = std::min(client,
                          display->availableGeometry().height() - twipsToPixels(kFrameHeightTwips));
    resize(width(), std::max(client, 1));
}

void CoordinateTable::resizeEvent(QResizeEvent*) {
    const int gridWidth = std::max(outerWidthTwips() - kFrameWidthTwips, 0);
    const int gridHeight = std::max(outerHeightTwips() - kFrameHeightTwips, 0);
    MSFlexGrid1->setGeometry(0, 0, twipsToPixels(gridWidth), twipsToPixels(gridHeight));
}

void CoordinateTable::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closing();
}

} // namespace wirevane
