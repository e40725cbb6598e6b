#include "app/support/DetailsCatalogue.h"

#include <QImage>

#include "app/Unit1.h"
#include "app/support/UserInput.h"
#include "common/WidgetTesting.h"
#include "tools/ImageFiles.h"

namespace details_testing {

std::string sqlText(const char* value) {
  if (value == nullptr) return "NULL";
  std::string literal = "'";
  for (const char* c = value; *c != '\0'; ++c) {
    literal += *c;
    if (*c == '\'') literal += '\'';
  }
  return literal + "'";
}

std::string systemSql(const std::string& id, const std::string& veldo, const std::vector<TestPart>& parts) {
  const std::string key = sqlText(id.c_str());
  std::string sql =
      "INSERT INTO AUTA (ID_UKLAD, VELDO, MKNM, TYSP, MDNM, MDCA, CYPR, CYPR_START, CYPR_END, CUCP, CUCP_VAL,"
      " MCAT, MDIE, ITER, UKLADY, ADDI) VALUES (" +
      key + ", " + sqlText(veldo.c_str()) + ", 'Make " + id + "', 'Model " + id +
      "', 'Version', 'Body', '2001 - 2005', '2001', '2005', 'Engine', '1.6', 'CAT', '', '1', " +
      sqlText(veldo.c_str()) + ", 'Additional');";
  for (const TestPart& part : parts) {
    const std::string partKey = sqlText(part.key);
    const std::string silencer = sqlText((std::string("s") + (part.key ? part.key : "null")).c_str());
    const std::string kind = sqlText((std::string("k") + (part.key ? part.key : "null")).c_str());
    sql += "INSERT INTO T_U (ID_KEY, ID_UKLAD, ID_TLUMIK, VISIBLE, VELDO_PIC_GRAFOS, X, Y, W, H) VALUES (" +
           partKey + ", " + key + ", " + silencer + ", " + sqlText(part.visible) + ", " +
           sqlText(part.picture) + ", '" + std::to_string(part.x) + "', '" + std::to_string(part.y) + "', '" +
           std::to_string(part.width) + "', '" + std::to_string(part.height) + "');";
    if (part.number != nullptr) {
      sql += "INSERT INTO TLUMIK VALUES (" + silencer + ", " + kind + ", " + sqlText(part.number) + ");";
    }
    sql += "INSERT INTO TLUMIK_KIND VALUES (" + kind + ", " + sqlText(part.kindDe) + ", " +
           sqlText(part.kindPl) + ");";
    for (const TestElement& element : part.elements) {
      sql += "INSERT INTO T_U_ELEMENT VALUES (" + partKey + ", " + sqlText(element.number) + ", " +
             sqlText(element.picture) + ", '" + std::to_string(element.x) + "', '" +
             std::to_string(element.y) + "', '" + std::to_string(element.width) + "', '" +
             std::to_string(element.height) + "', " + sqlText(element.quantity) + ");";
    }
  }
  return AnsiString::FromUtf8(sql).str();
}

namespace {

QImage framedPicture(int width, int height, QRgb fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(0xFFFFFFFF);
  for (int y = 2; y < height - 2; ++y) {
    for (int x = 2; x < width - 2; ++x) image.setPixel(x, y, fill);
  }
  return image;
}

void writePicture(WorkingFolder& folder, const std::string& name, const QImage& image) {
  folder.makeFolder(name.substr(0, name.rfind('/')));
  demo::writePng(folder.path() + "/" + name, image, demo::PngFormat::kRgb8, 0);
}

}  // namespace

void writeItemPicture(WorkingFolder& folder, const std::string& name, int width, int height, QRgb normal) {
  writePicture(folder, "data/data_b/" + name + ".dat", framedPicture(width, height, normal));
}

void writeHotPicture(WorkingFolder& folder, const std::string& name, int width, int height, QRgb hot) {
  writePicture(folder, "data/data_r/" + name + ".dat", framedPicture(width, height, hot));
}

void writeBackground(WorkingFolder& folder, const std::string& veldo, QRgb colour) {
  QImage image(700, 204, QImage::Format_RGB32);
  image.fill(colour);
  writePicture(folder, "data/data_p/" + veldo + ".dat", image);
}

void listSystems(const char* searchText) {
  Form1->Edit1->SetText(searchText);
  Form1->getSystemList(Form1);
}

void selectSystem(const char* searchText) {
  listSystems(searchText);
  user::clickRow(Form1->ListView1, 0);
}

void showDetailsOf(const char* searchText) {
  selectSystem(searchText);
  user::click(Form1->Button4);
}

void selectSystemBySelection(const std::string& id) {
  const AnsiString make = AnsiString::FromUtf8("Make " + id);
  TStrings* makes = Form1->ComboBox1->Items();
  Form1->ComboBox1->SetItemIndex(makes->IndexOf(make));
  Form1->ComboBox2->AddItem(AnsiString::FromUtf8("Model " + id), nullptr);
  Form1->ComboBox2->SetItemIndex(Form1->ComboBox2->Items()->Count() - 1);
  Form1->Edit1->SetText("");
  Form1->getSystemList(Form1);
  user::clickRow(Form1->ListView1, 0);
}

void showDetailsOfSelected(const std::string& id) {
  selectSystemBySelection(id);
  user::click(Form1->Button4);
}

QPoint itemCentre(int item) {
  const TImage* image = detailsImages[item];
  return QPoint(image->Left() + image->Width() / 2, image->Top() + image->Height() / 2);
}

QPoint rowPoint(int item) { return QPoint(410 + 20, 325 + 18 * item + 6); }

bool detailsPixelIs(QPoint point, QRgb colour) {
  const QImage shot = testing_support::grabClient(*detailsForm);
  return testing_support::near(testing_support::pixelAt(shot, point.x(), point.y()), QColor(colour), 8);
}

}  // namespace details_testing
