#pragma once
// Runs the inspector as a user runs it and keeps its exit status and output.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "../engine/orvanto_test_support.h"

namespace vl::test {

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline Result run(const std::string &arguments) {
  const char *appDir = std::getenv("VL_APP_DIR");
  EXPECT_NE(appDir, nullptr);
  TempFile out, err;
  const std::string command = "LC_ALL=C " + std::string(appDir ? appDir : ".") + "/orvanto " + arguments + " >" +
                              out.path() + " 2>" + err.path();
  const int raw = std::system(command.c_str());
  Result r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out.path());
  r.err = slurp(err.path());
  return r;
}

}  // namespace vl::test
