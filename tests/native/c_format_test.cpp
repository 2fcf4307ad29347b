// The VM's messages come through a C format string: the launcher's own
// formatting must read each argument as the C library does and write the same.
#include "common/c_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>

namespace {

template <typename... Args>
void expectAsLibrary(const char* format, Args... args) {
  char expected[512];
  std::snprintf(expected, sizeof expected, format, args...);
  EXPECT_EQ(formatC(format, args...), expected) << format;
}

TEST(CFormat, WritesWhatTheCLibraryWrites) {
  expectAsLibrary("plain text, no conversion");
  expectAsLibrary("%% %d %i %u", -42, 7, 4000000000u);
  expectAsLibrary("[%5d][%-5d][%05d][%+d][% d][%.3d][%8.3d][%-+6d]", 42, 42, -42, 42, 42, 7, -7, 3);
  expectAsLibrary("%x %X %#x %#X %o %#o %#x", 0xbeefu, 0xbeefu, 255u, 255u, 8u, 8u, 0u);
  expectAsLibrary("[%#.0x][%.0d][%#o][%#.3o]", 0u, 0, 0u, 8u);
  EXPECT_EQ(formatC("[%#.0o]", 0u), "[0]");  // as C and glibc say; MinGW's printf writes nothing
  expectAsLibrary("%hhd %hhu %hd %hu", 300, 300, 70000, 70000);
  expectAsLibrary("%ld %lu %lld %llu %lx", -5L, 5UL, INT64_MIN, UINT64_MAX, 0xffffUL);
  expectAsLibrary("%zu %zd %jd %ju %td", SIZE_MAX, static_cast<ptrdiff_t>(-3), INTMAX_MIN, UINTMAX_MAX,
                  static_cast<ptrdiff_t>(-9));
  expectAsLibrary("%zd %zi %tu %tx %to", static_cast<ptrdiff_t>(-3), static_cast<ptrdiff_t>(INT32_MIN),
                  static_cast<ptrdiff_t>(-3), static_cast<ptrdiff_t>(-1), static_cast<ptrdiff_t>(-8));
  expectAsLibrary("%s|%10s|%-10s|%.2s|%*s|%-*s|%.*s", "abc", "abc", "abc", "abc", 6, "ab", 6, "ab", 1, "ab");
  expectAsLibrary("%c%c%5c%-3c|", 'a', 'b', 'c', 'd');
  expectAsLibrary("%*d|%*d|%.*d|%.*d", -6, 1, 6, 1, -1, 5, 0, 0);
  expectAsLibrary("Could not reserve enough space for %zuKB object heap", static_cast<size_t>(2097152));
  expectAsLibrary("%f %.2f %e %E %g %G %10.3f %-10.1e| %+f", 3.25, 2.0 / 3, 12345.678, 0.00012, 1e20, 1e-5, -1.5,
                  2.5, 1.0);
  expectAsLibrary("[%012.2e][%12.2E][%-12.1g][%+012.1e][%.0e][%g]", -3.5, 1e100, 1e-7, 2.0, 5.0, 1e-300);
#ifndef _WIN32  // a VM built for Windows passes long double as double
  expectAsLibrary("%Lf %.1Lf", 1.5L, 2.25L);
#endif
  expectAsLibrary("MaxRAMPercentage (%f) must be between 0.0 and 100.0", 150.0);
  expectAsLibrary("%ls|%5ls|%.1ls|%lc", L"wide", L"ab", L"xyz", static_cast<wint_t>(L'w'));
}

// Formats the compiler's format check would refuse.
std::string unchecked(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = vformatC(format, args);
  va_end(args);
  return text;
}

TEST(CFormat, HandlesWhatTheLibraryWouldNotBeAskedFor) {
  int written = 7;
  EXPECT_EQ(formatC("a%nb", &written), "ab");  // %n writes nothing
  EXPECT_EQ(written, 7);
  EXPECT_EQ(unchecked("%s", static_cast<const char*>(nullptr)), "(null)");
  const char unterminated[] = {'a', 'b', 'c'};  // as the VM hands over its buffers
  EXPECT_EQ(formatC("%.*s|%.2s", 3, unterminated, unterminated), "abc|ab");
  EXPECT_EQ(formatC("%p", reinterpret_cast<void*>(0x1234)), "0x1234");
  EXPECT_EQ(unchecked("%I64d %I32d %Id", static_cast<long long>(-1), 2, static_cast<size_t>(3)), "-1 2 3");
  EXPECT_EQ(unchecked("%Id %Iu", static_cast<ptrdiff_t>(-3), static_cast<size_t>(3)), "-3 3");
  EXPECT_EQ(unchecked("%y and %"), "%y and %");  // no conversion: kept as written
}

}  // namespace
