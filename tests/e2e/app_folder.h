#pragma once
// An application folder on the Wine drive, laid out as a Java developer ships
// it: the launcher under the application's name and its INI beside it.
#include <string>
#include <vector>

#include "robot/robot.h"

class AppFolder {
 public:
  // A fresh, empty folder C:\e2e\<name> (or a path given in full).
  explicit AppFolder(const std::wstring& name);

  const std::wstring& path() const { return path_; }

  // Copies the launcher under test into the folder as `exeName`; returns its path.
  std::wstring installLauncher(const std::wstring& exeName) const;
  std::wstring installProgram(const std::wstring& source, const std::wstring& exeName) const;
  // Writes a text file (ASCII/ANSI content) into the folder.
  void writeFile(const std::wstring& name, const std::string& content) const;

  // Runs a program of the folder with the given arguments, answering dialogs.
  robot::Outcome run(const std::wstring& exeName, const std::wstring& arguments = L"",
                     std::vector<std::wstring> presses = {}) const;

 private:
  std::wstring path_;
};

// A program named by an environment variable as a Unix path, reached through drive Z:.
std::wstring programFromEnvironment(const char* variable);
// The launcher under test (LAUNCHER_EXE).
std::wstring launcherUnderTest();

// The current test's name, usable as a folder name.
std::wstring currentTestName();

// The robot's report of a launch, for failure messages.
std::string report(const robot::Outcome& outcome);
