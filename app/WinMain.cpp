#include "app/WinMain.h"

#include "app/DesignedLayout.h"
#include "app/Unit1.h"
#include "forms/Layouts.h"
#include "forms/Texts.h"
#include "tools/EmbeddedAssets.h"

TForm3::TForm3(TComponent* Owner) : TForm(Owner) {
  applyWindowLayout(this, forms::kSplashWindow);
  Image1 = new TImage(this);
  const forms::Bounds& bounds = forms::kSplashImage;
  Image1->SetBounds(bounds.left, bounds.top, bounds.width, bounds.height);
  Image1->SetParent(this);
  TJPEGImage picture;
  picture.LoadFromMemory(assets::kSplashJpeg, assets::kSplashJpegSize);
  Image1->Picture()->SetGraphic(&picture);
}

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
