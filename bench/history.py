#!/usr/bin/env python3
"""Fleet history benchmark: ingest, re-ingest, report and size of the
history beside `hpactl decode` of the same accounting set.

  bench/history.py [--build-dir build] [--jobs 1000000] [--printers 5]
                   [--data-dir /tmp/hpa-bench-history] [--pg URI] [--repeat 3]

Generates one set with hpa-printer-sim, serves it with the simulator, and
measures each step's wall time and processor time (user + system of the
child processes; the machine may be busy, so both are shown). Prints a
markdown table for docs/PERFORMANCE.md.
"""
import argparse
import os
import resource
import shutil
import subprocess
import sys
import time


def timed(cmd, env=None):
    """Runs cmd; returns (wall seconds, cpu seconds, completed process)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    proc = subprocess.run(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if proc.returncode not in (0, 3):
        sys.exit(f"failed ({proc.returncode}): {' '.join(cmd)}\n{proc.stderr}")
    return wall, cpu, proc


def best(runs):
    """The run with the least wall time of several (wall, cpu, proc)."""
    return min(runs, key=lambda r: r[0])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", default="build")
    parser.add_argument("--jobs", type=int, default=1000000)
    parser.add_argument("--printers", type=int, default=5)
    parser.add_argument("--data-dir", default=os.path.join(os.environ.get("TMPDIR", "/tmp"),
                                                           "hpa-bench-history"))
    parser.add_argument("--pg", default="", help="a PostgreSQL URI to measure as well")
    parser.add_argument("--repeat", type=int, default=3)
    args = parser.parse_args()

    hpactl = os.path.abspath(os.path.join(args.build_dir, "hpactl"))
    sim = os.path.abspath(os.path.join(args.build_dir, "hpa-printer-sim"))
    data = os.path.abspath(args.data_dir)
    root = os.path.join(data, f"set-{args.jobs}")
    decode_dir = os.path.join(data, f"decode-{args.jobs}")
    if not os.path.exists(os.path.join(root, "acc1.job")):
        shutil.rmtree(root, ignore_errors=True)
        os.makedirs(root)
        subprocess.run([sim, "--generate", root, "--jobs", str(args.jobs)], check=True,
                       stdout=subprocess.DEVNULL)
    if not os.path.exists(os.path.join(decode_dir, "JOB.tmp")):
        os.makedirs(decode_dir, exist_ok=True)
        for src, dst in (("acc.sta", "STA.tmp"), ("acc.dic", "DIC.tmp"), ("acc.pap", "PAP.tmp"),
                         ("acc1.job", "JOB.tmp")):
            shutil.copyfile(os.path.join(root, src), os.path.join(decode_dir, dst))
    job_bytes = os.path.getsize(os.path.join(decode_dir, "JOB.tmp"))

    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env["QT_QPA_PLATFORM"] = "offscreen"
    rows = []
    decode = best([timed([hpactl, "decode", decode_dir], env) for _ in range(args.repeat)])
    rows.append(("hpactl decode (reference)", decode, None))

    server = subprocess.Popen([sim, "--root", root, "--listen", "127.0.0.1:0"],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        line = server.stdout.readline()
        port = line.strip().rsplit(":", 1)[1]
        host = f"127.0.0.1:{port}"
        fetch = best([timed([hpactl, "fetch", host, "--user", "admin", "--password", "admin",
                             "--quiet"], env) for _ in range(args.repeat)])
        rows.append(("hpactl fetch (download + decode)", fetch, None))

        def backend(label, db, fresh):
            fresh()
            first = timed([hpactl, "collect", host, "--user", "admin", "--password", "admin",
                           "--name", "p1", "--db", db], env)
            rows.append((f"{label}: collect {args.jobs:,} new jobs", first, decode[0]))
            again = best([timed([hpactl, "collect", host, "--user", "admin", "--password",
                                 "admin", "--name", "p1", "--db", db], env)
                          for _ in range(args.repeat)])
            rows.append((f"{label}: collect again (0 new)", again, decode[0]))
            for n in range(2, args.printers + 1):
                timed([hpactl, "collect", host, "--user", "admin", "--password", "admin",
                       "--name", f"p{n}", "--db", db], env)
            report = best([timed([hpactl, "report", "--by", "user", "--db", db], env)
                           for _ in range(args.repeat)])
            rows.append((f"{label}: report --by user over {args.jobs * args.printers:,} jobs",
                         report, decode[0]))

        db = os.path.join(data, "history.sqlite")

        def fresh_sqlite():
            for suffix in ("", "-wal", "-shm"):
                if os.path.exists(db + suffix):
                    os.remove(db + suffix)

        backend("SQLite", db, fresh_sqlite)
        db_bytes = os.path.getsize(db)
        if args.pg:
            def fresh_pg():
                subprocess.run(["psql", "-X", "-q", args.pg, "-c",
                                "DROP TABLE IF EXISTS gap, rollup, job, collection, printer, "
                                "hpa_meta CASCADE"], check=True)
            backend("PostgreSQL", args.pg, fresh_pg)
    finally:
        server.terminate()
        server.wait()

    print(f"Set: {args.jobs:,} jobs, job file {job_bytes:,} bytes "
          f"({job_bytes / args.jobs:.1f} bytes a job); best of {args.repeat} where repeated.\n")
    print("| Step | Wall (s) | CPU (s) | Wall ÷ decode |")
    print("|---|---:|---:|---:|")
    for label, (wall, cpu, _), ref in rows:
        ratio = f"{wall / ref:.2f}" if ref else ""
        print(f"| {label} | {wall:.2f} | {cpu:.2f} | {ratio} |")
    per_job = db_bytes / (args.jobs * args.printers)
    print(f"\nSQLite file: {db_bytes:,} bytes for {args.jobs * args.printers:,} jobs = "
          f"{per_job:.1f} bytes a job = {per_job / (job_bytes / args.jobs):.2f} x the job "
          f"file's bytes a job.")


if __name__ == "__main__":
    main()
