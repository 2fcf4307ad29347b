#include "packager/ini_check.h"

#include <algorithm>

#include "common/path_components.h"
#include "common/split_string.h"
#include "jre/version_number.h"
#include "settings/profile_text.h"
#include "vm/class_path.h"
#include "vm/vm_parameters.h"

const std::vector<SettingSpec>& settingsCatalogue() {
  using enum ValueKind;
  // The launcher reads the product keys and "Display" without layering, so
  // neither section has a "+" form. Accepted values are spelled exactly as
  // the launcher compares them.
  static const std::vector<SettingSpec> catalogue = {
      {setting::kProductCode, Text, false},
      {setting::kUpgradeCode, Text, false},
      {setting::kProductName, Text, false},
      {setting::kMinimumVersion, VersionBound, true},
      {setting::kMaximumVersion, VersionBound, true},
      {setting::kPreferredVersions, VersionList, true},
      {setting::kJrePath, Path, true},
      {setting::kJvmType, Choice, true, Match::Exact,
       {{setting::kServerVm, u"only runtimes with a server VM"},
        {setting::kFavorServerVm, u"runtimes with a server VM first"}},
       u"the launcher takes the first VM a runtime has"},
      {setting::kJvmSource, Choice, true, Match::Exact,
       {{setting::kFavorJre, u"JREs and JDKs, JREs first"},
        {setting::kFavorJdk, u"JDKs and JREs, JDKs first"},
        {setting::kOnlyJdk, u"JDKs only"},
        {setting::kOnlyJre, u"JREs only"}},
       u"neither JREs nor JDKs are taken from the registry"},
      {setting::kVmProvider, Choice, true, Match::AnyCase,
       {{setting::kJRockit, u"JRockit runtimes only"},
        {setting::kIbm, u"IBM runtimes only"},
        {setting::kFavorSun, u"every vendor, Sun first"},
        {setting::kFavorJRockit, u"every vendor, JRockit first"},
        {setting::kFavorIbm, u"every vendor, IBM first"},
        {setting::kAnyProvider, u"every vendor"}},
       u"the launcher keeps its default, Sun runtimes only"},
      {setting::kMainClass, ClassName, true},
      {setting::kModulePath, ModulePath, true},
      {setting::kMainJar, MainJar, true},
      {setting::kSystemPath, PathList, true},
      {setting::kLibraryPath, PathList, true},
      {setting::kVmParameters, VmOptions, true},
      {setting::kSearchOtherInstallations, Choice, true, Match::AnyCase,
       {{setting::kNo, u"only the classic registry keys are searched, no vendor keys or JAVA_HOME"},
        {setting::kYes, u"vendor keys and JAVA_HOME are searched after the classic keys"}},
       u"vendor keys and JAVA_HOME are searched, as by default"},
      {setting::kClassDataSharing, Choice, true, Match::AnyCase,
       {{setting::kAuto, u"Java 19 and later keep a class-data archive per user and runtime, for faster starts"}},
       u"no class-data archive is used"},
      {setting::kApplicationType, Choice, true, Match::Exact,
       {{setting::kService, u"a service"}, {u"Application", u"a normal application, as any other text"}},
       u"it runs as a normal application"},
      {setting::kSingleInstance, Switch, true, Match::Exact,
       {{setting::kYesExactly, u"later launches hand their arguments to the first one"}}},
      {setting::kFailureCheck, Switch, true, Match::AnyCase,
       {{setting::kYes, u"an exception escaping main opens the exception dialog"}}},
      {setting::kOverrideWorkingDir, Switch, true, Match::AnyCase,
       {{setting::kYes, u"the working directory becomes the executable's folder"}}},
      {setting::kAttachConsole, Switch, true, Match::AnyCase,
       {{setting::kYes, u"started from a prompt, the window flavour writes in the prompt's console"}}},
      {setting::kEmbeddedJar, Switch, true, Match::AnyCase,
       {{setting::kYes, u"the executable itself leads the class path"}}},
      {setting::kPairProduct, Path, true},
      {setting::kPairReturnCode, Switch, true, Match::AnyCase,
       {{setting::kYes, u"the launcher waits for the paired product and returns its exit code"}}},
      {setting::kOutputFile, Path, true},
      {setting::kOutputAppend, Switch, true, Match::Exact, {{setting::kYesExactly, u"output is added to the file"}}},
      {setting::kErrorFile, Path, true},
      {setting::kErrorAppend, Switch, true, Match::Exact, {{setting::kYesExactly, u"errors are added to the file"}}},
      {setting::kCmd, Text, true},
      {setting::kClassPath, ClassPath, true},
      {setting::kSplashScreen, Path, false},
      {setting::kSplashScreenShadow, Switch, false, Match::Exact,
       {{setting::kTrueExactly, u"the splash window has a drop shadow"}}},
      {setting::kPreferNativeSplash, Switch, false, Match::AnyCase,
       {{setting::kYes, u"the runtime's own splash library shows the image"}}},
  };
  return catalogue;
}

namespace {

// One key line as the launcher's profile reader sees it.
struct Entry {
  String key;
  String value;
  int line;
};

struct Block {
  String name;
  int line;
  std::vector<Entry> entries;
};

// The first entry of a key in the section itself and in its "+" section.
struct Found {
  const Entry* own = nullptr;
  const Entry* plus = nullptr;
};

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

size_t editDistance(StringView a, StringView b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t above = row[j];
      row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (lower(a[i - 1]) == lower(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// Close enough to be a typing slip rather than another word.
bool isNear(size_t distance, StringView known) { return distance <= 1 + known.size() / 8; }

bool isLayeredSection(StringView section) {
  for (const SettingSpec& spec : settingsCatalogue()) {
    if (spec.layered && spec.setting.section == section) return true;
  }
  return false;
}

const char16_t* knownSection(StringView name) {
  for (const SettingSpec& spec : settingsCatalogue()) {
    if (equalsIgnoreCase(name, spec.setting.section)) return spec.setting.section;
  }
  return nullptr;
}

String sectionSuggestion(StringView name) {
  String best;
  size_t bestDistance = SIZE_MAX;
  for (const SettingSpec& spec : settingsCatalogue()) {
    for (String candidate : {String(spec.setting.section), String(spec.setting.section) + u"+"}) {
      if (candidate.back() == u'+' && !spec.layered) continue;
      size_t distance = editDistance(trimWhiteSpace(name), candidate);
      if (distance < bestDistance && isNear(distance, candidate)) {
        best = candidate;
        bestDistance = distance;
      }
    }
  }
  return best.empty() ? String() : formatText(u" Did you mean [%s]?", {best});
}

// Prefers a key of the same section; one of another section is named with it.
String keySuggestion(StringView key, StringView section) {
  const SettingSpec* best = nullptr;
  size_t bestDistance = SIZE_MAX;
  for (bool sameSection : {true, false}) {
    for (const SettingSpec& spec : settingsCatalogue()) {
      if ((spec.setting.section == section) != sameSection) continue;
      size_t distance = editDistance(key, spec.setting.name);
      if (distance < bestDistance && isNear(distance, spec.setting.name)) {
        best = &spec;
        bestDistance = distance;
      }
    }
  }
  if (!best) return String();
  if (best->setting.section == section) return formatText(u" Did you mean \"%s\"?", {String(best->setting.name)});
  return formatText(u" Did you mean \"%s\" in [%s]?", {String(best->setting.name), String(best->setting.section)});
}

// The profile reader drops one pair of enclosing quotes, single or double.
String profileValue(StringView text) {
  String value = trimWhiteSpace(text);
  if (value.size() >= 2 && (value[0] == u'"' || value[0] == u'\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

class Checker {
 public:
  Checker(const String& folder, const FileProbe& files) : folder_(folder), files_(files) {}

  std::vector<Finding> run(StringView text, StringView embedded) {
    if (!embedded.empty()) {
      // The embedded layer: what the file leaves empty, the launch reads
      // from it. It was checked when it was packaged: no findings of its own.
      parse(embedded);
      for (Block& block : blocks_) {
        for (Entry& entry : block.entries) entry.line = 0;
      }
      resolve();
      embeddedBlocks_ = std::move(blocks_);  // the entries stay where found_ points
      embedded_ = std::move(found_);
      blocks_.clear();
      findings_.clear();
    }
    parse(text);
    resolve();
    const auto& catalogue = settingsCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) checkKey(catalogue[i], found_[i]);
    checkBounds();
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  void warn(int line, String message) { findings_.push_back({line, Severity::Warning, std::move(message)}); }
  void fail(int line, String message) { findings_.push_back({line, Severity::Error, std::move(message)}); }

  void parse(StringView text) {
    StringList lines;
    splitString(text, u"\n", lines);
    for (size_t i = 0; i < lines.size(); ++i) {
      StringView raw = lines[i];
      if (i == 0 && !raw.empty() && raw[0] == u'\xFEFF') raw.remove_prefix(1);
      String line = trimWhiteSpace(raw);
      const int number = static_cast<int>(i + 1);
      if (line.empty() || line[0] == u';') continue;
      if (line[0] == u'[' && line.back() == u']') {
        blocks_.push_back({line.substr(1, line.size() - 2), number, {}});
        continue;
      }
      size_t equals = line.find(u'=');
      String key = trimWhiteSpace(StringView(line).substr(0, equals == String::npos ? 0 : equals));
      if (key.empty()) {
        warn(number, formatText(u"\"%s\" is neither a [section], a key=value line nor a ; comment; the launcher "
                                u"ignores it.",
                                {line}));
      } else if (blocks_.empty()) {
        warn(number, formatText(u"\"%s\" comes before any [section]; the launcher ignores it.", {key}));
      } else {
        blocks_.back().entries.push_back({key, profileValue(StringView(line).substr(equals + 1)), number});
      }
    }
  }

  void resolve() {
    const auto& catalogue = settingsCatalogue();
    found_.assign(catalogue.size(), Found{});
    for (size_t b = 0; b < blocks_.size(); ++b) {
      const Block& block = blocks_[b];
      auto first = std::find_if(blocks_.begin(), blocks_.begin() + b,
                                [&](const Block& earlier) { return equalsIgnoreCase(earlier.name, block.name); });
      if (first != blocks_.begin() + b) {
        warn(block.line, formatText(u"[%s] repeats the section begun at line %d; the launcher reads only the first "
                                    u"one and ignores the keys below.",
                                    {block.name, first->line}));
        continue;
      }
      const bool plus = !block.name.empty() && block.name.back() == u'+';
      const char16_t* section = knownSection(plus ? StringView(block.name).substr(0, block.name.size() - 1)
                                                  : StringView(block.name));
      if (!section) {
        warn(block.line, formatText(u"Unknown section [%s]; the launcher never reads it.", {block.name}) +
                             sectionSuggestion(block.name));
        continue;
      }
      if (plus && !isLayeredSection(section)) {
        warn(block.line, formatText(u"[%s] is never read: the launcher reads [%s] without \"+\" sections.",
                                    {block.name, String(section)}));
        continue;
      }
      for (const Entry& entry : block.entries) {
        auto spec = std::find_if(catalogue.begin(), catalogue.end(), [&](const SettingSpec& s) {
          return s.setting.section == section && equalsIgnoreCase(s.setting.name, entry.key);
        });
        if (spec == catalogue.end()) {
          warn(entry.line,
               formatText(u"Unknown key \"%s\" in [%s]; the launcher never reads it.", {entry.key, block.name}) +
                   keySuggestion(entry.key, section));
          continue;
        }
        Found& slot = found_[spec - catalogue.begin()];
        const Entry*& earlier = plus ? slot.plus : slot.own;
        if (earlier) {
          warn(entry.line, formatText(u"\"%s\" is set again (first at line %d); the launcher reads the first one.",
                                      {entry.key, earlier->line}));
        } else {
          earlier = &entry;
        }
      }
    }
  }

  static const Entry* filled(const Entry* entry) { return entry && !entry->value.empty() ? entry : nullptr; }

  // The value that counts: the section's own when it is not empty, else the
  // embedded one of a key read through the layers.
  const Entry* effective(size_t i) const {
    if (const Entry* own = filled(found_[i].own)) return own;
    return settingsCatalogue()[i].layered && i < embedded_.size() ? filled(embedded_[i].own) : nullptr;
  }

  const Entry* ownValue(const char16_t* key) const {
    const auto& catalogue = settingsCatalogue();
    for (size_t i = 0; i < catalogue.size(); ++i) {
      if (String(catalogue[i].setting.name) == key) return effective(i);
    }
    return nullptr;
  }

  void checkKey(const SettingSpec& spec, const Found& found) {
    const Entry* own = effective(static_cast<size_t>(&found - found_.data()));
    const Entry* plus = filled(found.plus);
    if (plus) checkAppend(spec, *plus, filled(found.own));
    switch (spec.kind) {
      case ValueKind::Choice:
        if (own) checkChoice(spec, *own);
        break;
      case ValueKind::Switch:
        if (own) checkSwitch(spec, *own);
        break;
      case ValueKind::VersionBound:
        if (own && own->value != u"any") checkVersion(spec, *own);
        break;
      case ValueKind::VersionList:
        if (own || plus) checkPreferred(own ? *own : *plus);
        break;
      case ValueKind::ClassPath:
        checkClassPath(own ? own : plus, found.own);
        break;
      case ValueKind::ModulePath:
        if (own || plus) checkEntries(own ? *own : *plus, u"Module path");
        break;
      case ValueKind::MainJar:
        if (own) checkMainJar(*own);
        break;
      case ValueKind::VmOptions:
        if (own || plus) checkVmOptions(own ? *own : *plus);
        break;
      case ValueKind::ClassName:
        if (!own && mainJarNamesMain()) break;
        if (!own) {
          fail(found.own ? found.own->line : 0,
               String(u"Main Class is missing or empty in [Java Runtime Environment]: the launch fails") +
                   (plus ? u"." : u" with \"Main class was not specified in INI file.\""));
        }
        break;
      default:
        break;
    }
  }

  // A "+" value is added to the embedded one after a blank: good for texts
  // of blank-separated words, harmful for everything else.
  void checkAppend(const SettingSpec& spec, const Entry& plus, const Entry* own) {
    const String section = spec.setting.section;
    if (own) {
      warn(plus.line, formatText(u"[%s+] \"%s\" is not read: [%s] sets it at line %d.",
                                 {section, String(spec.setting.name), section, own->line}));
      return;
    }
    switch (spec.kind) {
      case ValueKind::Text:
      case ValueKind::VmOptions:
        return;
      case ValueKind::PathList:
      case ValueKind::ClassPath:
      case ValueKind::ModulePath:
      case ValueKind::VersionList:
        if (plus.value[0] != u';') {
          warn(plus.line, formatText(u"[%s+] \"%s\" is added after a blank, not a \";\": begin the value with \";\" "
                                     u"to add entries.",
                                     {section, String(spec.setting.name)}));
        }
        return;
      default:
        warn(plus.line, formatText(u"\"%s\" cannot be extended in [%s+]: the launcher adds the value after a blank, "
                                   u"which spoils it; set it in [%s].",
                                   {String(spec.setting.name), section, section}));
    }
  }

  static bool accepts(const SettingSpec& spec, StringView value, const AcceptedValue& accepted) {
    return spec.match == Match::Exact ? value == accepted.text : equalsIgnoreCase(value, accepted.text);
  }

  static String caseRule(const SettingSpec& spec) {
    return spec.match == Match::Exact ? u"exact case" : u"any case";
  }

  void checkChoice(const SettingSpec& spec, const Entry& entry) {
    String list;
    for (const AcceptedValue& accepted : spec.accepted) {
      if (accepts(spec, entry.value, accepted)) return;
      list += (list.empty() ? u"" : u", ") + String(accepted.text);
    }
    warn(entry.line, formatText(u"%s=%s is not recognised, so %s. Recognised (%s): %s.",
                                {String(spec.setting.name), entry.value, String(spec.otherText), caseRule(spec), list}));
  }

  // Words that mean "off" are read as off too, so only the others surprise.
  void checkSwitch(const SettingSpec& spec, const Entry& entry) {
    const AcceptedValue& on = spec.accepted.front();
    if (accepts(spec, entry.value, on)) return;
    for (StringView off : {u"no", u"false", u"off", u"0"}) {
      if (equalsIgnoreCase(entry.value, off)) return;
    }
    warn(entry.line, formatText(u"%s=%s is read as off: only \"%s\" (%s) means on (%s).",
                                {String(spec.setting.name), entry.value, String(on.text), caseRule(spec), String(on.effect)}));
  }

  void checkVersion(const SettingSpec& spec, const Entry& entry) {
    const bool minimum = String(spec.setting.name) == u"Minimum Version";
    VersionNumber version;
    if (parseVersion(entry.value, minimum ? 0 : 65535, version)) return;
    warn(entry.line, formatText(u"%s=%s is not a version: the launcher ignores it and sets no %s bound. Write a "
                                u"version such as 1.8, or \"any\" (exact case).",
                                {String(spec.setting.name), entry.value, String(minimum ? u"lower" : u"upper")}));
  }

  // The bounds as the launcher reads them; an unreadable one bounds nothing.
  void checkBounds() {
    const Entry* minText = ownValue(setting::kMinimumVersion.name);
    const Entry* maxText = ownValue(setting::kMaximumVersion.name);
    if (!minText || !maxText) return;
    VersionNumber min, max;
    if (minText->value == u"any" || !parseVersion(minText->value, 0, min)) return;
    if (maxText->value == u"any") return;
    parseVersion(maxText->value, 65535, max);
    if (withinBounds(min, min, max)) return;
    warn(maxText->line, formatText(u"Minimum Version=%s lies above Maximum Version=%s: no installed runtime qualifies.",
                                   {minText->value, maxText->value}));
  }

  // An entry without digits parses as zero, which every runtime matches.
  void checkPreferred(const Entry& entry) {
    StringList versions;
    splitString(entry.value, u";", versions);
    for (const String& text : versions) {
      VersionNumber version;
      if (!trimWhiteSpace(text).empty() && !parseVersion(text, 0, version)) {
        warn(entry.line, formatText(u"Preferred versions entry \"%s\" holds no version: it matches every runtime.",
                                    {text}));
      }
    }
  }

  // %NAME% is expanded on the user's machine; its result is unknown here.
  static bool hasVariable(StringView entry) {
    size_t open = entry.find(u'%');
    return open != StringView::npos && entry.find(u'%', open + 2) != StringView::npos;
  }

  // A module path or "Main Class" decides what starts; the main jar or the
  // executable ("Embedded Jar") only without both.
  bool isYes(const char16_t* key) const {
    const Entry* entry = ownValue(key);
    return entry && equalsIgnoreCase(entry->value, setting::kYes);
  }
  bool mainJarNamesMain() const {
    return !ownValue(setting::kModulePath.name) &&
           (ownValue(setting::kMainJar.name) || isYes(setting::kEmbeddedJar.name));
  }

  void checkMainJar(const Entry& entry) {
    if (ownValue(setting::kModulePath.name) || ownValue(setting::kMainClass.name)) {
      warn(entry.line, u"Main Jar is not used: \"Main Class\" names the main class, and only its jar's manifest "
                       u"would apply. Empty \"Main Class\" to start the jar as java -jar does.");
      return;
    }
    const String path = resolvedIn(folder_, entry.value);
    if (hasVariable(entry.value) || files_.exists(path)) return;
    fail(entry.line, formatText(u"The main jar %s is missing (looked for %s): the launch fails.", {entry.value, path}));
  }

  // What the java command takes that the VM refuses, and where the launcher
  // takes it instead.
  static const char16_t* javaCommandOnlyHint(StringView option) {
    static constexpr struct {
      StringView option;
      const char16_t* hint;
    } kJavaCommandOnly[] = {
        {u"-m", u"Name the module in \"Main Class\" (module/class) and its jars in \"Module Path\"."},
        {u"--module", u"Name the module in \"Main Class\" (module/class) and its jars in \"Module Path\"."},
        {u"-jar", u"Name the jar in \"Main Jar\" and leave \"Main Class\" empty."},
        {u"-cp", u"Name the jars in \"Class Path\"."},
        {u"-classpath", u"Name the jars in \"Class Path\"."},
        {u"--class-path", u"Name the jars in \"Class Path\"."},
        {u"-splash:", u"Name the image in [Display] \"Splash Screen\"."},
        {u"--module=", u"Name the module in \"Main Class\" (module/class) and its jars in \"Module Path\"."},
    };
    for (const auto& known : kJavaCommandOnly) {
      const bool prefix = known.option.back() == u':' || known.option.back() == u'=';
      if (prefix ? option.starts_with(known.option) : option == known.option) return known.hint;
    }
    return nullptr;
  }

  // Options of the java command that the VM refuses, which the launch cannot
  // pass on; a module option without its value; a missing argument file,
  // which stops the launch.
  void checkVmOptions(const Entry& entry) {
    uint32_t stackSize = 0;
    for (const String& option : vmParameterOptions(entry.value, [] { return MemoryFigures{}; }, stackSize)) {
      if (const char16_t* hint = javaCommandOnlyHint(option)) {
        fail(entry.line, formatText(u"Virtual Machine Parameters holds %s, an option of the java command that the VM "
                                    u"refuses: the launch fails. %s",
                                    {option, String(hint)}));
      }
      if (joinLauncherSpellings({option, u"value"}).size() == 1) {
        warn(entry.line, formatText(u"Virtual Machine Parameters ends with %s and no value after it: the VM refuses "
                                    u"it. Write %s=<value>.",
                                    {option, option == u"-p" ? String(u"--module-path") : option}));
      }
      if (option.size() < 2 || option[0] != u'@' || option[1] == u'@' || hasVariable(option)) continue;
      const String name = option.substr(1);
      const String path = resolvedIn(folder_, name);
      if (!files_.exists(path)) {
        fail(entry.line, formatText(u"The argument file %s is missing (looked for %s): the launch fails with "
                                    u"\"Cannot read the argument file\".",
                                    {name, path}));
      }
    }
  }

  // A list's entries that match no file; true when one does (or may).
  bool checkEntries(const Entry& entry, const char16_t* listName) {
    bool filled = false;
    auto unexpanded = [](const String& text) { return text; };
    for (const ClassPathEntry& item : classPathEntries(entry.value, folder_, unexpanded)) {
      if (trimWhiteSpace(item.written).empty()) continue;
      if (hasVariable(item.written)) {
        filled = true;  // unknown here
        continue;
      }
      if (item.direct) filled = true;
      const bool wildcard = item.written.find_first_of(u"*?") != String::npos;
      if (wildcard ? files_.anyMatch(item.pattern) : files_.exists(item.pattern)) {
        filled = true;
      } else {
        warn(entry.line, formatText(u"%s entry \"%s\" matches no file (looked for %s).",
                                    {String(listName), item.written, item.pattern}));
      }
    }
    return filled;
  }

  // The launch's class path assembly: absolute entries without "*" go in
  // unchecked, every other one only with what it matches. A module launch
  // needs none, and a main jar fills it.
  void checkClassPath(const Entry* entry, const Entry* written) {
    const bool filled = entry && checkEntries(*entry, u"Class path");
    if (filled || isYes(setting::kEmbeddedJar.name) || ownValue(setting::kModulePath.name) ||
        ownValue(setting::kMainJar.name)) {
      return;
    }
    fail(entry ? entry->line : written ? written->line : 0,
         u"The class path is empty: no entry matches a file and Embedded Jar is not \"Yes\", so the launch fails "
         u"with \"Java Class Path was not specified in INI file.\"");
  }

  const String& folder_;
  const FileProbe& files_;
  std::vector<Block> blocks_, embeddedBlocks_;
  std::vector<Found> found_, embedded_;
  std::vector<Finding> findings_;
};

}  // namespace

std::vector<Finding> checkIni(StringView text, const String& appFolder, const FileProbe& files, StringView embedded) {
  return Checker(appFolder, files).run(text, embedded);
}

std::optional<Finding> codePageFinding(std::string_view bytes) {
  if (markedSettingsText(bytes)) return std::nullopt;
  const auto first = std::find_if(bytes.begin(), bytes.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
  if (first == bytes.end()) return std::nullopt;
  const int line = 1 + static_cast<int>(std::count(bytes.begin(), first, '\n'));
  return Finding{line, Severity::Warning,
                 u"non-ASCII text is read in the system code page, which differs between systems; "
                 u"save the file as UTF-8 with BOM or UTF-16"};
}

int checkExitCode(const std::vector<Finding>& findings) {
  if (findings.empty()) return 0;
  for (const Finding& finding : findings) {
    if (finding.severity == Severity::Error) return 2;
  }
  return 1;
}
