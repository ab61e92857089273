#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 VQX16 maintainers
# SPDX-License-Identifier: GPL-3.0-or-later
"""Mutation testing: how many single-point faults in the program do the tests catch?

Needs python3 (standard library only) and a configured Ninja build, e.g. after ./test.sh.

Draws a sample of single-point changes ("mutants") to the C++ sources, spread over the files by
their code lines, and for each one rebuilds incrementally and runs the tests. A mutant is
caught when a test fails (or times out), survived when every test passes, not viable when it
does not compile. Each mutated file is copied back at once, also on Ctrl+C or an error; a run
killed outright leaves a copy in BUILD/mutation-backup/, put back by the next run.

  scripts/mutation_test.py --scope core --count 100 --seed 1 --tests core --save s.json
  scripts/mutation_test.py --load s.json --tests all --json results.json
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SCOPES = {"core": ["src/core"], "qt": ["src/qt"], "tools": ["tools"]}
SWAP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
        "&&": "||", "||": "&&", "+": "-", "-": "+", "+=": "-=", "-=": "+=",
        "true": "false", "false": "true"}
NOT_ARITH = re.compile(r'"|begin\(|end\(|\.data\(|\bit\b|iter|ptr|QString|QLatin1|std::string'
                       r'|\btr\(|\.arg\(')
STATEMENT = re.compile(
    r"^(?:(?:\+\+|--)?[A-Za-z_]\w*(?:\s*(?:::|\.|->)\s*~?[A-Za-z_]\w*|\[[^\]]*\])*"
    r"(?:\(.*\)|\s*(?:=[^=].*|[-+*/|&^]=.*|<<.*)|\+\+|--))\s*;$")
KEYWORDS = {"if", "for", "while", "switch", "else", "do", "return", "delete", "throw", "goto",
            "case", "using", "typedef"}
# Files whose constants are mostly measures in a small unit: there a constant of 24 or more moves
# by the given step (15 twips, one pixel on the screen), as a move by one twip shows nowhere.
STEP = {"src/core/panel/panel_layout.cpp": 15}
# Whether this build (Linux) defines a platform macro: code for other platforms is never built,
# so a change there is not measured.
PLATFORM = {"Q_OS_UNIX": True, "Q_OS_LINUX": True, "__linux__": True, "Q_OS_WIN": False,
            "_WIN32": False, "Q_OS_MACOS": False, "__APPLE__": False}
DECLARES = re.compile(r"\s*(?:const\s+)?[\w:<>]+[\s&*]+\w+\s*=[^=]")
FUNCTION_HEAD = re.compile(r"\)\s*(?:(?:const|noexcept|override|final|mutable)\s*"
                           r"|->\s*[\w:<>&*, ]+)*$")


def mask(text):
    """The text with comments and the insides of literals blanked (quotes kept), same length."""
    out = list(text)
    i = 0

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < len(text):
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = len(text) if j < 0 else j
            blank(i, j)
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = len(text) if j < 0 else j + 2
            blank(i, j)
        elif text.startswith('R"', i) and not (i and (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = len(text) if end < 0 else end + len(m.group(1)) + 2
            blank(i + 2, j - 1)
        elif text[i] in "\"'":
            start = i
            while start and (text[start - 1].isalnum() or text[start - 1] in "_'"):
                start -= 1
            if text[i] == "'" and text[start].isdigit():  # digit separator: 10'000
                i += 1
                continue
            j = i + 1
            while j < len(text) and text[j] not in (text[i], "\n"):
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, len(text))
            blank(i + 1, j - 1)
        else:
            i += 1
            continue
        i = j
    return "".join(out)


def function_bodies(masked):
    """Per character: True inside a function body (used for headers, where the rest declares)."""
    inside, stack, seg = [False] * len(masked), [], 0
    for i, c in enumerate(masked):
        if c == "{":
            if stack and stack[-1]:
                stack.append(True)
            else:
                stack.append(bool(FUNCTION_HEAD.search(masked[seg:i].strip())))
            seg = i + 1
        elif c == "}":
            if stack:
                stack.pop()
            seg = i + 1
        elif c == ";":
            seg = i + 1
        inside[i] = bool(stack) and stack[-1]
    return inside


def balanced(s):
    return all(s.count(a) == s.count(b) for a, b in ("()", "[]", "{}"))


def line_mutants(line, code, prev_code, next_code, step=1):
    """The (operator, col, mutated line) of one line; code is the line masked, prev_code and
    next_code the code lines around it."""
    found = []
    for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>|&&|\|\||\+=|-=|\+|-)(?=\s|$)", code):
        op = m.group(1)
        kind = {"&&": "logic", "||": "logic"}.get(op, "arith" if op[0] in "+-" else "rel")
        if kind == "arith" and NOT_ARITH.search(code):
            continue
        found.append((kind, m.start(), line[:m.start()] + SWAP[op] + line[m.end():]))
    for m in re.finditer(r"\b(if|while)\s*\(", code):
        depth, end = 0, None
        for k in range(m.end() - 1, len(code)):
            depth += {"(": 1, ")": -1}.get(code[k], 0)
            if depth == 0:
                end = k
                break
        condition = code[m.end():end] if end else ";"
        # Not a condition that declares (if (const auto x = ...)): that cannot take a "!".
        if ";" not in condition and not DECLARES.match(condition):
            found.append(("negate", m.start(),
                          line[:m.end()] + "!(" + line[m.end():end] + ")" + line[end:]))
    for m in re.finditer(r"(?<![\w.'])(0[xX][0-9a-fA-F]+|\d+)(?=(?:[uUlL]{0,3}|ms|s|min)(?![\w.']))",
                         code):
        text = m.group(1)
        # Not octal, a template's argument, nor a case label (whose neighbour is the next case).
        if re.fullmatch(r"0\d+", text) or re.match(r"\s*>", code[m.end():]) or \
                code.lstrip().startswith("case "):
            continue
        value = int(text, 0)
        by = step if value >= 24 else 1
        # Down or up by the parity of the column: both directions, the same on every run.
        moved = value - by if value >= by and m.start() % 2 else value + by
        new = "0x%0*X" % (len(text) - 2, moved) if text[:2] in ("0x", "0X") else str(moved)
        found.append(("const", m.start(), line[:m.start()] + new + line[m.end():]))
    for m in re.finditer(r"\b(true|false)\b", code):
        found.append(("bool", m.start(), line[:m.start()] + SWAP[m.group(1)] + line[m.end():]))
    stripped = code.strip()
    first = re.match(r"\w*", stripped).group(0)
    # Not a statement that only reserves room: without it the program is slower, not different.
    whole = stripped in ("return;", "break;", "continue;") or \
        (STATEMENT.match(stripped) and balanced(stripped) and first not in KEYWORDS and
         not re.search(r"\.(reserve|shrink_to_fit)\(", stripped))
    indent = len(code) - len(code.lstrip())
    # The break before a switch's closing brace (two steps out) does nothing.
    last_break = stripped == "break;" and next_code.strip()[:1] == "}" and \
        indent - (len(next_code) - len(next_code.lstrip())) >= 4
    # A statement of its own (after a label it may be the last one, which must stay).
    if whole and not last_break and prev_code.rstrip()[-1:] in (";", "{", "}"):
        found.append(("drop", len(line) - len(line.lstrip()), line[:len(line) - len(line.lstrip())]))
    return found


def file_mutants(path):
    """(code lines, {line number: (line, [(operator, mutated line)])}) of one source file; in a
    header only the lines of inline function bodies count."""
    with open(os.path.join(ROOT, path), encoding="utf-8") as f:
        text = f.read()
    masked = mask(text)
    inside = function_bodies(masked) if path.endswith(".h") else [True] * len(text)
    result, code_lines, offset, prev = {}, 0, 0, ";"
    codes = masked.split("\n")
    built = []  # per open #if: True, False (for another platform) or None (not known: built)
    for n, (line, code) in enumerate(zip(text.split("\n"), codes), 1):
        start, offset = offset, offset + len(line) + 1
        stripped = code.strip()
        if not stripped:
            continue
        directive = re.match(r"#\s*(ifdef|ifndef|if|elif|else|endif)\b\s*(\w*)", stripped)
        if directive:
            kind, name = directive.groups()
            if kind in ("ifdef", "ifndef", "if"):
                known = PLATFORM.get(name) if kind != "if" else None
                built.append(None if known is None else known == (kind == "ifdef"))
            elif kind == "else" and built and built[-1] is not None:
                built[-1] = not built[-1]
            elif kind == "elif" and built:
                built[-1] = None
            elif kind == "endif" and built:
                built.pop()
        if False in built:
            continue
        code_lines += any(inside[start:offset - 1])
        skip = stripped.startswith(("#", "template", "namespace", "using ", "Q_")) or \
            "static_assert" in stripped
        found = [] if skip else [(op, new) for op, col, new in
                                 line_mutants(line, code, prev,
                                              next((c for c in codes[n:] if c.strip()), ""),
                                              STEP.get(path, 1))
                                 if inside[start + col]]
        if found:
            result[n] = (line, found)
        prev = stripped
    return code_lines, result


def draw(scope, count, seed):
    """A sample of count mutants spread over the files of scope by their code lines, one a line."""
    files = sorted(os.path.relpath(os.path.join(d, f), ROOT)
                   for s in scope.split(",") for top in SCOPES[s]
                   for d, _, names in os.walk(os.path.join(ROOT, top))
                   for f in names if f.endswith((".cpp", ".h")))
    weight, lines = {}, {}
    for f in files:
        weight[f], lines[f] = file_mutants(f)
    total = sum(weight.values())
    quota = dict.fromkeys(files, 0)
    for k in range(1, count + 1):  # each mutant to the file furthest below its share
        open_files = [f for f in files if quota[f] < len(lines[f])]
        if open_files:
            quota[max(open_files, key=lambda f: weight[f] * k / total - quota[f])] += 1
    sample = []
    for f in files:
        rng = random.Random(f"{seed} {f}")  # a change in one file leaves the others' draws
        for n in sorted(rng.sample(sorted(lines[f]), quota[f])):
            original, ops = lines[f][n]
            kind = rng.choice(sorted({op for op, _ in ops}))  # each kind of change alike
            op, new = rng.choice([m for m in ops if m[0] == kind])
            sample.append({"file": f, "line": n, "original": original, "mutated": new,
                           "operator": op})
    return sample


def run(cmd, cwd, timeout=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           text=True, errors="replace", timeout=timeout)
        return p.returncode, p.stdout, False
    except subprocess.TimeoutExpired:
        return -1, "", True


def build(args):
    target = ["--target", "core_tests"] if args.tests == "core" else []
    return run(["cmake", "--build", args.build, "-j2"] + target, ROOT)  # a shared machine


def test(args):
    """('caught' | 'timeout' | 'survived', names of the failing tests)."""
    if args.tests == "core":
        code, out, late = run([os.path.join(args.build, "tests", "core_tests"), "--gtest_brief=1"],
                              args.build, timeout=args.timeout)
        if late:
            return "timeout", ["core_tests"]
        names = sorted(set(re.findall(r"^\[  FAILED  \] (\w+\.\w+)", out, re.M)))
        return ("caught", names or ["core_tests (crashed)"]) if code else ("survived", [])
    code, out, _ = run(["ctest", "-j2", "--timeout", str(args.timeout)], args.build)
    failed = re.findall(r"^\s*\d+ - (.+?) \((.+)\)\s*$", out.split("tests FAILED:")[-1], re.M)
    if not code:
        return "survived", []
    if failed and all(why == "Timeout" for _, why in failed):
        return "timeout", [n for n, _ in failed]
    return "caught", [n if why == "Failed" else f"{n} ({why})" for n, why in failed] or ["ctest"]


class Tree:
    """Writes mutants into the source tree, keeping each original in BUILD/mutation-backup/."""

    def __init__(self, build_dir):
        self.backup = os.path.join(build_dir, "mutation-backup")
        self.current = None
        for d, _, names in os.walk(self.backup):  # left by a run that was killed outright
            for f in names:
                rel = os.path.relpath(os.path.join(d, f), self.backup)
                print(f"putting back {rel} from an interrupted run")
                shutil.copyfile(os.path.join(d, f), os.path.join(ROOT, rel))
        shutil.rmtree(self.backup, ignore_errors=True)

    def apply(self, m):
        """Writes mutant m; returns its line number now, or None when its line is gone."""
        path = os.path.join(ROOT, m["file"])
        if not os.path.exists(path):
            return None
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        at = [i for i, line in enumerate(lines) if line == m["original"]]
        if not at:
            return None
        i = min(at, key=lambda i: abs(i + 1 - m["line"]))
        os.makedirs(os.path.dirname(os.path.join(self.backup, m["file"])), exist_ok=True)
        shutil.copyfile(path, os.path.join(self.backup, m["file"]))
        self.current = m["file"]
        lines[i] = m["mutated"]
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))
        return i + 1

    def restore(self):
        """Puts the original back, with a new time stamp so that the next build takes it."""
        if self.current:
            saved = os.path.join(self.backup, self.current)
            shutil.copyfile(saved, os.path.join(ROOT, self.current))
            os.remove(saved)
            self.current = None


def measure(args, tree, m):
    r = dict(m, status="gone", by=[], build_s=0.0, test_s=0.0)
    start = time.monotonic()
    line = tree.apply(m)
    if not line:
        return r
    try:
        r["line"] = line
        code, out, _ = build(args)
        built = time.monotonic()
        r["build_s"] = round(built - start, 1)
        if "Error running test executable" in out:  # a test program died listing its tests
            r["status"], r["by"] = "caught", ["test discovery (crashed)"]
        elif code:
            r["status"] = "not viable"
            r["by"] = [next((x for x in out.splitlines() if "error" in x), "")[:200]]
        else:
            r["status"], r["by"] = test(args)
            r["test_s"] = round(time.monotonic() - built, 1)
    finally:
        tree.restore()
    return r


def write_json(path, head, key, items):
    """JSON with one item a line, so that a change shows as the lines it changes."""
    with open(path, "w", encoding="utf-8") as f:
        f.write(json.dumps(head)[:-1] + f', "{key}": [\n')
        f.write(",\n".join(json.dumps(item, ensure_ascii=False) for item in items) + "\n]}\n")


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    p.add_argument("--scope", default="core", help="core, all (= core,qt), or a list: core,qt,tools")
    p.add_argument("--count", type=int, default=100)
    p.add_argument("--seed", type=int, default=1)
    p.add_argument("--tests", choices=["core", "all"], default="core",
                   help="core: core_tests alone; all: every target and the whole ctest suite")
    p.add_argument("--build", default=os.path.join(ROOT, "build"))
    p.add_argument("--timeout", type=int, default=120, help="seconds per test")
    p.add_argument("--save", help="write the sample to this JSON file")
    p.add_argument("--load", help="measure the sample saved in this JSON file")
    p.add_argument("--json", help="write the results to this JSON file")
    p.add_argument("--dry-run", action="store_true", help="draw (and save) the sample only")
    args = p.parse_args()
    args.build = os.path.abspath(args.build)
    if not os.path.exists(os.path.join(args.build, "build.ninja")):
        sys.exit(f"no configured build in {args.build}: run ./test.sh first")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    tree = Tree(args.build)  # first, so that the sample is drawn from the true sources
    if args.load:
        with open(args.load, encoding="utf-8") as f:
            sample = json.load(f)["mutants"]
    else:
        sample = draw("core,qt" if args.scope == "all" else args.scope, args.count, args.seed)
    if args.save:
        write_json(args.save, {"scope": args.scope, "count": args.count, "seed": args.seed},
                   "mutants", sample)
    if args.dry_run:
        for m in sample:
            print(f"{m['file']}:{m['line']} {m['operator']}: {m['mutated'].strip()}")
        return 0
    code, out, _ = build(args)
    if code:
        sys.exit("the unchanged program does not build:\n" + out[-3000:])
    if test(args)[0] != "survived":
        sys.exit("the tests fail on the unchanged program; fix that first")
    results = []
    try:
        for k, m in enumerate(sample, 1):
            r = measure(args, tree, m)
            results.append(r)
            by = ", ".join(r["by"][:3]) + (f" and {len(r['by']) - 3} more" if len(r["by"]) > 3 else "")
            print(f"[{k:3}/{len(sample)}] {r['status']:10} {r['file']}:{r['line']} {r['operator']:6} "
                  f"{r['build_s'] + r['test_s']:5.1f} s  {by}", flush=True)
    except KeyboardInterrupt:
        sys.exit("\ninterrupted; the sources are as they were")
    finally:
        tree.restore()
        shutil.rmtree(tree.backup, ignore_errors=True)
    build(args)  # the build matches the sources again
    report(results)
    if args.json:
        write_json(args.json, {"tests": args.tests}, "results", results)
    return 0


def report(results):
    for status in ("survived", "not viable", "gone"):
        listed = [r for r in results if r["status"] == status]
        if listed:
            print(f"\n{status.capitalize()}:")
        for r in listed:
            why = f"  {r['by'][0]}" if status == "not viable" else ""
            print(f"  {r['file']}:{r['line']} [{r['operator']}]{why}\n"
                  f"    - {r['original'].strip()}\n    + {r['mutated'].strip()}")
    print()
    ran = [r for r in results if r["status"] in ("caught", "timeout", "survived")]
    for folder in sorted({os.path.dirname(os.path.dirname(r["file"])) for r in ran}):
        part = [r for r in ran if r["file"].startswith(folder + "/")]
        caught = sum(r["status"] != "survived" for r in part)
        print(f"{folder}: {caught} of {len(part)} caught ({100 * caught / len(part):.0f} %)")
    count = {s: sum(r["status"] == s for r in results)
             for s in ("caught", "timeout", "survived", "not viable", "gone")}
    caught = count["caught"] + count["timeout"]
    print(f"{len(ran)} viable: {caught} caught ({count['timeout']} by a timeout), "
          f"{count['survived']} survived; {count['not viable']} not viable, {count['gone']} gone")
    if ran:
        print(f"Per viable mutant: {sum(r['build_s'] for r in ran) / len(ran):.1f} s build, "
              f"{sum(r['test_s'] for r in ran) / len(ran):.1f} s tests")
        print(f"Caught: {caught} of {len(ran)}, {100 * caught / len(ran):.0f} % of viable mutants")


if __name__ == "__main__":
    sys.exit(main())
