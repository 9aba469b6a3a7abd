#include "PathClean.h"

#include <cctype>
#include <vector>

namespace vx7z {
namespace {

// Drive prefixes, leading separators and parent-folder steps, until none is left.
void StripPrefixes(std::string& s) {
  static const char* const kParentSteps[] = {"\\..\\", "\\../", "/../", "/..\\"};
  for (;;) {
    if (s.size() >= 2 && s[1] == ':') {
      s.erase(0, 2);
      continue;
    }
    if (!s.empty() && (s[0] == '\\' || s[0] == '/')) {
      s.erase(0, 1);
      continue;
    }
    bool changed = false;
    for (const char* step : kParentSteps) {
      size_t at = s.find(step);
      if (at != std::string::npos) {
        s.erase(0, at + 4);
        changed = true;
        break;
      }
    }
    if (!changed) return;
  }
}

bool IsDeviceName(const std::string& component) {
  // The part before the first dot, without trailing spaces, decides.
  std::string base = component.substr(0, component.find('.'));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  for (char& c : base) c = char(std::toupper(static_cast<unsigned char>(c)));
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$")
    return true;
  if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
      base[3] <= '9')
    return true;
  // COM and LPT with superscript digits 1-3 (U+00B9, U+00B2, U+00B3 in UTF-8).
  if (base.size() == 5 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
      static_cast<unsigned char>(base[3]) == 0xC2) {
    unsigned char d = static_cast<unsigned char>(base[4]);
    return d == 0xB9 || d == 0xB2 || d == 0xB3;
  }
  return false;
}

std::string SafeComponent(std::string c) {
  for (char& ch : c) {
    unsigned char u = static_cast<unsigned char>(ch);
    if (u < 0x20 || ch == '<' || ch == '>' || ch == ':' || ch == '"' || ch == '|' || ch == '?' || ch == '*')
      ch = '_';
  }
  // Windows drops trailing dots and spaces, which would merge names or reach a device.
  while (!c.empty() && (c.back() == '.' || c.back() == ' ')) c.back() = '_';
  if (IsDeviceName(c)) c.insert(0, "_");
  return c;
}

}  // namespace

std::string CleanEntryName(const std::string& utf8Name) {
  std::string s = utf8Name;
  StripPrefixes(s);
  std::string out;
  size_t start = 0;
  while (start <= s.size()) {
    size_t end = s.find_first_of("/\\", start);
    if (end == std::string::npos) end = s.size();
    std::string part = s.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == "." || part == "..") continue;
    if (!out.empty()) out += '/';
    out += SafeComponent(part);
  }
  return out;
}

}  // namespace vx7z
