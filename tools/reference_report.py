#!/usr/bin/env python3
"""An independent reference for the layer report, for checking the program by hand.

Computes the same scheme with exact rational arithmetic, rounding every operation to
the 64-bit significand of the extended format and every stored value to a double, with
exp and ln taken to 50 decimal digits; writes the report in the same fixed text. Usage:

    tools/reference_report.py SIGMA            # the report on standard output
    tools/reference_report.py --compare BINARY SIGMA...   # diff against the program
"""
import subprocess
import sys
from decimal import Decimal, getcontext
from fractions import Fraction

getcontext().prec = 60


class Fault(Exception):
    pass


def round_bits(x, bits, min_exp=None, max_exp=None):
    """Rounds x to `bits` significant bits, halves to even (optionally with a subnormal floor)."""
    if x == 0:
        return Fraction(0)
    sign = -1 if x < 0 else 1
    a = abs(x)
    e = a.numerator.bit_length() - a.denominator.bit_length()
    if Fraction(2) ** e > a:
        e -= 1
    # a in [2^e, 2^(e+1))
    q = e - bits + 1
    if min_exp is not None and q < min_exp:
        q = min_exp
    scaled = a / (Fraction(2) ** q)
    n = scaled.numerator // scaled.denominator
    rem = scaled - n
    if rem > Fraction(1, 2) or (rem == Fraction(1, 2) and n % 2 == 1):
        n += 1
    r = Fraction(n) * (Fraction(2) ** q)
    if max_exp is not None and r >= Fraction(2) ** max_exp:
        raise Fault("Floating point overflow")
    return sign * r


def ext(x):
    return round_bits(x, 64, min_exp=-16445, max_exp=16384)


def dbl(x):
    return round_bits(x, 53, min_exp=-1074, max_exp=1024)


def to_dec(x):
    return Decimal(x.numerator) / Decimal(x.denominator)


def ln(x):
    if x == 0:
        raise Fault("Floating point division by zero")
    if x < 0:
        raise Fault("Invalid floating point operation")
    return ext(Fraction(to_dec(x).ln()))


def exp(x):
    if x > 11357:
        raise Fault("Floating point overflow")
    if x < -11500:
        return Fraction(0)
    return ext(Fraction(to_dec(x).exp()))


def div(a, b):
    if b == 0:
        raise Fault("Floating point division by zero" if a != 0 else "Invalid floating point operation")
    return ext(a / b)


def mul(a, b):
    return ext(a * b)


def add(a, b):
    return ext(a + b)


def power(p, q):
    return exp(mul(q, ln(p)))


def profile(x, theta, sigma):
    s2 = add(sigma, 2)
    q = dbl(power(theta, div(2, s2)))
    w = dbl(add(1, -div(mul(x, x), q)))
    if not w > 0:
        return Fraction(0)
    tf = power(theta, div(-1, s2))
    inv = div(1, sigma)
    const = exp(mul(inv, ln(div(sigma, mul(s2, 2)))))
    shape = exp(mul(inv, ln(w)))
    return dbl(mul(mul(tf, const), shape))


def conductivity(p, q, sigma):
    s = add(p, q)
    if not s > 0:
        return Fraction(0)
    return dbl(exp(div(mul(ln(s), div(1, sigma)), 2)))


def solve(sigma):
    T = t0 = Fraction(1)
    eps = dbl(Fraction(1, 100))
    a = dbl(add(-power(add(T, t0), div(1, add(sigma, 2))), -1))
    b = -a
    M = N = 10
    tau = dbl(div(T, M))
    h = dbl(div(add(b, -a), N))
    x = [dbl(add(mul(i, h), a)) for i in range(N + 1)]
    t = [dbl(mul(k, tau)) for k in range(M + 1)]
    u = [[Fraction(0)] * (M + 1) for _ in range(N + 1)]
    y = [[Fraction(0)] * (M + 1) for _ in range(N + 1)]
    for i in range(N + 1):
        u[i][0] = profile(x[i], t0, sigma)
    A = [Fraction(0)] * (N + 1)
    B = list(A)
    C = list(A)
    F = list(A)
    al = [Fraction(0)] * (N + 1)
    be = list(al)
    for k in range(1, M + 1):
        u[0][k] = u[N][k] = Fraction(0)
        s = [u[i][k - 1] for i in range(N + 1)]
        delta = Fraction(1)
        while delta > eps:
            ratio = div(tau, mul(h, h))
            for j in range(1, N):
                A[j] = dbl(mul(ratio, conductivity(s[j], s[j - 1], sigma)))
                B[j] = dbl(mul(ratio, conductivity(s[j], s[j + 1], sigma)))
                C[j] = dbl(add(add(A[j], B[j]), 1))
                F[j] = u[j][k - 1]
            al[1] = be[1] = Fraction(0)
            for j in range(1, N):
                d = add(C[j], -mul(A[j], al[j]))
                al[j + 1] = dbl(div(B[j], d))
                be[j + 1] = dbl(div(add(mul(be[j], A[j]), F[j]), d))
            for j in range(N - 1, 0, -1):
                u[j][k] = dbl(add(mul(al[j + 1], u[j + 1][k]), be[j + 1]))
            delta = dbl(abs(add(u[0][k], -s[0])))
            for j in range(1, N + 1):
                c = abs(add(u[j][k], -s[j]))
                if c > delta:
                    delta = dbl(c)
            if delta > eps:
                s = [u[j][k] for j in range(N + 1)]
    for k in range(M + 1):
        for i in range(N + 1):
            y[i][k] = profile(x[i], dbl(add(t0, t[k])), sigma)
    return M, N, u, y


def fixed(v, sep="."):
    if v == 0:
        digits, e, neg = "", 0, False
    else:
        neg = v < 0
        a = abs(v)
        e = 0
        while a >= 1:
            a /= 10
            e += 1
        while a < Fraction(1, 10):
            a *= 10
            e -= 1
        n = a * 10 ** 18
        i = n.numerator // n.denominator
        rem = n - i
        if rem > Fraction(1, 2) or (rem == Fraction(1, 2) and i % 2 == 1):
            i += 1
        if i >= 10 ** 18:
            i //= 10
            e += 1
        d = str(i)
        c = min(e + 4, 4)
        if c < 0:
            digits, e = "", 0
        else:
            kept = d[:c]
            if d[c] >= "5":
                if c == 0:
                    kept, e = "1", e + 1
                else:
                    n2 = int(kept) + 1
                    if len(str(n2)) > c:
                        kept, e = "1", e + 1
                    else:
                        kept = str(n2).zfill(c)
            digits = kept.rstrip("0")
    if not digits:
        neg = False
    if e > 4:
        out = ("-" if neg else "") + digits[0]
        if len(digits) > 1:
            out += sep + digits[1:]
        return out + "E" + str(e - 1).zfill(4)
    out = "-" if neg else ""
    if e > 0:
        out += (digits[:e]).ljust(e, "0")
        rest = digits[e:]
    else:
        out += "0"
        rest = "0" * min(-e, 4) + digits
    return out + sep + (rest + "0000")[:4]


def report(sigma_text):
    sigma = dbl(Fraction(sigma_text))
    M, N, u, y = solve(sigma)
    lines = []
    for n in range(M + 1):
        lines.append("layer  %d" % n)
        lines.append(" ")
        for j in range(1, N + 1):
            lines.append("u[%d,%d]= %s   y[%d,%d]= %s" % (j, n, fixed(u[j][n]), j, n, fixed(y[j][n])))
    return lines


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "--compare":
        binary, failures = sys.argv[2], 0
        for text in sys.argv[3:]:
            try:
                want = report(text)
            except Fault as f:
                want = ["FAULT " + str(f)]
            got = subprocess.run([binary, "--sigma", text, "--second", "0", "--report", "-"],
                                 capture_output=True, text=True)
            have = got.stdout.splitlines() if got.returncode == 0 else ["FAULT " + got.stderr.strip().rstrip(".")]
            diff = [(a, b) for a, b in zip(want, have) if a != b]
            if diff or len(want) != len(have):
                failures += 1
                print("sigma %s: %d differing lines, e.g. %s" % (text, len(diff), diff[:2]))
        print("%d of %d exponents differ" % (failures, len(sys.argv) - 3))
        sys.exit(1 if failures else 0)
    for line in report(sys.argv[1]):
        print(line)


if __name__ == "__main__":
    main()
