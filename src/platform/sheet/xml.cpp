#include "sheet/xml.h"

#include <cstdio>

namespace hrdoc::sheet::xml {

void escape(std::string& out, std::string_view text, bool attribute) {
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) out += "&quot;";
        else out += c;
        break;
      case '\n':
        if (attribute) out += "&#10;";
        else out += c;
        break;
      case '\t':
        if (attribute) out += "&#9;";
        else out += c;
        break;
      case '\r': out += "&#13;"; break;
      case '_':
        // A literal "_x" followed by hex digits and "_" must itself be escaped.
        if (i + 6 < text.size() + 0 && text[i + 1] == 'x' && text.size() - i >= 7 && text[i + 6] == '_') {
          out += "_x005F_";
        } else {
          out += c;
        }
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[16];
          std::snprintf(buf, sizeof buf, "_x%04X_", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += buf;
        } else {
          out += c;
        }
    }
  }
}

std::string unescape_x(std::string_view t) {
  if (t.find("_x") == std::string_view::npos) return std::string(t);
  std::string out;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '_' && i + 6 < t.size() + 0 && t[i + 1] == 'x' && t[i + 6] == '_') {
      unsigned v = 0;
      bool ok = true;
      for (int k = 2; k < 6; ++k) {
        char h = t[i + k];
        v <<= 4;
        if (h >= '0' && h <= '9') v |= h - '0';
        else if (h >= 'A' && h <= 'F') v |= h - 'A' + 10;
        else if (h >= 'a' && h <= 'f') v |= h - 'a' + 10;
        else ok = false;
      }
      if (ok && v < 0x80) {
        out += char(v);
        i += 6;
        continue;
      }
    }
    out += t[i];
  }
  return out;
}

}  // namespace hrdoc::sheet::xml
