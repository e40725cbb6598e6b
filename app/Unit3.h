// The splash window TForm3: borderless at its designed screen position, one picture, no code of
// its own. Start-up shows it while the main window is built and deletes it before the message
// loop; it is owned by the application object, which frees it when start-up fails.
#pragma once

#include "platform/Forms.h"
#include "platform/ImageCtrls.h"

class TForm3 : public TForm {
 public:
  explicit TForm3(TComponent* Owner);

  TImage* Image1 = nullptr;
};
