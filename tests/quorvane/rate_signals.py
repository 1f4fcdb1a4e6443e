#!/usr/bin/env python3
"""Test signals and measurements for the rate conversion checks, in double
precision, as raw 64-bit floats (SoX wraps them in files):

  rate_signals.py sweep RATE SECONDS F0 F1 AMPLITUDE   > raw   a linear sweep
  rate_signals.py tone RATE SECONDS F AMPLITUDE        > raw   a sine
  rate_signals.py peak RATE T0 T1                      < raw   the peak in dBFS
  rate_signals.py level RATE F T0 T1                   < raw   a sine's level in dBFS
  rate_signals.py difference RATE T0 T1 OTHER          < raw   RMS of (raw - OTHER) in dBFS
"""
import math
import struct
import sys


def Samples(data):
    return struct.unpack('<%dd' % (len(data) // 8), data)


def Span(rate, t0, t1, count):
    return max(0, int(float(t0) * rate)), min(count, int(float(t1) * rate))


def Db(value):
    return 20 * math.log10(value) if value > 0 else -999.0


def main(argv):
    kind, rate = argv[1], int(argv[2])
    if kind in ('sweep', 'tone'):
        seconds = float(argv[3])
        n = int(rate * seconds)
        if kind == 'sweep':
            f0, f1, a = float(argv[4]), float(argv[5]), float(argv[6])
            k = (f1 - f0) / seconds
            phase = lambda t: f0 * t + 0.5 * k * t * t
        else:
            f, a = float(argv[4]), float(argv[5])
            phase = lambda t: f * t
        out = struct.pack('<%dd' % n, *(a * math.sin(2 * math.pi * phase(i / rate)) for i in range(n)))
        sys.stdout.buffer.write(out)
        return
    y = Samples(sys.stdin.buffer.read())
    if kind == 'peak':
        a, b = Span(rate, argv[3], argv[4], len(y))
        print('%.1f' % Db(max(abs(v) for v in y[a:b])))
    elif kind == 'level':
        f = float(argv[3])
        a, b = Span(rate, argv[4], argv[5], len(y))
        c = s = 0.0
        for i in range(a, b):
            w = 2 * math.pi * f * i / rate
            c += y[i] * math.cos(w)
            s += y[i] * math.sin(w)
        print("%.5f" % Db(2 * math.hypot(c, s) / (b - a)))
    elif kind == 'difference':
        with open(argv[5], 'rb') as other_file:
            z = Samples(other_file.read())
        a, b = Span(rate, argv[3], argv[4], min(len(y), len(z)))
        print('%.1f' % Db(math.sqrt(sum((y[i] - z[i]) ** 2 for i in range(a, b)) / (b - a))))


if __name__ == '__main__':
    main(sys.argv)
