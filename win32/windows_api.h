#pragma once
// windows.h as the Windows edition uses it: the Unicode ("W") calls, no min and max macros, and
// the rarely used parts left out. Include it last: its macros (IDOK, MessageBox, ...) would
// clash with names of the shared code.
#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
