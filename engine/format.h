// Value formatting by format name, and the proleptic Gregorian calendar.
#pragma once

// Prints value into the wide buffer by format name: "f0", "f1", "f2", "f3"
// (fixed decimals), "int" (as "f0"), "pct" (one decimal and "%", unscaled),
// "date" (the value truncated to a day number); a null, empty or unknown
// name prints two decimals. A non-finite value prints "--" for every name.
// The text is cut to the capacity and always terminated.
void format_value(const char* format_name, double value, wchar_t* buffer, int capacity);

// Days from 1970-01-01 of a civil date (astronomical years: year 0 precedes
// year 1). Months and days out of range carry over (30 February is 1 March).
long long day_number_from_date(int year, int month, int day);

// Writes the day number as "%04lld-%02lld-%02lld", cut to the capacity and
// terminated. The longest text is 24 characters.
void date_text_from_day_number(long long day_number, wchar_t* buffer, int capacity);
