#include "sniper/absolutecoordinate.h"

#include <cfenv>
#include <cmath>

qint64 absoluteCoordinate(qint32 pixel, qint32 extent)
{
    if (extent <= 0)
        return 0;
    const double scale = 65535.0 / double(extent);
    const double value = scale * double(pixel);
    // Round half to even whatever rounding mode the caller left behind.
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return qint64(rounded);
}
