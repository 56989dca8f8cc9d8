#!/usr/bin/env python3
"""Runs the README: every `zerin` command of its ```sh blocks, with the built program.

Each command must exit 0 (or the status a trailing `# exit N` names); where a bare ```
block follows a ```sh block, it is what the block's commands write on standard output,
byte for byte. The commands run in a scratch folder (the files they write go there), with
LC_ALL=C and a scratch HOME and XDG folders, so that no user's places or settings count.

    readme_test.py --zerin build/cli/zerin --readme README.md
"""

import argparse
import os
import re
import shlex
import subprocess
import sys
import tempfile


def examples(readme):
    """(line number, commands, expected output or None) for each ```sh block."""
    text = open(readme, encoding="utf-8").read()
    blocks = re.finditer(r"^[ \t]*```sh[ \t]*\n(.*?)^[ \t]*```[ \t]*\n(?:```\n(.*?)^```\n)?", text,
                         re.M | re.S)
    return [(text.count("\n", 0, m.start()) + 1, [c for c in m[1].split("\n") if c.strip()], m[2])
            for m in blocks]


def run_block(zerin, commands, folder, env):
    """The block's standard output; a list of what went wrong."""
    out, problems = "", []
    for command in commands:
        words = shlex.split(command, comments=True)
        status = re.search(r"#\s*exit (\d+)\s*$", command)
        expected = int(status.group(1)) if status else 0
        if not words or words[0] != "zerin":
            problems.append(f"not a zerin command: {command}")
            continue
        done = subprocess.run([zerin] + words[1:], cwd=folder, env=env, capture_output=True,
                              timeout=120)
        out += done.stdout.decode("utf-8", "replace")
        if done.returncode != expected:
            problems.append(f"{command}\n  exits {done.returncode}, the README says {expected}:"
                            f" {done.stderr.decode('utf-8', 'replace')}")
    return out, problems


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--zerin", required=True)
    p.add_argument("--readme", required=True)
    args = p.parse_args()
    blocks = examples(args.readme)
    failures = 0
    with tempfile.TemporaryDirectory(prefix="zerin-readme-") as folder:
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LC_ALL": "C",
               "HOME": folder, "XDG_DATA_HOME": os.path.join(folder, "data"),
               "XDG_CONFIG_HOME": os.path.join(folder, "config"),
               "QT_QPA_PLATFORM": "offscreen"}
        for line, commands, expected in blocks:
            out, problems = run_block(os.path.abspath(args.zerin), commands, folder, env)
            if expected is not None and out != expected:
                problems.append("the output differs from the README's:\n--- README\n" + expected
                                + "--- written\n" + out)
            for problem in problems:
                print(f"README.md:{line}: {problem}")
            failures += len(problems)
    print(f"readme: {len(blocks)} blocks, {sum(len(c) for _, c, _ in blocks)} commands, "
          f"{sum(o is not None for _, _, o in blocks)} outputs; {failures} failures")
    return 1 if failures or not blocks else 0


if __name__ == "__main__":
    sys.exit(main())
