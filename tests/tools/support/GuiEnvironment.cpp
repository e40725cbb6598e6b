// The generator draws its lettering with the system's fonts, which Qt offers only once a
// QGuiApplication exists: one is made before the first test and destroyed after the last.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace {

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { application_ = std::make_unique<QGuiApplication>(argc_, argv_); }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "tools_test";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QGuiApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kGui = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

}  // namespace
