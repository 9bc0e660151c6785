#include "monitor/SquashDate.h"

std::string FormatSquashDate(int year, int month, int day)
{
    return std::to_string(month) + "/" + std::to_string(day) + "/" + std::to_string(year);
}
