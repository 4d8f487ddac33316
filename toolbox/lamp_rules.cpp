#include "toolbox/lamp_rules.h"

#include <cmath>

namespace {

constexpr double kTolerance = 1e-7;

bool Below(double t, double x) { return t < x - kTolerance; }
bool AtLeast(double t, double x) { return t >= x - kTolerance; }
bool IsZero(double t) { return std::fabs(t) <= kTolerance; }

}  // namespace

RowVerdict JudgeInsideHost(double t, bool echoedData) {
    RowVerdict v{kLampGrey, false};
    if (Below(t, 8)) v.lamp = kLampGreen;
    if (IsZero(t)) v.lamp = kLampGreen;
    if (!echoedData) v.lamp = kLampGrey;
    if (AtLeast(t, 8)) v.lamp = kLampRed;
    if (AtLeast(t, 100)) v = {kLampGrey, true};
    return v;
}

RowVerdict JudgeOutsideHost(double t) {
    RowVerdict v{kLampGrey, false};
    if (Below(t, 80)) v.lamp = kLampGreen;
    if (IsZero(t)) v = {kLampGrey, true};
    if (AtLeast(t, 80)) v.lamp = kLampYellow;
    if (AtLeast(t, 120)) v.lamp = kLampRed;
    if (AtLeast(t, 2000)) v = {kLampGrey, true};
    return v;
}
