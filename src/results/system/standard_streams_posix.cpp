// POSIX: a terminal takes the UTF-8 bytes as they are.
#include <iostream>

#include "results/system/standard_streams.h"

std::ostream& StandardOutput() {
  return std::cout;
}

std::ostream& StandardError() {
  return std::cerr;
}
