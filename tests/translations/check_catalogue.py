#!/usr/bin/env python3
"""The catalogue check: each catalogue holds every text of the sources, translated, and no text
the sources no longer have; and no text an author reads is written without tr()
(untranslated_literals.py). Exits 1 naming what is wrong.

    check_catalogue.py LUPDATE SOURCE_LIST CATALOGUE... [--also SOURCE_LIST CATALOGUE...]...
SOURCE_LIST names the source files, one a line (lupdate's @list form). Each --also names
another set of catalogues with the sources they cover (the wizard's); the literals check
reads the first set's sources only.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def texts(path):
    """(context, source, comment) -> translation element, for every message."""
    out = {}
    for context in ET.parse(path).getroot().iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            key = (name, message.findtext("source"), message.findtext("comment") or "")
            out[key] = message.find("translation")
    return out


def check(lupdate, source_list, catalogues):
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for catalogue in catalogues:
            name = os.path.basename(catalogue)
            updated = os.path.join(work, name)
            shutil.copy(catalogue, updated)
            # The catalogue as the sources would make it now: new texts come in unfinished,
            # texts the sources lost go.
            subprocess.run([lupdate, "-silent", "-I", ROOT, "-locations", "none", "-no-obsolete",
                            "@" + source_list, "-ts", updated], check=True)
            before, after = texts(catalogue), texts(updated)
            for key in sorted(set(after) - set(before)):
                print(f"{name}: missing ({key[0]}): {key[1]!r}")
                failed = True
            for key in sorted(set(before) - set(after)):
                print(f"{name}: no longer in the sources ({key[0]}): {key[1]!r}")
                failed = True
            for key, translation in sorted(after.items()):
                if key in before and (translation.get("type") in ("unfinished", "vanished", "obsolete")
                                      or not (translation.text or translation.findall("numerusform"))):
                    print(f"{name}: not translated ({key[0]}): {key[1]!r}")
                    failed = True
    return failed


def main(lupdate, sets):
    failed = False
    for source_list, *catalogues in sets:
        failed = check(lupdate, source_list, catalogues) or failed
    if failed:
        print("Run the update_translations target, then translate what it added.")
    with open(sets[0][0]) as f:
        files = [line.strip() for line in f if line.strip()]
    literals = subprocess.run([sys.executable, os.path.join(HERE, "untranslated_literals.py")] + files)
    return 1 if failed or literals.returncode else 0


if __name__ == "__main__":
    sets = [[]]
    for argument in sys.argv[2:]:
        if argument == "--also":
            sets.append([])
        else:
            sets[-1].append(argument)
    sys.exit(main(sys.argv[1], sets))
