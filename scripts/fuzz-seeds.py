#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into OUT/<target>/: the recorded machines of
tests/fixtures/linux, the simulated machines' profiles where they hold the same kind of text, and
the inputs that once broke a parser (fuzz/regressions/<target>/, kept in git).

A target that reads several texts takes them in one input, joined by a line holding only the ASCII
record separator (fuzz/FuzzInput.h)."""

import hashlib
import json
import re
import shutil
import sys
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent
MACHINES = REPO / "tests" / "fixtures" / "linux"
PROFILES = REPO / "resources" / "sim"
KEPT = REPO / "fuzz" / "corpus"
SEPARATOR = b"\n\x1e\n"


def machines():
    """Every recorded machine: the directories that hold a proc or sys tree."""
    return sorted({p.parent for pattern in ("*/proc", "*/*/proc", "*/sys", "*/*/sys") for p in MACHINES.glob(pattern)})


def read(path):
    return path.read_bytes() if path.is_file() else b""


def joined(*parts):
    return SEPARATOR.join(parts)


class Corpus:
    def __init__(self, out):
        self.out = out

    def add(self, target, data):
        if not data:
            return
        folder = self.out / target
        folder.mkdir(parents=True, exist_ok=True)
        (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def cgroup_levels(machine):
    """The limit, usage and memory.stat texts of the cgroup directories that hold a limit, from the
    mount down (at most three)."""
    root = machine / "sys" / "fs" / "cgroup"
    levels = []
    for limit in sorted(root.rglob("memory.max")) + sorted(root.rglob("memory.limit_in_bytes")):
        usage = "memory.current" if limit.name == "memory.max" else "memory.usage_in_bytes"
        levels.append((read(limit), read(limit.parent / usage), read(limit.parent / "memory.stat")))
    return levels[:3]


def from_machines(corpus):
    for m in machines():
        proc, sys_ = m / "proc", m / "sys"
        corpus.add("mount_table", read(proc / "self" / "mountinfo"))
        corpus.add("kernel_release", read(proc / "sys" / "kernel" / "osrelease"))
        hostname = read(proc / "sys" / "kernel" / "hostname")
        if hostname:
            corpus.add("host_name", bytes([65]) + hostname)
        compatible = read(sys_ / "firmware" / "devicetree" / "base" / "cpus" / "cpu@0" / "compatible")
        corpus.add("cpuinfo", joined(read(proc / "cpuinfo"), compatible) if compatible else read(proc / "cpuinfo"))

        levels = cgroup_levels(m)
        first = levels[0] if levels else (b"", b"", b"")
        corpus.add("meminfo", joined(read(proc / "meminfo"), read(proc / "self" / "status"), *first))
        if read(proc / "self" / "cgroup"):
            corpus.add("cgroup", joined(read(proc / "self" / "cgroup"), *[t for level in levels for t in level]))

        dmi = sys_ / "class" / "dmi" / "id"
        model = read(proc / "device-tree" / "model") or read(sys_ / "firmware" / "devicetree" / "base" / "model")
        corpus.add("dmi", joined(*[read(dmi / n) for n in ("bios_vendor", "bios_version", "bios_release", "bios_date")],
                                 model))
        # The JSON writer takes any one string the machine gives.
        for text in [read(dmi / n) for n in ("bios_vendor", "bios_version", "bios_date")] + [model, hostname]:
            corpus.add("json_writer", text.rstrip(b"\n"))

        ids = read(m / "usr" / "share" / "misc" / "pci.ids")
        for device in sorted((sys_ / "bus" / "pci" / "devices").glob("*")):
            udev = read(m / "run" / "udev" / "data" / ("+pci:" + device.name))
            corpus.add("pci", joined(read(device / "vendor"), read(device / "device"), udev, ids))

        for record in sorted((m / "run" / "udev" / "data").glob("b*")):
            corpus.add("volume_id", read(record))
        for link in sorted((m / "dev" / "disk").glob("by-*/*")):
            corpus.add("volume_id", joined(b"", link.name.encode()))
        for line in read(proc / "self" / "mountinfo").splitlines():
            after = line.split(b" - ", 1)
            if len(after) == 2 and len(after[1].split(b" ")) >= 2:
                fs_type, source = after[1].split(b" ")[:2]
                corpus.add("volume_id", joined(b"", b"", fs_type, source))

        connectors = sorted((sys_ / "class" / "drm").glob("card*-*"))
        for a, b in zip(connectors, connectors[1:] + connectors[:1]):
            corpus.add("drm_modes", joined(*[read(c / n) for c in (a, b) for n in ("status", "enabled", "modes")]))


def figure_patterns():
    """The program's own figure patterns, as FormatFigure.h writes them."""
    header = (REPO / "src" / "format" / "FormatFigure.h").read_text(encoding="utf-8")
    return [bytes(p, "utf-8").decode("unicode_escape").encode() for p in re.findall(r'Pattern = "(.*)";', header)]


def from_profiles(corpus):
    patterns = figure_patterns()
    for profile in sorted(PROFILES.glob("*.json")):
        machine = json.loads(profile.read_text(encoding="utf-8"))
        locale = machine.get("locale", {})
        thousands = locale.get("thousandSeparator", ",").encode()
        decimal = locale.get("decimalSeparator", ".").encode()
        corpus.add("number_separators", thousands)
        corpus.add("number_separators", decimal)
        memory = machine.get("memory", {})
        figures = [str(v / 1048576).encode() for v in memory.values() if isinstance(v, int)]
        for pattern in patterns:
            for figure in figures[:3] + [b"0", b"-0.005", b"999999999999999999", b"1e400"]:
                corpus.add("format_figure", joined(thousands, decimal, figure, pattern))
        corpus.add("host_name", bytes([16]) + machine.get("computerName", "").encode())
        corpus.add("json_writer", machine.get("computerName", "").encode())
        for key in machine.get("registry", {}).get("keys", []):
            parts = []
            for value in key.get("values", []):
                if value.get("type") == "REG_SZ":
                    parts += [value["name"].encode(), b"\x00" + value["data"].encode()]
                    corpus.add("json_writer", value["data"].encode())
            corpus.add("registration_write", joined(*parts[:8]))


def from_kept(corpus):
    for case in sorted(KEPT.glob("*/*")):
        corpus.add(case.parent.name, case.read_bytes())


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: fuzz-seeds.py OUT_DIR")
    out = Path(sys.argv[1])
    shutil.rmtree(out, ignore_errors=True)
    corpus = Corpus(out)
    from_machines(corpus)
    from_profiles(corpus)
    from_kept(corpus)
    for folder in sorted(out.iterdir()):
        print(f"{folder.name}: {len(list(folder.iterdir()))} seeds")


if __name__ == "__main__":
    main()
