// Evaluating forms in tests and observing the errors they raise.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/primitives.h"
#include "eval/errors.h"
#include "eval/toplevel.h"
#include "support/forms.h"
#include "support/runtime_fixture.h"
#include "support/test_host.h"

namespace orvane::testing {

// A run-time on a test host, whose internal-error alert records the error
// text instead of printing it.
class EvalTest : public RuntimeTest {
 protected:
  void SetUp() override {
    host_ = std::make_unique<TestHost>();
    RuntimeTest::SetUp();
  }
  void TearDown() override {
    RuntimeTest::TearDown();
    host_.reset();
  }
  std::string& last_alert() { return host_->last_alert; }
  TestHost& test_host() { return *host_; }

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

 private:
  std::unique_ptr<TestHost> host_;
};

}  // namespace orvane::testing
