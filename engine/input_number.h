// How the text of an input field becomes a number. The text, with blanks
// before and after it ignored, must be one whole decimal number:
//   number   = [sign] mantissa [exponent]
//   mantissa = digits ["." {digit}] | "." digits
//   exponent = ("e" | "E") [sign] digits
// Blanks are U+0020, the tab and the ideographic space U+3000. The full-width
// forms of the ASCII characters (U+FF01 to U+FF5E), which Chinese input
// methods type in full-width mode, read as their ASCII forms, so "１２" is 12
// and "－３．５" is -3.5. An empty or blank text holds no number at all: a
// missing value is never read as 0.
#pragma once

enum InputNumberStatus {
  kInputNumber = 0,    // one number, converted
  kInputEmpty,         // nothing but blanks, or no text
  kInputNotNumber,     // anything else
  kInputDecimalComma,  // a number written with a decimal comma or ideographic
                       // full stop ("12,5", "12。5"); refused, so the caller
                       // can name "." as the decimal point
};

// Converts text by the rule above into *value and returns kInputNumber. Sets
// *value to 0 and returns kInputEmpty for an empty or blank text, and
// kInputNotNumber for any other text (hexadecimal, inf, nan, letters, commas,
// two numbers, a doubled sign) and for a number beyond the double range,
// which has no finite value. A text that would be a number if its one comma
// (ASCII or full-width) or ideographic full stop were a point gives
// kInputDecimalComma instead, unless the comma has exactly three digits after
// it and may separate thousands ("1,000"): it is never read as a number.
InputNumberStatus input_number_read(const wchar_t* text, double* value);
