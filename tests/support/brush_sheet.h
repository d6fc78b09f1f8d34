#pragma once

#include <functional>

#include "buffers/dib256.h"

namespace mirasketch::test {

// Gives a brush sheet the stamps the tests rely on: everything 255 (no paint) except stamp 0, a
// single pixel at the cell's (8, 8), and stamps 1 … 6, solid squares of side 2k centred there.
void MakeTestBrushSheet(CDib256& sheet);
// Sets stamp k from value(column, row), 0 … 15 each.
void SetStamp(CDib256& sheet, int k, const std::function<int(int, int)>& value);

}  // namespace mirasketch::test
