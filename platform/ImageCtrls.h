// The picture-like graphic controls: TImage, TShape and TBevel.
//
// All three are painted by their parent window (see Controls.h). TImage owns its TPicture and
// draws it at its own size from its top-left corner, cut at the control's edges (never stretched
// or centred); a transparent image leaves out the colour of its picture's bottom-left pixel.
#pragma once

#include "platform/Controls.h"
#include "platform/Graphics.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* owner);
  ~TImage() override;

  TPicture* Picture() { return &picture_; }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  void Paint(QPainter& painter) override;

 private:
  TPicture picture_;
  bool transparent_ = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* owner);

  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType shape);
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }

  void Paint(QPainter& painter) override;

 private:
  TShapeType shape_ = stRectangle;
  TPen pen_;
  TBrush brush_;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
 public:
  explicit TBevel(TComponent* owner);

  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle style);

  void Paint(QPainter& painter) override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};
