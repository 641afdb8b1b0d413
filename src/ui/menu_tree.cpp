#include "ui/menu_tree.h"

#include <memory>

#include "core/collector.h"
#include "ui/menu_record.h"

namespace orvane::ui {

namespace {

MenuTree g_tree;  // the documented singleton: the menus of the title playing now
desktop::Menus* g_menus = nullptr;
desktop::Hwnd g_frame;

MenuRecord* visit_from(MenuRecord& record, const std::function<bool(MenuRecord&)>& visit) {
  if (visit(record)) return &record;
  for (const MenuSlot& slot : record.slots())
    if (slot.child)
      if (MenuRecord* found = visit_from(*slot.child, visit)) return found;
  return nullptr;
}

void mark_tree(ValueMarker& marker) {
  find_record([&](MenuRecord& r) {
    marker.mark(r.object());
    return false;
  });
}

}  // namespace

MenuTree& menu_tree() { return g_tree; }

void reset_menu_tree() {
  static const ExtraRoots roots(mark_tree);
  g_tree = MenuTree{};
}

void attach_menus(desktop::Menus& menus, desktop::Hwnd frame) {
  g_menus = &menus;
  g_frame = frame;
}

void detach_menus() {
  g_menus = nullptr;
  g_frame = {};
}

desktop::Menus* attached_menus() { return g_menus; }
desktop::Hwnd menu_frame() { return g_frame; }

MenuRecord* find_record(const std::function<bool(MenuRecord&)>& visit) {
  if (g_tree.root)
    if (MenuRecord* found = visit_from(*g_tree.root, visit)) return found;
  for (MenuRecord* loose : g_tree.loose)
    if (MenuRecord* found = visit_from(*loose, visit)) return found;
  return nullptr;
}

}  // namespace orvane::ui
