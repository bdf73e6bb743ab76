// A whole install of each edition (native build, in-memory registry, host files) next to a
// plain copy of the same bytes into the same places. Prints each median and their ratio.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "install/install_sequence.h"
#include "office/office_info.h"
#include "platform/portable/machine.h"
#include "resources/resource_table.h"

namespace {

const char* const kFolders[] = {
    "C:\\Dict", "C:\\Program Files", "C:\\WINDOWS\\Application Data\\Microsoft\\Templates",
    "C:\\WINDOWS\\Application Data\\Microsoft\\Word\\STARTUP", "C:\\Program Files\\Microsoft Office\\Templates",
    "C:\\Program Files\\Microsoft Office\\Office\\STARTUP"};

// Where the host folders go: $VESSORA_BENCH_DIR, else /tmp.
std::string TempPattern(const char* name) {
  const char* base = std::getenv("VESSORA_BENCH_DIR");
  return std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") + "/" + name + "-XXXXXX";
}

// Every file below folder, by its path relative to the folder, with its bytes.
std::map<std::string, std::string> Collect(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), folder).string()].assign(std::istreambuf_iterator<char>(in),
                                                                         std::istreambuf_iterator<char>());
  }
  return files;
}

// One machine: a host folder for C:, the scenario's registry, one edition's resources.
struct Machine : PortableMachine {
  Machine(const ResourceTable& table, Edition edition, const std::string& scenario)
      : PortableMachine(table), edition(edition) {
    std::string pattern = TempPattern("vessora-bench");
    root = mkdtemp(&pattern[0]);
    std::filesystem::create_directory(root + "/c");
    files.MapDrive('C', root + "/c");
    registry.LoadRegFile(std::string(VESSORA_TEST_DATA) + "/" + scenario);
    for (const char* folder : kFolders) MakeFolders(folder);
    MakeProgramsFolder();
    g_officeInfo.Reset();
    g_officeInfo.DetectVersions();
  }
  ~Machine() override { std::filesystem::remove_all(root); }
  bool Install() { return InstallEdition(edition, "C:\\Dict", "C:\\Program Files") == InstallResult::Installed; }

  Edition edition;
  std::string root;
};

struct Case {
  const char* name;
  const ResourceTable& (*table)();
  Edition edition;
  const char* scenario;
};

void BenchInstall(benchmark::State& state, Case c) {
  Machine machine(c.table(), c.edition, c.scenario);
  for (auto _ : state) {
    if (!machine.Install()) {
      state.SkipWithError("the install failed");
      break;
    }
  }
}

// Writes every file one install leaves (payload, pieces, log, links) with plain host calls.
void BenchPlainCopy(benchmark::State& state, Case c) {
  std::map<std::string, std::string> written;
  {
    Machine machine(c.table(), c.edition, c.scenario);
    machine.Install();
    written = Collect(machine.root + "/c");
  }
  std::string pattern = TempPattern("vessora-copy");
  std::string root = mkdtemp(&pattern[0]);
  std::map<std::string, std::string> targets;
  for (const auto& file : written) {
    std::string target = root + "/" + file.first;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path());
    targets[target] = file.second;
  }
  for (auto _ : state) {
    for (const auto& file : targets) {
      int fd = open(file.first.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (fd < 0 || write(fd, file.second.data(), file.second.size()) != static_cast<ssize_t>(file.second.size())) {
        state.SkipWithError("the copy failed");
      }
      if (fd >= 0) close(fd);
    }
  }
  std::filesystem::remove_all(root);
}

// Prints as usual, and keeps each benchmark's median for the closing table.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, std::pair<double, double>> medians;  // wall clock and CPU
};

}  // namespace

int main(int argc, char** argv) {
  static const Case kCases[] = {
      {"Standard/Word97", StandardResources, EditionStandard, "office97.reg"},
      {"Standard/Word2000", StandardResources, EditionStandard, "office2000.reg"},
      {"Professional/Word97", ProfessionalResources, EditionProfessional, "office97.reg"},
      {"Professional/Word2000", ProfessionalResources, EditionProfessional, "office2000.reg"},
      {"Quorvel/Word97", QuorvelResources, EditionQuorvel, "office97.reg"},
      {"Quorvel/Word2000", QuorvelResources, EditionQuorvel, "office2000.reg"},
  };
  for (const Case& c : kCases) {
    benchmark::RegisterBenchmark((std::string("Install/") + c.name).c_str(), BenchInstall, c)
        ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark((std::string("PlainCopy/") + c.name).c_str(), BenchPlainCopy, c)
        ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
  }
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nMedians in microseconds, wall clock and CPU; ratio = install / plain copy\n");
  std::printf("%-24s %12s %12s %7s %12s %12s %7s\n", "edition/Word", "install", "copy", "ratio", "install cpu",
              "copy cpu", "ratio");
  for (const Case& c : kCases) {
    std::string install = std::string("Install/") + c.name, copy = std::string("PlainCopy/") + c.name;
    auto [wi, ci] = reporter.medians[install];
    auto [wc, cc] = reporter.medians[copy];
    if (wi > 0 && wc > 0 && ci > 0 && cc > 0)
      std::printf("%-24s %12.0f %12.0f %7.2f %12.0f %12.0f %7.2f\n", c.name, wi, wc, wi / wc, ci, cc, ci / cc);
  }
  benchmark::Shutdown();
  return 0;
}
