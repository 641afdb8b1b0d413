#include <cstdio>

#include "core/runtime.h"

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  orvane::Runtime runtime;
  std::puts("orvane");
  return 0;
}
