// The compact encoder against the reader's compact decoder: reading the
// encoded bytes with the table loaded must give what reading the text gives,
// datum for datum.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/symbols.h"
#include "reader/compact_encoder.h"
#include "reader/printer.h"
#include "reader/reader_fixture.h"

namespace orvane {
namespace {

class CompactEncoder : public testing::ReaderTest {
 protected:
  // Every datum of a text, printed readably (logic variables are new at
  // each read, so they are compared by their printed names).
  std::vector<std::string> data_of(std::string_view text) {
    std::vector<std::string> printed;
    for (Value v : read_all(text)) printed.push_back(print_to_string(v, PrintStyle::readable, std::string::npos));
    return printed;
  }
  // The data of the text, then of its encoding: they must be the same.
  void expect_round_trip(const std::vector<std::string>& sources) {
    std::vector<std::vector<std::string>> expected;
    for (const auto& s : sources) expected.push_back(data_of(s));
    CompactCode code = encode_compact(sources);
    ASSERT_EQ(code.sources.size(), sources.size());
    load_symbol_list(code.symbol_table.data(), code.symbol_table.size());
    for (std::size_t i = 0; i < sources.size(); ++i)
      EXPECT_EQ(data_of(code.sources[i]), expected[i]) << "source: " << sources[i];
    release_symbol_list();
  }
};

TEST_F(CompactEncoder, DefinitionsReadTheSameAndShrink) {
  const std::string text =
      "; a comment\n"
      "(define (fact _n)\n  (if (< _n 2) 1 (* _n (fact (- _n 1)))))\n"
      "(defslot window-paint (let ((x 1) (y -2)) (when t (set! x nil))))\n"
      "(define (greet) (prin \"hello, \\\"world\\\"; not a comment\") (new-line))\n";
  expect_round_trip({text});
  EXPECT_LT(encode_compact(std::vector<std::string>{text}).sources[0].size(), text.size());
}

TEST_F(CompactEncoder, EveryKindOfTokenReadsTheSame) {
  expect_round_trip({
      "(a b . c) (a | b) [x y) (1 . 2)",
      ":key (:a :b) (list :x 'y '(z))",
      "'_x (list '_ '_name)",
      "#\\a #\\space #\\return #\\( #\\a1 (#\\b #\\c)",
      "#(1 2 (3 4)) (vector #(a b))",
      "\"plain\" \"with \\\" quote\" \"\" (\"in\" \"list\")",
      "1.5 -2.25 2e3 1. 12 -7 +5 1a 1-2 - + e else e.x x.y 1+ 2147483647 -2147483648 99999999999",
      "a\\ b \\12 \\:colon",
      "nil t () define quote set! defslot when let",
  });
}

TEST_F(CompactEncoder, IntegersTakeTheShortestCodeThatHoldsThem) {
  for (int v : {0, 1, -1, 127, -128, 128, -129, 32767, -32768, 32768, -32769, 100000}) {
    std::string text = std::to_string(v);
    std::string encoded = encode_compact(std::vector<std::string>{text}).sources[0];
    std::size_t expected = v >= -128 && v <= 127 ? 2 : v >= -32768 && v <= 32767 ? 3 : text.size();
    EXPECT_EQ(encoded.size(), expected) << v;
    expect_round_trip({"(" + text + ")", text});
  }
}

TEST_F(CompactEncoder, ManyNamesUseTwoAndThreeByteReferences) {
  // 5,000 names: the most used get two-byte codes, the rest three.
  std::string text = "(popular popular popular)";
  for (int i = 0; i < 5000; ++i) text += " (name" + std::to_string(i) + " _var" + std::to_string(i % 7) + ")";
  CompactCode code = encode_compact(std::vector<std::string>{text});
  EXPECT_EQ(code.symbols, 5000u + 1 + 7);
  const auto first = static_cast<unsigned char>(code.sources[0][1]);
  EXPECT_TRUE(first >= 15 && first <= 31) << "a name used often gets a two-byte code";
  EXPECT_NE(code.sources[0].find('\x08'), std::string::npos) << "names past 4,360 get three-byte codes";
  expect_round_trip({text});
}

TEST_F(CompactEncoder, SourcesShareOneTable) {
  expect_round_trip({"(define (f) (g 1))", "(define (g _x) (f) shared)", "(shared 'only-here)"});
  CompactCode code = encode_compact(std::vector<std::string>{"(alpha beta)", "(beta gamma)"});
  EXPECT_EQ(code.symbols, 3u);
}

TEST_F(CompactEncoder, TopLevelDataKeepTheReadersSeparation) {
  // The character after a top-level datum is discarded by the next read:
  // "abc(def)" reads abc, then def.
  expect_round_trip({"abc(def)", "abc def\n\n  ghi", "\"s\" x", "(a)(b)c", "'q r", "x;comment\ny", "12 34"});
}

TEST_F(CompactEncoder, FeatureAndLanguageFormsReadTheSame) {
  run(read1("(set! Features '(win))"));
  run(read1("(set! Langage 'french)"));
  expect_round_trip({"&win 1 2 &(not win) 3 4 (&mac 5 6) &(or mac win) 7",
                     "(#{english \"Hello\" french \"Bonjour\"} x)"});
}

TEST_F(CompactEncoder, TheProjectsOwnLispReadsTheSame) {
  // The benchmarks' and the Lisp tests' sources: real code in this dialect.
  std::vector<std::string> sources;
  for (const char* folder : {"/../bench/lisp", "/lisp"})
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ORVANE_TESTS_DIR) + folder)) {
      if (entry.path().extension() != ".lsp") continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      // Files that change the reader's syntax are refused, rightly.
      try {
        encode_compact(std::vector<std::string>{text});
      } catch (const CompactEncodingError&) {
        continue;
      }
      if (text.find("#{") == std::string::npos && text.find('{') != std::string::npos) continue;  // needs Load-File
      sources.push_back(std::move(text));
    }
  ASSERT_GT(sources.size(), 20u);
  expect_round_trip(sources);
}

TEST_F(CompactEncoder, RefusesWhatItCannotEncode) {
  auto error_of = [](const std::vector<std::string>& sources) -> std::pair<std::size_t, int> {
    try {
      encode_compact(sources);
    } catch (const CompactEncodingError& e) {
      return {e.source(), e.line()};
    }
    return {99, 0};
  };
  // A dispatch character of the title's own reads raw characters.
  EXPECT_EQ(error_of({"(a)", "(b)\n(c #x12)"}), (std::pair<std::size_t, int>{1, 2}));
  // Code that changes the syntax for what follows.
  EXPECT_EQ(error_of({"(a)\n\n(typech #\\@ 4)"}), (std::pair<std::size_t, int>{0, 3}));
  EXPECT_EQ(error_of({"(set-macro-character 64 f)"}), (std::pair<std::size_t, int>{0, 1}));
  // Bytes that are compact codes already.
  EXPECT_EQ(error_of({std::string("(a\x08)")}), (std::pair<std::size_t, int>{0, 1}));
  EXPECT_EQ(error_of({"\n\n\"open"}), (std::pair<std::size_t, int>{0, 3}));
}

TEST_F(CompactEncoder, TheSymbolTableResourceIsCountedAndTerminated) {
  std::vector<std::string> names{"alpha", ":key", "b"};
  std::vector<std::uint8_t> bytes = symbol_table_resource(names);
  std::vector<std::uint8_t> expected{0, 3, 'a', 'l', 'p', 'h', 'a', 0, ':', 'k', 'e', 'y', 0, 'b', 0};
  EXPECT_EQ(bytes, expected);
}

}  // namespace
}  // namespace orvane
