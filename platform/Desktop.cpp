#include "platform/Desktop.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOptionComboBox>
#include <QTranslator>

namespace platform {
namespace {

// The desktop's style with the framework's metrics where the designed layouts depend on them.
class FrameworkStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    // A popup over the box would ignore the list's DropDownCount and show every entry; the
    // framework's list drops down below the box.
    if (hint == SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }

  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override {
    if (element == CE_HeaderLabel) {
      // A column caption longer than its column is cut with an ellipsis, as in the framework's
      // list, not clipped in the middle of a letter.
      if (const auto* header = qstyleoption_cast<const QStyleOptionHeaderV2*>(option)) {
        drawElided(*header, painter, widget);
        return;
      }
      if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option)) {
        drawElided(*header, painter, widget);
        return;
      }
    }
    QProxyStyle::drawControl(element, option, painter, widget);
  }

  int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
    if (metric == PM_ScrollBarExtent) return kScrollBarExtent;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    if (control == CC_ComboBox && option != nullptr) {
      // The designed widths leave a combo box's text the room of the framework's box: the box
      // less its edge and the drop-down button.
      const QRect inner = option->rect.adjusted(kComboEdge, kComboEdge, -kComboEdge, -kComboEdge);
      QRect rect;
      if (part == SC_ComboBoxArrow) {
        rect = QRect(inner.right() - kComboButtonWidth + 1, inner.top(), kComboButtonWidth, inner.height());
      } else if (part == SC_ComboBoxEditField) {
        rect = inner.adjusted(0, 0, -kComboButtonWidth, 0);
      }
      if (rect.isValid()) return visualRect(option->direction, option->rect, rect);
    }
    return QProxyStyle::subControlRect(control, option, part, widget);
  }

 private:
  template <class HeaderOption>
  void drawElided(HeaderOption header, QPainter* painter, const QWidget* widget) const {
    header.text = header.fontMetrics.elidedText(header.text, Qt::ElideRight, header.rect.width());
    QProxyStyle::drawControl(CE_HeaderLabel, &header, painter, widget);
  }
};

// Qt's own texts in the desktop's language, from the translations that Qt ships.
void installQtTranslations(QApplication* application) {
  auto* translator = new QTranslator(application);
  if (translator->load(QLocale::system(), "qtbase", "_",
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;  // no translation for this language: Qt's texts stay English
  }
}

}  // namespace

void prepareDesktop() {
  static QPointer<QApplication> prepared;
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (application == nullptr || prepared == application) return;
  prepared = application;
  QApplication::setStyle(new FrameworkStyle);
  installQtTranslations(application);
}

}  // namespace platform
