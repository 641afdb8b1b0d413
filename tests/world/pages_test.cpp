// Pages and the navigation between them, the system keys, quitting and the
// menu bar, in small titles written with the standard world.
#include <gtest/gtest.h>

#include "world/world_title.h"

namespace orvane::testing {
namespace {

// Every page shown prints "page NAME" through the world's page hooks.
const std::string kThreePages = R"lisp(
(define-page one (:color 'white) (view a :position '(center center) :size '(50% 25%)))
(define-page two () (view b :size '(10 10)))
(define-page three () (view c :size '(10 10)))
(set! Page-Hooks (append Page-Hooks (list (lambda (_name) (prin "page ") (prin _name) (new-line)))))
)lisp";

TEST(WorldPages, GoNextAndPreviousShowThePagesInTheOrderTheyWereDefined) {
  WorldTitle title;
  RunResult r = title.play(kThreePages + R"lisp(
(define (init-user)
  (check Current-Page-Name ())
  (check (page-names) '(one two three))
  (define First (go-page 'one))
  (check Current-Page-Name 'one)
  (check (send First get-size) (make-point 400 300))
  (check (send (window 'a) get-size) (make-point 200 75))
  (check (send (window 'a) get-position) (make-point 100 112))
  (check (eq? ((window 'a) parent) First) t)
  (next-page)
  (check Current-Page-Name 'two)
  (check (First (object-opened?)) ())
  (check (window 'a) ())
  (next-page)
  (check (next-page) ())
  (check Current-Page-Name 'three)
  (previous-page)
  (previous-page)
  (check (previous-page) ())
  (check Current-Page-Name 'one)
  (define-page two () (view b2 :size '(5 5)))
  (check (page-names) '(one two three))
  (go-page 'two)
  (check (window 'b) ())
  (check (send (window 'b2) get-size) (make-point 5 5))
  (report-checks))
)lisp");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(all_checks_passed(r)) << r.out << r.err;
  EXPECT_EQ(lines_starting(r.out, "page "),
            (std::vector<std::string>{"page one", "page two", "page three", "page two", "page one", "page two"}));
}

TEST(WorldPages, TheToplevelShowsTheFirstPageUnlessInitUserShowedOne) {
  WorldTitle plain, chosen;
  RunResult first = plain.play(kThreePages);
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(lines_starting(first.out, "page "), std::vector<std::string>{"page one"});
  RunResult third = chosen.play(kThreePages + "(define (init-user) (go-page 'three))");
  EXPECT_EQ(third.status, 0) << third.err;
  EXPECT_EQ(lines_starting(third.out, "page "), std::vector<std::string>{"page three"});
}

TEST(WorldPages, SystemKeysTurnPagesRunTheTitlesOwnAndControlQQuits) {
  WorldTitle title;
  RunResult r = title.play(kThreePages + R"lisp(
(add-system-key 352 (lambda () (prin "f5 on ") (prin Current-Page-Name) (new-line)))
)lisp",
                           "wait 100\nkey page-down\nwait 50\nkey page-down\nwait 50\nkey page-down\nwait 50\n"
                           "key page-up\nwait 50\nkey f5\nwait 50\nkey q\nwait 50\nkey ctrl+q\nwait 50\n"
                           "key page-up\nwait 50\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.out), (std::vector<std::string>{"page one", "page two", "page three", "page two",
                                                       "f5 on two"}));
}

TEST(WorldPages, QuitHooksMayRefuseTheCloseBoxAndControlQ) {
  WorldTitle title;
  RunResult r = title.play(kThreePages + R"lisp(
(define Asked 0)
(set! Quit-Hooks (list (lambda () (set! Asked (+ Asked 1)) (prin "asked ") (prin Asked) (new-line) (> Asked 2))))
)lisp",
                           "wait 100\nclose\nwait 50\nkey ctrl+q\nwait 50\nkey page-down\nwait 50\nclose\nwait 50\n"
                           "key page-down\nwait 50\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_of(r.out), (std::vector<std::string>{"page one", "asked 1", "asked 2", "page two", "asked 3"}));
}

TEST(WorldMenus, AnItemReachesItsActionFromTheBarAndFromItsAccelerator) {
  WorldTitle title;
  RunResult r = title.play(kThreePages + R"lisp(
(define-menus
  (menu file "File"
    (item hello "Hello" :action (lambda (_item) (if (eq? _item (menu 'hello)) (prin "chose hello")) (new-line)))
    (separator)
    (item quit "Quit" :key "Q" :action (lambda (_item) (prin "quit item") (new-line) (do-quit))))
  (menu go "Go"
    (item three "Page three" :key "3" :action (lambda (_item) (go-page 'three)))
    (item off "Not now" :enabled? () :action (lambda (_item) (prin "disabled item chosen") (new-line)))))
(check (eq? (menu 'hello) (menu 'three)) ())
(check ((menu 'three) title) "Page three")
(check (menu 'nothing) ())
(report-checks)
)lisp",
                           // File, Hello; Control+3; Go, the disabled item; File, Quit.
                           "wait 100\nclick 12 9\nwait 100\nclick 30 29\nwait 100\nkey ctrl+3\nwait 100\n"
                           "click 40 9\nwait 100\nframe go.png\nclick 60 48\nwait 100\nkey escape\nwait 100\n"
                           "click 12 9\nwait 100\nclick 30 54\nwait 100\nkey page-up\nwait 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(all_checks_passed(r)) << r.out << r.err;
  EXPECT_EQ(lines_starting(r.out, "page "), (std::vector<std::string>{"page one", "page three"}));
  EXPECT_NE(r.out.find("chose hello\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("disabled item chosen"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("quit item\n"), std::string::npos) << r.out;
}

// A font menu longer than the screen opens in columns under the bar; the
// face chosen reaches the window with the key focus through on-font.
TEST(WorldMenus, AFontMenuReachesTheKeyFocusWindowsOnFont) {
  WorldTitle title;
  RunResult r = title.play(R"lisp(
(define-page one
  (:color 'white)
  (view sample :position '(10 40) :size '(100 40) :handles-keys? t
        :on-font (lambda (_w _face) (prin (list 'face (eq? _w (window 'sample)) (equal? _face (car Fonts)))) (new-line))))
(define (init-user) (go-page 'one) (set-focus (window 'sample)))
(define-menus (menu fonts "Font" :font? t))
(prin (list 'entries (= (length Fonts) (length (send (menu 'fonts) children t))))) (new-line)
)lisp",
                           "wait 100\nframe closed.png\nclick 14 9\nwait 100\nframe open.png\nclick 30 29\nwait 100\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(lines_starting(r.out, "(face"), std::vector<std::string>{"(face t t)"}) << r.out << r.err;
  std::optional<raster::Surface> closed = title.frame("closed.png"), open = title.frame("open.png");
  ASSERT_TRUE(closed && open);
  // However many faces are installed, the menu keeps below the bar: the
  // bar's pixels right of "Font" stay as they were.
  for (int x : {40, 80, 120}) EXPECT_EQ(open->pixel(x, 9), closed->pixel(x, 9)) << "the pop-up covers the bar at " << x;
}

}  // namespace
}  // namespace orvane::testing
