// Qt's own texts come in the desktop's language: the buttons of the program's update question on
// the real box, and the edit box's context menu. Each desktop language runs in a process of its
// own, started with that language in LANG, as the program is started on such a desktop.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "forms/Texts.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"

namespace {

// How long the question may take to open before the process gives up.
constexpr int kBoxDeadlineMs = 10000;

QString withoutMnemonic(QString text) { return text.remove('&'); }

// In a process of its own: starts the application object as the program does, asks the update
// question on the real box, and reports on standard error what its buttons and the edit box's
// context menu say. The box is answered No once read.
[[noreturn]] void reportQtTexts() {
  TApplication application;
  QString buttons;
  QTimer::singleShot(kBoxDeadlineMs, [] {
    std::fputs("no box opened\n", stderr);
    std::_Exit(3);
  });
  std::function<void()> readBox = [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      QTimer::singleShot(10, readBox);
      return;
    }
    buttons = withoutMnemonic(box->button(QMessageBox::Yes)->text()) + "/" +
              withoutMnemonic(box->button(QMessageBox::No)->text());
    box->button(QMessageBox::No)->click();
  };
  QTimer::singleShot(0, readBox);
  const TextSet& text = texts();
  application.MessageBox(text.updateAskText.c_str(), text.updateAskCaption.c_str(),
                         MB_YESNO | MB_ICONQUESTION);

  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  const std::unique_ptr<QMenu> menu(edit->EditWidget()->createStandardContextMenu());
  const QString selectAll = menu->actions().last()->text().section('\t', 0, 0);

  std::fprintf(stderr, "buttons %s; select all %s\n", buttons.toUtf8().constData(),
               selectAll.toUtf8().constData());
  std::fflush(stderr);
  std::_Exit(0);  // the application object and its forms end with the process
}

// Sets an environment variable for the lifetime of the object; null unsets it.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* previous = std::getenv(name)) previous_ = previous;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() {
    if (previous_) {
      setenv(name_, previous_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> previous_;
};

struct DesktopCase {
  const char* label;
  const char* lang;
  const char* buttons;  // Yes and No, without their mnemonic marks
  const char* selectAll;
};

class DesktopLanguageTest : public ::testing::TestWithParam<DesktopCase> {};

TEST_P(DesktopLanguageTest, QuestionButtonsAndEditMenuSpeakTheDesktopsLanguage) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a new process reads the new LANG
  // LANG alone says the language, as on a desktop that sets nothing more specific.
  const ScopedVariable all("LC_ALL", nullptr);
  const ScopedVariable messages("LC_MESSAGES", nullptr);
  const ScopedVariable language("LANGUAGE", nullptr);
  const ScopedVariable lang("LANG", GetParam().lang);
  const std::string expected =
      std::string("buttons ") + GetParam().buttons + "; select all " + GetParam().selectAll + "\n";
  EXPECT_EXIT(reportQtTexts(), ::testing::ExitedWithCode(0), expected);
}

const DesktopCase kDesktops[] = {
    {"German", "de_DE.UTF-8", "Ja/Nein", "Alles auswählen"},
    {"Polish", "pl_PL.UTF-8", "Tak/Nie", "Zaznacz wszystko"},
    {"IcelandicWithoutATranslationKeepsEnglish", "is_IS.UTF-8", "Yes/No", "Select All"},
};

INSTANTIATE_TEST_SUITE_P(Desktops, DesktopLanguageTest, ::testing::ValuesIn(kDesktops),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
