// Hostile packages run through the built tool, as a user would run them: in
// the package folder, quietly, standard input not a terminal, no display, the
// main product (in one case the second) installed with two models in its
// store. The corpus is generated here from the table below.
//
// Every case ends in one of three ways:
// - refused: exit status 255 and the store exactly as it was (plus, where the
//   case says so, the models the design installs before it meets the fault);
// - refused entry: exit status 0, and the hostile part of the package has no
//   effect: nothing of it is unpacked or installed, the store holds its two
//   models unchanged and exactly the package's well-behaved models besides;
// - installed: a package that is large but within every bound installs what
//   it holds, and nothing else.
// In every case nothing outside the package folder and the store changes (a
// picture of the whole temporary root, with a sentinel folder beside the
// package, is compared), the package's own files stay as they were, no
// staging folder is left unless the step that creates them failed (the
// driver runs no cleanup then), the tool prints nothing, and its peak memory
// stays small.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/hostile/CraftedArchives.h"
#include "tests/hostile/Footprint.h"
#include "tests/hostile/HostileWorkspace.h"

namespace hostile_testing {
namespace {

namespace fs = std::filesystem;
using job_testing::Tree;
using testing_support::BuildZip;
using testing_support::ZipEntry;
using Entries = std::vector<ZipEntry>;

enum class Outcome { kRefused, kRefusedEntry, kInstalled };

struct HostileCase {
  std::string name;
  std::function<void(HostileWorkspace&)> write;
  Outcome outcome;
  // The package's models in the store afterwards, with their trees.
  std::map<std::string, Tree> installed = {};
  // The staging folders the failed step left (empty folders).
  std::vector<std::string> stagingLeft = {};
  int mainProduct = 1;
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

const std::string kProfileP = R"(<profile name="P" src="P.lmf"/>)";
const std::string kModelFine = R"(<model name="Fine" version="2" profile="P"/>)";

Entries With(Entries entries, const Entries& more) {
  entries.insert(entries.end(), more.begin(), more.end());
  return entries;
}

// Profile P holding Fine and then `extra`, with Fine the package's model.
std::function<void(HostileWorkspace&)> ArchiveWith(const Entries& extra) {
  return [extra](HostileWorkspace& w) {
    w.WriteDescription(kProfileP + kModelFine);
    w.WriteMonitorFile("P.lmf", With(FineEntries(), extra));
  };
}

// Profile P holding Fine (and `entries`), with `body` describing the rest.
std::function<void(HostileWorkspace&)> DescribedAs(const std::string& body, const Entries& entries = {}) {
  return [body, entries](HostileWorkspace& w) {
    w.WriteDescription(body);
    w.WriteMonitorFile("P.lmf", With(FineEntries(), entries));
  };
}

// A first profile named `name` and then a repeated one, so that the step
// that creates the staging folders fails after its attempt at `name` and no
// cleanup removes what it made.
std::function<void(HostileWorkspace&)> ProfileNamed(const std::string& name) {
  return DescribedAs(R"(<profile name=")" + name + R"(" src="P.lmf"/>)" +
                     R"(<profile name="Q" src="P.lmf"/><profile name="Q" src="P.lmf"/>)" + kModelFine);
}

// A model named `name`, staged from a folder `planted` of the package that
// the name reaches from the staging folder.
std::function<void(HostileWorkspace&)> ModelReachingPlanted(const std::string& name) {
  return [name](HostileWorkspace& w) {
    DescribedAs(kProfileP + R"(<model name=")" + name + R"(" version="2" profile="P"/>)" + kModelFine)(w);
    w.WriteFile("planted/montype.xml", job_testing::MonitorType(2));
  };
}

// Profile P whose monitor file is `bytes`.
std::function<void(HostileWorkspace&)> MonitorFile(const std::function<std::string()>& bytes) {
  return [bytes](HostileWorkspace& w) {
    w.WriteDescription(kProfileP + kModelFine);
    w.WriteFile("P.lmf", bytes());
  };
}

// Profile P whose archive is Fine's, changed by `change` (entry 0 is Fine/).
std::function<void(HostileWorkspace&)> ChangedArchive(const std::function<void(std::string&)>& change) {
  return MonitorFile([change] {
    std::string archive = BuildZip(FineEntries());
    change(archive);
    return Container(archive);
  });
}

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

std::string Zeros(std::size_t count) { return std::string(count, '\0'); }

Entries ManyEmptyFiles(const std::string& folder, int count) {
  Entries entries;
  for (int i = 0; i < count; ++i) entries.push_back({folder + std::to_string(i), "", 0});
  return entries;
}

// The deepest file an entry name can reach: 124 folders below Deep/, in a
// name of 259 characters, the most the name buffer holds.
const std::string kDeepName = "Deep/" + Repeat("d/", 124) + "xy.txt";

const Tree kFineTree = TreeOf(kFine);

std::vector<HostileCase> Corpus() {
  std::vector<HostileCase> corpus = {
      // --- Entry names that try to leave the staging folder -------------------------
      {"EntryUpIntoThePackageFolder", ArchiveWith({{"../escape.txt", "x"}}), Outcome::kRefused},
      {"EntryUpIntoTheSentinel", ArchiveWith({{"../../sentinel/keep.txt", "overwritten"}}), Outcome::kRefused},
      {"EntryUpToTheRoot", ArchiveWith({{"../../../../escape.txt", "x"}}), Outcome::kRefused},
      {"EntryDownThenUp", ArchiveWith({{"Fine/../../../../../escape.txt", "x"}}), Outcome::kRefused},
      {"EntryDotThenUp", ArchiveWith({{"./../../sentinel/new.txt", "x"}}), Outcome::kRefused},
      {"FolderEntryUpIntoTheSentinel", ArchiveWith({{"../../sentinel/made/", "", 0}}), Outcome::kRefused},
      {"EntryUpFirstNothingUnpacked",
       [](HostileWorkspace& w) {
         w.WriteDescription(kProfileP + kModelFine);
         w.WriteMonitorFile("P.lmf", With({{"../../sentinel/keep.txt", "overwritten"}}, FineEntries()));
       },
       Outcome::kRefused},
      {"EntryWithBackslashesUpIntoTheSentinel", ArchiveWith({{"..\\..\\sentinel\\keep.txt", "overwritten"}}),
       Outcome::kRefused},
      {"EntryWithBackslashesUpToTheRoot", ArchiveWith({{"..\\..\\..\\..\\escape.txt", "x"}}), Outcome::kRefused},
      {"EntryWithMixedSeparatorsUp", ArchiveWith({{"Fine\\..\\../..\\..\\../escape.txt", "x"}}),
       Outcome::kRefused},
      {"EntryWithADriveLetter", ArchiveWith({{"C:\\escape.txt", "x"}}), Outcome::kRefused},
      {"EntryWithADriveLetterAndSlash", ArchiveWith({{"C:/escape.txt", "x"}}), Outcome::kRefused},
      {"EntryWithALeadingBackslash", ArchiveWith({{"\\escape.txt", "x"}}), Outcome::kRefused},
      {"EntryWithAnAbsoluteNameIntoTheSentinel",
       [](HostileWorkspace& w) {
         ArchiveWith({{(w.sentinel() / "absolute.txt").string(), "x"}})(w);
       },
       Outcome::kRefused},
      {"EntryNamePastTheNameBuffer", ArchiveWith({{"Fine/" + Repeat("n", 300), "x"}}), Outcome::kRefused},
      {"SecondProductFilterPassesAnEscapingCapFile",
       [](HostileWorkspace& w) { ArchiveWith({{"../../sentinel/CAP.xml", "x"}})(w); }, Outcome::kRefused, {}, {},
       0},
      {"SecondProductFilterSkipsAnEscapingEntryUnread",
       [](HostileWorkspace& w) { ArchiveWith({{"../../../../escape.txt", "x"}})(w); }, Outcome::kRefusedEntry,
       {{"Fine", TreeOf({{"CALDEF.xml", kFine.at("CALDEF.xml")}, {"CAP.xml", kFine.at("CAP.xml")}})}}, {}, 0},

      // --- Names in the description that try to leave their folder ----------------
      {"ModelNamedEmptyWouldTakeTheWholeStore",
       DescribedAs(kProfileP + R"(<model name="" version="2" profile="P"/>)" + kModelFine), Outcome::kRefused},
      {"ModelNamedDotDot", DescribedAs(kProfileP + R"(<model name=".." version="2" profile="P"/>)" + kModelFine),
       Outcome::kRefused},
      {"ModelNamedDot", DescribedAs(kProfileP + R"(<model name="." version="2" profile="P"/>)" + kModelFine),
       Outcome::kRefused},
      {"ModelNamedWithASlash",
       DescribedAs(kProfileP + R"(<model name="a/b" version="2" profile="P"/>)" + kModelFine,
                   {{"a/b/montype.xml", job_testing::MonitorType(2)}}),
       Outcome::kRefused},
      {"ModelNamedWithABackslash",
       DescribedAs(kProfileP + R"(<model name="a\b" version="2" profile="P"/>)" + kModelFine),
       Outcome::kRefused},
      // From the store the name climbs into the install folder, and from the
      // staging folder into the package's planted folder.
      {"ModelNamedUpOutOfTheStore", ModelReachingPlanted("/../planted"), Outcome::kRefused},
      {"ModelNamedUpOutOfTheStoreWithBackslashes", ModelReachingPlanted("\\..\\planted"), Outcome::kRefused},
      {"ModelNamedUpIntoAnotherModel",
       DescribedAs(kProfileP + R"(<model name="../Keep1" version="9" profile="P"/>)" + kModelFine),
       Outcome::kRefused},
      {"ModelAfterFineNamedEmpty",
       DescribedAs(kProfileP + kModelFine + R"(<model name="" version="2" profile="P"/>)"), Outcome::kRefused,
       {{"Fine", kFineTree}}},
      {"IncompatibleModelWithAnEscapingNameIsOnlyListed",
       DescribedAs(kProfileP + R"(<model name="../Keep1" version="9" profile="P">)" +
                   R"(<supportversion software="Lumora" min="99.0.0"/></model>)" + kModelFine),
       Outcome::kRefusedEntry, {{"Fine", kFineTree}}},
      {"ModelNameReadingAnotherModelsVersionIsNotSelected",
       DescribedAs(kProfileP + R"(<model name="Keep1\..\Keep2" version="1" profile="P"/>)" + kModelFine),
       Outcome::kRefusedEntry, {{"Fine", kFineTree}}},
      {"ModelFromAProfileThatLeavesThePackage",
       DescribedAs(kProfileP + R"(<model name="Fine" version="2" profile="../sentinel"/>)"), Outcome::kRefused},
      {"ModelFromAFolderThatIsNoStagingFolder",
       [](HostileWorkspace& w) {
         DescribedAs(kProfileP + R"(<model name="Fine" version="2" profile="Planted"/>)")(w);
         for (const auto& [path, content] : kFine) w.WriteFile("Planted/Fine/" + path, "planted " + content);
       },
       Outcome::kRefused},
      {"ProfileNamedDotDot", DescribedAs(R"(<profile name=".." src="P.lmf"/>)" + kModelFine), Outcome::kRefused},
      {"ProfileNamedEmpty", DescribedAs(R"(<profile name="" src="P.lmf"/>)" + kModelFine), Outcome::kRefused},
      {"ProfileUpIntoTheSentinel", ProfileNamed("../sentinel/evil"), Outcome::kRefused},
      {"ProfileUpToTheRoot", ProfileNamed("../../../evil"), Outcome::kRefused},
      {"ProfileWithBackslashesUp", ProfileNamed("..\\sentinel\\evil"), Outcome::kRefused},
      {"ProfileDownThenUp", ProfileNamed("Q/../../sentinel/evil"), Outcome::kRefused},
      {"ProfileWithAnAbsoluteName",
       [](HostileWorkspace& w) { ProfileNamed((w.sentinel() / "evil").string())(w); }, Outcome::kRefused},
      {"ProfileUpAfterAGoodOne",
       DescribedAs(kProfileP + R"(<profile name="../escape" src="P.lmf"/>)" + kModelFine), Outcome::kRefused, {},
       {"P"}},
      {"ProfileNamedLikeThePackageFile",
       DescribedAs(R"(<profile name="P.lmf" src="P.lmf"/>)" + kModelFine), Outcome::kRefused},
      {"SrcUpIntoTheSentinel", DescribedAs(R"(<profile name="P" src="../sentinel/stolen.lmf"/>)" + kModelFine),
       Outcome::kRefused},
      // The copy of the checked archive goes to <staging folder>/<src>.zip,
      // one level below where src itself is read: with a file to read one
      // level up, the copy would land beside the package.
      {"SrcUpWritesItsCopyBesideThePackage",
       [](HostileWorkspace& w) {
         DescribedAs(R"(<profile name="P" src="../../sentinel/keep.txt"/>)" + kModelFine)(w);
         testing_support::WriteFile(w.root() / "deep/sentinel/keep.txt", "two levels up");
       },
       Outcome::kRefused},
      {"SrcWithBackslashesUp", DescribedAs(R"(<profile name="P" src="..\sentinel\stolen.lmf"/>)" + kModelFine),
       Outcome::kRefused},
      {"SrcAbsoluteIntoTheSentinel",
       [](HostileWorkspace& w) {
         DescribedAs(R"(<profile name="P" src=")" + (w.sentinel() / "stolen.lmf").string() + R"("/>)" +
                     kModelFine)(w);
       },
       Outcome::kRefused},
      {"StagingFolderPlantedAsALinkToTheSentinel",
       [](HostileWorkspace& w) {
         DescribedAs(kProfileP + kModelFine)(w);
         fs::create_symlink(w.sentinel(), w.package() / "P");
       },
       Outcome::kRefused},
      {"MonitorFileIsANamedPipe",
       [](HostileWorkspace& w) {
         w.WriteDescription(kProfileP + kModelFine);
         ASSERT_EQ(mkfifo((w.package() / "P.lmf").c_str(), 0600), 0);
       },
       Outcome::kRefused},
      {"DescriptionIsANamedPipe",
       [](HostileWorkspace& w) {
         ASSERT_EQ(mkfifo((w.package() / "LumoraMonitorFileInfo.xml").c_str(), 0600), 0);
       },
       Outcome::kRefused},
      {"SrcIsADevice", DescribedAs(R"(<profile name="P" src="/dev/zero"/>)" + kModelFine), Outcome::kRefused},

      // --- Bombs ---------------------------------------------------------------------
      {"DeepestNestingTheNameBufferAllows",
       [](HostileWorkspace& w) {
         w.WriteDescription(kProfileP + kModelFine + R"(<model name="Deep" version="1" profile="P"/>)");
         w.WriteMonitorFile("P.lmf", With(FineEntries(), {{kDeepName, "deep"}}));
       },
       Outcome::kInstalled, {{"Fine", kFineTree}, {"Deep", TreeOf({{kDeepName.substr(5), "deep"}})}}},
      {"NestingPastTheNameBuffer", ArchiveWith({{"Fine/" + Repeat("d/", 140) + "x.txt", "x"}}),
       Outcome::kRefused},
      {"ManyEmptyEntriesWithinAMonitorFile", ArchiveWith(ManyEmptyFiles("junk/", 650)), Outcome::kInstalled,
       {{"Fine", kFineTree}}},
      {"ManyEntriesAfterTheCheckedPayload",
       MonitorFile([] {
         return Container(BuildZip({{"Fine/montype.xml", "small"}}),
                          BuildZip(With(FineEntries(), ManyEmptyFiles("junk/", 20000))));
       }),
       Outcome::kRefused},
      {"FiftyMegabytesOfZerosWithinTheCheckedPayload",
       MonitorFile([] { return Container(BuildZip(With(FineEntries(), {{"Fine/zeros.bin", Zeros(50u << 20)}}))); }),
       Outcome::kRefused},
      {"FiftyMegabytesOfZerosAfterTheCheckedPayload",
       MonitorFile([] {
         return Container(BuildZip({{"Fine/montype.xml", "small"}}),
                          BuildZip(With(FineEntries(), {{"Fine/zeros.bin", Zeros(50u << 20)}})));
       }),
       Outcome::kRefused},
      {"EntryDeclaringAGigabyte", ChangedArchive([](std::string& a) { SetDeclaredSize(a, 2, 1u << 30); }),
       Outcome::kRefused},
      {"EntryDeclaringFewerBytesThanItHolds",
       MonitorFile([] {
         std::string archive = BuildZip(With(FineEntries(), {{"Fine/zeros.bin", Zeros(1u << 20)}}));
         SetDeclaredSize(archive, 4, 100);
         return Container(archive);
       }),
       Outcome::kRefused},
      {"SparseGigabyteDescription",
       [](HostileWorkspace& w) {
         w.WriteMonitorFile("P.lmf", FineEntries());
         w.WriteFile("LumoraMonitorFileInfo.xml", "<?xml version=\"1.0\"?>\n<r>" + kProfileP);
         fs::resize_file(w.package() / "LumoraMonitorFileInfo.xml", std::uintmax_t{1} << 30);
       },
       Outcome::kRefused},
      {"SparseGigabyteAfterTheCheckedPayload",
       [](HostileWorkspace& w) {
         w.WriteDescription(kProfileP + kModelFine);
         w.WriteMonitorFile("P.lmf", FineEntries());
         fs::resize_file(w.package() / "P.lmf", std::uintmax_t{1} << 30);
       },
       Outcome::kRefused},
      {"NestedEntitiesInAProfileName",
       [](HostileWorkspace& w) {
         std::string doctype = "<!DOCTYPE r [<!ENTITY e0 \"" + Repeat("x", 64) + "\">";
         for (int i = 1; i <= 9; ++i) {
           doctype += "<!ENTITY e" + std::to_string(i) + " \"" +
                      Repeat("&e" + std::to_string(i - 1) + ";", 10) + "\">";
         }
         w.WriteFile("LumoraMonitorFileInfo.xml", "<?xml version=\"1.0\"?>\n" + doctype + "]>\n<r>" +
                                                      R"(<profile name="&e9;" src="P.lmf"/>)" + kModelFine +
                                                      "</r>\n");
         w.WriteMonitorFile("P.lmf", FineEntries());
       },
       Outcome::kRefused},
      {"ExternalEntityInAProfileName",
       [](HostileWorkspace& w) {
         w.WriteFile("LumoraMonitorFileInfo.xml",
                     "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY x SYSTEM \"" +
                         (w.sentinel() / "keep.txt").string() + "\">]>\n<r>" +
                         R"(<profile name="&x;" src="P.lmf"/>)" + kModelFine + "</r>\n");
         w.WriteMonitorFile("P.lmf", FineEntries());
       },
       Outcome::kRefused},

      // --- Damage at each layer ------------------------------------------------------
      {"DescriptionNotWellFormed",
       [](HostileWorkspace& w) {
         w.WriteFile("LumoraMonitorFileInfo.xml", "<r>" + kProfileP + "<model name=\"Fine\"></r>");
         w.WriteMonitorFile("P.lmf", FineEntries());
       },
       Outcome::kRefused},
      {"DescriptionEmpty",
       [](HostileWorkspace& w) {
         w.WriteFile("LumoraMonitorFileInfo.xml", "");
         w.WriteMonitorFile("P.lmf", FineEntries());
       },
       Outcome::kRefused},
      {"MonitorFileEmpty", MonitorFile([] { return std::string(); }), Outcome::kRefused},
      {"MonitorFileHeaderShort", MonitorFile([] { return std::string(24, '\0'); }), Outcome::kRefused},
      {"MonitorFileChecksumWrong",
       MonitorFile([] {
         std::string file = Container(BuildZip(FineEntries()));
         file[23] = static_cast<char>(file[23] ^ 1);
         return file;
       }),
       Outcome::kRefused},
      {"MonitorFileEndsInsideThePayload",
       MonitorFile([] {
         const std::string file = Container(BuildZip(FineEntries()));
         return file.substr(0, file.size() - 40);
       }),
       Outcome::kRefused},
      {"MonitorFileLengthTooLongForTheFile",
       MonitorFile([] {
         const std::string archive = BuildZip(FineEntries());
         return ContainerWithFields(65535, 0, archive);
       }),
       Outcome::kRefused},
      {"ArchiveWithoutItsEndRecord",
       MonitorFile([] {
         const std::string archive = BuildZip(FineEntries());
         return Container(archive.substr(0, archive.size() - 22));
       }),
       Outcome::kRefused},
      {"CentralDirectoryEntryDamaged",
       ChangedArchive([](std::string& a) { BreakSignature(a, CentralHeader(a, 2)); }), Outcome::kRefused},
      {"CentralDirectoryCountLies",
       ChangedArchive([](std::string& a) {
         // The end record's entry counts, on this disk and in all.
         const std::size_t end = a.size() - 22;
         a[end + 8] = a[end + 10] = static_cast<char>(200);
       }),
       Outcome::kRefused},
      {"LocalHeaderDamaged", ChangedArchive([](std::string& a) { BreakSignature(a, LocalHeader(a, 2)); }),
       Outcome::kRefused},
      {"EntryChecksumWrong", ChangedArchive([](std::string& a) { BreakEntryChecksum(a, 1); }), Outcome::kRefused},
      {"EntryWithAnUnknownMethod", ChangedArchive([](std::string& a) { testing_support::SetEntryMethod(a, 1, 12); }),
       Outcome::kRefused},
  };
  return corpus;
}

// The memory a run of the tool may take at its peak, in KiB.
constexpr long kPeakMemoryBound = 256 * 1024;

// The largest memory any run of the tool took, in KiB.
long ChildrensPeakMemory() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_maxrss;
}

class HostilePackage : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePackage, EndsRefusedOrContainedAndTouchesNothingElse) {
  const HostileCase& c = GetParam();
  HostileWorkspace workspace;
  workspace.Register(c.mainProduct);
  c.write(workspace);
  if (testing::Test::HasFatalFailure()) return;
  const Tree outsideBefore = Picture(workspace.root(), {workspace.package(), workspace.store()});
  const Tree packageBefore = Picture(workspace.package());

  const long peakBefore = ChildrensPeakMemory();
  const app_testing::ToolRun run = workspace.Run();

  EXPECT_EQ(run.status, c.outcome == Outcome::kRefused ? 255 : 0);
  EXPECT_EQ(run.standardOutput, "");
  EXPECT_EQ(run.standardError, "");
  // The peak covers every run of this process so far; it tells about this
  // run while the earlier ones stayed below the bound.
  if (peakBefore < kPeakMemoryBound) {
    EXPECT_LT(ChildrensPeakMemory(), kPeakMemoryBound) << "KiB at the peak";
  }

  EXPECT_EQ(Picture(workspace.root(), {workspace.package(), workspace.store()}), outsideBefore)
      << "changed outside the package folder and the store";

  // The store: its own models unchanged, and exactly the expected new ones.
  std::vector<std::string> expectedNames = {"Keep1", "Keep2"};
  for (const auto& [model, tree] : c.installed) expectedNames.push_back(model);
  std::sort(expectedNames.begin(), expectedNames.end());
  EXPECT_EQ(job_testing::FolderNames(workspace.store()), expectedNames);
  EXPECT_EQ(job_testing::ReadTree(workspace.store() / "Keep1"), TreeOf(kKeep1));
  EXPECT_EQ(job_testing::ReadTree(workspace.store() / "Keep2"), TreeOf(kKeep2));
  for (const auto& [model, tree] : c.installed) {
    EXPECT_EQ(job_testing::ReadTree(workspace.store() / model), tree) << model;
  }

  // The package: its own files as they were, and no staging folder left
  // but the empty ones of a failed first step.
  Tree packageExpected = packageBefore;
  for (const std::string& folder : c.stagingLeft) packageExpected[folder] = std::nullopt;
  EXPECT_EQ(Picture(workspace.package()), packageExpected);
}

INSTANTIATE_TEST_SUITE_P(Corpus, HostilePackage, testing::ValuesIn(Corpus()),
                         [](const testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

}  // namespace
}  // namespace hostile_testing
