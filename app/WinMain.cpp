#include "app/WinMain.h"

#include "app/Unit1.h"
#include "app/Unit3.h"
#include "forms/Texts.h"
#include "platform/CodePage.h"

int WinMain(HINSTANCE, HINSTANCE, char*, int) {
  try {
    Application->Initialize();
    TForm3* splash = new TForm3(Application);
    splash->Show();
    // The message loop is not running yet: without this the splash would not be painted
    // before the main window is ready.
    splash->Update();
    Application->SetTitle(texts().applicationTitle);
    Application->CreateForm(Form1);
    Sleep(1500);
    if (splash != nullptr) delete splash;
    Application->Run();
  } catch (Exception& exception) {
    Application->ShowException(&exception);
  } catch (...) {
    // Anything else, a failed database open among them, is shown as an empty framework box.
    try {
      throw Exception("");
    } catch (Exception& exception) {
      Application->ShowException(&exception);
    }
  }
  return 0;
}

void useProgramCodePage() { platform::setAnsiCodePage(kCodePage); }
