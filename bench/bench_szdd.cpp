// bench_szdd: for every payload item, our compressed size next to mscompress's on the same
// bytes, and our expansion throughput next to libmspack's on the same data, as a ratio.
// Run it by hand (build/<dir>/bench/bench_szdd); it is not a test.
#include <benchmark/benchmark.h>
#include <mspack.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "resources/szdd_decoder.h"
#include "resources/szdd_encoder.h"
#include "tests/resources/test_files.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Item {
  const char* name;
  Bytes original;
  Bytes ours;  // our SZDD file
  long mscompressSize = -1;
};
std::vector<Item> g_items;

// mscompress writes NAME_ beside NAME; its size, or -1 when the tool is missing or fails.
long MscompressSize(const Bytes& data) {
  char folder[] = "/tmp/bench-szdd-XXXXXX";
  if (mkdtemp(folder) == nullptr) return -1;
  std::string in = std::string(folder) + "/item";
  WriteHostFile(in, data);
  std::string command = "mscompress " + in + " >/dev/null 2>&1";
  long size = -1;
  int status = std::system(command.c_str());
  struct stat info;
  if (status == 0 && stat((in + "_").c_str(), &info) == 0) size = long(info.st_size);
  std::remove((in + "_").c_str());
  std::remove(in.c_str());
  rmdir(folder);
  return size;
}

// libmspack reads and writes through a system of memory files: the names it is given
// are the addresses of these.
struct MemoryFile {
  const Bytes* input = nullptr;
  Bytes* output = nullptr;
  size_t position = 0;
};

mspack_file* MemoryOpen(mspack_system*, const char* name, int) {
  auto* file = reinterpret_cast<MemoryFile*>(const_cast<char*>(name));
  file->position = 0;
  if (file->output != nullptr) file->output->clear();
  return reinterpret_cast<mspack_file*>(file);
}
void MemoryClose(mspack_file*) {}
int MemoryRead(mspack_file* f, void* buffer, int bytes) {
  auto* file = reinterpret_cast<MemoryFile*>(f);
  size_t n = std::min<size_t>(size_t(bytes), file->input->size() - file->position);
  std::memcpy(buffer, file->input->data() + file->position, n);
  file->position += n;
  return int(n);
}
int MemoryWrite(mspack_file* f, void* buffer, int bytes) {
  auto* file = reinterpret_cast<MemoryFile*>(f);
  auto* p = static_cast<uint8_t*>(buffer);
  file->output->insert(file->output->end(), p, p + bytes);
  return bytes;
}
int MemorySeek(mspack_file* f, off_t offset, int mode) {
  auto* file = reinterpret_cast<MemoryFile*>(f);
  size_t size = file->input != nullptr ? file->input->size() : file->output->size();
  off_t base = mode == MSPACK_SYS_SEEK_START ? 0 : mode == MSPACK_SYS_SEEK_CUR ? off_t(file->position) : off_t(size);
  if (base + offset < 0 || size_t(base + offset) > size) return 1;
  file->position = size_t(base + offset);
  return 0;
}
off_t MemoryTell(mspack_file* f) { return off_t(reinterpret_cast<MemoryFile*>(f)->position); }
void MemoryMessage(mspack_file*, const char*, ...) {}
void* MemoryAlloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void MemoryFree(void* p) { std::free(p); }
void MemoryCopy(void* from, void* to, size_t bytes) { std::memcpy(to, from, bytes); }

mspack_system g_memorySystem = {MemoryOpen, MemoryClose, MemoryRead,  MemoryWrite, MemorySeek,
                                MemoryTell, MemoryMessage, MemoryAlloc, MemoryFree, MemoryCopy, nullptr};

// Expands one item again and again, with ours or with libmspack, and checks what came out once.
void BM_Expand(benchmark::State& state, bool mspack) {
  const Item& item = g_items[size_t(state.range(0))];
  msszdd_decompressor* d = mspack_create_szdd_decompressor(&g_memorySystem);
  Bytes out;
  MemoryFile in{&item.ours, nullptr, 0}, result{nullptr, &out, 0};
  for (auto _ : state) {
    if (mspack)
      d->decompress(d, reinterpret_cast<char*>(&in), reinterpret_cast<char*>(&result));
    else
      ExpandSzdd(item.ours.data(), item.ours.size(), &out);
    benchmark::DoNotOptimize(out.data());
  }
  mspack_destroy_szdd_decompressor(d);
  if (out != item.original) state.SkipWithError(mspack ? "libmspack's expansion differs" : "expansion differs");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(item.original.size()));
  state.SetLabel(item.name);
}

// Keeps each run's time per iteration so that the two expanders can be set side by side.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> nanoseconds;
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) nanoseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
};

}  // namespace

int main(int argc, char** argv) {
  for (const PayloadFile& file : PayloadFiles()) {
    Item item{file.item, Content(file.file), {}};
    CompressSzdd(item.original.data(), item.original.size(), file.file[std::strlen(file.file) - 1], &item.ours);
    item.mscompressSize = MscompressSize(item.original);
    g_items.push_back(item);
  }
  for (size_t i = 0; i < g_items.size(); ++i) {
    benchmark::RegisterBenchmark("ExpandOurs", BM_Expand, false)->Arg(int64_t(i));
    benchmark::RegisterBenchmark("ExpandMspack", BM_Expand, true)->Arg(int64_t(i));
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n| item | expanded | ours | mscompress | ours/mscompress | our expansion vs libmspack (speed ratio) |\n");
  std::printf("|---|---:|---:|---:|---:|---:|\n");
  long oursTotal = 0, theirsTotal = 0;
  for (size_t i = 0; i < g_items.size(); ++i) {
    const Item& item = g_items[i];
    std::string suffix = "/" + std::to_string(i);
    double ours = reporter.nanoseconds["ExpandOurs" + suffix];
    double theirs = reporter.nanoseconds["ExpandMspack" + suffix];
    oursTotal += long(item.ours.size());
    theirsTotal += item.mscompressSize;
    std::printf("| %s | %zu | %zu | %ld | %.3f | %.2fx |\n", item.name, item.original.size(), item.ours.size(),
                item.mscompressSize, item.mscompressSize > 0 ? double(item.ours.size()) / item.mscompressSize : 0.0,
                ours > 0 ? theirs / ours : 0.0);
  }
  std::printf("| total | | %ld | %ld | %.3f | |\n", oursTotal, theirsTotal,
              theirsTotal > 0 ? double(oursTotal) / theirsTotal : 0.0);
  bool neverLarger = true;
  for (const Item& item : g_items) neverLarger &= item.mscompressSize < 0 || long(item.ours.size()) <= item.mscompressSize;
  std::printf("%s\n", neverLarger ? "ours is never larger than mscompress's" : "OURS IS LARGER FOR SOME ITEM");
  return neverLarger ? 0 : 1;
}
