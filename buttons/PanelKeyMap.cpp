#include "buttons/PanelKeyMap.h"

#include "model/SongModel.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {
constexpr int Columns = SongModel::Columns;
constexpr int KeyRows = 4;
constexpr int ShiftedRow = 4;
const QPoint NoCell(-1, -1);

// Linux input event codes of the keys, row by row.
constexpr quint32 XkbOffset = 8;
constexpr quint32 RowCodes[KeyRows][Columns] = {
    {2, 3, 4, 5, 6, 7, 8, 9, 10},
    {16, 17, 18, 19, 20, 21, 22, 23, 24},
    {30, 31, 32, 33, 34, 35, 36, 37, 38},
    {44, 45, 46, 47, 48, 49, 50, 51, 52},
};
constexpr quint32 KeypadCodes[Columns] = {79, 80, 81, 75, 76, 77, 71, 72, 73};

// The same keys as Qt names them on a US layout.
constexpr int RowKeys[KeyRows][Columns] = {
    {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8,
     Qt::Key_9},
    {Qt::Key_Q, Qt::Key_W, Qt::Key_E, Qt::Key_R, Qt::Key_T, Qt::Key_Y, Qt::Key_U, Qt::Key_I,
     Qt::Key_O},
    {Qt::Key_A, Qt::Key_S, Qt::Key_D, Qt::Key_F, Qt::Key_G, Qt::Key_H, Qt::Key_J, Qt::Key_K,
     Qt::Key_L},
    {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_B, Qt::Key_N, Qt::Key_M, Qt::Key_Comma,
     Qt::Key_Period},
};
const QString ShiftSign = QStringLiteral("\u21e7");

// X11 and Wayland number keys by their place: the input event code plus 8.
bool reportsKeyPlaces()
{
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}
} // namespace

QPoint PanelKeyMap::cellFor(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return NoCell;
    const bool shift = modifiers & Qt::ShiftModifier;
    if (event.nativeScanCode() > XkbOffset && reportsKeyPlaces())
        return cellForScanCode(event.nativeScanCode(), shift);
    return cellForKey(event.key(), shift, modifiers & Qt::KeypadModifier);
}

QPoint PanelKeyMap::cellForScanCode(quint32 scanCode, bool shift)
{
    const quint32 code = scanCode - XkbOffset;
    for (int column = 0; column < Columns; ++column) {
        if (KeypadCodes[column] == code)
            return QPoint(column, ShiftedRow);
        for (int row = 0; row < KeyRows; ++row) {
            if (RowCodes[row][column] == code)
                return QPoint(column, row == 0 && shift ? ShiftedRow : row);
        }
    }
    return NoCell;
}

QPoint PanelKeyMap::cellForKey(int key, bool shift, bool keypad)
{
    for (int column = 0; column < Columns; ++column) {
        for (int row = 0; row < KeyRows; ++row) {
            if (RowKeys[row][column] == key)
                return QPoint(column, row == 0 && (shift || keypad) ? ShiftedRow : row);
        }
    }
    return NoCell;
}

QString PanelKeyMap::legend(QPoint cell)
{
    const int column = cell.x();
    const int row = cell.y();
    if (column < 0 || column >= Columns || row < 0 || row >= SongModel::Rows)
        return QString();
    const QString key = QKeySequence(RowKeys[row % KeyRows][column]).toString();
    return row == ShiftedRow ? ShiftSign + key : key;
}
