#!/usr/bin/env python3
"""Draws the stage picture as SVG (1024x768) on standard output.

The number sits over y 48-176 and the announcement over y 184-264, so the upper middle is kept
calm and lit; the three buttons sit over y 600-648 at x 240, 488 and 728. Deterministic: the
random parts (skyline, fireworks) use a fixed seed.
"""
import math
import random

W, H = 1024, 768
rng = random.Random(8)
out = []


def emit(s):
    out.append(s)


def f(v):
    return ('%.1f' % v).rstrip('0').rstrip('.')


def pts(points):
    return ' '.join('%s,%s' % (f(x), f(y)) for x, y in points)


def defs():
    emit('''<defs>
  <radialGradient id="backdrop" cx="0.5" cy="0.45" r="0.75">
    <stop offset="0" stop-color="#d42a1c"/><stop offset="0.45" stop-color="#a30f14"/>
    <stop offset="1" stop-color="#3d0206"/>
  </radialGradient>
  <radialGradient id="haze" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="#fff1c4" stop-opacity="0.95"/>
    <stop offset="0.55" stop-color="#ffd36a" stop-opacity="0.62"/>
    <stop offset="1" stop-color="#ffb23a" stop-opacity="0"/>
  </radialGradient>
  <linearGradient id="beam" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffe9a8" stop-opacity="0.5"/>
    <stop offset="1" stop-color="#ffd060" stop-opacity="0"/>
  </linearGradient>
  <linearGradient id="curtain" x1="0" y1="0" x2="1" y2="0" spreadMethod="repeat">
    <stop offset="0" stop-color="#5c0309"/><stop offset="0.3" stop-color="#c2121d"/>
    <stop offset="0.55" stop-color="#e8323a"/><stop offset="0.8" stop-color="#9a0a13"/>
    <stop offset="1" stop-color="#5c0309"/>
  </linearGradient>
  <linearGradient id="swag" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#7d050d"/><stop offset="0.6" stop-color="#d01b25"/>
    <stop offset="1" stop-color="#8e0810"/>
  </linearGradient>
  <linearGradient id="gold" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#fff0a0"/><stop offset="0.45" stop-color="#f2c23c"/>
    <stop offset="1" stop-color="#b77913"/>
  </linearGradient>
  <linearGradient id="goldSide" x1="0" y1="0" x2="1" y2="1">
    <stop offset="0" stop-color="#fff3b0"/><stop offset="0.5" stop-color="#e9b231"/>
    <stop offset="1" stop-color="#9c620c"/>
  </linearGradient>
  <radialGradient id="disc" cx="0.42" cy="0.38" r="0.7">
    <stop offset="0" stop-color="#ffe58a"/><stop offset="0.6" stop-color="#e7a82a"/>
    <stop offset="1" stop-color="#a8650c"/>
  </radialGradient>
  <radialGradient id="discInner" cx="0.45" cy="0.4" r="0.7">
    <stop offset="0" stop-color="#f9cf5a"/><stop offset="1" stop-color="#c27f16"/>
  </radialGradient>
  <radialGradient id="lantern" cx="0.4" cy="0.4" r="0.65">
    <stop offset="0" stop-color="#ff6a4a"/><stop offset="0.6" stop-color="#e01a1e"/>
    <stop offset="1" stop-color="#8a0610"/>
  </radialGradient>
  <radialGradient id="lanternGlow" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="#ffb060" stop-opacity="0.55"/>
    <stop offset="1" stop-color="#ff7030" stop-opacity="0"/>
  </radialGradient>
  <linearGradient id="roof" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#e8262b"/><stop offset="1" stop-color="#8c0a11"/>
  </linearGradient>
  <linearGradient id="ribbon" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ff4a3e"/><stop offset="0.5" stop-color="#d3141e"/>
    <stop offset="1" stop-color="#92070f"/>
  </linearGradient>
  <linearGradient id="ribbonFold" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#a80b14"/><stop offset="1" stop-color="#5e0309"/>
  </linearGradient>
  <linearGradient id="city" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#8a1d10"/><stop offset="1" stop-color="#4a0a06"/>
  </linearGradient>
  <linearGradient id="wave" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#fff0a0"/><stop offset="0.35" stop-color="#f0b834"/>
    <stop offset="1" stop-color="#a2620c"/>
  </linearGradient>
  <radialGradient id="pearl" cx="0.38" cy="0.35" r="0.7">
    <stop offset="0" stop-color="#ffffff"/><stop offset="0.6" stop-color="#ffe7a0"/>
    <stop offset="1" stop-color="#f0a030"/>
  </radialGradient>
  <filter id="blur4" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="4"/></filter>
  <filter id="blur10" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="10"/></filter>
  <filter id="blur2" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="1.6"/></filter>
</defs>''')


def backdrop():
    emit('<rect width="%d" height="%d" fill="url(#backdrop)"/>' % (W, H))
    # A sunburst of faint rays from the disc.
    cx, cy = 512, 420
    for i in range(36):
        a0 = i * math.tau / 36
        a1 = a0 + math.tau / 72
        r = 900
        emit('<polygon points="%s" fill="#ffce55" opacity="0.07"/>' %
             pts([(cx, cy), (cx + r * math.cos(a0), cy + r * math.sin(a0)), (cx + r * math.cos(a1), cy + r * math.sin(a1))]))
    # A warm light from above behind the number and the announcement.
    emit('<polygon points="%s" fill="url(#beam)"/>' % pts([(380, 0), (644, 0), (860, 420), (164, 420)]))
    emit('<ellipse cx="536" cy="150" rx="420" ry="150" fill="url(#haze)"/>')


def streaks():
    # Swept golden light streaks, each a blurred glow under a thin bright core.
    for x0, y0, x1, y1, x2, y2, w in ((-40, 470, 300, 330, 560, 560, 5), (1064, 470, 724, 330, 464, 560, 5),
                                      (-40, 560, 260, 430, 520, 610, 3), (1064, 560, 764, 430, 504, 610, 3),
                                      (120, 300, 330, 250, 430, 330, 2), (904, 300, 694, 250, 594, 330, 2)):
        d = 'M%s %s Q%s %s %s %s' % tuple(map(f, (x0, y0, x1, y1, x2, y2)))
        emit('<path d="%s" fill="none" stroke="#ffc640" stroke-width="%s" opacity="0.8" filter="url(#blur4)"/>'
             % (d, w * 4))
        emit('<path d="%s" fill="none" stroke="#fff6cc" stroke-width="%s" stroke-linecap="round" opacity="0.9"/>'
             % (d, w * 0.5))


def firework(cx, cy, r, colour, rays, seed):
    g = random.Random(seed)
    emit('<g>')
    emit('<circle cx="%s" cy="%s" r="%s" fill="%s" opacity="0.22" filter="url(#blur10)"/>' % (cx, cy, f(r * 0.8), colour))
    for i in range(rays):
        a = i * math.tau / rays + g.uniform(-0.05, 0.05)
        length = r * g.uniform(0.75, 1.0)
        x0, y0 = cx + 0.18 * r * math.cos(a), cy + 0.18 * r * math.sin(a)
        x1, y1 = cx + length * math.cos(a), cy + length * math.sin(a) + 0.05 * length
        emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="2.2" stroke-linecap="round" '
             'opacity="0.85"/>' % (f(x0), f(y0), f(x1), f(y1), colour))
        emit('<circle cx="%s" cy="%s" r="%s" fill="#fff8d8"/>' % (f(x1), f(y1), f(g.uniform(1.6, 3.0))))
        if i % 2 == 0:
            xm, ym = cx + 0.55 * r * math.cos(a + 0.09), cy + 0.55 * r * math.sin(a + 0.09)
            emit('<circle cx="%s" cy="%s" r="1.6" fill="%s"/>' % (f(xm), f(ym), colour))
    emit('<circle cx="%s" cy="%s" r="%s" fill="#fffbe8"/>' % (cx, cy, f(r * 0.06 + 2)))
    emit('</g>')


def fireworks():
    firework(290, 150, 78, '#ffd24a', 28, 1)
    firework(770, 130, 66, '#ff9a3c', 24, 2)
    firework(235, 330, 46, '#ffb0c8', 18, 3)
    firework(820, 320, 52, '#ffe27a', 20, 4)
    firework(400, 300, 30, '#ffe9a0', 14, 5)
    firework(640, 290, 28, '#ffc0a0', 14, 6)


def curtains():
    # Side curtains: folds from a repeating gradient, tied back half way down.
    for side in (0, 1):
        def X(x):
            return x if side == 0 else W - x
        shape = [(X(0), 0), (X(170), 0), (X(150), 160), (X(110), 330), (X(68), 450), (X(86), 560),
                 (X(132), 700), (X(150), 768), (X(0), 768)]
        d = 'M%s %s L%s %s C%s %s %s %s %s %s C%s %s %s %s %s %s L%s %s Z' % tuple(
            f(v) for point in shape for v in point)
        emit('<path d="%s" fill="url(#curtainFolds%d)"/>' % (d, side))
        emit('<linearGradient id="curtainFolds%d" href="#curtain" gradientUnits="userSpaceOnUse" x1="0" y1="0" '
             'x2="38" y2="0"/>' % side)
        # The golden tie-back cord and its tassel.
        tx = X(72)
        emit('<path d="M%s 440 Q%s 470 %s 462" fill="none" stroke="url(#gold)" stroke-width="9" stroke-linecap="round"/>'
             % (f(X(0)), f(X(40)), f(tx)))
        emit('<circle cx="%s" cy="462" r="9" fill="url(#goldSide)" stroke="#7a4a08" stroke-width="1.5"/>' % f(tx))
        emit('<path d="M%s 470 L%s 520 L%s 520 Z" fill="url(#gold)" stroke="#7a4a08" stroke-width="1"/>'
             % (f(tx), f(tx - 10), f(tx + 10)))
    # The valance: swags along the top with a gold fringe; a tassel where two swags meet.
    emit('<rect x="0" y="0" width="%d" height="22" fill="#6a040b"/>' % W)
    emit('<rect x="0" y="18" width="%d" height="5" fill="url(#gold)"/>' % W)
    edges = [0, 128, 256, 384, 512, 640, 768, 896, 1024]
    for a, b in zip(edges, edges[1:]):
        dip = 52 if a in (384, 512) else 58
        d = 'M%s 20 Q%s %s %s 20 L%s 0 L%s 0 Z' % (a - 6, (a + b) / 2, dip * 2 - 20, b + 6, b, a)
        emit('<path d="M%s 18 Q%s %s %s 18 Z" fill="url(#swag)" stroke="#5a030a" stroke-width="1.5"/>'
             % (a - 6, (a + b) / 2, dip * 2 - 18, b + 6))
        emit('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="url(#gold)" stroke-width="5"/>'
             % (a - 2, 20, (a + b) / 2, dip * 2 - 16, b + 2, 20))
        emit('<path d="M%s 26 Q%s %s %s 26" fill="none" stroke="#f7455a" stroke-width="2" opacity="0.45"/>'
             % (a + 18, (a + b) / 2, dip * 2 - 40, b - 18))
        del d
    for x in edges[1:-1]:
        emit('<circle cx="%d" cy="24" r="7" fill="url(#goldSide)" stroke="#7a4a08" stroke-width="1.2"/>' % x)
        emit('<path d="M%d 30 L%d 56 L%d 56 Z" fill="url(#gold)" stroke="#7a4a08" stroke-width="0.8"/>'
             % (x, x - 7, x + 7))


def lantern(cx, top, h, string_top):
    w = h * 1.25
    emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#e9b84a" stroke-width="2.5"/>' % (cx, string_top, cx, top))
    emit('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="url(#lanternGlow)"/>' % (cx, f(top + h / 2), f(w), f(h)))
    cap = h * 0.12
    emit('<rect x="%s" y="%s" width="%s" height="%s" rx="2" fill="url(#gold)" stroke="#7a4a08"/>'
         % (f(cx - w * 0.28), f(top), f(w * 0.56), f(cap)))
    emit('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="url(#lantern)" stroke="#6a030a" stroke-width="1.5"/>'
         % (cx, f(top + h / 2), f(w / 2), f(h / 2 - cap * 0.6)))
    for k in (-0.62, -0.3, 0, 0.3, 0.62):
        rx = abs(k) * w / 2
        if rx == 0:
            emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#ffb23a" stroke-width="1.6" opacity="0.8"/>'
                 % (cx, f(top + cap), cx, f(top + h - cap)))
            continue
        emit('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="none" stroke="#ffb23a" stroke-width="1.4" opacity="0.7"/>'
             % (cx, f(top + h / 2), f(rx), f(h / 2 - cap * 0.6)))
    emit('<rect x="%s" y="%s" width="%s" height="%s" rx="2" fill="url(#gold)" stroke="#7a4a08"/>'
         % (f(cx - w * 0.28), f(top + h - cap), f(w * 0.56), f(cap)))
    emit('<ellipse cx="%s" cy="%s" rx="%s" ry="%s" fill="#ffffff" opacity="0.18"/>'
         % (f(cx - w * 0.16), f(top + h * 0.34), f(w * 0.1), f(h * 0.16)))
    # Tassel.
    t = top + h
    emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#e9b84a" stroke-width="2"/>' % (cx, f(t), cx, f(t + 10)))
    emit('<circle cx="%s" cy="%s" r="4.5" fill="url(#goldSide)"/>' % (cx, f(t + 12)))
    for k in range(-3, 4):
        emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#d91a20" stroke-width="2.2" stroke-linecap="round"/>'
             % (cx, f(t + 15), f(cx + k * 2.2), f(t + 15 + h * 0.45)))


def lanterns():
    lantern(196, 96, 92, 22)
    lantern(828, 96, 92, 22)
    lantern(118 + 12, 250, 70, 188 + 16)
    lantern(894 - 12, 250, 70, 188 + 16)


def dragon(cx, cy, R):
    # A coiled dragon around the disc: a wavy body that narrows to the tail, a spiny back, scales,
    # claws and a head on the left looking at the pearl in the middle.
    start, end = math.radians(196), math.radians(-62)
    n = 160
    body = []
    for i in range(n + 1):
        t = i / n
        a = start + (end - start) * t
        r = R + 11 * math.sin(t * math.pi * 5)
        body.append((cx + r * math.cos(a), cy + r * math.sin(a), t))
    # Back spines on the outer side.
    for i in range(4, n - 2, 5):
        x, y, t = body[i]
        a = math.atan2(y - cy, x - cx)
        width = 30 * (1 - t) + 8
        tip = (x + math.cos(a) * (width * 0.5 + 9), y + math.sin(a) * (width * 0.5 + 9))
        side = (-math.sin(a) * 5, math.cos(a) * 5)
        emit('<polygon points="%s" fill="#ffdf6a" stroke="#7a3d05" stroke-width="1"/>' %
             pts([(x + side[0], y + side[1]), tip, (x - side[0], y - side[1])]))
    # Body, drawn as overlapping round-capped segments to taper it.
    for layer, colour, extra in (('outline', '#6e3604', 4), ('fill', '#f8cf4e', 0)):
        for i in range(n):
            x0, y0, t = body[i]
            x1, y1, _ = body[i + 1]
            width = 30 * (1 - t) + 8 + extra
            emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="%s" stroke-width="%s" stroke-linecap="round"/>'
                 % (f(x0), f(y0), f(x1), f(y1), colour, f(width)))
    # Belly line and scales.
    for i in range(2, n - 4, 3):
        x, y, t = body[i]
        width = 30 * (1 - t) + 8
        emit('<circle cx="%s" cy="%s" r="%s" fill="none" stroke="#b0680c" stroke-width="1.1"/>'
             % (f(x), f(y), f(width * 0.28)))
    # Claws at a few points along the inner side.
    for i in (30, 75, 118):
        x, y, t = body[i]
        a = math.atan2(y - cy, x - cx) + math.pi
        bx, by = x + math.cos(a) * 22, y + math.sin(a) * 22
        emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#6e3604" stroke-width="8" stroke-linecap="round"/>'
             % (f(x), f(y), f(bx), f(by)))
        emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#f8cf4e" stroke-width="4.5" stroke-linecap="round"/>'
             % (f(x), f(y), f(bx), f(by)))
        for k in (-0.6, 0, 0.6):
            emit('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke="#6e3604" stroke-width="2.5" stroke-linecap="round"/>'
                 % (f(bx), f(by), f(bx + math.cos(a + k) * 8), f(by + math.sin(a + k) * 8)))
    # Head at the start of the body.
    hx, hy, _ = body[0]
    emit('<g transform="translate(%s %s) scale(1.35) rotate(-28)">' % (f(hx - 6), f(hy)))
    emit('<path d="M-6 -16 C-26 -34 -34 -12 -28 -4" fill="none" stroke="#6e3604" stroke-width="6" stroke-linecap="round"/>')
    emit('<path d="M-6 -16 C-26 -34 -34 -12 -28 -4" fill="none" stroke="#ffe27a" stroke-width="3" stroke-linecap="round"/>')
    emit('<path d="M-22 -14 C-10 -26 14 -24 30 -12 L44 -8 C48 -2 44 6 36 6 L24 8 C30 14 26 20 16 18 '
         'L-4 14 C-18 12 -26 2 -22 -14 Z" fill="#f8cf4e" stroke="#6e3604" stroke-width="2.5"/>')
    emit('<circle cx="8" cy="-10" r="4.2" fill="#ffffff" stroke="#6e3604" stroke-width="1.5"/>')
    emit('<circle cx="9" cy="-10" r="2" fill="#2a0a00"/>')
    emit('<path d="M40 -6 C56 -18 62 -2 74 -10" fill="none" stroke="#ffe27a" stroke-width="2" stroke-linecap="round"/>')
    emit('<path d="M34 8 C48 18 58 8 70 16" fill="none" stroke="#ffe27a" stroke-width="2" stroke-linecap="round"/>')
    emit('<path d="M-20 -2 L-34 4 L-22 8 L-34 16 L-18 14" fill="#ffdf6a" stroke="#6e3604" stroke-width="1.5"/>')
    emit('</g>')


def disc():
    cx, cy = 512, 425
    emit('<circle cx="%d" cy="%d" r="170" fill="#ffc23a" opacity="0.5" filter="url(#blur10)"/>' % (cx, cy))
    emit('<circle cx="%d" cy="%d" r="150" fill="url(#disc)" stroke="#7a4006" stroke-width="3"/>' % (cx, cy))
    emit('<circle cx="%d" cy="%d" r="138" fill="none" stroke="#fff0a0" stroke-width="2.5"/>' % (cx, cy))
    # Rim of small cloud scrolls.
    for i in range(32):
        a = i * math.tau / 32
        x, y = cx + 144 * math.cos(a), cy + 144 * math.sin(a)
        emit('<circle cx="%s" cy="%s" r="3" fill="#9c5a0a"/>' % (f(x), f(y)))
    emit('<circle cx="%d" cy="%d" r="128" fill="url(#discInner)" stroke="#8a4a06" stroke-width="2"/>' % (cx, cy))
    # Fine engraved rings.
    for r in (60, 66):
        emit('<circle cx="%d" cy="%d" r="%d" fill="none" stroke="#a8630c" stroke-width="1.2" opacity="0.8"/>' % (cx, cy, r))
    dragon(cx, cy, 96)
    # The flaming pearl the dragon chases.
    px, py = cx + 20, cy - 52
    for i in range(10):
        a = i * math.tau / 10
        emit('<path d="M%s %s Q%s %s %s %s" fill="none" stroke="#ff8a1c" stroke-width="4" stroke-linecap="round"/>'
             % (f(px + 20 * math.cos(a)), f(py + 20 * math.sin(a)), f(px + 34 * math.cos(a + 0.3)),
                f(py + 34 * math.sin(a + 0.3)), f(px + 30 * math.cos(a + 0.6)), f(py + 30 * math.sin(a + 0.6))))
    emit('<circle cx="%d" cy="%d" r="19" fill="url(#pearl)" stroke="#b8660a" stroke-width="2"/>' % (px, py))


def roof():
    # A red pavilion roof with upturned eaves resting on the top of the disc.
    cx, base = 512, 300
    emit('<path d="M%d %d Q%d %d %d %d L%d %d Q%d %d %d %d Z" fill="#6a040b"/>'
         % (cx - 190, base + 8, cx, base - 10, cx + 190, base + 8, cx + 150, base + 20, cx, base + 10, cx - 150, base + 20))
    d = ('M%d %d C%d %d %d %d %d %d L%d %d C%d %d %d %d %d %d Q%d %d %d %d Q%d %d %d %d Z'
         % (cx - 210, base - 8, cx - 170, base - 8, cx - 110, base - 30, cx - 80, base - 62,
            cx + 80, base - 62, cx + 110, base - 30, cx + 170, base - 8, cx + 210, base - 8,
            cx + 150, base + 6, cx, base, cx - 150, base + 6, cx - 210, base - 8))
    emit('<path d="%s" fill="url(#roof)" stroke="#4a0206" stroke-width="2"/>' % d)
    # Tile lines.
    for k in range(-9, 10):
        x_top = cx + k * 8.5
        x_bot = cx + k * 19
        emit('<line x1="%s" y1="%d" x2="%s" y2="%d" stroke="#8c0a11" stroke-width="2" opacity="0.8"/>'
             % (f(x_top), base - 58, f(x_bot), base))
    emit('<path d="M%d %d C%d %d %d %d %d %d" fill="none" stroke="url(#gold)" stroke-width="6" stroke-linecap="round"/>'
         % (cx - 214, base - 12, cx - 150, base + 8, cx - 110, base - 24, cx - 80, base - 62))
    emit('<path d="M%d %d C%d %d %d %d %d %d" fill="none" stroke="url(#gold)" stroke-width="6" stroke-linecap="round"/>'
         % (cx + 214, base - 12, cx + 150, base + 8, cx + 110, base - 24, cx + 80, base - 62))
    emit('<path d="M%d %d Q%d %d %d %d" fill="none" stroke="url(#gold)" stroke-width="5"/>'
         % (cx - 150, base + 4, cx, base - 4, cx + 150, base + 4))
    # Ridge with a golden pearl and two curled ends.
    emit('<rect x="%d" y="%d" width="160" height="10" rx="3" fill="url(#gold)" stroke="#7a4006"/>' % (cx - 80, base - 68))
    for s in (-1, 1):
        emit('<path d="M%d %d q%d -18 %d -6" fill="none" stroke="url(#gold)" stroke-width="6" stroke-linecap="round"/>'
             % (cx + s * 78, base - 62, s * 14, s * 4))
    emit('<circle cx="%d" cy="%d" r="8" fill="url(#goldSide)" stroke="#7a4006"/>' % (cx, base - 74))


def banner():
    # A blank red ribbon banner across the disc, its ends folded behind.
    cx, cy = 512, 470
    for s in (-1, 1):
        x0 = cx + s * 190
        emit('<polygon points="%s" fill="url(#ribbonFold)" stroke="#4a0206" stroke-width="1.5"/>'
             % pts([(x0, cy - 16), (x0 + s * 70, cy - 12), (x0 + s * 52, cy + 14), (x0 + s * 72, cy + 40),
                    (x0, cy + 38)]))
        emit('<polygon points="%s" fill="#5e0309"/>' % pts([(cx + s * 190, cy + 38), (cx + s * 170, cy + 26),
                                                             (cx + s * 170, cy + 38)]))
    d = ('M%d %d Q%d %d %d %d L%d %d Q%d %d %d %d Z'
         % (cx - 200, cy - 28, cx, cy - 48, cx + 200, cy - 28, cx + 200, cy + 28, cx, cy + 8, cx - 200, cy + 28))
    emit('<path d="%s" fill="url(#ribbon)" stroke="#5a030a" stroke-width="2"/>' % d)
    emit('<path d="M%d %d Q%d %d %d %d" fill="none" stroke="url(#gold)" stroke-width="3"/>'
         % (cx - 194, cy - 22, cx, cy - 41, cx + 194, cy - 22))
    emit('<path d="M%d %d Q%d %d %d %d" fill="none" stroke="url(#gold)" stroke-width="3"/>'
         % (cx - 194, cy + 22, cx, cy + 3, cx + 194, cy + 22))


def skyline():
    # Buildings in a row, a pagoda and two towers among them; golden lit windows.
    base = 690
    emit('<g>')
    x = 60
    while x < W - 60:
        w = rng.randint(24, 52)
        h = rng.randint(40, 120) if abs(x - 512) > 120 else rng.randint(30, 70)
        emit('<rect x="%d" y="%d" width="%d" height="%d" fill="url(#city)"/>' % (x, base - h, w, h + 10))
        for wy in range(base - h + 8, base - 8, 12):
            for wx in range(x + 5, x + w - 6, 9):
                if rng.random() < 0.45:
                    emit('<rect x="%d" y="%d" width="4" height="5" fill="#ffd766" opacity="0.85"/>' % (wx, wy))
        x += w + rng.randint(-6, 4)
    for tx, th in ((150, 190), (872, 170)):
        emit('<polygon points="%s" fill="url(#city)"/>' % pts([(tx - 14, base), (tx - 9, base - th), (tx - 2, base - th - 40),
                                                             (tx + 2, base - th - 40), (tx + 9, base - th), (tx + 14, base)]))
        emit('<circle cx="%d" cy="%d" r="9" fill="#8a1d10"/>' % (tx, base - th + 20))
    # A pagoda left of the middle.
    px = 380
    for k in range(5):
        w = 58 - k * 8
        y = base - 22 - k * 26
        emit('<rect x="%d" y="%d" width="%d" height="22" fill="url(#city)"/>' % (px - w // 2 + 6, y, w - 12))
        emit('<path d="M%d %d Q%d %d %d %d L%d %d Q%d %d %d %d Z" fill="#6e1408"/>'
             % (px - w // 2 - 10, y - 2, px, y - 10, px + w // 2 + 10, y - 2, px + w // 2 - 4, y + 4, px, y - 2,
                px - w // 2 + 4, y + 4))
    emit('<line x1="%d" y1="%d" x2="%d" y2="%d" stroke="#6e1408" stroke-width="3"/>' % (px, base - 124, px, base - 150))
    emit('</g>')


def waves():
    # Golden waves along the bottom, back to front, each with a bright crest and scrolls.
    for k, (top, amp, period, phase) in enumerate(((672, 9, 128, 0), (696, 10, 150, 60), (722, 11, 170, 20),
                                                    (748, 10, 140, 90))):
        d = ['M0 %d' % H]
        for x in range(0, W + 9, 8):
            d.append('L%d %s' % (x, f(top + amp * math.sin((x + phase) / period * math.tau))))
        d.append('L%d %d Z' % (W, H))
        emit('<path d="%s" fill="url(#wave)" stroke="#7a4406" stroke-width="1.5"/>' % ' '.join(d))
        crest = ['M0 %s' % f(top + 4 + amp * math.sin(phase / period * math.tau))]
        for x in range(8, W + 9, 8):
            crest.append('L%d %s' % (x, f(top + 4 + amp * math.sin((x + phase) / period * math.tau))))
        emit('<path d="%s" fill="none" stroke="#fff4c0" stroke-width="2" opacity="0.8"/>' % ' '.join(crest))
        for x in range(-period, W + period, period):
            # A curl under each crest.
            peak = x + period / 4 - phase
            cy = top + 16
            emit('<path d="M%s %s a10 8 0 1 1 14 6" fill="none" stroke="#a8680c" stroke-width="2" opacity="%s"/>'
                 % (f(peak - 6), f(cy), '0.8' if k else '0.6'))


def main():
    emit('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (W, H, W, H))
    defs()
    backdrop()
    streaks()
    fireworks()
    disc()
    banner()
    roof()
    skyline()
    waves()
    curtains()
    lanterns()
    emit('</svg>')
    print('\n'.join(out))


if __name__ == '__main__':
    main()
