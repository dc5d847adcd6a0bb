#!/usr/bin/env python3
"""A program of its own builds on the installed engine, as a user's would: the build is
installed into a fresh prefix, examples/library is configured with nothing but
CMAKE_PREFIX_PATH pointing there, built and run, and its pictures are checked: the chart
it builds in code decodes to its size with both series drawn, and the chart file's
picture is, byte for byte, the one `tarvela --chart FILE --png` writes.

    installed_package_test.py KIND SOURCE BUILD TARVELA COMPILER WORK

KIND (static or shared) is the kind of libraries BUILD made, which it installs; BUILD "-"
builds the engine's libraries of KIND first, alone, unoptimised and uninstrumented (the
cheapest build that is still the real one), from SOURCE beside WORK, and installs those.
"""
import os
import shutil
import struct
import subprocess
import sys
import zlib

CHART_FILES = ["line-3d-pointers.chart", "bars.chart"]
BUILT_SIZE = (480, 320)
RED, GREEN = (255, 0, 0), (0, 128, 0)  # the first two colours of the chart's palette


def run(*command, **options):
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **options)
    if result.returncode != 0:
        sys.exit(f"failed ({result.returncode}): {' '.join(command)}\n{result.stdout}")
    return result.stdout


def decode_png(path):
    """(width, height, rows of (r, g, b) pixels) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit(f"{path}: not a PNG image")
    at, idat, header = 8, b"", None
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            sys.exit(f"{path}: chunk {kind} is damaged")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit(f"{path}: depth {depth}, colour type {colour}, interlace {interlace}: not what the engine writes")
    step = 3 if colour == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        row = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = row[i - step] if i >= step else 0
            up, corner = previous[i], previous[i - step] if i >= step else 0
            if kind == 1:
                row[i] = (row[i] + left) & 255
            elif kind == 2:
                row[i] = (row[i] + up) & 255
            elif kind == 3:
                row[i] = (row[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                row[i] = (row[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(row[x:x + 3]) for x in range(0, stride, step)])
        previous = row
    return width, height, rows


def main():
    kind, source, build, tarvela, compiler, work = sys.argv[1:7]
    shutil.rmtree(work, ignore_errors=True)
    prefix = os.path.join(work, "prefix")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

    if build != "-":
        run("cmake", "--install", build, "--prefix", prefix)
    else:
        # Kept beside the work folder, so that a second run only builds what changed.
        libraries = os.path.join(os.path.dirname(work), f"{kind}-libraries")
        shared = "ON" if kind == "shared" else "OFF"
        run("cmake", "-S", source, "-B", libraries, "-G", "Ninja", f"-DBUILD_SHARED_LIBS={shared}",
            "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0", "-DTARVELA_SANITIZE=OFF",
            "-DTARVELA_TESTS=OFF", "-DTARVELA_BENCH=OFF", f"-DCMAKE_CXX_COMPILER={compiler}")
        run("cmake", "--build", libraries, "--target", "tarvela_widgets", "--parallel", "2")
        for component in ("Libraries", "Development"):
            run("cmake", "--install", libraries, "--prefix", prefix, "--component", component)

    lib = os.path.join(prefix, "lib")
    for header in ("runtime/exceptions.h", "platform/surface.h", "chart/chart.h", "chart/axes/axis.h",
                   "widgets/chart_picture.h"):
        if not os.path.isfile(os.path.join(prefix, "include", "tarvela", header)):
            sys.exit(f"include/tarvela/{header} is not installed")
    for name in ("TarvelaConfig.cmake", "TarvelaConfigVersion.cmake", "TarvelaTargets.cmake"):
        if not os.path.isfile(os.path.join(lib, "cmake", "Tarvela", name)):
            sys.exit(f"lib/cmake/Tarvela/{name} is not installed")
    suffix = ".a" if kind == "static" else ".so"
    for layer in ("runtime", "surface", "chart", "widgets"):
        if not os.path.exists(os.path.join(lib, f"libtarvela_{layer}{suffix}")):
            sys.exit(f"lib/libtarvela_{layer}{suffix} is not installed")
    if any(name.startswith("libtarvela_app") for name in os.listdir(lib)):
        sys.exit("the task program is installed as a library")
    if kind == "shared":
        # The name a program records is the major version's, which the package's version check matches.
        for layer in ("runtime", "surface", "chart", "widgets"):
            link = os.path.join(lib, f"libtarvela_{layer}.so")
            if os.readlink(link) != f"libtarvela_{layer}.so.0" or not os.path.islink(link + ".0"):
                sys.exit(f"{link}: not linked through its major version")

    consumer = os.path.join(work, "consumer")
    run("cmake", "-S", os.path.join(source, "examples", "library"), "-B", consumer, "-G", "Ninja",
        f"-DCMAKE_PREFIX_PATH={prefix}", f"-DCMAKE_CXX_COMPILER={compiler}")
    run("cmake", "--build", consumer)
    program = os.path.join(consumer, "chart_example")
    needed = run("readelf", "-d", program)
    if (kind == "shared") != ("libtarvela_widgets.so.0" in needed):
        sys.exit(f"the example is not linked to the {kind} libraries:\n{needed}")

    for name in CHART_FILES:
        chart = os.path.join(source, "examples", name)
        built, drawn, expected = (os.path.join(work, n) for n in ("built.png", name + ".png", name + ".expected.png"))
        run(program, built, chart, drawn, env=env)
        run(tarvela, "--chart", chart, "--png", expected, env=env)
        with open(drawn, "rb") as a, open(expected, "rb") as b:
            if a.read() != b.read():
                sys.exit(f"{name}: the example's picture differs from tarvela's")

    width, height, rows = decode_png(built)
    if (width, height) != BUILT_SIZE:
        sys.exit(f"the built chart is {width}x{height}, not {BUILT_SIZE[0]}x{BUILT_SIZE[1]}")
    counts = {}
    for row in rows:
        for pixel in row:
            counts[pixel] = counts.get(pixel, 0) + 1
    for colour, series in ((RED, "sine"), (GREEN, "cosine")):
        if counts.get(colour, 0) < BUILT_SIZE[0] // 2:
            sys.exit(f"the {series} is not drawn: {counts.get(colour, 0)} pixels of {colour}")
    print(f"{kind}: built chart {width}x{height}, {len(counts)} colours; "
          f"{', '.join(CHART_FILES)} as tarvela draws them")


if __name__ == "__main__":
    main()
