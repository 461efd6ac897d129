#!/usr/bin/env python3
"""Content server for tests and the demo: serves the sample content over HTTP on loopback only,
records every request it receives byte for byte, and fails on request in the ways tests need.

Commands:
  build --content DIR --out DIR     make the served tree (lists, previews, movies, cabinets)
  serve --content DIR --state DIR   build into STATE/site and serve it in the foreground
  start --content DIR --state DIR   the same, detached; returns once the port is known
  stop --state DIR                  asks a started server to stop and waits for it

The state folder holds:
  port           the port the server listens on (127.0.0.1)
  refuse-port    a port bound on 127.0.0.1 that never listens, so connections to it are refused
  requests/      one file per request received, NNNNNN.req, its raw bytes (head and body)
  scenarios/     NAME.json files a test may write (see below)
  files/         bodies a test may write, served through the option file=NAME
  server.log, pid

Failures are chosen by the request path, so tests running side by side never disturb each other.
A path may start with "/~OPTIONS/", the rest being the content path. OPTIONS, comma-separated:
  status=N          answer status N (a small text body)
  redirect          answer 302 Found with Location: /REST
  redirect=TAG      the same with Location: /~id=TAG/REST
  chunked           send the body with chunked transfer coding
  truncchunked      chunked, but close the connection halfway, without the last chunk
  short             announce a Content-Length 100 bytes longer than the body, then close
  trickle=MS        send the body in 10 parts, MS milliseconds apart
  bulk=N            answer with a body of N bytes ("x"), Content-Length N, instead of the content
  cookie=NAME:VAL   add "Set-Cookie: NAME=VAL; Path=/"
  cookie2=NAME:VAL  add 'Set-Cookie2: NAME="VAL"; Version="1"; Path="/"'
  close             close the connection without answering
  file=NAME         answer with STATE/files/NAME (a file a test wrote) instead of the content file
  id=ANY            no effect: makes a test's paths its own
  @NAME             the options of scenarios/NAME.json for REST: a JSON object mapping content
                    paths (no leading slash) to option strings, "*" for any other path
GET /__control/stop ends the server; it also ends by itself after --lifetime seconds.
"""

import argparse
import ipaddress
import json
import os
import shutil
import signal
import socket
import socketserver
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import xml.etree.ElementTree as ET
import zlib

STATUS_TEXT = {200: "OK", 301: "Moved Permanently", 302: "Found", 303: "See Other", 307: "Temporary Redirect",
               400: "Bad Request", 403: "Forbidden", 404: "Not Found", 500: "Internal Server Error",
               503: "Service Unavailable"}
CONTENT_TYPES = {".xml": "text/xml", ".htm": "text/html", ".html": "text/html", ".swf": "application/x-shockwave-flash",
                 ".cab": "application/vnd.ms-cab-compressed", ".png": "image/png"}


# ---- The served tree ---------------------------------------------------------------------------

def list_items(path):
    """(category, caption, preview, cab) of each item, attributes taken by position."""
    root = ET.parse(path).getroot()
    for category in root:
        for item in category:
            values = list(item.attrib.values())
            if len(values) >= 3:
                yield category.tag, values[0], values[1], values[2]


def name_colour(name):
    h = zlib.crc32(name.encode())
    return (h >> 16) & 0xFF, (h >> 8) & 0xFF, h & 0xFF


def make_swf(name, width=200, height=150):
    """A one-frame uncompressed movie with a background colour of its own."""
    def rect(values):
        nbits = max(v.bit_length() for v in values) + 1
        bits = format(nbits, "05b") + "".join(format(v, "0%db" % nbits) for v in values)
        bits += "0" * (-len(bits) % 8)
        return bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))

    def tag(code, data=b""):
        return struct.pack("<H", (code << 6) | len(data)) + data

    body = rect([0, width * 20, 0, height * 20]) + struct.pack("<HH", 12 << 8, 1)
    body += tag(9, bytes(name_colour(name))) + tag(1) + tag(0)
    return b"FWS" + bytes([6]) + struct.pack("<I", 8 + len(body)) + body


def make_png(name, size=19):
    """A round face in the name's colour on a transparent ground."""
    r, g, b = name_colour(name)
    rows = []
    c = (size - 1) / 2
    for y in range(size):
        row = b"\0"
        for x in range(size):
            inside = (x - c) ** 2 + (y - c) ** 2 <= c * c
            row += bytes([r, g, b, 255]) if inside else b"\0\0\0\0"
        rows.append(row)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"".join(rows))) + chunk(b"IEND", b""))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def copy_tree(src, dst):
    for folder, _, files in os.walk(src):
        for f in files:
            with open(os.path.join(folder, f), "rb") as s:
                write(os.path.join(dst, os.path.relpath(folder, src), f), s.read())


def make_cab(cab, package_dir, extra):
    """A cabinet of the package folder's files plus the generated ones (name -> bytes)."""
    if not os.path.isdir(package_dir):
        raise SystemExit("contentserver: no package folder " + package_dir)
    with tempfile.TemporaryDirectory() as tmp:
        copy_tree(package_dir, tmp)
        for name, data in extra.items():
            write(os.path.join(tmp, name), data)
        files = sorted(os.listdir(tmp))
        os.makedirs(os.path.dirname(cab), exist_ok=True)
        subprocess.run(["gcab", "-c", "-n", cab] + [os.path.join(tmp, f) for f in files], check=True)


def build_site(content, out):
    for part in ("contentlist", "preview"):
        copy_tree(os.path.join(content, part), os.path.join(out, part))
    for _, _, preview, cab in list_items(os.path.join(content, "contentlist", "winkscontent.xml")):
        movie = make_swf(preview)
        write(os.path.join(out, "preview", "winks", preview), movie)
        if cab:
            make_cab(os.path.join(out, "setupcab", "cabwinks", cab),
                     os.path.join(content, "packages", "cabwinks", os.path.splitext(cab)[0]), {preview: movie})
    for _, _, preview, cab in list_items(os.path.join(content, "contentlist", "emoticonscontent.xml")):
        image = make_png(preview)
        write(os.path.join(out, "preview", "emoticons", preview, preview + ".png"), image)
        if cab:
            make_cab(os.path.join(out, "setupcab", "cabemoticons", cab),
                     os.path.join(content, "packages", "cabemoticons", os.path.splitext(cab)[0]),
                     {preview + ".png": image})


# ---- Serving -----------------------------------------------------------------------------------

def parse_options(text):
    options = {}
    for part in filter(None, text.split(",")):
        key, _, value = part.partition("=")
        if key in ("cookie", "cookie2"):
            options.setdefault(key, []).append(value)
        else:
            options[key] = value
    return options


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        self.buffer = b""

    def read_head(self):
        while b"\r\n\r\n" not in self.buffer:
            data = self.request.recv(65536)
            if not data:
                return None
            self.buffer += data
        end = self.buffer.index(b"\r\n\r\n") + 4
        head, self.buffer = self.buffer[:end], self.buffer[end:]
        length = 0
        for line in head.split(b"\r\n")[1:]:
            name, _, value = line.partition(b":")
            if name.strip().lower() == b"content-length":
                length = int(value.strip() or 0)
        while len(self.buffer) < length:
            data = self.request.recv(65536)
            if not data:
                break
            self.buffer += data
        body, self.buffer = self.buffer[:length], self.buffer[length:]
        return head, body

    def handle(self):
        while True:
            got = self.read_head()
            if got is None:
                return
            head, body = got
            request_line = head.split(b"\r\n", 1)[0].decode("latin-1")
            parts = request_line.split(" ")
            target = parts[1] if len(parts) == 3 else "/"
            if target.startswith("/__control/"):
                self.control(target)
                return
            self.server.record(head + body)
            if not self.answer(parts[0] if parts else "", target, head):
                return

    def control(self, target):
        if target == "/__control/stop":
            self.send(200, b"stopping\n", {})
            threading.Thread(target=self.server.shutdown, daemon=True).start()
        else:
            self.send(404, b"unknown control\n", {})

    def send(self, status, body, headers, head_only=False):
        lines = ["HTTP/1.1 %d %s" % (status, STATUS_TEXT.get(status, "Status"))]
        lines += ["%s: %s" % (k, v) for k, v in headers.items() if not isinstance(v, list)]
        for k, values in headers.items():
            if isinstance(values, list):
                lines += ["%s: %s" % (k, v) for v in values]
        self.request.sendall(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + (b"" if head_only else body))

    def answer(self, method, target, head):
        """Answers one request; False when the connection must close."""
        path = urllib.parse.unquote(target.split("?", 1)[0])
        options = {}
        if path.startswith("/~"):
            opts, _, rest = path[2:].partition("/")
            path = "/" + rest
            options = parse_options(opts)
            if opts.startswith("@"):
                options = parse_options(self.server.scenario(opts[1:], rest))
        if "close" in options:
            return False
        headers = {"Server": "contentserver", "Connection": "keep-alive"}
        cookies = ["%s=%s; Path=/" % tuple(c.split(":", 1)) for c in options.get("cookie", [])]
        cookies2 = ['%s="%s"; Version="1"; Path="/"' % tuple(c.split(":", 1)) for c in options.get("cookie2", [])]
        if cookies:
            headers["Set-Cookie"] = cookies
        if cookies2:
            headers["Set-Cookie2"] = cookies2

        if "redirect" in options:
            tag = options["redirect"]
            headers.update({"Location": ("/~id=" + tag if tag else "") + path, "Content-Length": "0"})
            self.send(302, b"", headers)
            return True
        status = int(options.get("status", "200"))
        if status != 200:
            text = ("%d %s\n" % (status, STATUS_TEXT.get(status, "Status"))).encode()
            headers.update({"Content-Type": "text/plain", "Content-Length": str(len(text))})
            self.send(status, text, headers, method == "HEAD")
            return True
        if method not in ("GET", "HEAD"):
            headers.update({"Content-Length": "0"})
            self.send(400, b"", headers)
            return True
        if "bulk" in options:
            size = int(options["bulk"] or "0")
            headers.update({"Content-Type": "application/octet-stream", "Content-Length": str(size)})
            self.send(200, b"", headers, True)
            piece = b"x" * (1 << 20)
            try:
                while size > 0:
                    self.request.sendall(piece[:size])
                    size -= len(piece)
            except OSError:
                return False  # the client stopped reading
            return True
        if "file" in options:
            data = self.server.read_file(options["file"], os.path.join(self.server.state, "files"))
        else:
            data = self.server.read_file(path)
        if data is None:
            text = b"404 Not Found\n"
            headers.update({"Content-Type": "text/plain", "Content-Length": str(len(text))})
            self.send(404, text, headers, method == "HEAD")
            return True
        headers["Content-Type"] = CONTENT_TYPES.get(os.path.splitext(path)[1].lower(), "application/octet-stream")

        if "chunked" in options or "truncchunked" in options:
            headers["Transfer-Encoding"] = "chunked"
            self.send(200, b"", headers, True)
            pieces = [data[i:i + 7] for i in range(0, len(data), 7)]
            if "truncchunked" in options:
                for p in pieces[:max(1, len(pieces) // 2)]:
                    self.request.sendall(b"%x\r\n%s\r\n" % (len(p), p))
                return False
            for p in pieces:
                self.request.sendall(b"%x\r\n%s\r\n" % (len(p), p))
            self.request.sendall(b"0\r\n\r\n")
            return True
        if "short" in options:
            headers["Content-Length"] = str(len(data) + 100)
            self.send(200, data, headers)
            return False
        headers["Content-Length"] = str(len(data))
        if "trickle" in options:
            self.send(200, b"", headers, True)
            delay = int(options["trickle"] or "100") / 1000.0
            step = max(1, -(-len(data) // 10))
            for i in range(0, len(data), step):
                time.sleep(delay)
                self.request.sendall(data[i:i + step])
            return True
        self.send(200, data, headers, method == "HEAD")
        return True


class ContentServer(socketserver.ThreadingMixIn, socketserver.TCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, address, site, state):
        super().__init__(address, Handler)
        self.site = os.path.realpath(site)
        self.state = state
        self.lock = threading.Lock()
        self.count = 0
        os.makedirs(os.path.join(state, "requests"), exist_ok=True)

    def record(self, raw):
        with self.lock:
            self.count += 1
            n = self.count
        folder = os.path.join(self.state, "requests")
        tmp = os.path.join(folder, "%06d.tmp" % n)
        with open(tmp, "wb") as f:
            f.write(raw)
        os.replace(tmp, os.path.join(folder, "%06d.req" % n))

    def read_file(self, path, folder=None):
        """A file below folder (the site by default), or None; nothing outside it is served."""
        folder = os.path.realpath(folder or self.site)
        full = os.path.realpath(os.path.join(folder, path.lstrip("/")))
        if not full.startswith(folder + os.sep) or not os.path.isfile(full):
            return None
        with open(full, "rb") as f:
            return f.read()

    def scenario(self, name, rest):
        if not name or not all(c.isalnum() or c in "-_" for c in name):
            return "status=400"
        try:
            with open(os.path.join(self.state, "scenarios", name + ".json")) as f:
                rules = json.load(f)
        except (OSError, ValueError):
            return "status=500"
        return rules.get(rest, rules.get("*", ""))


def loopback(host):
    try:
        ip = ipaddress.ip_address(host)
    except ValueError:
        raise argparse.ArgumentTypeError("not an IP address: " + host)
    if not ip.is_loopback:
        raise argparse.ArgumentTypeError("the content server listens on loopback only, not " + host)
    return host


def write_text(path, text):
    tmp = path + ".tmp"
    with open(tmp, "w") as f:
        f.write(text)
    os.replace(tmp, path)


def serve(args):
    state = os.path.abspath(args.state)
    os.makedirs(state, exist_ok=True)
    for stale in ("port", "refuse-port"):
        if os.path.exists(os.path.join(state, stale)):
            os.remove(os.path.join(state, stale))
    # A fresh start: nothing served or recorded by an earlier run is left.
    site = os.path.join(state, "site")
    for old in (site, os.path.join(state, "requests")):
        shutil.rmtree(old, ignore_errors=True)
    build_site(args.content, site)
    server = ContentServer((args.host, args.port), site, state)
    # Bound but never listening: the system refuses every connection to it.
    refuser = socket.socket(socket.AF_INET6 if ":" in args.host else socket.AF_INET)
    refuser.bind((args.host, 0))
    write_text(os.path.join(state, "refuse-port"), "%d\n" % refuser.getsockname()[1])
    write_text(os.path.join(state, "pid"), "%d\n" % os.getpid())
    write_text(os.path.join(state, "port"), "%d\n" % server.server_address[1])
    signal.signal(signal.SIGTERM, lambda *_: threading.Thread(target=server.shutdown, daemon=True).start())
    timer = threading.Timer(args.lifetime, server.shutdown)
    timer.daemon = True
    timer.start()
    print("contentserver: serving %s on %s:%d" % (site, args.host, server.server_address[1]), flush=True)
    try:
        server.serve_forever(poll_interval=0.1)
    finally:
        timer.cancel()
        server.server_close()
        refuser.close()
        for gone in ("port", "refuse-port", "pid"):
            if os.path.exists(os.path.join(state, gone)):
                os.remove(os.path.join(state, gone))
        print("contentserver: stopped", flush=True)


def start(args):
    state = os.path.abspath(args.state)
    os.makedirs(state, exist_ok=True)
    port_file = os.path.join(state, "port")
    if os.path.exists(port_file):
        stop(args)
    command = [sys.executable, os.path.abspath(__file__), "serve", "--content", os.path.abspath(args.content),
               "--state", state, "--host", args.host, "--port", str(args.port), "--lifetime", str(args.lifetime)]
    # Detached and off the caller's pipes: a test runner waits for whatever holds its output.
    with open(os.path.join(state, "server.log"), "ab") as log:
        proc = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=log, stderr=log, close_fds=True,
                                start_new_session=True)
    deadline = time.time() + 30
    while time.time() < deadline:
        if os.path.exists(port_file):
            print("contentserver: started on port " + open(port_file).read().strip())
            return 0
        if proc.poll() is not None:
            break
        time.sleep(0.05)
    sys.stderr.write("contentserver: did not start, see %s\n" % os.path.join(state, "server.log"))
    if proc.poll() is None:
        proc.terminate()
    return 1


def process_alive(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def stop(args):
    state = os.path.abspath(args.state)
    try:
        port = int(open(os.path.join(state, "port")).read())
        pid = int(open(os.path.join(state, "pid")).read())
    except (OSError, ValueError):
        print("contentserver: not running")
        return 0
    try:
        with socket.create_connection(("127.0.0.1" if ":" not in args.host else args.host, port), timeout=5) as s:
            s.sendall(b"GET /__control/stop HTTP/1.1\r\nHost: localhost\r\n\r\n")
            s.recv(1024)
    except OSError:
        pass
    deadline = time.time() + 10
    while time.time() < deadline and os.path.exists(os.path.join(state, "pid")):
        time.sleep(0.05)
    if os.path.exists(os.path.join(state, "pid")):
        try:
            os.kill(pid, signal.SIGTERM)
        except OSError:
            pass
    # Callers (test fixtures) rely on the process being gone once stop returns.
    deadline = time.time() + 10
    while time.time() < deadline and process_alive(pid):
        time.sleep(0.05)
    print("contentserver: stopped")
    return 0


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = parser.add_subparsers(dest="command", required=True)
    b = sub.add_parser("build")
    b.add_argument("--content", required=True)
    b.add_argument("--out", required=True)
    for name in ("serve", "start", "stop"):
        p = sub.add_parser(name)
        if name != "stop":
            p.add_argument("--content", required=True)
            p.add_argument("--port", type=int, default=0, help="0: any free port")
            p.add_argument("--lifetime", type=float, default=3600, help="seconds until it stops by itself")
        p.add_argument("--state", required=True)
        p.add_argument("--host", type=loopback, default="127.0.0.1")
    args = parser.parse_args(argv)
    if args.command == "build":
        build_site(args.content, args.out)
        return 0
    return {"serve": serve, "start": start, "stop": stop}[args.command](args) or 0


if __name__ == "__main__":
    sys.exit(main())
