// Menu objects mirrored onto the frame's desktop menus: the tree's shape,
// command numbers, entries and their places, the interface operations,
// font menus, closing, and bad input.
#include "core/native_objects.h"
#include "menus/menu_fixture.h"

namespace orvane::testing {
namespace {

using namespace desktop;

TEST_F(MenuTest, TheTreeTakesItsShapeAndItemsTheirNumbers) {
  lisp(kBar);
  EXPECT_EQ(global("open"), lisp("(send root named '(bar file open))"));
  // The first item of the run is 10000; the numbers follow one another.
  EXPECT_EQ(record("open").command(), 10000u);
  EXPECT_EQ(record("line").command(), 10001u);
  EXPECT_EQ(record("quit").command(), 10002u);
  EXPECT_EQ(record("copy").command(), 10003u);
  EXPECT_EQ(printed("(list (send open get-id) (send line get-id) (send quit get-id) (send copy get-id))"),
            "(0 1 2 0)");
  EXPECT_EQ(printed("(list (send root get-id) (send bar get-id))"), "(0 0)");
  EXPECT_TRUE(record("bar").is_bar());
  EXPECT_TRUE(record("root").is_root());
  // Items enter their menu at once: title, accelerator text, separator, check.
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*");
  // Only the first of a list of accelerator forms counts.
  EXPECT_EQ(entries("edit"), "Copy\tCtrl+F5");
  EXPECT_EQ(printed("(list (send line get-separator?) (send open get-separator?) (send bar get-separator?))"),
            "(t () ())");
  // The bar keeps its empty first entry until a menu is shown; the frame
  // had no bar, so this one waits for its show.
  EXPECT_EQ(entries("bar"), "");
  EXPECT_FALSE(ui.menus.get_menu(frame));
  EXPECT_EQ(printed("(send bar children nil)"), "()");
  EXPECT_EQ(printed("(send bar children t)"), "(file edit help)");

  lisp("(send file show)");
  EXPECT_EQ(ui.menus.get_menu(frame), Hmenu{}) << "the bar itself is not shown yet";
  EXPECT_EQ(entries("bar"), "File");
  EXPECT_EQ(printed("(send bar children nil)"), "(file)");
  lisp("(send bar show)");
  EXPECT_EQ(ui.menus.get_menu(frame), hmenu("bar"));
  EXPECT_EQ(entries("bar"), "File|Edit|Help");
  EXPECT_EQ(printed("(list (send bar get-visible?) (send help get-visible?) (send open get-visible?))"),
            "(t t t)");
}

TEST_F(MenuTest, TheFirstMenuUnderTheRootIsTheBarAndReplacesTheFramesBarAtOnce) {
  Hmenu startup_bar = ui.menus.create_menu();
  ui.menus.append_menu(startup_bar, MF_STRING, 0, "");
  ASSERT_TRUE(ui.menus.set_menu(frame, startup_bar));
  lisp(R"((define root (make-menu 'root nil ""))
          (define bar (make-menu 'bar root "" 'popup? t))
          (define tools (make-menu 'tools root "Tools" 'popup? t))
          (define item (make-item 'item tools "Do")))");
  EXPECT_TRUE(record("bar").is_bar()) << "even when meant as a pop-up";
  EXPECT_EQ(ui.menus.get_menu(frame), hmenu("bar"));
  EXPECT_FALSE(ui.menus.is_menu(startup_bar)) << "the frame's old bar is destroyed";
  EXPECT_EQ(printed("(send bar get-visible?)"), "t");
  // A second child of the root is an ordinary menu, on no bar.
  EXPECT_FALSE(record("tools").is_bar());
  lisp("(send tools show)");
  EXPECT_EQ(entries("bar"), "");
  EXPECT_EQ(entries("tools"), "Do");
}

TEST_F(MenuTest, EntriesKeepTheirPlacesWhileMenusAreHiddenAndShownAgain) {
  lisp(kBar);
  lisp(R"((send bar show)
          (define recent (make-menu 'recent file "Recent"))
          (define one (make-item 'one recent "One")))");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*|Recent");
  // A hidden menu of the bar leaves it; the others keep their order, and it
  // comes back in its own place.
  lisp("(send edit hide)");
  EXPECT_EQ(entries("bar"), "File|Help");
  EXPECT_EQ(printed("(send bar children nil)"), "(file help)");
  lisp("(send edit show)");
  EXPECT_EQ(entries("bar"), "File|Edit|Help");
  // A nested menu too: it loses its entry and gets it back.
  lisp("(send recent show) (send recent hide)");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*");
  lisp("(define more (make-item 'more file \"More\"))");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*|More");
  lisp("(send recent show)");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*|Recent|More");
  EXPECT_EQ(printed("(send more get-id)"), "4");
  // Items keep their entries when hidden.
  lisp("(send quit hide)");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*|Recent|More");
  // Hiding the bar takes it from the frame.
  lisp("(send bar hide)");
  EXPECT_FALSE(ui.menus.get_menu(frame));
}

TEST_F(MenuTest, GreyChecksTitlesAndAcceleratorsRewriteTheirEntryOnly) {
  lisp(kBar);
  lisp("(send bar show) (send open disable) (send edit disable)");
  EXPECT_EQ(entries("file"), "Open\tCtrl+O~|-|Quit\tCtrl+Q*");
  EXPECT_EQ(entries("bar"), "File|Edit~|Help");
  // enabled? looks up the ancestors too.
  EXPECT_EQ(
      printed("(list (send open enabled?) (send quit enabled?) (send copy enabled?) (send file enabled?))"),
      "(() t () t)");
  // The title writer keeps the grey and appends the accelerator text.
  lisp("(send open set-title \"Open...\")");
  EXPECT_EQ(entries("file"), "Open...\tCtrl+O~|-|Quit\tCtrl+Q*");
  EXPECT_EQ(printed("(send open get-title)"), "\"Open...\"");
  lisp("(send open set-accelerator '(:menu \"P\"))");
  EXPECT_EQ(entries("file"), "Open...\tCtrl+P~|-|Quit\tCtrl+Q*");
  lisp("(send open set-accelerator '(:key \"P\"))");
  EXPECT_EQ(entries("file"), "Open...~|-|Quit\tCtrl+Q*");
  EXPECT_EQ(printed("(send open get-accelerator)"), "(:key \"P\")");
  // A menu's entry keeps its pop-up.
  lisp("(send edit set-title \"Change\") (send edit enable)");
  EXPECT_EQ(entries("bar"), "File|Change|Help");
  EXPECT_EQ(ui.menus.sub_menu(hmenu("bar"), 1), hmenu("edit"));
  lisp("(send quit uncheck) (send open check)");
  EXPECT_EQ(entries("file"), "Open...*~|-|Quit\tCtrl+Q");
  EXPECT_EQ(printed("(list (send open get-checked?) (send quit get-checked?))"), "(t ())");
  lisp("(send quit set-separator? t)");
  EXPECT_EQ(entries("file"), "Open...*~|-|-");
  EXPECT_EQ(printed("(send quit get-title)"), "\"-\"");
  // A menu of the bar greyed while hidden comes back grey.
  lisp("(send help disable) (send help hide) (send help show)");
  EXPECT_EQ(entries("bar"), "File|Change|Help~");
}

TEST_F(MenuTest, StoredValuesAndTheMethodsThatDoNothing) {
  lisp(kBar);
  EXPECT_EQ(
      printed(
          R"((list (send file get-before-menu) (send file set-before-menu 'edit) (send file get-before-menu)
                              (send open get-item?) (send file get-item?) (send file set-popup? t) (send file get-popup?)
                              (send file get-font?) (send file get-apple?) (send file get-icon)
                              (send file set-selection 7) (send file get-selection)))"),
      "(() edit edit t () t t () () 0 7 7)");
  EXPECT_EQ(printed("(begin (send file set-color '(65535 0 4096)) (send file get-color))"), "(65535 0 4096)");
  // Storing a flag builds nothing.
  lisp("(send open set-item? nil)");
  EXPECT_TRUE(record("open").is_item());
  EXPECT_EQ(
      printed(
          "(list (hilite-menu 1) (get-menubar-height) (send file set-icon 3) (send file add-apple-items))"),
      "(<no-value> 0 <no-value> <no-value>)");
  EXPECT_EQ(printed("(list (send bar named 'nothing) (send bar named '(file nothing)) (send bar named nil))"),
            "(() () bar)");
  lisp("(define numbered (make-menu 12 bar \"Twelve\"))");
  EXPECT_EQ(printed("(send bar named 12)"), "12");
}

TEST_F(MenuTest, CommandsReachTheirItemsAndUnknownNumbersAreIgnored) {
  lisp(kBar);
  EXPECT_TRUE(ui::dispatch_menu_command(10002));
  EXPECT_TRUE(ui::is_item_command(10002));
  EXPECT_FALSE(ui::dispatch_menu_command(9999));
  EXPECT_FALSE(ui::dispatch_menu_command(10004));
  EXPECT_FALSE(ui::is_item_command(10004));
  EXPECT_EQ(log(), "((quit select))");
  // `update` goes to the menu whose desktop menu opens, and to no other.
  clear_log();
  ui::menu_popup_opening(hmenu("edit"));
  ui::menu_popup_opening(Hmenu{0x7777});
  EXPECT_EQ(log(), "((edit update))");
  // An `update` that is only a value is not sent.
  lisp(
      "(define obj-flag-menu (new-class 'obj-flag-menu obj-test-menu))"
      "(obj-flag-menu (defslot update :default t))"
      "(define flagged (make-instance obj-flag-menu))"
      "(flagged (set! parent bar) (link-object) (open))");
  ui::menu_popup_opening(hmenu("flagged"));
  EXPECT_EQ(log(), "((edit update))");
}

TEST_F(MenuTest, FontMenusListTheFontsAndCheckTheCurrentOne) {
  lisp(R"((set! Fonts '("Arial" "Courier New" "Times New Roman"))
          (define root (make-menu 'root nil ""))
          (define bar (make-menu 'bar root ""))
          (define fonts (make-menu 'fonts bar "Font" 'font? t 'item? t))
          (send fonts add-font-items)
          (define other (make-item 'other bar "Other")))");
  EXPECT_FALSE(record("fonts").is_item()) << "a font menu is a menu";
  EXPECT_EQ(entries("fonts"), "Arial|Courier New|Times New Roman");
  EXPECT_EQ(record("other").command(), 10003u) << "each font entry took a number";
  EXPECT_EQ(printed("(send fonts children t)"), "()");
  lisp("(send fonts update-menu-font \"Courier New\")");
  EXPECT_EQ(entries("fonts"), "Arial|Courier New*|Times New Roman");
  lisp("(send fonts update-menu-font \"Arial\")");
  EXPECT_EQ(entries("fonts"), "Arial*|Courier New|Times New Roman");
  EXPECT_FALSE(ui::is_item_command(10001));
  // Without a key focus window the font's name goes nowhere, quietly.
  EXPECT_TRUE(ui::dispatch_menu_command(10001));
  EXPECT_EQ(log(), "()");
  EXPECT_EQ(lisp_error("(send fonts update-menu-font 'arial)"), 2);
}

TEST_F(MenuTest, ClosingTakesChildrenEntriesAndDesktopMenusAway) {
  lisp(kBar);
  lisp("(send bar show)");
  const Hmenu file_menu = hmenu("file");
  lisp("(send open close)");
  EXPECT_EQ(entries("file"), "-|Quit\tCtrl+Q*");
  EXPECT_EQ(printed("(send quit get-id)"), "1");
  lisp("(send file close)");
  EXPECT_EQ(entries("bar"), "Edit|Help");
  EXPECT_FALSE(ui.menus.is_menu(file_menu));
  EXPECT_EQ(printed("(list (open (object-opened?)) (quit (object-opened?)) (file (object-opened?)))"),
            "(() () ())");
  // Closed twice: nothing more happens. Items of closed menus answer a
  // clear error, and their numbers reach nothing.
  lisp("(send file close) (send quit close)");
  EXPECT_EQ(lisp_error("(send quit get-id)"), 2);
  EXPECT_EQ(lisp_error("(send file show)"), 2);
  EXPECT_EQ(lisp_error("(send quit check)"), 2);
  EXPECT_FALSE(ui::dispatch_menu_command(10002));
  // A record dropped without `close` leaves the tree and its entry.
  lisp("(send edit close-link)");
  EXPECT_EQ(entries("bar"), "Help");
  EXPECT_EQ(printed("(send bar children t)"), "(help)");
  EXPECT_FALSE(ui::dispatch_menu_command(10003));
  lisp("(send copy close)");
  // Closing the bar takes it from the frame; the next menu under the root
  // becomes the bar.
  lisp("(send bar close)");
  EXPECT_FALSE(ui.menus.get_menu(frame));
  EXPECT_EQ(printed("(send root children t)"), "()");
  lisp("(define bar2 (make-menu 'bar2 root \"\")) (define m (make-menu 'm bar2 \"M\")) (send bar2 show)");
  EXPECT_TRUE(record("bar2").is_bar());
  EXPECT_EQ(entries("bar2"), "M");
  // A closed menu opens again, under an open parent only.
  EXPECT_EQ(lisp_error("(file (link-object) (open))"), 2) << "its parent, the old bar, is closed";
  lisp("(file (set! parent bar2) (open)) (send file show)");
  EXPECT_EQ(entries("bar2"), "M|File");
  EXPECT_EQ(printed("(send bar2 children t)"), "(m file)");
}

TEST_F(MenuTest, MenusOnlyTheTreeHoldsOutliveCollections) {
  lisp(kBar);
  lisp(R"((let ((_menu (make-menu 'extra bar "Extra")))
            (make-item 'kept _menu "Kept")
            (make-item 'gone _menu "Gone"))
          ())");
  lisp("(send (send bar named '(extra gone)) close)");
  for (int i = 0; i < 3; ++i)
    lisp("(let ((_n 2000)) (while (> _n 0) (list _n \"garbage\") (set! _n (- _n 1)))) (recycle)");
  close_released_native_objects();
  EXPECT_TRUE(ui::dispatch_menu_command(10004));
  EXPECT_FALSE(ui::dispatch_menu_command(10005));
  EXPECT_EQ(log(), "((kept select))");
  EXPECT_EQ(entries_of(ui::menu_record(lisp("(send bar named 'extra)")).system_menu()), "Kept");
}

TEST_F(MenuTest, BadParentsAndBadArgumentsRaiseClearErrors) {
  lisp(kBar);
  EXPECT_EQ(lisp_error("(make-menu 'x \"File\" \"X\")"), 2);
  EXPECT_EQ(lisp_error("(make-menu 'x 'file \"X\")"), 2) << "a name is not a menu";
  EXPECT_EQ(lisp_error("(make-menu 'x open \"X\")"), 2) << "an item holds no entries";
  EXPECT_EQ(lisp_error("(make-menu 'x (make-instance obj-root) \"X\")"), 2);
  lisp("(send edit close)");
  EXPECT_EQ(lisp_error("(make-item 'x edit \"X\")"), 2) << "a closed menu";
  EXPECT_EQ(lisp_error("(send open set-separator? nil)"), 2);
  EXPECT_EQ(lisp_error("(send open get-size)"), 47);
  EXPECT_EQ(lisp_error("(send open set-selection \"7\")"), 2);
  EXPECT_EQ(lisp_error("(send open set-color 'mauve)"), 2);
  // Nothing failed half-way: the menus are as they were.
  EXPECT_EQ(entries("file"), "Open\tCtrl+O|-|Quit\tCtrl+Q*");
  EXPECT_EQ(record("quit").command(), 10002u);
  EXPECT_EQ(printed("(send file children t)"), "(open line quit)");
  // A menu made without a parent once the root exists stays apart.
  lisp("(define loose (make-menu 'loose nil \"Loose\")) (define l1 (make-item 'l1 loose \"L1\"))");
  EXPECT_TRUE(record("root").is_root());
  EXPECT_EQ(entries("loose"), "L1");
  EXPECT_TRUE(ui::dispatch_menu_command(record("l1").command()));
  EXPECT_EQ(log(), "((l1 select))");
}

}  // namespace
}  // namespace orvane::testing
