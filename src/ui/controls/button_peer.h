// `obj-button`: a push button that draws itself in the window's port (a
// rounded face in the button-face colour, its title centred, the classic
// raised frame) and tracks the mouse itself while it is pressed.
#pragma once

#include "ui/window_peer.h"

namespace orvane::ui {

class ButtonPeer : public WindowPeer {
 public:
  bool handles_capture_itself() const override { return true; }
  void open(Value object) override;
  void enable() override;
  void disable() override;
  bool enabled() const override { return enabled_; }
  void set_title(Value title) override;
  void draw_push_button(const raster::IntRect& r, Value title, bool pressed, bool is_default) override;
  void paint() override;
  void mouse_down(int x, int y) override;
  void set_font(Value font) override;
  void size_update(int old_width, int old_height) override;
  void position_update(raster::IntPoint old_position) override;

  bool is_default() const { return default_; }
  bool is_3d() const { return three_d_; }
  // Store a new flag; a change recomputes the view rect and repaints.
  void set_default(bool flag);
  void set_3d(bool flag);

 private:
  // The view rect: rect, inset by 3 for a default button that is not 3D.
  void recompute_view_rect();
  void repaint_whole();
  // The face and title, the title moved by `shift` (the pressed look).
  void draw_face(raster::DeviceContext& dc, raster::IntPoint shift);
  // How far the button's frame reaches into it.
  int border_inset() const { return default_ ? 2 : 1; }

  bool default_ = false;
  bool three_d_ = false;
  bool enabled_ = true;
};

}  // namespace orvane::ui
