#!/usr/bin/env python3
"""A manual page against its program: --version names the program and version, with no display;
every option of --help is in the page; every command --help lists has an entry under COMMANDS
that names each option of COMMAND --help; man renders the page without a warning."""
import os
import re
import shutil
import subprocess
import sys

program, page, version = sys.argv[1:4]
name = os.path.basename(program)
# Without a display: --help and --version must answer before any window system starts.
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
env["QT_QPA_PLATFORM"] = "xcb"


def run(*args):
    done = subprocess.run([program, *args], env=env, capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, f"{name} {' '.join(args)}: exit {done.returncode}\n{done.stderr}"
    return done.stdout


def options(text):
    return set(re.findall(r"(?<![\w-])--[a-z][a-z-]*", text))


faults = []
got = run("--version").strip()
if got != f"{name} {version}":
    faults.append(f"--version printed '{got}'")

with open(page, encoding="utf-8") as f:
    roff = f.read()
text = re.sub(r"\\f[BIPR]|\\&", "", roff.replace("\\-", "-").replace("\\(aq", "'"))
usage = run("--help")
faults += [f"{o} of --help" for o in sorted(options(usage) - options(text))]

# The entries under COMMANDS, each from its term line (a plain word first) to the next.
section = re.search(r"^\.SH COMMANDS\n(.*?)(?=^\.SH )", text, re.M | re.S)
entries = {}
for entry in re.split(r"^\.B (?=[a-z])", section.group(1) if section else "", flags=re.M)[1:]:
    entries[entry.split()[0]] = entry
listed = re.search(r"^Commands:\n(.*?)\n\n", usage, re.M | re.S)
for command in re.findall(r"^  ([a-z][\w-]*)", listed.group(1) if listed else "", re.M):
    if command not in entries:
        faults.append(f"command {command}")
        continue
    missing = options(run(command, "--help")) - options(entries[command])
    faults += [f"{o} of {command} --help" for o in sorted(missing)]

if shutil.which("man"):
    rendered = subprocess.run(["man", "--warnings", "-E", "UTF-8", "-l", page],
                              env=dict(env, LC_ALL="C.UTF-8", MANWIDTH="80"),
                              capture_output=True, text=True)
    if rendered.returncode or rendered.stderr:
        faults.append(f"man -l: {rendered.stderr.strip()}")

for fault in faults:
    print(f"{page}: lacks or differs: {fault}")
sys.exit(1 if faults else 0)
