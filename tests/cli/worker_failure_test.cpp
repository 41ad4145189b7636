// A failure on any thread that works on a file (out of memory, most
// likely) fails that file alone. The transform is the seam: it throws from
// a worker of its own, as re-flowing a large file in pieces would.

#include <gtest/gtest.h>

#include <new>

#include "cli/core/command.h"
#include "cli/core/file_processing.h"
#include "cli/core/parallel_for.h"
#include "cli_test_support.h"

namespace brindlewort::cli {
namespace {

using namespace brindlewort::cli_test;

class WorkerFailureTest : public FolderTest {};

TEST_F(WorkerFailureTest, AllocationFailureOnAWorkerFailsOnlyItsFile) {
  const fs::path a = write("a.c", "a"), b = write("b.c", "fail"), c = write("c.c", "c");
  InputProcessing processing;
  processing.transform = [](std::string_view text, std::string_view) -> Result<std::string> {
    std::vector<std::string> pieces(4);
    parallelFor(pieces.size(), 4, [&](std::size_t i) {
      if (text == "fail" && i == 2) throw std::bad_alloc();
      pieces[i] = std::string(text) + "!";
    });
    return pieces.front();
  };
  testing::internal::CaptureStderr();
  const int status = processInputs({a.string(), b.string(), c.string()}, processing, OutputMode::inPlace, 2);
  const std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(status, exitFailure);
  EXPECT_EQ(errors, "brindle: " + b.string() + ": out of memory; not processed\n");
  EXPECT_EQ(readFile(a), "a!");
  EXPECT_EQ(readFile(b), "fail");
  EXPECT_EQ(readFile(c), "c!");
}

}  // namespace
}  // namespace brindlewort::cli
