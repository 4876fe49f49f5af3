// The run fill with WebAssembly's 128-bit SIMD stores, a module of its own on the main
// module's memory: an engine without SIMD rejects only this module, and the page then
// keeps the main module's plain loop.
#include <cstdint>

extern "C" __attribute__((export_name("fill"))) void Fill(std::uint32_t* begin, std::uint32_t* end,
                                                          std::uint32_t pixel) {
  while (begin != end) {
    *begin++ = pixel;
  }
}
