#!/usr/bin/env python3
"""The demo's stand-in for the purchase service's data server and the network-time page, on loopback.

"/" serves a data page in GBK with the latest purchases, newest first, each with its time in a
<li class="time"> entry among the other list items of its record; new purchases appear as time passes.
"/special/time/" serves the current time as window.baidu_time(milliseconds since 1970 UTC).
"""
import argparse
import hashlib
import http.server
import time
from datetime import datetime, timedelta, timezone

BEIJING = timezone(timedelta(hours=8))
RECORDS = 100
NAMES = ["快乐的小鱼", "晴天", "云上的猫", "追风少年", "桂花糕", "大橙子", "夜航船", "青山"]


def purchases_in(second):
    """The purchases made in one whole second: a repeatable function of the second itself."""
    digest = hashlib.sha256(str(second).encode()).digest()
    count = digest[0] % 3  # 0 to 2 purchases a second
    return [(second * 1000 + (digest[1 + i] * 256 + digest[2 + i]) % 1000, digest[5 + i]) for i in range(count)]


def latest_purchases(now_ms, count):
    found, second = [], now_ms // 1000
    while len(found) < count:
        found.extend(p for p in sorted(purchases_in(second), reverse=True) if p[0] <= now_ms)
        second -= 1
    return found[:count]


def data_page(now_ms):
    items = []
    for ms, key in latest_purchases(now_ms, RECORDS):
        when = datetime.fromtimestamp(ms / 1000, BEIJING)
        stamp = when.strftime("%Y-%m-%d %H:%M:%S.") + f"{ms % 1000:03d}"
        items.append(
            "<ul class=\"record\">\n"
            f"  <li class=\"user\"><a href=\"#\">{NAMES[key % len(NAMES)]}</a></li>\n"
            f"  <li class=\"ip\">127.0.{key}.{ms % 251}</li>\n"
            f"  <li class=\"count\">{key % 5 + 1}人次</li>\n"
            f"  <li class=\"time\">{stamp}</li>\n"
            "</ul>\n")
    return ("<html><head><meta charset=\"gbk\"><title>最新参与记录</title></head><body>\n"
            "<div class=\"records\">\n" + "".join(items) + "</div>\n</body></html>\n").encode("gbk")


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        now_ms = time.time_ns() // 1_000_000
        if self.path.startswith("/special/time"):
            body = f"window.baidu_time({now_ms});".encode()
        else:
            body = data_page(now_ms)
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=gbk")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--port", type=int, default=18480)
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.serve_forever()


if __name__ == "__main__":
    main()
