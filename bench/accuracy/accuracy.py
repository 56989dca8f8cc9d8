#!/usr/bin/python3
"""How far is each number of zerin from the sky? Measures zerin against PyEphem.

Runs `zerin ephemeris` for every body and `zerin times` for every day of a fixed,
seeded sample of places and instants, computes the same quantities with PyEphem
(Debian's python3-ephem) in the program's conventions, and the prayer times with
the npm package adhan, then writes docs/accuracy.md and its plots.

    bench/accuracy/accuracy.py [--zerin build/cli/zerin]      the whole run
    bench/accuracy/accuracy.py --smoke --zerin PATH           a handful of instants,
        checked against generous bounds, no plots, no adhan, nothing written
        (exit 0 passed, 1 failed, 77 skipped: python3-ephem is missing)

The whole run installs what it lacks: python3-ephem and python3-matplotlib with
apt-get, adhan with npm into bench/accuracy/node_modules.
"""

import argparse
import os
import shutil
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DEBIAN_PYTHON = "/usr/bin/python3"
SKIPPED = 77


def _importable(*modules):
    try:
        for m in modules:
            __import__(m)
    except ImportError:
        return False
    return True


def _with_debian_python():
    """Debian's python3-* packages live in Debian's Python: run there if this is
    another interpreter (a virtual environment, pyenv)."""
    if os.path.realpath(sys.executable) != os.path.realpath(DEBIAN_PYTHON) and \
            os.path.exists(DEBIAN_PYTHON):
        os.execv(DEBIAN_PYTHON, [DEBIAN_PYTHON, os.path.abspath(__file__), *sys.argv[1:]])


def _apt_install(packages):
    sudo = [] if os.geteuid() == 0 else ["sudo"]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    print(f"Installing {' '.join(packages)} with apt-get", file=sys.stderr)
    subprocess.run([*sudo, "apt-get", "update", "-qq"], check=True, env=env)
    subprocess.run([*sudo, "apt-get", "install", "-y", "-qq", "--no-install-recommends",
                    *packages], check=True, env=env)


def ensure_python_packages(smoke):
    modules = ["ephem"] if smoke else ["ephem", "matplotlib", "numpy"]
    if _importable(*modules):
        return True
    _with_debian_python()
    if smoke:
        return False
    _apt_install(["python3-ephem", "python3-matplotlib", "python3-numpy"])
    return _importable(*modules)


def ensure_adhan():
    if not os.path.isdir(os.path.join(HERE, "node_modules", "adhan")):
        if not shutil.which("npm"):
            sys.exit("accuracy: npm is needed for the adhan comparison (apt-get install npm)")
        subprocess.run(["npm", "install", "--prefix", HERE, "--no-audit", "--no-fund",
                        "--silent"], check=True)


def arguments():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--zerin", default=os.path.join(ROOT, "build", "app", "zerin"),
                   help="the zerin executable (default: build/cli/zerin)")
    p.add_argument("--seed", type=int, default=20260607, help="seed of the sample")
    p.add_argument("--jobs", type=int, default=2, help="zerin processes at once")
    p.add_argument("--docs", default=os.path.join(ROOT, "docs"),
                   help="where accuracy.md and its plots go (default: docs/)")
    p.add_argument("--smoke", action="store_true",
                   help="a handful of instants checked against bounds; nothing written")
    return p.parse_args()


def main():
    args = arguments()
    if not ensure_python_packages(args.smoke):
        print("accuracy: python3-ephem is not installed: smoke test skipped", file=sys.stderr)
        return SKIPPED
    if not os.access(args.zerin, os.X_OK):
        sys.exit(f"accuracy: no zerin executable at {args.zerin} (build it first)")
    sys.path.insert(0, HERE)
    import measure  # after the packages are known to be there

    try:
        if args.smoke:
            return measure.smoke(args.zerin, args.seed, args.jobs)
        ensure_adhan()
        measure.full(args.zerin, args.seed, args.jobs, args.docs)
    except (measure.MisreadError, measure.zerin_runs.ZerinError) as error:
        print(f"accuracy: {error}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
