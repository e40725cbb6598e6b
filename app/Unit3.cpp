#include "app/Unit3.h"

#include "app/DesignedLayout.h"
#include "artwork/EmbeddedAssets.h"
#include "forms/Layouts.h"

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
