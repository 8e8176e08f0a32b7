// Renders the program's scalable icon into the PNG sizes of the hicolor
// theme: `write_icon_pngs ICON.svg DIRECTORY` writes
// DIRECTORY/<n>x<n>/apps/ohmara.png for every size menus ask for.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s ICON.svg DIRECTORY\n", argv[0]);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "%s: not a readable SVG file\n", argv[1]);
    return 1;
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
    if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/ohmara.png"), "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
