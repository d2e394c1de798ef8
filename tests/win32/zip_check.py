#!/usr/bin/env python3
"""zip_check.py ZIP VERSION WINDOW_EXE SCRIPT_EXE LICENCE WORKDIR EMULATOR...

Checks the zip a Windows user unpacks: one folder holding exactly the two programs as built,
CZYTAJ.txt and the licence text (LICENCE as built, a plain text for a reader, not a packaging
format), both texts with Windows' line ends and lines of at most 80 characters; CZYTAJ.txt
(UTF-8) names the version, says to double-click Korzenik.exe, what to do when Windows blocks an
unsigned program (up to the browser edition, which needs no install) and shows
korzenik-script.exe with an example session, which must run (EMULATOR... runs the Windows
program) and write its picture.
"""
import os
import re
import shutil
import subprocess
import sys
import zipfile

failures = []


def fail(message):
    failures.append(message)


def crlf_text(data, name):
    if re.search(rb"(?<!\r)\n", data) or re.search(rb"\r(?!\n)", data):
        fail(f"{name} has line ends other than CR LF")
    text = data.decode("utf-8-sig").replace("\r\n", "\n")
    if any(len(line) > 80 for line in text.split("\n")):
        fail(f"{name} has lines longer than 80 characters")
    return text


def run_example(text, script, work, emulator):
    """The indented lines after "na przykład:" are the session, the next indented one the command."""
    blocks = re.findall(r"\n((?:    .*\n)+)", text)
    session = next((b for b in blocks if "confirm" in b), None)
    command = next((b for b in blocks if "korzenik-script.exe" in b), None)
    if session is None or command is None:
        fail("CZYTAJ.txt shows no example session and command")
        return
    arguments = command.split()
    if arguments[0] != "korzenik-script.exe" or arguments[2:3] != [">"]:
        fail(f"the example command is not \"korzenik-script.exe FILE > OUT\": {command.strip()}")
        return
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    session_lines = [line[4:] for line in session.splitlines()]
    with open(os.path.join(work, arguments[1]), "w", encoding="utf-8", newline="\r\n") as f:
        f.write("\n".join(session_lines) + "\n")
    with open(os.path.join(work, arguments[3]), "wb") as out:
        status = subprocess.run(emulator + [script, arguments[1]], cwd=work, stdout=out).returncode
    if status != 0:
        fail(f"the example session ended with status {status}")
    pictures = [line.split(None, 1)[1] for line in session_lines if line.startswith("png ")]
    for picture in pictures:
        if not os.path.isfile(os.path.join(work, picture)):
            fail(f"the example session wrote no {picture}")


def main():
    if len(sys.argv) < 8:
        sys.exit(__doc__.splitlines()[0])
    zip_path, version, window, script, licence, work = sys.argv[1:7]
    script, work = os.path.abspath(script), os.path.abspath(work)
    emulator = [os.path.abspath(e) if os.path.exists(e) else e for e in sys.argv[7:]]
    folder = f"korzenik-{version}-win64/"
    with zipfile.ZipFile(zip_path) as archive:
        files = {i.filename: archive.read(i) for i in archive.infolist() if not i.is_dir()}
    wanted = {folder + n for n in ("Korzenik.exe", "korzenik-script.exe", "CZYTAJ.txt",
                                   "LICENCJA.txt")}
    if set(files) != wanted:
        fail(f"the zip holds {sorted(files)}, expected {sorted(wanted)}")
    for name, built in (("Korzenik.exe", window), ("korzenik-script.exe", script)):
        with open(built, "rb") as f:
            if files.get(folder + name) != f.read():
                fail(f"{name} in the zip is not the one built")
    licence_text = crlf_text(files.get(folder + "LICENCJA.txt", b""), "LICENCJA.txt")
    with open(licence, "rb") as f:
        if licence_text != f.read().decode("utf-8").replace("\r\n", "\n"):
            fail("LICENCJA.txt is not the licence text")
    if re.search(r"^(Format|Files|License):", licence_text, re.M) or \
            "wszelkie prawa są zastrzeżone" not in licence_text:
        fail("LICENCJA.txt is not a plain licence text in Polish")

    text = crlf_text(files.get(folder + "CZYTAJ.txt", b""), "CZYTAJ.txt")
    for needed in (version, "Kliknij dwukrotnie Korzenik.exe", "korzenik-script.exe",
                   "Uruchom mimo to", "Odblokuj", "w przeglądarce", "niczego nie wymaga instalować"):
        if needed not in text:
            fail(f"CZYTAJ.txt does not say \"{needed}\"")
    run_example(text, script, work, emulator)

    for failure in failures:
        print(f"zip_check: {failure}", file=sys.stderr)
    if not failures:
        print(f"zip_check: {os.path.basename(zip_path)} holds what a Windows user needs")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
