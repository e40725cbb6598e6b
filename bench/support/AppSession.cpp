#include "bench/support/AppSession.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "app/Unit1.h"
#include "app/WinMain.h"
#include "app/support/ProgramControls.h"
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
  releaseProgramControls();
  delete Application;
  Application = nullptr;
  Form1 = nullptr;
  platform::setBoxHandler({});
  std::filesystem::current_path(previousFolder_);
}

}  // namespace bench
