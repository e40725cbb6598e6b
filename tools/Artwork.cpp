#include "tools/Artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

namespace demo {
namespace {

struct Colours {
  QColor outline;
  QColor body;
  QColor light;
  QColor dark;
};

// Steel greys for normal pictures and reds for highlighted ones. The greys stay apart from white
// and from each other after quantising to 16 grey levels.
const Colours kSteel{QColor(60, 62, 70), QColor(150, 154, 162), QColor(206, 210, 216), QColor(104, 106, 114)};
const Colours kRed{QColor(128, 0, 0), QColor(222, 34, 34), QColor(255, 150, 150), QColor(170, 10, 10)};

class ItemPainter {
 public:
  ItemPainter(QImage& image, const ItemPicture& picture, const Colours& colours)
      : painter_(&image),
        c_(colours),
        background_(QColor::fromRgb(picture.background)),
        w_(picture.width),
        h_(picture.height),
        variant_(picture.variant) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
  }

  void draw(ItemShape shape) {
    switch (shape) {
      case ItemShape::kFrontPipe:
        frontPipe();
        break;
      case ItemShape::kCatalyst:
        converter(0.22, false);
        break;
      case ItemShape::kParticleFilter:
        converter(0.18, true);
        break;
      case ItemShape::kFlexPipe:
        pipe(true);
        break;
      case ItemShape::kFrontSilencer:
        frontSilencer();
        break;
      case ItemShape::kMiddleSilencer:
        middleSilencer();
        break;
      case ItemShape::kPipe:
        pipe(false);
        break;
      case ItemShape::kRearSilencer:
        rearSilencer();
        break;
      case ItemShape::kTailPipe:
        tailPipe();
        break;
      case ItemShape::kSingleSilencer:
        singleSilencer();
        break;
      case ItemShape::kMountingKit:
        mountingKit();
        break;
      case ItemShape::kClamp:
        ring(true);
        break;
      case ItemShape::kMount:
        mount();
        break;
      case ItemShape::kGasket:
        ring(false);
        break;
      case ItemShape::kBracket:
        bracket();
        break;
    }
  }

 private:
  double mid() const { return h_ / 2.0; }

  void filled(const QColor& fill) {
    painter_.setPen(QPen(c_.outline, 1));
    painter_.setBrush(fill);
  }

  // A horizontal tube between x0 and x1, centred on y, with a light stripe along its top.
  void tube(double x0, double x1, double y, double thickness) {
    filled(c_.body);
    painter_.drawRect(QRectF(x0, y - thickness / 2, x1 - x0, thickness));
    if (thickness >= 6) {
      painter_.setPen(QPen(c_.light, 1));
      painter_.drawLine(QPointF(x0 + 2, y - thickness / 2 + 2), QPointF(x1 - 2, y - thickness / 2 + 2));
    }
  }

  void pipe(bool flexible) {
    const double thickness = h_ - 8;
    tube(4, w_ - 5, mid(), thickness);
    filled(c_.dark);
    painter_.drawRect(QRectF(2, 2, 3, h_ - 5));
    painter_.drawRect(QRectF(w_ - 6, 2, 3, h_ - 5));
    if (flexible) {
      painter_.setPen(QPen(c_.dark, 1));
      for (int x = 9; x < w_ - 10; x += 3) {
        painter_.drawLine(QPointF(x, mid() - thickness / 2 + 1), QPointF(x, mid() + thickness / 2 - 1));
      }
    }
  }

  void stroke(const QPainterPath& path) {
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(c_.outline, 9, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter_.drawPath(path);
    painter_.setPen(QPen(c_.body, 5, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter_.drawPath(path);
  }

  // Down from the manifold at the top left to the exhaust line 8 pixels above the bottom.
  void frontPipe() {
    const double exitY = h_ - 8;
    QPainterPath first;
    first.moveTo(8, 8);
    first.lineTo(w_ * 0.30, 8);
    first.lineTo(w_ * 0.55, exitY);
    first.lineTo(w_ - 3, exitY);
    stroke(first);
    double flangeHeight = 12;
    if (variant_ % 2 == 1) {
      QPainterPath second;
      second.moveTo(8, 24);
      second.lineTo(w_ * 0.22, 24);
      second.lineTo(w_ * 0.45, exitY);
      stroke(second);
      flangeHeight = 28;
    }
    filled(c_.dark);
    painter_.drawRect(QRectF(2, 2, 7, flangeHeight));
  }

  // Catalytic converter or particle filter: a body with cones to the pipes at both ends.
  void converter(double inset, bool filter) {
    const double left = w_ * inset;
    const double right = w_ * (1 - inset);
    const double top = filter ? 8 : 3;
    const double bottom = h_ - 4;
    tube(2, left - w_ * 0.08, mid(), 8);
    tube(right + w_ * 0.08, w_ - 3, mid(), 8);
    filled(c_.body);
    painter_.drawPolygon(QPolygonF({QPointF(left - w_ * 0.1, mid() - 4), QPointF(left, top),
                                    QPointF(left, bottom), QPointF(left - w_ * 0.1, mid() + 4)}));
    painter_.drawPolygon(QPolygonF({QPointF(right + w_ * 0.1, mid() - 4), QPointF(right, top),
                                    QPointF(right, bottom), QPointF(right + w_ * 0.1, mid() + 4)}));
    painter_.drawRoundedRect(QRectF(left, top, right - left, bottom - top), 4, 4);
    painter_.setPen(QPen(c_.dark, 1));
    if (filter) {
      for (double x = left + 5; x < right - 4; x += 6) {
        for (double y = top + 5; y < bottom - 3; y += 6) painter_.drawPoint(QPointF(x, y));
      }
      filled(c_.dark);
      painter_.drawRect(QRectF(left + (right - left) * 0.3, 2, 6, top - 2));
    } else {
      for (double x = left + 5; x < right - 4; x += 5) {
        painter_.drawLine(QPointF(x, top + 3), QPointF(x, bottom - 3));
      }
    }
    if (variant_ % 2 == 1) {
      painter_.setPen(QPen(c_.light, 1));
      painter_.drawLine(QPointF(left + 3, top + 2), QPointF(right - 3, top + 2));
    }
  }

  void frontSilencer() {
    tube(2, w_ * 0.25, mid(), 8);
    tube(w_ * 0.75, w_ - 3, mid(), 8);
    filled(c_.body);
    painter_.drawEllipse(QPointF(w_ / 2.0, mid()), w_ * 0.32, mid() - 3);
    painter_.setPen(QPen(c_.light, 1));
    painter_.drawLine(QPointF(w_ * 0.35, 6), QPointF(w_ * 0.65, 6));
  }

  void silencerBody(double left, double right, double top, double bottom) {
    filled(c_.body);
    painter_.drawRoundedRect(QRectF(left, top, right - left, bottom - top), (bottom - top) / 3,
                             (bottom - top) / 3);
    painter_.setPen(QPen(c_.light, 1));
    painter_.drawLine(QPointF(left + 6, top + 3), QPointF(right - 6, top + 3));
    if (variant_ >= 2) {
      painter_.setPen(QPen(c_.dark, 1));
      painter_.drawLine(QPointF(left + 6, top + 2), QPointF(left + 6, bottom - 2));
      painter_.drawLine(QPointF(right - 6, top + 2), QPointF(right - 6, bottom - 2));
    }
  }

  void middleSilencer() {
    tube(2, w_ * 0.16, mid(), 8);
    tube(w_ * 0.84, w_ - 3, mid(), 8);
    silencerBody(w_ * 0.14, w_ * 0.86, 3, h_ - 4);
  }

  void rearSilencer() {
    tube(2, w_ * 0.16, mid(), 8);
    if (variant_ % 2 == 1) {
      tube(w_ * 0.84, w_ - 3, h_ * 0.40, 6);
      tube(w_ * 0.84, w_ - 3, h_ * 0.68, 6);
    } else {
      tube(w_ * 0.84, w_ - 3, h_ * 0.62, 7);
    }
    silencerBody(w_ * 0.14, w_ * 0.86, 3, h_ - 4);
  }

  void tailPipe() {
    tube(2, w_ * 0.65, mid(), 8);
    filled(c_.body);
    painter_.drawPolygon(QPolygonF({QPointF(w_ * 0.65, mid() - 4), QPointF(w_ - 3, 3),
                                    QPointF(w_ - 3, h_ - 4), QPointF(w_ * 0.65, mid() + 4)}));
    filled(c_.dark);
    painter_.drawRect(QRectF(w_ - 5, 5, 2, h_ - 10));
  }

  // The flat box of the early cars with its tail pipes pointing down.
  void singleSilencer() {
    for (double x : {w_ * 0.62, w_ * 0.78}) {
      filled(c_.body);
      painter_.drawRect(QRectF(x, h_ * 0.6, 7, h_ * 0.4 - 4));
    }
    silencerBody(3, w_ - 4, 3, h_ * 0.7);
  }

  void mountingKit() {
    filled(c_.light);
    painter_.drawRect(QRectF(2, 2, w_ - 5, h_ - 5));
    filled(c_.dark);
    painter_.drawEllipse(QPointF(w_ * 0.3, h_ * 0.4), 4, 4);
    painter_.drawEllipse(QPointF(w_ * 0.65, h_ * 0.6), 5, 5);
    painter_.setPen(QPen(c_.body, 2));
    painter_.drawLine(QPointF(6, h_ - 8), QPointF(w_ - 8, h_ - 8));
  }

  // Clamp or gasket: a ring whose hole shows the background.
  void ring(bool bolt) {
    filled(c_.body);
    painter_.drawEllipse(QRectF(2, 2, w_ - 5, h_ - 5));
    painter_.setPen(QPen(c_.outline, 1));
    painter_.setBrush(background_);
    painter_.drawEllipse(QRectF(6, 6, w_ - 13, h_ - 13));
    filled(c_.dark);
    if (bolt) {
      painter_.drawRect(QRectF(w_ / 2.0 - 3, h_ - 6, 6, 2));
    } else {
      painter_.drawRect(QRectF(3, mid() - 1, 2, 2));
      painter_.drawRect(QRectF(w_ - 6, mid() - 1, 2, 2));
    }
  }

  void mount() {
    filled(c_.body);
    painter_.drawRoundedRect(QRectF(3, 3, w_ - 7, h_ - 7), 4, 4);
    filled(c_.dark);
    painter_.drawEllipse(QPointF(w_ / 2.0, 8), 2, 2);
    painter_.drawEllipse(QPointF(w_ / 2.0, h_ - 9), 2, 2);
  }

  void bracket() {
    filled(c_.body);
    painter_.drawPolygon(QPolygonF({QPointF(3, 3), QPointF(w_ - 4, 3), QPointF(w_ - 4, 9), QPointF(9, 9),
                                    QPointF(9, h_ - 4), QPointF(3, h_ - 4)}));
    filled(c_.dark);
    painter_.drawEllipse(QPointF(w_ - 8, 6), 1.5, 1.5);
    painter_.drawEllipse(QPointF(6, h_ - 8), 1.5, 1.5);
  }

  QPainter painter_;
  const Colours& c_;
  QColor background_;
  int w_;
  int h_;
  int variant_;
};

// Shrinks the font until the text fits the width, whatever fonts the system offers.
QFont fitted(QFont f, const QString& text, int width) {
  while (f.pixelSize() > 8 && QFontMetrics(f).horizontalAdvance(text) > width)
    f.setPixelSize(f.pixelSize() - 1);
  return f;
}

}  // namespace

QImage drawItemPicture(const ItemPicture& picture, bool highlighted) {
  QImage image(picture.width, picture.height, QImage::Format_RGB32);
  image.fill(picture.background);
  ItemPainter(image, picture, highlighted ? kRed : kSteel).draw(picture.shape);
  return image;
}

QImage drawSystemDrawing(const Catalog& catalog, const ExhaustSystem& system) {
  const QColor paper(244, 246, 248);
  const QColor faint(196, 200, 208);
  const QColor route(90, 96, 110);

  QImage image(kDrawingWidth, kDrawingHeight, QImage::Format_RGB32);
  image.fill(paper);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);

  // The car's floor, its wheels and the engine.
  painter.setPen(QPen(faint, 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(QRect(6, 12, kDrawingWidth - 13, kDrawingHeight - 26), 28, 28);
  painter.setPen(QPen(faint, 2));
  for (int x : {130, 570}) {
    painter.drawEllipse(QPoint(x, 34), 20, 12);
    painter.drawEllipse(QPoint(x, kDrawingHeight - 34), 20, 12);
  }
  painter.setPen(QPen(route, 1));
  painter.setBrush(faint);
  painter.drawRect(QRect(8, 14, 32, 32));

  // The exhaust line: from the engine to the first part, then along the parts to the rear.
  painter.setPen(QPen(route, 2));
  int lineStart = 40;
  int lineY = 104;
  for (const Part& part : system.parts) {
    const ItemPicture& picture = pictureOf(catalog, part);
    if (!part.visible) continue;
    if (picture.shape == ItemShape::kFrontPipe) {
      painter.drawLine(QPoint(40, 30), QPoint(part.x + 4, part.y + 8));
      lineStart = part.x + picture.width / 2;
      lineY = part.y + picture.height - 8;
      break;
    }
    if (picture.shape == ItemShape::kSingleSilencer) {
      lineStart = part.x;
      lineY = part.y + picture.height * 7 / 20;
      painter.drawLine(QPoint(40, 30), QPoint(lineStart, lineY));
      break;
    }
  }
  painter.drawLine(QPoint(lineStart, lineY), QPoint(kDrawingWidth - 6, lineY));

  painter.setPen(route);
  painter.setFont(artwork::letteringFont(12, true, false));
  painter.drawText(QRect(0, kDrawingHeight - 22, kDrawingWidth - 24, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::fromStdString(system.veldo));
  return image;
}

QImage drawLogo(artwork::Language language) {
  const QColor navy(16, 42, 110);
  const QColor red(200, 24, 30);
  QImage image(kLogoWidth, kLogoHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);

  QFont big = artwork::letteringFont(52, true, true);
  big.setItalic(true);
  painter.setFont(big);
  painter.setPen(navy);
  painter.drawText(QRect(8, 0, 200, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("VELDO"));
  painter.fillRect(QRect(10, 58, 190, 5), red);

  const QRect firstLine(212, 10, kLogoWidth - 218, 26);
  const QString first = language == artwork::Language::kGerman
                            ? QStringLiteral("Abgasanlagen und Zubehör")
                            : QStringLiteral("Układy wydechowe i akcesoria");
  painter.setFont(fitted(artwork::letteringFont(17, true, true), first, firstLine.width()));
  painter.drawText(firstLine, Qt::AlignLeft | Qt::AlignVCenter, first);

  const QRect secondLine(212, 36, kLogoWidth - 218, 22);
  const QString second = language == artwork::Language::kGerman
                             ? QStringLiteral("für Personenwagen und Transporter")
                             : QStringLiteral("do samochodów osobowych i dostawczych");
  painter.setPen(QColor(90, 96, 110));
  painter.setFont(fitted(artwork::letteringFont(13, false, true), second, secondLine.width()));
  painter.drawText(secondLine, Qt::AlignLeft | Qt::AlignVCenter, second);
  return image;
}

}  // namespace demo
