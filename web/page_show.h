#pragma once

#include "hostkit/fireworks_show.h"

namespace pelmiro {

// The page's fireworks, made by the start export.
FireworksShow& PageShow();

}  // namespace pelmiro
