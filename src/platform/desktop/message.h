// A message, its parameters and the structures that messages carry, in
// Win32's shapes. Parameters are wide enough to carry a pointer on the host:
// messages that carry structures (WM_CREATE, WM_GETMINMAXINFO ...) are sent,
// never posted, so the pointed-to structure outlives the call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/desktop/handle.h"
#include "platform/desktop/messages.h"
#include "platform/raster/geometry.h"

namespace orvane::desktop {

using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

class Desktop;

// A window procedure. Procedures receive the desktop, so one procedure can
// serve many windows and subclassing chains procedures as Win32 does.
using WindowProc = std::function<LResult(Desktop&, Hwnd, std::uint32_t, WParam, LParam)>;

struct Message {
  Hwnd hwnd;
  std::uint32_t message = 0;
  WParam wparam = 0;
  LParam lparam = 0;
  std::uint64_t time = 0;  // milliseconds of the desktop's clock when queued
  raster::IntPoint pt;     // the cursor position (framebuffer) when queued
};

// --- Packing helpers (MAKELPARAM, LOWORD, GET_X_LPARAM ...) ------------------
constexpr LParam make_lparam(int low, int high) {
  return static_cast<LParam>(static_cast<std::uint32_t>((low & 0xffff) | ((high & 0xffff) << 16)));
}
constexpr WParam make_wparam(int low, int high) {
  return static_cast<WParam>(static_cast<std::uint32_t>((low & 0xffff) | ((high & 0xffff) << 16)));
}
constexpr int low_word(std::uintptr_t v) { return static_cast<int>(v & 0xffff); }
constexpr int high_word(std::uintptr_t v) { return static_cast<int>((v >> 16) & 0xffff); }
// Signed coordinates of a mouse message's lParam.
constexpr int x_of(LParam v) { return static_cast<std::int16_t>(v & 0xffff); }
constexpr int y_of(LParam v) { return static_cast<std::int16_t>((v >> 16) & 0xffff); }
constexpr raster::IntPoint point_of(LParam v) { return {x_of(v), y_of(v)}; }
constexpr LParam lparam_of(raster::IntPoint p) { return make_lparam(p.x, p.y); }
template <class T>
T* pointer_of(LParam v) { return reinterpret_cast<T*>(v); }
template <class T>
LParam lparam_of_pointer(T* p) { return reinterpret_cast<LParam>(p); }

// --- Structures carried by messages ------------------------------------------

// WM_NCCREATE, WM_CREATE (CREATESTRUCT).
struct CreateStruct {
  LParam create_params = 0;
  int id = 0;  // the child id (hMenu of a child)
  Hwnd parent;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t style = 0;
  std::uint32_t ex_style = 0;
  std::string text;
  std::string class_name;
};

// WM_GETMINMAXINFO (MINMAXINFO), sizes of the whole window.
struct MinMaxInfo {
  raster::IntSize max_size;
  raster::IntPoint max_position;
  raster::IntSize min_track_size;
  raster::IntSize max_track_size;
};

// WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED (WINDOWPOS).
struct WindowPos {
  Hwnd hwnd;
  Hwnd insert_after;
  int x = 0, y = 0, width = 0, height = 0;
  std::uint32_t flags = 0;
};

// WM_NCCALCSIZE: the window rect in the parent's client coordinates on the
// way in, the client rect (same coordinates) on the way out.
struct NcCalcSizeParams {
  raster::IntRect rect;
};

// WM_MDICREATE (MDICREATESTRUCT).
struct MdiCreateStruct {
  std::string class_name;
  std::string title;
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT;
  int width = CW_USEDEFAULT, height = CW_USEDEFAULT;
  std::uint32_t style = 0;
  LParam lparam = 0;
};

// The MDI client's creation parameters (CLIENTCREATESTRUCT).
struct ClientCreateStruct {
  int first_child_id = 30000;
};

// SetScrollInfo / GetScrollInfo (SCROLLINFO).
struct ScrollInfo {
  std::uint32_t mask = 0;  // SIF_ bits
  int min = 0;
  int max = 0;
  unsigned page = 0;
  int pos = 0;
  int track_pos = 0;
};

}  // namespace orvane::desktop
