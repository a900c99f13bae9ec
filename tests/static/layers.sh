#!/usr/bin/env bash
# The layers of the source tree, read from the build's ds_layer() lines:
#  - only win32/WinApi.h includes <windows.h> (resource scripts aside);
#  - no portable folder (and no native test) includes anything from win32/
#    or a Windows SDK header;
#  - each folder includes only its own files and the layers its library links
#    (directly or through the layers below);
#  - every folder with sources has its library, and each portable library
#    links alone (build/native/layer-links/, made by the native build).
set -u
cd "${DS_ROOT:-.}"
exec python3 - "${DS_NATIVE_BUILD:-build/native}" <<'EOF'
import os, re, sys

native_build = sys.argv[1]
SKIP = {".git", "build", "dist", "node_modules"}
SOURCE = (".cpp", ".h", ".c", ".hpp", ".inc")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
SDK = re.compile(r"^(windows|win[a-z0-9]*|setupapi|commctrl|shlobj|shellapi|shlwapi|cfgmgr32|newdev|objbase|"
                 r"uxtheme|wincodec|ole2|commdlg|tlhelp32|psapi)\.h$", re.I)

failed = 0
def out(good, what):
    global failed
    failed += not good
    print(("ok - " if good else "not ok - ") + what)

sources = []
cmake_files = []
for root, dirs, files in os.walk("."):
    dirs[:] = sorted(d for d in dirs if d not in SKIP and not d.startswith("build"))
    for f in sorted(files):
        p = os.path.normpath(os.path.join(root, f))
        if f.endswith(SOURCE):
            sources.append(p)
        elif f == "CMakeLists.txt" or f.endswith(".cmake"):
            cmake_files.append(p)

def includes(path):
    with open(path, encoding="utf-8", errors="replace") as fh:
        return INCLUDE.findall(fh.read())

# The layers: name -> (folder, libraries it links).
layers = {}
for c in cmake_files:
    text = open(c, encoding="utf-8").read()
    for m in re.finditer(r"^\s*ds_layer\(([^)]*)\)", text, re.M):
        words = m.group(1).split()
        if "SYSTEM" in words:
            words = words[: words.index("SYSTEM")]
        layers[words[0]] = (words[1], words[2:])
out(len(layers) > 0, f"the build declares its layers ({len(layers)})")
folder_of = {n: f for n, (f, _) in layers.items()}
layer_at = {f: n for n, (f, _) in layers.items()}

def below(name, seen=None):
    seen = set() if seen is None else seen
    for d in layers.get(name, ("", []))[1]:
        if d in layers and d not in seen:
            seen.add(d)
            below(d, seen)
    return seen

def folder_layer(folder):  # the layer whose folder is this one
    return layer_at.get(folder)

def is_windows_folder(folder):
    return folder == "win32" or folder.startswith("win32/") or folder.startswith("inst2k/win32")

# 1. One door to <windows.h>.
bad = [s for s in sources if s != "win32/WinApi.h"
       and any(i.lower() == "windows.h" for _, i in includes(s))]
for s in bad:
    out(False, f"{s} includes <windows.h> (include win32/WinApi.h)")
out(not bad, "only win32/WinApi.h includes <windows.h>")

# 2. Portable folders and the native tests stay clear of Windows.
portable = sorted(f for f in layer_at if not is_windows_folder(f)) + ["tests/unit", "tests/fakes", "fuzz/targets"]
bad = []
for s in sources:
    folder = os.path.dirname(s)
    if folder not in portable:
        continue
    for kind, inc in includes(s):
        if (kind == '"' and (inc.startswith("win32/") or "/win32/" in inc)) or (kind == "<" and SDK.match(inc)):
            bad.append(f"{s} includes {inc}")
for b in bad:
    out(False, b)
out(not bad, f"the portable folders and native tests include nothing of Windows ({len(portable)} folders)")

# 3. Includes follow the layers.
bad = []
for s in sources:
    folder = os.path.dirname(s)
    name = folder_layer(folder)
    if not name:
        continue
    allowed = {folder} | {folder_of[d] for d in below(name)}
    for kind, inc in includes(s):
        if kind != '"' or "/" not in inc:
            continue
        target = os.path.dirname(inc)
        if target in allowed or (inc == "win32/WinApi.h" and is_windows_folder(folder)):
            continue
        bad.append(f"{s} includes {inc}, which is not below {name}")
for b in bad:
    out(False, b)
out(not bad, "every folder includes only the layers below it")

# 4. Every folder with product sources is a layer (or a program of inst2k/win32).
PROGRAMS = ("tests", "fuzz", "cmake", "inst2k/win32", "examples", "demo", "scripts")
loose = sorted({os.path.dirname(s) for s in sources if s.endswith((".cpp", ".c"))
                and not os.path.dirname(s).startswith(PROGRAMS) and os.path.dirname(s) not in layer_at})
for f in loose:
    out(False, f"{f} has sources but no library")
out(not loose, "every folder with sources has its library")

# 5. Each portable library links alone with all its objects.
for name in sorted(layers):
    folder = folder_of[name]
    if is_windows_folder(folder) or not any(os.path.dirname(s) == folder and s.endswith((".cpp", ".c")) for s in sources):
        continue
    exe = os.path.join(native_build, "layer-links", name + "_links")
    out(os.path.isfile(exe), f"{name} links with only the layers below it")
sys.exit(1 if failed else 0)
EOF
