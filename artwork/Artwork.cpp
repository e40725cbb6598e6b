#include "artwork/Artwork.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

namespace artwork {

QFont letteringFont(int pixelSize, bool bold, bool smooth) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  if (!smooth) f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

QImage drawSplash(Language language) {
  QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);

  QLinearGradient sky(0, 0, 0, kSplashHeight);
  sky.setColorAt(0, QColor(14, 38, 104));
  sky.setColorAt(1, QColor(4, 14, 54));
  painter.fillRect(image.rect(), sky);

  // A silencer and its tail pipe in outline, behind the lettering.
  painter.setPen(QPen(QColor(60, 96, 170), 3));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRectF(150, 228, 230, 64), 28, 28);
  painter.drawLine(QPointF(20, 260), QPointF(150, 260));
  painter.drawLine(QPointF(380, 270), QPointF(497, 270));

  painter.setPen(Qt::white);
  QFont big = letteringFont(104, true, true);
  big.setItalic(true);
  painter.setFont(big);
  painter.drawText(QRect(0, 20, kSplashWidth, 130), Qt::AlignCenter, QStringLiteral("VELDO"));
  painter.fillRect(QRect(108, 150, 300, 4), QColor(200, 24, 30));

  QFont slogan = letteringFont(20, false, true);
  slogan.setItalic(true);
  painter.setFont(slogan);
  painter.drawText(QRect(0, 164, kSplashWidth, 30), Qt::AlignCenter,
                   language == Language::kGerman ? QStringLiteral("Leise. Sauber. Zuverlässig.")
                                                 : QStringLiteral("Cicho. Czysto. Niezawodnie."));
  painter.setFont(letteringFont(24, true, true));
  painter.drawText(QRect(0, 196, kSplashWidth, 34), Qt::AlignCenter,
                   language == Language::kGerman ? QStringLiteral("Katalog der Abgasanlagen")
                                                 : QStringLiteral("Katalog układów wydechowych"));
  painter.setFont(letteringFont(12, false, true));
  painter.drawText(QRect(0, kSplashHeight - 26, kSplashWidth - 14, 20), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("2017"));
  return image;
}

const IconPixels& windowIconPixels() {
  // '.' transparent, 'n' navy, 'w' white, 'r' red, 's' silver.
  static const char* const kArt[16] = {
      "................", ".nnnnnnnnnnnnnn.", ".nwwnnnnnnnnwwn.", ".nwwnnnnnnnnwwn.",
      ".nnwwnnnnnnwwnn.", ".nnwwnnnnnnwwnn.", ".nnnwwnnnnwwnnn.", ".nnnwwnnnnwwnnn.",
      ".nnnnwwnnwwnnnn.", ".nnnnwwnnwwnnnn.", ".nnnnnwwwwnnnnn.", ".nnnnnnwwnnnnnn.",
      ".nnnnnnnnnnnnnn.", ".nrrrrrrrrrrsss.", ".nnnnnnnnnnnnnn.", "................",
  };
  static const IconPixels kPixels = [] {
    IconPixels pixels{};
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        switch (kArt[y][x]) {
          case 'n':
            pixels[y][x] = 4;
            break;
          case 'w':
            pixels[y][x] = 15;
            break;
          case 'r':
            pixels[y][x] = 9;
            break;
          case 's':
            pixels[y][x] = 7;
            break;
          default:
            pixels[y][x] = -1;
            break;
        }
      }
    }
    return pixels;
  }();
  return kPixels;
}

const IconPalette& windowIconPalette() {
  // The 16 colours of the Windows standard palette, in its order.
  static const IconPalette kPalette = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080, 0xFF800080,
                                       0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000, 0xFF00FF00, 0xFFFFFF00,
                                       0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, 0xFFFFFFFF};
  return kPalette;
}

}  // namespace artwork
