"""Finds the window modules, redraws those whose drawing changed since their
stamp was written, and writes what differs.

A module's stamp, stamps/<module>.json, holds a hash of what draws its
pictures (every file of kit/, the module's file, and the window modules it
imports) and the hash of every file it wrote. The module is drawn again
when that source hash differs, when the module is new, or when one of its
files is missing or no longer what it wrote. The stamps are committed with
the pictures, so a clean clone draws nothing. One stamp per module keeps
engineers who add windows side by side out of each other's files; when a
stamp conflicts in a merge, take either side and run the script again.
"""
import argparse
import ast
import concurrent.futures
import hashlib
import importlib
import json
import os
import posixpath
import sys
import time
import traceback

from skin_images.kit import Picture

PACKAGE_DIR = os.path.dirname(os.path.abspath(__file__))
KIT_DIR = os.path.join(PACKAGE_DIR, "kit")
WINDOWS_DIR = os.path.join(PACKAGE_DIR, "windows")
WINDOWS_PACKAGE = "skin_images.windows"
# Where the stamps live, relative to the tree the pictures are drawn into.
STAMPS_DIR = "scripts/skin_images/stamps"
# Changing how stamps are computed must redraw everything once.
STAMP_FORMAT = b"orbisk skin images 1\n"


def window_modules():
    """Modules that draw pictures; a name starting with '_' is a helper the
    window modules of one family import."""
    return sorted(f[:-3] for f in os.listdir(WINDOWS_DIR)
                  if f.endswith(".py") and not f.startswith("_"))


def _read(path):
    with open(path, "rb") as f:
        return f.read()


def _imported_siblings(name):
    """Window modules (helpers included) that the module's file imports."""
    tree = ast.parse(_read(os.path.join(WINDOWS_DIR, name + ".py")))
    found = set()
    for node in ast.walk(tree):
        if isinstance(node, ast.Import):
            for alias in node.names:
                if alias.name.startswith(WINDOWS_PACKAGE + "."):
                    found.add(alias.name.split(".")[2])
        elif isinstance(node, ast.ImportFrom):
            module = node.module or ""
            if node.level == 1 or module == WINDOWS_PACKAGE or \
                    module.startswith(WINDOWS_PACKAGE + "."):
                if node.level == 0:
                    module = module[len(WINDOWS_PACKAGE):].lstrip(".")
                if module:
                    found.add(module.split(".")[0])
                else:
                    found.update(alias.name for alias in node.names)
    return {n for n in found
            if n != "__init__" and os.path.isfile(os.path.join(WINDOWS_DIR, n + ".py"))}


def _kit_digest():
    h = hashlib.sha256(STAMP_FORMAT)
    for f in sorted(os.listdir(KIT_DIR)):
        if f.endswith(".py"):
            h.update(f.encode() + b"\0" + _read(os.path.join(KIT_DIR, f)) + b"\0")
    return h.digest()


def source_hash(name, kit_digest):
    """What a module's pictures depend on: the kit, the module, and the
    window modules it imports, followed to the end."""
    seen, todo = set(), [name]
    while todo:
        n = todo.pop()
        if n not in seen:
            seen.add(n)
            todo.extend(_imported_siblings(n) - seen)
    h = hashlib.sha256(kit_digest)
    for n in sorted(seen):
        h.update(n.encode() + b"\0" + _read(os.path.join(WINDOWS_DIR, n + ".py")) + b"\0")
    return h.hexdigest()


def file_hash(path):
    try:
        return hashlib.sha256(_read(path)).hexdigest()
    except FileNotFoundError:
        return None


def _check_path(name, path):
    clean = posixpath.normpath(path)
    if clean != path or path.startswith(("/", "../")) or "\\" in path:
        raise ValueError("%s draws %r: give paths relative to the tree root, "
                         "with forward slashes" % (name, path))


def draw_module(name):
    """Runs a module's draw() and encodes its pictures: {path: bytes}."""
    module = importlib.import_module(WINDOWS_PACKAGE + "." + name)
    out = {}
    for path, item in module.draw().items():
        _check_path(name, path)
        if isinstance(item, Picture):
            if not path.endswith(".png"):
                raise ValueError("%s draws %s as a picture: only .png files are written "
                                 "from pictures (kit.ico and kit.cur make the others)"
                                 % (name, path))
            out[path] = item.png()
        elif isinstance(item, (bytes, bytearray)):
            out[path] = bytes(item)
        else:
            raise TypeError("%s draws %s as %s: give a Picture or bytes"
                            % (name, path, type(item).__name__))
    return out


def _draw_guarded(name):
    try:
        return name, draw_module(name), None
    except Exception:
        return name, None, traceback.format_exc()


def draw_all(names):
    """{name: (outputs or None, error text or None)}; modules draw in
    parallel, since a change to the kit redraws every one of them."""
    if len(names) <= 1 or (os.cpu_count() or 1) == 1:
        results = [_draw_guarded(n) for n in names]
    else:
        workers = min(len(names), os.cpu_count())
        with concurrent.futures.ProcessPoolExecutor(max_workers=workers) as pool:
            results = list(pool.map(_draw_guarded, names))
    return {n: (out, err) for n, out, err in results}


def write_if_changed(path, data):
    """Writes the file only when its bytes change, so that an unchanged
    picture keeps its time and the skin package is not packed again."""
    try:
        if _read(path) == data:
            return False
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)
    return True


def stamp_bytes(source, outputs):
    doc = {"source": source,
           "outputs": {p: hashlib.sha256(b).hexdigest() for p, b in outputs.items()}}
    return (json.dumps(doc, indent=1, sort_keys=True) + "\n").encode()


def load_stamp(path):
    try:
        doc = json.loads(_read(path))
        return doc if isinstance(doc.get("outputs"), dict) else None
    except (FileNotFoundError, ValueError, AttributeError):
        return None


def is_fresh(root, stamp, source):
    return (stamp is not None and stamp.get("source") == source
            and all(file_hash(os.path.join(root, p)) == h for p, h in stamp["outputs"].items()))


def run(root, force=False, log=print):
    """Brings the tree's pictures up to date; returns the process status."""
    t0 = time.monotonic()
    stamps_dir = os.path.join(root, STAMPS_DIR)
    names = window_modules()
    kit = _kit_digest()
    sources = {n: source_hash(n, kit) for n in names}
    stamps = {n: load_stamp(os.path.join(stamps_dir, n + ".json")) for n in names}
    stale = [n for n in names if force or not is_fresh(root, stamps[n], sources[n])]
    # Stamps of modules that are gone: their files go with them.
    gone = sorted(f[:-5] for f in (os.listdir(stamps_dir) if os.path.isdir(stamps_dir) else [])
                  if f.endswith(".json") and f[:-5] not in sources)

    results = draw_all(stale)
    failed = sorted(n for n, (out, err) in results.items() if err)
    for n in failed:
        log("%s failed to draw:\n%s" % (n, results[n][1]))

    # Every file has one module drawing it; two claiming one file is an
    # error caught before anything is written.
    owners = {}
    for n in names:
        if n in results and not results[n][1]:
            paths = results[n][0]
        else:
            paths = (stamps[n] or {}).get("outputs", {})
        for p in paths:
            owners.setdefault(p, []).append(n)
    clashes = {p: ns for p, ns in owners.items() if len(ns) > 1}
    if clashes:
        for p, ns in sorted(clashes.items()):
            log("error: %s is drawn by %s" % (p, " and ".join(ns)))
        return 1

    written = removed = 0
    for n in stale:
        out, err = results[n]
        if err:
            continue
        changed = sum(write_if_changed(os.path.join(root, p), b) for p, b in sorted(out.items()))
        old = (stamps[n] or {}).get("outputs", {})
        for p in sorted(set(old) - set(out) - set(owners)):
            if os.path.exists(os.path.join(root, p)):
                os.remove(os.path.join(root, p))
                removed += 1
        write_if_changed(os.path.join(stamps_dir, n + ".json"), stamp_bytes(sources[n], out))
        written += changed
        log("drew %s: %d pictures, %d changed" % (n, len(out), changed))
    for n in gone:
        stamp = load_stamp(os.path.join(stamps_dir, n + ".json")) or {"outputs": {}}
        for p in sorted(set(stamp["outputs"]) - set(owners)):
            if os.path.exists(os.path.join(root, p)):
                os.remove(os.path.join(root, p))
                removed += 1
        os.remove(os.path.join(stamps_dir, n + ".json"))
        log("removed %s: its module is gone" % n)

    log("%d of %d modules drawn, %d files written, %d removed (%.2f s)"
        % (len(stale) - len(failed), len(names), written, removed, time.monotonic() - t0))
    return 1 if failed else 0


def main(argv):
    parser = argparse.ArgumentParser(
        prog="make-skin-images.py",
        description="Draws the pictures of the windows whose drawing changed.")
    parser.add_argument("root", nargs="?",
                        default=os.path.dirname(os.path.dirname(PACKAGE_DIR)),
                        help="tree to draw into (default: this checkout)")
    parser.add_argument("--force", action="store_true",
                        help="draw every module, whatever the stamps say")
    args = parser.parse_args(argv)
    return run(os.path.abspath(args.root), force=args.force)
