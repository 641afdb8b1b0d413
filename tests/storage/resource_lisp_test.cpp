// The resource primitives from Lisp: arguments, results, resource Values and
// their printed forms, and the errors raised after an operation fails.
#include <gtest/gtest.h>

#include <cstring>

#include "core/blocks.h"
#include "core/symbols.h"
#include "reader/format_resources.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "storage/file_errors.h"
#include "storage/resources.h"
#include "storage_support.h"
#include "support/eval_helpers.h"

namespace orvane::testing {
namespace {

using namespace rsrc;

Bytes title_file() {
  ByteWriter data, map, names;
  block(data, "abc");  // TEXT 128 "hello"
  ByteWriter list;
  list.u16be(3);
  counted(list, "one");
  counted(list, "");
  counted(list, "three");
  std::uint32_t str_at = static_cast<std::uint32_t>(data.size());
  data.u32be(static_cast<std::uint32_t>(list.size()));
  data.bytes(list.data());
  ByteWriter help;  // three help records: "ab" (8 bytes), "c" (6), "" (6)
  help.u32be(0);
  counted(help, "ab");
  help.u8(0);
  help.u32be(0);
  counted(help, "c");
  help.u32be(0);
  counted(help, "");
  help.u8(0);
  std::uint32_t help_at = static_cast<std::uint32_t>(data.size());
  data.u32be(static_cast<std::uint32_t>(help.size()));
  data.bytes(help.data());

  map_head(map, 0, 28, 28 + 2 + 24 + 36);
  map.u16be(2);
  type_entry(map, "TEXT", 1, 26);
  type_entry(map, "STR#", 1, 38);
  type_entry(map, "HELP", 1, 50);
  ref_entry(map, 128, 0, 0, 0);
  ref_entry(map, 7, kNoName, 0, str_at);
  ref_entry(map, 1, kNoName, 0, help_at);
  counted(map, "hello");
  return build_file({"Title.RI", "rsrc", "ORVN", data.data(), map.data()});
}

class ResourceLispTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    path = dir.file("Title.RI");
    write_bytes(path, title_file());
    set_symbol_global(intern("Path"), make_string(path));
  }
  void TearDown() override {
    close_all_resource_files();
    EvalTest::TearDown();
  }
  Value eval(std::string_view text) { return run(read_from_text(text)); }
  std::int32_t num(std::string_view text) { return integer_of(eval(text)); }
  std::string str(std::string_view text) {
    Value v = eval(text);
    return is_string(v) ? std::string(string_view_of(v)) : "<not a string>";
  }
  std::string printed(std::string_view text) { return print_to_string(eval(text)); }
  int error(std::string_view text) { return error_of(read_from_text(text)); }

  TempDir dir;
  std::string path;
};

TEST_F(ResourceLispTest, OpeningAndTheCurrentFile) {
  EXPECT_EQ(num("(curresfile)"), 0);
  std::int32_t ref = num("(openresfile Path)");
  EXPECT_GT(ref, 0);
  EXPECT_EQ(num("(curresfile)"), ref);
  EXPECT_EQ(num("(openresfile Path)"), ref);
  EXPECT_EQ(eval("(openrf? Path)"), g_sym.t);
  EXPECT_EQ(num("(openresfile \"/no/such/file\")"), -1);
  EXPECT_EQ(num("(reserror)"), -37);
  EXPECT_EQ(eval("(resource-fork-exists? \"/no/such/file\")"), kNil);
  write_bytes(dir.file("Other.RI"), title_file());
  set_symbol_global(intern("Other"), make_string(dir.file("Other.RI")));
  EXPECT_EQ(eval("(resource-fork-exists? Other)"), g_sym.t);
  EXPECT_EQ(eval("(openrf? Other)"), kNil);
  EXPECT_EQ(error("(openresfile 12)"), 2);
}

TEST_F(ResourceLispTest, ResourcesAndWhatTheyAnswer) {
  eval("(openresfile Path)");
  eval("(set! r (getresource \"TEXT\" 128))");
  EXPECT_EQ(pointer_kind(eval("r")), PointerKind::resource);
  EXPECT_EQ(num("(getresid r)"), 128);
  EXPECT_EQ(str("(getresname r)"), "hello");
  EXPECT_EQ(num("(getresattrs r)"), 0);
  EXPECT_EQ(num("(sizeresource r)"), 3);
  EXPECT_EQ(num("(homeresfile r)"), num("(curresfile)"));
  std::uint32_t h = pointer_address(eval("r"));
  char want[80];
  std::snprintf(want, sizeof want, "<resource TEXT 128 \"hello\" %x of size 3>", h);
  EXPECT_EQ(printed("r"), want);
  EXPECT_EQ(pointer_address(eval("(getresource \"TEXT\" \"hello\")")), h);
  EXPECT_EQ(pointer_address(eval("(get1resource \"TEXT\" 128)")), h);
  EXPECT_EQ(num("(countresources \"TEXT\")"), 1);
  EXPECT_EQ(num("(count1types)"), 3);
  EXPECT_EQ(str("(get1indtype 2)"), "STR#");
  EXPECT_EQ(str("(get1indtype 4)"), "");
  EXPECT_EQ(num("(count1resources \"HELP\")"), 1);
  EXPECT_EQ(pointer_address(eval("(getindresource \"TEXT\" 1)")), h);
  EXPECT_EQ(pointer_address(eval("(get1indresource \"TEXT\" 1)")), h);
  EXPECT_EQ(error("(getresource 'TEXT 128)"), 2);
  EXPECT_EQ(error("(getresource \"TEXT\" 'x)"), 2);
}

TEST_F(ResourceLispTest, NothingFoundIsANullResourceAndAnErrorCode) {
  eval("(openresfile Path)");
  Value none = eval("(getresource \"TEXT\" 999)");
  EXPECT_EQ(pointer_kind(none), PointerKind::resource);
  EXPECT_EQ(pointer_address(none), 0u);
  EXPECT_EQ(num("(reserror)"), -192);
  EXPECT_EQ(print_to_string(none), "<null resource>");
  eval("(getindresource \"TEXT\" 2)");
  EXPECT_EQ(num("(reserror)"), -192);
  eval("(getindresource \"TEXT\" 0)");
  EXPECT_EQ(num("(reserror)"), 0);
  eval("(useresfile 0)");
  EXPECT_EQ(pointer_address(eval("(getresource \"TEXT\" 128)")), 0u);
  EXPECT_EQ(num("(homeresfile (getresource \"TEXT\" 128))"), -1);
  eval("(useresfile 55)");
  EXPECT_EQ(num("(reserror)"), -193);
}

TEST_F(ResourceLispTest, DetachReleaseAndTheValuesKind) {
  eval("(openresfile Path)");
  eval("(set! r (getresource \"TEXT\" 128))");
  eval("(detachresource r)");
  EXPECT_EQ(pointer_kind(eval("r")), PointerKind::handle);
  eval("(set! s (getresource \"TEXT\" 128))");
  eval("(releaseresource s)");
  EXPECT_EQ(printed("s"), "<resource disposed>");
  EXPECT_EQ(num("(getresid s)"), 0);
  EXPECT_EQ(num("(reserror)"), -192);
}

TEST_F(ResourceLispTest, AddingWritingAndReadingBack) {
  std::int32_t ref = num("(openresfile Path)");
  eval("(set! h (new-handle 4))");
  std::memcpy(handle_bytes(pointer_address(eval("h"))).data(), "wxyz", 4);
  eval("(addresource h \"NEWT\" 300 \"fresh\")");
  EXPECT_EQ(pointer_kind(eval("h")), PointerKind::resource);
  EXPECT_EQ(num("(sizeresource h)"), 4);
  EXPECT_EQ(error("(addresource h \"NEWT\" 301 \"again\")"), 36);  // -194
  eval("(setresinfo h 301 \"renamed\")");
  eval("(setresattrs h 34)");
  eval("(updateresfile (curresfile))");
  eval("(closeresfile " + std::to_string(ref) + ")");
  EXPECT_EQ(num("(curresfile)"), 0);
  eval("(openresfile Path)");
  eval("(set! n (getresource \"NEWT\" \"renamed\"))");
  EXPECT_EQ(num("(getresid n)"), 301);
  EXPECT_EQ(num("(getresattrs n)"), 32);
  auto bytes = handle_bytes(pointer_address(eval("n")));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "wxyz");
}

TEST_F(ResourceLispTest, RemovingMakesTheValueAHandle) {
  eval("(openresfile Path)");
  eval("(set! r (getresource \"TEXT\" 128))");
  eval("(rmveresource r)");
  EXPECT_EQ(pointer_kind(eval("r")), PointerKind::handle);
  EXPECT_EQ(error("(rmveresource r)"), 36);  // -196
  EXPECT_EQ(num("(count1types)"), 3);
  eval("(updateresfile (curresfile))");
  EXPECT_EQ(num("(count1types)"), 2);
}

TEST_F(ResourceLispTest, ErrorsAfterFailedFileOperations) {
  EXPECT_EQ(error("(closeresfile 99)"), 36);
  EXPECT_EQ(error("(updateresfile 99)"), 36);
  eval("(updateresfile 0)");
  EXPECT_EQ(num("(reserror)"), 0);
  EXPECT_EQ(num("(getresfileattrs 0)"), 0);
}

TEST_F(ResourceLispTest, UniqueIdsAndTheLoadFlag) {
  eval("(openresfile Path)");
  EXPECT_EQ(num("(uniqueid \"PICT\")"), 128);
  EXPECT_EQ(num("(unique1id \"PICT\")"), 129);
  EXPECT_EQ(num("(uniqueid \"TEXT\")"), 129);
  eval("(setresload nil)");
  eval("(setresload 65536)");  // the low 16 bits are 0
  eval("(set! r (getresource \"TEXT\" 128))");
  EXPECT_EQ(num("(sizeresource r)"), 3);  // a first load happens anyway
}

TEST_F(ResourceLispTest, StringListsAndHelpRecords) {
  eval("(openresfile Path)");
  EXPECT_EQ(str("(get-ind-string 7 1)"), "one");
  EXPECT_EQ(str("(get-ind-string 7 2)"), "");
  EXPECT_EQ(str("(get-ind-string 7 3)"), "three");
  EXPECT_EQ(str("(get-ind-string 7 0)"), "");
  EXPECT_EQ(str("(get-ind-string 7 4)"), "");
  EXPECT_EQ(str("(get-ind-string 8 1)"), "");
  EXPECT_EQ(num("(get-nb-string 7)"), 3);
  EXPECT_EQ(num("(get-nb-string 8)"), 0);
  EXPECT_EQ(num("(get-strings-count (getresource \"STR#\" 7))"), 3);
  EXPECT_EQ(string_list_text(7, 3), "three");
  EXPECT_FALSE(string_list_text(7, 9));

  eval("(set! help (getresource \"HELP\" 1))");
  EXPECT_EQ(num("(help-get-offset help 0)"), 0);
  EXPECT_EQ(num("(help-get-offset help 1)"), 8);
  EXPECT_EQ(num("(help-get-offset help 2)"), 14);
  EXPECT_EQ(num("(help-get-offset help 9)"), 20);
  EXPECT_EQ(num("(help-get-no help 0)"), 0);
  EXPECT_EQ(num("(help-get-no help 1)"), 1);
  EXPECT_EQ(num("(help-get-no help 8)"), 1);
  EXPECT_EQ(num("(help-get-no help 9)"), 2);
  EXPECT_EQ(num("(help-get-no help 500)"), 3);
  Value names = eval("(help-get-all-name help)");
  ASSERT_EQ(list_length(names), 3u);
  EXPECT_EQ(string_view_of(car(names)), "ab");
  EXPECT_EQ(string_view_of(car(cdr(names))), "c");
  EXPECT_EQ(string_view_of(car(cdr(cdr(names)))), "");
}

TEST(ResourceErrors, CodesMapToLispErrors) {
  EXPECT_EQ(lisp_error_for_resource_code(0), 0);
  EXPECT_EQ(lisp_error_for_resource_code(-49), 38);
  EXPECT_EQ(lisp_error_for_resource_code(-47), 38);
  EXPECT_EQ(lisp_error_for_resource_code(-48), 33);
  EXPECT_EQ(lisp_error_for_resource_code(-46), 45);
  EXPECT_EQ(lisp_error_for_resource_code(-44), 45);
  EXPECT_EQ(lisp_error_for_resource_code(-35), 45);
  EXPECT_EQ(lisp_error_for_resource_code(-43), 31);
  EXPECT_EQ(lisp_error_for_resource_code(-34), 46);
  EXPECT_EQ(lisp_error_for_resource_code(-33), 46);
  EXPECT_EQ(lisp_error_for_resource_code(-192), 36);
  EXPECT_EQ(lisp_error_for_resource_code(-108), 36);
}

}  // namespace
}  // namespace orvane::testing
