#include "fuzz/support/Finding.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz_support {

void Finding(const std::string& what) {
  std::fprintf(stderr, "FUZZ FINDING: %s\n", what.c_str());
  std::fflush(stderr);
  std::abort();
}

}  // namespace fuzz_support
