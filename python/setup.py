"""Builds the quillet package: the library's sources (the list src/library_sources.txt, which
CMake reads too) and the binding compiled into one extension module.

    /usr/bin/python3 -m venv --system-site-packages build/venv
    build/venv/bin/python -m pip install --no-index --no-build-isolation ./python
"""

import glob
import os
import re

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def library_sources():
    listing = os.path.join(ROOT, "src", "library_sources.txt")
    with open(listing, encoding="utf-8") as lines:
        paths = [line.strip() for line in lines]
    return [os.path.join(ROOT, path) for path in paths if path and not path.startswith("#")]


def version():
    with open(os.path.join(ROOT, "CMakeLists.txt"), encoding="utf-8") as cmake:
        found = re.search(r"project\(\s*Quillet\s+VERSION\s+([0-9.]+)", cmake.read())
    if not found:
        raise RuntimeError("no project(Quillet VERSION ...) in CMakeLists.txt")
    return found.group(1)


VERSION = version()

# The library's sources compiled two at a time (the machines that build this have few cores).
ParallelCompile("QUILLET_BUILD_JOBS", default=2).install()

setup(
    name="quillet",
    version=VERSION,
    description="MORVEN and BILTOSE decade-line files read into pandas, with the command line's diagnostics",
    packages=["quillet"],
    package_data={"quillet": ["py.typed", "*.pyi"]},
    ext_modules=[
        Pybind11Extension(
            "quillet._quillet",
            [os.path.join(HERE, "ext", "binding.cc")] + library_sources(),
            # A changed header rebuilds the module too.
            depends=glob.glob(os.path.join(ROOT, "include", "quillet", "*.h"))
            + glob.glob(os.path.join(ROOT, "src", "**", "*.h"), recursive=True),
            include_dirs=[os.path.join(ROOT, "include"), os.path.join(ROOT, "src")],
            define_macros=[("QUILLET_VERSION", f'"{VERSION}"')],
            cxx_std=20,
            extra_compile_args=["-O2"],
        )
    ],
    python_requires=">=3.9",
    install_requires=["numpy", "pandas"],
    zip_safe=False,
)
