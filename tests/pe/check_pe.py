#!/usr/bin/python3
"""Checks ZOLVLOAD.exe as the system reads it, from the PE file alone.

    check_pe.py --arch x86_64|i686 [--icon-image BIN] [--compiler CXX]
                [--build-path DIR]... EXE CHECK...

CHECK is one or more of: machine subsystem imports xp version icon manifest
stamp (or "all"). Each check prints what it expected and what it found, and
the script exits 1 when any of them failed. Runs on the build host, with
Debian's python3-pefile and, for "xp", the build's MinGW compiler; no Wine.
"""

import argparse
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

try:
    import pefile
except ImportError:
    sys.exit("check_pe.py needs pefile: install Debian's python3-pefile")

# --- What the exe must be --------------------------------------------------

MACHINES = {
    # arch: (FILE_HEADER.Machine, its name, OPTIONAL_HEADER.Magic, its name)
    "x86_64": (0x8664, "AMD64", 0x20B, "PE32+"),
    "i686": (0x014C, "I386", 0x10B, "PE32"),
}
SUBSYSTEM_WINDOWS_GUI = 2
XP_WINDOWS_VERSION = (5, 1)

# DLLs the exe may import: Windows' own. Add a system DLL here when the
# program starts to use it; never a MinGW runtime DLL (we link it statically).
SYSTEM_DLLS = re.compile(
    r"^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$",
    re.IGNORECASE,
)
RUNTIME_DLLS = re.compile(r"^(libstdc\+\+|libgcc|libwinpthread)", re.IGNORECASE)

# The version record: app/zolvload.rc, numbers from program/identity.h.
VERSION_MS, VERSION_LS = (0 << 16) | 5, (0 << 16) | 0  # 0.5.0.0
VS_FFI_FILEFLAGSMASK = 0x3F
VOS__WINDOWS32 = 0x4
VFT_APP = 0x1
STRING_TABLE = "040904B0"
STRINGS = {
    "CompanyName": "ZOLV Loader developers",
    "FileDescription": "Front End for the popular Z.O.L.V emulator",
    "FileVersion": "0.05",
    "InternalName": "ZOLVLOAD",
    "OriginalFilename": "ZOLVLOAD.exe",
    "ProductName": "ZOLV Loader",
    "ProductVersion": "0.05",
}
TRANSLATIONS = [(0x0409, 1200)]

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
ICON_GROUP_ID = 1  # IDI_APP
ICON_IMAGE_ID = 30001  # IDI_APP_IMAGE
ICON_IMAGE_SIZE = 40 + 64 + 512 + 128
# The standard 16-colour Windows palette as RGBQUADs (blue, green, red, 0).
PALETTE = b"".join(
    bytes((b, g, r, 0))
    for r, g, b in [
        (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
        (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
        (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
        (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
    ]
)

ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
WINDOWS_SETTINGS_2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings"
WINDOWS_SETTINGS_2016 = "http://schemas.microsoft.com/SMI/2016/WindowsSettings"
SUPPORTED_OS = {
    "Windows Vista": "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
    "Windows 7": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
    "Windows 8": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "Windows 8.1": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
    "Windows 10": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",
}


def differs(what, expected, actual):
    return f"{what}: expected {expected}, actual {actual}"


def compared(rows, prefix=""):
    """The problems of (what, expected, actual) rows whose two differ."""
    return [differs(prefix + what, expected, actual) for what, expected, actual in rows if expected != actual]


# --- Resources ---------------------------------------------------------------


def resources(pe, type_id):
    """{id: [data of each language]} for one resource type; {} when there is none."""
    found = {}
    for type_entry in getattr(getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None), "entries", []):
        if type_entry.id != type_id:
            continue
        for name_entry in type_entry.directory.entries:
            key = name_entry.id if name_entry.id is not None else str(name_entry.name)
            for language in name_entry.directory.entries:
                entry = language.data.struct
                found.setdefault(key, []).append(pe.get_data(entry.OffsetToData, entry.Size))
    return found


def single_resource(pe, type_id, type_name, resource_id, problems, only=False):
    """The data of the one resource of that id, or None with the reason added to problems;
    with only, a resource of that type under another id is a problem too."""
    found = resources(pe, type_id)
    if only and sorted(found, key=str) != [resource_id]:
        problems.append(differs(f"{type_name} resources", f"only id {resource_id}", sorted(found, key=str) or "none"))
    if resource_id not in found:
        problems.append(differs(f"{type_name} resources", f"id {resource_id}", sorted(found, key=str) or "none"))
        return None
    if len(found[resource_id]) != 1:
        problems.append(differs(f"{type_name} {resource_id}", "one language", f"{len(found[resource_id])}"))
    return found[resource_id][0]


# --- Checks: each returns a list of problems, empty when the exe is right ---


def check_machine(pe, arch):
    machine, machine_name, magic, magic_name = MACHINES[arch]
    problems = []
    if pe.FILE_HEADER.Machine != machine:
        actual = pefile.MACHINE_TYPE.get(pe.FILE_HEADER.Machine, hex(pe.FILE_HEADER.Machine))
        problems.append(differs("machine type", f"{machine_name} ({machine:#06x})", actual))
    if pe.OPTIONAL_HEADER.Magic != magic:
        problems.append(differs("optional header", f"{magic_name} ({magic:#x})", hex(pe.OPTIONAL_HEADER.Magic)))
    return problems


def check_subsystem(pe, arch):
    header = pe.OPTIONAL_HEADER
    problems = []
    if header.Subsystem != SUBSYSTEM_WINDOWS_GUI:
        name = pefile.SUBSYSTEM_TYPE.get(header.Subsystem, str(header.Subsystem))
        problems.append(differs("subsystem", f"IMAGE_SUBSYSTEM_WINDOWS_GUI ({SUBSYSTEM_WINDOWS_GUI})",
                                f"{name} ({header.Subsystem})"))
    if arch == "i686":
        # Windows XP (5.1) refuses to load an exe that asks for a newer one.
        for what, version in [
            ("subsystem version", (header.MajorSubsystemVersion, header.MinorSubsystemVersion)),
            ("OS version", (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion)),
        ]:
            if version > XP_WINDOWS_VERSION:
                problems.append(differs(what, "5.1 (Windows XP) or lower", "%d.%d" % version))
    return problems


def import_entries(pe):
    """(dll name, entry) of each import, delay-loaded ones too."""
    for attribute in ("DIRECTORY_ENTRY_IMPORT", "DIRECTORY_ENTRY_DELAY_IMPORT"):
        for entry in getattr(pe, attribute, []):
            yield entry.dll.decode("ascii", "replace"), entry


def check_imports(pe, arch):
    dlls = [dll for dll, _ in import_entries(pe)]
    if not dlls:
        return ["imports: expected at least KERNEL32.dll, actual no import table"]
    problems = []
    for dll in dlls:
        if RUNTIME_DLLS.match(dll):
            problems.append(f"imports: {dll} is a MinGW runtime DLL; expected it linked statically")
        elif not SYSTEM_DLLS.match(dll):
            problems.append(differs("imports", f"system DLLs only ({SYSTEM_DLLS.pattern})", dll))
    return problems


# What Windows XP SP3's system DLLs export is what MinGW's headers declare
# with _WIN32_WINNT and WINVER at XP's 0x0501: each function that came later
# is hidden there. The C runtime is left out, as MinGW's targets XP's msvcrt.
XP_VERSION = ["-D_WIN32_WINNT=0x0501", "-DWINVER=0x0501"]
XP_HEADERS = ["windows.h", "commdlg.h", "shellapi.h", "shlobj.h"]
C_RUNTIME_DLLS = re.compile(r"^(msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$", re.IGNORECASE)
UNDECLARED = re.compile(r"['\u2018]([A-Za-z_][A-Za-z0-9_]*)['\u2019] was not declared")


def system_imports(pe):
    """{dll: [function names]} of the exe's imports, the C runtime left out."""
    found = {}
    for dll, entry in import_entries(pe):
        if not C_RUNTIME_DLLS.match(dll):
            found.setdefault(dll, []).extend(
                symbol.name.decode("ascii") if symbol.name else f"#{symbol.ordinal}" for symbol in entry.imports)
    return found


def xp_source(names):
    """C++ that takes the address of each function, as its exact import name."""
    lines = [f"#include <{header}>" for header in XP_HEADERS]
    for name in names:
        # A name that a header makes a macro here (SetWindowLongPtrW on
        # i686, ...) is checked as the function itself, not as what the
        # macro stands for.
        lines += [f"#ifdef {name}", f"#undef {name}", "#endif"]
    lines.append("const void* const kImports[] = {")
    lines += [f"    reinterpret_cast<const void*>(&{name})," for name in names]
    lines.append("};")
    return "\n".join(lines) + "\n"


def check_xp(pe, arch, compiler):
    if not compiler:
        return ["xp: expected --compiler, the build's MinGW C++ compiler, actual none"]
    imports = system_imports(pe)
    problems = [f"xp: {dll} imports {name} by ordinal; expected by name, which can be checked"
                for dll, names in imports.items() for name in names if name.startswith("#")]
    names = sorted({name for names in imports.values() for name in names if not name.startswith("#")})
    if not names:
        return problems + ["xp: expected system imports to check, actual none"]
    result = subprocess.run([compiler, "-fsyntax-only", "-x", "c++", *XP_VERSION, "-"],
                            input=xp_source(names), capture_output=True, text=True,
                            env=dict(os.environ, LC_ALL="C"))
    missing = sorted(set(UNDECLARED.findall(result.stderr)))
    if result.returncode != 0 and not missing:
        return problems + [f"xp: expected the check to compile, actual {compiler} failed:\n{result.stderr}"]
    for name in missing:
        dll = next(d for d, functions in imports.items() if name in functions)
        problems.append(differs(f"xp: {dll}!{name}", "a function of Windows XP SP3", "newer (hidden at 0x0501)"))
    return problems


def version_nodes(data, offset=0, end=None):
    """Parses VS_VERSIONINFO-style nodes: yields (key, type, value bytes, children)."""
    end = len(data) if end is None else end
    while offset + 6 <= end:
        length, value_length, value_type = struct.unpack_from("<HHH", data, offset)
        if length == 0:
            break
        node_end = min(offset + length, end)
        key_end = offset + 6
        while key_end + 1 < node_end and data[key_end : key_end + 2] != b"\0\0":
            key_end += 2
        key = data[offset + 6 : key_end].decode("utf-16-le")
        value_start = (key_end + 2 + 3) & ~3
        value_size = value_length * 2 if value_type == 1 else value_length
        value = data[value_start : value_start + value_size]
        children_start = (value_start + value_size + 3) & ~3
        yield key, value_type, value, list(version_nodes(data, children_start, node_end))
        offset = (node_end + 3) & ~3


def check_version(pe, arch):
    problems = []
    data = single_resource(pe, RT_VERSION, "RT_VERSION", 1, problems)
    if data is None:
        return problems
    roots = list(version_nodes(data))
    if len(roots) != 1 or roots[0][0] != "VS_VERSION_INFO":
        return problems + [differs("version record", "one VS_VERSION_INFO", [r[0] for r in roots])]
    _, _, fixed, blocks = roots[0]
    if len(fixed) != 52:
        problems.append(differs("VS_FIXEDFILEINFO size", 52, len(fixed)))
    else:
        (signature, _, file_ms, file_ls, product_ms, product_ls, mask, flags, os, file_type, subtype,
         _, _) = struct.unpack("<13I", fixed)

        def version(ms, ls):
            return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"

        expected_version = version(VERSION_MS, VERSION_LS)
        problems += compared([
            ("signature", hex(0xFEEF04BD), hex(signature)),
            ("FILEVERSION", expected_version, version(file_ms, file_ls)),
            ("PRODUCTVERSION", expected_version, version(product_ms, product_ls)),
            ("FILEFLAGSMASK (VS_FFI_FILEFLAGSMASK)", hex(VS_FFI_FILEFLAGSMASK), hex(mask)),
            ("FILEFLAGS", hex(0), hex(flags)),
            ("FILEOS (VOS__WINDOWS32)", hex(VOS__WINDOWS32), hex(os)),
            ("FILETYPE (VFT_APP)", hex(VFT_APP), hex(file_type)),
            ("FILESUBTYPE", hex(0), hex(subtype)),
        ])

    by_key = {}
    for key, _, value, children in blocks:
        by_key.setdefault(key, []).append((value, children))
    tables = [child for _, children in by_key.get("StringFileInfo", []) for child in children]
    if [t[0].upper() for t in tables] != [STRING_TABLE]:
        problems.append(differs("string tables", f"one block {STRING_TABLE}", [t[0] for t in tables] or "none"))
    for table in tables:
        if table[0].upper() != STRING_TABLE:
            continue
        strings = {}
        for key, _, value, _ in table[3]:
            strings[key] = value.decode("utf-16-le").split("\0")[0]
        for key, expected in STRINGS.items():
            actual = strings.get(key)
            if actual != expected:
                problems.append(differs(f"{table[0]} {key}", repr(expected), "missing" if actual is None else repr(actual)))
        for key in sorted(set(strings) - set(STRINGS)):
            problems.append(differs(f"{table[0]} strings", sorted(STRINGS), f"also {key}={strings[key]!r}"))

    translations = []
    for _, children in by_key.get("VarFileInfo", []):
        for key, _, value, _ in children:
            if key == "Translation":
                translations += [struct.unpack_from("<HH", value, i) for i in range(0, len(value) - 3, 4)]
    if translations != TRANSLATIONS:
        show = lambda pairs: ", ".join(f"{lang:#06x}/{cp}" for lang, cp in pairs) or "none"
        problems.append(differs("Translation", show(TRANSLATIONS), show(translations)))
    return problems


def check_icon(pe, arch, expected_image=None):
    problems = []
    group = single_resource(pe, RT_GROUP_ICON, "RT_GROUP_ICON", ICON_GROUP_ID, problems, only=True)
    if group is None:
        return problems
    if len(group) < 6:
        return problems + [differs("icon group size", "at least 6 bytes", len(group))]
    reserved, kind, count = struct.unpack_from("<HHH", group)
    if (reserved, kind) != (0, 1):
        problems.append(differs("icon group header (reserved, type)", "(0, 1)", (reserved, kind)))
    if count != 1 or len(group) != 6 + 14 * count:
        return problems + [differs("icon group entries", "1 entry, 20 bytes", f"{count} entries, {len(group)} bytes")]
    width, height, colours, _, planes, bits, size, image_id = struct.unpack_from("<BBBBHHIH", group, 6)
    problems += compared([
        ("icon group entry size", "32x32", f"{width or 256}x{height or 256}"),
        ("icon group entry colours", 16, colours),
        ("icon group entry planes", 1, planes),
        ("icon group entry bits per pixel", 4, bits),
        ("icon group entry bytes", ICON_IMAGE_SIZE, size),
        ("icon group entry image id", ICON_IMAGE_ID, image_id),
    ])

    image = single_resource(pe, RT_ICON, "RT_ICON", ICON_IMAGE_ID, problems, only=True)
    if image is None:
        return problems
    if len(image) != ICON_IMAGE_SIZE:
        problems.append(differs(f"RT_ICON {ICON_IMAGE_ID} size", f"{ICON_IMAGE_SIZE} bytes", f"{len(image)} bytes"))
    if len(image) < 40 + len(PALETTE):
        return problems + [differs(f"RT_ICON {ICON_IMAGE_ID}", "a header and a palette", f"{len(image)} bytes")]
    header_size, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", image)
    problems += compared([
        ("header size", 40, header_size),
        ("biWidth", 32, w),
        ("biHeight (XOR and AND together)", 64, h),
        ("biPlanes", 1, planes),
        ("biBitCount", 4, bits),
        ("biCompression (BI_RGB)", 0, compression),
    ], f"RT_ICON {ICON_IMAGE_ID} ")
    palette = image[40:104]
    if palette != PALETTE:
        wrong = [i for i in range(16) if palette[4 * i : 4 * i + 4] != PALETTE[4 * i : 4 * i + 4]]
        problems.append(differs(f"RT_ICON {ICON_IMAGE_ID} palette", "the standard 16 colours",
                                f"entries {wrong} differ: {palette.hex(' ', 4)}"))
    if expected_image is not None and image != expected_image:
        problems.append(f"RT_ICON {ICON_IMAGE_ID}: expected the image made from app/icon.txt, actual other bytes")
    return problems


def check_manifest_text(text):
    try:
        root = ET.fromstring(text)
    except ET.ParseError as e:
        return [f"manifest: expected well-formed XML, actual: {e}"]
    problems = []
    if root.tag != f"{{{ASM_V1}}}assembly":
        problems.append(differs("manifest root", f"{{{ASM_V1}}}assembly", root.tag))

    def local(element):
        return element.tag.rsplit("}", 1)[-1]

    levels = [e.get("level") for e in root.iter() if local(e) == "requestedExecutionLevel"]
    if levels != ["asInvoker"]:
        problems.append(differs("requestedExecutionLevel", "['asInvoker']", levels or "none"))
    # Per-monitor v2, then v1, for Windows 10 and 8.1; system awareness before them.
    for name, namespace, value in [("dpiAware", WINDOWS_SETTINGS_2005, "true/pm"),
                                   ("dpiAwareness", WINDOWS_SETTINGS_2016, "PerMonitorV2, PerMonitor")]:
        found = [(e.tag, (e.text or "").strip()) for e in root.iter() if local(e) == name]
        if found != [(f"{{{namespace}}}{name}", value)]:
            problems.append(differs(name, f"one {{{namespace}}}{name} {value!r}", found or "none"))
    dependencies = [
        e.get("name") for e in root.iter()
        if local(e) == "assemblyIdentity" and (e.get("name") or "").lower() == "microsoft.windows.common-controls"
    ]
    if dependencies:
        problems.append(differs("manifest dependencies", "no Microsoft.Windows.Common-Controls (classic look)",
                                f"{len(dependencies)} dependency on it"))
    ids = {(e.get("Id") or "").lower() for e in root.iter() if local(e) == "supportedOS"}
    for name, guid in SUPPORTED_OS.items():
        if guid not in ids:
            problems.append(differs("supportedOS", f"{name} {guid}", "missing"))
    return problems


def check_manifest(pe, arch):
    problems = []
    data = single_resource(pe, RT_MANIFEST, "RT_MANIFEST", 1, problems, only=True)
    if data is None:
        return problems
    return problems + check_manifest_text(data)


# --- The same bytes from the same sources ----------------------------------


def time_stamps(pe):
    """(where, value) of each time stamp the file holds."""
    stamps = [("file header", pe.FILE_HEADER.TimeDateStamp)]

    def directories(directory, where):
        stamps.append((where, directory.struct.TimeDateStamp))
        for entry in directory.entries:
            if hasattr(entry, "directory"):
                directories(entry.directory, where)

    if hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        directories(pe.DIRECTORY_ENTRY_RESOURCE, "resource directory")
    if hasattr(pe, "DIRECTORY_ENTRY_EXPORT"):
        stamps.append(("export directory", pe.DIRECTORY_ENTRY_EXPORT.struct.TimeDateStamp))
    for debug in getattr(pe, "DIRECTORY_ENTRY_DEBUG", []):
        stamps.append(("debug directory", debug.struct.TimeDateStamp))
    return stamps


def check_stamp(pe, arch, build_paths=()):
    problems = [differs(f"time stamp of the {where}", "0 (none)", hex(value))
                for where, value in time_stamps(pe) if value != 0]
    data = pe.__data__
    for path in build_paths:
        path = path.rstrip("/")
        for encoding in ("utf-8", "utf-16-le"):
            offset = data.find(path.encode(encoding))
            if offset >= 0:
                problems.append(differs(f"build path {path}", "nowhere in the exe", f"at {offset:#x} ({encoding})"))
    return problems


CHECKS = {
    "machine": check_machine,
    "subsystem": check_subsystem,
    "imports": check_imports,
    "xp": check_xp,
    "version": check_version,
    "icon": check_icon,
    "manifest": check_manifest,
    "stamp": check_stamp,
}


def run(pe, arch, names, expected_image=None, compiler=None, build_paths=()):
    """Runs the named checks; returns {name: [problems]}."""
    extra = {"icon": (expected_image,), "xp": (compiler,), "stamp": (build_paths,)}
    return {name: CHECKS[name](pe, arch, *extra.get(name, ())) for name in names}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--arch", required=True, choices=sorted(MACHINES))
    parser.add_argument("--icon-image", help="icon_image.bin from the build: the RT_ICON data must equal it")
    parser.add_argument("--compiler", help="the build's MinGW C++ compiler, for the xp check")
    parser.add_argument("--build-path", action="append", default=[],
                        help="a directory the build saw (source, build) that must not be in the exe")
    parser.add_argument("exe")
    parser.add_argument("checks", nargs="+", choices=sorted(CHECKS) + ["all"])
    args = parser.parse_args()
    names = list(CHECKS) if "all" in args.checks else args.checks
    try:
        pe = pefile.PE(args.exe, fast_load=False)
    except (OSError, pefile.PEFormatError) as e:
        print(f"FAIL: cannot read {args.exe} as a PE file: {e}")
        return 1
    expected_image = None
    if args.icon_image:
        with open(args.icon_image, "rb") as f:
            expected_image = f.read()
    failed = 0
    for name, problems in run(pe, args.arch, names, expected_image, args.compiler, args.build_path).items():
        for problem in problems:
            print(f"FAIL [{name}] {problem}")
        if problems:
            failed += 1
        else:
            print(f"ok   [{name}]")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
