// Build-time helper: converts an XPM icon to PNG so the installed hicolor
// icons come from the same pixels the application embeds.
//
// Usage: xpm2png INPUT.xpm OUTPUT.png

#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s INPUT.xpm OUTPUT.png\n", argc > 0 ? argv[0] : "xpm2png");
    return 2;
  }

  const QString input = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);

  // XPM and PNG support is compiled into QtGui, so no application object
  // (and no display) is needed.
  QImageReader reader(input, "xpm");
  const QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "xpm2png: cannot read %s: %s\n", argv[1],
                 qPrintable(reader.errorString()));
    return 1;
  }

  QImageWriter writer(output, "png");
  if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
    std::fprintf(stderr, "xpm2png: cannot write %s: %s\n", argv[2],
                 qPrintable(writer.errorString()));
    return 1;
  }
  return 0;
}
