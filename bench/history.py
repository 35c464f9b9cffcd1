#!/usr/bin/env python3
"""Fleet history benchmark: ingest, re-ingest, report and size of the
history beside `hpactl decode` of the same accounting set.

  bench/history.py [--build-dir build] [--jobs 1000000] [--printers 5]
                   [--data-dir /tmp/hpa-bench-history] [--pg URI|auto|none]
                   [--parallel-jobs 100000] [--repeat 3] [--output FILE]

Generates one set with hpa-printer-sim, serves it with the simulator, and
measures each step's wall time and processor time (user + system of the
child processes; the machine may be busy, so both are shown): decode (the
reference), fetch, collecting into SQLite (new jobs, the same jobs again,
more printers, a report), and four collectors at once into one history,
SQLite and PostgreSQL, on a smaller set of --parallel-jobs jobs each. With
--pg auto (the default) a throwaway PostgreSQL server is started when its
binaries are installed; --pg URI uses a server of the caller's. Prints a
markdown block; with --output it replaces the block between the history
markers of that file (docs/PERFORMANCE.md).
"""
import argparse
import datetime
import glob
import os
import pwd
import resource
import shutil
import subprocess
import sys
import tempfile
import time
import urllib.parse

BEGIN_MARK = "<!-- history:begin (written by bench/history.py) -->"
END_MARK = "<!-- history:end -->"


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


def cpu_now():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def timed_parallel(cmds, env=None):
    """Runs cmds all at once; returns (wall seconds, cpu seconds of all)."""
    before = cpu_now()
    start = time.monotonic()
    procs = [subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              text=True) for cmd in cmds]
    outs = [p.communicate() for p in procs]
    wall = time.monotonic() - start
    for cmd, proc, (_, err) in zip(cmds, procs, outs):
        if proc.returncode not in (0, 3):
            sys.exit(f"failed ({proc.returncode}): {' '.join(cmd)}\n{err}")
    return wall, cpu_now() - before


def generate(sim, data, jobs):
    """The generated set of jobs jobs (made once, then reused)."""
    root = os.path.join(data, f"set-{jobs}")
    if not os.path.exists(os.path.join(root, "acc1.job")):
        shutil.rmtree(root, ignore_errors=True)
        os.makedirs(root)
        subprocess.run([sim, "--generate", root, "--jobs", str(jobs)], check=True,
                       stdout=subprocess.DEVNULL)
    return root


class PgServer:
    """A throwaway PostgreSQL server: data and Unix socket in a temporary
    folder, no TCP port; run as the postgres user when we are root."""

    def __init__(self):
        bins = sorted(glob.glob("/usr/lib/postgresql/*/bin/initdb"))
        self.uri = ""
        self.why = ""
        if not bins:
            self.why = "PostgreSQL binaries not installed"
            return
        self.bin = os.path.dirname(bins[-1])
        self.dir = tempfile.mkdtemp(prefix="hpa-bench-pg-")
        self.as_postgres = os.geteuid() == 0
        if self.as_postgres:
            user = pwd.getpwnam("postgres")
            os.chown(self.dir, user.pw_uid, user.pw_gid)
        os.chmod(self.dir, 0o700)
        data = os.path.join(self.dir, "data")
        options = f"-c listen_addresses='' -k {self.dir} -c max_connections=40"
        if (self.run([f"{self.bin}/initdb", "-D", data, "-U", "hpa", "--auth=trust", "-E",
                      "UTF8", "--no-sync"]) != 0 or
                self.run([f"{self.bin}/pg_ctl", "-D", data, "-l",
                          os.path.join(self.dir, "server.log"), "-o", options, "-w", "-t", "60",
                          "start"]) != 0):
            self.why = "the throwaway server did not start"
            return
        self.uri = ("postgresql:///postgres?host=" + urllib.parse.quote(self.dir, safe="") +
                    "&user=hpa")

    def run(self, cmd):
        if self.as_postgres:
            cmd = ["runuser", "-u", "postgres", "--"] + cmd
        return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode

    def stop(self):
        if self.uri:
            self.run([f"{self.bin}/pg_ctl", "-D", os.path.join(self.dir, "data"), "-m",
                      "immediate", "-w", "stop"])
        if getattr(self, "dir", ""):
            shutil.rmtree(self.dir, ignore_errors=True)


def fresh_pg(uri):
    subprocess.run(["psql", "-X", "-q", uri, "-c",
                    "DROP TABLE IF EXISTS gap, day_total, rollup, job, collection, printer, "
                    "hpa_meta CASCADE"], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def held_jobs(hpactl, db, env):
    """Jobs held per printer, as `hpactl printers` lists them."""
    proc = subprocess.run([hpactl, "printers", "--format", "csv", "--db", db], env=env,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, check=True)
    lines = proc.stdout.strip().splitlines()
    head = lines[0].split(",")
    col = next(i for i, h in enumerate(head) if h.lower().startswith("jobs"))
    return {line.split(",")[0]: int(line.split(",")[col]) for line in lines[1:]}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", default="build")
    parser.add_argument("--jobs", type=int, default=1000000)
    parser.add_argument("--printers", type=int, default=5)
    parser.add_argument("--data-dir", default=os.path.join(os.environ.get("TMPDIR", "/tmp"),
                                                           "hpa-bench-history"))
    parser.add_argument("--pg", default="auto",
                        help="a PostgreSQL URI, auto (a throwaway server) or none")
    parser.add_argument("--parallel-jobs", type=int, default=100000,
                        help="jobs of the set that four collectors collect at once")
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--output", default="", help="Markdown file to put the results into")
    args = parser.parse_args()

    hpactl = os.path.abspath(os.path.join(args.build_dir, "hpactl"))
    sim = os.path.abspath(os.path.join(args.build_dir, "hpa-printer-sim"))
    data = os.path.abspath(args.data_dir)
    root = generate(sim, data, args.jobs)
    small_root = generate(sim, data, args.parallel_jobs)
    decode_dir = os.path.join(data, f"decode-{args.jobs}")
    if not os.path.exists(os.path.join(decode_dir, "JOB.tmp")):
        os.makedirs(decode_dir, exist_ok=True)
        for src, dst in (("acc.sta", "STA.tmp"), ("acc.dic", "DIC.tmp"), ("acc.pap", "PAP.tmp"),
                         ("acc1.job", "JOB.tmp")):
            shutil.copyfile(os.path.join(root, src), os.path.join(decode_dir, dst))
    job_bytes = os.path.getsize(os.path.join(decode_dir, "JOB.tmp"))

    env = dict(os.environ)
    env.pop("DISPLAY", None)
    env["QT_QPA_PLATFORM"] = "offscreen"
    rows = []  # (label, (wall, cpu), target ratio of decode CPU or None)
    load_start = os.getloadavg()
    decode = best([timed([hpactl, "decode", decode_dir], env) for _ in range(args.repeat)])
    rows.append(("hpactl decode (reference)", decode, None))

    pg = None
    pg_uri = args.pg if args.pg not in ("auto", "none") else ""
    pg_note = ""
    if args.pg == "auto":
        pg = PgServer()
        pg_uri = pg.uri
        pg_note = pg.why
    servers = []
    try:
        def serve(set_root):
            server = subprocess.Popen([sim, "--root", set_root, "--listen", "127.0.0.1:0"],
                                      stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                      text=True)
            servers.append(server)
            return "127.0.0.1:" + server.stdout.readline().strip().rsplit(":", 1)[1]

        host = serve(root)
        small_host = serve(small_root)

        def collect(at, name, db):
            return [hpactl, "collect", at, "--user", "admin", "--password", "admin", "--name",
                    name, "--db", db]

        fetch = best([timed([hpactl, "fetch", host, "--user", "admin", "--password", "admin",
                             "--quiet"], env) for _ in range(args.repeat)])
        rows.append(("hpactl fetch (download + decode, default masks)", fetch, None))

        db = os.path.join(data, "history.sqlite")

        def fresh_sqlite():
            for suffix in ("", "-wal", "-shm"):
                if os.path.exists(db + suffix):
                    os.remove(db + suffix)

        fresh_sqlite()
        first = timed(collect(host, "p1", db), env)
        rows.append((f"SQLite: collect {args.jobs:,} new jobs", first, 2.5))
        again = best([timed(collect(host, "p1", db), env) for _ in range(args.repeat)])
        rows.append(("SQLite: collect the same download again (0 new)", again, 2.5))
        for n in range(2, args.printers + 1):
            timed(collect(host, f"p{n}", db), env)
        report = best([timed([hpactl, "report", "--by", "user", "--db", db], env)
                       for _ in range(args.repeat)])
        rows.append((f"SQLite: `report --by user` over {args.jobs * args.printers:,} jobs",
                     report, 0.5))
        db_bytes = os.path.getsize(db)

        # Four collectors at once into one history, each its own process
        # (as on four machines), each collecting the small set under its
        # own name; every job must be held exactly once per printer.
        parallel = []
        backends = [("SQLite", db, fresh_sqlite)]
        if pg_uri:
            backends.append(("PostgreSQL", pg_uri, lambda: fresh_pg(pg_uri)))
        for label, where, fresh in backends:
            fresh()
            names = [f"q{n}" for n in range(1, 5)]
            wall, cpu = timed_parallel([collect(small_host, name, where) for name in names], env)
            held = held_jobs(hpactl, where, env)
            exact = all(held.get(name) == args.parallel_jobs for name in names)
            again_wall, again_cpu = timed_parallel(
                [collect(small_host, name, where) for name in names], env)
            held_again = held_jobs(hpactl, where, env)
            exact = exact and held_again == held
            rep = best([timed([hpactl, "report", "--by", "user", "--db", where], env)
                        for _ in range(args.repeat)])
            parallel.append((label, (wall, cpu), (again_wall, again_cpu), rep, exact))
    finally:
        for server in servers:
            server.terminate()
            server.wait()
        if pg:
            pg.stop()

    load_end = os.getloadavg()
    out = [BEGIN_MARK, ""]
    out.append(f"Measured by `bench/history.py --jobs {args.jobs} --printers {args.printers} "
               f"--parallel-jobs {args.parallel_jobs} --repeat {args.repeat}` on "
               f"{datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC; load "
               f"average {load_start[0]:.1f} at the start, {load_end[0]:.1f} at the end (2 CPUs "
               "shared with other work, so processor time is the steadier figure; targets "
               "are judged by it).")
    out.append("")
    out.append(f"One generated set of {args.jobs:,} jobs (job file {job_bytes:,} bytes, "
               f"{job_bytes / args.jobs:.1f} bytes a job) served by `hpa-printer-sim` on "
               f"loopback; the {args.printers} printers are the same set collected under "
               f"{args.printers} names. Best of {args.repeat} where repeated.")
    out.append("")
    out.append("| Step | Wall (s) | CPU (s) | CPU ÷ decode CPU | Target | Met |")
    out.append("|---|---:|---:|---:|---|---|")
    for label, (wall, cpu, *_), target in rows:
        ratio = cpu / decode[1]
        met = "" if target is None else ("yes" if ratio <= target else "**no**")
        goal = "" if target is None else f"<= {target} x decode"
        out.append(f"| {label} | {wall:.2f} | {cpu:.2f} | {ratio:.2f} | {goal} | {met} |")
    per_job = db_bytes / (args.jobs * args.printers)
    ratio = per_job / (job_bytes / args.jobs)
    out.append(f"| SQLite file: {per_job:.1f} bytes a job = {ratio:.2f} x the job file's "
               f"{job_bytes / args.jobs:.1f} | | | | <= 0.75 x | "
               f"{'yes' if ratio <= 0.75 else '**no**'} |")
    out.append("")
    out.append(f"Four collectors at once into one history (four hpactl processes, each "
               f"collecting a {args.parallel_jobs:,}-job set under its own name); CPU is the "
               "four hpactl processes' together, a server's is not included. Exact: every "
               "printer holds each of its jobs once, after the first round and after the "
               "second.")
    if not pg_uri:
        out.append(f"PostgreSQL was not measured ({pg_note or 'no server given'}).")
    out.append("")
    out.append("| Back-end | 4 x new: wall (s) | CPU (s) | 4 x again (0 new): wall (s) | CPU (s) "
               f"| `report --by user` over {4 * args.parallel_jobs:,} jobs: wall (s) | Exact |")
    out.append("|---|---:|---:|---:|---:|---:|---|")
    for label, (wall, cpu), (again_wall, again_cpu), rep, exact in parallel:
        out.append(f"| {label} | {wall:.2f} | {cpu:.2f} | {again_wall:.2f} | {again_cpu:.2f} | "
                   f"{rep[0]:.2f} | {'yes' if exact else '**no**'} |")
    out.append("")
    out.append(END_MARK)
    block = "\n".join(out)
    print(block)
    if args.output:
        text = open(args.output).read() if os.path.exists(args.output) else ""
        if BEGIN_MARK in text and END_MARK in text:
            head, rest = text.split(BEGIN_MARK, 1)
            text = head + block + rest.split(END_MARK, 1)[1]
        else:
            text = text + ("\n" if text else "") + block + "\n"
        with open(args.output, "w") as f:
            f.write(text)
        print(f"results written to {args.output}")
    if not all(p[4] for p in parallel):
        sys.exit("parallel collectors lost or duplicated jobs")


if __name__ == "__main__":
    main()
