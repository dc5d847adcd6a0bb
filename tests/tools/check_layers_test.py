#!/usr/bin/env python3
"""The layer check against small trees of its own: it must see each kind of break."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import check_layers  # noqa: E402


class Tree:
    """A project folder of a few files, each given as {path: includes}."""

    def __init__(self, files, record=""):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        for path, includes in files.items():
            full = os.path.join(self.root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as text:
                text.write("#pragma once\n" if path.endswith(".h") else "")
                text.writelines(f'#include "{name}"\n' for name in includes)
        os.makedirs(os.path.join(self.root, "tools"), exist_ok=True)
        with open(os.path.join(self.root, "tools", "include_circles.txt"), "w", encoding="utf-8") as text:
            text.write(record)

    def problems(self):
        try:
            return check_layers.check(self.root)
        finally:
            self.folder.cleanup()


# runtime/a and chart/b, each a header and a source, including downward only.
LAYERED = {
    "src/runtime/a.h": [],
    "src/runtime/a.cpp": ["tarvela/runtime/a.h"],
    "src/chart/b.h": ["tarvela/runtime/a.h"],
    "src/chart/b.cpp": ["tarvela/chart/b.h", "<vector>"],
    "src/app/main.cpp": ["app/c.h", "tarvela/chart/b.h"],
    "src/app/c.h": [],
    "src/widgets/w.h": [],
    "tests/chart/b_test.cpp": ["tarvela/chart/b.h", "b_support.h"],
}


class CheckLayers(unittest.TestCase):
    def test_a_tree_that_keeps_its_layers_passes(self):
        self.assertEqual(Tree(LAYERED).problems(), [])

    def test_an_include_into_a_higher_layer_is_named_with_its_line(self):
        files = dict(LAYERED, **{"src/chart/b.cpp": ["tarvela/chart/b.h", "tarvela/widgets/w.h"]})
        self.assertEqual(Tree(files).problems(),
                         ["src/chart/b.cpp:2: includes tarvela/widgets/w.h, but widgets/ builds above chart/"])
        files = dict(LAYERED, **{"src/runtime/a.cpp": ["tarvela/runtime/a.h", "app/c.h"]})
        self.assertEqual(Tree(files).problems(), ["src/runtime/a.cpp:2: includes app/c.h, but app/ builds above runtime/"])

    def test_two_concerns_including_each_other_fail_unless_the_include_is_recorded(self):
        files = dict(LAYERED, **{
            "src/chart/d.h": [],
            "src/chart/d.cpp": ["tarvela/chart/d.h", "tarvela/chart/b.h"],
            "src/chart/b.cpp": ["tarvela/chart/b.h", "tarvela/chart/d.h"],
        })
        problems = Tree(files).problems()
        self.assertEqual(len(problems), 1)
        self.assertIn("concerns include each other (chart/b chart/d)", problems[0])
        self.assertIn("src/chart/b.cpp:2 includes tarvela/chart/d.h", problems[0])
        self.assertIn("src/chart/d.cpp:2 includes tarvela/chart/b.h", problems[0])

        self.assertEqual(Tree(files, "# why\nsrc/chart/d.cpp tarvela/chart/b.h\n").problems(), [])
        # Gone from the code, the record fails: it may only say what the code does.
        files["src/chart/b.cpp"] = ["tarvela/chart/b.h"]
        problems = Tree(files, "src/chart/d.cpp tarvela/chart/b.h\n").problems()
        self.assertEqual(len(problems), 1)
        self.assertIn("tools/include_circles.txt:1:", problems[0])
        self.assertIn("closes no circle", problems[0])

    def test_a_circle_through_headers_and_others_is_found(self):
        files = dict(LAYERED, **{
            "src/chart/d.h": ["tarvela/chart/e.h"],
            "src/chart/e.h": [],
            "src/chart/e.cpp": ["tarvela/chart/e.h", "tarvela/chart/f.h"],
            "src/chart/f.h": [],
            "src/chart/f.cpp": ["tarvela/chart/f.h", "tarvela/chart/d.h"],
        })
        problems = Tree(files).problems()
        self.assertEqual(len(problems), 1)
        self.assertIn("(chart/d chart/e chart/f)", problems[0])

    def test_engine_headers_are_named_with_the_prefix_everywhere(self):
        files = dict(LAYERED, **{"tests/chart/b_test.cpp": ["chart/b.h"], "src/app/main.cpp": ["tarvela/app/c.h"]})
        problems = Tree(files).problems()
        self.assertIn("tests/chart/b_test.cpp:1: includes chart/b.h; an engine header is included as "
                      "tarvela/chart/b.h", problems)
        self.assertIn("src/app/main.cpp:1: includes tarvela/app/c.h; the program's headers are included as app/c.h",
                      problems)
        self.assertEqual(len(problems), 2)

    def test_a_folder_the_order_does_not_know_fails(self):
        files = dict(LAYERED, **{"src/extra/x.cpp": []})
        self.assertEqual(Tree(files).problems(), ["src/extra/ is no layer the check knows; give it its place in LAYERS"])


if __name__ == "__main__":
    unittest.main()
