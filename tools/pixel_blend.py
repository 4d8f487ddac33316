"""Colour mixing shared by the scripts that draw the program's pictures (make-lamps.py, make-icon.py)."""


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def over(dst, src):
    """Porter-Duff 'over' on (r, g, b, a) with straight colours and alpha in 0..1."""
    sr, sg, sb, sa = src
    dr, dg, db, da = dst
    a = sa + da * (1 - sa)
    if a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    f = da * (1 - sa)
    return ((sr * sa + dr * f) / a, (sg * sa + dg * f) / a, (sb * sa + db * f) / a, a)
