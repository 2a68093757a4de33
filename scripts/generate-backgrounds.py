#!/usr/bin/env python3
"""Generates the five built-in background pictures (love, rain, sky, charm, flower).

The pictures are drawn with ImageMagick (`convert`) from shapes placed by a seeded random
generator, so running the script again reproduces the same pictures. Usage:

    scripts/generate-backgrounds.py [OUTPUT_FOLDER]   # default: resources/backgrounds
"""

import math
import os
import random
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 1920, 1080
JPEG_OPTIONS = ["-strip", "-sampling-factor", "4:2:0", "-quality", "84"]


def run(*args):
    subprocess.run(["convert", *args], check=True)


def gradient(path, corners):
    """A smooth four-corner gradient: top-left, top-right, bottom-left, bottom-right."""
    tl, tr, bl, br = corners
    points = f"0,0 {tl} {WIDTH - 1},0 {tr} 0,{HEIGHT - 1} {bl} {WIDTH - 1},{HEIGHT - 1} {br}"
    run("-size", f"{WIDTH}x{HEIGHT}", "xc:", "-sparse-color", "Bilinear", points, path)


def layer(path, mvg, blur=0.0, clear="#ffffff00"):
    """Shapes drawn on a transparent layer, optionally softened. The transparent pixels carry
    the colour `clear`, which blurred edges fade into (black would leave dark halos)."""
    args = ["-size", f"{WIDTH}x{HEIGHT}", f"xc:{clear}", "-draw", mvg]
    if blur > 0:
        args += ["-channel", "RGBA", "-blur", f"0x{blur}"]
    run(*args, path)


def soften_onto(base, mvg, blur):
    """Shapes drawn onto the opaque base, then the whole picture blurred: out-of-focus shapes
    without the dark fringes that blurring a transparent layer leaves."""
    run(base, "-draw", mvg, "-blur", f"0x{blur}", base)


def compose(output, base, layers, extra=()):
    args = [base]
    for path, mode in layers:
        args += [path, "-compose", mode, "-composite"]
    run(*args, *extra, *JPEG_OPTIONS, output)


def heart(x, y, size, rotation):
    # A heart about its centre, point down, in units of `size`.
    return (
        f"push graphic-context translate {x:.1f},{y:.1f} rotate {rotation:.1f} scale {size:.1f},{size:.1f}\n"
        "path 'M 0,0.3 C -0.1,0.2 -0.5,0 -0.5,-0.25 C -0.5,-0.5 -0.15,-0.55 0,-0.3 "
        "C 0.15,-0.55 0.5,-0.5 0.5,-0.25 C 0.5,0 0.1,0.2 0,0.3 Z'\n"
        "pop graphic-context\n"
    )


def love(folder, work):
    rng = random.Random(14)
    base = os.path.join(work, "love-base.png")
    gradient(base, ("#ff6f91", "#ff9671", "#d65db1", "#ffc75f"))
    soft, sharp = [], []
    for _ in range(26):
        colour = rng.choice(["#ffffff", "#ffe0ec", "#ffd6a5"])
        soft.append(f"fill {colour} fill-opacity {rng.uniform(0.12, 0.3):.2f}\n")
        soft.append(heart(rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT), rng.uniform(120, 320),
                          rng.uniform(-25, 25)))
    for _ in range(40):
        sharp.append(f"fill #ffffff fill-opacity {rng.uniform(0.35, 0.75):.2f}\n")
        sharp.append(heart(rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT), rng.uniform(24, 70),
                           rng.uniform(-30, 30)))
    sharp_path = os.path.join(work, "love-sharp.png")
    soften_onto(base, "".join(soft), blur=18)
    layer(sharp_path, "".join(sharp), blur=1.2)
    compose(os.path.join(folder, "love.jpg"), base, [(sharp_path, "over")])


def rain(folder, work):
    rng = random.Random(7)
    base = os.path.join(work, "rain-base.png")
    gradient(base, ("#16222a", "#2c3e50", "#1f4e5f", "#3a6073"))
    lights = []
    for _ in range(45):
        colour = rng.choice(["#ffb347", "#7fdbff", "#f7d794", "#a29bfe", "#55efc4"])
        radius = rng.uniform(30, 110)
        x, y = rng.uniform(0, WIDTH), rng.uniform(HEIGHT * 0.25, HEIGHT)
        lights.append(f"fill {colour} fill-opacity {rng.uniform(0.15, 0.4):.2f}\n")
        lights.append(f"circle {x:.1f},{y:.1f} {x + radius:.1f},{y:.1f}\n")
    streaks = ["stroke-linecap round\n"]
    for _ in range(900):
        x, y = rng.uniform(-100, WIDTH), rng.uniform(-100, HEIGHT)
        length = rng.uniform(30, 110)
        streaks.append(f"stroke #dfe9f3 stroke-opacity {rng.uniform(0.12, 0.45):.2f} "
                       f"stroke-width {rng.uniform(1.0, 2.6):.1f}\n")
        streaks.append(f"line {x:.1f},{y:.1f} {x + length * 0.22:.1f},{y + length:.1f}\n")
    lights_path = os.path.join(work, "rain-lights.png")
    streaks_path = os.path.join(work, "rain-streaks.png")
    layer(lights_path, "".join(lights), blur=22)
    layer(streaks_path, "".join(streaks), blur=0.8)
    compose(os.path.join(folder, "rain.jpg"), base,
            [(lights_path, "screen"), (streaks_path, "over")])


def sky(folder, work):
    base = os.path.join(work, "sky-base.png")
    gradient(base, ("#2f80ed", "#56a0f0", "#a8d8ff", "#e0f2ff"))
    # Clouds: fractal noise at a quarter of the size, thresholded softly into a white mask.
    mask = os.path.join(work, "sky-mask.png")
    run("-size", f"{WIDTH // 4}x{HEIGHT // 4}", "-seed", "21", "plasma:fractal",
        "-colorspace", "gray", "-blur", "0x6", "-auto-level", "-level", "42%,82%",
        "-resize", f"{WIDTH}x{HEIGHT}!", "-blur", "0x3", mask)
    clouds = os.path.join(work, "sky-clouds.png")
    run("-size", f"{WIDTH}x{HEIGHT}", "xc:white", mask, "-alpha", "off",
        "-compose", "copy_opacity", "-composite", clouds)
    compose(os.path.join(folder, "sky.jpg"), base, [(clouds, "over")])


def charm(folder, work):
    rng = random.Random(3)
    base = os.path.join(work, "charm-base.png")
    gradient(base, ("#0f0c29", "#302b63", "#24243e", "#141e30"))
    waves = ["fill none\n"]
    for colour, phase, height, width in [("#00f5a0", 0.0, 0.42, 90), ("#00d9f5", 1.3, 0.52, 70),
                                         ("#c471f5", 2.4, 0.62, 80), ("#fa71cd", 3.7, 0.35, 50)]:
        points = []
        for step in range(0, WIDTH + 41, 40):
            y = HEIGHT * height + 120 * math.sin(step / 310.0 + phase) + 50 * math.sin(step / 97.0)
            points.append(f"{step:.0f},{y:.1f}")
        waves.append(f"stroke {colour} stroke-opacity 0.55 stroke-width {width}\n")
        waves.append("polyline " + " ".join(points) + "\n")
    stars = []
    for _ in range(220):
        x, y, r = rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT), rng.uniform(0.8, 2.4)
        stars.append(f"fill #ffffff fill-opacity {rng.uniform(0.3, 0.9):.2f}\n")
        stars.append(f"circle {x:.1f},{y:.1f} {x + r:.1f},{y:.1f}\n")
    waves_path = os.path.join(work, "charm-waves.png")
    stars_path = os.path.join(work, "charm-stars.png")
    layer(waves_path, "".join(waves), blur=40)
    layer(stars_path, "".join(stars), blur=0.6)
    compose(os.path.join(folder, "charm.jpg"), base,
            [(stars_path, "over"), (waves_path, "screen")])


def blossom(x, y, size, rotation, petal, centre, opacity):
    petals = "".join(
        f"push graphic-context rotate {angle} ellipse 0,{-size * 0.55:.1f} {size * 0.32:.1f},"
        f"{size * 0.5:.1f} 0,360 pop graphic-context\n" for angle in range(0, 360, 72))
    return (f"push graphic-context translate {x:.1f},{y:.1f} rotate {rotation:.1f}\n"
            f"fill {petal} fill-opacity {opacity:.2f}\n{petals}"
            f"fill {centre} fill-opacity {min(1.0, opacity + 0.2):.2f}\n"
            f"circle 0,0 {size * 0.22:.1f},0\npop graphic-context\n")


def flower(folder, work):
    rng = random.Random(5)
    base = os.path.join(work, "flower-base.png")
    gradient(base, ("#fbd3e9", "#bb377d", "#a1c4fd", "#c2e9fb"))
    far, near = [], []
    for _ in range(30):
        far.append(blossom(rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT), rng.uniform(90, 200),
                           rng.uniform(0, 72), rng.choice(["#ffffff", "#ffe3f1", "#fff5c0"]),
                           "#ffd166", rng.uniform(0.25, 0.45)))
    for _ in range(22):
        near.append(blossom(rng.uniform(0, WIDTH), rng.uniform(0, HEIGHT), rng.uniform(40, 95),
                            rng.uniform(0, 72), rng.choice(["#ffffff", "#ffc6e0", "#fde2ff"]),
                            "#ffb703", rng.uniform(0.7, 0.9)))
    near_path = os.path.join(work, "flower-near.png")
    soften_onto(base, "".join(far), blur=14)
    layer(near_path, "".join(near), blur=1.0)
    compose(os.path.join(folder, "flower.jpg"), base, [(near_path, "over")])


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "backgrounds")
    os.makedirs(folder, exist_ok=True)
    only = sys.argv[2:] or ["love", "rain", "sky", "charm", "flower"]
    with tempfile.TemporaryDirectory() as work:
        for name in only:
            globals()[name](folder, work)
            print(os.path.join(folder, name + ".jpg"))


if __name__ == "__main__":
    main()
