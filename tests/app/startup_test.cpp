// Start-up: the splash window, the main window's construction, the sleep, the message loop, and
// what the user sees when the catalogue or the logo cannot be had.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/support/CatalogRun.h"

namespace {

const char* const kTitle = "VELDO - Katalog Produktów";

#if CATALOG_POLISH
const char* const kLogoMessage = "Cannot open file data\\lg_pl.dat.";
#else
const char* const kLogoMessage = "Cannot open file data\\lg_de.dat.";
#endif

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
    if (widget == nullptr || !widget->isWindow()) return false;
    TForm3* splash = splashWindow();
    const bool isSplash = splash != nullptr && widget == splash->Widget();
    if (isSplash && Form1 == nullptr) {
      if (event->type() == QEvent::Show) splashShownBeforeMainWindow = true;
      if (event->type() == QEvent::Paint) splashPaintedBeforeMainWindow = true;
    }
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
// the splash stays on screen; the main window never shows.
struct FailedStartup {
  const char* label;
  void (*prepare)(WorkingFolder&);
  const char* message;  // null: the build's logo message
};

const FailedStartup kFailedStartups[] = {
    {"catalogue is a folder",
     [](WorkingFolder& folder) {
       folder.makeFolder("veldo28.bgp");
       folder.writeLogo();
     },
     ""},
    {"logo missing", [](WorkingFolder& folder) { folder.writeCatalogue(); }, nullptr},
    {"logo not a bitmap",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.writeFile(logoFileName(), "GIF89a not a bitmap");
     },
     nullptr},
    {"logo cut short",
     [](WorkingFolder& folder) {
       folder.writeCatalogue();
       folder.writeLogo();
       folder.writeFile(logoFileName(), folder.readFile(logoFileName()).substr(0, 300));
     },
     nullptr},
};

class FailedStartupTest : public StartupTest, public ::testing::WithParamInterface<FailedStartup> {};

TEST_P(FailedStartupTest, ShowsOneStopBoxOverTheSplashAndNeverTheMainWindow) {
  GetParam().prepare(folder);
  bool splashBehindBox = false;
  run.onBox = [&](const platform::BoxRequest&) { splashBehindBox = showing(splashWindow()); };
  bool loopRan = false;
  bool formCleared = false;
  EXPECT_EQ(run.run([&] { loopRan = true; }, [&] { formCleared = Form1 == nullptr; }), 0);

  ASSERT_EQ(run.boxes.size(), 1u);
  EXPECT_EQ(run.boxes[0].kind, platform::BoxKind::Exception);
  EXPECT_EQ(run.boxes[0].text, GetParam().message != nullptr ? GetParam().message : kLogoMessage);
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
