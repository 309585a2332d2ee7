#!/usr/bin/env python3
"""Cuts a failing headless script down to a few lines that still fail.

    fuzz/shrink_script.py FAILING.txt SHORT.txt [-- PROGRAM [ARGS...]]

The script (such as the one --monkey-script wrote) is run with
PROGRAM --headless ARGS --script FILE in a private home folder; it fails when
the exit code and the first line the program wrote to the debug output are
those of the whole script, and not a clean exit. Lines are taken
away by delta debugging (halves, then quarters, ... then single lines) as long
as the run still fails the same way; the shortest failing script is written
to SHORT.txt.
"""
import os
import shutil
import subprocess
import sys
import tempfile


def run(program, lines, workdir):
    path = os.path.join(workdir, "try.txt")
    with open(path, "w") as out:
        out.write("\n".join(lines) + "\n")
    env = {"PATH": "/usr/bin:/bin", "LANG": "en_GB.UTF-8",
           "HOME": os.path.join(workdir, "home"), "XDG_RUNTIME_DIR": os.path.join(workdir, "rt")}
    for key in ("HOME", "XDG_RUNTIME_DIR"):
        shutil.rmtree(env[key], ignore_errors=True)
        os.makedirs(env[key])
    log = os.path.join(workdir, "log.txt")
    result = subprocess.run(program + ["--headless", "--script", path, "--log", log], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=600)
    with open(log, errors="replace") as lines:
        said = [line.strip() for line in lines if line.startswith("debug:")]
    return result.returncode, said[0] if said else ""


def shrink(lines, fails):
    parts = 2
    while len(lines) >= 2:
        size = max(1, len(lines) // parts)
        chunks = [lines[i:i + size] for i in range(0, len(lines), size)]
        for index in range(len(chunks)):
            rest = [line for j, chunk in enumerate(chunks) if j != index for line in chunk]
            if rest and fails(rest):
                lines = rest
                parts = max(parts - 1, 2)
                break
        else:
            if size == 1:
                break
            parts = min(parts * 2, len(lines))
    return lines


def main():
    args = sys.argv[1:]
    program = ["build/dist/bin/tavelin"]
    if "--" in args:
        at = args.index("--")
        program = args[at + 1:]
        args = args[:at]
    if len(args) != 2:
        sys.exit(__doc__)
    with open(args[0]) as source:
        lines = [line.rstrip("\n") for line in source
                 if line.strip() and not line.lstrip().startswith("#")]
    with tempfile.TemporaryDirectory() as workdir:
        expected = run(program, lines, workdir)
        if expected == (0, ""):
            sys.exit("the script does not fail")
        short = shrink(lines, lambda candidate: run(program, candidate, workdir) == expected)
    with open(args[1], "w") as out:
        out.write("# fails with exit code %d %s\n" % expected)
        out.write("\n".join(short) + "\n")
    print("%d lines -> %d lines, exit code %d %s" % ((len(lines), len(short)) + expected))


if __name__ == "__main__":
    main()
