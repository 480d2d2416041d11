#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A web server on the loopback interface for tests with a real Chromium.

Prints "port N" once it listens, then appends one line to the log file given
as its argument for every request: the path, a tab, and the "profile" cookie
the browser sent ("-" when none), and, when a header's name follows the log's
(Accept-Language), a tab and that header. /profile/NAME sets that cookie; every
other path serves a page that reports each key pressed in it as /key/KEY.
"""
import http.server
import sys
import urllib.parse

LOG = sys.argv[1]
HEADER = sys.argv[2] if len(sys.argv) > 2 else None
PAGE = b"""<!doctype html><title>page</title>
<script>
addEventListener("keydown", (e) => fetch("/key/" + encodeURIComponent(e.key)));
</script><p>page</p>"""


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        cookies = dict(part.strip().split("=", 1) for part in
                       self.headers.get("Cookie", "").split(";") if "=" in part)
        with open(LOG, "a") as log:
            header = f"\t{self.headers.get(HEADER, '-')}" if HEADER else ""
            log.write(f"{urllib.parse.unquote(self.path)}\t{urllib.parse.unquote(cookies.get('profile', '-'))}{header}\n")
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Cache-Control", "no-store")
        if self.path.startswith("/profile/"):
            name = urllib.parse.quote(urllib.parse.unquote(self.path[len("/profile/"):]))
            self.send_header("Set-Cookie", f"profile={name}; Max-Age=86400; Path=/")
        self.end_headers()
        self.wfile.write(PAGE)

    def log_message(self, *args):
        pass


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    print(f"port {server.server_address[1]}", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
