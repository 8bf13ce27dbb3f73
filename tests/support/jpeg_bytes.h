// Files built byte by byte for the picture readers' tests.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

namespace sim {

using Bytes = std::vector<unsigned char>;

inline Bytes operator+(Bytes head, const Bytes& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

inline Bytes u16(std::size_t v, bool bigEndian = true) {
  const auto high = static_cast<unsigned char>(v >> 8), low = static_cast<unsigned char>(v & 0xFF);
  return bigEndian ? Bytes{high, low} : Bytes{low, high};
}

// SOI, then segments of the given codes and bodies (lengths added).
inline Bytes jpeg(std::initializer_list<std::pair<unsigned char, Bytes>> segments) {
  Bytes out{0xFF, 0xD8};
  for (const auto& [code, body] : segments)
    out = out + Bytes{0xFF, code} + u16(body.size() + 2) + body;
  return out;
}

}  // namespace sim
