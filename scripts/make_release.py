#!/usr/bin/env python3
"""Makes the two downloads from what the build put in dist/:
dist/Mirven-3.0-setup.exe (NSIS) and dist/Mirven-3.0-portable.zip.

usage: make_release.py DIST_DIR ICON WORK_DIR

The files that ship are listed once, in release/files.txt. Nothing is redone
when the inputs are the same as last time (their digest is kept in WORK_DIR).
"""
import hashlib
import os
import subprocess
import sys
import zipfile
import zlib

sys.dont_write_bytecode = True  # keep the source tree clean during builds

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RELEASE = os.path.join(ROOT, "release")
BITMAPS = os.path.join(ROOT, "src", "res", "bitmaps")
VERSION = "3.0"
SETUP_NAME = "Mirven-%s-setup.exe" % VERSION
ZIP_NAME = "Mirven-%s-portable.zip" % VERSION
ZIP_FOLDER = "Mirven-%s/" % VERSION
README_NAME = "说明.txt"


def release_files(dist):
    """Paths (with /) of the files that ship, relative to dist."""
    files = []
    with open(os.path.join(RELEASE, "files.txt"), encoding="utf-8") as f:
        for line in f:
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            path, optional = words[0], words[1:] == ["optional"]
            if os.path.isfile(os.path.join(dist, path)):
                files.append(path)
            elif not optional:
                sys.exit("make_release: %s is missing from %s" % (path, dist))
    return files


def readme_bytes():
    # UTF-8 with a byte-order mark and CRLF: what every Notepad shows right.
    with open(os.path.join(RELEASE, "portable-readme.txt"), encoding="utf-8") as f:
        text = f.read()
    return b"\xef\xbb\xbf" + text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def nsis_macros(dist, files):
    win = lambda p: p.replace("/", "\\")
    install, remove, folders = [], [], set()
    for path in files:
        folder = os.path.dirname(path)
        out = "$INSTDIR" + ("\\" + win(folder) if folder else "")
        install.append('  SetOutPath "%s"' % out)
        install.append('  File "%s"' % os.path.join(dist, path))
        remove.append('  Delete "$INSTDIR\\%s"' % win(path))
        while folder:
            folders.add(folder)
            folder = os.path.dirname(folder)
    for folder in sorted(folders, key=len, reverse=True):
        remove.append('  RMDir "$INSTDIR\\%s"' % win(folder))
    return "\n".join(["!macro MIRVEN_INSTALL_FILES"] + install + ["!macroend",
                      "!macro MIRVEN_REMOVE_FILES"] + remove + ["!macroend", ""])


class GbkName(zipfile.ZipInfo):
    """Stores a Chinese name in GBK, as Windows' own zip folder reads names
    without the UTF-8 flag on a Chinese system; other unpackers find the
    UTF-8 name in the Info-ZIP Unicode path field added below."""

    def _encodeFilenameFlags(self):
        try:
            return self.filename.encode("ascii"), self.flag_bits
        except UnicodeEncodeError:
            return self.filename.encode("gbk"), self.flag_bits & ~0x800


def zip_entry(name, date_time):
    info = GbkName(name, date_time)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    if not name.isascii():
        utf8 = name.encode("utf-8")
        body = b"\x01" + zlib.crc32(name.encode("gbk")).to_bytes(4, "little") + utf8
        info.extra = b"\x75\x70" + len(body).to_bytes(2, "little") + body
    return info


def write_zip(path, dist, files):
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for rel in files:
            src = os.path.join(dist, rel)
            stamp = zipfile.ZipInfo.from_file(src).date_time
            with open(src, "rb") as f:
                z.writestr(zip_entry(ZIP_FOLDER + rel, stamp), f.read())
        z.writestr(zip_entry(ZIP_FOLDER + README_NAME, stamp), readme_bytes())
    os.replace(tmp, path)


def write_wizard_picture(path):
    """The picture beside the welcome and finish pages, 164 x 314, drawn
    with the program's own icon and colours."""
    sys.path.insert(0, BITMAPS)
    import make_bitmaps as mb
    img = mb.gfx.vertical_gradient(164, 314, lambda y: mb.mix((20, 120, 200), mb.PAGE, y / 313.0))
    img.paste(mb.app_icon(96), (34, 56), mb.app_icon(96))
    mb.draw_text(img, "Mirven", 82, 172, mb.font("latin-bold", 22), mb.WHITE)
    mb.draw_text(img, "电脑助手", 82, 204, mb.font("cjk", 20), mb.WHITE, bold=True)
    mb.draw_text(img, VERSION, 82, 238, mb.font("latin", 14), (190, 222, 246))
    img.convert("RGB").save(path, "BMP")


def write_setup(path, dist, files, icon, work):
    nsh = os.path.join(work, "files.nsh")
    with open(nsh, "w", encoding="utf-8") as f:
        f.write(nsis_macros(dist, files))
    picture = os.path.join(work, "wizard.bmp")
    write_wizard_picture(picture)
    tmp = path + ".tmp.exe"
    subprocess.run(["makensis", "-V2", "-WX", "-INPUTCHARSET", "UTF8",
                    "-DVERSION=" + VERSION, "-DOUTFILE=" + tmp, "-DICON=" + icon,
                    "-DFILES_NSH=" + nsh, "-DWIZARD_BMP=" + picture, os.path.join(RELEASE, "Mirven.nsi")],
                   check=True, stdout=subprocess.DEVNULL)
    os.replace(tmp, path)


def inputs_digest(dist, files, icon):
    h = hashlib.sha256()
    sources = [os.path.abspath(__file__), icon] + [
        os.path.join(d, n) for d in (RELEASE, BITMAPS) for n in sorted(os.listdir(d))
        if n.endswith((".py", ".txt", ".nsi"))]
    for path in sources + [os.path.join(dist, p) for p in files]:
        h.update(path.encode() + b"\0")
        with open(path, "rb") as f:
            h.update(hashlib.sha256(f.read()).digest())
    return h.hexdigest()


def main():
    dist, icon, work = (os.path.abspath(a) for a in sys.argv[1:4])
    os.makedirs(work, exist_ok=True)
    files = release_files(dist)
    setup, portable = os.path.join(dist, SETUP_NAME), os.path.join(dist, ZIP_NAME)
    stamp = os.path.join(work, "inputs.sha256")
    digest = inputs_digest(dist, files, icon)
    if os.path.exists(setup) and os.path.exists(portable) and os.path.exists(stamp):
        with open(stamp) as f:
            if f.read() == digest:
                return
    write_setup(setup, dist, files, icon, work)
    write_zip(portable, dist, files)
    with open(stamp, "w") as f:
        f.write(digest)
    print("make_release: %s, %s (%s)" % (SETUP_NAME, ZIP_NAME, ", ".join(files)))


if __name__ == "__main__":
    main()
