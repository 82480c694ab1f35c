// The sample club of the demo: the files of examples/club, built into the program.
#ifndef LASTORA_CLI_SAMPLE_CLUB_H_
#define LASTORA_CLI_SAMPLE_CLUB_H_

#include <span>
#include <string_view>

namespace lastora::cli {

struct SampleFile {
  std::string_view name;
  std::string_view bytes;
};

std::span<const SampleFile> SampleClubFiles();

}  // namespace lastora::cli

#endif  // LASTORA_CLI_SAMPLE_CLUB_H_
