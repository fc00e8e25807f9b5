#!/usr/bin/env python3
"""Cuts the shorelines of the Adriatic out of GMT's GSHHG data and writes them as the
compact polygon file the demo server draws its chart tiles from.

Needs Debian's gmt and gmt-gshhg-full (only here, never for building or testing):
    apt-get install gmt gmt-gshhg-full
    tools/coastline/extract.py tools/demoserver/data/adriatic.coast

GMT hands out the shorelines cut into 1-degree bins; the pieces are joined again here.
Sea shores (level 1) become land polygons, closed along the edge of the box where the
mainland leaves it; lakes (level 2) that lie wholly inside the box are kept as water.

File layout (little-endian): "BCST", version u8 (1), then the box west, south, east,
north as i32 in 1e-5 degrees, a u32 polygon count, and per polygon a level u8, a point
count (varint) and the points as zigzag varints of longitude and latitude in 1e-5
degrees, the first absolute and the rest as differences to the point before.
"""
import re
import struct
import subprocess
import sys

WEST, SOUTH, EAST, NORTH = 10.5, 39.0, 21.0, 47.0
SCALE = 100000


def read_segments():
    text = subprocess.run(
        ["gmt", "coast", f"-R{WEST}/{EAST}/{SOUTH}/{NORTH}", "-Df", "-W", "-M", "-A0/1/2"],
        check=True, capture_output=True, text=True).stdout
    segments = []
    for line in text.splitlines():
        if line.startswith(">"):
            level = int(re.search(r"Level (\d+)", line).group(1))
            segments.append((level, []))
        elif line.strip():
            x, y = line.split()[:2]
            segments[-1][1].append((round(float(x) * SCALE), round(float(y) * SCALE)))
    return [(level, pts) for level, pts in segments if len(pts) > 1]


def join(pieces):
    """Joins pieces whose end is another's start, until none is left to join."""
    chains = [list(p) for p in pieces]
    while True:
        starts = {c[0]: i for i, c in enumerate(chains) if c[0] != c[-1]}
        for i, c in enumerate(chains):
            j = starts.get(c[-1]) if c[0] != c[-1] else None
            if j is not None and j != i:
                chains[i] = c + chains[j][1:]
                del chains[j]
                break
        else:
            return chains


def perimeter_position(p):
    """Distance along the box edge, counter-clockwise from its south-west corner."""
    w, s, e, n = (round(v * SCALE) for v in (WEST, SOUTH, EAST, NORTH))
    x, y = p
    if y == s:
        return x - w
    if x == e:
        return (e - w) + (y - s)
    if y == n:
        return (e - w) + (n - s) + (e - x)
    if x == w:
        return 2 * (e - w) + (n - s) + (n - y)
    raise ValueError(f"open shore ends inside the box at {p}")


def close_along_box(open_chains):
    """Land lies left of a shore, so the box edge is followed counter-clockwise from
    where a shore leaves the box to where the next one enters it."""
    w, s, e, n = (round(v * SCALE) for v in (WEST, SOUTH, EAST, NORTH))
    perimeter = 2 * ((e - w) + (n - s))
    corners = [(0, (w, s)), (e - w, (e, s)), ((e - w) + (n - s), (e, n)), (2 * (e - w) + (n - s), (w, n))]
    left = list(range(len(open_chains)))
    polygons = []
    while left:
        first = left.pop(0)
        ring = list(open_chains[first])
        while True:
            here = perimeter_position(ring[-1])
            candidates = [first] + left
            nxt = min(candidates, key=lambda k: (perimeter_position(open_chains[k][0]) - here) % perimeter)
            target = perimeter_position(open_chains[nxt][0])
            for pos, corner in sorted(corners, key=lambda c: (c[0] - here) % perimeter):
                if 0 < (pos - here) % perimeter < (target - here) % perimeter:
                    ring.append(corner)
            if nxt == first:
                ring.append(ring[0])
                break
            left.remove(nxt)
            ring += open_chains[nxt]
        polygons.append(ring)
    return polygons


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return bytes(out)


def zigzag(value):
    return (value << 1) ^ (value >> 63)


def main():
    segments = read_segments()
    polygons = []
    for level in (1, 2):
        chains = join(pts for lv, pts in segments if lv == level)
        closed = [c for c in chains if c[0] == c[-1]]
        opened = [c for c in chains if c[0] != c[-1]]
        if level == 1:
            closed += close_along_box(opened)
        polygons += [(level, c) for c in closed]

    out = bytearray(b"BCST")
    out += struct.pack("<B4iI", 1, *(round(v * SCALE) for v in (WEST, SOUTH, EAST, NORTH)), len(polygons))
    points = 0
    for level, ring in polygons:
        ring = [p for i, p in enumerate(ring) if i == 0 or p != ring[i - 1]]
        out += struct.pack("<B", level) + varint(len(ring))
        px, py = 0, 0
        for x, y in ring:
            out += varint(zigzag(x - px)) + varint(zigzag(y - py))
            px, py = x, y
        points += len(ring)
    with open(sys.argv[1], "wb") as f:
        f.write(out)
    print(f"{len(polygons)} polygons, {points} points, {len(out)} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
