// Headless titles for the controls and picture objects: the window test
// world, test classes of the four controls and of obj-picture whose
// handlers print what they receive, extra resources, and files beside the
// title.
#pragma once

#include <fstream>
#include <map>
#include <string>
#include <utility>

#include "events/event_lines.h"
#include "support/window_title.h"

namespace orvane::testing {

// A class NAME under BASE with the test world's recorders (the mixin
// `obj-test-handlers`), the values controls and pictures read, mouse
// messages reaching the native methods, drags from every press, and
// `title-update` printed when Say-Titles? is set.
inline std::string control_class(const std::string& name, const std::string& base) {
  return "(define " + name + " (new-class '" + name + " obj-test-handlers " + base + "))\n(" + name + R"(
  (defslot margin :default 4)
  (defslot margin-top :default 0)
  (defslot single-line? :default nil)
  (defslot alignment :default 0)
  (defslot content :default nil)
  (defslot picture-record :default nil)
  (defslot picture-resource :default nil)
  (defslot real-pathname :default nil)
  (defslot auto-size? :default nil)
  (defslot scale-to-fit? :default nil)
  (defslot margin-width :default 0)
  (define (get-alignment) alignment)
  (define (frame-width) margin-width)
  (define (expose) ())
  (define (deexpose) ())
  (define (show-event) ())
  (define (hide-event) ())
  (define (mouse-down-system _x _y) (mouse-down _x _y))
  (define (mouse-up-system _x _y) (mouse-up _x _y))
  (define (mouse-drag-system _x _y _dx _dy) (mouse-drag _x _y))
  (define (ready-mouse-drag? _x _y) t)
  (define (get-draggable? _x _y) ())
  (define (title-update _old) (if Say-Titles? (say label 'title-update _old))))
)";
}

inline std::string control_world() {
  return control_class("test-button", "obj-button") + control_class("test-checkbox", "obj-checkbox") +
         control_class("test-choice", "obj-choice") + control_class("test-caption", "obj-caption") +
         control_class("test-picture", "obj-picture") + R"(
(define Say-Titles? ())

; A window of the class: configured, opened and shown.
(define (show-control _class _label _parent _initargs . _slots)
  (let ((_saved Window-Class) (_w ()))
    (set! Window-Class _class)
    (set! _w (unwind-protect (apply show-window (cons _label (cons _parent (cons _initargs _slots))))
                             (set! Window-Class _saved)))
    _w))
)";
}

class ControlTitle {
 public:
  ControlTitle& resource(const std::string& type, std::int16_t id, std::string bytes) {
    resources_.emplace_back(std::make_pair(type, id), std::move(bytes));
    return *this;
  }
  // A file beside the title (the title's directory is `orvane-dir`).
  ControlTitle& file(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_.file(name), std::ios::binary) << bytes;
    return *this;
  }

  // Runs `body` as the toplevel loop of a title whose page is 400 x 300,
  // with "ready" printed after it; then pumps until the script ends.
  RunResult play(const std::string& body, const std::string& events = "wait 50\n") {
    TitleWriter title;
    title.load(0, WindowTitle::world()).load(1, control_world());
    title.load(2, "(define (toplevel-loop) (open-page 400 300)\n" + body + "\n(say 'ready)\n(pump-forever))");
    for (const auto& [key, bytes] : resources_) title.add(key.first, key.second, bytes);
    title.write(dir_.file("TITLE.RI"));
    std::ofstream(dir_.file("events.txt")) << events;
    return run_command_line(std::string(ORVANE_BINARY) + " play --headless --events " + dir_.file("events.txt") +
                                " --frames " + dir_.path() + " " + dir_.file("TITLE.RI"),
                            dir_.path());
  }

  std::optional<raster::Surface> frame(const std::string& name) const { return raster::read_png(dir_.file(name)); }

 private:
  TempDir dir_;
  std::vector<std::pair<std::pair<std::string, std::int16_t>, std::string>> resources_;
};

}  // namespace orvane::testing
