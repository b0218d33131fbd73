"""A small HTTP server for the tests, bound to 127.0.0.1 on a free port.

Serves the files under --root; a missing file answers 404. Some paths can be told to misbehave:
  --redirect PATH=LOCATION   answer 302 with that Location
  --truncate PATH            announce the whole file, send half of it, close the connection
  --chunked PATH             send the file without a length, in chunks
  --no-length PATH           send half of the file without stating a length, close the connection
  --status PATH=CODE         answer with that status code (and the file)
  --long-header PATH=BYTES[xCOUNT]  add one (or COUNT) header lines of that many bytes
  --second-length PATH=VALUE  state a second Content-Length after the true one
  --delay PATH=SECONDS       wait that long before answering
--port N listens on that port instead of a free one; --certificate FILE (a PEM file holding the
key and the certificate) speaks HTTPS.
Prints the port on the first line of standard output once it is listening.
"""

import argparse
import http.server
import os
import ssl
import sys
import time
import urllib.parse


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--root", required=True)
    parser.add_argument("--redirect", action="append", default=[])
    parser.add_argument("--truncate", action="append", default=[])
    parser.add_argument("--chunked", action="append", default=[])
    parser.add_argument("--no-length", action="append", default=[])
    parser.add_argument("--status", action="append", default=[])
    parser.add_argument("--long-header", action="append", default=[])
    parser.add_argument("--second-length", action="append", default=[])
    parser.add_argument("--delay", action="append", default=[])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--certificate")
    options = parser.parse_args()
    redirects = dict(item.split("=", 1) for item in options.redirect)
    statuses = {path: int(code) for path, code in (item.split("=", 1) for item in options.status)}
    long_headers = {
        path: [int(n) for n in (size + "x1").split("x")[:2]]
        for path, size in (item.split("=", 1) for item in options.long_header)
    }
    second_lengths = dict(item.split("=", 1) for item in options.second_length)
    delays = {path: float(seconds) for path, seconds in (i.split("=", 1) for i in options.delay)}
    root = os.path.realpath(options.root)

    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"

        def log_message(self, *args):
            pass

        def local_file(self, path):
            relative = urllib.parse.unquote(path).lstrip("/")
            full = os.path.realpath(os.path.join(root, relative))
            if full.startswith(root + os.sep) and os.path.isfile(full):
                return full
            return None

        def do_GET(self):
            path = urllib.parse.urlsplit(self.path).path
            time.sleep(delays.get(path, 0))
            if path in redirects:
                self.send_response(302)
                self.send_header("Location", redirects[path])
                self.send_header("Content-Length", "0")
                self.send_header("Connection", "close")
                self.end_headers()
                return
            full = self.local_file(path)
            if full is None:
                body = b"not found\n"
                self.send_response(404)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Connection", "close")
                self.end_headers()
                self.wfile.write(body)
                return
            with open(full, "rb") as source:
                body = source.read()
            self.send_response(statuses.get(path, 200))
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Connection", "close")
            if path in long_headers:
                size, count = long_headers[path]
                for line in range(count):
                    self.send_header("X-Padding-%d" % line, "p" * size)
            if path in options.no_length:
                self.end_headers()
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.close_connection = True
                return
            if path in options.chunked:
                self.send_header("Transfer-Encoding", "chunked")
                self.end_headers()
                for start in range(0, len(body), 1024):
                    piece = body[start:start + 1024]
                    self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
                self.wfile.write(b"0\r\n\r\n")
                return
            self.send_header("Content-Length", str(len(body)))
            if path in second_lengths:
                self.send_header("Content-Length", second_lengths[path])
            self.end_headers()
            if path in options.truncate:
                self.wfile.write(body[: len(body) // 2])
                self.wfile.flush()
                self.close_connection = True
                return
            self.wfile.write(body)

    server = http.server.ThreadingHTTPServer(("127.0.0.1", options.port), Handler)
    server.daemon_threads = True
    if options.certificate:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(options.certificate)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    sys.exit(main())
