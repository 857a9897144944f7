#!/usr/bin/env python3
"""The byte-identity manifest of SETLCORE's files.

  engine_identity.py manifest REV [BUILD_DIR]
      Builds SETLCORE of git revision REV in a scratch worktree, runs it on
      every input of the check and writes the hashes of its files to
      tests/data/engine_identity/manifest.txt (the run-stamp line of the page
      files left out). The generated inputs come from the
      engine_identity_inputs tool of BUILD_DIR (default: build).
  engine_identity.py check EXE [BUILD_DIR]
      Runs the SETLCORE executable EXE on the same inputs and lists every
      file whose hash differs from the manifest (exit code 1 if any).

The inputs: the golden report sets and other stored sections under
tests/data, the benchmark sections of tools/gen_cal_tnk.py (stored under
tests/data/engine_bench, rewritten here) and the generated variants
0..GEN_COUNT-1 of tests/engine/identity_variants.hpp. The test
engine_tests/EngineIdentity regenerates them and compares its own runs.
"""
import concurrent.futures
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DATA = os.path.join(ROOT, "tests", "data")
MANIFEST = os.path.join(DATA, "engine_identity", "manifest.txt")
BENCH = os.path.join(DATA, "engine_bench")
GEN_COUNT = 320
STORED = [
    "engine_reports/full/CAL_TNK.DAT",
    "engine_reports/minimal/CAL_TNK.DAT",
    "engine_reports/missing_cv/CAL_TNK.DAT",
    "engine/typical_small.dat",
    "model/rich_CAL_TNK.DAT",
    "model/empty_CAL_TNK.DAT",
    "engine_bench/typical.DAT",
    "engine_bench/maximal.DAT",
    "engine_bench/drained.DAT",
    "engine_bench/full.DAT",
]


def fnv1a64(data):
    h = 0xCBF29CE484222325
    for b in data:
        h ^= b
        h = (h * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF
    return h


def file_hash(name, data):
    """FNV-1a of the file; page files without their second line, the run's
    date and time."""
    if name.upper().endswith(".PDT"):
        first = data.find(b"\r\n")
        if first >= 0:
            second = data.find(b"\r\n", first + 2)
            data = data[:first + 2] + (data[second + 2:] if second >= 0 else b"")
    return "%016x" % fnv1a64(data)


def write_bench_inputs():
    os.makedirs(BENCH, exist_ok=True)
    for kind in ("typical", "maximal", "drained", "full"):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, os.path.join(ROOT, "tools", "gen_cal_tnk.py"), kind, tmp],
                           check=True, stdout=subprocess.DEVNULL)
            shutil.copyfile(os.path.join(tmp, "CAL_TNK.DAT"), os.path.join(BENCH, kind + ".DAT"))


def prepare_inputs(work, build):
    """Folders with a CAL_TNK.DAT each; returns [(key, folder)]."""
    out = []
    for rel in STORED:
        folder = os.path.join(work, "file_%d" % len(out))
        os.makedirs(folder)
        shutil.copyfile(os.path.join(DATA, rel), os.path.join(folder, "CAL_TNK.DAT"))
        out.append(("file:" + rel, folder))
    tool = os.path.join(build, "bin", "engine_identity_inputs")
    subprocess.run(["cmake", "--build", build, "--target", "engine_identity_inputs"], check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run([tool, work, "0", str(GEN_COUNT)], check=True)
    for n in range(GEN_COUNT):
        out.append(("gen:%d" % n, os.path.join(work, "gen_%d" % n)))
    return out


def run_all(exe, inputs, threads=None):
    env = dict(os.environ)
    if threads:
        env["SETLCORE_THREADS"] = str(threads)

    def one(item):
        key, folder = item
        rc = subprocess.run([exe], cwd=folder, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL).returncode
        files = {}
        for name in sorted(os.listdir(folder)):
            if name == "CAL_TNK.DAT" or not os.path.isfile(os.path.join(folder, name)):
                continue
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = file_hash(name, f.read())
        return key, rc, files

    with concurrent.futures.ThreadPoolExecutor(max_workers=3) as pool:
        return list(pool.map(one, inputs))


def build_revision(rev, scratch):
    tree = os.path.join(scratch, "src")
    subprocess.run(["git", "-C", ROOT, "worktree", "add", "--detach", tree, rev], check=True,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    build = os.path.join(scratch, "build")
    subprocess.run(["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=RelWithDebInfo"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j3", "--target", "SETLCORE"], check=True,
                   stdout=subprocess.DEVNULL)
    return tree, os.path.join(build, "bin", "SETLCORE")


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("manifest", "check"):
        sys.exit(__doc__)
    mode, arg = sys.argv[1], sys.argv[2]
    build = os.path.abspath(sys.argv[3] if len(sys.argv) > 3 else os.path.join(ROOT, "build"))
    scratch = tempfile.mkdtemp(prefix="engine_identity_")
    tree = None
    try:
        if mode == "manifest":
            write_bench_inputs()
            rev = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", arg], check=True,
                                 capture_output=True, text=True).stdout.strip()
            tree, exe = build_revision(rev, scratch)
        else:
            exe = os.path.abspath(arg)
        work = os.path.join(scratch, "runs")
        os.makedirs(work)
        results = run_all(exe, prepare_inputs(work, build))
        if mode == "manifest":
            os.makedirs(os.path.dirname(MANIFEST), exist_ok=True)
            with open(MANIFEST, "w", newline="\n") as f:
                f.write("# SETLCORE %s: per input its exit code, then per file its FNV-1a 64 hash\n" % rev)
                f.write("# (page files without the run-stamp line). Written by tools/engine_identity.py.\n")
                for key, rc, files in results:
                    f.write("%s %d %d\n" % (key, rc, len(files)))
                    for name, h in files.items():
                        f.write("  %s %s\n" % (name, h))
            print("%d inputs, %d files" % (len(results), sum(len(r[2]) for r in results)))
            return
        expected = read_manifest()
        bad = 0
        for key, rc, files in results:
            if key not in expected:
                print("%s: not in the manifest" % key)
                bad += 1
                continue
            erc, efiles = expected[key]
            if rc != erc:
                print("%s: exit code %d, expected %d" % (key, rc, erc))
                bad += 1
            for name in sorted(set(files) | set(efiles)):
                if files.get(name) != efiles.get(name):
                    print("%s: %s differs" % (key, name))
                    bad += 1
        print("%d inputs checked, %d differences" % (len(results), bad))
        sys.exit(1 if bad else 0)
    finally:
        if tree:
            subprocess.run(["git", "-C", ROOT, "worktree", "remove", "--force", tree],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(scratch, ignore_errors=True)


def read_manifest():
    out = {}
    key = None
    with open(MANIFEST) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            if line.startswith("  "):
                name, h = line.split()
                out[key][1][name] = h
            else:
                key, rc, _ = line.split()
                out[key] = (int(rc), {})
    return out


if __name__ == "__main__":
    main()
