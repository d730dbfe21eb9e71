#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace hrdoc::text {
namespace {

std::string convert(std::string_view in, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
  std::string out;
  out.resize(in.size() * 4 + 8);
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  while (src_left > 0) {
    if (iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = out.size() - dst_left;
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dst_left = out.size() - used;
      continue;
    }
    // An unmappable or malformed sequence: one '?' for it, then go on.
    if (dst_left == 0) {
      size_t used = out.size();
      out.resize(out.size() * 2);
      dst = out.data() + used;
      dst_left = out.size() - used;
    }
    *dst++ = '?';
    --dst_left;
    // Skip one byte of a single-byte code page, or a UTF-8 lead byte with the continuation
    // bytes that follow it (a stray byte alone, so the text after it survives).
    size_t skip = 1;
    if (std::string_view(from) == "UTF-8") {
      while (skip < src_left && skip < 4 && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    }
    src += skip;
    src_left -= skip;
  }
  out.resize(out.size() - dst_left);
  iconv_close(cd);
  return out;
}

}  // namespace

std::string utf8_to_cp1251(std::string_view s) { return convert(s, "UTF-8", "CP1251"); }
std::string cp1251_to_utf8(std::string_view s) { return convert(s, "CP1251", "UTF-8"); }
std::string utf8_to_cp866(std::string_view s) { return convert(s, "UTF-8", "CP866"); }
std::string cp866_to_utf8(std::string_view s) { return convert(s, "CP866", "UTF-8"); }

}  // namespace hrdoc::text
