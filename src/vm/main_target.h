#pragma once
// What the runtime's launcher class is asked to load as the main class, in
// the modes of the java command. Portable.
#include <cstdint>

#include "common/text.h"

// The launcher class's numbers for the three ways the java command starts.
enum class LaunchMode : int32_t { Class = 1, Jar = 2, Module = 3 };

// The first Java version with modules and a module path.
constexpr int32_t kFirstModularJava = 9;

struct MainTarget {
  LaunchMode mode = LaunchMode::Class;
  // The class's dotted name, the jar's path, or "module" or "module/class".
  String text;
};

// The main as the launcher's messages name it: a class in the VM's internal,
// slash-separated form, a jar or module as given.
inline String reportedMainName(const MainTarget& main) {
  String name = main.text;
  if (main.mode == LaunchMode::Class) {
    for (char16_t& c : name) {
      if (c == u'.') c = u'/';
    }
  }
  return name;
}
