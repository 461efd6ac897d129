"""The content server: the tree it builds, what it records, how it fails on request, and that it
starts and stops as the test fixture needs."""

import http.client
import json
import os
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
CONTENT = os.path.join(HERE, "..", "..", "content")
SCRIPT = os.path.join(HERE, "contentserver.py")
sys.path.insert(0, HERE)
import contentserver  # noqa: E402


def run(*args):
    return subprocess.run([sys.executable, SCRIPT] + list(args), capture_output=True, text=True, timeout=60)


def raw_exchange(port, request):
    """Sends request and reads until the server closes or stays quiet; returns the bytes read."""
    with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
        s.sendall(request)
        s.settimeout(1.5)
        data = b""
        try:
            while True:
                part = s.recv(65536)
                if not part:
                    break
                data += part
        except socket.timeout:
            pass
        return data


def running(pid):
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def get_request(path):
    return ("GET %s HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n" % path).encode()


class SiteTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.site = cls.tmp.name
        contentserver.build_site(CONTENT, cls.site)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def items(self, name):
        return list(contentserver.list_items(os.path.join(CONTENT, "contentlist", name)))

    def test_every_wink_has_its_movie_and_a_package_holding_it(self):
        winks = self.items("winkscontent.xml")
        self.assertGreaterEqual(len(winks), 6)
        for _, _, preview, cab in winks:
            with open(os.path.join(self.site, "preview", "winks", preview), "rb") as f:
                movie = f.read()
            self.assertEqual(movie[:3], b"FWS")
            self.assertEqual(struct.unpack("<I", movie[4:8])[0], len(movie))
            listing = subprocess.run(["gcab", "-t", os.path.join(self.site, "setupcab", "cabwinks", cab)],
                                     capture_output=True, text=True, check=True).stdout.split()
            self.assertEqual(sorted(listing), sorted([preview, "content.xml"]))

    def test_every_emoticon_has_its_page_image_and_package(self):
        emoticons = self.items("emoticonscontent.xml")
        self.assertGreaterEqual(len(emoticons), 5)
        for _, caption, preview, cab in emoticons:
            folder = os.path.join(self.site, "preview", "emoticons", preview)
            with open(os.path.join(folder, preview + ".htm")) as f:
                self.assertIn(caption, f.read())
            with open(os.path.join(folder, preview + ".png"), "rb") as f:
                self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")
            listing = subprocess.run(["gcab", "-t", os.path.join(self.site, "setupcab", "cabemoticons", cab)],
                                     capture_output=True, text=True, check=True).stdout.split()
            self.assertEqual(sorted(listing), sorted([preview + ".png", "content.xml"]))

    def test_movies_differ_by_name(self):
        self.assertNotEqual(contentserver.make_swf("a.swf"), contentserver.make_swf("b.swf"))


class ServerTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.state = cls.tmp.name
        started = run("start", "--content", CONTENT, "--state", cls.state, "--lifetime", "120")
        assert started.returncode == 0, started.stderr
        with open(os.path.join(cls.state, "port")) as f:
            cls.port = int(f.read())
        os.makedirs(os.path.join(cls.state, "scenarios"), exist_ok=True)

    @classmethod
    def tearDownClass(cls):
        run("stop", "--state", cls.state)
        cls.tmp.cleanup()

    def site(self, path):
        with open(os.path.join(self.state, "site", path), "rb") as f:
            return f.read()

    def get(self, path):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=10)
        try:
            conn.request("GET", path)
            reply = conn.getresponse()
            return reply, reply.read()
        finally:
            conn.close()

    def recorded(self, request_line):
        folder = os.path.join(self.state, "requests")
        found = []
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                raw = f.read()
            if raw.startswith(request_line + b"\r\n"):
                found.append(raw)
        return found

    def test_serves_the_tree_and_records_each_request_byte_for_byte(self):
        request = b"GET /~id=rec/contentlist/winkscontent.xml HTTP/1.1\r\nX-One: 1\r\nHost: h\r\n\r\n"
        reply = raw_exchange(self.port, request)
        self.assertTrue(reply.startswith(b"HTTP/1.1 200 OK\r\n"))
        self.assertTrue(reply.endswith(self.site("contentlist/winkscontent.xml")))
        self.assertIn(b"\r\nContent-Type: text/xml\r\n", reply)
        self.assertEqual(self.recorded(b"GET /~id=rec/contentlist/winkscontent.xml HTTP/1.1"), [request])

    def test_control_requests_are_not_recorded(self):
        raw_exchange(self.port, get_request("/__control/nothing"))
        self.assertEqual(self.recorded(b"GET /__control/nothing HTTP/1.1"), [])

    def test_keeps_the_connection_for_a_second_request(self):
        first = b"GET /~id=ka1/contentlist/winkscontent.xml HTTP/1.1\r\nHost: h\r\n\r\n"
        second = get_request("/~id=ka2/contentlist/emoticonscontent.xml")
        reply = raw_exchange(self.port, first + second)
        self.assertEqual(reply.count(b"HTTP/1.1 200 OK"), 2)
        self.assertEqual(len(self.recorded(b"GET /~id=ka2/contentlist/emoticonscontent.xml HTTP/1.1")), 1)

    def test_statuses_redirects_and_missing_files(self):
        reply, _ = self.get("/~status=500/contentlist/winkscontent.xml")
        self.assertEqual(reply.status, 500)
        reply, _ = self.get("/~redirect/contentlist/winkscontent.xml")
        self.assertEqual((reply.status, reply.getheader("Location")), (302, "/contentlist/winkscontent.xml"))
        reply, _ = self.get("/~redirect=elsewhere/contentlist/winkscontent.xml")
        self.assertEqual(reply.getheader("Location"), "/~id=elsewhere/contentlist/winkscontent.xml")
        self.assertEqual(self.get("/contentlist/none.xml")[0].status, 404)
        self.assertEqual(self.get("/../contentserver/port")[0].status, 404)
        self.assertEqual(self.get("/%2E%2E/port")[0].status, 404)

    def test_chunked_bodies_whole_and_truncated(self):
        reply, body = self.get("/~chunked/contentlist/winkscontent.xml")
        self.assertEqual(reply.getheader("Transfer-Encoding"), "chunked")
        self.assertEqual(body, self.site("contentlist/winkscontent.xml"))
        raw = raw_exchange(self.port, get_request("/~truncchunked/contentlist/winkscontent.xml"))
        self.assertIn(b"Transfer-Encoding: chunked", raw)
        self.assertFalse(raw.endswith(b"0\r\n\r\n"))
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/~truncchunked/contentlist/winkscontent.xml")

    def test_short_body_and_closed_connection(self):
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/~short/contentlist/winkscontent.xml")
        self.assertEqual(raw_exchange(self.port, get_request("/~close/contentlist/winkscontent.xml")), b"")

    def test_trickle_spreads_the_body_over_time(self):
        start = time.monotonic()
        _, body = self.get("/~trickle=50/contentlist/winkscontent.xml")
        self.assertGreaterEqual(time.monotonic() - start, 0.45)
        self.assertEqual(body, self.site("contentlist/winkscontent.xml"))

    def test_bulk_answers_a_body_of_the_size_asked(self):
        reply, body = self.get("/~bulk=1048577/contentlist/winkscontent.xml")
        self.assertEqual(reply.getheader("Content-Length"), "1048577")
        self.assertEqual(body, b"x" * 1048577)

    def test_cookies_of_both_kinds(self):
        reply, _ = self.get("/~cookie=a:1,cookie=b:2%3B%20Max-Age%3D0,cookie2=c:3/contentlist/winkscontent.xml")
        self.assertEqual(reply.headers.get_all("Set-Cookie"), ["a=1; Path=/", "b=2; Max-Age=0; Path=/"])
        self.assertEqual(reply.headers.get_all("Set-Cookie2"), ['c="3"; Version="1"; Path="/"'])

    def test_named_scenario_fails_one_path_only(self):
        with open(os.path.join(self.state, "scenarios", "emo404.json"), "w") as f:
            json.dump({"contentlist/emoticonscontent.xml": "status=404"}, f)
        self.assertEqual(self.get("/~@emo404/contentlist/emoticonscontent.xml")[0].status, 404)
        self.assertEqual(self.get("/~@emo404/contentlist/winkscontent.xml")[0].status, 200)
        self.assertEqual(self.get("/~@missing/contentlist/winkscontent.xml")[0].status, 500)

    def test_a_test_written_file_replaces_the_body(self):
        os.makedirs(os.path.join(self.state, "files"), exist_ok=True)
        with open(os.path.join(self.state, "files", "short.xml"), "wb") as f:
            f.write(b"<winks><A><i a='1'/></A></winks>")
        with open(os.path.join(self.state, "scenarios", "shortlist.json"), "w") as f:
            json.dump({"contentlist/winkscontent.xml": "file=short.xml"}, f)
        reply, body = self.get("/~@shortlist/contentlist/winkscontent.xml")
        self.assertEqual((reply.status, body), (200, b"<winks><A><i a='1'/></A></winks>"))
        self.assertEqual(reply.getheader("Content-Type"), "text/xml")
        self.assertEqual(self.get("/~file=gone.xml/contentlist/winkscontent.xml")[0].status, 404)
        with open(os.path.join(self.state, "scenarios", "escape.json"), "w") as f:
            json.dump({"*": "file=../port"}, f)
        self.assertEqual(self.get("/~@escape/contentlist/winkscontent.xml")[0].status, 404)

    def test_the_refuse_port_refuses(self):
        with open(os.path.join(self.state, "refuse-port")) as f:
            port = int(f.read())
        with self.assertRaises(ConnectionRefusedError):
            socket.create_connection(("127.0.0.1", port), timeout=5)


class LifecycleTest(unittest.TestCase):
    def test_only_loopback_is_accepted(self):
        with tempfile.TemporaryDirectory() as state:
            for host in ("0.0.0.0", "192.168.1.1", "::"):
                result = run("serve", "--content", CONTENT, "--state", state, "--host", host)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn("loopback only", result.stderr)
                self.assertFalse(os.path.exists(os.path.join(state, "port")))

    def test_stops_on_request_and_by_itself(self):
        with tempfile.TemporaryDirectory() as state:
            self.assertEqual(run("start", "--content", CONTENT, "--state", state).returncode, 0)
            with open(os.path.join(state, "pid")) as f:
                pid = int(f.read())
            self.assertEqual(run("stop", "--state", state).returncode, 0)
            self.assertFalse(os.path.exists(os.path.join(state, "port")))
            # The port file goes first; the process may take a moment more to exit.
            deadline = time.monotonic() + 10
            while running(pid) and time.monotonic() < deadline:
                time.sleep(0.05)
            self.assertFalse(running(pid))

            self.assertEqual(run("start", "--content", CONTENT, "--state", state, "--lifetime", "1").returncode, 0)
            deadline = time.monotonic() + 10
            while os.path.exists(os.path.join(state, "port")) and time.monotonic() < deadline:
                time.sleep(0.1)
            self.assertFalse(os.path.exists(os.path.join(state, "port")))


if __name__ == "__main__":
    unittest.main()
