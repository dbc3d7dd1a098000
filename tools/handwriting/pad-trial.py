#!/usr/bin/env python3
"""Writes kanji on the real pad as a hand does and counts how often the right one comes first
and among the first five.

A virtual X server and the Openbox window manager are started, then build/tools/handwriting/
padtrial (the pupil's writing square with the recogniser of the 440 school kanji); every stroke
of handwritten-40.txt is dragged across the square with xdotool, through its key points with a
hand's wobble, each kanji a little smaller or larger and off centre as a child writes it, or
with --corner at half the square's size in one of its corners (each corner in turn).

    tools/handwriting/pad-trial.py [--build build] [--seed 1] [--corner] [strokes file]
"""
import argparse
import math
import os
import queue
import random
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def read_kanji(path):
    """[(kanji, [stroke, ...])], each stroke a list of (x, y) key points."""
    out = []
    for line in open(path, encoding="utf-8"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("= "):
            out.append((line[2:], []))
        else:
            out[-1][1].append([tuple(int(v) for v in p.split(",")) for p in line.split()])
    return out


def hand_path(keys, rng, step=7.0):
    """Points through the key points every `step` units, bent by a slow wobble."""
    phase = rng.uniform(0, math.tau)
    amplitude = rng.uniform(0.8, 2.2)
    points = []
    travelled = 0.0
    for (x0, y0), (x1, y1) in zip(keys, keys[1:]):
        length = math.hypot(x1 - x0, y1 - y0)
        n = max(1, int(length / step))
        for i in range(n):
            t = i / n
            wobble = amplitude * math.sin(phase + (travelled + t * length) / 23.0)
            nx, ny = (-(y1 - y0) / length, (x1 - x0) / length) if length else (0, 0)
            points.append((x0 + (x1 - x0) * t + nx * wobble + rng.uniform(-0.6, 0.6),
                           y0 + (y1 - y0) * t + ny * wobble + rng.uniform(-0.6, 0.6)))
        travelled += length
    points.append(keys[-1])
    return points


def free_display():
    for n in range(91, 140):
        if not os.path.exists("/tmp/.X%d-lock" % n) and not os.path.exists("/tmp/.X11-unix/X%d" % n):
            return ":%d" % n
    sys.exit("no free display")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default=os.path.join(HERE, "..", "..", "build"))
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--corner", action="store_true", help="write each kanji at half size in a corner")
    ap.add_argument("strokes", nargs="?", default=os.path.join(HERE, "handwritten-40.txt"))
    args = ap.parse_args()
    kanji = read_kanji(args.strokes)
    rng = random.Random(args.seed)

    display = free_display()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb")
    server = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wm = trial = None
    try:
        time.sleep(1.0)
        wm = subprocess.Popen(["openbox"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(1.0)
        trial = subprocess.Popen([os.path.join(args.build, "tools", "handwriting", "padtrial")], env=env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(l.strip()) for l in trial.stdout], daemon=True).start()

        def next_line(timeout=10):
            return lines.get(timeout=timeout)

        left, top, width, height = (int(v) for v in next_line().split()[1:])
        xdo = lambda *a: subprocess.run(["xdotool", *a], env=env, check=True)
        window = subprocess.run(["xdotool", "search", "--sync", "--name", "mojimaru-pad-trial"], env=env,
                                check=True, capture_output=True, text=True).stdout.split()[0]
        xdo("windowactivate", "--sync", window)

        top1 = top5 = 0
        for i, (glyph, strokes) in enumerate(kanji):
            if args.corner:
                # Half size, tucked into a corner, a little way from its edges.
                scale = 0.5
                dx = (i % 2) * 128 + rng.uniform(-4, 4)
                dy = (i // 2 % 2) * 128 + rng.uniform(-4, 4)
            else:
                # A child's kanji is rarely the size of the square nor in its middle.
                scale = rng.uniform(0.8, 1.0)
                dx = (1 - scale) * 128 * (1 + rng.uniform(-0.85, 0.85))
                dy = (1 - scale) * 128 * (1 + rng.uniform(-0.85, 0.85))

            def screen(p):
                x = min(254, max(1, p[0] * scale + dx))
                y = min(254, max(1, p[1] * scale + dy))
                return str(round(left + x * (width - 1) / 255)), str(round(top + y * (height - 1) / 255))

            shown = []
            for n, keys in enumerate(strokes, 1):
                path = [screen(p) for p in hand_path(keys, rng)]
                command = ["mousemove", *path[0], "mousedown", "1"]
                for p in path[1:]:
                    command += ["sleep", "0.004", "mousemove", *p]
                command += ["sleep", "0.02", "mouseup", "1", "sleep", "0.03"]
                xdo(*command)
                line = next_line()
                count, _, candidates = line.partition(" ")
                if int(count) != n:
                    sys.exit("%s: stroke %d read as %s" % (glyph, n, line))
                shown = candidates.split()
            rank = shown.index(glyph) + 1 if glyph in shown else 0
            top1 += rank == 1
            top5 += 1 <= rank <= 5
            print("%s %s  %s" % (glyph, ("#%d" % rank) if rank else "--", " ".join(shown)), flush=True)
            xdo("key", "Escape")
            if next_line() != "clear":
                sys.exit("the pad did not clear")
        total = len(kanji)
        print("top-1 %d/%d (%.1f %%), top-5 %d/%d (%.1f %%)" %
              (top1, total, 100.0 * top1 / total, top5, total, 100.0 * top5 / total))
    finally:
        for p in (trial, wm, server):
            if p:
                p.terminate()
                p.wait()


if __name__ == "__main__":
    main()
