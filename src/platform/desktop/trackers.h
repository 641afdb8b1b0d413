// The default procedure's modal mouse loops: moving a window by its
// caption, sizing it by a border, pressing a close box, working a scroll
// bar. Each captures the mouse and runs the queue until the button goes
// up, dispatching every other message so the rest of the desktop lives on.
#pragma once

#include "platform/desktop/message.h"
#include "platform/desktop/scroll_bar.h"

namespace orvane::desktop {

class ModalTracker {
 public:
  ModalTracker(Desktop& desktop, Hwnd hwnd) : desktop_(desktop), hwnd_(hwnd) {}
  virtual ~ModalTracker() = default;
  // Runs until the left button is released, the capture is lost, Escape is
  // pressed or the run ends (WM_QUIT is posted again for the outer loop).
  void run();

 protected:
  // The mouse at a screen point, with the left button still down.
  virtual void moved(raster::IntPoint screen) = 0;
  virtual void released(raster::IntPoint screen) = 0;
  virtual void cancelled() {}
  // A timer of the tracked window arrived (auto-repeat).
  virtual void ticked() {}

  Desktop& desktop_;
  Hwnd hwnd_;
};

class SizeMoveTracker final : public ModalTracker {
 public:
  // hit: HTCAPTION moves, a border code sizes.
  SizeMoveTracker(Desktop& desktop, Hwnd hwnd, int hit, raster::IntPoint start);

 private:
  void moved(raster::IntPoint screen) override;
  void released(raster::IntPoint screen) override;
  void cancelled() override;

  int hit_;
  raster::IntPoint start_;
  raster::IntRect start_rect_;  // in the parent's client coordinates
};

class CloseBoxTracker final : public ModalTracker {
 public:
  CloseBoxTracker(Desktop& desktop, Hwnd hwnd);

 private:
  void moved(raster::IntPoint screen) override;
  void released(raster::IntPoint screen) override;
  void cancelled() override { show_pressed(false); }
  bool over_close_box(raster::IntPoint screen) const;
  void show_pressed(bool pressed);
};

class ScrollBarTracker final : public ModalTracker {
 public:
  ScrollBarTracker(Desktop& desktop, Hwnd hwnd, bool vertical, raster::IntPoint start);
  // The timer id the tracker repeats with (on the tracked window).
  static constexpr std::uintptr_t kRepeatTimer = 0xFFFF5C00;

 private:
  void moved(raster::IntPoint screen) override;
  void released(raster::IntPoint screen) override;
  void ticked() override;
  void send(int code, int pos = 0);
  raster::IntRect bar_rect() const;  // screen
  const ScrollBar* bar() const;

  bool vertical_;
  ScrollPart part_ = ScrollPart::none;
  raster::IntPoint last_;
  int grab_offset_ = 0;  // from the thumb's leading edge to the press
};

}  // namespace orvane::desktop
