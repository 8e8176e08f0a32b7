#include "ui/element_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTransform>
#include <functional>
#include <map>

#include "model/install_paths.h"

namespace ohmara {

namespace {

// The sheet is 846 x 608 pixels; its background marks every grid point, so
// that the student sees where branches and wires snap to.
constexpr int kSheetWidth = 846;
constexpr int kSheetHeight = 608;
constexpr int kGridStep = 10;

// Each symbol is drawn for a horizontal branch: the branch line runs through
// the picture at `lineRow`, entering at the left edge and leaving at the
// right. The sizes and line rows fit the offsets at which the sheet places
// the pictures relative to a branch's start terminal, so the symbol sits on
// the branch line and covers it.
struct Symbol {
  int width;
  int height;
  int lineRow;
  std::function<void(QPainter&, int width, int lineRow)> draw;
};

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void DrawResistorSymbol(QPainter& p, int width, int line) {
  p.drawLine(0, line, 3, line);
  p.drawRect(3, line - 4, width - 7, 8);
  p.drawLine(width - 4, line, width - 1, line);
}

void DrawInductorSymbol(QPainter& p, int width, int line) {
  // Four half-turns standing on the branch line.
  const int turn = (width - 4) / 4;
  p.drawLine(0, line, 2, line);
  for (int i = 0; i < 4; ++i) p.drawArc(2 + turn * i, line - turn, turn, 2 * turn, 0, 180 * 16);
  p.drawLine(2 + 4 * turn, line, width - 1, line);
}

void DrawCapacitorSymbol(QPainter& p, int width, int line) {
  const int left = width / 2 - 2;
  const int right = width / 2 + 1;
  p.drawLine(0, line, left, line);
  p.drawLine(right, line, width - 1, line);
  p.drawLine(left, line - 8, left, line + 8);
  p.drawLine(right, line - 8, right, line + 8);
}

// A circle with an arrow inside; `forward` points the arrow from the start
// terminal towards the end terminal (the direction a positive EMF drives).
void DrawSourceSymbol(QPainter& p, int width, int line, bool forward) {
  const int radius = width / 2 - 1;
  const QPoint centre(width / 2, line);
  p.drawEllipse(centre, radius, radius);
  p.drawLine(0, line, centre.x() - radius, line);
  p.drawLine(centre.x() + radius, line, width - 1, line);
  const int tip = forward ? centre.x() + radius - 3 : centre.x() - radius + 3;
  const int tail = forward ? centre.x() - radius + 3 : centre.x() + radius - 3;
  const int back = forward ? -3 : 3;
  p.drawLine(tail, line, tip, line);
  p.drawLine(tip, line, tip + back, line - 3);
  p.drawLine(tip, line, tip + back, line + 3);
}

const std::map<QString, Symbol>& HorizontalSymbols() {
  static const std::map<QString, Symbol> symbols = {
      {"Rh", {24, 17, 8, DrawResistorSymbol}},
      {"Lh", {28, 8, 7, DrawInductorSymbol}},
      {"Ch", {10, 21, 10, DrawCapacitorSymbol}},
      {"Ehr", {20, 21, 10, [](QPainter& p, int w, int l) { DrawSourceSymbol(p, w, l, true); }}},
      {"Eh", {20, 21, 10, [](QPainter& p, int w, int l) { DrawSourceSymbol(p, w, l, false); }}},
  };
  return symbols;
}

// The vertical pictures are the horizontal ones turned a quarter clockwise:
// the start terminal comes on top, a turned "Ehr" points down (the vertical
// source with E > 0, "Evd"), and the inductor's turns stand to the right of
// the branch line, which then runs down column height - 1 - lineRow. The
// symmetric symbols have an odd height, so their line stays in the middle.
const std::map<QString, QString>& VerticalOf() {
  static const std::map<QString, QString> turned = {
      {"Rv", "Rh"}, {"Lv", "Lh"}, {"Cv", "Ch"}, {"Evd", "Ehr"}, {"Ev", "Eh"}};
  return turned;
}

QImage DrawSymbol(const Symbol& symbol) {
  QImage image = Blank(symbol.width, symbol.height);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 1));
  symbol.draw(painter, symbol.width, symbol.lineRow);
  return image;
}

QImage TurnToVertical(const QImage& horizontal) { return horizontal.transformed(QTransform().rotate(90)); }

QImage DrawBackground() {
  QImage image = Blank(kSheetWidth, kSheetHeight);
  const QRgb dot = qRgb(170, 170, 170);
  for (int y = 0; y < kSheetHeight; y += kGridStep)
    for (int x = 0; x < kSheetWidth; x += kGridStep) image.setPixel(x, y, dot);
  return image;
}

QString BaseName(const QString& fileName) { return QFileInfo(fileName).completeBaseName(); }

}  // namespace

QStringList ElementPictureNames() {
  return {"back.bmp", "Rh.bmp", "Lh.bmp", "Ch.bmp",  "Ehr.bmp", "Eh.bmp",
          "Rv.bmp",   "Lv.bmp", "Cv.bmp", "Evd.bmp", "Ev.bmp"};
}

QImage DrawElementPicture(const QString& name) {
  if (!ElementPictureNames().contains(name)) return {};
  const QString base = BaseName(name);
  if (base == "back") return DrawBackground();
  const auto& horizontal = HorizontalSymbols();
  if (auto it = horizontal.find(base); it != horizontal.end()) return DrawSymbol(it->second);
  return TurnToVertical(DrawSymbol(horizontal.at(VerticalOf().at(base))));
}

QImage LoadElementPicture(const QString& name, const QString& executableDirectory) {
  for (const std::filesystem::path& folder :
       PictureFolders(QDir::currentPath().toStdString(), executableDirectory.toStdString())) {
    const QString path = QDir(QString::fromStdString(folder.string())).filePath(name);
    if (QFileInfo::exists(path)) {
      QImage image(path);
      if (!image.isNull()) return image;
    }
  }
  return DrawElementPicture(name);
}

bool WriteElementPictures(const QString& directory) {
  if (!QDir().mkpath(directory)) return false;
  bool allWritten = true;
  for (const QString& name : ElementPictureNames())
    allWritten = DrawElementPicture(name).save(QDir(directory).filePath(name), "BMP") && allWritten;
  return allWritten;
}

}  // namespace ohmara
