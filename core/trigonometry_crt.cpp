// The elementary functions of msvcrt.dll, the C runtime DLL every Windows has, for the Windows
// build: mingw-w64 links its own static sin and cos (and others) in front of the DLL's, and those
// use the x87 instructions, whose argument reduction is far off near the zeros. The import library
// names the DLL's functions by their import pointers, which are called directly here.
#include "core/trigonometry.h"

extern "C" {
extern double (*const korzenikCrtSin)(double) __asm__("__imp_sin");
extern double (*const korzenikCrtCos)(double) __asm__("__imp_cos");
extern double (*const korzenikCrtTan)(double) __asm__("__imp_tan");
extern double (*const korzenikCrtExp)(double) __asm__("__imp_exp");
extern double (*const korzenikCrtLog)(double) __asm__("__imp_log");
extern double (*const korzenikCrtLog10)(double) __asm__("__imp_log10");
extern double (*const korzenikCrtPow)(double, double) __asm__("__imp_pow");
}

namespace korzenik {

double sine(double x) { return korzenikCrtSin(x); }
double cosine(double x) { return korzenikCrtCos(x); }
double tangent(double x) { return korzenikCrtTan(x); }
double exponential(double x) { return korzenikCrtExp(x); }
double naturalLogarithm(double x) { return korzenikCrtLog(x); }
double commonLogarithm(double x) { return korzenikCrtLog10(x); }
double power(double x, double y) { return korzenikCrtPow(x, y); }

}  // namespace korzenik
