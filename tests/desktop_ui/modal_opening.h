// A fixture for the desktop's own modal dialogs (colour, font), which take
// no dialog procedure from their caller: input that needs the dialog's
// layout is queued when the dialog takes the activation from the frame.
#pragma once

#include <functional>

#include "desktop_ui/ui_fixture.h"

namespace orvane::desktop::testing {

class ModalDialogTest : public UiTest {
 protected:
  // Runs `action` once, with the dialog, as it is activated.
  void when_open(std::function<void(Hwnd dialog)> action) {
    hook = [this, action, done = false](Desktop&, Hwnd h, std::uint32_t m, WParam w, LParam l) mutable
        -> std::optional<LResult> {
      if (!done && h == frame && m == WM_ACTIVATE && low_word(w) == WA_INACTIVE && l != 0) {
        done = true;
        dialog = Hwnd{static_cast<std::uint32_t>(l)};
        action(dialog);
      }
      return std::nullopt;
    };
  }

  Hwnd dialog;
};

}  // namespace orvane::desktop::testing
