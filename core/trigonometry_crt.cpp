// The sine and cosine of msvcrt.dll, the C runtime DLL every Windows has, for the Windows build:
// mingw-w64 links its own static sin and cos in front of the DLL's, and those use the x87
// instructions, whose argument reduction is far off near the zeros. The import library names the
// DLL's functions by their import pointers, which are called directly here.
#include "core/trigonometry.h"

extern "C" {
extern double (*const korzenikCrtSin)(double) __asm__("__imp_sin");
extern double (*const korzenikCrtCos)(double) __asm__("__imp_cos");
}

namespace korzenik {

double sine(double x) { return korzenikCrtSin(x); }
double cosine(double x) { return korzenikCrtCos(x); }

}  // namespace korzenik
