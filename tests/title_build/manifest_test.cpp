// The manifest reader: every field, and a clear error with its line for
// every kind of mistake.
#include <gtest/gtest.h>

#include "shell/title_file.h"
#include "shell/title_manifest.h"

namespace orvane::shell {
namespace {

TitleManifest parsed(std::string_view text) {
  ManifestRead read = parse_manifest(text);
  EXPECT_TRUE(read.errors.empty()) << (read.errors.empty() ? "" : read.errors[0]);
  return read.manifest;
}

std::vector<std::string> errors_of(std::string_view text) { return parse_manifest(text).errors; }

TEST(Manifest, EveryFieldIsRead) {
  TitleManifest m = parsed(
      "# The tour\n"
      "caption \"Tour d'Orvane — été\"   # a comment after a field\n"
      "size 800 600\n"
      "flags menu-bar topmost\n"
      "flags maximized black-background borderless movies\n"
      "language spanish\n"
      "memory nodes 800000\n"
      "memory heap 8M\n"
      "memory total 64M\n"
      "memory symbols 4K\n"
      "world extra/world\n"
      "source main.lsp \"pages one.lsp\"\n"
      "source last.lsp\n"
      "splash a.png 2s\n"
      "splash b.png 90\n"
      "splash c.png\n"
      "picture 128 logo.png\n"
      "cursor 200 hand.png 3 1\n"
      "cursor 201 arrow.png\n"
      "strings 128 menus.txt\n"
      "patterns 128 AA55AA55AA55AA55 ff00ff00ff00ff00\n"
      "resource snd 1 beep.bin\n"
      "resource TEXT -5 notes.txt\n");
  EXPECT_EQ(m.caption, std::string("Tour d'Orvane \x97 \xE9t\xE9")) << "UTF-8 becomes Windows-1252";
  EXPECT_EQ(m.size, (raster::IntSize{800, 600}));
  EXPECT_EQ(m.flags, start_flags::menu_bar | start_flags::topmost | start_flags::maximised |
                         start_flags::black_client | start_flags::borderless_when_too_big |
                         start_flags::needs_movies);
  EXPECT_EQ(m.language, 2);
  ASSERT_TRUE(m.memory);
  EXPECT_EQ(m.memory->nodes, 800000u);
  EXPECT_EQ(m.memory->heap, 8u << 20);
  EXPECT_EQ(m.memory->total, 64u << 20);
  EXPECT_EQ(m.memory->symbols, 4096u);
  EXPECT_EQ(m.memory->lisp_stack, MemoryConfig{}.lisp_stack) << "fields not given keep their defaults";
  EXPECT_EQ(m.world, WorldChoice::folder);
  EXPECT_EQ(m.world_folder, "extra/world");
  ASSERT_EQ(m.sources.size(), 3u);
  EXPECT_EQ(m.sources[1].file, "pages one.lsp");
  EXPECT_EQ(m.sources[2].line, 13);
  ASSERT_EQ(m.splash.size(), 3u);
  EXPECT_EQ(m.splash[0].ticks, 120);
  EXPECT_EQ(m.splash[1].ticks, 90);
  EXPECT_FALSE(m.splash[2].ticks);
  ASSERT_EQ(m.pictures.size(), 1u);
  EXPECT_EQ(m.pictures[0].id, 128);
  ASSERT_EQ(m.cursors.size(), 2u);
  EXPECT_EQ(m.cursors[0].hot_x, 3);
  EXPECT_EQ(m.cursors[0].hot_y, 1);
  EXPECT_EQ(m.cursors[1].hot_x, 0);
  ASSERT_EQ(m.patterns.size(), 1u);
  EXPECT_EQ(m.patterns[0].patterns[1][0], 0xFF);
  EXPECT_EQ(m.patterns[0].patterns[0][1], 0x55);
  ASSERT_EQ(m.raw.size(), 2u);
  EXPECT_EQ(m.raw[0].type, "snd ") << "short types are padded with blanks";
  EXPECT_EQ(m.raw[1].id, -5);
  EXPECT_EQ(m.strings[0].file, "menus.txt");
}

TEST(Manifest, WorldChoicesAndTimes) {
  EXPECT_EQ(parsed("world no\nsource a.lsp").world, WorldChoice::omit);
  EXPECT_EQ(parsed("world yes").world, WorldChoice::include);
  EXPECT_EQ(parsed("world auto").world, WorldChoice::automatic);
  EXPECT_EQ(parsed("source a.lsp").world, WorldChoice::automatic);
  EXPECT_EQ(parsed("splash a.png 500ms").splash[0].ticks, 30);
  EXPECT_EQ(parsed("splash a.png 0").splash[0].ticks, 0);
  EXPECT_FALSE(parsed("source a.lsp").memory) << "no memory field, no memory resources";
  EXPECT_TRUE(parsed("source a.lsp").check_sources);
  EXPECT_FALSE(parsed("check no").check_sources);
  EXPECT_EQ(errors_of("check maybe")[0], "title.manifest:1: \"check\" wants yes or no, not \"maybe\"");
}

TEST(Manifest, UnknownNamesAreReportedWithTheirLineAndANearName) {
  EXPECT_EQ(errors_of("source a.lsp\n\ncaptoin \"x\"\n"),
            std::vector<std::string>{"title.manifest:3: unknown field \"captoin\" (did you mean caption?)"});
  EXPECT_EQ(errors_of("flags menubar\n"),
            std::vector<std::string>{"title.manifest:1: unknown flag \"menubar\" (did you mean menu-bar?)"});
  EXPECT_EQ(errors_of("memory node 5\n")[0],
            "title.manifest:1: unknown memory setting \"node\" (did you mean nodes?)");
  EXPECT_EQ(errors_of("language german\n")[0],
            "title.manifest:1: unknown language \"german\" (english, french or spanish)");
  EXPECT_EQ(errors_of("zzzzzzzz 1\n")[0], "title.manifest:1: unknown field \"zzzzzzzz\"");
}

TEST(Manifest, BadValuesAreReportedEachOnItsLine) {
  std::vector<std::string> errors = errors_of(
      "size 800\n"                          // 1: too few
      "size 0 600\n"                        // 2: given twice is checked after the value
      "picture 40000 a.png\n"               // 3: id out of range
      "cursor 1 c.png 16 0\n"               // 4: hot spot outside 16 x 16
      "cursor 2 c.png 3\n"                  // 5: half a hot spot
      "patterns 3 AA55\n"                   // 6: short pattern
      "splash a.png soon\n"                 // 7: bad time
      "memory heap 12Q\n"                   // 8: bad amount
      "caption \"open\n"                    // 9: quote not closed
      "resource TOOLONG 1 x\n"              // 10: type too long
      "caption \"\xff\"\n");                // 11: not UTF-8
  ASSERT_EQ(errors.size(), 11u);
  for (std::size_t i = 0; i < errors.size(); ++i)
    EXPECT_EQ(errors[i].rfind("title.manifest:" + std::to_string(i + 1) + ": ", 0), 0u) << errors[i];
  EXPECT_NE(errors[0].find("\"size\" wants the client width and height"), std::string::npos) << errors[0];
  EXPECT_NE(errors[1].find("from 1 to 32767, not \"0\""), std::string::npos) << errors[1];
  EXPECT_NE(errors[2].find("resource id"), std::string::npos) << errors[2];
  EXPECT_NE(errors[6].find("not \"soon\""), std::string::npos) << errors[6];
}

TEST(Manifest, TwiceGivenAndReservedResourcesAreErrors) {
  auto errors = errors_of(
      "caption a\n"
      "caption b\n"
      "picture 5 a.png\n"
      "picture 5 b.png\n"
      "splash s.png 1\n"
      "splash t.png\n"
      "picture 502 c.png\n"
      "resource Load 0 x\n"
      "resource PREF 258 x\n"
      "resource wait 501 x\n"
      "resource PREF 300 x\n"
      "memory nodes 5\n"
      "memory nodes 6\n");
  std::vector<std::string> expected{
      "title.manifest:2: \"caption\" is given twice",
      "title.manifest:4: \"PICT\" 5 is given twice",
      "title.manifest:7: \"PICT\" 502 is a splash picture (the splash lines take 501 on)",
      "title.manifest:8: \"Load\" 0 is made from the Lisp sources",
      "title.manifest:9: \"PREF\" 258 is made from the caption, size, flags and language",
      "title.manifest:10: \"wait\" 501 is made from the splash pictures",
      "title.manifest:12: The memory configuration is unusable: the node store needs at least 1000",
      "title.manifest:13: memory nodes is given twice",
  };
  EXPECT_EQ(errors, expected);
}

TEST(Manifest, PicturesThatStartUpWouldShowAsTheSplashAreErrors) {
  EXPECT_EQ(errors_of("picture 501 a.png\nsource a.lsp\n"),
            std::vector<std::string>{"title.manifest:1: \"PICT\" 501 would show as the splash (give it as a splash line)"});
  EXPECT_EQ(errors_of("splash s.png 60\nresource PICT 502 a.pict\n"),
            std::vector<std::string>{
                "title.manifest:2: \"PICT\" 502 would show as a splash picture after the last (whose time leads on to it)"});
  EXPECT_TRUE(errors_of("splash s.png\npicture 502 a.png\npicture 500 b.png\n").empty())
      << "a last picture without a time ends the sequence";
}

TEST(Manifest, OnlyTheLastSplashPictureMayGoWithoutATime) {
  EXPECT_EQ(errors_of("splash a.png\nsplash b.png 10\nsplash c.png\n"),
            std::vector<std::string>{
                "title.manifest:1: this splash picture needs a time: the pictures after it would never show"});
  EXPECT_TRUE(errors_of("splash a.png 10\nsplash b.png 10\n").empty());
}

TEST(Manifest, ATitleWithoutWorldNeedsASource) {
  EXPECT_EQ(errors_of("caption x\nworld no\n"),
            std::vector<std::string>{"title.manifest:2: there is no Lisp source and no world (give \"source FILE\")"});
  EXPECT_TRUE(errors_of("").empty()) << "the world may be all the code";
}

TEST(Manifest, FlagNamesCoverEveryStartUpFlag) {
  std::uint8_t all = 0;
  for (const FlagName& f : start_flag_names()) all |= f.bit;
  EXPECT_EQ(all, start_flags::menu_bar | start_flags::borderless_when_too_big | start_flags::topmost |
                     start_flags::needs_movies | start_flags::black_client | start_flags::maximised);
}

}  // namespace
}  // namespace orvane::shell
