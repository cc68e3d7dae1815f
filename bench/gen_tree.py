#!/usr/bin/env python3
"""Generate a reproducible tree for timing duplicate finders.

    gen_tree.py [--size small|large|million] [--seed N] DEST

DEST receives:
  tree/            the folder to search
  expected.txt     the duplicate groups built in, one group per block of
                   paths relative to tree/, blocks separated by a blank line
  marker.json      the parameters; written last, so an interrupted run is redone

Running again with the same parameters does nothing.

Content comes from one seeded random buffer, sliced at distinct offsets, so
files of equal size differ unless they are meant to be copies. Names never end
in a system-file extension, never start with a dot and never hold a tab or a
newline, so every peer tool sees the same files and their outputs stay parseable.
"""

import argparse
import json
import math
import os
import random
import shutil
import sys
import time

GENERATOR_VERSION = 1
BLOCK = 65521  # first-block size of the engine's comparison
MIB = 1 << 20

# Counts and size ranges (bytes) per tree size.
PROFILES = {
    "small": dict(
        folders=1000,
        empty=300,
        unique=14000, unique_sizes=300, unique_range=(512, 48 << 10),
        dup_groups=1200, dup_range=(1 << 10, 256 << 10),
        near_sets=150, near_range=(BLOCK, 1 * MIB),
        big_groups=20, big_range=(2 * MIB, 40 * MIB), big_lookalikes=4,
    ),
    "large": dict(
        folders=10000,
        empty=3000,
        unique=150000, unique_sizes=1500, unique_range=(256, 24 << 10),
        dup_groups=12000, dup_range=(1 << 10, 64 << 10),
        near_sets=800, near_range=(BLOCK, 512 << 10),
        big_groups=56, big_range=(2 * MIB, 40 * MIB), big_lookalikes=10,
    ),
    # The large tree five times over, with as many large files: where the memory each file
    # costs shows, and the data outgrows a small machine's page cache.
    "million": dict(
        folders=50000,
        empty=15000,
        unique=750000, unique_sizes=7500, unique_range=(256, 24 << 10),
        dup_groups=60000, dup_range=(1 << 10, 64 << 10),
        near_sets=4000, near_range=(BLOCK, 512 << 10),
        big_groups=56, big_range=(2 * MIB, 40 * MIB), big_lookalikes=10,
    ),
}

BUFFER_SIZE = 96 * MIB
EXTENSIONS = ["txt", "jpg", "png", "pdf", "doc", "mp3", "dat", "bin", "log",
              "c", "h", "csv", "xml", "zip", "odt"]
FOLDER_WORDS = ["Documents", "Photos 2019", "src", "backup", "old", "music",
                "Été", "projects", "archive", "misc", "copies", "Downloads",
                "data", "tmp work", "Фото", "reports", "lib-x", "build"]
FORBIDDEN_SUFFIXES = (".dll", ".sys", ".ocx", ".drv")


def log_uniform(rng, lo, hi):
    """Sizes spread over orders of magnitude, like real folders."""
    return int(math.exp(rng.uniform(math.log(lo), math.log(hi))))


class TreeWriter:
    def __init__(self, root, rng):
        self.root = root
        self.rng = rng
        self.buf = memoryview(rng.randbytes(BUFFER_SIZE))
        self.used = set()  # (size, offset) pairs already given out
        self.folders = []
        self.serial = 0
        self.files = 0
        self.bytes = 0

    # --- layout -----------------------------------------------------------
    def make_folders(self, count):
        """A random tree of folders, several levels deep."""
        self.folders = [""]
        depth_of = {"": 0}
        while len(self.folders) < count:
            parent = self.rng.choice(self.folders)
            if depth_of[parent] >= 8:
                continue
            name = "%s %d" % (self.rng.choice(FOLDER_WORDS), len(self.folders))
            path = os.path.join(parent, name) if parent else name
            self.folders.append(path)
            depth_of[path] = depth_of[parent] + 1
            os.makedirs(os.path.join(self.root, path), exist_ok=True)

    def new_name(self, folder=None):
        if folder is None:
            folder = self.rng.choice(self.folders)
        self.serial += 1
        ext = self.rng.choice(EXTENSIONS)
        stem = "file %06d" % self.serial if self.serial % 7 == 0 else "f%06d" % self.serial
        name = "%s.%s" % (stem, ext)
        assert not name.lower().endswith(FORBIDDEN_SUFFIXES)
        return os.path.join(folder, name) if folder else name

    def distinct_folders(self, n):
        if n <= len(self.folders):
            return self.rng.sample(self.folders, n)
        return [self.rng.choice(self.folders) for _ in range(n)]

    # --- content ----------------------------------------------------------
    def fresh_offset(self, size):
        """An offset whose slice no other file of this size has used."""
        limit = BUFFER_SIZE - size
        while True:
            off = self.rng.randrange(0, limit + 1)
            if (size, off) not in self.used:
                self.used.add((size, off))
                return off

    def write(self, rel, size, off, first=None, last=None):
        """Write buf[off:off+size], optionally with the first/last byte replaced."""
        pieces = [self.buf[off:off + size]]
        if first is not None:
            pieces = [bytes([first]), self.buf[off + 1:off + size]]
        elif last is not None:
            pieces = [self.buf[off:off + size - 1], bytes([last])]
        fd = os.open(os.path.join(self.root, rel),
                     os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644)
        try:
            for piece in pieces:
                view = memoryview(piece)
                while view:
                    view = view[os.write(fd, view):]
        finally:
            os.close(fd)
        self.files += 1
        self.bytes += size

    def byte_other_than(self, value):
        return (value + 1 + self.rng.randrange(255)) % 256


def build(root, profile, seed):
    rng = random.Random(seed)
    w = TreeWriter(root, rng)
    w.make_folders(profile["folders"])
    groups = []

    # Empty files: one group when two or more exist.
    empties = [w.new_name() for _ in range(profile["empty"])]
    for rel in empties:
        w.write(rel, 0, 0)
    if len(empties) > 1:
        groups.append(empties)

    # Unique small files sharing few sizes: equal sizes, different content.
    lo, hi = profile["unique_range"]
    sizes = [log_uniform(rng, lo, hi) for _ in range(profile["unique_sizes"])]
    for _ in range(profile["unique"]):
        size = rng.choice(sizes)
        w.write(w.new_name(), size, w.fresh_offset(size))

    # True duplicates of 2..5 copies in different folders; some share a size
    # with a unique file so that size alone cannot decide.
    lo, hi = profile["dup_range"]
    for _ in range(profile["dup_groups"]):
        size = rng.choice(sizes) if rng.random() < 0.3 else log_uniform(rng, lo, hi)
        off = w.fresh_offset(size)
        members = [w.new_name(f) for f in w.distinct_folders(rng.randint(2, 5))]
        for rel in members:
            w.write(rel, size, off)
        groups.append(members)

    # Files over one block: an original, maybe its copy, and variants that
    # differ only in the first byte or only in the last byte.
    lo, hi = profile["near_range"]
    edge_sizes = [BLOCK, BLOCK + 1, 2 * BLOCK, 2 * BLOCK + 1, 3 * BLOCK - 1]
    for i in range(profile["near_sets"]):
        size = edge_sizes[i] if i < len(edge_sizes) else log_uniform(rng, lo, hi)
        off = w.fresh_offset(size)
        original = [w.new_name()]
        if rng.random() < 0.6:
            original.append(w.new_name())
        for rel in original:
            w.write(rel, size, off)
        if len(original) > 1:
            groups.append(original)
        first, last = w.buf[off], w.buf[off + size - 1]
        w.write(w.new_name(), size, off, first=w.byte_other_than(first))
        lone = w.byte_other_than(last)
        w.write(w.new_name(), size, off, last=lone)
        if rng.random() < 0.3:  # a pair of identical last-byte variants
            variant = lone
            while variant in (last, lone):
                variant = w.byte_other_than(last)
            pair = [w.new_name(), w.new_name()]
            for rel in pair:
                w.write(rel, size, off, last=variant)
            groups.append(pair)

    # Large duplicates, and look-alikes of the same size differing in the last
    # byte, which only a full read can tell apart.
    lo, hi = profile["big_range"]
    big = []
    for _ in range(profile["big_groups"]):
        size = log_uniform(rng, lo, hi)
        off = w.fresh_offset(size)
        members = [w.new_name(f) for f in w.distinct_folders(rng.randint(2, 3))]
        for rel in members:
            w.write(rel, size, off)
        groups.append(members)
        big.append((size, off))
    for size, off in big[:profile["big_lookalikes"]]:
        w.write(w.new_name(), size, off, last=w.byte_other_than(w.buf[off + size - 1]))

    return w, groups


def write_expected(path, groups):
    blocks = sorted(sorted(g) for g in groups)
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n\n".join("\n".join(g) for g in blocks))
        f.write("\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("dest", nargs="?",
                    default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "trees", "small"))
    ap.add_argument("--size", choices=sorted(PROFILES), default="small")
    ap.add_argument("--seed", type=int, default=20240601)
    args = ap.parse_args()

    params = {"version": GENERATOR_VERSION, "size": args.size, "seed": args.seed,
              "profile": PROFILES[args.size]}
    marker = os.path.join(args.dest, "marker.json")
    tree = os.path.join(args.dest, "tree")
    try:
        with open(marker, encoding="utf-8") as f:
            if json.load(f) == json.loads(json.dumps(params)) and os.path.isdir(tree):
                print("%s: up to date" % args.dest)
                return 0
    except (OSError, ValueError):
        pass

    if os.path.exists(marker):
        os.remove(marker)
    shutil.rmtree(tree, ignore_errors=True)
    os.makedirs(tree)
    start = time.monotonic()
    w, groups = build(tree, PROFILES[args.size], args.seed)
    write_expected(os.path.join(args.dest, "expected.txt"), groups)
    with open(marker, "w", encoding="utf-8") as f:
        json.dump(params, f, indent=1)
    print("%s: %d files, %d folders, %.2f GiB, %d duplicate groups (%d files) in %.1f s"
          % (args.dest, w.files, len(w.folders), w.bytes / (1 << 30), len(groups),
             sum(len(g) for g in groups), time.monotonic() - start))
    return 0


if __name__ == "__main__":
    sys.exit(main())
