// A program as a user of the installed library writes it: public headers only, linked through
// the CMake package. It exits non-zero when a result is wrong, so a library that builds but
// hides (or mislinks) part of its interface fails here.
#include <cstdio>
#include <string>

#include "lastora/lastora.h"

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FEHLER: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  lastora::Class1 component;
  Expect(component.getPruefziffer("DE00370400440532013000") == "89", "Prüfziffer der IBAN");
  Expect(component.Get_IBAN("XX89370400440532013000") ==
             "SEPA-Checker: IBAN Länderkennzeichen unbekannt",
         "Meldung zu einem unbekannten Land");

  Expect(lastora::Format(lastora::Variant(1234.5), "0.00") == "1234,50", "Betrag mit Komma");
  Expect(lastora::CLng(lastora::Variant(2.5)) == 2, "CLng rundet zur geraden Zahl");

  // The exception's type information has to cross the library boundary for this catch to match.
  try {
    component.getPruefziffer("DE89370400440532013x00");
    Expect(false, "ungültige IBAN ohne Fehler");
  } catch (const lastora::VbError& error) {
    Expect(error.number() == 13, "Fehlernummer 13");
  }

  std::printf("%s\n",
              failures == 0 ? "Verbraucher-Test bestanden" : "Verbraucher-Test fehlgeschlagen");
  return failures == 0 ? 0 : 1;
}
