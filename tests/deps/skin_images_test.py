#!/usr/bin/env python3
"""The picture script draws only what changed, and the committed pictures
are what its modules draw.

    skin_images_test.py TREE_ROOT

Runs the script of TREE_ROOT on copies in a temporary folder; the tree
itself is only read.
"""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = None
SCRIPT = os.path.join("scripts", "make-skin-images.py")
PACKAGE = os.path.join("scripts", "skin_images")
IMAGE_EXTENSIONS = (".png", ".jpg", ".jpeg", ".bmp", ".gif")


def run_script(tree, target=None):
    """Runs the tree's script on target (default: the tree); the names of
    the modules it drew."""
    p = subprocess.run([sys.executable, os.path.join(tree, SCRIPT), target or tree],
                       capture_output=True, text=True, timeout=300)
    if p.returncode != 0:
        raise AssertionError("the script failed:\n" + p.stdout + p.stderr)
    return sorted(re.findall(r"^drew (\S+):", p.stdout, re.M))


def snapshot(tree):
    """Every file of the tree: its time and its bytes' hash."""
    files = {}
    for dirpath, _, names in os.walk(tree):
        for name in names:
            path = os.path.join(dirpath, name)
            with open(path, "rb") as f:
                digest = hashlib.sha256(f.read()).hexdigest()
            files[os.path.relpath(path, tree)] = (os.stat(path).st_mtime_ns, digest)
    return files


def changed(before, after):
    return sorted(p for p in set(before) | set(after) if before.get(p) != after.get(p))


def stamps(tree):
    """{module: {path: hash}} of the tree's stamps."""
    folder = os.path.join(tree, PACKAGE, "stamps")
    out = {}
    for f in sorted(os.listdir(folder)):
        with open(os.path.join(folder, f)) as fh:
            out[f[:-5]] = json.load(fh)["outputs"]
    return out


def copy_tree(dst):
    """The script, its modules and stamps, and every folder it draws into."""
    os.makedirs(os.path.join(dst, "scripts"))
    shutil.copy2(os.path.join(ROOT, SCRIPT), os.path.join(dst, SCRIPT))
    shutil.copytree(os.path.join(ROOT, PACKAGE), os.path.join(dst, PACKAGE),
                    ignore=shutil.ignore_patterns("__pycache__", "*.pyc"))
    folders = {os.path.dirname(p) for outputs in stamps(ROOT).values() for p in outputs}
    for folder in sorted(folders):
        if not os.path.exists(os.path.join(dst, folder)):
            shutil.copytree(os.path.join(ROOT, folder), os.path.join(dst, folder))


class SkinImages(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="skin-images-")

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_committed_pictures_and_stamps_are_what_the_modules_draw(self):
        fresh = os.path.join(self.tmp, "fresh")
        os.makedirs(fresh)
        run_script(ROOT, fresh)
        drawn = snapshot(fresh)
        self.assertTrue(drawn)
        for path in sorted(drawn):
            committed = os.path.join(ROOT, path)
            self.assertTrue(os.path.isfile(committed),
                            "%s is drawn but not in the tree: run %s" % (path, SCRIPT))
            with open(committed, "rb") as f:
                self.assertEqual(drawn[path][1], hashlib.sha256(f.read()).hexdigest(),
                                 "%s differs from what its module draws: run %s" % (path, SCRIPT))
        # ...and the other way round: no picture in skin/ that nothing draws.
        skin_images = {os.path.join("skin", f) for f in os.listdir(os.path.join(ROOT, "skin"))
                       if f.lower().endswith(IMAGE_EXTENSIONS)}
        self.assertEqual([], sorted(skin_images - set(drawn)),
                         "pictures in skin/ that no module of %s draws" % PACKAGE)

    def test_draws_only_the_modules_that_changed(self):
        tree = os.path.join(self.tmp, "tree")
        copy_tree(tree)
        modules = stamps(tree)
        stamp = lambda m: os.path.join(PACKAGE, "stamps", m + ".json")

        def step(expect_drawn, edit=None):
            """Makes the edit, runs the script, checks which modules it
            drew; the files the run wrote or removed."""
            if edit:
                edit()
            before = snapshot(tree)
            self.assertEqual(sorted(expect_drawn), run_script(tree))
            return changed(before, snapshot(tree))

        def append(path, text):
            with open(os.path.join(tree, path), "a") as f:
                f.write(text)

        # The committed tree is up to date: nothing is drawn or written.
        self.assertEqual([], step([]), "run %s and commit what it writes" % SCRIPT)

        # A changed module is drawn again alone; its pictures come out the
        # same, so only its stamp changes.
        small = min(modules, key=lambda m: (len(modules[m]), m))
        module_file = os.path.join(PACKAGE, "windows", small + ".py")
        self.assertEqual([stamp(small)],
                         step([small], lambda: append(module_file, "\n# touched\n")))

        # A picture deleted by hand comes back, drawn by its module alone.
        lost = sorted(modules[small])[0]
        self.assertEqual([lost], step([small], lambda: os.remove(os.path.join(tree, lost))))

        # A new window is one new module file: only its picture and stamp appear.
        probe = os.path.join(PACKAGE, "windows", "zz_probe.py")
        source = ("from skin_images.kit import *\n\n\ndef draw():\n"
                  "    pic = Picture(8, 8)\n    pic.draw(circle(4, 4, 3), RED)\n"
                  "    return {'skin/zz_probe.png': pic}\n")

        def write_probe(text):
            with open(os.path.join(tree, probe), "w") as f:
                f.write(text)
        self.assertEqual(sorted([os.path.join("skin", "zz_probe.png"), stamp("zz_probe")]),
                         step(["zz_probe"], lambda: write_probe(source)))
        # Its drawing changed: its picture is written, nothing else.
        self.assertEqual(sorted([os.path.join("skin", "zz_probe.png"), stamp("zz_probe")]),
                         step(["zz_probe"], lambda: write_probe(source.replace("RED", "TEAL"))))
        # Its module removed: its picture and stamp go with it.
        self.assertEqual(sorted([os.path.join("skin", "zz_probe.png"), stamp("zz_probe")]),
                         step([], lambda: os.remove(os.path.join(tree, probe))))
        self.assertFalse(os.path.exists(os.path.join(tree, "skin", "zz_probe.png")))

        # The kit draws every picture: a change to it redraws every module.
        kit_file = os.path.join(PACKAGE, "kit", "palette.py")
        self.assertEqual(sorted(stamp(m) for m in modules),
                         step(sorted(modules), lambda: append(kit_file, "\n# touched\n")))

        # And a second run writes nothing.
        self.assertEqual([], step([]))


if __name__ == "__main__":
    ROOT = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
