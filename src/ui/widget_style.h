#pragma once
// Small helpers for laying out the program's fixed-geometry windows.

#include <QFont>
#include <QIcon>
#include <QRect>
#include <QString>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableWidget;
class QWidget;

namespace ohmara {

// The interface font (a sans font) at a pixel height.
QFont InterfaceFont(int pixelHeight = 11, bool bold = false);
// A serif font for the grids and the credit line.
QFont SerifFont(int pixelHeight, bool bold = false);
// A label at a fixed place; width/height 0 = sized to its text.
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width = 0,
                   int height = 0, bool bold = true);
// A one-line edit at a fixed place, 21 pixels high.
QLineEdit* PlaceEdit(QWidget* parent, const char* name, const QString& text, int left, int top, int width);
// A push button at a fixed place.
QPushButton* PlacePushButton(QWidget* parent, const char* name, const QString& text, QRect bounds);
// A raised panel at a fixed place.
QFrame* PlacePanel(QWidget* parent, const char* name, QRect bounds);
// A grid at a fixed place: no header row or column (the program's grids
// carry their titles in their cells), kGridColumnWidth x 24-pixel cells.
inline constexpr int kGridColumnWidth = 64;
QTableWidget* PlaceGrid(QWidget* parent, const char* name, int rows, int columns, QRect bounds);
// Lets the student type into every cell of a grid, moving between cells with
// Tab, and select blocks of cells.
void MakeGridEditable(QTableWidget* grid);
// Gives a top-level window a fixed client area.
void FixClientSize(QWidget* window, int width, int height);
// The small picture of the "Печать" menu items.
QIcon PrintIcon();

// Gives `print`, an item of `menu`, the printer icon when the menu first
// opens: finding the icon reads the desktop's icon theme from disk, which
// the first paint of a window need not wait for.
void SetPrintIconOnFirstShow(QMenu* menu, QAction* print);
// Centres a top-level window on the desktop.
void CentreOnDesktop(QWidget* window);
// Moves a top-level window that grew past the desktop's right or bottom
// edge back onto it, as far as its size allows; the left and top edges stay
// on the desktop.
void KeepOnDesktop(QWidget* window);
// Shows a modeless window above the others, with the focus.
void Present(QWidget* window);

}  // namespace ohmara
