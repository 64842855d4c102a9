#include "sniper/absolutecoordinate.h"

#include "common/rounding.h"

qint64 absoluteCoordinate(qint32 pixel, qint32 extent)
{
    if (extent <= 0)
        return 0;
    const double scale = 65535.0 / double(extent);
    return qint64(roundHalfEven(scale * double(pixel)));
}
