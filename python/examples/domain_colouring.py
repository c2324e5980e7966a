"""Domain colouring of the library's atan, acos and tan beside NumPy's.

Each picture shows f(z) over a region of the plane: the hue is the argument
of f(z), the brightness rings mark each doubling of |f(z)|, and grey marks a
NaN. Where the library's defined formulas leave the principal value, the two
halves differ at a glance:

  atan  (i/2)(log(i + z) - log(i - z)) without branch adjustment: in two
        regions (|z| > 1 off the imaginary axis on one side) the real part
        differs by pi;
  acos  -i log(z + i sqrt(1 - z*z)) evaluated directly: for |z| in the
        millions the sum cancels in half the plane;
  tan   sin(z) / cos(z): beyond |im z| > 710 both overflow and the quotient
        of the two defaults is (nan, nan), where the true value is nearly +-i.

    python3 domain_colouring.py [OUTPUT_DIR]   (default: docs/python of the source tree)
"""
import os
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402
from matplotlib.colors import hsv_to_rgb  # noqa: E402

import zu_complex as zu  # noqa: E402

# name, library function, NumPy function, real range, imaginary range, note
PICTURES = [
    ("atan", zu.atan, np.arctan, (-3, 3), (-3, 3),
     "the real part jumps by pi where |z| > 1 beside the imaginary axis"),
    ("acos", zu.acos, np.arccos, (-4e8, 4e8), (-4e8, 4e8),
     "for |z| around 1e8 the sum z + i sqrt(1 - z*z) cancels in the lower half"),
    ("tan", zu.tan, np.tan, (-3, 3), (-800, 800),
     "beyond |im z| > 710: (nan, nan) after two overflow reports; NumPy gives nearly +-i"),
]


def colours(w):
    hue = np.nan_to_num((np.angle(w) / (2 * np.pi)) % 1.0)
    with np.errstate(divide="ignore", invalid="ignore"):
        # Ring edges at sqrt(2) times powers of two, so that values within
        # rounding of 1 (tan's +-i) do not flicker across an edge.
        rings = (np.log2(np.abs(w)) + 0.5) % 1.0
    value = np.nan_to_num(0.55 + 0.45 * rings, nan=1.0)
    rgb = hsv_to_rgb(np.stack([hue, np.full_like(hue, 0.85), value], axis=-1))
    rgb[np.isnan(w.real) | np.isnan(w.imag)] = 0.5
    return rgb


def picture(name, ours, numpy_f, re_range, im_range, note, directory, n=400):
    re = np.linspace(*re_range, n)
    im = np.linspace(*im_range, n)[::-1]
    z = np.empty((n, n), complex)
    z.real, z.imag = re[None, :], im[:, None]
    with zu.errstate(all="ignore"), np.errstate(all="ignore"):
        panels = [(f"zu_complex.{name}", ours(z)), (f"numpy.{numpy_f.__name__}", numpy_f(z))]
    fig, axes = plt.subplots(1, 2, figsize=(8.6, 4.6), dpi=80)
    for ax, (title, w) in zip(axes, panels):
        ax.imshow(colours(w), extent=(*re_range, *im_range), aspect="auto", interpolation="nearest")
        ax.set_title(title)
        ax.set_xlabel("re z")
    axes[0].set_ylabel("im z")
    fig.suptitle(f"{name}: {note}", fontsize=9)
    fig.tight_layout()
    path = os.path.join(directory, f"{name}.png")
    fig.savefig(path)
    plt.close(fig)
    return path


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.normpath(os.path.join(here, "..", "..", "docs", "python"))
    directory = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(directory, exist_ok=True)
    for arguments in PICTURES:
        print(picture(*arguments, directory))


if __name__ == "__main__":
    main()
