#!/usr/bin/env python3
"""Draws the pictures of the program's windows (skin/*.png) and its picture
resources (app/res/), redrawing only the window modules that changed.

    make-skin-images.py [--force] [TREE_ROOT]

The drawings are in scripts/skin_images/ (see its __init__.py). The results
and the stamps that let a later run skip them are kept in the tree: run the
script after changing a drawing and commit what it wrote.
"""
import os
import sys

# Bytecode caches would land in the source tree beside the modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skin_images.driver import main  # noqa: E402

if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
