// Open files from Lisp: modes, block and byte transfers, positions and
// lengths, the file streams of the reader and the printer, and errors.
#include <gtest/gtest.h>

#include "file_support.h"
#include "platform/simulated_disk.h"

namespace orvane::testing {
namespace {

class FilePrimitivesTest : public FileLispTest {
 protected:
  void SetUp() override {
    FileLispTest::SetUp();
    write_bytes(dir.file("data.bin"), text_bytes("0123456789"));
    eval(R"((define Data (list Dir "data.bin")))");
    eval("(define Block (new-ptr 16))");
  }
};

TEST_F(FilePrimitivesTest, BlocksRoundTripThroughAFile) {
  EXPECT_EQ(error(R"((file-open (list Dir "missing.bin") 2))"), 31);
  eval(R"((define F (file-open (orvane-file-create (list Dir "out.bin") "" "" () t ()) 2)))");
  eval("(begin (mset 1 65 Block 0) (mset 1 66 Block 1) (mset 1 67 Block 2))");
  eval("(file-write-block F Block 3)");
  EXPECT_EQ(num("(file-get-pos F)"), 3);
  EXPECT_EQ(num("(file-length F)"), 3);
  EXPECT_TRUE(truth("(file-eof? F)"));
  eval("(file-set-pos F 1)");
  EXPECT_FALSE(truth("(file-eof? F)"));
  EXPECT_EQ(num("(file-read-block F Block 10)"), 2);  // only two bytes are left
  EXPECT_EQ(num("(mref 1 Block 0)"), 66);
  EXPECT_EQ(num("(mref 1 Block 1)"), 67);
  eval("(file-close F)");
  EXPECT_EQ(read_bytes(dir.file("out.bin")), text_bytes("ABC"));
}

TEST_F(FilePrimitivesTest, BytesWrittenOneByOneAreSeenByEveryOtherOperation) {
  eval("(define F (file-open Data 2))");
  eval("(file-set-pos F 10)");
  eval("(begin (file-write-ch 97 F) (file-write-ch 98 F))");
  EXPECT_EQ(num("(file-length F)"), 12);
  eval("(file-set-pos F 9)");
  EXPECT_EQ(num("(file-read-ch F)"), '9');
  EXPECT_EQ(num("(file-read-ch F)"), 'a');
  eval("(file-write-ch 99 F)");  // over the "b"
  eval("(file-close F)");
  EXPECT_EQ(read_bytes(dir.file("data.bin")), text_bytes("0123456789ac"));
}

TEST_F(FilePrimitivesTest, ReadingEndsWithMinusOne) {
  eval("(define F (file-open Data 0))");
  eval("(file-set-pos F 9)");
  EXPECT_EQ(num("(file-read-ch F)"), '9');
  EXPECT_EQ(num("(file-read-ch F)"), -1);
  EXPECT_EQ(num("(file-read-ch F)"), -1);
  EXPECT_EQ(num("(file-get-pos F)"), 10);
}

TEST_F(FilePrimitivesTest, TheReaderAndThePrinterUseFileStreams) {
  eval(R"((define F (file-open (orvane-file-create (list Dir "forms.lsp") "" "" () t ()) 2)))");
  eval(R"((displ '(one "two" 3) (cons file-write-ch F)))");
  eval("(flush-stream (cons file-write-ch F))");
  EXPECT_EQ(read_bytes(dir.file("forms.lsp")), text_bytes(R"((one "two" 3))"));
  eval("(file-set-pos F 0)");
  EXPECT_EQ(printed("(read (cons file-read-ch F))"), R"((one "two" 3))");
  eval("(file-close F)");
}

TEST_F(FilePrimitivesTest, OpenModes) {
  eval("(define F (file-open Data 0))");
  EXPECT_TRUE(truth("(file-read-only? F)"));
  EXPECT_EQ(error("(file-write-ch 65 F)"), 36);
  EXPECT_EQ(error("(file-write-block F Block 1)"), 36);
  eval("(file-close F)");
  EXPECT_FALSE(truth("(file-read-only? (file-open Data 1))"));
  EXPECT_FALSE(truth("(file-read-only? (file-open Data 2))"));
  EXPECT_EQ(error("(file-open Data 3)"), 2);
  ASSERT_EQ(::chmod(dir.file("data.bin").c_str(), 0444), 0);
  if (::geteuid() != 0) {  // root writes anyway
    EXPECT_TRUE(truth("(file-read-only? (file-open Data 1))"));
    EXPECT_NE(error("(file-open Data 2)"), -1);
  }
}

TEST_F(FilePrimitivesTest, ClosedFilesAreRefused) {
  eval("(define F (file-open Data 0))");
  eval("(file-close F)");
  EXPECT_EQ(error("(file-read-ch F)"), 2);
  EXPECT_EQ(error("(file-close F)"), 2);
  EXPECT_EQ(error("(file-get-pos 12)"), 2);
  EXPECT_EQ(error("(file-get-pos Block)"), 2);
}

TEST_F(FilePrimitivesTest, BlocksMustHoldTheCount) {
  eval("(define F (file-open Data 0))");
  EXPECT_EQ(error("(file-read-block F Block 17)"), 2);
  EXPECT_EQ(num("(file-get-pos F)"), 0);
}

TEST_F(FilePrimitivesTest, LengthsOfFilesAndPaths) {
  EXPECT_EQ(num("(file-length Data)"), 10);
  EXPECT_EQ(error(R"((file-length (list Dir "none")))"), 31);
  EXPECT_TRUE(truth("(file-set-length Data 4)"));
  EXPECT_EQ(read_bytes(dir.file("data.bin")), text_bytes("0123"));
  EXPECT_FALSE(truth(R"((file-set-length (list Dir "none") 4))"));
  eval("(define F (file-open Data 2))");
  EXPECT_TRUE(truth("(file-set-length F 2)"));
  EXPECT_EQ(num("(file-length F)"), 2);
  eval("(define R (file-open Data 0))");
  EXPECT_EQ(error("(file-set-length R 1)"), 36);
}

TEST_F(FilePrimitivesTest, ExistenceIsForFilesOnly) {
  EXPECT_TRUE(truth("(file-exists? Data)"));
  EXPECT_FALSE(truth("(file-exists? Dir)"));
  EXPECT_FALSE(truth(R"((file-exists? (list Dir "none")))"));
}

TEST_F(FilePrimitivesTest, ToolboxCallsAreNotAvailable) {
  for (const char* form : {"(get-drive-name 1)", "(open-rf 1 2 3)", "(fsread)", "(fswrite 1)", "(getfpos 1)",
                           "(setfpos 1 2)", "(seteof 1 2)", "(fsclose 1)", "(online)"})
    EXPECT_EQ(error(form), 47) << form;
}

// Flushing the volume writes out what open files gathered and makes it
// durable: a power cut right after keeps it.
TEST_F(FilePrimitivesTest, FlushingTheVolumeMakesWhatWasWrittenDurable) {
  platform::SimulatedDisk disk;
  std::string path;
  for (std::string_view rest = dir.path(); !rest.empty();) {
    auto slash = rest.find('/', 1);
    path += rest.substr(0, slash);
    rest = slash == std::string_view::npos ? "" : rest.substr(slash);
    ASSERT_EQ(disk.create_directory(path), 0);
  }
  std::string log = dir.file("log.txt");
  disk.put_file(log, text_bytes("old"));
  disk.put_file(dir.file("data.bin"), text_bytes("0123456789"));
  platform::FileSystemScope scope(disk);
  eval(R"((define F (file-open (list Dir "log.txt") 2)))");
  eval("(file-write-ch 65 F)");
  eval("(define G (file-open Data 0))");  // open for reading only: nothing to flush
  EXPECT_EQ(disk.after_crash(platform::Crash::power_cut, 0).contents(log), text_bytes("old"));
  EXPECT_EQ(num("(flushvol 2)"), 0);
  EXPECT_EQ(disk.after_crash(platform::Crash::power_cut, 0).contents(log), text_bytes("Ald"));
  eval("(begin (file-close F) (file-close G))");
}

}  // namespace
}  // namespace orvane::testing
