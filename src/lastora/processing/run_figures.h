// The counts and sums the processing run reports in the settings record (the ProgBear fields).
#ifndef LASTORA_PROCESSING_RUN_FIGURES_H_
#define LASTORA_PROCESSING_RUN_FIGURES_H_

#include "lastora/settings.h"

namespace lastora::processing {

// One figure kept as a decimal text in a setting. The text is read on the first change, so a
// figure the run never touches keeps the caller's text exactly; from then on the number lives
// here and goes back into the setting once, in the user's number format.
class SettingFigure {
 public:
  explicit SettingFigure(SEPAVALUES& field) : field_(field) {}

  // The setting becomes "0".
  void Reset();
  // Throws VbError 13 when the caller's text is not a number; a blank text counts as 0.
  void Add(double amount);
  void WriteBack();

 private:
  SEPAVALUES& field_;
  bool read_ = false;
  double value_ = 0;
};

// The ten figures of a run. Written back when the run's work ends, a trapped failure included,
// so the caller always sees what was counted up to that point.
class RunFigures {
 public:
  explicit RunFigures(SEPAVARIABLEN& settings);
  ~RunFigures();
  RunFigures(const RunFigures&) = delete;
  RunFigures& operator=(const RunFigures&) = delete;

  SettingFigure errors;      // ProgBearFehl
  SettingFigure warnings;    // ProgBearWarn
  SettingFigure characters;  // ProgBearZeic
  SettingFigure umlauts;     // ProgBearUmla
  SettingFigure payments;    // ProgBearDANZ
  SettingFigure first_file_payments;
  SettingFigure second_file_payments;
  SettingFigure total;  // ProgBearDSUM
  SettingFigure first_file_total;
  SettingFigure second_file_total;

  // The six figures of the files start again at "0" with every run.
  void ResetFileFigures();
  // A payment of the first (credit transfers, FRST, FNAL, OOFF) or second (RCUR) file.
  void CountPayment(bool second_file, double amount);
};

}  // namespace lastora::processing

#endif  // LASTORA_PROCESSING_RUN_FIGURES_H_
