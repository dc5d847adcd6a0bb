#!/usr/bin/env python3
"""The computed layers as --csv and --json write them, read back with Python's own CSV
and JSON readers, against the chart's points (--points) to the last bit, and the error
norms of --errors against the same norms computed here from the JSON layers, for two
exponents. Run by CTest with the program as the argument."""
import csv
import io
import json
import math
import struct
import subprocess
import sys

PROGRAM = sys.argv[1]


def run(*args):
    return subprocess.run([PROGRAM, *args], check=True, capture_output=True, text=True).stdout


def check(sigma):
    base = ["--sigma", sigma, "--second", "0"]
    rows = list(csv.reader(io.StringIO(run(*base, "--csv", "-"), newline="")))
    doc = json.loads(run(*base, "--json", "-"))
    points = [line.split() for line in run(*base, "--points", "-").splitlines()]

    layers = doc["grid"]["layers"]
    assert rows[0] == ["x"] + [f"u{k}" for k in range(layers)] + [f"y{layers - 1}"], rows[0]
    table = [[float(v) for v in row] for row in rows[1:]]
    nodes = doc["grid"]["nodes"]
    assert len(table) == nodes == len(doc["x"]), (len(table), nodes)
    column = lambda c: [row[c] for row in table]

    # The JSON document holds the same numbers as the table.
    assert doc["sigma"] == float(sigma)
    assert doc["x"] == column(0)
    for k, layer in enumerate(doc["layers"]):
        assert layer["layer"] == k
        assert layer["u"] == column(1 + k), k
        assert layer["t"] == k * doc["grid"]["tau"], (k, layer["t"])
        assert layer["theta"] == doc["grid"]["t0"] + layer["t"]
        assert (layer["iterations"] == 0) == (k == 0), (k, layer["iterations"])
    assert doc["layers"][-1]["y"] == column(layers + 1)

    # The chart plots nodes 1..N: layer s in series s, and the last layer together with
    # the exact one in the last series, sorted by x there.
    by_series = {}
    for series, x, y, _colour in points:
        by_series.setdefault(int(series), []).append((float(x), float(y)))
    inner = table[1:]
    for s in range(layers - 1):
        assert by_series[s] == [(row[0], row[1 + s]) for row in inner], s
    last = sorted([(row[0], row[layers]) for row in inner] + [(row[0], row[layers + 1]) for row in inner])
    assert sorted(by_series[layers - 1]) == last


def check_errors(sigma):
    """The error table against the same norms computed here from the JSON layers."""
    base = ["--sigma", sigma, "--second", "0"]
    doc = json.loads(run(*base, "--json", "-"))
    table = list(csv.DictReader(io.StringIO(run(*base, "--errors", "-"), newline="")))
    assert len(table) == len(doc["layers"])
    h, xs = doc["grid"]["h"], doc["x"]
    for row, layer in zip(table, doc["layers"]):
        differences = [abs(u - y) for u, y in zip(layer["u"], layer["y"])]
        squares = 0.0
        for d in differences:
            squares += d * d
        assert float(row["max_error"]) == max(differences), (sigma, row)
        assert float(row["l2_error"]) == math.sqrt(h * squares), (sigma, row)
        for key, values in (("front_u", layer["u"]), ("front_y", layer["y"])):
            above = [x for x, v in zip(xs, values) if v > 1e-6]
            if above:
                assert float(row[key]) == max(above), (sigma, key, row)
            else:
                assert row[key] == "", (sigma, key, row)
        assert int(row["iterations"]) == layer["iterations"]
    assert float(table[0]["max_error"]) == 0.0, "the first layer is the exact profile"

    # The picture of the norms: a PNG of the chart's size.
    picture = subprocess.run([PROGRAM, *base, "--errors-png", "-"], check=True, capture_output=True).stdout
    assert picture[:8] == b"\x89PNG\r\n\x1a\n"
    width, height = struct.unpack(">II", picture[16:24])
    assert (width, height) == (600, 400), (width, height)


for sigma in ("1", "2"):
    check(sigma)
    check_errors(sigma)
print("CSV, JSON and the error norms agree for sigma 1 and 2")
