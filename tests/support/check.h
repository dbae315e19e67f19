// A tiny check library for test programs that also run under Wine, where GoogleTest is not built.
#pragma once

#include <stdio.h>
#include <string.h>

namespace check {

inline int& Passed() {
  static int n = 0;
  return n;
}
inline int& Failed() {
  static int n = 0;
  return n;
}

inline bool Report(bool ok, const char* what, const char* file, int line) {
  if (ok) {
    ++Passed();
  } else {
    ++Failed();
    printf("%s:%d: failed: %s\n", file, line, what);
  }
  return ok;
}

inline bool ReportEq(long long got, long long want, const char* what, const char* file, int line) {
  bool ok = got == want;
  if (!Report(ok, what, file, line))
    printf("    got %lld (0x%llx), want %lld (0x%llx)\n", got, got, want, want);
  return ok;
}

inline bool ReportStr(const char* got, const char* want, const char* what, const char* file,
                      int line) {
  bool ok = got && want && strcmp(got, want) == 0;
  if (!Report(ok, what, file, line))
    printf("    got \"%s\", want \"%s\"\n", got ? got : "(null)", want ? want : "(null)");
  return ok;
}

// Prints the closing line and gives the exit code.
inline int Finish() {
  printf("%d passed, %d failed\n", Passed(), Failed());
  fflush(stdout);
  return Failed() ? 1 : 0;
}

} // namespace check

#define CHECK(cond) check::Report((cond), #cond, __FILE__, __LINE__)
#define CHECK_EQ(got, want)                                                                        \
  check::ReportEq((long long)(got), (long long)(want), #got " == " #want, __FILE__, __LINE__)
#define CHECK_STR(got, want) check::ReportStr((got), (want), #got " == " #want, __FILE__, __LINE__)
