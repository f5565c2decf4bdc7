#!/usr/bin/env python3
"""Plants again, one at a time, the faults that earlier mutation runs reported, against the
tests as they are now: to see whether new tests catch what a run let through, or whether a cut
in the tests loses a fault a run caught; or, with "which", what fast test cases fail with each
fault a run caught, to see which tests catch faults no other test does. Run from the project
root, on an unchanged tree:
  python3 scripts/mutation-replant.py through /tmp/mutants-3.log /tmp/mutants-7.log
  python3 scripts/mutation-replant.py caught /tmp/mutants-3.log
  python3 scripts/mutation-replant.py which /tmp/mutants-3.log
With "map" and no logs, it plants every fault of the game's own code instead and lists the
game test assertions (test file lines; 0 for a crash or a hang) that fail with each; at the end,
how many faults each assertion alone catches. An assertion that alone catches none may go
without losing a fault, though two such may still be the only two to catch one.
  python3 scripts/mutation-replant.py map
REPLANT_DIR names another scratch folder, for two runs at once.
"""
import os, re, shutil, subprocess, sys, time
from importlib.machinery import SourceFileLoader

tool = SourceFileLoader("mutants", os.path.abspath("../shared/tools/mutants")).load_module()
which, logs = sys.argv[1], sys.argv[2:]
prefix = {"through": "LET THROUGH  ", "caught": "caught  ", "which": "caught  ", "map": ""}[which]
root = os.getcwd()
src = os.environ.get("REPLANT_DIR", "/tmp/stakko-replant") + "/src"  # one per concurrent run
wanted = {line[len(prefix):].strip() for log in logs for line in open(log) if line.startswith(prefix)}
# A log names a fault by file, line and kind; two faults of one kind on one line share that name,
# so every fault of the name is planted, each in turn.
faults = {}
for p, i, new, what in tool.faults(root, "engine,presentation,shell,records,sound,ui".split(",")):
    faults.setdefault(f"{p}:{i + 1}: {what}", []).append((p, i, new))
if which == "map":  # the crash test's writers are left out: they take minutes, not seconds
    game = ("engine/", "presentation/", "shell/", "records/", "sound/game_sounds", "sound/playsnd")
    wanted = {k for k in faults if k.startswith(game) and "win32" not in k}  # built here
    build = "cmake --build build-mutants --target game_tests -j2"
    fast = "timeout 120 build-mutants/tests/game_tests --gtest_filter=-*Killed* --gtest_brief=1"
    alone, missed = {}, []
print(f"{len(wanted)} faults {which} in the logs, {len(wanted & faults.keys())} still plantable", flush=True)

# A scratch copy whose build folder is kept between runs; every source newer than its objects.
os.makedirs(src, exist_ok=True)
for name in os.listdir(root):
    if name.startswith("build") or name == ".git":
        continue
    p, d = os.path.join(root, name), os.path.join(src, name)
    if os.path.isdir(d) and not os.path.islink(d):
        shutil.rmtree(d)
    (shutil.copytree if os.path.isdir(p) else shutil.copy2)(p, d)
now = time.time() + 2
for base, _, names in os.walk(src):
    if "build-mutants" not in base:
        for n in names:
            os.utime(os.path.join(base, n), (now, now))

if which != "map":
    build = "cmake --build build-mutants -j2"
    fast = f"bash {root}/scripts/mutation-check.sh {root}"
slow = "ctest --test-dir build-mutants -L e2e -Q --timeout 150"
if tool.run("cmake -S . -B build-mutants -DCMAKE_BUILD_TYPE=Debug -DSTAKKO_BENCHMARKS=OFF", src, 600) \
        or tool.run(build, src, 1800):
    sys.exit("the unchanged copy does not build")
for key, path, i, new in [(k + (f" [{n + 1} of {len(faults[k])}]" if len(faults[k]) > 1 else ""), *f)
                          for k in sorted(wanted & faults.keys()) for n, f in enumerate(faults[k])]:
    f = os.path.join(src, path)
    original = open(f).read()
    lines = original.split("\n")
    lines[i] = new
    open(f, "w").write("\n".join(lines))
    try:
        if tool.run(build, src, 600):
            print("does not compile ", key, flush=True)
            continue
        if which == "map":
            run = subprocess.run(fast, shell=True, cwd=src, text=True, capture_output=True)
            failed = sorted(set(re.findall(r"game_test\.cpp:(\d+): Failure", run.stdout)), key=int)
            failed += ["0"] if run.returncode and not failed else []  # line 0: a crash or a hang
            print(key, "\t", " ".join(failed), flush=True)
            if len(failed) == 1:
                alone[failed[0]] = alone.get(failed[0], 0) + 1
            missed += [] if failed else [key]
            continue
        if which == "which":  # the failing cases from ctest's list; none: only the journeys
            out = subprocess.run("MUTATION_LIST_FAILED=1 " + fast, shell=True, cwd=src, text=True,
                                 capture_output=True, timeout=900).stdout
            print(key, "\t", " ".join(re.findall(r"^\s*\d+ - (\S+) \(", out, re.M)), flush=True)
            continue
        hit = tool.run(fast, src, 600) != 0 or tool.run(slow, src, 600) != 0
        print("caught           " if hit else "LET THROUGH      ", key, flush=True)
    finally:
        open(f, "w").write(original)
        t = time.time() + 1
        os.utime(f, (t, t))
if which == "map":
    print("faults each assertion alone catches:", sorted(alone.items(), key=lambda a: int(a[0])))
    print(f"{len(missed)} faults no game test catches:", *missed, sep="\n  ")
