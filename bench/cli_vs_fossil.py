#!/usr/bin/env python3
"""Adds bugs one `nimbra-cli add` process at a time and lists them with one
condition, beside the same work done with Debian's `fossil` tickets (one
`fossil ticket add` per ticket, `fossil ticket show` with a condition), in the
same run. Prints both times and the ratio.

Usage: bench/cli_vs_fossil.py BUILD/nimbra-cli [COUNT]   (fossil: apt-get install fossil)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

ROUNDS = 10  # the two tools take turns, so that a noisy moment hits both


def run(args, env):
    subprocess.run(args, env=env, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL)


def timed(work):
    start = time.perf_counter()
    work()
    return time.perf_counter() - start


def main():
    cli = os.path.abspath(sys.argv[1])
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 1000
    if shutil.which("fossil") is None:
        sys.exit("fossil is not installed: apt-get install fossil")
    folder = tempfile.mkdtemp(prefix="nimbra-bench-")
    env = dict(os.environ, NIMBRA_HOME=folder, USER="bench", NIMBRA_USER="jonas",
               NIMBRA_PASSWORD="jonas-demo", NIMBRA_DB=os.path.join(folder, "bench.mdb"))
    repo = os.path.join(folder, "bench.fossil")
    try:
        run([cli, "demo", env["NIMBRA_DB"], "--bugs", "0"], env)
        run(["fossil", "init", repo], env)
        per_round = count // ROUNDS
        nimbra_add = fossil_add = 0.0
        for r in range(ROUNDS):
            numbers = range(r * per_round, (r + 1) * per_round)

            def add_nimbra():
                for i in numbers:
                    run([cli, "add", "--project", "Ledgerly Desktop", "--version", "4.2",
                         "--set", f"Description=Totals wrong in report {i}",
                         "--set", "Priority=" + ("High" if i % 4 == 0 else "Low"),
                         "--set", f"Report=Seen by customer {i}."], env)

            def add_fossil():
                for i in numbers:
                    run(["fossil", "ticket", "add", "-R", repo,
                         "title", f"Totals wrong in report {i}",
                         "priority", "High" if i % 4 == 0 else "Low",
                         "type", "Code_Defect", "status", "Open",
                         "comment", f"Seen by customer {i}."], env)

            nimbra_add += timed(add_nimbra)
            fossil_add += timed(add_fossil)
        added = per_round * ROUNDS

        def list_nimbra():
            out = subprocess.run([cli, "list", "--project", "Ledgerly Desktop",
                                  "--where", "Priority = High", "--format", "csv",
                                  "--fields", "ID,Priority,Description"],
                                 env=env, check=True, capture_output=True, text=True).stdout
            list_nimbra.rows = len(out.splitlines()) - 1

        def list_fossil():
            out = subprocess.run(["fossil", "ticket", "show", "-R", repo, "0",
                                  "priority = 'High'"],
                                 env=env, check=True, capture_output=True, text=True).stdout
            list_fossil.rows = len(out.splitlines()) - 1

        nimbra_list = min(timed(list_nimbra) for _ in range(5))
        fossil_list = min(timed(list_fossil) for _ in range(5))
        print(f"{added} adds, one process each (the two tools take turns in {ROUNDS} rounds)")
        print(f"  nimbra-cli add:         {nimbra_add:7.2f} s  {1000 * nimbra_add / added:6.1f} ms per bug")
        print(f"  fossil ticket add:      {fossil_add:7.2f} s  {1000 * fossil_add / added:6.1f} ms per ticket")
        print(f"  ratio fossil / nimbra:  {fossil_add / nimbra_add:7.2f}x")
        print(f"list with one condition (best of 5), {list_nimbra.rows} and {list_fossil.rows} rows")
        print(f"  nimbra-cli list:        {1000 * nimbra_list:7.1f} ms")
        print(f"  fossil ticket show:     {1000 * fossil_list:7.1f} ms")
        print(f"  ratio fossil / nimbra:  {fossil_list / nimbra_list:7.2f}x")
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
