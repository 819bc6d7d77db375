"""Mutation testing of the game's rule folders; run it through scripts/mutate."""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

FOLDERS = ["core", "database", "players", "wagering", "tote", "race", "settlement", "program", "game"]

# Folders whose own tests are run first: a mutant they fail on needs no further run.
OWN_TESTS = {"race": ["race", "presentation"], "game": ["game", "cli"]}


@dataclass
class Mutant:
    file: str
    line: int  # 1-based
    kind: str
    before: str
    after: str

    def place(self):
        return f"{self.file}:{self.line}"


def code_part(line):
    """The line without its comment and with string and character literals blanked, so a mutation
    never lands inside them; None for lines no mutant should touch."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "*", "/*", "static_assert")):
        return None
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            out.append(" ")
            if c == "\\":
                out.append(" ")
                i += 1
            elif c == quote:
                quote = None
        elif c in "\"'":
            # A digit separator (1'000) is not a quote.
            if c == "'" and i > 0 and line[i - 1].isalnum() and i + 1 < len(line) and line[i + 1].isalnum():
                out.append(c)
            else:
                quote = c
                out.append(" ")
        elif line.startswith("//", i):
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)


SWAPS = [
    ("comparison", r"(?<![<>=!])<=(?!=)", "<"),
    ("comparison", r"(?<![<>=!-])>=", ">"),
    ("comparison", r"(?<=\s)<(?=\s)", "<="),
    ("comparison", r"(?<=\s)>(?=\s)", ">="),
    ("comparison", r"==", "!="),
    ("comparison", r"!=", "=="),
    ("arithmetic", r"(?<=\s)\+(?=\s)", "-"),
    ("arithmetic", r"(?<=\s)-(?=\s)", "+"),
    ("arithmetic", r"(?<=\s)\*(?=\s)", "/"),
    ("arithmetic", r"(?<=\s)/(?=\s)", "*"),
    ("arithmetic", r"\+=", "-="),
    ("arithmetic", r"-=", "+="),
    ("logic", r"&&", "||"),
    ("logic", r"\|\|", "&&"),
]
CONSTANT = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
STATEMENT = re.compile(r"^\s*(?:\+\+|--)?[A-Za-z_][\w.]*(?:(?:->|::)[\w]+)*(?:\[[^\]]*\])?\s*(?:\(|[-+*/|&]?=[^=]|\+\+|--)")
NOT_STATEMENTS = ("return", "case", "default", "break", "continue", "goto", "throw", "using", "typedef",
                  "template", "public", "private", "protected", "namespace", "struct", "class", "enum", "else")
CONDITION = re.compile(r"\b(if|while) \((.*)\)( \{)?\s*$")


def balanced(text):
    depth = 0
    for c in text:
        depth += c == "("
        depth -= c == ")"
        if depth < 0:
            return False
    return depth == 0


def mutants_of(path, rel):
    lines = path.read_text(encoding="utf-8").splitlines(keepends=True)
    found = []
    for n, line in enumerate(lines, start=1):
        code = code_part(line)
        if code is None or "constexpr std::string_view" in code or "operator" in code:
            continue
        for kind, pattern, replacement in SWAPS:
            for m in re.finditer(pattern, code):
                # Templates, includes and stream operators are not comparisons.
                if kind == "comparison" and ("template" in code or "<<" in code or ">>" in code):
                    continue
                after = line[: m.start()] + replacement + line[m.end():]
                found.append(Mutant(rel, n, kind, line, after))
        for m in CONSTANT.finditer(code):
            value = int(m.group(1))
            if "[" in code[: m.start()] and "]" in code[m.end():] and "{" not in code:
                pass  # an index is as good a constant as any
            after = line[: m.start()] + str(value + 1) + line[m.end():]
            found.append(Mutant(rel, n, "constant", line, after))
        stripped = code.strip()
        if (stripped.endswith(";") and STATEMENT.match(code) and not stripped.split()[0].rstrip("(") in NOT_STATEMENTS
                and balanced(stripped)):
            indent = line[: len(line) - len(line.lstrip())]
            found.append(Mutant(rel, n, "statement dropped", line, indent + ";\n"))
        m = CONDITION.search(code)
        if m and balanced(m.group(2)):
            start, end = m.span(2)
            after = line[:start] + "!(" + line[start:end] + ")" + line[end:]
            found.append(Mutant(rel, n, "condition negated", line, after))
    return found


def candidates(src, folders):
    by_folder = {}
    for folder in folders:
        found = []
        for path in sorted((src / folder).rglob("*.cpp")):
            rel = path.relative_to(src).as_posix()
            if "/qt/" in rel:
                continue  # the painters are the windows' business
            found += mutants_of(path, rel)
        by_folder[folder] = found
    return by_folder


def sample(by_folder, count, seed):
    """A seeded sample spread over the folders: round robin, each folder's sites shuffled by a
    generator of its own, so a change in one folder leaves the other folders' mutants as they were
    and two runs on either side of a test change compare like with like."""
    pools = {f: random.Random(f"{seed}/{f}").sample(sites, len(sites)) for f, sites in by_folder.items() if sites}
    chosen = []
    while len(chosen) < count and any(pools.values()):
        for folder in list(pools):
            if pools[folder] and len(chosen) < count:
                chosen.append(pools[folder].pop())
    return chosen


def run(cmd, cwd, timeout=None, log=None):
    try:
        done = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                              errors="replace", timeout=timeout)
    except subprocess.TimeoutExpired:
        return 124, "timed out"
    if log:
        log.write(done.stdout)
    return done.returncode, done.stdout


class Restorer:
    """Puts a mutated file back however the run ends, with a fresh time so it is rebuilt."""

    def __init__(self):
        self.path = None
        self.text = None
        signal.signal(signal.SIGINT, self.interrupted)
        signal.signal(signal.SIGTERM, self.interrupted)

    def plant(self, path, text, mutated):
        self.path, self.text = path, text
        path.write_text(mutated, encoding="utf-8")

    def restore(self):
        if self.path is not None:
            self.path.write_text(self.text, encoding="utf-8")
            os.utime(self.path)
            self.path = None

    def interrupted(self, signum, _frame):
        self.restore()
        print("\ninterrupted: the clone is restored", flush=True)
        sys.exit(128 + signum)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--count", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--folders", default=" ".join(FOLDERS))
    parser.add_argument("--resume", action="store_true", help="keep the verdicts of an interrupted run")
    parser.add_argument("--commit", default="HEAD", help="the commit to mutate (a score before a change)")
    parser.add_argument("--list", action="store_true", help="print the sample without running it")
    parser.add_argument("--only", default="", help="run only the sample's mutants in these folders")
    parser.add_argument("--timeout", type=int, default=600, help="seconds for one mutant's tests")
    args = parser.parse_args()

    root = Path(args.root)
    work = root / "build" / "mutate"
    src = work / "src"
    build = work / "build"
    work.mkdir(parents=True, exist_ok=True)
    head = subprocess.check_output(["git", "rev-parse", args.commit], cwd=root, text=True).strip()
    if not (src / ".git").exists():
        subprocess.check_call(["git", "clone", "--quiet", str(root), str(src)])
    subprocess.check_call(["git", "fetch", "--quiet", str(root), head], cwd=src)
    # A run killed outright may have left a mutant behind.
    subprocess.check_call(["git", "checkout", "--quiet", "--force", head], cwd=src)
    subprocess.check_call(["git", "clean", "--quiet", "-fdx"], cwd=src)

    folders = args.folders.split()
    by_folder = candidates(src, folders)
    mutants = sample(by_folder, args.count, args.seed)
    print(f"{sum(len(v) for v in by_folder.values())} places found in {', '.join(folders)}; "
          f"{len(mutants)} mutants from seed {args.seed} at {head[:10]}", flush=True)
    if args.list:
        for m in mutants:
            print(f"{m.place()} {m.kind}: {m.before.strip()}  =>  {m.after.strip()}")
        return 0

    # The windows are left out: they bind widgets to the rules' figures, and relinking them for
    # every mutant would double the run.
    env_cmake = ["cmake", "-S", str(src), "-B", str(build), "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                 "-DSTRIDEWELL_BENCH=OFF", "-DSTRIDEWELL_UI=OFF"]
    if subprocess.run(["which", "ccache"], stdout=subprocess.DEVNULL).returncode == 0:
        env_cmake.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
    subprocess.check_call(env_cmake, stdout=subprocess.DEVNULL)
    jobs = str(os.cpu_count() or 2)
    os.environ["QT_QPA_PLATFORM"] = "offscreen"
    print("building the unmutated clone and running its tests...", flush=True)
    code, out = run(["cmake", "--build", str(build), "-j", jobs], src)
    if code != 0:
        print(out[-3000:])
        print("error: the unmutated clone does not build")
        return 1
    ctest = ["ctest", "--test-dir", str(build), "-j", jobs, "-LE", "long", "--stop-on-failure", "-Q"]
    code, out = run(ctest, src, timeout=args.timeout * 3)
    if code != 0:
        print(out[-3000:])
        print("error: the unmutated clone fails its tests")
        return 1

    # A long run can be stopped and taken up again: the report names its commit and seed, and each
    # mutant it already judged keeps its verdict.
    header = f"mutants of {head} seed {args.seed}"
    earlier = {}
    report_path = work / "report.txt"
    if args.resume and report_path.exists():
        old = report_path.read_text(encoding="utf-8", errors="replace").splitlines()
        if old and old[0] == header:
            for line in old[1:]:
                found = re.match(r"\[\d+/\d+\] (killed|survived|does not build)\s+(.*)  \(\d+ s\)$", line)
                if found:
                    earlier[found.group(2)] = found.group(1)
    restorer = Restorer()
    killed, survivors, unbuildable = 0, [], 0
    report = open(report_path, "w", encoding="utf-8")
    report.write(header + "\n")
    for i, m in enumerate(mutants, start=1):
        what = f"{m.place()} {m.kind}: {m.before.strip()}  =>  {m.after.strip()}"
        if args.only and m.file.split("/")[0] not in args.only.split() and what not in earlier:
            continue
        if what in earlier:
            verdict = earlier[what]
            killed += verdict == "killed"
            unbuildable += verdict == "does not build"
            if verdict == "survived":
                survivors.append(m)
            line = f"[{i}/{len(mutants)}] {verdict:14} {what}  (0 s)"
            print(line, flush=True)
            report.write(line + "\n")
            continue
        path = src / m.file
        text = path.read_text(encoding="utf-8")
        lines = text.splitlines(keepends=True)
        lines[m.line - 1] = m.after
        started = time.monotonic()
        restorer.plant(path, text, "".join(lines))
        try:
            folder = m.file.split("/")[0]
            own = [f"test_{f}" for f in OWN_TESTS.get(folder, [folder])]
            code, _ = run(["cmake", "--build", str(build), "-j", jobs, "--target", *own], src)
            if code != 0:
                verdict = "does not build"
                unbuildable += 1
            else:
                verdict = "survived"
                for target in own:
                    binary = next(build.rglob(target), None)
                    if binary and run([str(binary), "--gtest_brief=1"], src, timeout=args.timeout)[0] != 0:
                        verdict = "killed"
                        break
                if verdict == "survived":
                    if run(["cmake", "--build", str(build), "-j", jobs], src)[0] != 0:
                        verdict = "does not build"
                        unbuildable += 1
                    elif run(ctest, src, timeout=args.timeout)[0] != 0:
                        verdict = "killed"
            if verdict == "killed":
                killed += 1
            elif verdict == "survived":
                survivors.append(m)
        finally:
            restorer.restore()
        line = f"[{i}/{len(mutants)}] {verdict:14} {what}  ({time.monotonic() - started:.0f} s)"
        print(line, flush=True)
        report.write(line + "\n")
        report.flush()

    viable = killed + len(survivors)
    score = 100.0 * killed / viable if viable else 0.0
    summary = f"score: {killed} killed / {viable} viable = {score:.1f} % ({unbuildable} did not build)"
    print(summary)
    report.write(summary + "\n")
    if survivors:
        print("survivors:")
        report.write("survivors:\n")
        for m in survivors:
            text = f"  {m.place()} {m.kind}: {m.before.strip()}  =>  {m.after.strip()}"
            print(text)
            report.write(text + "\n")
    # Leaves the clone's objects as the commit builds them for the next run.
    run(["cmake", "--build", str(build), "-j", jobs], src)
    return 0


if __name__ == "__main__":
    sys.exit(main())
