#!/usr/bin/env python3
"""plant_numbers.py [--sample N] [--seed S] FILE[:LINE]... : plants one-digit
changes to the numbers of the named source files (or of one line), one at a
time, and says for each which check caught it: the stored runs
(`stivra-tool replay --check`), the unit tests, or nothing ("SURVIVED").

It works on a copy of the committed tree of its own (a git worktree in
build-plant/tree, Release, no sanitizers), never on the working tree, and
restores every file it changed. A number's last digit goes up or down by one;
what no longer builds counts as caught. About 10 seconds a change.

Example: scripts/plant_numbers.py --sample 50 src/game/*.cpp src/screens/*.cpp
"""
import argparse, os, random, re, subprocess, sys, time

NUMBER = re.compile(r'(?<![\w.])(\d+)(?![\w.])')


def numbers(tree, path):
    """(line, column, text) of every number outside comments, strings and #lines."""
    found = []
    with open(os.path.join(tree, path)) as f:
        for i, line in enumerate(f.read().split('\n'), 1):
            code = line.split('//', 1)[0]
            if code.strip().startswith('#') or 'static_assert' in code:
                continue
            for m in NUMBER.finditer(code):
                if code[:m.start()].count('"') % 2 == 0:
                    found.append((i, m.start(), m.group(1)))
    return found


def run(tree, command, timeout):
    p = subprocess.run(command, cwd=tree, shell=True, capture_output=True, text=True, timeout=timeout)
    return p.returncode, p.stdout + p.stderr


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--sample', type=int, default=0, help='plant only this many, chosen at random')
    parser.add_argument('--seed', type=int, default=1, help='the random choice of --sample and of up or down')
    parser.add_argument('targets', nargs='+', help='FILE or FILE:LINE, relative to the project')
    args = parser.parse_args()
    root = subprocess.run(['git', 'rev-parse', '--show-toplevel'], capture_output=True, text=True,
                          check=True).stdout.strip()
    tree = os.path.join(root, 'build-plant', 'tree')
    if not os.path.isdir(tree):
        subprocess.run(['git', 'worktree', 'add', '--detach', tree, 'HEAD'], cwd=root, check=True)
    subprocess.run(['git', 'checkout', '-q', '--detach', subprocess.run(
        ['git', 'rev-parse', 'HEAD'], cwd=root, capture_output=True, text=True).stdout.strip()], cwd=tree, check=True)
    subprocess.run('cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSTIVRA_BENCH=OFF -DSTIVRA_GAME=OFF >/dev/null && '
                   'cmake --build build -j2 --target stivra_tests stivra-tool >/dev/null', cwd=tree, shell=True,
                   check=True)

    plants = []
    for target in args.targets:
        path, _, only = target.partition(':')
        for line, column, text in numbers(tree, path):
            if not only or int(only) == line:
                plants.append((path, line, column, text))
    rng = random.Random(args.seed)
    if args.sample and args.sample < len(plants):
        plants = rng.sample(plants, args.sample)
    counts = {}
    for path, line, column, text in plants:
        full = os.path.join(tree, path)
        with open(full) as f:
            lines = f.read().split('\n')
        old = lines[line - 1]
        digit = int(text[-1])
        step = 1 if digit == 0 or rng.random() < 0.5 else -1
        new_digit = str((digit + step) % 10)
        lines[line - 1] = old[:column + len(text) - 1] + new_digit + old[column + len(text):]
        began = time.time()
        try:
            with open(full, 'w') as f:
                f.write('\n'.join(lines))
            code, _ = run(tree, 'cmake --build build --target stivra-tool -j2', 600)
            if code != 0:
                verdict = 'no build'
            else:
                _, out = run(tree, 'for f in tests/replays/*.txt; do build/stivra-tool replay "$f" --check '
                                   '>/dev/null 2>&1 || basename "$f"; done', 600)
                if out.split():
                    verdict = 'runs: ' + ','.join(out.split())
                else:
                    code, out = run(tree, 'cmake --build build --target stivra_tests -j2 >/dev/null && '
                                          'build/tests/stivra_tests --gtest_brief=1', 900)
                    failed = sorted({l.split()[3] for l in out.split('\n')
                                     if l.startswith('[  FAILED  ]') and len(l.split()) > 3 and '.' in l.split()[3]})
                    verdict = ('unit: ' + ','.join(failed)) if failed else ('SURVIVED' if code == 0 else 'unit')
        finally:
            lines[line - 1] = old
            with open(full, 'w') as f:
                f.write('\n'.join(lines))
        kind = verdict.split(':')[0]
        counts[kind] = counts.get(kind, 0) + 1
        print(f'{verdict}\t{path}:{line}\t{text} -> {text[:-1] + new_digit}\t{old.strip()[:90]}'
              f'\t{time.time() - began:.0f} s', flush=True)
    print('; '.join(f'{k} {v}' for k, v in sorted(counts.items())), file=sys.stderr)
    return 0


if __name__ == '__main__':
    sys.exit(main())
