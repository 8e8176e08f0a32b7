#include "ui/element_pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPolygonF>

#include "editor/element_symbols.h"
#include "model/install_paths.h"

namespace ohmara {

namespace {

// The sheet is 846 x 608 pixels; its background marks every grid point, so
// that the student sees where branches and wires snap to.
constexpr int kSheetWidth = 846;
constexpr int kSheetHeight = 608;
constexpr int kGridStep = 10;

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

// The symbol's strokes one pixel wide, unsmoothed: a point of the strokes is
// the pixel it names, so the leads meet the branch line the sheet draws.
QImage DrawSymbol(const ElementSymbol& symbol) {
  QImage image = Blank(symbol.width, symbol.height);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 1));
  for (const std::vector<SymbolPoint>& stroke : symbol.strokes) {
    QPolygonF line;
    for (const SymbolPoint& p : stroke) line << QPointF(p.x, p.y);
    if (line.size() == 2 && line[0] == line[1]) painter.drawPoint(line[0]);
    else painter.drawPolyline(line);
  }
  return image;
}

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
  if (BaseName(name) == "back") return DrawBackground();
  for (int i = 0; i < ElementPictureNames().size(); ++i) {
    const auto picture = static_cast<Picture>(i);
    if (QString::fromUtf8(PictureFile(picture).data(), static_cast<qsizetype>(PictureFile(picture).size()))
            .endsWith(QLatin1Char('/') + name))
      return DrawSymbol(SymbolOf(picture));
  }
  return {};
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
