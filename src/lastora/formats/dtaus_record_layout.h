// The DTAUS record format as data: the fields of the A, C and E records with their positions,
// widths and fill, and the rules by which a C record's extension parts fill 128-character blocks.
// The writer lays records out from these tables and the checker reads fields back by them, so
// the two can never disagree about a position.
#ifndef LASTORA_FORMATS_DTAUS_RECORD_LAYOUT_H_
#define LASTORA_FORMATS_DTAUS_RECORD_LAYOUT_H_

#include <array>
#include <cstddef>
#include <string_view>

namespace lastora::dtaus {

inline constexpr size_t kBlockLength = 128;

// How a field is filled when its value is shorter than the field.
enum class Fill {
  kZerosLeft,    // numeric: right-aligned, "0" on the left
  kBlanksRight,  // text: left-aligned, blanks on the right
};

struct Field {
  std::string_view name;  // "A6", "C14a", ...
  size_t position;        // 1-based character position in the record
  size_t width;
  Fill fill;
};

// Field indices into the tables below.
enum AField { kA1, kA2, kA3, kA4, kA5, kA6, kA7, kA8, kA9, kA10, kA11a, kA11b, kA11c, kA12 };
enum CField {
  kC1,
  kC2,
  kC3,
  kC4,
  kC5,
  kC6,
  kC7a,
  kC7b,
  kC8,
  kC9,
  kC10,
  kC11,
  kC12,
  kC13,
  kC14a,
  kC14b,
  kC15,
  kC16,
  kC17a,
  kC17b,
  kC18
};
enum EField { kE1, kE2, kE3, kE4, kE5, kE6, kE7, kE8, kE9 };

// The header record, 128 characters.
extern const std::array<Field, 14> kARecord;
// The constant part of a payment record, 187 characters (parts 1 and 2 up to the extension count).
extern const std::array<Field, 21> kCRecord;
// The trailer record, 128 characters.
extern const std::array<Field, 9> kERecord;

inline constexpr size_t kCRecordConstantLength = 187;
inline constexpr size_t kExtensionLength = 29;  // 2-character type + 27 characters of text
inline constexpr size_t kExtensionTypeWidth = 2;
inline constexpr size_t kExtensionTextWidth = 27;
inline constexpr int kMaxExtensions = 15;

// Extension types.
inline constexpr std::string_view kExtensionPayeeName = "01";
inline constexpr std::string_view kExtensionPurpose = "02";
inline constexpr std::string_view kExtensionCustomerName = "03";

// 1-based position of extension k (1..15): where its type begins; the text follows 2 later.
size_t ExtensionPosition(int k);
// The value of C1 for a record with this many extensions: 187 + 29 per extension.
size_t CRecordLengthValue(int extensions);
// Characters the record takes in the file: whole 128-character blocks (256 to 768).
size_t CRecordFileLength(int extensions);
// The number of extensions that a C1 text such as "0245" stands for; -1 when the text is not
// one of the sixteen defined lengths.
int ExtensionsForLengthValue(std::string_view c1);

}  // namespace lastora::dtaus

#endif  // LASTORA_FORMATS_DTAUS_RECORD_LAYOUT_H_
