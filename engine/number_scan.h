// Locale-free conversion of text to double with the shape of strtod in the
// classic locale, identical on every platform. Accepted, in order: leading
// white space (blank, \t \n \v \f \r), an optional sign, then one of
//   - a decimal number: digits with an optional "." and fraction (at least one
//     digit in all), an optional exponent "e"/"E", sign, digits;
//   - a hexadecimal number "0x"/"0X", hex digits with an optional "." and
//     fraction, an optional binary exponent "p"/"P", sign, digits;
//   - "inf", "infinity" or "nan" (optionally "nan(chars)"), in any case.
// The longest accepted prefix is converted, correctly rounded; a value too
// large becomes +-infinity, one too small 0 or a subnormal value.
#pragma once

// Converts the longest accepted prefix of text and returns the number of
// characters it spans, or 0 when no number begins there (then *value is 0).
int number_scan(const char* text, double* value);
