#include "ui/widget_style.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QWidget>
#include <algorithm>

namespace ohmara {

namespace {
// Unhinted: at these sizes the light hinting a desktop asks for moves no
// advance and hardly a pixel, yet costs a hinting pass over every glyph the
// first paint draws.
QFont FontOf(const QString& family, QFont::StyleHint hint, int pixelHeight, bool bold) {
  QFont font(family);
  font.setStyleHint(hint);
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}
}  // namespace

// The windows were laid out for a narrow 11-pixel sans font; Liberation Sans
// keeps those widths where the desktop's default sans is wider.
QFont InterfaceFont(int pixelHeight, bool bold) {
  return FontOf(QStringLiteral("Liberation Sans"), QFont::SansSerif, pixelHeight, bold);
}

// Times New Roman's metric twin, named itself: a family the font database
// does not hold sends Qt through fontconfig's whole fallback search, several
// times the cost of loading the font.
QFont SerifFont(int pixelHeight, bool bold) {
  return FontOf(QStringLiteral("Liberation Serif"), QFont::Serif, pixelHeight, bold);
}

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int left, int top, int width, int height,
                   bool bold) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(bold);
  label->setFont(font);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  if (width > 0 && height > 0) {
    label->setGeometry(left, top, width, height);
  } else {
    label->adjustSize();
    label->move(left, top);
  }
  return label;
}

QLineEdit* PlaceEdit(QWidget* parent, const char* name, const QString& text, int left, int top, int width) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(left, top, width, 21);
  return edit;
}

QPushButton* PlacePushButton(QWidget* parent, const char* name, const QString& text, QRect bounds) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(bounds);
  return button;
}

QFrame* PlacePanel(QWidget* parent, const char* name, QRect bounds) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  panel->setGeometry(bounds);
  return panel;
}

QTableWidget* PlaceGrid(QWidget* parent, const char* name, int rows, int columns, QRect bounds) {
  auto* grid = new QTableWidget(rows, columns, parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setGeometry(bounds);
  grid->horizontalHeader()->hide();
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setDefaultSectionSize(kGridColumnWidth);
  grid->verticalHeader()->setDefaultSectionSize(24);
  return grid;
}

void MakeGridEditable(QTableWidget* grid) {
  grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
  grid->setTabKeyNavigation(true);
  grid->setEditTriggers(QAbstractItemView::AllEditTriggers);
}

void FixClientSize(QWidget* window, int width, int height) { window->setFixedSize(width, height); }

QIcon PrintIcon() {
  return QIcon::fromTheme(QStringLiteral("document-print"),
                          QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView));
}

void SetPrintIconOnFirstShow(QMenu* menu, QAction* print) {
  QObject::connect(menu, &QMenu::aboutToShow, print, [print] {
    if (print->icon().isNull()) print->setIcon(PrintIcon());
  });
}

void CentreOnDesktop(QWidget* window) {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    window->move(area.center() - window->rect().center());
  }
}

void KeepOnDesktop(QWidget* window) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = window->frameGeometry();
  const int x = std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1));
  const int y = std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1));
  if (x != frame.left() || y != frame.top()) window->move(window->pos() + QPoint(x - frame.left(), y - frame.top()));
}

void Present(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace ohmara
