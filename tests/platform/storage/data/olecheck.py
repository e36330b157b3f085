# Lists a compound file with Debian's olefile: one line per element
# ("S path size fnv1a" for streams, "D path" for storages), then "TREE OK" when every
# storage's children form a red-black tree in the format's name order.
import sys

import olefile


def fnv(data):
    h = 0x811C9DC5
    for b in data:
        h = ((h ^ b) * 0x01000193) & 0xFFFFFFFF
    return h


def key(name):
    return (len(name), name.upper())


def check_tree(ole, sid, bad):
    entries = ole.direntries
    root = entries[sid].sid_child
    if root == olefile.NOSTREAM:
        return
    if entries[root].color != 1:
        bad.append("red root under %d" % sid)
    heights = set()
    order = []

    def visit(x, blacks, parent_red):
        if x == olefile.NOSTREAM:
            heights.add(blacks)
            return
        e = entries[x]
        red = e.color == 0
        if red and parent_red:
            bad.append("red-red at %s" % e.name)
        visit(e.sid_left, blacks + (0 if red else 1), red)
        order.append(key(e.name))
        visit(e.sid_right, blacks + (0 if red else 1), red)

    visit(root, 0, False)
    if len(heights) != 1:
        bad.append("black heights %s under %d" % (sorted(heights), sid))
    if order != sorted(order) or len(set(order)) != len(order):
        bad.append("order under %d" % sid)


sys.setrecursionlimit(100000)
ole = olefile.OleFileIO(sys.argv[1])
for path in ole.listdir(streams=True, storages=True):
    name = "/".join(path)
    if ole.get_type(path) == olefile.STGTY_STREAM:
        data = ole.openstream(path).read()
        print("S %s %d %08x" % (name, len(data), fnv(data)))
    else:
        print("D %s" % name)
bad = []
for sid, e in enumerate(ole.direntries):
    if e is not None and e.entry_type in (olefile.STGTY_STORAGE, olefile.STGTY_ROOT):
        check_tree(ole, sid, bad)
print("TREE OK" if not bad else "TREE BAD " + "; ".join(bad[:5]))
