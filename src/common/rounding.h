#pragma once

// Rounds to the nearest whole number, a half to the even neighbour, whatever rounding mode the
// caller left behind.
double roundHalfEven(double value);
