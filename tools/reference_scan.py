#!/usr/bin/env python3
"""A second, independent implementation of Pellmora's duplicate search.

It takes the options of pellmora-scan, prints the duplicates as
"GROUP<TAB>SIZE<TAB>FULL PATH" lines (raw path bytes) on standard output and the
end-of-search message on standard error, so that both programs can be diffed on the
same tree. Standard library only; written for clarity, not speed.
"""

import codecs
import hashlib
import os
import re
import stat
import sys
import zlib

BLOCK_SIZE = 65521

DEFAULT_PROTECTED = [
    "/bin/", "/boot/", "/dev/", "/etc/", "/lib/", "/lib32/", "/lib64/", "/libx32/",
    "/opt/", "/proc/", "/run/", "/sbin/", "/snap/", "/sys/", "/usr/", "/var/lib/",
]

VIRTUAL_FS = {
    "proc", "sysfs", "devtmpfs", "devpts", "cgroup", "cgroup2", "debugfs", "tracefs",
    "securityfs", "configfs", "bpf", "pstore", "efivarfs", "fusectl", "mqueue",
    "hugetlbfs", "binfmt_misc", "autofs",
}

SYSTEM_SUFFIXES = (b".dll", b".sys", b".ocx", b".drv")

USAGE = "usage: reference_scan.py [options] DIR...\n"


class Refused(Exception):
    """A start check refused the search."""


class Record:
    __slots__ = ("size", "crc", "wide", "candidate", "name", "dir_index", "group", "kept")

    def __init__(self, size, name, dir_index, kept=False):
        self.size = size
        self.crc = 0
        self.wide = None  # a 128-bit hash of the same bytes as crc, in the checksum mode
        self.candidate = 0
        self.name = name
        self.dir_index = dir_index
        self.group = 0
        self.kept = kept


# ---------------------------------------------------------------- comparators

def compare_size(a, b, descending):
    r = (a.size > b.size) - (a.size < b.size)
    return -r if descending == 1 else r


def compare_crc(a, b, descending):
    r = (a.crc > b.crc) - (a.crc < b.crc)  # crc is kept unsigned
    return -r if descending == 1 else r


def split_collisions(scan, s, e):
    """Files of one CRC-32 with different 128-bit hashes are brought together hash by hash,
    in the order of each hash's first file; without a collision nothing moves."""
    a = s
    while a <= e:
        b = a
        while b < e and scan[b + 1].crc == scan[a].crc:
            b += 1
        order = []
        for j in range(a, b + 1):
            if scan[j].wide not in order:
                order.append(scan[j].wide)
        if len(order) > 1:
            scan[a:b + 1] = sorted(scan[a:b + 1], key=lambda r: order.index(r.wide))
        a = b + 1


def compare_candidate(a, b, descending):
    if a.candidate == b.candidate:
        r = 0
    elif a.candidate == 1 and b.candidate == 0:
        r = 1
    else:
        r = -1
    return -r if descending == 1 else r


# ---------------------------------------------------------------- the sort

def sort_file_list(lst, lo_bound, hi_bound, compare, descending):
    """Quicksort down to runs of 16 with an explicit stack, then one sentinel insertion
    pass. Equal keys end where this exact sequence of swaps leaves them."""

    def cmp(x, y):
        return compare(x, y, descending)

    def swap(a, b):
        lst[a], lst[b] = lst[b], lst[a]

    if hi_bound < lo_bound:
        return
    stack = [(lo_bound, hi_bound)]
    while stack:
        lo, hi = stack.pop()
        while hi - lo > 15:
            mid = (lo + hi) // 2
            if cmp(lst[lo], lst[mid]) > 0:
                swap(lo, mid)
            if cmp(lst[lo], lst[hi]) > 0:
                swap(lo, hi)
            if cmp(lst[mid], lst[hi]) > 0:
                swap(mid, hi)
            pivot = lst[mid]  # records are never mutated during a sort
            i, j = lo, hi
            while True:
                j -= 1
                while cmp(lst[j], pivot) > 0:
                    j -= 1
                i += 1
                while cmp(lst[i], pivot) < 0:
                    i += 1
                if j <= i:
                    break
                swap(i, j)
            if j - lo < hi - j:
                stack.append((j + 1, hi))
                hi = j
            else:
                stack.append((lo, j))
                lo = j + 1
    # insertion pass with the smallest of the first 16 as sentinel
    m = lo_bound
    for k in range(lo_bound + 1, min(lo_bound + 15, hi_bound) + 1):
        if cmp(lst[k], lst[m]) < 0:
            m = k
    if m != lo_bound:
        swap(lo_bound, m)
    for k in range(lo_bound + 2, hi_bound + 1):
        t = lst[k]
        j = k
        while cmp(t, lst[j - 1]) < 0:
            lst[j] = lst[j - 1]
            j -= 1
        lst[j] = t


# ---------------------------------------------------------------- masks

def fold(ch):
    f = ch.casefold()
    if len(f) == 1:
        return f
    low = ch.lower()
    return low if len(low) == 1 else ch


def mask_matches(mask, name):
    """Wildcards on decoded text: '*' any run, '?' one character, letters case-folded."""
    if mask == "":
        return False
    if mask == "*.*":
        return True
    p = [fold(c) for c in mask]
    s = [fold(c) for c in name]
    pi = si = 0
    star_p, star_s = -1, 0
    while si < len(s):
        if pi < len(p) and p[pi] == "*":
            star_p, star_s = pi, si
            pi += 1
        elif pi < len(p) and (p[pi] == "?" or p[pi] == s[si]):
            pi += 1
            si += 1
        elif star_p >= 0:
            pi = star_p + 1
            star_s += 1
            si = star_s
        else:
            return False
    while pi < len(p) and p[pi] == "*":
        pi += 1
    return pi == len(p)


def utf8_length(raw, i):
    """Bytes of the character at i: a whole UTF-8 sequence, or one byte where there is none."""
    lead = raw[i]
    n = 1 if lead < 0xC0 else 2 if lead < 0xE0 else 3 if lead < 0xF0 else 4 if lead < 0xF8 else 1
    if i + n > len(raw) or any(raw[k] & 0xC0 != 0x80 for k in range(i + 1, i + n)):
        return 1
    return n


def folder_mask_matches(mask, text, si=0, mi=0):
    """Skip-folder masks on bytes: '*' any run and '?' one character, never a '/'; case counts.
    Written as plain recursion, unlike the program's single backtracking pass."""
    while mi < len(mask):
        c = mask[mi:mi + 1]
        if c == b"*":
            j = si
            while True:
                if folder_mask_matches(mask, text, j, mi + 1):
                    return True
                if j >= len(text) or text[j:j + 1] == b"/":
                    return False
                j += utf8_length(text, j)
        if si >= len(text):
            return False
        if c == b"?":
            if text[si:si + 1] == b"/":
                return False
            si += utf8_length(text, si)
        elif c == text[si:si + 1]:
            si += 1
        else:
            return False
        mi += 1
    return si == len(text)


def split_skip_masks(text):
    """(name masks, path masks) as bytes; blanks around a mask and empty masks are dropped."""
    names, paths = [], []
    for part in text.split("|"):
        mask = part.strip(" \t\n\r\f\v")
        if mask:
            (paths if "/" in mask else names).append(os.fsencode(mask))
    return names, paths


def split_masks(text):
    masks = [""]
    for ch in text:
        if ch == "|":
            masks.append("")
        else:
            masks[-1] += ch
    return masks


def _one_mark_per_byte(err):
    return "\ufffd" * (err.end - err.start), err.end


codecs.register_error("pellmora-per-byte", _one_mark_per_byte)


def decode_name(raw):
    """Names are decoded as UTF-8 with one U+FFFD for every byte that is not."""
    return raw.decode("utf-8", "pellmora-per-byte")


# ---------------------------------------------------------------- file systems

def load_fs_types():
    types = {}
    try:
        with open("/proc/self/mountinfo", "rb") as f:
            for line in f:
                parts = line.decode("utf-8", "replace").split()
                if " - " not in line.decode("utf-8", "replace"):
                    continue
                dash = parts.index("-")
                major, minor = parts[2].split(":")
                types.setdefault((int(major), int(minor)), parts[dash + 1])
    except OSError:
        pass
    return types


def unescape_mount_point(field):
    return re.sub(rb"\\([0-7]{3})", lambda m: bytes([int(m.group(1), 8)]), field)


def trash_folders():
    """(device, inode) of every trash folder: the home trash, and .Trash/$uid and .Trash-$uid
    at the top of every mount."""
    uid = str(os.getuid()).encode()
    home = os.environ.get("XDG_DATA_HOME", "")
    if not home.startswith("/"):
        base = os.environ.get("HOME", "")
        home = base.rstrip("/") + "/.local/share" if base.startswith("/") else ""
    candidates = [os.fsencode(home) + b"/Trash"] if home else []
    try:
        with open("/proc/self/mountinfo", "rb") as f:
            for line in f:
                point = unescape_mount_point(line.split()[4])
                top = b"" if point == b"/" else point
                candidates += [top + b"/.Trash/" + uid, top + b"/.Trash-" + uid]
    except OSError:
        pass
    found = set()
    for path in candidates:
        try:
            st = os.stat(path)
        except OSError:
            continue
        if stat.S_ISDIR(st.st_mode):
            found.add((st.st_dev, st.st_ino))
    return found


# ---------------------------------------------------------------- content

def open_regular(path):
    fd = os.open(path, os.O_RDONLY | os.O_NOFOLLOW | os.O_CLOEXEC)
    if not stat.S_ISREG(os.fstat(fd).st_mode):
        os.close(fd)
        raise OSError("not a regular file")
    return fd


def wide_hash(data):
    """Files count as equal only when a 128-bit hash agrees too, not the CRC-32 alone. Any
    128-bit hash gives the same groups as the program's XXH3-128 where neither collides."""
    return hashlib.blake2b(data, digest_size=16).digest()


def first_block_crc(path):
    """(ok, crc, wide) of the first block; not ok when it cannot be opened or read in full."""
    try:
        fd = open_regular(path)
    except OSError:
        return False, 0, None
    try:
        data = os.read(fd, BLOCK_SIZE)
    except OSError:
        return False, 0, None
    finally:
        os.close(fd)
    if len(data) != BLOCK_SIZE:  # only used for files larger than one block
        return False, 0, None
    return True, zlib.crc32(data) & 0xFFFFFFFF, wide_hash(data)


def file_crc(path, size):
    """(ok, crc, wide) of the whole file; not ok on open/read error or a length other than size."""
    try:
        fd = open_regular(path)
    except OSError:
        return False, 0, None
    crc = 0
    total = 0
    wide = hashlib.blake2b(digest_size=16)
    try:
        while True:
            data = os.read(fd, BLOCK_SIZE)
            if not data:
                break
            crc = zlib.crc32(data, crc)
            wide.update(data)
            total += len(data)
    except OSError:
        return False, 0, None
    finally:
        os.close(fd)
    if total != size:
        return False, 0, None
    return True, crc & 0xFFFFFFFF, wide.digest()


def compare_file_group(paths, size):
    """Byte-by-byte refinement into subgroups, one block per file per pass.
    Returns the subgroup of every path (0: no identical partner)."""
    n = len(paths)
    mark = [0] * n
    prev = [0] * n
    fds = [None] * n
    bufs = [b""] * n
    done = [0] * n  # bytes read so far, to refuse a short or failed read
    for x in range(n):
        try:
            fds[x] = open_regular(paths[x])
        except OSError:
            mark[x] = prev[x] = -1
    try:
        while True:
            length = 0
            for x in range(n):
                prev[x] = mark[x]
                if mark[x] >= 0:
                    mark[x] = 0
                    want = min(BLOCK_SIZE, size - done[x])
                    try:
                        bufs[x] = os.read(fds[x], BLOCK_SIZE)
                    except OSError:
                        bufs[x] = None
                    if bufs[x] is None or len(bufs[x]) != want:
                        mark[x] = prev[x] = -1  # never equal on a failed or short read
                        continue
                    done[x] += len(bufs[x])
                    length = len(bufs[x])
                elif fds[x] is not None:
                    os.close(fds[x])
                    fds[x] = None
            nxt = 1
            for k in range(n):
                if prev[k] < 0 or mark[k] != 0:
                    continue
                for m in range(k + 1, n):
                    if prev[m] == prev[k] and bufs[k][:length] == bufs[m][:length]:
                        if mark[k] == 0:
                            mark[k] = nxt
                            nxt += 1
                        mark[m] = mark[k]
            for k in range(n):
                if prev[k] >= 0 and mark[k] == 0:
                    mark[k] = -1
            if nxt == 1 or length == 0:
                break
    finally:
        for fd in fds:
            if fd is not None:
                os.close(fd)
    return [m if m > 0 else 0 for m in mark]


# ---------------------------------------------------------------- the search

class Search:
    def __init__(self, opts):
        self.opts = opts
        self.scan = []
        self.dirs = []
        self.results = []
        self.entered = set()
        self.collected = set()
        self.fs_types = load_fs_types()
        self.masks = split_masks(opts["masks"])
        self.protected = [p.encode() for p in opts["protected"]]
        self.skip_names, self.skip_paths = split_skip_masks(opts["skip_folders"])
        self.trash = trash_folders()
        self.keep_ids = set()
        for d in opts["keep"]:
            try:
                st = os.stat(d)
            except OSError:
                continue
            if stat.S_ISDIR(st.st_mode):
                self.keep_ids.add((st.st_dev, st.st_ino))

    # -- walk

    def is_protected(self, path):
        low = path.lower()  # bytes.lower() folds ASCII letters only
        return any(p and low.startswith(p.lower()) for p in self.protected)

    def classify(self, path):
        try:
            st = os.lstat(path)
        except OSError:
            return "other", None
        if stat.S_ISLNK(st.st_mode):
            try:
                st = os.stat(path)
            except OSError:
                return "other", None
            return ("dir", None) if stat.S_ISDIR(st.st_mode) else ("other", None)
        if stat.S_ISDIR(st.st_mode):
            return "dir", None
        if stat.S_ISREG(st.st_mode):
            return "file", st
        return "other", None

    def skipped(self, path):
        full = path[:-1]
        name = full[full.rfind(b"/") + 1:]
        return (any(folder_mask_matches(m, name) for m in self.skip_names)
                or any(folder_mask_matches(m, full) for m in self.skip_paths))

    def lies_in_trash(self, path):
        folder = os.path.realpath(path)
        while True:
            try:
                st = os.stat(folder)
                if (st.st_dev, st.st_ino) in self.trash:
                    return True
            except OSError:
                pass
            if folder in (b"/", b""):
                return False
            folder = os.path.dirname(folder)

    def scan_directory(self, path, kept=False):
        if self.skipped(path):
            if kept:  # no other path may list its files as files that may go
                try:
                    st = os.stat(path)
                    self.entered.add((st.st_dev, st.st_ino))
                except OSError:
                    pass
            return
        if self.opts["protect_folders"] and self.is_protected(path):
            return
        try:
            st = os.stat(path)
        except OSError:
            return
        if self.fs_types.get((os.major(st.st_dev), os.minor(st.st_dev))) in VIRTUAL_FS:
            return
        key = (st.st_dev, st.st_ino)
        if key in self.trash or key in self.entered:
            return
        self.entered.add(key)
        kept = kept or key in self.keep_ids
        try:
            with os.scandir(path) as it:
                names = [e.name for e in it]
        except OSError:
            return
        entries = [(name, *self.classify(path + name)) for name in names]
        dir_index = -1
        for k, mask in enumerate(self.masks):
            for name, kind, fst in entries:
                if not mask_matches(mask, decode_name(name)) or kind != "file":
                    continue
                if self.accept(fst, name):
                    if dir_index < 0:
                        self.dirs.append(path)
                        dir_index = len(self.dirs) - 1
                    elif k > 0 and self.taken_here(name, dir_index):
                        continue
                    self.collected.add((fst.st_dev, fst.st_ino))
                    self.scan.append(Record(fst.st_size, name, dir_index, kept))
        for name, kind, _ in entries:
            if kind == "dir" and name not in (b".", b".."):
                self.scan_directory(path + name + b"/", kept)

    def accept(self, st, name):
        size = st.st_size
        if self.opts["exclude_zero"] and size == 0:
            return False
        if size < self.opts["min_size"] or (self.opts["max_size"] >= 0 and size > self.opts["max_size"]):
            return False
        if self.opts["protect_files"] and name.lower().endswith(SYSTEM_SUFFIXES):
            return False
        return (st.st_dev, st.st_ino) not in self.collected

    def taken_here(self, name, dir_index):
        for rec in reversed(self.scan):
            if rec.dir_index != dir_index:
                break
            if rec.name == name:
                return True
        return False

    def walk_listed(self, listed):
        """Keep folders first, then the listed folders that no keep folder covers."""
        keep = [d if d.endswith(b"/") else d + b"/" for d in self.opts["keep"]]
        norm = [d if d.endswith(b"/") else d + b"/" for d in listed]

        def chosen(folders, i):
            inside = any(j != i and folders[i] != folders[j] and folders[i].startswith(folders[j])
                         for j in range(len(folders)))
            repeated = any(folders[j] == folders[i] for j in range(i))
            return not (inside or repeated)

        for i, d in enumerate(self.opts["keep"]):
            if chosen(keep, i) and os.path.isdir(d) and not self.lies_in_trash(keep[i]):
                self.scan_directory(keep[i], True)
        for i, d in enumerate(listed):
            if not chosen(norm, i) or any(norm[i].startswith(k) for k in keep):
                continue
            if os.path.isdir(d) and not self.lies_in_trash(norm[i]):
                self.scan_directory(norm[i])

    # -- comparison

    def full_path(self, rec):
        return self.dirs[rec.dir_index] + rec.name

    def find_duplicate_groups(self):
        scan = self.scan
        last = len(scan) - 1
        self.group_no = 0
        i = 0
        run_open = False
        while i <= last:
            if not run_open:
                run_size, run_start, run_open = scan[i].size, i, True
                i += 1
            elif scan[i].size == run_size and i != last:
                i += 1
            else:
                ends_loop = i == last and scan[i].size == run_size
                end = i if ends_loop else i - 1
                run_open = False
                if end > run_start:
                    if run_size == 0:
                        self.append_group(scan[run_start:end + 1])
                    else:
                        self.run_procedure(run_start, end)
                if ends_loop:
                    break

    def append_group(self, members):
        """A group of kept files alone is not listed, nor (with --only-with-kept) one without."""
        kept = sum(1 for r in members if r.kept)
        if kept == len(members) or (self.opts["only_with_kept"] and kept == 0):
            return
        self.group_no += 1
        for rec in members:
            self.results.append((self.group_no, rec.size, self.full_path(rec)))

    def run_procedure(self, s, e):
        scan = self.scan
        size = scan[s].size
        if size <= BLOCK_SIZE:
            for j in range(s, e + 1):
                scan[j].candidate = 1
        else:
            first = {}
            for j in range(s, e + 1):
                scan[j].candidate = 0
                ok, scan[j].crc, wide = first_block_crc(self.full_path(scan[j]))
                if ok:
                    first[id(scan[j])] = (scan[j].crc, wide)
            sort_file_list(scan, s, e, compare_crc, 1)
            # A candidate shares its first block's CRC-32 and 128-bit hash with another
            # readable file of the run.
            shared = {}
            for key in first.values():
                shared[key] = shared.get(key, 0) + 1
            for j in range(s, e + 1):
                key = first.get(id(scan[j]))
                scan[j].candidate = 1 if key is not None and shared[key] > 1 else 0
        dropped = 0
        if self.opts["byte_compare"]:
            members = [j for j in range(s, e + 1) if scan[j].candidate == 1]
            dropped = (e - s + 1) - len(members)
            if members:
                subs = compare_file_group([self.full_path(scan[j]) for j in members], size)
                for j, sub in zip(members, subs):
                    if sub == 0:
                        dropped += 1
                        scan[j].candidate = 0
                    scan[j].crc = sub
        else:
            for j in range(s, e + 1):
                if scan[j].candidate == 1:
                    ok, crc, scan[j].wide = file_crc(self.full_path(scan[j]), size)
                    scan[j].crc = crc
                    if not ok:
                        scan[j].candidate = 0
                        dropped += 1
                else:
                    dropped += 1
        if dropped:
            sort_file_list(scan, s, e, compare_candidate, 0)
            s += dropped
        sort_file_list(scan, s, e, compare_crc, 1)
        split_collisions(scan, s, e)
        same = lambda x, y: x.crc == y.crc and x.wide == y.wide
        group = []
        for j in range(s, e + 1):
            if group and not same(scan[j], group[-1]):
                if len(group) > 1:
                    self.append_group(group)
                group = []
            group.append(scan[j])
        if len(group) > 1:
            self.append_group(group)

    def run(self, listed):
        self.walk_listed(listed)
        sort_file_list(self.scan, 0, len(self.scan) - 1, compare_size, 1)
        self.find_duplicate_groups()


# ---------------------------------------------------------------- front

def fmt_count(n):
    return format(n, ",")


def end_message(scanned, results):
    head = "Search finished." + " " * 36 + "\n\r\n\rScanned: " + fmt_count(scanned) + " files" + "\n\r"
    if len(results) - 1 > 0:
        n = len(results)
        g = results[-1][0]
        text = (head + "Found: " + fmt_count(n) + " files" + "\n\r" + " including: " + "\n\r"
                + "    Original files: " + str(g) + "\n\r" + "    Duplicate files: " + str(n - g))
    else:
        text = head + "Duplicates Found: 0 "
    return text.replace("\n\r", "\n") + "\n"


SIZE_TEXT = re.compile(r"\s*(\d+(?:[.,]\d*)?|[.,]\d+)\s*(B|KB|MB)?\s*", re.IGNORECASE)


def parse_size(text):
    """N[B|KB|MB], kilobytes by default, "." or "," before the decimals, truncated."""
    m = SIZE_TEXT.fullmatch(text)
    if not m:
        raise ValueError(text)
    unit = {"B": 1, "KB": 1024, "MB": 1048576}[(m.group(2) or "KB").upper()]
    return int(float(m.group(1).replace(",", ".")) * unit)


def parse_args(argv):
    opts = {
        "masks": "*.*", "min_size": 0, "max_size": -1, "exclude_zero": True,
        "protect_folders": True, "protect_files": True, "byte_compare": False,
        "protected": list(DEFAULT_PROTECTED), "keep": [], "only_with_kept": False,
        "skip_folders": "",
    }
    listed = []
    it = iter(argv)
    for arg in it:
        a = os.fsdecode(arg)
        if a == "--masks":
            opts["masks"] = decode_name(next(it))
        elif a == "--min-size":
            opts["min_size"] = parse_size(os.fsdecode(next(it)))
        elif a == "--max-size":
            opts["max_size"] = parse_size(os.fsdecode(next(it)))
        elif a == "--include-empty":
            opts["exclude_zero"] = False
        elif a == "--no-protect-folders":
            opts["protect_folders"] = False
        elif a == "--no-protect-files":
            opts["protect_files"] = False
        elif a == "--byte-compare":
            opts["byte_compare"] = True
        elif a == "--format":
            if os.fsdecode(next(it)) != "tsv":
                raise ValueError("only tsv")
        elif a == "--keep":
            d = next(it)
            opts["keep"].append(d)
            listed.append(d)
        elif a == "--only-with-kept":
            opts["only_with_kept"] = True
        elif a == "--skip-folders":
            opts["skip_folders"] = decode_name(next(it))
        elif a == "--protected":
            opts["protected"] = [p for p in os.fsdecode(next(it)).split(":") if p]
        elif a.startswith("--"):
            raise ValueError(a)
        else:
            listed.append(arg)
    if opts["only_with_kept"] and not opts["keep"]:
        raise ValueError("--only-with-kept needs --keep")
    return opts, listed


def check_start(opts, listed):
    if opts["max_size"] >= 0 and opts["min_size"] > opts["max_size"]:
        raise Refused("Min File Size is bigger than Max File Size. Please, fix this.")
    if not listed:
        raise Refused("Please, add one or more directories to search.")
    if opts["masks"].strip("".join(chr(c) for c in range(0x21))) == "":
        raise Refused("Please, add one or more file masks.")


def main():
    argv = [os.fsencode(a) for a in sys.argv[1:]]
    try:
        opts, listed = parse_args(argv)
    except (ValueError, StopIteration):
        sys.stderr.write(USAGE)
        return 2
    # A named folder that cannot be searched gets its own line; the others are still searched.
    folder_failed = False
    for folder in listed:
        try:
            os.close(os.open(folder, os.O_RDONLY | os.O_DIRECTORY | os.O_CLOEXEC))
        except OSError as error:
            sys.stderr.buffer.write(b"pellmora-scan: " + folder + b": " +
                                    os.strerror(error.errno).encode() + b"\n")
            folder_failed = True
    sys.stderr.flush()
    try:
        check_start(opts, listed)
    except Refused as refusal:
        sys.stderr.write(str(refusal) + "\n")
        return 1
    search = Search(opts)
    search.run(listed)
    out = sys.stdout.buffer
    for group, size, path in search.results:
        out.write(b"%d\t%d\t" % (group, size) + path + b"\n")
    out.flush()
    sys.stderr.write(end_message(len(search.scan), search.results))
    return 1 if folder_failed else 0


if __name__ == "__main__":
    sys.exit(main())
