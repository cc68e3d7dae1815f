#!/usr/bin/env python3
"""Builds random trees and diffs pellmora-scan --format tsv against reference_scan.py.

Both programs run with LC_ALL=C.UTF-8 on the same tree and the same options; standard
output, standard error and the exit status must agree byte for byte. Every mismatch is
kept under the work folder (case-*/) with both outputs and the command line.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
REFERENCE = os.path.join(HERE, "reference_scan.py")

SIZES = [1, 5, 100, 511, 512, 1023, 1024, 1025, 1536, 65520, 65521, 65522, 70000,
         131042, 131043, 200000]
STEMS = ["a", "A", "b", "file", "File", "Café", "CAFÉ", "x", "\U0001F600", "[x]", "lib",
         "ab", "Ab", "a b", ".hidden"]
EXTS = [".txt", ".TXT", ".Txt", ".dll", ".DLL", ".sys", ".Sys", ".bin", "", ".dll.bak",
        ".ocx", ".drv", ".jpg"]
RAW_NAMES = [b"caf\xe9.txt", b"\xff\xfe.bin", b"a\x80.TXT", b"\xe2\x82.txt"]
DIR_NAMES = ["sub", "Sub", "deep", "\u00e4rger", "x.dll", "A"]


def variant(base, kind, rng):
    b = bytearray(base)
    if kind == "first":
        b[0] ^= 0xFF
    elif kind == "last":
        b[-1] ^= 0xFF
    elif kind == "middle":
        b[len(b) // 2] ^= 0x55
    elif kind == "random":
        b = bytearray(rng.randbytes(len(b)))
    return bytes(b)


def forge_crc(data, pos, wanted):
    """data with the 4 bytes at pos changed so that its CRC-32 is wanted (CRC-32 is affine
    in the message bits for a fixed length, so 32 unknown bits solve by elimination)."""
    data = bytearray(data)
    data[pos:pos + 4] = b"\0\0\0\0"
    base = zlib.crc32(data)
    rows = []
    for bit in range(32):
        probe = bytearray(data)
        probe[pos + bit // 8] ^= 1 << (bit % 8)
        rows.append((zlib.crc32(probe) ^ base, 1 << bit))
    need, chosen = wanted ^ base, 0
    basis = []  # Gaussian elimination over GF(2)
    for vec, tag in rows:
        for bvec, btag in basis:
            if vec ^ bvec < vec:
                vec, tag = vec ^ bvec, tag ^ btag
        if vec:
            basis.append((vec, tag))
            basis.sort(reverse=True)
    for bvec, btag in basis:
        if need ^ bvec < need:
            need, chosen = need ^ bvec, chosen ^ btag
    assert need == 0
    data[pos:pos + 4] = chosen.to_bytes(4, "little")
    assert zlib.crc32(data) == wanted
    return bytes(data)


class TreeBuilder:
    def __init__(self, root, rng, many=False):
        self.many = many
        self.root = root
        self.rng = rng
        self.bases = {}
        self.files = []
        self.dirs = [root]

    def content(self, size):
        if size not in self.bases:
            self.bases[size] = self.rng.randbytes(size)
        kind = self.rng.choice(["same", "same", "same", "first", "last", "middle", "random"])
        return variant(self.bases[size], kind, self.rng)

    def name(self):
        if self.rng.random() < 0.08:
            return self.rng.choice(RAW_NAMES) + str(self.rng.randrange(99)).encode()
        n = self.rng.choice(STEMS) + str(self.rng.randrange(30)) + self.rng.choice(EXTS)
        return n.encode()

    def build(self, n_dirs, n_files):
        for _ in range(n_dirs):
            parent = self.rng.choice(self.dirs)
            name = self.rng.choice(DIR_NAMES).encode()
            if self.rng.random() < 0.15:
                name = b"d\xff" + str(self.rng.randrange(9)).encode()
            path = os.path.join(parent, name + str(self.rng.randrange(5)).encode())
            if not os.path.exists(path):
                os.mkdir(path)
                self.dirs.append(path)
        for _ in range(n_files):
            d = self.rng.choice(self.dirs)
            path = os.path.join(d, self.name())
            if os.path.lexists(path):
                continue
            r = self.rng.random()
            size = 0 if r < 0.08 else self.rng.choice(SIZES)
            with open(path, "wb") as f:
                f.write(self.content(size) if size else b"")
            self.files.append(path)
        self.bulk()
        self.odd_entries()

    def bulk(self):
        """Long runs of one size, so that the partition phase decides equal-key order."""
        rng = self.rng
        runs = [(100, 40, 5), (70000, 24, 3), (65521, 20, 2)]
        if self.many:
            runs.append((7, 1100, 4))
        for size, count, kinds in runs:
            pool = [rng.randbytes(size) for _ in range(kinds)]
            pool.append(variant(pool[0], "last", rng))
            pool.append(variant(pool[0], "first", rng))
            for _ in range(count):
                d = rng.choice(self.dirs)
                path = os.path.join(d, b"bulk%d_%d.dat" % (size, rng.randrange(10**6)))
                if not os.path.lexists(path):
                    data = rng.choice(pool)
                    if rng.random() < 0.3:  # a content of its own: dropped from the run
                        data = variant(data, rng.choice(["first", "last", "middle", "random"]), rng)
                    with open(path, "wb") as f:
                        f.write(data)
                    self.files.append(path)

    def forged(self):
        """Checksum 0, and checksum collisions between different contents."""
        rng = self.rng
        d = os.path.join(self.root, b"forged")
        os.mkdir(d)
        small = forge_crc(rng.randbytes(1000), 500, 0)
        first = forge_crc(rng.randbytes(65521), 100, 0)
        big0 = first + rng.randbytes(4479)
        a = rng.randbytes(1000)
        b = forge_crc(rng.randbytes(1000), 10, zlib.crc32(a))
        head = rng.randbytes(65521)
        head2 = forge_crc(bytes([head[0] ^ 1]) + head[1:], 200, zlib.crc32(head))
        tail = rng.randbytes(4479)
        files = {b"zero_a": small, b"zero_b": small, b"zero_c": small[:-1] + b"!",
                 b"big0_a": big0, b"big0_b": big0, b"col_a": a, b"col_b": b,
                 b"bcol_a": head + tail, b"bcol_b": head2 + tail,
                 b"bcol_c": head2 + rng.randbytes(4479),
                 b"unread_a": small, b"unread_b": big0, b"unread_c": big0}
        for name, data in files.items():
            path = os.path.join(d, name)
            with open(path, "wb") as f:
                f.write(data)
        self.forged_unreadable = [os.path.join(d, n) for n in files if n.startswith(b"unread")]

    def odd_entries(self):
        self.forged()
        rng, root = self.rng, self.root
        for name in (b".dll", b"LIB.DLL", b"driver.Sys", b"lib.dll.bak", b"x.OCX.txt"):
            with open(os.path.join(root, name), "wb") as f:
                f.write(self.bases.get(100, b"q" * 100))
        for _ in range(6):  # hard links, also across folders
            src = rng.choice(self.files)
            dst = os.path.join(rng.choice(self.dirs), b"hl" + str(rng.randrange(999)).encode() + b".txt")
            if not os.path.lexists(dst):
                os.link(src, dst)
        for _ in range(4):  # links to files
            src = rng.choice(self.files)
            dst = os.path.join(rng.choice(self.dirs), b"ln" + str(rng.randrange(999)).encode() + b".txt")
            if not os.path.lexists(dst):
                os.symlink(src, dst)
        deep = max(self.dirs, key=len)
        os.symlink(root, os.path.join(deep, b"cycle"))  # link back to the top
        os.symlink(rng.choice(self.dirs), os.path.join(root, b"zlinkdir"))
        os.symlink(b"/nonexistent/x", os.path.join(root, b"broken.txt"))
        os.symlink(b"/proc/self", os.path.join(root, b"procref"))
        os.symlink(b"/etc/apt", os.path.join(root, b"etclink"))
        one = self.bases.get(100, b"q" * 100)
        for name in ("\U0001F600.txt", "\u00e9.txt", "E.TXT", "e.txt"):
            with open(os.path.join(root, name.encode()), "wb") as f:
                f.write(one)
        for name in (b"\xe2\x82.txt", b"\xff.txt", b"\xc3.txt"):
            with open(os.path.join(root, name), "wb") as f:
                f.write(one)
        with open(os.path.join(root, b"sparse.bin"), "wb") as f:
            f.truncate(5 * 1024**3 + 1)  # one of its size: counted, never read
        os.mkfifo(os.path.join(root, b"pipe.txt"))
        os.mkfifo(os.path.join(rng.choice(self.dirs), b"fifo2.bin"))

    def make_unreadable(self):
        picks = self.rng.sample(self.files, min(4, len(self.files)))
        for size in (100, 70000, 65521):  # pairs that a checksum of 0 would group
            same = [p for p in self.files if b"bulk%d_" % size in p]
            picks += self.rng.sample(same, min(2, len(same)))
        for p in picks:
            os.chmod(p, 0)
        for p in self.forged_unreadable:
            os.chmod(p, 0)
        d = self.rng.choice(self.dirs[1:] or self.dirs)
        os.chmod(d, 0)


OPTION_SETS = [
    [],
    ["--include-empty"],
    ["--no-protect-files"],
    ["--masks", "*.txt|*.TXT|a*"],
    ["--masks", "CAFÉ*|?.txt|\U0001F600*|*.dll", "--no-protect-files"],
    ["--masks", "caf?*|?\u00b0|[x]*|*.*"],
    ["--masks", "|*.bin|", "--include-empty"],
    ["--masks", " *.txt"],
    ["--masks", "*|*.txt"],
    ["--masks", "a*.t?t|*.jpg|*.JPG"],
    ["--min-size", "1", "--max-size", "65521B"],
    ["--min-size", "1.5"],
    ["--min-size", "0,5"],
    ["--min-size", "65522B", "--max-size", "0.2MB"],
    ["--max-size", "0B", "--include-empty"],
    ["--min-size", "100B", "--max-size", "100B"],
    ["--min-size", "2", "--max-size", "1"],
    ["--masks", " \t "],
    ["--include-empty", "--no-protect-files", "--masks", "*"],
    ["--masks", "*.*.*|a*.*|*.*x"],
    ["--min-size", "1MB"],
]


def listed_sets(root, builder):
    sub = builder.dirs[1] if len(builder.dirs) > 1 else root
    deep = max(builder.dirs, key=len)
    rs = root.decode("utf-8", "surrogateescape")
    return [
        [root],
        [root + b"/"],
        [sub, root],
        [root, root + b"/", sub],
        [deep, sub],
        [os.path.join(root, b"zlinkdir"), root],
        [root + b"/nonexistent", builder.files[0], root],
        [root + b"//"],
        [rs.upper().encode("utf-8", "surrogateescape"), root],
        [b"/proc/self/fdinfo", b"/sys/kernel/mm", root],
        [b"/etc/apt", root],
    ]


def keep_and_skip_sets(root, builder):
    """Keep folders (a subfolder, the root, one reached through a link, several), the groups
    with a kept file only, and skipped folders by name and by full path."""
    sub = builder.dirs[1] if len(builder.dirs) > 1 else root
    deep = max(builder.dirs, key=len)
    rs = os.fsdecode(root)
    link = os.path.join(root, b"zlinkdir")
    return [
        ["--keep", sub, root],
        ["--keep", root, sub],
        ["--keep", sub, "--only-with-kept", root],
        ["--keep", deep, "--keep", sub, root],
        ["--keep", link, root],
        ["--keep", sub],
        ["--skip-folders", "sub?|\u00e4rger*||  ", root],
        ["--skip-folders", "S*|*.dll?|?", root],
        ["--skip-folders", rs + "/deep*|" + rs + "/*/A?", "--keep", sub, root],
        ["--skip-folders", os.path.basename(rs), root],
        ["--skip-folders", "*", "--keep", sub, "--include-empty", root],
    ]


EXTRA_CASES = [  # (options, listed relative to the work folder, run in the work folder)
    (["--masks", "?.txt"], ["{t}"]),
    (["--min-size", "4194304", "--max-size", "5242880.001KB"], ["{t}"]),
    (["--max-size", "4194304KB"], ["{t}"]),
    ([], ["{t}/nonexistent"]),
    (["--masks", "??.txt|*.TXT"], ["{t}"]),
    (["--no-protect-folders"], ["/etc/apt", "{t}"]),
    (["--no-protect-folders"], ["/proc/self/fdinfo", "{t}/etclink"]),
    ([], ["{t}/etclink", "/etc/apt"]),
    ([], ["{r}"]),
    ([], ["./{r}"]),
    ([], ["{r}/../{r}", "{r}"]),
    ([], ["{r}/zlinkdir", "{r}"]),
]


def run(cmd, env, user, cwd=None):
    if user:
        cmd = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"] + cmd
    p = subprocess.run(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=600,
                       cwd=cwd)
    return p.returncode, p.stdout, p.stderr


def compare(binary, args, env, user, casedir, cwd=None):
    got = run([binary, "--format", "tsv"] + args, env, user, cwd)
    want = run([sys.executable, REFERENCE, "--format", "tsv"] + args, env, user, cwd)
    if got == want:
        return True
    os.makedirs(casedir, exist_ok=True)
    with open(os.path.join(casedir, b"args"), "wb") as f:
        f.write(b"\n".join(os.fsencode(a) for a in args) + b"\n")
    for tag, res in ((b"scan", got), (b"ref", want)):
        with open(os.path.join(casedir, tag + b".out"), "wb") as f:
            f.write(res[1])
        with open(os.path.join(casedir, tag + b".err"), "wb") as f:
            f.write(res[2] + b"\nrc=%d\n" % res[0])
    return False


def one_tree(binary, work, seed, as_nobody, n_dirs, n_files, many):
    rng = random.Random(seed)
    root = os.path.join(work, b"t%d" % seed)
    builder = TreeBuilder(root, rng, many)
    os.mkdir(root)
    builder.build(n_dirs, n_files)
    if as_nobody:
        os.chmod(work, 0o755)
        builder.make_unreadable()
    env = dict(os.environ, LC_ALL="C.UTF-8")
    failures = 0
    cases = 0
    for listed in listed_sets(root, builder):
        for opts in OPTION_SETS:
            for mode in ([], ["--byte-compare"]):
                args = opts + mode + [os.fsdecode(p) for p in listed]
                casedir = os.path.join(work, b"case-%d-%d" % (seed, cases))
                cases += 1
                if not compare(binary, args, env, as_nobody, casedir):
                    failures += 1
                    print("MISMATCH seed=%d case=%s args=%r" % (seed, casedir.decode(errors="replace"), args))
    for args in keep_and_skip_sets(root, builder):
        for mode in ([], ["--byte-compare"]):
            full = [os.fsdecode(a) for a in args] + mode
            casedir = os.path.join(work, b"case-%d-%d" % (seed, cases))
            cases += 1
            if not compare(binary, full, env, as_nobody, casedir):
                failures += 1
                print("MISMATCH seed=%d case=%s args=%r" % (seed, casedir.decode(errors="replace"), full))
    for opts, listed in EXTRA_CASES:
        for mode in ([], ["--byte-compare"]):
            dirs = [d.format(t=os.fsdecode(root), r=os.path.basename(os.fsdecode(root))) for d in listed]
            args = opts + mode + dirs
            casedir = os.path.join(work, b"case-%d-%d" % (seed, cases))
            cases += 1
            if not compare(binary, args, env, as_nobody, casedir, cwd=work):
                failures += 1
                print("MISMATCH seed=%d case=%s args=%r (in %s)" % (seed, casedir.decode(errors="replace"), args, os.fsdecode(work)))
    return cases, failures


def protect_inner(binary, work):
    """Runs inside a private mount namespace: /var is a fresh tmpfs here only."""
    subprocess.run(["mount", "-t", "tmpfs", "tmpfs", "/var"], check=True)
    rng = random.Random(99)
    same = rng.randbytes(3000)
    for d in ("/var/Lib/x", "/var/lib/y", "/var/LIB", "/var/lib-x", "/var/libx", "/var/other"):
        os.makedirs(d)
        for n in ("one.txt", "two.txt"):
            with open(os.path.join(d, n), "wb") as f:
                f.write(same)
    os.symlink("/var/Lib", "/var/other/link")
    os.makedirs(os.path.join(work, b"p"))
    os.symlink(b"/var/lib", os.path.join(work, b"p/tolib"))
    env = dict(os.environ, LC_ALL="C.UTF-8")
    lists = [["/var"], ["/var/Lib"], ["/var/lib/../lib-x"], ["/var/lib-x", "/var/libx"],
             ["/var/other"], [os.fsdecode(os.path.join(work, b"p"))], ["/var/LIB/", "/var/other/"]]
    total = bad = 0
    for listed in lists:
        for opts in ([], ["--no-protect-folders"], ["--byte-compare"]):
            total += 1
            if not compare(binary, opts + listed, env, False, os.path.join(work, b"case-p%d" % total)):
                bad += 1
                print("MISMATCH protected-folder case %d args=%r" % (total, opts + listed))
    print("%d passed, %d failed" % (total - bad, bad))
    return 1 if bad else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--binary", default="/work/main/build/pellmora-scan")
    ap.add_argument("--work", default="/tmp/pellmora-compare")
    ap.add_argument("--seeds", type=int, default=3)
    ap.add_argument("--first-seed", type=int, default=1)
    ap.add_argument("--dirs", type=int, default=12)
    ap.add_argument("--files", type=int, default=120)
    ap.add_argument("--as-nobody", action="store_true",
                    help="run both programs as nobody so that chmod 0 makes files unreadable")
    ap.add_argument("--many", action="store_true", help="add a run of 1100 files of one size")
    ap.add_argument("--protect-check", action="store_true",
                    help="check the protected folders on a private /var (needs unshare)")
    ap.add_argument("--protect-inner", action="store_true", help=argparse.SUPPRESS)
    a = ap.parse_args()
    work = os.fsencode(a.work)
    if a.protect_inner:
        return protect_inner(a.binary, work)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    if a.protect_check:
        return subprocess.run(["unshare", "--mount", "--propagation", "private", sys.executable,
                               os.path.abspath(__file__), "--protect-inner", "--binary", a.binary,
                               "--work", a.work]).returncode
    total = bad = 0
    for seed in range(a.first_seed, a.first_seed + a.seeds):
        c, f = one_tree(a.binary, work, seed, a.as_nobody, a.dirs, a.files, a.many)
        total += c
        bad += f
    print("%d passed, %d failed" % (total - bad, bad))
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
