#pragma once

#include <cmath>

#include "dot_canvas.h"

namespace pelmiro {

// The dot-size box's rule, for any host's box: a value above 100 is written back as
// 100, one below 1 as 1, and what the box then holds, rounded half to even, is the
// dot size. The box is read afresh each time, since writing to it may change it.
template <typename ReadBox, typename WriteBox>
int ApplyDotSizeRule(ReadBox read, WriteBox write) {
  constexpr double Largest = DotCanvas::MaxDotSize;
  constexpr double Smallest = DotCanvas::MinDotSize;
  if (read() > Largest) {
    write(Largest);
  }
  if (!(read() >= Smallest)) {  // below 1, or not a number at all
    write(Smallest);
  }
  // Halves go to the even neighbour under the default rounding mode.
  return static_cast<int>(std::nearbyint(read()));
}

}  // namespace pelmiro
