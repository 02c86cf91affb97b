#!/usr/bin/env python3
"""Fails when the source folders' includes form a circle or reach up a floor.

Each folder under src/ is a unit (platform/* and check/finders count apart, their
sub-folders with them). A unit may include its own headers and those of units on its
floor or below; units on one floor may use each other, but never in a circle.
"""
import os
import re
import sys

# Floors, highest first: the composition root, the features, the dialogs, the shared
# form pieces and commands, the engine view and the desktop services, and the libraries
# without a GUI (the page as a file, page text and CSS, transfer, pictures), which may
# use each other but never in a circle.
FLOORS = [
    ["app"],
    ["source", "check", "insert", "styles", "publish"],
    ["dialogs"],
    ["widgets", "commands"],
    ["platform/desktop", "platform/editing", "platform/browsing", "platform/effects"],
    ["document", "platform/markup", "check/finders", "transfer", "pictures", "fragments"],
]
RANK = {unit: len(FLOORS) - i for i, floor in enumerate(FLOORS) for unit in floor}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def unit_of(path):
    parts = path.split("/")[:-1]
    if not parts:
        return ""
    if parts[0] == "platform" and len(parts) > 1 and f"platform/{parts[1]}" in RANK:
        return f"platform/{parts[1]}"
    if parts[:2] == ["check", "finders"]:
        return "check/finders"
    return parts[0]


def main(src):
    edges = {}
    upward = []
    for root, _, files in os.walk(src):
        for name in files:
            if not name.endswith((".h", ".cpp")):
                continue
            rel = os.path.relpath(os.path.join(root, name), src)
            unit = unit_of(rel)
            with open(os.path.join(root, name), encoding="utf-8") as f:
                for header in INCLUDE.findall(f.read()):
                    if not os.path.exists(os.path.join(src, header)):
                        continue  # a header beside the file, or generated
                    target = unit_of(header)
                    if target == unit:
                        continue
                    edges.setdefault(unit, {}).setdefault(target, rel)
                    if RANK.get(target, 0) > RANK.get(unit, len(FLOORS) + 1):
                        upward.append(f"{rel} ({unit}) includes {header} ({target}): a floor up")
    # Circles: a unit that reaches itself again.
    circles = []
    for start in sorted(edges):
        stack, seen = [(start, [start])], set()
        while stack:
            unit, trail = stack.pop()
            for target in edges.get(unit, {}):
                if target == start:
                    circles.append(" -> ".join(trail + [start]))
                elif target not in seen:
                    seen.add(target)
                    stack.append((target, trail + [target]))
    problems = upward + [f"circle: {c} (first: {edges[c.split(' -> ')[0]][c.split(' -> ')[1]]})"
                         for c in sorted(set(circles))]
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../src")))
