#!/usr/bin/env python3
"""Load on the song server over loopback: idle connections held open while clients upload
concurrently and another client keeps listing the songs. Afterwards the idle connections close,
the server must still answer, and every upload must be stored exactly once and read back
byte-exact. Bounded in count and time; exit status 1 when a check or a target fails.

Also the server tests' concurrency check, with smaller numbers and no latency target."""

import argparse
import asyncio
import html
import multiprocessing
import os
import random
import re
import resource
import sys
import time
from urllib.parse import urlsplit

BATCH = 200  # connections opened at once, within the server's accept queue
VERIFY_CONCURRENCY = 20
# The clients run on the server's machine here; at a lower CPU priority they leave it the share
# it would have if they were elsewhere. The listing client keeps the normal priority.
CLIENT_NICENESS = 10


def parse_args():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--url", required=True, help="http://127.0.0.1:PORT")
    parser.add_argument("--idle", type=int, default=2000, help="idle connections held open")
    parser.add_argument("--clients", type=int, default=200, help="concurrent uploaders")
    parser.add_argument("--uploads", type=int, default=5, help="uploads per client")
    parser.add_argument("--list-p99-ms", type=float, default=0,
                        help="target for the list's 99th percentile (0: none)")
    parser.add_argument("--time-limit", type=float, default=300, help="seconds for everything")
    parser.add_argument("--watch", action="append", default=[], metavar="NAME=PID",
                        help="a process whose tree's memory is reported")
    parser.add_argument("--seed", type=int, default=15)
    return parser.parse_args()


class Failures:
    def __init__(self):
        self.messages = []

    def check(self, ok, message):
        if not ok:
            self.messages.append(message)
        return ok


class Server:
    """HTTP/1.1 requests on fresh connections, each closed after its answer."""

    def __init__(self, url):
        parts = urlsplit(url)
        self.host = parts.hostname
        self.port = parts.port or 80
        self.authority = parts.netloc

    async def connect(self):
        return await asyncio.open_connection(self.host, self.port)

    async def request(self, method, path, headers=(), body=b""):
        reader, writer = await self.connect()
        try:
            head = [f"{method} {path} HTTP/1.1", f"Host: {self.authority}", "Connection: close"]
            head += list(headers)
            if body:
                head.append(f"Content-Length: {len(body)}")
            writer.write(("\r\n".join(head) + "\r\n\r\n").encode("latin-1") + body)
            await writer.drain()
            answer = await reader.read()
        finally:
            writer.close()
        return parse_response(answer)

    async def get(self, path):
        return await self.request("GET", path)


def parse_response(data):
    head, _, body = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1]) if lines[0].startswith("HTTP/") else 0
    headers = {}
    for line in lines[1:]:
        name, _, value = line.partition(":")
        headers[name.strip().lower()] = value.strip()
    if headers.get("transfer-encoding", "").lower() == "chunked":
        body = dechunk(body)
    return status, headers, body


def dechunk(data):
    body = bytearray()
    while True:
        size_line, _, data = data.partition(b"\r\n")
        size = int(size_line.split(b";")[0], 16)
        if size == 0:
            return bytes(body)
        body += data[:size]
        data = data[size + 2:]


def song_script(title, size, rng):
    """A song script of about size bytes, different for every upload."""
    words = ["strum", "la", "chord", "night", "road", "river", "string", "fret", "hum"]
    lyrics = []
    length = 0
    while length < size:
        word = rng.choice(words)
        lyrics.append(word)
        length += len(word) + 1
    return (f"[etc\n[bt_img_size,30]\n]\n[song\n[title,{title}]\n[artist,load]\n"
            f"[lyrics,{' '.join(lyrics)}]\n]\n").encode()


def multipart(fields, files, boundary):
    """The form as the program sends it: plain fields first, then the file parts."""
    parts = []
    for name, value in fields:
        parts.append(f'Content-Disposition: form-data; name="{name}"\r\n'
                      "Content-Transfer-Encoding: 8bit\r\n\r\n".encode() + value.encode())
    for name, filename, data in files:
        parts.append(f'Content-Disposition: form-data; name="{name}"; filename="{filename}"\r\n'
                      "Content-Type: multipart/form-data\r\n\r\n".encode() + data)
    delimiter = b"--" + boundary
    body = b"".join((b"\r\n" if i else b"") + delimiter + b"\r\n" + part
                    for i, part in enumerate(parts))
    return body + b"\r\n" + delimiter + b"--\r\n"


class Upload:
    def __init__(self, title, script):
        self.title = title
        self.script = script
        self.status = 0
        self.answer = b""
        self.seconds = 0.0

    @property
    def song_id(self):
        match = re.fullmatch(rb"ok (\d+)", self.answer)
        return int(match.group(1)) if self.status == 200 and match else None

    async def send(self, server):
        base = self.title.replace(" ", "_")
        boundary = b"-" * 27 + str(random.getrandbits(48)).encode()
        body = multipart(
            [("artist", "load"), ("user", "bench"), ("title", self.title), ("file", base),
             ("text", "la la")],
            [("upfile", base + ".kds", self.script), ("sifile", base + ".kds", self.script)],
            boundary)
        start = time.perf_counter()
        self.status, _, self.answer = await server.request(
            "POST", "/songs/upload.php",
            ["Content-Type: multipart/form-data; boundary=" + boundary.decode()], body)
        self.seconds = time.perf_counter() - start


def make_uploads(args, run):
    rng = random.Random(args.seed)
    uploads = []
    for client in range(args.clients):
        mine = []
        for n in range(args.uploads):
            title = f"load {run} c{client} u{n}"
            # Mostly small songs, now and then a long one.
            size = 256 * 1024 if (client + n) % 97 == 0 else rng.randint(1000, 16000)
            mine.append(Upload(title, song_script(title, size, rng)))
        uploads.append(mine)
    return uploads


async def upload_all(server, uploads):
    async def client(mine):
        for upload in mine:
            await upload.send(server)
    await asyncio.gather(*(client(mine) for mine in uploads))


class Lister:
    """The client that keeps listing the songs, in a process of its own so that its timing
    does not include waiting for the uploading clients."""

    def __init__(self, url):
        context = multiprocessing.get_context("spawn")
        self.go, self.stop = context.Event(), context.Event()
        self.results, sender = context.Pipe(duplex=False)
        self.process = context.Process(target=Lister.main,
                                       args=(url, self.go, self.stop, sender))
        self.process.start()

    def finish(self):
        """The latencies and statuses of every list request made between go and stop."""
        self.stop.set()
        latencies, statuses = self.results.recv()
        self.process.join()
        return latencies, statuses

    @staticmethod
    def main(url, go, stop, results):
        async def list_until_stopped():
            server = Server(url)
            latencies, statuses = [], []
            while not stop.is_set():
                start = time.perf_counter()
                status, _, _ = await server.get("/songs/")
                latencies.append(time.perf_counter() - start)
                statuses.append(status)
                await asyncio.sleep(0.01)
            return latencies, statuses
        go.wait()
        results.send(asyncio.run(list_until_stopped()))


async def open_idle(server, count):
    connections = []
    for first in range(0, count, BATCH):
        connections += await asyncio.gather(
            *(server.connect() for _ in range(first, min(count, first + BATCH))))
    return connections


def process_tree(root):
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as stat:
                    parents[int(entry)] = int(stat.read().rsplit(")", 1)[1].split()[1])
            except OSError:
                pass
    tree = {root}
    grew = True
    while grew:
        more = {pid for pid, parent in parents.items() if parent in tree} - tree
        tree |= more
        grew = bool(more)
    return tree


def pss_kib(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as rollup:
            for line in rollup:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


class MemoryWatch:
    """Peak proportional set size of each watched process tree."""

    def __init__(self, watches):
        self.roots = dict(watch.split("=", 1) for watch in watches)
        self.peak = {name: 0 for name in self.roots}

    def sample(self):
        for name, pid in self.roots.items():
            total = sum(pss_kib(p) for p in process_tree(int(pid)))
            self.peak[name] = max(self.peak[name], total)

    async def run(self, done):
        while not done.is_set():
            self.sample()
            await asyncio.sleep(0.25)

    def report(self):
        if not self.roots:
            return None
        parts = [f"{name} {kib / 1024:.1f} MB" for name, kib in self.peak.items()]
        return ", ".join(parts) + f"; total {sum(self.peak.values()) / 1024:.1f} MB"


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(fraction * len(ordered)))] if ordered else 0.0


def latency_line(seconds):
    ms = [s * 1000 for s in seconds]
    return (f"p50 {percentile(ms, 0.5):.1f} p90 {percentile(ms, 0.9):.1f} "
            f"p99 {percentile(ms, 0.99):.1f} max {max(ms, default=0):.1f} ms ({len(ms)} requests)")


async def listed_songs(server, failures):
    """Every (id, title) on the list, following its pages."""
    songs = []
    path = "/songs/"
    while path:
        status, _, page = await server.get(path)
        if not failures.check(status == 200, f"list page {path} answered {status}"):
            break
        text = page.decode()
        songs += [(int(i), html.unescape(t)) for i, t in re.findall(
            r'<tr class="song" id="song-(\d+)">\s*<td class="title">(.*?)</td>', text)]
        older = re.search(r'<a class="older" href="(\?before=\d+)">', text)
        path = "/songs/" + older.group(1) if older else None
    return songs


async def verify(server, uploads, failures):
    flat = [upload for mine in uploads for upload in mine]
    for upload in flat:
        failures.check(upload.song_id is not None,
                       f"{upload.title}: answered {upload.status} {upload.answer[:80]!r}")
    ids = [upload.song_id for upload in flat if upload.song_id is not None]
    failures.check(len(set(ids)) == len(ids), "two uploads answered with the same id")

    gate = asyncio.Semaphore(VERIFY_CONCURRENCY)

    async def read_back(upload):
        async with gate:
            status, _, data = await server.get(f"/songs/download.php?id={upload.song_id}")
        failures.check(status == 200 and data == upload.script,
                       f"{upload.title}: song {upload.song_id} read back differently ({status})")
    await asyncio.gather(*(read_back(u) for u in flat if u.song_id is not None))

    listed = {}
    for song_id, title in await listed_songs(server, failures):
        listed.setdefault(title, []).append(song_id)
    for upload in flat:
        found = listed.get(upload.title, [])
        failures.check(found == [upload.song_id],
                       f"{upload.title} is listed as {found}, expected [{upload.song_id}]")
    return len(flat)


async def after_idle_close(server, idle, failures):
    for _, writer in idle:
        writer.close()
    start = time.perf_counter()
    status, _, _ = await server.get("/songs/")
    took = (time.perf_counter() - start) * 1000
    failures.check(status == 200, f"after the idle connections closed the list answered {status}")
    upload = Upload("after idle", song_script("after idle", 2000, random.Random(1)))
    await upload.send(server)
    failures.check(upload.song_id is not None,
                   f"after the idle connections closed an upload answered {upload.status}")
    return took


async def run(args, failures, lister):
    server = Server(args.url)
    uploads = make_uploads(args, f"{random.getrandbits(32):08x}")
    memory = MemoryWatch(args.watch)
    memory.sample()
    idle = await open_idle(server, args.idle)

    done = asyncio.Event()
    sampler = asyncio.create_task(memory.run(done))
    lister.go.set()
    start = time.perf_counter()
    await upload_all(server, uploads)
    elapsed = time.perf_counter() - start
    list_latencies, list_statuses = await asyncio.get_running_loop().run_in_executor(
        None, lister.finish)
    done.set()
    await sampler
    memory.sample()
    still_open = sum(not reader.at_eof() for reader, _ in idle)

    failures.check(all(status == 200 for status in list_statuses),
                   f"list answers during the load: {sorted(set(list_statuses))}")
    failures.check(still_open == args.idle,
                   f"{args.idle - still_open} idle connections were closed during the load")
    took = await after_idle_close(server, idle, failures)
    total = await verify(server, uploads, failures)

    flat = [upload.seconds for mine in uploads for upload in mine]
    print(f"uploads: {total} from {args.clients} clients in {elapsed:.2f} s: "
          f"{total / elapsed:.0f} uploads/s")
    print(f"upload latency: {latency_line(flat)}")
    p99 = percentile(list_latencies, 0.99) * 1000
    target = f" (target p99 < {args.list_p99_ms:g} ms)" if args.list_p99_ms else ""
    print(f"list latency during the load: {latency_line(list_latencies)}{target}")
    print(f"idle connections: {args.idle} opened, {still_open} still open after the load; "
          f"afterwards the list answered in {took:.1f} ms")
    if memory.report():
        print(f"memory (peak PSS): {memory.report()}")
    if args.list_p99_ms:
        failures.check(p99 < args.list_p99_ms, f"list p99 {p99:.1f} ms over the target")


def raise_file_limit(needed):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < needed:
        if hard != resource.RLIM_INFINITY and hard < needed:
            sys.exit(f"server_load: needs {needed} open files, the limit is {hard}")
        resource.setrlimit(resource.RLIMIT_NOFILE, (needed, hard))


def main():
    args = parse_args()
    raise_file_limit(args.idle + args.clients + VERIFY_CONCURRENCY + 64)
    failures = Failures()
    lister = Lister(args.url)
    os.nice(CLIENT_NICENESS)
    try:
        asyncio.run(asyncio.wait_for(run(args, failures, lister), args.time_limit))
    except asyncio.TimeoutError:
        failures.check(False, f"not finished within {args.time_limit:g} s")
    finally:
        lister.stop.set()
        lister.go.set()
        lister.process.join(10)
    for message in failures.messages[:20]:
        print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1 if failures.messages else 0)


if __name__ == "__main__":
    main()
