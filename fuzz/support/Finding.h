#pragma once

// How a fuzz target reports a broken invariant: a message on standard error
// and an abort, which libFuzzer records as a crash with the input that led
// to it.

#include <string>

namespace fuzz_support {

[[noreturn]] void Finding(const std::string& what);

}  // namespace fuzz_support
