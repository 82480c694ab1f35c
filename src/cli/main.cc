#include <iostream>
#include <string>
#include <vector>

#include "heap_pages.h"
#include "lastora_cli.h"

int main(int argc, char** argv) {
  lastora::cli::StartWithLargePageHeap(argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  return lastora::cli::RunLastora(std::move(args), std::cout, std::cerr);
}
