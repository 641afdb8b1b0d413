#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "core/blocks.h"
#include "core/primitives.h"
#include "eval/eval.h"
#include "lib/streams.h"
#include "library/library_test.h"
#include "platform/console.h"

namespace orvane {
namespace {

class StreamsTest : public testing::LibraryTest {
 protected:
  void SetUp() override {
    LibraryTest::SetUp();
    // The port routines are called by the port machinery, not from Lisp:
    // these test primitives reach them the same way, through the descriptors.
    defprim("test-putc", +[](Value c, Value record) {
      port_putc_routine(symbol_global(intern("handle-putc")))(integer_of(c), record);
      return kNoValue;
    });
    defprim("test-getc", +[](Value record) {
      return make_fixnum(port_getc_routine(symbol_global(intern("handle-getc")))(record));
    });
    defprim("test-buffer-getc", +[](Value record) {
      return make_fixnum(port_getc_routine(symbol_global(intern("buffer-getc")))(record));
    });
    defprim("test-editputc", +[](Value c) {
      port_putc_routine(symbol_global(intern("editputc")))(integer_of(c), kNil);
      return kNoValue;
    });
  }
};

TEST_F(StreamsTest, PortRoutinesAreFoundThroughTheirDescriptors) {
  EXPECT_EQ(port_putc_routine(symbol_global(intern("handle-putc"))), &handle_putc);
  EXPECT_EQ(port_getc_routine(symbol_global(intern("editgetc"))), &edit_getc);
  EXPECT_EQ(port_putc_routine(symbol_global(intern("handle-getc"))), nullptr);
  EXPECT_EQ(port_getc_routine(symbol_global(intern("car"))), nullptr);
  EXPECT_EQ(error_code("(handle-putc)"), 47);
}

TEST_F(StreamsTest, HandleStreamsGrowAsTheyAreWritten) {
  define("r", eval_text("(new-handle-struct 0 0 nil nil)"));
  for (int i = 0; i < 1500; ++i) eval_text(("(test-putc " + std::to_string(65 + i % 26) + " r)").c_str());
  EXPECT_TRUE(gives("(handle-get-pos r)", "1500"));
  EXPECT_TRUE(gives("(mref 4 r 4)", "2048"));  // two growths of 1,024
  EXPECT_EQ(live_handle_count(), 2u);           // the record and the latest handle
  define("h", eval_text("(adjust-handle-struct r)"));
  EXPECT_TRUE(gives("(get-handle-size h)", "1500"));
  EXPECT_TRUE(gives("(substring (handle->string h) 1498 nil)", "\"QR\""));
  EXPECT_TRUE(gives("(substring (handle->string h) 0 3)", "\"ABC\""));
}

TEST_F(StreamsTest, WriteBlockAppendsAndMakesRoom) {
  define("h", eval_text("(string->handle \"abc\")"));
  define("r", eval_text("(new-handle-struct 0 3 nil h)"));
  define("src", eval_text("(string->handle \"0123456789\")"));
  eval_text("(handle-write-block r (hlock src) 2)");
  EXPECT_TRUE(gives("(handle-get-pos r)", "2"));
  eval_text("(handle-write-block r (hlock src) 10)");
  EXPECT_TRUE(gives("(mref 4 r 4)", "1037"));  // 3 + 10 + 1,024
  EXPECT_TRUE(gives("(handle->string (adjust-handle-struct r))", "\"010123456789\""));
  // The handle given at the start moved away and was disposed.
  EXPECT_EQ(error_code("(get-handle-size h)"), 2);
}

TEST_F(StreamsTest, HandleStreamsReadToTheEnd) {
  define("h", eval_text("(string->handle \"xy\")"));
  define("r", eval_text("(new-handle-struct 0 2 nil h)"));
  EXPECT_EQ(eval_text("(handle-eof? r)"), kNil);
  EXPECT_TRUE(gives("(test-getc r)", "120"));
  EXPECT_TRUE(gives("(test-getc r)", "121"));
  EXPECT_TRUE(holds("(handle-eof? r)"));
  EXPECT_TRUE(gives("(test-getc r)", "-1"));
  eval_text("(handle-set-pos r 1)");
  EXPECT_TRUE(gives("(test-getc r)", "121"));
}

TEST_F(StreamsTest, BufferStreamsReadTheirBlock) {
  define("p", eval_text("(new-ptr 3)"));
  eval_text("(put-string-text \"abc\" p)");
  define("r", eval_text("(new-buffer-struct 1 3 p)"));
  EXPECT_TRUE(gives("(test-buffer-getc r)", "98"));
  EXPECT_TRUE(gives("(test-buffer-getc r)", "99"));
  EXPECT_TRUE(gives("(test-buffer-getc r)", "-1"));
  eval_text("(buffer-set-pos r 0)");
  EXPECT_TRUE(gives("(test-buffer-getc r)", "97"));
  // A record whose size claims more than the block holds stops at the block.
  define("bad", eval_text("(new-buffer-struct 3 10 p)"));
  EXPECT_EQ(error_code("(test-buffer-getc bad)"), 2);
}

TEST_F(StreamsTest, ACorruptRecordRaisesInsteadOfWritingAnywhere) {
  define("r", eval_text("(new-handle-struct 0 100 nil nil)"));
  EXPECT_EQ(error_code("(test-putc 65 r)"), 2);  // capacity claimed, no bytes behind it
  eval_text("(mset 4 0 r 4)");                  // capacity 0: the next write grows
  EXPECT_EQ(error_code("(test-putc 65 r)"), -1);
  EXPECT_EQ(error_code("(test-putc 65 (new-ptr 2))"), 2);  // too small to be a record
}

TEST_F(StreamsTest, TheEditInputBufferIsReadOnceAndReleased) {
  define("p", eval_text("(new-ptr 4)"));
  eval_text("(put-string-text \"ok\" p)");
  EXPECT_TRUE(holds("(eof-lecture?)"));
  eval_text("(set-lecture p 2)");
  EXPECT_TRUE(holds("(null-ptr? p)"));
  EXPECT_EQ(eval_text("(eof-lecture?)"), kNil);
  EXPECT_TRUE(gives("(editgetc)", "111"));
  EXPECT_EQ(live_handle_count(), 1u);
  EXPECT_TRUE(gives("(editgetc)", "107"));
  EXPECT_EQ(live_handle_count(), 0u);  // the block went with the last byte
  EXPECT_TRUE(gives("(editgetc)", "-1"));
  EXPECT_TRUE(holds("(eof-lecture?)"));
  EXPECT_EQ(error_code("(set-lecture (new-ptr 1) 2)"), 2);
}

TEST_F(StreamsTest, TheEditOutputLineIsSentInPiecesOf98) {
  std::istringstream in;
  std::ostringstream out;
  platform::Console console(in, out);
  platform::ConsoleRedirect redirect(console);
  for (int i = 0; i < 100; ++i) eval_text("(test-editputc 120)");
  EXPECT_EQ(out.str(), std::string(98, 'x'));
  flush_edit_output();
  EXPECT_EQ(out.str(), std::string(100, 'x'));
}

TEST_F(StreamsTest, GeneralPortsCallTheMethodWithSelfBound) {
  define("seen", kNil);
  EXPECT_TRUE(gives("(general-putc 65 (lambda (_c) (set! seen _c) 'done))", "done"));
  EXPECT_TRUE(gives("seen", "65"));
  EXPECT_TRUE(gives("(general-getc (lambda () 66))", "66"));
}

}  // namespace
}  // namespace orvane
