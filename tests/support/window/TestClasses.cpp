#include "support/window/TestClasses.h"

#include <cstdio>
#include <cstdlib>

namespace ebook::test {
namespace {

// Built on first use: the registrations run while the program starts, in no set order.
std::map<std::string, MakeTestClass>& Registry() {
  static std::map<std::string, MakeTestClass> classes;
  return classes;
}

}  // namespace

const std::map<std::string, MakeTestClass>& TestClasses() { return Registry(); }

TestClassRegistration::TestClassRegistration(const char* name, MakeTestClass make) {
  if (!Registry().emplace(name, make).second) {
    std::fprintf(stderr, "Two viewer test classes are named %s\n", name);
    std::abort();
  }
}

}  // namespace ebook::test
