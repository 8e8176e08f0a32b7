#pragma once
// Small helpers for laying out the program's fixed-geometry windows.

#include <QFont>
#include <QIcon>
#include <QString>

class QLabel;
class QWidget;

namespace ohmara {

// The interface font (a sans font) at a pixel height.
QFont InterfaceFont(int pixelHeight = 11, bool bold = false);
// A serif font for the grids and the credit line.
QFont SerifFont(int pixelHeight, bool bold = false);
// A label at a fixed place; width/height 0 = sized to its text.
QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width = 0,
                   int height = 0, bool bold = true);
// Gives a top-level window a fixed client area.
void FixClientSize(QWidget* window, int width, int height);
// The small picture of the "Печать" menu items.
QIcon PrintIcon();
// Centres a top-level window on the desktop.
void CentreOnDesktop(QWidget* window);

}  // namespace ohmara
