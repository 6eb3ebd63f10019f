"""Plane drawing made of lines and arcs, in millimetres with y up.

A part is drawn as a `Shape`: a list of line and arc elements, each with a
line class (solid, hidden or centre line).  Angles are degrees, counted
counter-clockwise; an arc runs counter-clockwise from its start angle to its
end angle.
"""

import math

SOLID = 1
HIDDEN = 2
CENTRE = 5

_EPS = 1e-6


def _norm(a):
    """An angle brought into [0, 360)."""
    a = math.fmod(a, 360.0)
    if a < 0:
        a += 360.0
    if a >= 360.0 - 1e-9:
        a = 0.0
    return a


def rotate_point(x, y, angle):
    c = math.cos(math.radians(angle))
    s = math.sin(math.radians(angle))
    return (x * c - y * s, x * s + y * c)


def arc_sweep(a0, a1):
    """Counter-clockwise sweep from a0 to a1 in (0, 360]; equal angles make a full circle."""
    sweep = _norm(a1) - _norm(a0)
    if sweep <= 1e-9:
        sweep += 360.0
    return sweep


class Line:
    __slots__ = ("cls", "x1", "y1", "x2", "y2")

    def __init__(self, cls, x1, y1, x2, y2):
        self.cls, self.x1, self.y1, self.x2, self.y2 = cls, x1, y1, x2, y2

    def length(self):
        return math.hypot(self.x2 - self.x1, self.y2 - self.y1)

    def transformed(self, angle, dx, dy, mirror_y):
        p = (self.x1, -self.y1 if mirror_y else self.y1)
        q = (self.x2, -self.y2 if mirror_y else self.y2)
        p = rotate_point(*p, angle)
        q = rotate_point(*q, angle)
        return Line(self.cls, p[0] + dx, p[1] + dy, q[0] + dx, q[1] + dy)

    def bounds(self):
        return (min(self.x1, self.x2), min(self.y1, self.y2), max(self.x1, self.x2),
                max(self.y1, self.y2))


class Arc:
    __slots__ = ("cls", "cx", "cy", "r", "a0", "a1")

    def __init__(self, cls, cx, cy, r, a0, a1):
        self.cls, self.cx, self.cy, self.r = cls, cx, cy, r
        self.a0, self.a1 = _norm(a0), _norm(a1)

    def transformed(self, angle, dx, dy, mirror_y):
        cx, cy, a0, a1 = self.cx, self.cy, self.a0, self.a1
        if mirror_y:
            # Reflection turns the direction of travel: the arc from -a1 to -a0.
            cy, a0, a1 = -cy, -a1, -a0
        c = rotate_point(cx, cy, angle)
        return Arc(self.cls, c[0] + dx, c[1] + dy, self.r, a0 + angle, a1 + angle)

    def point(self, a):
        return (self.cx + self.r * math.cos(math.radians(a)),
                self.cy + self.r * math.sin(math.radians(a)))

    def bounds(self):
        pts = [self.point(self.a0), self.point(self.a0 + arc_sweep(self.a0, self.a1))]
        sweep = arc_sweep(self.a0, self.a1)
        for axis in (0.0, 90.0, 180.0, 270.0):
            if _norm(axis - self.a0) <= sweep + 1e-9:
                pts.append(self.point(axis))
        xs = [p[0] for p in pts]
        ys = [p[1] for p in pts]
        return (min(xs), min(ys), max(xs), max(ys))


class Shape:
    """An ordered collection of elements with helpers for drawing fittings."""

    def __init__(self):
        self.elements = []

    # -- primitives -------------------------------------------------------
    def line(self, p, q, cls=SOLID):
        if math.hypot(q[0] - p[0], q[1] - p[1]) > _EPS:
            self.elements.append(Line(cls, p[0], p[1], q[0], q[1]))

    def polyline(self, points, cls=SOLID, closed=False):
        for a, b in zip(points, points[1:]):
            self.line(a, b, cls)
        if closed and len(points) > 2:
            self.line(points[-1], points[0], cls)

    def rect(self, x0, y0, x1, y1, cls=SOLID):
        self.polyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], cls, closed=True)

    def arc(self, centre, r, a0, a1, cls=SOLID):
        if r > _EPS:
            self.elements.append(Arc(cls, centre[0], centre[1], r, a0, a1))

    def circle(self, centre, r, cls=SOLID):
        # Stored as two halves, so that every arc has distinct end angles.
        self.arc(centre, r, 0.0, 180.0, cls)
        self.arc(centre, r, 180.0, 0.0, cls)

    # -- composition ------------------------------------------------------
    def add(self, other, angle=0.0, dx=0.0, dy=0.0, mirror_y=False):
        """Adds the elements of `other`, mirrored in the x axis when asked, then
        turned by `angle` about the origin and moved by (dx, dy)."""
        for e in other.elements:
            self.elements.append(e.transformed(angle, dx, dy, mirror_y))
        return self

    def transformed(self, angle=0.0, dx=0.0, dy=0.0, mirror_y=False):
        return Shape().add(self, angle, dx, dy, mirror_y)

    def only(self, classes):
        out = Shape()
        out.elements = [e for e in self.elements if e.cls in classes]
        return out

    def bounds(self):
        """(min x, min y, max x, max y) of all elements; None when empty."""
        if not self.elements:
            return None
        boxes = [e.bounds() for e in self.elements]
        return (min(b[0] for b in boxes), min(b[1] for b in boxes), max(b[2] for b in boxes),
                max(b[3] for b in boxes))


def intersect_lines(p, u, q, v):
    """Intersection of the line through p along u with the line through q along v."""
    det = u[0] * (-v[1]) - u[1] * (-v[0])
    if abs(det) < 1e-12:
        return None
    rx, ry = q[0] - p[0], q[1] - p[1]
    t = (rx * (-v[1]) - ry * (-v[0])) / det
    return (p[0] + t * u[0], p[1] + t * u[1])
