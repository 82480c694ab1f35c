#include "lastora/vb_error.h"

#include <utility>

namespace lastora {

namespace {

struct KnownError {
  int32_t number;
  const char* description;
};

// The texts the German platform shows; callers compare and log them byte for byte.
constexpr KnownError kKnownErrors[] = {
    {5, "Unzulässiger Prozeduraufruf oder ungültiges Argument"},
    {6, "Überlauf"},
    {7, "Nicht genügend Speicher"},
    {9, "Index außerhalb des gültigen Bereichs"},
    {11, "Division durch Null"},
    {13, "Typen unverträglich"},
    {51, "Interner Fehler"},
    {52, "Dateiname oder -nummer falsch"},
    {53, "Datei nicht gefunden"},
    {70, "Zugriff verweigert"},
    {75, "Fehler beim Zugriff auf Pfad/Datei"},
    {76, "Pfad nicht gefunden"},
    {94, "Unzulässige Verwendung von Null"},
    {429, "Objekterstellung durch ActiveX-Komponente nicht möglich"},
};

}  // namespace

std::string VbErrorDescription(int32_t number) {
  for (const KnownError& known : kKnownErrors) {
    if (known.number == number) return known.description;
  }
  return "Anwendungs- oder objektdefinierter Fehler";
}

VbError::VbError(int32_t number) : VbError(number, VbErrorDescription(number)) {}

VbError::VbError(int32_t number, std::string description)
    : std::runtime_error(description), number_(number), description_(std::move(description)) {}

}  // namespace lastora
