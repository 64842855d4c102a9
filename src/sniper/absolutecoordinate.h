#pragma once

#include <QtGlobal>

// A screen pixel as an absolute pointer coordinate of the Windows input queue, which spans the
// primary screen from 0 to 65535: (65535 / extent) * pixel in floating point, quotient first,
// rounded to the nearest integer with an exact half going to the even neighbour. Not clamped:
// a pixel beyond the screen gives more than 65535, a negative one a negative value. extent is
// the screen's width or height in pixels; 0 for an extent that is not positive.
qint64 absoluteCoordinate(qint32 pixel, qint32 extent);
