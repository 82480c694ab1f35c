// E-mail job files: one small XML text per saved document, for the mail program to pick up.
#include "mailmerge/outbox.h"

#include "component/helpers.h"
#include "core/files.h"
#include "core/text.h"
#include "mailmerge/record_text.h"

namespace lastora {
namespace {

constexpr char kOutboxFolder[] = "\\Sendedaten\\_Postfach\\";

void AppendLine(std::string& out, std::string_view a, std::string_view b = {},
                std::string_view c = {}) {
  out.append(a).append(b).append(c).append("\r\n");
}

// An attachment entry with "..\" in front lies below the program folder. The mail program opens
// the path as written, so outside Windows its backslashes become the system's separator.
std::string AttachmentPath(const std::string& entry) {
  const std::string path = ResolveAppRelative(entry);
#ifdef _WIN32
  return path;
#else
  return files::NativePath(path);
#endif
}

}  // namespace

std::string MailJobFileName(int32_t definition_set, double now, int32_t job_number) {
  return "MailingXML_" + Format(Variant(definition_set), "0000") + "_" +
         Format(Variant::Date(now), "YYYYMMDDhhmmss") + "_" + Format(Variant(job_number), "0000") +
         ".xml";
}

std::string MailJobText(const MailJob& job) {
  // The mail program reads the values as they stand: nothing is escaped.
  std::string text;
  AppendLine(text, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" ?>");
  AppendLine(text, "<LASTORA>");
  AppendLine(text, "<EMAIL>");
  AppendLine(text, "<DATEINAME>", job.attachments, "</DATEINAME>");
  AppendLine(text, "<EMPFAENGER>", job.recipients, "</EMPFAENGER>");
  AppendLine(text, "<BETREFF>", job.subject, "</BETREFF>");
  AppendLine(text, "<BODY>", job.body, "</BODY>");
  AppendLine(text, "</EMAIL>");
  AppendLine(text, "</LASTORA>");
  return text::ToWindows1252(text);
}

void WriteMailJob(int32_t definition_set, double now, int32_t job_number, const MailJob& job) {
  files::WriteWhole(GetAppPath() + kOutboxFolder + MailJobFileName(definition_set, now, job_number),
                    MailJobText(job));
}

std::string AssembleAttachments(const std::string& document_path,
                                const std::string& extra_attachments) {
  std::string list = document_path;
  const VariantArray entries = SplitToArray(extra_attachments, ";");
  for (int32_t i = entries.Lower(); i <= entries.Upper(); ++i) {
    const std::string entry = CStr(entries[i]);
    if (entry.empty() || entry == "-") continue;
    const std::string path = text::Trim(AttachmentPath(entry));
    if (FileExists(path)) list += ";" + path;
  }
  if (list.starts_with(";")) list.erase(0, 1);
  return list;
}

std::string AssembleRecipients(const std::vector<RecipientEntry>& entries, const Table& records,
                               int32_t record_row, const std::string& copy_address) {
  std::string list;
  for (const RecipientEntry& entry : entries) {
    std::string address = entry.address;
    if (entry.column > 0 && entry.column <= records.ColUpper()) {
      address = RecordText(records, record_row, entry.column);
    }
    if (address.find('@') != std::string::npos) list += ";" + address;
  }
  if (copy_address.find('@') != std::string::npos) {
    if (!list.empty()) list += ";";
    list += copy_address;
  }
  if (list.starts_with(";")) list.erase(0, 1);
  if (list.find('@') == std::string::npos) return "";
  return list;
}

}  // namespace lastora
