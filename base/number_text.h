// Locale-free number printing into narrow buffers, identical on every
// platform: the decimal text nearest to the exact value of the double, exact
// ties to the even digit (std::to_chars). Each printer writes a NUL-terminated
// text cut to the capacity and returns the length it wrote. Non-finite values
// print as "inf", "-inf" or "nan" (callers that show values to the user
// test for them first).
#pragma once

// "%.Nf": fixed notation with the given number of decimals (0 to 60).
int number_fixed(char* out, int capacity, double value, int decimals);

// "%.Ng": general notation with the given number of significant digits
// (0 counts as 1), trailing zeros dropped, exponent form when the decimal
// exponent is below -4 or at least the precision, with at least two exponent
// digits ("1.23457e+06", "1e-05").
int number_general(char* out, int capacity, double value, int precision);

// "%lld": a decimal integer (the text formatter pads it to a field width).
int number_integer(char* out, int capacity, long long value);
