// Date text as the German platform reads and prints it.
#ifndef LASTORA_CORE_DATE_TEXT_H_
#define LASTORA_CORE_DATE_TEXT_H_

#include <string>
#include <string_view>

namespace lastora::detail {

// "D.M.YYYY", "D.M.YY", "YYYY-MM-DD", each optionally followed by blanks and "h:mm[:ss]", or the
// time alone; surrounding blanks allowed. False when the text is not such a date or names a day
// that does not exist.
bool ParseDateText(std::string_view text, double* serial);

// "DD.MM.YYYY", plus " hh:mm:ss" when the time is not midnight; a time alone (day 0) as
// "hh:mm:ss". VbError 6 outside the platform's date range.
std::string DateToText(double serial);

// Appends value as decimal digits, zero-padded to width.
void AppendPadded(std::string& out, int value, int width);

}  // namespace lastora::detail

#endif  // LASTORA_CORE_DATE_TEXT_H_
