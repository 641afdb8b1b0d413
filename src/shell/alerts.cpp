#include "shell/alerts.h"

#include <cstdio>

#include "platform/text.h"

namespace orvane::shell {

namespace {

struct Row {
  int id;
  const char* caption;
  const char* text;
  const char* quit_label;  // a second button "Quit" (id 2) when not null
};

// Windows-1252 texts, as the templates hold them.
constexpr Row kAlerts[] = {
    {5000, "", "There is not enougth RAM memory : ^0 K", nullptr},
    {5001, "", "Il n'y a pas assez de m\xE9moire RAM : ^0 K", nullptr},
    {5002, "", "La memoria viva para la aplicaci\xF3n es insuficiente: se necesitan ^0 K m\xE1s.", nullptr},
    {5100, "", "You must be in protected mode to run this software.", nullptr},
    {5101, "", "Vous devez \xEAtre en mode prot\xE9g\xE9 pour ex\xE9" "cuter ce logiciel.", nullptr},
    {5102, "", "Para ejecutar este programa tiene que estar en modo protegido.", nullptr},
    {5200, "", "The file ^0 was not found!", nullptr},
    {5201, "", "Le fichier ^0 n'est pas pr\xE9sent!", nullptr},
    {5202, "", "El archivo ^0 no se encontr\xF3!", nullptr},
    {5300, "", "The file is not of a good type.", nullptr},
    {5301, "", "Fichier incorrect.", nullptr},
    {5302, "", "El fichero no es del tipo correcto.", nullptr},
    {5400, "Quicktime", "This program contains QuickTime movies.  \n \nTo be able to play them, execute setup.exe.",
     nullptr},
    {5401, "Quicktime",
     "Ce logiciel contient des films QuickTime. \n \nPour pouvoir les faire jouer, ex\xE9" "cuter installe.exe.",
     nullptr},
    {5500, "", "An error has occured.  You should save your file, quit and reload the software.", nullptr},
    {5501, "",
     "Une erreur interne s'est produite, nous vous sugg\xE9rons, dans la mesure du possible, de sauver vos "
     "fichiers et de red\xE9marrer!",
     nullptr},
    {5502, "",
     "Se ha producido un error interno.  Le sugerimos que, si es posible, salvaguarde sus ficheros y "
     "reinicialice.",
     nullptr},
    {5600, "", "Out of Memory", "Quit"},
    {5601, "", "Manque de m\xE9moire", "Quitter"},
    {5602, "", "Memoria interna insuficiente.", "Salir"},
    {5700, "", "Out of Memory", nullptr},
    {5701, "", "Manque de m\xE9moire", nullptr},
    {5702, "", "Memoria insuficiente.", nullptr},
    {5900, "Quicktime",
     "This program contains QuickTime\x99 movies.  \n \nTo be able to play them, install QuickTime\x99 3.0.2.",
     nullptr},
    {5901, "Quicktime",
     "Ce logiciel contient des films QuickTime\x99. \n \nPour pouvoir les faire jouer, vous devez installer "
     "QuickTime\x99 3.0.2.",
     nullptr},
};

constexpr std::size_t kParameterLimit = 255;
constexpr std::size_t kExpandedLimit = 1026;

}  // namespace

std::optional<AlertTemplate> alert_template(int id) {
  for (const Row& row : kAlerts) {
    if (row.id != id) continue;
    AlertTemplate alert{row.id, row.caption, row.text, {{1, "OK"}}};
    if (row.quit_label) alert.buttons.emplace_back(2, row.quit_label);
    return alert;
  }
  return std::nullopt;
}

void AlertParameters::set(int index, std::string_view text) {
  values_.at(static_cast<std::size_t>(index)) = std::string(text.substr(0, kParameterLimit));
}

std::string AlertParameters::expand(std::string_view text) const {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '^' && i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '3') {
      const std::string& value = values_[static_cast<std::size_t>(text[i + 1] - '0')];
      if (out.size() + value.size() + (text.size() - i - 2) < kExpandedLimit) {
        out += value;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

int write_alert_to_errors(const AlertTemplate& alert) {
  std::string text = alert.text;
  for (char& c : text)
    if (c == '\n') c = ' ';
  std::fprintf(stderr, "alert %d: %s\n", alert.id, platform::windows1252_to_utf8(text).c_str());
  std::fflush(stderr);
  return alert.buttons.empty() ? 0 : alert.buttons.front().first;
}

}  // namespace orvane::shell
