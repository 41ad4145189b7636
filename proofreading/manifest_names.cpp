#include "proofreading/manifest_names.h"

#include <algorithm>
#include <array>

namespace brindlewort {
namespace {

std::string_view fileName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
  return text;
}

template <typename Each>
void forEachLine(std::string_view text, Each each) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    each(trimmed(text.substr(0, end)));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

// The quoted strings of a line, single or double quotes.
std::vector<std::string_view> quoted(std::string_view line) {
  std::vector<std::string_view> found;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] != '"' && line[i] != '\'') continue;
    const std::size_t close = line.find(line[i], i + 1);
    if (close == std::string_view::npos) break;
    found.push_back(line.substr(i + 1, close - i - 1));
    i = close;
  }
  return found;
}

// The package a requirement names: "requests>=2.0" and "serde[derive]"
// give "requests" and "serde".
std::string_view nameOfRequirement(std::string_view requirement) {
  const std::size_t end = requirement.find_first_of(" <>=!~;[(@^,");
  return trimmed(requirement.substr(0, end));
}

bool isDependencySection(std::string_view header) {
  return header.ends_with("dependencies]") || header.find("dependencies.") != std::string_view::npos ||
         header == "[package]" || header == "[project]" || header == "[workspace]" ||
         header == "[tool.poetry]" || header.ends_with("scripts]");
}

// Cargo.toml and pyproject.toml: the keys of dependency and script tables,
// the package's name, and the requirements listed in arrays.
void tomlNames(std::string_view text, std::vector<std::string>& names) {
  bool inSection = false;
  bool inArray = false;
  forEachLine(text, [&](std::string_view line) {
    if (line.starts_with('[') && !inArray) {
      inSection = isDependencySection(line);
      // [dependencies.serde] names the dependency in the header.
      if (const std::size_t dot = line.find("dependencies."); dot != std::string_view::npos)
        names.emplace_back(trimmed(line.substr(dot + 13, line.find(']') - dot - 13)));
      return;
    }
    if (!inSection || line.empty() || line.starts_with('#')) return;
    if (inArray) {
      for (const std::string_view requirement : quoted(line)) names.emplace_back(nameOfRequirement(requirement));
      if (line.find(']') != std::string_view::npos) inArray = false;
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return;
    const std::string_view key = trimmed(line.substr(0, equals));
    const std::string_view value = trimmed(line.substr(equals + 1));
    if (key == "name" && !quoted(value).empty()) {
      names.emplace_back(quoted(value).front());
    } else if (value.starts_with('[')) {
      for (const std::string_view requirement : quoted(value)) names.emplace_back(nameOfRequirement(requirement));
      inArray = value.find(']') == std::string_view::npos;
    } else if (key != "version" && key != "edition" && key != "description" && key != "license" &&
               key != "authors" && key != "readme" && key != "requires-python") {
      names.emplace_back(key.size() > 1 && key.front() == '"' ? key.substr(1, key.size() - 2) : key);
    }
  });
}

// go.mod: the module's path and those it requires.
void goModNames(std::string_view text, std::vector<std::string>& names) {
  bool inRequire = false;
  forEachLine(text, [&](std::string_view line) {
    if (line.starts_with("module ")) names.emplace_back(trimmed(line.substr(7)));
    if (line.starts_with("require (") || line.starts_with("replace (")) {
      inRequire = true;
      return;
    }
    if (line.starts_with(')')) inRequire = false;
    std::string_view requirement = line;
    if (requirement.starts_with("require ")) requirement.remove_prefix(8);
    else if (!inRequire) return;
    names.emplace_back(requirement.substr(0, requirement.find_first_of(" \t")));
  });
}

// package.json: the package's name and the keys of its dependency and
// script objects. A small scanner over strings and braces: no value is
// interpreted beyond that.
void packageJsonNames(std::string_view text, std::vector<std::string>& names) {
  constexpr std::array objects{"dependencies", "devDependencies", "peerDependencies", "optionalDependencies",
                               "scripts", "bin"};
  int depth = 0;
  int listingAt = -1;  // depth of the object whose keys are names
  std::string_view lastKey;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{') {
      ++depth;
      if (depth == 2 && std::find(objects.begin(), objects.end(), lastKey) != objects.end()) listingAt = depth;
    } else if (c == '}') {
      if (depth == listingAt) listingAt = -1;
      --depth;
    } else if (c == '"') {
      std::size_t close = i + 1;
      while (close < text.size() && text[close] != '"') close += text[close] == '\\' ? 2 : 1;
      if (close >= text.size()) return;
      const std::string_view string = text.substr(i + 1, close - i - 1);
      std::size_t after = close + 1;
      while (after < text.size() && (text[after] == ' ' || text[after] == '\t' || text[after] == '\n' ||
                                     text[after] == '\r'))
        ++after;
      const bool isKey = after < text.size() && text[after] == ':';
      if (isKey) {
        lastKey = string;
        if (depth == listingAt) names.emplace_back(string);
      } else if (depth == 1 && lastKey == "name") {
        names.emplace_back(string);
      }
      i = close;
    }
  }
}

// build.gradle(.kts): "group:artifact:version" coordinates and plugin ids.
void gradleNames(std::string_view text, std::vector<std::string>& names) {
  forEachLine(text, [&](std::string_view line) {
    for (const std::string_view string : quoted(line)) {
      if (string.find(':') != std::string_view::npos || line.starts_with("id") ||
          line.find("id(") != std::string_view::npos || line.starts_with("rootProject.name"))
        names.emplace_back(string);
    }
  });
}

// CMakeLists.txt: the project, its targets and the packages it finds.
void cmakeNames(std::string_view text, std::vector<std::string>& names) {
  constexpr std::array commands{"project(", "add_executable(", "add_library(", "find_package(",
                                "pkg_check_modules("};
  forEachLine(text, [&](std::string_view line) {
    for (const std::string_view command : commands) {
      if (!line.starts_with(command)) continue;
      std::string_view rest = trimmed(line.substr(command.size()));
      names.emplace_back(rest.substr(0, rest.find_first_of(" \t)")));
    }
  });
}

// Gemfile: gem "name".
void gemfileNames(std::string_view text, std::vector<std::string>& names) {
  forEachLine(text, [&](std::string_view line) {
    if (!line.starts_with("gem ")) return;
    const std::vector<std::string_view> strings = quoted(line);
    if (!strings.empty()) names.emplace_back(strings.front());
  });
}

}  // namespace

bool isManifestPath(std::string_view path) {
  const std::string_view name = fileName(path);
  return name == "package.json" || name == "Cargo.toml" || name == "go.mod" || name == "pyproject.toml" ||
         name == "build.gradle" || name == "build.gradle.kts" || name == "settings.gradle" ||
         name == "settings.gradle.kts" || name == "CMakeLists.txt" || name == "Gemfile";
}

std::vector<std::string> manifestNames(std::string_view path, std::string_view text) {
  std::vector<std::string> names;
  const std::string_view name = fileName(path);
  if (name == "package.json") packageJsonNames(text, names);
  else if (name == "Cargo.toml" || name == "pyproject.toml") tomlNames(text, names);
  else if (name == "go.mod") goModNames(text, names);
  else if (name.starts_with("build.gradle") || name.starts_with("settings.gradle")) gradleNames(text, names);
  else if (name == "CMakeLists.txt") cmakeNames(text, names);
  else if (name == "Gemfile") gemfileNames(text, names);
  std::erase_if(names, [](const std::string& n) { return n.empty(); });
  return names;
}

}  // namespace brindlewort
