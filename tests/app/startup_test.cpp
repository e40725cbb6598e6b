// Start-up: the splash window, the main window's construction, the sleep, the message loop, and
// what the user sees when the catalogue or the logo cannot be had.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/support/CatalogRun.h"
#include "common/WidgetTesting.h"

namespace {

const char* const kTitle = "VELDO - Katalog Produktów";

#if CATALOG_POLISH
const char* const kLogoMessage = "Cannot open file data\\lg_pl.dat.";
#else
const char* const kLogoMessage = "Cannot open file data\\lg_de.dat.";
#endif
const char* const kInvalidLogoMessage = "Bitmap image is not valid.";

// The details window's fixed layout: the logo, six rules, the white square and three headers.
constexpr int kDetailsLayoutControls = 11;

bool catalogueExists(const WorkingFolder& folder) {
  return std::filesystem::exists(folder.path() + "/veldo28.bgp");
}

TForm3* splashWindow() {
  if (Application == nullptr) return nullptr;
  for (int i = 0; i < Application->ComponentCount(); ++i) {
    if (auto* splash = dynamic_cast<TForm3*>(Application->Components(i))) return splash;
  }
  return nullptr;
}

bool showing(TForm* form) {
  return form != nullptr && form->Widget() != nullptr && form->Widget()->isVisible();
}

// Notes every window that is shown or painted, with what else was on screen at that moment.
class WindowWatcher : public QObject {
 public:
  WindowWatcher() { qApp->installEventFilter(this); }
  ~WindowWatcher() override { qApp->removeEventFilter(this); }

  bool splashPaintedBeforeMainWindow = false;
  bool splashShownBeforeMainWindow = false;
  bool bothVisible = false;

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) return false;
    TForm3* splash = splashWindow();
    // The window is shown; its client area, which holds the picture, is painted.
    if (splash != nullptr && Form1 == nullptr) {
      if (event->type() == QEvent::Show && widget == splash->Widget()) splashShownBeforeMainWindow = true;
      if (event->type() == QEvent::Paint && widget == splash->ClientWidget())
        splashPaintedBeforeMainWindow = true;
    }
    if (!widget->isWindow()) return false;
    if (event->type() == QEvent::Show && showing(splash) && Form1 != nullptr && showing(Form1))
      bothVisible = true;
    return false;
  }
};

class StartupTest : public ::testing::Test {
 protected:
  WorkingFolder folder;
  StartupRun run;
};

TEST_F(StartupTest, SplashCoversConstructionAndTheSleepThenTheMainWindowShowsAlone) {
  folder.writeCatalogue("INSERT INTO AUTA (MKNM) VALUES ('Audi');");
  folder.writeLogo();
  WindowWatcher watcher;
  bool checkedSleep = false;
  run.onSleep = [&](unsigned) {
    TForm3* splash = splashWindow();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(showing(splash));
    EXPECT_EQ(splash->Widget()->geometry().topLeft(), QPoint(382, 238));
    EXPECT_EQ(splash->Width(), 517) << "no frame";
    EXPECT_EQ(splash->Height(), 333);
    EXPECT_FALSE(testing_support::showsScrollBar(*splash)) << "its picture fits";
    ASSERT_NE(Form1, nullptr) << "the main window is built before the sleep";
    EXPECT_FALSE(showing(Form1));
    // The picture is the dark blue artwork.
    const QImage shot = splash->Widget()->grab().toImage();
    const QColor corner = shot.pixelColor(5, 5);
    EXPECT_GT(corner.blue(), corner.red() + 40);
    checkedSleep = true;
  };
  bool mainWindowAlone = false;
  EXPECT_EQ(run.run([&] { mainWindowAlone = showing(Form1) && splashWindow() == nullptr; }), 0);

  EXPECT_TRUE(checkedSleep);
  EXPECT_EQ(run.sleeps, std::vector<unsigned>{1500});
  EXPECT_TRUE(watcher.splashShownBeforeMainWindow);
  EXPECT_TRUE(watcher.splashPaintedBeforeMainWindow);
  EXPECT_FALSE(watcher.bothVisible);
  EXPECT_TRUE(mainWindowAlone);
  EXPECT_TRUE(run.boxes.empty());
}

TEST_F(StartupTest, TitleIsTheSameInBothBuilds) {
  folder.writeCatalogue();
  folder.writeLogo();
  std::string title;
  run.run([&] { title = utf8(Application->Title().c_str()); });
  EXPECT_EQ(title, kTitle);
}

TEST_F(StartupTest, MissingCatalogueIsCreatedEmptyAndTheMakeQueryReportsIt) {
  folder.writeLogo();
  // The make list comes last: the details window is laid out when its query fails.
  int detailsControls = 0;
  std::string detailsCaption;
  run.onBox = [&](const platform::BoxRequest&) {
    detailsControls = detailsForm->ControlCount();
    detailsCaption = utf8(detailsForm->Caption().c_str());
  };
  int makeIndex = 0;
  int makeCount = 0;
  bool shown = false;
  EXPECT_EQ(run.run([&] {
    shown = showing(Form1);
    makeIndex = Form1->ComboBox1->ItemIndex();
    makeCount = Form1->ComboBox1->Items()->Count();
  }),
            0);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Message);
  EXPECT_EQ(run.boxes[0].text, "SQLITE_ERROR[1]: no such table: AUTA");
  EXPECT_EQ(run.boxes[0].caption, kTitle);
  EXPECT_TRUE(shown);
  EXPECT_EQ(makeIndex, -1);
  EXPECT_EQ(makeCount, 1) << "the placeholder alone";
  ASSERT_TRUE(std::filesystem::is_regular_file(folder.path() + "/veldo28.bgp")) << "SQLite creates it";
  EXPECT_TRUE(folder.readFile("veldo28.bgp").empty());
  EXPECT_EQ(detailsControls, kDetailsLayoutControls);
  EXPECT_EQ(detailsCaption, "VELDO");
}

// The catalogue is opened before the logo is loaded, and the make list is never reached: one box,
// the logo's, and SQLite has created the empty catalogue by the time it shows.
TEST_F(StartupTest, MissingCatalogueAndLogoShowOnlyTheLogoBoxOnceTheCatalogueIsCreated) {
  bool createdBeforeBox = false;
  run.onBox = [&](const platform::BoxRequest&) { createdBeforeBox = catalogueExists(folder); };
  EXPECT_EQ(run.run(), 0);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Exception);
  EXPECT_EQ(run.boxes[0].text, kLogoMessage);
  EXPECT_TRUE(createdBeforeBox);
  ASSERT_TRUE(std::filesystem::is_regular_file(folder.path() + "/veldo28.bgp"));
  EXPECT_TRUE(folder.readFile("veldo28.bgp").empty());
}

TEST_F(StartupTest, EmptyMakeTableGivesThePlaceholderSelectedAndNoMessage) {
  folder.writeCatalogue();
  folder.writeLogo();
  int makeIndex = -2;
  int makeCount = 0;
  run.run([&] {
    makeIndex = Form1->ComboBox1->ItemIndex();
    makeCount = Form1->ComboBox1->Items()->Count();
  });
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(makeIndex, 0);
  EXPECT_EQ(makeCount, 1);
}

// A start-up that cannot build the main window: one stop box, captioned with the title, while
// the splash stays on screen; the main window never shows. What the details window holds when
// the box shows tells how far the constructor came.
struct FailedStartup {
  const char* label;
  void (*prepare)(WorkingFolder&);
  const char* message;  // as the user sees it
  int detailsControls;  // 0: stopped at the catalogue; 1: the logo joins its window before it loads
};

void PrintTo(const FailedStartup& startup, std::ostream* out) { *out << startup.label; }

const FailedStartup kFailedStartups[] = {
    {"catalogue is a folder",
     [](WorkingFolder& folder) {
       folder.makeFolder("veldo28.bgp");
       folder.writeLogo();
     },
     "", 0},
    {"logo missing", [](WorkingFolder& folder) { folder.writeCatalogue(); }, kLogoMessage, 1},
    {"logo is a folder",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.makeFolder(logoFileName());
     },
     kLogoMessage, 1},
    {"logo not a bitmap",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.writeFile(logoFileName(), "GIF89a not a bitmap");
     },
     kInvalidLogoMessage, 1},
    {"logo cut short",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.writeLogo();
       folder.writeFile(logoFileName(), folder.readFile(logoFileName()).substr(0, 300));
     },
     kInvalidLogoMessage, 1},
    {"logo empty",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.writeFile(logoFileName(), "");
     },
     kInvalidLogoMessage, 1},
};

class FailedStartupTest : public StartupTest, public ::testing::WithParamInterface<FailedStartup> {};

TEST_P(FailedStartupTest, ShowsOneStopBoxOverTheSplashAndNeverTheMainWindow) {
  GetParam().prepare(folder);
  bool splashBehindBox = false;
  int detailsControls = -1;
  bool detailsCaptioned = true;
  run.onBox = [&](const platform::BoxRequest&) {
    splashBehindBox = showing(splashWindow());
    detailsControls = detailsForm->ControlCount();
    detailsCaptioned = !detailsForm->Caption().IsEmpty();
  };
  bool loopRan = false;
  bool formCleared = false;
  EXPECT_EQ(run.run([&] { loopRan = true; }, [&] { formCleared = Form1 == nullptr; }), 0);

  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Exception);
  EXPECT_EQ(run.boxes[0].text, GetParam().message);
  EXPECT_EQ(detailsControls, GetParam().detailsControls);
  EXPECT_FALSE(detailsCaptioned) << "the details window is laid out only after the logo";
  EXPECT_EQ(run.boxes[0].caption, kTitle);
  EXPECT_TRUE(splashBehindBox);
  EXPECT_FALSE(loopRan);
  EXPECT_TRUE(run.sleeps.empty());
  EXPECT_TRUE(formCleared) << "CreateForm clears the pointer of a form whose constructor threw";
}

INSTANTIATE_TEST_SUITE_P(Cases, FailedStartupTest, ::testing::ValuesIn(kFailedStartups),
                         [](const auto& info) {
                           std::string name = info.param.label;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

// A damaged catalogue file never crashes start-up: SQLite's error is shown and start-up goes on.
TEST_F(StartupTest, CatalogueOfRandomBytesShowsTheDatabaseError) {
  std::string noise(8192, '\0');
  unsigned state = 12345;
  for (char& c : noise) {
    state = state * 1103515245u + 12345u;
    c = static_cast<char>(state >> 24);
  }
  folder.writeFile("veldo28.bgp", noise);
  folder.writeLogo();
  bool shown = false;
  EXPECT_EQ(run.run([&] { shown = showing(Form1); }), 0);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text, "UNKNOWN_ERROR[26]: file is not a database");
  EXPECT_TRUE(shown);
}

TEST_F(StartupTest, CatalogueWithOverwrittenPagesShowsTheDatabaseError) {
  std::string rows;
  for (int i = 0; i < 300; ++i) rows += "INSERT INTO AUTA (MKNM) VALUES ('Make " + std::to_string(i) + "');";
  folder.writeCatalogue(rows);
  folder.writeLogo();
  std::string bytes = folder.readFile("veldo28.bgp");
  ASSERT_GT(bytes.size(), 4096u * 3);
  // Every page after the schema page: the table's b-tree is garbage now.
  for (std::size_t i = 4096; i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5 ^ (i * 7));
  folder.writeFile("veldo28.bgp", bytes);
  bool shown = false;
  EXPECT_EQ(run.run([&] { shown = showing(Form1); }), 0);
  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].text.rfind("SQLITE_CORRUPT[11]: ", 0), 0u) << run.boxes[0].text;
  EXPECT_TRUE(shown);
}

}  // namespace
