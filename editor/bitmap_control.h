// A picture from the editor's bitmap cache; with several stacked frames, the
// value chooses the frame (value 0 the first, value 1 the last).
#pragma once

#include "editor/control.h"

class BitmapControl : public Control {
 public:
  // Drawn at (x, y) the size of one frame, at weight 1.0.
  BitmapControl(PlugParams* plug, int x, int y, int paramIdx, const BitmapRef& bitmap,
                int blendKind);

  bool Draw(Editor* editor) override;

 protected:
  const BitmapRef& Picture() const { return bitmap; }

 private:
  BitmapRef bitmap;
};
