// The run-time's alerts: templates in three languages and the parameters
// ^0..^3 written into them.
#include <gtest/gtest.h>

#include "shell/alerts.h"

namespace orvane::shell {
namespace {

TEST(Alerts, EachBaseHasItsLanguagesAndOnlyThose) {
  for (int base : {5000, 5100, 5200, 5300, 5500, 5600, 5700})
    for (int language : {0, 1, 2}) EXPECT_TRUE(alert_template(base + language)) << base + language;
  for (int base : {5400, 5900}) {
    EXPECT_TRUE(alert_template(base));
    EXPECT_TRUE(alert_template(base + 1));
    EXPECT_FALSE(alert_template(base + 2)) << "no Spanish text: nothing is shown";
  }
  EXPECT_FALSE(alert_template(5800));
  EXPECT_EQ(alert_template(5200)->text, "The file ^0 was not found!");
  EXPECT_EQ(alert_template(5201)->text, "Le fichier ^0 n'est pas pr\xE9sent!");
  EXPECT_EQ(alert_template(5202)->text, "El archivo ^0 no se encontr\xF3!");
  EXPECT_EQ(alert_template(5400)->caption, "Quicktime");
}

TEST(Alerts, OutOfMemoryOffersQuitInItsLanguage) {
  auto english = alert_template(5600), french = alert_template(5601), spanish = alert_template(5602);
  ASSERT_EQ(english->buttons.size(), 2u);
  EXPECT_EQ(english->buttons[1], (std::pair<int, std::string>{2, "Quit"}));
  EXPECT_EQ(french->buttons[1].second, "Quitter");
  EXPECT_EQ(spanish->buttons[1].second, "Salir");
  EXPECT_EQ(alert_template(5700)->buttons.size(), 1u);
}

TEST(Alerts, ParametersReplaceEveryOccurrence) {
  AlertParameters p;
  p.set(0, "A");
  p.set(1, "bb");
  p.set(3, "dddd");
  EXPECT_EQ(p.expand("^0-^1-^2-^3-^0-^4-^"), "A-bb--dddd-A-^4-^");
}

TEST(Alerts, ParametersKeep255CharactersAndTheTextStaysBelow1026) {
  AlertParameters p;
  p.set(0, std::string(400, 'x'));
  EXPECT_EQ(p.get(0).size(), 255u);
  std::string text = "^0^0^0^0^0";
  std::string expanded = p.expand(text);
  EXPECT_LT(expanded.size(), 1026u);
  EXPECT_EQ(expanded, std::string(4 * 255, 'x') + "^0") << "the fifth would pass the limit";
}

}  // namespace
}  // namespace orvane::shell
