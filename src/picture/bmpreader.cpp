#include "picture/bmpreader.h"

#include "picture/errors.h"

namespace tintbox {

// Placeholder until the reader lands.
void ReadBitmap(const uint8_t*, size_t, TBitmap&) { throw EInvalidGraphic(SInvalidBitmap); }

}  // namespace tintbox
