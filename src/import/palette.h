// The importer's palette: the colours the areas of a drawing end with.
#pragma once

#include <vector>

#include "import/import.h"
#include "import/segment.h"
#include "picture/color.h"

namespace tintbox::importer {

// The palette: areas whose colours look the same share one, and at most
// AOptions.MaxColors remain. Largest areas first, each joins the closest
// group within SameLook or starts one; then the groups are merged. Returns
// the colour of each area by its root pixel (black for the outline).
std::vector<TColor> ChoosePalette(TAreaWork& A, const TImportOptions& AOptions);

}  // namespace tintbox::importer
