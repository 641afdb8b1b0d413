#include "platform/desktop/menu.h"

#include <algorithm>

#include "platform/desktop/menu_tracker.h"

namespace orvane::desktop {

namespace {

constexpr std::string_view kPopupClass = "#32768";

}  // namespace

Menus::Menus(Desktop& desktop) : desktop_(desktop) {
  if (!desktop_.find_class(kPopupClass)) {
    WindowClass popup_class;
    popup_class.name = std::string(kPopupClass);
    popup_class.style = CS_SAVEBITS;
    popup_class.procedure = [](Desktop& d, Hwnd h, std::uint32_t m, WParam w, LParam l) {
      return d.def_window_proc(h, m, w, l);
    };
    desktop_.register_class(std::move(popup_class));
  }
}

Menus::~Menus() {
  end_menu();
  for (auto& [frame, bar] : bars_)
    if (desktop_.is_window(frame) && desktop_.menu_bar(frame) == bar.get()) desktop_.set_menu_bar(frame, nullptr);
}

// --- Building ---------------------------------------------------------------

Menus::MenuData* Menus::data(Hmenu menu) {
  auto it = menus_.find(menu.value);
  return it == menus_.end() ? nullptr : &it->second;
}

const Menus::MenuData* Menus::data(Hmenu menu) const {
  auto it = menus_.find(menu.value);
  return it == menus_.end() ? nullptr : &it->second;
}

Hmenu Menus::create_menu() {
  Hmenu h{++next_handle_};
  menus_[h.value] = MenuData{};
  return h;
}

Hmenu Menus::create_popup_menu() {
  Hmenu h = create_menu();
  menus_[h.value].popup = true;
  return h;
}

bool Menus::is_menu(Hmenu menu) const { return data(menu) != nullptr; }

bool Menus::destroy_menu(Hmenu menu) {
  MenuData* d = data(menu);
  if (!d) return false;
  std::vector<Hmenu> subs;
  for (const MenuItem& item : d->items)
    if (item.popup()) subs.push_back(item.sub_menu);
  menus_.erase(menu.value);
  for (Hmenu sub : subs) destroy_menu(sub);
  std::vector<Hwnd> frames;
  for (auto& [frame, bar] : bars_)
    if (bar->menu() == menu) frames.push_back(frame);
  for (Hwnd frame : frames) retire_bar(frame);
  return true;
}

std::optional<MenuItem> Menus::make_item(std::uint32_t flags, std::uintptr_t id_or_popup,
                                         std::string_view text) const {
  MenuItem item;
  item.flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR);
  if (item.popup()) {
    item.sub_menu = Hmenu{static_cast<std::uint32_t>(id_or_popup)};
    if (!is_menu(item.sub_menu)) return std::nullopt;
  } else {
    item.id = static_cast<int>(id_or_popup & 0xffff);
  }
  if (!item.separator()) item.text = std::string(text);
  return item;
}

std::pair<Menus::MenuData*, int> Menus::locate(Hmenu menu, std::uint32_t item, std::uint32_t flags) {
  auto [d, index] = std::as_const(*this).locate(menu, item, flags);
  return {const_cast<MenuData*>(d), index};
}

std::pair<const Menus::MenuData*, int> Menus::locate(Hmenu menu, std::uint32_t item,
                                                     std::uint32_t flags) const {
  const MenuData* d = data(menu);
  if (!d) return {nullptr, -1};
  if (flags & MF_BYPOSITION) {
    if (item >= d->items.size()) return {nullptr, -1};
    return {d, static_cast<int>(item)};
  }
  // By command: this menu first, then its sub-menus, depth first.
  for (std::size_t i = 0; i < d->items.size(); ++i) {
    const MenuItem& it = d->items[i];
    if (!it.popup() && !it.separator() && it.id == static_cast<int>(item & 0xffff))
      return {d, static_cast<int>(i)};
    if (it.popup() && it.sub_menu != menu) {
      auto found = locate(it.sub_menu, item, flags);
      if (found.first) return found;
    }
  }
  return {nullptr, -1};
}

bool Menus::append_menu(Hmenu menu, std::uint32_t flags, std::uintptr_t id_or_popup, std::string_view text) {
  MenuData* d = data(menu);
  std::optional<MenuItem> item = make_item(flags, id_or_popup, text);
  if (!d || !item || item->sub_menu == menu) return false;
  d->items.push_back(std::move(*item));
  bar_changed(menu);
  return true;
}

bool Menus::insert_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id_or_popup,
                        std::string_view text) {
  std::optional<MenuItem> made = make_item(flags, id_or_popup, text);
  if (!made || made->sub_menu == menu) return false;
  if ((flags & MF_BYPOSITION)) {
    MenuData* d = data(menu);
    if (!d) return false;
    const auto at = std::min<std::size_t>(item, d->items.size());
    d->items.insert(d->items.begin() + static_cast<std::ptrdiff_t>(at), std::move(*made));
  } else {
    auto [d, index] = locate(menu, item, flags);
    if (!d) return false;
    d->items.insert(d->items.begin() + index, std::move(*made));
  }
  bar_changed(menu);
  return true;
}

bool Menus::modify_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags, std::uintptr_t id_or_popup,
                        std::string_view text) {
  auto [d, index] = locate(menu, item, flags);
  std::optional<MenuItem> made = make_item(flags, id_or_popup, text);
  if (!d || !made || made->sub_menu == menu) return false;
  d->items[static_cast<std::size_t>(index)] = std::move(*made);
  bar_changed(menu);
  return true;
}

bool Menus::remove_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags) {
  auto [d, index] = locate(menu, item, flags);
  if (!d) return false;
  d->items.erase(d->items.begin() + index);
  bar_changed(menu);
  return true;
}

bool Menus::delete_menu(Hmenu menu, std::uint32_t item, std::uint32_t flags) {
  auto [d, index] = locate(menu, item, flags);
  if (!d) return false;
  const MenuItem removed = d->items[static_cast<std::size_t>(index)];
  d->items.erase(d->items.begin() + index);
  if (removed.popup()) destroy_menu(removed.sub_menu);
  bar_changed(menu);
  return true;
}

int Menus::check_menu_item(Hmenu menu, std::uint32_t item, std::uint32_t flags) {
  auto [d, index] = locate(menu, item, flags);
  if (!d) return -1;
  MenuItem& it = d->items[static_cast<std::size_t>(index)];
  const int previous = static_cast<int>(it.flags & MF_CHECKED);
  it.flags = (it.flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return previous;
}

int Menus::enable_menu_item(Hmenu menu, std::uint32_t item, std::uint32_t flags) {
  auto [d, index] = locate(menu, item, flags);
  if (!d) return -1;
  MenuItem& it = d->items[static_cast<std::size_t>(index)];
  const int previous = static_cast<int>(it.flags & (MF_GRAYED | MF_DISABLED));
  it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  bar_changed(menu);
  return previous;
}

int Menus::item_count(Hmenu menu) const {
  const MenuData* d = data(menu);
  return d ? static_cast<int>(d->items.size()) : -1;
}

int Menus::item_id(Hmenu menu, int position) const {
  const MenuData* d = data(menu);
  if (!d || position < 0 || position >= static_cast<int>(d->items.size())) return -1;
  const MenuItem& item = d->items[static_cast<std::size_t>(position)];
  return item.popup() ? -1 : item.id;
}

Hmenu Menus::sub_menu(Hmenu menu, int position) const {
  const MenuData* d = data(menu);
  if (!d || position < 0 || position >= static_cast<int>(d->items.size())) return {};
  const MenuItem& item = d->items[static_cast<std::size_t>(position)];
  return item.popup() ? item.sub_menu : Hmenu{};
}

const MenuItem* Menus::find_item(Hmenu menu, std::uint32_t item, std::uint32_t flags) const {
  auto [d, index] = locate(menu, item, flags);
  return d ? &d->items[static_cast<std::size_t>(index)] : nullptr;
}

const std::vector<MenuItem>* Menus::items(Hmenu menu) const {
  const MenuData* d = data(menu);
  return d ? &d->items : nullptr;
}

int Menus::menu_state(Hmenu menu, std::uint32_t item, std::uint32_t flags) const {
  const MenuItem* it = find_item(menu, item, flags);
  if (!it) return -1;
  int state = static_cast<int>(it->flags);
  if (it->popup()) state = (std::max(0, item_count(it->sub_menu)) << 8) | (state & 0xff);
  return state;
}

std::optional<std::string> Menus::menu_string(Hmenu menu, std::uint32_t item, std::uint32_t flags) const {
  const MenuItem* it = find_item(menu, item, flags);
  if (!it) return std::nullopt;
  return it->text;
}

// --- Menu bars ----------------------------------------------------------------

bool Menus::set_menu(Hwnd frame, Hmenu bar) {
  if (!desktop_.is_window(frame) || (bar && !is_menu(bar))) return false;
  if (tracker_) end_menu();
  retire_bar(frame);
  if (!bar) return true;
  auto hook = std::make_unique<FrameMenuBar>(*this, frame, bar);
  desktop_.set_menu_bar(frame, hook.get());
  bars_[frame] = std::move(hook);
  return true;
}

Hmenu Menus::get_menu(Hwnd frame) const {
  auto it = bars_.find(frame);
  if (it == bars_.end() || desktop_.menu_bar(frame) != it->second.get()) return {};
  return it->second->menu();
}

void Menus::draw_menu_bar(Hwnd frame) {
  auto it = bars_.find(frame);
  if (it == bars_.end() || !desktop_.is_window(frame)) return;
  // The bar's height may have changed with its items.
  desktop_.redraw_frame(frame);
}

void Menus::retire_bar(Hwnd frame) {
  auto it = bars_.find(frame);
  if (it == bars_.end()) return;
  if (desktop_.is_window(frame) && desktop_.menu_bar(frame) == it->second.get())
    desktop_.set_menu_bar(frame, nullptr);
  if (tracker_) retired_bars_.push_back(std::move(it->second));
  bars_.erase(it);
}

void Menus::bar_changed(Hmenu menu) {
  for (auto& [frame, bar] : bars_)
    if (bar->menu() == menu && desktop_.is_window(frame)) bar->repaint();
}

raster::IntRect Menus::menu_bar_rect(Hwnd frame) const {
  auto it = bars_.find(frame);
  if (it == bars_.end() || !desktop_.is_window(frame)) return {};
  const raster::IntRect window = desktop_.window_rect(frame);
  const raster::IntPoint client = desktop_.client_to_screen(frame, {0, 0});
  const int inset = client.x - window.left;
  const int height = it->second->height(window.width());
  return {client.x, client.y - height, window.right - inset, client.y};
}

std::vector<raster::IntRect> Menus::menu_bar_item_rects(Hwnd frame) const {
  std::vector<raster::IntRect> rects;
  auto it = bars_.find(frame);
  const raster::IntRect bar = menu_bar_rect(frame);
  if (it == bars_.end() || bar.empty()) return rects;
  for (const raster::IntRect& r : it->second->layout().items) rects.push_back(r.translated(bar.left, bar.top));
  return rects;
}

// --- Tracking -------------------------------------------------------------------

int Menus::track_popup_menu(Hmenu popup, std::uint32_t flags, raster::IntPoint screen_point, Hwnd owner) {
  if (!is_menu(popup) || !desktop_.is_window(owner) || tracker_) return 0;
  MenuTracker tracker(*this, owner, nullptr, flags);
  tracker.start_with_popup(popup, screen_point);
  run_tracker(tracker);
  if (flags & TPM_RETURNCMD) return tracker.chosen().value_or(0);
  return 1;
}

void Menus::run_tracker(MenuTracker& tracker) {
  tracker_ = &tracker;
  tracker.run();
  tracker_ = nullptr;
  retired_bars_.clear();
}

void Menus::end_menu() {
  if (tracker_) tracker_->cancel();
}

}  // namespace orvane::desktop
