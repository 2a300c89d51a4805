#!/usr/bin/env python3
"""Folder-to-folder include edges of the plug-in and any cycles between folders.

Reads every `#include "folder/..."` line under src/housebook, where folder is one of the
plug-in's subsystem folders, prints each edge with the number of includes behind it, then
the cycles found and the includes that reach up out of the layers below the widgets
(platform, then net, then sql, then services, each using only those before it). Exits 1 on
either, so it can guard the layering.

Usage: scripts/include_layers.py [source root, default src/housebook]
"""
import re
import sys
from collections import defaultdict
from pathlib import Path

# The layers that know no widgets and no pages, lowest first. Each may include only the ones
# before it: the feature services own requests, local writes and syncs for the pages above.
LOWER_LAYERS = ['platform', 'net', 'sql', 'services']
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^/"]+)/[^"]+"')


def edges_of(root):
    folders = {p.name for p in root.iterdir() if p.is_dir()}
    edges = defaultdict(int)
    for path in root.rglob('*'):
        if path.suffix not in ('.h', '.cpp') or not path.is_file():
            continue
        source = path.relative_to(root).parts[0]
        for line in path.read_text(encoding='utf-8', errors='replace').splitlines():
            match = INCLUDE.match(line)
            if match and match.group(1) in folders and match.group(1) != source:
                edges[(source, match.group(1))] += 1
    return edges


def cycles_of(edges):
    """Strongly connected components with more than one folder (Tarjan)."""
    graph = defaultdict(set)
    for a, b in edges:
        graph[a].add(b)
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for nxt in sorted(graph[node]):
            if nxt not in index:
                visit(nxt)
                low[node] = min(low[node], low[nxt])
            elif nxt in on_stack:
                low[node] = min(low[node], index[nxt])
        if low[node] == index[node]:
            component = []
            while True:
                top = stack.pop()
                on_stack.discard(top)
                component.append(top)
                if top == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    for node in sorted(set(graph) | {b for _, b in edges}):
        if node not in index:
            visit(node)
    return found


def breaches_of(edges):
    """Edges from a lower layer to anything not below it."""
    rank = {name: i for i, name in enumerate(LOWER_LAYERS)}
    return sorted((a, b) for a, b in edges
                  if a in rank and (b not in rank or rank[b] > rank[a]))


def main():
    root = Path(sys.argv[1] if len(sys.argv) > 1 else 'src/housebook')
    edges = edges_of(root)
    for (a, b), count in sorted(edges.items()):
        print(f'{a} -> {b} ({count})')
    cycles = cycles_of(edges)
    for component in cycles:
        print('cycle among: ' + ', '.join(component))
    print('no cycles' if not cycles else f'{len(cycles)} cycle(s)')
    breaches = breaches_of(edges)
    for a, b in breaches:
        print(f'{a} must not include {b}')
    return 1 if cycles or breaches else 0


if __name__ == '__main__':
    sys.exit(main())
