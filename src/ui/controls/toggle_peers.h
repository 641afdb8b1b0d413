// `obj-checkbox` and `obj-choice`: a mark (a box, a circle) at the left
// edge with the title beside it, drawn in the window's port; a press over
// the mark is followed through mouse-drag and mouse-up, and a release over
// the control selects it.
#pragma once

#include "ui/window_peer.h"

namespace orvane::ui {

class TogglePeer : public WindowPeer {
 public:
  void open(Value object) override;
  void enable() override;
  void disable() override;
  bool enabled() const override { return enabled_; }
  void paint() override;
  void mouse_down(int x, int y) override;
  void mouse_drag(int x, int y) override;
  void mouse_up(int x, int y) override;
  Value get_content() override;

  bool is_on() const { return on_; }
  bool tracking() const { return tracking_; }

 protected:
  // Where the mark lies: its size, vertically centred in rect (never above 0).
  raster::IntRect mark_rect() const;
  virtual int mark_size() const = 0;
  // Draws the mark (erased first) in the port's colours.
  virtual void draw_mark(graphics::DrawingPort& port, raster::DeviceContext& dc) = 0;
  // Where the title starts.
  virtual int title_x() const = 0;
  // What a release over the control does before `select` is sent.
  virtual void released_inside() = 0;
  void set_on(bool on) { on_ = on; }
  // Whether the pressed look shows (tracked, with the pointer over it).
  bool pressed() const { return tracking_ && inside_; }
  // Draws the mark at once, outside a paint.
  void redraw_mark();

 private:
  void set_enabled(bool enabled);

  bool enabled_ = true;
  bool on_ = false;  // checked, selected
  bool tracking_ = false;
  bool inside_ = false;
};

class CheckboxPeer : public TogglePeer {
 public:
  void set_content(Value content) override;

 protected:
  int mark_size() const override { return 13; }
  void draw_mark(graphics::DrawingPort& port, raster::DeviceContext& dc) override;
  int title_x() const override;
  void released_inside() override;
};

class ChoicePeer : public TogglePeer {
 public:
  // True selects this choice and deselects its obj-choice siblings.
  void set_content(Value content) override;

 protected:
  int mark_size() const override { return 12; }
  void draw_mark(graphics::DrawingPort& port, raster::DeviceContext& dc) override;
  int title_x() const override { return 16; }
  void released_inside() override;

 private:
  raster::IntRect dot_rect() const { return mark_rect().inflated(-3, -3); }
};

// The class `obj-choice` (nil before the controls are registered).
Value choice_class();

}  // namespace orvane::ui
