#!/usr/bin/env python3
"""Mutates the program's own forms (compiled streams and their texts) and runs formtool's load,
decompile and compile on each: every run must end with status 0 or 1 and no sanitizer report.

    fuzz/mutate_forms.py [--count N] [--seed S] [--formtool build-asan/tools/formtool]

Failing inputs are kept in build*/mutated-forms/failures/ with the command that failed."""
import argparse
import os
import random
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SANITIZER_MARKS = (b"ERROR: AddressSanitizer", b"runtime error:", b"ERROR: LeakSanitizer")


def seeds(formtool, work):
    binaries, texts = [], []
    forms = os.path.join(ROOT, "resources", "forms")
    for name in sorted(os.listdir(forms)):
        if not name.endswith(".form"):
            continue
        out = os.path.join(work, name[:-5] + ".bin")
        subprocess.run([formtool, "compile", os.path.join(forms, name), out], check=True,
                       stdout=subprocess.DEVNULL)
        with open(out, "rb") as f:
            binaries.append(f.read())
        text = subprocess.run([formtool, "decompile", out], check=True, capture_output=True)
        texts.append(text.stdout)
    return binaries, texts


def mutate_bytes(rng, data):
    data = bytearray(data)
    for _ in range(rng.randint(1, 4)):
        kind = rng.randrange(6)
        pos = rng.randrange(len(data) + 1) if data else 0
        if kind == 0 and data:  # flip a byte
            data[min(pos, len(data) - 1)] = rng.randrange(256)
        elif kind == 1:  # cut the rest off
            del data[pos:]
        elif kind == 2 and data:  # a run repeated (duplicate objects, names, lists)
            end = min(len(data), pos + rng.randint(1, 400))
            data[pos:pos] = data[pos:end]
        elif kind == 3:  # bytes inserted
            data[pos:pos] = bytes(rng.randrange(256) for _ in range(rng.randint(1, 8)))
        elif kind == 4 and data:  # a run removed
            del data[pos:pos + rng.randint(1, 64)]
        elif kind == 5 and data:  # a small integer made extreme
            data[min(pos, len(data) - 1)] = rng.choice((0, 1, 0x7F, 0x80, 0xFF))
    return bytes(data)


def mutate_text(rng, data):
    lines = data.split(b"\n")
    for _ in range(rng.randint(1, 3)):
        kind = rng.randrange(4)
        i = rng.randrange(len(lines))
        if kind == 0:  # a line (often an 'object' or 'end') repeated
            lines[i:i] = lines[i:i + rng.randint(1, 12)]
        elif kind == 1:
            del lines[i:i + rng.randint(1, 6)]
        elif kind == 2:  # a number or string changed
            words = lines[i].split(b" ")
            j = rng.randrange(len(words))
            words[j] = rng.choice((b"-2147483649", b"99999999999", b"''", b"#0", b"1e308",
                                   b"True", b"(", b"[", b"<", b"object", b"end", b"$FF"))
            lines[i] = b" ".join(words)
        else:
            return mutate_bytes(rng, b"\n".join(lines))
    return b"\n".join(lines)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=random.SystemRandom().randrange(1 << 31))
    parser.add_argument("--formtool", default=os.path.join(ROOT, "build-asan", "tools", "formtool"))
    args = parser.parse_args()
    rng = random.Random(args.seed)
    failures = os.path.join(os.path.dirname(os.path.dirname(args.formtool)), "mutated-forms",
                            "failures")
    env = dict(os.environ, ASAN_OPTIONS="detect_leaks=1:abort_on_error=0",
               UBSAN_OPTIONS="print_stacktrace=1")
    failed = 0
    with tempfile.TemporaryDirectory() as work:
        binaries, texts = seeds(args.formtool, work)
        for n in range(args.count):
            text = n % 2 == 1
            source = rng.choice(texts if text else binaries)
            data = mutate_text(rng, source) if text else mutate_bytes(rng, source)
            path = os.path.join(work, "m.form" if text else "m.bin")
            with open(path, "wb") as f:
                f.write(data)
            commands = [["load", path], ["compile", path, os.path.join(work, "out.bin")]] if text \
                else [["load", path], ["decompile", path]]
            for command in commands:
                run = subprocess.run([args.formtool] + command, capture_output=True, env=env,
                                     timeout=60)
                bad = run.returncode not in (0, 1) or any(
                    m in run.stdout + run.stderr for m in SANITIZER_MARKS)
                if bad:
                    failed += 1
                    os.makedirs(failures, exist_ok=True)
                    keep = os.path.join(failures, "%d-%d%s" % (args.seed, n,
                                                              ".form" if text else ".bin"))
                    with open(keep, "wb") as f:
                        f.write(data)
                    print("FAIL status %d: formtool %s %s" % (run.returncode, command[0], keep))
                    sys.stdout.write(run.stderr.decode(errors="replace")[-2000:])
    print("%d mutated forms (seed %d, %d binary, %d text): %d failures"
          % (args.count, args.seed, (args.count + 1) // 2, args.count // 2, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
