// Evaluating forms in tests and observing the errors they raise.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/primitives.h"
#include "eval/errors.h"
#include "eval/toplevel.h"
#include "support/forms.h"
#include "support/runtime_fixture.h"

namespace orvane::testing {

// A run-time whose internal-error alert records the error text instead of
// printing it.
class EvalTest : public RuntimeTest {
 protected:
  void SetUp() override {
    RuntimeTest::SetUp();
    last_alert().clear();
    g_error_hooks.internal_error_alert = [](const char* text) { last_alert() = text ? text : ""; };
  }
  void TearDown() override {
    g_error_hooks.internal_error_alert = nullptr;
    RuntimeTest::TearDown();
  }
  static std::string& last_alert() {
    static std::string text;
    return text;
  }

  // The value of a form that must complete.
  Value run(Value form) {
    TopLevelResult r = eval_toplevel(form);
    EXPECT_TRUE(r.completed) << "error: " << last_alert();
    return r.value;
  }
  // The code of the error a form raises, or -1 when it completes.
  int error_of(Value form) {
    last_alert().clear();
    TopLevelResult r = eval_toplevel(form);
    if (r.completed) return -1;
    if (last_alert().rfind("Error: ", 0) != 0) return -2;
    return std::atoi(last_alert().c_str() + 7);
  }
};

}  // namespace orvane::testing
