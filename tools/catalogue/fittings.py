"""Parametric drawings of pipe fittings, valves and other parts in plan view.

Every part is drawn at its real size from the outside diameter of its pipe:
`m` is the outside diameter of the main run, `b` that of the branch (the
smaller end of a reducer), both in millimetres.  The lengths of the
butt-welding fittings and the flange dimensions come from the standards'
tables (standards.py), as does the range of sizes in which threaded parts
are made; the other proportions below (socket depths, hubs, threaded
fittings, valve lengths) are drawing proportions, meant for drafting, not
for manufacture.

Drawing conventions (rotation 0):
- the main run lies on the x axis; the origin is the part's insertion point:
  the crossing of the centre lines of an elbow, tee or branch, or the middle
  of a straight part (socket, reducer, valve, flexible joint);
- an elbow comes in from the left (-x) and turns counter-clockwise, so a 90
  degree elbow leaves upward (+y); a branch leaves upward;
- a reducer and an increaser have the main size on the left and the branch
  (smaller) size on the right.
"""

import math

from geometry import CENTRE, HIDDEN, Shape, intersect_lines
import standards
from sizes import TABLE_BY_MATERIAL


# ---------------------------------------------------------------------------
# Pipe ends
# ---------------------------------------------------------------------------
class End:
    """How a leg of a fitting ends at its face.

    width/length: the outline of the end piece (a socket hub, thread band,
    flange) measured back from the face; width 0 keeps the body's width.
    insert: depth of the pipe pushed or screwed into the end, drawn hidden.
    ring: (distance of its middle from the face, length, width) of a bead.
    bolts: pitch circle diameter for flange bolts (their centre lines).
    """

    def __init__(self, width=0.0, length=0.0, insert=0.0, ring=None, bolts=0.0):
        self.width, self.length, self.insert = width, length, insert
        self.ring, self.bolts = ring, bolts


PLAIN = End()


def leg(shape, d, body, end, face, angle, start_pos=0.0, start_neg=0.0):
    """One straight leg of a fitting, drawn along `angle` (degrees) from the
    junction to its face at distance `face` from the origin.

    start_pos / start_neg: where the side lines on the left (+y) and the right
    (-y) of the leg's direction begin, measured along the leg."""
    local = Shape()
    w = end.width if end.width > 0 else body
    xs = face - end.length if end.length > 0 else face
    local.line((start_pos, body / 2), (xs, body / 2))
    local.line((start_neg, -body / 2), (xs, -body / 2))
    if end.length > 0:
        local.line((xs, w / 2), (xs, -w / 2))
        local.line((xs, w / 2), (face, w / 2))
        local.line((xs, -w / 2), (face, -w / 2))
    local.line((face, w / 2), (face, -w / 2))
    if end.ring:
        mid, length, rw = end.ring
        rw = max(rw, w)
        local.rect(face - mid - length / 2, -rw / 2, face - mid + length / 2, rw / 2)
    if end.insert > 0:
        x = face - end.insert
        local.line((x, d / 2), (face, d / 2), HIDDEN)
        local.line((x, -d / 2), (face, -d / 2), HIDDEN)
        local.line((x, d / 2), (x, -d / 2), HIDDEN)
    if end.bolts > 0:
        for y in (end.bolts / 2, -end.bolts / 2):
            local.line((xs - 0.4 * end.length, y), (face + 0.05 * end.length, y), CENTRE)
    shape.add(local, angle)


def centre_line(shape, p, q):
    shape.line(p, q, CENTRE)


# ---------------------------------------------------------------------------
# Joint families: body diameter, ends and characteristic lengths
# ---------------------------------------------------------------------------
def flange_dims(d, rating="10K", nominal=None):
    """(outside diameter, thickness, bolt pitch circle) of a flange for a pipe of
    outside diameter d: the flange of the steel pipe size nearest in outside
    diameter (so PVC, copper and stainless pipes get the flange they connect
    to), or a proportion of the pipe diameter beyond the table."""
    flanges = standards.load("flanges")
    steel = TABLE_BY_MATERIAL[1]
    nominal = min(steel.rows, key=lambda row: abs(row[1] - d))[0]
    if abs(steel.outside(nominal) - d) <= 0.15 * d and flanges.row(nominal, rating=rating):
        return tuple(flanges.number(nominal, k, rating=rating) for k in ("od", "t", "pcd"))
    od = 1.25 * d + 80 + {"5K": -10, "10K": 0, "20K": 15}[rating]
    t = 0.04 * d + 14 + {"5K": -2, "10K": 0, "20K": 4}[rating]
    bolt = 12 if d < 45 else 16 if d < 140 else 20 if d < 270 else 22
    return od, t, od - 2.2 * bolt


class Joint:
    """A family of fittings sharing body proportions and end type."""

    centre_lines = False
    # The faces sit at the family's lengths exactly, with no clearance added.
    exact_faces = False

    def made(self, part, params, nominal, branch=False):
        """Whether the part is made with this nominal size as its main size (or
        as its branch size, the smaller end of a reducer, when `branch`)."""
        return True

    def __init__(self, **values):
        self.__dict__.update(values)

    def body(self, d):
        return d

    def end(self, d, nominal=None):
        return PLAIN

    def spigot(self, d, nominal=None):
        """The plain end of a fitting (a street elbow's male end, a bend's spigot)."""
        return PLAIN

    def end_length(self, d, nominal=None):
        e = self.end(d, nominal)
        return max(e.length, e.insert, 0.0)

    def elbow_radius(self, d, theta, kind, nominal=None):
        return 0.0

    def elbow_extra(self, d, nominal=None):
        """Straight length between a bend's tangent point and its face."""
        return self.end_length(d, nominal) + 0.08 * d + 2

    def tee_face(self, m, b, nominal=None):
        return max(self.body(b) / 2, self.body(m) / 2) + self.end_length(m, nominal) + 0.08 * m + 3

    def reducer_length(self, m, b, nominal=None):
        return self.end_length(m, nominal) + self.end_length(b) + 0.35 * (m - b) + 0.1 * m + 6


class Socket(Joint):
    """Solvent-cemented, brazed or pressed socket fittings of uniform outside
    diameter; the pipe inserted into each socket is drawn hidden."""

    def body(self, d):
        return d + 2 * max(self.wall_min, self.wall * d)

    def end(self, d, nominal=None):
        ring = None
        if getattr(self, "ring", False):
            b = self.body(d)
            ring = (0.3 * d + 6, 0.1 * d + 3, b + 0.1 * d + 3)
        return End(insert=self.depth_a * d + self.depth_b, ring=ring)

    def elbow_radius(self, d, theta, kind, nominal=None):
        if kind == "long":
            return max(1.5 * d, 1.6 * self.radius * d)
        return self.radius * d


class Threaded(Joint):
    """Threaded fittings with a band (bead) at each end."""

    def made(self, part, params, nominal, branch=False):
        # A flanged valve or a flanged flexible joint of a threaded category
        # has no thread; everything else here is threaded.
        if part in ("valve", "flex") and params.get("ends", "thread") not in ("thread",
                                                                                "union"):
            return True
        return threaded_size(nominal)

    def body(self, d):
        return self.body_a * d + self.body_b

    def end(self, d, nominal=None):
        b = self.body(d)
        return End(width=b + 0.1 * d + 4, length=0.12 * d + 5, insert=0.3 * d + 8)

    def spigot(self, d, nominal=None):
        # The male thread of a street elbow: the pipe's diameter.
        return End(width=d, length=0.35 * d + 10)

    def elbow_radius(self, d, theta, kind, nominal=None):
        return self.radius * d * (1.6 if kind == "long" else 1.0)


class Hub(Joint):
    """Mechanical or push-in joints: a hub (socket bell) at each receiving end,
    with the gland ring of a mechanical joint."""

    def body(self, d):
        return d + 2 * self.wall * d

    def end(self, d, nominal=None):
        hub = self.hub_a * d + self.hub_b
        ring = (self.gland_t / 2, self.gland_t, hub + 0.08 * d + 10) if self.gland_t else None
        return End(width=hub, length=self.len_a * d + self.len_b, insert=self.len_a * d +
                   self.len_b - 4, ring=ring)

    def elbow_radius(self, d, theta, kind, nominal=None):
        return {"long": self.radius_long, "short": self.radius_short}.get(kind, self.radius_short) * d


class Weld(Joint):
    """Butt-welding fittings: the body has the pipe's diameter, plain ends, and
    centre lines on their axes.  Every length is the standard's: an elbow is
    all arc, its faces at the centre-to-face length F from the corner of the
    centre lines; a tee's faces at C; a reducer H long; a cap E long."""

    centre_lines = True
    exact_faces = True

    @staticmethod
    def table():
        return standards.load("butt_welding")

    @staticmethod
    def elbow_column(theta, kind):
        return "elbow%d_%s" % (int(round(theta)), kind)

    def made(self, part, params, nominal, branch=False):
        column = {"tee": "tee", "reducer": "reducer", "cap": "cap"}.get(part)
        if part == "elbow":
            column = self.elbow_column(params.get("theta", 90.0), params.get("kind", "short"))
        if column is None:
            return True
        if branch and column in ("reducer", "tee"):
            # The smaller end of a reducer or a tee's outlet only needs to be a
            # size of the table; the lengths go by the main size.
            return self.table().row(nominal) is not None
        return self.table().number(nominal, column) is not None

    def elbow_face(self, d, theta, kind, nominal):
        return self.table().number(nominal, self.elbow_column(theta, kind))

    def elbow_radius(self, d, theta, kind, nominal=None):
        # The bend radius that puts the faces at the tabulated length.
        return self.elbow_face(d, theta, kind, nominal) / math.tan(math.radians(theta / 2))

    def elbow_extra(self, d, nominal=None):
        return 0.0

    def tee_face(self, m, b, nominal=None):
        return self.table().number(nominal, "tee")

    def reducer_length(self, m, b, nominal=None):
        return self.table().number(nominal, "reducer")

    def cap_length(self, d, nominal):
        return self.table().number(nominal, "cap")


class Flanged(Joint):
    """Flanged fittings (10K): a flange at every end, bolt centre lines."""

    centre_lines = True
    rating = "10K"

    def end(self, d, nominal=None):
        od, t, pcd = flange_dims(d, self.rating, nominal)
        return End(width=od, length=t, bolts=pcd)

    def elbow_radius(self, d, theta, kind, nominal=None):
        return 0.55 * d + 25 if theta > 60 else 0.9 * d + 40

    def elbow_extra(self, d, nominal=None):
        return 0.4 * d + 30

    def tee_face(self, m, b, nominal=None):
        return 0.95 * m + 55

    def reducer_length(self, m, b, nominal=None):
        return 0.7 * m + 110


class DuctFitting(Joint):
    """Round (spiral) duct fittings: the ends slide into the duct up to a bead."""

    centre_lines = True

    def body(self, d):
        return d - 2.0

    def end(self, d, nominal=None):
        return End(ring=(60.0, 6.0, d + 8.0))

    def end_length(self, d, nominal=None):
        return 70.0

    def elbow_radius(self, d, theta, kind, nominal=None):
        return {"1.0R": 1.0, "1.5R": 1.5}[kind] * d

    def elbow_extra(self, d, nominal=None):
        return 75.0

    def tee_face(self, m, b, nominal=None):
        return max(m, b) / 2 + 120.0

    def reducer_length(self, m, b, nominal=None):
        return 150.0 + 1.5 * (m - b)


def threaded_size(nominal):
    """Whether pipe threads (and threaded fittings) exist in a nominal size."""
    return nominal is not None and standards.load("threaded").row(nominal) is not None


def made(part, joint, nominal_m, nominal_b, **params):
    """Whether `part` of the joint family exists for the main and branch sizes."""
    j = JOINTS[joint]
    return j.made(part, params, nominal_m) and j.made(part, params, nominal_b, branch=True)


JOINTS = {
    # PVC pipe, cold water (TS) and drainage (DV) solvent-cemented fittings.
    "ts": Socket(wall=0.075, wall_min=2.0, depth_a=0.5, depth_b=20, radius=0.0),
    "dv": Socket(wall=0.06, wall_min=2.0, depth_a=0.3, depth_b=18, radius=0.6),
    # Copper tube brazed fittings.
    "cu": Socket(wall=0.05, wall_min=1.0, depth_a=0.3, depth_b=8, radius=1.0),
    # Stainless light-gauge pipe: expanded-pipe nut joints and press joints.
    "sus_nut": Hub(wall=0.05, hub_a=1.3, hub_b=8, len_a=0.4, len_b=12, gland_t=0,
                   radius_long=1.5, radius_short=1.0),
    "sus_press": Socket(wall=0.04, wall_min=1.2, depth_a=0.6, depth_b=12, radius=1.0, ring=True),
    # Steel pipe: mechanical drainage joints (two patterns), drainage threaded,
    # malleable threaded and lined-pipe threaded fittings.
    "md": Hub(wall=0.06, hub_a=1.25, hub_b=22, len_a=0.35, len_b=30, gland_t=10,
              radius_long=1.2, radius_short=0.8),
    "md2": Hub(wall=0.06, hub_a=1.18, hub_b=16, len_a=0.3, len_b=22, gland_t=6,
               radius_long=1.5, radius_short=1.0),
    "dr": Threaded(body_a=1.15, body_b=6, radius=0.9),
    "screw": Threaded(body_a=1.12, body_b=5, radius=0.0),
    "lined": Threaded(body_a=1.18, body_b=6, radius=0.0),
    "weld": Weld(),
    "flange": Flanged(),
    # Cast iron drain pipe: mechanical (gland) hubs and push-in hubs.
    "ci": Hub(wall=0.0, hub_a=1.2, hub_b=30, len_a=0.5, len_b=35, gland_t=12,
              radius_long=1.5, radius_short=0.75),
    "ci_push": Hub(wall=0.0, hub_a=1.15, hub_b=20, len_a=0.55, len_b=40, gland_t=0,
                   radius_long=1.5, radius_short=0.75),
    "duct": DuctFitting(),
}


# ---------------------------------------------------------------------------
# Part kinds
# ---------------------------------------------------------------------------
class Ctx:
    """What a part kind is drawn from."""

    def __init__(self, joint, m, b, nominal_m, nominal_b):
        self.j = JOINTS[joint]
        self.m, self.b = m, b
        self.nm, self.nb = nominal_m, nominal_b


def elbow(c, theta=90.0, kind="short", ends=("end", "end"), gores=0):
    """An elbow or bend of `theta` degrees: leg A along -x, leg B at `theta`."""
    j, d = c.j, c.m
    body = j.body(d)
    r = j.elbow_radius(d, theta, kind, c.nm)
    t = r * math.tan(math.radians(theta / 2))
    end_a = j.end(d, c.nm) if ends[0] == "end" else j.spigot(d, c.nm)
    end_b = j.end(d, c.nm) if ends[1] == "end" else j.spigot(d, c.nm)
    s = Shape()
    u = (math.cos(math.radians(theta)), math.sin(math.radians(theta)))
    n = (-u[1], u[0])
    centre = (-t, r)
    # The inner side: an arc, or a corner where the legs' inner lines meet.
    inner_r = r - body / 2
    if inner_r > 0.5:
        s.arc(centre, inner_r, 270.0, 270.0 + theta)
        start_in_a = start_in_b = t
    else:
        p = intersect_lines((0.0, body / 2), (1.0, 0.0), (n[0] * body / 2, n[1] * body / 2), u)
        start_in_a = -p[0]
        start_in_b = p[0] * u[0] + p[1] * u[1]
    s.arc(centre, r + body / 2, 270.0, 270.0 + theta)
    # Each face far enough out that the socket (or hub) ends clear of the bend.
    extra = j.elbow_extra(d, c.nm)
    if j.exact_faces:
        face_a = face_b = t + extra
    else:
        face_a = max(t + extra,
                     max(t, start_in_a) + max(end_a.length, end_a.insert) + 0.05 * d + 2)
        face_b = max(t + extra,
                     max(t, start_in_b) + max(end_b.length, end_b.insert) + 0.05 * d + 2)
    leg(s, d, body, end_a, face_a, 180.0, start_pos=t, start_neg=start_in_a)
    leg(s, d, body, end_b, face_b, theta, start_pos=start_in_b, start_neg=t)
    if gores and inner_r > 0.5:
        for k in range(1, gores):
            a = math.radians(270.0 + theta * k / gores)
            s.line((centre[0] + inner_r * math.cos(a), centre[1] + inner_r * math.sin(a)),
                   (centre[0] + (r + body / 2) * math.cos(a), centre[1] + (r + body / 2) * math.sin(a)))
    if j.centre_lines:
        if r > 0.5:
            s.arc(centre, r, 270.0, 270.0 + theta, CENTRE)
        centre_line(s, (-face_a, 0.0), (-t, 0.0))
        centre_line(s, (t * u[0], t * u[1]), (face_b * u[0], face_b * u[1]))
    return s


def tee(c, branches=(90.0,), sweep=False):
    """A tee or cross: the run on the x axis, branches at the given angles
    (90 up, 270 down); `sweep` rounds the downstream side of each branch."""
    j, m, b = c.j, c.m, c.b
    bm, bb = j.body(m), j.body(b)
    end_m, end_b = j.end(m, c.nm), j.end(b, c.nb)
    rf = 0.5 * bb if sweep else 0.0
    wm, wb = max(end_m.width, bm), max(end_b.width, bb)
    el_m = j.end_length(m, c.nm) + 0.05 * m + 3
    el_b = j.end_length(b, c.nb) + 0.05 * b + 3
    # The ends clear the junction and each other's hubs.
    if j.exact_faces:
        face_b = face_r = j.tee_face(m, b, c.nm)
    else:
        face_b = max(j.tee_face(m, b, c.nm), max(bm / 2 + rf, wm / 2) + el_b)
        face_r = max(face_b, max(bb / 2 + rf, wb / 2) + el_m)
    s = Shape()
    top = {"right": 0.0, "left": 0.0}
    bottom = {"right": 0.0, "left": 0.0}
    for angle in branches:
        side = top if angle == 90.0 else bottom
        side["right"] = bb / 2 + rf
        side["left"] = bb / 2
        sign = 1.0 if angle == 90.0 else -1.0
        if sweep:
            # Branch: its downstream side (+x) turns into the run with a fillet.
            s.arc((bb / 2 + rf, sign * (bm / 2 + rf)), rf, 180.0 if sign > 0 else 90.0,
                  270.0 if sign > 0 else 180.0)
        if angle == 90.0:
            leg(s, b, bb, end_b, face_b, 90.0, start_pos=bm / 2, start_neg=bm / 2 + rf)
        else:
            leg(s, b, bb, end_b, face_b, 270.0, start_pos=bm / 2 + rf, start_neg=bm / 2)
    leg(s, m, bm, end_m, face_r, 0.0, start_pos=top["right"], start_neg=bottom["right"])
    leg(s, m, bm, end_m, face_r, 180.0, start_pos=bottom["left"], start_neg=top["left"])
    if j.centre_lines:
        centre_line(s, (-face_r, 0.0), (face_r, 0.0))
        for angle in branches:
            sign = 1.0 if angle == 90.0 else -1.0
            centre_line(s, (0.0, 0.0), (0.0, sign * face_b))
    return s


def y_branch(c, angle=45.0, double=False):
    """A Y: the run on the x axis, a branch leaving at `angle` toward the upper
    right from the crossing of the centre lines (a second one downward when
    `double`)."""
    j, m, b = c.j, c.m, c.b
    bm, bb = j.body(m), j.body(b)
    end_m, end_b = j.end(m, c.nm), j.end(b, c.nb)
    sa, ca = math.sin(math.radians(angle)), math.cos(math.radians(angle))
    el_b = j.end_length(b, c.nb) + 0.05 * b + 3
    el_m = j.end_length(m, c.nm) + 0.05 * m + 3
    # Where the branch's sides meet the run's side line.
    s_left = (bm / 2 - bb / 2 * ca) / sa
    s_right = (bm / 2 + bb / 2 * ca) / sa
    x_left = s_left * ca - bb / 2 * sa
    x_right = s_right * ca + bb / 2 * sa
    wm, wb = max(end_m.width, bm), max(end_b.width, bb)
    # The branch's end stands clear above the run's ends; the run's right end
    # clears the branch's downstream side where it widens to the end piece.
    face_b = max(s_right + el_b, (wm / 2 + wb / 2 * ca) / sa + el_b, j.tee_face(m, b, c.nm))
    face_r = max(x_right + (wm - bm) / 2 * ca / sa + el_m, j.tee_face(m, b, c.nm))
    face_l = max(el_m + bm / 2, -x_left + el_m, j.tee_face(m, b, c.nm))
    s = Shape()
    gap_r = x_right
    gap_l = -x_left
    leg(s, b, bb, end_b, face_b, angle, start_pos=s_left, start_neg=s_right)
    if double:
        leg(s, b, bb, end_b, face_b, -angle, start_pos=s_right, start_neg=s_left)
    leg(s, m, bm, end_m, face_r, 0.0, start_pos=gap_r, start_neg=gap_r if double else 0.0)
    leg(s, m, bm, end_m, face_l, 180.0, start_pos=gap_l if double else 0.0, start_neg=gap_l)
    if j.centre_lines:
        centre_line(s, (-face_l, 0.0), (face_r, 0.0))
        centre_line(s, (0.0, 0.0), (face_b * ca, face_b * sa))
        if double:
            centre_line(s, (0.0, 0.0), (face_b * ca, -face_b * sa))
    return s


def reducer(c, eccentric=False, hex_middle=False):
    """A concentric (or eccentric, flat on top) reducer: main size on the left."""
    j, m, b = c.j, c.m, c.b
    bm, bb = j.body(m), j.body(b)
    end_m, end_b = j.end(m, c.nm), j.end(b, c.nb)
    length = j.reducer_length(m, b, c.nm)
    half = length / 2
    el_m = j.end_length(m, c.nm) + 2
    el_b = j.end_length(b, c.nb) + 2
    taper = max(length - el_m - el_b, 0.0)
    # Taper from x0 to x1.
    x0 = -half + el_m
    x1 = x0 + taper
    off = (bm - bb) / 2 if eccentric else 0.0
    s = Shape()
    sm, sb = Shape(), Shape()
    leg(sm, m, bm, end_m, half, 180.0, start_pos=-x0, start_neg=-x0)
    leg(sb, b, bb, end_b, half - x1, 0.0, start_pos=0.0, start_neg=0.0)
    s.add(sm)
    s.add(sb, 0.0, x1, off)
    s.line((x0, bm / 2), (x1, off + bb / 2))
    s.line((x0, -bm / 2), (x1, off - bb / 2))
    if hex_middle:
        hw = bm * 1.15
        s.rect(x0, -hw / 2, x1, hw / 2)
    if j.centre_lines:
        centre_line(s, (-half, 0.0), (x1 if eccentric else half, 0.0))
        if eccentric:
            centre_line(s, (x0, off), (half, off))
    return s


def socket(c, middle=None):
    """A straight coupling; `middle` adds a hexagon ('hex') or a union nut ('union')."""
    if c.b < c.m - 1e-6:
        return reducer(c, hex_middle=middle == "hex")
    j, d = c.j, c.m
    body = j.body(d)
    e = j.end(d, c.nm)
    half = j.end_length(d, c.nm) + 0.1 * d + 3
    s = Shape()
    if middle:
        w = body * (1.35 if middle == "union" else 1.2) + 6
        half_m = 0.25 * d + 6
        half = max(half, half_m + j.end_length(d, c.nm) + 2)
        s.rect(-half_m, -w / 2, half_m, w / 2)
        if middle == "union":
            s.line((0.0, w / 2), (0.0, -w / 2))
        start = half_m
    else:
        start = 0.0
    leg(s, d, body, e, half, 0.0, start, start)
    leg(s, d, body, e, half, 180.0, start, start)
    if j.centre_lines:
        centre_line(s, (-half, 0.0), (half, 0.0))
    return s


def nipple(c):
    """A hexagon nipple: male threads both sides of a hexagon."""
    d = c.m
    body = d
    hw = 1.3 * d + 6
    hl = 0.3 * d + 6
    thread = 0.35 * d + 10
    s = Shape()
    s.rect(-hl / 2, -hw / 2, hl / 2, hw / 2)
    for sign in (1.0, -1.0):
        s.line((sign * hl / 2, body / 2), (sign * (hl / 2 + thread), body / 2))
        s.line((sign * hl / 2, -body / 2), (sign * (hl / 2 + thread), -body / 2))
        s.line((sign * (hl / 2 + thread), body / 2), (sign * (hl / 2 + thread), -body / 2))
    if c.b < c.m - 1e-6:
        # A reducing nipple: the smaller thread on the right.
        s = Shape()
        s.rect(-hl / 2, -hw / 2, hl / 2, hw / 2)
        for sign, dd in ((-1.0, c.m), (1.0, c.b)):
            s.line((sign * hl / 2, dd / 2), (sign * (hl / 2 + thread), dd / 2))
            s.line((sign * hl / 2, -dd / 2), (sign * (hl / 2 + thread), -dd / 2))
            s.line((sign * (hl / 2 + thread), dd / 2), (sign * (hl / 2 + thread), -dd / 2))
    return s


def cap(c, plug=False):
    """A cap on a pipe end (origin at the face that meets the pipe, cap to the
    right); a plug is a square head with a male thread."""
    j, d = c.j, c.m
    s = Shape()
    if plug:
        head = 0.9 * d + 4
        hl = 0.25 * d + 6
        thread = 0.3 * d + 8
        s.rect(thread, -head / 2, thread + hl, head / 2)
        s.line((0.0, d / 2), (thread, d / 2))
        s.line((0.0, -d / 2), (thread, -d / 2))
        s.line((0.0, d / 2), (0.0, -d / 2))
        return s
    body = j.body(d)
    if isinstance(j, Weld):
        return _weld_cap(d, j.cap_length(d, c.nm))
    e = j.end(d, c.nm)
    depth = j.end_length(d, c.nm) + 0.15 * d + 4
    local = Shape()
    leg(local, d, body, e, depth, 180.0, 0.0, 0.0)
    local.line((0.0, body / 2), (0.0, -body / 2))
    s.add(local, 0.0, depth, 0.0)
    if j.centre_lines:
        centre_line(s, (0.0, 0.0), (depth, 0.0))
    return s


def _weld_cap(d, length):
    """A butt-welding cap `length` long from its welding face: a straight skirt
    and a dished head a quarter of the diameter deep, drawn as the circular
    arc through the head's rim and crown."""
    head = d / 4
    skirt = length - head
    r = 5 * d / 8  # the arc of chord d and height d / 4
    a = math.degrees(math.asin(0.5 * d / r))
    s = Shape()
    s.line((0.0, d / 2), (0.0, -d / 2))
    s.line((0.0, d / 2), (skirt, d / 2))
    s.line((0.0, -d / 2), (skirt, -d / 2))
    s.arc((length - r, 0.0), r, -a, a)
    s.line((skirt, d / 2), (skirt, -d / 2), HIDDEN)
    centre_line(s, (0.0, 0.0), (length, 0.0))
    return s


def flange_joint(c, rating="10K", blind=False):
    """A pair of slip-on flanges bolted together on the pipe (a blind flange on
    the right when `blind`), origin at the gasket."""
    d = c.m
    od, t, pcd = flange_dims(d, rating, c.nm)
    g = 3.0
    stub = 0.4 * d + 20
    nut = 0.9 * (12 if d < 45 else 16 if d < 140 else 20 if d < 270 else 22)
    s = Shape()
    s.rect(-g / 2 - t, -od / 2, -g / 2, od / 2)
    s.rect(g / 2, -od / 2, g / 2 + t, od / 2)
    # Slip-on hubs and the pipe.
    hub_w = d + 0.15 * d + 8
    hub_l = 0.25 * t + 4
    for sign in ((-1.0,) if blind else (-1.0, 1.0)):
        x0 = sign * (g / 2 + t)
        x1 = sign * (g / 2 + t + hub_l)
        s.line((x0, hub_w / 2), (x1, hub_w / 2))
        s.line((x0, -hub_w / 2), (x1, -hub_w / 2))
        s.line((x1, hub_w / 2), (x1, -hub_w / 2))
        s.line((x1, d / 2), (sign * (g / 2 + t + stub), d / 2))
        s.line((x1, -d / 2), (sign * (g / 2 + t + stub), -d / 2))
    for y in (pcd / 2, -pcd / 2):
        bolt = 0.45 * nut
        s.rect(-g / 2 - t - nut, y - nut * 0.8, -g / 2 - t, y + nut * 0.8)
        s.rect(g / 2 + t, y - nut * 0.8, g / 2 + t + nut, y + nut * 0.8)
        s.line((-g / 2 - t, y + bolt / 2), (-g / 2, y + bolt / 2), HIDDEN)
        s.line((-g / 2 - t, y - bolt / 2), (-g / 2, y - bolt / 2), HIDDEN)
        s.line((g / 2, y + bolt / 2), (g / 2 + t, y + bolt / 2), HIDDEN)
        s.line((g / 2, y - bolt / 2), (g / 2 + t, y - bolt / 2), HIDDEN)
    right = g / 2 + t if blind else g / 2 + t + stub
    centre_line(s, (-(g / 2 + t + stub), 0.0), (right, 0.0))
    return s


def straight(c, length):
    """A straight pipe of `length` with a hub on the left and a spigot on the
    right, origin in its middle."""
    j, d = c.j, c.m
    body = j.body(d)
    s = Shape()
    leg(s, d, body, j.end(d, c.nm), length / 2, 180.0, -length / 2, -length / 2)
    s.line((length / 2, body / 2), (length / 2, -body / 2))
    if j.centre_lines:
        centre_line(s, (-length / 2, 0.0), (length / 2, 0.0))
    return s


def faucet_elbow(c, wall_plate=True):
    """A faucet elbow: socket on the left, female thread upward through a
    wall plate (its face at the origin's y + face)."""
    j, d = c.j, c.m
    s = elbow(c, 90.0, "short", ("end", "end"))
    bnd = s.bounds()
    if wall_plate:
        top = bnd[3]
        pw = 2.2 * d + 20
        s.rect(-pw / 2, top - 4.0, pw / 2, top)
    return s


def adapter(c, male=True):
    """A transition fitting: the family's socket on the left, a hexagon and a
    pipe thread on the right (male or female)."""
    j, d = c.j, c.m
    body = j.body(d)
    e = j.end(d, c.nm)
    left = j.end_length(d, c.nm) + 0.1 * d + 3
    hw = 1.3 * d + 6
    hl = 0.3 * d + 6
    thread = 0.35 * d + 10
    s = Shape()
    leg(s, d, body, e, left, 180.0, 0.0, 0.0)
    s.rect(0.0, -hw / 2, hl, hw / 2)
    if male:
        s.line((hl, d / 2), (hl + thread, d / 2))
        s.line((hl, -d / 2), (hl + thread, -d / 2))
        s.line((hl + thread, d / 2), (hl + thread, -d / 2))
    else:
        ow = 1.15 * d + 6
        s.rect(hl, -ow / 2, hl + thread, ow / 2)
        s.line((hl + 2, d / 2), (hl + thread, d / 2), HIDDEN)
        s.line((hl + 2, -d / 2), (hl + thread, -d / 2), HIDDEN)
    return s


def cleanout_bend(c, both_hubs=False, foot=True):
    """A long 90 degree bend with a cleanout boss on its outer corner and a
    foot (stand) below."""
    s = elbow(c, 90.0, "long", ("end", "end" if both_hubs else "spigot"))
    j, d = c.j, c.m
    r = j.elbow_radius(d, 90.0, "long", c.nm)
    body = j.body(d)
    centre = (-r, r)
    a = math.radians(315.0)
    ro = r + body / 2
    p = (centre[0] + ro * math.cos(a), centre[1] + ro * math.sin(a))
    boss = Shape()
    bw = 0.5 * d + 20
    bl = 0.25 * d + 20
    boss.rect(-2.0, -bw / 2, bl, bw / 2)
    boss.line((bl, bw / 2 - 4), (bl + 6, bw / 2 - 4))
    boss.line((bl + 6, bw / 2 - 4), (bl + 6, -bw / 2 + 4))
    boss.line((bl + 6, -bw / 2 + 4), (bl, -bw / 2 + 4))
    s.add(boss, 315.0, p[0], p[1])
    if foot:
        fw = 0.9 * d + 40
        s.rect(-r - fw / 2, -body / 2 - 0.15 * d - 12, -r + fw / 2, -body / 2 - 0.15 * d - 2,
               HIDDEN)
    return s


# -- valves -----------------------------------------------------------------
def _valve_ends(s, d, length, ends, nominal, rating="10K"):
    """Draws the valve's end connections; returns the half width of its body
    opening (where the bow-tie begins) and the body height."""
    half = length / 2
    if ends == "flange":
        od, t, pcd = flange_dims(d, rating, nominal)
        for sign in (1.0, -1.0):
            s.rect(sign * half, -od / 2, sign * (half - t), od / 2)
        return half - t, od * 0.8
    if ends == "wafer":
        # A wafer body sits inside the flange bolts but is never narrower than the pipe.
        od, t, pcd = flange_dims(d, rating, nominal)
        return half, max(od * 0.75, 1.1 * d + 20)
    # Threaded or union: hexagon ends.
    hw = 1.3 * d + 8
    hl = 0.22 * d + 6
    for sign in (1.0, -1.0):
        s.rect(sign * half, -hw / 2, sign * (half - hl), hw / 2)
        s.line((sign * half, d / 2), (sign * (half - 0.3 * d - 8), d / 2), HIDDEN)
        s.line((sign * half, -d / 2), (sign * (half - 0.3 * d - 8), -d / 2), HIDDEN)
    return half - hl, 1.5 * d + 12


def valve(c, kind="gate", ends="thread", rating="10K"):
    """A valve drawn as its bow-tie symbol at real size between its end
    connections, with the marks of its kind."""
    d = c.m
    if ends == "thread":
        length = 1.2 * d + 25
    elif ends == "wafer":
        length = 0.35 * d + 30
    else:
        length = (0.95 * d + 150) if kind in ("globe", "check_lift") else (0.7 * d + 130)
    if kind == "strainer" and ends == "thread":
        length = 1.5 * d + 30
    s = Shape()
    x, h = _valve_ends(s, d, length, ends, c.nm, rating)
    if kind == "butterfly":
        s.rect(-x, -h / 2, x, h / 2)
        s.line((0.0, h / 2), (0.0, -h / 2))
        s.circle((0.0, 0.0), 0.12 * h)
        lever = 1.3 * h
        s.line((0.0, h / 2), (0.0, h / 2 + 0.3 * h))
        s.rect(-lever / 2, h / 2 + 0.3 * h, lever / 2, h / 2 + 0.3 * h + 0.06 * h + 4)
        return s
    if kind == "wafer_check":
        s.rect(-x, -h / 2, x, h / 2)
        s.line((-x, h / 2), (x, 0.0))
        s.line((-x, -h / 2), (x, 0.0))
        return s
    if kind == "strainer":
        bh = 1.2 * d + 10
        s.rect(-x, -bh / 2, x, bh / 2)
        leg_len = 0.9 * d + 30
        screen = Shape()
        screen.rect(0.0, -0.45 * d - 5, leg_len, 0.45 * d + 5)
        screen.rect(leg_len, -0.35 * d - 3, leg_len + 0.15 * d + 6, 0.35 * d + 3)
        screen.line((0.0, 0.3 * d), (leg_len, 0.3 * d), HIDDEN)
        screen.line((0.0, -0.3 * d), (leg_len, -0.3 * d), HIDDEN)
        s.add(screen, -45.0, 0.0, -bh / 2 + 2)
        return s
    if kind == "safety":
        # An angle valve: inlet from below, outlet to the right, spring bonnet above.
        s = Shape()
        half = 0.6 * d + 40
        bh = 1.3 * d + 16
        s.polyline([(0.0, 0.0), (-bh / 2, -half), (bh / 2, -half)], closed=True)
        s.polyline([(0.0, 0.0), (half, bh / 2), (half, -bh / 2)], closed=True)
        bw = 0.7 * d + 16
        s.rect(-bw / 2, bh / 4, bw / 2, bh / 4 + 1.2 * d + 40)
        zig = [(0.0, bh / 4 + 6)]
        steps = 6
        for k in range(1, steps):
            zig.append(((-1) ** k * bw * 0.3, bh / 4 + 6 + k * (1.2 * d + 28) / steps))
        zig.append((0.0, bh / 4 + 1.2 * d + 34))
        s.polyline(zig)
        return s
    # The bow-tie.
    s.polyline([(-x, h / 2), (x, -h / 2), (x, h / 2), (-x, -h / 2)], closed=True)
    top = h / 2
    if kind in ("gate", "globe", "prv", "level", "motor"):
        stem = top + 0.35 * length
        s.line((0.0, 0.0), (0.0, stem))
        if kind == "motor":
            bw = 0.8 * length
            s.rect(-bw / 2, stem, bw / 2, stem + 0.5 * bw)
            mh = 0.3 * bw
            my = stem + 0.25 * bw - mh / 2
            s.polyline([(-mh / 2, my), (-mh / 2, my + mh), (0.0, my + mh / 2), (mh / 2, my + mh),
                        (mh / 2, my)])
        elif kind == "prv":
            s.arc((0.0, stem), 0.35 * length, 0.0, 180.0)
            s.line((-0.35 * length, stem), (0.35 * length, stem))
        else:
            wheel = 0.6 * length
            s.line((-wheel / 2, stem), (wheel / 2, stem))
    if kind == "globe":
        s.circle((0.0, 0.0), 0.12 * h)
    if kind == "ball":
        s.circle((0.0, 0.0), 0.28 * h)
        lever = 1.6 * length
        s.line((0.0, top), (0.0, top + 0.15 * length))
        s.rect(-0.1 * length, top + 0.15 * length, lever, top + 0.15 * length + 0.08 * h + 3)
    if kind in ("check", "check_lift"):
        # The flow arrow below the body.
        y = -top - 0.2 * h
        s.line((-x, y), (x, y))
        s.polyline([(x - 0.25 * x, y + 0.06 * h + 2), (x, y), (x - 0.25 * x, y - 0.06 * h - 2)])
    if kind == "level":
        s.line((0.0, top + 0.35 * length), (0.9 * length, top + 0.35 * length))
        s.line((0.9 * length, top + 0.35 * length), (0.9 * length, -top - 0.3 * length))
        s.circle((0.9 * length, -top - 0.3 * length - 0.2 * length), 0.2 * length)
    return s


# -- flexible and expansion joints -------------------------------------------
def _flex_end(s, c, ends, x_face, sign):
    """An end of a flexible joint at x = sign * x_face; returns the inner x of the end piece."""
    d = c.m
    if ends == "flange":
        od, t, pcd = flange_dims(d, "10K", c.nm)
        s.rect(sign * x_face, -od / 2, sign * (x_face - t), od / 2)
        return x_face - t
    hw = 1.35 * d + 10
    hl = 0.35 * d + 12
    s.rect(sign * x_face, -hw / 2, sign * (x_face - hl), hw / 2)
    s.line((sign * (x_face - hl / 2), hw / 2), (sign * (x_face - hl / 2), -hw / 2))
    return x_face - hl


def flex(c, kind="bellows", ends="union", length=300.0):
    """A flexible joint of overall `length`: stainless bellows, a rubber
    sphere (one or two) or a sleeve expansion joint."""
    d = c.m
    s = Shape()
    half = length / 2
    inner = _flex_end(s, c, ends, half, 1.0)
    _flex_end(s, c, ends, half, -1.0)
    if kind == "bellows":
        pitch = max(4.0, 0.12 * d)
        n = max(2, int((2 * inner) // pitch))
        pitch = 2 * inner / n
        for k in range(n):
            cx = -inner + pitch * (k + 0.5)
            s.arc((cx, d / 2 + 2), pitch / 2, 0.0, 180.0)
            s.arc((cx, -d / 2 - 2), pitch / 2, 180.0, 0.0)
        s.line((-inner, d / 2 + 2), (-inner, -d / 2 - 2), HIDDEN)
        s.line((inner, d / 2 + 2), (inner, -d / 2 - 2), HIDDEN)
    elif kind in ("sphere", "sphere2"):
        count = 2 if kind == "sphere2" else 1
        span = 2 * inner / count
        for k in range(count):
            x0 = -inner + k * span
            xm = x0 + span / 2
            bulge = 0.25 * d + 10
            chord = span / 2
            r = (chord * chord + bulge * bulge) / (2 * bulge)
            a = math.degrees(math.asin(min(1.0, chord / r)))
            y0 = d / 2 + bulge - r
            s.arc((xm, y0), r, 90.0 - a, 90.0 + a)
            s.arc((xm, -y0), r, 270.0 - a, 270.0 + a)
            if count == 2 and k == 0:
                s.rect(x0 + span - 3, -d / 2 - 6, x0 + span + 3, d / 2 + 6)
    else:  # sleeve expansion joint(s)
        count = 2 if kind == "sleeve2" else 1
        bw = 1.3 * d + 20
        if count == 1:
            s.rect(-inner, -bw / 2, inner * 0.3, bw / 2)
            s.line((inner * 0.3, d / 2), (inner, d / 2))
            s.line((inner * 0.3, -d / 2), (inner, -d / 2))
            s.line((-inner * 0.2, d / 2), (inner * 0.3, d / 2), HIDDEN)
            s.line((-inner * 0.2, -d / 2), (inner * 0.3, -d / 2), HIDDEN)
        else:
            s.rect(-inner * 0.5, -bw / 2, inner * 0.5, bw / 2)
            for sign in (1.0, -1.0):
                s.line((sign * inner * 0.5, d / 2), (sign * inner, d / 2))
                s.line((sign * inner * 0.5, -d / 2), (sign * inner, -d / 2))
                s.line((sign * inner * 0.1, d / 2), (sign * inner * 0.5, d / 2), HIDDEN)
                s.line((sign * inner * 0.1, -d / 2), (sign * inner * 0.5, -d / 2), HIDDEN)
            s.rect(-inner * 0.5 - 10, bw / 2, inner * 0.5 + 10, bw / 2 + 12)
    centre_line(s, (-half, 0.0), (half, 0.0))
    return s


# -- round duct accessories -------------------------------------------------
def duct_damper(c, kind="volume"):
    """A duct sleeve carrying a damper blade: a volume damper with its
    handle, or a check (backdraft) damper hinged at the top."""
    j, d = c.j, c.m
    body = j.body(d)
    length = max(300.0, 0.6 * d + 150)
    half = length / 2
    s = Shape()
    e = j.end(d)
    leg(s, d, body, e, half, 0.0)
    leg(s, d, body, e, half, 180.0)
    if kind == "volume":
        a = math.radians(60.0)
        s.line((-body / 2 * math.cos(a) * 0.3, -body / 2 * 0.95),
               (body / 2 * math.cos(a) * 0.3, body / 2 * 0.95), HIDDEN)
        s.line((0.0, body / 2), (0.0, body / 2 + 60.0))
        s.rect(-40.0, body / 2 + 60.0, 40.0, body / 2 + 75.0)
        s.circle((0.0, body / 2 + 30.0), 8.0)
    else:
        s.line((0.0, body / 2 * 0.95), (0.25 * body, -body / 2 * 0.9), HIDDEN)
        s.circle((0.0, body / 2 * 0.95), 5.0)
        s.line((-0.3 * half, -body / 2 - 25.0), (0.3 * half, -body / 2 - 25.0))
        s.polyline([(0.3 * half - 15.0, -body / 2 - 17.0), (0.3 * half, -body / 2 - 25.0),
                    (0.3 * half - 15.0, -body / 2 - 33.0)])
    centre_line(s, (-half, 0.0), (half, 0.0))
    return s


KINDS = {
    "elbow": elbow,
    "tee": tee,
    "y": y_branch,
    "reducer": reducer,
    "socket": socket,
    "nipple": nipple,
    "cap": cap,
    "flange": flange_joint,
    "straight": straight,
    "faucet_elbow": faucet_elbow,
    "adapter": adapter,
    "cleanout_bend": cleanout_bend,
    "valve": valve,
    "flex": flex,
    "damper": duct_damper,
}


def draw(part, joint, m, b, nominal_m, nominal_b, **params):
    """The drawing of one part: `part` (a key of KINDS) of the joint family
    `joint`, for main / branch outside diameters m / b."""
    return KINDS[part](Ctx(joint, m, b, nominal_m, nominal_b), **params)
