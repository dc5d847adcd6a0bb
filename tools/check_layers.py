#!/usr/bin/env python3
"""Checks that the includes keep the layers of src/. Run by the tests; by hand:

    tools/check_layers.py [ROOT]      # ROOT: the project folder (default: this one's parent)

Each top-level folder of src/ is a layer, built in this order:

    runtime < platform < chart < widgets < app

and the check fails, naming the file and line, when
- an include in one layer's folder points into a layer that builds above it;
- two concerns include each other, directly or round a circle of others (a concern is
  a .h with its .cpp: foo.cpp including bar.h and bar.cpp including foo.h is a circle);
- an engine header (runtime, platform, chart, widgets) is included, anywhere in src/,
  tests/, bench/ or fuzz/, by any name other than "tarvela/<folder>/<file>.h", or a
  header of the program by any name other than "app/<file>.h".

The engine has circles it was built with: mostly a part whose .cpp reaches the object
that owns it (README, "Inside the chart engine"). tools/include_circles.txt records the
includes that close them, one a line; the circles are sought without those includes,
so a new circle fails while the recorded ones stand. A recorded include that has gone,
or closes no circle any more, fails too: the record only ever says what the code does,
and it can only shrink.
"""
import os
import re
import sys
from collections import defaultdict

LAYERS = ["runtime", "platform", "chart", "widgets", "app"]
ENGINE = LAYERS[:-1]
PREFIX = "tarvela/"
SOURCES = (".h", ".cpp")
OTHER_TREES = ["tests", "bench", "fuzz", "examples"]
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


class Include:
    def __init__(self, source, line, written, target):
        self.source = source  # path of the including file, relative to src/
        self.line = line
        self.written = written  # the name as the include writes it
        self.target = target  # path relative to src/, or None when not a file of src/


def source_files(folder):
    for directory, subfolders, files in os.walk(folder):
        subfolders.sort()
        for name in sorted(files):
            if name.endswith(SOURCES):
                yield os.path.join(directory, name)


def resolve(src, including, written):
    """The file of src/ an include names, relative to src/, or None."""
    if written.startswith(PREFIX):
        candidate = written[len(PREFIX):]
    elif written.startswith("app/"):
        candidate = written
    else:
        # A name without either root: beside the including file, as the compiler looks first.
        candidate = os.path.normpath(os.path.join(os.path.dirname(including), written))
    return candidate if os.path.isfile(os.path.join(src, candidate)) else None


def read_includes(src):
    includes = []
    for path in source_files(src):
        relative = os.path.relpath(path, src)
        with open(path, encoding="utf-8", errors="replace") as text:
            for number, line in enumerate(text, 1):
                match = INCLUDE.match(line)
                if match:
                    written = match.group(1)
                    includes.append(Include(relative, number, written, resolve(src, relative, written)))
    return includes


def layer_of(path):
    return path.split(os.sep, 1)[0] if os.sep in path else None


def concern_of(path):
    return os.path.splitext(path)[0]


def check_layers(src, includes, problems):
    for folder in sorted(os.listdir(src)):
        if os.path.isdir(os.path.join(src, folder)) and folder not in LAYERS:
            problems.append(f"src/{folder}/ is no layer the check knows; give it its place in LAYERS")
    for inc in includes:
        layer = layer_of(inc.source)
        if layer not in LAYERS or inc.target is None:
            continue
        target_layer = layer_of(inc.target)
        if target_layer in LAYERS and LAYERS.index(target_layer) > LAYERS.index(layer):
            problems.append(f"src/{inc.source}:{inc.line}: includes {inc.written}, but {target_layer}/ builds "
                            f"above {layer}/")


def strongly_connected(graph):
    """The circles of graph: its strongly connected parts of more than one node."""
    index, low, on_stack, stack, parts = {}, {}, set(), [], []
    counter = 0
    for start in sorted(graph):
        if start in index:
            continue
        # Tarjan's walk without recursion: (node, its successors still to visit).
        work = [(start, iter(sorted(graph[start])))]
        index[start] = low[start] = counter
        counter += 1
        stack.append(start)
        on_stack.add(start)
        while work:
            node, successors = work[-1]
            advanced = False
            for successor in successors:
                if successor not in index:
                    index[successor] = low[successor] = counter
                    counter += 1
                    stack.append(successor)
                    on_stack.add(successor)
                    work.append((successor, iter(sorted(graph[successor]))))
                    advanced = True
                    break
                if successor in on_stack:
                    low[node] = min(low[node], index[successor])
            if advanced:
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                part = set()
                while True:
                    member = stack.pop()
                    on_stack.discard(member)
                    part.add(member)
                    if member == node:
                        break
                if len(part) > 1:
                    parts.append(frozenset(part))
    return parts


def one_circle(graph, part):
    """A shortest way round part, from its first node back to it."""
    start = min(part)
    previous = {start: None}
    queue = [start]
    for node in queue:
        for successor in sorted(graph[node]):
            if successor == start:
                way = [node]
                while previous[way[-1]] is not None:
                    way.append(previous[way[-1]])
                return [start] + list(reversed(way))[1:] + [start]
            if successor in part and successor not in previous:
                previous[successor] = node
                queue.append(successor)
    return sorted(part)


def describe(graph, part, edges):
    way = one_circle(graph, part)
    steps = [edges[(a, b)] for a, b in zip(way, way[1:])]
    return ", ".join(f"src/{inc.source}:{inc.line} includes {inc.written}" for inc in steps)


def read_record(path):
    """The recorded includes: (line of the record, including file relative to src/, name)."""
    record = []
    if not os.path.isfile(path):
        return record
    with open(path, encoding="utf-8") as text:
        for number, line in enumerate(text, 1):
            words = line.split("#", 1)[0].split()
            if len(words) == 2 and words[0].startswith("src/"):
                record.append((number, words[0][len("src/"):], words[1]))
            elif words:
                record.append((number, None, line.strip()))
    return record


def reaches(graph, start, goal):
    seen, queue = {start}, [start]
    for node in queue:
        if node == goal:
            return True
        for successor in graph[node]:
            if successor not in seen:
                seen.add(successor)
                queue.append(successor)
    return False


def concern_graph(includes):
    graph, edges = defaultdict(set), {}
    for inc in includes:
        a, b = concern_of(inc.source), concern_of(inc.target)
        if a != b:
            graph[a].add(b)
            graph.setdefault(b, set())
            edges.setdefault((a, b), inc)
    return graph, edges


def check_circles(root, includes, problems):
    name = os.path.join("tools", "include_circles.txt")
    record = read_record(os.path.join(root, name))
    recorded = {(source, written) for _, source, written in record if source is not None}
    known = [inc for inc in includes if inc.target is not None]
    everything, _ = concern_graph(known)
    rest, edges = concern_graph([inc for inc in known if (inc.source, inc.written) not in recorded])
    for part in strongly_connected(rest):
        problems.append(f"concerns include each other ({' '.join(sorted(part))}): " + describe(rest, part, edges))
    present = {(inc.source, inc.written): inc for inc in known}
    for number, source, written in record:
        where = f"{name}:{number}: "
        if source is None:
            problems.append(where + f"not 'src/FILE HEADER': {written}")
        elif not source.endswith(".cpp"):
            problems.append(where + f"src/{source} is a header; a header never closes a circle")
        elif (source, written) not in present:
            problems.append(where + f"src/{source} no longer includes {written}: the line goes")
        elif not reaches(everything, concern_of(present[(source, written)].target), concern_of(source)):
            problems.append(where + f"src/{source} including {written} closes no circle any more: the line goes")


def check_names(root, problems):
    src = os.path.join(root, "src")
    for tree in ["src"] + OTHER_TREES:
        folder = os.path.join(root, tree)
        for path in source_files(folder):
            relative = os.path.relpath(path, root)
            with open(path, encoding="utf-8", errors="replace") as text:
                for number, line in enumerate(text, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    written = match.group(1)
                    first = written.split("/", 1)[0]
                    if first in ENGINE and os.path.isfile(os.path.join(src, written)):
                        problems.append(f"{relative}:{number}: includes {written}; an engine header is "
                                        f"included as {PREFIX}{written}")
                    elif written.startswith(PREFIX + "app/"):
                        problems.append(f"{relative}:{number}: includes {written}; the program's headers are "
                                        f"included as {written[len(PREFIX):]}")


def check(root):
    problems = []
    src = os.path.join(root, "src")
    includes = read_includes(src)
    check_layers(src, includes, problems)
    check_circles(root, includes, problems)
    check_names(root, problems)
    return problems


def main(arguments):
    root = arguments[1] if len(arguments) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layers; see tools/check_layers.py")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
