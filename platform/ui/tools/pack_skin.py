#!/usr/bin/env python3
"""Packs a skin folder (layouts and images) into the zip that is linked into
an executable as its "ZIPRES" resource.

    pack_skin.py SKIN_DIR OUTPUT.zip

Entries keep their paths relative to SKIN_DIR with forward slashes. Dates
are fixed and the order sorted, so the same folder gives the same bytes.
"""
import os
import sys
import zipfile

FIXED_DATE = (1980, 1, 1, 0, 0, 0)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    skin_dir, output = argv[1], argv[2]
    if not os.path.isdir(skin_dir):
        sys.stderr.write("pack_skin: no folder %s\n" % skin_dir)
        return 1
    files = []
    for root, dirs, names in os.walk(skin_dir):
        dirs.sort()
        for name in sorted(names):
            path = os.path.join(root, name)
            files.append((os.path.relpath(path, skin_dir).replace(os.sep, "/"), path))
    tmp = output + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as zf:
        for arcname, path in sorted(files):
            info = zipfile.ZipInfo(arcname, FIXED_DATE)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(path, "rb") as f:
                zf.writestr(info, f.read())
    os.replace(tmp, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
