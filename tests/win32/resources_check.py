#!/usr/bin/env python3
"""resources_check.py VERSION WINDOW_EXE SCRIPT_EXE

Reads the resources out of the two built programs with wrestool (another reader than the
resource compiler that wrote them) and checks what Windows and Explorer read from them:

- the application manifest is well-formed XML whose assemblyIdentity has a type, a name and a
  version of four numbers of 0 to 65535, the project's version (Windows refuses to start a
  program whose embedded manifest breaks these rules); both ask for UTF-8 as their code page
  and to run as the user who starts them (trustInfo asInvoker: no elevation asked for nor
  guessed); the window asks for common controls 6 and is DPI aware for each monitor;
- the version record holds the same four numbers, a string table in Polish (language 0x0415,
  code page 1200) that its Translation entry points to, FileVersion and ProductVersion as the
  four numbers with points ("1.0.0.1"), and an OriginalFilename that is the file's own name;
- the window's icon holds 16, 24, 32, 48 and 256 pixel images.
"""
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
SETTINGS_2019 = "{http://schemas.microsoft.com/SMI/2019/WindowsSettings}"
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24

failures = []


def fail(path, message):
    failures.append(f"{os.path.basename(path)}: {message}")


def resource(path, kind, name=None):
    command = ["wrestool", "-x", "-R", f"--type={kind}"]
    if name is not None:
        command.append(f"--name={name}")
    return subprocess.run(command + [path], check=True, capture_output=True).stdout


def four_numbers(text):
    """The four numbers of a version "a.b.c.d", or None when it is not of that form."""
    if not re.fullmatch(r"\d{1,5}\.\d{1,5}\.\d{1,5}\.\d{1,5}", text or ""):
        return None
    numbers = tuple(int(part) for part in text.split("."))
    return numbers if all(n <= 65535 for n in numbers) else None


def check_manifest(path, version, window):
    data = resource(path, RT_MANIFEST, 1)
    if not data:
        fail(path, "no application manifest (resource 24/1)")
        return
    try:
        root = ET.fromstring(data)
    except ET.ParseError as error:
        fail(path, f"the manifest is not XML: {error}")
        return
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        fail(path, "the manifest's root is not an assembly of manifestVersion 1.0")
    identity = root.find(ASM_V1 + "assemblyIdentity")
    if identity is None:
        fail(path, "the manifest has no assemblyIdentity")
        return
    for attribute in ("type", "name"):
        if not identity.get(attribute):
            fail(path, f"the assemblyIdentity has no {attribute}")
    numbers = four_numbers(identity.get("version"))
    if numbers is None:
        fail(path, f"the manifest's version \"{identity.get('version')}\" is not four numbers "
             "of 0 to 65535")
    elif numbers != version:
        fail(path, f"the manifest's version is {numbers}, the project's {version}")

    levels = root.findall(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                          f"{ASM_V3}requestedExecutionLevel")
    if len(levels) != 1 or levels[0].get("level") != "asInvoker" or \
            levels[0].get("uiAccess") not in (None, "false"):
        fail(path, "the manifest does not ask to run as the invoker (trustInfo asInvoker)")

    settings = root.find(f"{ASM_V3}application/{ASM_V3}windowsSettings")
    code_page = settings.find(SETTINGS_2019 + "activeCodePage") if settings is not None else None
    if code_page is None or code_page.text != "UTF-8":
        fail(path, "the manifest does not ask for UTF-8 as the code page")
    if not window:
        return
    controls = [
        d for d in root.iterfind(f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/"
                                 f"{ASM_V1}assemblyIdentity")
        if d.get("name") == "Microsoft.Windows.Common-Controls"
    ]
    if len(controls) != 1 or controls[0].get("version") != "6.0.0.0" or \
            controls[0].get("publicKeyToken") != "6595b64144ccf1df" or \
            controls[0].get("type") != "win32":
        fail(path, "the manifest does not ask for common controls 6")
    aware = settings.find(SETTINGS_2005 + "dpiAware") if settings is not None else None
    awareness = settings.find(SETTINGS_2016 + "dpiAwareness") if settings is not None else None
    # Each monitor's scale (version 2 first), and for Windows before 10 1607 the older entry.
    if aware is None or aware.text != "true/pm" or awareness is None or \
            [a.strip().lower() for a in awareness.text.split(",")][0] != "permonitorv2":
        fail(path, "the manifest does not declare the window DPI aware for each monitor (v2)")


def version_blocks(data, offset=0):
    """One block of a version record: (key, value bytes, children), and where it ends."""
    length, value_length, text = struct.unpack_from("<HHH", data, offset)
    end = offset + length
    at = offset + 6
    key_end = at
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at:key_end].decode("utf-16-le")
    at = (key_end + 2 + 3) & ~3
    size = value_length * 2 if text == 1 else value_length
    value = data[at:at + size]
    at = (at + size + 3) & ~3
    children = []
    while at < end:
        child, at = version_blocks(data, at)
        children.append(child)
        at = (at + 3) & ~3
    return (key, value, children), end


def check_version_record(path, version):
    data = resource(path, RT_VERSION, 1)
    if not data:
        fail(path, "no version record (resource 16/1)")
        return
    (key, value, children), _ = version_blocks(data)
    if key != "VS_VERSION_INFO" or len(value) < 52:
        fail(path, "the version record does not start with VS_VERSION_INFO")
        return
    signature, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", value)
    if signature != 0xFEEF04BD:
        fail(path, "the version record's fixed part has the wrong signature")
    for what, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        numbers = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
        if numbers != version:
            fail(path, f"the {what} version is {numbers}, the project's {version}")

    blocks = {k: (v, c) for k, v, c in children}
    translation = next((v for k, v, _ in blocks.get("VarFileInfo", (b"", []))[1]
                        if k == "Translation"), b"")
    if len(translation) < 4:
        fail(path, "the version record has no Translation")
        return
    language, code_page = struct.unpack_from("<HH", translation)
    if (language, code_page) != (0x0415, 1200):
        fail(path, f"the version record's language is {language:#06x} in code page {code_page}, "
             "not Polish (0x0415) in UTF-16 (1200)")
    table_key = f"{language:04X}{code_page:04X}"
    tables = {k.upper(): c for k, _, c in blocks.get("StringFileInfo", (b"", []))[1]}
    if table_key not in tables:
        fail(path, f"the version record has no string table {table_key} for its Translation")
        return
    strings = {k: v.decode("utf-16-le").rstrip("\0") for k, v, _ in tables[table_key]}
    name = os.path.basename(path)
    expected = {
        "OriginalFilename": name,
        "InternalName": os.path.splitext(name)[0],
    }
    for field, wanted in expected.items():
        if strings.get(field) != wanted:
            fail(path, f"{field} is \"{strings.get(field)}\", expected \"{wanted}\"")
    for field in ("FileVersion", "ProductVersion"):
        if strings.get(field) != ".".join(str(n) for n in version):
            fail(path, f"{field} \"{strings.get(field)}\" is not the version {version} with points")
    # The texts reach Explorer as UTF-16 from a UTF-8 source: a Polish letter shows both held.
    if not re.search("[ąćęłńóśźż]", strings.get("FileDescription", "")):
        fail(path, f"FileDescription \"{strings.get('FileDescription')}\" is not in Polish")
    for field in ("FileDescription", "ProductName", "LegalCopyright"):
        if not strings.get(field):
            fail(path, f"the version record has no {field}")


def check_icon(path):
    data = resource(path, RT_GROUP_ICON)
    if len(data) < 6:
        fail(path, "no icon")
        return
    _, kind, count = struct.unpack_from("<HHH", data)
    sizes = set()
    for i in range(count):
        width, height = struct.unpack_from("<BB", data, 6 + 14 * i)
        sizes.add((width or 256, height or 256))
    wanted = {(s, s) for s in (16, 24, 32, 48, 256)}
    if kind != 1 or sizes != wanted:
        fail(path, f"the icon's images are {sorted(sizes)}, expected {sorted(wanted)}")


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.splitlines()[0])
    version = tuple(int(n) for n in sys.argv[1].split("."))
    version += (0,) * (4 - len(version))
    window, script = sys.argv[2], sys.argv[3]
    for path, is_window in ((window, True), (script, False)):
        check_manifest(path, version, is_window)
        check_version_record(path, version)
    check_icon(window)
    check_icon(script)
    for failure in failures:
        print(f"resources_check: {failure}", file=sys.stderr)
    if not failures:
        print("resources_check: both programs' manifests, version records and icons hold")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
