#include "lib/library.h"

#include "lib/blocks_primitives.h"
#include "lib/dates.h"
#include "lib/strings.h"
#include "lib/vectors.h"

namespace orvane {

void register_library() {
  register_blocks();
  register_strings();
  register_vectors();
  register_dates();
}

}  // namespace orvane
