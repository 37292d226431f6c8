#!/usr/bin/env python3
"""Checks the VERSIONINFO strings of shipped programs: the suite's company and
product names, one version for all, a file description in Japanese.

    check-versioninfo.py <version> <file>...

Reads the UTF-16 string table as the resource compiler lays it out: each
entry is its key, NUL, padding, then its value up to NUL.
"""
import sys


def value(data: bytes, key: str):
    needle = (key + "\0").encode("utf-16-le")
    at = data.find(needle)
    if at < 0:
        return None
    at += len(needle)
    while data[at:at + 2] == b"\0\0":
        at += 2
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")


def main() -> int:
    version, files = sys.argv[1], sys.argv[2:]
    failures = 0
    for path in files:
        data = open(path, "rb").read()
        found = {k: value(data, k) for k in
                 ("CompanyName", "ProductName", "FileDescription", "FileVersion", "ProductVersion")}
        problems = []
        if found["CompanyName"] != "Quillon Kestrel":
            problems.append("CompanyName %r" % found["CompanyName"])
        if found["ProductName"] != "Tidemark":
            problems.append("ProductName %r" % found["ProductName"])
        for k in ("FileVersion", "ProductVersion"):
            if found[k] != version:
                problems.append("%s %r, not %s" % (k, found[k], version))
        description = found["FileDescription"] or ""
        if not any("\u3040" <= c <= "\u30ff" or "\u4e00" <= c <= "\u9fff" for c in description):
            problems.append("FileDescription %r is not Japanese" % description)
        name = path.rsplit("/", 1)[-1]
        if problems:
            failures += 1
            print("versioninfo: %s: %s" % (name, "; ".join(problems)))
        else:
            print("versioninfo: %s: %s %s, %s" % (name, found["ProductName"], found["FileVersion"], description))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
