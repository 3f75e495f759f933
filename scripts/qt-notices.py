#!/usr/bin/env python3
"""Writes the notices of the Qt that zelvo.exe links statically: Qt's own licence (LGPL-3.0) with
where its source is, and every bundled third-party part that Qt's attribution files
(qt_attribution.json) list for what the Windows build compiles in: Qt Core, Qt GUI, Qt Widgets,
the windows platform plugin and the Windows styles, with the bundled HarfBuzz, PCRE2, zlib and
libpng.
  scripts/qt-notices.py QT_SOURCE_DIR DEBIAN_SOURCE_VERSION OUT_FILE
"""
import json
import sys
from pathlib import Path

# Folders of the Qt source whose attributions cover code compiled into the Windows build. The
# others are for modules, features or platforms it leaves out (Vulkan, OpenGL, D-Bus, network, test,
# JPEG, FreeType, Markdown, X11, macOS, Android, WebAssembly, ARM NEON, Unix-only process code).
COMPILED_IN = [
    "src/3rdparty/blake2",
    "src/3rdparty/double-conversion",
    "src/3rdparty/easing",
    "src/3rdparty/harfbuzz-ng",
    "src/3rdparty/icc",
    "src/3rdparty/libpng",
    "src/3rdparty/md4",
    "src/3rdparty/md5",
    "src/3rdparty/pcre2",
    "src/3rdparty/rfc6234",
    "src/3rdparty/sha1",
    "src/3rdparty/sha3",
    "src/3rdparty/tinycbor",
    "src/3rdparty/zlib",
    "src/corelib/text",
    "src/corelib/tools",
    "src/gui/painting",
    "src/gui/text",
    "util/gradientgen",
]


def attributions(folder):
    # Some of Qt's files hold control characters inside strings.
    entries = json.loads((folder / "qt_attribution.json").read_text(encoding="utf-8"), strict=False)
    return entries if isinstance(entries, list) else [entries]


def main():
    source, debian_version, out = Path(sys.argv[1]), sys.argv[2], Path(sys.argv[3])
    upstream = debian_version.split("+")[0]
    parts = []
    for name in COMPILED_IN:
        folder = source / name
        for entry in attributions(folder):
            licence_file = entry.get("LicenseFile")
            text = (folder / licence_file).read_text(encoding="utf-8", errors="replace") if licence_file else ""
            parts.append((entry, text.strip()))

    lines = [
        "Third-party notices for zelvo.exe",
        "=================================",
        "",
        f"zelvo.exe contains Qt {upstream} (Qt Core, Qt GUI, Qt Widgets, the windows platform plugin",
        "and the Windows styles), linked statically. Qt is used under the GNU Lesser General Public",
        "License, version 3 (LGPL-3.0-only), whose text follows; the GNU General Public License,",
        "version 3, which it builds on, is in LICENSE.txt.",
        "",
        f"The Qt source zelvo.exe was built from is Debian's qt6-base source package, version",
        f"{debian_version}: on Debian 12, `apt-get source qt6-base={debian_version}`, or from",
        f"https://snapshot.debian.org/package/qt6-base/{debian_version.replace('+', '%2B')}/ .",
        "Zelvo's own complete source (GPL-3.0-or-later) is available from where this zip came from;",
        "with it, zelvo.exe can be built again against a changed Qt.",
        "",
        f"Qt bundles the following parts, compiled into zelvo.exe; {len(parts)} notices follow the",
        "LGPL's text.",
        "",
    ]
    for entry, _ in parts:
        lines.append(f"  - {entry['Name']}" + (f" {entry['Version']}" if entry.get("Version") else ""))
    lines += ["", "", "GNU Lesser General Public License, version 3", "-" * 44, ""]
    lines.append((source / "LICENSES" / "LGPL-3.0-only.txt").read_text(encoding="utf-8").strip())
    for entry, text in parts:
        title = entry["Name"] + (f" {entry['Version']}" if entry.get("Version") else "")
        lines += ["", "", title, "-" * len(title), ""]
        if entry.get("QtUsage"):
            lines.append("Use in Qt: " + " ".join(entry["QtUsage"].split()))
        if entry.get("Homepage"):
            lines.append("Home page: " + entry["Homepage"])
        lines.append("Licence: " + (entry.get("LicenseId") or entry.get("License") or "public domain"))
        if entry.get("Copyright"):
            lines += ["", " ".join(entry["Copyright"].split()) if "\n" not in entry["Copyright"] else entry["Copyright"].strip()]
        if text:
            lines += ["", text]
    out.parent.mkdir(parents=True, exist_ok=True)
    # Windows' own editors read CR LF.
    out.write_text("\r\n".join(line.replace("\r\n", "\n").replace("\n", "\r\n") for line in lines) + "\r\n", encoding="utf-8")


if __name__ == "__main__":
    main()
