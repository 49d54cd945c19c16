#!/usr/bin/env python3
"""The four programs' command lines: the conventions every one keeps, one table a program, and
each manual page's options and exit statuses held against what the program's --help prints.

Usage: command_lines.py BUILD_DIR VERSION"""
import os, re, subprocess, sys, tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

# For each program: a line that runs quickly and well, the same line with "--opt=value", an option
# that takes a value (given last, it misses it), and the exit statuses its page must list.
PROGRAMS = {
    "grotmere": dict(run=["--scores", "--dir", ROOT], joined=["--scores", f"--dir={ROOT}"],
                     valued="--seed", statuses="0123"),
    "grotmere-sim": dict(run=["--passes", "2", "--dir", ROOT],
                         joined=["--passes=2", f"--dir={ROOT}"], valued="--keys",
                         statuses="0123"),
    "grotmere-gen": dict(run=["--seed", "3", "--out", "{work}/a", "--dir", ROOT],
                         joined=["--seed=3", "--out={work}/b", f"--dir={ROOT}"], valued="--out",
                         statuses="012"),
    "grotmere-balance": dict(run=["--seeds", "0"], joined=["--seeds=0"], valued="--only",
                             statuses="012", status=2),
}

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def run(program, args):
    return subprocess.run([program] + args, capture_output=True, text=True,
                          env=dict(os.environ, XDG_DATA_HOME=WORK, SDL_VIDEODRIVER="dummy"))


def help_options(text):
    """The options --help lists: name and value, as "--seed N"."""
    return {m.group(1) + (" " + m.group(2) if m.group(2) else "")
            for m in re.finditer(r"^  (--[a-z-]+)(?: ([A-Z]+))?", text, re.M)}


def page_options(page):
    """The options the manual page's OPTIONS section gives a paragraph each."""
    text = open(page).read()
    options = text.split(".SH OPTIONS", 1)[1].split("\n.SH", 1)[0]
    found = set()
    for m in re.finditer(r'^\.TP\n\.BI? \\-\\-([a-z\\-]+)(?: " ([A-Z]+)")?', options, re.M):
        found.add("--" + m.group(1).replace("\\-", "-") + (" " + m.group(2) if m.group(2) else ""))
    return found


def page_statuses(page):
    text = open(page).read()
    section = text.split(".SH EXIT STATUS", 1)[1].split("\n.SH", 1)[0]
    return "".join(sorted(set(re.findall(r"^\.B ([0-9])$", section, re.M))))


def check_program(build, version, name, table):
    program = os.path.join(build, name)
    fill = lambda args: [a.replace("{work}", WORK) for a in args]
    shown = run(program, ["--help"])
    check(shown.returncode == 0 and shown.stdout.startswith("usage: " + name),
          f"{name} --help: {shown.returncode}")
    told = run(program, ["--version"])
    check(told.returncode == 0 and told.stdout.startswith(f"{name} {version}\n"),
          f"{name} --version says {told.stdout!r}")
    unknown = run(program, ["--no-such-option"])
    check(unknown.returncode == 2 and "unknown option --no-such-option" in unknown.stderr,
          f"{name}: an unknown option: {unknown.returncode} {unknown.stderr[:80]!r}")
    missing = run(program, [table["valued"]])
    check(missing.returncode == 2 and f"{table['valued']} needs a value" in missing.stderr,
          f"{name}: a missing value: {missing.returncode} {missing.stderr[:80]!r}")
    ended = run(program, ["--", "--help"])
    check(ended.returncode == 2 and "unexpected argument --help" in ended.stderr,
          f"{name}: -- does not end the options")
    apart, joined = run(program, fill(table["run"])), run(program, fill(table["joined"]))
    status = table.get("status", 0)
    check(apart.returncode == status and joined.returncode == status and
          apart.stdout.replace("/a", "/b") == joined.stdout,
          f"{name}: --opt=value is not --opt value: {apart.returncode} {joined.returncode} "
          f"{joined.stderr[:100]!r}")
    page = os.path.join(build, "man", name + ".6")
    listed, documented = help_options(shown.stdout), page_options(page)
    check(listed == documented, f"{name}: --help and the manual page differ: only in --help "
          f"{sorted(listed - documented)}, only in the page {sorted(documented - listed)}")
    check(page_statuses(page) == table["statuses"],
          f"{name}: the page lists the exit statuses {page_statuses(page)!r}")
    check(f'"Grotmere {version}"' in open(page).read().splitlines()[0],
          f"{name}: the page's title does not name version {version}")


def main():
    global WORK
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    build, version = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as WORK:
        for name, table in PROGRAMS.items():
            check_program(build, version, name, table)
    for failure in failures:
        print("command_lines: FAIL:", failure)
    print(f"command_lines: {len(PROGRAMS)} programs, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
