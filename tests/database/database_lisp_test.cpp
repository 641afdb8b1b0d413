// The record-database primitives from Lisp: database and record Values,
// typed records, unique ids, printed forms and the errors of class 1011.
#include <gtest/gtest.h>

#include <cstdio>

#include "core/blocks.h"
#include "core/symbols.h"
#include "reader/printer.h"
#include "reader/reader.h"
#include "storage/database_module.h"
#include "db_support.h"
#include "support/eval_helpers.h"

namespace orvane::testing {
namespace {

class DatabaseLispTest : public EvalTest {
 protected:
  void SetUp() override {
    EvalTest::SetUp();
    set_symbol_global(intern("Path"), make_string(dir.file("title.db")));
  }
  void TearDown() override {
    close_all_databases();
    EvalTest::TearDown();
  }
  Value eval(std::string_view text) { return run(read_from_text(text)); }
  std::int32_t num(std::string_view text) { return integer_of(eval(text)); }
  std::string str(std::string_view text) {
    Value v = eval(text);
    return is_string(v) ? std::string(string_view_of(v)) : "<not a string>";
  }
  int error(std::string_view text) { return error_of(read_from_text(text)); }
  void open_new() {
    eval("(create-database-subr Path \"ORVN\" \"DBSE\")");
    eval("(set! db (open-database Path 2))");
  }

  DbTempDir dir;
};

TEST_F(DatabaseLispTest, CreateOpenAndRefuse) {
  EXPECT_EQ(eval("(database? Path)"), kNil);
  open_new();
  EXPECT_EQ(eval("(database? Path)"), g_sym.t);
  EXPECT_EQ(pointer_kind(eval("db")), PointerKind::database);
  EXPECT_EQ(error("(create-database-subr Path \"ORVN\" \"DBSE\")"), 6);
  EXPECT_EQ(error("(create-database-in-subr \"/no/such/dir/x\" \"ORVN\" \"DBSE\")"), 6);
  EXPECT_EQ(num("(count-record-types db)"), 0);
  EXPECT_EQ(str("(get-indexed-type 0 db)"), "");
  eval("(close-database db nil)");
  EXPECT_EQ(error("(count-record-types db)"), 4);
  EXPECT_EQ(error("(open-database \"/no/such/file\" 0)"), 31);
}

TEST_F(DatabaseLispTest, TypedRecordsRoundTrip) {
  open_new();
  eval("(put-record-number 5 \"NUMB\" 1 db)");
  EXPECT_EQ(num("(get-record-number \"NUMB\" 1 db)"), 5);
  eval("(put-record-number -2 \"NUMB\" 2 db)");
  EXPECT_EQ(num("(get-record-number \"NUMB\" 2 db)"), -2);
  // Values past 16 bits come back unchanged.
  eval("(put-record-number 100000 \"NUMB\" 3 db)");
  EXPECT_EQ(num("(get-record-number \"NUMB\" 3 db)"), 100000);
  eval("(put-record-number 2000000000 \"NUMB\" 4 db)");
  EXPECT_EQ(num("(get-record-number \"NUMB\" 4 db)"), 2000000000);
  EXPECT_EQ(error("(get-record-number \"NUMB\" 99 db)"), 2);

  eval("(put-record-string \"high score\" \"STRG\" 1 db)");
  EXPECT_EQ(str("(get-record-string \"STRG\" 1 db)"), "high score");
  eval("(put-record-string \"hi\" \"STRG\" 1 db)");
  EXPECT_EQ(str("(get-record-string \"STRG\" 1 db)"), "hi");
  EXPECT_EQ(error("(get-record-number \"STRG\" 1 db)"), 2);  // 3 bytes: not a number

  eval("(put-record-vector (vector 1 2 3) \"VECT\" 1 db)");
  EXPECT_EQ(print_to_string(eval("(get-record-vector \"VECT\" 1 db)")), print_to_string(eval("(vector 1 2 3)")));
  eval("(set! a (make-array 2 3))");
  eval("(array-set! a 42 1 1)");
  eval("(put-record-array a \"ARRY\" 1 db)");
  EXPECT_EQ(num("(array-ref (get-record-array \"ARRY\" 1 db) 1 1)"), 42);
  EXPECT_EQ(num("(get-record-size (get-record \"ARRY\" 1 db nil))"), 4 * 6 + 2 * 2 + 4);

  eval("(close-database db nil)");
  eval("(set! db (open-database Path 0))");
  EXPECT_EQ(num("(get-record-number \"NUMB\" 3 db)"), 100000);
  EXPECT_EQ(str("(get-record-string \"STRG\" 1 db)"), "hi");
  EXPECT_EQ(error("(put-record-number 1 \"NUMB\" 1 db)"), 9);
}

TEST_F(DatabaseLispTest, RecordsAddedRenamedAndRemoved) {
  open_new();
  eval("(set! h (new-handle 4))");
  eval("(add-record h \"TEXT\" 10 \"ten\" db)");
  EXPECT_EQ(pointer_kind(eval("h")), PointerKind::record);
  EXPECT_EQ(error("(add-record h \"TEXT\" 11 \"\" db)"), 7);
  EXPECT_EQ(num("(get-record-id h)"), 10);
  EXPECT_EQ(str("(get-record-name h)"), "ten");
  EXPECT_EQ(num("(get-record-size h)"), 4);
  EXPECT_EQ(num("(get-record-attributes h)"), 0x42);
  EXPECT_EQ(num("(count-records \"TEXT\" db)"), 1);
  EXPECT_EQ(num("(count-records \"NONE\" db)"), 0);
  EXPECT_EQ(str("(get-indexed-type 0 db)"), "TEXT");
  EXPECT_EQ(pointer_address(eval("(get-record \"TEXT\" \"ten\" db nil)")), pointer_address(eval("h")));
  EXPECT_EQ(pointer_address(eval("(get-record \"TEXT\" 99 db nil)")), 0u);
  EXPECT_EQ(pointer_address(eval("(home-database h)")), pointer_address(eval("db")));
  char want[100];
  std::snprintf(want, sizeof want, "<record TEXT 10 \"ten\" %x of size 4>", pointer_address(eval("h")));
  EXPECT_EQ(print_to_string(eval("h")), want);

  EXPECT_EQ(eval("(get-indexed-record \"TEXT\" -1 db nil)"), kNil);
  EXPECT_EQ(error("(get-indexed-record \"TEXT\" 1 db nil)"), 5);
  eval("(set-record-info h 12 \"twelve\")");
  EXPECT_EQ(num("(get-record-id h)"), 12);
  eval("(update-database db)");
  eval("(set-record-attributes h 8)");
  EXPECT_EQ(error("(remove-record h)"), 8);
  eval("(set-record-attributes h 0)");
  eval("(remove-record h)");
  EXPECT_EQ(pointer_kind(eval("h")), PointerKind::handle);
  EXPECT_EQ(error("(get-record-id h)"), 5);
  EXPECT_EQ(num("(count-records \"TEXT\" db)"), 0);
}

TEST_F(DatabaseLispTest, UniqueIdsAndDetaching) {
  open_new();
  EXPECT_EQ(num("(unique-record-id \"NUMB\" db)"), 0);
  EXPECT_EQ(num("(unique-record-id \"NUMB\" db)"), 1);
  eval("(put-record-number 1 \"NUMB\" 0 db)");
  eval("(put-record-number 1 \"NUMB\" 1 db)");
  EXPECT_EQ(num("(unique-record-id \"OTHR\" nil db)"), 0);
  EXPECT_EQ(num("(unique-record-id \"NUMB\" db)"), 2);
  eval("(set! r (get-record \"NUMB\" 0 db nil))");
  eval("(detach-record r)");
  EXPECT_EQ(pointer_kind(eval("r")), PointerKind::handle);
  EXPECT_EQ(eval("(eq? (get-record \"NUMB\" 0 db t) r)"), kNil);
  EXPECT_EQ(symbol_global(intern("Compact-Databases?")), g_sym.t);
}

}  // namespace
}  // namespace orvane::testing
