#include "lib/lists.h"

#include "lib/lists_internal.h"

namespace orvane {

void register_lists() {
  lists::register_list_access();
  lists::register_list_building();
  lists::register_list_search();
  lists::register_property_lists();
  lists::register_list_sets();
  lists::register_list_loops();
  lists::register_sort();
}

}  // namespace orvane
