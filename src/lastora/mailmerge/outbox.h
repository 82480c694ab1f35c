// The e-mail job files that a mail-merge run leaves for the mail program.
#ifndef LASTORA_MAILMERGE_OUTBOX_H_
#define LASTORA_MAILMERGE_OUTBOX_H_

#include <cstdint>
#include <string>
#include <vector>

#include "lastora/table.h"

namespace lastora {

struct MailJob {
  std::string attachments;  // ";"-separated paths, the merge document first
  std::string recipients;   // ";"-separated addresses
  std::string subject;
  std::string body;
};

// "MailingXML_0007_20250305140309_0003.xml" for definition set 7, job 3, at that moment.
std::string MailJobFileName(int32_t definition_set, double now, int32_t job_number);
// The file's bytes: nine lines ending in CR LF, values unescaped, Windows-1252.
std::string MailJobText(const MailJob& job);
// Writes the job into the outbox folder below the program folder; the folder must exist
// (VbError 76 otherwise).
void WriteMailJob(int32_t definition_set, double now, int32_t job_number, const MailJob& job);

// The saved document, then every extra attachment that exists ("..\" entries below the program
// folder), ";"-separated.
std::string AssembleAttachments(const std::string& document_path,
                                const std::string& extra_attachments);
// One entry of a definition's recipient list: an address as written, or the number of the record
// column that holds one (0 when the entry named no column; it then contributes nothing).
struct RecipientEntry {
  std::string address;
  int32_t column = 0;
};

// The addresses of the record row, then the copy address, ";"-separated; "" when none has "@".
std::string AssembleRecipients(const std::vector<RecipientEntry>& entries, const Table& records,
                               int32_t record_row, const std::string& copy_address);

}  // namespace lastora

#endif  // LASTORA_MAILMERGE_OUTBOX_H_
