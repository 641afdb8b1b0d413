// The desktop's user-interface pieces for one desktop, made together:
// caption text in the system font, menus, dialogs, the caret, cursors and
// the clipboard. Whoever makes the Desktop makes one of these beside it
// (after it, so that it goes first).
#pragma once

#include "platform/desktop/caret.h"
#include "platform/desktop/clipboard.h"
#include "platform/desktop/cursors.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/dialog.h"
#include "platform/desktop/menu.h"
#include "platform/desktop/ui_text.h"

namespace orvane::desktop {

class DesktopUi {
 public:
  explicit DesktopUi(Desktop& desktop)
      : desktop_(desktop), menus(desktop), dialogs(desktop), caret(desktop),
        cursors(desktop.screen()), clipboard(desktop.screen()) {
    desktop_.set_text_painter(&text_painter_);
  }
  ~DesktopUi() { desktop_.set_text_painter(nullptr); }
  DesktopUi(const DesktopUi&) = delete;
  DesktopUi& operator=(const DesktopUi&) = delete;

 private:
  Desktop& desktop_;
  FontTextPainter text_painter_;

 public:
  Menus menus;
  Dialogs dialogs;
  Caret caret;
  Cursors cursors;
  Clipboard clipboard;
};

}  // namespace orvane::desktop
