#pragma once
// The sine and cosine that every function value is made of, in radians, rounded to double, and
// the other elementary functions a typed function may use.
//
// A printed digit or a pixel on a wide interval can hang on their last bit, so every build must
// get the same values from them. They are a link-time choice (core/CMakeLists.txt): the
// standard library's (trigonometry.cpp), and, where that one is not accurate to within an
// ulp, another that is. mingw-w64's static sin and cos, for one, use the x87 instructions and
// miss by thousands of ulps near their zeros; the Windows build takes the C runtime DLL's
// (trigonometry_crt.cpp).

namespace korzenik {

double sine(double x);
double cosine(double x);
double tangent(double x);
double exponential(double x);
double naturalLogarithm(double x);
double commonLogarithm(double x);
/// x raised to y, as the C library's pow.
double power(double x, double y);

}  // namespace korzenik
