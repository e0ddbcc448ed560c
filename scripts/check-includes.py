#!/usr/bin/env python3
"""Checks that includes point one way.

Between folders: a folder may include only the folders below it in the
program's layering (DEPENDS lists what each folder may reach, directly or
through others). Inside a folder: the classes (a header and its source
counted as one class, named by the file) form no cycle, so that each class
can be read, tested and moved with only what lies below it.

Tests, benchmarks and fuzz harnesses sit above everything and are not
checked. Prints each fault and exits with 1 when there is any."""

import os
import re
import sys

# What each folder may include besides itself. Keep in step with the
# libraries' link lines in the CMakeLists.txt files.
DEPENDS = {
    "core": set(),
    "language": {"core"},
    "functions": {"core"},
    "kernel": {"core", "language", "functions"},
    "layout": {"core"},
    "app": {"core", "language", "functions", "kernel", "layout"},
    "toolkit": {"core"},
    # The plot: the headless tool draws charts, so no editing code here.
    "charts": {"core", "language", "functions", "kernel", "toolkit"},
    "cli": {"core", "language", "functions", "kernel", "layout", "app", "toolkit", "charts"},
    "editing": {"core", "layout", "toolkit"},
    # The one door for model edits: the kernel's program below it, the
    # work area's commands for its undo steps.
    "model": {"core", "language", "functions", "kernel", "layout", "toolkit", "editing"},
    "views": {"core", "language", "functions", "kernel", "layout", "toolkit", "editing", "model",
              "charts"},
    "desktop": {"core", "language", "functions", "kernel", "layout", "app", "toolkit", "editing",
                "model", "charts", "views"},
}

# FIXME: class pairs that still include each other both ways. The core
# objects (Object, String, Pointer) are one family that the rest builds on;
# in the kernel a table result computes its cells through the evaluatables
# that read its cache, which wants a split that keeps the per-cell path free
# of virtual calls. A folder named here is checked for new pairs only; every
# other folder must have no cycle at all.
KNOWN_PAIRS = {
    ("core", "Errors", "String"),
    ("core", "Object", "StringBuffer"),
    ("core", "Object", "String"),
    ("core", "Object", "Pointer"),
    ("core", "String", "StringBuffer"),
    ("kernel", "ResultEvaluatable", "TableResult"),
}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_]+)/([^"]+)"', re.MULTILINE)


def sources(root, folder):
    for directory, _, names in os.walk(os.path.join(root, folder)):
        for name in sorted(names):
            if name.endswith((".h", ".cpp")):
                yield os.path.join(directory, name)


def class_of(path):
    # Per class: Foo.h and Foo.cpp are one node.
    return os.path.splitext(os.path.basename(path))[0]


def tangles(graph):
    """The groups of classes that reach each other (Tarjan's strongly
    connected components with more than one class), each sorted."""
    index = {}
    low = {}
    stack = []
    on_stack = set()
    groups = []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph.get(node, ())):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            group = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                group.append(top)
                if top == node:
                    break
            if len(group) > 1:
                groups.append(sorted(group))

    for node in sorted(graph):
        if node not in index:
            visit(node)
    return groups


def class_faults(folder, graph):
    if any(known[0] == folder for known in KNOWN_PAIRS):
        return [f"{folder}/: {a} and {b} include each other"
                for a in sorted(graph) for b in sorted(graph[a])
                if a < b and a in graph.get(b, ()) and (folder, a, b) not in KNOWN_PAIRS]
    return [f"{folder}/: classes include each other in a cycle: " + ", ".join(group)
            for group in tangles(graph)]


def check(root):
    faults = []
    for folder, allowed in DEPENDS.items():
        graph = {}
        for path in sources(root, folder):
            with open(path, encoding="utf-8") as file:
                text = file.read()
            relative = os.path.relpath(path, root)
            node = class_of(path)
            graph.setdefault(node, set())
            for target_folder, target in INCLUDE.findall(text):
                if target_folder == folder:
                    other = class_of(target)
                    if other != node:
                        graph[node].add(other)
                elif target_folder in DEPENDS and target_folder not in allowed:
                    faults.append(f"{relative}: includes {target_folder}/{target}, "
                                  f"but {folder} may not depend on {target_folder}")
        faults.extend(class_faults(folder, graph))
    return faults


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(root)
    for fault in faults:
        print(fault, file=sys.stderr)
    if faults:
        return 1
    print(f"includes: {len(DEPENDS)} folders point one way")
    return 0


if __name__ == "__main__":
    sys.exit(main())
