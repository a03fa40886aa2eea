// The verdict line's own rules, kept apart from the Win32 window so that the
// verification reads them in both builds: the text it shows while no result
// is shown, and the colour its text takes for each level.
#pragma once

// The verdict line before the first calculation, after clear and whenever
// the window drops its result.
extern const wchar_t kVerdictPrompt[];

// The verdict line's text colour for a level, as 0xRRGGBB: level 1 low,
// 2 medium, 3 high; any other level, 0 included, the colour of no verdict.
unsigned verdict_colour_rgb(int level);
