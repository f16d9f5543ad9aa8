#include "platform/core/Types.h"

#include <cfenv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace Vellaro {

double RoundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return std::nearbyint(value);
}

int Round(double value)
{
    const double r = RoundHalfEven(value);
    if (!(r >= double(std::numeric_limits<int>::min()) && r <= double(std::numeric_limits<int>::max())))
        throw Exception(QStringLiteral("Invalid floating point operation: %1 does not fit an integer").arg(value));
    return int(r);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long product = static_cast<long long>(a) * b;
    long long quotient = product / c;
    const long long remainder = product % c;
    // Round half away from zero, as the platform's MulDiv does.
    if (2 * std::llabs(remainder) >= std::llabs(static_cast<long long>(c)))
        quotient += ((product < 0) != (c < 0)) ? -1 : 1;
    return static_cast<int>(quotient);
}

} // namespace Vellaro
