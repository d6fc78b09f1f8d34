#pragma once

#include "support/brush_sheet.h"
#include "support/studio_fixture.h"

namespace mirasketch::test {

// A studio with the test stamps loaded, drawing on the white 256 × 256 start layer at zoom 1, so
// paint-box points are layer points.
class PaintTest : public StudioTest {
 protected:
  PaintTest() {
    MakeTestBrushSheet(studio.toolEngine.brushImage);
    studio.frmM.SetUndoLevels(2);
  }

  CDibTM& Layer() { return project.Active(); }
  ToolEngine& Tools() { return studio.toolEngine; }
  ToolSettings& Settings() { return studio.toolEngine.settings; }
  // A left-button drag through the points, pressed at the first and released at the last.
  void Drag(std::initializer_list<std::pair<int, int>> points,
            MouseButton button = MouseButton::kLeft) {
    const auto* p = points.begin();
    studio.frmM.pbxAMouseDown(button, p->first, p->second);
    for (++p; p != points.end(); ++p) studio.frmM.pbxAMouseMove(p->first, p->second);
    const auto& last = *(points.end() - 1);
    studio.frmM.pbxAMouseUp(button, last.first, last.second);
  }
  // The number of pixels in the rectangle that are not white.
  int Painted(int x, int y, int w, int h) {
    int n = 0;
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) n += Layer().GetPixel(xx, yy) != 0xFFFFFF;
    return n;
  }
};

}  // namespace mirasketch::test
