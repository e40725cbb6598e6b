#include "bench/support/AppSession.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "app/Unit1.h"
#include "app/WinMain.h"
#include "bench/support/RatioReporter.h"
#include "platform/Dialogs.h"

namespace bench {

std::string scaleCatalogueFolder() { return CATALOG_BENCH_SCALE_FOLDER; }
std::string demoCatalogueFolder() { return CATALOG_BENCH_DEMO_FOLDER; }

int runAppBenchmarks(int argc, char** argv, const std::function<void(const RatioReporter&)>& report) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  useProgramCodePage();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (report) report(reporter);
  benchmark::Shutdown();
  return 0;
}

AppSession::AppSession(const std::string& folder)
    : previousFolder_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(folder);
  platform::setBoxHandler([this](const platform::BoxRequest&) {
    ++boxes_;
    return IDOK;
  });
  Application = new TApplication();
  initGlobals();
  Application->CreateForm(Form1);
  Form1->Show();
  QApplication::processEvents();
}

AppSession::~AppSession() {
  freeGlobals();
  // The program never frees its run-time controls; a benchmark that starts it more than once does,
  // while the main window that owns some of them still exists.
  for (TImage*& image : previewImages) {
    delete image;
    image = nullptr;
  }
  for (TImage*& image : detailsImages) {
    delete image;
    image = nullptr;
  }
  delete detailsForm;
  detailsForm = nullptr;
  // The labels went with the details window that owned them; a later session starts without.
  for (auto* table : {numberLabels, nameLabels, quantityLabels}) {
    for (int i = 0; i < kItemSlots; ++i) table[i] = nullptr;
  }
  for (TLabel*& label : infoLabels) label = nullptr;
  detailsItemCount = 0;
  hoveredItem = 0;
  delete Application;
  Application = nullptr;
  Form1 = nullptr;
  platform::setBoxHandler({});
  std::filesystem::current_path(previousFolder_);
}

}  // namespace bench
