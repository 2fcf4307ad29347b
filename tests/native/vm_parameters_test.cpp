#include "vm/vm_parameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "resources/resource_ids.h"
#include "vm/option_encoding.h"
#include "vm/runtime_folders.h"
#include "vm/vm_plan.h"
#include "vm/timestamp_name.h"

namespace {

const MemoryFigures kMachine{2097152ull * 1024, 1000000ull * 1024};  // 2 GiB physical, ~1 GB address space

MemoryQuery machine() {
  return [] { return kMachine; };
}

TEST(VmParameters, SplittingQuotesAndRewriting) {
  const struct {
    const char16_t* value;
    StringList options;
    uint32_t stackSize;
  } cases[] = {
      {u"-Xmx512m \"-Dmy.dir=C:\\Program Files\\x\" -Xss1m",
       {u"-Xmx512m", u"-Dmy.dir=C:\\Program Files\\x", u"-Xss1m"}, 1048576},
      {u" -Xrs", {u"-Xrs"}, 0},
      // The java launcher's separate-value spellings, joined as HotSpot takes them.
      {u"--add-opens java.base/java.lang=ALL-UNNAMED -p mods",
       {u"--add-opens=java.base/java.lang=ALL-UNNAMED", u"--module-path=mods"}, 0},
      {u"--module-path \"C:\\My Mods\" --add-opens", {u"--module-path=C:\\My Mods", u"--add-opens"}, 0},
      {u"--illegal-native-access allow -p=x --add-modules=a -p",
       {u"--illegal-native-access", u"allow", u"-p=x", u"--add-modules=a", u"-p"}, 0},
      {u"-Da   -Db  ", {u"-Da", u"-Db"}, 0},
      {u"-Xss1m -Xss2k", {u"-Xss1m", u"-Xss2k"}, 2048},
      {u"-Xss512", {u"-Xss512"}, 51},
      {u"-Xss4g", {u"-Xss4g"}, 0},
      {u"-Xss1:2m", {u"-Xss1:2m"}, 0},
      {u"-Xssm", {u"-Xssm"}, 0},
      {u"-Xss", {u"-Xss"}, 0},
      {u"\"-Dq=a\"\"b\"", {u"-Dq=a\"b\""}, 0},
      {u"-Dq=\"a \"\"b\"\" c\"", {u"-Dq=a \"b", u"c\""}, 0},
      {u"-Dopen=\"no end", {u"-Dopen=\"no", u"end"}, 0},
      {u"\"\" -Da", {u"-Da"}, 0},
      {u"-Xmx50:256:1024P", {u"-Xmx1048576K"}, 0},
      {u"-Xmx10P", {u"-Xmx209715K"}, 0},
      {u"-Xms1:512p", {u"-Xms524288K"}, 0},
      {u"-Xmx90:0:100P", {u"-Xmx102400K"}, 0},
      {u"-Xmx50:4096:1024P", {u"-Xmx4194304K"}, 0},
      {u"-Xmx25T", {u"-Xmx250000K"}, 0},
      {u"-XMX50P -xmx50P", {u"-XMX50P", u"-xmx50P"}, 0},
      {u"-Xss1P", {u"-Xss20971K"}, 20971u * 1024u},
      // Argument files as the java command reads them, "@@" for a literal "@".
      {u"-Da @opts -Db @@x @",
       {u"-Da", u"-Xmx209715K", u"--add-opens=java.base/java.lang=ALL-UNNAMED", u"-Dq=a b", u"-Dwin=C:\\dir",
        u"say \"hi\"", u"-Dlong=one two", u"-De= open", u"-Dlast", u"-Db", u"@x", u"@"},
       0},
  };
  const ArgumentFileReader files = [](const String& name) -> std::optional<String> {
    if (name != u"opts") return std::nullopt;
    return String(uR"(# a comment line
-Xmx10P --add-opens
  java.base/java.lang=ALL-UNNAMED "-Dq=a b" -Dwin=C:\dir 'say \"hi\"' "-Dlong=one \
     two" #a comment after options
-De=" open
-Dlast)");
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.value));
    uint32_t stack = 12345;
    EXPECT_EQ(vmParameterOptions(c.value, machine(), stack, files), c.options);
    // Only an -Xss parameter sets the size; otherwise it stays as it was.
    bool setsStack = std::any_of(c.options.begin(), c.options.end(),
                                 [](const String& option) { return option.rfind(u"-Xss", 0) == 0; });
    EXPECT_EQ(stack, setsStack ? c.stackSize : 12345u);
  }
  // 100 KB x 0.29 is 28.999... in double; 80-bit intermediates would round it up to 29.
  uint32_t stack = 0;
  EXPECT_EQ(vmParameterOptions(u"-Xmx29P", [] { return MemoryFigures{100 * 1024, 0}; }, stack),
            StringList{u"-Xmx28K"});
  String unreadable;
  EXPECT_EQ(vmParameterOptions(u"-Da @none @other", machine(), stack, files, &unreadable), StringList{u"-Da"});
  EXPECT_EQ(unreadable, u"none");
}

TEST(VmParameters, NumberLists) {
  const struct {
    const char16_t* text;
    size_t prefix;
    std::vector<uint32_t> numbers;
  } cases[] = {
      {u"-Xmx50:256:1024P", 4, {50, 256, 1024}},
      {u"-Xmx:7P", 4, {0, 7}},
      {u"1m", 0, {1}},
      {u"abc", 3, {}},
      {u"", 0, {}},
      {u"9", 0, {0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.text));
    NumberList list = parseNumberList(c.text);
    EXPECT_EQ(list.prefixLength, c.prefix);
    EXPECT_EQ(list.numbers, c.numbers);
  }
}

TEST(RuntimeFolders, HomeBinAndSearchPaths) {
  const String jvm = u"C:\\Java\\jre\\bin\\client\\jvm.dll";
  EXPECT_EQ(runtimeHome(jvm), u"C:\\Java\\jre");
  EXPECT_EQ(runtimeBinFolder(jvm), u"C:\\Java\\jre\\bin");
  EXPECT_EQ(cutAtLastBackslash(u"jvm.dll", 3), u"jvm.dll");
  EXPECT_EQ(extendedLibraryPath(u"D:\\native", u"C:\\App\\", jvm), u"D:\\native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
  EXPECT_EQ(extendedLibraryPath(u"D:\\native;", u"C:\\App\\", jvm), u"D:\\native;C:\\App\\;.;%Path%;C:\\Java\\jre\\lib");
  for (const char16_t* system : {u"C:\\Tools", u"C:\\Tools;"}) {
    EXPECT_EQ(vmProcessPath(system, jvm), u"C:\\Tools;%Path%;C:\\Java\\jre\\bin");
  }
  EXPECT_EQ(vmProcessPath(u"", jvm), u"%Path%;C:\\Java\\jre\\bin");
}

TEST(TimestampName, PictureBetweenFirstAndLastPercent) {
  // The formatter shows what it was given, so the test sees the picture.
  PictureFormatter echo = [](const String& picture) { return u"[" + picture + u"]"; };
  const struct {
    const char16_t* name;
    uint32_t millis;
    const char16_t* expected;
  } cases[] = {
      {u"C:\\logs\\out-%yyyyMMdd-HHmmss%.txt", 123, u"C:\\logs\\out-[yyyyMMdd-HHmmss].txt"},
      {u"%HHmmssL%", 45, u"[HHmmss45]"},
      {u"a%L%b%L%c", 7, u"a[7%b%7]c"},
      {u"one%percent", 0, u"onepercent"},
      {u"plain.txt", 0, u"plain.txt"},
      {u"%%", 0, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.name));
    String name = c.name;
    expandTimestamp(name, c.millis, echo);
    EXPECT_EQ(name, c.expected);
  }
}

// The plan of a launch on a machine whose files are a table: relative entries
// beside the executable, wildcards with what they match, absolute entries as
// written, the class-data options between the class path and the parameters.
TEST(VmPlan, OptionsStackSizeAndRedirections) {
  const ExecutablePaths paths = executablePathsFor(u"C:\\App\\Shop.exe");
  const std::map<String, StringList> files = {{u"C:\\App\\lib\\*.jar", {u"a.jar", u"b.jar"}},
                                             {u"C:\\App\\main.jar", {u"main.jar"}},
                                             {u"D:\\ext\\*", {u"x.jar"}},
                                             {u"C:\\App\\lib/*.zip", {u"z.zip"}}};
  StringList archiveAskedFor;
  const PlanQueries queries{
      [](const String& text) {
        String out = text;
        for (size_t at; (at = out.find(u"%HOME%")) != String::npos;) out.replace(at, 6, u"H:");
        return out;
      },
      [&files](const String& pattern) {
        auto found = files.find(pattern);
        return found == files.end() ? StringList{} : found->second;
      },
      machine(),
      [](const String& path) -> std::optional<String> {
        if (path != u"C:\\App\\args\\opts.txt") return std::nullopt;
        return String(u"-Dhome=%HOME%");
      },
      [&archiveAskedFor](const StringList& classPath, const StringList& parameters) {
        archiveAskedFor = classPath;
        archiveAskedFor.insert(archiveAskedFor.end(), parameters.begin(), parameters.end());
        return StringList{u"-XX:SharedArchiveFile=%HOME%\\s.jsa"};
      }};
  const struct {
    const char* name;
    const char16_t* classPath;
    bool embeddedJar;
    bool classDataSharing;
    const char16_t* libraryPath;
    StringList options;  // empty: fails with no class path
    StringList archiveAskedFor;
  } cases[] = {
      {"relative, wildcard and absolute entries", u"main.jar;lib\\*.jar;missing.jar;\\\\srv\\s\\c.jar;D:\\ext\\*;lib/*.zip",
       false, false, u"",
       {u"-Djava.class.path=C:\\App\\main.jar;C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar;\\\\srv\\s\\c.jar;D:\\ext\\x.jar;"
        u"C:\\App\\lib\\z.zip",
        u"-Xss1m", u"-Dhome=H:"},
       {}},
      {"the executable leads an embedded jar; library path first", u"main.jar", true, false, u"L:\\native",
       {u"-Djava.library.path=L:\\native", u"-Djava.class.path=C:\\App\\Shop.exe;C:\\App\\main.jar", u"-Xss1m",
        u"-Dhome=H:"},
       {}},
      {"class-data options before the parameters", u"%HOME%\\a.jar", false, true, u"",
       {u"-Djava.class.path=H:\\a.jar", u"-XX:SharedArchiveFile=H:\\s.jsa", u"-Xss1m", u"-Dhome=H:"},
       {u"H:\\a.jar", u"-Xss1m", u"-Dhome=%HOME%"}},
      {"no entry matches", u"missing.jar;lib\\*.zip", false, true, u"", {}, {}},
      {"only the embedded jar", u"", true, false, u"",
       {u"-Djava.class.path=C:\\App\\Shop.exe", u"-Xss1m", u"-Dhome=H:"},
       {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LaunchSettings settings;
    settings.classPath = c.classPath;
    settings.embeddedJar = c.embeddedJar;
    settings.classDataSharing = c.classDataSharing;
    settings.mainClass = u"com/example/App";
    settings.vmParameters = u"-Xss1m @args\\opts.txt";
    settings.stdoutFile = u"%HOME%\\out.log";
    settings.stderrAppend = true;
    archiveAskedFor.clear();
    VmPlan plan;
    Failure failure;
    const bool planned = planVm(settings, paths, {u"a", u"%HOME%"}, c.libraryPath, queries, plan, failure);
    EXPECT_EQ(planned, !c.options.empty());
    if (!planned) {
      EXPECT_EQ(failure.textId, unsigned{IDS_NO_CLASS_PATH});
      continue;
    }
    StringList expected = c.options;
    expected.push_back(u"-Dsun.java.command=com.example.App a %HOME%");  // the arguments as given
    EXPECT_EQ(plan.options, expected);
    EXPECT_EQ(archiveAskedFor, c.archiveAskedFor);
    EXPECT_EQ(plan.javaThreadStackSize, 1048576u);
    EXPECT_EQ(plan.out.file, u"H:\\out.log");
    EXPECT_TRUE(plan.err.file.empty() && plan.err.append && !plan.out.append);
  }
  LaunchSettings settings;
  settings.classPath = u"C:\\x.jar";
  settings.vmParameters = u"-Dsun.java.command=Named";
  VmPlan plan;
  Failure failure;
  ASSERT_TRUE(planVm(settings, paths, {u"a"}, u"", queries, plan, failure));
  EXPECT_EQ(plan.options.back(), u"-Dsun.java.command=Named") << "the parameters' own name stands";
  settings.vmParameters = u"@missing.txt";
  EXPECT_FALSE(planVm(settings, paths, {}, u"", queries, plan, failure));
  EXPECT_EQ(failure.textId, unsigned{IDS_ARGUMENT_FILE_UNREADABLE});
  EXPECT_EQ(failure.inserts, StringList{u"missing.txt"});

  // What starts: a module, a class, or a jar leading the class path; the last
  // option names it for the JDK's tools.
  const struct {
    const char* name;
    const char16_t* mainClass;
    const char16_t* modulePath;
    const char16_t* mainJar;
    bool embeddedJar;
    const char16_t* classPath;
    LaunchMode mode;
    StringList options;
  } mains[] = {
      {"a module's class needs no class path", u"app.mod/com.example.App", u"lib\\*.jar;%HOME%\\mods;gone", u"", false,
       u"", LaunchMode::Module,
       {u"--module-path=C:\\App\\lib\\a.jar;C:\\App\\lib\\b.jar;H:\\mods", u"-Djdk.module.main=app.mod",
        u"-Dsun.java.command=app.mod/com.example.App a"}},
      {"a module alone beside a class path", u"app.mod", u"H:\\mods", u"main.jar", true, u"C:\\x.jar", LaunchMode::Module,
       {u"-Djava.class.path=C:\\App\\Shop.exe;C:\\x.jar", u"--module-path=H:\\mods", u"-Djdk.module.main=app.mod",
        u"-Dsun.java.command=app.mod a"}},
      {"a main class wins over a main jar", u"com/example/App", u"", u"main.jar", false, u"C:\\x.jar", LaunchMode::Class,
       {u"-Djava.class.path=C:\\x.jar", u"-Dsun.java.command=com.example.App a"}},
      {"the main jar leads", u"", u"", u"main.jar", true, u"C:\\x.jar", LaunchMode::Jar,
       {u"-Djava.class.path=C:\\App\\main.jar;C:\\App\\Shop.exe;C:\\x.jar",
        u"-Dsun.java.command=C:\\App\\main.jar a"}},
      {"the executable as the main jar", u"", u"", u"", true, u"", LaunchMode::Jar,
       {u"-Djava.class.path=C:\\App\\Shop.exe", u"-Dsun.java.command=C:\\App\\Shop.exe a"}},
  };
  for (const auto& c : mains) {
    SCOPED_TRACE(c.name);
    LaunchSettings main;
    main.mainClass = c.mainClass;
    main.modulePath = c.modulePath;
    main.mainJar = c.mainJar;
    main.embeddedJar = c.embeddedJar;
    main.classPath = c.classPath;
    ASSERT_TRUE(planVm(main, paths, {u"a"}, u"", queries, plan, failure));
    EXPECT_EQ(plan.main.mode, c.mode);
    EXPECT_EQ(plan.options, c.options);
  }
}

// Options as the bytes of a code page that here holds ASCII only: paths
// beyond it go by their short names, or are left out when missing.
TEST(VmOptionEncoding, ShortPathsForWhatThePageLacks) {
  const OptionEncoding ascii{
      [](StringView text) -> std::optional<std::string> {
        std::string bytes;
        for (char16_t c : text) {
          if (c > 0x7F) return std::nullopt;
          bytes += static_cast<char>(c);
        }
        return bytes;
      },
      [](StringView text) {
        std::string bytes;
        for (char16_t c : text) bytes += c > 0x7F ? '?' : static_cast<char>(c);
        return bytes;
      },
      [](const String& path) { return path.find(u"gone") == String::npos; },
      [](const String& path) { return path.find(u"long") == String::npos ? String(u"C:\\D_~1\\a.jar") : String(); },
      u"1252"};
  const struct {
    const char* name;
    StringList options;
    std::vector<std::string> encoded;  // empty: refused with `refused`
    unsigned refused;
  } cases[] = {
      {"as they are", {u"-Xmx1g", u"-Djava.class.path=C:\\a.jar"}, {"-Xmx1g", "-Djava.class.path=C:\\a.jar"}, 0},
      {"a short path; a missing entry left out",
       {u"-Djava.class.path=C:\\\u0414\\a.jar;C:\\gone\u0414.jar;C:\\b.jar"},
       {"-Djava.class.path=C:\\D_~1\\a.jar;C:\\b.jar"}, 0},
      {"the tools' name may lose characters", {u"-Dsun.java.command=App \u0414"}, {"-Dsun.java.command=App ?"}, 0},
      {"a path without a short name", {u"--module-path=C:\\long\u0414"}, {}, IDS_PATH_NOT_REPRESENTABLE},
      {"another option", {u"-Duser=\u0414"}, {}, IDS_OPTION_NOT_REPRESENTABLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> encoded;
    Failure failure;
    EXPECT_EQ(encodeVmOptions(c.options, ascii, encoded, failure), c.refused == 0);
    if (c.refused) {
      EXPECT_EQ(failure.textId, c.refused);
      EXPECT_EQ(failure.inserts.back(), u"1252");
    } else {
      EXPECT_EQ(encoded, c.encoded);
    }
  }
}

}  // namespace
