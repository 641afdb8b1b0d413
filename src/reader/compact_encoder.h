// The compact encoder: Lisp source text in the reader's standard syntax
// turned into the compact byte encoding that the reader decodes
// (compact.cpp), with the start-up symbol table ("SYMB" 0) that the codes
// refer to. Symbols, keywords and logic variables become references into
// the table, integers of 16 bits become two- or three-byte codes; strings,
// reals, characters and every other token stay as text. Reading the
// encoded bytes with the table loaded gives the same data, datum for
// datum, as reading the text.
//
// The encoding assumes the reader's initial character types: code naming
// dmc, ddc, typech or set-macro-character, which change them, is refused,
// and so is a "#" dispatch character other than "\", "(" and "{".
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace orvane {

class CompactEncodingError : public std::runtime_error {
 public:
  CompactEncodingError(std::size_t source, int line, const std::string& what)
      : std::runtime_error(what), source_(source), line_(line) {}
  std::size_t source() const { return source_; }  // which of the sources
  int line() const { return line_; }               // from 1

 private:
  std::size_t source_;
  int line_;
};

struct CompactCode {
  std::vector<std::uint8_t> symbol_table;  // "SYMB" 0: count, then NUL-terminated names
  std::vector<std::string> sources;        // one encoded text per source, in order
  std::size_t symbols = 0;                 // names in the table
};

// Encodes the sources together, so that one table serves them all (the most
// frequent names get the shortest codes). Throws CompactEncodingError.
CompactCode encode_compact(std::span<const std::string> sources);

// The "SYMB" resource of the names (entries 8 and up).
std::vector<std::uint8_t> symbol_table_resource(std::span<const std::string> names);

}  // namespace orvane
