#!/usr/bin/env python3
"""Fails on an #include that runs against the layer table below, and on code above the
platform that reads or replaces a file outside the page-file service (host/pagefile/) without
being named, with its kind of file, in OTHER_FILES.

Each folder of the product has a layer and a rank. A file may include its own folder's
headers, and those of a folder of lower rank whose layer its own layer may use. Tests may
include anything but are included by nothing; benchmarks may include the product and
testing/, which tests and benchmarks share.
"""
import re
import subprocess
import sys
from pathlib import Path

# folder: (layer, rank), bottom up.
FOLDERS = {
    "platform/failure": ("platform", 0),
    "platform/text": ("platform", 0),
    "platform/process": ("platform", 0),
    "platform/files": ("platform", 1),
    "platform/registry": ("platform", 2),
    "com": ("com", 3),
    "com/registration": ("com", 4),
    "resources/identity": ("addin", 5),
    "wizard/settings": ("addin", 5),
    "wizard/form": ("addin", 5),
    "wizard/snippet": ("addin", 6),
    "wizard": ("addin", 7),
    "addin": ("addin", 8),
    "addin/module": ("addin", 9),
    "host/messagebox": ("host", 5),
    "host/pagefile": ("host", 5),
    "host/page": ("host", 5),
    "host/browser": ("host", 5),
    "host/commandbars": ("host", 5),
    "host/preview": ("host", 5),
    "host/addins": ("host", 5),
    "host/regtool": ("host", 5),
    "host/site": ("host", 6),
    "host/sourceview": ("host", 6),
    "host/addinsui": ("host", 6),
    "host/formcheck": ("host", 7),
    "host/editor": ("editor", 10),
}
# layer: the layers it may use besides its own.
USES = {
    "platform": set(),
    "com": {"platform"},
    "addin": {"platform", "com"},
    "host": {"platform", "com"},
    "editor": {"platform", "com", "host"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

# Page files are read and replaced by host/pagefile/ alone. Any other code above the platform
# that opens, reads whole or replaces a file is named here with the kind of file it is.
FILE_ACCESS = re.compile(
    r"\bQFile\s+\w+\s*\(|new QFile\(|QSaveFile|readAll\(|replaceFile\(|ifstream|ofstream|"
    r"readFile\(|(?<![\w:])::open\(|\bfopen\(|QFile::copy")
OTHER_FILES = {
    "host/pagefile/page_file.cpp": "the page-file service itself",
    "host/editor/page.cpp": "the system's free memory (/proc/meminfo, the control group's limit)",
    "host/editor/run_editor.cpp": "the tour script",
    "host/editor/tour_folder.cpp": "the tour folder's record of what tours wrote",
    "host/editor/tour_runner.cpp": "the texts of a dialog a tour reads, written to its folder",
    "host/formcheck/service_form.cpp": "what the service reads (service_form.json beside the template)",
    "host/addins/load_record.cpp": "records of add-in calls in progress",
    "host/site/site_folder.cpp": "a site folder's .siteignore",
    "host/preview/form_audit.cpp": "the accessibility audit's script",
    "host/preview/page_scheme.cpp": "files a rendered page loads from its folder, streamed, 64 MiB each at most",
    "host/browser/browser_profiles.cpp": "the browser profiles' markers",
    "host/regtool/child_registration.cpp": "/proc entries of the registration child",
    "wizard/form/string_table.cpp": "the wizard's string table (a resource)",
    "wizard/snippet/module_folder.cpp": "/proc/self/maps",
    "wizard/snippet/template_file.cpp": "the web-form template",
    "wizard/settings/ini_settings_store.cpp": "the settings file (the platform's per-user file service)",
}


def folder_of(path):
    return str(Path(path).parent)


def verdict(source, target):
    src, dst = folder_of(source), folder_of(target)
    if src == dst or dst == ".":
        return None  # the folder's own header, or a generated one beside the source
    top = src.split("/")[0]
    if top in ("tests", "testing"):
        return None
    if dst.split("/")[0] in ("tests", "testing") and not (top == "bench" and dst == "testing"):
        return "only tests include tests" if dst.split("/")[0] == "tests" else "only tests and benchmarks include testing/"
    if top == "bench":
        return None
    if src not in FOLDERS:
        return f"{src} is not in the layer table"
    if dst not in FOLDERS:
        return f"{dst} is not in the layer table"
    (src_layer, src_rank), (dst_layer, dst_rank) = FOLDERS[src], FOLDERS[dst]
    if dst_layer != src_layer and dst_layer not in USES[src_layer]:
        return f"the {src_layer} layer does not use the {dst_layer} layer"
    if dst_rank >= src_rank:
        return f"{dst} (rank {dst_rank}) is not below {src} (rank {src_rank})"
    return None


def main():
    root = Path(__file__).resolve().parent.parent
    files = subprocess.run(["git", "-C", str(root), "ls-files", "*.h", "*.cpp"],
                           capture_output=True, text=True, check=True).stdout.split()
    faults = 0
    for name in files:
        text = (root / name).read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            reason = verdict(name, match.group(1))
            if reason:
                line = text.count("\n", 0, match.start()) + 1
                print(f"{name}:{line}: #include \"{match.group(1)}\": {reason}")
                faults += 1
        top = name.split("/")[0]
        if top in ("host", "addin", "wizard", "com") and name not in OTHER_FILES:
            for match in FILE_ACCESS.finditer(text):
                line = text.count("\n", 0, match.start()) + 1
                print(f"{name}:{line}: {match.group(0)}: page files are read and replaced by "
                      "host/pagefile/ alone; another kind of file is named in OTHER_FILES")
                faults += 1
    if faults:
        print(f"{faults} fault(s) against the layer table or the page-file rule (scripts/check-layers.py)")
        return 1
    print(f"Layers: {len(files)} files, every include runs downward")
    return 0


if __name__ == "__main__":
    sys.exit(main())
