#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/Switches.h"

namespace {

app::Switches Read(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return app::ReadSwitches(static_cast<int>(arguments.size()), argv.data());
}

struct SwitchCase {
  std::vector<std::string> arguments;  // program name first
  bool quiet;
  bool mainExtractOnly;
  bool secondExtractOnly;
};

// Shows the arguments in test listings.
void PrintTo(const SwitchCase& c, std::ostream* out) {
  for (const std::string& argument : c.arguments) *out << '[' << argument << ']';
}

class SwitchesTest : public testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchesTest, SetsOnlyTheFlagsOfExactMatches) {
  const SwitchCase& c = GetParam();
  const app::Switches switches = Read(c.arguments);
  EXPECT_EQ(switches.quiet, c.quiet);
  EXPECT_EQ(switches.mainExtractOnly, c.mainExtractOnly);
  EXPECT_EQ(switches.secondExtractOnly, c.secondExtractOnly);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, SwitchesTest,
    testing::Values(SwitchCase{{"tool"}, false, false, false},
                    SwitchCase{{"tool", "/q"}, true, false, false},
                    SwitchCase{{"tool", "/ec"}, false, true, false},
                    SwitchCase{{"tool", "/ep"}, false, false, true},
                    SwitchCase{{"tool", "/ep", "other", "/q", "/ec"}, true, true, true},
                    SwitchCase{{"tool", "/q", "/q", "/q"}, true, false, false},
                    // The program's own name is never examined.
                    SwitchCase{{"/q"}, false, false, false},
                    // Case, a dash, extra characters and blanks make another argument.
                    SwitchCase{
                        {"tool", "/Q", "-q", "/q ", " /q", "/qq", "/EC", "-ep", "/ec/ep", ""},
                        false,
                        false,
                        false},
                    SwitchCase{{"tool", "q", "ec", "/e", "/"}, false, false, false}));

}  // namespace
