#!/usr/bin/env python3
"""Assembles the web site: the page, the game, the data tree and the icons into one folder of
static files that any web server can host as it is. Also writes data.json (the data files and
their sizes, for the page's download and progress bar), stamps the service worker with the
site's version (a hash of every file, so a new build is a new version), and puts a .gz copy
beside every file that compresses, for servers that send precompressed files."""

import argparse
import gzip
import hashlib
import json
import os
import shutil

PAGE_FILES = ['index.html', 'page.js', 'boughfall.css', 'manifest.webmanifest', 'sw.js']
GAME_FILES = ['boughfall.js', 'boughfall.wasm']
ICON_SIZES = [192, 512]
# What gains from gzip: text, the wasm, and the data files that are not compressed already.
COMPRESSED_ALREADY = ('.ogg', '.mp3', '.png', '.gz')


def copy(source, target):
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copyfile(source, target)


def main():
    parser = argparse.ArgumentParser()
    for name in ('page', 'game', 'data', 'icons', 'out'):
        parser.add_argument('--' + name, required=True)
    args = parser.parse_args()
    if os.path.isdir(args.out):
        shutil.rmtree(args.out)
    os.makedirs(args.out)

    for name in PAGE_FILES:
        if name != 'sw.js':
            copy(os.path.join(args.page, name), os.path.join(args.out, name))
    for name in GAME_FILES:
        copy(os.path.join(args.game, name), os.path.join(args.out, name))
    for size in ICON_SIZES:
        name = 'boughfall_%d.png' % size
        copy(os.path.join(args.icons, name), os.path.join(args.out, 'icons', name))

    data = []
    for root, _, files in os.walk(args.data):
        for name in sorted(files):
            source = os.path.join(root, name)
            relative = os.path.relpath(source, args.data).replace(os.sep, '/')
            copy(source, os.path.join(args.out, 'Data', relative))
            data.append({'path': relative, 'size': os.path.getsize(source)})
    data.sort(key=lambda entry: entry['path'])
    with open(os.path.join(args.out, 'data.json'), 'w') as out:
        json.dump(data, out, separators=(',', ':'))

    # Every file of the site, and the version they make together.
    files = []
    for root, _, names in os.walk(args.out):
        for name in names:
            files.append(os.path.relpath(os.path.join(root, name), args.out).replace(os.sep, '/'))
    files.sort()
    version = hashlib.sha256()
    for name in files:
        with open(os.path.join(args.out, name), 'rb') as source:
            version.update(name.encode() + b'\0' + hashlib.sha256(source.read()).digest())
    with open(os.path.join(args.page, 'sw.js')) as source:
        worker = source.read()
    worker = worker.replace('@VERSION@', version.hexdigest()[:16])
    worker = worker.replace('@FILES@', json.dumps(['./'] + files))
    with open(os.path.join(args.out, 'sw.js'), 'w') as out:
        out.write(worker)
    files.append('sw.js')

    for name in files:
        if name.endswith(COMPRESSED_ALREADY):
            continue
        path = os.path.join(args.out, name)
        with open(path, 'rb') as source:
            raw = source.read()
        # mtime 0: the same site gives the same bytes on every build.
        packed = gzip.compress(raw, compresslevel=9, mtime=0)
        if len(packed) < len(raw):
            with open(path + '.gz', 'wb') as out:
                out.write(packed)


if __name__ == '__main__':
    main()
