#include "toolbox/top_up_rate.h"

double TopUpRate(int32_t amount, int32_t bonus, int32_t rate) {
    // volatile: the 32-bit build computes on the x87 stack at full precision; each step must
    // be rounded to a double before the next one.
    volatile double s = static_cast<double>(amount) + static_cast<double>(bonus);
    s = s / static_cast<double>(rate);
    volatile double r = static_cast<double>(amount) / s;
    return r;
}
