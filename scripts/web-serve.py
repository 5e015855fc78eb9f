#!/usr/bin/env python3
"""Serves a folder on 127.0.0.1 the way a web host should serve the game: a file's .gz copy
with Content-Encoding gzip when the browser accepts it, and the types the browser checks
(application/wasm for streaming compilation). Usage: web-serve.py FOLDER [PORT]; a busy port
gives way to a free one. Prints the address."""

import email.utils
import http.server
import os
import socket
import sys
from functools import partial


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map, **{
        '.wasm': 'application/wasm', '.js': 'text/javascript', '.webmanifest':
        'application/manifest+json', '.json': 'application/json', '.tga': 'image/x-tga',
        '.ogg': 'audio/ogg', '.mp3': 'audio/mpeg', '': 'application/octet-stream'})

    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isdir(path):
            path = os.path.join(path, 'index.html')
        wants_gzip = 'gzip' in self.headers.get('Accept-Encoding', '')
        if wants_gzip and os.path.isfile(path + '.gz'):
            modified = int(os.stat(path + '.gz').st_mtime)
            since = self.headers.get('If-Modified-Since')
            if since:
                try:
                    if email.utils.parsedate_to_datetime(since).timestamp() >= modified:
                        self.send_response(304)
                        self.send_header('Vary', 'Accept-Encoding')
                        self.end_headers()
                        return None
                except (TypeError, ValueError):
                    pass
            with open(path + '.gz', 'rb') as packed:
                body = packed.read()
            self.send_response(200)
            self.send_header('Last-Modified', self.date_time_string(modified))
            self.send_header('Content-Type', self.guess_type(path))
            self.send_header('Content-Encoding', 'gzip')
            self.send_header('Content-Length', str(len(body)))
            self.send_header('Vary', 'Accept-Encoding')
            self.end_headers()
            return _Body(body)
        return super().send_head()

    # Every answer is checked again before it is used, so a new version is seen at once.
    def end_headers(self):
        self.send_header('Cache-Control', 'no-cache')
        super().end_headers()

    def log_message(self, *args):
        pass


class _Body:
    def __init__(self, data):
        self.data = data

    def read(self, *_):
        data, self.data = self.data, b''
        return data

    def close(self):
        pass


def free_port(port):
    with socket.socket() as probe:
        try:
            probe.bind(('127.0.0.1', port))
            return port
        except OSError:
            probe.bind(('127.0.0.1', 0))
            return probe.getsockname()[1]


def main():
    folder = sys.argv[1]
    port = free_port(int(sys.argv[2]) if len(sys.argv) > 2 else 8080)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', port),
                                             partial(Handler, directory=folder))
    print('Boughfall is served at http://127.0.0.1:%d/ (Ctrl-C stops)' % server.server_address[1],
          flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
