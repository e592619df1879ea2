// The compiler's check of our printf-like functions, by the C99 rules (%zu, %lld) on every platform:
// mingw's own printf follows them (__USE_MINGW_ANSI_STDIO), while its plain "printf" check would
// apply the old Microsoft rules. clang knows the GNU rules only under the name printf.
#pragma once

#if defined(__clang__)
#define ZELP_PRINTF(formato, primeiro) [[gnu::format(printf, formato, primeiro)]]
#else
#define ZELP_PRINTF(formato, primeiro) [[gnu::format(gnu_printf, formato, primeiro)]]
#endif
