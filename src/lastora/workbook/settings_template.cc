#include <string_view>
#include <unordered_map>

#include "core/text.h"
#include "lastora/settings_file.h"
#include "workbook/settings_rules.h"

namespace lastora {
namespace {

struct Hint {
  std::string_view value;
  std::string_view comment;
};

// Starting values and explanations for the settings a club fills in itself; result fields and
// fields the component only carries get none.
const std::unordered_map<std::string_view, Hint>& Hints() {
  static const std::unordered_map<std::string_view, Hint> hints = {
      {"KreditorNAME", {"", "Name des Vereins (Auftraggeber)"}},
      {"KreditorIBAN", {"", "IBAN des Vereinskontos"}},
      {"KreditorBIC_", {"", "BIC des Vereinskontos"}},
      {"KreditorID__", {"", "Gläubiger-ID, 18 Zeichen"}},
      {"UserPLZ_", {"", "Postleitzahl und Ort des Absenders (Begleitzettel)"}},
      {"SepaVERF", {"SEPA", "SEPA oder DTAUS"}},
      {"SepaFIL1", {"", "Dateiname der FRST-Datei; leer: SEPA_<Datum>_FRST.xml"}},
      {"SepaFIL2", {"", "Dateiname der RCUR-Datei; leer: SEPA_<Datum>_RCUR.xml"}},
      {"SepaCYCL",
       {"Jahr", "Beitragsperiode: Jahr, Halbjahr, Dritteljahr, Vierteljahr, 2 Monate, Monat"}},
      {"SepaADAT", {"", "Ausführungsdatum, TT.MM.JJJJ"}},
      {"SepaDAT1", {"", "Abbuchung Beiträge von, TT.MM.JJJJ"}},
      {"SepaDAT2", {"", "Abbuchung Beiträge bis, TT.MM.JJJJ"}},
      {"SepaFMI1", {"", "Nachrichten-ID der FRST-Datei; leer: aus SepaFRID abgeleitet"}},
      {"SepaFMI2", {"", "Nachrichten-ID der RCUR-Datei; leer: abgeleitet, \"-\": keine Datei"}},
      {"SepaFPI1", {"", "Zahlungs-ID der FRST-Datei; leer: abgeleitet"}},
      {"SepaFPI2", {"", "Zahlungs-ID der RCUR-Datei; leer: abgeleitet, \"-\": keine Datei"}},
      {"SepaFRID", {"", "Kennung für die IDs (höchstens 11 Zeichen); leer: LASTORA"}},
      {"SepaAART", {"Basislastschrift", "Basislastschrift, Firmenlastschrift oder Überweisung"}},
      {"SepaLART", {"automatisch", "automatisch, FRST, RCUR, FNAL oder OOFF"}},
      {"SepaBTXT", {"ja", "Begleitzettel schreiben (ja/nein)"}},
      {"SepaITXT", {"ja", "Zahlungsliste schreiben (ja/nein)"}},
      {"SepaFuncCOLL", {"ja", "Zahlungen von einem Konto zusammenfassen (ja/nein)"}},
      {"SepaFuncMONT", {"ja", "Ein- und Austrittsmonate anteilig abrechnen (ja/nein)"}},
      {"SepaFuncVER1", {"Mitgliedsbeitrag", "erste Zeile des Verwendungszwecks"}},
      {"SepaFuncVER2", {"Mandat-ID", "zweite Zeile: Payment-ID, Mandat-ID oder -"}},
      {"SepaFuncVER3",
       {"Mitgliedsname",
        "Mitgliedsname, Mitgliedsname und Einzelbetrag, Mandat-ID, Mandat-ID und Einzelbetrag, -"}},
      {"SepaFuncVER4", {"-", "letzte Zeile des Verwendungszwecks, - für keine"}},
      {"SepaFuncVERP", {"-", "DTAUS-Vorlage für den Verwendungszweck, - für keine"}},
      {"SepaFuncWARN", {"ja", "Betragsgrenzen prüfen (ja/nein)"}},
      {"SepaFuncBMAX", {"1000", "obere Betragsgrenze"}},
      {"SepaFuncBMIN", {"1", "untere Betragsgrenze"}},
      {"SepaFuncAZYK",
       {"Wechselmonat abrechnen",
        "Vollen Zeitrahmen abrechnen, Nichts abrechnen, Wechselmonat abrechnen, Wechselmonat "
        "nicht abrechnen"}},
      {"ProgBLZ_File", {"", "Bankleitzahlendatei der Bundesbank (.txt, .xlsx, .xls, .csv)"}},
      {"ProgBLZ_Inte", {"nein", "interne BLZ-Tabelle nutzen (ja/nein)"}},
      {"ProgChecBLZ_", {"nein", "Prüfung: BIC nachschlagen (ja/nein)"}},
      {"Import__FILE", {"", "Mitgliederliste (.csv, .xlsx, .xls, .ods), wenn -m fehlt"}},
      {"Import__SHEE", {"", "Tabellenblatt; leer: das erste"}},
      {"Import__LINE", {"2", "erste Datenzeile; die Zeile darüber hält die Spaltenüberschriften"}},
      {"Import__NAME", {"", "Spalte (1, 2, ... oder ihre Überschrift) Name des Kontoinhabers"}},
      {"Import__IBAN", {"", "Spalte IBAN; 0: keine (dann aus Kontonummer und BLZ)"}},
      {"Import__BIC_", {"0", "Spalte BIC; 0: keine (dann aus ProgBLZ_File)"}},
      {"Import__KONT", {"0", "Spalte Kontonummer; 0: keine"}},
      {"Import__BLZ_", {"0", "Spalte Bankleitzahl; 0: keine"}},
      {"Import__LAND", {"0", "Spalte Land; 0: keine"}},
      {"Import__MAND", {"", "Spalte Mandatsreferenz"}},
      {"Import__MDAT", {"", "Spalte Datum des Mandats"}},
      {"Import__MONB", {"0", "Spalte Beitrag je Beitragsperiode; 0: keine"}},
      {"Import__EINT", {"0", "Spalte Eintrittsdatum; 0: keine"}},
      {"Import__AUST", {"0", "Spalte Austrittsdatum; 0: keine"}},
      {"Import__EDAT", {"0", "Spalte Datum der ersten Abbuchung; 0: keine"}},
      {"Import__MITG", {"", "Spalte Name des Mitglieds"}},
      {"Import__EINM", {"0", "Spalte Einmalbetrag; 0: keine"}},
      {"Import__NACH", {"0", "Spalte Nachzahlung; 0: keine"}},
      {"Import__GUTS", {"0", "Spalte Gutschrift; 0: keine"}},
      {"Import__PAID", {"0", "Spalte Payment-ID; 0: keine"}},
  };
  return hints;
}

// The section a field belongs to, from its group prefix.
std::string_view Section(std::string_view name) {
  if (name.starts_with("Kreditor")) return "Kreditor";
  if (name.starts_with("User")) return "Kontakt";
  if (name.starts_with("SepaFunc")) return "Optionen";
  if (name.starts_with("Sepa")) return "SEPA";
  if (name.starts_with("Import__")) return "Import";
  return "Programm";
}

// The import columns are not exchanged with the component but the program maps them itself.
bool InTemplate(const SettingsField& field) {
  return field.index != 0 || std::string_view(field.name).starts_with("Import__");
}

bool IsResult(std::string_view name) {
  for (std::string_view group : {"ProgImpo", "ProgChec", "ProgBear", "ProgErze", "ProgAlle"}) {
    if (name.starts_with(group)) return true;
  }
  return false;
}

}  // namespace

std::vector<std::string_view> RequiredSettings(bool processing, bool generation, bool dtaus) {
  std::vector<std::string_view> keys;
  if (processing) keys.insert(keys.end(), {"SepaCYCL", "SepaDAT1", "SepaDAT2", "SepaAART"});
  if (generation) {
    keys.insert(keys.end(),
                {"KreditorNAME", "KreditorIBAN", "KreditorID__", "SepaADAT", "SepaAART"});
    if (!dtaus) keys.push_back("KreditorBIC_");
  }
  return keys;
}

std::string SettingsInUse(const SettingsFile& file) {
  std::string out = "# Einstellungen aus " + file.path() + ", wie lastora sie verwendet\n";
  for (const SettingsField& field : SettingsFields()) {
    const std::string& value = (file.record().*(field.member)).Value;
    const bool fills_in = Hints().contains(field.name);
    if (!fills_in && (value.empty() || IsResult(field.name))) continue;
    std::string shown = settings_rules::Display(field.name, value);
    const std::string fallback = settings_rules::Default(field.name);
    if (text::Trim(value).empty() && !fallback.empty()) shown = fallback + "   # Vorgabe";
    out += std::string(field.name) + (shown.empty() ? " =" : " = " + shown) + "\n";
  }
  return out;
}

std::string SettingsTemplate() {
  std::string out =
      "# Lastora-Einstellungen: SCHLÜSSEL = Wert. \"#\" und \";\" beginnen Kommentare;\n"
      "# Werte mit Leerzeichen am Rand oder mit \" #\" in Anführungszeichen setzen.\n"
      "# Die Felder ab ProgImpo... sind Ergebnisse; lastora --save schreibt sie zurück.\n";
  std::string_view section;
  for (const SettingsField& field : SettingsFields()) {
    if (!InTemplate(field)) continue;
    if (Section(field.name) != section) {
      section = Section(field.name);
      out += "\n[" + std::string(section) + "]\n";
    }
    const auto hint = Hints().find(field.name);
    if (hint != Hints().end()) out += "# " + std::string(hint->second.comment) + "\n";
    out += std::string(field.name) + " = ";
    if (hint != Hints().end()) out += std::string(hint->second.value);
    out += "\n";
  }
  return out;
}

}  // namespace lastora
