#include "CheckReport.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace ebook {
namespace {

std::string Plural(size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

void JsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  out += '"';
}

}  // namespace

std::string FormatFinding(const Finding& finding) {
  return (finding.severity == Finding::Severity::Error ? "error: " : "warning: ") + finding.where +
         ": " + finding.what;
}

std::string FormatSummary(std::string_view book, const std::vector<Finding>& findings) {
  size_t errors = 0, warnings = 0;
  std::vector<std::pair<std::string, size_t>> kinds;  // in order of first appearance
  for (const Finding& finding : findings) {
    ++(finding.severity == Finding::Severity::Error ? errors : warnings);
    auto it = std::find_if(kinds.begin(), kinds.end(),
                           [&](const auto& kind) { return kind.first == finding.kind; });
    if (it == kinds.end())
      kinds.emplace_back(finding.kind, 1);
    else
      ++it->second;
  }
  std::string line = std::string(book) + ": " + Plural(errors, "error", "errors") + ", " +
                     Plural(warnings, "warning", "warnings");
  for (size_t i = 0; i < kinds.size(); ++i)
    line += (i ? ", " : " (") + kinds[i].first + " " + std::to_string(kinds[i].second) +
            (i + 1 == kinds.size() ? ")" : "");
  return line;
}

// {"book": ..., "errors": N, "warnings": N, "kinds": {"missing entry": N, ...},
//  "findings": [{"severity": "error", "kind": ..., "where": ..., "what": ...,
//                "links": N, "from": ["PAGE, line N", ...]}, ...]}; "links" and "from" only
// for findings that stand for several links.
std::string FindingsJson(std::string_view book, const std::vector<Finding>& findings) {
  size_t errors = 0, warnings = 0;
  std::map<std::string, size_t> kinds;
  for (const Finding& finding : findings) {
    ++(finding.severity == Finding::Severity::Error ? errors : warnings);
    ++kinds[finding.kind];
  }
  std::string out = "{\"book\": ";
  JsonString(out, book);
  out += ", \"errors\": " + std::to_string(errors) + ", \"warnings\": " + std::to_string(warnings) +
         ", \"kinds\": {";
  bool first = true;
  for (const auto& [kind, count] : kinds) {
    if (!first) out += ", ";
    first = false;
    JsonString(out, kind);
    out += ": " + std::to_string(count);
  }
  out += "}, \"findings\": [";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& finding = findings[i];
    out += i ? ",\n  {" : "\n  {";
    out += "\"severity\": ";
    JsonString(out, finding.severity == Finding::Severity::Error ? "error" : "warning");
    out += ", \"kind\": ";
    JsonString(out, finding.kind);
    out += ", \"where\": ";
    JsonString(out, finding.where);
    out += ", \"what\": ";
    JsonString(out, finding.what);
    if (finding.links) {
      out += ", \"links\": " + std::to_string(finding.links) + ", \"from\": [";
      for (size_t k = 0; k < finding.from.size(); ++k) {
        if (k) out += ", ";
        JsonString(out, finding.from[k]);
      }
      out += "]";
    }
    out += "}";
  }
  out += findings.empty() ? "]}\n" : "\n]}\n";
  return out;
}

}  // namespace ebook
