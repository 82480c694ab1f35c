// The `lastora` program as a function, so that main and the tests drive the very same code.
#ifndef LASTORA_CLI_LASTORA_CLI_H_
#define LASTORA_CLI_LASTORA_CLI_H_

#include <ostream>
#include <string>
#include <vector>

namespace lastora::cli {

// args without the program name. Returns the exit status: 0 when the run's result is "ok", 1 for
// any other result or failure, 2 for a usage error.
int RunLastora(std::vector<std::string> args, std::ostream& out, std::ostream& err);

}  // namespace lastora::cli

#endif  // LASTORA_CLI_LASTORA_CLI_H_
