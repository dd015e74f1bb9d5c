"""The skin backgrounds every window lays under its controls: the layouts'
own tile and the built-in skins the user chooses from."""
from skin_images.kit import *


def draw():
    return {
        "skin/mainui_back.png": skin_background(50, 50, (28, 28, 30), 0.035),
        # The default skin, which the configuration names when it has none.
        "skin/mainui_back7.png": skin_background(550, 150, BASE, 0.03),
    }
