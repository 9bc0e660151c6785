#pragma once
#include <string>

// The date text of a squash: month, day and four-digit year in decimal,
// without leading zeros, joined by "/" (20 August 2004 gives "8/20/2004").
std::string FormatSquashDate(int year, int month, int day);
