// Building title folders: each manifest field and resource kind lands in
// the resource that start-up and the run-time read, and every bad input is
// reported clearly with nothing built.
#include <gtest/gtest.h>

#include "core/memory_config.h"
#include "graphics/picture_render.h"
#include "platform/desktop/cursors.h"
#include "storage/resource_records.h"
#include "shell/title_file.h"
#include "shell/title_summary.h"
#include "title_build/title_folder.h"

namespace orvane::testing {
namespace {

using raster::Color;
using raster::PixelFormat;
using raster::Surface;

constexpr const char* kMain = "(define (toplevel-loop) (quit))\n";

shell::BuiltTitle built(const TitleFolder& folder, bool compact = false) {
  shell::TitleBuild b = folder.build(compact);
  for (const auto& e : b.errors) ADD_FAILURE() << e;
  if (!b.title) throw std::runtime_error("not built");
  return std::move(*b.title);
}

std::vector<std::string> errors_of(const TitleFolder& folder, bool compact = false) {
  shell::TitleBuild b = folder.build(compact);
  EXPECT_FALSE(b.title) << "built despite errors";
  return b.errors;
}

std::optional<std::string> resource_text(const shell::BuiltTitle& t, const std::string& type, std::int16_t id) {
  const auto* r = find_resource(t, type, id);
  if (!r) return std::nullopt;
  return text_of(r);
}

std::span<const std::uint8_t> bytes_of(const shell::TitleResource* r) {
  return r ? std::span<const std::uint8_t>(r->data) : std::span<const std::uint8_t>{};
}

TEST(TitleBuild, PreferencesAndMemoryReadBackAsStartUpReadsThem) {
  TitleFolder folder;
  folder.manifest(
          "caption \"Tour \xc3\xa9t\xc3\xa9\"\nsize 800 600\nflags menu-bar maximised\nlanguage french\n"
          "memory nodes 800000\nmemory total 64M\nmemory reserve-share 10\nworld no\nsource main.lsp\n")
      .write("main.lsp", kMain);
  shell::BuiltTitle t = built(folder);
  shell::TitlePreferences p =
      shell::parse_preferences(resource_text(t, "PREF", 257), resource_text(t, "PREF", 258), "X.RI");
  EXPECT_EQ(p.caption, "Tour \xe9t\xe9");
  EXPECT_EQ(p.client, (raster::IntSize{800, 600}));
  EXPECT_EQ(p.flags, shell::start_flags::menu_bar | shell::start_flags::maximised);
  EXPECT_EQ(p.language, 1);
  MemoryConfig m = MemoryConfig::parse(bytes_of(find_resource(t, "VPRF", 256)), bytes_of(find_resource(t, "SIZE", -1)));
  EXPECT_EQ(m.nodes, 800000u);
  EXPECT_EQ(m.total, 64u << 20);
  EXPECT_EQ(m.reserve_share, 10u);
  EXPECT_EQ(m.symbols, MemoryConfig{}.symbols);
}

TEST(TitleBuild, MissingFieldsGiveTheRunTimesDefaults) {
  TitleFolder folder("My Title");
  folder.manifest("world no\nsource main.lsp\n").write("main.lsp", kMain);
  shell::BuiltTitle t = built(folder);
  shell::TitlePreferences p =
      shell::parse_preferences(resource_text(t, "PREF", 257), resource_text(t, "PREF", 258), "X.RI");
  EXPECT_EQ(p.caption, "My Title") << "the folder's name";
  EXPECT_EQ(p.client, (raster::IntSize{640, 480}));
  EXPECT_EQ(p.flags, 0);
  EXPECT_EQ(p.language, 0);
  EXPECT_FALSE(find_resource(t, "VPRF", 256));
  EXPECT_FALSE(find_resource(t, "SIZE", -1));
  EXPECT_FALSE(find_resource(t, "SYMB", 0));
  EXPECT_EQ(shell::default_title_file_name(folder.path() + "/"), "My Title.RI");
}

TEST(TitleBuild, TheWorldLoadsFirstInItsOrderThenTheSourcesInTheirs) {
  TitleFolder folder;
  folder.manifest("world lib\nsource b.lsp\nsource a.lsp\n")
      .write("lib/ORDER", "# the world\nsecond.lsp\n\nfirst.lsp  # loaded after second\n")
      .write("lib/first.lsp", "(first)")
      .write("lib/second.lsp", "(second)")
      .write("lib/unlisted.lsp", "(unlisted)")
      .write("a.lsp", "(a)")
      .write("b.lsp", "(b)");
  shell::BuiltTitle t = built(folder);
  std::vector<std::string> loads;
  for (std::int16_t n = 0; auto text = resource_text(t, "Load", n); ++n) loads.push_back(*text);
  EXPECT_EQ(loads, (std::vector<std::string>{"(second)", "(first)", "(b)", "(a)"}));
  ASSERT_EQ(t.loaded.size(), 4u);
  EXPECT_EQ(t.loaded[0], folder.file("lib/second.lsp"));

  folder.write("lib/ORDER", "second.lsp\nmissing.lsp\n");
  auto errors = errors_of(folder);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], folder.file("lib/ORDER") + ":2: no file missing.lsp in the world");
  folder.manifest("source a.lsp\nworld nowhere\n");
  EXPECT_EQ(errors_of(folder)[0], folder.file("title.manifest") + ":2: the world folder nowhere has no ORDER list");
}

TEST(TitleBuild, SplashPicturesAndTheirTimes) {
  TitleFolder folder;
  Surface a(30, 20, PixelFormat::rgb32), b(10, 40, PixelFormat::rgb32);
  a.fill(Color{200, 0, 0}.rgb());
  b.fill(Color{0, 0, 200}.rgb());
  folder.manifest("world no\nsource main.lsp\nsplash a.png 2s\nsplash b.png\n")
      .write("main.lsp", kMain)
      .png("a.png", a)
      .png("b.png", b);
  shell::BuiltTitle t = built(folder);
  ASSERT_TRUE(find_resource(t, "PICT", 501));
  EXPECT_EQ(graphics::inspect_picture(find_resource(t, "PICT", 501)->data).frame, (raster::IntRect{0, 0, 30, 20}));
  EXPECT_EQ(graphics::inspect_picture(find_resource(t, "PICT", 502)->data).frame, (raster::IntRect{0, 0, 10, 40}));
  EXPECT_EQ(resource_text(t, "wait", 501), std::string("\0\x78", 2));
  EXPECT_FALSE(find_resource(t, "wait", 502)) << "the last picture has no time: the sequence ends there";
}

TEST(TitleBuild, PicturesDrawBackPixelForPixel) {
  TitleFolder folder;
  Surface few(33, 17, PixelFormat::rgb32), many(40, 30, PixelFormat::rgb32);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 33; ++x) few.set_pixel(x, y, Color{static_cast<std::uint8_t>(x * 7), 9, static_cast<std::uint8_t>(y)}.rgb());
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x)
      many.set_pixel(x, y, Color{static_cast<std::uint8_t>(x * 6), static_cast<std::uint8_t>(y * 8), static_cast<std::uint8_t>(x ^ y)}.rgb());
  folder.manifest("world no\nsource main.lsp\npicture 128 few.png\npicture -3 many.png\n")
      .write("main.lsp", kMain)
      .png("few.png", few)
      .png("many.png", many);
  shell::BuiltTitle t = built(folder);
  for (auto [id, image] : {std::pair<std::int16_t, const Surface*>{128, &few}, {-3, &many}}) {
    const auto* pict = find_resource(t, "PICT", id);
    ASSERT_TRUE(pict);
    auto drawn = graphics::render_picture(pict->data, std::nullopt);
    ASSERT_TRUE(drawn.surface);
    for (int y = 0; y < image->height(); ++y)
      for (int x = 0; x < image->width(); ++x)
        ASSERT_EQ(drawn.surface->color_at(x, y), image->color_at(x, y)) << "PICT " << id << " at " << x << ", " << y;
  }
}

TEST(TitleBuild, CursorsTakeTheirMaskFromAlphaAndTheirImageFromDarkPixels) {
  std::vector<std::uint8_t> rgba(16 * 16 * 4, 0);
  auto set = [&](int x, int y, std::uint8_t grey, std::uint8_t alpha) {
    std::uint8_t* p = &rgba[4 * (y * 16 + x)];
    p[0] = p[1] = p[2] = grey;
    p[3] = alpha;
  };
  set(0, 0, 0, 255);      // black: image and mask
  set(15, 0, 255, 255);   // white: mask only
  set(1, 1, 0, 0);        // transparent: neither
  set(7, 15, 60, 200);    // dark and mostly opaque: both
  TitleFolder folder;
  folder.manifest("world no\nsource main.lsp\ncursor 300 c.png 7 9\ncursor 301 c.png\n")
      .write("main.lsp", kMain)
      .rgba_png("c.png", 16, 16, rgba);
  shell::BuiltTitle t = built(folder);
  const auto* curs = find_resource(t, "CURS", 300);
  ASSERT_TRUE(curs);
  ASSERT_EQ(curs->data.size(), 68u);
  auto row = [&](int offset, int y) { return curs->data[offset + 2 * y] << 8 | curs->data[offset + 2 * y + 1]; };
  EXPECT_EQ(row(0, 0), 0x8000);
  EXPECT_EQ(row(32, 0), 0x8001);
  EXPECT_EQ(row(0, 1), 0);
  EXPECT_EQ(row(32, 1), 0);
  EXPECT_EQ(row(0, 15), 0x0100);
  EXPECT_EQ(row(32, 15), 0x0100);
  EXPECT_EQ(curs->data[64] << 8 | curs->data[65], 9) << "the hot spot's vertical first";
  EXPECT_EQ(curs->data[66] << 8 | curs->data[67], 7);
  auto shown = desktop::cursor_from_resource(curs->data);
  ASSERT_TRUE(shown) << "the desktop takes it as a cursor";
  EXPECT_EQ(shown->hot_spot, (raster::IntPoint{7, 9}));
  EXPECT_EQ(find_resource(t, "CURS", 301)->data[67], 0);

  folder.rgba_png("big.png", 16, 17, std::vector<std::uint8_t>(16 * 17 * 4, 255))
      .manifest("world no\nsource main.lsp\ncursor 300 big.png\n");
  EXPECT_EQ(errors_of(folder)[0], folder.file("title.manifest") + ":3: big.png is 16 x 17 pixels; a cursor is 16 x 16");
}

TEST(TitleBuild, StringListsPatternsAndRawResources) {
  TitleFolder folder;
  folder.manifest("world no\nsource main.lsp\nstrings 128 menus.txt\npatterns 5 AA55AA55AA55AA55 00000000000000FF\n"
                  "resource snd 7 beep.bin\n")
      .write("main.lsp", kMain)
      .write("menus.txt", "File\r\n\xc3\x89" "dition\n\nlast")
      .write("beep.bin", std::string("\0\1\2\3", 4));
  shell::BuiltTitle t = built(folder);
  EXPECT_EQ(resource_text(t, "STR#", 128), std::string("\0\4\4File\7\xc9" "dition\0\4last", 21));
  EXPECT_EQ(resource_text(t, "PAT#", 5), std::string("\0\2\xAA\x55\xAA\x55\xAA\x55\xAA\x55\0\0\0\0\0\0\0\xFF", 18));
  EXPECT_EQ(resource_text(t, "snd ", 7), std::string("\0\1\2\3", 4));
  // As the run-time's record readers take them.
  const auto* strings = find_resource(t, "STR#", 128);
  EXPECT_EQ(string_list_count(strings->data), 4);
  EXPECT_EQ(string_list_entry(strings->data, 2), std::optional<std::string_view>("\xc9" "dition"));
  EXPECT_EQ(string_list_entry(strings->data, 4), std::optional<std::string_view>("last"));
  auto pattern = pattern_list_entry(find_resource(t, "PAT#", 5)->data, 2);
  ASSERT_TRUE(pattern);
  EXPECT_EQ((*pattern)[7], 0xFF);

  folder.write("menus.txt", std::string(256, 'x'));
  EXPECT_EQ(errors_of(folder)[0], folder.file("title.manifest") + ":3: menus.txt:1: a string is longer than 255 characters");
}

TEST(TitleBuild, CompactCodeHasItsSymbolTable) {
  TitleFolder folder;
  folder.manifest("world no\nsource a.lsp b.lsp\n")
      .write("a.lsp", "(define (toplevel-loop) (prin (list 1 'two :three)) (quit))")
      .write("b.lsp", "(define (helper) (prin 'two))");
  shell::BuiltTitle text = built(folder), compact = built(folder, true);
  EXPECT_FALSE(find_resource(text, "SYMB", 0));
  ASSERT_TRUE(find_resource(compact, "SYMB", 0));
  EXPECT_LT(find_resource(compact, "Load", 0)->data.size(), find_resource(text, "Load", 0)->data.size());
  ASSERT_TRUE(find_resource(compact, "Load", 1));
  EXPECT_EQ(resource_text(compact, "Load", 1)->find("helper"), std::string::npos) << "names are in the table";

  folder.write("b.lsp", "(a)\n(#x 1)");
  EXPECT_EQ(errors_of(folder, true), std::vector<std::string>{folder.file("b.lsp") + ":2: \"#x\" has no reader function"});
}

TEST(TitleBuild, SyntaxThatTheCodeDefinesServesTheFilesAfterIt) {
  TitleFolder folder;
  folder.manifest("world lib\nsource main.lsp\n")
      .write("lib/ORDER", "syntax.lsp\n")
      .write("lib/syntax.lsp", "(ddc #\\x (list 'hex (read)))\n(dmc #\\@ (list 'at (read)))\n")
      .write("main.lsp", "(define (f) (list #x 12 @ 5))\n");
  shell::BuiltTitle t = built(folder);
  EXPECT_EQ(resource_text(t, "Load", 1), "(define (f) (list #x 12 @ 5))\n");
  EXPECT_EQ(errors_of(folder, true),
            std::vector<std::string>{folder.file("lib/syntax.lsp") +
                                     ":1: \"ddc\" changes the reader's syntax, which compact code cannot follow"});
}

TEST(TitleBuild, SourcesInUtf8AreStoredInTheRunTimesCharacters) {
  TitleFolder folder;
  folder.manifest("\xEF\xBB\xBF# a manifest saved with a byte-order mark\nworld no\nsource utf8.lsp latin.lsp ascii.lsp\n")
      .write("utf8.lsp", "\xEF\xBB\xBF(prin \"\xC3\xA9t\xC3\xA9\")\n(prin \"\xE2\x82\xAC\")\n")
      .write("latin.lsp", "(prin \"\xE9t\xE9\")")
      .write("ascii.lsp", "(prin \"plain\")");
  shell::BuiltTitle t = built(folder);
  EXPECT_EQ(resource_text(t, "Load", 0), "(prin \"\xE9t\xE9\")\n(prin \"\x80\")\n");
  EXPECT_EQ(resource_text(t, "Load", 1), "(prin \"\xE9t\xE9\")") << "not UTF-8: kept as written";
  EXPECT_EQ(resource_text(t, "Load", 2), "(prin \"plain\")");
  folder.write("utf8.lsp", "(a)\n(prin \"\xE2\x86\x92\")\n");
  EXPECT_EQ(errors_of(folder), std::vector<std::string>{folder.file("utf8.lsp") +
                                                        ":2: character U+2192 at column 8 is not in Windows-1252"});
}

TEST(TitleBuild, LispReaderErrorsNameTheFileAndLine) {
  TitleFolder folder;
  folder.manifest("world no\nsource good.lsp open.lsp stray.lsp char.lsp string.lsp\n")
      .write("good.lsp", "(define (f) 1)\n&(not win) (ignored)\n{ x }\n(g #{english \"a\" french \"b\"})\n")
      .write("open.lsp", "(ok)\n; a comment\n(define (f)\n  (g 1)\n")
      .write("stray.lsp", "(ok)\n\n(ok))\n")
      .write("char.lsp", "(a\n #\\nosuchname)\n")
      .write("string.lsp", "(a)\n(b \"never closed)\n\n");
  auto errors = errors_of(folder);
  std::vector<std::string> expected{
      folder.file("open.lsp") + ":3: the form that begins on line 3 is not closed (a \")\" or a string's closing quote is missing)",
      folder.file("stray.lsp") + ":3: a \")\" where no list is open",
      folder.file("char.lsp") + ":2: this cannot be read: nosuchname",
      folder.file("string.lsp") + ":2: the form that begins on line 2 is not closed (a \")\" or a string's closing quote is missing)",
  };
  EXPECT_EQ(errors, expected);
  // Unchecked, they are packed as they are.
  folder.manifest("check no\nworld no\nsource good.lsp open.lsp stray.lsp char.lsp string.lsp\n");
  EXPECT_EQ(resource_text(built(folder), "Load", 2), "(ok)\n\n(ok))\n");
}

TEST(TitleBuild, MissingAndUnreadableFilesAreAllReported) {
  TitleFolder folder;
  folder.manifest("world no\nsource main.lsp gone.lsp\npicture 1 none.png\npicture 2 bad.png\nsplash bad.png\n"
                  "strings 3 none.txt\nresource DATA 4 none.bin\ncursor 5 none.png\n")
      .write("main.lsp", kMain)
      .write("bad.png", "this is no PNG");
  auto errors = errors_of(folder);
  const std::string m = folder.file("title.manifest");
  ASSERT_EQ(errors.size(), 7u) << errors[0];
  EXPECT_EQ(errors[0], m + ":2: no file gone.lsp in the folder");
  EXPECT_EQ(errors[1].rfind(m + ":5: bad.png is not a readable PNG image (", 0), 0u) << errors[1];
  EXPECT_EQ(errors[2], m + ":3: no file none.png in the folder");
  EXPECT_EQ(errors[3].rfind(m + ":4: bad.png is not a readable PNG image (", 0), 0u) << errors[3];
  EXPECT_EQ(errors[4], m + ":8: no file none.png in the folder");
  EXPECT_EQ(errors[5], m + ":6: no file none.txt in the folder");
  EXPECT_EQ(errors[6], m + ":7: no file none.bin in the folder");
}

TEST(TitleBuild, BigFoldersReportEachStep) {
  TitleFolder folder;
  Surface logo(4, 4, PixelFormat::rgb32);
  folder.manifest("world no\nsource main.lsp\npicture 1 logo.png\nsplash logo.png\n")
      .write("main.lsp", kMain)
      .png("logo.png", logo);
  std::vector<std::string> steps;
  shell::BuildOptions options;
  options.compact = true;
  options.progress = [&](const std::string& step) { steps.push_back(step); };
  ASSERT_TRUE(shell::build_title_folder(folder.path(), options).title);
  EXPECT_TRUE(steps.empty()) << "a small folder builds quietly";
  options.progress_above = 0;
  ASSERT_TRUE(shell::build_title_folder(folder.path(), options).title);
  EXPECT_EQ(steps, (std::vector<std::string>{"checking 1 Lisp file", "encoding the code compactly",
                                             "picture 1 of 2: logo.png", "picture 2 of 2: logo.png"}));
}

TEST(TitleBuild, FoldersWithoutAManifestOrWithABadOneBuildNothing) {
  TitleFolder folder;
  EXPECT_EQ(errors_of(folder), std::vector<std::string>{folder.file("title.manifest") +
                                                        ": the folder has no manifest (title.manifest)"});
  folder.manifest("source main.lsp\ncolour red\n");
  EXPECT_EQ(errors_of(folder), std::vector<std::string>{folder.file("title.manifest") + ":2: unknown field \"colour\""});
  EXPECT_EQ(shell::build_title_folder(folder.path() + "/nothing").errors[0], folder.path() + "/nothing: no such folder");
}

TEST(TitleBuild, TheWrittenFileHoldsEveryResourceAndInfoSummarisesIt) {
  TitleFolder folder;
  Surface logo(12, 8, PixelFormat::rgb32);
  logo.fill(Color{1, 2, 3}.rgb());
  folder.manifest("caption Tour\nworld no\nsource main.lsp\npicture 128 logo.png\nsplash logo.png 60\n"
                  "patterns 9 AA55AA55AA55AA55\n")
      .write("main.lsp", kMain)
      .png("logo.png", logo);
  shell::BuiltTitle t = built(folder);
  const std::string path = folder.scratch() + "/TOUR.RI";
  std::string error;
  ASSERT_TRUE(shell::write_title_file(t.resources, path, &error)) << error;
  shell::TitleFileRead read = shell::read_title_file(path);
  ASSERT_TRUE(read.preferences) << read.problem;
  EXPECT_EQ(read.preferences->caption, "Tour");
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  auto summary = shell::summarise_title(bytes, "TOUR.RI", &error);
  ASSERT_TRUE(summary) << error;
  EXPECT_EQ(summary->loads, 1u);
  EXPECT_EQ(summary->code_bytes, std::string(kMain).size());
  ASSERT_EQ(summary->splash.size(), 1u);
  EXPECT_EQ(summary->splash[0].detail, "PICT 2, 12 x 8, shown 60 ticks");
  ASSERT_EQ(summary->pictures.size(), 1u);
  EXPECT_EQ(summary->pictures[0].id, 128);
  ASSERT_EQ(summary->others.size(), 1u);
  EXPECT_EQ(summary->others[0].type, "PAT#");
  EXPECT_FALSE(std::filesystem::exists(path + ".partial"));
}

}  // namespace
}  // namespace orvane::testing
