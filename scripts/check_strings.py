#!/usr/bin/env python3
"""Checks that every text the pages localize has an entry in every strings table.

The localizer looks up each row's "label", each "footerText", each "validTitles" entry, each
page's "title", and the two literals the sub-pages use for their titles. A text without an entry
shows in English, so a missing key is a silent half-translation; this script makes it loud.
It also checks that each maker row's picture exists, since a missing one shows no error either.

Usage: scripts/check_strings.py [RESOURCES_DIR]   (exit status 1 on any problem)
"""
import os
import plistlib
import sys

PAGES = ("Velkaro.plist", "VelkaroConfiguration.plist", "VelkaroMakers.plist")
CODE_KEYS = ("CONFIGURATION", "MAKERS")


def page_keys(page):
    keys = [page["title"]] if "title" in page else []
    for item in page.get("items", []):
        for field in ("label", "footerText"):
            if field in item:
                keys.append(item[field])
        keys.extend(item.get("validTitles", []))
    return keys


class OldStyleError(ValueError):
    pass


def decode_text(data):
    if data.startswith(b"\xff\xfe") or data.startswith(b"\xfe\xff"):
        return data.decode("utf-16")
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    return data.decode("utf-8")


def parse_old_style(text):
    """`"key" = "value";` entries, `"key";` alone, // and /* */ comments, the usual escapes."""
    entries, i, n = {}, 0, len(text)

    def skip():
        nonlocal i
        while i < n:
            if text[i].isspace():
                i += 1
            elif text.startswith("//", i):
                end = text.find("\n", i)
                i = n if end < 0 else end + 1
            elif text.startswith("/*", i):
                end = text.find("*/", i + 2)
                if end < 0:
                    raise OldStyleError("unterminated comment")
                i = end + 2
            else:
                return

    def string():
        nonlocal i
        if i >= n or text[i] != '"':
            raise OldStyleError(f"expected a quoted string at offset {i}")
        i += 1
        out = []
        while True:
            if i >= n:
                raise OldStyleError("unterminated string")
            c = text[i]
            i += 1
            if c == '"':
                return "".join(out)
            if c != "\\":
                out.append(c)
                continue
            if i >= n:
                raise OldStyleError("unterminated escape")
            e = text[i]
            i += 1
            if e in "nrt":
                out.append({"n": "\n", "r": "\r", "t": "\t"}[e])
            elif e == "U":
                digits = ""
                while i < n and len(digits) < 4 and text[i] in "0123456789abcdefABCDEF":
                    digits += text[i]
                    i += 1
                out.append(chr(int(digits, 16)) if digits else "U")
            elif e in "01234567":
                digits = e
                while i < n and len(digits) < 3 and text[i] in "01234567":
                    digits += text[i]
                    i += 1
                out.append(chr(int(digits, 8)))
            else:
                out.append(e)

    skip()
    while i < n:
        key = string()
        skip()
        if i < n and text[i] == "=":
            i += 1
            skip()
            value = string()
            skip()
        else:
            value = key
        if i >= n or text[i] != ";":
            raise OldStyleError(f"missing ';' after entry {key!r}")
        i += 1
        entries[key] = value
        skip()
    return entries


def load_table(path):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"bplist") or data.lstrip().startswith(b"<?xml"):
        table = plistlib.loads(data)
        if not isinstance(table, dict):
            raise ValueError("not a dictionary")
        return table, "property list"
    return parse_old_style(decode_text(data)), "old-style text"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    problems = []

    wanted = list(CODE_KEYS)
    maker_images = []
    for name in PAGES:
        with open(os.path.join(res, name), "rb") as f:
            page = plistlib.load(f)
        wanted.extend(page_keys(page))
        maker_images += [i["devImage"] for i in page.get("items", []) if "devImage" in i]
    wanted = list(dict.fromkeys(wanted))

    langs = sorted(d for d in os.listdir(res) if d.endswith(".lproj") and d != "Base.lproj")
    if not langs:
        problems.append("no <lang>.lproj folders")
    for lang in langs:
        path = os.path.join(res, lang, "Localizable.strings")
        try:
            table, kind = load_table(path)
        except (OSError, ValueError, OldStyleError) as err:
            problems.append(f"{lang}: cannot read Localizable.strings: {err}")
            continue
        missing = [k for k in wanted if k not in table]
        empty = [k for k, v in table.items() if not isinstance(v, str) or not v]
        unused = [k for k in table if k not in wanted]
        problems += [f"{lang}: missing {k!r}" for k in missing]
        problems += [f"{lang}: empty or non-text value for {k!r}" for k in empty]
        for k in unused:
            print(f"note: {lang}: {k!r} is not used by any page")
        print(f"{lang}: {len(table)} entries ({kind}), {len(wanted) - len(missing)}/{len(wanted)} keys")

    for image in maker_images:
        if not os.path.isfile(os.path.join(res, "images", "makers", image + ".png")):
            problems.append(f"maker picture images/makers/{image}.png is missing")

    for p in problems:
        print("error:", p)
    print("strings check:", "FAILED" if problems else "ok")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
