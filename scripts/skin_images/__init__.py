"""The pictures of the program: the skin package's images (skin/*.png) and
the picture resources linked into Orbisk.exe (app/res/).

    kit/        the drawing kit: palette, signed-distance shapes, anti-aliased
                pictures, PNG, ICO and CUR files, the common kinds of buttons
    windows/    one module per window or family of windows
    stamps/     one stamp per window module: what it was drawn from, and the
                files it wrote (see driver.py)
    driver.py   finds the modules and redraws the ones that changed

A window's pictures are one new file, windows/<window>.py:

    from skin_images.kit import *

    def draw():
        # path from the tree root -> Picture (for .png) or bytes
        return {"skin/my_button.png": Picture(16, 16), ...}

Then run scripts/make-skin-images.py and commit the pictures together with
the module and its stamp. Every picture is drawn from simple shapes;
nothing is taken from anywhere else.
"""
