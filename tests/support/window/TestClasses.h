#pragma once
// The registry of the viewer's Qt test classes. A test file ends in EBOOK_VIEWER_TEST(Class),
// which registers the class under its name while the program starts; main() runs them.

#include <QObject>
#include <map>
#include <memory>
#include <string>

namespace ebook::test {

using MakeTestClass = std::unique_ptr<QObject> (*)();

// The registered classes, by name.
const std::map<std::string, MakeTestClass>& TestClasses();

// Registers `make` under `name`. A name registered twice stops the program: the second class
// would never run.
struct TestClassRegistration {
  TestClassRegistration(const char* name, MakeTestClass make);
};

}  // namespace ebook::test

// Registers the test class `Class`, defined above it, under its name. For a file compiled into
// the executable itself: the linker keeps all of the executable's objects, but drops an
// object of a static library that nothing refers to, and its registration with it.
#define EBOOK_VIEWER_TEST(Class)                                                        \
  static const ::ebook::test::TestClassRegistration ebookViewerTestRegistration##Class( \
      #Class, []() -> std::unique_ptr<QObject> { return std::make_unique<Class>(); })
